#include "headless/GeneralPageDialog.h"

#include <optional>

namespace delvorin::headless {
namespace {

// A whole decimal number: an optional minus sign and at most nine digits.
std::optional<int> Inteiro(std::u16string_view s) {
  bool negative = !s.empty() && s.front() == u'-';
  if (negative) s.remove_prefix(1);
  if (s.empty() || s.size() > 9) return std::nullopt;
  int n = 0;
  for (char16_t c : s) {
    if (c < u'0' || c > u'9') return std::nullopt;
    n = n * 10 + (c - u'0');
  }
  return negative ? -n : n;
}

GeneralChild Filho(int i) { return static_cast<GeneralChild>(i); }

}  // namespace

GeneralPageDialog::GeneralPageDialog(PropertyAccess& selecionado) : surface_(kPaginaGeral), page_(surface_, selecionado) {
  criacao_ = page_.Cria();
}

Result GeneralPageDialog::Find(std::u16string_view name, int& filho) const {
  filho = ProcuraFilho(kPaginaGeral, name);
  if (filho < 0) return {Status(Status::kInvalidArgument), u"no control named '" + std::u16string(name) + u"' on the page"};
  if (!surface_.Visivel(filho)) return {Status(Status::kInvalidProcedureCall), std::u16string(name) + u" is hidden"};
  return {};
}

Result GeneralPageDialog::MoveFocus(int filho) {
  if (foco_ == filho) return {};
  const int saindo = foco_;
  foco_ = filho;
  if (saindo >= 0) return page_.PerdeFoco(Filho(saindo));
  return {};
}

Result GeneralPageDialog::Load() {
  Result r = MoveFocus(-1);
  if (!r.ok()) return r;
  return page_.Carrega();
}

Result GeneralPageDialog::Apply() {
  Result r = MoveFocus(-1);  // the button takes the focus
  if (!r.ok()) return r;
  return page_.Aplica();
}

Result GeneralPageDialog::Set(std::u16string_view name, std::u16string_view value) {
  int i = 0;
  Result r = Find(name, i);
  if (!r.ok()) return r;
  const ChildDescription& d = kPaginaGeral.filhos[static_cast<size_t>(i)];
  switch (d.type) {
    case ChildKind::CaixaTexto: {
      if (r = MoveFocus(i); !r.ok()) return r;
      if (d.comprimentoMaximo > 0 && value.size() > static_cast<size_t>(d.comprimentoMaximo))
        value = value.substr(0, static_cast<size_t>(d.comprimentoMaximo));
      if (surface_.Text(i) == value) return {};
      if (Status s = surface_.SetTexto(i, value); !s.ok()) return s;
      page_.Alteracao(Filho(i));
      return {};
    }
    case ChildKind::CaixaMarcacao: {
      std::optional<int> v = Inteiro(value);
      if (!v || *v < 0 || *v > 2) return Status::InvalidPropertyValue();
      if (r = MoveFocus(i); !r.ok()) return r;
      if (surface_.Value(i) == *v) return {};
      if (Status s = surface_.SetValor(i, static_cast<int16_t>(*v)); !s.ok()) return s;
      return page_.Clique(Filho(i));
    }
    case ChildKind::Lista: {
      std::optional<int> indice;
      const std::vector<std::u16string> itens = surface_.Itens(i);
      for (size_t k = 0; k < itens.size() && !indice; ++k)
        if (itens[k] == value) indice = static_cast<int>(k);
      if (!indice) indice = Inteiro(value);
      // A user can only pick one of the items.
      if (!indice || *indice < 0 || *indice >= static_cast<int>(itens.size())) return Status::InvalidPropertyValue();
      if (r = MoveFocus(i); !r.ok()) return r;
      if (Status s = surface_.SetIndiceSelecionado(i, *indice); !s.ok()) return s;
      return page_.Clique(Filho(i));
    }
    default:
      return {Status(Status::kInvalidProcedureCall), std::u16string(name) + u" cannot be edited"};
  }
}

Result GeneralPageDialog::Click(std::u16string_view name) {
  int i = 0;
  Result r = Find(name, i);
  if (!r.ok()) return r;
  switch (kPaginaGeral.filhos[static_cast<size_t>(i)].type) {
    case ChildKind::CaixaMarcacao: {
      if (r = MoveFocus(i); !r.ok()) return r;
      // As a Windows check box: a ticked box clears, a clear or grayed one is ticked.
      if (Status s = surface_.SetValor(i, surface_.Value(i) == 1 ? 0 : 1); !s.ok()) return s;
      return page_.Clique(Filho(i));
    }
    case ChildKind::Lista:
      if (r = MoveFocus(i); !r.ok()) return r;
      return page_.Clique(Filho(i));
    case ChildKind::CaixaTexto: return MoveFocus(i);
    default: return {};
  }
}

}  // namespace delvorin::headless
