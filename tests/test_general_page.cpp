// The Geral page on the headless surface and headless controls: creation, loading, the
// choice in each list, the options shown per type, leaving txtMaxLength, applying with its
// stop at the first failing write, and the changed flag.
#include <map>

#include "headless/PageSurfaceHeadless.h"
#include "headless/PropertyAccessHeadless.h"
#include "input/Cp1252.h"
#include "pages/GeneralPage.h"
#include "pages/GeneralVisibility.h"
#include "tests/Helpers.h"

namespace delvorin {
namespace {

using F = GeneralChild;
using Texts = std::vector<std::u16string>;

// The properties in the order the page loads and applies them.
const Texts kOrdem = {u"Usar_Enter", u"TC_Trim",  u"Aspas",      u"usar_parenteses", u"PasswordChar", u"MSGcpf",
                       u"Digitos",    u"TravaCpf", u"Negativo",   u"Tipo",            u"Appearance",   u"Text",
                       u"MaxLength",  u"Locked",   u"Enabled",    u"BorderStyle",     u"Alignment",
                       u"CnpjAlfanumerico"};

// Some other object with the same property names: records the names read and written. A
// name it lacks is unknown, as to an automation object; the write of `recusada` fails.
class AnyObject final : public PropertyAccess {
 public:
  AnyObject() {
    for (const std::u16string& n : kOrdem) valores[n] = Variant::I2(0);
  }
  bool TemSelecionado() const override { return true; }
  Result Le(std::u16string_view nome, Variant& valor) override {
    lidos.emplace_back(nome);
    auto v = valores.find(std::u16string(nome));
    if (v == valores.end()) return Status(Status::kUnknownName);
    valor = v->second;
    return {};
  }
  Result Escreve(std::u16string_view nome, const Variant& valor) override {
    if (!valores.contains(std::u16string(nome))) return Status(Status::kUnknownName);
    if (nome == recusada) return {Status::InvalidPropertyValue(), u"somente leitura"};
    escritos.emplace_back(nome);
    valores[std::u16string(nome)] = valor;
    return {};
  }
  std::map<std::u16string, Variant> valores;
  Texts lidos, escritos;
  std::u16string recusada;
};

class GeneralPageTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(pagina.Cria().ok()); }

  // Makes the control of type t, loads the page from it and forgets the notices so far.
  void Carrega(uint8_t t) {
    ASSERT_TRUE(form.control().SetTipo(t).ok());
    ASSERT_TRUE(pagina.Carrega().ok());
    form.host().ClearLog();
  }
  // What the user does: edits a text box, sets a check box, chooses in a list.
  void Digita(F f, std::u16string_view t) {
    ASSERT_TRUE(sup.SetTexto(Indice(f), t).ok());
    pagina.Alteracao(f);
  }
  void Marca(F f, int16_t v) {
    ASSERT_TRUE(sup.SetValor(Indice(f), v).ok());
    ASSERT_TRUE(pagina.Clique(f).ok());
  }
  void Escolhe(F lista, int i) {
    ASSERT_TRUE(sup.SetIndiceSelecionado(Indice(lista), i).ok());
    ASSERT_TRUE(pagina.Clique(lista).ok());
  }
  std::u16string Texto(F f) { return sup.Texto(Indice(f)); }
  Variant Valor(Property p) { return Read(form.control(), p); }
  Texts Avisos() {
    Texts avisos;
    for (const std::u16string& l : form.host().log())
      if (l.rfind(u"notice: ", 0) == 0) avisos.push_back(l.substr(8));
    return avisos;
  }

  headless::Form form;
  headless::PropertyAccessHeadless acesso{{&form.control()}};
  headless::PageSurfaceHeadless sup{kPaginaGeral};
  GeneralPage pagina{sup, acesso};
};

TEST_F(GeneralPageTest, CreationFillsListsAndQuotesTip) {
  Texts tipos = sup.Itens(Indice(F::Combo1));
  ASSERT_EQ(tipos.size(), 15u);
  EXPECT_EQ(tipos.front(), u"0 - Moeda com Máscara");
  EXPECT_EQ(tipos[11], u"11 - Número extenso");
  EXPECT_EQ(tipos.back(), u"14 - Cartão de Crédito");
  EXPECT_EQ(sup.Itens(Indice(F::CBali)), (Texts{u"0 - Esquerda", u"1 - Direita", u"2 - Centro"}));
  EXPECT_EQ(sup.Itens(Indice(F::CBborda)), (Texts{u"0 - Nenhuma", u"1 - Simples"}));
  EXPECT_EQ(sup.Itens(Indice(F::CB3d)), (Texts{u"0 - Flat", u"1 - 3D"}));
  EXPECT_EQ(sup.Dica(Indice(F::chkAspas)), u"Troca aspas (')simples por (" + std::u16string(1, DeCp1252(180)) + u")");
  EXPECT_EQ(sup.IndiceSelecionado(Indice(F::Combo1)), -1);
  EXPECT_FALSE(sup.Alterada());
  EXPECT_TRUE(form.host().log().empty());
}

TEST_F(GeneralPageTest, NewInstanceLoadsInPropertyOrder) {
  AnyObject gravado;
  GeneralPage outra(sup, gravado);
  ASSERT_TRUE(outra.Carrega().ok());
  EXPECT_EQ(gravado.lidos, kOrdem);

  ASSERT_TRUE(pagina.Carrega().ok());
  Texts obtidos;
  for (const GeneralBinding& v : kVinculosGeral)
    obtidos.push_back(Descricao(v.filho).tipo == ChildKind::CaixaTexto ? Texto(v.filho)
                                                                      : ToDisplayText(Variant::I2(sup.Valor(Indice(v.filho)))));
  EXPECT_EQ(obtidos, (Texts{u"1", u"0", u"0", u"1", u"", u"1", u"2", u"0", u"0", u"4", u"1", u"", u"0", u"0", u"1",
                             u"1", u"0", u"1"}));
  EXPECT_EQ(sup.IndiceSelecionado(Indice(F::Combo1)), 4);
  EXPECT_EQ(sup.IndiceSelecionado(Indice(F::CBborda)), 1);
  EXPECT_TRUE(sup.Alterada()) << "loading alters the page's controls";
  EXPECT_TRUE(Avisos().empty()) << "loading writes nothing";
}

TEST_F(GeneralPageTest, OptionsShownPerTipo) {
  const std::vector<F> sempre = {F::lblTipo, F::Combo1,  F::CBali,      F::CB3d,      F::CBborda,       F::txtText,
                                 F::lblMaxLength, F::lblDigitos, F::lblPasswordChar, F::chkEnabled, F::chkUsar_Enter};
  const std::pair<uint8_t, std::vector<F>> visiveis[] = {
      {9, {F::chkMSGcpf, F::chkTravaCpf}},
      {10, {F::chkMSGcpf, F::chkTravaCpf, F::chkCnpjAlfanumerico}},
      {13, {F::chkMSGcpf, F::chkTravaCpf}},
      {0, {F::chkUsarp, F::txtDigitos, F::chkNegativo, F::txtMaxLength}},
      {4, {F::chkAspas, F::chkTC_Trim, F::txtMaxLength, F::txtPasswordChar}},
      {11, {}},
  };
  for (const auto& [t, esperados] : visiveis) {
    Carrega(t);
    EXPECT_EQ(sup.IndiceSelecionado(Indice(F::Combo1)), t);
    for (const VisibilityRule& r : kRegrasVisibilidade) {
      bool esperado = std::find(esperados.begin(), esperados.end(), r.filho) != esperados.end();
      EXPECT_EQ(sup.Visivel(Indice(r.filho)), esperado) << int{t} << " " << Utf8(Descricao(r.filho).nome);
    }
    for (F f : sempre) EXPECT_TRUE(sup.Visivel(Indice(f))) << int{t} << " " << Utf8(Descricao(f).nome);
  }
}

TEST_F(GeneralPageTest, ChosenTipoReachesControlOnlyOnApply) {
  Carrega(4);
  sup.SetAlterada(false);
  Escolhe(F::Combo1, 3);
  EXPECT_EQ(Texto(F::txtTipo), u"3");
  EXPECT_TRUE(sup.Alterada());
  EXPECT_TRUE(sup.Visivel(Indice(F::chkNegativo)));
  EXPECT_EQ(form.control().Tipo(), 4);
  EXPECT_TRUE(form.host().log().empty());
  ASSERT_TRUE(pagina.Aplica().ok());
  EXPECT_EQ(Avisos(), kOrdem);
  EXPECT_EQ(form.control().Tipo(), 3);
  EXPECT_FALSE(sup.Alterada()) << "nothing is left to apply";
}

TEST_F(GeneralPageTest, EmptyDigitosStopsApplyAfterMSGcpf) {
  Carrega(0);
  Marca(F::chkUsar_Enter, 0);
  Marca(F::chkAspas, 1);
  Digita(F::txtPasswordChar, u"*");
  Digita(F::txtDigitos, u"");
  Marca(F::chkTravaCpf, 1);
  Digita(F::txtMaxLength, u"7");
  EXPECT_EQ(pagina.Aplica().status.hresult(), Status::kTypeMismatch);
  ASSERT_EQ(sup.messageBoxes().size(), 1u);
  EXPECT_EQ(sup.messageBoxes()[0].prompt, DescricaoDe(Status::TypeMismatch()));
  EXPECT_EQ(sup.messageBoxes()[0].style, 0) << "OK button only";
  EXPECT_EQ(sup.messageBoxes()[0].title, u"") << "no title of its own";
  EXPECT_EQ(Avisos(), Texts(kOrdem.begin(), kOrdem.begin() + 6));
  EXPECT_EQ(Valor(Property::Usar_Enter), Variant::Boolean(kFalse));
  EXPECT_EQ(Valor(Property::Aspas), Variant::Boolean(kTrue));
  EXPECT_EQ(Valor(Property::PasswordChar), Variant::Str(u"*"));
  EXPECT_EQ(Valor(Property::TravaCpf), Variant::Boolean(kFalse));
  EXPECT_EQ(Valor(Property::MaxLength), Variant::I4(0));
  EXPECT_TRUE(sup.Alterada()) << "the edits not written are still pending";
}

struct ApplyFailure {
  F filho;
  std::u16string texto;
  int32_t erro;
  std::u16string ultimoEscrito;
};

TEST_F(GeneralPageTest, FirstFailingWriteStopsApply) {
  const ApplyFailure casos[] = {
      {F::txtDigitos, u"300", Status::kOverflow, u"MSGcpf"},
      {F::txtTipo, u"abc", Status::kTypeMismatch, u"Negativo"},
      {F::txtAppearance, u"2", Status::kInvalidPropertyValue, u"Tipo"},
      {F::txtMaxLength, u"abc", Status::kTypeMismatch, u"Text"},
      {F::txtBorderStyle, u"", Status::kTypeMismatch, u"Enabled"},
      {F::txtAlignment, u"3", Status::kInvalidPropertyValue, u"BorderStyle"},
      {F::txtPasswordChar, u"ab", Status::kInvalidPropertyValue, u"usar_parenteses"},
  };
  for (const ApplyFailure& c : casos) {
    Carrega(4);
    Marca(F::chkCnpjAlfanumerico, 0);
    Digita(c.filho, c.texto);
    Result r = pagina.Aplica();
    EXPECT_EQ(r.status.hresult(), c.erro) << Utf8(c.texto);
    EXPECT_EQ(sup.messageBoxes().back().prompt, DescricaoDe(Status(c.erro)));
    ASSERT_FALSE(Avisos().empty());
    EXPECT_EQ(Avisos().back(), c.ultimoEscrito) << Utf8(c.texto);
    EXPECT_EQ(Valor(Property::CnpjAlfanumerico), Variant::Boolean(kTrue)) << "written last, so not reached";
  }
}

// The property added since 1.0: loaded after Alignment, applied last, grayed applies False.
TEST_F(GeneralPageTest, CnpjAlfanumericoLoadedAndAppliedLast) {
  const std::pair<int16_t, int16_t> cargas[] = {{kTrue, 1}, {kFalse, 0}};
  for (const auto& [propriedade, marcada] : cargas) {
    ASSERT_TRUE(form.control().SetCnpjAlfanumerico(propriedade).ok());
    Carrega(10);
    EXPECT_EQ(sup.Valor(Indice(F::chkCnpjAlfanumerico)), marcada) << propriedade;
    EXPECT_TRUE(sup.Visivel(Indice(F::chkCnpjAlfanumerico)));
  }
  const std::pair<int16_t, int16_t> aplicacoes[] = {{1, kTrue}, {0, kFalse}, {2, kFalse}, {1, kTrue}};
  for (const auto& [marcada, escrito] : aplicacoes) {
    Marca(F::chkCnpjAlfanumerico, marcada);
    EXPECT_TRUE(sup.Alterada());
    ASSERT_TRUE(pagina.Aplica().ok()) << marcada;
    EXPECT_EQ(Valor(Property::CnpjAlfanumerico), Variant::Boolean(escrito)) << marcada;
    ASSERT_EQ(Avisos().size(), kOrdem.size());
    EXPECT_EQ(Avisos().back(), u"CnpjAlfanumerico");
    form.host().ClearLog();
  }
}

// An object of the 1.0 names is still edited without the newer property; any other name
// missing, or a refused write of the newer one, fails as before.
TEST(GeneralPage, ObjectWithoutCnpjAlfanumerico) {
  AnyObject antigo;
  antigo.valores.erase(u"CnpjAlfanumerico");
  antigo.valores[u"Tipo"] = Variant::UI1(10);
  headless::PageSurfaceHeadless s(kPaginaGeral);
  GeneralPage p(s, antigo);
  ASSERT_TRUE(p.Cria().ok());
  ASSERT_TRUE(s.SetValor(Indice(F::chkCnpjAlfanumerico), 1).ok());
  ASSERT_TRUE(p.Carrega().ok());
  EXPECT_EQ(antigo.lidos, kOrdem) << "tried last";
  EXPECT_EQ(s.Valor(Indice(F::chkCnpjAlfanumerico)), 2) << "grayed: nothing to show";
  ASSERT_TRUE(p.Aplica().ok());
  EXPECT_EQ(antigo.escritos, Texts(kOrdem.begin(), kOrdem.end() - 1));
  EXPECT_FALSE(antigo.valores.contains(u"CnpjAlfanumerico"));
  EXPECT_TRUE(s.messageBoxes().empty());

  AnyObject semDigitos;
  semDigitos.valores.erase(u"Digitos");
  GeneralPage q(s, semDigitos);
  EXPECT_EQ(q.Carrega().status.hresult(), Status::kUnknownName);
  EXPECT_EQ(q.Aplica().status.hresult(), Status::kUnknownName);
  EXPECT_EQ(semDigitos.escritos, Texts(kOrdem.begin(), kOrdem.begin() + 6)) << "stops at Digitos";

  AnyObject recusa;
  recusa.recusada = u"CnpjAlfanumerico";
  GeneralPage r(s, recusa);
  ASSERT_TRUE(r.Carrega().ok());
  Result falha = r.Aplica();
  EXPECT_EQ(falha.status.hresult(), Status::kInvalidPropertyValue);
  EXPECT_EQ(s.messageBoxes().back().prompt, u"somente leitura");
  EXPECT_EQ(recusa.escritos, Texts(kOrdem.begin(), kOrdem.end() - 1));
}

TEST_F(GeneralPageTest, LeavingMaxLengthReplacesNegativeWithZero) {
  const std::pair<std::u16string, std::u16string> casos[] = {
      {u"-5", u"0"},     {u" -3x", u"0"},    {u"-.5", u"0"}, {u"- 5", u"0"}, {u"-0", u"-0"},
      {u"-0,5", u"-0,5"}, {u"abc", u"abc"}, {u"12", u"12"}, {u"", u""}};
  for (const auto& [texto, depois] : casos) {
    Carrega(4);
    Digita(F::txtMaxLength, texto);
    sup.SetAlterada(false);
    ASSERT_TRUE(pagina.PerdeFoco(F::txtMaxLength).ok());
    EXPECT_EQ(Texto(F::txtMaxLength), depois) << Utf8(texto);
    EXPECT_EQ(sup.Alterada(), depois != texto) << Utf8(texto);
  }
  Digita(F::txtText, u"-5");
  ASSERT_TRUE(pagina.PerdeFoco(F::txtText).ok());
  EXPECT_EQ(Texto(F::txtText), u"-5") << "only txtMaxLength is checked";
}

TEST_F(GeneralPageTest, SeveralSelectedOnlyFirstChanges) {
  headless::Form segundo;
  ASSERT_TRUE(segundo.control().SetTipo(0).ok());
  segundo.host().ClearLog();
  acesso.Select({&form.control(), &segundo.control()});
  Carrega(9);
  EXPECT_EQ(sup.IndiceSelecionado(Indice(F::Combo1)), 9) << "loaded from the first";
  Digita(F::txtText, u"12345678909");
  ASSERT_TRUE(pagina.Aplica().ok());
  EXPECT_EQ(form.control().Text(), u"123.456.789-09");
  EXPECT_TRUE(segundo.host().log().empty());
  EXPECT_EQ(segundo.control().Text(), u"");
}

TEST_F(GeneralPageTest, Tipo11FailsOnWordsAndAppliesNewValue) {
  ASSERT_TRUE(form.control().SetTipo(11).ok());
  ASSERT_TRUE(form.control().SetText(u"2,50").ok());
  const std::u16string palavras = form.control().Text();
  Carrega(11);
  EXPECT_EQ(Texto(F::txtText), palavras);
  EXPECT_EQ(pagina.Aplica().status.hresult(), Status::kTypeMismatch);
  EXPECT_EQ(Avisos(), Texts(kOrdem.begin(), kOrdem.begin() + 12)) << "stops at Text";
  EXPECT_EQ(form.control().Text(), palavras);

  Digita(F::txtText, u"3");
  Escolhe(F::CB3d, 1);
  Escolhe(F::CBborda, 1);
  ASSERT_TRUE(pagina.Aplica().ok());
  EXPECT_NE(form.control().Text(), palavras);
  EXPECT_EQ(Valor(Property::Appearance), Variant::I2(0)) << "flattened by the Text written after it";
  EXPECT_EQ(Valor(Property::BorderStyle), Variant::I2(1)) << "written after Text";
}

TEST_F(GeneralPageTest, ChangedFlagOnlyWithEdits) {
  using Action = void (*)(GeneralPage&);
  const std::pair<Action, bool> casos[] = {
      {[](GeneralPage& p) { (void)p.Clique(F::chkEnabled); }, true},
      {[](GeneralPage& p) { (void)p.Clique(F::chkCnpjAlfanumerico); }, true},
      {[](GeneralPage& p) { p.Alteracao(F::txtText); }, true},
      {[](GeneralPage& p) { (void)p.Clique(F::CB3d); }, false},  // the same item again
      {[](GeneralPage& p) { (void)p.Clique(F::lblText); }, false},
      {[](GeneralPage& p) { p.Alteracao(F::lblTipo); }, false},
      {[](GeneralPage& p) { (void)p.PerdeFoco(F::txtMaxLength); }, false},
      {[](GeneralPage& p) { (void)p.Carrega(); }, false},  // nothing differs
  };
  for (size_t i = 0; i < std::size(casos); ++i) {
    Carrega(4);
    sup.SetAlterada(false);
    casos[i].first(pagina);
    EXPECT_EQ(sup.Alterada(), casos[i].second) << i;
  }
}

TEST_F(GeneralPageTest, NoSelectedObjectFailsWithoutTouchingPage) {
  acesso.Select({});
  EXPECT_FALSE(pagina.Carrega().ok());
  EXPECT_EQ(Texto(F::txtTipo), u"");
  EXPECT_FALSE(sup.Alterada());
  Result r = pagina.Aplica();
  EXPECT_FALSE(r.ok());
  ASSERT_EQ(sup.messageBoxes().size(), 1u);
  EXPECT_EQ(sup.messageBoxes()[0].prompt, r.descricao);
  EXPECT_FALSE(r.descricao.empty());
}

TEST(GeneralPage, ApplyWithoutEditsKeepsEveryProperty) {
  const std::pair<uint8_t, std::u16string> casos[] = {
      {0, u"-1234,5"}, {1, u"1234,5"}, {2, u"3,25"}, {3, u"0012"}, {4, u" a'b "}, {5, u"joão da silva"},
      {6, u"abc"}, {7, u"ABC"}, {8, u"12345678"}, {9, u"11144477735"}, {10, u"11222333000181"}, {12, u"abc"},
      {13, u"12345678901"}, {14, u"4111111111111111"}, {20, u"livre"}};
  for (const auto& [t, texto] : casos) {
    headless::Form f;
    ASSERT_TRUE(f.control().SetTipo(t).ok());
    ASSERT_TRUE(f.control().SetText(texto).ok());
    std::vector<Variant> antes;
    for (const GeneralBinding& v : kVinculosGeral) antes.push_back(Read(f.control(), v.propriedade));
    headless::PropertyAccessHeadless a({&f.control()});
    headless::PageSurfaceHeadless s(kPaginaGeral);
    GeneralPage p(s, a);
    ASSERT_TRUE(p.Cria().ok());
    if (t > 14) {
      EXPECT_EQ(p.Carrega().status.hresult(), Status::kInvalidPropertyValue) << "no item of the list stands for it";
      continue;
    }
    ASSERT_TRUE(p.Carrega().ok()) << int{t};
    ASSERT_TRUE(p.Aplica().ok()) << int{t};
    for (size_t i = 0; i < antes.size(); ++i)
      EXPECT_EQ(Read(f.control(), kVinculosGeral[i].propriedade), antes[i])
          << int{t} << " " << Utf8(Descricao(kVinculosGeral[i].propriedade).nome);
  }
}

struct ValueLoad {
  std::u16string propriedade;
  Variant valor;
  F filho;
  int esperado;  // check box value or list index
  int32_t erro;
};

TEST(GeneralPage, AnyObjectLoadsAndAppliesConverting) {
  const ValueLoad casos[] = {
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
      {u"Tipo", Variant::UI1(15), F::Combo1, -1, Status::kInvalidPropertyValue},
      {u"Appearance", Variant::Object(nullptr), F::CB3d, -1, Status::kTypeMismatch},
  };
  for (const ValueLoad& c : casos) {
    AnyObject objeto;
    objeto.valores[c.propriedade] = c.valor;
    headless::PageSurfaceHeadless s(kPaginaGeral);
    GeneralPage p(s, objeto);
    ASSERT_TRUE(p.Cria().ok());
    Result r = p.Carrega();
    EXPECT_EQ(r.status.hresult(), c.erro) << Utf8(c.propriedade) << " " << Utf8(ToDisplayText(c.valor));
    if (!r.ok()) continue;
    const int i = Indice(c.filho);
    EXPECT_EQ(c.filho == F::chkAspas ? s.Valor(i) : s.IndiceSelecionado(i), c.esperado) << Utf8(ToDisplayText(c.valor));
    // A grayed box applies False; texts go as texts, for the object to convert.
    ASSERT_TRUE(s.SetValor(Indice(F::chkLocked), 2).ok());
    ASSERT_TRUE(p.Aplica().ok());
    EXPECT_EQ(objeto.escritos, kOrdem);
    EXPECT_EQ(objeto.valores.at(u"Locked"), Variant::Boolean(kFalse));
    EXPECT_EQ(objeto.valores.at(u"Tipo"), Variant::Str(s.Texto(Indice(F::txtTipo))));
  }
}

TEST(HeadlessAccess, UnknownNameOrNothingSelected) {
  headless::Form f;
  headless::PropertyAccessHeadless a({&f.control()});
  Result r = a.Escreve(u"digitos", Variant::Str(u"1"));
  EXPECT_EQ(r.status.hresult(), Status::kUnknownName) << "names are exact";
  EXPECT_EQ(r.descricao, DescricaoDe(Status(Status::kUnknownName)));
  headless::PropertyAccessHeadless vazio;
  Variant v;
  EXPECT_FALSE(vazio.Le(u"Tipo", v).ok());
  EXPECT_FALSE(vazio.Escreve(u"Tipo", Variant::Str(u"1")).ok());
}

}  // namespace
}  // namespace delvorin
