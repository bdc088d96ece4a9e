// What a screen reader is told of the field: its description (kind, and the invalid state
// after leaving until the text changes), the events of each change, and names from labels.
#include <vector>

#include "control/Accessibility.h"
#include "tests/Helpers.h"

namespace delvorin {
namespace {

using Change = AccessibleChange;

struct DescriptionCase {
  const char* name;
  uint8_t tipo;
  const char16_t* typed;       // typed into the field, which is then left
  int16_t msgcpf;              // MSGcpf: the state is told without the message box too
  const char16_t* afterLeave;  // the description once the field was left
  std::vector<Change> events;  // what a screen reader was told, up to the leave
};

const DescriptionCase kDescriptions[] = {
    {"valid CPF", 9, u"12345678909", kTrue, u"CPF", {}},
    {"invalid CPF", 9, u"12345678900", kTrue, u"CPF, CPF Inválido.", {Change::Description}},
    {"invalid CPF without the message box", 9, u"12345678900", kFalse, u"CPF, CPF Inválido.", {Change::Description}},
    {"invalid CNPJ", 10, u"11222333000100", kFalse, u"CNPJ, CNPJ Inválido.", {Change::Description}},
    {"empty CPF", 9, u"", kFalse, u"CPF", {}},
    {"telephone", 16, u"11987654321", kFalse, u"Telefone", {}},
    {"date", 17, u"31122026", kFalse, u"Data (DD/MM/AAAA)", {}},
    {"incomplete mask", 26, u"1", kFalse, u"Máscara, Preenchimento Inválido.", {Change::Description}},
    {"amount", 0, u"12", kFalse, u"Moeda", {}},
    {"text", 4, u"abc", kFalse, u"Texto", {}},
};

class DescriptionTable : public FieldTest, public ::testing::WithParamInterface<DescriptionCase> {};

TEST_P(DescriptionTable, LeftThenChanged) {
  const DescriptionCase& c = GetParam();
  Tipo(c.tipo);
  if (c.tipo == tipo::Mascara) {
    ASSERT_TRUE(control().SetMascara(u"000").ok());
  }
  ASSERT_TRUE(control().SetMSGcpf(c.msgcpf).ok());
  form.Focus();
  form.Type(c.typed);
  form.Blur();
  EXPECT_EQ(Utf8(control().AccessibleDescription()), Utf8(c.afterLeave));
  EXPECT_EQ(host().accessibleChanges, c.events);
  // Any change of the text ends the invalid state, and says so once.
  host().accessibleChanges.clear();
  form.Focus();
  form.Type(u"2");
  EXPECT_EQ(Utf8(control().AccessibleDescription()), Utf8(DescriptionOfField(c.tipo, u"")));
  EXPECT_EQ(host().accessibleChanges.size(), c.events.size());
}

INSTANTIATE_TEST_SUITE_P(Types, DescriptionTable, ::testing::ValuesIn(kDescriptions),
                         [](const auto& info) { return CaseName(info.index, info.param.name); });

struct LabelCase {
  const char16_t* caption;
  const char16_t* name;
};

const LabelCase kLabels[] = {
    {u"CPF do cliente:", u"CPF do cliente:"},
    {u"&CPF do cliente:", u"CPF do cliente:"},
    {u"C&PF:", u"CPF:"},
    {u"Sal && Pimenta", u"Sal & Pimenta"},
    {u"  &Nome  ", u"Nome"},
    {u"Fim&", u"Fim"},
    {u"&", u""},
    {u"", u""},
};

TEST(NameOfLabel, CaptionWithoutAccessKeyMarker) {
  for (const LabelCase& c : kLabels) EXPECT_EQ(Utf8(NameOfLabel(c.caption)), Utf8(c.name)) << Utf8(c.caption);
}

// NomeAcessivel is a stored property; setting it tells the screen reader, and a load does not.
TEST_F(FieldTest, NomeAcessivelTellsTheNameChanged) {
  ASSERT_TRUE(control().Put(Property::NomeAcessivel, Variant::Str(u"CPF do cliente")).ok());
  EXPECT_EQ(Utf8(Read(control(), Property::NomeAcessivel).str()), "CPF do cliente");
  EXPECT_EQ(host().accessibleChanges, std::vector<Change>{Change::Name});
  EXPECT_EQ(Logged(u"notice: NomeAcessivel"), 1);
  EXPECT_EQ(Utf8(DescriptionOfField(200, u"")), "Texto");
}

TEST_F(FieldTest, PasswordCharHidesTheText) {
  EXPECT_FALSE(control().HidesText());
  ASSERT_TRUE(control().Put(Property::PasswordChar, Variant::Str(u"*")).ok());
  EXPECT_TRUE(control().HidesText());
}

}  // namespace
}  // namespace delvorin
