// Embedding and in-place activation: IOleObject, IOleInPlaceActiveObject and IOleControl. In
// place, the control's windows are made in the container's window, or, once made, moved back
// there from out of sight; in a windowless site they wait until the field takes the focus and
// go back out of sight when it leaves. Out of place the container draws the field.
#include "ocx/Control.h"
#include "ocx/Identifiers.h"
#include "ocx/Screen.h"

namespace delvorin::ocx {
namespace {

Control* impl_from_IOleObject(IOleObject* i) { return CONTAINING_RECORD(i, Control, IOleObject_iface); }
Control* impl_from_IOleInPlaceActiveObject(IOleInPlaceActiveObject* i) {
  return CONTAINING_RECORD(i, Control, IOleInPlaceActiveObject_iface);
}
Control* impl_from_IOleControl(IOleControl* i) { return CONTAINING_RECORD(i, Control, IOleControl_iface); }

// The control's size follows its window: the engine then makes the edit box fill it.
void ResizeToPixels(Control* c, int widthPx, int heightPx) {
  c->container.width = static_cast<float>(MulDiv(widthPx, 1440, ScreenDpi(true)));
  c->container.height = static_cast<float>(MulDiv(heightPx, 1440, ScreenDpi(false)));
  (void)c->engine.Resize();
  c->txo.SetPixelSize(widthPx, heightPx);
}

// A control placed before: the window that has held the edit box out of sight since then is
// moved back in; moving it costs far less than making new ones. WS_EX_CONTROLPARENT lets a
// dialog's Tab navigation reach the edit box inside.
HRESULT PutBack(Control* c, HWND parent, const RECT& pos) {
  if (c->txo.IsAlone()) {
    c->txo.PutBackInPlace(parent, pos);
    c->window = c->txo.window();
  } else {
    c->window = c->outerWindow;
    SetWindowLongPtrW(c->window, GWL_STYLE, WS_CHILD | WS_CLIPCHILDREN);
    SetWindowLongPtrW(c->window, GWL_EXSTYLE, WS_EX_CONTROLPARENT);
    if (!SetParent(c->window, parent)) {
      SetWindowLongPtrW(c->window, GWL_STYLE, 0);
      c->window = nullptr;
      return E_FAIL;
    }
    SetWindowPos(c->window, nullptr, pos.left, pos.top, pos.right - pos.left, pos.bottom - pos.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
  }
  ResizeToPixels(c, pos.right - pos.left, pos.bottom - pos.top);
  return S_OK;
}

// The windows at the field's rectangle in the site's window: made the first time, moved back
// afterwards.
HRESULT PlaceWindows(Control* c, HWND parent = nullptr) {
  if (c->window) return S_OK;
  if (!parent && FAILED(IOleInPlaceSite_GetWindow(c->inPlaceSite, &parent))) return E_FAIL;
  if (!parent) return E_FAIL;
  const RECT& pos = c->posRect;
  if (c->txo.window()) return PutBack(c, parent, pos);
  // First time in place: the windows are made where they belong, at their size, with the
  // state the edit box held.
  ResizeToPixels(c, pos.right - pos.left, pos.bottom - pos.top);
  if (!CreateWindows(c, parent, pos)) return E_FAIL;
  c->window = c->outerWindow ? c->outerWindow : c->txo.window();
  return S_OK;
}

// Back to holding the edit box out of sight.
void StowWindows(Control* c) {
  if (!c->window) return;
  if (c->txo.IsAlone()) {
    c->txo.TakeOutOfPlace();
  } else {
    ShowWindow(c->window, SW_HIDE);
    SetParent(c->window, HWND_MESSAGE);
    SetWindowLongPtrW(c->window, GWL_STYLE, 0);
  }
  c->window = nullptr;
}

// A windowless field gives its windows back and is drawn by the container again, unless it
// has the focus: then it keeps them, as a windowed field keeps its window, until the focus
// leaves (FocusLeft).
void GiveBackWindows(Control* c) {
  HWND box = c->txo.window();
  if (box && GetFocus() == box) return;
  StowWindows(c);
  RequestRepaint(c);
}

// Windowless in-place activation, where the site offers it: no window until the field takes
// the focus. A site that cannot tell a windowless object whether it has the focus (Wine's ATL
// host, whose windowless methods are stubs) could never hand the field a click or a key: it
// gets the windowed field. The windowless interface is asked for again when needed, not held,
// to keep each control small.
bool ActivateWindowless(IOleInPlaceSite* inPlaceSite) {
  IOleInPlaceSiteWindowless* windowless = nullptr;
  if (FAILED(IOleInPlaceSite_QueryInterface(inPlaceSite, IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&windowless))))
    return false;
  const bool can = IOleInPlaceSiteWindowless_CanWindowlessActivate(windowless) == S_OK &&
                    SUCCEEDED(IOleInPlaceSiteWindowless_GetFocus(windowless));
  BOOL noRedraw = FALSE;
  if (can) IOleInPlaceSiteWindowless_OnInPlaceActivateEx(windowless, &noRedraw, ACTIVATE_WINDOWLESS);
  IOleInPlaceSiteWindowless_Release(windowless);
  return can;
}

}  // namespace

HRESULT ActivateInPlace(Control* c, bool withUI, bool takeFocus) {
  if (!c->site) return E_UNEXPECTED;
  if (!c->inPlaceSite) {
    IOleInPlaceSite* inPlaceSite = nullptr;
    HRESULT hr = IOleClientSite_QueryInterface(c->site, IID_IOleInPlaceSite, reinterpret_cast<void**>(&inPlaceSite));
    if (FAILED(hr)) return hr;
    if (IOleInPlaceSite_CanInPlaceActivate(inPlaceSite) != S_OK) {
      IOleInPlaceSite_Release(inPlaceSite);
      return E_FAIL;
    }
    const bool windowless = ActivateWindowless(inPlaceSite);
    HWND parent = nullptr;
    if (!windowless) {
      IOleInPlaceSite_OnInPlaceActivate(inPlaceSite);
      IOleInPlaceSite_GetWindow(inPlaceSite, &parent);
    }
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* document = nullptr;
    RECT pos{}, clip{};
    OLEINPLACEFRAMEINFO info{sizeof(info), FALSE, nullptr, nullptr, 0};
    IOleInPlaceSite_GetWindowContext(inPlaceSite, &frame, &document, &pos, &clip, &info);
    if (document) IOleInPlaceUIWindow_Release(document);
    c->frame = frame;
    c->inPlaceSite = inPlaceSite;
    c->windowless = windowless;
    c->posRect = pos;
    c->txo.NoticeFocusLeft(windowless);
    if (windowless) ResizeToPixels(c, pos.right - pos.left, pos.bottom - pos.top);
    else if (FAILED(PlaceWindows(c, parent))) return E_FAIL;
  }
  if (withUI && !c->uiActive) {
    // A disabled windowless field takes no focus: it stays drawn by the container.
    if (c->windowless && !c->txo.IsEnabled()) return S_OK;
    if (c->windowless && FAILED(PlaceWindows(c))) return E_FAIL;
    c->uiActive = true;
    IOleInPlaceSite_OnUIActivate(c->inPlaceSite);
    if (c->frame) IOleInPlaceFrame_SetActiveObject(c->frame, &c->IOleInPlaceActiveObject_iface, nullptr);
    if (takeFocus && GetFocus() != c->txo.window()) SetFocus(c->txo.window());
  }
  return S_OK;
}

HRESULT DeactivateUI(Control* c) {
  if (c->uiActive) {
    c->uiActive = false;
    if (c->frame) IOleInPlaceFrame_SetActiveObject(c->frame, nullptr, nullptr);
    if (c->inPlaceSite) IOleInPlaceSite_OnUIDeactivate(c->inPlaceSite, FALSE);
  }
  if (c->windowless && c->window) GiveBackWindows(c);
  return S_OK;
}

HRESULT DeactivateInPlace(Control* c) {
  if (!c->inPlaceSite) return S_OK;
  // Out of place the windows go out of sight at once, with no leaving rules, windowless or not.
  if (c->windowless) StowWindows(c);
  DeactivateUI(c);
  StowWindows(c);
  IOleInPlaceSite* inPlaceSite = c->inPlaceSite;
  IOleInPlaceSiteWindowless* windowless = nullptr;
  if (c->windowless) IOleInPlaceSite_QueryInterface(inPlaceSite, IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&windowless));
  c->inPlaceSite = nullptr;
  c->windowless = false;
  c->txo.NoticeFocusLeft(false);
  if (windowless) {
    IOleInPlaceSiteWindowless_OnInPlaceDeactivateEx(windowless, TRUE);
    IOleInPlaceSiteWindowless_Release(windowless);
  } else {
    IOleInPlaceSite_OnInPlaceDeactivate(inPlaceSite);
  }
  IOleInPlaceSite_Release(inPlaceSite);
  if (c->frame) IOleInPlaceFrame_Release(c->frame);
  c->frame = nullptr;
  return S_OK;
}

void RequestRepaint(Control* c) {
  IOleInPlaceSiteWindowless* windowless = nullptr;
  if (!c->inPlaceSite || FAILED(IOleInPlaceSite_QueryInterface(c->inPlaceSite, IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&windowless))))
    return;
  IOleInPlaceSiteWindowless_InvalidateRect(windowless, &c->posRect, FALSE);
  IOleInPlaceSiteWindowless_Release(windowless);
}

HRESULT InPlaceWindow(Control* c, HWND* h) {
  if (!h) return E_POINTER;
  *h = c->window;
  if (c->window) return S_OK;
  // A windowless object has no window to give; out of place nothing has one.
  return c->windowless ? E_FAIL : E_UNEXPECTED;
}

HRESULT MoveInPlace(Control* c, const RECT& pos) {
  if (!c->inPlaceSite) return E_UNEXPECTED;
  c->posRect = pos;
  if (c->window && c->txo.IsAlone()) c->txo.Move(pos);
  else if (c->window) MoveWindow(c->window, pos.left, pos.top, pos.right - pos.left, pos.bottom - pos.top, TRUE);
  ResizeToPixels(c, pos.right - pos.left, pos.bottom - pos.top);
  return S_OK;
}

namespace {

// IOleObject
HRESULT WINAPI Ole_QueryInterface(IOleObject* i, REFIID r, void** p) { return ControlQI(impl_from_IOleObject(i), r, p); }
ULONG WINAPI Ole_AddRef(IOleObject* i) { return ControlAddRef(impl_from_IOleObject(i)); }
ULONG WINAPI Ole_Release(IOleObject* i) { return ControlRelease(impl_from_IOleObject(i)); }
HRESULT WINAPI Ole_SetClientSite(IOleObject* i, IOleClientSite* site) {
  Control* c = impl_from_IOleObject(i);
  if (site) IOleClientSite_AddRef(site);
  if (c->site) IOleClientSite_Release(c->site);
  c->site = site;
  c->messageReflect = -1;  // the new site is asked
  return S_OK;
}
HRESULT WINAPI Ole_GetClientSite(IOleObject* i, IOleClientSite** site) {
  Control* c = impl_from_IOleObject(i);
  if (!site) return E_POINTER;
  *site = c->site;
  if (c->site) IOleClientSite_AddRef(c->site);
  return S_OK;
}
HRESULT WINAPI Ole_SetHostNames(IOleObject*, LPCOLESTR, LPCOLESTR) { return S_OK; }
HRESULT WINAPI Ole_Close(IOleObject* i, DWORD) {
  Control* c = impl_from_IOleObject(i);
  HRESULT hr = DeactivateInPlace(c);
  if (c->oleAdviseHolder) IOleAdviseHolder_SendOnClose(c->oleAdviseHolder);
  return hr;
}
HRESULT WINAPI Ole_SetMoniker(IOleObject*, DWORD, IMoniker*) { return E_NOTIMPL; }
HRESULT WINAPI Ole_GetMoniker(IOleObject*, DWORD, DWORD, IMoniker** m) {
  if (m) *m = nullptr;
  return E_NOTIMPL;
}
HRESULT WINAPI Ole_InitFromData(IOleObject*, IDataObject*, BOOL, DWORD) { return E_NOTIMPL; }
HRESULT WINAPI Ole_GetClipboardData(IOleObject*, DWORD, IDataObject** d) {
  if (d) *d = nullptr;
  return E_NOTIMPL;
}
HRESULT WINAPI Ole_DoVerb(IOleObject* i, LONG verb, LPMSG msg, IOleClientSite* site, LONG, HWND parent, LPCRECT) {
  Control* c = impl_from_IOleObject(i);
  if (site && !c->site) Ole_SetClientSite(i, site);
  switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_UIACTIVATE: {
      // A container that kept the field inactive activates it on a click, which it hands over.
      HRESULT hr = ActivateInPlace(c, true);
      if (SUCCEEDED(hr) && msg) ForwardClick(c, *msg);
      return hr;
    }
    case OLEIVERB_INPLACEACTIVATE: return ActivateInPlace(c, false);
    case OLEIVERB_HIDE: return DeactivateInPlace(c);
    case OLEIVERB_PROPERTIES: return ShowPropertyPages(c, parent);
    default: return verb < 0 ? E_NOTIMPL : OLEOBJ_S_INVALIDVERB;
  }
}
HRESULT WINAPI Ole_EnumVerbs(IOleObject*, IEnumOLEVERB** e) { return OleRegEnumVerbs(kClsidDelvorin, e); }
HRESULT WINAPI Ole_Update(IOleObject*) { return S_OK; }
HRESULT WINAPI Ole_IsUpToDate(IOleObject*) { return S_OK; }
HRESULT WINAPI Ole_GetUserClassID(IOleObject*, CLSID* id) {
  if (!id) return E_POINTER;
  *id = kClsidDelvorin;
  return S_OK;
}
HRESULT WINAPI Ole_GetUserType(IOleObject*, DWORD form, LPOLESTR* type) { return OleRegGetUserType(kClsidDelvorin, form, type); }
HRESULT WINAPI Ole_SetExtent(IOleObject* i, DWORD aspect, SIZEL* size) {
  Control* c = impl_from_IOleObject(i);
  if (!size) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  c->extent = *size;
  // HIMETRIC to twips: 2540 HIMETRIC units and 1440 twips make an inch.
  c->container.width = static_cast<float>(MulDiv(size->cx, 1440, 2540));
  c->container.height = static_cast<float>(MulDiv(size->cy, 1440, 2540));
  return c->engine.Resize().ok() ? S_OK : E_FAIL;
}
HRESULT WINAPI Ole_GetExtent(IOleObject* i, DWORD aspect, SIZEL* size) {
  if (!size) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  *size = impl_from_IOleObject(i)->extent;
  return S_OK;
}
HRESULT WINAPI Ole_Advise(IOleObject* i, IAdviseSink* sink, DWORD* cookie) {
  Control* c = impl_from_IOleObject(i);
  if (!c->oleAdviseHolder && FAILED(CreateOleAdviseHolder(&c->oleAdviseHolder))) return E_OUTOFMEMORY;
  return IOleAdviseHolder_Advise(c->oleAdviseHolder, sink, cookie);
}
HRESULT WINAPI Ole_Unadvise(IOleObject* i, DWORD cookie) {
  Control* c = impl_from_IOleObject(i);
  return c->oleAdviseHolder ? IOleAdviseHolder_Unadvise(c->oleAdviseHolder, cookie) : OLE_E_NOCONNECTION;
}
HRESULT WINAPI Ole_EnumAdvise(IOleObject* i, IEnumSTATDATA** e) {
  Control* c = impl_from_IOleObject(i);
  if (!e) return E_POINTER;
  *e = nullptr;
  return c->oleAdviseHolder ? IOleAdviseHolder_EnumAdvise(c->oleAdviseHolder, e) : E_FAIL;
}
HRESULT WINAPI Ole_GetMiscStatus(IOleObject*, DWORD, DWORD* status) {
  if (!status) return E_POINTER;
  *status = kMiscStatus;
  return S_OK;
}
HRESULT WINAPI Ole_SetColorScheme(IOleObject*, LOGPALETTE*) { return E_NOTIMPL; }

const IOleObjectVtbl kOleVtbl = {
    Ole_QueryInterface, Ole_AddRef, Ole_Release, OwnThread<Ole_SetClientSite>, OwnThread<Ole_GetClientSite>, OwnThread<Ole_SetHostNames>, OwnThread<Ole_Close>,
    OwnThread<Ole_SetMoniker>, OwnThread<Ole_GetMoniker>, OwnThread<Ole_InitFromData>, OwnThread<Ole_GetClipboardData>, OwnThread<Ole_DoVerb>, OwnThread<Ole_EnumVerbs>, OwnThread<Ole_Update>,
    OwnThread<Ole_IsUpToDate>, OwnThread<Ole_GetUserClassID>, OwnThread<Ole_GetUserType>, OwnThread<Ole_SetExtent>, OwnThread<Ole_GetExtent>, OwnThread<Ole_Advise>, OwnThread<Ole_Unadvise>,
    OwnThread<Ole_EnumAdvise>, OwnThread<Ole_GetMiscStatus>, OwnThread<Ole_SetColorScheme>,
};

// IOleInPlaceActiveObject
HRESULT WINAPI Ipao_QueryInterface(IOleInPlaceActiveObject* i, REFIID r, void** p) {
  return ControlQI(impl_from_IOleInPlaceActiveObject(i), r, p);
}
ULONG WINAPI Ipao_AddRef(IOleInPlaceActiveObject* i) { return ControlAddRef(impl_from_IOleInPlaceActiveObject(i)); }
ULONG WINAPI Ipao_Release(IOleInPlaceActiveObject* i) { return ControlRelease(impl_from_IOleInPlaceActiveObject(i)); }
HRESULT WINAPI Ipao_GetWindow(IOleInPlaceActiveObject* i, HWND* h) { return InPlaceWindow(impl_from_IOleInPlaceActiveObject(i), h); }
HRESULT WINAPI Ipao_ContextSensitiveHelp(IOleInPlaceActiveObject*, BOOL) { return E_NOTIMPL; }
// Enter must reach the field (it moves on or raises TeclaEnter there); Tab goes to the
// container, which moves the focus.
HRESULT WINAPI Ipao_TranslateAccelerator(IOleInPlaceActiveObject* i, LPMSG msg) {
  Control* c = impl_from_IOleInPlaceActiveObject(i);
  if (!msg) return E_POINTER;
  if (msg->hwnd != c->txo.window() || (msg->message != WM_KEYDOWN && msg->message != WM_KEYUP)) return S_FALSE;
  if (msg->wParam == VK_RETURN) {
    TranslateMessage(msg);
    DispatchMessageW(msg);
    return S_OK;
  }
  if (msg->wParam == VK_TAB && c->site) {
    IOleControlSite* cs = nullptr;
    if (SUCCEEDED(IOleClientSite_QueryInterface(c->site, IID_IOleControlSite, reinterpret_cast<void**>(&cs)))) {
      DWORD modifiers = (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0);
      HRESULT hr = IOleControlSite_TranslateAccelerator(cs, msg, modifiers);
      IOleControlSite_Release(cs);
      return hr;
    }
  }
  return S_FALSE;
}
HRESULT WINAPI Ipao_OnFrameWindowActivate(IOleInPlaceActiveObject*, BOOL) { return S_OK; }
HRESULT WINAPI Ipao_OnDocWindowActivate(IOleInPlaceActiveObject*, BOOL) { return S_OK; }
HRESULT WINAPI Ipao_ResizeBorder(IOleInPlaceActiveObject*, LPCRECT, IOleInPlaceUIWindow*, BOOL) { return S_OK; }
HRESULT WINAPI Ipao_EnableModeless(IOleInPlaceActiveObject*, BOOL) { return S_OK; }

const IOleInPlaceActiveObjectVtbl kIpaoVtbl = {
    Ipao_QueryInterface, Ipao_AddRef, Ipao_Release, OwnThread<Ipao_GetWindow>, OwnThread<Ipao_ContextSensitiveHelp>,
    OwnThread<Ipao_TranslateAccelerator>, OwnThread<Ipao_OnFrameWindowActivate>, OwnThread<Ipao_OnDocWindowActivate>, OwnThread<Ipao_ResizeBorder>,
    OwnThread<Ipao_EnableModeless>,
};

// IOleControl
HRESULT WINAPI Ctl_QueryInterface(IOleControl* i, REFIID r, void** p) { return ControlQI(impl_from_IOleControl(i), r, p); }
ULONG WINAPI Ctl_AddRef(IOleControl* i) { return ControlAddRef(impl_from_IOleControl(i)); }
ULONG WINAPI Ctl_Release(IOleControl* i) { return ControlRelease(impl_from_IOleControl(i)); }
HRESULT WINAPI Ctl_GetControlInfo(IOleControl* i, CONTROLINFO* ci) {
  Control* c = impl_from_IOleControl(i);
  if (!ci) return E_POINTER;
  if (ci->cb < sizeof(CONTROLINFO)) return E_INVALIDARG;
  ci->hAccel = nullptr;
  ci->cAccel = 0;
  // Enter is the field's own key when it raises TeclaEnter.
  ci->dwFlags = c->engine.Usar_Enter() == 0 ? CTRLINFO_EATS_RETURN : 0;
  return S_OK;
}
HRESULT WINAPI Ctl_OnMnemonic(IOleControl*, MSG*) { return E_NOTIMPL; }
HRESULT WINAPI Ctl_OnAmbientPropertyChange(IOleControl*, DISPID) { return S_OK; }
HRESULT WINAPI Ctl_FreezeEvents(IOleControl* i, BOOL freeze) {
  Control* c = impl_from_IOleControl(i);
  if (freeze) ++c->freezeCount;
  else if (c->freezeCount > 0) --c->freezeCount;
  return S_OK;
}

const IOleControlVtbl kCtlVtbl = {
    Ctl_QueryInterface, Ctl_AddRef, Ctl_Release, OwnThread<Ctl_GetControlInfo>, OwnThread<Ctl_OnMnemonic>, OwnThread<Ctl_OnAmbientPropertyChange>,
    OwnThread<Ctl_FreezeEvents>,
};

}  // namespace

void OnFocusChange(Control* c, bool gained) {
  if (!c->site) return;
  // The container may release the control from inside these calls.
  ControlAddRef(c);
  if (gained && c->inPlaceSite) ActivateInPlace(c, true, false);
  IOleControlSite* cs = nullptr;
  if (SUCCEEDED(IOleClientSite_QueryInterface(c->site, IID_IOleControlSite, reinterpret_cast<void**>(&cs)))) {
    IOleControlSite_OnFocus(cs, gained);
    IOleControlSite_Release(cs);
  }
  ControlRelease(c);
}

void InitOleObject(Control* c) {
  c->IOleObject_iface.lpVtbl = const_cast<IOleObjectVtbl*>(&kOleVtbl);
  c->IOleInPlaceActiveObject_iface.lpVtbl = const_cast<IOleInPlaceActiveObjectVtbl*>(&kIpaoVtbl);
  c->IOleControl_iface.lpVtbl = const_cast<IOleControlVtbl*>(&kCtlVtbl);
  // Initial extent of a newly placed control: 2385 x 1215 twips, in HIMETRIC.
  c->extent = {MulDiv(2385, 2540, 1440), MulDiv(1215, 2540, 1440)};
}

void TearDownOleObject(Control* c) {
  DeactivateInPlace(c);
  if (c->oleAdviseHolder) IOleAdviseHolder_Release(c->oleAdviseHolder);
  c->oleAdviseHolder = nullptr;
  if (c->viewSink) IAdviseSink_Release(c->viewSink);
  c->viewSink = nullptr;
  if (c->site) IOleClientSite_Release(c->site);
  c->site = nullptr;
  if (c->ambientFont) IFont_Release(c->ambientFont);
  c->ambientFont = nullptr;
}

void* OleObjectInterface(Control* c, REFIID riid) {
  if (IsEqualIID(riid, IID_IOleObject)) return &c->IOleObject_iface;
  if (IsEqualIID(riid, IID_IOleInPlaceActiveObject)) return &c->IOleInPlaceActiveObject_iface;
  if (IsEqualIID(riid, IID_IOleControl)) return &c->IOleControl_iface;
  return nullptr;
}

}  // namespace delvorin::ocx
