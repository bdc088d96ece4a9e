#pragma once
// A property page's child controls in memory, built from the page's table: values, texts,
// captions, tooltips, visibility, list items and selection, the changed flag, and the
// message boxes shown (recorded, and answered at once). Every write is checked against the
// control's kind and range, so a page that misuses a control gets an error, not a guess.
#include <functional>
#include <string>
#include <vector>

#include "headless/ContainerHeadless.h"
#include "pages/PageModel.h"
#include "pages/PageSurface.h"

namespace delvorin::headless {

class PageSurfaceHeadless final : public PageSurface {
 public:
  explicit PageSurfaceHeadless(const PageDescription& pagina);

  int16_t Value(int filho) const override;
  Status SetValor(int filho, int16_t value) override;
  std::u16string Text(int filho) const override;
  Status SetTexto(int filho, std::u16string_view text) override;
  Status SetDica(int filho, std::u16string_view dica) override;
  bool Visivel(int filho) const override;
  Status SetVisivel(int filho, bool visivel) override;
  Status AdicionaItem(int filho, std::u16string_view item) override;
  int NumeroItens(int filho) const override;
  int IndiceSelecionado(int filho) const override;
  Status SetIndiceSelecionado(int filho, int indice) override;
  bool Alterada() const override { return alterada_; }
  void SetAlterada(bool alterada) override { alterada_ = alterada; }
  void MsgBox(std::u16string_view text, int32_t estilo, std::u16string_view titulo) override;

  const PageDescription& pagina() const { return pagina_; }
  std::u16string Dica(int filho) const;
  std::vector<std::u16string> Itens(int filho) const;
  const std::vector<MessageBoxShown>& messageBoxes() const { return shown_; }
  // Called while a box is "open".
  std::function<void(const MessageBoxShown&)> onMessageBox;

  // One line per child control, in table order: name, visible or hidden, and its state
  // (a check box's value, a text in quotes, a list's index and item, a caption in quotes);
  // then "changed: yes" or "changed: no".
  std::vector<std::u16string> Lines() const;

 private:
  struct State {
    int16_t value = 0;
    std::u16string text;  // a text box's text, or the caption
    std::u16string dica;
    bool visivel = true;
    std::vector<std::u16string> itens;
    int indice = -1;
  };
  bool Existe(int filho) const { return filho >= 0 && filho < static_cast<int>(estados_.size()); }
  Status Confere(int filho, ChildKind type) const;

  const PageDescription& pagina_;
  std::vector<State> estados_;
  bool alterada_ = false;
  std::vector<MessageBoxShown> shown_;
};

}  // namespace delvorin::headless
