// The fields of a registration form (types 15 to 25): each row types, pastes or writes a value,
// then leaves the field, through the headless form, and checks what the field shows, the
// warning it gives and what Valido and Valor say.
#include <vector>

#include "tests/Helpers.h"

namespace delvorin {
namespace {

struct FieldRow {
  uint8_t tipo;
  Entry entry;
  const char16_t* input;
  const char16_t* shown;       // after the entry
  const char16_t* left;        // after the field is left (nullptr: as shown)
  const char16_t* warning;     // the short warning on leaving, or nullptr
  const char16_t* uf = u"";    // type 25
  bool cnpjAlfanumerico = true;
};

const FieldRow kFieldRows[] = {
    // CPF ou CNPJ: the CPF layout up to 11 characters, the CNPJ one from the 12th or a letter.
    {15, Entry::Typed, u"12345678909", u"123.456.789-09", nullptr, nullptr},
    {15, Entry::Typed, u"11222333000181", u"11.222.333/0001-81", nullptr, nullptr},
    {15, Entry::Typed, u"12abc34501de35", u"12.ABC.345/01DE-35", nullptr, nullptr},
    {15, Entry::Typed, u"12abc", u"12", nullptr, u"CPF/CNPJ Inválido.", u"", false},
    {15, Entry::Typed, u"123456789012", u"12.345.678/9012", nullptr, u"CPF/CNPJ Inválido."},
    {15, Entry::Typed, u"12345678901\b", u"123.456.789-0", nullptr, u"CPF/CNPJ Inválido."},
    {15, Entry::Typed, u"123456789012\b", u"123.456.789-01", nullptr, u"CPF/CNPJ Inválido."},
    {15, Entry::Pasted, u" 11.222.333/0001-81 ", u"11.222.333/0001-81", nullptr, nullptr},
    {15, Entry::Written, u"123.456.789-09", u"123.456.789-09", nullptr, nullptr},
    {15, Entry::Written, u"11222333000181", u"11.222.333/0001-81", nullptr, nullptr},
    // Telefone: fixed, mobile and non-geographic numbers; the country code of a paste dropped.
    {16, Entry::Typed, u"1123456789", u"(11) 2345-6789", nullptr, nullptr},
    {16, Entry::Typed, u"11987654321", u"(11) 98765-4321", nullptr, nullptr},
    {16, Entry::Typed, u"08001234567", u"0800 123 4567", nullptr, nullptr},
    {16, Entry::Typed, u"1012345678", u"(10) 1234-5678", nullptr, u"Telefone Inválido."},
    {16, Entry::Typed, u"(11) abc 2345", u"(11) 2345", nullptr, u"Telefone Inválido."},
    {16, Entry::Pasted, u"+55 (11) 98765-4321", u"(11) 98765-4321", nullptr, nullptr},
    {16, Entry::Pasted, u"5511987654321", u"(11) 98765-4321", nullptr, nullptr},
    {16, Entry::Written, u"+55 11 2345-6789", u"(11) 2345-6789", nullptr, nullptr},
    // Data: separators pad a part of one digit; a two-digit year gets its century on leaving.
    {17, Entry::Typed, u"25122024", u"25/12/2024", nullptr, nullptr},
    {17, Entry::Typed, u"1/2/2024", u"01/02/2024", nullptr, nullptr},
    {17, Entry::Typed, u"12/", u"12/", u"12/", u"Data Inválida."},
    {17, Entry::Typed, u"31022024", u"31/02/2024", nullptr, u"Data Inválida."},
    {17, Entry::Typed, u"29021900", u"29/02/1900", nullptr, u"Data Inválida."},
    {17, Entry::Typed, u"29022000", u"29/02/2000", nullptr, nullptr},
    {17, Entry::Typed, u"010224", u"01/02/24", u"01/02/2024", nullptr},
    {17, Entry::Typed, u"010230", u"01/02/30", u"01/02/1930", nullptr},
    {17, Entry::Typed, u"01011752", u"01/01/1752", nullptr, u"Data Inválida."},
    {17, Entry::Pasted, u"7.3.2025", u"07/03/2025", nullptr, nullptr},
    {17, Entry::Written, u"1-2-2024", u"01/02/2024", nullptr, nullptr},
    {17, Entry::Written, u"010224", u"01/02/2024", nullptr, nullptr},
    // Hora.
    {18, Entry::Typed, u"0930", u"09:30", nullptr, nullptr},
    {18, Entry::Typed, u"9:30", u"09:30", nullptr, nullptr},
    {18, Entry::Typed, u"2359", u"23:59", nullptr, nullptr},
    {18, Entry::Typed, u"2400", u"24:00", nullptr, u"Hora Inválida."},
    {18, Entry::Written, u"7:05", u"07:05", nullptr, nullptr},
    // Placa: letters in capitals, old and Mercosul plates.
    {19, Entry::Typed, u"abc1d23", u"ABC-1D23", nullptr, nullptr},
    {19, Entry::Typed, u"abc1234", u"ABC-1234", nullptr, nullptr},
    {19, Entry::Typed, u"1ab2c", u"ABC", nullptr, u"Placa Inválida."},
    {19, Entry::Pasted, u"abc-1d23", u"ABC-1D23", nullptr, nullptr},
    // Título de Eleitor, CNH, RENAVAM, Boleto, Processo.
    {20, Entry::Typed, u"102385010671", u"1023 8501 0671", nullptr, nullptr},
    {20, Entry::Typed, u"102385010672", u"1023 8501 0672", nullptr, u"Título de Eleitor Inválido."},
    {21, Entry::Typed, u"98765432109", u"98765432109", nullptr, nullptr},
    {21, Entry::Typed, u"98765432100", u"98765432100", nullptr, u"CNH Inválida."},
    {22, Entry::Typed, u"19525197703", u"19525197703", nullptr, nullptr},
    {22, Entry::Typed, u"871323184", u"871323184", nullptr, nullptr},
    {22, Entry::Typed, u"19525197704", u"19525197704", nullptr, u"RENAVAM Inválido."},
    {23, Entry::Pasted, u"03399.63290 64000.000006 00125.201020 4 56140000017832",
     u"03399.63290 64000.000006 00125.201020 4 56140000017832", nullptr, nullptr},
    {23, Entry::Typed, u"836400000011331201380002812884627116080136181551",
     u"83640000001-1 33120138000-2 81288462711-6 08013618155-1", nullptr, nullptr},
    {23, Entry::Typed, u"03394561400000178329632964000000000012520102", u"03394.56140 00001.783296 32964.000000 0 00012520102",
     u"03399.63290 64000.000006 00125.201020 4 56140000017832", nullptr},
    {23, Entry::Typed, u"03399632906400000000600125201020456140000017833",
     u"03399.63290 64000.000006 00125.201020 4 56140000017833", nullptr, u"Boleto Inválido."},
    {23, Entry::Written, u"03394561400000178329632964000000000012520102",
     u"03399.63290 64000.000006 00125.201020 4 56140000017832", nullptr, nullptr},
    {24, Entry::Typed, u"00020802520125150049", u"0002080-25.2012.5.15.0049", nullptr, nullptr},
    {24, Entry::Typed, u"00020802520125150048", u"0002080-25.2012.5.15.0048", nullptr, u"Processo Inválido."},
    // Inscrição Estadual: the state's layout, digits only without one, ISENTO in any.
    {25, Entry::Typed, u"110042490114", u"110.042.490.114", nullptr, nullptr, u"SP"},
    {25, Entry::Typed, u"110042490115", u"110.042.490.115", nullptr, u"Inscrição Estadual Inválida.", u"SP"},
    {25, Entry::Typed, u"110042490114", u"110042490114", nullptr, nullptr},
    {25, Entry::Typed, u"isento", u"ISENTO", nullptr, nullptr, u"MG"},
    {25, Entry::Typed, u"isx1", u"IS", nullptr, u"Inscrição Estadual Inválida.", u"MG"},
    {25, Entry::Written, u"Isento", u"ISENTO", nullptr, nullptr, u"RJ"},
    // An empty field is accepted without a check.
    {16, Entry::Typed, u"", u"", nullptr, nullptr},
};

std::string RowName(const ::testing::TestParamInfo<FieldRow>& i) {
  static const char* kEntries[] = {"typed", "pasted", "written"};
  return CaseName(i.index, "Tipo" + std::to_string(i.param.tipo) + " " + kEntries[static_cast<int>(i.param.entry)] + " " +
                               Utf8(i.param.input));
}

class RegistrationFieldTable : public FieldTest, public ::testing::WithParamInterface<FieldRow> {};

TEST_P(RegistrationFieldTable, ShowsChecksAndReadsTheValue) {
  const FieldRow& r = GetParam();
  Tipo(r.tipo);
  ASSERT_TRUE(control().Put(Property::UF, Variant::Str(r.uf)).ok());
  ASSERT_TRUE(control().SetCnpjAlfanumerico(r.cnpjAlfanumerico ? kTrue : kFalse).ok());
  Enter(r.entry, r.input);
  EXPECT_EQ(Utf8(control().Text()), Utf8(r.shown));
  form.Focus();
  form.Blur();
  EXPECT_EQ(Utf8(control().Text()), Utf8(r.left ? r.left : r.shown));
  const auto& boxes = form.runtime().messageBoxes();
  if (r.warning) {
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(Utf8(boxes[0].prompt), Utf8(r.warning));
  } else {
    EXPECT_TRUE(boxes.empty()) << Utf8(boxes.empty() ? u"" : boxes[0].prompt);
  }
  // Valido says what leaving said.
  EXPECT_EQ(Read(control(), Property::Valido), Variant::Boolean(r.warning == nullptr));
}

INSTANTIATE_TEST_SUITE_P(Rows, RegistrationFieldTable, ::testing::ValuesIn(kFieldRows), RowName);

// Valor read after a write of Text, and Valido, for every kind of value.
struct ValorRow {
  uint8_t tipo;
  const char16_t* written;
  Variant valor;
  bool valido;
};

const ValorRow kValorRows[] = {
    {4, u"", Variant(), true},
    {0, u"", Variant::Currency(0), true},  // a numeric field written empty shows 0
    {0, u"1.234,5", Variant::Currency(12345000), true},
    {1, u"-2,5", Variant::Currency(-25000), true},
    {2, u"3,25", Variant::R8(3.25), true},
    {3, u"0012", Variant::R8(12), true},
    {3, u"12abc", Variant::Null(), true},  // leaving reads its leading number
    {4, u"livre", Variant::Str(u"livre"), true},
    {9, u"12345678909", Variant::Str(u"12345678909"), true},
    {9, u"12345678900", Variant::Str(u"12345678900"), false},
    {10, u"12abc34501de35", Variant::Str(u"12ABC34501DE35"), true},
    {11, u"1.234,56", Variant::Currency(12345600), true},
    {15, u"11222333000181", Variant::Str(u"11222333000181"), true},
    {16, u"(11) 98765-4321", Variant::Str(u"11987654321"), true},
    {17, u"25/12/2024", Variant::Date(45651), true},
    {17, u"01/02/24", Variant::Date(45323), true},
    {17, u"31/02/2024", Variant::Null(), false},
    {18, u"18:30", Variant::Date(0.7708333333333334), true},
    {18, u"24:00", Variant::Null(), false},
    {19, u"abc1d23", Variant::Str(u"ABC1D23"), true},
    {25, u"isento", Variant::Str(u"ISENTO"), true},
};

class ValorTable : public FieldTest, public ::testing::WithParamInterface<ValorRow> {};

TEST_P(ValorTable, ReadsTheTypedValue) {
  const ValorRow& r = GetParam();
  Tipo(r.tipo);
  ASSERT_TRUE(control().SetText(r.written).ok());
  const Variant valor = Read(control(), Property::Valor);
  if (r.valor.type() == VarType::Date) {
    ASSERT_EQ(valor.type(), VarType::Date);
    EXPECT_NEAR(valor.date(), r.valor.date(), 1e-9);
  } else {
    EXPECT_EQ(valor, r.valor) << Utf8(control().Text());
  }
  EXPECT_EQ(Read(control(), Property::Valido), Variant::Boolean(r.valido));
}

INSTANTIATE_TEST_SUITE_P(Rows, ValorTable, ::testing::ValuesIn(kValorRows), [](const ::testing::TestParamInfo<ValorRow>& i) {
  return CaseName(i.index, "Tipo" + std::to_string(i.param.tipo) + " " + Utf8(i.param.written));
});

// Valor written: converted as automation converts, then written as Text is.
struct ValorWriteRow {
  uint8_t tipo;
  Variant value;
  const char16_t* shown;  // nullptr: refused with a type mismatch, the field unchanged
};

const ValorWriteRow kValorWrites[] = {
    {0, Variant::Currency(12345000), u"R$ 1.234,50"},
    {0, Variant::R8(-2.5), u"(R$ 2,50)"},
    {0, Variant::Str(u"abc"), nullptr},
    {0, Variant::Null(), u""},
    {2, Variant::I4(7), u"7"},
    {9, Variant::I4(123456789), u"001.234.567-89"},
    {9, Variant::R8(12345678909.0), u"123.456.789-09"},
    {9, Variant::R8(1.5), nullptr},
    {9, Variant::I4(-1), nullptr},
    {15, Variant::R8(11222333000181.0), u"11.222.333/0001-81"},
    {15, Variant::I4(12345678), u"000.123.456-78"},
    {8, Variant::I4(1310100), u"01310-100"},
    {17, Variant::Date(45651.75), u"25/12/2024"},
    {17, Variant::Str(u"1/2/2024"), u"01/02/2024"},
    {17, Variant::Date(-200000), nullptr},  // 1352, before the calendar's years
    {18, Variant::Date(0.7708333333333334), u"18:30"},
    {18, Variant::Boolean(true), u"00:00"},   // automation reads True as -1: the day before, midnight
    {11, Variant::Currency(25000), u"DOIS REAIS E CINQUENTA CENTAVOS"},
    {4, Variant::R8(2.5), u"2,5"},
    {16, Variant::Object(nullptr), nullptr},
};

class ValorWriteTable : public FieldTest, public ::testing::WithParamInterface<ValorWriteRow> {};

TEST_P(ValorWriteTable, WritesAsText) {
  const ValorWriteRow& r = GetParam();
  Tipo(r.tipo);
  ASSERT_TRUE(control().SetText(u"").ok());
  SetRaw(u"antes");
  const Status s = control().Put(Property::Valor, r.value);
  if (!r.shown) {
    EXPECT_EQ(s.hresult(), Status::kTypeMismatch);
    EXPECT_EQ(Utf8(control().Text()), "antes");
    return;
  }
  ASSERT_TRUE(s.ok()) << s.Description();
  EXPECT_EQ(Utf8(control().Text()), Utf8(r.shown));
}

INSTANTIATE_TEST_SUITE_P(Rows, ValorWriteTable, ::testing::ValuesIn(kValorWrites),
                         [](const ::testing::TestParamInfo<ValorWriteRow>& i) {
                           return CaseName(i.index, "Tipo" + std::to_string(i.param.tipo) + " " + Utf8(i.param.shown ? i.param.shown : u"refused"));
                         });

class RegistrationField : public FieldTest {};

// UF: the 27 states in any case, kept in capitals; anything else refused, the old one kept.
TEST_F(RegistrationField, UfTakesTheStatesOnly) {
  EXPECT_TRUE(control().Put(Property::UF, Variant::Str(u"rs")).ok());
  EXPECT_EQ(Read(control(), Property::UF), Variant::Str(u"RS"));
  for (const char16_t* bad : {u"XX", u"S", u"SPX", u" SP"})
    EXPECT_EQ(control().Put(Property::UF, Variant::Str(bad)).hresult(), Status::kInvalidPropertyValue) << Utf8(bad);
  EXPECT_EQ(Read(control(), Property::UF), Variant::Str(u"RS"));
  EXPECT_EQ(control().Put(Property::Valido, Variant::Boolean(true)).hresult(), Status::kReadOnly);
}

}  // namespace
}  // namespace delvorin
