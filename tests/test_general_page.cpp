// The Geral page on the headless surface and headless controls: creation, loading, the
// choice in each list, the options shown per type, leaving txtMaxLength, applying with its
// stop at the first failing write, and the changed flag.
#include <algorithm>
#include <map>
#include <set>

#include "headless/PageSurfaceHeadless.h"
#include "headless/PropertyAccessHeadless.h"
#include "input/Cp1252.h"
#include "pages/GeneralPage.h"
#include "pages/GeneralVisibility.h"
#include "tests/Helpers.h"
#include "format/Conversions.h"

namespace delvorin {
namespace {

using F = GeneralChild;
using Texts = std::vector<std::u16string>;

// The properties in the order the page loads and applies them.
const Texts kOrder = {u"Usar_Enter", u"TC_Trim",  u"Aspas",      u"usar_parenteses", u"PasswordChar", u"MSGcpf",
                       u"Digitos",    u"TravaCpf", u"Negativo",   u"Tipo",            u"Appearance",   u"Text",
                       u"MaxLength",  u"Locked",   u"Enabled",    u"BorderStyle",     u"Alignment",
                       u"CnpjAlfanumerico", u"UF", u"Mascara"};

// Some other object with the same property names: records the names read and written. A
// name it lacks is unknown, as to an automation object; the write of `refused` fails.
class AnyObject final : public PropertyAccess {
 public:
  AnyObject() {
    for (const std::u16string& n : kOrder) values[n] = Variant::I2(0);
    values[u"UF"] = Variant::Str(u"");
    values[u"Mascara"] = Variant::Str(u"");
  }
  bool HasSelection() const override { return true; }
  Result Read(std::u16string_view name, Variant& value) override {
    namesRead.emplace_back(name);
    auto v = values.find(std::u16string(name));
    if (v == values.end()) return Status(Status::kUnknownName);
    value = v->second;
    return {};
  }
  Result Write(std::u16string_view name, const Variant& value) override {
    if (!values.contains(std::u16string(name))) return Status(Status::kUnknownName);
    if (name == refused) return {Status::InvalidPropertyValue(), u"somente leitura"};
    written.emplace_back(name);
    values[std::u16string(name)] = value;
    return {};
  }
  std::map<std::u16string, Variant> values;
  Texts namesRead, written;
  std::u16string refused;
};

class GeneralPageTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(page.Create().ok()); }

  // Makes the control of type t, loads the page from it and forgets the notices so far.
  void Load(uint8_t t) {
    ASSERT_TRUE(form.control().SetTipo(t).ok());
    ASSERT_TRUE(page.Load().ok());
    form.host().ClearLog();
  }
  // What the user does: edits a text box, sets a check box, chooses in a list.
  void TypeInto(F f, std::u16string_view t) {
    ASSERT_TRUE(surface.SetText(IndexOf(f), t).ok());
    page.Change(f);
  }
  void SetCheck(F f, int16_t v) {
    ASSERT_TRUE(surface.SetValue(IndexOf(f), v).ok());
    ASSERT_TRUE(page.Click(f).ok());
  }
  void Choose(F list, int i) {
    ASSERT_TRUE(surface.SetSelectedIndex(IndexOf(list), i).ok());
    ASSERT_TRUE(page.Click(list).ok());
  }
  std::u16string Text(F f) { return surface.Text(IndexOf(f)); }
  Variant Value(Property p) { return Read(form.control(), p); }
  Texts Notices() {
    Texts notices;
    for (const std::u16string& l : form.host().log())
      if (l.rfind(u"notice: ", 0) == 0) notices.push_back(l.substr(8));
    return notices;
  }

  headless::Form form;
  headless::PropertyAccessHeadless access{{&form.control()}};
  headless::PageSurfaceHeadless surface{kGeneralPage};
  GeneralPage page{surface, access};
};

TEST_F(GeneralPageTest, CreationFillsListsAndQuotesTip) {
  Texts types = surface.Items(IndexOf(F::Combo1));
  ASSERT_EQ(types.size(), 27u);
  EXPECT_EQ(types.front(), u"0 - Moeda com Máscara");
  EXPECT_EQ(types[11], u"11 - Número extenso");
  EXPECT_EQ(types[14], u"14 - Cartão de Crédito");
  EXPECT_EQ(types[25], u"25 - Inscrição Estadual");
  EXPECT_EQ(types.back(), u"26 - Máscara");
  Texts states = surface.Items(IndexOf(F::CBuf));
  ASSERT_EQ(states.size(), 28u);
  EXPECT_EQ(states.front(), u"") << "no state";
  EXPECT_EQ(states[25], u"SP");
  EXPECT_EQ(std::set<std::u16string>(states.begin(), states.end()).size(), 28u);
  EXPECT_EQ(surface.Items(IndexOf(F::CBali)), (Texts{u"0 - Esquerda", u"1 - Direita", u"2 - Centro"}));
  EXPECT_EQ(surface.Items(IndexOf(F::CBborda)), (Texts{u"0 - Nenhuma", u"1 - Simples"}));
  EXPECT_EQ(surface.Items(IndexOf(F::CB3d)), (Texts{u"0 - Flat", u"1 - 3D"}));
  EXPECT_EQ(surface.Tooltip(IndexOf(F::chkAspas)), u"Troca aspas (')simples por (" + std::u16string(1, FromCp1252(180)) + u")");
  EXPECT_EQ(surface.SelectedIndex(IndexOf(F::Combo1)), -1);
  EXPECT_FALSE(surface.Changed());
  EXPECT_TRUE(form.host().log().empty());
}

TEST_F(GeneralPageTest, NewInstanceLoadsInPropertyOrder) {
  AnyObject stored;
  GeneralPage other(surface, stored);
  ASSERT_TRUE(other.Load().ok());
  EXPECT_EQ(stored.namesRead, kOrder);

  ASSERT_TRUE(page.Load().ok());
  Texts loaded;
  for (const GeneralBinding& v : kGeneralBindings)
    loaded.push_back(DescriptionOf(v.child).type == ChildKind::TextBox ? Text(v.child)
                                                                      : ToDisplayText(Variant::I2(surface.Value(IndexOf(v.child)))));
  EXPECT_EQ(loaded, (Texts{u"1", u"0", u"0", u"1", u"", u"1", u"2", u"0", u"0", u"4", u"1", u"", u"0", u"0", u"1",
                            u"1", u"0", u"1"}));
  EXPECT_EQ(surface.SelectedIndex(IndexOf(F::Combo1)), 4);
  EXPECT_EQ(surface.SelectedIndex(IndexOf(F::CBborda)), 1);
  EXPECT_TRUE(surface.Changed()) << "loading alters the page's controls";
  EXPECT_TRUE(Notices().empty()) << "loading writes nothing";
}

// The controls shown for every type.
const std::vector<F> kAlwaysShown = {F::lblTipo,      F::Combo1,      F::CBali,           F::CB3d,
                                     F::CBborda,      F::txtText,     F::lblMaxLength,    F::lblDigitos,
                                     F::lblPasswordChar, F::chkEnabled, F::chkUsar_Enter};

struct ShownOptions {
  uint8_t type;
  std::vector<F> shown;  // of the controls with a visibility rule, those shown for the type
};

const ShownOptions kShownOptions[] = {
    {9, {F::chkMSGcpf, F::chkTravaCpf}},
    {10, {F::chkMSGcpf, F::chkTravaCpf, F::chkCnpjAlfanumerico}},
    {13, {F::chkMSGcpf, F::chkTravaCpf}},
    {0, {F::chkUsarp, F::txtDigitos, F::chkNegativo, F::txtMaxLength}},
    {4, {F::chkAspas, F::chkTC_Trim, F::txtMaxLength, F::txtPasswordChar}},
    {11, {}},
    {15, {F::chkMSGcpf, F::chkTravaCpf, F::chkCnpjAlfanumerico}},
    {17, {F::chkMSGcpf, F::chkTravaCpf}},
    {25, {F::chkMSGcpf, F::chkTravaCpf, F::lblUF, F::CBuf}},
    {26, {F::chkMSGcpf, F::chkTravaCpf, F::lblMascara, F::txtMascara}},
};

class OptionsShownPerTipo : public GeneralPageTest, public ::testing::WithParamInterface<ShownOptions> {};

TEST_P(OptionsShownPerTipo, AfterLoading) {
  const uint8_t t = GetParam().type;
  const std::vector<F>& shown = GetParam().shown;
  Load(t);
  EXPECT_EQ(surface.SelectedIndex(IndexOf(F::Combo1)), t);
  for (const VisibilityRule& r : kVisibilityRules) {
    const bool expected = std::find(shown.begin(), shown.end(), r.child) != shown.end();
    EXPECT_EQ(surface.Visible(IndexOf(r.child)), expected) << int{t} << " " << Utf8(DescriptionOf(r.child).name);
  }
  for (F f : kAlwaysShown) EXPECT_TRUE(surface.Visible(IndexOf(f))) << int{t} << " " << Utf8(DescriptionOf(f).name);
}

INSTANTIATE_TEST_SUITE_P(Rows, OptionsShownPerTipo, ::testing::ValuesIn(kShownOptions),
                         [](const ::testing::TestParamInfo<ShownOptions>& i) {
                           return CaseName(i.index, "Tipo" + std::to_string(i.param.type));
                         });

TEST_F(GeneralPageTest, ChosenTipoReachesControlOnlyOnApply) {
  Load(4);
  surface.SetChanged(false);
  Choose(F::Combo1, 3);
  EXPECT_EQ(Text(F::txtTipo), u"3");
  EXPECT_TRUE(surface.Changed());
  EXPECT_TRUE(surface.Visible(IndexOf(F::chkNegativo)));
  EXPECT_EQ(form.control().Tipo(), 4);
  EXPECT_TRUE(form.host().log().empty());
  ASSERT_TRUE(page.Apply().ok());
  EXPECT_EQ(Notices(), kOrder);
  EXPECT_EQ(form.control().Tipo(), 3);
  EXPECT_FALSE(surface.Changed()) << "nothing is left to apply";
}

TEST_F(GeneralPageTest, EmptyDigitosStopsApplyAfterMSGcpf) {
  Load(0);
  SetCheck(F::chkUsar_Enter, 0);
  SetCheck(F::chkAspas, 1);
  TypeInto(F::txtPasswordChar, u"*");
  TypeInto(F::txtDigitos, u"");
  SetCheck(F::chkTravaCpf, 1);
  TypeInto(F::txtMaxLength, u"7");
  EXPECT_EQ(page.Apply().status.hresult(), Status::kTypeMismatch);
  ASSERT_EQ(surface.messageBoxes().size(), 1u);
  EXPECT_EQ(surface.messageBoxes()[0].prompt, StatusDescription(Status::TypeMismatch()));
  EXPECT_EQ(surface.messageBoxes()[0].style, 0) << "OK button only";
  EXPECT_EQ(surface.messageBoxes()[0].title, u"") << "no title of its own";
  EXPECT_EQ(Notices(), Texts(kOrder.begin(), kOrder.begin() + 6));
  EXPECT_EQ(Value(Property::Usar_Enter), Variant::Boolean(kFalse));
  EXPECT_EQ(Value(Property::Aspas), Variant::Boolean(kTrue));
  EXPECT_EQ(Value(Property::PasswordChar), Variant::Str(u"*"));
  EXPECT_EQ(Value(Property::TravaCpf), Variant::Boolean(kFalse));
  EXPECT_EQ(Value(Property::MaxLength), Variant::I4(0));
  EXPECT_TRUE(surface.Changed()) << "the edits not written are still pending";
}

struct ApplyFailure {
  F child;
  std::u16string text;
  int32_t error;
  std::u16string lastWritten;
};

const ApplyFailure kApplyFailures[] = {
    {F::txtDigitos, u"300", Status::kOverflow, u"MSGcpf"},
    {F::txtTipo, u"abc", Status::kTypeMismatch, u"Negativo"},
    {F::txtAppearance, u"2", Status::kInvalidPropertyValue, u"Tipo"},
    {F::txtMaxLength, u"abc", Status::kTypeMismatch, u"Text"},
    {F::txtBorderStyle, u"", Status::kTypeMismatch, u"Enabled"},
    {F::txtAlignment, u"3", Status::kInvalidPropertyValue, u"BorderStyle"},
    {F::txtPasswordChar, u"ab", Status::kInvalidPropertyValue, u"usar_parenteses"},
};

class FirstFailingWrite : public GeneralPageTest, public ::testing::WithParamInterface<ApplyFailure> {};

TEST_P(FirstFailingWrite, StopsApply) {
  const ApplyFailure& c = GetParam();
  Load(4);
  SetCheck(F::chkCnpjAlfanumerico, 0);
  TypeInto(c.child, c.text);
  Result r = page.Apply();
  EXPECT_EQ(r.status.hresult(), c.error) << Utf8(c.text);
  ASSERT_FALSE(surface.messageBoxes().empty());
  EXPECT_EQ(surface.messageBoxes().back().prompt, StatusDescription(Status(c.error)));
  ASSERT_FALSE(Notices().empty());
  EXPECT_EQ(Notices().back(), c.lastWritten) << Utf8(c.text);
  EXPECT_EQ(Value(Property::CnpjAlfanumerico), Variant::Boolean(kTrue)) << "written last, so not reached";
}

INSTANTIATE_TEST_SUITE_P(Rows, FirstFailingWrite, ::testing::ValuesIn(kApplyFailures),
                         [](const ::testing::TestParamInfo<ApplyFailure>& i) {
                           return CaseName(i.index, Utf8(DescriptionOf(i.param.child).name) + " " + Utf8(i.param.text));
                         });

// The property added since 1.0: loaded after Alignment, applied last, grayed applies False.
// The steps stay in one test on purpose: each load replaces the page's box over the last
// one, and each apply starts from the box and property the step before left.
TEST_F(GeneralPageTest, CnpjAlfanumericoLoadedAndAppliedLast) {
  const std::pair<int16_t, int16_t> loads[] = {{kTrue, 1}, {kFalse, 0}};
  for (const auto& [property, checked] : loads) {
    ASSERT_TRUE(form.control().SetCnpjAlfanumerico(property).ok());
    Load(10);
    EXPECT_EQ(surface.Value(IndexOf(F::chkCnpjAlfanumerico)), checked) << property;
    EXPECT_TRUE(surface.Visible(IndexOf(F::chkCnpjAlfanumerico)));
  }
  const std::pair<int16_t, int16_t> applies[] = {{1, kTrue}, {0, kFalse}, {2, kFalse}, {1, kTrue}};
  for (const auto& [checked, written] : applies) {
    SetCheck(F::chkCnpjAlfanumerico, checked);
    EXPECT_TRUE(surface.Changed());
    ASSERT_TRUE(page.Apply().ok()) << checked;
    EXPECT_EQ(Value(Property::CnpjAlfanumerico), Variant::Boolean(written)) << checked;
    EXPECT_EQ(Notices(), kOrder);
    form.host().ClearLog();
  }
}

// An object of the 1.0 names is still edited without the newer property; any other name
// missing, or a refused write of the newer one, fails as before.
TEST(GeneralPage, ObjectWithoutCnpjAlfanumerico) {
  AnyObject old;
  old.values.erase(u"CnpjAlfanumerico");
  old.values.erase(u"UF");
  old.values.erase(u"Mascara");
  old.values[u"Tipo"] = Variant::UI1(10);
  headless::PageSurfaceHeadless s(kGeneralPage);
  GeneralPage p(s, old);
  ASSERT_TRUE(p.Create().ok());
  ASSERT_TRUE(s.SetValue(IndexOf(F::chkCnpjAlfanumerico), 1).ok());
  ASSERT_TRUE(p.Load().ok());
  EXPECT_EQ(old.namesRead, kOrder) << "tried last";
  EXPECT_EQ(s.Value(IndexOf(F::chkCnpjAlfanumerico)), 2) << "grayed: nothing to show";
  EXPECT_FALSE(s.Enabled(IndexOf(F::CBuf)));
  EXPECT_FALSE(s.Enabled(IndexOf(F::txtMascara)));
  EXPECT_EQ(s.SelectedIndex(IndexOf(F::CBuf)), -1);
  ASSERT_TRUE(p.Apply().ok());
  EXPECT_EQ(old.written, Texts(kOrder.begin(), kOrder.end() - 3));
  EXPECT_FALSE(old.values.contains(u"CnpjAlfanumerico"));
  EXPECT_TRUE(s.messageBoxes().empty());

  AnyObject withoutDigitos;
  withoutDigitos.values.erase(u"Digitos");
  GeneralPage q(s, withoutDigitos);
  EXPECT_EQ(q.Load().status.hresult(), Status::kUnknownName);
  EXPECT_EQ(q.Apply().status.hresult(), Status::kUnknownName);
  EXPECT_EQ(withoutDigitos.written, Texts(kOrder.begin(), kOrder.begin() + 6)) << "stops at Digitos";

  AnyObject refusing;
  refusing.refused = u"CnpjAlfanumerico";
  GeneralPage r(s, refusing);
  ASSERT_TRUE(r.Load().ok());
  Result failure = r.Apply();
  EXPECT_EQ(failure.status.hresult(), Status::kInvalidPropertyValue);
  EXPECT_EQ(s.messageBoxes().back().prompt, u"somente leitura");
  EXPECT_EQ(refusing.written, Texts(kOrder.begin(), kOrder.end() - 3));
  EXPECT_TRUE(s.Enabled(IndexOf(F::CBuf)) && s.Enabled(IndexOf(F::txtMascara))) << "a newer object has them again";
}

struct MaxLengthLeft {
  std::u16string typed;
  std::u16string after;
};

const MaxLengthLeft kMaxLengthLeft[] = {
    {u"-5", u"0"},      {u" -3x", u"0"}, {u"-.5", u"0"}, {u"- 5", u"0"}, {u"-0", u"-0"},
    {u"-0,5", u"-0,5"}, {u"abc", u"abc"}, {u"12", u"12"}, {u"", u""}};

class LeavingMaxLength : public GeneralPageTest, public ::testing::WithParamInterface<MaxLengthLeft> {};

TEST_P(LeavingMaxLength, ReplacesNegativeWithZero) {
  const MaxLengthLeft& c = GetParam();
  Load(4);
  TypeInto(F::txtMaxLength, c.typed);
  surface.SetChanged(false);
  ASSERT_TRUE(page.LostFocus(F::txtMaxLength).ok());
  EXPECT_EQ(Text(F::txtMaxLength), c.after) << Utf8(c.typed);
  EXPECT_EQ(surface.Changed(), c.after != c.typed) << Utf8(c.typed);
}

INSTANTIATE_TEST_SUITE_P(Rows, LeavingMaxLength, ::testing::ValuesIn(kMaxLengthLeft),
                         [](const ::testing::TestParamInfo<MaxLengthLeft>& i) {
                           return CaseName(i.index, Utf8(i.param.typed));
                         });

TEST_F(GeneralPageTest, LeavingOtherTextBoxKeepsNegative) {
  Load(4);
  TypeInto(F::txtText, u"-5");
  ASSERT_TRUE(page.LostFocus(F::txtText).ok());
  EXPECT_EQ(Text(F::txtText), u"-5") << "only txtMaxLength is checked";
}

TEST_F(GeneralPageTest, SeveralSelectedOnlyFirstChanges) {
  headless::Form second;
  ASSERT_TRUE(second.control().SetTipo(0).ok());
  second.host().ClearLog();
  access.Select({&form.control(), &second.control()});
  Load(9);
  EXPECT_EQ(surface.SelectedIndex(IndexOf(F::Combo1)), 9) << "loaded from the first";
  TypeInto(F::txtText, u"12345678909");
  ASSERT_TRUE(page.Apply().ok());
  EXPECT_EQ(form.control().Text(), u"123.456.789-09");
  EXPECT_TRUE(second.host().log().empty());
  EXPECT_EQ(second.control().Text(), u"");
}

TEST_F(GeneralPageTest, Tipo11FailsOnWordsAndAppliesNewValue) {
  ASSERT_TRUE(form.control().SetTipo(11).ok());
  ASSERT_TRUE(form.control().SetText(u"2,50").ok());
  const std::u16string words = form.control().Text();
  Load(11);
  EXPECT_EQ(Text(F::txtText), words);
  EXPECT_EQ(page.Apply().status.hresult(), Status::kTypeMismatch);
  EXPECT_EQ(Notices(), Texts(kOrder.begin(), kOrder.begin() + 12)) << "stops at Text";
  EXPECT_EQ(form.control().Text(), words);

  TypeInto(F::txtText, u"3");
  Choose(F::CB3d, 1);
  Choose(F::CBborda, 1);
  ASSERT_TRUE(page.Apply().ok());
  EXPECT_NE(form.control().Text(), words);
  EXPECT_EQ(Value(Property::Appearance), Variant::I2(0)) << "flattened by the Text written after it";
  EXPECT_EQ(Value(Property::BorderStyle), Variant::I2(1)) << "written after Text";
}

struct PageAction {
  const char* name;
  void (*act)(GeneralPage&);
  bool changes;  // whether the page counts as changed afterwards
};

const PageAction kPageActions[] = {
    {"ClickEnabled", [](GeneralPage& p) { (void)p.Click(F::chkEnabled); }, true},
    {"ClickCnpjAlfanumerico", [](GeneralPage& p) { (void)p.Click(F::chkCnpjAlfanumerico); }, true},
    {"EditText", [](GeneralPage& p) { p.Change(F::txtText); }, true},
    {"ClickCB3dSameItem", [](GeneralPage& p) { (void)p.Click(F::CB3d); }, false},  // the same item again
    {"ClickLabel", [](GeneralPage& p) { (void)p.Click(F::lblText); }, false},
    {"EditLabel", [](GeneralPage& p) { p.Change(F::lblTipo); }, false},
    {"LeaveMaxLength", [](GeneralPage& p) { (void)p.LostFocus(F::txtMaxLength); }, false},
    {"LoadAgain", [](GeneralPage& p) { (void)p.Load(); }, false},  // nothing differs
};

class ChangedFlag : public GeneralPageTest, public ::testing::WithParamInterface<PageAction> {};

TEST_P(ChangedFlag, OnlyWithEdits) {
  Load(4);
  surface.SetChanged(false);
  GetParam().act(page);
  EXPECT_EQ(surface.Changed(), GetParam().changes) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Rows, ChangedFlag, ::testing::ValuesIn(kPageActions),
                         [](const ::testing::TestParamInfo<PageAction>& i) { return CaseName(i.index, i.param.name); });

TEST_F(GeneralPageTest, NoSelectedObjectFailsWithoutTouchingPage) {
  access.Select({});
  EXPECT_FALSE(page.Load().ok());
  EXPECT_EQ(Text(F::txtTipo), u"");
  EXPECT_FALSE(surface.Changed());
  Result r = page.Apply();
  EXPECT_FALSE(r.ok());
  ASSERT_EQ(surface.messageBoxes().size(), 1u);
  EXPECT_EQ(surface.messageBoxes()[0].prompt, r.description);
  EXPECT_FALSE(r.description.empty());
}

struct TypedText {
  uint8_t type;
  std::u16string text;
};

const TypedText kTypedTexts[] = {
    {0, u"-1234,5"}, {1, u"1234,5"}, {2, u"3,25"}, {3, u"0012"}, {4, u" a'b "}, {5, u"joão da silva"},
    {6, u"abc"}, {7, u"ABC"}, {8, u"12345678"}, {9, u"11144477735"}, {10, u"11222333000181"}, {12, u"abc"},
    {13, u"12345678901"}, {14, u"4111111111111111"}, {15, u"12ABC34501DE35"}, {17, u"31/12/1999"},
    {20, u"102385010671"}, {25, u"110042490114"}, {27, u"livre"}};

class ApplyWithoutEdits : public ::testing::TestWithParam<TypedText> {};

TEST_P(ApplyWithoutEdits, KeepsEveryProperty) {
  const uint8_t t = GetParam().type;
  headless::Form f;
  ASSERT_TRUE(f.control().SetTipo(t).ok());
  if (t == 25) {
    ASSERT_TRUE(f.control().SetUF(u"sp").ok());
  }
  ASSERT_TRUE(f.control().SetText(GetParam().text).ok());
  std::vector<Property> bound;
  for (const GeneralBinding& v : kGeneralBindings) bound.push_back(v.property);
  bound.push_back(Property::UF);
  std::vector<Variant> before;
  for (Property b : bound) before.push_back(Read(f.control(), b));
  headless::PropertyAccessHeadless a({&f.control()});
  headless::PageSurfaceHeadless s(kGeneralPage);
  GeneralPage p(s, a);
  ASSERT_TRUE(p.Create().ok());
  if (t >= kTipoLabels.size()) {
    EXPECT_EQ(p.Load().status.hresult(), Status::kInvalidPropertyValue) << "no item of the list stands for it";
    return;
  }
  ASSERT_TRUE(p.Load().ok()) << int{t};
  ASSERT_TRUE(p.Apply().ok()) << int{t};
  for (size_t i = 0; i < before.size(); ++i)
    EXPECT_EQ(Read(f.control(), bound[i]), before[i]) << int{t} << " " << Utf8(DescriptionOf(bound[i]).name);
}

INSTANTIATE_TEST_SUITE_P(Rows, ApplyWithoutEdits, ::testing::ValuesIn(kTypedTexts),
                         [](const ::testing::TestParamInfo<TypedText>& i) {
                           return CaseName(i.index, "Tipo" + std::to_string(i.param.type) + " " + Utf8(i.param.text));
                         });

struct ValueLoad {
  std::u16string property;
  Variant value;
  F child;
  int expected;  // check box value or list index
  int32_t error;
};

const ValueLoad kValueLoads[] = {
    {u"Aspas", Variant::Boolean(kTrue), F::chkAspas, 1, Status::kOk},
    {u"Aspas", Variant::I2(3), F::chkAspas, 1, Status::kOk},
    {u"Aspas", Variant::I2(2), F::chkAspas, 0, Status::kOk},
    {u"Aspas", Variant::Str(u"talvez"), F::chkAspas, 0, Status::kTypeMismatch},
    {u"Alignment", Variant::Str(u"2abc"), F::CBali, 2, Status::kOk},
    {u"Alignment", Variant::Str(u""), F::CBali, 0, Status::kOk},
    {u"Alignment", Variant::Str(u"1.5"), F::CBali, 2, Status::kOk},
    {u"Alignment", Variant::Str(u"-1"), F::CBali, -1, Status::kOk},
    {u"Alignment", Variant::I2(3), F::CBali, -1, Status::kInvalidPropertyValue},
    {u"Alignment", Variant::Str(u"1E400"), F::CBali, -1, Status::kOverflow},
    {u"Tipo", Variant::UI1(25), F::Combo1, 25, Status::kOk},
    {u"Tipo", Variant::UI1(26), F::Combo1, 26, Status::kOk},
    {u"Tipo", Variant::UI1(27), F::Combo1, -1, Status::kInvalidPropertyValue},
    {u"UF", Variant::Str(u"sp"), F::CBuf, 25, Status::kOk},
    {u"UF", Variant::Str(u""), F::CBuf, 0, Status::kOk},
    {u"UF", Variant::Str(u"XX"), F::CBuf, -1, Status::kInvalidPropertyValue},
    {u"UF", Variant::Null(), F::CBuf, -1, Status::kTypeMismatch},
    {u"Appearance", Variant::Object(nullptr), F::CB3d, -1, Status::kTypeMismatch},
};

class AnyObjectValue : public ::testing::TestWithParam<ValueLoad> {};

TEST_P(AnyObjectValue, LoadsAndAppliesConverting) {
  const ValueLoad& c = GetParam();
  AnyObject object;
  object.values[c.property] = c.value;
  headless::PageSurfaceHeadless s(kGeneralPage);
  GeneralPage p(s, object);
  ASSERT_TRUE(p.Create().ok());
  Result r = p.Load();
  EXPECT_EQ(r.status.hresult(), c.error) << Utf8(c.property) << " " << Utf8(ToDisplayText(c.value));
  if (!r.ok()) return;
  const int i = IndexOf(c.child);
  EXPECT_EQ(c.child == F::chkAspas ? s.Value(i) : s.SelectedIndex(i), c.expected) << Utf8(ToDisplayText(c.value));
  // A grayed box applies False; texts go as texts, for the object to convert.
  ASSERT_TRUE(s.SetValue(IndexOf(F::chkLocked), 2).ok());
  ASSERT_TRUE(p.Apply().ok());
  EXPECT_EQ(object.written, kOrder);
  EXPECT_EQ(object.values.at(u"Locked"), Variant::Boolean(kFalse));
  EXPECT_EQ(object.values.at(u"Tipo"), Variant::Str(s.Text(IndexOf(F::txtTipo))));
  if (c.child == F::CBuf) {
    EXPECT_EQ(object.values.at(u"UF"), Variant::Str(c.expected == 25 ? u"SP" : u""));
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, AnyObjectValue, ::testing::ValuesIn(kValueLoads),
                         [](const ::testing::TestParamInfo<ValueLoad>& i) {
                           return CaseName(i.index, Utf8(i.param.property) + " " + Utf8(ToDisplayText(i.param.value)));
                         });

TEST(HeadlessAccess, UnknownNameOrNothingSelected) {
  headless::Form f;
  headless::PropertyAccessHeadless a({&f.control()});
  Result r = a.Write(u"digitos", Variant::Str(u"1"));
  EXPECT_EQ(r.status.hresult(), Status::kUnknownName) << "names are exact";
  EXPECT_EQ(r.description, StatusDescription(Status(Status::kUnknownName)));
  headless::PropertyAccessHeadless nothingSelected;
  Variant v;
  EXPECT_FALSE(nothingSelected.Read(u"Tipo", v).ok());
  EXPECT_FALSE(nothingSelected.Write(u"Tipo", Variant::Str(u"1")).ok());
}

}  // namespace
}  // namespace delvorin
