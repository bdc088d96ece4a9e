// IQuickActivate: a container hands over its site, sinks and ambient font in one call instead
// of a dozen, and learns the control's status bits and event cookies back.
#include <cstddef>

#include "ocx/Control.h"
#include "ocx/Identifiers.h"

namespace delvorin::ocx {
namespace {

Control* impl_from_IQuickActivate(IQuickActivate* i) { return CONTAINING_RECORD(i, Control, IQuickActivate_iface); }

HRESULT Connect(ConnectionPoint& point, IUnknown* sink, DWORD* cookie) {
  *cookie = 0;
  if (!sink) return S_OK;
  return IConnectionPoint_Advise(&point.IConnectionPoint_iface, sink, cookie);
}

HRESULT WINAPI Qa_QueryInterface(IQuickActivate* i, REFIID r, void** p) { return ControlQI(impl_from_IQuickActivate(i), r, p); }
ULONG WINAPI Qa_AddRef(IQuickActivate* i) { return ControlAddRef(impl_from_IQuickActivate(i)); }
ULONG WINAPI Qa_Release(IQuickActivate* i) { return ControlRelease(impl_from_IQuickActivate(i)); }

HRESULT WINAPI Qa_QuickActivate(IQuickActivate* i, QACONTAINER* qaContainer, QACONTROL* qaControl) {
  Control* c = impl_from_IQuickActivate(i);
  if (!qaContainer || !qaControl) return E_POINTER;
  // Older containers pass a shorter QACONTAINER; everything up to the font is needed here.
  if (qaContainer->cbSize < offsetof(QACONTAINER, pUndoMgr) || qaControl->cbSize < sizeof(QACONTROL)) return E_INVALIDARG;

  HRESULT hr = IOleObject_SetClientSite(&c->IOleObject_iface, qaContainer->pClientSite);
  if (FAILED(hr)) return hr;
  if (qaContainer->pFont) IFont_AddRef(qaContainer->pFont);
  if (c->ambientFont) IFont_Release(c->ambientFont);
  c->ambientFont = qaContainer->pFont;
  c->messageReflect = (qaContainer->dwAmbientFlags & QACONTAINER_MESSAGEREFLECT) != 0;
  if (qaContainer->pAdviseSink) IViewObjectEx_SetAdvise(&c->IViewObjectEx_iface, DVASPECT_CONTENT, 0,
                                                     reinterpret_cast<IAdviseSink*>(qaContainer->pAdviseSink));

  qaControl->dwMiscStatus = kMiscStatus;
  qaControl->dwViewStatus = VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND;
  qaControl->dwPointerActivationPolicy = 0;
  hr = Connect(c->notices, reinterpret_cast<IUnknown*>(qaContainer->pPropertyNotifySink), &qaControl->dwPropNotifyCookie);
  if (SUCCEEDED(hr)) hr = Connect(c->events, qaContainer->pUnkEventSink, &qaControl->dwEventCookie);
  return hr;
}
HRESULT WINAPI Qa_SetContentExtent(IQuickActivate* i, SIZEL* size) {
  return IOleObject_SetExtent(&impl_from_IQuickActivate(i)->IOleObject_iface, DVASPECT_CONTENT, size);
}
HRESULT WINAPI Qa_GetContentExtent(IQuickActivate* i, SIZEL* size) {
  return IOleObject_GetExtent(&impl_from_IQuickActivate(i)->IOleObject_iface, DVASPECT_CONTENT, size);
}

const IQuickActivateVtbl kQaVtbl = {
    Qa_QueryInterface, Qa_AddRef, Qa_Release, OwnThread<Qa_QuickActivate>, OwnThread<Qa_SetContentExtent>, OwnThread<Qa_GetContentExtent>,
};

}  // namespace

void InitQuickActivate(Control* c) { c->IQuickActivate_iface.lpVtbl = const_cast<IQuickActivateVtbl*>(&kQaVtbl); }

void* QuickActivateInterface(Control* c, REFIID riid) {
  return IsEqualIID(riid, IID_IQuickActivate) ? &c->IQuickActivate_iface : nullptr;
}

}  // namespace delvorin::ocx
