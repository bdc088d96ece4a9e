#include "ocx/EditBoxWin32.h"

#include <algorithm>
#include <initializer_list>

#include "core/EditBoxRules.h"
#include "input/Cp1252.h"
#include "ocx/ComObject.h"
#include "ocx/Screen.h"

namespace delvorin::ocx {
namespace {

// Posted to the window by itself after it lost the focus (NoticeFocusLeft).
constexpr UINT kFocusLeftMessage = WM_APP + 0x44;

int16_t ShiftState() {
  int16_t s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= 1;
  if (GetKeyState(VK_CONTROL) < 0) s |= 2;
  if (GetKeyState(VK_MENU) < 0) s |= 4;
  return s;
}

int Pixels(float twips, bool horizontal) { return MulDiv(static_cast<int>(twips), ScreenDpi(horizontal), 1440); }

// Mouse positions reach the host in twips, the unit of a VB-style form's default scale.
float Twips(int pixels, bool horizontal) { return static_cast<float>(pixels) * 1440.0f / static_cast<float>(ScreenDpi(horizontal)); }

COLORREF ColorOf(const Variant& v) {
  COLORREF c = 0;
  return SUCCEEDED(OleTranslateColor(static_cast<OLE_COLOR>(v.i4()), nullptr, &c)) ? c : 0;
}

// The system cursor of each MousePointer value 1..15 (0 leaves the edit box's own): arrow,
// cross, I-beam, icon, size, NE-SW, N-S, NW-SE, W-E, up arrow, hourglass, no drop, arrow and
// hourglass, arrow and question mark, size all.
WORD SystemCursor(int16_t pointer) {
  static constexpr WORD kCursors[] = {0,     32512, 32515, 32513, 32641, 32646, 32643, 32645,
                                       32642, 32644, 32516, 32514, 32648, 32650, 32651, 32646};
  return pointer > 0 && pointer < 16 ? kCursors[pointer] : 0;
}

// The most of a clipboard text that one paste takes. The field is a single line and the paste
// rule raises KeyPress for every character: a text of megabytes would keep the host busy for
// minutes.
constexpr size_t kMaxPasted = 65535;

// The clipboard's text; empty when the clipboard cannot be opened or holds no text. The data
// need not end in a NUL within its block: the read stops at the block's end.
std::u16string ClipboardText(HWND owner) {
  std::u16string text;
  if (!OpenClipboard(owner)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    const size_t units = std::min<size_t>(GlobalSize(data) / sizeof(char16_t), kMaxPasted);
    if (const auto* p = static_cast<const char16_t*>(GlobalLock(data))) {
      text.assign(p, std::find(p, p + units, u'\0'));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// The handle of the font a property value holds, or nullptr; asking realises the font.
HFONT HandleOf(const Variant& v) {
  auto* font = static_cast<IFont*>(ComObject::Interface(v, IID_IFont));
  HFONT h = nullptr;
  if (font && FAILED(IFont_get_hFont(font, &h))) h = nullptr;
  if (font) IFont_Release(font);
  return h;
}

}  // namespace

EditBoxWin32::~EditBoxWin32() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
    DestroyWindow(hwnd_);
  }
  if (backBrush_) DeleteObject(backBrush_);
}

HBRUSH EditBoxWin32::Colours(HDC dc) {
  SetTextColor(dc, ColorOf(properties_[Property::ForeColor]));
  const COLORREF back = ColorOf(properties_[Property::BackColor]);
  SetBkColor(dc, back);
  if (!backBrush_ || backColor_ != back) {
    if (backBrush_) DeleteObject(backBrush_);
    backBrush_ = CreateSolidBrush(back);
    backColor_ = back;
  }
  return backBrush_;
}

void EditBoxWin32::Init(EditBoxEvents* events, EditBoxOwner* owner, float widthTwips, float heightTwips) {
  events_ = events;
  owner_ = owner;
  held_ = std::make_unique<Held>();
  width_ = widthTwips;
  height_ = heightTwips;
  pixels_ = SIZE{Pixels(width_, true), Pixels(height_, false)};
  properties_[Property::Alignment] = Variant::I2(0);
  properties_[Property::BackColor] = Variant::I4(static_cast<int32_t>(0x80000005));
  properties_[Property::BorderStyle] = Variant::I2(1);
  properties_[Property::ForeColor] = Variant::I4(static_cast<int32_t>(0x80000008));
  properties_[Property::Appearance] = Variant::I2(1);
  properties_[Property::MousePointer] = Variant::I2(0);
  properties_[Property::Font] = Variant::Object(nullptr);
  properties_[Property::MouseIcon] = Variant::Object(nullptr);
  // The window's own state while there is none.
  properties_[Property::Enabled] = Variant::Boolean(kTrue);
  properties_[Property::Locked] = Variant::Boolean(kFalse);
  properties_[Property::MaxLength] = Variant::I4(0);
  properties_[Property::PasswordChar] = Variant::Str(u"");
}

void EditBoxWin32::ComputeStyles(LONG& style, LONG& ex) {
  static constexpr LONG kAlignment[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
  style = (style & ~(ES_LEFT | ES_RIGHT | ES_CENTER | WS_BORDER)) | kAlignment[properties_[Property::Alignment].i2()];
  const bool border = properties_[Property::BorderStyle].i2() == 1;
  const bool sunken = properties_[Property::Appearance].i2() == 1;
  if (border && !sunken) style |= WS_BORDER;
  ex &= ~WS_EX_CLIENTEDGE;
  if (border && sunken) ex |= WS_EX_CLIENTEDGE;
}

bool EditBoxWin32::MakeWindow(HWND parent, const RECT& pos, bool alone) {
  if (hwnd_) return true;
  LONG style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, ex = 0;
  ComputeStyles(style, ex);
  if (properties_[Property::Enabled].boolean() == 0) style |= WS_DISABLED;
  if (properties_[Property::Locked].boolean() != 0) style |= ES_READONLY;
  const std::u16string password = properties_[Property::PasswordChar].str();
  if (!password.empty()) style |= ES_PASSWORD;
  // Made where it belongs with its text, styles and size, so that nothing is moved or redrawn
  // afterwards: every window operation is a round trip to the window system.
  const POINT corner = alone ? POINT{pos.left, pos.top} : POINT{0, 0};
  if (alone) pixels_ = SIZE{pos.right - pos.left, pos.bottom - pos.top};
  hwnd_ = CreateWindowExW(ex, L"EDIT", reinterpret_cast<const wchar_t*>(held_->text.c_str()), style, corner.x, corner.y, pixels_.cx,
                          pixels_.cy, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) return false;
  alone_ = alone;
  // The owner in the window's user data: every message looks it up, and a window property
  // would cost a round trip to the window system each time.
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  original_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc)));
  HFONT font = FontHandle();
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font : GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  const int32_t limit = properties_[Property::MaxLength].i4();
  SendMessageW(hwnd_, EM_LIMITTEXT, static_cast<WPARAM>(limit == 0 ? 0x7FFFFFFE : limit), 0);
  if (!password.empty()) SendMessageW(hwnd_, EM_SETPASSWORDCHAR, static_cast<WPARAM>(password[0]), 0);
  if (held_->start != 0 || held_->end != 0) SendMessageW(hwnd_, EM_SETSEL, static_cast<WPARAM>(held_->start), static_cast<LPARAM>(held_->end));
  // From here on the window holds these.
  if (lastTextStale_) lastText_ = held_->text;
  lastTextStale_ = false;
  held_.reset();
  for (Property p : {Property::Enabled, Property::Locked, Property::MaxLength, Property::PasswordChar}) properties_.erase(p);
  return true;
}

void EditBoxWin32::TakeOutOfPlace() {
  // Hiding the window with the focus moves the focus to the container. Out of place the field
  // leaves as it does inside a window of its own: without a focus change the handlers would
  // see (no LostFocus processing while the container takes the control away).
  silenced_ = true;
  ShowWindow(hwnd_, SW_HIDE);
  SetParent(hwnd_, HWND_MESSAGE);
  silenced_ = false;
}

void EditBoxWin32::PutBackInPlace(HWND parent, const RECT& pos) {
  SetParent(hwnd_, parent);
  pixels_ = SIZE{pos.right - pos.left, pos.bottom - pos.top};
  SetWindowPos(hwnd_, nullptr, pos.left, pos.top, pixels_.cx, pixels_.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void EditBoxWin32::Move(const RECT& pos) {
  pixels_ = SIZE{pos.right - pos.left, pos.bottom - pos.top};
  MoveWindow(hwnd_, pos.left, pos.top, pixels_.cx, pixels_.cy, TRUE);
}

void EditBoxWin32::EnsureFont() const {
  // The first font is made when something needs it: a control that is loaded next gets its
  // stored font instead, and the first one would have cost a font object and its handle.
  Variant& f = properties_[Property::Font];
  if (f.type() != VarType::Object || f.object() || !owner_) return;
  f = Variant::Object(owner_->InitialFont());
  // Realised at once, as a font given to the edit box is: a realised font saves as it shows.
  (void)HandleOf(f);
}

HFONT EditBoxWin32::FontHandle() const {
  EnsureFont();
  return HandleOf(properties_[Property::Font]);
}

bool EditBoxWin32::CheckChanged() {
  // Some edit controls notify a keystroke refused by the length limit as a change: only a
  // text that differs from the last one seen counts.
  std::u16string current = Text();
  if (lastTextStale_) {
    lastText_ = held_->text;
    lastTextStale_ = false;
  }
  if (current == lastText_) return false;
  lastText_ = std::move(current);
  if (events_) events_->TXO_Change();
  return true;
}

void EditBoxWin32::HeldChanged() {
  // Every change of the held text is raised as it happens, so the last text seen is the held
  // one: it is copied only when it is next needed, not on every keystroke of a long paste.
  lastTextStale_ = true;
  if (hwnd_) held_->changed = true;
  if (events_) events_->TXO_Change();
  if (batchDepth_ > 0) ownerPending_ = true;
  else if (owner_) owner_->TextChanged();
}

void EditBoxWin32::HoldWindow() {
  if (held_ || !hwnd_ || batchDepth_ == 0) return;
  CheckChanged();  // a change the window made and nobody heard of yet is heard first
  auto held = std::make_unique<Held>();
  held->text = Text();
  DWORD start = 0, end = 0;
  SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  held->start = static_cast<int32_t>(start);
  held->end = static_cast<int32_t>(end);
  held->limit = static_cast<int64_t>(SendMessageW(hwnd_, EM_GETLIMITTEXT, 0, 0));
  held_ = std::move(held);
}

void EditBoxWin32::ShowHeld() {
  if (!held_ || !hwnd_) return;
  // Out of memory first: the window's own notifications then see the window's text.
  const std::unique_ptr<Held> held = std::move(held_);
  if (lastTextStale_) lastText_ = held->text;
  lastTextStale_ = false;
  // Its EN_CHANGE finds the text already raised, so no second Change. A new text leaves the
  // caret at the start; a selection elsewhere is set after it (each costs Wine's EDIT a layout
  // of the whole text).
  if (held->changed) SetWindowTextW(hwnd_, reinterpret_cast<const wchar_t*>(held->text.c_str()));
  if (!held->changed || held->start != 0 || held->end != 0)
    SendMessageW(hwnd_, EM_SETSEL, static_cast<WPARAM>(held->start), static_cast<LPARAM>(held->end));
}

void EditBoxWin32::EndBatch() {
  if (batchDepth_ > 0 && --batchDepth_ > 0) return;
  ShowHeld();
  if (ownerPending_) {
    ownerPending_ = false;
    if (owner_) owner_->TextChanged();
  }
}

std::u16string EditBoxWin32::Text() const {
  if (held_) return held_->text;
  int n = GetWindowTextLengthW(hwnd_);
  std::u16string t(static_cast<size_t>(n) + 1, u'\0');
  n = GetWindowTextW(hwnd_, reinterpret_cast<wchar_t*>(t.data()), n + 1);
  t.resize(static_cast<size_t>(n < 0 ? 0 : n));
  return t;
}

int32_t EditBoxWin32::TextLength() const {
  return held_ ? static_cast<int32_t>(held_->text.size()) : GetWindowTextLengthW(hwnd_);
}

char16_t EditBoxWin32::CharacterAt(int32_t index) const {
  if (held_) return held_->text[static_cast<size_t>(index)];
  const std::u16string t = Text();
  return static_cast<size_t>(index) < t.size() ? t[static_cast<size_t>(index)] : u'\0';
}

void EditBoxWin32::NotifyChange() {
  CheckChanged();
  if (owner_) owner_->TextChanged();
}

Status EditBoxWin32::SetText(std::u16string_view text) {
  HoldWindow();
  if (text == Text()) return Status::Ok();
  if (held_) {
    // As WM_SETTEXT: no length limit, the caret at the start, then the change notice.
    held_->text.assign(text);
    held_->start = held_->end = 0;
    HeldChanged();
    return Status::Ok();
  }
  std::u16string t(text);
  if (!SetWindowTextW(hwnd_, reinterpret_cast<const wchar_t*>(t.c_str()))) return Status(Status::kOutOfMemory);
  return Status::Ok();
}

Status EditBoxWin32::ReplaceSelection(std::u16string_view text) {
  HoldWindow();
  if (held_) {
    // As EM_REPLACESEL: what exceeds the length limit is dropped, the caret follows the
    // insertion. In place, and compared over the replaced part only, so that a long paste
    // costs what it inserts.
    const size_t start = static_cast<size_t>(std::min(held_->start, held_->end)), end = static_cast<size_t>(std::max(held_->start, held_->end));
    const int32_t maxLength = properties_.count(Property::MaxLength) ? properties_[Property::MaxLength].i4() : 0;
    const int64_t limit = hwnd_ ? held_->limit : maxLength == 0 ? 0x7FFFFFFE : maxLength;
    const int64_t remaining = limit - static_cast<int64_t>(held_->text.size() - (end - start));
    const size_t fits = static_cast<size_t>(std::clamp<int64_t>(remaining, 0, static_cast<int64_t>(text.size())));
    const std::u16string_view inserted = text.substr(0, fits);
    held_->start = held_->end = static_cast<int32_t>(start + fits);
    if (held_->text.compare(start, end - start, inserted) == 0) return Status::Ok();
    held_->text.replace(start, end - start, inserted);
    HeldChanged();
    return Status::Ok();
  }
  // EM_REPLACESEL honours the length limit as typing does and raises EN_CHANGE.
  std::u16string t(text);
  SendMessageW(hwnd_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(t.c_str()));
  return Status::Ok();
}

int32_t EditBoxWin32::SelStart() const {
  if (held_) return std::min(held_->start, held_->end);
  DWORD start = 0, end = 0;
  SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int32_t>(start);
}

int32_t EditBoxWin32::SelLength() const {
  if (held_) return std::max(held_->start, held_->end) - std::min(held_->start, held_->end);
  DWORD start = 0, end = 0;
  SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int32_t>(end - start);
}

void EditBoxWin32::Select(int64_t start, int64_t end) {
  // As EM_SETSEL: both ends within the text.
  const int64_t n = static_cast<int64_t>(held_->text.size());
  held_->start = static_cast<int32_t>(std::clamp<int64_t>(start, 0, n));
  held_->end = static_cast<int32_t>(std::clamp<int64_t>(end, 0, n));
}

Status EditBoxWin32::SetSelStart(int32_t start) {
  if (start < 0) return Status::InvalidPropertyValue();
  HoldWindow();
  if (held_) {
    Select(start, start);
    return Status::Ok();
  }
  SendMessageW(hwnd_, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(start));
  return Status::Ok();
}

Status EditBoxWin32::SetSelLength(int32_t length) {
  if (length < 0) return Status::InvalidPropertyValue();
  HoldWindow();
  int32_t start = SelStart();
  if (held_) {
    Select(start, static_cast<int64_t>(start) + length);
    return Status::Ok();
  }
  SendMessageW(hwnd_, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(start + length));
  return Status::Ok();
}

Status EditBoxWin32::SetTag(std::u16string_view tag) {
  tag_.assign(tag);
  return Status::Ok();
}

Status EditBoxWin32::SetFocus() {
  // A field not yet placed cannot take the focus, as a window out of sight cannot.
  if (!hwnd_ || !IsWindowEnabled(hwnd_)) return Status(Status::kInvalidProcedureCall);
  if (GetFocus() == hwnd_) return Status::Ok();
  ::SetFocus(hwnd_);
  return GetFocus() == hwnd_ ? Status::Ok() : Status(Status::kInvalidProcedureCall);
}

Status EditBoxWin32::GetProperty(Property p, Variant& value) const {
  if (p == Property::Text) {
    value = Variant::Str(Text());
    return Status::Ok();
  }
  if (p == Property::Font) EnsureFont();
  if (!hwnd_) {
    auto it = properties_.find(p);
    if (it == properties_.end()) return Status(Status::kInvalidArgument);
    value = it->second;
    return Status::Ok();
  }
  switch (p) {
    case Property::Enabled: value = Variant::Boolean(IsWindowEnabled(hwnd_) != FALSE); return Status::Ok();
    case Property::Locked:
      value = Variant::Boolean((GetWindowLongW(hwnd_, GWL_STYLE) & ES_READONLY) != 0);
      return Status::Ok();
    case Property::MaxLength: {
      LRESULT limit = SendMessageW(hwnd_, EM_GETLIMITTEXT, 0, 0);
      value = Variant::I4(limit >= 0x7FFFFFFE ? 0 : static_cast<int32_t>(limit));
      return Status::Ok();
    }
    case Property::PasswordChar: {
      wchar_t c = static_cast<wchar_t>(SendMessageW(hwnd_, EM_GETPASSWORDCHAR, 0, 0));
      value = Variant::Str(c ? std::u16string(1, static_cast<char16_t>(c)) : u"");
      return Status::Ok();
    }
    default: {
      auto it = properties_.find(p);
      if (it == properties_.end()) return Status(Status::kInvalidArgument);
      value = it->second;
      return Status::Ok();
    }
  }
}

Status EditBoxWin32::SetProperty(Property p, const Variant& v) {
  if (p == Property::Text) return SetText(v.str());
  if (!EditBoxAccepts(p, v)) return Status::InvalidPropertyValue();
  switch (p) {
    case Property::Font: {
      // Only a font object will do: its handle is the window's font while the property holds it.
      HFONT h = HandleOf(v);
      if (!h) return Status::InvalidPropertyValue();
      properties_[p] = v;
      if (hwnd_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(h), TRUE);
      return Status::Ok();
    }
    case Property::MouseIcon: {
      if (v.type() == VarType::Object && v.object()) {
        auto* picture = static_cast<IPicture*>(ComObject::Interface(v, IID_IPicture));
        if (!picture) return Status::InvalidPropertyValue();
        IPicture_Release(picture);
      }
      properties_[p] = v;
      return Status::Ok();
    }
    case Property::BackColor:
    case Property::ForeColor:
      properties_[p] = v;
      if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
      return Status::Ok();
    case Property::MousePointer: properties_[p] = v; return Status::Ok();
    default: break;
  }
  if (!hwnd_) {
    // Held until the window is made, as the window would give it back; the window's own
    // state then takes over.
    if (p == Property::Enabled || p == Property::Locked) properties_[p] = Variant::Boolean(v.boolean() != 0 ? kTrue : kFalse);
    else if (p == Property::PasswordChar)
      properties_[p] = Variant::Str(v.str().empty() || v.str()[0] == u'\0' ? u"" : v.str().substr(0, 1));
    else properties_[p] = v;
    return Status::Ok();
  }
  switch (p) {
    // Loading writes every property; what is already so costs nothing.
    case Property::Enabled:
      if ((IsWindowEnabled(hwnd_) != FALSE) != (v.boolean() != 0)) EnableWindow(hwnd_, v.boolean() != 0);
      return Status::Ok();
    case Property::Locked:
      if (((GetWindowLongW(hwnd_, GWL_STYLE) & ES_READONLY) != 0) != (v.boolean() != 0))
        SendMessageW(hwnd_, EM_SETREADONLY, v.boolean() != 0, 0);
      return Status::Ok();
    case Property::MaxLength:
      SendMessageW(hwnd_, EM_LIMITTEXT, static_cast<WPARAM>(v.i4() == 0 ? 0x7FFFFFFE : v.i4()), 0);
      if (held_) held_->limit = v.i4() == 0 ? 0x7FFFFFFE : v.i4();
      return Status::Ok();
    case Property::PasswordChar: {
      const WPARAM c = v.str().empty() ? 0 : static_cast<WPARAM>(v.str()[0]);
      if (static_cast<WPARAM>(SendMessageW(hwnd_, EM_GETPASSWORDCHAR, 0, 0)) == c) return Status::Ok();
      SendMessageW(hwnd_, EM_SETPASSWORDCHAR, c, 0);
      InvalidateRect(hwnd_, nullptr, TRUE);
      return Status::Ok();
    }
    default: break;
  }
  properties_[p] = v;
  ApplyStyle();
  return Status::Ok();
}

void EditBoxWin32::ApplyStyle() {
  const LONG before = GetWindowLongW(hwnd_, GWL_STYLE), exBefore = GetWindowLongW(hwnd_, GWL_EXSTYLE);
  LONG style = before, ex = exBefore;
  ComputeStyles(style, ex);
  // Loading writes every property: a frame change costs several round trips, so only a real
  // change of style redraws the frame.
  if (style == before && ex == exBefore) return;
  SetWindowLongW(hwnd_, GWL_STYLE, style);
  SetWindowLongW(hwnd_, GWL_EXSTYLE, ex);
  SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

Status EditBoxWin32::SetWidth(float width) {
  if (!(width >= 0)) return Status::InvalidPropertyValue();
  width_ = width;
  SetPixelSize(Pixels(width_, true), Pixels(height_, false));
  return Status::Ok();
}

Status EditBoxWin32::SetHeight(float height) {
  if (!(height >= 0)) return Status::InvalidPropertyValue();
  height_ = height;
  SetPixelSize(Pixels(width_, true), Pixels(height_, false));
  return Status::Ok();
}

void EditBoxWin32::SetPixelSize(int width, int height) {
  // Moving a window is a round trip to the window system: only a new size is applied.
  if (width == pixels_.cx && height == pixels_.cy) return;
  pixels_ = SIZE{width, height};
  if (hwnd_) SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

HCURSOR EditBoxWin32::Cursor() {
  const int16_t pointer = properties_[Property::MousePointer].i2();
  if (pointer == 99) {
    // A custom pointer: the MouseIcon picture when it holds an icon or cursor.
    auto* picture = static_cast<IPicture*>(ComObject::Interface(properties_[Property::MouseIcon], IID_IPicture));
    if (!picture) return nullptr;
    SHORT type = PICTYPE_NONE;
    OLE_HANDLE h = 0;
    const bool isIcon = SUCCEEDED(IPicture_get_Type(picture, &type)) && type == PICTYPE_ICON &&
                       SUCCEEDED(IPicture_get_Handle(picture, &h));
    IPicture_Release(picture);
    return isIcon ? reinterpret_cast<HCURSOR>(static_cast<UINT_PTR>(h)) : nullptr;
  }
  const WORD systemId = SystemCursor(pointer);
  return systemId ? LoadCursorW(nullptr, MAKEINTRESOURCEW(systemId)) : nullptr;
}

bool EditBoxWin32::IsEnabled() const {
  if (hwnd_) return IsWindowEnabled(hwnd_) != FALSE;
  auto it = properties_.find(Property::Enabled);
  return it == properties_.end() || it->second.boolean() != 0;
}

HCURSOR EditBoxWin32::FieldCursor() {
  // A disabled EDIT leaves the cursor to its parent: the arrow.
  if (!IsEnabled()) return LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  HCURSOR c = Cursor();
  return c ? c : LoadCursorW(nullptr, MAKEINTRESOURCEW(32513));
}

void EditBoxWin32::WindowlessMouseMove(WPARAM buttons, int x, int y) {
  // A disabled EDIT gets no mouse messages; an enabled one measures from inside its border.
  if (!IsEnabled() || !events_) return;
  LONG style = 0, ex = 0;
  ComputeStyles(style, ex);
  const int border = (ex & WS_EX_CLIENTEDGE) ? GetSystemMetrics(SM_CXEDGE) : (style & WS_BORDER) ? GetSystemMetrics(SM_CXBORDER) : 0;
  MouseMove(buttons, x - border, y - border);
}

void EditBoxWin32::MouseMove(WPARAM buttons, int x, int y) {
  if (!events_) return;
  int16_t button = static_cast<int16_t>((buttons & MK_LBUTTON ? 1 : 0) | (buttons & MK_RBUTTON ? 2 : 0) | (buttons & MK_MBUTTON ? 4 : 0));
  int16_t shift = ShiftState();
  float tx = Twips(x, true), ty = Twips(y, false);
  events_->TXO_MouseMove(button, shift, tx, ty);
}

void EditBoxWin32::Paste() {
  // A read-only or disabled box takes nothing, as the EDIT does. A paste asked for while one is
  // under way (from the host's KeyPress handler) is dropped, so that a host cannot recurse.
  if (!events_ || !hwnd_ || pasting_ || !IsWindowEnabled(hwnd_) || (GetWindowLongW(hwnd_, GWL_STYLE) & ES_READONLY)) return;
  // The clipboard is closed again before the rule runs: the host's handlers may open it or
  // show a message box.
  const std::u16string text = ClipboardText(hwnd_);
  if (text.empty()) return;
  pasting_ = true;
  events_->TXO_Paste(text);
  pasting_ = false;
}

namespace {

// The messages on which an EDIT may change its text.
bool MayChangeText(UINT msg) {
  switch (msg) {
    case WM_CHAR:
    case WM_KEYDOWN:
    case WM_SETTEXT:
    case WM_CUT:
    case WM_CLEAR:
    case WM_PASTE:
    case WM_UNDO:
    case EM_UNDO:
    case EM_REPLACESEL:
    case WM_IME_CHAR:
    case WM_IME_COMPOSITION: return true;
    default: return false;
  }
}

}  // namespace

bool EditBoxWin32::NeedsShownText(UINT msg) {
  if (MayChangeText(msg)) return true;
  switch (msg) {
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case EM_GETSEL:
    case EM_SETSEL:
    case EM_GETLINE:
    case EM_LINELENGTH:
    case EM_POSFROMCHAR:
    case EM_CHARFROMPOS:
    case WM_COPY:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_CONTEXTMENU:
    case WM_PAINT:
    case WM_PRINT:
    case WM_PRINTCLIENT:
    case WM_GETOBJECT: return true;
    default: return false;
  }
}

LRESULT CALLBACK EditBoxWin32::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* box = reinterpret_cast<EditBoxWin32*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!box) return DefWindowProcW(hwnd, msg, wp, lp);
  // A host that pumps messages within a batch (a message box in a handler), or reads the
  // window itself, finds the window showing the text.
  if (box->held_ && NeedsShownText(msg)) box->ShowHeld();
  const bool alone = box->alone_;
  LRESULT r = box->HandleMessage(msg, wp, lp);
  // Alone in the container, the edit box does not rely on the container reflecting EN_CHANGE:
  // it compares the text after every message that may change it. The handlers may have
  // released the control meanwhile, taking the edit box with it.
  if (alone && MayChangeText(msg) && reinterpret_cast<EditBoxWin32*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)) == box &&
      box->CheckChanged() && box->owner_)
    box->owner_->TextChanged();
  return r;
}

LRESULT EditBoxWin32::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_GETOBJECT: {
      LRESULT r = 0;
      if (owner_ && owner_->AccessibleObject(wp, lp, &r)) return r;
      break;
    }
    case WM_KEYDOWN: {
      const int16_t state = ShiftState();
      int16_t code = static_cast<int16_t>(wp), shift = state;
      if (events_) events_->TXO_KeyDown(code, shift);
      if (code == 0) return 0;  // consumed by the control or the host
      // Shift+Insert: the EDIT would paste by itself, without WM_PASTE. It does so whenever
      // Shift is down (Ctrl too) and Alt is not.
      if (wp == VK_INSERT && (state & 1) && !(state & 4)) {
        Paste();
        return 0;
      }
      break;
    }
    case WM_PASTE:
      Paste();
      return 0;
    case WM_CHAR: {
      // Ctrl+V arrives as character 22, on which the EDIT pastes: it takes the paste rule and
      // is no keystroke of its own.
      if (wp == 0x16) {
        Paste();
        return 0;
      }
      int16_t code = KeyCodeOf(static_cast<char16_t>(wp));
      if (events_) events_->TXO_KeyPress(code);
      std::optional<char16_t> c = CharacterOfCode(code);
      if (!c) return 0;
      wp = *c;
      break;
    }
    case WM_SETFOCUS: {
      LRESULT r = CallWindowProcW(original_, hwnd_, msg, wp, lp);
      if (owner_) owner_->FocusChanged(true);
      if (events_) events_->TXO_GotFocus();
      return r;
    }
    case WM_KILLFOCUS: {
      LRESULT r = CallWindowProcW(original_, hwnd_, msg, wp, lp);
      if (silenced_) return r;
      if (owner_) owner_->FocusChanged(false);
      if (events_) events_->TXO_LostFocus();
      // Posted, so that it arrives after any message box the handlers showed has closed and
      // they had their chance to take the focus back.
      if (noticeFocusLeft_ && hwnd_) PostMessageW(hwnd_, kFocusLeftMessage, 0, 0);
      return r;
    }
    case kFocusLeftMessage: {
      HWND focus = GetFocus();
      // No focus in this thread: the application was left, and the focus comes back here.
      if (focus && focus != hwnd_ && noticeFocusLeft_ && owner_) owner_->FocusLeft();
      return 0;
    }
    case WM_GETDLGCODE: {
      LRESULT r = CallWindowProcW(original_, hwnd_, msg, wp, lp);
      const MSG* m = reinterpret_cast<const MSG*>(lp);
      if (m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN && owner_ && owner_->WantsEnter()) r |= DLGC_WANTMESSAGE;
      return r;
    }
    case WM_SETCURSOR: {
      if (LOWORD(lp) != HTCLIENT || reinterpret_cast<HWND>(wp) != hwnd_) break;
      HCURSOR cursor = Cursor();
      if (!cursor) break;
      ::SetCursor(cursor);
      return TRUE;
    }
    // A container that reflects messages hands back the colour requests its window received
    // from the edit box.
    case OCM_CTLCOLOREDIT:
    case OCM_CTLCOLORSTATIC: return reinterpret_cast<LRESULT>(Colours(reinterpret_cast<HDC>(wp)));
    case OCM_COMMAND:
      if (HIWORD(wp) == EN_CHANGE) NotifyChange();
      return 0;
    case WM_MOUSEMOVE: MouseMove(wp, static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))); break;
    default: break;
  }
  return CallWindowProcW(original_, hwnd_, msg, wp, lp);
}

}  // namespace delvorin::ocx
