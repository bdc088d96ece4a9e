// IQuickActivate: a container hands over its site, sinks and ambient font in one call instead
// of a dozen, and learns the control's status bits and event cookies back.
#include <cstddef>

#include "ocx/Control.h"
#include "ocx/Identifiers.h"

namespace delvorin::ocx {
namespace {

Control* impl_from_IQuickActivate(IQuickActivate* i) { return CONTAINING_RECORD(i, Control, IQuickActivate_iface); }

HRESULT Conecta(ConnectionPoint& ponto, IUnknown* sink, DWORD* cookie) {
  *cookie = 0;
  if (!sink) return S_OK;
  return IConnectionPoint_Advise(&ponto.IConnectionPoint_iface, sink, cookie);
}

HRESULT WINAPI Qa_QueryInterface(IQuickActivate* i, REFIID r, void** p) { return ControleQI(impl_from_IQuickActivate(i), r, p); }
ULONG WINAPI Qa_AddRef(IQuickActivate* i) { return ControleAddRef(impl_from_IQuickActivate(i)); }
ULONG WINAPI Qa_Release(IQuickActivate* i) { return ControleRelease(impl_from_IQuickActivate(i)); }

HRESULT WINAPI Qa_QuickActivate(IQuickActivate* i, QACONTAINER* conteiner, QACONTROL* controle) {
  Control* c = impl_from_IQuickActivate(i);
  if (!conteiner || !controle) return E_POINTER;
  // Older containers pass a shorter QACONTAINER; everything up to the font is needed here.
  if (conteiner->cbSize < offsetof(QACONTAINER, pUndoMgr) || controle->cbSize < sizeof(QACONTROL)) return E_INVALIDARG;

  HRESULT hr = IOleObject_SetClientSite(&c->IOleObject_iface, conteiner->pClientSite);
  if (FAILED(hr)) return hr;
  if (conteiner->pFont) IFont_AddRef(conteiner->pFont);
  if (c->fonteAmbiente) IFont_Release(c->fonteAmbiente);
  c->fonteAmbiente = conteiner->pFont;
  c->reflexo = (conteiner->dwAmbientFlags & QACONTAINER_MESSAGEREFLECT) != 0;
  if (conteiner->pAdviseSink) IViewObjectEx_SetAdvise(&c->IViewObjectEx_iface, DVASPECT_CONTENT, 0,
                                                     reinterpret_cast<IAdviseSink*>(conteiner->pAdviseSink));

  controle->dwMiscStatus = kMiscStatus;
  controle->dwViewStatus = VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND;
  controle->dwPointerActivationPolicy = 0;
  hr = Conecta(c->avisos, reinterpret_cast<IUnknown*>(conteiner->pPropertyNotifySink), &controle->dwPropNotifyCookie);
  if (SUCCEEDED(hr)) hr = Conecta(c->eventos, conteiner->pUnkEventSink, &controle->dwEventCookie);
  return hr;
}
HRESULT WINAPI Qa_SetContentExtent(IQuickActivate* i, SIZEL* tamanho) {
  return IOleObject_SetExtent(&impl_from_IQuickActivate(i)->IOleObject_iface, DVASPECT_CONTENT, tamanho);
}
HRESULT WINAPI Qa_GetContentExtent(IQuickActivate* i, SIZEL* tamanho) {
  return IOleObject_GetExtent(&impl_from_IQuickActivate(i)->IOleObject_iface, DVASPECT_CONTENT, tamanho);
}

const IQuickActivateVtbl kQaVtbl = {
    Qa_QueryInterface, Qa_AddRef, Qa_Release, Qa_QuickActivate, Qa_SetContentExtent, Qa_GetContentExtent,
};

}  // namespace

void IniciaAtivacaoRapida(Control* c) { c->IQuickActivate_iface.lpVtbl = const_cast<IQuickActivateVtbl*>(&kQaVtbl); }

void* InterfaceAtivacaoRapida(Control* c, REFIID riid) {
  return IsEqualIID(riid, IID_IQuickActivate) ? &c->IQuickActivate_iface : nullptr;
}

}  // namespace delvorin::ocx
