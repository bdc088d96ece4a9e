#include "input/Cp1252.h"

namespace delvorin {
namespace {

// Bytes 0x80..0x9F of Windows-1252; the five the code page leaves undefined keep their value.
constexpr char16_t kHigh[32] = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
};

}  // namespace

char16_t FromCp1252(uint8_t byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHigh[byte - 0x80];
  return byte;
}

std::optional<uint8_t> ToCp1252(char16_t unit) {
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<uint8_t>(unit);
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] == unit) return static_cast<uint8_t>(0x80 + i);
  return std::nullopt;
}

int16_t KeyCodeOf(char16_t unit) {
  if (std::optional<uint8_t> b = ToCp1252(unit)) return *b;
  if (unit >= 0x100) return static_cast<int16_t>(static_cast<uint16_t>(unit));
  return 63;  // a C1 control the code page lacks
}

std::optional<char16_t> CharacterOfCode(int16_t code) {
  if (code == 0) return std::nullopt;
  if (code > 0 && code <= 255) return FromCp1252(static_cast<uint8_t>(code));
  return static_cast<char16_t>(static_cast<uint16_t>(code));
}

}  // namespace delvorin
