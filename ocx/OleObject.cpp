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
void Redimensiona(Control* c, int larguraPx, int alturaPx) {
  c->hospedeiro.largura = static_cast<float>(MulDiv(larguraPx, 1440, DpiTela(true)));
  c->hospedeiro.altura = static_cast<float>(MulDiv(alturaPx, 1440, DpiTela(false)));
  (void)c->controle.Resize();
  c->txo.AjustaPixels(larguraPx, alturaPx);
}

// A control placed before: the window that has held the edit box out of sight since then is
// moved back in; moving it costs far less than making new ones. WS_EX_CONTROLPARENT lets a
// dialog's Tab navigation reach the edit box inside.
HRESULT PoeDeVolta(Control* c, HWND pai, const RECT& pos) {
  if (c->txo.Sozinha()) {
    c->txo.Recoloca(pai, pos);
    c->janela = c->txo.janela();
  } else {
    c->janela = c->pai;
    SetWindowLongPtrW(c->janela, GWL_STYLE, WS_CHILD | WS_CLIPCHILDREN);
    SetWindowLongPtrW(c->janela, GWL_EXSTYLE, WS_EX_CONTROLPARENT);
    if (!SetParent(c->janela, pai)) {
      SetWindowLongPtrW(c->janela, GWL_STYLE, 0);
      c->janela = nullptr;
      return E_FAIL;
    }
    SetWindowPos(c->janela, nullptr, pos.left, pos.top, pos.right - pos.left, pos.bottom - pos.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
  }
  Redimensiona(c, pos.right - pos.left, pos.bottom - pos.top);
  return S_OK;
}

// The windows at the field's rectangle in the site's window: made the first time, moved back
// afterwards.
HRESULT MostraJanela(Control* c, HWND pai = nullptr) {
  if (c->janela) return S_OK;
  if (!pai && FAILED(IOleInPlaceSite_GetWindow(c->lugar, &pai))) return E_FAIL;
  if (!pai) return E_FAIL;
  const RECT& pos = c->retangulo;
  if (c->txo.janela()) return PoeDeVolta(c, pai, pos);
  // First time in place: the windows are made where they belong, at their size, with the
  // state the edit box held.
  Redimensiona(c, pos.right - pos.left, pos.bottom - pos.top);
  if (!CriaJanelas(c, pai, pos)) return E_FAIL;
  c->janela = c->pai ? c->pai : c->txo.janela();
  return S_OK;
}

// Back to holding the edit box out of sight.
void GuardaJanela(Control* c) {
  if (!c->janela) return;
  if (c->txo.Sozinha()) {
    c->txo.TiraDoLugar();
  } else {
    ShowWindow(c->janela, SW_HIDE);
    SetParent(c->janela, HWND_MESSAGE);
    SetWindowLongPtrW(c->janela, GWL_STYLE, 0);
  }
  c->janela = nullptr;
}

// A windowless field gives its windows back and is drawn by the container again, unless it
// has the focus: then it keeps them, as a windowed field keeps its window, until the focus
// leaves (FocusLeft).
void DevolveJanela(Control* c) {
  HWND caixa = c->txo.janela();
  if (caixa && GetFocus() == caixa) return;
  GuardaJanela(c);
  PedePintura(c);
}

// Windowless in-place activation, where the site offers it: no window until the field takes
// the focus. A site that cannot tell a windowless object whether it has the focus (Wine's ATL
// host, whose windowless methods are stubs) could never hand the field a click or a key: it
// gets the windowed field. The windowless interface is asked for again when needed, not held,
// to keep each control small.
bool AtivaSemJanela(IOleInPlaceSite* lugar) {
  IOleInPlaceSiteWindowless* semJanela = nullptr;
  if (FAILED(IOleInPlaceSite_QueryInterface(lugar, IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&semJanela))))
    return false;
  const bool pode = IOleInPlaceSiteWindowless_CanWindowlessActivate(semJanela) == S_OK &&
                    SUCCEEDED(IOleInPlaceSiteWindowless_GetFocus(semJanela));
  BOOL semRedesenho = FALSE;
  if (pode) IOleInPlaceSiteWindowless_OnInPlaceActivateEx(semJanela, &semRedesenho, ACTIVATE_WINDOWLESS);
  IOleInPlaceSiteWindowless_Release(semJanela);
  return pode;
}

}  // namespace

HRESULT AtivaNoLugar(Control* c, bool comInterface, bool comFoco) {
  if (!c->site) return E_UNEXPECTED;
  if (!c->lugar) {
    IOleInPlaceSite* lugar = nullptr;
    HRESULT hr = IOleClientSite_QueryInterface(c->site, IID_IOleInPlaceSite, reinterpret_cast<void**>(&lugar));
    if (FAILED(hr)) return hr;
    if (IOleInPlaceSite_CanInPlaceActivate(lugar) != S_OK) {
      IOleInPlaceSite_Release(lugar);
      return E_FAIL;
    }
    const bool semJanela = AtivaSemJanela(lugar);
    HWND pai = nullptr;
    if (!semJanela) {
      IOleInPlaceSite_OnInPlaceActivate(lugar);
      IOleInPlaceSite_GetWindow(lugar, &pai);
    }
    IOleInPlaceFrame* quadro = nullptr;
    IOleInPlaceUIWindow* documento = nullptr;
    RECT pos{}, recorte{};
    OLEINPLACEFRAMEINFO info{sizeof(info), FALSE, nullptr, nullptr, 0};
    IOleInPlaceSite_GetWindowContext(lugar, &quadro, &documento, &pos, &recorte, &info);
    if (documento) IOleInPlaceUIWindow_Release(documento);
    c->quadro = quadro;
    c->lugar = lugar;
    c->semJanela = semJanela;
    c->retangulo = pos;
    c->txo.NoticeFocusLeft(semJanela);
    if (semJanela) Redimensiona(c, pos.right - pos.left, pos.bottom - pos.top);
    else if (FAILED(MostraJanela(c, pai))) return E_FAIL;
  }
  if (comInterface && !c->interfaceAtiva) {
    // A disabled windowless field takes no focus: it stays drawn by the container.
    if (c->semJanela && !c->txo.Habilitada()) return S_OK;
    if (c->semJanela && FAILED(MostraJanela(c))) return E_FAIL;
    c->interfaceAtiva = true;
    IOleInPlaceSite_OnUIActivate(c->lugar);
    if (c->quadro) IOleInPlaceFrame_SetActiveObject(c->quadro, &c->IOleInPlaceActiveObject_iface, nullptr);
    if (comFoco && GetFocus() != c->txo.janela()) SetFocus(c->txo.janela());
  }
  return S_OK;
}

HRESULT DesativaInterface(Control* c) {
  if (c->interfaceAtiva) {
    c->interfaceAtiva = false;
    if (c->quadro) IOleInPlaceFrame_SetActiveObject(c->quadro, nullptr, nullptr);
    if (c->lugar) IOleInPlaceSite_OnUIDeactivate(c->lugar, FALSE);
  }
  if (c->semJanela && c->janela) DevolveJanela(c);
  return S_OK;
}

HRESULT DesativaNoLugar(Control* c) {
  if (!c->lugar) return S_OK;
  // Out of place the windows go out of sight at once, with no leaving rules, windowless or not.
  if (c->semJanela) GuardaJanela(c);
  DesativaInterface(c);
  GuardaJanela(c);
  IOleInPlaceSite* lugar = c->lugar;
  IOleInPlaceSiteWindowless* semJanela = nullptr;
  if (c->semJanela) IOleInPlaceSite_QueryInterface(lugar, IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&semJanela));
  c->lugar = nullptr;
  c->semJanela = false;
  c->txo.NoticeFocusLeft(false);
  if (semJanela) {
    IOleInPlaceSiteWindowless_OnInPlaceDeactivateEx(semJanela, TRUE);
    IOleInPlaceSiteWindowless_Release(semJanela);
  } else {
    IOleInPlaceSite_OnInPlaceDeactivate(lugar);
  }
  IOleInPlaceSite_Release(lugar);
  if (c->quadro) IOleInPlaceFrame_Release(c->quadro);
  c->quadro = nullptr;
  return S_OK;
}

void PedePintura(Control* c) {
  IOleInPlaceSiteWindowless* semJanela = nullptr;
  if (!c->lugar || FAILED(IOleInPlaceSite_QueryInterface(c->lugar, IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&semJanela))))
    return;
  IOleInPlaceSiteWindowless_InvalidateRect(semJanela, &c->retangulo, FALSE);
  IOleInPlaceSiteWindowless_Release(semJanela);
}

HRESULT JanelaNoLugar(Control* c, HWND* h) {
  if (!h) return E_POINTER;
  *h = c->janela;
  if (c->janela) return S_OK;
  // A windowless object has no window to give; out of place nothing has one.
  return c->semJanela ? E_FAIL : E_UNEXPECTED;
}

HRESULT MoveNoLugar(Control* c, const RECT& pos) {
  if (!c->lugar) return E_UNEXPECTED;
  c->retangulo = pos;
  if (c->janela && c->txo.Sozinha()) c->txo.Move(pos);
  else if (c->janela) MoveWindow(c->janela, pos.left, pos.top, pos.right - pos.left, pos.bottom - pos.top, TRUE);
  Redimensiona(c, pos.right - pos.left, pos.bottom - pos.top);
  return S_OK;
}

namespace {

// IOleObject
HRESULT WINAPI Ole_QueryInterface(IOleObject* i, REFIID r, void** p) { return ControleQI(impl_from_IOleObject(i), r, p); }
ULONG WINAPI Ole_AddRef(IOleObject* i) { return ControleAddRef(impl_from_IOleObject(i)); }
ULONG WINAPI Ole_Release(IOleObject* i) { return ControleRelease(impl_from_IOleObject(i)); }
HRESULT WINAPI Ole_SetClientSite(IOleObject* i, IOleClientSite* site) {
  Control* c = impl_from_IOleObject(i);
  if (site) IOleClientSite_AddRef(site);
  if (c->site) IOleClientSite_Release(c->site);
  c->site = site;
  c->reflexo = -1;  // the new site is asked
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
  HRESULT hr = DesativaNoLugar(c);
  if (c->avisosOle) IOleAdviseHolder_SendOnClose(c->avisosOle);
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
HRESULT WINAPI Ole_DoVerb(IOleObject* i, LONG verbo, LPMSG msg, IOleClientSite* site, LONG, HWND pai, LPCRECT) {
  Control* c = impl_from_IOleObject(i);
  if (site && !c->site) Ole_SetClientSite(i, site);
  switch (verbo) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_UIACTIVATE: {
      // A container that kept the field inactive activates it on a click, which it hands over.
      HRESULT hr = AtivaNoLugar(c, true);
      if (SUCCEEDED(hr) && msg) RepassaClique(c, *msg);
      return hr;
    }
    case OLEIVERB_INPLACEACTIVATE: return AtivaNoLugar(c, false);
    case OLEIVERB_HIDE: return DesativaNoLugar(c);
    case OLEIVERB_PROPERTIES: return MostraPaginas(c, pai);
    default: return verbo < 0 ? E_NOTIMPL : OLEOBJ_S_INVALIDVERB;
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
HRESULT WINAPI Ole_GetUserType(IOleObject*, DWORD forma, LPOLESTR* tipo) { return OleRegGetUserType(kClsidDelvorin, forma, tipo); }
HRESULT WINAPI Ole_SetExtent(IOleObject* i, DWORD aspecto, SIZEL* tamanho) {
  Control* c = impl_from_IOleObject(i);
  if (!tamanho) return E_POINTER;
  if (aspecto != DVASPECT_CONTENT) return DV_E_DVASPECT;
  c->extensao = *tamanho;
  // HIMETRIC to twips: 2540 HIMETRIC units and 1440 twips make an inch.
  c->hospedeiro.largura = static_cast<float>(MulDiv(tamanho->cx, 1440, 2540));
  c->hospedeiro.altura = static_cast<float>(MulDiv(tamanho->cy, 1440, 2540));
  return c->controle.Resize().ok() ? S_OK : E_FAIL;
}
HRESULT WINAPI Ole_GetExtent(IOleObject* i, DWORD aspecto, SIZEL* tamanho) {
  if (!tamanho) return E_POINTER;
  if (aspecto != DVASPECT_CONTENT) return DV_E_DVASPECT;
  *tamanho = impl_from_IOleObject(i)->extensao;
  return S_OK;
}
HRESULT WINAPI Ole_Advise(IOleObject* i, IAdviseSink* sink, DWORD* cookie) {
  Control* c = impl_from_IOleObject(i);
  if (!c->avisosOle && FAILED(CreateOleAdviseHolder(&c->avisosOle))) return E_OUTOFMEMORY;
  return IOleAdviseHolder_Advise(c->avisosOle, sink, cookie);
}
HRESULT WINAPI Ole_Unadvise(IOleObject* i, DWORD cookie) {
  Control* c = impl_from_IOleObject(i);
  return c->avisosOle ? IOleAdviseHolder_Unadvise(c->avisosOle, cookie) : OLE_E_NOCONNECTION;
}
HRESULT WINAPI Ole_EnumAdvise(IOleObject* i, IEnumSTATDATA** e) {
  Control* c = impl_from_IOleObject(i);
  if (!e) return E_POINTER;
  *e = nullptr;
  return c->avisosOle ? IOleAdviseHolder_EnumAdvise(c->avisosOle, e) : E_FAIL;
}
HRESULT WINAPI Ole_GetMiscStatus(IOleObject*, DWORD, DWORD* status) {
  if (!status) return E_POINTER;
  *status = kMiscStatus;
  return S_OK;
}
HRESULT WINAPI Ole_SetColorScheme(IOleObject*, LOGPALETTE*) { return E_NOTIMPL; }

const IOleObjectVtbl kOleVtbl = {
    Ole_QueryInterface, Ole_AddRef, Ole_Release, Ole_SetClientSite, Ole_GetClientSite, Ole_SetHostNames, Ole_Close,
    Ole_SetMoniker, Ole_GetMoniker, Ole_InitFromData, Ole_GetClipboardData, Ole_DoVerb, Ole_EnumVerbs, Ole_Update,
    Ole_IsUpToDate, Ole_GetUserClassID, Ole_GetUserType, Ole_SetExtent, Ole_GetExtent, Ole_Advise, Ole_Unadvise,
    Ole_EnumAdvise, Ole_GetMiscStatus, Ole_SetColorScheme,
};

// IOleInPlaceActiveObject
HRESULT WINAPI Ipao_QueryInterface(IOleInPlaceActiveObject* i, REFIID r, void** p) {
  return ControleQI(impl_from_IOleInPlaceActiveObject(i), r, p);
}
ULONG WINAPI Ipao_AddRef(IOleInPlaceActiveObject* i) { return ControleAddRef(impl_from_IOleInPlaceActiveObject(i)); }
ULONG WINAPI Ipao_Release(IOleInPlaceActiveObject* i) { return ControleRelease(impl_from_IOleInPlaceActiveObject(i)); }
HRESULT WINAPI Ipao_GetWindow(IOleInPlaceActiveObject* i, HWND* h) { return JanelaNoLugar(impl_from_IOleInPlaceActiveObject(i), h); }
HRESULT WINAPI Ipao_ContextSensitiveHelp(IOleInPlaceActiveObject*, BOOL) { return E_NOTIMPL; }
// Enter must reach the field (it moves on or raises TeclaEnter there); Tab goes to the
// container, which moves the focus.
HRESULT WINAPI Ipao_TranslateAccelerator(IOleInPlaceActiveObject* i, LPMSG msg) {
  Control* c = impl_from_IOleInPlaceActiveObject(i);
  if (!msg) return E_POINTER;
  if (msg->hwnd != c->txo.janela() || (msg->message != WM_KEYDOWN && msg->message != WM_KEYUP)) return S_FALSE;
  if (msg->wParam == VK_RETURN) {
    TranslateMessage(msg);
    DispatchMessageW(msg);
    return S_OK;
  }
  if (msg->wParam == VK_TAB && c->site) {
    IOleControlSite* cs = nullptr;
    if (SUCCEEDED(IOleClientSite_QueryInterface(c->site, IID_IOleControlSite, reinterpret_cast<void**>(&cs)))) {
      DWORD modificadores = (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0);
      HRESULT hr = IOleControlSite_TranslateAccelerator(cs, msg, modificadores);
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
    Ipao_QueryInterface, Ipao_AddRef, Ipao_Release, Ipao_GetWindow, Ipao_ContextSensitiveHelp,
    Ipao_TranslateAccelerator, Ipao_OnFrameWindowActivate, Ipao_OnDocWindowActivate, Ipao_ResizeBorder,
    Ipao_EnableModeless,
};

// IOleControl
HRESULT WINAPI Ctl_QueryInterface(IOleControl* i, REFIID r, void** p) { return ControleQI(impl_from_IOleControl(i), r, p); }
ULONG WINAPI Ctl_AddRef(IOleControl* i) { return ControleAddRef(impl_from_IOleControl(i)); }
ULONG WINAPI Ctl_Release(IOleControl* i) { return ControleRelease(impl_from_IOleControl(i)); }
HRESULT WINAPI Ctl_GetControlInfo(IOleControl* i, CONTROLINFO* ci) {
  Control* c = impl_from_IOleControl(i);
  if (!ci) return E_POINTER;
  if (ci->cb < sizeof(CONTROLINFO)) return E_INVALIDARG;
  ci->hAccel = nullptr;
  ci->cAccel = 0;
  // Enter is the field's own key when it raises TeclaEnter.
  ci->dwFlags = c->controle.Usar_Enter() == 0 ? CTRLINFO_EATS_RETURN : 0;
  return S_OK;
}
HRESULT WINAPI Ctl_OnMnemonic(IOleControl*, MSG*) { return E_NOTIMPL; }
HRESULT WINAPI Ctl_OnAmbientPropertyChange(IOleControl*, DISPID) { return S_OK; }
HRESULT WINAPI Ctl_FreezeEvents(IOleControl* i, BOOL congela) {
  Control* c = impl_from_IOleControl(i);
  if (congela) ++c->congelado;
  else if (c->congelado > 0) --c->congelado;
  return S_OK;
}

const IOleControlVtbl kCtlVtbl = {
    Ctl_QueryInterface, Ctl_AddRef, Ctl_Release, Ctl_GetControlInfo, Ctl_OnMnemonic, Ctl_OnAmbientPropertyChange,
    Ctl_FreezeEvents,
};

}  // namespace

void FocoMudou(Control* c, bool ganhou) {
  if (!c->site) return;
  // The container may release the control from inside these calls.
  ControleAddRef(c);
  if (ganhou && c->lugar) AtivaNoLugar(c, true, false);
  IOleControlSite* cs = nullptr;
  if (SUCCEEDED(IOleClientSite_QueryInterface(c->site, IID_IOleControlSite, reinterpret_cast<void**>(&cs)))) {
    IOleControlSite_OnFocus(cs, ganhou);
    IOleControlSite_Release(cs);
  }
  ControleRelease(c);
}

void IniciaObjetoOle(Control* c) {
  c->IOleObject_iface.lpVtbl = const_cast<IOleObjectVtbl*>(&kOleVtbl);
  c->IOleInPlaceActiveObject_iface.lpVtbl = const_cast<IOleInPlaceActiveObjectVtbl*>(&kIpaoVtbl);
  c->IOleControl_iface.lpVtbl = const_cast<IOleControlVtbl*>(&kCtlVtbl);
  // Initial extent of a newly placed control: 2385 x 1215 twips, in HIMETRIC.
  c->extensao = {MulDiv(2385, 2540, 1440), MulDiv(1215, 2540, 1440)};
}

void EncerraObjetoOle(Control* c) {
  DesativaNoLugar(c);
  if (c->avisosOle) IOleAdviseHolder_Release(c->avisosOle);
  c->avisosOle = nullptr;
  if (c->avisoVista) IAdviseSink_Release(c->avisoVista);
  c->avisoVista = nullptr;
  if (c->site) IOleClientSite_Release(c->site);
  c->site = nullptr;
  if (c->fonteAmbiente) IFont_Release(c->fonteAmbiente);
  c->fonteAmbiente = nullptr;
}

void* InterfaceObjetoOle(Control* c, REFIID riid) {
  if (IsEqualIID(riid, IID_IOleObject)) return &c->IOleObject_iface;
  if (IsEqualIID(riid, IID_IOleInPlaceActiveObject)) return &c->IOleInPlaceActiveObject_iface;
  if (IsEqualIID(riid, IID_IOleControl)) return &c->IOleControl_iface;
  return nullptr;
}

}  // namespace delvorin::ocx
