// Connection points: the event interface __Delvorin and IPropertyNotifySink. The engine's
// container calls come out here as Invoke on each event sink and OnChanged on each notify sink.
#include "ocx/Control.h"
#include "ocx/Enumerators.h"
#include "ocx/Identifiers.h"

namespace delvorin::ocx {
namespace {

Control* impl_from_IConnectionPointContainer(IConnectionPointContainer* iface) {
  return CONTAINING_RECORD(iface, Control, IConnectionPointContainer_iface);
}
ConnectionPoint* impl_from_IConnectionPoint(IConnectionPoint* iface) {
  return CONTAINING_RECORD(iface, ConnectionPoint, IConnectionPoint_iface);
}

// The two points share their functions; each has a vtable of its own, so that a point knows
// which one it is, and its control, without a member for it.
extern const IConnectionPointVtbl kCpVtbl[2];
bool IsEventsPoint(IConnectionPoint* iface) { return iface->lpVtbl == &kCpVtbl[0]; }

}  // namespace

Control* ControlOf(IConnectionPoint* iface) {
  return IsEventsPoint(iface) ? CONTAINING_RECORD(iface, Control, events.IConnectionPoint_iface)
                              : CONTAINING_RECORD(iface, Control, notices.IConnectionPoint_iface);
}

namespace {

const IID& InterfaceOf(IConnectionPoint* iface) { return IsEventsPoint(iface) ? kDiid__Delvorin : IID_IPropertyNotifySink; }

HRESULT WINAPI Cpc_QueryInterface(IConnectionPointContainer* iface, REFIID riid, void** ppv) { return ControlQI(impl_from_IConnectionPointContainer(iface), riid, ppv); }
ULONG WINAPI Cpc_AddRef(IConnectionPointContainer* iface) { return ControlAddRef(impl_from_IConnectionPointContainer(iface)); }
ULONG WINAPI Cpc_Release(IConnectionPointContainer* iface) { return ControlRelease(impl_from_IConnectionPointContainer(iface)); }
HRESULT WINAPI Cpc_EnumConnectionPoints(IConnectionPointContainer* iface, IEnumConnectionPoints** e) {
  Control* c = impl_from_IConnectionPointContainer(iface);
  if (!e) return E_POINTER;
  *e = nullptr;
  return CreatePointEnumerator({&c->events.IConnectionPoint_iface, &c->notices.IConnectionPoint_iface}, e);
}
HRESULT WINAPI Cpc_FindConnectionPoint(IConnectionPointContainer* iface, REFIID riid, IConnectionPoint** cp) {
  Control* c = impl_from_IConnectionPointContainer(iface);
  if (!cp) return E_POINTER;
  *cp = nullptr;
  if (IsEqualIID(riid, kDiid__Delvorin)) *cp = &c->events.IConnectionPoint_iface;
  else if (IsEqualIID(riid, IID_IPropertyNotifySink)) *cp = &c->notices.IConnectionPoint_iface;
  else return CONNECT_E_NOCONNECTION;
  IConnectionPoint_AddRef(*cp);
  return S_OK;
}

const IConnectionPointContainerVtbl kCpcVtbl = {
    Cpc_QueryInterface, Cpc_AddRef, Cpc_Release, OwnThread<Cpc_EnumConnectionPoints>, OwnThread<Cpc_FindConnectionPoint>,
};

HRESULT WINAPI Cp_QueryInterface(IConnectionPoint* iface, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IConnectionPoint)) return E_NOINTERFACE;
  *ppv = iface;
  IConnectionPoint_AddRef(iface);
  return S_OK;
}
ULONG WINAPI Cp_AddRef(IConnectionPoint* iface) { return ControlAddRef(ControlOf(iface)); }
ULONG WINAPI Cp_Release(IConnectionPoint* iface) { return ControlRelease(ControlOf(iface)); }
HRESULT WINAPI Cp_GetConnectionInterface(IConnectionPoint* iface, IID* iid) {
  if (!iid) return E_POINTER;
  *iid = InterfaceOf(iface);
  return S_OK;
}
HRESULT WINAPI Cp_GetConnectionPointContainer(IConnectionPoint* iface, IConnectionPointContainer** cpc) {
  if (!cpc) return E_POINTER;
  *cpc = &ControlOf(iface)->IConnectionPointContainer_iface;
  IConnectionPointContainer_AddRef(*cpc);
  return S_OK;
}
HRESULT WINAPI Cp_Advise(IConnectionPoint* iface, IUnknown* sink, DWORD* cookie) {
  ConnectionPoint* p = impl_from_IConnectionPoint(iface);
  if (!sink || !cookie) return E_POINTER;
  *cookie = 0;
  // Event sinks are called through IDispatch, notify sinks through IPropertyNotifySink.
  const IID& requested = IsEventsPoint(iface) ? IID_IDispatch : IID_IPropertyNotifySink;
  IUnknown* interface_ = nullptr;
  if (FAILED(IUnknown_QueryInterface(sink, InterfaceOf(iface), reinterpret_cast<void**>(&interface_))) &&
      FAILED(IUnknown_QueryInterface(sink, requested, reinterpret_cast<void**>(&interface_))))
    return CONNECT_E_CANNOTCONNECT;
  p->sinks.emplace_back(p->nextCookie, interface_);
  *cookie = p->nextCookie++;
  return S_OK;
}
HRESULT WINAPI Cp_Unadvise(IConnectionPoint* iface, DWORD cookie) {
  ConnectionPoint* p = impl_from_IConnectionPoint(iface);
  for (auto it = p->sinks.begin(); it != p->sinks.end(); ++it) {
    if (it->first != cookie) continue;
    IUnknown* u = it->second;
    p->sinks.erase(it);
    IUnknown_Release(u);
    return S_OK;
  }
  return CONNECT_E_NOCONNECTION;
}
HRESULT WINAPI Cp_EnumConnections(IConnectionPoint* iface, IEnumConnections** e) {
  if (!e) return E_POINTER;
  *e = nullptr;
  std::vector<CONNECTDATA> connections;
  for (const auto& a : impl_from_IConnectionPoint(iface)->sinks) connections.push_back(CONNECTDATA{a.second, a.first});
  return CreateConnectionEnumerator(connections, e);
}

// The events' point, then the notices'.
const IConnectionPointVtbl kCpVtbl[2] = {
    {Cp_QueryInterface, Cp_AddRef, Cp_Release, OwnThread<Cp_GetConnectionInterface>, OwnThread<Cp_GetConnectionPointContainer>, OwnThread<Cp_Advise>,
     OwnThread<Cp_Unadvise>, OwnThread<Cp_EnumConnections>},
    {Cp_QueryInterface, Cp_AddRef, Cp_Release, OwnThread<Cp_GetConnectionInterface>, OwnThread<Cp_GetConnectionPointContainer>, OwnThread<Cp_Advise>,
     OwnThread<Cp_Unadvise>, OwnThread<Cp_EnumConnections>},
};

// A copy of the sinks, each held for the call: a handler may unadvise while being called.
std::vector<IUnknown*> CopySinks(const ConnectionPoint& p) {
  std::vector<IUnknown*> r;
  for (const auto& a : p.sinks) {
    IUnknown_AddRef(a.second);
    r.push_back(a.second);
  }
  return r;
}

}  // namespace

void InitConnections(Control* c) {
  c->IConnectionPointContainer_iface.lpVtbl = const_cast<IConnectionPointContainerVtbl*>(&kCpcVtbl);
  c->events.IConnectionPoint_iface.lpVtbl = const_cast<IConnectionPointVtbl*>(&kCpVtbl[0]);
  c->notices.IConnectionPoint_iface.lpVtbl = const_cast<IConnectionPointVtbl*>(&kCpVtbl[1]);
}

void TearDownConnections(Control* c) {
  for (ConnectionPoint* p : {&c->events, &c->notices}) {
    for (auto& a : p->sinks) IUnknown_Release(a.second);
    p->sinks.clear();
  }
}

Status ContainerWin32::PropertyChanged(std::u16string_view name) {
  const PropertyDescription* d = FindProperty(name);
  if (!d) return Status(Status::kInvalidArgument);
  c_.dirty = true;  // a property changed since the last save
  // Without a window the container draws the field: it must learn that the look may differ.
  if (!c_.window) NotifyViewChange(&c_);
  HRESULT hr = S_OK;
  for (IUnknown* u : CopySinks(c_.notices)) {
    HRESULT r = IPropertyNotifySink_OnChanged(reinterpret_cast<IPropertyNotifySink*>(u), d->dispid);
    if (FAILED(r) && SUCCEEDED(hr)) hr = r;
    IUnknown_Release(u);
  }
  return Status(hr);
}

void ContainerWin32::Fire(DISPID id, VARIANTARG* args, UINT n) {
  if (c_.freezeCount > 0) return;  // the container froze events
  DISPPARAMS params{args, nullptr, n, 0};
  for (IUnknown* u : CopySinks(c_.events)) {
    IDispatch* d = reinterpret_cast<IDispatch*>(u);
    IDispatch_Invoke(d, id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    IUnknown_Release(u);
  }
}

namespace {
VARIANTARG ByRef(int16_t& v) {
  VARIANTARG a;
  VariantInit(&a);
  V_VT(&a) = VT_I2 | VT_BYREF;
  V_I2REF(&a) = reinterpret_cast<SHORT*>(&v);
  return a;
}
VARIANTARG ByRef(float& v) {
  VARIANTARG a;
  VariantInit(&a);
  V_VT(&a) = VT_R4 | VT_BYREF;
  V_R4REF(&a) = &v;
  return a;
}
}  // namespace

// Arguments go in reverse order, as DISPPARAMS wants them.
void ContainerWin32::RaiseMouseMove(int16_t& button, int16_t& shift, float& x, float& y) {
  VARIANTARG a[4] = {ByRef(y), ByRef(x), ByRef(shift), ByRef(button)};
  Fire(1, a, 4);
}
void ContainerWin32::RaiseChange() { Fire(2, nullptr, 0); }
void ContainerWin32::RaiseKeyDown(int16_t& keyCode, int16_t& shift) {
  VARIANTARG a[2] = {ByRef(shift), ByRef(keyCode)};
  Fire(3, a, 2);
}
void ContainerWin32::RaiseKeyPress(int16_t& keyAscii) {
  VARIANTARG a[1] = {ByRef(keyAscii)};
  Fire(4, a, 1);
}
void ContainerWin32::RaiseTeclaEnter() { Fire(5, nullptr, 0); }

}  // namespace delvorin::ocx
