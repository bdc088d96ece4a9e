// Windows-1252 key codes and the case mapping of the headless runtime.
#include "headless/MapaCaixa.h"
#include "input/Cp1252.h"
#include "tests/Auxiliares.h"

namespace delvorin {
namespace {

using headless::MaiusculaBmp;
using headless::MinusculaBmp;

TEST(Cp1252, FaixaAltaDoCodigo) {
  const std::pair<uint8_t, char16_t> casos[] = {
      {0x80, u'€'}, {0x8A, u'Š'}, {0x8C, u'Œ'}, {0x8E, u'Ž'}, {0x9A, u'š'}, {0x9C, u'œ'}, {0x9E, u'ž'},
      {0x9F, u'Ÿ'}, {0x81, u'\x81'}, {0x9D, u'\x9D'}, {0xE7, u'ç'}, {0x41, u'A'}, {0xB4, u'´'},
  };
  for (const auto& [byte, unidade] : casos) {
    EXPECT_EQ(DeCp1252(byte), unidade) << int(byte);
    EXPECT_EQ(ParaCp1252(unidade), byte) << int(byte);
  }
  EXPECT_EQ(ParaCp1252(u'\x80'), std::nullopt);
  EXPECT_EQ(ParaCp1252(u'Ω'), std::nullopt);
}

TEST(Cp1252, CodigoDeTeclaIdaEVolta) {
  for (uint32_t u = 1; u <= 0xFFFF; ++u) {
    char16_t c = static_cast<char16_t>(u);
    int16_t codigo = CodigoDeTecla(c);
    if (u >= 0x80 && u <= 0x9F && !ParaCp1252(c)) {
      EXPECT_EQ(codigo, 63) << u;
      continue;
    }
    EXPECT_EQ(CaractereDeCodigo(codigo), c) << u;
  }
  EXPECT_EQ(CodigoDeTecla(u'€'), 0x80);
  EXPECT_EQ(CodigoDeTecla(u'\xFF01'), -255);
  EXPECT_EQ(CaractereDeCodigo(0), std::nullopt);
}

TEST(MapaCaixa, LetrasDeVariasEscritas) {
  const std::pair<char16_t, char16_t> pares[] = {
      {u'a', u'A'}, {u'ç', u'Ç'}, {u'ã', u'Ã'}, {u'é', u'É'}, {u'ÿ', u'Ÿ'}, {u'š', u'Š'}, {u'œ', u'Œ'},
      {u'ž', u'Ž'}, {u'ω', u'Ω'}, {u'ж', u'Ж'}, {u'ա', u'Ա'}, {u'ａ', u'Ａ'}, {u'ǆ', u'Ǆ'},
  };
  for (const auto& [minuscula, maiuscula] : pares) {
    EXPECT_EQ(MaiusculaBmp(minuscula), maiuscula) << int(minuscula);
    EXPECT_EQ(MinusculaBmp(maiuscula), minuscula) << int(maiuscula);
  }
  EXPECT_EQ(MaiusculaBmp(u'µ'), u'Μ');
  EXPECT_EQ(MaiusculaBmp(u'ß'), u'ß') << "no one-unit capital";
  EXPECT_EQ(MinusculaBmp(u'ẞ'), u'ß');
  EXPECT_EQ(MaiusculaBmp(u'ı'), u'I');
  for (char16_t c : {u'1', u'.', u' ', u'\0', u'´', u'€', u'\xD801', u'\xDC00', u'\xFFFF'}) {
    EXPECT_EQ(MaiusculaBmp(c), c) << int(c);
    EXPECT_EQ(MinusculaBmp(c), c) << int(c);
  }
}

TEST(MapaCaixa, MaiusculaEIdempotente) {
  for (uint32_t u = 0; u <= 0xFFFF; ++u) {
    char16_t m = MaiusculaBmp(static_cast<char16_t>(u));
    EXPECT_EQ(MaiusculaBmp(m), m) << u;
    char16_t n = MinusculaBmp(static_cast<char16_t>(u));
    EXPECT_EQ(MinusculaBmp(n), n) << u;
  }
  EXPECT_EQ(headless::MaiusculasBmp(u"ação \U00010428"), u"AÇÃO \U00010428") << "surrogate pairs stay";
}

}  // namespace
}  // namespace delvorin
