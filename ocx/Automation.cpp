// The dual interfaces _Delvorin (1.0) and _Delvorin11 (1.1) in one vtable: 1.0's slots first,
// in its order, then the properties added in 1.1. IDispatch goes through _Delvorin11's type
// information, whose dispatch ids are 1.0's plus the new ones. One get/put pair per property
// (made from a template per automation type) hands the value to the engine by its table entry.
#include <cstddef>
#include <string>
#include <string_view>

#include "core/DispatchRules.h"
#include "ocx/Control.h"
#include "ocx/Identifiers.h"

namespace delvorin::ocx {

HRESULT WINAPI Delvorin_QueryInterface(_Delvorin11* iface, REFIID riid, void** ppv);
ULONG WINAPI Delvorin_AddRef(_Delvorin11* iface);
ULONG WINAPI Delvorin_Release(_Delvorin11* iface);

namespace {

Control* impl_from__Delvorin11(_Delvorin11* iface) { return CONTAINING_RECORD(iface, Control, _Delvorin11_iface); }

HRESULT GetValue(_Delvorin11* iface, Property p, Variant& v) {
  Status s = impl_from__Delvorin11(iface)->engine.Get(p, v);
  return s.ok() ? S_OK : ErrorResult(s);
}

HRESULT PutValue(_Delvorin11* iface, Property p, const Variant& v) {
  Status s = impl_from__Delvorin11(iface)->engine.Put(p, v);
  return s.ok() ? S_OK : ErrorResult(s);
}

// The OLE object behind a font or picture property, as the interface asked for.
HRESULT GetObjectValue(_Delvorin11* iface, Property p, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  Variant v;
  HRESULT hr = GetValue(iface, p, v);
  if (FAILED(hr)) return hr;
  if (v.type() != VarType::Object || !v.object()) {
    if (p != Property::Font) return S_OK;  // no picture
    v = Variant::Object(impl_from__Delvorin11(iface)->container.AmbientFont());
    if (!v.object()) return E_OUTOFMEMORY;
    PutValue(iface, p, v);
  }
  auto* o = dynamic_cast<ComObject*>(v.object().get());
  return o ? IUnknown_QueryInterface(o->unknown(), iid, out) : E_UNEXPECTED;
}

HRESULT PutObjectValue(_Delvorin11* iface, Property p, IUnknown* u) {
  return PutValue(iface, p, Variant::Object(u ? std::make_shared<ComObject>(u) : nullptr));
}

HRESULT WINAPI GetTypeInfoCount(_Delvorin11*, UINT* n) {
  if (!n) return E_POINTER;
  *n = 1;
  return S_OK;
}

HRESULT WINAPI GetTypeInfo(_Delvorin11* iface, UINT index, LCID, ITypeInfo** ti) {
  if (!ti) return E_POINTER;
  *ti = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  *ti = impl_from__Delvorin11(iface)->interfaceType;
  ITypeInfo_AddRef(*ti);
  return S_OK;
}

HRESULT WINAPI GetIDsOfNames(_Delvorin11* iface, REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (!names || !ids) return E_INVALIDARG;
  for (UINT i = 0; i < count; ++i)
    if (!names[i]) return E_INVALIDARG;
  return ITypeInfo_GetIDsOfNames(impl_from__Delvorin11(iface)->interfaceType, names, count, ids);
}

// The automation rules are checked here, before the type information is asked: Wine's
// ITypeInfo::Invoke is more lenient than Windows' (it took the argument of a property get for
// the result's address). A call refused here reaches no property. A value that cannot become
// the property's type names its argument and, for a caller that takes EXCEPINFO, is described
// there as a failing write of the property is.
HRESULT WINAPI Invoke(_Delvorin11* iface, DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* excepInfo, UINT* argErr) {
  Control* c = impl_from__Delvorin11(iface);
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (!params) return E_INVALIDARG;
  const DispatchCall call{id, flags, params->cArgs, params->rgvarg != nullptr, params->cNamedArgs,
                          reinterpret_cast<const int32_t*>(params->rgdispidNamedArgs)};
  uint32_t argumentError = 0;
  const Status check = CheckDispatchCall(call, argumentError);
  if (!check.ok()) {
    if (check.hresult() == Status::kParamNotFound && argErr) *argErr = argumentError;
    return check.hresult();
  }
  const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  // A read whose caller wants no result still gets one, given back here.
  VARIANT unwanted;
  VariantInit(&unwanted);
  HRESULT hr = ITypeInfo_Invoke(c->interfaceType, &c->_Delvorin11_iface, id, flags, params, put || result ? result : &unwanted,
                                excepInfo, argErr);
  VariantClear(&unwanted);
  if (!put || (hr != DISP_E_TYPEMISMATCH && hr != DISP_E_OVERFLOW && hr != DISP_E_PARAMNOTOPTIONAL && hr != DISP_E_BADVARTYPE))
    return hr;
  if (argErr) *argErr = 0;  // the value, the only argument
  if (!excepInfo) return hr;
  const HRESULT scode = ErrorResult(Status(hr));
  const std::string_view description = Status(hr).Description();
  const std::wstring text(description.begin(), description.end());
  *excepInfo = EXCEPINFO{};
  excepInfo->scode = scode;
  excepInfo->bstrSource = SysAllocString(kProgId);
  excepInfo->bstrDescription = SysAllocString(text.c_str());
  return DISP_E_EXCEPTION;
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
  static HRESULT WINAPI get(_Delvorin11* iface, T* out) {
    if (!out) return E_POINTER;
    Variant v;
    HRESULT hr = GetValue(iface, P, v);
    if (SUCCEEDED(hr)) *out = Get(v);
    return hr;
  }
  static HRESULT WINAPI put(_Delvorin11* iface, T v) { return PutValue(iface, P, Make(v)); }
};
template <Property P> using I2 = Scalar<P, short, GetI2, MakeI2>;
template <Property P> using BoolProperty = Scalar<P, VARIANT_BOOL, GetBoolean, MakeBoolean>;
template <Property P> using ColorProperty = Scalar<P, OLE_COLOR, GetColor, MakeColor>;
template <Property P> using I4 = Scalar<P, LONG, GetI4, MakeI4>;
template <Property P> using UI1 = Scalar<P, unsigned char, GetUI1, MakeUI1>;

// A text property: BSTR in and out (a null BSTR is the empty text).
template <Property P>
struct TextProperty {
  static HRESULT WINAPI get(_Delvorin11* iface, BSTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    Variant v;
    HRESULT hr = GetValue(iface, P, v);
    if (FAILED(hr)) return hr;
    *out = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(v.str().data()), static_cast<UINT>(v.str().size()));
    return *out ? S_OK : E_OUTOFMEMORY;
  }
  static HRESULT WINAPI put(_Delvorin11* iface, BSTR v) {
    return PutValue(iface, P, Variant::Str(std::u16string(reinterpret_cast<const char16_t*>(v ? v : L""), v ? SysStringLen(v) : 0)));
  }
};

// A font or picture property, handed out as the interface I (iid).
template <Property P, typename I, const IID& iid>
struct ObjectProperty {
  static HRESULT WINAPI get(_Delvorin11* iface, I** out) { return GetObjectValue(iface, P, iid, reinterpret_cast<void**>(out)); }
  static HRESULT WINAPI putref(_Delvorin11* iface, I* v) { return PutObjectValue(iface, P, reinterpret_cast<IUnknown*>(v)); }
};
using FontProperty = ObjectProperty<Property::Font, IFontDisp, IID_IFontDisp>;
using IconProperty = ObjectProperty<Property::MouseIcon, IPictureDisp, IID_IPictureDisp>;

HRESULT WINAPI Atualiza(_Delvorin11* iface, IDispatch** out) {
  if (!out) return E_POINTER;
  (void)impl_from__Delvorin11(iface)->engine.Atualiza();
  *out = nullptr;  // always an empty reference
  return S_OK;
}

const _Delvorin11Vtbl kVtbl = {
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
  const bool ours = IsEqualIID(riid, kIid_Delvorin11) || IsEqualIID(riid, kIid_Delvorin) || IsEqualIID(riid, IID_IDispatch);
  return ours ? S_OK : S_FALSE;
}
const ISupportErrorInfoVtbl kSeiVtbl = {Sei_QueryInterface, Sei_AddRef, Sei_Release, OwnThread<Sei_InterfaceSupportsErrorInfo>};

}  // namespace

void InitAutomation(Control* c) {
  c->_Delvorin11_iface.lpVtbl = const_cast<_Delvorin11Vtbl*>(&kVtbl);
  c->ISupportErrorInfo_iface.lpVtbl = const_cast<ISupportErrorInfoVtbl*>(&kSeiVtbl);
}

}  // namespace delvorin::ocx
