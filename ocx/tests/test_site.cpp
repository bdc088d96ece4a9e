// The control in our own minimal site (MinimalSite), in a dialog-like form whose message loop
// does what a container's does: keys go first to the active object's TranslateAccelerator,
// then to IsDialogMessage. Each step checks exactly which site calls the control made.
#include <initializer_list>
#include <string>
#include <vector>

#include "ocx/tests/Sinks.h"
#include "ocx/tests/MinimalSite.h"
#include "ocx/tests/RecordingSink.h"
#include "ocx/tests/Test.h"

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
      if (m.message >= WM_KEYFIRST && m.message <= WM_KEYLAST && g_site && g_site->ativo &&
          IOleInPlaceActiveObject_TranslateAccelerator(g_site->ativo, &m) == S_OK)
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

constexpr DISPID kDispidTipo = 0x6803000b;

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
  SiteCalls before = site.chamadas;
  site.calls.clear();
  HRESULT hr = site.Cria(g_form, RECT{10, 10, 210, 34});
  ok(hr == S_OK && site.janela && IsChild(g_form, site.janela), "in place in the form: %08lx", hr);
  CHECK_CALLS(before, site.chamadas, canInPlaceActivate, 1);
  CHECK_CALLS(before, site.chamadas, onInPlaceActivate, 1);
  CHECK_CALLS(before, site.chamadas, getWindowContext, 1);
  CHECK_CALLS(before, site.chamadas, onUIActivate, 0);
  CHECK_SEQUENCE(site, "CanInPlaceActivate", "OnInPlaceActivate", "GetWindow", "GetWindowContext");
  // Outside the form's tab order the control's window would keep dialog navigation out.
  ok(GetWindowLongW(site.janela, GWL_EXSTYLE) & WS_EX_CONTROLPARENT, "the control's window is a control parent");
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
  ok(notices.changed.size() == 1 && notices.changed[0] == kDispidTipo, "one notice, for Tipo: %d", static_cast<int>(notices.changed.size()));
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
  SiteCalls before = site.chamadas;
  SetFocus(g_edit);
  PumpForm();
  CHECK_CALLS(before, site.chamadas, focoGanho, 1);
  CHECK_CALLS(before, site.chamadas, onUIActivate, 1);
  CHECK_CALLS(before, site.chamadas, setActiveObject, 1);
  ok(site.ativo != nullptr, "the frame holds the active object");
  CHECK_SEQUENCE(site, "OnUIActivate", "Frame_SetActiveObject", "OnFocus(TRUE)");
}

// Enter with Usar_Enter True moves to the next control: the queued Tab goes through the
// control to the site and then to the form's dialog navigation; leaving formats the amount.
void test_enter_moves_on(MinimalSite& site) {
  _Delvorin_put_Tipo(g_control, 0);
  _Delvorin_put_Usar_Enter(g_control, VARIANT_TRUE);
  TypeText(g_edit, L"12");
  g_sink.events.clear();
  SiteCalls before = site.chamadas;
  PressKey(g_edit, VK_RETURN);
  ok(GetFocus() == g_other, "Enter moved the focus to the next control");
  ok(CountOf(g_sink.events, 3) == 1 && CountOf(g_sink.events, 4) == 1, "KeyDown and KeyPress for Enter");
  ok(TextOf(g_control) == L"R$ 12,00", "the amount formatted on leaving: %ls", TextOf(g_control).c_str());
  ok(CountOf(g_sink.events, 5) == 0, "no TeclaEnter with Usar_Enter True");
  CHECK_CALLS(before, site.chamadas, focoPerdido, 1);
  ok(site.chamadas.translateAccelerator > before.translateAccelerator, "Tab offered to the site");
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
  SiteCalls before = site.chamadas;
  ok(ipo && IOleInPlaceObject_UIDeactivate(ipo) == S_OK, "UIDeactivate");
  CHECK_CALLS(before, site.chamadas, onUIDeactivate, 1);
  CHECK_SEQUENCE(site, "Frame_SetActiveObject(NULL)", "OnUIDeactivate");
  ok(site.ativo == nullptr, "the frame no longer holds the control");
  ok(ipo && IOleInPlaceObject_InPlaceDeactivate(ipo) == S_OK, "InPlaceDeactivate");
  CHECK_CALLS(before, site.chamadas, onInPlaceDeactivate, 1);
  CHECK_SEQUENCE(site, "OnInPlaceDeactivate");
  HWND windowAfter = reinterpret_cast<HWND>(1);
  ok(ipo && IOleInPlaceObject_GetWindow(ipo, &windowAfter) == E_UNEXPECTED && !windowAfter, "no window out of place");
  // Properties still work out of place, on the edit box the control keeps.
  BSTR text = SysAllocString(L"3,5");
  ok(_Delvorin_put_Text(g_control, text) == S_OK && TextOf(g_control) == L"R$ 3,50", "Text out of place: %ls",
     TextOf(g_control).c_str());
  SysFreeString(text);
  if (ipo) IOleInPlaceObject_Release(ipo);
}

// DoVerb(OLEIVERB_UIACTIVATE) out of place activates in place first, then in the UI; Close
// leaves the UI first, then the place.
void test_ui_activate_verb_and_close(MinimalSite& site) {
  site.calls.clear();
  RECT where = site.posicao;
  HRESULT hr = IOleObject_DoVerb(site.objeto, OLEIVERB_UIACTIVATE, nullptr, &site.IOleClientSite_iface, 0, g_form, &where);
  ok(hr == S_OK, "DoVerb(OLEIVERB_UIACTIVATE): %08lx", hr);
  CHECK_SEQUENCE(site, "CanInPlaceActivate", "OnInPlaceActivate", "GetWindow", "GetWindowContext", "OnUIActivate",
                 "Frame_SetActiveObject", "OnFocus(TRUE)");
  // The focus was in the field; Close tells the site of no focus change (OnFocus(FALSE)),
  // only of the deactivations.
  ok(IOleObject_Close(site.objeto, OLECLOSE_NOSAVE) == S_OK, "Close");
  CHECK_SEQUENCE(site, "Frame_SetActiveObject(NULL)", "OnUIDeactivate", "OnInPlaceDeactivate");
}

// After Close the control activates in place again, as the first time: asked, told, given
// its window and context, and placed back in the form.
void test_reactivation_after_close(MinimalSite& site) {
  site.calls.clear();
  RECT where = site.posicao;
  HRESULT hr = IOleObject_DoVerb(site.objeto, OLEIVERB_INPLACEACTIVATE, nullptr, &site.IOleClientSite_iface, 0, g_form, &where);
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
  RECT where = site.posicao;
  HRESULT hr = IOleObject_DoVerb(site.objeto, OLEIVERB_UIACTIVATE, nullptr, &site.IOleClientSite_iface, 0, g_form, &where);
  ok(hr == S_OK, "DoVerb(OLEIVERB_UIACTIVATE) in place: %08lx", hr);
  CHECK_SEQUENCE(site, "OnUIActivate", "Frame_SetActiveObject", "OnFocus(TRUE)");
  ok(site.ativo != nullptr, "the frame holds the active object");
  IOleInPlaceObject* ipo = site.Interface<IOleInPlaceObject>(IID_IOleInPlaceObject);
  ok(ipo && IOleInPlaceObject_InPlaceDeactivate(ipo) == S_OK, "InPlaceDeactivate while UI active");
  CHECK_SEQUENCE(site, "Frame_SetActiveObject(NULL)", "OnUIDeactivate", "OnInPlaceDeactivate");
  ok(site.ativo == nullptr, "the frame no longer holds the control");
  if (ipo) IOleInPlaceObject_Release(ipo);
}

// Close of a control that is in place but not UI active: only the in-place deactivation.
void test_close_in_place_only(MinimalSite& site) {
  RECT where = site.posicao;
  HRESULT hr = IOleObject_DoVerb(site.objeto, OLEIVERB_INPLACEACTIVATE, nullptr, &site.IOleClientSite_iface, 0, g_form, &where);
  ok(hr == S_OK, "DoVerb(OLEIVERB_INPLACEACTIVATE) after InPlaceDeactivate: %08lx", hr);
  CHECK_SEQUENCE(site, "CanInPlaceActivate", "OnInPlaceActivate", "GetWindow", "GetWindowContext");
  ok(IOleObject_Close(site.objeto, OLECLOSE_NOSAVE) == S_OK, "Close in place");
  CHECK_SEQUENCE(site, "OnInPlaceDeactivate");
}

}  // namespace

int wmain() {
  OleInitialize(nullptr);
  g_form = CreateWindowExW(WS_EX_CONTROLPARENT, L"#32770", L"Delvorin", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 160,
                           nullptr, nullptr, nullptr, nullptr);
  g_other = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP, 10, 60, 120, 22, g_form,
                            nullptr, nullptr, nullptr);
  MinimalSite site;
  g_site = &site;
  site.recordCalls = true;

  test_inplace_activation(site);
  g_edit = site.Edit();
  g_control = site.Interface<_Delvorin>(kIid_Delvorin);
  ok(g_edit && g_control, "the edit box and the automation interface");
  if (!g_edit || !g_control) {
    site.Destroi();
    return Result("test_site");
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
  ok(site.Destroi(), "the control released everything it held of the site");
  ok(g_sink.ref == 1, "the sink was released: %ld", g_sink.ref);
  g_site = nullptr;
  DestroyWindow(g_form);
  OleUninitialize();
  return Result("test_site");
}
