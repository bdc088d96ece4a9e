// Windows-1252 key codes and the BMP case mapping of the headless runtime.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "headless/CaseMap.h"
#include "input/Cp1252.h"
#include "tests/Helpers.h"

namespace delvorin {
namespace {

using headless::UpperCaseBmp;
using headless::LowerCaseBmp;

// Bytes 0x80..0x9F of the code page, in order.
constexpr char16_t kHighRange[32] = {
    u'€', 0x81, u'‚', u'ƒ', u'„', u'…', u'†', u'‡', u'ˆ', u'‰', u'Š', u'‹', u'Œ', 0x8D, u'Ž', 0x8F,
    0x90, u'‘', u'’', u'“', u'”', u'•', u'–', u'—', u'˜', u'™', u'š', u'›', u'œ', 0x9D, u'ž', u'Ÿ',
};

TEST(Cp1252, ByteAndUnitBothWays) {
  for (unsigned b = 0; b <= 0xFF; ++b) {
    const char16_t unit = (b >= 0x80 && b <= 0x9F) ? kHighRange[b - 0x80] : char16_t(b);
    EXPECT_EQ(FromCp1252(uint8_t(b)), unit) << b;
    EXPECT_EQ(ToCp1252(unit), uint8_t(b)) << b;
  }
  for (char16_t withoutByte : {u'\x80', u'\x8A', u'\x9F', u'\x100', u'Ω', u'\xD800', u'\xFFFF'})
    EXPECT_EQ(ToCp1252(withoutByte), std::nullopt) << int(withoutByte);
}

// A row's name: the index and the code unit in hexadecimal.
std::string UnitName(size_t index, char16_t unit) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "U%04X", static_cast<unsigned>(unit));
  return CaseName(index, hex);
}

struct UnitCode {
  char16_t unit;
  int16_t code;
};

const UnitCode kKeyCodes[] = {
    {u'\0', 0},          {u'A', 65},        {u'ÿ', 255},   {u'€', 0x80},    {u'Ÿ', 0x9F},
    {u'\x81', 0x81},     {u'\x80', 63},     {u'\x9E', 63}, {u'\x100', 256}, {u'\x7FFF', 32767},
    {u'\x8000', -32768}, {u'\xD800', -10240}, {u'\xFF01', -255}, {u'\xFFFF', -1},
};

class KeyCodeOfUnit : public ::testing::TestWithParam<UnitCode> {};

TEST_P(KeyCodeOfUnit, IsTheCodePageByteOrTheUnit) {
  EXPECT_EQ(KeyCodeOf(GetParam().unit), GetParam().code) << int(GetParam().unit);
}

INSTANTIATE_TEST_SUITE_P(Rows, KeyCodeOfUnit, ::testing::ValuesIn(kKeyCodes),
                         [](const ::testing::TestParamInfo<UnitCode>& i) { return UnitName(i.index, i.param.unit); });

TEST(Cp1252, KeyCodeOfC1Controls) {
  // Of the C1 controls, only the five the code page leaves undefined keep their code.
  for (char16_t c = 0x80; c <= 0x9F; ++c) {
    EXPECT_EQ(KeyCodeOf(c), kHighRange[c - 0x80] == c ? c : 63) << int(c);
  }
}

struct CodeCharacter {
  int16_t code;
  std::optional<char16_t> unit;
};

const CodeCharacter kCharacters[] = {
    {0, std::nullopt}, {65, u'A'}, {0x80, u'€'}, {0x8D, u'\x8D'}, {255, u'ÿ'}, {256, u'\x100'},
    {0x20AC, u'€'},    {-1, u'\xFFFF'}, {-255, u'\xFF01'}, {-32768, u'\x8000'},
};

class CharacterOfCode : public ::testing::TestWithParam<CodeCharacter> {};

TEST_P(CharacterOfCode, IsTheUnitOfTheCode) {
  EXPECT_EQ(delvorin::CharacterOfCode(GetParam().code), GetParam().unit) << GetParam().code;
}

INSTANTIATE_TEST_SUITE_P(Rows, CharacterOfCode, ::testing::ValuesIn(kCharacters),
                         [](const ::testing::TestParamInfo<CodeCharacter>& i) {
                           return CaseName(i.index, (i.param.code < 0 ? "minus " : "") + std::to_string(std::abs(int{i.param.code})));
                         });

TEST(Cp1252, CodeRoundTripsToCharacter) {
  for (uint32_t u = 1; u <= 0xFFFF; ++u) {
    const char16_t c = static_cast<char16_t>(u);
    if (u >= 0x100 || ToCp1252(c)) {
      EXPECT_EQ(delvorin::CharacterOfCode(KeyCodeOf(c)), c) << u;
    }
  }
}

struct LetterPair {
  char16_t lower, upper;
};

const LetterPair kLetterPairs[] = {
    {u'a', u'A'}, {u'z', u'Z'}, {u'ç', u'Ç'}, {u'ã', u'Ã'}, {u'é', u'É'}, {u'ÿ', u'Ÿ'},
    {u'š', u'Š'}, {u'œ', u'Œ'}, {u'ž', u'Ž'}, {u'ω', u'Ω'}, {u'σ', u'Σ'}, {u'ж', u'Ж'},
    {u'ա', u'Ա'}, {u'ა', u'Ა'}, {u'ⴀ', u'Ⴀ'}, {u'ꭰ', u'Ꭰ'}, {u'ａ', u'Ａ'}, {u'ⅰ', u'Ⅰ'},
    {u'ⓐ', u'Ⓐ'}, {u'ǆ', u'Ǆ'}, {u'ᾳ', u'ᾼ'}, {u'ᵹ', u'Ᵹ'}, {u'ⱥ', u'Ⱥ'}, {u'ɐ', u'Ɐ'},
};

class LetterPairs : public ::testing::TestWithParam<LetterPair> {};

TEST_P(LetterPairs, MapToEachOther) {
  const LetterPair& p = GetParam();
  EXPECT_EQ(UpperCaseBmp(p.lower), p.upper) << int(p.lower);
  EXPECT_EQ(LowerCaseBmp(p.upper), p.lower) << int(p.upper);
  EXPECT_EQ(UpperCaseBmp(p.upper), p.upper) << int(p.upper);
  EXPECT_EQ(LowerCaseBmp(p.lower), p.lower) << int(p.lower);
}

INSTANTIATE_TEST_SUITE_P(Rows, LetterPairs, ::testing::ValuesIn(kLetterPairs),
                         [](const ::testing::TestParamInfo<LetterPair>& i) { return UnitName(i.index, i.param.lower); });

struct OneWay {
  char16_t unit, upper, lower;
};

const OneWay kOneWayMappings[] = {
    {u'µ', u'Μ', u'µ'}, {u'ı', u'I', u'ı'}, {u'ſ', u'S', u'ſ'}, {u'ς', u'Σ', u'ς'},
    {u'İ', u'İ', u'i'}, {u'ẞ', u'ẞ', u'ß'}, {u'K', u'K', u'k'}, {u'Ω', u'Ω', u'ω'},
    {u'ǅ', u'Ǆ', u'ǆ'}, {u'ß', u'ß', u'ß'}, {u'ŉ', u'ŉ', u'ŉ'}, {u'ﬀ', u'ﬀ', u'ﬀ'},
    {u'ᾲ', u'ᾲ', u'ᾲ'}, {u'1', u'1', u'1'}, {u'.', u'.', u'.'}, {u'\0', u'\0', u'\0'},
    {u'ª', u'ª', u'ª'}, {u'€', u'€', u'€'}, {u'中', u'中', u'中'}, {u'\xFFFF', u'\xFFFF', u'\xFFFF'},
};

class OneWayMappings : public ::testing::TestWithParam<OneWay> {};

TEST_P(OneWayMappings, GiveTheirUpperAndLower) {
  const OneWay& c = GetParam();
  EXPECT_EQ(UpperCaseBmp(c.unit), c.upper) << int(c.unit);
  EXPECT_EQ(LowerCaseBmp(c.unit), c.lower) << int(c.unit);
}

INSTANTIATE_TEST_SUITE_P(Rows, OneWayMappings, ::testing::ValuesIn(kOneWayMappings),
                         [](const ::testing::TestParamInfo<OneWay>& i) { return UnitName(i.index, i.param.unit); });

// Over every unit: the text functions map unit by unit, each result is stable under a second
// mapping, and surrogates stay.
TEST(CaseMap, AllUnits) {
  std::u16string all(0x10000, u'\0');
  for (uint32_t u = 0; u <= 0xFFFF; ++u) all[u] = char16_t(u);
  const std::u16string upper = headless::UpperCaseTextBmp(all), lower = headless::LowerCaseTextBmp(all);
  ASSERT_EQ(upper.size(), all.size());
  ASSERT_EQ(lower.size(), all.size());
  for (uint32_t u = 0; u <= 0xFFFF; ++u) {
    EXPECT_EQ(upper[u], UpperCaseBmp(char16_t(u))) << u;
    EXPECT_EQ(lower[u], LowerCaseBmp(char16_t(u))) << u;
    EXPECT_EQ(UpperCaseBmp(upper[u]), upper[u]) << u;
    EXPECT_EQ(LowerCaseBmp(lower[u]), lower[u]) << u;
    if (u >= 0xD800 && u <= 0xDFFF) {
      EXPECT_TRUE(upper[u] == u && lower[u] == u) << u;
    }
  }
}

TEST(CaseMap, SurrogatePairsStay) {
  // Deseret letters have case pairs, but outside the BMP.
  EXPECT_EQ(headless::UpperCaseTextBmp(u"ação \U00010428"), u"AÇÃO \U00010428");
  EXPECT_EQ(headless::LowerCaseTextBmp(u"ÇÃ\U00010400\xDC00"), u"çã\U00010400\xDC00");
  EXPECT_EQ(headless::UpperCaseTextBmp(u""), u"");
}

}  // namespace
}  // namespace delvorin
