// IEnumConnectionPoints and IEnumConnections over a copy taken when the enumerator is made:
// both have the same shape (Next, Skip, Reset, Clone), so one template serves the two.
#include "ocx/Enumerators.h"

#include <new>

namespace delvorin::ocx {
namespace {

IUnknown* Unknown(IConnectionPoint* p) { return reinterpret_cast<IUnknown*>(p); }
IUnknown* Unknown(const CONNECTDATA& c) { return c.pUnk; }

template <typename Interface, typename Vtbl, typename Item>
struct Enumerator {
  Interface iface;
  LONG ref = 1;
  std::vector<Item> items;
  size_t pos = 0;
  const IID* iid;

  Enumerator(const Vtbl* vtbl, const IID& i, const std::vector<Item>& v) : items(v), iid(&i) {
    iface.lpVtbl = const_cast<Vtbl*>(vtbl);
    for (const Item& x : items) IUnknown_AddRef(Unknown(x));
  }
  ~Enumerator() {
    for (const Item& x : items) IUnknown_Release(Unknown(x));
  }
  static Enumerator* From(Interface* i) { return CONTAINING_RECORD(i, Enumerator, iface); }

  static HRESULT WINAPI QueryInterface(Interface* i, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, *From(i)->iid)) return E_NOINTERFACE;
    *ppv = i;
    AddRef(i);
    return S_OK;
  }
  static ULONG WINAPI AddRef(Interface* i) { return InterlockedIncrement(&From(i)->ref); }
  static ULONG WINAPI Release(Interface* i) {
    Enumerator* e = From(i);
    LONG r = InterlockedDecrement(&e->ref);
    if (r == 0) delete e;
    return static_cast<ULONG>(r);
  }
  static HRESULT WINAPI Next(Interface* i, ULONG n, Item* out, ULONG* fetched) {
    Enumerator* e = From(i);
    if (!out || (n != 1 && !fetched)) return E_POINTER;
    ULONG k = 0;
    for (; k < n && e->pos < e->items.size(); ++k, ++e->pos) {
      out[k] = e->items[e->pos];
      IUnknown_AddRef(Unknown(out[k]));
    }
    if (fetched) *fetched = k;
    return k == n ? S_OK : S_FALSE;
  }
  static HRESULT WINAPI Skip(Interface* i, ULONG n) {
    Enumerator* e = From(i);
    const size_t remaining = e->items.size() - e->pos;
    e->pos += n < remaining ? n : remaining;
    return n <= remaining ? S_OK : S_FALSE;
  }
  static HRESULT WINAPI Reset(Interface* i) {
    From(i)->pos = 0;
    return S_OK;
  }
  static HRESULT WINAPI Clone(Interface* i, Interface** copy) {
    if (!copy) return E_POINTER;
    Enumerator* e = From(i);
    auto* c = new (std::nothrow) Enumerator(reinterpret_cast<const Vtbl*>(e->iface.lpVtbl), *e->iid, e->items);
    *copy = c ? &c->iface : nullptr;
    if (!c) return E_OUTOFMEMORY;
    c->pos = e->pos;
    return S_OK;
  }
  static constexpr Vtbl kVtbl = {QueryInterface, AddRef, Release, Next, Skip, Reset, Clone};

  static HRESULT Create(const IID& iid, const std::vector<Item>& v, Interface** out) {
    if (!out) return E_POINTER;
    auto* e = new (std::nothrow) Enumerator(&kVtbl, iid, v);
    *out = e ? &e->iface : nullptr;
    return e ? S_OK : E_OUTOFMEMORY;
  }
};

}  // namespace

HRESULT CreatePointEnumerator(const std::vector<IConnectionPoint*>& points, IEnumConnectionPoints** e) {
  return Enumerator<IEnumConnectionPoints, IEnumConnectionPointsVtbl, IConnectionPoint*>::Create(IID_IEnumConnectionPoints,
                                                                                             points, e);
}

HRESULT CreateConnectionEnumerator(const std::vector<CONNECTDATA>& connections, IEnumConnections** e) {
  return Enumerator<IEnumConnections, IEnumConnectionsVtbl, CONNECTDATA>::Create(IID_IEnumConnections, connections, e);
}

}  // namespace delvorin::ocx
