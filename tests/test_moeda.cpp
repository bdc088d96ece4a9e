// Brazilian number services: reading amounts and numbers, the currency, mask, plain and
// general forms, the leading number, rounding of halfway values, and range edges.
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "format/Moeda.h"
#include "tests/Helpers.h"

namespace delvorin {
namespace {

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();

struct Reading {
  std::u16string text;
  int32_t status;
  int64_t tenThousandths;
};

const Reading kMoedaReadings[] = {
  {u"1234,5", Status::kOk, 12345000},
  {u"1.234,50", Status::kOk, 12345000},
  {u"R$ 1.234,50", Status::kOk, 12345000},
  {u"  R$1.234,50  ", Status::kOk, 12345000},
  {u"1.234,50 R$", Status::kOk, 12345000},
  {u"(R$ 1.234,50)", Status::kOk, -12345000},
  {u"( 10 )", Status::kOk, -100000},
  {u"-R$ 10,00", Status::kOk, -100000},
  {u"R$ -10,00", Status::kOk, -100000},
  {u"10,00-", Status::kOk, -100000},
  {u"- 5", Status::kOk, -50000},
  {u"+5", Status::kOk, 50000},
  {u"1.2.3", Status::kOk, 1230000},
  {u"12.", Status::kOk, 120000},
  {u",5", Status::kOk, 5000},
  {u"5,", Status::kOk, 50000},
  {u"0,00005", Status::kOk, 1},           // half away from zero
  {u"0,00004999", Status::kOk, 0},
  {u"-0,00005", Status::kOk, -1},
  {u"1,23456", Status::kOk, 12346},
  {u"0,99995", Status::kOk, 10000},       // the carry reaches the integer part
  {u"0000000000000000000000001", Status::kOk, 10000},
  {u"922337203685477,5807", Status::kOk, kMax},
  {u"-922337203685477,5808", Status::kOk, kMin},
  {u"922337203685477,58074", Status::kOk, kMax},
  {u"922337203685477,58075", Status::kOverflow, 0},
  {u"922337203685477,5808", Status::kOverflow, 0},
  {u"-922337203685477,5809", Status::kOverflow, 0},
  {u"-922337203685477,58084", Status::kOk, kMin},
  {u"-922337203685477,58085", Status::kOverflow, 0},
  {u"9999999999999999", Status::kOverflow, 0},
  {u"", Status::kTypeMismatch, 0},
  {u"   ", Status::kTypeMismatch, 0},
  {u"-", Status::kTypeMismatch, 0},
  {u"R$", Status::kTypeMismatch, 0},
  {u",", Status::kTypeMismatch, 0},
  {u"abc", Status::kTypeMismatch, 0},
  {u"12a", Status::kTypeMismatch, 0},
  {u"1,2,3", Status::kTypeMismatch, 0},
  {u"1,2.3", Status::kTypeMismatch, 0},
  {u"--5", Status::kTypeMismatch, 0},
  {u"-5-", Status::kTypeMismatch, 0},
  {u"(-5)", Status::kTypeMismatch, 0},
  {u"(5", Status::kTypeMismatch, 0},
  {u"5)", Status::kTypeMismatch, 0},
  {u"R$ R$ 5", Status::kTypeMismatch, 0},
  {u"r$ 5", Status::kTypeMismatch, 0},
  {u"1 000", Status::kTypeMismatch, 0},
  {u"1E5", Status::kTypeMismatch, 0},
  {std::u16string(u"5\0", 2), Status::kTypeMismatch, 0},
  {u"5\xD800", Status::kTypeMismatch, 0},
  {u"\x200F" u"5", Status::kTypeMismatch, 0},
};

class MoedaReading : public ::testing::TestWithParam<Reading> {};

TEST_P(MoedaReading, AcceptsBrazilianForms) {
  const Reading& c = GetParam();
  Moeda m{-7};
  Status s = ReadMoeda(c.text, m);
  EXPECT_EQ(s.hresult(), c.status) << Utf8(c.text);
  if (s.ok()) {
    EXPECT_EQ(m.tenThousandths, c.tenThousandths) << Utf8(c.text);
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, MoedaReading, ::testing::ValuesIn(kMoedaReadings),
                         [](const ::testing::TestParamInfo<Reading>& i) { return CaseName(i.index, Utf8(i.param.text)); });

TEST(ReadMoeda, HugeTextDoesNotHang) {
  std::u16string huge(1 << 20, u'9');
  Moeda m;
  EXPECT_EQ(ReadMoeda(huge, m).hresult(), Status::kOverflow);
  std::u16string zeros(1 << 20, u'0');
  ASSERT_TRUE(ReadMoeda(zeros + u"7,5", m).ok());
  EXPECT_EQ(m.tenThousandths, 75000);
  ASSERT_TRUE(ReadMoeda(u"1," + zeros, m).ok());
  EXPECT_EQ(m.tenThousandths, 10000);
}

struct Writing {
  int64_t tenThousandths;
  unsigned digits;
  std::u16string moedaText, moedaWithoutParentheses, masked, plain;
};

const Writing kMoedaWritings[] = {
  {12345000, 2, u"R$ 1.234,50", u"R$ 1.234,50", u"1.234,50", u"1234,5"},
  {-12345000, 2, u"(R$ 1.234,50)", u"-R$ 1.234,50", u"-1.234,50", u"-1234,5"},
  {12345000, 0, u"R$ 1.235", u"R$ 1.235", u"1.235,", u"1234,5"},
  {12344999, 0, u"R$ 1.234", u"R$ 1.234", u"1.234,", u"1234,4999"},
  {12345600, 0, u"R$ 1.235", u"R$ 1.235", u"1.235,", u"1234,56"},
  {-5000, 2, u"(R$ 0,50)", u"-R$ 0,50", u"-0,50", u"-0,5"},
  {0, 2, u"R$ 0,00", u"R$ 0,00", u"0,00", u"0"},
  {-10, 2, u"R$ 0,00", u"R$ 0,00", u"0,00", u"-0,001"},  // rounds to zero: no sign
  {-50, 2, u"(R$ 0,01)", u"-R$ 0,01", u"-0,01", u"-0,005"},
  {9999950, 2, u"R$ 1.000,00", u"R$ 1.000,00", u"1.000,00", u"999,995"},
  {15000, 9, u"R$ 1,500000000", u"R$ 1,500000000", u"1,50000", u"1,5"},
  {12345678, 3, u"R$ 1.234,568", u"R$ 1.234,568", u"1.234,568", u"1234,5678"},
  {12345000000, 2, u"R$ 1.234.500,00", u"R$ 1.234.500,00", u"1.234.500,00", u"1234500"},
  {12345670000, 2, u"R$ 1.234.567,00", u"R$ 1.234.567,00", u"1.234.567,00", u"1234567"},
  {15000, 7, u"R$ 1,5000000", u"R$ 1,5000000", u"1,50000", u"1,5"},
  {-100000, 0, u"(R$ 10)", u"-R$ 10", u"-10,", u"-10"},
  {1, 2, u"R$ 0,00", u"R$ 0,00", u"0,00", u"0,0001"},
  {kMax, 2, u"R$ 922.337.203.685.477,58", u"R$ 922.337.203.685.477,58", u"922.337.203.685.477,58",
   u"922337203685477,5807"},
  {kMin, 4, u"(R$ 922.337.203.685.477,5808)", u"-R$ 922.337.203.685.477,5808", u"-922.337.203.685.477,5808",
   u"-922337203685477,5808"},
  {kMax, 0, u"R$ 922.337.203.685.478", u"R$ 922.337.203.685.478", u"922.337.203.685.478,",
   u"922337203685477,5807"},
};

class MoedaWritingTable : public ::testing::TestWithParam<Writing> {};

TEST_P(MoedaWritingTable, LayoutsOfTheTypes) {
  const Writing& c = GetParam();
  Moeda m{c.tenThousandths};
  EXPECT_EQ(MoedaText(m, c.digits, true), c.moedaText) << c.tenThousandths;
  EXPECT_EQ(MoedaText(m, c.digits, false), c.moedaWithoutParentheses) << c.tenThousandths;
  EXPECT_EQ(MaskedMoedaText(m, c.digits), c.masked) << c.tenThousandths;
  EXPECT_EQ(PlainForm(m), c.plain) << c.tenThousandths;
}

INSTANTIATE_TEST_SUITE_P(Rows, MoedaWritingTable, ::testing::ValuesIn(kMoedaWritings),
                         [](const ::testing::TestParamInfo<Writing>& i) { return CaseName(i.index, std::to_string(i.param.tenThousandths) + " " + std::to_string(i.param.digits)); });

TEST(MoedaWriting, ManyDigitsAreWrittenInFull) {
  EXPECT_EQ(MoedaText(Moeda{10000}, 255, true).size(), 4u + 1 + 255);
}

TEST(MoedaWriting, RereadGivesSameValue) {
  std::mt19937_64 generator(12345);
  for (int i = 0; i < 20000; ++i) {
    int64_t raw = static_cast<int64_t>(generator());
    if (i % 3 == 1) raw %= 100000000;
    if (i == 0) raw = kMin;
    if (i == 1) raw = kMax;
    Moeda m{raw}, parsed{-1};
    ASSERT_TRUE(ReadMoeda(PlainForm(m), parsed).ok()) << raw;
    EXPECT_EQ(parsed, m);
    ASSERT_TRUE(ReadMoeda(MoedaText(m, 4, i % 2 == 0), parsed).ok()) << raw;
    EXPECT_EQ(parsed, m);
    ASSERT_TRUE(ReadMoeda(MaskedMoedaText(m, 4), parsed).ok()) << raw;
    EXPECT_EQ(parsed, m);
  }
}

struct NumberCase {
  std::u16string text;
  int32_t status;
  double value;
};

const NumberCase kNumberReadings[] = {
  {u"1.234,50", Status::kOk, 1234.5},   {u"0,10", Status::kOk, 0.1},   {u"007", Status::kOk, 7},
  {u"(R$ 2,5)", Status::kOk, -2.5},     {u"1,5E+20", Status::kOk, 1.5e20}, {u"1E-06", Status::kOk, 1e-6},
  {u"2e3", Status::kOk, 2000},          {u"1E+400", Status::kOverflow, 0}, {u"1E-400", Status::kOk, 0},
  {u"0,0E+99999999999999", Status::kOk, 0}, {u"1E+999999999999", Status::kOverflow, 0},
  {u"-1E-999999999999", Status::kOk, 0}, {u"1,5E20-", Status::kOk, -1.5e20},
  {u"1,79769313486232E+308", Status::kOverflow, 0}, {u"1E+5,0", Status::kTypeMismatch, 0}, {u"1E", Status::kTypeMismatch, 0}, {u"E5", Status::kTypeMismatch, 0},
  {u"1,2,3", Status::kTypeMismatch, 0}, {u"abc", Status::kTypeMismatch, 0}, {u"", Status::kTypeMismatch, 0},
};

class ReadNumberTable : public ::testing::TestWithParam<NumberCase> {};

TEST_P(ReadNumberTable, SameGrammarWithExponent) {
  const NumberCase& c = GetParam();
  double d = -7;
  Status s = ReadNumber(c.text, d);
  EXPECT_EQ(s.hresult(), c.status) << Utf8(c.text);
  if (s.ok()) {
    EXPECT_EQ(d, c.value) << Utf8(c.text);
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, ReadNumberTable, ::testing::ValuesIn(kNumberReadings),
                         [](const ::testing::TestParamInfo<NumberCase>& i) { return CaseName(i.index, Utf8(i.param.text)); });

TEST(ReadNumber, LongTextsOverflowOrRead) {
  double d = 0;
  std::u16string longText = u"1" + std::u16string(400, u'0');
  EXPECT_EQ(ReadNumber(longText, d).hresult(), Status::kOverflow);
  EXPECT_TRUE(ReadNumber(u"0," + std::u16string(1 << 20, u'0') + u"1E+1048577", d).ok());
  EXPECT_EQ(d, 1);
}

struct GeneralFormCase {
  double value;
  std::u16string text;
};

const GeneralFormCase kGeneralForms[] = {
  {1234.5, u"1234,5"},
  {0.1, u"0,1"},
  {7, u"7"},
  {-7.25, u"-7,25"},
  {0, u"0"},
  {-0.0, u"0"},
  {123456789012345.6, u"123456789012346"},
  {99999999999999.9, u"99999999999999,9"},
  {1e15, u"1E+15"},
  {1234567890123455, u"1,23456789012346E+15"},  // tie: to even
  {1234567890123445, u"1,23456789012344E+15"},  // tie: to even
  {123456789012345678.0, u"1,23456789012346E+17"},
  {0.00001, u"0,00001"},
  {0.000012345, u"0,000012345"},
  {1e-6, u"1E-06"},
  {1.5e-7, u"1,5E-07"},
  {-1.5e-7, u"-1,5E-07"},
  {-std::numeric_limits<double>::denorm_min(), u"-4,94065645841247E-324"},
  {1e300, u"1E+300"},
  {0.1 + 0.2, u"0,3"},
  {std::numeric_limits<double>::infinity(), u"1,79769313486231E+308"},
  {-std::numeric_limits<double>::max(), u"-1,79769313486231E+308"},
  {1.7976931348623e308, u"1,7976931348623E+308"},
  {std::numeric_limits<double>::quiet_NaN(), u"0"},
};

class GeneralFormTable : public ::testing::TestWithParam<GeneralFormCase> {};

TEST_P(GeneralFormTable, FifteenDigitsAndExponent) {
  const GeneralFormCase& c = GetParam();
  EXPECT_EQ(GeneralForm(c.value), c.text) << c.value;
}

INSTANTIATE_TEST_SUITE_P(Rows, GeneralFormTable, ::testing::ValuesIn(kGeneralForms),
                         [](const ::testing::TestParamInfo<GeneralFormCase>& i) { return CaseName(i.index, Utf8(i.param.text)); });

TEST(GeneralForm, RereadIsIdempotent) {
  std::mt19937_64 generator(99);
  for (int i = 0; i < 20000; ++i) {
    uint64_t bits = generator();
    double d = 0;
    std::memcpy(&d, &bits, sizeof d);
    if (!std::isfinite(d)) continue;
    std::u16string once = GeneralForm(d);
    double reread = 0;
    ASSERT_TRUE(ReadNumber(once, reread).ok()) << Utf8(once);
    EXPECT_EQ(GeneralForm(reread), once);
  }
}

struct Initial {
  std::u16string text;
  double value;
  int sign;
};

const Initial kInitialNumbers[] = {
  {u"0012", 12, 1},    {u"-5", -5, -1},       {u"12abc", 12, 1},   {u"abc", 0, 0},     {u"1,5", 1, 1},
  {u"1.5", 1.5, 1},    {u" 1 2 3", 123, 1},   {u"- 7", -7, -1},    {u"", 0, 0},        {u"+", 0, 0},
  {u"1.2.3", 1.2, 1},  {u"1.5E3", 1500, 1},   {u"2e", 2, 1},       {u"-0", 0, 0},      {u"-0,5", 0, 0},
  {u".5", 0.5, 1},     {u"\t7", 0, 0},         {u"1E-400", 0, 1},   {u"00.000", 0, 0},  {u"R$ 5", 0, 0},
  {u"1 E- 2", 0.01, 1}, {u"-1E-999999999999", 0, -1},
};

class LeadingNumberTable : public ::testing::TestWithParam<Initial> {};

TEST_P(LeadingNumberTable, ReadsUpToFirstForeignCharacter) {
  const Initial& c = GetParam();
  double d = -1;
  ASSERT_TRUE(LeadingNumber(c.text, d).ok()) << Utf8(c.text);
  EXPECT_EQ(d, c.value) << Utf8(c.text);
  EXPECT_EQ(LeadingNumberSign(c.text), c.sign) << Utf8(c.text);
}

INSTANTIATE_TEST_SUITE_P(Rows, LeadingNumberTable, ::testing::ValuesIn(kInitialNumbers),
                         [](const ::testing::TestParamInfo<Initial>& i) { return CaseName(i.index, Utf8(i.param.text)); });

TEST(LeadingNumber, HugeOrLongExponentsOverflow) {
  double d = 0;
  EXPECT_EQ(LeadingNumber(u"1E+999", d).hresult(), Status::kOverflow);
  EXPECT_EQ(LeadingNumber(u"1E99999999999999999999", d).hresult(), Status::kOverflow);
  EXPECT_EQ(LeadingNumber(std::u16string(1 << 20, u'9'), d).hresult(), Status::kOverflow);
  std::u16string hugeNegative(1 << 20, u'9');
  hugeNegative[0] = u'-';
  EXPECT_EQ(LeadingNumberSign(hugeNegative), -1);
}

}  // namespace
}  // namespace delvorin
