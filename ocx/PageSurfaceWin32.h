#pragma once
// The page logic's surface over the real dialog: check boxes through BM_GETCHECK/BM_SETCHECK,
// texts through Get/SetWindowTextW, visibility through ShowWindow, lists through CB_ADDSTRING,
// CB_GETCOUNT, CB_GETCURSEL and CB_SETCURSEL, tooltips through the dialog's tooltip window.
// Its own writes raise no notification the page would hear as the user's. The changed flag is
// kept here and each change of it is told to the page object; the message box is owned by the
// frame that shows the page.
#include "ocx/PageDialog.h"
#include "pages/PageSurface.h"

namespace delvorin::ocx {

using ChangedNotice = void (*)(void* dono, bool alterada);

class PageSurfaceWin32 final : public PageSurface {
 public:
  PageSurfaceWin32(PageDialog& dialogo, ChangedNotice avisa, void* dono)
      : dialogo_(dialogo), avisa_(avisa), dono_(dono) {}

  int16_t Valor(int filho) const override;
  Status SetValor(int filho, int16_t valor) override;
  std::u16string Texto(int filho) const override;
  Status SetTexto(int filho, std::u16string_view texto) override;
  Status SetDica(int filho, std::u16string_view dica) override;
  bool Visivel(int filho) const override;
  Status SetVisivel(int filho, bool visivel) override;
  Status AdicionaItem(int filho, std::u16string_view item) override;
  int NumeroItens(int filho) const override;
  int IndiceSelecionado(int filho) const override;
  Status SetIndiceSelecionado(int filho, int indice) override;
  bool Alterada() const override { return alterada_; }
  void SetAlterada(bool alterada) override;
  // Untitled: the caption of the frame that shows the page.
  void MsgBox(std::u16string_view texto, int32_t estilo, std::u16string_view titulo) override;

  // The dialog is gone and its edits with it: clean again, without telling anyone.
  void Esquece() { alterada_ = false; }

 private:
  HWND Control(int filho, ChildKind tipo, Status& erro) const;

  PageDialog& dialogo_;
  ChangedNotice avisa_;
  void* dono_;
  bool alterada_ = false;
};

}  // namespace delvorin::ocx
