// The control in our own minimal site (MinimalSite), in a dialog-like form whose message loop
// does what a container's does: keys go first to the active object's TranslateAccelerator,
// then to IsDialogMessage. Each step checks exactly which site calls the control made. The
// steps run twice: in a site that reflects messages (the edit box alone is the control's
// window) and in one that does not (the control's window holds the edit box). Then the field
// in a windowless site and in a site that keeps it inactive: drawn by the site, given its
// windows by a click or the focus, and giving them back when it leaves.
#include <initializer_list>
#include <string>
#include <vector>

#include "ocx/tests/Sinks.h"
#include "ocx/tests/MinimalSite.h"
#include "ocx/tests/RecordingSink.h"
#include "ocx/tests/Test.h"

#include <oleacc.h>

using namespace delvorin::ocx;
using namespace delvorin::ocx::test;

namespace {

HWND g_form = nullptr;
MinimalSite* g_site = nullptr;

// The container's loop: accelerators of the UI-active control first, then dialog navigation.
void PumpForm() {
  MSG m;
  for (int round = 0; round < 30; ++round) {
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      if (m.message >= WM_KEYFIRST && m.message <= WM_KEYLAST && g_site && g_site->activeObject &&
          IOleInPlaceActiveObject_TranslateAccelerator(g_site->activeObject, &m) == S_OK)
        continue;
      if (IsDialogMessageW(g_form, &m)) continue;
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    Sleep(2);
  }
}

// A key as the keyboard sends it: key down and up; the loop's TranslateMessage makes the
// character.
void PressKey(HWND h, WPARAM vk) {
  PostMessageW(h, WM_KEYDOWN, vk, 1);
  PostMessageW(h, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u));
  PumpForm();
}

// A property-notify sink that records the dispatch id of every notice.
struct Notices : RecordingSink<IPropertyNotifySink> {
  Notices();
  std::vector<DISPID> changed;
};
Notices* impl_from_IPropertyNotifySink(IPropertyNotifySink* i) { return static_cast<Notices*>(Notices::From(i)); }
HRESULT WINAPI Notices_OnChanged(IPropertyNotifySink* i, DISPID id) {
  impl_from_IPropertyNotifySink(i)->Record("OnChanged");
  impl_from_IPropertyNotifySink(i)->changed.push_back(id);
  return S_OK;
}
HRESULT WINAPI Notices_OnRequestEdit(IPropertyNotifySink* i, DISPID) {
  impl_from_IPropertyNotifySink(i)->Record("OnRequestEdit");
  return S_OK;
}
const IPropertyNotifySinkVtbl kNoticesVtbl = {Notices::QueryInterface, Notices::AddRef, Notices::Release, Notices_OnChanged,
                                             Notices_OnRequestEdit};
Notices::Notices() : RecordingSink(&kNoticesVtbl, {IID_IPropertyNotifySink}) {}

constexpr DISPID kTipoDispid = 0x6803000b;

// The site's counts that changed between two moments, compared with what was expected.
#define CHECK_CALLS(before, after, field, n) \
  ok((after).field - (before).field == (n), #field ": %d calls, expected %d", (after).field - (before).field, (n))

// The calls the control made on the site since the last check, compared with the expected
// sequence; the first difference is reported with both sequences. The record starts again.
#define CHECK_SEQUENCE(site, ...) CheckSequence(__LINE__, site, {__VA_ARGS__})
void CheckSequence(int line, MinimalSite& site, std::initializer_list<const char*> expected) {
  std::vector<std::string> wanted(expected.begin(), expected.end());
  size_t i = 0;
  while (i < wanted.size() && i < site.calls.size() && wanted[i] == site.calls[i]) ++i;
  bool same = i == wanted.size() && i == site.calls.size();
  std::string got, want;
  for (const std::string& c : site.calls) got += " " + c;
  for (const std::string& c : wanted) want += " " + c;
  ::delvorin::ocx::test::Ok(same, __FILE__, line, "call %d: %s, expected %s\n  got:     %s\n  expected:%s", static_cast<int>(i),
                            i < site.calls.size() ? site.calls[i].c_str() : "(none)", i < wanted.size() ? wanted[i].c_str() : "(none)",
                            got.c_str(), want.c_str());
  site.calls.clear();
}

HWND g_other = nullptr;  // the form's other field, next in the tab order
HWND g_edit = nullptr;
_Delvorin* g_control = nullptr;
Sink g_sink;

// In place: the site is asked, told and gives its window; no UI activation yet.
void test_inplace_activation(MinimalSite& site) {
  SiteCalls before = site.callCounts;
  site.calls.clear();
  HRESULT hr = site.Create(g_form, RECT{10, 10, 210, 34});
  ok(hr == S_OK && site.window && IsChild(g_form, site.window), "in place in the form: %08lx", hr);
  CHECK_CALLS(before, site.callCounts, canInPlaceActivate, 1);
  CHECK_CALLS(before, site.callCounts, onInPlaceActivate, 1);
  CHECK_CALLS(before, site.callCounts, getWindowContext, 1);
  CHECK_CALLS(before, site.callCounts, onUIActivate, 0);
  CHECK_SEQUENCE(site, "CanInPlaceActivate", "OnInPlaceActivate", "GetWindow", "GetWindowContext");
  if (site.reflects) {
    // The edit box alone, a tab stop of the form like its other fields.
    ok(site.Edit() == site.window && GetParent(site.window) == g_form && (GetWindowLongW(site.window, GWL_STYLE) & WS_TABSTOP),
       "the edit box is the control's window, in the form");
  } else {
    // Outside the form's tab order the control's window would keep dialog navigation out.
    ok(GetWindowLongW(site.window, GWL_EXSTYLE) & WS_EX_CONTROLPARENT, "the control's window is a control parent");
    ok(site.Edit() && GetParent(site.Edit()) == site.window, "the edit box inside the control's window");
  }
  SetWindowPos(g_other, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// A property written by the program is a notice to the container, and the control is dirty.
void test_property_notice(MinimalSite& site, IConnectionPointContainer* cpc) {
  Notices notices;
  void* other = &notices;
  ok(IPropertyNotifySink_QueryInterface(&notices.iface, IID_IDispatch, &other) == E_NOINTERFACE && !other && notices.ref == 1,
     "the notify sink answers only for its own interfaces");
  IConnectionPoint* cpNotices = nullptr;
  DWORD noticeCookie = 0;
  if (cpc) IConnectionPointContainer_FindConnectionPoint(cpc, IID_IPropertyNotifySink, &cpNotices);
  ok(cpNotices && IConnectionPoint_Advise(cpNotices, reinterpret_cast<IUnknown*>(&notices.iface),
                                         &noticeCookie) == S_OK,
     "Advise for notices");
  IPersistStreamInit* persist = site.Interface<IPersistStreamInit>(IID_IPersistStreamInit);
  ok(persist && IPersistStreamInit_IsDirty(persist) == S_FALSE, "a new control is not dirty");
  _Delvorin_put_Tipo(g_control, 9);
  ok(notices.calls.size() == 1 && notices.calls[0] == "OnChanged", "only OnChanged, no OnRequestEdit: %d calls",
     static_cast<int>(notices.calls.size()));
  ok(notices.changed.size() == 1 && notices.changed[0] == kTipoDispid, "one notice, for Tipo: %d", static_cast<int>(notices.changed.size()));
  ok(persist && IPersistStreamInit_IsDirty(persist) == S_OK, "dirty after the notice");
  if (persist) IPersistStreamInit_Release(persist);
  if (cpNotices) {
    ok(IConnectionPoint_Unadvise(cpNotices, noticeCookie) == S_OK, "Unadvise for notices");
    IConnectionPoint_Release(cpNotices);
  }
  ok(notices.ref == 1, "the notify sink was released: %ld", notices.ref);
}

// The field takes the focus: the site hears of it and the control becomes UI active, so
// that the container routes keys through it.
void test_ui_activation_by_focus(MinimalSite& site) {
  site.calls.clear();
  SiteCalls before = site.callCounts;
  SetFocus(g_edit);
  PumpForm();
  CHECK_CALLS(before, site.callCounts, focusGained, 1);
  CHECK_CALLS(before, site.callCounts, onUIActivate, 1);
  CHECK_CALLS(before, site.callCounts, setActiveObject, 1);
  ok(site.activeObject != nullptr, "the frame holds the active object");
  CHECK_SEQUENCE(site, "OnUIActivate", "Frame_SetActiveObject", "OnFocus(TRUE)");
}

// Enter with Usar_Enter True moves to the next control: the queued Tab goes through the
// control to the site and then to the form's dialog navigation; leaving formats the amount.
void test_enter_moves_on(MinimalSite& site) {
  _Delvorin_put_Tipo(g_control, 0);
  _Delvorin_put_Usar_Enter(g_control, VARIANT_TRUE);
  TypeText(g_edit, L"12");
  g_sink.events.clear();
  SiteCalls before = site.callCounts;
  PressKey(g_edit, VK_RETURN);
  ok(GetFocus() == g_other, "Enter moved the focus to the next control");
  ok(CountOf(g_sink.events, 3) == 1 && CountOf(g_sink.events, 4) == 1, "KeyDown and KeyPress for Enter");
  ok(TextOf(g_control) == L"R$ 12,00", "the amount formatted on leaving: %ls", TextOf(g_control).c_str());
  ok(CountOf(g_sink.events, 5) == 0, "no TeclaEnter with Usar_Enter True");
  CHECK_CALLS(before, site.callCounts, focusLost, 1);
  ok(site.callCounts.translateAccelerator > before.translateAccelerator, "Tab offered to the site");
  // Leaving the field keeps the control UI active: only the focus changed.
  CHECK_SEQUENCE(site, "OnFocus(FALSE)");
}

// Enter with Usar_Enter False raises TeclaEnter and the focus stays.
void test_enter_raises_tecla_enter(MinimalSite& site) {
  _Delvorin_put_Usar_Enter(g_control, VARIANT_FALSE);
  SetFocus(g_edit);
  PumpForm();
  g_sink.events.clear();
  PressKey(g_edit, VK_RETURN);
  ok(GetFocus() == g_edit, "the focus stays in the field");
  ok(CountOf(g_sink.events, 5) == 1, "TeclaEnter raised once: %d", CountOf(g_sink.events, 5));
  CHECK_SEQUENCE(site, "OnFocus(TRUE)");
}

// Tab from the field is the container's: it leaves the field.
void test_tab_leaves(MinimalSite& site) {
  PressKey(g_edit, VK_TAB);
  ok(GetFocus() == g_other, "Tab moved the focus on");
  CHECK_SEQUENCE(site, "OnFocus(FALSE)");
}

// UI deactivation gives the frame's active object back; in-place deactivation the window.
void test_deactivation(MinimalSite& site) {
  IOleInPlaceObject* ipo = site.Interface<IOleInPlaceObject>(IID_IOleInPlaceObject);
  site.calls.clear();
  SiteCalls before = site.callCounts;
  ok(ipo && IOleInPlaceObject_UIDeactivate(ipo) == S_OK, "UIDeactivate");
  CHECK_CALLS(before, site.callCounts, onUIDeactivate, 1);
  CHECK_SEQUENCE(site, "Frame_SetActiveObject(NULL)", "OnUIDeactivate");
  ok(site.activeObject == nullptr, "the frame no longer holds the control");
  ok(ipo && IOleInPlaceObject_InPlaceDeactivate(ipo) == S_OK, "InPlaceDeactivate");
  CHECK_CALLS(before, site.callCounts, onInPlaceDeactivate, 1);
  CHECK_SEQUENCE(site, "OnInPlaceDeactivate");
  HWND windowAfter = reinterpret_cast<HWND>(1);
  ok(ipo && IOleInPlaceObject_GetWindow(ipo, &windowAfter) == E_UNEXPECTED && !windowAfter, "no window out of place");
  // Properties still work out of place, on the edit box the control keeps.
  BSTR text = SysAllocString(L"3,5");
  HRESULT written = _Delvorin_put_Text(g_control, text);
  ok(written == S_OK && TextOf(g_control) == L"R$ 3,50", "Text out of place: %08lx %ls", written, TextOf(g_control).c_str());
  SysFreeString(text);
  if (ipo) IOleInPlaceObject_Release(ipo);
}

// DoVerb(OLEIVERB_UIACTIVATE) out of place activates in place first, then in the UI; Close
// leaves the UI first, then the place.
void test_ui_activate_verb_and_close(MinimalSite& site) {
  site.calls.clear();
  RECT where = site.position;
  HRESULT hr = IOleObject_DoVerb(site.object, OLEIVERB_UIACTIVATE, nullptr, &site.IOleClientSite_iface, 0, g_form, &where);
  ok(hr == S_OK, "DoVerb(OLEIVERB_UIACTIVATE): %08lx", hr);
  CHECK_SEQUENCE(site, "CanInPlaceActivate", "OnInPlaceActivate", "GetWindow", "GetWindowContext", "OnUIActivate",
                 "Frame_SetActiveObject", "OnFocus(TRUE)");
  // The focus was in the field; Close tells the site of no focus change (OnFocus(FALSE)),
  // only of the deactivations.
  ok(IOleObject_Close(site.object, OLECLOSE_NOSAVE) == S_OK, "Close");
  CHECK_SEQUENCE(site, "Frame_SetActiveObject(NULL)", "OnUIDeactivate", "OnInPlaceDeactivate");
}

// After Close the control activates in place again, as the first time: asked, told, given
// its window and context, and placed back in the form.
void test_reactivation_after_close(MinimalSite& site) {
  site.calls.clear();
  RECT where = site.position;
  HRESULT hr = IOleObject_DoVerb(site.object, OLEIVERB_INPLACEACTIVATE, nullptr, &site.IOleClientSite_iface, 0, g_form, &where);
  ok(hr == S_OK, "DoVerb(OLEIVERB_INPLACEACTIVATE) after Close: %08lx", hr);
  CHECK_SEQUENCE(site, "CanInPlaceActivate", "OnInPlaceActivate", "GetWindow", "GetWindowContext");
  IOleInPlaceObject* ipo = site.Interface<IOleInPlaceObject>(IID_IOleInPlaceObject);
  HWND window = nullptr;
  ok(ipo && IOleInPlaceObject_GetWindow(ipo, &window) == S_OK && window && IsChild(g_form, window),
     "back in place in the form");
  if (ipo) IOleInPlaceObject_Release(ipo);
}

// From in place, the UI-activate verb adds only the UI activation; InPlaceDeactivate of a
// UI-active control leaves the UI first, then the place.
void test_inplace_deactivate_while_ui_active(MinimalSite& site) {
  SetFocus(g_other);  // the verb is then what brings the focus into the field
  PumpForm();
  site.calls.clear();
  RECT where = site.position;
  HRESULT hr = IOleObject_DoVerb(site.object, OLEIVERB_UIACTIVATE, nullptr, &site.IOleClientSite_iface, 0, g_form, &where);
  ok(hr == S_OK, "DoVerb(OLEIVERB_UIACTIVATE) in place: %08lx", hr);
  CHECK_SEQUENCE(site, "OnUIActivate", "Frame_SetActiveObject", "OnFocus(TRUE)");
  ok(site.activeObject != nullptr, "the frame holds the active object");
  IOleInPlaceObject* ipo = site.Interface<IOleInPlaceObject>(IID_IOleInPlaceObject);
  ok(ipo && IOleInPlaceObject_InPlaceDeactivate(ipo) == S_OK, "InPlaceDeactivate while UI active");
  CHECK_SEQUENCE(site, "Frame_SetActiveObject(NULL)", "OnUIDeactivate", "OnInPlaceDeactivate");
  ok(site.activeObject == nullptr, "the frame no longer holds the control");
  if (ipo) IOleInPlaceObject_Release(ipo);
}

// Close of a control that is in place but not UI active: only the in-place deactivation.
void test_close_in_place_only(MinimalSite& site) {
  RECT where = site.position;
  HRESULT hr = IOleObject_DoVerb(site.object, OLEIVERB_INPLACEACTIVATE, nullptr, &site.IOleClientSite_iface, 0, g_form, &where);
  ok(hr == S_OK, "DoVerb(OLEIVERB_INPLACEACTIVATE) after InPlaceDeactivate: %08lx", hr);
  CHECK_SEQUENCE(site, "CanInPlaceActivate", "OnInPlaceActivate", "GetWindow", "GetWindowContext");
  ok(IOleObject_Close(site.object, OLECLOSE_NOSAVE) == S_OK, "Close in place");
  CHECK_SEQUENCE(site, "OnInPlaceDeactivate");
}

// Typing and writing Text raise Change once per change, whichever way the edit box learns of
// it (the notification its window receives, the one the form reflects, or its own look).
void test_change_once_per_change(MinimalSite& site) {
  _Delvorin_put_Tipo(g_control, 4);
  BSTR empty = SysAllocString(L"");
  _Delvorin_put_Text(g_control, empty);
  SysFreeString(empty);
  SetFocus(g_edit);
  PumpForm();
  g_sink.events.clear();
  TypeText(g_edit, L"abc");
  ok(TextOf(g_control) == L"abc" && CountOf(g_sink.events, 2) == 3, "three keys, three Change events: \"%ls\", %d",
     TextOf(g_control).c_str(), CountOf(g_sink.events, 2));
  g_sink.events.clear();
  BSTR text = SysAllocString(L"xyz");
  _Delvorin_put_Text(g_control, text);
  SysFreeString(text);
  PumpForm();
  ok(CountOf(g_sink.events, 2) == 1, "one write, one Change: %d", CountOf(g_sink.events, 2));
  PressKey(g_edit, VK_TAB);
  CHECK_SEQUENCE(site, "OnFocus(TRUE)", "OnFocus(FALSE)");
  _Delvorin_put_Tipo(g_control, 0);
}

// The edit box's colour request reaches the control, from the form (reflected) or from the
// control's own window.
void test_colour_request_answered(MinimalSite& site) {
  const OLE_COLOR kRed = 0x000000FF, kBlue = 0x00FF0000;
  _Delvorin_put_BackColor(g_control, kRed);
  _Delvorin_put_ForeColor(g_control, kBlue);
  HWND asked = GetParent(g_edit);
  ok(asked == (site.reflects ? g_form : site.window), "the edit box asks %s for its colours", site.reflects ? "the form" : "the control's window");
  HDC dc = GetDC(g_edit);
  SetTextColor(dc, 0);
  SetBkColor(dc, 0);
  auto brush = reinterpret_cast<HBRUSH>(SendMessageW(asked, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(g_edit)));
  LOGBRUSH lb{};
  ok(brush && GetObjectW(brush, sizeof lb, &lb) == sizeof lb && lb.lbColor == kRed, "the background brush in BackColor: %06lx",
     lb.lbColor);
  ok(GetTextColor(dc) == kBlue && GetBkColor(dc) == kRed, "the text in ForeColor on BackColor");
  ReleaseDC(g_edit, dc);
  _Delvorin_put_BackColor(g_control, 0x80000005);
  _Delvorin_put_ForeColor(g_control, 0x80000008);
}

// The pixels IViewObject::Draw paints other than the background, on a white bitmap of 120x24.
int InkDrawn(MinimalSite& site) {
  IViewObject* view = site.Interface<IViewObject>(IID_IViewObject);
  if (!view) return -1;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 120, 24);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all{0, 0, 120, 24};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  RECTL bounds{0, 0, 120, 24};
  HRESULT hr = IViewObject_Draw(view, DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0);
  const COLORREF background = GetSysColor(COLOR_WINDOW);
  int n = 0;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 120; ++x) n += GetPixel(dc, x, y) != background;
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  IViewObject_Release(view);
  return SUCCEEDED(hr) ? n : -1;
}

// Before it is placed the control has no window: what is written is held and the window,
// made in place, shows all of it at once.
void test_state_held_until_placed(bool reflects) {
  MinimalSite site;
  site.reflects = reflects;
  const int windowsBefore = Measure().windows;
  ok(site.Instantiate() == S_OK && site.Init(nullptr) == S_OK, "created and initialised");
  _Delvorin* d = site.Interface<_Delvorin>(kIid_Delvorin);
  ok(d != nullptr, "the automation interface");
  if (!d) {
    site.Destroy();
    return;
  }
  BSTR text = SysAllocString(L"abcdef"), star = SysAllocString(L"*");
  _Delvorin_put_Text(d, text);
  _Delvorin_put_MaxLength(d, 4);
  _Delvorin_put_Locked(d, VARIANT_TRUE);
  _Delvorin_put_Enabled(d, VARIANT_FALSE);
  _Delvorin_put_Alignment(d, 1);
  _Delvorin_put_BorderStyle(d, 0);
  _Delvorin_put_PasswordChar(d, star);
  SysFreeString(text);
  SysFreeString(star);
  ok(Measure().windows == windowsBefore, "no window before the control is placed: %d more", Measure().windows - windowsBefore);
  LONG limit = -1;
  VARIANT_BOOL locked = VARIANT_FALSE, enabled = VARIANT_TRUE;
  BSTR password = nullptr;
  _Delvorin_get_MaxLength(d, &limit);
  _Delvorin_get_Locked(d, &locked);
  _Delvorin_get_Enabled(d, &enabled);
  _Delvorin_get_PasswordChar(d, &password);
  ok(TextOf(d) == L"abcdef" && limit == 4 && locked == VARIANT_TRUE && enabled == VARIANT_FALSE && password &&
         std::wstring(password) == L"*",
     "read back before placing: \"%ls\" limit %ld", TextOf(d).c_str(), limit);
  SysFreeString(password);
  IOleInPlaceObject* ipo = site.Interface<IOleInPlaceObject>(IID_IOleInPlaceObject);
  HWND none = reinterpret_cast<HWND>(1);
  ok(ipo && IOleInPlaceObject_GetWindow(ipo, &none) == E_UNEXPECTED && !none, "no window to give before placing");
  if (ipo) IOleInPlaceObject_Release(ipo);
  // The container draws the field before placing it: the held text, in password characters.
  const int inked = InkDrawn(site), inkedEmpty = [&] {
    BSTR nothing = SysAllocString(L"");
    BSTR again = SysAllocString(L"abcdef");
    _Delvorin_put_Text(d, nothing);
    const int n = InkDrawn(site);
    _Delvorin_put_Text(d, again);
    SysFreeString(nothing);
    SysFreeString(again);
    return n;
  }();
  ok(inked > 10 && inkedEmpty == 0, "drawn before placing: %d pixels of text, %d with no text", inked, inkedEmpty);

  const RECT where{220, 10, 340, 34};
  ok(site.Activate(g_form, where) == S_OK, "placed in the form");
  HWND e = site.Edit();
  ok(e && IsWindowVisible(e), "the edit box shows");
  if (e) {
    wchar_t shown[16] = {};
    GetWindowTextW(e, shown, 16);
    const LONG style = GetWindowLongW(e, GWL_STYLE), ex = GetWindowLongW(e, GWL_EXSTYLE);
    ok(std::wstring(shown) == L"abcdef", "the window's text: \"%ls\"", shown);
    ok(SendMessageW(e, EM_GETLIMITTEXT, 0, 0) == 4 && SendMessageW(e, EM_GETPASSWORDCHAR, 0, 0) == L'*',
       "the window's limit and password character");
    ok((style & ES_READONLY) && (style & ES_RIGHT) && !IsWindowEnabled(e), "read-only, right-aligned, disabled");
    ok(!(style & WS_BORDER) && !(ex & WS_EX_CLIENTEDGE), "no border");
    RECT r{};
    GetWindowRect(e, &r);
    ok(r.right - r.left == where.right - where.left && r.bottom - r.top == where.bottom - where.top, "the window at the site's size");
    IFontDisp* fontDisp = nullptr;
    IFont* font = nullptr;
    HFONT handle = nullptr;
    if (SUCCEEDED(_Delvorin_get_Font(d, &fontDisp)) && fontDisp) {
      if (SUCCEEDED(IFontDisp_QueryInterface(fontDisp, IID_IFont, reinterpret_cast<void**>(&font)))) {
        IFont_get_hFont(font, &handle);
        IFont_Release(font);
      }
      IFontDisp_Release(fontDisp);
    }
    ok(handle && reinterpret_cast<HFONT>(SendMessageW(e, WM_GETFONT, 0, 0)) == handle, "the window's font is the Font property's");
  }
  ok(Measure().windows == windowsBefore + (reflects ? 1 : 2), "%s once placed: %d", reflects ? "one window" : "two windows",
     Measure().windows - windowsBefore);
  _Delvorin_Release(d);
  ok(site.Destroy(), "released");
}

// IQuickActivate's flag for message reflection decides, not the ambient property asked for
// otherwise.
void test_quick_activate_reflection_flag(bool flag) {
  MinimalSite site;
  site.reflects = !flag;
  ok(site.Instantiate() == S_OK, "created");
  IQuickActivate* qa = site.Interface<IQuickActivate>(IID_IQuickActivate);
  QACONTAINER container{};
  container.cbSize = sizeof container;
  container.pClientSite = &site.IOleClientSite_iface;
  container.dwAmbientFlags = flag ? QACONTAINER_MESSAGEREFLECT : 0;
  QACONTROL control{};
  control.cbSize = sizeof control;
  ok(qa && IQuickActivate_QuickActivate(qa, &container, &control) == S_OK, "QuickActivate");
  if (qa) IQuickActivate_Release(qa);
  ok(site.Init(nullptr) == S_OK && site.Activate(g_form, RECT{220, 40, 340, 64}) == S_OK, "placed");
  ok((site.Edit() == site.window) == flag, "with the flag %s, the edit box %s the control's window", flag ? "set" : "clear",
     flag ? "is" : "is not");
  ok(site.Destroy(), "released");
}

// Every step of the field's life in one site.
void run_steps(bool reflects) {
  MinimalSite site;
  g_site = &site;
  site.recordCalls = true;
  site.reflects = reflects;

  test_inplace_activation(site);
  g_edit = site.Edit();
  g_control = site.Interface<_Delvorin>(kIid_Delvorin);
  ok(g_edit && g_control, "the edit box and the automation interface");
  if (!g_edit || !g_control) {
    site.Destroy();
    g_site = nullptr;
    return;
  }
  IConnectionPointContainer* cpc = site.Interface<IConnectionPointContainer>(IID_IConnectionPointContainer);
  IConnectionPoint* cp = nullptr;
  DWORD cookie = 0;
  if (cpc) IConnectionPointContainer_FindConnectionPoint(cpc, kDiid__Delvorin, &cp);
  ok(cp && IConnectionPoint_Advise(cp, reinterpret_cast<IUnknown*>(&g_sink.iface), &cookie) == S_OK, "Advise");

  test_property_notice(site, cpc);
  test_ui_activation_by_focus(site);
  test_enter_moves_on(site);
  test_enter_raises_tecla_enter(site);
  test_tab_leaves(site);
  test_change_once_per_change(site);
  test_colour_request_answered(site);
  test_deactivation(site);
  test_ui_activate_verb_and_close(site);
  test_reactivation_after_close(site);
  test_inplace_deactivate_while_ui_active(site);
  test_close_in_place_only(site);

  if (cp) {
    IConnectionPoint_Unadvise(cp, cookie);
    IConnectionPoint_Release(cp);
  }
  if (cpc) IConnectionPointContainer_Release(cpc);
  _Delvorin_Release(g_control);
  g_control = nullptr;
  ok(site.Destroy(), "the control released everything it held of the site");
  ok(g_sink.ref == 1, "the sink was released: %ld", g_sink.ref);
  g_site = nullptr;
}

// ---- Windowless and inactive ----

// What the site draws of the field on a white bitmap the size of the form: pixels other than
// the background inside the field's rectangle, and anywhere outside it.
struct Ink {
  int inside = -1, outside = -1;
};
Ink InkOfSite(MinimalSite& site) {
  RECT form{};
  GetClientRect(g_form, &form);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, form.right, form.bottom);
  HGDIOBJ old = SelectObject(dc, bitmap);
  FillRect(dc, &form, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  Ink ink;
  if (SUCCEEDED(site.Paint(dc))) {
    const COLORREF white = RGB(255, 255, 255), background = GetSysColor(COLOR_WINDOW);
    ink = {0, 0};
    for (int y = 0; y < form.bottom; ++y)
      for (int x = 0; x < form.right; ++x) {
        const COLORREF c = GetPixel(dc, x, y);
        if (PtInRect(&site.position, POINT{x, y})) ink.inside += c != background && c != white;
        else ink.outside += c != white;
      }
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return ink;
}

void PutText(_Delvorin* d, const wchar_t* text) {
  BSTR b = SysAllocString(text);
  _Delvorin_put_Text(d, b);
  SysFreeString(b);
}

DWORD Caret(HWND edit) {
  DWORD start = 0, end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return start == end ? start : 0xFFFFFFFF;
}

// The field out of sight: its edit box is no longer in the form.
bool OutOfSight(HWND edit) { return edit && IsWindow(edit) && !IsWindowVisible(edit) && !IsChild(g_form, edit); }

// A field the site draws shows the I-beam under the mouse and raises MouseMove with the
// coordinates its window would give: twips from inside its border.
void check_mouse_over(MinimalSite& site, Sink& sink) {
  sink.events.clear();
  sink.x = sink.y = -1;
  SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));
  const POINT at{site.position.left + 30, site.position.top + 10};
  ok(site.HoverAt(at) == S_OK, "the mouse over the field");
  HDC screen = GetDC(nullptr);
  const int dpiX = GetDeviceCaps(screen, LOGPIXELSX), dpiY = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  const int edge = GetSystemMetrics(SM_CXEDGE);
  const float x = static_cast<float>(30 - edge) * 1440.0f / static_cast<float>(dpiX);
  const float y = static_cast<float>(10 - edge) * 1440.0f / static_cast<float>(dpiY);
  ok(CountOf(sink.events, 1) == 1 && sink.x == x && sink.y == y, "MouseMove at %g,%g twips (expected %g,%g), %d events", sink.x, sink.y,
     x, y, CountOf(sink.events, 1));
  ok(GetCursor() == LoadCursorW(nullptr, MAKEINTRESOURCEW(32513)), "the I-beam under the mouse");
}

// The field at rest: drawn by the site with its text, and no window of its own in the form.
void check_drawn_without_window(MinimalSite& site, const char* when) {
  const Ink ink = InkOfSite(site);
  ok(ink.inside > 10 && ink.outside == 0, "%s: drawn by the site in its rectangle (%d pixels, %d outside)", when, ink.inside, ink.outside);
  HWND none = reinterpret_cast<HWND>(1);
  IOleInPlaceObject* ipo = site.Interface<IOleInPlaceObject>(IID_IOleInPlaceObject);
  const HRESULT hr = ipo ? IOleInPlaceObject_GetWindow(ipo, &none) : E_NOINTERFACE;
  ok(FAILED(hr) && !none, "%s: no window to give: %08lx", when, hr);
  if (ipo) IOleInPlaceObject_Release(ipo);
}

// The control's events in a sink of their own, from Connect to Disconnect.
struct Events {
  void Connect(MinimalSite& site) {
    if (IConnectionPointContainer* cpc = site.Interface<IConnectionPointContainer>(IID_IConnectionPointContainer)) {
      IConnectionPointContainer_FindConnectionPoint(cpc, kDiid__Delvorin, &cp);
      IConnectionPointContainer_Release(cpc);
    }
    ok(cp && IConnectionPoint_Advise(cp, reinterpret_cast<IUnknown*>(&sink.iface), &cookie) == S_OK, "the events");
  }
  void Disconnect() {
    if (cp) {
      IConnectionPoint_Unadvise(cp, cookie);
      IConnectionPoint_Release(cp);
    }
    cp = nullptr;
  }
  IConnectionPoint* cp = nullptr;
  DWORD cookie = 0;
  Sink sink;
};

// A site of the form that records the calls made on it.
void Prepare(MinimalSite& site, bool reflects) {
  site.reflects = reflects;
  site.recordCalls = true;
  g_site = &site;
}

// The automation interface and the events of the control the site shows; false, with the
// control released, when either is missing.
bool Attach(MinimalSite& site, _Delvorin*& d, Events& events) {
  d = site.Interface<_Delvorin>(kIid_Delvorin);
  events.Connect(site);
  if (d && events.cp) return true;
  events.Disconnect();
  if (d) _Delvorin_Release(d);
  d = nullptr;
  site.Destroy();
  g_site = nullptr;
  return false;
}

// The control in a windowless site: no window while shown; a click gives it its windows
// with the caret where it was clicked; leaving gives them back, and the focus brings them
// back again, the same ones.
// A field without a window is in the accessibility tree through its container: WM_GETOBJECT
// handed to it gives an object of its own over its rectangle, named by NomeAcessivel, with the
// engine's text as value.
void check_accessible_without_window(MinimalSite& site, _Delvorin* d, const RECT& where) {
  _Delvorin12* d12 = nullptr;
  _Delvorin_QueryInterface(d, kIid_Delvorin12, reinterpret_cast<void**>(&d12));
  BSTR name = SysAllocString(L"Observações");
  if (d12) _Delvorin12_put_NomeAcessivel(d12, name);
  SysFreeString(name);
  LRESULT result = 0;
  HRESULT hr = site.Forward(WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT), &result);
  IAccessible* acc = nullptr;
  if (hr == S_OK && result) ObjectFromLresult(result, IID_IAccessible, 0, reinterpret_cast<void**>(&acc));
  ok(acc != nullptr, "WM_GETOBJECT without a window: %08lx", hr);
  if (acc) {
    VARIANT self, role;
    V_VT(&self) = VT_I4;
    V_I4(&self) = CHILDID_SELF;
    VariantInit(&role);
    BSTR n = nullptr, v = nullptr, description = nullptr;
    IAccessible_get_accRole(acc, self, &role);
    IAccessible_get_accName(acc, self, &n);
    IAccessible_get_accValue(acc, self, &v);
    IAccessible_get_accDescription(acc, self, &description);
    ok(V_VT(&role) == VT_I4 && V_I4(&role) == ROLE_SYSTEM_TEXT, "role %ld", V_I4(&role));
    ok(n && std::wstring(n) == L"Observações" && v && std::wstring(v) == L"abcdef" && description &&
           std::wstring(description) == L"Texto",
       "name \"%ls\", value \"%ls\", description \"%ls\"", n ? n : L"", v ? v : L"", description ? description : L"");
    LONG left = 0, top = 0, width = 0, height = 0;
    POINT origin{where.left, where.top};
    ClientToScreen(g_form, &origin);
    ok(IAccessible_accLocation(acc, &left, &top, &width, &height, self) == S_OK && left == origin.x && top == origin.y &&
           width == where.right - where.left && height == where.bottom - where.top,
       "over the field's rectangle: %ld,%ld %ldx%ld", left, top, width, height);
    SysFreeString(n);
    SysFreeString(v);
    SysFreeString(description);
    IAccessible_Release(acc);
  }
  result = 1;
  ok(site.Forward(WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_WINDOW), &result) == S_FALSE && result == 0,
     "another object id is left to the container");
  name = SysAllocString(L"");
  if (d12) _Delvorin12_put_NomeAcessivel(d12, name);
  SysFreeString(name);
  if (d12) _Delvorin12_Release(d12);
}

void test_windowless(bool reflects) {
  MinimalSite site;
  site.windowless = true;
  Prepare(site, reflects);
  const int windowsBefore = Measure().windows;
  const RECT where{150, 70, 270, 94};
  ok(site.Create(g_form, where) == S_OK && site.inPlaceWindowless && !site.window, "in place without a window");
  CHECK_SEQUENCE(site, "CanInPlaceActivate", "CanWindowlessActivate", "GetFocus", "OnInPlaceActivateEx(WINDOWLESS)",
                 "GetWindowContext");
  ok(Measure().windows == windowsBefore, "no window made: %d", Measure().windows - windowsBefore);
  _Delvorin* d = nullptr;
  Events events;
  if (!Attach(site, d, events)) return;
  Sink& sink = events.sink;
  _Delvorin_put_Tipo(d, 4);
  const int invalidated = site.callCounts.invalidateRect;
  PutText(d, L"abcdef");
  ok(site.callCounts.invalidateRect > invalidated, "a new text asks the site to paint the field again");
  check_drawn_without_window(site, "windowless");
  check_mouse_over(site, sink);
  check_accessible_without_window(site, d, where);
  ok(Measure().windows == windowsBefore, "no window under the mouse either");
  _Delvorin_put_Enabled(d, VARIANT_FALSE);
  sink.events.clear();
  ok(site.ClickAt(POINT{where.left + 10, where.top + 10}) == S_FALSE && site.Focus() == S_FALSE && !site.window &&
         Measure().windows == windowsBefore,
     "a disabled field takes neither click nor focus, and makes no window");
  ok(site.HoverAt(POINT{where.left + 10, where.top + 10}) == S_OK && CountOf(sink.events, 1) == 0 &&
         GetCursor() == LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)),
     "nor MouseMove, under the arrow");
  _Delvorin_put_Enabled(d, VARIANT_TRUE);

  // A click at the right of the text: the windows, the focus, the caret after the text.
  SetFocus(g_other);
  PumpForm();
  site.calls.clear();
  ok(site.ClickAt(POINT{where.right - 4, where.top + 12}) == S_OK, "clicked");
  HWND edit = site.Edit();
  ok(edit && GetFocus() == edit && IsWindowVisible(edit), "the click gave the field its window and the focus");
  CHECK_SEQUENCE(site, "GetWindow", "OnUIActivate", "Frame_SetActiveObject", "OnFocus(TRUE)");
  ok(Measure().windows == windowsBefore + (reflects ? 1 : 2), "%d windows once clicked", Measure().windows - windowsBefore);
  ok(edit && Caret(edit) == 6, "the caret where the click was: %lu", edit ? Caret(edit) : 0);
  TypeText(edit, L"xy");
  ok(TextOf(d) == L"abcdefxy", "typing right after the click: \"%ls\"", TextOf(d).c_str());
  const Ink over = InkOfSite(site);
  ok(over.inside == 0, "the site draws nothing under the edit box: %d", over.inside);

  // Leaving gives the windows back; the site draws the field again.
  SetFocus(g_other);
  PumpForm();
  CHECK_SEQUENCE(site, "OnFocus(FALSE)", "Frame_SetActiveObject(NULL)", "OnUIDeactivate", "InvalidateRect");
  site.RefreshWindow();
  ok(OutOfSight(edit) && !site.window && site.activeObject == nullptr, "the window given back on leaving");
  check_drawn_without_window(site, "left");

  // The focus from the site: the same window back, at the end of the text.
  ok(site.Focus() == S_OK && site.Edit() == edit && GetFocus() == edit && IsChild(g_form, edit), "the focus brought the same window back");
  CHECK_SEQUENCE(site, "GetWindow", "OnUIActivate", "Frame_SetActiveObject", "OnFocus(TRUE)");
  // Entering the field selects its text, as it does in a window of its own.
  TypeText(edit, L"z");
  ok(TextOf(d) == L"z", "typing right after the focus: \"%ls\"", TextOf(d).c_str());

  // A wrong CPF under TravaCpf: the message box, and the focus and the window stay.
  _Delvorin_put_Tipo(d, 9);
  _Delvorin_put_MSGcpf(d, VARIANT_TRUE);
  _Delvorin_put_TravaCpf(d, VARIANT_TRUE);
  PutText(d, L"");
  TypeText(edit, L"12345678900");
  HHOOK hook = SetWindowsHookExW(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
  g_boxes.clear();
  SetFocus(g_other);
  PumpForm();
  UnhookWindowsHookEx(hook);
  // The form is a dialog too: the hook also sees it come back to the front, with no text.
  int boxes = 0;
  for (const MessageBoxRecord& box : g_boxes) boxes += !box.text.empty();
  ok(boxes == 1 && GetFocus() == edit && IsWindowVisible(edit), "TravaCpf: one box (%d), the focus and the window kept", boxes);
  _Delvorin_put_TravaCpf(d, VARIANT_FALSE);
  _Delvorin_put_MSGcpf(d, VARIANT_FALSE);

  // The site takes the UI back while the field has the focus: the field keeps it and its
  // window, as a windowed one does, until the focus leaves; the amount is formatted then.
  PutText(d, L"");
  SetFocus(g_other);
  PumpForm();
  _Delvorin_put_Tipo(d, 0);
  ok(site.Focus() == S_OK && GetFocus() == edit, "focused again");
  TypeText(edit, L"12");
  IOleInPlaceObject* ipo = site.Interface<IOleInPlaceObject>(IID_IOleInPlaceObject);
  site.calls.clear();
  ok(ipo && IOleInPlaceObject_UIDeactivate(ipo) == S_OK && GetFocus() == edit && IsChild(g_form, edit),
     "UIDeactivate with the focus in the field keeps its window");
  CHECK_SEQUENCE(site, "Frame_SetActiveObject(NULL)", "OnUIDeactivate");
  SetFocus(g_other);
  PumpForm();
  ok(TextOf(d) == L"R$ 12,00" && OutOfSight(edit), "then left: \"%ls\"", TextOf(d).c_str());
  CHECK_SEQUENCE(site, "OnFocus(FALSE)", "InvalidateRect");

  ok(site.Focus() == S_OK && GetFocus() == edit, "focused again");
  site.calls.clear();
  ok(ipo && IOleInPlaceObject_InPlaceDeactivate(ipo) == S_OK, "InPlaceDeactivate");
  CHECK_SEQUENCE(site, "Frame_SetActiveObject(NULL)", "OnUIDeactivate", "OnInPlaceDeactivateEx");
  ok(OutOfSight(edit) && !site.inPlace, "out of place");
  if (ipo) IOleInPlaceObject_Release(ipo);
  events.Disconnect();
  _Delvorin_Release(d);
  ok(site.Destroy(), "released");
  ok(sink.ref == 1, "the sink was released: %ld", sink.ref);
  g_site = nullptr;
}

// The control in a site that keeps it inactive: not activated when shown; the site draws it
// and hands it the mouse; a click activates it with the caret there, the focus does too.
void test_inactive(bool reflects) {
  MinimalSite site;
  site.inactive = true;
  Prepare(site, reflects);
  const int windowsBefore = Measure().windows;
  const RECT where{150, 100, 270, 124};
  ok(site.Create(g_form, where) == S_OK && !site.inPlace && site.callCounts.canInPlaceActivate == 0, "shown inactive");
  ok(Measure().windows == windowsBefore, "no window made: %d", Measure().windows - windowsBefore);
  _Delvorin* d = nullptr;
  Events events;
  if (!Attach(site, d, events)) return;
  Sink& sink = events.sink;
  IPointerInactive* inactive = site.Interface<IPointerInactive>(IID_IPointerInactive);
  DWORD policy = 0xdeadbeef;
  ok(inactive && IPointerInactive_GetActivationPolicy(inactive, &policy) == S_OK && policy == 0,
     "the mouse alone does not activate it: %08lx", policy);
  if (inactive) IPointerInactive_Release(inactive);
  _Delvorin_put_Tipo(d, 4);
  PutText(d, L"abcdef");
  site.calls.clear();
  check_drawn_without_window(site, "inactive");
  check_mouse_over(site, sink);
  ok(site.calls.empty(), "no call on the site while inactive: %d", static_cast<int>(site.calls.size()));

  // A click near the left edge activates it, the caret before the text.
  SetFocus(g_other);
  PumpForm();
  ok(site.ClickAt(POINT{where.left + 3, where.top + 12}) == S_OK, "clicked");
  HWND edit = site.Edit();
  ok(edit && GetFocus() == edit && IsChild(g_form, edit), "the click activated the field with the focus");
  CHECK_SEQUENCE(site, "CanInPlaceActivate", "OnInPlaceActivate", "GetWindow", "GetWindowContext", "OnUIActivate",
                 "Frame_SetActiveObject", "OnFocus(TRUE)");
  ok(edit && Caret(edit) == 0, "the caret where the click was: %lu", edit ? Caret(edit) : 0);
  TypeText(edit, L"xy");
  ok(TextOf(d) == L"xyabcdef", "typing right after the click: \"%ls\"", TextOf(d).c_str());

  // The site makes it inactive again; its window goes out of sight and the site draws it.
  IOleInPlaceObject* ipo = site.Interface<IOleInPlaceObject>(IID_IOleInPlaceObject);
  SetFocus(g_other);
  PumpForm();
  ok(ipo && IOleInPlaceObject_InPlaceDeactivate(ipo) == S_OK && OutOfSight(edit), "inactive again");
  if (ipo) IOleInPlaceObject_Release(ipo);
  check_drawn_without_window(site, "inactive again");

  // Tabbing in: the verb, the same window, the text selected on entry.
  ok(site.Focus() == S_OK && site.Edit() == edit && GetFocus() == edit, "the focus activated the same window");
  TypeText(edit, L"z");
  ok(TextOf(d) == L"z", "typing right after the focus: \"%ls\"", TextOf(d).c_str());
  events.Disconnect();
  _Delvorin_Release(d);
  ok(site.Destroy(), "released");
  g_site = nullptr;
}

}  // namespace

int wmain() {
  OleInitialize(nullptr);
  g_form = CreateWindowExW(WS_EX_CONTROLPARENT, L"#32770", L"Delvorin", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 160,
                           nullptr, nullptr, nullptr, nullptr);
  g_other = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP, 10, 60, 120, 22, g_form,
                            nullptr, nullptr, nullptr);
  run_steps(false);
  run_steps(true);
  for (bool reflects : {false, true}) test_state_held_until_placed(reflects);
  for (bool flag : {false, true}) test_quick_activate_reflection_flag(flag);
  for (bool reflects : {false, true}) {
    test_windowless(reflects);
    test_inactive(reflects);
  }
  DestroyWindow(g_form);
  OleUninitialize();
  return Result("test_site");
}
