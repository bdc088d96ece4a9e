// The state registration of the 27 states: the published examples of each state, numbers in use,
// numbers generated from each rule, the cases where the publications disagree, and bad input.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "format/InscricaoEstadual.h"
#include "tests/Helpers.h"

namespace delvorin {
namespace {

// A registration its state accepts, and the positions of its check digits (-1: no second).
struct ValidRow {
  std::u16string_view uf, characters;
  int check1, check2 = -1;
};

// A registration its state refuses.
struct InvalidRow {
  std::u16string_view uf, characters;
};

// A line's comment names its first rows, from the left: SINTEGRA's or the state's example, a
// number in use, or a case of a decision (format/InscricaoEstadual.cpp, README.md). The others
// are generated from the rule.
const ValidRow kValid[] = {
    {u"AC", u"0100482300112", 11, 12}, {u"AC", u"0195425550357", 11, 12},  // SINTEGRA example
    {u"AC", u"0149106549137", 11, 12},
    {u"AL", u"240000048", 8}, {u"AL", u"240841530", 8},  // SINTEGRA example; in use
    {u"AL", u"242103502", 8}, {u"AL", u"243446632", 8},  // third digit 2 accepted
    {u"AM", u"062000217", 8}, {u"AM", u"063000326", 8}, {u"AM", u"041754018", 8},  // in use; in use; in use
    {u"AM", u"945463383", 8}, {u"AM", u"260605867", 8},
    {u"AP", u"030123459", 8}, {u"AP", u"030170071", 8},  // SINTEGRA example, p = 5; p = 9, 11 gives d = 1
    {u"AP", u"030001000", 8}, {u"AP", u"030200040", 8},  // p = 5, 11 gives 0; p = 0, 11 gives 0
    {u"AP", u"030279569", 8},
    {u"BA", u"12345663", 6, 7},  // SINTEGRA example, modulus 10
    {u"BA", u"61234557", 6, 7}, {u"BA", u"123456748", 7, 8},  // modulus 11 (first digit 6); SEFAZ-BA example
    {u"BA", u"162345651", 7, 8},  // SEFAZ-BA example, second digit 6
    {u"BA", u"077028884", 7, 8}, {u"BA", u"65167530", 6, 7}, {u"BA", u"80199292", 6, 7},  // in use, second digit 7
    {u"BA", u"290453810", 7, 8},
    {u"CE", u"060000015", 8}, {u"CE", u"058033556", 8}, {u"CE", u"860821447", 8},  // SINTEGRA example
    {u"DF", u"0730000100109", 11, 12}, {u"DF", u"0759713000214", 11, 12},  // SINTEGRA example; in use
    {u"DF", u"0855776014305", 11, 12}, {u"DF", u"0709749921364", 11, 12},  // prefix 08
    {u"ES", u"999999990", 8}, {u"ES", u"279622490", 8}, {u"ES", u"080751652", 8},  // SINTEGRA example
    {u"GO", u"109876547", 8}, {u"GO", u"200024825", 8},  // SINTEGRA example; in use, prefix 20
    {u"GO", u"156140535", 8}, {u"GO", u"292352697", 8},  // prefix 15; prefix 29
    {u"GO", u"101031051", 8},  // in the range, remainder 1 gives 1
    {u"GO", u"102000000", 8},  // outside the range, remainder 1 gives 0
    {u"MA", u"120000385", 8}, {u"MA", u"121595641", 8}, {u"MA", u"121906973", 8},  // SINTEGRA example
    {u"MG", u"0623079040081", 11, 12}, {u"MG", u"7029855470002", 11, 12},  // SINTEGRA example; in use
    {u"MG", u"8443682144820", 11, 12}, {u"MG", u"3266536703047", 11, 12},
    {u"MS", u"280405383", 8}, {u"MS", u"281592594", 8}, {u"MS", u"285387685", 8},
    {u"MT", u"00130000019", 10}, {u"MT", u"09098172909", 10}, {u"MT", u"08406430743", 10},  // SINTEGRA example
    {u"PA", u"159999995", 8}, {u"PA", u"752246020", 8}, {u"PA", u"159105242", 8},  // SINTEGRA example; prefix 75
    {u"PB", u"060000015", 8}, {u"PB", u"185755453", 8}, {u"PB", u"326952942", 8},  // SINTEGRA example
    {u"PE", u"032141840", 7, 8}, {u"PE", u"18100100000049", 13},  // SINTEGRA e-Fisco example; old form example
    {u"PE", u"18119003256336", 13}, {u"PE", u"53832364056221", 13},  // in use; old form, remainder 0 gives 1
    {u"PE", u"075613697", 7, 8}, {u"PE", u"64442787795583", 13},
    {u"PI", u"012345679", 8}, {u"PI", u"940911027", 8}, {u"PI", u"086046926", 8},  // SINTEGRA example
    {u"PR", u"1234567850", 8, 9}, {u"PR", u"9025821693", 8, 9},  // SINTEGRA example; in use
    {u"PR", u"8441201762", 8, 9}, {u"PR", u"0152397518", 8, 9},
    {u"RJ", u"99999993", 7}, {u"RJ", u"92174166", 7}, {u"RJ", u"78858710", 7},  // SINTEGRA example
    {u"RN", u"200400401", 8}, {u"RN", u"2000400400", 9},  // SINTEGRA example; SINTEGRA example, 10 digits
    {u"RN", u"207757810", 8}, {u"RN", u"2099790531", 9},
    {u"RO", u"101625213", 8}, {u"RO", u"00000000625213", 13},  // SINTEGRA example, before 2000; SINTEGRA example
    {u"RO", u"00000003836321", 13}, {u"RO", u"745588521", 8},  // in use, remainder 0 gives 1
    {u"RO", u"27783756237224", 13},
    {u"RR", u"240066281", 8}, {u"RR", u"240017556", 8},  // SINTEGRA example; SINTEGRA example
    {u"RR", u"240034290", 8}, {u"RR", u"244032806", 8}, {u"RR", u"249970704", 8},  // SINTEGRA example
    {u"RS", u"2243658792", 9}, {u"RS", u"8002497099", 9},  // SINTEGRA example; in use, prefix 800
    {u"RS", u"4680001479", 9}, {u"RS", u"1343067143", 9}, {u"RS", u"9005871321", 9},  // in use, municipality 468
    {u"SC", u"251040852", 8}, {u"SC", u"318645980", 8}, {u"SC", u"365912859", 8},  // SINTEGRA example
    {u"SE", u"271234563", 8}, {u"SE", u"281542376", 8}, {u"SE", u"518078370", 8},  // SINTEGRA example
    {u"SP", u"110042490114", 8, 11}, {u"SP", u"P011004243002", 9},  // SINTEGRA example; SINTEGRA rural example
    {u"SP", u"P707305391025", 9}, {u"SP", u"100790689800", 8, 11},  // rural, no 0 after the P
    {u"SP", u"P086050660007", 9},
    {u"TO", u"29010227836", 10}, {u"TO", u"290227836", 8},  // SINTEGRA example, 11 digits; 9 digits
    {u"TO", u"32034106890", 10}, {u"TO", u"29990227836", 10}, {u"TO", u"523463200", 8},  // in use, type 03; type 99
    {u"TO", u"26028749655", 10},
};

// Changed check digits or lengths of the numbers above, and the cases the comments name.
const InvalidRow kInvalid[] = {
    {u"AC", u"0200482300194"}, {u"AC", u"0100482300113"}, {u"AC", u"0100482300102"},  // prefix 02, check digits right
    {u"AC", u"010048230011"},
    {u"AL", u"250000040"}, {u"AL", u"240000047"}, {u"AL", u"24000004"},  // prefix 25, check digit right
    {u"AM", u"000000000"}, {u"AM", u"062000218"}, {u"AM", u"06200021"}, {u"AM", u"0620002170"},  // sum 0 gives 11
    {u"AP", u"030123453"}, {u"AP", u"030170070"},  // digit computed without p; p = 9, 11 given as 0
    {u"AP", u"041234561"}, {u"AP", u"03012345"},  // prefix 04
    {u"BA", u"077028871"}, {u"BA", u"12345664"},  // the check digits the first-digit reading gives
    {u"BA", u"12345673"}, {u"BA", u"1234567"},
    {u"CE", u"060000016"}, {u"CE", u"06000001"}, {u"CE", u"0600000150"},
    {u"DF", u"0930000100144"}, {u"DF", u"0630000100129"}, {u"DF", u"0730000100108"},  // prefix 09; prefix 06
    {u"DF", u"073000010010"},
    {u"ES", u"999999991"}, {u"ES", u"99999999"}, {u"ES", u"9999999900"},
    {u"GO", u"101031050"},  // in the range, remainder 1 given as 0
    {u"GO", u"102000001"}, {u"GO", u"123456789"},  // outside the range, remainder 1 given as 1; prefix 12
    {u"GO", u"301234566"}, {u"GO", u"191234567"}, {u"GO", u"109876548"},  // prefix 30; prefix 19
    {u"MA", u"130000388"}, {u"MA", u"120000386"}, {u"MA", u"12000038"},  // prefix 13
    {u"MG", u"0623079040082"}, {u"MG", u"0623079040071"}, {u"MG", u"062307904008"},
    {u"MS", u"290405386"}, {u"MS", u"280405384"}, {u"MS", u"28040538"},  // prefix 29
    {u"MT", u"00130000018"}, {u"MT", u"0013000001"}, {u"MT", u"001300000190"},
    {u"PA", u"169999998"}, {u"PA", u"749999993"}, {u"PA", u"159999996"}, {u"PA", u"15999999"},  // prefix 16; prefix 74
    {u"PB", u"060000014"}, {u"PB", u"06000001"}, {u"PB", u"0600000150"},
    {u"PE", u"53832364056220"}, {u"PE", u"032141841"}, {u"PE", u"032141850"},  // old form, remainder 0 given as 0
    {u"PE", u"18100100000048"}, {u"PE", u"0321418400"}, {u"PE", u"1810010000004"},
    {u"PI", u"012345670"}, {u"PI", u"01234567"}, {u"PI", u"0123456790"},
    {u"PR", u"1234567851"}, {u"PR", u"1234567860"}, {u"PR", u"123456785"},
    {u"RJ", u"99999994"}, {u"RJ", u"9999999"}, {u"RJ", u"999999930"},
    {u"RN", u"210400404"}, {u"RN", u"2100400401"}, {u"RN", u"200400402"},  // prefix 21; prefix 21, 10 digits
    {u"RN", u"2000400401"}, {u"RN", u"20040040"},
    {u"RO", u"00000003836320"}, {u"RO", u"101625214"}, {u"RO", u"0000000062521"},  // remainder 0 given as 0
    {u"RO", u"1016252130"},
    {u"RR", u"250066283"}, {u"RR", u"240066282"}, {u"RR", u"24006628"},  // prefix 25
    {u"RS", u"2243658793"}, {u"RS", u"224365879"}, {u"RS", u"22436587920"},
    {u"SC", u"251040853"}, {u"SC", u"25104085"}, {u"SC", u"2510408520"},
    {u"SE", u"271234564"}, {u"SE", u"27123456"}, {u"SE", u"2712345630"},
    {u"SP", u"p011004243002"}, {u"SP", u"X011004243002"}, {u"SP", u"110042490115"},  // lower-case p; another letter
    {u"SP", u"110042491114"}, {u"SP", u"P011004244002"}, {u"SP", u"P01100424300"},
    {u"TO", u"29040227836"}, {u"TO", u"29010227837"}, {u"TO", u"290227837"}, {u"TO", u"2901022783"},  // type 04
};

template <typename Row>
std::string RowName(const ::testing::TestParamInfo<Row>& i) {
  return CaseName(i.index, Utf8(i.param.uf) + " " + Utf8(i.param.characters));
}

bool IsSlot(char16_t c) { return c == u'D' || c == u'A' || c == u'X'; }

// True when the characters fill the layout's slots: D a digit, A a capital, X either.
bool Fills(std::u16string_view layout, std::u16string_view characters) {
  size_t k = 0;
  for (char16_t slot : layout) {
    if (!IsSlot(slot)) continue;
    if (k == characters.size()) return false;
    const char16_t c = characters[k++];
    const bool digit = c >= u'0' && c <= u'9', letter = c >= u'A' && c <= u'Z';
    if (!(slot == u'D' ? digit : slot == u'A' ? letter : digit || letter)) return false;
  }
  return k == characters.size();
}

size_t Slots(std::u16string_view layout) {
  size_t n = 0;
  for (char16_t c : layout) n += IsSlot(c);
  return n;
}

class ValidInscricao : public ::testing::TestWithParam<ValidRow> {
 protected:
  const UfRule& Rule() const { return *FindUf(GetParam().uf); }  // every row's uf is one of the 27
};

TEST_P(ValidInscricao, AcceptedByItsStateAndWithoutState) {
  const ValidRow& r = GetParam();
  EXPECT_TRUE(Rule().check(r.characters));
  EXPECT_TRUE(ValidaInscricaoEstadual(r.characters, r.uf));
  EXPECT_TRUE(ValidaInscricaoEstadual(r.characters, u""));
}

TEST_P(ValidInscricao, AnyOtherCheckDigitIsRefused) {
  const ValidRow& r = GetParam();
  for (int at : {r.check1, r.check2}) {
    std::u16string changed(r.characters);
    for (char16_t d = u'0'; at >= 0 && d <= u'9'; ++d) {
      changed[static_cast<size_t>(at)] = d;
      EXPECT_TRUE(changed == r.characters || !ValidaInscricaoEstadual(changed, r.uf)) << Utf8(changed);
    }
  }
}

// A digit less or more is refused, unless that length is another form of the state (BA, PE, RN,
// RO, TO), where the number may happen to check.
TEST_P(ValidInscricao, OneDigitLessOrMoreIsRefused) {
  const std::u16string_view c = GetParam().characters;
  for (const std::u16string& t : {std::u16string(c.substr(0, c.size() - 1)), std::u16string(c) + u'0'}) {
    bool form = false;
    for (std::u16string_view layout : Rule().layouts) form = form || Slots(layout) == t.size();
    EXPECT_TRUE(form || !Rule().check(t)) << Utf8(t);
  }
}

TEST_P(ValidInscricao, FillsOneOfItsStatesLayouts) {
  bool fills = false;
  for (std::u16string_view layout : Rule().layouts) fills = fills || Fills(layout, GetParam().characters);
  EXPECT_TRUE(fills);
}

INSTANTIATE_TEST_SUITE_P(States, ValidInscricao, ::testing::ValuesIn(kValid), RowName<ValidRow>);

class InvalidInscricao : public ::testing::TestWithParam<InvalidRow> {};

TEST_P(InvalidInscricao, RefusedByItsState) {
  const InvalidRow& r = GetParam();
  ASSERT_NE(FindUf(r.uf), nullptr);
  EXPECT_FALSE(FindUf(r.uf)->check(r.characters));
  EXPECT_FALSE(ValidaInscricaoEstadual(r.characters, r.uf));
}

INSTANTIATE_TEST_SUITE_P(States, InvalidInscricao, ::testing::ValuesIn(kInvalid), RowName<InvalidRow>);

// Exemption, the choice of state, and text that is no registration at all.
struct InputRow {
  std::u16string characters;
  std::u16string_view uf;
  bool valid;
};

const InputRow kInputs[] = {
    {u"ISENTO", u"SP", true}, {u"ISENTO", u"TO", true}, {u"ISENTO", u"", true},
    {u"isento", u"SP", false}, {u"ISENTO", u"XX", false}, {u"ISENTOS", u"SP", false},
    {u"110042490114", u"", true}, {u"P011004243002", u"", true},  // SP's examples, state not given
    {u"110042490114", u"RJ", false}, {u"0100482300112", u"SP", false},  // another state's number
    {u"110042490114", u"sp", false}, {u"110042490114", u"S", false}, {u"110042490114", u"SPX", false},
    {u"110042490114", u"XX", false}, {u"110042490114", std::u16string_view(u"S\0", 2), false},  // not one of the 27
    {u"110.042.490.114", u"SP", false}, {u" 110042490114", u"SP", false},  // separators are not characters
    {u"", u"SP", false}, {u"", u"", false}, {u"ABCDEFGHIJKL", u"SP", false}, {u"11004249011A", u"", false},
    {u"\uFF11\uFF11\uFF10\uFF10\uFF14\uFF12\uFF14\uFF19\uFF10\uFF11\uFF11\uFF14", u"SP", false},  // full-width
    {std::u16string(12, u'\xD800'), u"SP", false}, {std::u16string(9, u'\0'), u"", false},
    {std::u16string(1 << 20, u'1'), u"SP", false}, {std::u16string(1 << 20, u'0'), u"", false},
};

class InscricaoInput : public ::testing::TestWithParam<InputRow> {};

TEST_P(InscricaoInput, Result) {
  EXPECT_EQ(ValidaInscricaoEstadual(GetParam().characters, GetParam().uf), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(Texts, InscricaoInput, ::testing::ValuesIn(kInputs),
                         [](const ::testing::TestParamInfo<InputRow>& i) {
                           return CaseName(i.index, Utf8(i.param.uf) + " " + Utf8(i.param.characters.substr(0, 20)));
                         });

TEST(InscricaoEstadualStates, TwentySevenInOrderEachFoundWithItsLayoutsShortestFirst) {
  const auto rules = UfRules();
  ASSERT_EQ(rules.size(), 27u);
  for (size_t k = 0; k < rules.size(); ++k) {
    EXPECT_TRUE(k == 0 || rules[k - 1].uf < rules[k].uf) << Utf8(rules[k].uf);
    EXPECT_EQ(FindUf(rules[k].uf), &rules[k]);
    EXPECT_FALSE(rules[k].layouts.empty()) << Utf8(rules[k].uf);
    for (size_t j = 1; j < rules[k].layouts.size(); ++j)
      EXPECT_LT(Slots(rules[k].layouts[j - 1]), Slots(rules[k].layouts[j])) << Utf8(rules[k].uf);
  }
}

}  // namespace
}  // namespace delvorin
