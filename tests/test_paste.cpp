// Pasting: the clipboard's text enters through the field's rules, one character at a time,
// by every route the edit box offers (Ctrl+V, Shift+Insert); where typing the same
// characters is meaningful, the typed field must end the same.
#include "input/PastedText.h"
#include "tests/Helpers.h"

namespace delvorin {
namespace {

namespace vk = headless::vk;

enum class Route { CtrlV, ShiftInsert };

struct PasteCase {
  const char* name;
  uint8_t type;
  bool negative;
  std::u16string before;  // the field's text before, whole text selected by focus entry
  std::u16string pasted;
  std::u16string after;
  std::u16string typed;  // the same result by typing these characters; empty: not compared
};

class PasteTable : public FieldTest, public ::testing::WithParamInterface<std::tuple<PasteCase, Route>> {
 protected:
  void Prepare(const PasteCase& c) {
    Tipo(c.type);
    ASSERT_TRUE(control().SetNegativo(c.negative ? kTrue : kFalse).ok());
    SetRaw(c.before);
    form.Focus();
  }
};

TEST_P(PasteTable, ThroughTheField) {
  const auto& [c, route] = GetParam();
  Prepare(c);
  host().ClearLog();
  if (route == Route::CtrlV) {
    form.Paste(c.pasted);
  } else {
    txo().set_clipboard(c.pasted);
    form.PressKey(vk::Insert, headless::kShiftMask);
  }
  EXPECT_EQ(txo().Text(), c.after);
  EXPECT_EQ(txo().clipboard(), c.pasted) << "pasting leaves the clipboard as it was";
  if (!c.typed.empty()) {
    headless::Form other;
    ASSERT_TRUE(other.control().SetTipo(c.type).ok());
    ASSERT_TRUE(other.control().SetNegativo(c.negative ? kTrue : kFalse).ok());
    ASSERT_TRUE(other.txo().SetText(c.before).ok());
    other.Focus();
    other.Type(c.typed);
    EXPECT_EQ(other.txo().Text(), c.after) << "typed";
  }
}

const PasteCase kCases[] = {
    {"CpfFormatted", 9, false, u"", u"123.456.789-09", u"123.456.789-09", u"12345678909"},
    {"CpfDigitsOnly", 9, false, u"", u"12345678909", u"123.456.789-09", u"12345678909"},
    {"CpfWithSpaces", 9, false, u"", u" 123 456 789 09 ", u"123.456.789-09", u""},
    {"CpfWithBreakAndUnicodePunctuation", 9, false, u"", u"123\u2013456\u00a0789\u2022" u"09\r\n", u"123.456.789-09", u""},
    {"CpfTooLongCutAtLimit", 9, false, u"", u"123.456.789-0912345", u"123.456.789-09", u"1234567890912345"},
    {"CpfReplacesSelection", 9, false, u"111.111.111-11", u"12345678909", u"123.456.789-09", u"12345678909"},
    {"CpfLettersRefused", 9, false, u"", u"abc", u"", u"abc"},
    {"CepWithHyphen", 8, false, u"", u"01310-100", u"01310-100", u"01310100"},
    {"PisWithDots", 13, false, u"", u"123.45678.90-1", u"123.45678.90.1", u"12345678901"},
    {"CartaoWithSpaces", 14, false, u"", u"1234 5678 1234 5670", u"1234.5678.1234.5670", u"1234567812345670"},
    {"CnpjAlfanumerico", 10, false, u"", u"12.abc.345/01de-35", u"12.ABC.345/01DE-35", u"12abc34501de35"},
    {"MoedaWithSymbol", 0, false, u"", u"R$ 1.234,56", u"1234,56", u"1234,56"},
    {"MoedaWithoutSymbol", 1, false, u"", u"1.234,56", u"1234,56", u"1234,56"},
    {"NegativeMoedaAllowed", 0, true, u"", u"-1.234,56", u"-1234,56", u"-1234,56"},
    {"MoedaInParentheses", 1, true, u"", u"(R$ 1.234,56)", u"-1234,56", u""},
    {"NegativeMoedaNotAllowed", 0, false, u"", u"-1.234,56", u"1234,56", u""},
    {"MoedaWithLineBreak", 0, false, u"", u"1.234,5\r\n", u"1234,5", u""},
    {"UnreadableMoedaGoesThroughFilter", 0, false, u"", u"12abc3", u"123", u"12abc3"},
    {"DecimalWithThousands", 2, false, u"", u"1.234,5", u"1234,5", u"1234,5"},
    {"UnreadableDecimal", 2, false, u"", u"3,14 abc", u"3,14", u"3,14 abc"},
    {"WholeNumberWithDot", 3, false, u"", u"1.234", u"1234", u"1.234"},
    {"WholeNumberWithLetter", 3, false, u"", u"12a3", u"123", u"12a3"},
    {"NegativeWholeNumber", 3, true, u"", u"-5", u"-5", u"-5"},
    {"NegativeWholeNumberNotAllowed", 3, false, u"", u"-5", u"5", u"-5"},
    {"PlainText", 4, false, u"", u"abc", u"abc", u"abc"},
    {"TextBreaksAndTabs", 4, false, u"", u"a\r\nb\rc\nd\te", u"a b c d e", u"a b c d e"},
    {"UpperCaseText", 6, false, u"", u"ação", u"AÇÃO", u"ação"},
    {"LowerCaseText", 7, false, u"", u"AÇÃO", u"ação", u"AÇÃO"},
    {"InitialsTextNotFormattedOnPaste", 5, false, u"", u"joão da silva", u"joão da silva", u"joão da silva"},
    {"FirstLetterText", 12, false, u"", u"x\ny", u"x y", u""},
    {"ExtensoTakesNothing", 11, false, u"", u"123", u"", u""},
    {"UnknownTipoTakesNothing", 27, false, u"", u"123", u"", u"123"},
};

INSTANTIATE_TEST_SUITE_P(
    Types, PasteTable, ::testing::Combine(::testing::ValuesIn(kCases), ::testing::Values(Route::CtrlV, Route::ShiftInsert)),
    [](const ::testing::TestParamInfo<std::tuple<PasteCase, Route>>& i) {
      return std::string(std::get<0>(i.param).name) + (std::get<1>(i.param) == Route::CtrlV ? "_CtrlV" : "_ShiftInsert");
    });

TEST_F(FieldTest, PasteAtCaretAndOverSelection) {
  Tipo(tipo::Cpf);
  form.Focus();
  form.Type(u"1234");
  form.Paste(u"56789");
  EXPECT_EQ(txo().Text(), u"123.456.789");
  Tipo(tipo::Texto);
  SetRaw(u"hello world");
  ASSERT_TRUE(txo().SetSelStart(6).ok());
  ASSERT_TRUE(txo().SetSelLength(5).ok());
  form.Paste(u"there");
  EXPECT_EQ(txo().Text(), u"hello there");
  EXPECT_EQ(txo().SelStart(), 11);
}

TEST_F(FieldTest, PasteRaisesKeyPressAndChangePerCharacter) {
  Tipo(tipo::Cpf);
  form.Focus();
  host().ClearLog();
  form.Paste(u"123.4");
  // Four characters reach KeyPress (the dot is a separator); the fourth adds "." first.
  EXPECT_EQ(Logged(u"event: KeyPress 49"), 1);
  EXPECT_EQ(host().Count(u"event: KeyPress 46"), 0);
  EXPECT_EQ(Logged(u"event: Change"), 5);
  EXPECT_EQ(Logged(u"event: KeyDown 86 2"), 1);
  EXPECT_EQ(txo().Text(), u"123.4");
}

TEST_F(FieldTest, PasteHostChangesOrRefusesCharacters) {
  Tipo(tipo::Texto);
  host().onKeyPress = [](int16_t& k) {
    if (k == 'b') k = 0;
    if (k == 'c') k = 'C';
    if (k == 'x') k = 8;  // a control code inserts nothing
  };
  form.Focus();
  form.Paste(u"abcxd");
  EXPECT_EQ(txo().Text(), u"aCd");
}

TEST_F(FieldTest, PasteRespectsLimitLockAndEmptyArea) {
  Tipo(tipo::Texto);
  ASSERT_TRUE(control().Put(Property::MaxLength, Variant::I4(5)).ok());
  form.Focus();
  form.Paste(u"abcdefgh");
  EXPECT_EQ(txo().Text(), u"abcde");
  ASSERT_TRUE(control().Put(Property::Locked, Variant::Boolean(kTrue)).ok());
  SetRaw(u"");
  host().ClearLog();
  form.Paste(u"xyz");
  EXPECT_EQ(txo().Text(), u"");
  EXPECT_EQ(Logged(u"event: KeyPress 120"), 0) << "a locked box pastes nothing";
  ASSERT_TRUE(control().Put(Property::Locked, Variant::Boolean(kFalse)).ok());
  form.Paste(u"");
  EXPECT_EQ(txo().Text(), u"");
}

TEST_F(FieldTest, CopyAndCutDoNotChange) {
  Tipo(tipo::Cpf);
  ASSERT_TRUE(control().SetText(u"12345678909").ok());
  form.Focus();  // everything selected
  form.Type(u"\x03\x18");  // Ctrl+C and Ctrl+X stay refused by the CPF filter
  EXPECT_EQ(txo().clipboard(), u"");
  EXPECT_EQ(txo().Text(), u"123.456.789-09");
  Tipo(tipo::Texto);
  form.Type(u"\x03");
  EXPECT_EQ(txo().clipboard(), u"123.456.789-09");
  form.Type(u"\x18");
  EXPECT_EQ(txo().Text(), u"");
  form.PressKey(vk::Insert, headless::kShiftMask);
  EXPECT_EQ(txo().Text(), u"123.456.789-09");
}

TEST_F(FieldTest, PasteWithHostRewritingText) {
  Tipo(tipo::Cpf);
  int calls = 0;
  host().onKeyPress = [&](int16_t&) {
    if (++calls == 3) (void)control().SetText(u"999");
  };
  form.Focus();
  form.Paste(u"12345678909");
  EXPECT_EQ(calls, 11);
  EXPECT_EQ(txo().Text().substr(0, 3), u"999");
  EXPECT_LE(txo().Text().size(), 14u);
}

TEST(PastedText, CommasAndBreaks) {
  EXPECT_EQ(PastedCharacters(tipo::MoedaComMascara, u"R$ 0,5"), u"0,5");
  EXPECT_EQ(PastedCharacters(tipo::NumeroDuplo, u"1,5E+20"), u"1,5E+20");
  EXPECT_EQ(PastedCharacters(tipo::Texto, u"\r\n\r\n"), u"  ");
  EXPECT_EQ(PastedCharacters(tipo::Numero, u"1\r\n2"), u"12");
  EXPECT_EQ(PastedCharacters(tipo::Cpf, u"\U0001F600" u"1"), u"\U0001F600" u"1") << "non-punctuation goes to the filter";
}

}  // namespace
}  // namespace delvorin
