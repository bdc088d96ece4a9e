#pragma once
// Brazilian number services: amounts and numbers read and written with a decimal comma,
// dots between thousands and the R$ symbol, whatever the locale of the machine.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/Status.h"

namespace delvorin {

// An amount of money: a signed count of ten-thousandths (four decimal places).
struct Moeda {
  int64_t decimilesimos = 0;
  constexpr bool operator==(const Moeda&) const = default;
};

// Reads an amount: spaces around it, an optional "R$", dots anywhere in the integer part,
// one decimal comma, a minus sign before or after the digits or enclosing parentheses.
// More than four decimals are rounded half away from zero. Fails with TypeMismatch on a
// text that is not an amount and with Overflow outside the amount range.
Status LeMoeda(std::u16string_view texto, Moeda& valor);

// Reads a number with the same grammar (plus an exponent such as E+17, which the general
// number form writes), correctly rounded to the nearest double.
Status LeNumero(std::u16string_view texto, double& valor);

// Currency text of type 0: "R$ 1.234,50", "(R$ 1.234,50)" or "-R$ 1.234,50".
std::u16string TextoMoeda(Moeda valor, unsigned digitos, bool parenteses);

// Mask text of type 1: "##,##0." followed by min(digitos, 5) zeros.
std::u16string TextoMascara(Moeda valor, unsigned digitos);

// Plain form used on focus entry: "-1234,5", without grouping or trailing zeros.
std::u16string FormaSimples(Moeda valor);

// General number form: at most 15 significant digits, decimal comma, exponent form
// ("1,5E+20", "1E-06") outside 1E-05 <= |x| < 1E+15.
std::u16string FormaGeral(double valor);

// Leading number of a text (whole-number type and the validators): leading spaces skipped,
// optional sign, digits with embedded spaces, "." as the decimal point, an optional exponent;
// stops at the first other character; 0 without digits. Fails with Overflow when the value
// does not fit a double.
Status NumeroInicial(std::u16string_view texto, double& valor);

// Sign of the leading number (-1, 0 or 1) without building it: no allocation, never fails.
int SinalNumeroInicial(std::u16string_view texto);

}  // namespace delvorin
