// The alphanumeric CNPJ: the check against an independent computation of the check digits,
// and the same numbers typed, pasted and assigned with and without CnpjAlfanumerico.
#include <random>

#include "format/Validators.h"
#include "tests/Helpers.h"

namespace delvorin {
namespace {

// The two check digits of a 12-character base, computed the way the rule is written: value
// = code - 48, weights from 5 (then 6) falling to 2 and starting again at 9.
std::u16string ComDigitos(std::u16string base) {
  for (int peso0 : {5, 6}) {
    int sum = 0, peso = peso0;
    for (char16_t c : base) {
      sum += (c - 48) * peso;
      peso = peso == 2 ? 9 : peso - 1;
    }
    const int remainder = sum % 11;
    base.push_back(static_cast<char16_t>(u'0' + (remainder < 2 ? 0 : 11 - remainder)));
  }
  return base;
}

struct ValidationCase {
  const char* name;
  std::u16string text;
  bool alfanumerico;  // ValidaCnpjAlfanumerico
  bool numerico;      // ValidaCnpj, unchanged
};

class CnpjValidation : public ::testing::TestWithParam<ValidationCase> {};

TEST_P(CnpjValidation, ResultOfEachRule) {
  const ValidationCase& c = GetParam();
  EXPECT_EQ(ValidaCnpjAlfanumerico(c.text), c.alfanumerico) << Utf8(c.text);
  EXPECT_EQ(ValidaCnpj(c.text), c.numerico) << Utf8(c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CnpjValidation,
    ::testing::Values(
        ValidationCase{"ExemploPublico", u"12.ABC.345/01DE-35", true, false},
        ValidationCase{"ExemploSemSeparadores", u"12ABC34501DE35", true, false},
        ValidationCase{"EspacosNasPontas", u"  12.ABC.345/01DE-35 ", true, false},
        ValidationCase{"DigitoErrado", u"12.ABC.345/01DE-36", false, false},
        ValidationCase{"PrimeiroDigitoErrado", u"12.ABC.345/01DE-45", false, false},
        ValidationCase{"Minusculas", u"12.abc.345/01de-35", false, false},
        ValidationCase{"LetraNoDigito", u"12.ABC.345/01DE-3A", false, false},
        ValidationCase{"LetrasNosDoisDigitos", u"000000000000AB", false, false},
        ValidationCase{"LetraCurta", u"12.ABC.345/01DE-3", false, false},
        ValidationCase{"LetraLonga", u"12.ABC.345/01DE-355", false, false},
        ValidationCase{"LetraAcentuada", u"12.ÁBC.345/01DE-35", false, false},
        ValidationCase{"EspacoNoMeio", u"12.ABC.345/01D -35", false, false},
        ValidationCase{"RaizComLetras", u"12.ABC.345", false, true},  // letters count as 0 in the numeric rule
        ValidationCase{"NumericoValido", u"11.222.333/0001-81", true, true},
        ValidationCase{"NumericoInvalido", u"11.222.333/0001-82", false, false},
        ValidationCase{"RaizNumerica", u"12.345.674", true, true},
        ValidationCase{"QuatorzeZeros", u"00.000.000/0000-00", false, false},
        ValidationCase{"Vazio", u"", false, false}),
    [](const ::testing::TestParamInfo<ValidationCase>& i) { return std::string(i.param.name); });

TEST(CnpjValidation, RandomBasesAgainstIndependentComputation) {
  std::mt19937 gerador(2026);
  constexpr char16_t kAlfabeto[] = u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  for (int i = 0; i < 5000; ++i) {
    const bool soDigitos = i % 4 == 0;
    std::u16string base;
    for (int k = 0; k < 12; ++k) base.push_back(kAlfabeto[gerador() % (soDigitos ? 10 : 36)]);
    if (base.find_first_not_of(u'0') == std::u16string::npos) continue;
    const std::u16string cnpj = ComDigitos(base);
    EXPECT_TRUE(ValidaCnpjAlfanumerico(cnpj)) << Utf8(cnpj);
    // A numeric CNPJ keeps its check digits under both rules.
    if (soDigitos) {
      EXPECT_TRUE(ValidaCnpj(cnpj)) << Utf8(cnpj);
    }
    for (size_t pos : {size_t{12}, size_t{13}}) {
      std::u16string errado = cnpj;
      errado[pos] = static_cast<char16_t>(u'0' + (errado[pos] - u'0' + 1 + gerador() % 9) % 10);
      EXPECT_FALSE(ValidaCnpjAlfanumerico(errado)) << Utf8(errado);
    }
  }
}

// One CNPJ field session: typed, pasted and assigned, with the property on or off.
struct FieldCase {
  const char* name;
  bool alfanumerico;
  std::u16string entrada;
  std::u16string digitado;  // typed into the empty field, and pasted
  std::u16string atribuido;  // written to Text
  bool mensagem;             // leaving the typed field reports an invalid CNPJ
};

class CnpjField : public FieldTest, public ::testing::WithParamInterface<FieldCase> {
 protected:
  void SetUp() override {
    Tipo(tipo::Cnpj);
    ASSERT_TRUE(control().SetCnpjAlfanumerico(GetParam().alfanumerico ? kTrue : kFalse).ok());
  }
};

TEST_P(CnpjField, Typed) {
  const FieldCase& c = GetParam();
  form.Focus();
  form.Type(c.entrada);
  EXPECT_EQ(txo().Text(), c.digitado);
  form.Blur();
  EXPECT_EQ(caixas().size(), c.mensagem ? 1u : 0u);
  if (c.mensagem) {
    EXPECT_EQ(caixas()[0].prompt, u"CNPJ Inválido.");
  }
}

TEST_P(CnpjField, Pasted) {
  const FieldCase& c = GetParam();
  form.Focus();
  form.Paste(c.entrada);
  EXPECT_EQ(txo().Text(), c.digitado);
}

TEST_P(CnpjField, Assigned) {
  const FieldCase& c = GetParam();
  ASSERT_TRUE(control().SetText(c.entrada).ok());
  EXPECT_EQ(txo().Text(), c.atribuido);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CnpjField,
    ::testing::Values(
        FieldCase{"AlfanumericoValido", true, u"12abc34501de35", u"12.ABC.345/01DE-35", u"12.ABC.345/01DE-35", false},
        FieldCase{"AlfanumericoInvalido", true, u"12ABC34501DE36", u"12.ABC.345/01DE-36", u"12.ABC.345/01DE-36", true},
        FieldCase{"LetraRecusadaNoDigito", true, u"12ABC34501DE3A", u"12.ABC.345/01DE-3", u"12.ABC.345/01DE-3A", true},
        FieldCase{"DozeLetrasNoMaximo", true, u"ABCDEFGHIJKLM", u"AB.CDE.FGH/IJKL", u"AB.CDE.FGH/IJKL-M", true},
        FieldCase{"NumericoComAPropriedade", true, u"11222333000181", u"11.222.333/0001-81", u"11.222.333/0001-81", false},
        FieldCase{"AcentoRecusado", true, u"12ÁBC", u"12.BC", u"12.ÁBC", true},
        FieldCase{"SemAPropriedadeLetrasRecusadas", false, u"12abc34501de35", u"12.345.013/5", u"12.abc.345/01de-35", true},
        FieldCase{"SemAPropriedadeNumerico", false, u"11222333000181", u"11.222.333/0001-81", u"11.222.333/0001-81", false}),
    [](const ::testing::TestParamInfo<FieldCase>& i) { return std::string(i.param.name); });

TEST_F(FieldTest, FullSelectedCnpjAcceptsNewLetter) {
  Tipo(tipo::Cnpj);
  ASSERT_TRUE(control().SetText(u"12ABC34501DE35").ok());
  form.Focus();  // selects the whole text, which the letter replaces
  form.Type(u"a");
  EXPECT_EQ(txo().Text(), u"A");
}

TEST_F(FieldTest, InvalidAlphanumericCnpjWithLockReturnsToField) {
  Tipo(tipo::Cnpj);
  ASSERT_TRUE(control().SetTravaCpf(kTrue).ok());
  form.Focus();
  form.Type(u"12ABC34501DE36");
  form.Blur();
  ASSERT_EQ(caixas().size(), 1u);
  EXPECT_EQ(caixas()[0].prompt, u"CNPJ Inválido. Redigite ( ou deixe em branco)");
  EXPECT_TRUE(form.FieldHasFocus());
}

TEST(CnpjAlfanumerico, DefaultTrueAndSaved) {
  headless::Form form;
  EXPECT_EQ(Read(form.control(), Property::CnpjAlfanumerico), Variant::Boolean(kTrue));
  ASSERT_TRUE(form.control().Put(Property::CnpjAlfanumerico, Variant::Boolean(kFalse)).ok());
  EXPECT_EQ(form.host().Count(u"notice: CnpjAlfanumerico"), 1);
  headless::PropertyBagHeadless saco;
  ASSERT_TRUE(form.control().WriteProperties(saco).ok());
  ASSERT_TRUE(saco.Has(u"CnpjAlfanumerico"));
  headless::Form outro(headless::Form::Start::Blank);
  ASSERT_TRUE(outro.control().ReadProperties(saco).ok());
  EXPECT_EQ(outro.control().CnpjAlfanumerico(), kFalse);
}

}  // namespace
}  // namespace delvorin
