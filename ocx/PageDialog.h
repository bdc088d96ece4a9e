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

enum class ChildAction { Click, Change, FocusLost };
// Click of a list (the user chose an item) or of a check box (already toggled); Change of a
// text box; the focus left a text box.
using ChildNotification = void (*)(void* owner, ChildAction action, int child);

class PageDialog {
 public:
  static constexpr int kIdBase = 1000;

  PageDialog(const PageDescription& page, ChildNotification notify, void* owner)
      : page_(page), notify_(notify), owner_(owner) {}
  PageDialog(const PageDialog&) = delete;
  PageDialog& operator=(const PageDialog&) = delete;
  ~PageDialog() { Destroy(); }

  // The dialog inside parent, over area (parent's client coordinates), hidden until shown.
  HRESULT Create(HWND parent, const RECT& area);
  void Destroy();

  const PageDescription& page() const { return page_; }
  HWND window() const { return window_; }
  // The child control of that table index, or nullptr.
  HWND Child(int index) const;
  // The table index of a child control (or of a list's drop-down part), or -1.
  int IndexOf(HWND control) const;
  HRESULT SetTip(int index, std::u16string_view tip);

  // While one lives, the controls' notifications are not passed on: the page is writing.
  class Muted {
   public:
    explicit Muted(PageDialog& d) : d_(d) { ++d_.muted_; }
    ~Muted() { --d_.muted_; }
    Muted(const Muted&) = delete;
    Muted& operator=(const Muted&) = delete;

   private:
    PageDialog& d_;
  };

  // The page's client area and a child control's rectangle, in pixels at the screen's DPI.
  static SIZE PageSize(const PageDescription& page);
  static RECT ChildRect(const PageDescription& page, int index);

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wp, LPARAM lp);
  INT_PTR HandleMessage(UINT message, WPARAM wp, LPARAM lp);
  HRESULT CreateChildren();
  HRESULT CreateChild(int index);
  HFONT MakeFont(const FontDescription& f);
  INT_PTR Colours(HDC dc, HWND control, UINT message);
  void OnCommand(int index, WORD code);
  void FreeResources();

  const PageDescription& page_;
  ChildNotification notify_;
  void* owner_;
  HWND window_ = nullptr;
  RECT area_{};
  std::vector<HWND> children_;
  std::vector<HWND> dropDowns_;      // the drop-down part of each list, by index
  std::vector<HBRUSH> brushes_;    // by index: the background of a control with a colour of its own
  std::vector<bool> hasTip_;     // by index: a tool of the tooltip window
  std::vector<HFONT> fonts_;     // created here, deleted with the dialog
  HFONT pageFont_ = nullptr;   // for the controls without a font of their own
  HWND tooltips_ = nullptr;          // the tooltip window
  int muted_ = 0;
};

}  // namespace delvorin::ocx
