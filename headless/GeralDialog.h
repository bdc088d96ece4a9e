#pragma once
// The Geral page shown in memory, as a property frame shows it: created once, loaded from
// and applied to the selected object, and driven by the user's actions on its controls by
// name. The focus moves as in a dialog: the control the user acts on takes it, and the one
// that had it loses it first (its LostFocus runs), also when Apply is pressed or the
// selection changes. Hidden controls and controls without a value cannot be edited.
#include <string_view>

#include "headless/PageSurface.h"
#include "pages/PaginaGeral.h"

namespace delvorin::headless {

class GeralDialog {
 public:
  explicit GeralDialog(AcessoPropriedades& selecionado);
  GeralDialog(const GeralDialog&) = delete;
  GeralDialog& operator=(const GeralDialog&) = delete;

  // What page creation returned.
  const Resultado& creation() const { return criacao_; }

  // The selection changed: the page loads from the first selected object.
  Resultado Load();
  // The Apply button.
  Resultado Apply();
  // The user gives a control a value: a text box's text (typed, so cut at its length
  // limit); a check box's 0, 1 or 2; a list's item, by its text or its index.
  Resultado Set(std::u16string_view nome, std::u16string_view valor);
  // The user clicks a control: a check box toggles, a list raises Click with its current
  // item, a text box takes the focus; a label or a line does nothing.
  Resultado Click(std::u16string_view nome);
  // The focus leaves the page.
  Resultado Leave() { return MoveFocus(-1); }

  HeadlessPageSurface& surface() { return surface_; }
  PaginaGeral& page() { return page_; }
  // Index of the control with the focus, -1 when none.
  int focused() const { return foco_; }

 private:
  Resultado MoveFocus(int filho);
  Resultado Find(std::u16string_view nome, int& filho) const;

  HeadlessPageSurface surface_;
  PaginaGeral page_;
  Resultado criacao_;
  int foco_ = -1;
};

}  // namespace delvorin::headless
