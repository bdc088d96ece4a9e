#include "pages/GeneralPage.h"

#include <cmath>
#include <string>

#include "format/Moeda.h"
#include "pages/GeneralVisibility.h"
#include "format/Conversions.h"

namespace delvorin {
namespace {

std::u16string Decimal(int n) {
  std::string s = std::to_string(n);
  return std::u16string(s.begin(), s.end());
}

bool ForaDaTabela(GeneralChild f) { return Indice(f) < 0 || Indice(f) >= kNumeroFilhosGeral; }

// The object has no property of that name, and the page can do without it.
bool Ausente(const GeneralBinding& v, const Result& r) {
  return Posterior10(v.propriedade) && r.status.hresult() == Status::kUnknownName;
}

const GeneralList* ListaDe(GeneralChild f) {
  for (const GeneralList& l : kListasGeral)
    if (l.lista == f) return &l;
  return nullptr;
}

// A number as a list index takes it: rounded half to even.
double RoundHalfEven(double x) {
  double base = std::floor(x);
  double remainder = x - base;
  if (remainder > 0.5 || (remainder == 0.5 && std::fmod(base, 2.0) != 0.0)) base += 1.0;
  return base;
}

}  // namespace

Result GeneralPage::Cria() {
  for (const GeneralList& l : kListasGeral) {
    for (std::u16string_view item : DescriptionOf(l.lista).itens) {
      Status s = superficie_.AdicionaItem(Indice(l.lista), item);
      if (!s.ok()) return s;
    }
  }
  return superficie_.SetDica(Indice(GeneralChild::chkAspas), kDicaAspas);
}

Result GeneralPage::Carrega() {
  if (!selecionado_.TemSelecionado()) return SemSelecionado();
  for (const GeneralBinding& v : kVinculosGeral) {
    Variant value;
    Result r = selecionado_.Le(DescriptionOf(v.propriedade).name, value);
    if (Ausente(v, r)) {
      // Grayed, or an empty text: nothing to show.
      r = DescriptionOf(v.filho).type == ChildKind::CaixaMarcacao ? PoeValor(v.filho, 2) : PoeTexto(v.filho, u"");
      if (!r.ok()) return r;
      continue;
    }
    if (!r.ok()) return r;
    Variant convertido;
    if (DescriptionOf(v.filho).type == ChildKind::CaixaMarcacao) {
      // Ticked when bit 0 is set: a True is -1.
      Status s = ChangeType(value, VarType::I4, convertido);
      if (!s.ok()) return s;
      r = PoeValor(v.filho, (convertido.i4() & 1) != 0 ? 1 : 0);
    } else {
      Status s = ChangeType(value, VarType::Str, convertido);
      if (!s.ok()) return s;
      r = PoeTexto(v.filho, convertido.str());
    }
    if (!r.ok()) return r;
  }
  for (const GeneralList& l : kListasGeral) {
    Result r = Escolhe(l.lista, superficie_.Text(Indice(l.companheira)));
    if (!r.ok()) return r;
  }
  return {};
}

Result GeneralPage::Aplica() {
  Result r = EscreveTudo();
  if (!r.ok()) {
    if (r.descricao.empty()) r.descricao = DescricaoDe(r.status);
    superficie_.MsgBox(r.descricao, kEstiloSoOk, u"");
    return r;
  }
  superficie_.SetAlterada(false);
  return r;
}

Result GeneralPage::EscreveTudo() {
  if (!selecionado_.TemSelecionado()) return SemSelecionado();
  for (const GeneralBinding& v : kVinculosGeral) {
    const int i = Indice(v.filho);
    // Texts go as texts: the property write converts them to the property's type. A
    // grayed check box counts as clear.
    Variant value = DescriptionOf(v.filho).type == ChildKind::CaixaMarcacao ? Variant::Boolean(superficie_.Value(i) == 1)
                                                                        : Variant::Str(superficie_.Text(i));
    Result r = selecionado_.Escreve(DescriptionOf(v.propriedade).name, value);
    if (!r.ok() && !Ausente(v, r)) return r;
  }
  return {};
}

Result GeneralPage::Clique(GeneralChild filho) {
  if (ForaDaTabela(filho)) return Status(Status::kInvalidArgument);
  switch (DescriptionOf(filho).type) {
    case ChildKind::Lista: return CliqueLista(filho);
    case ChildKind::CaixaMarcacao: superficie_.SetAlterada(true); return {};
    default: return {};
  }
}

void GeneralPage::Alteracao(GeneralChild filho) {
  if (!ForaDaTabela(filho) && DescriptionOf(filho).type == ChildKind::CaixaTexto) superficie_.SetAlterada(true);
}

Result GeneralPage::PerdeFoco(GeneralChild filho) {
  if (filho != GeneralChild::txtMaxLength) return {};
  // The only check while editing: a length limit cannot be negative.
  if (LeadingNumberSign(superficie_.Text(Indice(filho))) < 0) return PoeTexto(filho, u"0");
  return {};
}

Result GeneralPage::CliqueLista(GeneralChild lista) {
  const GeneralList* l = ListaDe(lista);
  if (!l) return {};
  const int indice = superficie_.IndiceSelecionado(Indice(lista));
  Result r = PoeTexto(l->companheira, Decimal(indice));
  if (!r.ok() || lista != GeneralChild::Combo1) return r;
  return AplicaVisibilidade(indice);
}

Result GeneralPage::PoeTexto(GeneralChild filho, std::u16string_view text) {
  const int i = Indice(filho);
  if (superficie_.Text(i) == text) return {};
  Status s = superficie_.SetTexto(i, text);
  if (!s.ok()) return s;
  Alteracao(filho);
  return {};
}

Result GeneralPage::PoeValor(GeneralChild filho, int16_t value) {
  const int i = Indice(filho);
  if (superficie_.Value(i) == value) return {};
  Status s = superficie_.SetValor(i, value);
  if (!s.ok()) return s;
  return Clique(filho);
}

Result GeneralPage::Escolhe(GeneralChild lista, std::u16string_view code) {
  // The leading number of the text, 0 when there is none.
  double number = 0;
  Status s = LeadingNumber(code, number);
  if (!s.ok()) return s;
  const double indice = RoundHalfEven(number);
  const int i = Indice(lista);
  if (!(indice >= -1 && indice < superficie_.NumeroItens(i))) return Status::InvalidPropertyValue();
  s = superficie_.SetIndiceSelecionado(i, static_cast<int>(indice));
  if (!s.ok()) return s;
  return CliqueLista(lista);  // setting the index raises the list's Click
}

Result GeneralPage::AplicaVisibilidade(int type) {
  for (const VisibilityRule& r : kRegrasVisibilidade) {
    Status s = superficie_.SetVisivel(Indice(r.filho), r.visivel(type));
    if (!s.ok()) return s;
  }
  return {};
}

}  // namespace delvorin
