// The dual interfaces _Delvorin (1.0) and _Delvorin11 (1.1) in one vtable: 1.0's slots first,
// in its order, then the properties added in 1.1. IDispatch goes through _Delvorin11's type
// information, whose dispatch ids are 1.0's plus the new ones. One get/put pair per property
// (made from a template per automation type) hands the value to the engine by its table entry.
#include <cstddef>

#include "ocx/Control.h"
#include "ocx/Identifiers.h"

namespace delvorin::ocx {

HRESULT WINAPI Delvorin_QueryInterface(_Delvorin11* iface, REFIID riid, void** ppv);
ULONG WINAPI Delvorin_AddRef(_Delvorin11* iface);
ULONG WINAPI Delvorin_Release(_Delvorin11* iface);

namespace {

Control* impl_from__Delvorin11(_Delvorin11* iface) { return CONTAINING_RECORD(iface, Control, _Delvorin11_iface); }

HRESULT Le(_Delvorin11* iface, Property p, Variant& v) {
  Status s = impl_from__Delvorin11(iface)->controle.Get(p, v);
  return s.ok() ? S_OK : Erro(s);
}

HRESULT Escreve(_Delvorin11* iface, Property p, const Variant& v) {
  Status s = impl_from__Delvorin11(iface)->controle.Put(p, v);
  return s.ok() ? S_OK : Erro(s);
}

// The OLE object behind a font or picture property, as the interface asked for.
HRESULT LeObjeto(_Delvorin11* iface, Property p, REFIID iid, void** saida) {
  if (!saida) return E_POINTER;
  *saida = nullptr;
  Variant v;
  HRESULT hr = Le(iface, p, v);
  if (FAILED(hr)) return hr;
  if (v.type() != VarType::Object || !v.object()) {
    if (p != Property::Font) return S_OK;  // no picture
    v = Variant::Object(impl_from__Delvorin11(iface)->hospedeiro.AmbientFont());
    if (!v.object()) return E_OUTOFMEMORY;
    Escreve(iface, p, v);
  }
  auto* o = dynamic_cast<ComObject*>(v.object().get());
  return o ? IUnknown_QueryInterface(o->unknown(), iid, saida) : E_UNEXPECTED;
}

HRESULT EscreveObjeto(_Delvorin11* iface, Property p, IUnknown* u) {
  return Escreve(iface, p, Variant::Object(u ? std::make_shared<ComObject>(u) : nullptr));
}

HRESULT WINAPI GetTypeInfoCount(_Delvorin11*, UINT* n) {
  if (!n) return E_POINTER;
  *n = 1;
  return S_OK;
}

HRESULT WINAPI GetTypeInfo(_Delvorin11* iface, UINT indice, LCID, ITypeInfo** ti) {
  if (!ti) return E_POINTER;
  *ti = nullptr;
  if (indice != 0) return DISP_E_BADINDEX;
  *ti = impl_from__Delvorin11(iface)->tipoInterface;
  ITypeInfo_AddRef(*ti);
  return S_OK;
}

HRESULT WINAPI GetIDsOfNames(_Delvorin11* iface, REFIID, LPOLESTR* nomes, UINT n, LCID, DISPID* ids) {
  return ITypeInfo_GetIDsOfNames(impl_from__Delvorin11(iface)->tipoInterface, nomes, n, ids);
}

HRESULT WINAPI Invoke(_Delvorin11* iface, DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* resultado,
                      EXCEPINFO* excecao, UINT* argErro) {
  Control* c = impl_from__Delvorin11(iface);
  return ITypeInfo_Invoke(c->tipoInterface, &c->_Delvorin11_iface, id, flags, params, resultado, excecao, argErro);
}

// The automation types of the properties and how each becomes the engine's value.
short DeI2(const Variant& v) { return static_cast<short>(v.i2()); }
Variant ParaI2(short v) { return Variant::I2(v); }
VARIANT_BOOL DeBooleano(const Variant& v) { return static_cast<VARIANT_BOOL>(v.boolean()); }
Variant ParaBooleano(VARIANT_BOOL v) { return Variant::Boolean(static_cast<int16_t>(v)); }
OLE_COLOR DeCor(const Variant& v) { return static_cast<OLE_COLOR>(v.i4()); }
Variant ParaCor(OLE_COLOR v) { return Variant::I4(static_cast<int32_t>(v)); }
LONG DeI4(const Variant& v) { return static_cast<LONG>(v.i4()); }
Variant ParaI4(LONG v) { return Variant::I4(v); }
unsigned char DeUI1(const Variant& v) { return static_cast<unsigned char>(v.ui1()); }
Variant ParaUI1(unsigned char v) { return Variant::UI1(v); }

// The get/put pair of a property of a plain type: one vtable slot each.
template <Property P, typename T, T (*De)(const Variant&), Variant (*Para)(T)>
struct Scalar {
  static HRESULT WINAPI get(_Delvorin11* iface, T* saida) {
    if (!saida) return E_POINTER;
    Variant v;
    HRESULT hr = Le(iface, P, v);
    if (SUCCEEDED(hr)) *saida = De(v);
    return hr;
  }
  static HRESULT WINAPI put(_Delvorin11* iface, T v) { return Escreve(iface, P, Para(v)); }
};
template <Property P> using I2 = Scalar<P, short, DeI2, ParaI2>;
template <Property P> using Booleano = Scalar<P, VARIANT_BOOL, DeBooleano, ParaBooleano>;
template <Property P> using Cor = Scalar<P, OLE_COLOR, DeCor, ParaCor>;
template <Property P> using I4 = Scalar<P, LONG, DeI4, ParaI4>;
template <Property P> using UI1 = Scalar<P, unsigned char, DeUI1, ParaUI1>;

// A text property: BSTR in and out (a null BSTR is the empty text).
template <Property P>
struct TextProperty {
  static HRESULT WINAPI get(_Delvorin11* iface, BSTR* saida) {
    if (!saida) return E_POINTER;
    *saida = nullptr;
    Variant v;
    HRESULT hr = Le(iface, P, v);
    if (FAILED(hr)) return hr;
    *saida = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(v.str().data()), static_cast<UINT>(v.str().size()));
    return *saida ? S_OK : E_OUTOFMEMORY;
  }
  static HRESULT WINAPI put(_Delvorin11* iface, BSTR v) {
    return Escreve(iface, P, Variant::Str(std::u16string(reinterpret_cast<const char16_t*>(v ? v : L""), v ? SysStringLen(v) : 0)));
  }
};

// A font or picture property, handed out as the interface I (iid).
template <Property P, typename I, const IID& iid>
struct ObjectProperty {
  static HRESULT WINAPI get(_Delvorin11* iface, I** saida) { return LeObjeto(iface, P, iid, reinterpret_cast<void**>(saida)); }
  static HRESULT WINAPI putref(_Delvorin11* iface, I* v) { return EscreveObjeto(iface, P, reinterpret_cast<IUnknown*>(v)); }
};
using FontProperty = ObjectProperty<Property::Font, IFontDisp, IID_IFontDisp>;
using IconProperty = ObjectProperty<Property::MouseIcon, IPictureDisp, IID_IPictureDisp>;

HRESULT WINAPI Atualiza(_Delvorin11* iface, IDispatch** saida) {
  if (!saida) return E_POINTER;
  (void)impl_from__Delvorin11(iface)->controle.Atualiza();
  *saida = nullptr;  // always an empty reference
  return S_OK;
}

const _Delvorin11Vtbl kVtbl = {
    Delvorin_QueryInterface, Delvorin_AddRef, Delvorin_Release, GetTypeInfoCount, GetTypeInfo, GetIDsOfNames, Invoke,
    I2<Property::Alignment>::get, I2<Property::Alignment>::put,
    Cor<Property::BackColor>::get, Cor<Property::BackColor>::put,
    I2<Property::BorderStyle>::get, I2<Property::BorderStyle>::put,
    Booleano<Property::Enabled>::get, Booleano<Property::Enabled>::put,
    FontProperty::get, FontProperty::putref,
    Cor<Property::ForeColor>::get, Cor<Property::ForeColor>::put,
    Booleano<Property::Locked>::get, Booleano<Property::Locked>::put,
    I4<Property::MaxLength>::get, I4<Property::MaxLength>::put,
    TextProperty<Property::Text>::get, TextProperty<Property::Text>::put,
    I2<Property::Appearance>::get, I2<Property::Appearance>::put,
    UI1<Property::Tipo>::get, UI1<Property::Tipo>::put,
    Booleano<Property::Negativo>::get, Booleano<Property::Negativo>::put,
    Booleano<Property::TravaCpf>::get, Booleano<Property::TravaCpf>::put,
    UI1<Property::Digitos>::get, UI1<Property::Digitos>::put,
    Booleano<Property::MSGcpf>::get, Booleano<Property::MSGcpf>::put,
    TextProperty<Property::PasswordChar>::get, TextProperty<Property::PasswordChar>::put,
    IconProperty::get, IconProperty::putref,
    I2<Property::MousePointer>::get, I2<Property::MousePointer>::put,
    Booleano<Property::Aspas>::get, Booleano<Property::Aspas>::put,
    Booleano<Property::TC_Trim>::get, Booleano<Property::TC_Trim>::put,
    Booleano<Property::Usar_Enter>::get, Booleano<Property::Usar_Enter>::put,
    Booleano<Property::usar_parenteses>::get, Booleano<Property::usar_parenteses>::put,
    Atualiza,
    // 1.1
    Booleano<Property::CnpjAlfanumerico>::get, Booleano<Property::CnpjAlfanumerico>::put,
};

// A client of _Delvorin reads the slots it knows from the same vtable.
static_assert(offsetof(_Delvorin11Vtbl, get_Alignment) == offsetof(_DelvorinVtbl, get_Alignment));
static_assert(offsetof(_Delvorin11Vtbl, get_Text) == offsetof(_DelvorinVtbl, get_Text));
static_assert(offsetof(_Delvorin11Vtbl, putref_MouseIcon) == offsetof(_DelvorinVtbl, putref_MouseIcon));
static_assert(offsetof(_Delvorin11Vtbl, Atualiza) == offsetof(_DelvorinVtbl, Atualiza));
static_assert(offsetof(_Delvorin11Vtbl, get_CnpjAlfanumerico) == sizeof(_DelvorinVtbl));

// ISupportErrorInfo: vtable-bound clients (VB, C++) read the description of a failure only
// when the interface says it sets error information.
Control* impl_from_ISupportErrorInfo(ISupportErrorInfo* i) { return CONTAINING_RECORD(i, Control, ISupportErrorInfo_iface); }
HRESULT WINAPI Sei_QueryInterface(ISupportErrorInfo* i, REFIID r, void** p) {
  return Delvorin_QueryInterface(&impl_from_ISupportErrorInfo(i)->_Delvorin11_iface, r, p);
}
ULONG WINAPI Sei_AddRef(ISupportErrorInfo* i) { return Delvorin_AddRef(&impl_from_ISupportErrorInfo(i)->_Delvorin11_iface); }
ULONG WINAPI Sei_Release(ISupportErrorInfo* i) { return Delvorin_Release(&impl_from_ISupportErrorInfo(i)->_Delvorin11_iface); }
HRESULT WINAPI Sei_InterfaceSupportsErrorInfo(ISupportErrorInfo*, REFIID riid) {
  const bool nossa = IsEqualIID(riid, kIid_Delvorin11) || IsEqualIID(riid, kIid_Delvorin) || IsEqualIID(riid, IID_IDispatch);
  return nossa ? S_OK : S_FALSE;
}
const ISupportErrorInfoVtbl kSeiVtbl = {Sei_QueryInterface, Sei_AddRef, Sei_Release, Sei_InterfaceSupportsErrorInfo};

}  // namespace

void IniciaAutomacao(Control* c) {
  c->_Delvorin11_iface.lpVtbl = const_cast<_Delvorin11Vtbl*>(&kVtbl);
  c->ISupportErrorInfo_iface.lpVtbl = const_cast<ISupportErrorInfoVtbl*>(&kSeiVtbl);
}

}  // namespace delvorin::ocx
