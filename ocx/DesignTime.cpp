// Design-time support: the property pages the control offers (its own Geral and Sobre with the
// platform's standard colour, font and picture pages), the properties that open Geral from the
// host's property browser, and the value list of Tipo there.
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
constexpr GUID kPaginaCor = {0x0be35201, 0x8f91, 0x11ce, {0x9d, 0xe3, 0x00, 0xaa, 0x00, 0x4b, 0xb8, 0x51}};
constexpr GUID kPaginaFonte = {0x0be35200, 0x8f91, 0x11ce, {0x9d, 0xe3, 0x00, 0xaa, 0x00, 0x4b, 0xb8, 0x51}};
constexpr GUID kPaginaFigura = {0x0be35202, 0x8f91, 0x11ce, {0x9d, 0xe3, 0x00, 0xaa, 0x00, 0x4b, 0xb8, 0x51}};

HRESULT WINAPI Spp_QueryInterface(ISpecifyPropertyPages* i, REFIID r, void** p) { return ControleQI(impl_from_ISpecifyPropertyPages(i), r, p); }
ULONG WINAPI Spp_AddRef(ISpecifyPropertyPages* i) { return ControleAddRef(impl_from_ISpecifyPropertyPages(i)); }
ULONG WINAPI Spp_Release(ISpecifyPropertyPages* i) { return ControleRelease(impl_from_ISpecifyPropertyPages(i)); }
HRESULT WINAPI Spp_GetPages(ISpecifyPropertyPages*, CAUUID* paginas) {
  if (!paginas) return E_POINTER;
  // The control's page list without its "Ajustes" entry, which no page of this server serves.
  static constexpr const GUID* kPaginas[] = {&kClsidGeral, &kPaginaCor, &kPaginaFonte, &kClsidSobre, &kPaginaFigura};
  paginas->cElems = 0;
  paginas->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(kPaginas) / sizeof(kPaginas[0]) * sizeof(GUID)));
  if (!paginas->pElems) return E_OUTOFMEMORY;
  for (const GUID* g : kPaginas) paginas->pElems[paginas->cElems++] = *g;
  return S_OK;
}
const ISpecifyPropertyPagesVtbl kSppVtbl = {Spp_QueryInterface, Spp_AddRef, Spp_Release, Spp_GetPages};

HRESULT WINAPI Ppb_QueryInterface(IPerPropertyBrowsing* i, REFIID r, void** p) { return ControleQI(impl_from_IPerPropertyBrowsing(i), r, p); }
ULONG WINAPI Ppb_AddRef(IPerPropertyBrowsing* i) { return ControleAddRef(impl_from_IPerPropertyBrowsing(i)); }
ULONG WINAPI Ppb_Release(IPerPropertyBrowsing* i) { return ControleRelease(impl_from_IPerPropertyBrowsing(i)); }
const int32_t kDispidTipo = Descricao(Property::Tipo).dispid;
HRESULT WINAPI Ppb_GetDisplayString(IPerPropertyBrowsing* i, DISPID id, BSTR* texto) {
  if (!texto) return E_POINTER;
  *texto = nullptr;
  const uint8_t tipo = impl_from_IPerPropertyBrowsing(i)->controle.Tipo();
  if (id != kDispidTipo || tipo >= kRotulosTipo.size()) return S_FALSE;  // the browser shows the value
  *texto = Bstr(kRotulosTipo[tipo]);
  return *texto ? S_OK : E_OUTOFMEMORY;
}
// The properties marked to open Geral open it; the others have no page of their own.
HRESULT WINAPI Ppb_MapPropertyToPage(IPerPropertyBrowsing*, DISPID id, CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = CLSID_NULL;
  for (const PropertyDescription& d : kProperties) {
    if (d.dispid != id) continue;
    if (!d.abreGeral) break;
    *clsid = kClsidGeral;
    return S_OK;
  }
  return PERPROP_E_NOPAGEAVAILABLE;
}
HRESULT WINAPI Ppb_GetPredefinedStrings(IPerPropertyBrowsing*, DISPID id, CALPOLESTR* textos, CADWORD* cookies) {
  if (!textos || !cookies) return E_POINTER;
  textos->cElems = cookies->cElems = 0;
  textos->pElems = nullptr;
  cookies->pElems = nullptr;
  if (id != kDispidTipo) return E_NOTIMPL;
  const ULONG n = static_cast<ULONG>(kRotulosTipo.size());
  textos->pElems = static_cast<LPOLESTR*>(CoTaskMemAlloc(sizeof(LPOLESTR) * n));
  cookies->pElems = static_cast<DWORD*>(CoTaskMemAlloc(sizeof(DWORD) * n));
  if (!textos->pElems || !cookies->pElems) {
    CoTaskMemFree(textos->pElems);
    CoTaskMemFree(cookies->pElems);
    textos->pElems = nullptr;
    cookies->pElems = nullptr;
    return E_OUTOFMEMORY;
  }
  for (ULONG k = 0; k < n; ++k) {
    std::u16string_view r = kRotulosTipo[k];
    auto* s = static_cast<LPOLESTR>(CoTaskMemAlloc((r.size() + 1) * sizeof(OLECHAR)));
    if (s) {
      for (size_t j = 0; j < r.size(); ++j) s[j] = static_cast<OLECHAR>(r[j]);
      s[r.size()] = 0;
    }
    textos->pElems[k] = s;
    cookies->pElems[k] = k;
  }
  textos->cElems = cookies->cElems = n;
  return S_OK;
}
HRESULT WINAPI Ppb_GetPredefinedValue(IPerPropertyBrowsing*, DISPID id, DWORD cookie, VARIANT* valor) {
  if (!valor) return E_POINTER;
  VariantInit(valor);
  if (id != kDispidTipo) return E_NOTIMPL;
  if (cookie >= kRotulosTipo.size()) return E_INVALIDARG;
  V_VT(valor) = VT_UI1;
  V_UI1(valor) = static_cast<BYTE>(cookie);
  return S_OK;
}
const IPerPropertyBrowsingVtbl kPpbVtbl = {
    Ppb_QueryInterface, Ppb_AddRef, Ppb_Release, Ppb_GetDisplayString, Ppb_MapPropertyToPage,
    Ppb_GetPredefinedStrings, Ppb_GetPredefinedValue,
};

}  // namespace

void IniciaPaginas(Control* c) {
  c->ISpecifyPropertyPages_iface.lpVtbl = const_cast<ISpecifyPropertyPagesVtbl*>(&kSppVtbl);
  c->IPerPropertyBrowsing_iface.lpVtbl = const_cast<IPerPropertyBrowsingVtbl*>(&kPpbVtbl);
}

HRESULT MostraPaginas(Control* c, HWND pai) {
  CAUUID paginas{0, nullptr};
  HRESULT hr = Spp_GetPages(&c->ISpecifyPropertyPages_iface, &paginas);
  if (FAILED(hr)) return hr;
  // Only pages this system can create: a frame without any page is not worth showing (and
  // some platforms lack the standard ones).
  ULONG n = 0;
  for (ULONG k = 0; k < paginas.cElems; ++k) {
    IClassFactory* fabrica = nullptr;
    if (FAILED(CoGetClassObject(paginas.pElems[k], CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                reinterpret_cast<void**>(&fabrica))))
      continue;
    IClassFactory_Release(fabrica);
    paginas.pElems[n++] = paginas.pElems[k];
  }
  paginas.cElems = n;
  if (n == 0) {
    CoTaskMemFree(paginas.pElems);
    return OLEOBJ_E_NOVERBS;
  }
  IUnknown* objeto = reinterpret_cast<IUnknown*>(&c->_Delvorin11_iface);
  hr = OleCreatePropertyFrame(pai, 0, 0, L"Delvorin", 1, &objeto, paginas.cElems, paginas.pElems, LOCALE_USER_DEFAULT, 0,
                              nullptr);
  CoTaskMemFree(paginas.pElems);
  return hr;
}

void* InterfacePaginas(Control* c, REFIID riid) {
  if (IsEqualIID(riid, IID_ISpecifyPropertyPages)) return &c->ISpecifyPropertyPages_iface;
  if (IsEqualIID(riid, IID_IPerPropertyBrowsing)) return &c->IPerPropertyBrowsing_iface;
  return nullptr;
}

}  // namespace delvorin::ocx
