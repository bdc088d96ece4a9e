// The alphanumeric CNPJ: the check against an independent computation of the check digits,
// and the same numbers typed, pasted and assigned with and without CnpjAlfanumerico.
#include <random>

#include "format/Validadores.h"
#include "tests/Auxiliares.h"

namespace delvorin {
namespace {

// The two check digits of a 12-character base, computed the way the rule is written: value
// = code - 48, weights from 5 (then 6) falling to 2 and starting again at 9.
std::u16string ComDigitos(std::u16string base) {
  for (int peso0 : {5, 6}) {
    int soma = 0, peso = peso0;
    for (char16_t c : base) {
      soma += (c - 48) * peso;
      peso = peso == 2 ? 9 : peso - 1;
    }
    const int resto = soma % 11;
    base.push_back(static_cast<char16_t>(u'0' + (resto < 2 ? 0 : 11 - resto)));
  }
  return base;
}

struct CasoValidacao {
  const char* nome;
  std::u16string texto;
  bool alfanumerico;  // ValidaCnpjAlfanumerico
  bool numerico;      // ValidaCnpj, unchanged
};

class ValidacaoCnpj : public ::testing::TestWithParam<CasoValidacao> {};

TEST_P(ValidacaoCnpj, ResultadoDeCadaRegra) {
  const CasoValidacao& c = GetParam();
  EXPECT_EQ(ValidaCnpjAlfanumerico(c.texto), c.alfanumerico) << Utf8(c.texto);
  EXPECT_EQ(ValidaCnpj(c.texto), c.numerico) << Utf8(c.texto);
}

INSTANTIATE_TEST_SUITE_P(
    Textos, ValidacaoCnpj,
    ::testing::Values(
        CasoValidacao{"ExemploPublico", u"12.ABC.345/01DE-35", true, false},
        CasoValidacao{"ExemploSemSeparadores", u"12ABC34501DE35", true, false},
        CasoValidacao{"EspacosNasPontas", u"  12.ABC.345/01DE-35 ", true, false},
        CasoValidacao{"DigitoErrado", u"12.ABC.345/01DE-36", false, false},
        CasoValidacao{"PrimeiroDigitoErrado", u"12.ABC.345/01DE-45", false, false},
        CasoValidacao{"Minusculas", u"12.abc.345/01de-35", false, false},
        CasoValidacao{"LetraNoDigito", u"12.ABC.345/01DE-3A", false, false},
        CasoValidacao{"LetrasNosDoisDigitos", u"000000000000AB", false, false},
        CasoValidacao{"LetraCurta", u"12.ABC.345/01DE-3", false, false},
        CasoValidacao{"LetraLonga", u"12.ABC.345/01DE-355", false, false},
        CasoValidacao{"LetraAcentuada", u"12.ÁBC.345/01DE-35", false, false},
        CasoValidacao{"EspacoNoMeio", u"12.ABC.345/01D -35", false, false},
        CasoValidacao{"RaizComLetras", u"12.ABC.345", false, true},  // letters count as 0 in the numeric rule
        CasoValidacao{"NumericoValido", u"11.222.333/0001-81", true, true},
        CasoValidacao{"NumericoInvalido", u"11.222.333/0001-82", false, false},
        CasoValidacao{"RaizNumerica", u"12.345.674", true, true},
        CasoValidacao{"QuatorzeZeros", u"00.000.000/0000-00", false, false},
        CasoValidacao{"Vazio", u"", false, false}),
    [](const ::testing::TestParamInfo<CasoValidacao>& i) { return std::string(i.param.nome); });

TEST(ValidacaoCnpj, BasesAleatoriasContraOCalculoIndependente) {
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
struct CasoCampo {
  const char* nome;
  bool alfanumerico;
  std::u16string entrada;
  std::u16string digitado;  // typed into the empty field, and pasted
  std::u16string atribuido;  // written to Text
  bool mensagem;             // leaving the typed field reports an invalid CNPJ
};

class CampoCnpj : public CampoTeste, public ::testing::WithParamInterface<CasoCampo> {
 protected:
  void SetUp() override {
    Tipo(tipo::Cnpj);
    ASSERT_TRUE(control().SetCnpjAlfanumerico(GetParam().alfanumerico ? kTrue : kFalse).ok());
  }
};

TEST_P(CampoCnpj, Digitado) {
  const CasoCampo& c = GetParam();
  form.Focus();
  form.Type(c.entrada);
  EXPECT_EQ(txo().Text(), c.digitado);
  form.Blur();
  EXPECT_EQ(caixas().size(), c.mensagem ? 1u : 0u);
  if (c.mensagem) {
    EXPECT_EQ(caixas()[0].prompt, u"CNPJ Inválido.");
  }
}

TEST_P(CampoCnpj, Colado) {
  const CasoCampo& c = GetParam();
  form.Focus();
  form.Paste(c.entrada);
  EXPECT_EQ(txo().Text(), c.digitado);
}

TEST_P(CampoCnpj, Atribuido) {
  const CasoCampo& c = GetParam();
  ASSERT_TRUE(control().SetText(c.entrada).ok());
  EXPECT_EQ(txo().Text(), c.atribuido);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, CampoCnpj,
    ::testing::Values(
        CasoCampo{"AlfanumericoValido", true, u"12abc34501de35", u"12.ABC.345/01DE-35", u"12.ABC.345/01DE-35", false},
        CasoCampo{"AlfanumericoInvalido", true, u"12ABC34501DE36", u"12.ABC.345/01DE-36", u"12.ABC.345/01DE-36", true},
        CasoCampo{"LetraRecusadaNoDigito", true, u"12ABC34501DE3A", u"12.ABC.345/01DE-3", u"12.ABC.345/01DE-3A", true},
        CasoCampo{"DozeLetrasNoMaximo", true, u"ABCDEFGHIJKLM", u"AB.CDE.FGH/IJKL", u"AB.CDE.FGH/IJKL-M", true},
        CasoCampo{"NumericoComAPropriedade", true, u"11222333000181", u"11.222.333/0001-81", u"11.222.333/0001-81", false},
        CasoCampo{"AcentoRecusado", true, u"12ÁBC", u"12.BC", u"12.ÁBC", true},
        CasoCampo{"SemAPropriedadeLetrasRecusadas", false, u"12abc34501de35", u"12.345.013/5", u"12.abc.345/01de-35", true},
        CasoCampo{"SemAPropriedadeNumerico", false, u"11222333000181", u"11.222.333/0001-81", u"11.222.333/0001-81", false}),
    [](const ::testing::TestParamInfo<CasoCampo>& i) { return std::string(i.param.nome); });

TEST_F(CampoTeste, CnpjCheioSelecionadoAceitaLetraNova) {
  Tipo(tipo::Cnpj);
  ASSERT_TRUE(control().SetText(u"12ABC34501DE35").ok());
  form.Focus();  // selects the whole text, which the letter replaces
  form.Type(u"a");
  EXPECT_EQ(txo().Text(), u"A");
}

TEST_F(CampoTeste, CnpjAlfanumericoInvalidoComTravaVoltaAoCampo) {
  Tipo(tipo::Cnpj);
  ASSERT_TRUE(control().SetTravaCpf(kTrue).ok());
  form.Focus();
  form.Type(u"12ABC34501DE36");
  form.Blur();
  ASSERT_EQ(caixas().size(), 1u);
  EXPECT_EQ(caixas()[0].prompt, u"CNPJ Inválido. Redigite ( ou deixe em branco)");
  EXPECT_TRUE(form.FieldHasFocus());
}

TEST(CnpjAlfanumerico, PadraoVerdadeiroEGuardado) {
  headless::Form form;
  EXPECT_EQ(Ler(form.control(), Propriedade::CnpjAlfanumerico), Variant::Boolean(kTrue));
  ASSERT_TRUE(form.control().Put(Propriedade::CnpjAlfanumerico, Variant::Boolean(kFalse)).ok());
  EXPECT_EQ(form.host().Count(u"notice: CnpjAlfanumerico"), 1);
  headless::HeadlessPropertyBag saco;
  ASSERT_TRUE(form.control().WriteProperties(saco).ok());
  ASSERT_TRUE(saco.Has(u"CnpjAlfanumerico"));
  headless::Form outro(headless::Form::Start::Blank);
  ASSERT_TRUE(outro.control().ReadProperties(saco).ok());
  EXPECT_EQ(outro.control().CnpjAlfanumerico(), kFalse);
}

}  // namespace
}  // namespace delvorin
