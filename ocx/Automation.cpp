// The dual interfaces _Delvorin (1.0), _Delvorin11 (1.1) and _Delvorin12 (1.2) in one vtable:
// 1.0's slots first, in its order, then the properties added in 1.1, then those added in 1.2.
// IDispatch goes through _Delvorin12's type information, whose dispatch ids are the older ones
// plus the new ones. One get/put pair per property (made from a template per automation type)
// hands the value to the engine by its table entry.
#include <cstddef>
#include <string>
#include <string_view>

#include "core/DispatchRules.h"
#include "ocx/ComObject.h"
#include "ocx/Control.h"
#include "ocx/Identifiers.h"

namespace delvorin::ocx {

HRESULT WINAPI Delvorin_QueryInterface(_Delvorin12* iface, REFIID riid, void** ppv);
ULONG WINAPI Delvorin_AddRef(_Delvorin12* iface);
ULONG WINAPI Delvorin_Release(_Delvorin12* iface);

namespace {

Control* impl_from__Delvorin12(_Delvorin12* iface) { return CONTAINING_RECORD(iface, Control, _Delvorin12_iface); }

HRESULT GetValue(_Delvorin12* iface, Property p, Variant& v) {
  Status s = impl_from__Delvorin12(iface)->engine.Get(p, v);
  return s.ok() ? S_OK : ErrorResult(s);
}

HRESULT PutValue(_Delvorin12* iface, Property p, const Variant& v) {
  Status s = impl_from__Delvorin12(iface)->engine.Put(p, v);
  return s.ok() ? S_OK : ErrorResult(s);
}

// The OLE object behind a font or picture property, as the interface asked for.
HRESULT GetObjectValue(_Delvorin12* iface, Property p, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  Variant v;
  HRESULT hr = GetValue(iface, p, v);
  if (FAILED(hr)) return hr;
  if (v.type() != VarType::Object || !v.object()) {
    if (p != Property::Font) return S_OK;  // no picture
    v = Variant::Object(impl_from__Delvorin12(iface)->container.AmbientFont());
    if (!v.object()) return E_OUTOFMEMORY;
    PutValue(iface, p, v);
  }
  auto* o = dynamic_cast<ComObject*>(v.object().get());
  return o ? IUnknown_QueryInterface(o->unknown(), iid, out) : E_UNEXPECTED;
}

HRESULT PutObjectValue(_Delvorin12* iface, Property p, IUnknown* u) {
  return PutValue(iface, p, Variant::Object(u ? std::make_shared<ComObject>(u) : nullptr));
}

HRESULT WINAPI GetTypeInfoCount(_Delvorin12*, UINT* n) {
  if (!n) return E_POINTER;
  *n = 1;
  return S_OK;
}

HRESULT WINAPI GetTypeInfo(_Delvorin12* iface, UINT index, LCID, ITypeInfo** ti) {
  if (!ti) return E_POINTER;
  *ti = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  *ti = impl_from__Delvorin12(iface)->interfaceType;
  ITypeInfo_AddRef(*ti);
  return S_OK;
}

HRESULT WINAPI GetIDsOfNames(_Delvorin12* iface, REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (!names || !ids) return E_INVALIDARG;
  for (UINT i = 0; i < count; ++i)
    if (!names[i]) return E_INVALIDARG;
  return ITypeInfo_GetIDsOfNames(impl_from__Delvorin12(iface)->interfaceType, names, count, ids);
}

// A failing write: described in EXCEPINFO (DISP_E_EXCEPTION) for a caller that takes it, with
// the error number a host reports; plain otherwise.
HRESULT Described(Status s, EXCEPINFO* excepInfo, HRESULT plain) {
  if (!excepInfo) return plain;
  const HRESULT scode = ErrorResult(s);
  const std::string_view description = s.Description();
  const std::wstring text(description.begin(), description.end());
  *excepInfo = EXCEPINFO{};
  excepInfo->scode = scode;
  excepInfo->bstrSource = SysAllocString(kProgId);
  excepInfo->bstrDescription = SysAllocString(text.c_str());
  return DISP_E_EXCEPTION;
}

// The automation rules are checked here, before the type information is asked: Wine's
// ITypeInfo::Invoke is more lenient than Windows' (it took the argument of a property get for
// the result's address). A call refused here reaches no property. A value that cannot become
// the property's type names its argument and, for a caller that takes EXCEPINFO, is described
// there as a failing write of the property is; so is a write of a read-only property, which
// the type information would only call a missing member.
HRESULT WINAPI Invoke(_Delvorin12* iface, DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* excepInfo, UINT* argErr) {
  Control* c = impl_from__Delvorin12(iface);
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (!params) return E_INVALIDARG;
  const DispatchCall call{id, flags, params->cArgs, params->rgvarg != nullptr, params->cNamedArgs,
                          reinterpret_cast<const int32_t*>(params->rgdispidNamedArgs)};
  uint32_t argumentError = 0;
  const Status check = CheckDispatchCall(call, argumentError);
  if (check.hresult() == Status::kReadOnly) return Described(check, excepInfo, ErrorResult(check));
  if (!check.ok()) {
    if (check.hresult() == Status::kParamNotFound && argErr) *argErr = argumentError;
    return check.hresult();
  }
  const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  // A read whose caller wants no result still gets one, given back here.
  VARIANT unwanted;
  VariantInit(&unwanted);
  HRESULT hr = ITypeInfo_Invoke(c->interfaceType, &c->_Delvorin12_iface, id, flags, params, put || result ? result : &unwanted,
                                excepInfo, argErr);
  VariantClear(&unwanted);
  if (!put || (hr != DISP_E_TYPEMISMATCH && hr != DISP_E_OVERFLOW && hr != DISP_E_PARAMNOTOPTIONAL && hr != DISP_E_BADVARTYPE))
    return hr;
  if (argErr) *argErr = 0;  // the value, the only argument
  return Described(Status(hr), excepInfo, hr);
}

// The automation types of the properties and how each becomes the engine's value.
short GetI2(const Variant& v) { return static_cast<short>(v.i2()); }
Variant MakeI2(short v) { return Variant::I2(v); }
VARIANT_BOOL GetBoolean(const Variant& v) { return static_cast<VARIANT_BOOL>(v.boolean()); }
Variant MakeBoolean(VARIANT_BOOL v) { return Variant::Boolean(static_cast<int16_t>(v)); }
OLE_COLOR GetColor(const Variant& v) { return static_cast<OLE_COLOR>(v.i4()); }
Variant MakeColor(OLE_COLOR v) { return Variant::I4(static_cast<int32_t>(v)); }
LONG GetI4(const Variant& v) { return static_cast<LONG>(v.i4()); }
Variant MakeI4(LONG v) { return Variant::I4(v); }
unsigned char GetUI1(const Variant& v) { return static_cast<unsigned char>(v.ui1()); }
Variant MakeUI1(unsigned char v) { return Variant::UI1(v); }

// The get/put pair of a property of a plain type: one vtable slot each.
template <Property P, typename T, T (*Get)(const Variant&), Variant (*Make)(T)>
struct Scalar {
  static HRESULT WINAPI get(_Delvorin12* iface, T* out) {
    if (!out) return E_POINTER;
    Variant v;
    HRESULT hr = GetValue(iface, P, v);
    if (SUCCEEDED(hr)) *out = Get(v);
    return hr;
  }
  static HRESULT WINAPI put(_Delvorin12* iface, T v) { return PutValue(iface, P, Make(v)); }
};
template <Property P> using I2 = Scalar<P, short, GetI2, MakeI2>;
template <Property P> using BoolProperty = Scalar<P, VARIANT_BOOL, GetBoolean, MakeBoolean>;
template <Property P> using ColorProperty = Scalar<P, OLE_COLOR, GetColor, MakeColor>;
template <Property P> using I4 = Scalar<P, LONG, GetI4, MakeI4>;
template <Property P> using UI1 = Scalar<P, unsigned char, GetUI1, MakeUI1>;

// A text property: BSTR in and out (a null BSTR is the empty text).
template <Property P>
struct TextProperty {
  static HRESULT WINAPI get(_Delvorin12* iface, BSTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    Variant v;
    HRESULT hr = GetValue(iface, P, v);
    if (FAILED(hr)) return hr;
    *out = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(v.str().data()), static_cast<UINT>(v.str().size()));
    return *out ? S_OK : E_OUTOFMEMORY;
  }
  static HRESULT WINAPI put(_Delvorin12* iface, BSTR v) {
    return PutValue(iface, P, Variant::Str(std::u16string(reinterpret_cast<const char16_t*>(v ? v : L""), v ? SysStringLen(v) : 0)));
  }
};

// A property of any automation value: read as the engine gives it (Empty, Null, Currency,
// Date, Double or text); written from any VARIANT, a reference read through, a value the
// engine cannot hold failing as a type mismatch.
template <Property P>
struct VariantProperty {
  static HRESULT WINAPI get(_Delvorin12* iface, VARIANT* out) {
    if (!out) return E_POINTER;
    VariantInit(out);
    Variant v;
    HRESULT hr = GetValue(iface, P, v);
    return FAILED(hr) ? hr : ToVariant(v, *out);
  }
  static HRESULT WINAPI put(_Delvorin12* iface, VARIANT v) {
    Variant value;
    if (FAILED(FromVariant(v, value))) return ErrorResult(Status::TypeMismatch());
    return PutValue(iface, P, value);
  }
};

// A font or picture property, handed out as the interface I (iid).
template <Property P, typename I, const IID& iid>
struct ObjectProperty {
  static HRESULT WINAPI get(_Delvorin12* iface, I** out) { return GetObjectValue(iface, P, iid, reinterpret_cast<void**>(out)); }
  static HRESULT WINAPI putref(_Delvorin12* iface, I* v) { return PutObjectValue(iface, P, reinterpret_cast<IUnknown*>(v)); }
};
using FontProperty = ObjectProperty<Property::Font, IFontDisp, IID_IFontDisp>;
using IconProperty = ObjectProperty<Property::MouseIcon, IPictureDisp, IID_IPictureDisp>;

HRESULT WINAPI Atualiza(_Delvorin12* iface, IDispatch** out) {
  if (!out) return E_POINTER;
  (void)impl_from__Delvorin12(iface)->engine.Atualiza();
  *out = nullptr;  // always an empty reference
  return S_OK;
}

const _Delvorin12Vtbl kVtbl = {
    Delvorin_QueryInterface, Delvorin_AddRef, Delvorin_Release, OwnThread<GetTypeInfoCount>, OwnThread<GetTypeInfo>, OwnThread<GetIDsOfNames>, OwnThread<Invoke>,
    OwnThread<I2<Property::Alignment>::get>, OwnThread<I2<Property::Alignment>::put>,
    OwnThread<ColorProperty<Property::BackColor>::get>, OwnThread<ColorProperty<Property::BackColor>::put>,
    OwnThread<I2<Property::BorderStyle>::get>, OwnThread<I2<Property::BorderStyle>::put>,
    OwnThread<BoolProperty<Property::Enabled>::get>, OwnThread<BoolProperty<Property::Enabled>::put>,
    OwnThread<FontProperty::get>, OwnThread<FontProperty::putref>,
    OwnThread<ColorProperty<Property::ForeColor>::get>, OwnThread<ColorProperty<Property::ForeColor>::put>,
    OwnThread<BoolProperty<Property::Locked>::get>, OwnThread<BoolProperty<Property::Locked>::put>,
    OwnThread<I4<Property::MaxLength>::get>, OwnThread<I4<Property::MaxLength>::put>,
    OwnThread<TextProperty<Property::Text>::get>, OwnThread<TextProperty<Property::Text>::put>,
    OwnThread<I2<Property::Appearance>::get>, OwnThread<I2<Property::Appearance>::put>,
    OwnThread<UI1<Property::Tipo>::get>, OwnThread<UI1<Property::Tipo>::put>,
    OwnThread<BoolProperty<Property::Negativo>::get>, OwnThread<BoolProperty<Property::Negativo>::put>,
    OwnThread<BoolProperty<Property::TravaCpf>::get>, OwnThread<BoolProperty<Property::TravaCpf>::put>,
    OwnThread<UI1<Property::Digitos>::get>, OwnThread<UI1<Property::Digitos>::put>,
    OwnThread<BoolProperty<Property::MSGcpf>::get>, OwnThread<BoolProperty<Property::MSGcpf>::put>,
    OwnThread<TextProperty<Property::PasswordChar>::get>, OwnThread<TextProperty<Property::PasswordChar>::put>,
    OwnThread<IconProperty::get>, OwnThread<IconProperty::putref>,
    OwnThread<I2<Property::MousePointer>::get>, OwnThread<I2<Property::MousePointer>::put>,
    OwnThread<BoolProperty<Property::Aspas>::get>, OwnThread<BoolProperty<Property::Aspas>::put>,
    OwnThread<BoolProperty<Property::TC_Trim>::get>, OwnThread<BoolProperty<Property::TC_Trim>::put>,
    OwnThread<BoolProperty<Property::Usar_Enter>::get>, OwnThread<BoolProperty<Property::Usar_Enter>::put>,
    OwnThread<BoolProperty<Property::usar_parenteses>::get>, OwnThread<BoolProperty<Property::usar_parenteses>::put>,
    OwnThread<Atualiza>,
    // 1.1
    OwnThread<BoolProperty<Property::CnpjAlfanumerico>::get>, OwnThread<BoolProperty<Property::CnpjAlfanumerico>::put>,
    // 1.2, in the order the members were added; Valido has no put.
    OwnThread<TextProperty<Property::UF>::get>, OwnThread<TextProperty<Property::UF>::put>,
    OwnThread<VariantProperty<Property::Valor>::get>, OwnThread<VariantProperty<Property::Valor>::put>,
    OwnThread<BoolProperty<Property::Valido>::get>,
    OwnThread<TextProperty<Property::Mascara>::get>, OwnThread<TextProperty<Property::Mascara>::put>,
    OwnThread<TextProperty<Property::NomeAcessivel>::get>, OwnThread<TextProperty<Property::NomeAcessivel>::put>,
};

// A client of _Delvorin or _Delvorin11 reads the slots it knows from the same vtable.
static_assert(offsetof(_Delvorin12Vtbl, get_Alignment) == offsetof(_DelvorinVtbl, get_Alignment));
static_assert(offsetof(_Delvorin12Vtbl, get_Text) == offsetof(_DelvorinVtbl, get_Text));
static_assert(offsetof(_Delvorin12Vtbl, putref_MouseIcon) == offsetof(_DelvorinVtbl, putref_MouseIcon));
static_assert(offsetof(_Delvorin12Vtbl, Atualiza) == offsetof(_DelvorinVtbl, Atualiza));
static_assert(offsetof(_Delvorin12Vtbl, get_CnpjAlfanumerico) == sizeof(_DelvorinVtbl));
static_assert(offsetof(_Delvorin11Vtbl, get_CnpjAlfanumerico) == sizeof(_DelvorinVtbl));
static_assert(offsetof(_Delvorin12Vtbl, Atualiza) == offsetof(_Delvorin11Vtbl, Atualiza));
static_assert(offsetof(_Delvorin12Vtbl, put_CnpjAlfanumerico) == offsetof(_Delvorin11Vtbl, put_CnpjAlfanumerico));
static_assert(offsetof(_Delvorin12Vtbl, get_UF) == sizeof(_Delvorin11Vtbl));
static_assert(offsetof(_Delvorin12Vtbl, put_NomeAcessivel) + sizeof(void*) == sizeof(_Delvorin12Vtbl));

// ISupportErrorInfo: vtable-bound clients (VB, C++) read the description of a failure only
// when the interface says it sets error information.
Control* impl_from_ISupportErrorInfo(ISupportErrorInfo* i) { return CONTAINING_RECORD(i, Control, ISupportErrorInfo_iface); }
HRESULT WINAPI Sei_QueryInterface(ISupportErrorInfo* i, REFIID r, void** p) {
  return Delvorin_QueryInterface(&impl_from_ISupportErrorInfo(i)->_Delvorin12_iface, r, p);
}
ULONG WINAPI Sei_AddRef(ISupportErrorInfo* i) { return Delvorin_AddRef(&impl_from_ISupportErrorInfo(i)->_Delvorin12_iface); }
ULONG WINAPI Sei_Release(ISupportErrorInfo* i) { return Delvorin_Release(&impl_from_ISupportErrorInfo(i)->_Delvorin12_iface); }
HRESULT WINAPI Sei_InterfaceSupportsErrorInfo(ISupportErrorInfo*, REFIID riid) {
  const bool ours = IsEqualIID(riid, kIid_Delvorin12) || IsEqualIID(riid, kIid_Delvorin11) || IsEqualIID(riid, kIid_Delvorin) ||
                    IsEqualIID(riid, IID_IDispatch);
  return ours ? S_OK : S_FALSE;
}
const ISupportErrorInfoVtbl kSeiVtbl = {Sei_QueryInterface, Sei_AddRef, Sei_Release, OwnThread<Sei_InterfaceSupportsErrorInfo>};

}  // namespace

void InitAutomation(Control* c) {
  c->_Delvorin12_iface.lpVtbl = const_cast<_Delvorin12Vtbl*>(&kVtbl);
  c->ISupportErrorInfo_iface.lpVtbl = const_cast<ISupportErrorInfoVtbl*>(&kSeiVtbl);
}

}  // namespace delvorin::ocx
