#pragma once
// What a paste types into a field: the clipboard's text brought to the characters a user
// would type for the field's type, before each goes through KeyPress and the filter.
#include <cstdint>
#include <string>
#include <string_view>

namespace delvorin {

// Line breaks (CR LF, CR, LF) and tabs become one space each in the text types and are
// dropped in the others; amounts (types 0, 1) and decimal numbers (type 2) that read as such
// enter in their plain form ("R$ 1.234,56" gives "1234,56"); document types drop separators,
// spaces and punctuation (a date and a time keep the separators between their parts, and a
// telephone number its country code dropped); the amount in words takes nothing.
std::u16string PastedCharacters(uint8_t type, std::u16string_view clipboard);

// A telephone number's digits without Brazil's country code: 55 before 10 or 11 digits.
std::u16string WithoutCountryCode(std::u16string digits);

}  // namespace delvorin
