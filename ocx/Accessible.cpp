// The field's accessible object (MSAA), what a screen reader asks of the field. With an edit
// box it wraps the EDIT's standard object (CreateStdAccessibleObject), which keeps the role,
// states, location, navigation and selection, and answers itself for the name (NomeAcessivel,
// or the nearest label before the control), the description (the kind of field and its invalid
// state) and the value (nothing of a PasswordChar field's text). A field without a window
// (windowless) answers everything from the engine, over its rectangle in the container's window.
#include "ocx/Control.h"

#include <oleacc.h>

#include <cwchar>
#include <cwctype>
#include <string>

#include "control/Accessibility.h"

namespace delvorin::ocx {

struct AccessibleField {
  IAccessible IAccessible_iface;
  IOleWindow IOleWindow_iface;
  LONG ref = 1;
  Control* control = nullptr;     // null once the control is gone: every call then fails
  IAccessible* standard = nullptr;  // the EDIT's standard object; null without a window
  HWND edit = nullptr;
};

namespace {

AccessibleField* impl_from_IAccessible(IAccessible* i) { return CONTAINING_RECORD(i, AccessibleField, IAccessible_iface); }
AccessibleField* impl_from_IOleWindow(IOleWindow* i) { return CONTAINING_RECORD(i, AccessibleField, IOleWindow_iface); }

bool IsSelf(const VARIANT& child) { return V_VT(&child) == VT_I4 && V_I4(&child) == CHILDID_SELF; }

BSTR Bstr(std::u16string_view s) { return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(s.data()), static_cast<UINT>(s.size())); }

// A window that labels what follows it: a static text (not a picture or a frame) or a label of
// another toolkit.
bool IsLabel(HWND w) {
  wchar_t name[64];
  if (!GetClassNameW(w, name, 64)) return false;
  if (CompareStringOrdinal(name, -1, L"Static", -1, TRUE) == CSTR_EQUAL) {
    const LONG kind = GetWindowLongW(w, GWL_STYLE) & SS_TYPEMASK;
    return kind <= SS_RIGHT || kind == SS_SIMPLE || kind == SS_LEFTNOWORDWRAP;
  }
  for (wchar_t* c = name; *c; ++c) *c = static_cast<wchar_t>(towlower(*c));
  return wcsstr(name, L"label") != nullptr;
}

// The name Windows gives a dialog's control: the text of the nearest visible window before it
// among its siblings, when that is a label. The field's EDIT sits inside the control's (or the
// host's) window, so the search climbs to the first of its ancestors that has one before it.
std::u16string NameFromLabel(HWND edit) {
  for (HWND w = edit; w && (GetWindowLongW(w, GWL_STYLE) & WS_CHILD); w = GetParent(w)) {
    for (HWND before = GetWindow(w, GW_HWNDPREV); before; before = GetWindow(before, GW_HWNDPREV)) {
      if (!IsWindowVisible(before)) continue;
      if (!IsLabel(before)) return {};
      const int length = GetWindowTextLengthW(before);
      std::wstring caption(static_cast<size_t>(length) + 1, L'\0');
      caption.resize(static_cast<size_t>(GetWindowTextW(before, caption.data(), length + 1)));
      return NameOfLabel(std::u16string(caption.begin(), caption.end()));
    }
  }
  return {};
}

// The container's window, which a field without a window of its own is drawn in.
HWND ContainerWindow(Control* c) {
  HWND parent = nullptr;
  if (c->inPlaceSite) IOleInPlaceSite_GetWindow(c->inPlaceSite, &parent);
  return parent;
}

// ---- IAccessible ----

HRESULT WINAPI Acc_QueryInterface(IAccessible* i, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  AccessibleField* a = impl_from_IAccessible(i);
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_IAccessible))
    *ppv = &a->IAccessible_iface;
  else if (IsEqualIID(riid, IID_IOleWindow))
    *ppv = &a->IOleWindow_iface;
  else
    return E_NOINTERFACE;
  InterlockedIncrement(&a->ref);
  return S_OK;
}
ULONG WINAPI Acc_AddRef(IAccessible* i) { return InterlockedIncrement(&impl_from_IAccessible(i)->ref); }
ULONG WINAPI Acc_Release(IAccessible* i) {
  AccessibleField* a = impl_from_IAccessible(i);
  const LONG ref = InterlockedDecrement(&a->ref);
  if (ref == 0) {
    if (a->standard) IAccessible_Release(a->standard);
    delete a;
  }
  return ref;
}

// Automation by name is left to the standard object's type information; a field without a
// window offers none.
HRESULT WINAPI Acc_GetTypeInfoCount(IAccessible* i, UINT* n) {
  AccessibleField* a = impl_from_IAccessible(i);
  if (!n) return E_POINTER;
  *n = 0;
  return a->standard ? IAccessible_GetTypeInfoCount(a->standard, n) : S_OK;
}
HRESULT WINAPI Acc_GetTypeInfo(IAccessible* i, UINT index, LCID lcid, ITypeInfo** info) {
  AccessibleField* a = impl_from_IAccessible(i);
  if (!info) return E_POINTER;
  *info = nullptr;
  return a->standard ? IAccessible_GetTypeInfo(a->standard, index, lcid, info) : DISP_E_BADINDEX;
}
HRESULT WINAPI Acc_GetIDsOfNames(IAccessible* i, REFIID riid, LPOLESTR* names, UINT n, LCID lcid, DISPID* ids) {
  AccessibleField* a = impl_from_IAccessible(i);
  return a->standard ? IAccessible_GetIDsOfNames(a->standard, riid, names, n, lcid, ids) : E_NOTIMPL;
}
HRESULT WINAPI Acc_Invoke(IAccessible*, DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
  return E_NOTIMPL;
}

// Every getter: the control must still be there, and the child must be the field itself.
#define ACC_ENTER(child)                                        \
  AccessibleField* a = impl_from_IAccessible(i);               \
  if (!a->control) return CO_E_OBJNOTCONNECTED;                \
  if (!IsSelf(child)) return E_INVALIDARG;                     \
  Control* c = a->control

HRESULT WINAPI Acc_get_accParent(IAccessible* i, IDispatch** parent) {
  if (!parent) return E_POINTER;
  *parent = nullptr;
  AccessibleField* a = impl_from_IAccessible(i);
  if (!a->control) return CO_E_OBJNOTCONNECTED;
  if (a->standard) return IAccessible_get_accParent(a->standard, parent);
  HWND container = ContainerWindow(a->control);
  return container ? AccessibleObjectFromWindow(container, static_cast<DWORD>(OBJID_CLIENT), IID_IDispatch,
                                                reinterpret_cast<void**>(parent))
                   : S_FALSE;
}
HRESULT WINAPI Acc_get_accChildCount(IAccessible* i, LONG* n) {
  if (!n) return E_POINTER;
  *n = 0;
  AccessibleField* a = impl_from_IAccessible(i);
  if (!a->control) return CO_E_OBJNOTCONNECTED;
  return a->standard ? IAccessible_get_accChildCount(a->standard, n) : S_OK;
}
HRESULT WINAPI Acc_get_accChild(IAccessible* i, VARIANT child, IDispatch** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  AccessibleField* a = impl_from_IAccessible(i);
  if (!a->control) return CO_E_OBJNOTCONNECTED;
  return a->standard ? IAccessible_get_accChild(a->standard, child, out) : E_INVALIDARG;
}

HRESULT WINAPI Acc_get_accName(IAccessible* i, VARIANT child, BSTR* name) {
  if (!name) return E_POINTER;
  *name = nullptr;
  ACC_ENTER(child);
  std::u16string text = c->engine.NomeAcessivel();
  if (text.empty() && a->edit) text = NameFromLabel(a->edit);
  if (text.empty()) return S_FALSE;
  *name = Bstr(text);
  return *name ? S_OK : E_OUTOFMEMORY;
}
HRESULT WINAPI Acc_get_accValue(IAccessible* i, VARIANT child, BSTR* value) {
  if (!value) return E_POINTER;
  *value = nullptr;
  ACC_ENTER(child);
  // A password's characters are not read out, not even their number.
  if (c->engine.HidesText()) return E_ACCESSDENIED;
  *value = Bstr(c->engine.Text());
  return *value ? S_OK : E_OUTOFMEMORY;
}
HRESULT WINAPI Acc_get_accDescription(IAccessible* i, VARIANT child, BSTR* description) {
  if (!description) return E_POINTER;
  *description = nullptr;
  ACC_ENTER(child);
  *description = Bstr(c->engine.AccessibleDescription());
  return *description ? S_OK : E_OUTOFMEMORY;
}
HRESULT WINAPI Acc_get_accRole(IAccessible* i, VARIANT child, VARIANT* role) {
  if (!role) return E_POINTER;
  VariantInit(role);
  ACC_ENTER(child);
  (void)c;
  if (a->standard) return IAccessible_get_accRole(a->standard, child, role);
  V_VT(role) = VT_I4;
  V_I4(role) = ROLE_SYSTEM_TEXT;
  return S_OK;
}
HRESULT WINAPI Acc_get_accState(IAccessible* i, VARIANT child, VARIANT* state) {
  if (!state) return E_POINTER;
  VariantInit(state);
  ACC_ENTER(child);
  if (a->standard) return IAccessible_get_accState(a->standard, child, state);
  Variant enabled, locked;
  LONG s = STATE_SYSTEM_FOCUSABLE;
  if (c->engine.Get(Property::Enabled, enabled).ok() && enabled.type() == VarType::Bool && !enabled.boolean())
    s |= STATE_SYSTEM_UNAVAILABLE;
  if (c->engine.Get(Property::Locked, locked).ok() && locked.type() == VarType::Bool && locked.boolean())
    s |= STATE_SYSTEM_READONLY;
  if (c->engine.HidesText()) s |= STATE_SYSTEM_PROTECTED;
  V_VT(state) = VT_I4;
  V_I4(state) = s;
  return S_OK;
}
HRESULT WINAPI Acc_get_accHelp(IAccessible* i, VARIANT child, BSTR* help) {
  if (!help) return E_POINTER;
  *help = nullptr;
  ACC_ENTER(child);
  (void)c;
  return a->standard ? IAccessible_get_accHelp(a->standard, child, help) : S_FALSE;
}
HRESULT WINAPI Acc_get_accHelpTopic(IAccessible* i, BSTR* file, VARIANT child, LONG* topic) {
  if (!file || !topic) return E_POINTER;
  *file = nullptr;
  *topic = 0;
  ACC_ENTER(child);
  (void)c;
  return a->standard ? IAccessible_get_accHelpTopic(a->standard, file, child, topic) : S_FALSE;
}
HRESULT WINAPI Acc_get_accKeyboardShortcut(IAccessible* i, VARIANT child, BSTR* shortcut) {
  if (!shortcut) return E_POINTER;
  *shortcut = nullptr;
  ACC_ENTER(child);
  (void)c;
  return a->standard ? IAccessible_get_accKeyboardShortcut(a->standard, child, shortcut) : S_FALSE;
}
HRESULT WINAPI Acc_get_accFocus(IAccessible* i, VARIANT* focus) {
  if (!focus) return E_POINTER;
  VariantInit(focus);
  AccessibleField* a = impl_from_IAccessible(i);
  if (!a->control) return CO_E_OBJNOTCONNECTED;
  return a->standard ? IAccessible_get_accFocus(a->standard, focus) : S_FALSE;
}
HRESULT WINAPI Acc_get_accSelection(IAccessible* i, VARIANT* selection) {
  if (!selection) return E_POINTER;
  VariantInit(selection);
  AccessibleField* a = impl_from_IAccessible(i);
  if (!a->control) return CO_E_OBJNOTCONNECTED;
  return a->standard ? IAccessible_get_accSelection(a->standard, selection) : S_FALSE;
}
HRESULT WINAPI Acc_get_accDefaultAction(IAccessible* i, VARIANT child, BSTR* action) {
  if (!action) return E_POINTER;
  *action = nullptr;
  ACC_ENTER(child);
  (void)c;
  return a->standard ? IAccessible_get_accDefaultAction(a->standard, child, action) : S_FALSE;
}
HRESULT WINAPI Acc_accSelect(IAccessible* i, LONG flags, VARIANT child) {
  ACC_ENTER(child);
  (void)c;
  return a->standard ? IAccessible_accSelect(a->standard, flags, child) : S_FALSE;
}
HRESULT WINAPI Acc_accLocation(IAccessible* i, LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) {
  if (!left || !top || !width || !height) return E_POINTER;
  *left = *top = *width = *height = 0;
  ACC_ENTER(child);
  if (a->standard) return IAccessible_accLocation(a->standard, left, top, width, height, child);
  POINT origin = {c->posRect.left, c->posRect.top};
  if (HWND container = ContainerWindow(c)) ClientToScreen(container, &origin);
  *left = origin.x;
  *top = origin.y;
  *width = c->posRect.right - c->posRect.left;
  *height = c->posRect.bottom - c->posRect.top;
  return S_OK;
}
HRESULT WINAPI Acc_accNavigate(IAccessible* i, LONG direction, VARIANT start, VARIANT* end) {
  if (!end) return E_POINTER;
  VariantInit(end);
  AccessibleField* a = impl_from_IAccessible(i);
  if (!a->control) return CO_E_OBJNOTCONNECTED;
  return a->standard ? IAccessible_accNavigate(a->standard, direction, start, end) : S_FALSE;
}
HRESULT WINAPI Acc_accHitTest(IAccessible* i, LONG x, LONG y, VARIANT* child) {
  if (!child) return E_POINTER;
  VariantInit(child);
  AccessibleField* a = impl_from_IAccessible(i);
  if (!a->control) return CO_E_OBJNOTCONNECTED;
  if (a->standard) return IAccessible_accHitTest(a->standard, x, y, child);
  LONG left, top, width, height;
  VARIANT self;
  V_VT(&self) = VT_I4;
  V_I4(&self) = CHILDID_SELF;
  Acc_accLocation(i, &left, &top, &width, &height, self);
  if (x < left || y < top || x >= left + width || y >= top + height) return S_FALSE;
  *child = self;
  return S_OK;
}
HRESULT WINAPI Acc_accDoDefaultAction(IAccessible* i, VARIANT child) {
  ACC_ENTER(child);
  (void)c;
  return a->standard ? IAccessible_accDoDefaultAction(a->standard, child) : DISP_E_MEMBERNOTFOUND;
}
// The name and the value are the field's own: a screen reader does not set them.
HRESULT WINAPI Acc_put_accName(IAccessible*, VARIANT, BSTR) { return E_NOTIMPL; }
HRESULT WINAPI Acc_put_accValue(IAccessible*, VARIANT, BSTR) { return E_NOTIMPL; }

#undef ACC_ENTER

const IAccessibleVtbl kAccessibleVtbl = {
    Acc_QueryInterface,      Acc_AddRef,           Acc_Release,         Acc_GetTypeInfoCount,
    Acc_GetTypeInfo,         Acc_GetIDsOfNames,    Acc_Invoke,          Acc_get_accParent,
    Acc_get_accChildCount,   Acc_get_accChild,     Acc_get_accName,     Acc_get_accValue,
    Acc_get_accDescription,  Acc_get_accRole,      Acc_get_accState,    Acc_get_accHelp,
    Acc_get_accHelpTopic,    Acc_get_accKeyboardShortcut, Acc_get_accFocus, Acc_get_accSelection,
    Acc_get_accDefaultAction, Acc_accSelect,       Acc_accLocation,     Acc_accNavigate,
    Acc_accHitTest,          Acc_accDoDefaultAction, Acc_put_accName,   Acc_put_accValue,
};

// ---- IOleWindow: the window the field is in ----

HRESULT WINAPI Win_QueryInterface(IOleWindow* i, REFIID riid, void** ppv) {
  return Acc_QueryInterface(&impl_from_IOleWindow(i)->IAccessible_iface, riid, ppv);
}
ULONG WINAPI Win_AddRef(IOleWindow* i) { return Acc_AddRef(&impl_from_IOleWindow(i)->IAccessible_iface); }
ULONG WINAPI Win_Release(IOleWindow* i) { return Acc_Release(&impl_from_IOleWindow(i)->IAccessible_iface); }
HRESULT WINAPI Win_GetWindow(IOleWindow* i, HWND* window) {
  if (!window) return E_POINTER;
  AccessibleField* a = impl_from_IOleWindow(i);
  *window = a->edit ? a->edit : a->control ? ContainerWindow(a->control) : nullptr;
  return *window ? S_OK : E_FAIL;
}
HRESULT WINAPI Win_ContextSensitiveHelp(IOleWindow*, BOOL) { return E_NOTIMPL; }

const IOleWindowVtbl kWindowVtbl = {Win_QueryInterface, Win_AddRef, Win_Release, Win_GetWindow, Win_ContextSensitiveHelp};

}  // namespace

bool AnswerGetObject(Control* c, WPARAM wp, LPARAM lp, LRESULT* result) {
  if (static_cast<LONG>(lp) != static_cast<LONG>(OBJID_CLIENT)) return false;
  HWND edit = c->window ? c->txo.window() : nullptr;
  // One object per edit box (a new one when the box was made again); the standard object of
  // a box that is gone would answer nothing.
  if (!c->accessible || c->accessible->edit != edit) {
    DisconnectAccessible(c);
    auto* a = new AccessibleField;
    a->IAccessible_iface.lpVtbl = const_cast<IAccessibleVtbl*>(&kAccessibleVtbl);
    a->IOleWindow_iface.lpVtbl = const_cast<IOleWindowVtbl*>(&kWindowVtbl);
    a->control = c;
    a->edit = edit;
    if (edit && FAILED(CreateStdAccessibleObject(edit, static_cast<LONG>(OBJID_CLIENT), IID_IAccessible,
                                                 reinterpret_cast<void**>(&a->standard))))
      a->standard = nullptr;
    c->accessible = a;
  }
  *result = LresultFromObject(IID_IAccessible, wp, reinterpret_cast<IUnknown*>(&c->accessible->IAccessible_iface));
  return true;
}

void DisconnectAccessible(Control* c) {
  if (!c->accessible) return;
  c->accessible->control = nullptr;
  Acc_Release(&c->accessible->IAccessible_iface);
  c->accessible = nullptr;
}

void ContainerWin32::AccessibleChanged(AccessibleChange what) {
  HWND edit = c_.window ? c_.txo.window() : nullptr;
  if (!edit) return;
  NotifyWinEvent(what == AccessibleChange::Name ? EVENT_OBJECT_NAMECHANGE : EVENT_OBJECT_DESCRIPTIONCHANGE, edit,
                 OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace delvorin::ocx
