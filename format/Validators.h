#pragma once
// Check-digit validators of CPF, CNPJ (and CNPJ root), PIS and card numbers. Pure functions:
// no state, no allocation; the text is the field's text, separators included.
#include <string_view>

namespace delvorin {

bool ValidaCpf(std::u16string_view text);
bool ValidaCnpj(std::u16string_view text);
// The CNPJ as issued since July 2026: 12 base characters, each a digit or a capital letter
// (value = code - 48), then two check digits computed as for the numeric CNPJ. A text whose
// base holds no letter is checked by ValidaCnpj, root rule included; an 8-character root with
// letters carries no check digit of its own and is invalid.
bool ValidaCnpjAlfanumerico(std::u16string_view text);
bool ValidaPis(std::u16string_view text);

// Luhn check. A character other than a digit (after removing dots) is a conversion
// failure, which the leave-field processing treats differently from an invalid number.
enum class CardResult { Invalid, Valid, NotNumeric };
CardResult ValidaCartao(std::u16string_view text);

}  // namespace delvorin
