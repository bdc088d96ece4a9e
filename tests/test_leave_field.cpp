// Leave-field processing: the display form of each type, the text options, the document
// checks with their messages and focus return, and the failure path that leaves "0".
#include <random>

#include "tests/Helpers.h"

namespace delvorin {
namespace {

struct Output {
  uint8_t type;
  uint8_t digits;
  bool parentheses;
  std::u16string before;
  std::u16string after;
};

class FieldExit : public FieldTest, public ::testing::WithParamInterface<Output> {};

TEST_P(FieldExit, FormatsOnLeaveAndByAtualiza) {
  const Output& s = GetParam();
  Tipo(s.type);
  ASSERT_TRUE(control().SetDigitos(s.digits).ok());
  ASSERT_TRUE(control().Setusar_parenteses(s.parentheses ? kTrue : kFalse).ok());
  SetRaw(s.before);
  (void)control().Atualiza();
  EXPECT_EQ(control().Text(), s.after) << "Atualiza";
  SetRaw(s.before);
  control().TXO_LostFocus();
  EXPECT_EQ(control().Text(), s.after) << "leaving the field";
}

INSTANTIATE_TEST_SUITE_P(
    Types, FieldExit,
    ::testing::Values(
        Output{0, 2, true, u"1234,5", u"R$ 1.234,50"}, Output{0, 2, true, u"-1234,5", u"(R$ 1.234,50)"},
        Output{0, 2, false, u"-1234,5", u"-R$ 1.234,50"}, Output{0, 0, true, u"1234,4", u"R$ 1.234"},
        Output{0, 0, true, u"1234,5", u"R$ 1.235"}, Output{0, 9, true, u"1,5", u"R$ 1,500000000"},
        Output{0, 2, true, u"0,5", u"R$ 0,50"}, Output{0, 2, true, u"", u"0"}, Output{0, 2, true, u"-", u"0"},
        Output{0, 2, true, u"9999999999999999", u"0"}, Output{0, 2, true, u"abc", u"0"},
        Output{0, 2, true, u"R$ 1.234,50", u"R$ 1.234,50"}, Output{0, 2, true, u"-0,001", u"R$ 0,00"},
        Output{1, 2, true, u"1234,5", u"1.234,50"}, Output{1, 2, true, u"1.234.567", u"1.234.567,00"},
        Output{1, 2, true, u"-0,5", u"-0,50"}, Output{1, 2, true, u"0", u"0,00"},
        Output{1, 0, true, u"1234,56", u"1.235,"}, Output{1, 7, true, u"1,5", u"1,50000"},
        Output{1, 2, true, u"-1234,5", u"-1.234,50"}, Output{1, 2, true, u"", u"0"},
        Output{2, 2, true, u"1.234,50", u"1234,5"}, Output{2, 2, true, u"0,10", u"0,1"}, Output{2, 2, true, u"007", u"7"},
        Output{2, 2, true, u"1,2,3", u"0"}, Output{2, 2, true, u"abc", u"0"}, Output{2, 2, true, u"", u"0"},
        Output{2, 2, true, u"-", u"0"}, Output{2, 2, true, u"123456789012345678", u"1,23456789012346E+17"},
        Output{3, 2, true, u"0012", u"12"}, Output{3, 2, true, u"1,5", u"1"}, Output{3, 2, true, u"1.5", u"1,5"},
        Output{3, 2, true, u"abc", u"0"}, Output{3, 2, true, u"", u"0"}, Output{3, 2, true, u"-5", u"-5"},
        Output{3, 2, true, u"12abc", u"12"}, Output{3, 2, true, u"-", u"0"},
        Output{4, 2, true, u"  qualquer' ", u"  qualquer' "}, Output{4, 2, true, u"", u""},
        Output{5, 2, true, u"maria das dores", u"Maria das Dores"}, Output{5, 2, true, u"pedro e paulo", u"Pedro e Paulo"},
        Output{5, 2, true, u"de souza", u"De Souza"}, Output{5, 2, true, u"JOSÉ DA SILVA", u"JOSÉ DA SILVA"},
        Output{5, 2, true, u"ana lu", u"Ana lu"}, Output{5, 2, true, u"maria das", u"Maria Das"},
        Output{5, 2, true, u"joão com josé dos anjos", u"João com José dos Anjos"}, Output{5, 2, true, u"", u""},
        Output{5, 2, true, u"ébano", u"Ébano"}, Output{6, 2, true, u"ação çã", u"AÇÃO ÇÃ"},
        Output{6, 2, true, u"straße ǆ", u"STRAßE Ǆ"}, Output{7, 2, true, u"AÇÃO ÇÃ", u"ação çã"},
        Output{12, 2, true, u"joão da silva", u"João da silva"}, Output{12, 2, true, u"ñ", u"Ñ"},
        Output{8, 2, true, u"123", u"123"}, Output{11, 2, true, u"DOIS REAIS", u"DOIS REAIS"},
        Output{200, 2, true, u"x'", u"x'"}),
    [](const ::testing::TestParamInfo<Output>& i) {
      return CaseName(i.index, "Tipo" + std::to_string(i.param.type) + " " + Utf8(i.param.before));
    });

TEST_F(FieldTest, EmptyNumericFieldGetsZeroTwice) {
  Tipo(2);
  SetRaw(u"x");
  SetRaw(u"");
  host().ClearLog();
  (void)control().Atualiza();
  EXPECT_EQ(control().Text(), u"0");
  EXPECT_EQ(Logged(u"event: Change"), 1) << "the second write of \"0\" alters nothing";
}

TEST_F(FieldTest, QuotesAndTrimInAnyTipo) {
  for (uint8_t t : {4, 8, 11, 3}) {
    headless::Form f;
    ASSERT_TRUE(f.control().SetTipo(t).ok());
    ASSERT_TRUE(f.control().SetAspas(kTrue).ok());
    ASSERT_TRUE(f.control().SetTC_Trim(kTrue).ok());
    ASSERT_TRUE(f.txo().SetText(u"  d'Ávila  ").ok());
    (void)f.control().Atualiza();
    EXPECT_EQ(f.control().Text(), t == 3 ? u"0" : u"d´Ávila") << int(t);
  }
}

TEST_F(FieldTest, AtualizaTwiceGivesSameTextExceptTipoThree) {
  std::mt19937 generator(7);
  const std::u16string samples[] = {u"1234,5", u"-0,5", u"1.5", u"abc", u"", u"maria das dores", u"ação",
                                    u"12345678909", u"  x'y  ", u"1,2,3", u"(R$ 3,00)", u"1234.5678.1234.5670"};
  for (int fieldType = 0; fieldType <= 15; ++fieldType) {
    if (fieldType == 3) continue;
    for (const std::u16string& a : samples) {
      headless::Form f;
      ASSERT_TRUE(f.control().SetTipo(static_cast<uint8_t>(fieldType)).ok());
      ASSERT_TRUE(f.control().SetDigitos(static_cast<uint8_t>(generator() % 8)).ok());
      ASSERT_TRUE(f.control().SetAspas(generator() % 2 ? kTrue : kFalse).ok());
      ASSERT_TRUE(f.control().SetTC_Trim(generator() % 2 ? kTrue : kFalse).ok());
      ASSERT_TRUE(f.control().Setusar_parenteses(generator() % 2 ? kTrue : kFalse).ok());
      ASSERT_TRUE(f.control().SetMSGcpf(kFalse).ok());
      ASSERT_TRUE(f.txo().SetText(a).ok());
      (void)f.control().Atualiza();
      std::u16string once = f.control().Text();
      // An amount that cannot be read leaves "0", which the next run shows as an amount.
      if (fieldType <= 1 && once == u"0") continue;
      (void)f.control().Atualiza();
      EXPECT_EQ(f.control().Text(), once) << "type " << fieldType << " from " << Utf8(a);
    }
  }
  Tipo(3);
  SetRaw(u"1.5");
  (void)control().Atualiza();
  EXPECT_EQ(control().Text(), u"1,5");
  (void)control().Atualiza();
  EXPECT_EQ(control().Text(), u"1");
}

TEST_F(FieldTest, CapitalisesLongText) {
  Tipo(5);
  std::u16string longText;
  for (int i = 0; i < 12000; ++i) longText += u"ab ";
  longText += u"fim";
  SetRaw(longText);
  (void)control().Atualiza();
  std::u16string expected;
  for (int i = 0; i < 12000; ++i) expected += u"Ab ";
  expected += u"Fim";
  EXPECT_EQ(control().Text(), expected) << "a text of more than 32769 characters is capitalised, not lost";
}

struct Document {
  uint8_t type;
  std::u16string invalid;
  std::u16string valid;
  std::u16string longMessage;
  std::u16string shortMessage;
};

class DocumentCheck : public FieldTest, public ::testing::WithParamInterface<Document> {};

TEST_P(DocumentCheck, MessagesAndFocus) {
  const Document& d = GetParam();
  Tipo(d.type);
  // valid: nothing shown, text kept exactly
  SetRaw(d.valid);
  control().TXO_LostFocus();
  EXPECT_TRUE(messageBoxes().empty());
  EXPECT_EQ(control().Text(), d.valid);
  // empty: accepted without a message
  SetRaw(u"");
  control().TXO_LostFocus();
  EXPECT_TRUE(messageBoxes().empty());
  // invalid with MSGcpf: the short message once, text stays, focus goes where it went
  SetRaw(d.invalid);
  form.Focus();
  form.Blur();
  ASSERT_EQ(messageBoxes().size(), 1u);
  EXPECT_EQ(messageBoxes()[0].prompt, d.shortMessage);
  EXPECT_EQ(messageBoxes()[0].style, 48);
  EXPECT_EQ(messageBoxes()[0].title, u"Delvorin");
  EXPECT_EQ(control().Text(), d.invalid);
  EXPECT_FALSE(form.FieldHasFocus());
  // TravaCpf: the long message even without MSGcpf, then the focus comes back
  ASSERT_TRUE(control().SetMSGcpf(kFalse).ok());
  ASSERT_TRUE(control().SetTravaCpf(kTrue).ok());
  form.Focus();
  form.Blur();
  ASSERT_EQ(messageBoxes().size(), 2u);
  EXPECT_EQ(messageBoxes()[1].prompt, d.longMessage);
  EXPECT_TRUE(form.FieldHasFocus());
  EXPECT_EQ(control().Text(), d.invalid);
  EXPECT_EQ(txo().SelLength(), static_cast<int32_t>(d.invalid.size())) << "focus entry selected the text";
  // neither: nothing, the invalid text stays
  ASSERT_TRUE(control().SetTravaCpf(kFalse).ok());
  form.Blur();
  EXPECT_EQ(messageBoxes().size(), 2u);
  EXPECT_EQ(control().Text(), d.invalid);
}

INSTANTIATE_TEST_SUITE_P(
    Types, DocumentCheck,
    ::testing::Values(Document{9, u"123.456.789-01", u"123.456.789-09", u"CPF Inválido. Redigite ( ou deixe em branco)",
                                u"CPF Inválido."},
                      Document{10, u"11.222.333/0001-82", u"11.222.333/0001-81",
                                u"CNPJ Inválido. Redigite ( ou deixe em branco)", u"CNPJ Inválido."},
                      Document{13, u"234.56789.01-3", u"234.56789.01.3", u"PIS  Inválido. Redigite ( ou deixe em branco)",
                                u"PIS Inválido."},
                      Document{14, u"1234.5678.1234.5678", u"1234.5678.1234.5670",
                                u"Cartão de Crédito Inválido. Redigite ( ou deixe em branco)",
                                u"Cartão de Crédito Inválido."}),
    [](const ::testing::TestParamInfo<Document>& i) { return CaseName(i.index, "Tipo" + std::to_string(i.param.type)); });

TEST_F(FieldTest, CardWithSpaceBecomesZeroWithoutMessage) {
  Tipo(14);
  SetRaw(u"1234 5678");
  control().TXO_LostFocus();
  EXPECT_EQ(control().Text(), u"0");
  EXPECT_TRUE(messageBoxes().empty());
}

TEST_F(FieldTest, AtualizaWithLockMovesFocusToField) {
  Tipo(9);
  ASSERT_TRUE(control().SetTravaCpf(kTrue).ok());
  SetRaw(u"111.111.111-12");
  ASSERT_FALSE(form.FieldHasFocus());
  (void)control().Atualiza();
  EXPECT_EQ(messageBoxes().size(), 1u);
  EXPECT_TRUE(form.FieldHasFocus());
}

TEST_F(FieldTest, RefusedFocusAfterMessageLeavesZero) {
  Tipo(9);
  ASSERT_TRUE(control().SetTravaCpf(kTrue).ok());
  SetRaw(u"111.111.111-12");
  txo().set_refuse_focus(true);
  (void)control().Atualiza();
  EXPECT_EQ(messageBoxes().size(), 1u);
  EXPECT_EQ(control().Text(), u"0");
}

TEST_F(FieldTest, ReentryThroughMessage) {
  Tipo(9);
  SetRaw(u"111.111.111-12");
  form.runtime().onMessageBox = [this](const headless::MessageBoxShown&) {
    // The host assigns a valid number while the box is open; the nested run is independent.
    ASSERT_TRUE(control().SetText(u"12345678909").ok());
    (void)control().Atualiza();
  };
  (void)control().Atualiza();
  EXPECT_EQ(messageBoxes().size(), 1u);
  EXPECT_EQ(control().Text(), u"123.456.789-09");
}

}  // namespace
}  // namespace delvorin
