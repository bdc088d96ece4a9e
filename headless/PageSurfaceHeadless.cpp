#include "headless/PageSurfaceHeadless.h"

#include <string>

namespace delvorin::headless {
namespace {

std::u16string Decimal(int n) {
  std::string s = std::to_string(n);
  return std::u16string(s.begin(), s.end());
}

std::u16string Quoted(std::u16string_view s) { return u"\"" + std::u16string(s) + u"\""; }

}  // namespace

PageSurfaceHeadless::PageSurfaceHeadless(const PageDescription& pagina) : pagina_(pagina) {
  estados_.reserve(pagina.filhos.size());
  for (const ChildDescription& d : pagina.filhos) {
    State e;
    // Text boxes start empty; the other kinds show their caption.
    if (d.type != ChildKind::CaixaTexto) e.text = d.legenda;
    e.dica = d.dica;
    e.visivel = d.visivel;
    estados_.push_back(std::move(e));
  }
}

Status PageSurfaceHeadless::Confere(int filho, ChildKind type) const {
  if (!Existe(filho)) return Status(Status::kInvalidArgument);
  if (pagina_.filhos[static_cast<size_t>(filho)].type != type) return Status(Status::kInvalidProcedureCall);
  return Status::Ok();
}

int16_t PageSurfaceHeadless::Value(int filho) const {
  return Confere(filho, ChildKind::CaixaMarcacao).ok() ? estados_[static_cast<size_t>(filho)].value : int16_t{0};
}

Status PageSurfaceHeadless::SetValor(int filho, int16_t value) {
  DELVORIN_TRY(Confere(filho, ChildKind::CaixaMarcacao));
  if (value < 0 || value > 2) return Status::InvalidPropertyValue();
  estados_[static_cast<size_t>(filho)].value = value;
  return Status::Ok();
}

std::u16string PageSurfaceHeadless::Text(int filho) const {
  return Existe(filho) ? estados_[static_cast<size_t>(filho)].text : std::u16string();
}

Status PageSurfaceHeadless::SetTexto(int filho, std::u16string_view text) {
  // As a program sets it: the length limit restricts typing only.
  DELVORIN_TRY(Confere(filho, ChildKind::CaixaTexto));
  estados_[static_cast<size_t>(filho)].text.assign(text);
  return Status::Ok();
}

std::u16string PageSurfaceHeadless::Dica(int filho) const {
  return Existe(filho) ? estados_[static_cast<size_t>(filho)].dica : std::u16string();
}

Status PageSurfaceHeadless::SetDica(int filho, std::u16string_view dica) {
  if (!Existe(filho)) return Status(Status::kInvalidArgument);
  estados_[static_cast<size_t>(filho)].dica.assign(dica);
  return Status::Ok();
}

bool PageSurfaceHeadless::Visivel(int filho) const {
  return Existe(filho) && estados_[static_cast<size_t>(filho)].visivel;
}

Status PageSurfaceHeadless::SetVisivel(int filho, bool visivel) {
  if (!Existe(filho)) return Status(Status::kInvalidArgument);
  estados_[static_cast<size_t>(filho)].visivel = visivel;
  return Status::Ok();
}

Status PageSurfaceHeadless::AdicionaItem(int filho, std::u16string_view item) {
  DELVORIN_TRY(Confere(filho, ChildKind::Lista));
  estados_[static_cast<size_t>(filho)].itens.emplace_back(item);
  return Status::Ok();
}

int PageSurfaceHeadless::NumeroItens(int filho) const {
  return Confere(filho, ChildKind::Lista).ok() ? static_cast<int>(estados_[static_cast<size_t>(filho)].itens.size()) : 0;
}

std::vector<std::u16string> PageSurfaceHeadless::Itens(int filho) const {
  return Confere(filho, ChildKind::Lista).ok() ? estados_[static_cast<size_t>(filho)].itens
                                               : std::vector<std::u16string>();
}

int PageSurfaceHeadless::IndiceSelecionado(int filho) const {
  return Confere(filho, ChildKind::Lista).ok() ? estados_[static_cast<size_t>(filho)].indice : -1;
}

Status PageSurfaceHeadless::SetIndiceSelecionado(int filho, int indice) {
  DELVORIN_TRY(Confere(filho, ChildKind::Lista));
  State& e = estados_[static_cast<size_t>(filho)];
  if (indice < -1 || indice >= static_cast<int>(e.itens.size())) return Status::InvalidPropertyValue();
  e.indice = indice;
  return Status::Ok();
}

void PageSurfaceHeadless::MsgBox(std::u16string_view text, int32_t estilo, std::u16string_view titulo) {
  shown_.push_back({std::u16string(text), estilo, std::u16string(titulo)});
  if (onMessageBox) onMessageBox(shown_.back());
}

std::vector<std::u16string> PageSurfaceHeadless::Lines() const {
  std::vector<std::u16string> linhas;
  for (size_t i = 0; i < estados_.size(); ++i) {
    const ChildDescription& d = pagina_.filhos[i];
    const State& e = estados_[i];
    std::u16string linha = std::u16string(d.name) + (e.visivel ? u" visible" : u" hidden");
    switch (d.type) {
      case ChildKind::CaixaMarcacao: linha += u" " + Decimal(e.value); break;
      case ChildKind::Lista:
        linha += u" " + Decimal(e.indice);
        if (e.indice >= 0) linha += u" " + Quoted(e.itens[static_cast<size_t>(e.indice)]);
        break;
      case ChildKind::Linha: break;
      default: linha += u" " + Quoted(e.text); break;
    }
    linhas.push_back(std::move(linha));
  }
  linhas.push_back(alterada_ ? u"changed: yes" : u"changed: no");
  return linhas;
}

}  // namespace delvorin::headless
