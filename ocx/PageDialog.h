#pragma once
// A property page's dialog built from its table (pages/PageModel.h): a child dialog of the
// frame's window whose child controls sit at the table's positions, converted from twips to
// the dialog's pixels at the screen's DPI, with their captions, tooltips, colours, fonts,
// initial visibility and, by creation order, their tab order. Control id = table index +
// kIdBase. The user's actions on the controls are passed on by table index; writes the page
// makes itself are not (Muted).
#include "ocx/Com.h"

#include <string_view>
#include <vector>

#include "pages/PageModel.h"

namespace delvorin::ocx {

enum class ChildAction { Clique, Alteracao, PerdeFoco };
// Click of a list (the user chose an item) or of a check box (already toggled); Change of a
// text box; the focus left a text box.
using ChildNotification = void (*)(void* dono, ChildAction acao, int filho);

class PageDialog {
 public:
  static constexpr int kIdBase = 1000;

  PageDialog(const PageDescription& pagina, ChildNotification notifica, void* dono)
      : pagina_(pagina), notifica_(notifica), dono_(dono) {}
  PageDialog(const PageDialog&) = delete;
  PageDialog& operator=(const PageDialog&) = delete;
  ~PageDialog() { Destroi(); }

  // The dialog inside pai, over area (pai's client coordinates), hidden until shown.
  HRESULT Cria(HWND pai, const RECT& area);
  void Destroi();

  const PageDescription& pagina() const { return pagina_; }
  HWND janela() const { return janela_; }
  // The child control of that table index, or nullptr.
  HWND Filho(int indice) const;
  // The table index of a child control (or of a list's drop-down part), or -1.
  int Indice(HWND controle) const;
  HRESULT SetDica(int indice, std::u16string_view dica);

  // While one lives, the controls' notifications are not passed on: the page is writing.
  class Muted {
   public:
    explicit Muted(PageDialog& d) : d_(d) { ++d_.silencio_; }
    ~Muted() { --d_.silencio_; }
    Muted(const Muted&) = delete;
    Muted& operator=(const Muted&) = delete;

   private:
    PageDialog& d_;
  };

  // The page's client area and a child control's rectangle, in pixels at the screen's DPI.
  static SIZE Tamanho(const PageDescription& pagina);
  static RECT Posicao(const PageDescription& pagina, int indice);

 private:
  static INT_PTR CALLBACK Procedimento(HWND janela, UINT mensagem, WPARAM wp, LPARAM lp);
  INT_PTR Mensagem(UINT mensagem, WPARAM wp, LPARAM lp);
  HRESULT CriaFilhos();
  HRESULT CriaFilho(int indice);
  HFONT Fonte(const Fonte& f);
  INT_PTR Cores(HDC dc, HWND controle, UINT mensagem);
  void Comando(int indice, WORD codigo);
  void Libera();

  const PageDescription& pagina_;
  ChildNotification notifica_;
  void* dono_;
  HWND janela_ = nullptr;
  RECT area_{};
  std::vector<HWND> filhos_;
  std::vector<HWND> listas_;      // the drop-down part of each list, by index
  std::vector<HBRUSH> fundos_;    // by index: the background of a control with a colour of its own
  std::vector<bool> comDica_;     // by index: a tool of the tooltip window
  std::vector<HFONT> fontes_;     // created here, deleted with the dialog
  HFONT fontePagina_ = nullptr;   // for the controls without a font of their own
  HWND dicas_ = nullptr;          // the tooltip window
  int silencio_ = 0;
};

}  // namespace delvorin::ocx
