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

using ChangedNotice = void (*)(void* owner, bool changed);

class PageSurfaceWin32 final : public PageSurface {
 public:
  PageSurfaceWin32(PageDialog& dialog, ChangedNotice notify, void* owner)
      : dialog_(dialog), notify_(notify), owner_(owner) {}

  int16_t Value(int child) const override;
  Status SetValue(int child, int16_t value) override;
  std::u16string Text(int child) const override;
  Status SetText(int child, std::u16string_view text) override;
  Status SetTooltip(int child, std::u16string_view tip) override;
  bool Visible(int child) const override;
  Status SetVisible(int child, bool visible) override;
  bool Enabled(int child) const override;
  Status SetEnabled(int child, bool enabled) override;
  Status AddItem(int child, std::u16string_view item) override;
  int ItemCount(int child) const override;
  int SelectedIndex(int child) const override;
  Status SetSelectedIndex(int child, int index) override;
  bool Changed() const override { return changed_; }
  void SetChanged(bool changed) override;
  // Untitled: the caption of the frame that shows the page.
  void MsgBox(std::u16string_view text, int32_t style, std::u16string_view title) override;

  // The dialog is gone and its edits with it: clean again, without telling anyone.
  void Forget() { changed_ = false; }

 private:
  HWND Control(int child, ChildKind type, Status& error) const;

  PageDialog& dialog_;
  ChangedNotice notify_;
  void* owner_;
  bool changed_ = false;
};

}  // namespace delvorin::ocx
