// Amount in words: worked amounts, every group of three digits against a spelling built in
// another way, the spacing and vocabulary of random amounts, and the helpers Vazio and
// Substitui (the latter against the literal search-from-the-start loop).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "format/Extenso.h"
#include "tests/Helpers.h"

namespace delvorin {
namespace {

std::string Show(std::u16string_view t) { return testing::PrintToString(std::u16string(t)); }

Moeda Amount(int64_t whole, int64_t cents = 0) { return Moeda{whole * 10000 + cents * 100}; }

const std::u16string kLargestInWords =
    u"NOVECENTOS E VINTE E DOIS TRILHOES, TREZENTOS E TRINTA E SETE BILHOES, DUZENTOS E TRES MILHOES, "
    u"SEISCENTOS E OITENTA E CINCO MIL, QUATROCENTOS E SETENTA E SETE REAIS E CINQUENTA E OITO CENTAVOS";

struct Worked {
  Moeda amount;
  std::u16string words;
};

const Worked kWorkedValues[] = {
    {Amount(0), u""},
    {Amount(0, 1), u"UM CENTAVO"},
    {Amount(0, 10), u"DEZ CENTAVOS"},
    {Amount(0, 50), u"CINQUENTA CENTAVOS"},
    {Amount(1), u"UM REAL"},
    {Amount(1, 1), u"UM REAL E UM CENTAVO"},
    {Amount(2, 50), u"DOIS REAIS E CINQUENTA CENTAVOS"},
    {Amount(21), u"VINTE E UM REAIS"},
    {Amount(100), u"CEM REAIS"},
    {Amount(101), u"CENTO E UM REAIS"},
    {Amount(1000), u"UM MIL REAIS"},
    {Amount(1000, 50), u"UM MIL REAIS E CINQUENTA CENTAVOS"},
    {Amount(1001), u"UM MIL, UM REAL"},
    {Amount(1100), u"UM MIL, CEM REAIS"},
    {Amount(21000), u"VINTE E UM MIL REAIS"},
    {Amount(1000000), u"UM MILHAO DE REAIS"},
    {Amount(1000000, 50), u"UM MILHAO DE REAIS E CINQUENTA CENTAVOS"},
    {Amount(1000001), u"UM MILHAO, UM REAL"},
    {Amount(1001000), u"UM MILHAO, UM MIL REAIS"},
    {Amount(21000000), u"VINTE E UM MILHOES DE REAIS"},
    {Amount(2500000000), u"DOIS BILHOES, QUINHENTOS MILHOES DE REAIS"},
    {Amount(1000000000000), u"UM TRILHAO DE REAIS"},
    {Amount(1000000000001), u"UM TRILHAO, UM REAL"},
    {Amount(1000000001000), u"UM TRILHAO, UM MIL REAIS"},
    {Amount(1234567, 89),
     u"UM MILHAO, DUZENTOS E TRINTA E QUATRO MIL, QUINHENTOS E SESSENTA E SETE REAIS E OITENTA E NOVE CENTAVOS"},
    {Amount(922337203685477, 58), kLargestInWords},
    {Moeda{std::numeric_limits<int64_t>::max()}, kLargestInWords},  // 922337203685477,5807
    {Moeda{10}, u""},             // 0,001 rounds to no centavo
    {Moeda{49}, u""},
    {Moeda{50}, u"UM CENTAVO"},   // 0,005: half away from zero
    {Moeda{9950}, u"UM REAL"},    // 0,995 carries into the reais
    {Moeda{-1}, u""},             // negative amounts have no words
    {Moeda{-10000}, u""},
    {Moeda{std::numeric_limits<int64_t>::min()}, u""},
};

class ExtensoWorked : public ::testing::TestWithParam<Worked> {};

TEST_P(ExtensoWorked, SpellsTheAmount) {
  EXPECT_EQ(Extenso(GetParam().amount), GetParam().words) << GetParam().amount.tenThousandths;
}

INSTANTIATE_TEST_SUITE_P(Rows, ExtensoWorked, ::testing::ValuesIn(kWorkedValues),
                         [](const ::testing::TestParamInfo<Worked>& i) {
                           std::string amount = std::to_string(i.param.amount.tenThousandths);
                           if (amount[0] == '-') amount.replace(0, 1, "minus ");
                           return CaseName(i.index, amount);
                         });

// 0..999 in words, built from small tables and joined with " E ", each word followed by a
// space; the exceptions are CEM alone and the blank zero.
std::u16string GroupWords(int n) {
  static const std::u16string_view upTo19[] = {
      u"",     u"UM",    u"DOIS",     u"TRES",   u"QUATRO",    u"CINCO",     u"SEIS",
      u"SETE", u"OITO",  u"NOVE",     u"DEZ",    u"ONZE",      u"DOZE",      u"TREZE",
      u"QUATORZE", u"QUINZE", u"DEZESSEIS", u"DEZESSETE", u"DEZOITO", u"DEZENOVE"};
  static const std::u16string_view tens[] = {u"", u"", u"VINTE", u"TRINTA", u"QUARENTA",
                                             u"CINQUENTA", u"SESSENTA", u"SETENTA", u"OITENTA", u"NOVENTA"};
  static const std::u16string_view hundreds[] = {u"", u"CENTO", u"DUZENTOS", u"TREZENTOS", u"QUATROCENTOS",
                                                 u"QUINHENTOS", u"SEISCENTOS", u"SETECENTOS", u"OITOCENTOS",
                                                 u"NOVECENTOS"};
  if (n == 0) return u" ";
  if (n == 100) return u"CEM ";
  std::vector<std::u16string_view> parts;
  if (n / 100) parts.push_back(hundreds[n / 100]);
  if (n % 100 >= 20) {
    parts.push_back(tens[n % 100 / 10]);
    if (n % 10) parts.push_back(upTo19[n % 10]);
  } else if (n % 100) {
    parts.push_back(upTo19[n % 100]);
  }
  std::u16string r;
  for (std::u16string_view p : parts) r.append(r.empty() ? u"" : u"E ").append(p).append(u" ");
  return r;
}

TEST(ExtensoCentena, AllGroups) {
  for (int n = 0; n < 1000; ++n) {
    const char16_t g[3] = {static_cast<char16_t>(u'0' + n / 100), static_cast<char16_t>(u'0' + n / 10 % 10),
                           static_cast<char16_t>(u'0' + n % 10)};
    const std::u16string w = ExtensoCentena(std::u16string_view(g, 3));
    EXPECT_EQ(w, GroupWords(n)) << n;
    ASSERT_FALSE(w.empty()) << n;
    EXPECT_EQ(w.back(), u' ') << n;
    EXPECT_EQ(w.find(u"  "), std::u16string::npos) << n;
    if (n != 0) {
      EXPECT_NE(w.front(), u' ') << n;
    }
  }
}

TEST(ExtensoCentena, OnlyThreeDigits) {
  for (std::u16string_view bad : {u"", u"12", u"1234", u"1a3", u"-12", u" 12", u"12 ", u"\xFF10\xFF11\xFF12"})
    EXPECT_EQ(ExtensoCentena(bad), u"") << Show(bad);
  EXPECT_EQ(ExtensoCentena(std::u16string(u"1\0" u"2", 3)), u"");
}

TEST(Extenso, RandomValuesWellSpaced) {
  std::set<std::u16string> allowed = {u"E", u"DE", u"CENTO", u"MIL,", u"REAL", u"REAIS", u"CENTAVO", u"CENTAVOS"};
  for (int n = 1; n < 1000; ++n) {
    const std::u16string w = GroupWords(n);
    for (size_t i = 0, end; i < w.size(); i = end + 1) allowed.insert(w.substr(i, (end = w.find(u' ', i)) - i));
  }
  for (std::u16string scale : {u"TRILHAO", u"TRILHOES", u"BILHAO", u"BILHOES", u"MILHAO", u"MILHOES", u"MIL"}) {
    allowed.insert(scale);
    allowed.insert(scale + u",");
  }
  std::mt19937_64 generator(31);
  for (int i = 0; i < 20000; ++i) {
    const int64_t v = static_cast<int64_t>(generator() >> (1 + generator() % 63));
    const std::u16string w = Extenso(Moeda{v});
    ASSERT_EQ(w.empty(), v < 50) << v;
    if (w.empty()) continue;
    EXPECT_NE(w.front(), u' ') << v;
    EXPECT_NE(w.back(), u' ') << v;
    EXPECT_EQ(w.find(u"  "), std::u16string::npos) << Show(w);
    for (size_t i = 0, end; i <= w.size(); i = end + 1) {
      end = std::min(w.find(u' ', i), w.size());
      EXPECT_TRUE(allowed.count(w.substr(i, end - i))) << Show(w.substr(i, end - i)) << " in " << Show(w);
    }
  }
}

TEST(Vazio, BlanksAndNul) {
  EXPECT_TRUE(Vazio(u""));
  EXPECT_TRUE(Vazio(u"   "));
  EXPECT_TRUE(Vazio(std::u16string(u"\0 \0", 3)));
  EXPECT_TRUE(Vazio(std::u16string(1 << 20, u'\0')));
  EXPECT_FALSE(Vazio(u"\t"));
  EXPECT_FALSE(Vazio(u"\x00A0"));  // no-break space is not blank
  EXPECT_FALSE(Vazio(u" a "));
  EXPECT_FALSE(Vazio(std::u16string(1 << 20, u' ') + u"."));
}

TEST(Substitui, Examples) {
  EXPECT_EQ(Substitui(u"a.b.c", u".", u""), u"abc");
  EXPECT_EQ(Substitui(u"aab", u"ab", u"b"), u"b");  // searches again from the start
  EXPECT_EQ(Substitui(u"aaaab", u"ab", u"b"), u"b");
  EXPECT_EQ(Substitui(u"xaby", u"ab", u"ba"), u"xbay");
  EXPECT_EQ(Substitui(u"xyz", u"", u"q"), u"xyz");
  EXPECT_EQ(Substitui(u"", u"a", u"b"), u"");
  EXPECT_EQ(Substitui(u"abc", u"abcd", u""), u"abc");
  EXPECT_EQ(Substitui(std::u16string(u"a\0b", 3), std::u16string_view(u"\0", 1), u" "), u"a b");
}

TEST(Substitui, ReplacementContainingSearchTerminates) {
  // The search would find each replacement again for ever: a single pass instead.
  EXPECT_EQ(Substitui(u"aaa", u"a", u"aa"), u"aaaaaa");
  EXPECT_EQ(Substitui(u"abc", u"abc", u"abc"), u"abc");
  EXPECT_EQ(Substitui(u"x.y", u".", u"..."), u"x...y");
  // A replacement that does not hold the search text but doubles the text per "a":
  // the search stops within a budget proportional to the text.
  const std::u16string r = Substitui(std::u16string(60, u'a') + u"b", u"ab", u"bbaa");
  EXPECT_LT(r.size(), 1u << 22);
  EXPECT_EQ(r.find_first_not_of(u"ab"), std::u16string::npos);
}

// The literal procedure: replace the first occurrence, search again from the start. False
// when the text outgrows the limit.
bool Literal(std::u16string& t, std::u16string_view search, std::u16string_view replacement) {
  for (size_t pos; (pos = t.find(search)) != std::u16string::npos;) {
    t.replace(pos, search.size(), replacement);
    if (t.size() > 4000) return false;
  }
  return true;
}

TEST(Substitui, MatchesLiteralProcedure) {
  std::mt19937 generator(9);
  auto text = [&](size_t maximum) {
    std::u16string t(generator() % (maximum + 1), u'a');
    for (char16_t& c : t) c = static_cast<char16_t>(u'a' + generator() % 3);
    return t;
  };
  int compared = 0;
  for (int i = 0; i < 20000; ++i) {
    const std::u16string t = text(30), search = text(4), replacement = text(5);
    if (search.empty() || replacement.find(search) != std::u16string::npos) continue;
    std::u16string expected = t;
    if (!Literal(expected, search, replacement)) continue;
    ++compared;
    ASSERT_EQ(Substitui(t, search, replacement), expected) << Show(t) << " " << Show(search) << " " << Show(replacement);
  }
  EXPECT_GT(compared, 5000);
}

TEST(Substitui, HugeTexts) {
  // Each replacement makes a new occurrence with what came before: a million of them.
  const std::u16string t = std::u16string(1 << 20, u'a') + u"b";
  EXPECT_EQ(Substitui(t, u"ab", u"b"), u"b");
  EXPECT_EQ(Substitui(std::u16string(1 << 20, u'.'), u".", u""), u"");
  const std::u16string longSearch = std::u16string(1 << 19, u'a') + u"c";
  EXPECT_EQ(Substitui(std::u16string(1 << 20, u'a'), longSearch, u"x").size(), 1u << 20);
}

}  // namespace
}  // namespace delvorin
