// Check digits of CPF, CNPJ (and its root), PIS, and the Luhn check of card numbers.
#include <gtest/gtest.h>

#include <cstddef>
#include <random>
#include <string>

#include "format/Validators.h"
#include "tests/Helpers.h"

namespace delvorin {
namespace {

std::string Show(std::u16string_view t) { return testing::PrintToString(std::u16string(t)); }

struct Case {
  std::u16string text;
  bool valid;
};

std::string CaseRowName(const ::testing::TestParamInfo<Case>& i) { return CaseName(i.index, Utf8(i.param.text)); }

const Case kValidaCpfTable[] = {
  {u"123.456.789-09", true},
  {u"12345678909", true},
  {u"123.456.789-08", false},  // wrong second check digit
  {u"123.456.789-19", false},  // wrong first check digit
  {u"000.000.000-00", true},   // no test for repeated digits
  {u"111.111.111-11", true},
  {u"12.345.678.909", true},  // dots and dashes are dropped wherever they are
  {u"1-2-3-4-5-6-7-8-9-0-9", true},
  {u"083.917.593-00", true},
  {u"083.915.593-00", true},  // one digit apart from the one above, yet also valid
  {u"abcdefghijk", true},     // eleven characters that all count as 0
  {std::u16string(11, u'\0'), true},
  {std::u16string(11, u'\xD800'), true},
  {u"123.456.789-0", false},  // ten characters
  {u"123.456.789-099", false},
  {u"", false},
  {u".-.-", false},
  {u"123/456/789-09", false},  // "/" is not a CPF separator
};

class ValidaCpfTable : public ::testing::TestWithParam<Case> {};

TEST_P(ValidaCpfTable, Examples) {
  const Case& c = GetParam();
  EXPECT_EQ(ValidaCpf(c.text), c.valid) << Show(c.text);
}

INSTANTIATE_TEST_SUITE_P(Rows, ValidaCpfTable, ::testing::ValuesIn(kValidaCpfTable), CaseRowName);

const Case kValidaCpfSpaces[] = {
  {u"  123.456.789-09   ", true},
  {u"00000000191", true},
  {u"0000 000191", true},   // a space inside counts as the digit 0...
  {u"000000 0191", true},
  {u"00000000 91", false},  // ...so it cannot stand for a 1
  {u"123 456 789 09", false},  // ...and counts in the length
  {u"\t12345678909", false},   // only U+0020 is trimmed
  {u"12345678909\t", false},
};

class ValidaCpfSpaces : public ::testing::TestWithParam<Case> {};

TEST_P(ValidaCpfSpaces, OuterSpacesDropInnerOnesCount) {
  const Case& c = GetParam();
  EXPECT_EQ(ValidaCpf(c.text), c.valid) << Show(c.text);
}

INSTANTIATE_TEST_SUITE_P(Rows, ValidaCpfSpaces, ::testing::ValuesIn(kValidaCpfSpaces), CaseRowName);

// Check digits by the short formula: d10 = sum(i * d_i) mod 11 mod 10, i = 1..9, and
// d11 = (sum((i - 1) * d_i) + 9 * d10) mod 11 mod 10.
std::u16string CompleteCpf(uint32_t base) {
  int d[11];
  for (int k = 8; k >= 0; --k, base /= 10) d[k] = static_cast<int>(base % 10);
  int s1 = 0, s2 = 0;
  for (int i = 1; i <= 9; ++i) {
    s1 += i * d[i - 1];
    s2 += (i - 1) * d[i - 1];
  }
  d[9] = s1 % 11 % 10;
  d[10] = (s2 + 9 * d[9]) % 11 % 10;
  std::u16string t;
  for (int x : d) t.push_back(static_cast<char16_t>(u'0' + x));
  return t;
}

TEST(ValidaCpf, AgreesWithOtherFormulaOnAnyChangedDigit) {
  std::mt19937 generator(2024);
  for (int i = 0; i < 3000; ++i) {
    const std::u16string cpf = CompleteCpf(generator() % 1000000000u);
    ASSERT_TRUE(ValidaCpf(cpf)) << Show(cpf);
    for (size_t pos = 0; pos < 11; ++pos) {
      for (char16_t d = u'0'; d <= u'9'; ++d) {
        if (d == cpf[pos]) continue;
        std::u16string other = cpf;
        other[pos] = d;
        // A wrong check digit is always caught. A changed base digit almost always is: the
        // remainders 0 and 1 both give the check digit 0, so a few changes keep it valid.
        const bool expected = pos < 9 && other == CompleteCpf(std::stoul(std::string(other.begin(), other.begin() + 9)));
        ASSERT_EQ(ValidaCpf(other), expected) << Show(other);
      }
    }
  }
}

const Case kValidaCnpjTable[] = {
  {u"11.222.333/0001-81", true},
  {u"11222333000181", true},
  {u" 11.222.333/0001-81 ", true},
  {u"11.222.333/0001-82", false},
  {u"11.222.333/0001-91", false},
  {u"00.000.000/0001-91", true},   // leading zeros, then a nonzero digit
  {u"12.345.674", true},           // a root of eight digits
  {u"12345674", true},
  {u"02.345.676", true},
  {u"12.345.675", false},
  {u"123456789", false},
  {u"1122233300018", false},
  {u"112223330001811", false},
  {u"", false},
};

class ValidaCnpjTable : public ::testing::TestWithParam<Case> {};

TEST_P(ValidaCnpjTable, FullAndRoot) {
  const Case& c = GetParam();
  EXPECT_EQ(ValidaCnpj(c.text), c.valid) << Show(c.text);
}

INSTANTIATE_TEST_SUITE_P(Rows, ValidaCnpjTable, ::testing::ValuesIn(kValidaCnpjTable), CaseRowName);

  // Each text has correct check digits when its non-digits count as 0.
const Case kValidaCnpjLeadingNumber[] = {
  {u"00.000.000/0000-00", false},  // the leading number is 0
  {u"00.000.000", false},
  {u"+0.000.000/0001-91", true},  // a sign counts as the digit 0
  {u"-0.000.000/0001-91", false},  // negative
  {u"+2.345.676", true},
  {u"-2.345.676", false},
  {u"0 000000/0001-91", true},    // spaces inside the leading number are skipped
  {u"00000000x00191", false},     // the number stops at "x" before any nonzero digit
  {u"a0000000000191", false},
};

class ValidaCnpjLeadingNumber : public ::testing::TestWithParam<Case> {};

TEST_P(ValidaCnpjLeadingNumber, LeadingNumberMustBePositive) {
  const Case& c = GetParam();
  EXPECT_EQ(ValidaCnpj(c.text), c.valid) << Show(c.text);
}

INSTANTIATE_TEST_SUITE_P(Rows, ValidaCnpjLeadingNumber, ::testing::ValuesIn(kValidaCnpjLeadingNumber), CaseRowName);

const std::u16string kPisNegativeLead = u"-1" + std::u16string(8, u'0');  // sum 2, check digit 9
const Case kValidaPisTable[] = {
  {u"234.56789.01.3", true},
  {u"23456789013", true},
  {u"400.00000.00.0", true},  // remainder 1 gives 0
  {u"  234.56789.01.3 ", true},
  {u"234.56789.01.4", false},
  {u"234.56789.01-3", false},  // the dash stays: twelve characters
  {u"000.00000.00.0", false},  // the leading number is 0
  {u"-00.00000.00.0", false},
  {kPisNegativeLead + u"9", true},  // a negative leading number passes
  {kPisNegativeLead + u"8", false},
  {u"2345678901", false},
  {u"", false},
};

class ValidaPisTable : public ::testing::TestWithParam<Case> {};

TEST_P(ValidaPisTable, Examples) {
  const Case& c = GetParam();
  EXPECT_EQ(ValidaPis(c.text), c.valid) << Show(c.text);
}

INSTANTIATE_TEST_SUITE_P(Rows, ValidaPisTable, ::testing::ValuesIn(kValidaPisTable), CaseRowName);

struct CardCase {
  std::u16string text;
  CardResult result;
};

std::string CardRowName(const ::testing::TestParamInfo<CardCase>& i) { return CaseName(i.index, Utf8(i.param.text)); }

using R = CardResult;
const CardCase kValidaCartaoTable[] = {
  {u"1234.5678.1234.5670", R::Valid},
  {u"1234567812345670", R::Valid},
  {u"1234.5678.1234.5678", R::Invalid},
  {u"4111111111111111", R::Valid},
  {u"79927398713", R::Valid},
  {u"79927398710", R::Invalid},
  {u"", R::Valid},
  {u"0", R::Valid},
  {u"...", R::Valid},
  {u"5", R::Invalid},
  {u"18", R::Valid},  // 1 doubled, plus 8
  {u"59", R::Valid},  // 5 doubled is 10, counted as 1
  {u"1234 5678", R::NotNumeric},
  {u" 1234", R::NotNumeric},  // no trimming
  {u"1234-5678", R::NotNumeric},
  {u"12a4", R::NotNumeric},
  {std::u16string(u"12\0" u"4", 4), R::NotNumeric},
  {u"\xDC00" u"0", R::NotNumeric},
};

class ValidaCartaoTable : public ::testing::TestWithParam<CardCase> {};

TEST_P(ValidaCartaoTable, LuhnAndConversionFailure) {
  const CardCase& c = GetParam();
  EXPECT_EQ(ValidaCartao(c.text), c.result) << Show(c.text);
}

INSTANTIATE_TEST_SUITE_P(Rows, ValidaCartaoTable, ::testing::ValuesIn(kValidaCartaoTable), CardRowName);

TEST(ValidaCartao, CatchesEverySingleDigitError) {
  std::mt19937 generator(77);
  for (int i = 0; i < 500; ++i) {
    std::u16string n;
    const int length = 1 + static_cast<int>(generator() % 24);
    for (int k = 0; k < length; ++k) n.push_back(static_cast<char16_t>(u'0' + generator() % 10));
    // Check digit: the payload doubled from its rightmost digit, the tens of products added.
    int sum = 0;
    for (int k = length - 1, doubled = 1; k >= 0; --k, doubled ^= 1) {
      const int v = (n[static_cast<size_t>(k)] - u'0') * (doubled ? 2 : 1);
      sum += v / 10 + v % 10;
    }
    n.push_back(static_cast<char16_t>(u'0' + (10 - sum % 10) % 10));
    ASSERT_EQ(ValidaCartao(n), CardResult::Valid) << Show(n);
    std::u16string dotted = n;
    dotted.insert(dotted.begin() + static_cast<std::ptrdiff_t>(generator() % (n.size() + 1)), u'.');
    EXPECT_EQ(ValidaCartao(dotted), CardResult::Valid) << Show(dotted);
    for (size_t pos = 0; pos < n.size(); ++pos) {
      for (char16_t d = u'0'; d <= u'9'; ++d) {
        if (d == n[pos]) continue;
        std::u16string other = n;
        other[pos] = d;
        ASSERT_EQ(ValidaCartao(other), CardResult::Invalid) << Show(other);
      }
    }
  }
}

TEST(Validators, HugeTexts) {
  std::u16string zeros(1 << 20, u'0');
  EXPECT_FALSE(ValidaCpf(zeros));
  EXPECT_FALSE(ValidaCnpj(zeros));
  EXPECT_FALSE(ValidaPis(zeros));
  EXPECT_EQ(ValidaCartao(zeros), CardResult::Valid);
  zeros.back() = u'1';
  EXPECT_EQ(ValidaCartao(zeros), CardResult::Invalid);
  zeros.front() = u' ';
  EXPECT_EQ(ValidaCartao(zeros), CardResult::NotNumeric);
  // Separators do not count towards the length, however many there are.
  const std::u16string dots(1 << 20, u'.');
  EXPECT_TRUE(ValidaCpf(dots + u"123456789" + dots + u"09"));
  EXPECT_TRUE(ValidaCnpj(dots + u"11222333000181"));
  EXPECT_TRUE(ValidaPis(u"2345678901" + dots + u"3"));
}

}  // namespace
}  // namespace delvorin
