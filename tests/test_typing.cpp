// Typing: the keystroke filter code by code, then whole sessions through the edit box, and
// the document layouts built by typing compared with the same value assigned.
#include "tests/Helpers.h"

namespace delvorin {
namespace {

namespace vk = headless::vk;

// One keystroke through the filter alone: the code in, the code left for the edit box, and
// the state around it.
struct Filter {
  uint8_t type;
  bool negative;
  std::u16string text;
  int32_t selStart, selLength;
  std::u16string tag;
  int16_t keyIn, keyOut;
  std::u16string tagAfter;
  std::u16string textAfter;
};

class KeystrokeCodes : public FieldTest, public ::testing::WithParamInterface<Filter> {};

TEST_P(KeystrokeCodes, DecidesEachCode) {
  const Filter& f = GetParam();
  Tipo(f.type);
  ASSERT_TRUE(control().SetNegativo(f.negative ? kTrue : kFalse).ok());
  SetRaw(f.text);
  ASSERT_TRUE(txo().SetSelStart(f.selStart).ok());
  ASSERT_TRUE(txo().SetSelLength(f.selLength).ok());
  ASSERT_TRUE(txo().SetTag(f.tag).ok());
  int16_t code = f.keyIn;
  control().TXO_KeyPress(code);
  EXPECT_EQ(code, f.keyOut);
  EXPECT_EQ(txo().Tag(), f.tagAfter);
  EXPECT_EQ(txo().Text(), f.textAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Types, KeystrokeCodes,
    ::testing::Values(
        // amounts and decimal numbers
        Filter{0, false, u"12", 2, 0, u"", '-', 0, u"", u"12"},
        Filter{0, false, u"12", 2, 0, u"", '.', ',', u"s", u"12"},
        Filter{0, false, u"12,", 3, 0, u"s", ',', 0, u"s", u"12,"},
        Filter{0, false, u"12,", 3, 0, u"s", 8, 8, u"", u"12,"},
        Filter{0, false, u"12,5", 1, 0, u"s", 8, 8, u"s", u"12,5"},  // only a trailing comma clears
        Filter{1, true, u"12", 0, 0, u"", '-', 0, u"", u"12"},
        Filter{1, true, u"12", 0, 2, u"", '-', '-', u"", u"12"},
        Filter{2, true, u"", 0, 0, u"", '-', '-', u"", u""},
        Filter{2, true, u"5", 1, 0, u"", '-', 0, u"", u"5"},
        Filter{2, false, u"5", 1, 0, u"", 'a', 0, u"", u"5"},
        Filter{2, false, u"5", 1, 0, u"", 3, 0, u"", u"5"},
        Filter{2, false, u"5", 1, 0, u"x", ',', ',', u"s", u"5"},  // only "s" counts as set
        // whole numbers
        Filter{3, true, u"1", 1, 0, u"", '-', '-', u"", u"1"},
        Filter{3, true, u"1", 1, 0, u"", ',', 0, u"", u"1"},
        Filter{3, true, u"1", 1, 0, u"", '.', 0, u"", u"1"},
        Filter{3, false, u"1", 1, 0, u"", '-', 0, u"", u"1"},
        Filter{3, false, u"1,", 2, 0, u"s", 8, 8, u"", u"1,"},
        // text types pass every code, control codes included
        Filter{4, false, u"", 0, 0, u"", 3, 3, u"", u""},
        Filter{5, false, u"", 0, 0, u"", 27, 27, u"", u""},
        Filter{12, false, u"", 0, 0, u"", 0xE7, 0xE7, u"", u""},
        Filter{4, false, u"", 0, 0, u"", '-', '-', u"", u""},
        // case mapping in Windows-1252
        Filter{6, false, u"", 0, 0, u"", 'a', 'A', u"", u""},
        Filter{6, false, u"", 0, 0, u"", 0xE7, 0xC7, u"", u""},  // ç
        Filter{6, false, u"", 0, 0, u"", 0xE3, 0xC3, u"", u""},  // ã
        Filter{6, false, u"", 0, 0, u"", 0x9A, 0x8A, u"", u""},  // š
        Filter{6, false, u"", 0, 0, u"", 0x9C, 0x8C, u"", u""},  // œ
        Filter{6, false, u"", 0, 0, u"", 0x9E, 0x8E, u"", u""},  // ž
        Filter{6, false, u"", 0, 0, u"", 0xFF, 0x9F, u"", u""},  // ÿ
        Filter{6, false, u"", 0, 0, u"", 0xDF, 0xDF, u"", u""},  // ß has no one-character form
        Filter{6, false, u"", 0, 0, u"", 0xB5, 0xB5, u"", u""},  // µ maps outside the code page
        Filter{6, false, u"", 0, 0, u"", '1', '1', u"", u""},
        Filter{7, false, u"", 0, 0, u"", 'A', 'a', u"", u""},
        Filter{7, false, u"", 0, 0, u"", 0xC7, 0xE7, u"", u""},
        Filter{7, false, u"", 0, 0, u"", 0x9F, 0xFF, u"", u""},
        Filter{7, false, u"", 0, 0, u"", 0x8A, 0x9A, u"", u""},
        // documents: digits only, separator appended before the digit
        Filter{9, false, u"123", 1, 0, u"", '4', '4', u"", u"123."},
        Filter{9, false, u"123", 1, 0, u"", 'a', 0, u"", u"123"},
        Filter{9, false, u"12", 2, 0, u"", '.', 0, u"", u"12"},
        Filter{10, false, u"12.345.678", 10, 0, u"", '0', '0', u"", u"12.345.678/"},
        Filter{8, false, u"12345", 2, 0, u"", '6', '6', u"", u"12345-"},
        Filter{14, false, u"1234.5678.9012", 14, 0, u"", '3', '3', u"", u"1234.5678.9012."},
        Filter{13, false, u"123.45678", 9, 0, u"", '9', '9', u"", u"123.45678."},
        // amount in words and unknown types take nothing but Backspace
        Filter{11, false, u"ab", 2, 0, u"", 'x', 0, u"", u"ab"},
        Filter{11, false, u"ab", 2, 0, u"", '5', 0, u"", u"ab"},
        Filter{11, false, u"ab", 2, 0, u"", 8, 8, u"", u"ab"},
        Filter{200, false, u"ab", 2, 0, u"", 'x', 0, u"", u"ab"}),
    [](const ::testing::TestParamInfo<Filter>& i) {
      return CaseName(i.index, "Tipo" + std::to_string(i.param.type) + " Code" + std::to_string(i.param.keyIn) + " " +
                                     Utf8(i.param.text));
    });

// A whole typing session: focus enters, the keys are typed (\b Backspace, \r Enter), and the
// text is read while the field still has the focus.
struct Session {
  uint8_t type;
  bool negative;
  std::u16string before;
  std::u16string keys;
  std::u16string during;
};

class Typing : public FieldTest, public ::testing::WithParamInterface<Session> {};

TEST_P(Typing, BuildsTheText) {
  const Session& s = GetParam();
  Tipo(s.type);
  ASSERT_TRUE(control().SetNegativo(s.negative ? kTrue : kFalse).ok());
  SetRaw(s.before);
  form.Focus();
  form.Type(s.keys);
  EXPECT_EQ(control().Text(), s.during);
}

INSTANTIATE_TEST_SUITE_P(
    Types, Typing,
    ::testing::Values(
        Session{0, false, u"", u"-12.5", u"12,5"}, Session{0, false, u"", u"1,2,3", u"1,23"},
        Session{0, false, u"", u"1,\b,5", u"1,5"}, Session{0, true, u"", u"-1", u"-1"},
        Session{0, true, u"", u"1-", u"1"}, Session{1, true, u"R$ 12,00", u"-3", u"-3"},
        Session{2, false, u"", u"3,5\b\b\b,1", u",1"}, Session{3, true, u"", u"1-2-", u"1-2-"},
        Session{3, true, u"", u"1,2.3", u"123"}, Session{6, false, u"", u"aç1", u"AÇ1"},
        Session{7, false, u"", u"AÇ1", u"aç1"}, Session{4, false, u"", u"a\x03z", u"az"},
        Session{9, false, u"", u"12345678901", u"123.456.789-01"},
        Session{9, false, u"", u"123456789012", u"123.456.789-01"},
        Session{10, false, u"", u"123456780001950", u"12.345.678/0001-95"},
        Session{8, false, u"", u"013101009", u"01310-100"},
        Session{13, false, u"", u"123456789012", u"123.45678.90.1"},
        Session{14, false, u"", u"12345678901234567", u"1234.5678.9012.3456"},
        Session{11, false, u"", u"a1-", u""}),
    [](const ::testing::TestParamInfo<Session>& i) {
      return CaseName(i.index, "Tipo" + std::to_string(i.param.type) + " " + Utf8(i.param.keys));
    });

TEST_F(FieldTest, SeparatorAlwaysAtEndWithCaretAtEnd) {
  Tipo(8);
  SetRaw(u"12345");
  form.Focus();
  ASSERT_TRUE(txo().SetSelStart(2).ok());
  form.Type(u"6");
  EXPECT_EQ(control().Text(), u"12345-6");
  EXPECT_EQ(txo().SelStart(), 7);
}

TEST_F(FieldTest, EachSeparatorGivesTwoChange) {
  Tipo(9);
  form.Focus();
  host().ClearLog();
  form.Type(u"1234");
  EXPECT_EQ(Logged(u"event: Change"), 5);
  EXPECT_EQ(host().log()[host().log().size() - 3], u"event: KeyPress 52");
}

TEST_F(FieldTest, HostZeroingKeyChangesNothing) {
  for (uint8_t t : {0, 2, 6, 9}) {
    headless::Form f;
    ASSERT_TRUE(f.control().SetTipo(t).ok());
    ASSERT_TRUE(f.txo().SetText(u"123").ok());
    f.Focus();
    ASSERT_TRUE(f.txo().SetSelStart(3).ok());
    f.host().onKeyPress = [](int16_t& k) { k = 0; };
    f.Type(u",4.");
    EXPECT_EQ(f.control().Text(), u"123") << int(t);
    EXPECT_EQ(f.txo().Tag(), u"") << int(t);
  }
}

TEST_F(FieldTest, HostSwappingToEnterGetsEnter) {
  Tipo(2);
  ASSERT_TRUE(control().SetUsar_Enter(kFalse).ok());
  form.Focus();
  host().onKeyPress = [](int16_t& k) {
    if (k == 'x') k = 13;
  };
  form.Type(u"x");
  EXPECT_EQ(control().Text(), u"0");
  EXPECT_EQ(Logged(u"event: TeclaEnter"), 1);
}

TEST_F(FieldTest, HostRewritingKeyFiltersNewCode) {
  Tipo(3);
  form.Focus();
  host().onKeyPress = [](int16_t& k) {
    if (k == 'a') k = '7';
  };
  form.Type(u"a1b");
  EXPECT_EQ(control().Text(), u"71");
}

TEST_F(FieldTest, EnterWithoutUsarEnterFillsZeroInNumerics) {
  Tipo(2);
  ASSERT_TRUE(control().SetUsar_Enter(kFalse).ok());
  form.Focus();
  form.Type(u"\b");  // focus entry wrote "0"; the user erases it
  ASSERT_EQ(control().Text(), u"");
  host().ClearLog();
  form.PressKey(vk::Return);
  EXPECT_EQ(control().Text(), u"0");
  EXPECT_EQ(host().log(), (std::vector<std::u16string>{u"event: KeyDown 13 0", u"event: KeyPress 13", u"event: Change",
                                                        u"event: TeclaEnter"}));
  EXPECT_TRUE(form.FieldHasFocus());
}

TEST_F(FieldTest, EnterWithoutUsarEnterInTextOnlyNotifies) {
  ASSERT_TRUE(control().SetUsar_Enter(kFalse).ok());
  form.Focus();
  host().ClearLog();
  form.PressKey(vk::Return);
  EXPECT_EQ(control().Text(), u"");
  EXPECT_EQ(Logged(u"event: TeclaEnter"), 1);
  EXPECT_EQ(Logged(u"event: Change"), 0);
}

TEST_F(FieldTest, EnterWithUsarEnterMovesToNextField) {
  Tipo(0);
  form.Focus();
  form.Type(u"1234.5");
  form.PressKey(vk::Return);
  EXPECT_FALSE(form.FieldHasFocus());
  EXPECT_EQ(Logged(u"event: TeclaEnter"), 0);
  EXPECT_EQ(control().Text(), u"R$ 1.234,50");
}

TEST_F(FieldTest, CommaDeletedWithDeleteStillCounted) {
  Tipo(2);
  form.Focus();
  form.Type(u"3,5");
  form.PressKey(vk::Home);
  form.PressKey(vk::Right);
  form.PressKey(vk::Delete);
  form.Type(u",");
  EXPECT_EQ(control().Text(), u"35");
  form.PressKey(vk::End);
  form.Type(u"\b\b,");
  EXPECT_EQ(control().Text(), u",") << "emptying the text clears the flag";
}

TEST_F(FieldTest, TipoLimitOnlyLimitsTyping) {
  Tipo(8);
  form.Focus();
  form.Type(u"12345678");
  ASSERT_EQ(control().Text(), u"12345-678");
  ASSERT_TRUE(control().SetText(u"123456789012").ok());
  EXPECT_EQ(control().Text(), u"12345-678");
  Tipo(4);
  ASSERT_TRUE(control().SetText(u"um texto maior que nove").ok());
  EXPECT_EQ(control().Text(), u"um texto maior que nove");
}

// Document layouts: typing the digits and assigning them give the same display.
struct Layout {
  uint8_t type;
  std::u16string digits;
  std::u16string shown;
};

class DocumentLayout : public FieldTest, public ::testing::WithParamInterface<Layout> {};

TEST_P(DocumentLayout, TypedAndAssignedMatch) {
  const Layout& l = GetParam();
  Tipo(l.type);
  ASSERT_TRUE(control().SetMSGcpf(kFalse).ok());
  form.Focus();
  form.Type(l.digits);
  EXPECT_EQ(control().Text(), l.shown) << "typed";
  form.Blur();
  EXPECT_EQ(control().Text(), l.shown) << "left";
  ASSERT_TRUE(control().SetText(l.digits).ok());
  EXPECT_EQ(control().Text(), l.shown) << "assigned";
  ASSERT_TRUE(control().SetText(control().Text()).ok());
  EXPECT_EQ(control().Text(), l.shown) << "assigned back";
}

INSTANTIATE_TEST_SUITE_P(Documents, DocumentLayout,
                         ::testing::Values(Layout{8, u"01310100", u"01310-100"}, Layout{8, u"0131", u"0131"},
                                           Layout{9, u"12345678909", u"123.456.789-09"},
                                           Layout{9, u"1234", u"123.4"},
                                           Layout{10, u"11222333000181", u"11.222.333/0001-81"},
                                           Layout{10, u"12345674", u"12.345.674"},
                                           Layout{13, u"23456789013", u"234.56789.01.3"},
                                           Layout{14, u"1234567812345670", u"1234.5678.1234.5670"},
                                           Layout{14, u"12345", u"1234.5"}),
                         [](const ::testing::TestParamInfo<Layout>& i) {
                           return CaseName(i.index, "Tipo" + std::to_string(i.param.type));
                         });

}  // namespace
}  // namespace delvorin
