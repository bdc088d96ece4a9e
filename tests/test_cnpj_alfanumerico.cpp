// The alphanumeric CNPJ: the check against an independent computation of the check digits,
// and the same numbers typed, pasted and assigned with and without CnpjAlfanumerico.
#include <random>

#include "format/Validators.h"
#include "tests/Helpers.h"

namespace delvorin {
namespace {

// The two check digits of a 12-character base, computed the way the rule is written: value
// = code - 48, weights from 5 (then 6) falling to 2 and starting again at 9.
std::u16string WithCheckDigits(std::u16string base) {
  for (int firstWeight : {5, 6}) {
    int sum = 0, weight = firstWeight;
    for (char16_t c : base) {
      sum += (c - 48) * weight;
      weight = weight == 2 ? 9 : weight - 1;
    }
    const int remainder = sum % 11;
    base.push_back(static_cast<char16_t>(u'0' + (remainder < 2 ? 0 : 11 - remainder)));
  }
  return base;
}

struct ValidationCase {
  const char* name;
  std::u16string text;
  bool alphanumeric;  // ValidaCnpjAlfanumerico
  bool numeric;       // ValidaCnpj, unchanged
};

class CnpjValidation : public ::testing::TestWithParam<ValidationCase> {};

TEST_P(CnpjValidation, ResultOfEachRule) {
  const ValidationCase& c = GetParam();
  EXPECT_EQ(ValidaCnpjAlfanumerico(c.text), c.alphanumeric) << Utf8(c.text);
  EXPECT_EQ(ValidaCnpj(c.text), c.numeric) << Utf8(c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CnpjValidation,
    ::testing::Values(
        ValidationCase{"PublicExample", u"12.ABC.345/01DE-35", true, false},
        ValidationCase{"ExampleWithoutSeparators", u"12ABC34501DE35", true, false},
        ValidationCase{"SpacesAtTheEnds", u"  12.ABC.345/01DE-35 ", true, false},
        ValidationCase{"WrongCheckDigit", u"12.ABC.345/01DE-36", false, false},
        ValidationCase{"WrongFirstCheckDigit", u"12.ABC.345/01DE-45", false, false},
        ValidationCase{"LowerCase", u"12.abc.345/01de-35", false, false},
        ValidationCase{"LetterInCheckDigit", u"12.ABC.345/01DE-3A", false, false},
        ValidationCase{"LettersInBothCheckDigits", u"000000000000AB", false, false},
        ValidationCase{"ShortWithLetters", u"12.ABC.345/01DE-3", false, false},
        ValidationCase{"LongWithLetters", u"12.ABC.345/01DE-355", false, false},
        ValidationCase{"AccentedLetter", u"12.ÁBC.345/01DE-35", false, false},
        ValidationCase{"SpaceInside", u"12.ABC.345/01D -35", false, false},
        ValidationCase{"RootWithLetters", u"12.ABC.345", false, true},  // letters count as 0 in the numeric rule
        ValidationCase{"ValidNumeric", u"11.222.333/0001-81", true, true},
        ValidationCase{"InvalidNumeric", u"11.222.333/0001-82", false, false},
        ValidationCase{"NumericRoot", u"12.345.674", true, true},
        ValidationCase{"FourteenZeros", u"00.000.000/0000-00", false, false},
        ValidationCase{"Empty", u"", false, false}),
    [](const ::testing::TestParamInfo<ValidationCase>& i) { return std::string(i.param.name); });

TEST(CnpjValidation, RandomBasesAgainstIndependentComputation) {
  std::mt19937 generator(2026);
  constexpr char16_t kAlphabet[] = u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  for (int i = 0; i < 5000; ++i) {
    const bool digitsOnly = i % 4 == 0;
    std::u16string base;
    for (int k = 0; k < 12; ++k) base.push_back(kAlphabet[generator() % (digitsOnly ? 10 : 36)]);
    if (base.find_first_not_of(u'0') == std::u16string::npos) continue;
    const std::u16string cnpj = WithCheckDigits(base);
    EXPECT_TRUE(ValidaCnpjAlfanumerico(cnpj)) << Utf8(cnpj);
    // A numeric CNPJ keeps its check digits under both rules.
    if (digitsOnly) {
      EXPECT_TRUE(ValidaCnpj(cnpj)) << Utf8(cnpj);
    }
    for (size_t pos : {size_t{12}, size_t{13}}) {
      std::u16string wrong = cnpj;
      wrong[pos] = static_cast<char16_t>(u'0' + (wrong[pos] - u'0' + 1 + generator() % 9) % 10);
      EXPECT_FALSE(ValidaCnpjAlfanumerico(wrong)) << Utf8(wrong);
    }
  }
}

// One CNPJ field session: typed, pasted and assigned, with the property on or off.
struct FieldCase {
  const char* name;
  bool alphanumeric;
  std::u16string input;
  std::u16string typed;  // typed into the empty field, and pasted
  std::u16string assigned;  // written to Text
  bool message;             // leaving the typed field reports an invalid CNPJ
};

class CnpjField : public FieldTest, public ::testing::WithParamInterface<FieldCase> {
 protected:
  void SetUp() override {
    Tipo(tipo::Cnpj);
    ASSERT_TRUE(control().SetCnpjAlfanumerico(GetParam().alphanumeric ? kTrue : kFalse).ok());
  }
};

TEST_P(CnpjField, Typed) {
  const FieldCase& c = GetParam();
  form.Focus();
  form.Type(c.input);
  EXPECT_EQ(txo().Text(), c.typed);
  form.Blur();
  EXPECT_EQ(messageBoxes().size(), c.message ? 1u : 0u);
  if (c.message) {
    EXPECT_EQ(messageBoxes()[0].prompt, u"CNPJ Inválido.");
  }
}

TEST_P(CnpjField, Pasted) {
  const FieldCase& c = GetParam();
  form.Focus();
  form.Paste(c.input);
  EXPECT_EQ(txo().Text(), c.typed);
}

TEST_P(CnpjField, Assigned) {
  const FieldCase& c = GetParam();
  ASSERT_TRUE(control().SetText(c.input).ok());
  EXPECT_EQ(txo().Text(), c.assigned);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CnpjField,
    ::testing::Values(
        FieldCase{"ValidAlphanumeric", true, u"12abc34501de35", u"12.ABC.345/01DE-35", u"12.ABC.345/01DE-35", false},
        FieldCase{"InvalidAlphanumeric", true, u"12ABC34501DE36", u"12.ABC.345/01DE-36", u"12.ABC.345/01DE-36", true},
        FieldCase{"LetterRefusedInCheckDigit", true, u"12ABC34501DE3A", u"12.ABC.345/01DE-3", u"12.ABC.345/01DE-3A", true},
        FieldCase{"AtMostTwelveLetters", true, u"ABCDEFGHIJKLM", u"AB.CDE.FGH/IJKL", u"AB.CDE.FGH/IJKL-M", true},
        FieldCase{"NumericWithTheProperty", true, u"11222333000181", u"11.222.333/0001-81", u"11.222.333/0001-81", false},
        FieldCase{"AccentRefused", true, u"12ÁBC", u"12.BC", u"12.ÁBC", true},
        FieldCase{"LettersRefusedWithoutTheProperty", false, u"12abc34501de35", u"12.345.013/5", u"12.abc.345/01de-35", true},
        FieldCase{"NumericWithoutTheProperty", false, u"11222333000181", u"11.222.333/0001-81", u"11.222.333/0001-81", false}),
    [](const ::testing::TestParamInfo<FieldCase>& i) { return std::string(i.param.name); });

TEST_F(FieldTest, FullSelectedCnpjAcceptsNewLetter) {
  Tipo(tipo::Cnpj);
  ASSERT_TRUE(control().SetText(u"12ABC34501DE35").ok());
  form.Focus();  // selects the whole text, which the letter replaces
  form.Type(u"a");
  EXPECT_EQ(txo().Text(), u"A");
}

TEST_F(FieldTest, InvalidAlphanumericCnpjWithLockReturnsToField) {
  Tipo(tipo::Cnpj);
  ASSERT_TRUE(control().SetTravaCpf(kTrue).ok());
  form.Focus();
  form.Type(u"12ABC34501DE36");
  form.Blur();
  ASSERT_EQ(messageBoxes().size(), 1u);
  EXPECT_EQ(messageBoxes()[0].prompt, u"CNPJ Inválido. Redigite ( ou deixe em branco)");
  EXPECT_TRUE(form.FieldHasFocus());
}

TEST(CnpjAlfanumerico, DefaultTrueAndSaved) {
  headless::Form form;
  EXPECT_EQ(Read(form.control(), Property::CnpjAlfanumerico), Variant::Boolean(kTrue));
  ASSERT_TRUE(form.control().Put(Property::CnpjAlfanumerico, Variant::Boolean(kFalse)).ok());
  EXPECT_EQ(form.host().Count(u"notice: CnpjAlfanumerico"), 1);
  headless::PropertyBagHeadless bag;
  ASSERT_TRUE(form.control().WriteProperties(bag).ok());
  ASSERT_TRUE(bag.Has(u"CnpjAlfanumerico"));
  headless::Form other(headless::Form::Start::Blank);
  ASSERT_TRUE(other.control().ReadProperties(bag).ok());
  EXPECT_EQ(other.control().CnpjAlfanumerico(), kFalse);
}

}  // namespace
}  // namespace delvorin
