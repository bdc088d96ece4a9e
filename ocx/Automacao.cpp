// The dual interface _Delvorin: IDispatch through the type library, and one get/put pair per
// property that hands the value to the engine by its table entry.
#include "ocx/Controle.h"
#include "ocx/Identificadores.h"

namespace delvorin::ocx {

HRESULT WINAPI Delvorin_QueryInterface(_Delvorin* iface, REFIID riid, void** ppv);
ULONG WINAPI Delvorin_AddRef(_Delvorin* iface);
ULONG WINAPI Delvorin_Release(_Delvorin* iface);

namespace {

Controle* impl_from__Delvorin(_Delvorin* iface) { return CONTAINING_RECORD(iface, Controle, _Delvorin_iface); }

HRESULT Le(_Delvorin* iface, Propriedade p, Variant& v) {
  Status s = impl_from__Delvorin(iface)->controle.Get(p, v);
  return s.ok() ? S_OK : Erro(s);
}

HRESULT Escreve(_Delvorin* iface, Propriedade p, const Variant& v) {
  Status s = impl_from__Delvorin(iface)->controle.Put(p, v);
  return s.ok() ? S_OK : Erro(s);
}

// The OLE object behind a font or picture property, as the interface asked for.
HRESULT LeObjeto(_Delvorin* iface, Propriedade p, REFIID iid, void** saida) {
  if (!saida) return E_POINTER;
  *saida = nullptr;
  Variant v;
  HRESULT hr = Le(iface, p, v);
  if (FAILED(hr)) return hr;
  if (v.type() != VarType::Object || !v.object()) {
    if (p != Propriedade::Font) return S_OK;  // no picture
    v = Variant::Object(impl_from__Delvorin(iface)->hospedeiro.AmbientFont());
    if (!v.object()) return E_OUTOFMEMORY;
    Escreve(iface, p, v);
  }
  auto* o = dynamic_cast<ObjetoCom*>(v.object().get());
  return o ? IUnknown_QueryInterface(o->unknown(), iid, saida) : E_UNEXPECTED;
}

HRESULT EscreveObjeto(_Delvorin* iface, Propriedade p, IUnknown* u) {
  return Escreve(iface, p, Variant::Object(u ? std::make_shared<ObjetoCom>(u) : nullptr));
}

HRESULT WINAPI GetTypeInfoCount(_Delvorin*, UINT* n) {
  if (!n) return E_POINTER;
  *n = 1;
  return S_OK;
}

HRESULT WINAPI GetTypeInfo(_Delvorin* iface, UINT indice, LCID, ITypeInfo** ti) {
  if (!ti) return E_POINTER;
  *ti = nullptr;
  if (indice != 0) return DISP_E_BADINDEX;
  *ti = impl_from__Delvorin(iface)->tipoInterface;
  ITypeInfo_AddRef(*ti);
  return S_OK;
}

HRESULT WINAPI GetIDsOfNames(_Delvorin* iface, REFIID, LPOLESTR* nomes, UINT n, LCID, DISPID* ids) {
  return ITypeInfo_GetIDsOfNames(impl_from__Delvorin(iface)->tipoInterface, nomes, n, ids);
}

HRESULT WINAPI Invoke(_Delvorin* iface, DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* resultado,
                      EXCEPINFO* excecao, UINT* argErro) {
  Controle* c = impl_from__Delvorin(iface);
  return ITypeInfo_Invoke(c->tipoInterface, &c->_Delvorin_iface, id, flags, params, resultado, excecao, argErro);
}

HRESULT WINAPI get_Alignment(_Delvorin* iface, short* saida) {
  if (!saida) return E_POINTER;
  Variant v;
  HRESULT hr = Le(iface, Propriedade::Alignment, v);
  if (SUCCEEDED(hr)) *saida = static_cast<short>(v.i2());
  return hr;
}
HRESULT WINAPI put_Alignment(_Delvorin* iface, short v) { return Escreve(iface, Propriedade::Alignment, Variant::I2(v)); }

HRESULT WINAPI get_BackColor(_Delvorin* iface, OLE_COLOR* saida) {
  if (!saida) return E_POINTER;
  Variant v;
  HRESULT hr = Le(iface, Propriedade::BackColor, v);
  if (SUCCEEDED(hr)) *saida = static_cast<OLE_COLOR>(v.i4());
  return hr;
}
HRESULT WINAPI put_BackColor(_Delvorin* iface, OLE_COLOR v) { return Escreve(iface, Propriedade::BackColor, Variant::I4(static_cast<int32_t>(v))); }

HRESULT WINAPI get_BorderStyle(_Delvorin* iface, short* saida) {
  if (!saida) return E_POINTER;
  Variant v;
  HRESULT hr = Le(iface, Propriedade::BorderStyle, v);
  if (SUCCEEDED(hr)) *saida = static_cast<short>(v.i2());
  return hr;
}
HRESULT WINAPI put_BorderStyle(_Delvorin* iface, short v) { return Escreve(iface, Propriedade::BorderStyle, Variant::I2(v)); }

HRESULT WINAPI get_Enabled(_Delvorin* iface, VARIANT_BOOL* saida) {
  if (!saida) return E_POINTER;
  Variant v;
  HRESULT hr = Le(iface, Propriedade::Enabled, v);
  if (SUCCEEDED(hr)) *saida = static_cast<VARIANT_BOOL>(v.boolean());
  return hr;
}
HRESULT WINAPI put_Enabled(_Delvorin* iface, VARIANT_BOOL v) { return Escreve(iface, Propriedade::Enabled, Variant::Boolean(static_cast<int16_t>(v))); }

HRESULT WINAPI get_Font(_Delvorin* iface, IFontDisp** saida) {
  return LeObjeto(iface, Propriedade::Font, IID_IFontDisp, reinterpret_cast<void**>(saida));
}
HRESULT WINAPI putref_Font(_Delvorin* iface, IFontDisp* v) {
  return EscreveObjeto(iface, Propriedade::Font, reinterpret_cast<IUnknown*>(v));
}

HRESULT WINAPI get_ForeColor(_Delvorin* iface, OLE_COLOR* saida) {
  if (!saida) return E_POINTER;
  Variant v;
  HRESULT hr = Le(iface, Propriedade::ForeColor, v);
  if (SUCCEEDED(hr)) *saida = static_cast<OLE_COLOR>(v.i4());
  return hr;
}
HRESULT WINAPI put_ForeColor(_Delvorin* iface, OLE_COLOR v) { return Escreve(iface, Propriedade::ForeColor, Variant::I4(static_cast<int32_t>(v))); }

HRESULT WINAPI get_Locked(_Delvorin* iface, VARIANT_BOOL* saida) {
  if (!saida) return E_POINTER;
  Variant v;
  HRESULT hr = Le(iface, Propriedade::Locked, v);
  if (SUCCEEDED(hr)) *saida = static_cast<VARIANT_BOOL>(v.boolean());
  return hr;
}
HRESULT WINAPI put_Locked(_Delvorin* iface, VARIANT_BOOL v) { return Escreve(iface, Propriedade::Locked, Variant::Boolean(static_cast<int16_t>(v))); }

HRESULT WINAPI get_MaxLength(_Delvorin* iface, LONG* saida) {
  if (!saida) return E_POINTER;
  Variant v;
  HRESULT hr = Le(iface, Propriedade::MaxLength, v);
  if (SUCCEEDED(hr)) *saida = static_cast<LONG>(v.i4());
  return hr;
}
HRESULT WINAPI put_MaxLength(_Delvorin* iface, LONG v) { return Escreve(iface, Propriedade::MaxLength, Variant::I4(v)); }

HRESULT WINAPI get_Text(_Delvorin* iface, BSTR* saida) {
  if (!saida) return E_POINTER;
  *saida = nullptr;
  Variant v;
  HRESULT hr = Le(iface, Propriedade::Text, v);
  if (FAILED(hr)) return hr;
  *saida = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(v.str().data()), static_cast<UINT>(v.str().size()));
  return *saida ? S_OK : E_OUTOFMEMORY;
}
HRESULT WINAPI put_Text(_Delvorin* iface, BSTR v) {
  return Escreve(iface, Propriedade::Text, Variant::Str(std::u16string(reinterpret_cast<const char16_t*>(v ? v : L""), v ? SysStringLen(v) : 0)));
}

HRESULT WINAPI get_Appearance(_Delvorin* iface, short* saida) {
  if (!saida) return E_POINTER;
  Variant v;
  HRESULT hr = Le(iface, Propriedade::Appearance, v);
  if (SUCCEEDED(hr)) *saida = static_cast<short>(v.i2());
  return hr;
}
HRESULT WINAPI put_Appearance(_Delvorin* iface, short v) { return Escreve(iface, Propriedade::Appearance, Variant::I2(v)); }

HRESULT WINAPI get_Tipo(_Delvorin* iface, unsigned char* saida) {
  if (!saida) return E_POINTER;
  Variant v;
  HRESULT hr = Le(iface, Propriedade::Tipo, v);
  if (SUCCEEDED(hr)) *saida = static_cast<unsigned char>(v.ui1());
  return hr;
}
HRESULT WINAPI put_Tipo(_Delvorin* iface, unsigned char v) { return Escreve(iface, Propriedade::Tipo, Variant::UI1(v)); }

HRESULT WINAPI get_Negativo(_Delvorin* iface, VARIANT_BOOL* saida) {
  if (!saida) return E_POINTER;
  Variant v;
  HRESULT hr = Le(iface, Propriedade::Negativo, v);
  if (SUCCEEDED(hr)) *saida = static_cast<VARIANT_BOOL>(v.boolean());
  return hr;
}
HRESULT WINAPI put_Negativo(_Delvorin* iface, VARIANT_BOOL v) { return Escreve(iface, Propriedade::Negativo, Variant::Boolean(static_cast<int16_t>(v))); }

HRESULT WINAPI get_TravaCpf(_Delvorin* iface, VARIANT_BOOL* saida) {
  if (!saida) return E_POINTER;
  Variant v;
  HRESULT hr = Le(iface, Propriedade::TravaCpf, v);
  if (SUCCEEDED(hr)) *saida = static_cast<VARIANT_BOOL>(v.boolean());
  return hr;
}
HRESULT WINAPI put_TravaCpf(_Delvorin* iface, VARIANT_BOOL v) { return Escreve(iface, Propriedade::TravaCpf, Variant::Boolean(static_cast<int16_t>(v))); }

HRESULT WINAPI get_Digitos(_Delvorin* iface, unsigned char* saida) {
  if (!saida) return E_POINTER;
  Variant v;
  HRESULT hr = Le(iface, Propriedade::Digitos, v);
  if (SUCCEEDED(hr)) *saida = static_cast<unsigned char>(v.ui1());
  return hr;
}
HRESULT WINAPI put_Digitos(_Delvorin* iface, unsigned char v) { return Escreve(iface, Propriedade::Digitos, Variant::UI1(v)); }

HRESULT WINAPI get_MSGcpf(_Delvorin* iface, VARIANT_BOOL* saida) {
  if (!saida) return E_POINTER;
  Variant v;
  HRESULT hr = Le(iface, Propriedade::MSGcpf, v);
  if (SUCCEEDED(hr)) *saida = static_cast<VARIANT_BOOL>(v.boolean());
  return hr;
}
HRESULT WINAPI put_MSGcpf(_Delvorin* iface, VARIANT_BOOL v) { return Escreve(iface, Propriedade::MSGcpf, Variant::Boolean(static_cast<int16_t>(v))); }

HRESULT WINAPI get_PasswordChar(_Delvorin* iface, BSTR* saida) {
  if (!saida) return E_POINTER;
  *saida = nullptr;
  Variant v;
  HRESULT hr = Le(iface, Propriedade::PasswordChar, v);
  if (FAILED(hr)) return hr;
  *saida = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(v.str().data()), static_cast<UINT>(v.str().size()));
  return *saida ? S_OK : E_OUTOFMEMORY;
}
HRESULT WINAPI put_PasswordChar(_Delvorin* iface, BSTR v) {
  return Escreve(iface, Propriedade::PasswordChar, Variant::Str(std::u16string(reinterpret_cast<const char16_t*>(v ? v : L""), v ? SysStringLen(v) : 0)));
}

HRESULT WINAPI get_MouseIcon(_Delvorin* iface, IPictureDisp** saida) {
  return LeObjeto(iface, Propriedade::MouseIcon, IID_IPictureDisp, reinterpret_cast<void**>(saida));
}
HRESULT WINAPI putref_MouseIcon(_Delvorin* iface, IPictureDisp* v) {
  return EscreveObjeto(iface, Propriedade::MouseIcon, reinterpret_cast<IUnknown*>(v));
}

HRESULT WINAPI get_MousePointer(_Delvorin* iface, short* saida) {
  if (!saida) return E_POINTER;
  Variant v;
  HRESULT hr = Le(iface, Propriedade::MousePointer, v);
  if (SUCCEEDED(hr)) *saida = static_cast<short>(v.i2());
  return hr;
}
HRESULT WINAPI put_MousePointer(_Delvorin* iface, short v) { return Escreve(iface, Propriedade::MousePointer, Variant::I2(v)); }

HRESULT WINAPI get_Aspas(_Delvorin* iface, VARIANT_BOOL* saida) {
  if (!saida) return E_POINTER;
  Variant v;
  HRESULT hr = Le(iface, Propriedade::Aspas, v);
  if (SUCCEEDED(hr)) *saida = static_cast<VARIANT_BOOL>(v.boolean());
  return hr;
}
HRESULT WINAPI put_Aspas(_Delvorin* iface, VARIANT_BOOL v) { return Escreve(iface, Propriedade::Aspas, Variant::Boolean(static_cast<int16_t>(v))); }

HRESULT WINAPI get_TC_Trim(_Delvorin* iface, VARIANT_BOOL* saida) {
  if (!saida) return E_POINTER;
  Variant v;
  HRESULT hr = Le(iface, Propriedade::TC_Trim, v);
  if (SUCCEEDED(hr)) *saida = static_cast<VARIANT_BOOL>(v.boolean());
  return hr;
}
HRESULT WINAPI put_TC_Trim(_Delvorin* iface, VARIANT_BOOL v) { return Escreve(iface, Propriedade::TC_Trim, Variant::Boolean(static_cast<int16_t>(v))); }

HRESULT WINAPI get_Usar_Enter(_Delvorin* iface, VARIANT_BOOL* saida) {
  if (!saida) return E_POINTER;
  Variant v;
  HRESULT hr = Le(iface, Propriedade::Usar_Enter, v);
  if (SUCCEEDED(hr)) *saida = static_cast<VARIANT_BOOL>(v.boolean());
  return hr;
}
HRESULT WINAPI put_Usar_Enter(_Delvorin* iface, VARIANT_BOOL v) { return Escreve(iface, Propriedade::Usar_Enter, Variant::Boolean(static_cast<int16_t>(v))); }

HRESULT WINAPI get_usar_parenteses(_Delvorin* iface, VARIANT_BOOL* saida) {
  if (!saida) return E_POINTER;
  Variant v;
  HRESULT hr = Le(iface, Propriedade::usar_parenteses, v);
  if (SUCCEEDED(hr)) *saida = static_cast<VARIANT_BOOL>(v.boolean());
  return hr;
}
HRESULT WINAPI put_usar_parenteses(_Delvorin* iface, VARIANT_BOOL v) { return Escreve(iface, Propriedade::usar_parenteses, Variant::Boolean(static_cast<int16_t>(v))); }

HRESULT WINAPI Atualiza(_Delvorin* iface, IDispatch** saida) {
  if (!saida) return E_POINTER;
  (void)impl_from__Delvorin(iface)->controle.Atualiza();
  *saida = nullptr;  // always an empty reference
  return S_OK;
}

const _DelvorinVtbl kVtbl = {
    Delvorin_QueryInterface, Delvorin_AddRef, Delvorin_Release, GetTypeInfoCount, GetTypeInfo, GetIDsOfNames, Invoke,
    get_Alignment, put_Alignment,
    get_BackColor, put_BackColor,
    get_BorderStyle, put_BorderStyle,
    get_Enabled, put_Enabled,
    get_Font, putref_Font,
    get_ForeColor, put_ForeColor,
    get_Locked, put_Locked,
    get_MaxLength, put_MaxLength,
    get_Text, put_Text,
    get_Appearance, put_Appearance,
    get_Tipo, put_Tipo,
    get_Negativo, put_Negativo,
    get_TravaCpf, put_TravaCpf,
    get_Digitos, put_Digitos,
    get_MSGcpf, put_MSGcpf,
    get_PasswordChar, put_PasswordChar,
    get_MouseIcon, putref_MouseIcon,
    get_MousePointer, put_MousePointer,
    get_Aspas, put_Aspas,
    get_TC_Trim, put_TC_Trim,
    get_Usar_Enter, put_Usar_Enter,
    get_usar_parenteses, put_usar_parenteses,
    Atualiza,
};

// ISupportErrorInfo: vtable-bound clients (VB, C++) read the description of a failure only
// when the interface says it sets error information.
Controle* impl_from_ISupportErrorInfo(ISupportErrorInfo* i) { return CONTAINING_RECORD(i, Controle, ISupportErrorInfo_iface); }
HRESULT WINAPI Sei_QueryInterface(ISupportErrorInfo* i, REFIID r, void** p) {
  return Delvorin_QueryInterface(&impl_from_ISupportErrorInfo(i)->_Delvorin_iface, r, p);
}
ULONG WINAPI Sei_AddRef(ISupportErrorInfo* i) { return Delvorin_AddRef(&impl_from_ISupportErrorInfo(i)->_Delvorin_iface); }
ULONG WINAPI Sei_Release(ISupportErrorInfo* i) { return Delvorin_Release(&impl_from_ISupportErrorInfo(i)->_Delvorin_iface); }
HRESULT WINAPI Sei_InterfaceSupportsErrorInfo(ISupportErrorInfo*, REFIID riid) {
  return IsEqualIID(riid, kIid_Delvorin) || IsEqualIID(riid, IID_IDispatch) ? S_OK : S_FALSE;
}
const ISupportErrorInfoVtbl kSeiVtbl = {Sei_QueryInterface, Sei_AddRef, Sei_Release, Sei_InterfaceSupportsErrorInfo};

}  // namespace

void IniciaAutomacao(Controle* c) {
  c->_Delvorin_iface.lpVtbl = const_cast<_DelvorinVtbl*>(&kVtbl);
  c->ISupportErrorInfo_iface.lpVtbl = const_cast<ISupportErrorInfoVtbl*>(&kSeiVtbl);
}

}  // namespace delvorin::ocx
