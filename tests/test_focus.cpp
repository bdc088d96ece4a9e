// Focus entry, Shift+Delete, the relay of notifications as events, and focus that reaches
// the control itself.
#include "tests/Helpers.h"

namespace delvorin {
namespace {

namespace vk = headless::vk;

struct Input {
  uint8_t type;
  std::u16string before;
  std::u16string after;
  int32_t maxLength;
};

class FieldEntry : public FieldTest, public ::testing::WithParamInterface<Input> {};

TEST_P(FieldEntry, ShowsPlainValueFullySelected) {
  const Input& e = GetParam();
  Tipo(e.type);
  SetRaw(e.before);
  ASSERT_TRUE(txo().SetTag(u"s").ok());
  host().ClearLog();
  form.Focus();
  EXPECT_EQ(control().Text(), e.after);
  EXPECT_EQ(txo().SelStart(), 0);
  EXPECT_EQ(txo().SelLength(), static_cast<int32_t>(e.after.size()));
  EXPECT_EQ(txo().Tag(), u"");
  EXPECT_EQ(Logged(u"event: Change"), e.before == e.after ? 0 : 1);
  Variant limit;
  ASSERT_TRUE(control().Get(Property::MaxLength, limit).ok());
  EXPECT_EQ(limit, Variant::I4(e.maxLength));
}

INSTANTIATE_TEST_SUITE_P(
    Types, FieldEntry,
    ::testing::Values(Input{0, u"R$ 1.234,50", u"1234,5", 0}, Input{0, u"1.234,50", u"1234,5", 0},
                      Input{0, u"(R$ 10,00)", u"-10", 0}, Input{0, u"-R$ 10,00", u"-10", 0},
                      Input{0, u"R$ 0,00", u"0", 0}, Input{1, u"1.234,5678", u"1234,5678", 0},
                      Input{1, u"1.235,", u"1235", 0}, Input{0, u"", u"0", 0}, Input{1, u"", u"0", 0},
                      Input{2, u"", u"0", 0}, Input{2, u"abc", u"0", 0}, Input{2, u"1.234,50", u"1234,5", 0},
                      Input{2, u"1,5E+20", u"1,5E+20", 0}, Input{0, u"1,2,3", u"0", 0},
                      Input{0, u"9999999999999999", u"0", 0}, Input{3, u"1.5", u"1.5", 0},
                      Input{4, u"  texto ", u"  texto ", 0}, Input{11, u"UM REAL", u"UM REAL", 0},
                      Input{12, u"abc", u"abc", 0}, Input{8, u"01310-100", u"01310-100", 9},
                      Input{9, u"123.456.789-01", u"123.456.789-01", 14},
                      Input{10, u"", u"", 18}, Input{13, u"1", u"1", 14}, Input{14, u"", u"", 19}),
    [](const ::testing::TestParamInfo<Input>& i) {
      return CaseName(i.index, "Tipo" + std::to_string(i.param.type) + " " + Utf8(i.param.before));
    });

TEST_F(FieldTest, DocumentLimitStaysAfterLeaving) {
  Tipo(9);
  SetRaw(u"123.456.789-01");
  ASSERT_TRUE(control().SetMSGcpf(kFalse).ok());
  form.Focus();
  form.Blur();
  Variant limit;
  ASSERT_TRUE(control().Get(Property::MaxLength, limit).ok());
  EXPECT_EQ(limit, Variant::I4(14));
}

TEST_F(FieldTest, ShiftDeleteCutsFromCaretToEnd) {
  SetRaw(u"12345");
  form.Focus();
  ASSERT_TRUE(txo().SetSelStart(2).ok());
  host().ClearLog();
  form.PressKey(vk::Delete, 1);
  EXPECT_EQ(control().Text(), u"12");
  EXPECT_EQ(txo().SelStart(), 2);
  EXPECT_EQ(host().log().front(), u"event: KeyDown 46 1");
  EXPECT_EQ(txo().clipboard(), u"") << "the key is consumed, nothing is cut to the clipboard";
}

TEST_F(FieldTest, ShiftDeleteCutsFromSelectionStart) {
  SetRaw(u"abcdef");
  form.Focus();
  ASSERT_TRUE(txo().SetSelStart(1).ok());
  ASSERT_TRUE(txo().SetSelLength(2).ok());
  form.PressKey(vk::Delete, 1);
  EXPECT_EQ(control().Text(), u"a");
}

TEST_F(FieldTest, HostZeroingKeyCodePreventsCut) {
  SetRaw(u"12345");
  form.Focus();
  ASSERT_TRUE(txo().SetSelStart(2).ok());
  host().onKeyDown = [](int16_t& k, int16_t&) { k = 0; };
  form.PressKey(vk::Delete, 1);
  EXPECT_EQ(control().Text(), u"12345");
}

TEST_F(FieldTest, HostChangingShiftDecidesCut) {
  SetRaw(u"12345");
  form.Focus();
  ASSERT_TRUE(txo().SetSelStart(2).ok());
  host().onKeyDown = [](int16_t&, int16_t& s) { s = 1; };
  form.PressKey(vk::Delete, 0);
  EXPECT_EQ(control().Text(), u"12");
}

TEST_F(FieldTest, CtrlShiftDeleteDoesNotCut) {
  SetRaw(u"12345");
  form.Focus();
  ASSERT_TRUE(txo().SetSelStart(2).ok());
  form.PressKey(vk::Delete, 3);
  EXPECT_EQ(control().Text(), u"12345");
  form.PressKey(vk::Delete, 0);
  EXPECT_EQ(control().Text(), u"1245") << "plain Delete removes the next character";
}

TEST_F(FieldTest, ShiftDeleteThatEmptiesClearsComma) {
  Tipo(0);
  form.Focus();
  form.Type(u"5,");
  ASSERT_EQ(txo().Tag(), u"s");
  form.PressKey(vk::Home);
  form.PressKey(vk::Delete, 1);
  EXPECT_EQ(control().Text(), u"");
  EXPECT_EQ(txo().Tag(), u"");
}

TEST_F(FieldTest, EmptyTextInTipoThreeLeavesMarkAlone) {
  Tipo(3);
  form.Focus();
  form.Type(u"5");
  ASSERT_TRUE(txo().SetTag(u"s").ok());
  form.Type(u"\b");
  EXPECT_EQ(txo().Tag(), u"s");
}

TEST_F(FieldTest, DisabledFieldPassesFocus) {
  ASSERT_TRUE(control().Put(Property::Enabled, Variant::Boolean(kFalse)).ok());
  form.Focus();
  EXPECT_FALSE(form.FieldHasFocus());
  EXPECT_EQ(form.runtime().sentKeys(), std::vector<std::u16string>{u"{tab}"});
  EXPECT_FALSE(form.runtime().HasQueuedKeys()) << "and processed";
}

TEST_F(FieldTest, UserControlGotFocusWhenEnabledDoesNothing) {
  control().UserControl_GotFocus();
  EXPECT_TRUE(form.runtime().sentKeys().empty());
}

TEST_F(FieldTest, MouseMoveForwardsValues) {
  form.txo().MoveMouse(1, 2, 10.5f, 20.25f);
  EXPECT_EQ(host().log(), std::vector<std::u16string>{u"event: MouseMove 1 2 10,5 20,25"});
}

TEST_F(FieldTest, OnlyTheFiveEventsInOrder) {
  std::vector<std::u16string> names;
  for (const EventDescription& e : kEvents) names.emplace_back(e.name);
  EXPECT_EQ(names, (std::vector<std::u16string>{u"MouseMove", u"Change", u"KeyDown", u"KeyPress", u"TeclaEnter"}));
  for (size_t i = 0; i < kEvents.size(); ++i) EXPECT_EQ(kEvents[i].dispid, static_cast<int32_t>(i + 1));
}

}  // namespace
}  // namespace delvorin
