#pragma once
// Character codes of the keystroke filter: the Windows-1252 code of a typed character,
// as a signed 16-bit KeyAscii, and back.
#include <cstdint>
#include <optional>

namespace delvorin {

// The UTF-16 unit for a Windows-1252 byte. The five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value, as Windows does.
char16_t FromCp1252(uint8_t byte);

// The Windows-1252 byte of a UTF-16 unit, when the code page has it.
std::optional<uint8_t> ToCp1252(char16_t unit);

// KeyAscii of a typed UTF-16 unit: its Windows-1252 code (0 to 255) when the code page has
// it; otherwise, for units from U+0100 up, the unit itself reinterpreted as a signed 16-bit
// value (so it can never be mistaken for a code-page character); otherwise 63 ("?").
int16_t KeyCodeOf(char16_t unit);

// The UTF-16 unit that a KeyAscii left by the filter or the host inserts (inverse of
// KeyCodeOf): 1..255 through the code page, any other non-zero value as the unit it
// reinterprets. 0 means nothing is inserted.
std::optional<char16_t> CharacterOfCode(int16_t code);

}  // namespace delvorin
