#include "ocx/PageDialog.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "ocx/Screen.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace delvorin::ocx {
namespace {

HINSTANCE ModuleInstance() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

std::wstring ToWide(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

COLORREF ColorOf(const Rgb& c) { return RGB(c.r, c.g, c.b); }

// Pixels per inch of the screen, horizontally and vertically.
POINT Dpi() { return {ScreenDpi(true), ScreenDpi(false)}; }

// An empty child dialog: the controls are created over it in pixels. DS_CONTROL makes it a
// control parent, so that the frame's dialog navigation (Tab) reaches into it.
struct alignas(4) EmptyTemplate {
  DLGTEMPLATE dlgTemplate;
  WORD menu, cls, title;
};
const EmptyTemplate kEmptyTemplate = {{WS_CHILD | DS_CONTROL | DS_3DLOOK, WS_EX_CONTROLPARENT, 0, 0, 0, 0, 0}, 0, 0, 0};

// Room for the items of an open list below its selection field.
constexpr int kListDropHeightTwips = 2400;

}  // namespace

SIZE PageDialog::PageSize(const PageDescription& page) {
  const POINT dpi = Dpi();
  return {MulDiv(page.width, dpi.x, 1440), MulDiv(page.height, dpi.y, 1440)};
}

RECT PageDialog::ChildRect(const PageDescription& page, int index) {
  if (index < 0 || index >= static_cast<int>(page.children.size())) return {};
  const ChildDescription& d = page.children[static_cast<size_t>(index)];
  Rect p = d.position;
  if (d.frame >= 0 && d.frame < static_cast<int>(page.children.size())) {
    p.left += page.children[static_cast<size_t>(d.frame)].position.left;
    p.top += page.children[static_cast<size_t>(d.frame)].position.top;
  }
  const POINT dpi = Dpi();
  RECT r{MulDiv(p.left, dpi.x, 1440), MulDiv(p.top, dpi.y, 1440), MulDiv(p.left + p.width, dpi.x, 1440),
         MulDiv(p.top + p.height, dpi.y, 1440)};
  if (d.type == ChildKind::Line) {  // an etched line is two pixels thick
    if (r.bottom - r.top < 2) r.bottom = r.top + 2;
    if (r.right - r.left < 2) r.right = r.left + 2;
  }
  return r;
}

HRESULT PageDialog::Create(HWND parent, const RECT& area) {
  if (window_) return E_UNEXPECTED;
  INITCOMMONCONTROLSEX commonControls{sizeof(commonControls), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&commonControls);  // the tooltip class
  HWND h = CreateDialogIndirectParamW(ModuleInstance(), &kEmptyTemplate.dlgTemplate, parent, DialogProc, reinterpret_cast<LPARAM>(this));
  if (!h) {
    const DWORD error = GetLastError();
    return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
  }
  MoveWindow(window_, area.left, area.top, area.right - area.left, area.bottom - area.top, FALSE);
  HRESULT hr = CreateChildren();
  if (FAILED(hr)) Destroy();
  return hr;
}

void PageDialog::Destroy() {
  if (window_) {
    Muted muted(*this);  // a text box losing the focus as it goes is no user's action
    DestroyWindow(window_);
  }
  if (window_) {  // not destroyed (another thread's window): forget it all the same
    SetWindowLongPtrW(window_, DWLP_USER, 0);
    FreeResources();
  }
}

HWND PageDialog::Child(int index) const {
  return index >= 0 && index < static_cast<int>(children_.size()) ? children_[static_cast<size_t>(index)] : nullptr;
}

int PageDialog::IndexOf(HWND control) const {
  if (!control) return -1;
  for (size_t i = 0; i < children_.size(); ++i)
    if (children_[i] == control || dropDowns_[i] == control) return static_cast<int>(i);
  return -1;
}

HFONT PageDialog::MakeFont(const delvorin::FontDescription& f) {
  const POINT dpi = Dpi();
  const int height = -static_cast<int>(std::lround(f.points * dpi.y / 72.0));
  HFONT h = CreateFontW(height, 0, 0, 0, f.bold ? FW_BOLD : FW_NORMAL, f.italic, FALSE, FALSE, DEFAULT_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                        ToWide(f.name).c_str());
  if (h) fonts_.push_back(h);
  return h;
}

HRESULT PageDialog::CreateChildren() {
  const size_t n = page_.children.size();
  children_.assign(n, nullptr);
  dropDowns_.assign(n, nullptr);
  brushes_.assign(n, nullptr);
  hasTip_.assign(n, false);
  pageFont_ = MakeFont(page_.font);
  if (!pageFont_) return E_OUTOFMEMORY;
  // Creation order is the dialog's tab order: by tab index, controls without one last.
  std::vector<int> order(n);
  for (size_t i = 0; i < n; ++i) order[i] = static_cast<int>(i);
  std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
    auto key = [this](int i) {
      const int16_t t = page_.children[static_cast<size_t>(i)].tabIndex;
      return t == kNoTab ? INT16_MAX : t;
    };
    return key(a) < key(b);
  });
  for (int i : order) {
    HRESULT hr = CreateChild(i);
    if (FAILED(hr)) return hr;
  }
  for (size_t i = 0; i < n; ++i) {
    const ChildDescription& d = page_.children[i];
    // A frame lies under the controls it holds.
    if (d.type == ChildKind::Frame)
      SetWindowPos(children_[i], HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!d.tooltip.empty()) {
      HRESULT hr = SetTip(static_cast<int>(i), d.tooltip);
      if (FAILED(hr)) return hr;
    }
  }
  return S_OK;
}

HRESULT PageDialog::CreateChild(int index) {
  const ChildDescription& d = page_.children[static_cast<size_t>(index)];
  const RECT r = ChildRect(page_, index);
  int height = r.bottom - r.top;
  DWORD style = WS_CHILD | (d.visible ? WS_VISIBLE : 0);
  DWORD exStyle = 0;
  const wchar_t* cls = L"STATIC";
  std::wstring text = ToWide(d.caption);
  switch (d.type) {
    case ChildKind::Label:
      style |= d.alignment == Alignment::Centre ? SS_CENTER : SS_LEFT;
      break;
    case ChildKind::List:
      cls = L"COMBOBOX";
      style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
      height += MulDiv(kListDropHeightTwips, Dpi().y, 1440);
      text.clear();
      break;
    case ChildKind::TextBox:
      cls = L"EDIT";
      style |= ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP;
      exStyle = WS_EX_CLIENTEDGE;
      text.clear();  // text boxes start empty
      break;
    case ChildKind::CheckBox:
      // Not automatic: the page toggles it on a click; three states, for a grayed value.
      cls = L"BUTTON";
      style |= BS_3STATE | WS_TABSTOP | (d.multiLine ? BS_MULTILINE : 0);
      break;
    case ChildKind::Line:
      style |= SS_ETCHEDHORZ;
      text.clear();
      break;
    case ChildKind::Frame:
      cls = L"BUTTON";
      style |= BS_GROUPBOX;
      break;
  }
  HWND h = CreateWindowExW(exStyle, cls, text.c_str(), style, r.left, r.top, r.right - r.left, height, window_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdBase + index)), ModuleInstance(), nullptr);
  if (!h) {
    const DWORD error = GetLastError();
    return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
  }
  children_[static_cast<size_t>(index)] = h;
  HFONT font = d.font ? MakeFont(*d.font) : pageFont_;
  SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (d.backColour) {
    brushes_[static_cast<size_t>(index)] = CreateSolidBrush(ColorOf(*d.backColour));
    if (!brushes_[static_cast<size_t>(index)]) return E_OUTOFMEMORY;
  }
  if (d.type == ChildKind::Line)  // an etched line sizes itself to its edge: back to the table's length
    SetWindowPos(h, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (d.type == ChildKind::TextBox && d.maxLength > 0)
    SendMessageW(h, EM_LIMITTEXT, static_cast<WPARAM>(d.maxLength), 0);
  if (d.type == ChildKind::List) {
    // The selection field's height follows the font; bring it to the described height. What
    // CB_SETITEMHEIGHT adds around the height it is given differs between implementations:
    // measured, and corrected once more.
    LRESULT item = SendMessageW(h, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    for (int attempt = 0; attempt < 2 && item != CB_ERR; ++attempt) {
      RECT window;
      GetWindowRect(h, &window);
      const int diff = (r.bottom - r.top) - (window.bottom - window.top);
      if (diff == 0 || item + diff <= 0) break;
      item += diff;
      SendMessageW(h, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), item);
    }
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (GetComboBoxInfo(h, &info)) dropDowns_[static_cast<size_t>(index)] = info.hwndList;
  }
  return S_OK;
}

HRESULT PageDialog::SetTip(int index, std::u16string_view tip) {
  HWND child = Child(index);
  if (!child) return E_INVALIDARG;
  if (!tooltips_) {
    tooltips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, ModuleInstance(),
                             nullptr);
    if (!tooltips_) return E_FAIL;
    SendMessageW(tooltips_, TTM_SETMAXTIPWIDTH, 0, MulDiv(4320, Dpi().x, 1440));  // long tips wrap
  }
  std::wstring text = ToWide(tip);
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;  // understood by every version of the common controls
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = window_;
  tool.uId = reinterpret_cast<UINT_PTR>(child);
  tool.lpszText = text.data();
  const bool hadTip = hasTip_[static_cast<size_t>(index)];
  if (text.empty()) {
    if (hadTip) SendMessageW(tooltips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    hasTip_[static_cast<size_t>(index)] = false;
    return S_OK;
  }
  if (hadTip) {
    SendMessageW(tooltips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    return S_OK;
  }
  if (!SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) return E_FAIL;
  hasTip_[static_cast<size_t>(index)] = true;
  return S_OK;
}

INT_PTR CALLBACK PageDialog::DialogProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
  if (message == WM_INITDIALOG) {
    auto* d = reinterpret_cast<PageDialog*>(lp);
    SetWindowLongPtrW(window, DWLP_USER, lp);
    d->window_ = window;
    return FALSE;  // the focus stays where the frame put it
  }
  auto* d = reinterpret_cast<PageDialog*>(GetWindowLongPtrW(window, DWLP_USER));
  return d ? d->HandleMessage(message, wp, lp) : FALSE;
}

INT_PTR PageDialog::HandleMessage(UINT message, WPARAM wp, LPARAM lp) {
  switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
      return Colours(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp), message);
    case WM_COMMAND: {
      const int index = static_cast<int>(LOWORD(wp)) - kIdBase;
      if (lp && Child(index) == reinterpret_cast<HWND>(lp)) {
        OnCommand(index, HIWORD(wp));
        return TRUE;
      }
      return FALSE;
    }
    case WM_NCDESTROY:
      FreeResources();  // the children are gone: their fonts and brushes can go
      return FALSE;
    default:
      return FALSE;
  }
}

INT_PTR PageDialog::Colours(HDC dc, HWND control, UINT message) {
  const int i = IndexOf(control);
  if (i < 0) return FALSE;
  const ChildDescription& d = page_.children[static_cast<size_t>(i)];
  if (!d.textColour && !d.backColour) return FALSE;
  if (d.textColour) SetTextColor(dc, ColorOf(*d.textColour));
  if (d.backColour) {
    SetBkColor(dc, ColorOf(*d.backColour));
    return reinterpret_cast<INT_PTR>(brushes_[static_cast<size_t>(i)]);
  }
  // Only the text has a colour of its own: the background stays the system's.
  const int systemId = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX ? COLOR_WINDOW : COLOR_BTNFACE;
  SetBkColor(dc, GetSysColor(systemId));
  return reinterpret_cast<INT_PTR>(GetSysColorBrush(systemId));
}

void PageDialog::OnCommand(int index, WORD code) {
  if (muted_ || !notify_) return;
  switch (page_.children[static_cast<size_t>(index)].type) {
    case ChildKind::List:
      if (code == CBN_SELCHANGE) notify_(owner_, ChildAction::Click, index);
      break;
    case ChildKind::CheckBox:
      if (code == BN_CLICKED) {
        // As a check box does: a ticked box clears, a clear or grayed one is ticked.
        HWND h = Child(index);
        const bool checked = SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED;
        SendMessageW(h, BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
        notify_(owner_, ChildAction::Click, index);
      }
      break;
    case ChildKind::TextBox:
      if (code == EN_CHANGE) notify_(owner_, ChildAction::Change, index);
      if (code == EN_KILLFOCUS) notify_(owner_, ChildAction::FocusLost, index);
      break;
    default:
      break;
  }
}

void PageDialog::FreeResources() {
  if (tooltips_ && IsWindow(tooltips_)) DestroyWindow(tooltips_);
  tooltips_ = nullptr;
  for (HFONT f : fonts_) DeleteObject(f);
  for (HBRUSH b : brushes_)
    if (b) DeleteObject(b);
  fonts_.clear();
  pageFont_ = nullptr;
  brushes_.clear();
  children_.clear();
  dropDowns_.clear();
  hasTip_.clear();
  window_ = nullptr;
}

}  // namespace delvorin::ocx
