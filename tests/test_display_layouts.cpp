// Document layouts of an assigned Text: they work on characters, dropping only the layout's
// own separators before rebuilding it.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "format/DisplayLayouts.h"
#include "tests/Helpers.h"

namespace delvorin {
namespace {

using Formatter = std::u16string (*)(std::u16string_view);

struct Format {
  const char* name;
  Formatter f;
  size_t capacity;               // characters the layout shows
  std::u16string_view separators;  // removed before the layout is rebuilt
};
const Format kFormats[] = {
    {"Cep", FormataCep, 8, u"-"},     {"Cpf", FormataCpf, 11, u".-"},          {"Cnpj", FormataCnpj, 14, u".-/"},
    {"Pis", FormataPis, 11, u"."},    {"Cartao", FormataCartao, 16, u"."},
};

struct Case {
  Formatter f;
  std::u16string input, output;
};

std::string CaseRowName(const ::testing::TestParamInfo<Case>& i) { return CaseName(i.index, Utf8(i.param.input)); }

const Case kFormatterTable[] = {
  {FormataCep, u"12345678", u"12345-678"},
  {FormataCep, u"12345-678", u"12345-678"},
  {FormataCep, u"123456", u"12345-6"},
  {FormataCep, u"1234", u"1234"},
  {FormataCep, u"123456789", u"12345-678"},  // beyond the layout: dropped
  {FormataCpf, u"12345678909", u"123.456.789-09"},
  {FormataCpf, u"1234", u"123.4"},
  {FormataCpf, u"123456789", u"123.456.789"},
  {FormataCpf, u"1234567890", u"123.456.789-0"},
  {FormataCnpj, u"11222333000181", u"11.222.333/0001-81"},
  {FormataCnpj, u"11.222.333/0001-81", u"11.222.333/0001-81"},
  {FormataCnpj, u"12345674", u"12.345.674"},
  {FormataCnpj, u"112", u"11.2"},
  {FormataPis, u"23456789013", u"234.56789.01.3"},
  {FormataPis, u"2345", u"234.5"},
  {FormataCartao, u"1234567812345678", u"1234.5678.1234.5678"},
  {FormataCartao, u"12345", u"1234.5"},
};

class FormatterTable : public ::testing::TestWithParam<Case> {};

TEST_P(FormatterTable, Examples) {
  const Case& c = GetParam();
  EXPECT_EQ(c.f(c.input), c.output) << testing::PrintToString(c.input);
}

INSTANTIATE_TEST_SUITE_P(Rows, FormatterTable, ::testing::ValuesIn(kFormatterTable), CaseRowName);

const Case kFormatterSeparators[] = {
  {FormataCep, u"12.345-678", u"12.34-567"},  // the dot is a character like a digit
  {FormataPis, u"234.56789.01-3", u"234.56789.01.-"},
  {FormataCartao, u"1234 5678 1234 5678", u"1234. 567.8 12.34 5"},
  {FormataCpf, u"123/456", u"123./45.6"},
  {FormataCnpj, u"1-1/2.2", u"11.22"},
  {FormataCpf, std::u16string(u"\0\xD800\xFFFF" u"abcdefgh", 11), std::u16string(u"\0\xD800\xFFFF.abc.def-gh", 14)},
};

class FormatterSeparators : public ::testing::TestWithParam<Case> {};

TEST_P(FormatterSeparators, OnlyTheLayoutsOwnSeparatorsAreRemoved) {
  const Case& c = GetParam();
  EXPECT_EQ(c.f(c.input), c.output) << testing::PrintToString(c.input);
}

INSTANTIATE_TEST_SUITE_P(Rows, FormatterSeparators, ::testing::ValuesIn(kFormatterSeparators), CaseRowName);

TEST(Formatters, HeadWithoutSeparatorAndEmpty) {
  const std::u16string digits = u"1234567890123456";
  for (const Format& f : kFormats) {
    EXPECT_EQ(f.f(u""), u"") << f.name;
    std::u16string separators;
    for (int i = 0; i < 20; ++i) separators += f.separators;
    EXPECT_EQ(f.f(separators), u"") << f.name;
  }
  EXPECT_EQ(FormataCep(digits.substr(0, 5)), u"12345");
  EXPECT_EQ(FormataCpf(digits.substr(0, 3)), u"123");
  EXPECT_EQ(FormataCnpj(digits.substr(0, 2)), u"12");
  EXPECT_EQ(FormataPis(digits.substr(0, 3)), u"123");
  EXPECT_EQ(FormataCartao(digits.substr(0, 4)), u"1234");
}

TEST(Formatters, FormattedLayoutComesBackUnchanged) {
  std::mt19937 generator(5);
  for (const Format& f : kFormats) {
    for (size_t length = 0; length <= f.capacity + 3; ++length) {
      std::u16string digits;
      for (size_t k = 0; k < length; ++k) digits.push_back(static_cast<char16_t>(u'0' + generator() % 10));
      const std::u16string once = f.f(digits);
      EXPECT_EQ(f.f(once), once) << f.name << " " << testing::PrintToString(digits);
      // Every digit up to the capacity is shown, in order.
      std::u16string digitsOnly;
      for (char16_t c : once)
        if (c >= u'0' && c <= u'9') digitsOnly.push_back(c);
      EXPECT_EQ(digitsOnly, digits.substr(0, f.capacity)) << f.name;
    }
  }
}

TEST(Formatters, LongTexts) {
  const std::u16string longText(40000, u'7');  // beyond 32767 characters
  EXPECT_EQ(FormataCpf(longText), u"777.777.777-77");
  EXPECT_EQ(FormataCartao(longText), u"7777.7777.7777.7777");
  const std::u16string dots(1 << 20, u'.');
  EXPECT_EQ(FormataCnpj(dots + u"1"), u"1");
  EXPECT_EQ(FormataCpf(dots + u"1234" + dots), u"123.4");
  EXPECT_EQ(FormataCep(dots), u".....-...");  // dots are characters to the CEP layout
}

}  // namespace
}  // namespace delvorin
