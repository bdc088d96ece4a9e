#include "input/Cp1252.h"

namespace delvorin {
namespace {

// Bytes 0x80..0x9F of Windows-1252; the five the code page leaves undefined keep their value.
constexpr char16_t kAlto[32] = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
};

}  // namespace

char16_t DeCp1252(uint8_t byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kAlto[byte - 0x80];
  return byte;
}

std::optional<uint8_t> ParaCp1252(char16_t unidade) {
  if (unidade < 0x80 || (unidade >= 0xA0 && unidade <= 0xFF)) return static_cast<uint8_t>(unidade);
  for (int i = 0; i < 32; ++i)
    if (kAlto[i] == unidade) return static_cast<uint8_t>(0x80 + i);
  return std::nullopt;
}

int16_t CodigoDeTecla(char16_t unidade) {
  if (std::optional<uint8_t> b = ParaCp1252(unidade)) return *b;
  if (unidade >= 0x100) return static_cast<int16_t>(static_cast<uint16_t>(unidade));
  return 63;  // a C1 control the code page lacks
}

std::optional<char16_t> CaractereDeCodigo(int16_t codigo) {
  if (codigo == 0) return std::nullopt;
  if (codigo > 0 && codigo <= 255) return DeCp1252(static_cast<uint8_t>(codigo));
  return static_cast<char16_t>(static_cast<uint16_t>(codigo));
}

}  // namespace delvorin
