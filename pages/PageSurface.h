#pragma once
// What a property page's logic needs of the dialog that shows it: the state of its child
// controls (by index in the page's table), the changed flag the host reads to offer Apply,
// and a message box. Writes made here never call back into the page: the page runs its own
// handlers for the values it changes, and the platform reports only the user's actions.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/Status.h"

namespace delvorin {

class PageSurface {
 public:
  // Check boxes: 0 clear, 1 ticked, 2 grayed.
  virtual int16_t Value(int child) const = 0;
  virtual Status SetValue(int child, int16_t value) = 0;
  // Text boxes.
  virtual std::u16string Text(int child) const = 0;
  virtual Status SetText(int child, std::u16string_view text) = 0;
  virtual Status SetTooltip(int child, std::u16string_view tooltip) = 0;
  virtual bool Visible(int child) const = 0;
  virtual Status SetVisible(int child, bool visible) = 0;
  // A disabled control is shown grayed and takes no input.
  virtual bool Enabled(int child) const = 0;
  virtual Status SetEnabled(int child, bool enabled) = 0;
  // Lists: items appended in order; the selected index is -1 when none is chosen.
  virtual Status AddItem(int child, std::u16string_view item) = 0;
  virtual int ItemCount(int child) const = 0;
  virtual int SelectedIndex(int child) const = 0;
  virtual Status SetSelectedIndex(int child, int index) = 0;
  // The page's changed flag: there are edits to apply.
  virtual bool Changed() const = 0;
  virtual void SetChanged(bool changed) = 0;
  // Modal; returns when closed. An empty title leaves the platform's own.
  virtual void MsgBox(std::u16string_view text, int32_t style, std::u16string_view title) = 0;

 protected:
  ~PageSurface() = default;
};

}  // namespace delvorin
