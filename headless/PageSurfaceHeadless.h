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
  explicit PageSurfaceHeadless(const PageDescription& page);

  int16_t Value(int child) const override;
  Status SetValue(int child, int16_t value) override;
  std::u16string Text(int child) const override;
  Status SetText(int child, std::u16string_view text) override;
  Status SetTooltip(int child, std::u16string_view tooltip) override;
  bool Visible(int child) const override;
  Status SetVisible(int child, bool visible) override;
  bool Enabled(int child) const override;
  Status SetEnabled(int child, bool enabled) override;
  Status AddItem(int child, std::u16string_view item) override;
  int ItemCount(int child) const override;
  int SelectedIndex(int child) const override;
  Status SetSelectedIndex(int child, int index) override;
  bool Changed() const override { return changed_; }
  void SetChanged(bool changed) override { changed_ = changed; }
  void MsgBox(std::u16string_view text, int32_t style, std::u16string_view title) override;

  const PageDescription& page() const { return page_; }
  std::u16string Tooltip(int child) const;
  std::vector<std::u16string> Items(int child) const;
  const std::vector<MessageBoxShown>& messageBoxes() const { return shown_; }
  // Called while a box is "open".
  std::function<void(const MessageBoxShown&)> onMessageBox;

  // One line per child control, in table order: name, visible or hidden, "disabled" if so, and its state
  // (a check box's value, a text in quotes, a list's index and item, a caption in quotes);
  // then "changed: yes" or "changed: no".
  std::vector<std::u16string> Lines() const;

 private:
  struct State {
    int16_t value = 0;
    std::u16string text;  // a text box's text, or the caption
    std::u16string tooltip;
    bool visible = true;
    bool enabled = true;
    std::vector<std::u16string> items;
    int index = -1;
  };
  bool Exists(int child) const { return child >= 0 && child < static_cast<int>(states_.size()); }
  Status Check(int child, ChildKind type) const;
  // Sets one of a child's flags (visible, enabled); a child that does not exist is refused.
  Status SetFlag(int child, bool State::*flag, bool on);

  const PageDescription& page_;
  std::vector<State> states_;
  bool changed_ = false;
  std::vector<MessageBoxShown> shown_;
};

}  // namespace delvorin::headless
