// Design-time support: the property pages the control offers (its own Geral and Sobre with the
// platform's standard colour, font and picture pages), the properties that open Geral from the
// host's property browser, and the value lists of Tipo and UF there.
#include "ocx/Control.h"
#include "ocx/Identifiers.h"

#include <string>

namespace delvorin::ocx {
namespace {

Control* impl_from_ISpecifyPropertyPages(ISpecifyPropertyPages* i) {
  return CONTAINING_RECORD(i, Control, ISpecifyPropertyPages_iface);
}
Control* impl_from_IPerPropertyBrowsing(IPerPropertyBrowsing* i) {
  return CONTAINING_RECORD(i, Control, IPerPropertyBrowsing_iface);
}

BSTR Bstr(std::u16string_view s) {
  return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(s.data()), static_cast<UINT>(s.size()));
}

// The platform's standard pages, as VB names them StandardColor, StandardFont, StandardPicture.
constexpr GUID kStandardColorPage = {0x0be35201, 0x8f91, 0x11ce, {0x9d, 0xe3, 0x00, 0xaa, 0x00, 0x4b, 0xb8, 0x51}};
constexpr GUID kStandardFontPage = {0x0be35200, 0x8f91, 0x11ce, {0x9d, 0xe3, 0x00, 0xaa, 0x00, 0x4b, 0xb8, 0x51}};
constexpr GUID kStandardPicturePage = {0x0be35202, 0x8f91, 0x11ce, {0x9d, 0xe3, 0x00, 0xaa, 0x00, 0x4b, 0xb8, 0x51}};

HRESULT WINAPI Spp_QueryInterface(ISpecifyPropertyPages* i, REFIID r, void** p) { return ControlQI(impl_from_ISpecifyPropertyPages(i), r, p); }
ULONG WINAPI Spp_AddRef(ISpecifyPropertyPages* i) { return ControlAddRef(impl_from_ISpecifyPropertyPages(i)); }
ULONG WINAPI Spp_Release(ISpecifyPropertyPages* i) { return ControlRelease(impl_from_ISpecifyPropertyPages(i)); }
HRESULT WINAPI Spp_GetPages(ISpecifyPropertyPages*, CAUUID* pages) {
  if (!pages) return E_POINTER;
  // The control's page list without its "Ajustes" entry, which no page of this server serves.
  static constexpr const GUID* kPages[] = {&kClsidGeral, &kStandardColorPage, &kStandardFontPage, &kClsidSobre, &kStandardPicturePage};
  pages->cElems = 0;
  pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(kPages) / sizeof(kPages[0]) * sizeof(GUID)));
  if (!pages->pElems) return E_OUTOFMEMORY;
  for (const GUID* g : kPages) pages->pElems[pages->cElems++] = *g;
  return S_OK;
}
const ISpecifyPropertyPagesVtbl kSppVtbl = {Spp_QueryInterface, Spp_AddRef, Spp_Release, OwnThread<Spp_GetPages>};

HRESULT WINAPI Ppb_QueryInterface(IPerPropertyBrowsing* i, REFIID r, void** p) { return ControlQI(impl_from_IPerPropertyBrowsing(i), r, p); }
ULONG WINAPI Ppb_AddRef(IPerPropertyBrowsing* i) { return ControlAddRef(impl_from_IPerPropertyBrowsing(i)); }
ULONG WINAPI Ppb_Release(IPerPropertyBrowsing* i) { return ControlRelease(impl_from_IPerPropertyBrowsing(i)); }
const int32_t kTipoDispid = DescriptionOf(Property::Tipo).dispid;
const int32_t kUfDispid = DescriptionOf(Property::UF).dispid;

// The value lists the browser offers: Tipo's labels, whose values are the types; UF's empty
// entry and the 27 states, each its own value. Other properties have none.
size_t ListSize(DISPID id) { return id == kTipoDispid ? kTipoLabels.size() : id == kUfDispid ? kUfs.size() + 1 : 0; }
std::u16string_view ListLabel(DISPID id, size_t k) { return id == kTipoDispid ? kTipoLabels[k] : k == 0 ? u"" : kUfs[k - 1]; }
HRESULT WINAPI Ppb_GetDisplayString(IPerPropertyBrowsing* i, DISPID id, BSTR* text) {
  if (!text) return E_POINTER;
  *text = nullptr;
  const uint8_t type = impl_from_IPerPropertyBrowsing(i)->engine.Tipo();
  if (id != kTipoDispid || type >= kTipoLabels.size()) return S_FALSE;  // the browser shows the value
  *text = Bstr(kTipoLabels[type]);
  return *text ? S_OK : E_OUTOFMEMORY;
}
// The properties marked to open Geral open it; the others have no page of their own.
HRESULT WINAPI Ppb_MapPropertyToPage(IPerPropertyBrowsing*, DISPID id, CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = CLSID_NULL;
  for (const PropertyDescription& d : kProperties) {
    if (d.dispid != id) continue;
    if (!d.opensGeral) break;
    *clsid = kClsidGeral;
    return S_OK;
  }
  return PERPROP_E_NOPAGEAVAILABLE;
}
HRESULT WINAPI Ppb_GetPredefinedStrings(IPerPropertyBrowsing*, DISPID id, CALPOLESTR* labels, CADWORD* cookies) {
  if (!labels || !cookies) return E_POINTER;
  labels->cElems = cookies->cElems = 0;
  labels->pElems = nullptr;
  cookies->pElems = nullptr;
  const ULONG n = static_cast<ULONG>(ListSize(id));
  if (n == 0) return E_NOTIMPL;
  labels->pElems = static_cast<LPOLESTR*>(CoTaskMemAlloc(sizeof(LPOLESTR) * n));
  cookies->pElems = static_cast<DWORD*>(CoTaskMemAlloc(sizeof(DWORD) * n));
  if (!labels->pElems || !cookies->pElems) {
    CoTaskMemFree(labels->pElems);
    CoTaskMemFree(cookies->pElems);
    labels->pElems = nullptr;
    cookies->pElems = nullptr;
    return E_OUTOFMEMORY;
  }
  for (ULONG k = 0; k < n; ++k) {
    std::u16string_view r = ListLabel(id, k);
    auto* s = static_cast<LPOLESTR>(CoTaskMemAlloc((r.size() + 1) * sizeof(OLECHAR)));
    if (s) {
      for (size_t j = 0; j < r.size(); ++j) s[j] = static_cast<OLECHAR>(r[j]);
      s[r.size()] = 0;
    }
    labels->pElems[k] = s;
    cookies->pElems[k] = k;
  }
  labels->cElems = cookies->cElems = n;
  return S_OK;
}
HRESULT WINAPI Ppb_GetPredefinedValue(IPerPropertyBrowsing*, DISPID id, DWORD cookie, VARIANT* value) {
  if (!value) return E_POINTER;
  VariantInit(value);
  const size_t n = ListSize(id);
  if (n == 0) return E_NOTIMPL;
  if (cookie >= n) return E_INVALIDARG;
  if (id == kUfDispid) {
    V_BSTR(value) = Bstr(ListLabel(id, cookie));
    if (!V_BSTR(value)) return E_OUTOFMEMORY;
    V_VT(value) = VT_BSTR;
    return S_OK;
  }
  V_VT(value) = VT_UI1;
  V_UI1(value) = static_cast<BYTE>(cookie);
  return S_OK;
}
const IPerPropertyBrowsingVtbl kPpbVtbl = {
    Ppb_QueryInterface, Ppb_AddRef, Ppb_Release, OwnThread<Ppb_GetDisplayString>, OwnThread<Ppb_MapPropertyToPage>,
    OwnThread<Ppb_GetPredefinedStrings>, OwnThread<Ppb_GetPredefinedValue>,
};

}  // namespace

void InitPropertyPages(Control* c) {
  c->ISpecifyPropertyPages_iface.lpVtbl = const_cast<ISpecifyPropertyPagesVtbl*>(&kSppVtbl);
  c->IPerPropertyBrowsing_iface.lpVtbl = const_cast<IPerPropertyBrowsingVtbl*>(&kPpbVtbl);
}

HRESULT ShowPropertyPages(Control* c, HWND parent) {
  CAUUID pages{0, nullptr};
  HRESULT hr = Spp_GetPages(&c->ISpecifyPropertyPages_iface, &pages);
  if (FAILED(hr)) return hr;
  // Only pages this system can create: a frame without any page is not worth showing (and
  // some platforms lack the standard ones).
  ULONG n = 0;
  for (ULONG k = 0; k < pages.cElems; ++k) {
    IClassFactory* factory = nullptr;
    if (FAILED(CoGetClassObject(pages.pElems[k], CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                reinterpret_cast<void**>(&factory))))
      continue;
    IClassFactory_Release(factory);
    pages.pElems[n++] = pages.pElems[k];
  }
  pages.cElems = n;
  if (n == 0) {
    CoTaskMemFree(pages.pElems);
    return OLEOBJ_E_NOVERBS;
  }
  IUnknown* object = reinterpret_cast<IUnknown*>(&c->_Delvorin12_iface);
  hr = OleCreatePropertyFrame(parent, 0, 0, L"Delvorin", 1, &object, pages.cElems, pages.pElems, LOCALE_USER_DEFAULT, 0,
                              nullptr);
  CoTaskMemFree(pages.pElems);
  return hr;
}

void* PropertyPagesInterface(Control* c, REFIID riid) {
  if (IsEqualIID(riid, IID_ISpecifyPropertyPages)) return &c->ISpecifyPropertyPages_iface;
  if (IsEqualIID(riid, IID_IPerPropertyBrowsing)) return &c->IPerPropertyBrowsing_iface;
  return nullptr;
}

}  // namespace delvorin::ocx
