// A write of Text: notice first, then the type's display form at once; type 11 in words
// with its failures reported to the caller; re-entrance from the host's Change handler.
#include "tests/Helpers.h"

namespace delvorin {
namespace {

struct Assignment {
  uint8_t type;
  std::u16string value;
  std::u16string shown;
};

class TextAssignment : public FieldTest, public ::testing::WithParamInterface<Assignment> {};

TEST_P(TextAssignment, ShowsTheTypesLayout) {
  const Assignment& a = GetParam();
  Tipo(a.type);
  host().ClearLog();
  ASSERT_TRUE(control().SetText(a.value).ok());
  EXPECT_EQ(control().Text(), a.shown);
  EXPECT_EQ(Logged(u"notice: Text"), 1);
  EXPECT_TRUE(messageBoxes().empty()) << "assignment never validates";
  if (a.type >= 8 && a.type <= 14) {
    EXPECT_LE(Logged(u"event: Change"), 2);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Types, TextAssignment,
    ::testing::Values(Assignment{8, u"12345678", u"12345-678"}, Assignment{9, u"12345678900", u"123.456.789-00"},
                      Assignment{10, u"11222333000181", u"11.222.333/0001-81"},
                      Assignment{13, u"23456789013", u"234.56789.01.3"},
                      Assignment{14, u"1234567812345678", u"1234.5678.1234.5678"},
                      Assignment{4, u"  qualquer coisa'  ", u"  qualquer coisa'  "}, Assignment{3, u"0012", u"0012"},
                      Assignment{12, u"abc", u"abc"}, Assignment{27, u"abc", u"abc"}, Assignment{0, u"1234,5", u"R$ 1.234,50"},
                      Assignment{1, u"1234,5", u"1.234,50"}, Assignment{2, u"1.234,50", u"1234,5"},
                      Assignment{5, u"maria das dores", u"Maria das Dores"}, Assignment{6, u"ação", u"AÇÃO"},
                      Assignment{7, u"AÇÃO", u"ação"}, Assignment{0, u"abc", u"0"},
                      Assignment{11, u"2,50", u"DOIS REAIS E CINQUENTA CENTAVOS"}, Assignment{11, u"", u""},
                      Assignment{11, u"0", u""}, Assignment{11, u"-5", u""}, Assignment{11, u"-0,5", u""},
                      Assignment{11, u"(5,00)", u""}, Assignment{11, u"1.000.000", u"UM MILHAO DE REAIS"},
                      Assignment{11, u"1,5", u"UM REAL E CINQUENTA CENTAVOS"}, Assignment{11, u"1.5", u"QUINZE REAIS"},
                      Assignment{11, u"1.234,56",
                                 u"UM MIL, DUZENTOS E TRINTA E QUATRO REAIS E CINQUENTA E SEIS CENTAVOS"},
                      Assignment{11, u"0,001", u""}),
    [](const ::testing::TestParamInfo<Assignment>& i) {
      return CaseName(i.index, "Tipo" + std::to_string(i.param.type) + " " + Utf8(i.param.value));
    });

TEST_F(FieldTest, TextNoticeComesBeforeFormatting) {
  Tipo(0);
  host().ClearLog();
  ASSERT_TRUE(control().SetText(u"5").ok());
  EXPECT_EQ(host().log(), (std::vector<std::u16string>{u"event: Change", u"notice: Text", u"event: Change"}));
}

TEST_F(FieldTest, QuotesAndTrimOnlyInFormattingTypes) {
  ASSERT_TRUE(control().SetAspas(kTrue).ok());
  ASSERT_TRUE(control().SetTC_Trim(kTrue).ok());
  Tipo(4);
  ASSERT_TRUE(control().SetText(u" d'a ").ok());
  EXPECT_EQ(control().Text(), u" d'a ");
  Tipo(6);
  ASSERT_TRUE(control().SetText(u" d'a ").ok());
  EXPECT_EQ(control().Text(), u"D´A");
}

struct ExtensoFailure {
  std::u16string value;
  int32_t error;
};

const ExtensoFailure kExtensoFailures[] = {
    {u"abc", Status::kTypeMismatch},
    {u"1,2,3", Status::kTypeMismatch},
    {u"UM REAL", Status::kTypeMismatch},
    {u"99999999999999999", Status::kOverflow},
};

class ExtensoRefusal : public FieldTest, public ::testing::WithParamInterface<ExtensoFailure> {};

// A refused text stays in the box as written and still flattens the field, with no notice of Appearance.
TEST_P(ExtensoRefusal, RefusesNonValues) {
  const ExtensoFailure& f = GetParam();
  Tipo(11);
  ASSERT_TRUE(control().Put(Property::Appearance, Variant::I2(1)).ok());
  ASSERT_TRUE(control().Put(Property::BorderStyle, Variant::I2(1)).ok());
  host().ClearLog();
  EXPECT_EQ(control().SetText(f.value).hresult(), f.error) << Utf8(f.value);
  EXPECT_EQ(control().Text(), f.value);
  EXPECT_EQ(Logged(u"notice: Text"), 1);
  Variant appearance, border;
  ASSERT_TRUE(control().Get(Property::Appearance, appearance).ok());
  ASSERT_TRUE(control().Get(Property::BorderStyle, border).ok());
  EXPECT_EQ(appearance, Variant::I2(0));
  EXPECT_EQ(border, Variant::I2(0));
  EXPECT_EQ(Logged(u"notice: Appearance"), 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, ExtensoRefusal, ::testing::ValuesIn(kExtensoFailures),
                         [](const ::testing::TestParamInfo<ExtensoFailure>& i) { return CaseName(i.index, Utf8(i.param.value)); });

TEST_F(FieldTest, ExtensoTextReadIsNotWrittenBack) {
  Tipo(11);
  ASSERT_TRUE(control().SetText(u"2,50").ok());
  EXPECT_EQ(control().SetText(control().Text()).hresult(), Status::kTypeMismatch);
}

TEST_F(FieldTest, AssignmentIgnoresLockAndDisabled) {
  ASSERT_TRUE(control().Put(Property::Locked, Variant::Boolean(kTrue)).ok());
  ASSERT_TRUE(control().Put(Property::Enabled, Variant::Boolean(kFalse)).ok());
  ASSERT_TRUE(control().Put(Property::MaxLength, Variant::I4(3)).ok());
  ASSERT_TRUE(control().SetText(u"123456").ok());
  EXPECT_EQ(control().Text(), u"123456");
}

TEST_F(FieldTest, WithFocusTheDisplayLayoutIsWritten) {
  Tipo(0);
  form.Focus();
  ASSERT_TRUE(control().SetText(u"2").ok());
  EXPECT_EQ(control().Text(), u"R$ 2,00");
  form.Blur();
  form.Focus();
  EXPECT_EQ(control().Text(), u"2");
}

TEST_F(FieldTest, ChangeThatReassignsTheText) {
  Tipo(0);
  int calls = 0;
  host().onChange = [&] {
    ++calls;
    if (control().Text() == u"7") {
      ASSERT_TRUE(control().SetText(u"8").ok());
    }
  };
  ASSERT_TRUE(control().SetText(u"7").ok());
  // The nested write finished first; the outer one then shows its own value, read before.
  EXPECT_EQ(control().Text(), u"R$ 7,00");
  EXPECT_GE(calls, 3);
}

TEST_F(FieldTest, ChangeThatReassignsWhileTyping) {
  Tipo(4);
  host().onChange = [&] {
    if (control().Text() == u"ab") {
      ASSERT_TRUE(control().SetText(u"XYZ").ok());
    }
  };
  form.Focus();
  form.Type(u"abc");
  EXPECT_EQ(control().Text(), u"cXYZ") << "the caret went to 0 with the write; c is typed there";
}

}  // namespace
}  // namespace delvorin
