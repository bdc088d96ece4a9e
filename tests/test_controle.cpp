// The control object: new-instance state, property get/set with notices, forwarding to the
// edit box with its range checks, conversions of a write by name, resize and Atualiza.
#include "tests/Auxiliares.h"

namespace delvorin {
namespace {

class Controle : public CampoTeste {};

TEST_F(Controle, NovaInstanciaTemOsPadroes) {
  EXPECT_EQ(Ler(control(), Propriedade::Tipo), Variant::UI1(4));
  EXPECT_EQ(Ler(control(), Propriedade::Digitos), Variant::UI1(2));
  for (Propriedade p : {Propriedade::MSGcpf, Propriedade::Usar_Enter, Propriedade::usar_parenteses})
    EXPECT_EQ(Ler(control(), p), Variant::Boolean(kTrue)) << Utf8(Descricao(p).nome);
  for (Propriedade p : {Propriedade::Negativo, Propriedade::TravaCpf, Propriedade::Aspas, Propriedade::TC_Trim})
    EXPECT_EQ(Ler(control(), p), Variant::Boolean(kFalse)) << Utf8(Descricao(p).nome);
  EXPECT_EQ(Ler(control(), Propriedade::Text), Variant::Str(u""));
  EXPECT_TRUE(host().log().empty()) << "initialisation sends no notice";
}

TEST_F(Controle, TipoForaDaFaixaEGuardadoComAviso) {
  ASSERT_TRUE(control().Put(Propriedade::Tipo, Variant::I2(20)).ok());
  EXPECT_EQ(Ler(control(), Propriedade::Tipo), Variant::UI1(20));
  EXPECT_EQ(host().log(), std::vector<std::u16string>{u"notice: Tipo"});
}

TEST_F(Controle, CadaEscritaAvisaMesmoSemMudanca) {
  for (const DescricaoPropriedade& d : kPropriedades) {
    if (d.tipo == TipoPropriedade::Fonte || d.tipo == TipoPropriedade::Figura) continue;
    Variant atual = Ler(control(), d.id);
    host().ClearLog();
    ASSERT_TRUE(control().Put(d.id, atual).ok()) << Utf8(d.nome);
    EXPECT_EQ(Eventos(u"notice: " + std::u16string(d.nome)), 1) << Utf8(d.nome);
  }
}

TEST_F(Controle, MudarTipoNaoReformataOTexto) {
  ASSERT_TRUE(control().SetText(u"palavra").ok());
  Tipo(0);
  EXPECT_EQ(control().Text(), u"palavra");
}

TEST_F(Controle, TextoComFocoEOTextoEmEdicao) {
  Tipo(0);
  ASSERT_TRUE(control().SetText(u"1234,5").ok());
  EXPECT_EQ(control().Text(), u"R$ 1.234,50");
  form.Focus();
  EXPECT_EQ(control().Text(), u"1234,5");
}

TEST_F(Controle, AtualizaDevolveReferenciaVazia) {
  Tipo(9);
  Bruto(u"111.111.111-12");
  EXPECT_EQ(control().Atualiza(), nullptr);
  EXPECT_EQ(caixas().size(), 1u);
}

TEST_F(Controle, RedimensionarPassaOTamanhoSemAjuste) {
  ASSERT_TRUE(form.Resize(3000, 400).ok());
  EXPECT_EQ(txo().width(), 3000);
  EXPECT_EQ(txo().height(), 400);
  ASSERT_TRUE(form.Resize(0, 0).ok());
  EXPECT_EQ(txo().width(), 0);
  EXPECT_EQ(txo().height(), 0);
}

TEST_F(Controle, RedimensionarRecusadoMantemLarguraJaPosta) {
  ASSERT_TRUE(form.Resize(100, 50).ok());
  EXPECT_FALSE(form.Resize(200, -1).ok());
  EXPECT_EQ(txo().width(), 200);
  EXPECT_EQ(txo().height(), 50);
}

struct EscritaRecusada {
  Propriedade propriedade;
  Variant valor;
  int32_t erro;
};

TEST_F(Controle, EscritaRecusadaNaoAvisaNemMuda) {
  const EscritaRecusada casos[] = {
      {Propriedade::Alignment, Variant::I2(3), Status::kInvalidPropertyValue},
      {Propriedade::Alignment, Variant::I2(-1), Status::kInvalidPropertyValue},
      {Propriedade::BorderStyle, Variant::I2(2), Status::kInvalidPropertyValue},
      {Propriedade::Appearance, Variant::I2(2), Status::kInvalidPropertyValue},
      {Propriedade::MaxLength, Variant::I4(-1), Status::kInvalidPropertyValue},
      {Propriedade::PasswordChar, Variant::Str(u"**"), Status::kInvalidPropertyValue},
      {Propriedade::MousePointer, Variant::I2(16), Status::kInvalidPropertyValue},
      {Propriedade::BackColor, Variant::I4(0x40000000), Status::kInvalidPropertyValue},
      {Propriedade::Font, Variant::Str(u"Arial"), Status::kTypeMismatch},
      {Propriedade::Tipo, Variant::I2(256), Status::kOverflow},
      {Propriedade::Tipo, Variant::Str(u"abc"), Status::kTypeMismatch},
      {Propriedade::Digitos, Variant::I2(-1), Status::kOverflow},
      {Propriedade::Negativo, Variant::Str(u"talvez"), Status::kTypeMismatch},
      {Propriedade::Alignment, Variant::Str(u"True"), Status::kTypeMismatch},
      {Propriedade::MaxLength, Variant::R8(3e9), Status::kOverflow},
  };
  for (const EscritaRecusada& c : casos) {
    Variant antes = Ler(control(), c.propriedade);
    host().ClearLog();
    EXPECT_EQ(control().Put(c.propriedade, c.valor).hresult(), c.erro) << Utf8(Descricao(c.propriedade).nome);
    EXPECT_TRUE(host().log().empty()) << Utf8(Descricao(c.propriedade).nome);
    EXPECT_EQ(Ler(control(), c.propriedade), antes) << Utf8(Descricao(c.propriedade).nome);
  }
}

struct Conversao {
  Propriedade propriedade;
  Variant valor;
  Variant esperado;
};

TEST_F(Controle, EscritaPorNomeConverteOValor) {
  const Conversao casos[] = {
      {Propriedade::usar_parenteses, Variant::Str(u"False"), Variant::Boolean(kFalse)},
      {Propriedade::usar_parenteses, Variant::Str(u"tRuE"), Variant::Boolean(kTrue)},
      {Propriedade::Negativo, Variant::Str(u"5"), Variant::Boolean(kTrue)},
      {Propriedade::Negativo, Variant::Str(u"0"), Variant::Boolean(kFalse)},
      {Propriedade::Negativo, Variant::I2(1), Variant::Boolean(kTrue)},
      {Propriedade::Tipo, Variant::Str(u"9"), Variant::UI1(9)},
      {Propriedade::Tipo, Variant::R8(2.5), Variant::UI1(2)},  // half to even
      {Propriedade::Tipo, Variant::R8(3.5), Variant::UI1(4)},
      {Propriedade::Digitos, Variant::Str(u" 255 "), Variant::UI1(255)},
      {Propriedade::MaxLength, Variant::Str(u"1.000"), Variant::I4(1000)},
      {Propriedade::Alignment, Variant::Str(u"2"), Variant::I2(2)},
      {Propriedade::BackColor, Variant::Str(u"255"), Variant::I4(255)},
      {Propriedade::PasswordChar, Variant::I2(7), Variant::Str(u"7")},
      {Propriedade::MouseIcon, Variant(), Variant::Object(nullptr)},
  };
  for (const Conversao& c : casos) {
    ASSERT_TRUE(control().Put(c.propriedade, c.valor).ok()) << Utf8(Descricao(c.propriedade).nome);
    EXPECT_EQ(Ler(control(), c.propriedade), c.esperado) << Utf8(Descricao(c.propriedade).nome);
  }
}

TEST_F(Controle, BooleanoGuardaOValorDado) {
  ASSERT_TRUE(control().Put(Propriedade::Aspas, Variant::Boolean(int16_t{1})).ok());
  EXPECT_EQ(control().Aspas(), 1);
}

TEST_F(Controle, AvisoRecusadoDevolveErroMasGuardaOCampo) {
  host().set_fail_notices(true);
  EXPECT_FALSE(control().SetTipo(9).ok());
  EXPECT_EQ(control().Tipo(), 9);
}

TEST_F(Controle, FonteEIconeSaoObjetosDaCaixa) {
  ObjectRef fonte = headless::MakeFont(u"Arial", 10);
  ASSERT_TRUE(control().Put(Propriedade::Font, Variant::Object(fonte)).ok());
  EXPECT_EQ(Ler(control(), Propriedade::Font).object(), fonte);
  EXPECT_EQ(control().Put(Propriedade::Font, Variant::Object(nullptr)).hresult(), Status::kInvalidPropertyValue);
  ObjectRef icone = std::make_shared<headless::Picture>(u"seta.ico");
  ASSERT_TRUE(control().Put(Propriedade::MouseIcon, Variant::Object(icone)).ok());
  EXPECT_EQ(Ler(control(), Propriedade::MouseIcon).object(), icone);
}

TEST(TabelaPropriedades, IdsDescemEmOrdemPassandoPorText) {
  // The 1.0 properties count down to 0x68030000; those added later count up from 0x68030015.
  int32_t esperado = 0x68030014;
  for (int i = 0; i < kNumeroPropriedades10; ++i) {
    const DescricaoPropriedade& d = kPropriedades[static_cast<size_t>(i)];
    if (d.id == Propriedade::Text) {
      EXPECT_EQ(d.dispid, 0);
      continue;
    }
    EXPECT_EQ(d.dispid, esperado--) << Utf8(d.nome);
  }
  EXPECT_EQ(esperado, 0x68030000 - 1);
  for (int i = kNumeroPropriedades10; i < kNumeroPropriedades; ++i)
    EXPECT_EQ(kPropriedades[static_cast<size_t>(i)].dispid, 0x68030015 + (i - kNumeroPropriedades10));
  int abreGeral = 0;
  for (const DescricaoPropriedade& d : kPropriedades) abreGeral += d.abreGeral;
  EXPECT_EQ(abreGeral, 18);
  for (size_t i = 0; i < kPropriedades.size(); ++i) {
    EXPECT_EQ(static_cast<size_t>(kPropriedades[i].id), i);
    EXPECT_EQ(ProcuraPropriedade(kPropriedades[i].nome), &kPropriedades[i]);
  }
  EXPECT_EQ(ProcuraPropriedade(u"tipo"), nullptr) << "names are exact";
}

}  // namespace
}  // namespace delvorin
