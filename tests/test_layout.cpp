// The layout engine: characters laid out, fitted, stripped and found again, for a pattern.
#include <gtest/gtest.h>

#include "format/Layout.h"
#include "tests/Helpers.h"

namespace delvorin {
namespace {

struct LayoutRow {
  const char16_t* pattern;
  const char16_t* characters;
  bool fits;
  const char16_t* rendered;
  size_t caretAfterAll;  // PositionAfter(all the characters)
};

const LayoutRow kLayoutRows[] = {
    {u"DDD.DDD.DDD-DD", u"", true, u"", 0},
    {u"DDD.DDD.DDD-DD", u"123", true, u"123", 3},
    {u"DDD.DDD.DDD-DD", u"1234", true, u"123.4", 5},
    {u"DDD.DDD.DDD-DD", u"12345678909", true, u"123.456.789-09", 14},
    {u"DDD.DDD.DDD-DD", u"123456789091", false, u"123.456.789-09", 14},  // beyond the slots: cut
    {u"DDD.DDD.DDD-DD", u"12a", false, u"12a", 3},                       // laid out all the same
    {u"(DD) DDDDD-DDDD", u"1", true, u"(1", 2},
    {u"(DD) DDDDD-DDDD", u"11987654321", true, u"(11) 98765-4321", 15},
    {u"AAA-DXDD", u"abc1d23", true, u"ABC-1D23", 8},
    {u"AAA-DXDD", u"ABC1234", true, u"ABC-1234", 8},
    {u"AAA-DXDD", u"AB1", false, u"AB1", 3},
    {u"XX.XXX.XXX/XXXX-DD", u"12abc34501de35", true, u"12.ABC.345/01DE-35", 18},
    {u"XX.XXX.XXX/XXXX-DD", u"12abc34501deab", false, u"12.ABC.345/01DE-ab", 18},
};

class LayoutTable : public ::testing::TestWithParam<LayoutRow> {};

TEST_P(LayoutTable, LaysOutFitsStripsAndFindsTheCaret) {
  const LayoutRow& r = GetParam();
  const Layout layout = Layout::FromPattern(r.pattern);
  EXPECT_EQ(layout.Fits(r.characters), r.fits);
  const std::u16string rendered = layout.Render(r.characters);
  EXPECT_EQ(Utf8(rendered), Utf8(r.rendered));
  EXPECT_EQ(layout.PositionAfter(std::u16string_view(r.characters).size()), r.caretAfterAll);
  if (r.fits) {
    // What is laid out strips back to characters that lay out the same, and reads as laid out.
    EXPECT_EQ(Utf8(layout.Render(layout.Strip(rendered))), Utf8(rendered));
    EXPECT_TRUE(layout.IsLaidOut(rendered));
    EXPECT_TRUE(layout.Fits(layout.Strip(rendered)));
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, LayoutTable, ::testing::ValuesIn(kLayoutRows), [](const ::testing::TestParamInfo<LayoutRow>& i) {
  return CaseName(i.index, Utf8(i.param.pattern) + " " + Utf8(i.param.characters));
});

struct LaidOutRow {
  const char16_t* pattern;
  const char16_t* text;
  bool laidOut;
};

// A text is laid out when it is the rendering of its characters, with the literals that come
// next possibly typed already.
const LaidOutRow kLaidOutRows[] = {
    {u"DD/DD/DDDD", u"12/", true},      {u"DD/DD/DDDD", u"12/03", true}, {u"DD/DD/DDDD", u"1203", false},
    {u"DD/DD/DDDD", u"12//", false},    {u"DD/DD/DDDD", u"1/2", false},  {u"(DD) DDDD-DDDD", u"(11) ", true},
    {u"(DD) DDDD-DDDD", u"(11", true},  {u"(DD) DDDD-DDDD", u"11) ", false},
};

class LaidOutTable : public ::testing::TestWithParam<LaidOutRow> {};

TEST_P(LaidOutTable, TellsALaidOutText) {
  const LaidOutRow& r = GetParam();
  EXPECT_EQ(Layout::FromPattern(r.pattern).IsLaidOut(r.text), r.laidOut);
}

INSTANTIATE_TEST_SUITE_P(Rows, LaidOutTable, ::testing::ValuesIn(kLaidOutRows), [](const ::testing::TestParamInfo<LaidOutRow>& i) {
  return CaseName(i.index, Utf8(i.param.pattern) + " " + Utf8(i.param.text));
});

}  // namespace
}  // namespace delvorin
