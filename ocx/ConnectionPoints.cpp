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
bool EhDeEventos(IConnectionPoint* iface) { return iface->lpVtbl == &kCpVtbl[0]; }
Control* DonoDe(IConnectionPoint* iface) {
  return EhDeEventos(iface) ? CONTAINING_RECORD(iface, Control, eventos.IConnectionPoint_iface)
                            : CONTAINING_RECORD(iface, Control, avisos.IConnectionPoint_iface);
}
const IID& InterfaceDe(IConnectionPoint* iface) { return EhDeEventos(iface) ? kDiid__Delvorin : IID_IPropertyNotifySink; }

HRESULT WINAPI Cpc_QueryInterface(IConnectionPointContainer* iface, REFIID riid, void** ppv) { return ControleQI(impl_from_IConnectionPointContainer(iface), riid, ppv); }
ULONG WINAPI Cpc_AddRef(IConnectionPointContainer* iface) { return ControleAddRef(impl_from_IConnectionPointContainer(iface)); }
ULONG WINAPI Cpc_Release(IConnectionPointContainer* iface) { return ControleRelease(impl_from_IConnectionPointContainer(iface)); }
HRESULT WINAPI Cpc_EnumConnectionPoints(IConnectionPointContainer* iface, IEnumConnectionPoints** e) {
  Control* c = impl_from_IConnectionPointContainer(iface);
  if (!e) return E_POINTER;
  *e = nullptr;
  return CriaEnumeradorDePontos({&c->eventos.IConnectionPoint_iface, &c->avisos.IConnectionPoint_iface}, e);
}
HRESULT WINAPI Cpc_FindConnectionPoint(IConnectionPointContainer* iface, REFIID riid, IConnectionPoint** cp) {
  Control* c = impl_from_IConnectionPointContainer(iface);
  if (!cp) return E_POINTER;
  *cp = nullptr;
  if (IsEqualIID(riid, kDiid__Delvorin)) *cp = &c->eventos.IConnectionPoint_iface;
  else if (IsEqualIID(riid, IID_IPropertyNotifySink)) *cp = &c->avisos.IConnectionPoint_iface;
  else return CONNECT_E_NOCONNECTION;
  IConnectionPoint_AddRef(*cp);
  return S_OK;
}

const IConnectionPointContainerVtbl kCpcVtbl = {
    Cpc_QueryInterface, Cpc_AddRef, Cpc_Release, Cpc_EnumConnectionPoints, Cpc_FindConnectionPoint,
};

HRESULT WINAPI Cp_QueryInterface(IConnectionPoint* iface, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IConnectionPoint)) return E_NOINTERFACE;
  *ppv = iface;
  IConnectionPoint_AddRef(iface);
  return S_OK;
}
ULONG WINAPI Cp_AddRef(IConnectionPoint* iface) { return ControleAddRef(DonoDe(iface)); }
ULONG WINAPI Cp_Release(IConnectionPoint* iface) { return ControleRelease(DonoDe(iface)); }
HRESULT WINAPI Cp_GetConnectionInterface(IConnectionPoint* iface, IID* iid) {
  if (!iid) return E_POINTER;
  *iid = InterfaceDe(iface);
  return S_OK;
}
HRESULT WINAPI Cp_GetConnectionPointContainer(IConnectionPoint* iface, IConnectionPointContainer** cpc) {
  if (!cpc) return E_POINTER;
  *cpc = &DonoDe(iface)->IConnectionPointContainer_iface;
  IConnectionPointContainer_AddRef(*cpc);
  return S_OK;
}
HRESULT WINAPI Cp_Advise(IConnectionPoint* iface, IUnknown* sink, DWORD* cookie) {
  ConnectionPoint* p = impl_from_IConnectionPoint(iface);
  if (!sink || !cookie) return E_POINTER;
  *cookie = 0;
  // Event sinks are called through IDispatch, notify sinks through IPropertyNotifySink.
  const IID& pedido = EhDeEventos(iface) ? IID_IDispatch : IID_IPropertyNotifySink;
  IUnknown* interface_ = nullptr;
  if (FAILED(IUnknown_QueryInterface(sink, InterfaceDe(iface), reinterpret_cast<void**>(&interface_))) &&
      FAILED(IUnknown_QueryInterface(sink, pedido, reinterpret_cast<void**>(&interface_))))
    return CONNECT_E_CANNOTCONNECT;
  p->assinantes.emplace_back(p->proximo, interface_);
  *cookie = p->proximo++;
  return S_OK;
}
HRESULT WINAPI Cp_Unadvise(IConnectionPoint* iface, DWORD cookie) {
  ConnectionPoint* p = impl_from_IConnectionPoint(iface);
  for (auto it = p->assinantes.begin(); it != p->assinantes.end(); ++it) {
    if (it->first != cookie) continue;
    IUnknown* u = it->second;
    p->assinantes.erase(it);
    IUnknown_Release(u);
    return S_OK;
  }
  return CONNECT_E_NOCONNECTION;
}
HRESULT WINAPI Cp_EnumConnections(IConnectionPoint* iface, IEnumConnections** e) {
  if (!e) return E_POINTER;
  *e = nullptr;
  std::vector<CONNECTDATA> conexoes;
  for (const auto& a : impl_from_IConnectionPoint(iface)->assinantes) conexoes.push_back(CONNECTDATA{a.second, a.first});
  return CriaEnumeradorDeConexoes(conexoes, e);
}

// The events' point, then the notices'.
const IConnectionPointVtbl kCpVtbl[2] = {
    {Cp_QueryInterface, Cp_AddRef, Cp_Release, Cp_GetConnectionInterface, Cp_GetConnectionPointContainer, Cp_Advise,
     Cp_Unadvise, Cp_EnumConnections},
    {Cp_QueryInterface, Cp_AddRef, Cp_Release, Cp_GetConnectionInterface, Cp_GetConnectionPointContainer, Cp_Advise,
     Cp_Unadvise, Cp_EnumConnections},
};

// A copy of the sinks, each held for the call: a handler may unadvise while being called.
std::vector<IUnknown*> Copia(const ConnectionPoint& p) {
  std::vector<IUnknown*> r;
  for (const auto& a : p.assinantes) {
    IUnknown_AddRef(a.second);
    r.push_back(a.second);
  }
  return r;
}

}  // namespace

void IniciaConexoes(Control* c) {
  c->IConnectionPointContainer_iface.lpVtbl = const_cast<IConnectionPointContainerVtbl*>(&kCpcVtbl);
  c->eventos.IConnectionPoint_iface.lpVtbl = const_cast<IConnectionPointVtbl*>(&kCpVtbl[0]);
  c->avisos.IConnectionPoint_iface.lpVtbl = const_cast<IConnectionPointVtbl*>(&kCpVtbl[1]);
}

void EncerraConexoes(Control* c) {
  for (ConnectionPoint* p : {&c->eventos, &c->avisos}) {
    for (auto& a : p->assinantes) IUnknown_Release(a.second);
    p->assinantes.clear();
  }
}

Status ContainerWin32::PropertyChanged(std::u16string_view name) {
  const PropertyDescription* d = ProcuraPropriedade(name);
  if (!d) return Status(Status::kInvalidArgument);
  c_.sujo = true;  // a property changed since the last save
  // Without a window the container draws the field: it must learn that the look may differ.
  if (!c_.janela) NotificaVista(&c_);
  HRESULT hr = S_OK;
  for (IUnknown* u : Copia(c_.avisos)) {
    HRESULT r = IPropertyNotifySink_OnChanged(reinterpret_cast<IPropertyNotifySink*>(u), d->dispid);
    if (FAILED(r) && SUCCEEDED(hr)) hr = r;
    IUnknown_Release(u);
  }
  return Status(hr);
}

void ContainerWin32::Dispara(DISPID id, VARIANTARG* args, UINT n) {
  if (c_.congelado > 0) return;  // the container froze events
  DISPPARAMS params{args, nullptr, n, 0};
  for (IUnknown* u : Copia(c_.eventos)) {
    IDispatch* d = reinterpret_cast<IDispatch*>(u);
    IDispatch_Invoke(d, id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    IUnknown_Release(u);
  }
}

namespace {
VARIANTARG PorReferencia(int16_t& v) {
  VARIANTARG a;
  VariantInit(&a);
  V_VT(&a) = VT_I2 | VT_BYREF;
  V_I2REF(&a) = reinterpret_cast<SHORT*>(&v);
  return a;
}
VARIANTARG PorReferencia(float& v) {
  VARIANTARG a;
  VariantInit(&a);
  V_VT(&a) = VT_R4 | VT_BYREF;
  V_R4REF(&a) = &v;
  return a;
}
}  // namespace

// Arguments go in reverse order, as DISPPARAMS wants them.
void ContainerWin32::RaiseMouseMove(int16_t& button, int16_t& shift, float& x, float& y) {
  VARIANTARG a[4] = {PorReferencia(y), PorReferencia(x), PorReferencia(shift), PorReferencia(button)};
  Dispara(1, a, 4);
}
void ContainerWin32::RaiseChange() { Dispara(2, nullptr, 0); }
void ContainerWin32::RaiseKeyDown(int16_t& keyCode, int16_t& shift) {
  VARIANTARG a[2] = {PorReferencia(shift), PorReferencia(keyCode)};
  Dispara(3, a, 2);
}
void ContainerWin32::RaiseKeyPress(int16_t& keyAscii) {
  VARIANTARG a[1] = {PorReferencia(keyAscii)};
  Dispara(4, a, 1);
}
void ContainerWin32::RaiseTeclaEnter() { Dispara(5, nullptr, 0); }

}  // namespace delvorin::ocx
