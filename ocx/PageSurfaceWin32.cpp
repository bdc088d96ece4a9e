#include "ocx/PageSurfaceWin32.h"

#include <string>

namespace delvorin::ocx {
namespace {

std::wstring ToWide(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

std::u16string WindowTextOf(HWND h) {
  const int n = GetWindowTextLengthW(h);
  if (n <= 0) return {};
  std::wstring w(static_cast<size_t>(n) + 1, L'\0');
  w.resize(static_cast<size_t>(GetWindowTextW(h, w.data(), n + 1)));
  return std::u16string(w.begin(), w.end());
}

// No dialog (the page is not active) or no such control.
constexpr Status kNoControl{static_cast<int32_t>(E_UNEXPECTED)};

}  // namespace

HWND PageSurfaceWin32::Control(int child, ChildKind type, Status& error) const {
  HWND h = dialog_.Child(child);
  if (!h) {
    error = dialog_.window() ? Status(Status::kInvalidArgument) : kNoControl;
    return nullptr;
  }
  if (dialog_.page().children[static_cast<size_t>(child)].type != type) {
    error = Status(Status::kInvalidProcedureCall);
    return nullptr;
  }
  return h;
}

int16_t PageSurfaceWin32::Value(int child) const {
  Status error;
  HWND h = Control(child, ChildKind::CheckBox, error);
  return h ? static_cast<int16_t>(SendMessageW(h, BM_GETCHECK, 0, 0)) : int16_t{0};
}

Status PageSurfaceWin32::SetValue(int child, int16_t value) {
  Status error;
  HWND h = Control(child, ChildKind::CheckBox, error);
  if (!h) return error;
  if (value < 0 || value > 2) return Status::InvalidPropertyValue();
  SendMessageW(h, BM_SETCHECK, static_cast<WPARAM>(value), 0);  // BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE
  return Status::Ok();
}

std::u16string PageSurfaceWin32::Text(int child) const {
  HWND h = dialog_.Child(child);
  return h ? WindowTextOf(h) : std::u16string();
}

Status PageSurfaceWin32::SetText(int child, std::u16string_view text) {
  Status error;
  HWND h = Control(child, ChildKind::TextBox, error);
  if (!h) return error;
  PageDialog::Muted muted(dialog_);  // EN_CHANGE of this write is the page's own
  // As a program sets it: the length limit restricts typing only.
  if (!SetWindowTextW(h, ToWide(text).c_str())) return Status(Status::kOutOfMemory);
  return Status::Ok();
}

Status PageSurfaceWin32::SetTooltip(int child, std::u16string_view tip) {
  if (!dialog_.window()) return kNoControl;
  return Status(dialog_.SetTip(child, tip));
}

bool PageSurfaceWin32::Visible(int child) const {
  HWND h = dialog_.Child(child);
  return h && (GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE);
}

Status PageSurfaceWin32::SetVisible(int child, bool visible) {
  HWND h = dialog_.Child(child);
  if (!h) return dialog_.window() ? Status(Status::kInvalidArgument) : kNoControl;
  PageDialog::Muted muted(dialog_);  // a hidden text box may lose the focus
  ShowWindow(h, visible ? SW_SHOW : SW_HIDE);
  return Status::Ok();
}

bool PageSurfaceWin32::Enabled(int child) const {
  HWND h = dialog_.Child(child);
  return h && IsWindowEnabled(h);
}

Status PageSurfaceWin32::SetEnabled(int child, bool enabled) {
  HWND h = dialog_.Child(child);
  if (!h) return dialog_.window() ? Status(Status::kInvalidArgument) : kNoControl;
  PageDialog::Muted muted(dialog_);  // a disabled control may lose the focus
  EnableWindow(h, enabled ? TRUE : FALSE);
  return Status::Ok();
}

Status PageSurfaceWin32::AddItem(int child, std::u16string_view item) {
  Status error;
  HWND h = Control(child, ChildKind::List, error);
  if (!h) return error;
  const LRESULT r = SendMessageW(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(item).c_str()));
  return r == CB_ERR || r == CB_ERRSPACE ? Status(Status::kOutOfMemory) : Status::Ok();
}

int PageSurfaceWin32::ItemCount(int child) const {
  Status error;
  HWND h = Control(child, ChildKind::List, error);
  const LRESULT n = h ? SendMessageW(h, CB_GETCOUNT, 0, 0) : 0;
  return n == CB_ERR ? 0 : static_cast<int>(n);
}

int PageSurfaceWin32::SelectedIndex(int child) const {
  Status error;
  HWND h = Control(child, ChildKind::List, error);
  const LRESULT i = h ? SendMessageW(h, CB_GETCURSEL, 0, 0) : CB_ERR;
  return i == CB_ERR ? -1 : static_cast<int>(i);
}

Status PageSurfaceWin32::SetSelectedIndex(int child, int index) {
  Status error;
  HWND h = Control(child, ChildKind::List, error);
  if (!h) return error;
  if (index < -1 || index >= ItemCount(child)) return Status::InvalidPropertyValue();
  PageDialog::Muted muted(dialog_);
  SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(index), 0);  // -1 clears the choice
  return Status::Ok();
}

void PageSurfaceWin32::SetChanged(bool changed) {
  if (changed == changed_) return;
  changed_ = changed;
  if (notify_) notify_(owner_, changed);
}

void PageSurfaceWin32::MsgBox(std::u16string_view text, int32_t style, std::u16string_view title) {
  // The frame that shows the page owns the box; an untitled box takes the frame's caption,
  // as a box without a title of its own shows the application's name.
  HWND owner = dialog_.window() ? GetAncestor(dialog_.window(), GA_ROOT) : nullptr;
  std::u16string t(title);
  if (t.empty() && owner) t = WindowTextOf(owner);
  if (t.empty()) t = u"Delvorin";
  MessageBoxW(owner, ToWide(text).c_str(), ToWide(t).c_str(), static_cast<UINT>(style));
}

}  // namespace delvorin::ocx
