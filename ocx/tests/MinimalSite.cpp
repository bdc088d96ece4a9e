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
  else if (s->semJanela && (IsEqualIID(riid, IID_IOleInPlaceSiteEx) || IsEqualIID(riid, IID_IOleInPlaceSiteWindowless)))
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
  ++impl_from_IOleClientSite(i)->chamadas.showObject;
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
  *h = impl_from_IOleInPlaceSite(i)->pai;
  return S_OK;
}
HRESULT WINAPI InPlaceSite_ContextSensitiveHelp(IOleInPlaceSite*, BOOL) { return E_NOTIMPL; }
HRESULT WINAPI InPlaceSite_CanInPlaceActivate(IOleInPlaceSite* i) {
  impl_from_IOleInPlaceSite(i)->Record("CanInPlaceActivate");
  ++impl_from_IOleInPlaceSite(i)->chamadas.canInPlaceActivate;
  return S_OK;
}
HRESULT WINAPI InPlaceSite_OnInPlaceActivate(IOleInPlaceSite* i) {
  impl_from_IOleInPlaceSite(i)->Record("OnInPlaceActivate");
  ++impl_from_IOleInPlaceSite(i)->chamadas.onInPlaceActivate;
  impl_from_IOleInPlaceSite(i)->emLugar = true;
  return S_OK;
}
HRESULT WINAPI InPlaceSite_OnUIActivate(IOleInPlaceSite* i) {
  impl_from_IOleInPlaceSite(i)->Record("OnUIActivate");
  ++impl_from_IOleInPlaceSite(i)->chamadas.onUIActivate;
  return S_OK;
}
HRESULT WINAPI InPlaceSite_GetWindowContext(IOleInPlaceSite* i, IOleInPlaceFrame** quadro, IOleInPlaceUIWindow** documento,
                                            RECT* pos, RECT* recorte, OLEINPLACEFRAMEINFO* info) {
  MinimalSite* s = impl_from_IOleInPlaceSite(i);
  ++s->chamadas.getWindowContext;
  s->Record("GetWindowContext");
  if (!quadro || !documento || !pos || !recorte || !info) return E_POINTER;
  *quadro = &s->IOleInPlaceFrame_iface;
  Site_AddRef(s);
  *documento = nullptr;  // no separate document window: the frame serves
  *pos = s->posicao;
  *recorte = s->posicao;
  info->fMDIApp = FALSE;
  info->hwndFrame = GetAncestor(s->pai, GA_ROOT);
  info->haccel = nullptr;
  info->cAccelEntries = 0;
  return S_OK;
}
HRESULT WINAPI InPlaceSite_Scroll(IOleInPlaceSite*, SIZE) { return E_NOTIMPL; }
HRESULT WINAPI InPlaceSite_OnUIDeactivate(IOleInPlaceSite* i, BOOL) {
  impl_from_IOleInPlaceSite(i)->Record("OnUIDeactivate");
  ++impl_from_IOleInPlaceSite(i)->chamadas.onUIDeactivate;
  return S_OK;
}
HRESULT WINAPI InPlaceSite_OnInPlaceDeactivate(IOleInPlaceSite* i) {
  MinimalSite* s = impl_from_IOleInPlaceSite(i);
  ++s->chamadas.onInPlaceDeactivate;
  s->Record("OnInPlaceDeactivate");
  s->janela = nullptr;
  s->emLugar = false;
  return S_OK;
}
HRESULT WINAPI InPlaceSite_DiscardUndoState(IOleInPlaceSite*) { return S_OK; }
HRESULT WINAPI InPlaceSite_DeactivateAndUndo(IOleInPlaceSite*) { return E_NOTIMPL; }
// The control asks for another rectangle: granted as asked.
HRESULT WINAPI InPlaceSite_OnPosRectChange(IOleInPlaceSite* i, LPCRECT pos) {
  MinimalSite* s = impl_from_IOleInPlaceSite(i);
  ++s->chamadas.onPosRectChange;
  s->Record("OnPosRectChange");
  if (!pos) return E_POINTER;
  s->posicao = *pos;
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
// site paints, and hands them the messages over them (MinimalSite::Aponta, Clica, Foca).
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
HRESULT WINAPI Wl_OnInPlaceActivateEx(IOleInPlaceSiteWindowless* i, BOOL* semRedesenho, DWORD flags) {
  MinimalSite* s = impl_from_IOleInPlaceSiteWindowless(i);
  ++s->chamadas.onInPlaceActivateEx;
  s->Record(flags & ACTIVATE_WINDOWLESS ? "OnInPlaceActivateEx(WINDOWLESS)" : "OnInPlaceActivateEx");
  if (semRedesenho) *semRedesenho = FALSE;
  s->emLugar = true;
  s->emLugarSemJanela = (flags & ACTIVATE_WINDOWLESS) != 0;
  return S_OK;
}
HRESULT WINAPI Wl_OnInPlaceDeactivateEx(IOleInPlaceSiteWindowless* i, BOOL) {
  MinimalSite* s = impl_from_IOleInPlaceSiteWindowless(i);
  ++s->chamadas.onInPlaceDeactivateEx;
  s->Record("OnInPlaceDeactivateEx");
  s->janela = nullptr;
  s->emLugar = s->emLugarSemJanela = false;
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
  *dc = GetDC(impl_from_IOleInPlaceSiteWindowless(i)->pai);
  return *dc ? S_OK : E_FAIL;
}
HRESULT WINAPI Wl_ReleaseDC(IOleInPlaceSiteWindowless* i, HDC dc) {
  ReleaseDC(impl_from_IOleInPlaceSiteWindowless(i)->pai, dc);
  return S_OK;
}
HRESULT WINAPI Wl_InvalidateRect(IOleInPlaceSiteWindowless* i, LPCRECT r, BOOL apaga) {
  MinimalSite* s = impl_from_IOleInPlaceSiteWindowless(i);
  ++s->chamadas.invalidateRect;
  s->Record("InvalidateRect");
  InvalidateRect(s->pai, r, apaga);
  return S_OK;
}
HRESULT WINAPI Wl_InvalidateRgn(IOleInPlaceSiteWindowless* i, HRGN rgn, BOOL apaga) {
  InvalidateRgn(impl_from_IOleInPlaceSiteWindowless(i)->pai, rgn, apaga);
  return S_OK;
}
HRESULT WINAPI Wl_ScrollRect(IOleInPlaceSiteWindowless*, INT, INT, LPCRECT, LPCRECT) { return E_NOTIMPL; }
HRESULT WINAPI Wl_AdjustRect(IOleInPlaceSiteWindowless*, LPRECT r) { return r ? S_OK : E_POINTER; }
HRESULT WINAPI Wl_OnDefWindowMessage(IOleInPlaceSiteWindowless* i, UINT msg, WPARAM wp, LPARAM lp, LRESULT* resultado) {
  if (!resultado) return E_POINTER;
  *resultado = DefWindowProcW(impl_from_IOleInPlaceSiteWindowless(i)->pai, msg, wp, lp);
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
  *h = GetAncestor(impl_from_IOleInPlaceFrame(i)->pai, GA_ROOT);
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
HRESULT WINAPI Frame_SetActiveObject(IOleInPlaceFrame* i, IOleInPlaceActiveObject* objeto, LPCOLESTR) {
  MinimalSite* s = impl_from_IOleInPlaceFrame(i);
  ++s->chamadas.setActiveObject;
  s->Record(objeto ? "Frame_SetActiveObject" : "Frame_SetActiveObject(NULL)");
  if (objeto) IOleInPlaceActiveObject_AddRef(objeto);
  if (s->ativo) IOleInPlaceActiveObject_Release(s->ativo);
  s->ativo = objeto;
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
  ++impl_from_IOleControlSite(i)->chamadas.onControlInfoChanged;
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
  ++impl_from_IOleControlSite(i)->chamadas.translateAccelerator;
  return S_FALSE;
}
HRESULT WINAPI ControlSite_OnFocus(IOleControlSite* i, BOOL ganho) {
  MinimalSite* s = impl_from_IOleControlSite(i);
  ++(ganho ? s->chamadas.focoGanho : s->chamadas.focoPerdido);
  s->Record(ganho ? "OnFocus(TRUE)" : "OnFocus(FALSE)");
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
HRESULT WINAPI Ambiente_QueryInterface(IDispatch* i, REFIID r, void** p) {
  return Site_QueryInterface(impl_from_IDispatch(i), r, p);
}
ULONG WINAPI Ambiente_AddRef(IDispatch* i) { return Site_AddRef(impl_from_IDispatch(i)); }
ULONG WINAPI Ambiente_Release(IDispatch* i) { return Site_Release(impl_from_IDispatch(i)); }
HRESULT WINAPI Ambiente_GetTypeInfoCount(IDispatch*, UINT* n) {
  if (!n) return E_POINTER;
  *n = 0;
  return S_OK;
}
HRESULT WINAPI Ambiente_GetTypeInfo(IDispatch*, UINT, LCID, ITypeInfo** t) {
  if (t) *t = nullptr;
  return E_NOTIMPL;
}
HRESULT WINAPI Ambiente_GetIDsOfNames(IDispatch*, REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
HRESULT WINAPI Ambiente_Invoke(IDispatch* i, DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* resultado, EXCEPINFO*,
                               UINT*) {
  MinimalSite* s = impl_from_IDispatch(i);
  ++s->chamadas.ambientes;
  if (id != DISPID_AMBIENT_USERMODE && id != DISPID_AMBIENT_MESSAGEREFLECT) return DISP_E_MEMBERNOTFOUND;
  if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
  if (!resultado) return E_POINTER;
  V_VT(resultado) = VT_BOOL;
  const bool valor = id == DISPID_AMBIENT_USERMODE ? s->modoUsuario : s->reflete;
  V_BOOL(resultado) = valor ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

const IDispatchVtbl kAmbienteVtbl = {
    Ambiente_QueryInterface, Ambiente_AddRef, Ambiente_Release, Ambiente_GetTypeInfoCount, Ambiente_GetTypeInfo,
    Ambiente_GetIDsOfNames, Ambiente_Invoke,
};

// ---- Message reflection ----

// The window procedure of a reflecting site's window: what a child sends it about itself goes
// back to the child as an OCM_ message; everything else to the window's own procedure.
constexpr wchar_t kReflexo[] = L"MinimalSiteReflection";
HWND g_refletida = nullptr;  // the window reflection was last installed on

LRESULT CALLBACK Reflete(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  auto original = reinterpret_cast<WNDPROC>(GetPropW(h, kReflexo));
  if (msg == WM_NCDESTROY) {
    if (h == g_refletida) g_refletida = nullptr;
    RemovePropW(h, kReflexo);
    SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
  }
  const bool deFilho = (msg == WM_COMMAND && lp) || (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC);
  if (deFilho && IsChild(h, reinterpret_cast<HWND>(lp)))
    return SendMessageW(reinterpret_cast<HWND>(lp), OCM__BASE + msg, wp, lp);
  return CallWindowProcW(original, h, msg, wp, lp);
}

void InstalaReflexo(HWND h) {
  // Once per window: many sites share one form, and asking the window is a round trip.
  if (h == g_refletida || GetPropW(h, kReflexo)) return;
  g_refletida = h;
  SetPropW(h, kReflexo, reinterpret_cast<HANDLE>(GetWindowLongPtrW(h, GWLP_WNDPROC)));
  SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Reflete));
}

// ---- Counting ----

bool SobWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

BOOL CALLBACK ContaUma(HWND, LPARAM n) {
  ++*reinterpret_cast<int*>(n);
  return TRUE;
}
BOOL CALLBACK ContaComDescendentes(HWND h, LPARAM n) {
  ++*reinterpret_cast<int*>(n);
  EnumChildWindows(h, ContaUma, n);  // every descendant, not only the children
  return TRUE;
}
int ContaJanelas() {
  int n = 0;
  EnumThreadWindows(GetCurrentThreadId(), ContaComDescendentes, reinterpret_cast<LPARAM>(&n));
  for (HWND h = nullptr; (h = FindWindowExW(HWND_MESSAGE, h, nullptr, nullptr)) != nullptr;)
    if (GetWindowThreadProcessId(h, nullptr) == GetCurrentThreadId()) ContaComDescendentes(h, reinterpret_cast<LPARAM>(&n));
  return n;
}

// Wine's GDI_HANDLE_ENTRY (include/ntgdi.h): the same 24 bytes in 32- and 64-bit processes,
// 65536 of them.
struct GdiEntry {
  uint64_t objeto;
  uint32_t dono;
  uint16_t unico;
  uint8_t tipo;
  uint8_t flags;
  uint64_t usuario;
};
static_assert(sizeof(GdiEntry) == 24);

int ContaGdi() {
  if (!SobWine()) return static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
  using PebFn = const char*(WINAPI*)();
  FARPROC f = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetCurrentPeb");
  auto pebAtual = reinterpret_cast<PebFn>(reinterpret_cast<void*>(f));
  const char* peb = pebAtual ? pebAtual() : nullptr;
  if (!peb) return -1;
  const auto* tabela = *reinterpret_cast<const GdiEntry* const*>(peb + (sizeof(void*) == 8 ? 0xf8 : 0x94));
  if (!tabela) return -1;
  int n = 0;
  for (int i = 0; i < 0x10000; ++i) n += tabela[i].tipo != 0;
  return n;
}

}  // namespace

ResourceUse Mede() {
  ResourceUse m;
  m.janelas = ContaJanelas();
  m.gdi = ContaGdi();
  HANDLE heaps[256];
  DWORD n = GetProcessHeaps(256, heaps);
  for (DWORD i = 0; i < n && i < 256; ++i) {
    HeapLock(heaps[i]);
    PROCESS_HEAP_ENTRY e{};
    while (HeapWalk(heaps[i], &e))
      if (e.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
        m.bytes += e.cbData;
        ++m.blocos;
      }
    HeapUnlock(heaps[i]);
  }
  MEMORY_BASIC_INFORMATION r;
  for (const char* p = nullptr; VirtualQuery(p, &r, sizeof(r)) == sizeof(r);) {
    if (r.State == MEM_COMMIT && r.Type == MEM_PRIVATE) m.paginas += static_cast<size_t>(r.RegionSize);
    const char* proxima = static_cast<const char*>(r.BaseAddress) + r.RegionSize;
    if (proxima <= p) break;
    p = proxima;
  }
  return m;
}

MinimalSite::MinimalSite() {
  IOleClientSite_iface.lpVtbl = const_cast<IOleClientSiteVtbl*>(&kClientSiteVtbl);
  IOleInPlaceSite_iface.lpVtbl = const_cast<IOleInPlaceSiteVtbl*>(&kInPlaceSiteVtbl);
  IOleInPlaceFrame_iface.lpVtbl = const_cast<IOleInPlaceFrameVtbl*>(&kFrameVtbl);
  IOleControlSite_iface.lpVtbl = const_cast<IOleControlSiteVtbl*>(&kControlSiteVtbl);
  IDispatch_iface.lpVtbl = const_cast<IDispatchVtbl*>(&kAmbienteVtbl);
  IOleInPlaceSiteWindowless_iface.lpVtbl = const_cast<IOleInPlaceSiteWindowlessVtbl*>(&kWindowlessVtbl);
}

MinimalSite::~MinimalSite() { Destroi(); }

HRESULT MinimalSite::Cria(HWND janelaPai, const RECT& pos, IStream* dados) {
  HRESULT hr = Instancia();
  if (SUCCEEDED(hr)) hr = Inicia(dados);
  if (SUCCEEDED(hr)) hr = Mostra(janelaPai, pos);
  return hr;
}

HRESULT MinimalSite::Instancia() {
  if (objeto) return E_UNEXPECTED;
  HRESULT hr = fabrica ? IClassFactory_CreateInstance(fabrica, nullptr, IID_IOleObject, reinterpret_cast<void**>(&objeto))
                       : CoCreateInstance(kClsidDelvorin, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, reinterpret_cast<void**>(&objeto));
  if (FAILED(hr)) {
    objeto = nullptr;
    return hr;
  }
  // The control asks for its site before it is initialised (OLEMISC_SETCLIENTSITEFIRST):
  // it reads the ambient properties while it loads.
  return IOleObject_SetClientSite(objeto, &IOleClientSite_iface);
}

HRESULT MinimalSite::Inicia(IStream* dados) {
  IPersistStreamInit* persiste = Interface<IPersistStreamInit>(IID_IPersistStreamInit);
  if (!persiste) return E_NOINTERFACE;
  HRESULT hr = dados ? IPersistStreamInit_Load(persiste, dados) : IPersistStreamInit_InitNew(persiste);
  IPersistStreamInit_Release(persiste);
  return hr;
}

HRESULT MinimalSite::Ativa(HWND janelaPai, const RECT& pos) {
  if (!objeto) return E_UNEXPECTED;
  pai = janelaPai;
  posicao = pos;
  if (reflete) InstalaReflexo(pai);
  HRESULT hr = IOleObject_DoVerb(objeto, OLEIVERB_INPLACEACTIVATE, nullptr, &IOleClientSite_iface, 0, pai, &posicao);
  if (FAILED(hr)) return hr;
  IOleInPlaceObject* ipo = Interface<IOleInPlaceObject>(IID_IOleInPlaceObject);
  if (!ipo) return E_NOINTERFACE;
  hr = IOleInPlaceObject_GetWindow(ipo, &janela);
  IOleInPlaceObject_Release(ipo);
  // A windowless control has no window to give.
  if (emLugarSemJanela && hr == E_FAIL) {
    janela = nullptr;
    return S_OK;
  }
  return hr;
}

HRESULT MinimalSite::Mostra(HWND janelaPai, const RECT& pos) {
  if (!objeto) return E_UNEXPECTED;
  DWORD status = 0;
  IPointerInactive* inativa = inativo ? Interface<IPointerInactive>(IID_IPointerInactive) : nullptr;
  const bool ficaInativo = inativa && SUCCEEDED(IOleObject_GetMiscStatus(objeto, DVASPECT_CONTENT, &status)) &&
                           (status & OLEMISC_IGNOREACTIVATEWHENVISIBLE);
  if (inativa) IPointerInactive_Release(inativa);
  if (!ficaInativo) return Ativa(janelaPai, pos);
  pai = janelaPai;
  posicao = pos;
  if (reflete) InstalaReflexo(pai);
  return S_OK;
}

void MinimalSite::AtualizaJanela() {
  janela = nullptr;
  if (IOleInPlaceObject* ipo = Interface<IOleInPlaceObject>(IID_IOleInPlaceObject)) {
    if (FAILED(IOleInPlaceObject_GetWindow(ipo, &janela))) janela = nullptr;
    IOleInPlaceObject_Release(ipo);
  }
}

HRESULT MinimalSite::Repassa(UINT msg, WPARAM wp, LPARAM lp) {
  IOleInPlaceObjectWindowless* w = Interface<IOleInPlaceObjectWindowless>(IID_IOleInPlaceObjectWindowless);
  if (!w) return E_NOINTERFACE;
  LRESULT r = 0;
  HRESULT hr = IOleInPlaceObjectWindowless_OnWindowMessage(w, msg, wp, lp, &r);
  IOleInPlaceObjectWindowless_Release(w);
  return hr;
}

HRESULT MinimalSite::Aponta(POINT p, DWORD teclas) {
  if (!objeto) return E_UNEXPECTED;
  HRESULT hr = E_UNEXPECTED;
  if (emLugarSemJanela) {
    hr = Repassa(WM_SETCURSOR, reinterpret_cast<WPARAM>(pai), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    if (SUCCEEDED(hr)) hr = Repassa(WM_MOUSEMOVE, teclas, MAKELPARAM(p.x, p.y));
  } else if (!emLugar) {
    IPointerInactive* i = Interface<IPointerInactive>(IID_IPointerInactive);
    if (!i) return E_NOINTERFACE;
    hr = IPointerInactive_OnInactiveSetCursor(i, &posicao, p.x, p.y, WM_MOUSEMOVE, FALSE);
    if (SUCCEEDED(hr)) hr = IPointerInactive_OnInactiveMouseMove(i, &posicao, p.x, p.y, teclas);
    IPointerInactive_Release(i);
  }
  return hr;
}

HRESULT MinimalSite::Clica(POINT p) {
  if (!objeto) return E_UNEXPECTED;
  HRESULT hr = E_UNEXPECTED;
  if (emLugarSemJanela) {
    hr = Repassa(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  } else if (!emLugar) {
    // The click that activates an inactive control is handed to it with the verb.
    MSG m{pai, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y), GetTickCount(), p};
    ClientToScreen(pai, &m.pt);
    RECT onde = posicao;
    hr = IOleObject_DoVerb(objeto, OLEIVERB_UIACTIVATE, &m, &IOleClientSite_iface, 0, pai, &onde);
  }
  AtualizaJanela();
  return hr;
}

HRESULT MinimalSite::Foca() {
  if (!objeto) return E_UNEXPECTED;
  HRESULT hr;
  if (emLugarSemJanela) {
    hr = Repassa(WM_SETFOCUS, 0, 0);
  } else {
    RECT onde = posicao;
    hr = IOleObject_DoVerb(objeto, OLEIVERB_UIACTIVATE, nullptr, &IOleClientSite_iface, 0, pai, &onde);
  }
  AtualizaJanela();
  return hr;
}

HRESULT MinimalSite::Pinta(HDC dc) {
  IViewObject* vista = Interface<IViewObject>(IID_IViewObject);
  if (!vista) return E_NOINTERFACE;
  // A windowless control in place is drawn at its own rectangle, with no bounds.
  const RECTL limites{posicao.left, posicao.top, posicao.right, posicao.bottom};
  HRESULT hr = IViewObject_Draw(vista, DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, emLugarSemJanela ? nullptr : &limites,
                                nullptr, nullptr, 0);
  IViewObject_Release(vista);
  return hr;
}

HWND MinimalSite::Edit() const {
  if (!janela) return nullptr;
  wchar_t classe[8] = {};
  GetClassNameW(janela, classe, 8);
  return _wcsicmp(classe, L"Edit") == 0 ? janela : FindWindowExW(janela, nullptr, L"Edit", nullptr);
}

bool MinimalSite::Destroi() {
  if (!objeto) return ref == 1 && !ativo;
  IOleObject_Close(objeto, OLECLOSE_NOSAVE);
  IOleObject_SetClientSite(objeto, nullptr);
  // A frame still holding the active object after Close means the control never cleared it.
  bool ativoLiberado = !ativo;
  if (ativo) IOleInPlaceActiveObject_Release(ativo);
  ativo = nullptr;
  ULONG resto = IOleObject_Release(objeto);
  objeto = nullptr;
  janela = nullptr;
  return resto == 0 && ativoLiberado && ref == 1;
}

}  // namespace delvorin::ocx::test
