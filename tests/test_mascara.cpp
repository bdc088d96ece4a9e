// Type 26: a mask of the developer's, typed, pasted and written, then left, with what Valor
// and Valido say; the layouts of the built-in types rewritten as masks give their texts.
#include "format/Mascara.h"
#include "tests/Helpers.h"

namespace delvorin {
namespace {

struct MascaraRow {
  const char16_t* mask;
  Entry entry;
  const char16_t* input;  // typed: \b is Backspace
  const char16_t* shown;
  bool filled;            // Valido, and no warning on leaving
  const char16_t* valor;  // the characters of the slots
};

const MascaraRow kMascaraRows[] = {
    // The codes of a form: product, branch and account, NCM, CNAE.
    {u">LL-0000", Entry::Typed, u"ab1234", u"AB-1234", true, u"AB1234"},
    {u">LL-0000", Entry::Typed, u"a1", u"A", false, u"A"},
    {u">LL-0000", Entry::Typed, u"ab-12", u"AB-12", false, u"AB12"},  // the typed literal moves past it
    {u">LL-0000", Entry::Pasted, u"xy-9876", u"XY-9876", true, u"XY9876"},
    {u">LL-0000", Entry::Written, u"cd 5555 e", u"CD-5555", true, u"CD5555"},
    {u"0000-0 / 00000000-0", Entry::Typed, u"123451234567890", u"1234-5 / 12345678-9", true, u"12345123456789"},
    {u"0000-0 / 00000000-0", Entry::Pasted, u"1234-5 / 12345678-9", u"1234-5 / 12345678-9", true, u"12345123456789"},
    {u"0000\\.00\\.00", Entry::Written, u"84713012", u"8471.30.12", true, u"84713012"},
    {u"0000.00.00", Entry::Written, u"84713012", u"8471,30,12", true, u"84713012"},  // . is the decimal comma
    {u"0000-0/00", Entry::Pasted, u"6201-5/01", u"6201-5/01", true, u"6201501"},
    // Optional slots: passed over as spaces by a later literal or a character a later slot takes.
    {u"999-00", Entry::Typed, u"5-12", u"5  -12", true, u"5  12"},
    {u"999-00", Entry::Typed, u"12345", u"123-45", true, u"12345"},
    {u"?L0", Entry::Typed, u"1ab1", u"ab1", true, u"ab1"},  // L is required: the 1 gets nowhere
    {u"?L0", Entry::Typed, u"a1", u"a", false, u"a"},
    {u"##0", Entry::Typed, u"-7", u"-7", false, u"-7"},
    {u"##0", Entry::Typed, u"-71", u"-71", true, u"-71"},
    {u"a0", Entry::Typed, u"1", u"1", false, u"1"},
    // Case: < and > for the slots after them, | off again; & and C any character.
    {u"<&&|&>&", Entry::Typed, u"AbCd", u"abCD", true, u"abCD"},
    {u"&&&", Entry::Typed, u"a b", u"a b", true, u"a b"},
    {u"CCC", Entry::Typed, u"x", u"x", true, u"x"},
    // The separators of pt-BR, and the escape.
    {u"$ 999,990.00", Entry::Typed, u"1234,5", u"R$ 123.45", false, u"12345"},
    {u"$ 990.00", Entry::Typed, u"12345", u"R$ 123,45", true, u"12345"},
    {u"00:00", Entry::Typed, u"0930", u"09:30", true, u"0930"},
    {u"\\0\\L0", Entry::Typed, u"5", u"0L5", true, u"5"},
    // Backspace as typed, and a character deleted in the middle: laid out again.
    {u"00-00", Entry::Typed, u"123\b", u"12-", false, u"12"},
    {u"00-00", Entry::Typed, u"123\b\b4", u"12-4", false, u"124"},
    // A written text beyond the mask, or with nothing a slot takes.
    {u"00-00", Entry::Written, u"123456", u"12-34", true, u"1234"},
    {u"00-00", Entry::Written, u"abc", u"", true, u""},
};

std::string RowName(const ::testing::TestParamInfo<MascaraRow>& i) {
  static const char* kEntries[] = {"typed", "pasted", "written"};
  return CaseName(i.index, Utf8(i.param.mask) + " " + kEntries[static_cast<int>(i.param.entry)] + " " + Utf8(i.param.input));
}

class MascaraTable : public FieldTest, public ::testing::WithParamInterface<MascaraRow> {};

TEST_P(MascaraTable, ShowsChecksAndReadsTheValue) {
  const MascaraRow& r = GetParam();
  Tipo(tipo::Mascara);
  ASSERT_TRUE(control().SetMascara(r.mask).ok());
  Enter(r.entry, r.input);
  EXPECT_EQ(Utf8(control().Text()), Utf8(r.shown));
  EXPECT_EQ(Read(control(), Property::Valor), std::u16string_view(r.shown).empty() ? Variant() : Variant::Str(r.valor));
  EXPECT_EQ(Read(control(), Property::Valido), Variant::Boolean(r.filled || std::u16string_view(r.shown).empty()));
  form.Focus();
  form.Blur();
  EXPECT_EQ(Utf8(control().Text()), Utf8(r.shown)) << "leaving changes nothing";
  EXPECT_EQ(messageBoxes().size(), r.filled || std::u16string_view(r.shown).empty() ? 0u : 1u);
  // A complete value written back gives the same text.
  if (r.filled && !std::u16string_view(r.shown).empty()) {
    ASSERT_TRUE(control().Put(Property::Valor, Variant::Str(r.valor)).ok());
    EXPECT_EQ(Utf8(control().Text()), Utf8(r.shown));
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, MascaraTable, ::testing::ValuesIn(kMascaraRows), RowName);

// The layouts of the built-in types as masks: the same keys give the same text.
struct SameAsTypeRow {
  const char16_t* mask;
  uint8_t tipo;
  const char16_t* typed;
  bool sameLimit = true;  // the type has one layout, as long as the mask
};

const SameAsTypeRow kSameAsTypeRows[] = {
    {u"000\\.000\\.000-00", tipo::Cpf, u"12345678909"},
    {u"00\\.000\\.000/0000-00", tipo::Cnpj, u"11222333000181"},
    {u"00000-000", tipo::Cep, u"01310100"},
    {u"(00) 00000-0000", tipo::Telefone, u"11987654321"},
    {u"(00) 0000-0000", tipo::Telefone, u"1123456789", false},
    {u"00/00/0000", tipo::Data, u"25122024"},
    {u"00:00", tipo::Hora, u"2359"},
    {u">LLL-0A00", tipo::Placa, u"abc1d23"},
    {u"0000 0000 0000", tipo::TituloEleitor, u"102385010671"},
    {u"00000000000", tipo::Cnh, u"98765432109"},
    {u"0000000-00\\.0000\\.0\\.00\\.0000", tipo::ProcessoJudicial, u"00020802520125150049"},
    {u"00000\\.00000 00000\\.000000 00000\\.000000 0 00000000000000", tipo::Boleto,
     u"03399632906400000000600125201020456140000017832", false},
};

class MascaraSameAsType : public ::testing::TestWithParam<SameAsTypeRow> {};

TEST_P(MascaraSameAsType, TypedAndWritten) {
  const SameAsTypeRow& r = GetParam();
  headless::Form builtIn, masked;
  ASSERT_TRUE(builtIn.control().SetTipo(r.tipo).ok());
  ASSERT_TRUE(masked.control().SetTipo(tipo::Mascara).ok());
  ASSERT_TRUE(masked.control().SetMascara(r.mask).ok());
  for (headless::Form* f : {&builtIn, &masked}) {
    f->Focus();
    f->Type(r.typed);
  }
  EXPECT_EQ(Utf8(masked.control().Text()), Utf8(builtIn.control().Text()));
  if (r.sameLimit) {
    Variant builtInLimit, maskedLimit;
    ASSERT_TRUE(builtIn.txo().GetProperty(Property::MaxLength, builtInLimit).ok());
    ASSERT_TRUE(masked.txo().GetProperty(Property::MaxLength, maskedLimit).ok());
    EXPECT_EQ(maskedLimit, builtInLimit) << "the length limit";
  }
  ASSERT_TRUE(builtIn.control().SetText(r.typed).ok());
  ASSERT_TRUE(masked.control().SetText(r.typed).ok());
  EXPECT_EQ(Utf8(masked.control().Text()), Utf8(builtIn.control().Text()));
}

INSTANTIATE_TEST_SUITE_P(Rows, MascaraSameAsType, ::testing::ValuesIn(kSameAsTypeRows),
                         [](const ::testing::TestParamInfo<SameAsTypeRow>& i) { return CaseName(i.index, Utf8(i.param.mask)); });

TEST_F(FieldTest, MascaraThatCannotBeReadKeepsTheOld) {
  Tipo(tipo::Mascara);
  ASSERT_TRUE(control().SetMascara(u"00-00").ok());
  EXPECT_EQ(control().SetMascara(u"00\\").hresult(), Status::kInvalidPropertyValue);
  EXPECT_EQ(Utf8(control().Mascara()), "00-00");
  // Without a mask, any character, as type 4.
  ASSERT_TRUE(control().SetMascara(u"").ok());
  form.Focus();
  form.Type(u"x-1 é!");
  EXPECT_EQ(Utf8(control().Text()), "x-1 é!");
  EXPECT_EQ(Read(control(), Property::Valido), Variant::Boolean(kTrue));
}

}  // namespace
}  // namespace delvorin
