#include "ocx/PageSurfaceWin32.h"

#include <string>

namespace delvorin::ocx {
namespace {

std::wstring Largo(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

std::u16string TextoDe(HWND h) {
  const int n = GetWindowTextLengthW(h);
  if (n <= 0) return {};
  std::wstring w(static_cast<size_t>(n) + 1, L'\0');
  w.resize(static_cast<size_t>(GetWindowTextW(h, w.data(), n + 1)));
  return std::u16string(w.begin(), w.end());
}

// No dialog (the page is not active) or no such control.
constexpr Status kSemControle{static_cast<int32_t>(E_UNEXPECTED)};

}  // namespace

HWND PageSurfaceWin32::Control(int filho, ChildKind tipo, Status& erro) const {
  HWND h = dialogo_.Filho(filho);
  if (!h) {
    erro = dialogo_.janela() ? Status(Status::kInvalidArgument) : kSemControle;
    return nullptr;
  }
  if (dialogo_.pagina().filhos[static_cast<size_t>(filho)].tipo != tipo) {
    erro = Status(Status::kInvalidProcedureCall);
    return nullptr;
  }
  return h;
}

int16_t PageSurfaceWin32::Valor(int filho) const {
  Status erro;
  HWND h = Control(filho, ChildKind::CaixaMarcacao, erro);
  return h ? static_cast<int16_t>(SendMessageW(h, BM_GETCHECK, 0, 0)) : int16_t{0};
}

Status PageSurfaceWin32::SetValor(int filho, int16_t valor) {
  Status erro;
  HWND h = Control(filho, ChildKind::CaixaMarcacao, erro);
  if (!h) return erro;
  if (valor < 0 || valor > 2) return Status::InvalidPropertyValue();
  SendMessageW(h, BM_SETCHECK, static_cast<WPARAM>(valor), 0);  // BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE
  return Status::Ok();
}

std::u16string PageSurfaceWin32::Texto(int filho) const {
  HWND h = dialogo_.Filho(filho);
  return h ? TextoDe(h) : std::u16string();
}

Status PageSurfaceWin32::SetTexto(int filho, std::u16string_view texto) {
  Status erro;
  HWND h = Control(filho, ChildKind::CaixaTexto, erro);
  if (!h) return erro;
  PageDialog::Muted silencio(dialogo_);  // EN_CHANGE of this write is the page's own
  // As a program sets it: the length limit restricts typing only.
  if (!SetWindowTextW(h, Largo(texto).c_str())) return Status(Status::kOutOfMemory);
  return Status::Ok();
}

Status PageSurfaceWin32::SetDica(int filho, std::u16string_view dica) {
  if (!dialogo_.janela()) return kSemControle;
  return Status(dialogo_.SetDica(filho, dica));
}

bool PageSurfaceWin32::Visivel(int filho) const {
  HWND h = dialogo_.Filho(filho);
  return h && (GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE);
}

Status PageSurfaceWin32::SetVisivel(int filho, bool visivel) {
  HWND h = dialogo_.Filho(filho);
  if (!h) return dialogo_.janela() ? Status(Status::kInvalidArgument) : kSemControle;
  PageDialog::Muted silencio(dialogo_);  // a hidden text box may lose the focus
  ShowWindow(h, visivel ? SW_SHOW : SW_HIDE);
  return Status::Ok();
}

Status PageSurfaceWin32::AdicionaItem(int filho, std::u16string_view item) {
  Status erro;
  HWND h = Control(filho, ChildKind::Lista, erro);
  if (!h) return erro;
  const LRESULT r = SendMessageW(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Largo(item).c_str()));
  return r == CB_ERR || r == CB_ERRSPACE ? Status(Status::kOutOfMemory) : Status::Ok();
}

int PageSurfaceWin32::NumeroItens(int filho) const {
  Status erro;
  HWND h = Control(filho, ChildKind::Lista, erro);
  const LRESULT n = h ? SendMessageW(h, CB_GETCOUNT, 0, 0) : 0;
  return n == CB_ERR ? 0 : static_cast<int>(n);
}

int PageSurfaceWin32::IndiceSelecionado(int filho) const {
  Status erro;
  HWND h = Control(filho, ChildKind::Lista, erro);
  const LRESULT i = h ? SendMessageW(h, CB_GETCURSEL, 0, 0) : CB_ERR;
  return i == CB_ERR ? -1 : static_cast<int>(i);
}

Status PageSurfaceWin32::SetIndiceSelecionado(int filho, int indice) {
  Status erro;
  HWND h = Control(filho, ChildKind::Lista, erro);
  if (!h) return erro;
  if (indice < -1 || indice >= NumeroItens(filho)) return Status::InvalidPropertyValue();
  PageDialog::Muted silencio(dialogo_);
  SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(indice), 0);  // -1 clears the choice
  return Status::Ok();
}

void PageSurfaceWin32::SetAlterada(bool alterada) {
  if (alterada == alterada_) return;
  alterada_ = alterada;
  if (avisa_) avisa_(dono_, alterada);
}

void PageSurfaceWin32::MsgBox(std::u16string_view texto, int32_t estilo, std::u16string_view titulo) {
  // The frame that shows the page owns the box; an untitled box takes the frame's caption,
  // as a box without a title of its own shows the application's name.
  HWND dono = dialogo_.janela() ? GetAncestor(dialogo_.janela(), GA_ROOT) : nullptr;
  std::u16string t(titulo);
  if (t.empty() && dono) t = TextoDe(dono);
  if (t.empty()) t = u"Delvorin";
  MessageBoxW(dono, Largo(texto).c_str(), Largo(t).c_str(), static_cast<UINT>(estilo));
}

}  // namespace delvorin::ocx
