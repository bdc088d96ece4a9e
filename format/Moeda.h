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
  int64_t tenThousandths = 0;
  constexpr bool operator==(const Moeda&) const = default;
};

// Reads an amount: spaces around it, an optional "R$", dots anywhere in the integer part,
// one decimal comma, a minus sign before or after the digits or enclosing parentheses.
// More than four decimals are rounded half away from zero. Fails with TypeMismatch on a
// text that is not an amount and with Overflow outside the amount range.
Status ReadMoeda(std::u16string_view text, Moeda& value);

// Reads a number with the same grammar (plus an exponent such as E+17, which the general
// number form writes), correctly rounded to the nearest double.
Status ReadNumber(std::u16string_view text, double& value);

// Currency text of type 0: "R$ 1.234,50", "(R$ 1.234,50)" or "-R$ 1.234,50".
std::u16string MoedaText(Moeda value, unsigned digits, bool parentheses);

// Mask text of type 1: "##,##0." followed by min(digits, 5) zeros.
std::u16string MaskedMoedaText(Moeda value, unsigned digits);

// Plain form used on focus entry: "-1234,5", without grouping or trailing zeros.
std::u16string PlainForm(Moeda value);

// General number form: at most 15 significant digits, decimal comma, exponent form
// ("1,5E+20", "1E-06") outside 1E-05 <= |x| < 1E+15.
std::u16string GeneralForm(double value);

// Leading number of a text (whole-number type and the validators): leading spaces skipped,
// optional sign, digits with embedded spaces, "." as the decimal point, an optional exponent;
// stops at the first other character; 0 without digits. Fails with Overflow when the value
// does not fit a double.
Status LeadingNumber(std::u16string_view text, double& value);

// Sign of the leading number (-1, 0 or 1) without building it: no allocation, never fails.
int LeadingNumberSign(std::u16string_view text);

}  // namespace delvorin
