#include "ocx/tests/MinimalSite.h"

#include <cstdint>

#include "ocx/Identifiers.h"

namespace delvorin::ocx::test {
namespace {

MinimalSite* impl_from_IOleClientSite(IOleClientSite* i) { return CONTAINING_RECORD(i, MinimalSite, IOleClientSite_iface); }
MinimalSite* impl_from_IOleInPlaceSite(IOleInPlaceSite* i) { return CONTAINING_RECORD(i, MinimalSite, IOleInPlaceSite_iface); }
MinimalSite* impl_from_IOleInPlaceFrame(IOleInPlaceFrame* i) { return CONTAINING_RECORD(i, MinimalSite, IOleInPlaceFrame_iface); }
MinimalSite* impl_from_IOleControlSite(IOleControlSite* i) { return CONTAINING_RECORD(i, MinimalSite, IOleControlSite_iface); }
MinimalSite* impl_from_IDispatch(IDispatch* i) { return CONTAINING_RECORD(i, MinimalSite, IDispatch_iface); }
MinimalSite* impl_from_IOleInPlaceSiteWindowless(IOleInPlaceSiteWindowless* i) {
  return CONTAINING_RECORD(i, MinimalSite, IOleInPlaceSiteWindowless_iface);
}

// One identity: every interface answers for all of them, and one count covers them all.
HRESULT Site_QueryInterface(MinimalSite* s, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleClientSite)) *ppv = &s->IOleClientSite_iface;
  else if (IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IOleInPlaceSite)) *ppv = &s->IOleInPlaceSite_iface;
  else if (IsEqualIID(riid, IID_IOleInPlaceUIWindow) || IsEqualIID(riid, IID_IOleInPlaceFrame)) *ppv = &s->IOleInPlaceFrame_iface;
  else if (IsEqualIID(riid, IID_IOleControlSite)) *ppv = &s->IOleControlSite_iface;
  else if (IsEqualIID(riid, IID_IDispatch)) *ppv = &s->IDispatch_iface;
  else if (s->windowless && (IsEqualIID(riid, IID_IOleInPlaceSiteEx) || IsEqualIID(riid, IID_IOleInPlaceSiteWindowless)))
    *ppv = &s->IOleInPlaceSiteWindowless_iface;
  else return E_NOINTERFACE;
  InterlockedIncrement(&s->ref);
  return S_OK;
}
ULONG Site_AddRef(MinimalSite* s) { return InterlockedIncrement(&s->ref); }
ULONG Site_Release(MinimalSite* s) { return InterlockedDecrement(&s->ref); }

// IOleClientSite
HRESULT WINAPI ClientSite_QueryInterface(IOleClientSite* i, REFIID r, void** p) {
  return Site_QueryInterface(impl_from_IOleClientSite(i), r, p);
}
ULONG WINAPI ClientSite_AddRef(IOleClientSite* i) { return Site_AddRef(impl_from_IOleClientSite(i)); }
ULONG WINAPI ClientSite_Release(IOleClientSite* i) { return Site_Release(impl_from_IOleClientSite(i)); }
HRESULT WINAPI ClientSite_SaveObject(IOleClientSite*) { return E_NOTIMPL; }
HRESULT WINAPI ClientSite_GetMoniker(IOleClientSite*, DWORD, DWORD, IMoniker** m) {
  if (m) *m = nullptr;
  return E_NOTIMPL;
}
HRESULT WINAPI ClientSite_GetContainer(IOleClientSite*, IOleContainer** c) {
  if (c) *c = nullptr;
  return E_NOINTERFACE;
}
HRESULT WINAPI ClientSite_ShowObject(IOleClientSite* i) {
  impl_from_IOleClientSite(i)->Record("ShowObject");
  ++impl_from_IOleClientSite(i)->callCounts.showObject;
  return S_OK;
}
HRESULT WINAPI ClientSite_OnShowWindow(IOleClientSite* i, BOOL shown) {
  impl_from_IOleClientSite(i)->Record(shown ? "OnShowWindow(TRUE)" : "OnShowWindow(FALSE)");
  return S_OK;
}
HRESULT WINAPI ClientSite_RequestNewObjectLayout(IOleClientSite*) { return E_NOTIMPL; }

const IOleClientSiteVtbl kClientSiteVtbl = {
    ClientSite_QueryInterface, ClientSite_AddRef, ClientSite_Release, ClientSite_SaveObject, ClientSite_GetMoniker,
    ClientSite_GetContainer, ClientSite_ShowObject, ClientSite_OnShowWindow, ClientSite_RequestNewObjectLayout,
};

// IOleInPlaceSite
HRESULT WINAPI InPlaceSite_QueryInterface(IOleInPlaceSite* i, REFIID r, void** p) {
  return Site_QueryInterface(impl_from_IOleInPlaceSite(i), r, p);
}
ULONG WINAPI InPlaceSite_AddRef(IOleInPlaceSite* i) { return Site_AddRef(impl_from_IOleInPlaceSite(i)); }
ULONG WINAPI InPlaceSite_Release(IOleInPlaceSite* i) { return Site_Release(impl_from_IOleInPlaceSite(i)); }
HRESULT WINAPI InPlaceSite_GetWindow(IOleInPlaceSite* i, HWND* h) {
  impl_from_IOleInPlaceSite(i)->Record("GetWindow");
  if (!h) return E_POINTER;
  *h = impl_from_IOleInPlaceSite(i)->parent;
  return S_OK;
}
HRESULT WINAPI InPlaceSite_ContextSensitiveHelp(IOleInPlaceSite*, BOOL) { return E_NOTIMPL; }
HRESULT WINAPI InPlaceSite_CanInPlaceActivate(IOleInPlaceSite* i) {
  impl_from_IOleInPlaceSite(i)->Record("CanInPlaceActivate");
  ++impl_from_IOleInPlaceSite(i)->callCounts.canInPlaceActivate;
  return S_OK;
}
HRESULT WINAPI InPlaceSite_OnInPlaceActivate(IOleInPlaceSite* i) {
  impl_from_IOleInPlaceSite(i)->Record("OnInPlaceActivate");
  ++impl_from_IOleInPlaceSite(i)->callCounts.onInPlaceActivate;
  impl_from_IOleInPlaceSite(i)->inPlace = true;
  return S_OK;
}
HRESULT WINAPI InPlaceSite_OnUIActivate(IOleInPlaceSite* i) {
  impl_from_IOleInPlaceSite(i)->Record("OnUIActivate");
  ++impl_from_IOleInPlaceSite(i)->callCounts.onUIActivate;
  return S_OK;
}
HRESULT WINAPI InPlaceSite_GetWindowContext(IOleInPlaceSite* i, IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                            RECT* pos, RECT* clip, OLEINPLACEFRAMEINFO* info) {
  MinimalSite* s = impl_from_IOleInPlaceSite(i);
  ++s->callCounts.getWindowContext;
  s->Record("GetWindowContext");
  if (!frame || !document || !pos || !clip || !info) return E_POINTER;
  *frame = &s->IOleInPlaceFrame_iface;
  Site_AddRef(s);
  *document = nullptr;  // no separate document window: the frame serves
  *pos = s->position;
  *clip = s->position;
  info->fMDIApp = FALSE;
  info->hwndFrame = GetAncestor(s->parent, GA_ROOT);
  info->haccel = nullptr;
  info->cAccelEntries = 0;
  return S_OK;
}
HRESULT WINAPI InPlaceSite_Scroll(IOleInPlaceSite*, SIZE) { return E_NOTIMPL; }
HRESULT WINAPI InPlaceSite_OnUIDeactivate(IOleInPlaceSite* i, BOOL) {
  impl_from_IOleInPlaceSite(i)->Record("OnUIDeactivate");
  ++impl_from_IOleInPlaceSite(i)->callCounts.onUIDeactivate;
  return S_OK;
}
HRESULT WINAPI InPlaceSite_OnInPlaceDeactivate(IOleInPlaceSite* i) {
  MinimalSite* s = impl_from_IOleInPlaceSite(i);
  ++s->callCounts.onInPlaceDeactivate;
  s->Record("OnInPlaceDeactivate");
  s->window = nullptr;
  s->inPlace = false;
  return S_OK;
}
HRESULT WINAPI InPlaceSite_DiscardUndoState(IOleInPlaceSite*) { return S_OK; }
HRESULT WINAPI InPlaceSite_DeactivateAndUndo(IOleInPlaceSite*) { return E_NOTIMPL; }
// The control asks for another rectangle: granted as asked.
HRESULT WINAPI InPlaceSite_OnPosRectChange(IOleInPlaceSite* i, LPCRECT pos) {
  MinimalSite* s = impl_from_IOleInPlaceSite(i);
  ++s->callCounts.onPosRectChange;
  s->Record("OnPosRectChange");
  if (!pos) return E_POINTER;
  s->position = *pos;
  if (IOleInPlaceObject* ipo = s->Interface<IOleInPlaceObject>(IID_IOleInPlaceObject)) {
    IOleInPlaceObject_SetObjectRects(ipo, pos, pos);
    IOleInPlaceObject_Release(ipo);
  }
  return S_OK;
}

const IOleInPlaceSiteVtbl kInPlaceSiteVtbl = {
    InPlaceSite_QueryInterface, InPlaceSite_AddRef, InPlaceSite_Release, InPlaceSite_GetWindow,
    InPlaceSite_ContextSensitiveHelp, InPlaceSite_CanInPlaceActivate, InPlaceSite_OnInPlaceActivate,
    InPlaceSite_OnUIActivate, InPlaceSite_GetWindowContext, InPlaceSite_Scroll, InPlaceSite_OnUIDeactivate,
    InPlaceSite_OnInPlaceDeactivate, InPlaceSite_DiscardUndoState, InPlaceSite_DeactivateAndUndo,
    InPlaceSite_OnPosRectChange,
};

// IOleInPlaceSiteWindowless: the site's window is shared with the controls it draws; the
// site paints, and hands them the messages over them (MinimalSite::HoverAt, ClickAt, Focus).
IOleInPlaceSite* Base(IOleInPlaceSiteWindowless* i) { return &impl_from_IOleInPlaceSiteWindowless(i)->IOleInPlaceSite_iface; }
HRESULT WINAPI Wl_QueryInterface(IOleInPlaceSiteWindowless* i, REFIID r, void** p) { return InPlaceSite_QueryInterface(Base(i), r, p); }
ULONG WINAPI Wl_AddRef(IOleInPlaceSiteWindowless* i) { return InPlaceSite_AddRef(Base(i)); }
ULONG WINAPI Wl_Release(IOleInPlaceSiteWindowless* i) { return InPlaceSite_Release(Base(i)); }
HRESULT WINAPI Wl_GetWindow(IOleInPlaceSiteWindowless* i, HWND* h) { return InPlaceSite_GetWindow(Base(i), h); }
HRESULT WINAPI Wl_ContextSensitiveHelp(IOleInPlaceSiteWindowless*, BOOL) { return E_NOTIMPL; }
HRESULT WINAPI Wl_CanInPlaceActivate(IOleInPlaceSiteWindowless* i) { return InPlaceSite_CanInPlaceActivate(Base(i)); }
HRESULT WINAPI Wl_OnInPlaceActivate(IOleInPlaceSiteWindowless* i) { return InPlaceSite_OnInPlaceActivate(Base(i)); }
HRESULT WINAPI Wl_OnUIActivate(IOleInPlaceSiteWindowless* i) { return InPlaceSite_OnUIActivate(Base(i)); }
HRESULT WINAPI Wl_GetWindowContext(IOleInPlaceSiteWindowless* i, IOleInPlaceFrame** f, IOleInPlaceUIWindow** d, RECT* p, RECT* r,
                                   OLEINPLACEFRAMEINFO* info) {
  return InPlaceSite_GetWindowContext(Base(i), f, d, p, r, info);
}
HRESULT WINAPI Wl_Scroll(IOleInPlaceSiteWindowless*, SIZE) { return E_NOTIMPL; }
HRESULT WINAPI Wl_OnUIDeactivate(IOleInPlaceSiteWindowless* i, BOOL u) { return InPlaceSite_OnUIDeactivate(Base(i), u); }
HRESULT WINAPI Wl_OnInPlaceDeactivate(IOleInPlaceSiteWindowless* i) { return InPlaceSite_OnInPlaceDeactivate(Base(i)); }
HRESULT WINAPI Wl_DiscardUndoState(IOleInPlaceSiteWindowless*) { return S_OK; }
HRESULT WINAPI Wl_DeactivateAndUndo(IOleInPlaceSiteWindowless*) { return E_NOTIMPL; }
HRESULT WINAPI Wl_OnPosRectChange(IOleInPlaceSiteWindowless* i, LPCRECT r) { return InPlaceSite_OnPosRectChange(Base(i), r); }
HRESULT WINAPI Wl_OnInPlaceActivateEx(IOleInPlaceSiteWindowless* i, BOOL* noRedraw, DWORD flags) {
  MinimalSite* s = impl_from_IOleInPlaceSiteWindowless(i);
  ++s->callCounts.onInPlaceActivateEx;
  s->Record(flags & ACTIVATE_WINDOWLESS ? "OnInPlaceActivateEx(WINDOWLESS)" : "OnInPlaceActivateEx");
  if (noRedraw) *noRedraw = FALSE;
  s->inPlace = true;
  s->inPlaceWindowless = (flags & ACTIVATE_WINDOWLESS) != 0;
  return S_OK;
}
HRESULT WINAPI Wl_OnInPlaceDeactivateEx(IOleInPlaceSiteWindowless* i, BOOL) {
  MinimalSite* s = impl_from_IOleInPlaceSiteWindowless(i);
  ++s->callCounts.onInPlaceDeactivateEx;
  s->Record("OnInPlaceDeactivateEx");
  s->window = nullptr;
  s->inPlace = s->inPlaceWindowless = false;
  return S_OK;
}
HRESULT WINAPI Wl_RequestUIActivate(IOleInPlaceSiteWindowless*) { return S_OK; }
HRESULT WINAPI Wl_CanWindowlessActivate(IOleInPlaceSiteWindowless* i) {
  impl_from_IOleInPlaceSiteWindowless(i)->Record("CanWindowlessActivate");
  return S_OK;
}
HRESULT WINAPI Wl_GetCapture(IOleInPlaceSiteWindowless*) { return S_FALSE; }
HRESULT WINAPI Wl_SetCapture(IOleInPlaceSiteWindowless*, BOOL) { return S_OK; }
HRESULT WINAPI Wl_GetFocus(IOleInPlaceSiteWindowless* i) {
  impl_from_IOleInPlaceSiteWindowless(i)->Record("GetFocus");
  return S_FALSE;
}
HRESULT WINAPI Wl_SetFocus(IOleInPlaceSiteWindowless*, BOOL) { return S_OK; }
HRESULT WINAPI Wl_GetDC(IOleInPlaceSiteWindowless* i, LPCRECT, DWORD, HDC* dc) {
  if (!dc) return E_POINTER;
  *dc = GetDC(impl_from_IOleInPlaceSiteWindowless(i)->parent);
  return *dc ? S_OK : E_FAIL;
}
HRESULT WINAPI Wl_ReleaseDC(IOleInPlaceSiteWindowless* i, HDC dc) {
  ReleaseDC(impl_from_IOleInPlaceSiteWindowless(i)->parent, dc);
  return S_OK;
}
HRESULT WINAPI Wl_InvalidateRect(IOleInPlaceSiteWindowless* i, LPCRECT r, BOOL erase) {
  MinimalSite* s = impl_from_IOleInPlaceSiteWindowless(i);
  ++s->callCounts.invalidateRect;
  s->Record("InvalidateRect");
  InvalidateRect(s->parent, r, erase);
  return S_OK;
}
HRESULT WINAPI Wl_InvalidateRgn(IOleInPlaceSiteWindowless* i, HRGN rgn, BOOL erase) {
  InvalidateRgn(impl_from_IOleInPlaceSiteWindowless(i)->parent, rgn, erase);
  return S_OK;
}
HRESULT WINAPI Wl_ScrollRect(IOleInPlaceSiteWindowless*, INT, INT, LPCRECT, LPCRECT) { return E_NOTIMPL; }
HRESULT WINAPI Wl_AdjustRect(IOleInPlaceSiteWindowless*, LPRECT r) { return r ? S_OK : E_POINTER; }
HRESULT WINAPI Wl_OnDefWindowMessage(IOleInPlaceSiteWindowless* i, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  if (!result) return E_POINTER;
  *result = DefWindowProcW(impl_from_IOleInPlaceSiteWindowless(i)->parent, msg, wp, lp);
  return S_OK;
}

const IOleInPlaceSiteWindowlessVtbl kWindowlessVtbl = {
    Wl_QueryInterface, Wl_AddRef, Wl_Release, Wl_GetWindow, Wl_ContextSensitiveHelp, Wl_CanInPlaceActivate,
    Wl_OnInPlaceActivate, Wl_OnUIActivate, Wl_GetWindowContext, Wl_Scroll, Wl_OnUIDeactivate, Wl_OnInPlaceDeactivate,
    Wl_DiscardUndoState, Wl_DeactivateAndUndo, Wl_OnPosRectChange, Wl_OnInPlaceActivateEx, Wl_OnInPlaceDeactivateEx,
    Wl_RequestUIActivate, Wl_CanWindowlessActivate, Wl_GetCapture, Wl_SetCapture, Wl_GetFocus, Wl_SetFocus, Wl_GetDC,
    Wl_ReleaseDC, Wl_InvalidateRect, Wl_InvalidateRgn, Wl_ScrollRect, Wl_AdjustRect, Wl_OnDefWindowMessage,
};

// IOleInPlaceFrame: no menus, no toolbars, no accelerators of its own.
HRESULT WINAPI Frame_QueryInterface(IOleInPlaceFrame* i, REFIID r, void** p) {
  return Site_QueryInterface(impl_from_IOleInPlaceFrame(i), r, p);
}
ULONG WINAPI Frame_AddRef(IOleInPlaceFrame* i) { return Site_AddRef(impl_from_IOleInPlaceFrame(i)); }
ULONG WINAPI Frame_Release(IOleInPlaceFrame* i) { return Site_Release(impl_from_IOleInPlaceFrame(i)); }
HRESULT WINAPI Frame_GetWindow(IOleInPlaceFrame* i, HWND* h) {
  impl_from_IOleInPlaceFrame(i)->Record("Frame_GetWindow");
  if (!h) return E_POINTER;
  *h = GetAncestor(impl_from_IOleInPlaceFrame(i)->parent, GA_ROOT);
  return S_OK;
}
HRESULT WINAPI Frame_ContextSensitiveHelp(IOleInPlaceFrame*, BOOL) { return E_NOTIMPL; }
HRESULT WINAPI Frame_GetBorder(IOleInPlaceFrame* i, LPRECT) {
  impl_from_IOleInPlaceFrame(i)->Record("Frame_GetBorder");
  return INPLACE_E_NOTOOLSPACE;
}
HRESULT WINAPI Frame_RequestBorderSpace(IOleInPlaceFrame* i, LPCBORDERWIDTHS) {
  impl_from_IOleInPlaceFrame(i)->Record("Frame_RequestBorderSpace");
  return INPLACE_E_NOTOOLSPACE;
}
HRESULT WINAPI Frame_SetBorderSpace(IOleInPlaceFrame* i, LPCBORDERWIDTHS w) {
  impl_from_IOleInPlaceFrame(i)->Record(w ? "Frame_SetBorderSpace" : "Frame_SetBorderSpace(NULL)");
  return S_OK;
}
// The frame holds the UI-active object until it is replaced or cleared, as containers do.
HRESULT WINAPI Frame_SetActiveObject(IOleInPlaceFrame* i, IOleInPlaceActiveObject* object, LPCOLESTR) {
  MinimalSite* s = impl_from_IOleInPlaceFrame(i);
  ++s->callCounts.setActiveObject;
  s->Record(object ? "Frame_SetActiveObject" : "Frame_SetActiveObject(NULL)");
  if (object) IOleInPlaceActiveObject_AddRef(object);
  if (s->activeObject) IOleInPlaceActiveObject_Release(s->activeObject);
  s->activeObject = object;
  return S_OK;
}
HRESULT WINAPI Frame_InsertMenus(IOleInPlaceFrame* i, HMENU, LPOLEMENUGROUPWIDTHS) {
  impl_from_IOleInPlaceFrame(i)->Record("Frame_InsertMenus");
  return E_NOTIMPL;
}
HRESULT WINAPI Frame_SetMenu(IOleInPlaceFrame* i, HMENU, HOLEMENU, HWND) {
  impl_from_IOleInPlaceFrame(i)->Record("Frame_SetMenu");
  return S_OK;
}
HRESULT WINAPI Frame_RemoveMenus(IOleInPlaceFrame* i, HMENU) {
  impl_from_IOleInPlaceFrame(i)->Record("Frame_RemoveMenus");
  return S_OK;
}
HRESULT WINAPI Frame_SetStatusText(IOleInPlaceFrame*, LPCOLESTR) { return S_OK; }
HRESULT WINAPI Frame_EnableModeless(IOleInPlaceFrame*, BOOL) { return S_OK; }
HRESULT WINAPI Frame_TranslateAccelerator(IOleInPlaceFrame*, LPMSG, WORD) { return S_FALSE; }

const IOleInPlaceFrameVtbl kFrameVtbl = {
    Frame_QueryInterface, Frame_AddRef, Frame_Release, Frame_GetWindow, Frame_ContextSensitiveHelp, Frame_GetBorder,
    Frame_RequestBorderSpace, Frame_SetBorderSpace, Frame_SetActiveObject, Frame_InsertMenus, Frame_SetMenu,
    Frame_RemoveMenus, Frame_SetStatusText, Frame_EnableModeless, Frame_TranslateAccelerator,
};

// IOleControlSite
HRESULT WINAPI ControlSite_QueryInterface(IOleControlSite* i, REFIID r, void** p) {
  return Site_QueryInterface(impl_from_IOleControlSite(i), r, p);
}
ULONG WINAPI ControlSite_AddRef(IOleControlSite* i) { return Site_AddRef(impl_from_IOleControlSite(i)); }
ULONG WINAPI ControlSite_Release(IOleControlSite* i) { return Site_Release(impl_from_IOleControlSite(i)); }
HRESULT WINAPI ControlSite_OnControlInfoChanged(IOleControlSite* i) {
  ++impl_from_IOleControlSite(i)->callCounts.onControlInfoChanged;
  return S_OK;
}
HRESULT WINAPI ControlSite_LockInPlaceActive(IOleControlSite* i, BOOL lock) {
  impl_from_IOleControlSite(i)->Record(lock ? "LockInPlaceActive(TRUE)" : "LockInPlaceActive(FALSE)");
  return S_OK;
}
HRESULT WINAPI ControlSite_GetExtendedControl(IOleControlSite*, IDispatch** d) {
  if (d) *d = nullptr;
  return E_NOTIMPL;
}
HRESULT WINAPI ControlSite_TransformCoords(IOleControlSite*, POINTL*, POINTF*, DWORD) { return E_NOTIMPL; }
// The site has no keys of its own: everything goes back to the control.
HRESULT WINAPI ControlSite_TranslateAccelerator(IOleControlSite* i, MSG*, DWORD) {
  ++impl_from_IOleControlSite(i)->callCounts.translateAccelerator;
  return S_FALSE;
}
HRESULT WINAPI ControlSite_OnFocus(IOleControlSite* i, BOOL gained) {
  MinimalSite* s = impl_from_IOleControlSite(i);
  ++(gained ? s->callCounts.focusGained : s->callCounts.focusLost);
  s->Record(gained ? "OnFocus(TRUE)" : "OnFocus(FALSE)");
  return S_OK;
}
HRESULT WINAPI ControlSite_ShowPropertyFrame(IOleControlSite*) { return E_NOTIMPL; }

const IOleControlSiteVtbl kControlSiteVtbl = {
    ControlSite_QueryInterface, ControlSite_AddRef, ControlSite_Release, ControlSite_OnControlInfoChanged,
    ControlSite_LockInPlaceActive, ControlSite_GetExtendedControl, ControlSite_TransformCoords,
    ControlSite_TranslateAccelerator, ControlSite_OnFocus, ControlSite_ShowPropertyFrame,
};

// IDispatch: the ambient properties. Only UserMode is known; for every other one the control
// takes its own default.
HRESULT WINAPI Ambient_QueryInterface(IDispatch* i, REFIID r, void** p) {
  return Site_QueryInterface(impl_from_IDispatch(i), r, p);
}
ULONG WINAPI Ambient_AddRef(IDispatch* i) { return Site_AddRef(impl_from_IDispatch(i)); }
ULONG WINAPI Ambient_Release(IDispatch* i) { return Site_Release(impl_from_IDispatch(i)); }
HRESULT WINAPI Ambient_GetTypeInfoCount(IDispatch*, UINT* n) {
  if (!n) return E_POINTER;
  *n = 0;
  return S_OK;
}
HRESULT WINAPI Ambient_GetTypeInfo(IDispatch*, UINT, LCID, ITypeInfo** t) {
  if (t) *t = nullptr;
  return E_NOTIMPL;
}
HRESULT WINAPI Ambient_GetIDsOfNames(IDispatch*, REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
HRESULT WINAPI Ambient_Invoke(IDispatch* i, DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                               UINT*) {
  MinimalSite* s = impl_from_IDispatch(i);
  ++s->callCounts.ambientReads;
  if (id != DISPID_AMBIENT_USERMODE && id != DISPID_AMBIENT_MESSAGEREFLECT) return DISP_E_MEMBERNOTFOUND;
  if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
  if (!result) return E_POINTER;
  V_VT(result) = VT_BOOL;
  const bool value = id == DISPID_AMBIENT_USERMODE ? s->userMode : s->reflects;
  V_BOOL(result) = value ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

const IDispatchVtbl kAmbientVtbl = {
    Ambient_QueryInterface, Ambient_AddRef, Ambient_Release, Ambient_GetTypeInfoCount, Ambient_GetTypeInfo,
    Ambient_GetIDsOfNames, Ambient_Invoke,
};

// ---- Message reflection ----

// The window procedure of a reflecting site's window: what a child sends it about itself goes
// back to the child as an OCM_ message; everything else to the window's own procedure.
constexpr wchar_t kReflectionProp[] = L"MinimalSiteReflection";
HWND g_reflected = nullptr;  // the window reflection was last installed on

LRESULT CALLBACK ReflectProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  auto original = reinterpret_cast<WNDPROC>(GetPropW(h, kReflectionProp));
  if (msg == WM_NCDESTROY) {
    if (h == g_reflected) g_reflected = nullptr;
    RemovePropW(h, kReflectionProp);
    SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
  }
  const bool fromChild = (msg == WM_COMMAND && lp) || (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC);
  if (fromChild && IsChild(h, reinterpret_cast<HWND>(lp)))
    return SendMessageW(reinterpret_cast<HWND>(lp), OCM__BASE + msg, wp, lp);
  return CallWindowProcW(original, h, msg, wp, lp);
}

void InstallReflection(HWND h) {
  // Once per window: many sites share one form, and asking the window is a round trip.
  if (h == g_reflected || GetPropW(h, kReflectionProp)) return;
  g_reflected = h;
  SetPropW(h, kReflectionProp, reinterpret_cast<HANDLE>(GetWindowLongPtrW(h, GWLP_WNDPROC)));
  SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ReflectProc));
}

// ---- Counting ----

bool UnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

BOOL CALLBACK CountOne(HWND, LPARAM n) {
  ++*reinterpret_cast<int*>(n);
  return TRUE;
}
BOOL CALLBACK CountWithDescendants(HWND h, LPARAM n) {
  ++*reinterpret_cast<int*>(n);
  EnumChildWindows(h, CountOne, n);  // every descendant, not only the children
  return TRUE;
}
int CountWindows() {
  int n = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountWithDescendants, reinterpret_cast<LPARAM>(&n));
  for (HWND h = nullptr; (h = FindWindowExW(HWND_MESSAGE, h, nullptr, nullptr)) != nullptr;)
    if (GetWindowThreadProcessId(h, nullptr) == GetCurrentThreadId()) CountWithDescendants(h, reinterpret_cast<LPARAM>(&n));
  return n;
}

// Wine's GDI_HANDLE_ENTRY (include/ntgdi.h): the same 24 bytes in 32- and 64-bit processes,
// 65536 of them.
struct GdiEntry {
  uint64_t object;
  uint32_t owner;
  uint16_t unique;
  uint8_t type;
  uint8_t flags;
  uint64_t user;
};
static_assert(sizeof(GdiEntry) == 24);

int CountGdiObjects() {
  if (!UnderWine()) return static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
  using PebFn = const char*(WINAPI*)();
  FARPROC f = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetCurrentPeb");
  auto currentPeb = reinterpret_cast<PebFn>(reinterpret_cast<void*>(f));
  const char* pebBase = currentPeb ? currentPeb() : nullptr;
  if (!pebBase) return -1;
  const auto* table = *reinterpret_cast<const GdiEntry* const*>(pebBase + (sizeof(void*) == 8 ? 0xf8 : 0x94));
  if (!table) return -1;
  int n = 0;
  for (int i = 0; i < 0x10000; ++i) n += table[i].type != 0;
  return n;
}

}  // namespace

ResourceUse Measure() {
  ResourceUse m;
  m.windows = CountWindows();
  m.gdi = CountGdiObjects();
  HANDLE heaps[256];
  DWORD n = GetProcessHeaps(256, heaps);
  for (DWORD i = 0; i < n && i < 256; ++i) {
    HeapLock(heaps[i]);
    PROCESS_HEAP_ENTRY e{};
    while (HeapWalk(heaps[i], &e))
      if (e.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
        m.bytes += e.cbData;
        ++m.blocks;
      }
    HeapUnlock(heaps[i]);
  }
  MEMORY_BASIC_INFORMATION r;
  for (const char* p = nullptr; VirtualQuery(p, &r, sizeof(r)) == sizeof(r);) {
    if (r.State == MEM_COMMIT && r.Type == MEM_PRIVATE) m.pages += static_cast<size_t>(r.RegionSize);
    const char* nextRegion = static_cast<const char*>(r.BaseAddress) + r.RegionSize;
    if (nextRegion <= p) break;
    p = nextRegion;
  }
  return m;
}

MinimalSite::MinimalSite() {
  IOleClientSite_iface.lpVtbl = const_cast<IOleClientSiteVtbl*>(&kClientSiteVtbl);
  IOleInPlaceSite_iface.lpVtbl = const_cast<IOleInPlaceSiteVtbl*>(&kInPlaceSiteVtbl);
  IOleInPlaceFrame_iface.lpVtbl = const_cast<IOleInPlaceFrameVtbl*>(&kFrameVtbl);
  IOleControlSite_iface.lpVtbl = const_cast<IOleControlSiteVtbl*>(&kControlSiteVtbl);
  IDispatch_iface.lpVtbl = const_cast<IDispatchVtbl*>(&kAmbientVtbl);
  IOleInPlaceSiteWindowless_iface.lpVtbl = const_cast<IOleInPlaceSiteWindowlessVtbl*>(&kWindowlessVtbl);
}

MinimalSite::~MinimalSite() { Destroy(); }

HRESULT MinimalSite::Create(HWND parentWindow, const RECT& pos, IStream* data) {
  HRESULT hr = Instantiate();
  if (SUCCEEDED(hr)) hr = Init(data);
  if (SUCCEEDED(hr)) hr = Show(parentWindow, pos);
  return hr;
}

HRESULT MinimalSite::Instantiate() {
  if (object) return E_UNEXPECTED;
  HRESULT hr = factory ? IClassFactory_CreateInstance(factory, nullptr, IID_IOleObject, reinterpret_cast<void**>(&object))
                       : CoCreateInstance(kClsidDelvorin, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, reinterpret_cast<void**>(&object));
  if (FAILED(hr)) {
    object = nullptr;
    return hr;
  }
  // The control asks for its site before it is initialised (OLEMISC_SETCLIENTSITEFIRST):
  // it reads the ambient properties while it loads.
  return IOleObject_SetClientSite(object, &IOleClientSite_iface);
}

HRESULT MinimalSite::Init(IStream* data) {
  IPersistStreamInit* persist = Interface<IPersistStreamInit>(IID_IPersistStreamInit);
  if (!persist) return E_NOINTERFACE;
  HRESULT hr = data ? IPersistStreamInit_Load(persist, data) : IPersistStreamInit_InitNew(persist);
  IPersistStreamInit_Release(persist);
  return hr;
}

HRESULT MinimalSite::Activate(HWND parentWindow, const RECT& pos) {
  if (!object) return E_UNEXPECTED;
  parent = parentWindow;
  position = pos;
  if (reflects) InstallReflection(parent);
  HRESULT hr = IOleObject_DoVerb(object, OLEIVERB_INPLACEACTIVATE, nullptr, &IOleClientSite_iface, 0, parent, &position);
  if (FAILED(hr)) return hr;
  IOleInPlaceObject* ipo = Interface<IOleInPlaceObject>(IID_IOleInPlaceObject);
  if (!ipo) return E_NOINTERFACE;
  hr = IOleInPlaceObject_GetWindow(ipo, &window);
  IOleInPlaceObject_Release(ipo);
  // A windowless control has no window to give.
  if (inPlaceWindowless && hr == E_FAIL) {
    window = nullptr;
    return S_OK;
  }
  return hr;
}

HRESULT MinimalSite::Show(HWND parentWindow, const RECT& pos) {
  if (!object) return E_UNEXPECTED;
  DWORD status = 0;
  IPointerInactive* pointerInactive = inactive ? Interface<IPointerInactive>(IID_IPointerInactive) : nullptr;
  const bool staysInactive = pointerInactive && SUCCEEDED(IOleObject_GetMiscStatus(object, DVASPECT_CONTENT, &status)) &&
                           (status & OLEMISC_IGNOREACTIVATEWHENVISIBLE);
  if (pointerInactive) IPointerInactive_Release(pointerInactive);
  if (!staysInactive) return Activate(parentWindow, pos);
  parent = parentWindow;
  position = pos;
  if (reflects) InstallReflection(parent);
  return S_OK;
}

void MinimalSite::RefreshWindow() {
  window = nullptr;
  if (IOleInPlaceObject* ipo = Interface<IOleInPlaceObject>(IID_IOleInPlaceObject)) {
    if (FAILED(IOleInPlaceObject_GetWindow(ipo, &window))) window = nullptr;
    IOleInPlaceObject_Release(ipo);
  }
}

HRESULT MinimalSite::Forward(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  IOleInPlaceObjectWindowless* w = Interface<IOleInPlaceObjectWindowless>(IID_IOleInPlaceObjectWindowless);
  if (!w) return E_NOINTERFACE;
  LRESULT r = 0;
  HRESULT hr = IOleInPlaceObjectWindowless_OnWindowMessage(w, msg, wp, lp, &r);
  IOleInPlaceObjectWindowless_Release(w);
  if (result) *result = r;
  return hr;
}

HRESULT MinimalSite::HoverAt(POINT p, DWORD keys) {
  if (!object) return E_UNEXPECTED;
  HRESULT hr = E_UNEXPECTED;
  if (inPlaceWindowless) {
    hr = Forward(WM_SETCURSOR, reinterpret_cast<WPARAM>(parent), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    if (SUCCEEDED(hr)) hr = Forward(WM_MOUSEMOVE, keys, MAKELPARAM(p.x, p.y));
  } else if (!inPlace) {
    IPointerInactive* i = Interface<IPointerInactive>(IID_IPointerInactive);
    if (!i) return E_NOINTERFACE;
    hr = IPointerInactive_OnInactiveSetCursor(i, &position, p.x, p.y, WM_MOUSEMOVE, FALSE);
    if (SUCCEEDED(hr)) hr = IPointerInactive_OnInactiveMouseMove(i, &position, p.x, p.y, keys);
    IPointerInactive_Release(i);
  }
  return hr;
}

HRESULT MinimalSite::ClickAt(POINT p) {
  if (!object) return E_UNEXPECTED;
  HRESULT hr = E_UNEXPECTED;
  if (inPlaceWindowless) {
    hr = Forward(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  } else if (!inPlace) {
    // The click that activates an inactive control is handed to it with the verb.
    MSG m{parent, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y), GetTickCount(), p};
    ClientToScreen(parent, &m.pt);
    RECT at = position;
    hr = IOleObject_DoVerb(object, OLEIVERB_UIACTIVATE, &m, &IOleClientSite_iface, 0, parent, &at);
  }
  RefreshWindow();
  return hr;
}

HRESULT MinimalSite::Focus() {
  if (!object) return E_UNEXPECTED;
  HRESULT hr;
  if (inPlaceWindowless) {
    hr = Forward(WM_SETFOCUS, 0, 0);
  } else {
    RECT at = position;
    hr = IOleObject_DoVerb(object, OLEIVERB_UIACTIVATE, nullptr, &IOleClientSite_iface, 0, parent, &at);
  }
  RefreshWindow();
  return hr;
}

HRESULT MinimalSite::Paint(HDC dc) {
  IViewObject* view = Interface<IViewObject>(IID_IViewObject);
  if (!view) return E_NOINTERFACE;
  // A windowless control in place is drawn at its own rectangle, with no bounds.
  const RECTL bounds{position.left, position.top, position.right, position.bottom};
  HRESULT hr = IViewObject_Draw(view, DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, inPlaceWindowless ? nullptr : &bounds,
                                nullptr, nullptr, 0);
  IViewObject_Release(view);
  return hr;
}

HWND MinimalSite::Edit() const {
  if (!window) return nullptr;
  wchar_t cls[8] = {};
  GetClassNameW(window, cls, 8);
  return _wcsicmp(cls, L"Edit") == 0 ? window : FindWindowExW(window, nullptr, L"Edit", nullptr);
}

bool MinimalSite::Destroy() {
  if (!object) return ref == 1 && !activeObject;
  IOleObject_Close(object, OLECLOSE_NOSAVE);
  IOleObject_SetClientSite(object, nullptr);
  // A frame still holding the active object after Close means the control never cleared it.
  bool activeReleased = !activeObject;
  if (activeObject) IOleInPlaceActiveObject_Release(activeObject);
  activeObject = nullptr;
  ULONG remaining = IOleObject_Release(object);
  object = nullptr;
  window = nullptr;
  return remaining == 0 && activeReleased && ref == 1;
}

}  // namespace delvorin::ocx::test
