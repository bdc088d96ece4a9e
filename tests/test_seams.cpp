// The editing rules used on their own, over an edit box and a runtime and without any control
// or container: each takes only the settings it reads and the edit box it works on.
#include <gtest/gtest.h>

#include <string>

#include "core/Settings.h"
#include "headless/ContainerHeadless.h"
#include "headless/EditBoxHeadless.h"
#include "input/FocusEntry.h"
#include "input/KeystrokeFilter.h"
#include "input/LeaveField.h"
#include "tests/Helpers.h"

namespace delvorin {
namespace {

struct FilterRow {
  const char* name;
  uint8_t type;
  int16_t negative, usarEnter, cnpjAlfanumerico;
  std::u16string before;  // text, caret at its end
  int16_t key;
  int16_t keyAfter;
  std::u16string textAfter;
  KeystrokeFilter::Outcome outcome;
};

using O = KeystrokeFilter::Outcome;
const FilterRow kFilterRows[] = {
    {"cpf digit at a separator", tipo::Cpf, 0, -1, -1, u"123", '4', '4', u"123.", O::Done},
    {"cpf letter refused", tipo::Cpf, 0, -1, -1, u"123", 'a', 0, u"123", O::Done},
    {"cnpj letter capitalised", tipo::Cnpj, 0, -1, -1, u"12", 'a', 'A', u"12.", O::Done},
    {"cnpj letter without the option", tipo::Cnpj, 0, -1, 0, u"12", 'a', 0, u"12", O::Done},
    {"amount point becomes comma", tipo::MoedaComMascara, 0, -1, -1, u"12", '.', ',', u"12", O::Done},
    {"minus refused without Negativo", tipo::Numero, 0, -1, -1, u"", '-', 0, u"", O::Done},
    {"minus taken with Negativo", tipo::Numero, -1, -1, -1, u"", '-', '-', u"", O::Done},
    {"enter with Usar_Enter moves on", tipo::Texto, 0, -1, -1, u"ab", 13, 0, u"ab", O::Done},
    {"enter without Usar_Enter fills zero", tipo::Numero, 0, 0, -1, u"", 13, 0, u"0", O::TeclaEnter},
    {"enter without Usar_Enter in text", tipo::Texto, 0, 0, -1, u"ab", 13, 0, u"ab", O::TeclaEnter},
    {"upper case type maps the letter", tipo::TextoMaiusculas, 0, -1, -1, u"", 0xE7, 0xC7, u"", O::Done},
    {"words take nothing", tipo::Extenso, 0, -1, -1, u"", '1', 0, u"", O::Done},
};

class FilterOnItsOwn : public ::testing::TestWithParam<FilterRow> {};

TEST_P(FilterOnItsOwn, DecidesFromItsSettingsAndTheBox) {
  const FilterRow& r = GetParam();
  Settings s;
  s.Tipo = r.type;
  s.Negativo = r.negative;
  s.Usar_Enter = r.usarEnter;
  s.CnpjAlfanumerico = r.cnpjAlfanumerico;
  headless::EditBoxHeadless box;
  headless::RuntimeHeadless runtime;
  ASSERT_TRUE(box.SetText(r.before).ok());
  ASSERT_TRUE(box.SetSelStart(static_cast<int32_t>(r.before.size())).ok());
  KeystrokeFilter filter(s, box, runtime);
  int16_t key = r.key;
  EXPECT_EQ(filter.KeyPress(key), r.outcome);
  EXPECT_EQ(key, r.keyAfter);
  EXPECT_EQ(Utf8(box.Text()), Utf8(r.textAfter));
  const bool tabSent = !runtime.sentKeys().empty() && runtime.sentKeys().back() == u"{tab}";
  EXPECT_EQ(tabSent, r.key == 13 && r.usarEnter != 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, FilterOnItsOwn, ::testing::ValuesIn(kFilterRows),
                         [](const auto& info) { return CaseName(info.index, info.param.name); });

// The filter reads the settings it was given when it runs, not a copy taken when it was made.
TEST(FilterOnItsOwn, FollowsSettingsChangedAfterConstruction) {
  Settings s;
  s.Tipo = tipo::Texto;
  headless::EditBoxHeadless box;
  headless::RuntimeHeadless runtime;
  KeystrokeFilter filter(s, box, runtime);
  int16_t key = 'x';
  (void)filter.KeyPress(key);
  EXPECT_EQ(key, 'x');
  s.Tipo = tipo::Cpf;
  key = 'x';
  (void)filter.KeyPress(key);
  EXPECT_EQ(key, 0);
}

TEST(LeaveFieldOnItsOwn, CheckUsesTheRuntimeAndTheBoxOnly) {
  Settings s;
  s.Tipo = tipo::Cpf;
  s.MSGcpf = -1;
  headless::EditBoxHeadless box;
  headless::RuntimeHeadless runtime;
  LeaveField leave(s, box, runtime);
  ASSERT_TRUE(box.SetText(u"111.444.777-36").ok());
  leave.FormataCampo(box.Text());
  ASSERT_EQ(runtime.messageBoxes().size(), 1u);
  EXPECT_EQ(Utf8(runtime.messageBoxes()[0].prompt), "CPF Inválido.");
  EXPECT_EQ(Utf8(box.Text()), "111.444.777-36") << "an invalid number stays for the user to fix";

  s.Tipo = tipo::MoedaComMascara;
  s.Digitos = 2;
  s.usar_parenteses = -1;
  leave.FormataCampo(u"-1234,5");
  EXPECT_EQ(Utf8(box.Text()), "(R$ 1.234,50)");
  leave.FormataCampo(u"abc");
  EXPECT_EQ(Utf8(box.Text()), "0") << "a text that is no amount leaves 0";
  EXPECT_EQ(runtime.messageBoxes().size(), 1u);
}

TEST(FocusEntryOnItsOwn, PlainValueSelectedAndDocumentLimit) {
  Settings s;
  s.Tipo = tipo::MoedaComMascara;
  headless::EditBoxHeadless box;
  FocusEntry entry(s, box);
  ASSERT_TRUE(box.SetText(u"R$ 1.234,50").ok());
  ASSERT_TRUE(box.SetTag(u"s").ok());
  entry.Enter();
  EXPECT_EQ(Utf8(box.Text()), "1234,5");
  EXPECT_EQ(box.SelStart(), 0);
  EXPECT_EQ(box.SelLength(), 6);
  EXPECT_EQ(Utf8(box.Tag()), "") << "the comma flag starts over with the value";

  s.Tipo = tipo::Cpf;
  entry.Enter();
  Variant limit;
  ASSERT_TRUE(box.GetProperty(Property::MaxLength, limit).ok());
  EXPECT_EQ(limit.i4(), 14);
}

}  // namespace
}  // namespace delvorin
