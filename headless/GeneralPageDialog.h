#pragma once
// The Geral page shown in memory, as a property frame shows it: created once, loaded from
// and applied to the selected object, and driven by the user's actions on its controls by
// name. The focus moves as in a dialog: the control the user acts on takes it, and the one
// that had it loses it first (its LostFocus runs), also when Apply is pressed or the
// selection changes. Hidden controls and controls without a value cannot be edited.
#include <string_view>

#include "headless/PageSurfaceHeadless.h"
#include "pages/GeneralPage.h"

namespace delvorin::headless {

class GeneralPageDialog {
 public:
  explicit GeneralPageDialog(PropertyAccess& selected);
  GeneralPageDialog(const GeneralPageDialog&) = delete;
  GeneralPageDialog& operator=(const GeneralPageDialog&) = delete;

  // What page creation returned.
  const Result& creation() const { return creation_; }

  // The selection changed: the page loads from the first selected object.
  Result Load();
  // The Apply button.
  Result Apply();
  // The user gives a control a value: a text box's text (typed, so cut at its length
  // limit); a check box's 0, 1 or 2; a list's item, by its text or its index.
  Result Set(std::u16string_view name, std::u16string_view value);
  // The user clicks a control: a check box toggles, a list raises Click with its current
  // item, a text box takes the focus; a label or a line does nothing.
  Result Click(std::u16string_view name);
  // The focus leaves the page.
  Result Leave() { return MoveFocus(-1); }

  PageSurfaceHeadless& surface() { return surface_; }
  GeneralPage& page() { return page_; }
  // Index of the control with the focus, -1 when none.
  int focused() const { return focus_; }

 private:
  Result MoveFocus(int child);
  Result Find(std::u16string_view name, int& child) const;

  PageSurfaceHeadless surface_;
  GeneralPage page_;
  Result creation_;
  int focus_ = -1;
};

}  // namespace delvorin::headless
