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
// spaces and punctuation; the amount in words takes nothing.
std::u16string PastedCharacters(uint8_t type, std::u16string_view clipboard);

}  // namespace delvorin
