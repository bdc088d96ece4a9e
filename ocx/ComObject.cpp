#include "ocx/ComObject.h"

#include <memory>
#include <string>

namespace delvorin::ocx {

std::u16string ComObject::Describe() const {
  IFont* font = nullptr;
  if (!u_ || FAILED(IUnknown_QueryInterface(u_, IID_IFont, reinterpret_cast<void**>(&font)))) return u"(object)";
  BSTR name = nullptr;
  CY size{};
  IFont_get_Name(font, &name);
  IFont_get_Size(font, &size);
  std::u16string r = name ? std::u16string(reinterpret_cast<const char16_t*>(name)) : u"";
  SysFreeString(name);
  IFont_Release(font);
  std::string t = std::to_string(size.int64 / 10000);
  if (size.int64 % 10000) t += "," + std::to_string(size.int64 % 10000);
  return r + u" " + std::u16string(t.begin(), t.end());
}

void* ComObject::Interface(const Variant& v, REFIID riid) {
  if (v.type() != VarType::Object) return nullptr;
  auto* o = dynamic_cast<ComObject*>(v.object().get());
  void* p = nullptr;
  if (!o || !o->unknown() || FAILED(IUnknown_QueryInterface(o->unknown(), riid, &p))) return nullptr;
  return p;
}

HRESULT ToVariant(const Variant& from, VARIANT& to) {
  VariantInit(&to);
  switch (from.type()) {
    case VarType::Empty: return S_OK;
    case VarType::Null: V_VT(&to) = VT_NULL; return S_OK;
    case VarType::I2: V_VT(&to) = VT_I2; V_I2(&to) = from.i2(); return S_OK;
    case VarType::I4: V_VT(&to) = VT_I4; V_I4(&to) = from.i4(); return S_OK;
    case VarType::UI1: V_VT(&to) = VT_UI1; V_UI1(&to) = from.ui1(); return S_OK;
    case VarType::Bool: V_VT(&to) = VT_BOOL; V_BOOL(&to) = from.boolean(); return S_OK;
    case VarType::R4: V_VT(&to) = VT_R4; V_R4(&to) = from.r4(); return S_OK;
    case VarType::R8: V_VT(&to) = VT_R8; V_R8(&to) = from.r8(); return S_OK;
    case VarType::Currency: V_VT(&to) = VT_CY; V_CY(&to).int64 = from.currency(); return S_OK;
    case VarType::Date: V_VT(&to) = VT_DATE; V_DATE(&to) = from.date(); return S_OK;
    case VarType::Str: {
      const std::u16string& s = from.str();
      BSTR b = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(s.data()), static_cast<UINT>(s.size()));
      if (!b) return E_OUTOFMEMORY;
      V_VT(&to) = VT_BSTR;
      V_BSTR(&to) = b;
      return S_OK;
    }
    case VarType::Object: {
      V_VT(&to) = VT_DISPATCH;
      V_DISPATCH(&to) = nullptr;
      if (!from.object()) return S_OK;
      auto* o = dynamic_cast<ComObject*>(from.object().get());
      if (!o || !o->unknown()) return DISP_E_TYPEMISMATCH;
      IDispatch* d = nullptr;
      if (SUCCEEDED(IUnknown_QueryInterface(o->unknown(), IID_IDispatch, reinterpret_cast<void**>(&d)))) {
        V_DISPATCH(&to) = d;
        return S_OK;
      }
      V_VT(&to) = VT_UNKNOWN;
      V_UNKNOWN(&to) = o->unknown();
      IUnknown_AddRef(V_UNKNOWN(&to));
      return S_OK;
    }
  }
  return DISP_E_TYPEMISMATCH;
}

HRESULT FromVariant(const VARIANT& from, Variant& to) {
  if (V_VT(&from) & VT_BYREF) {
    // A copy of what the reference points at; no reference at all, or one to a VARIANT that
    // holds another reference, is no value.
    if (!V_BYREF(&from)) return DISP_E_TYPEMISMATCH;
    VARIANT value;
    VariantInit(&value);
    HRESULT hr = VariantCopyInd(&value, const_cast<VARIANT*>(&from));
    if (FAILED(hr)) return DISP_E_TYPEMISMATCH;
    hr = (V_VT(&value) & VT_BYREF) ? DISP_E_TYPEMISMATCH : FromVariant(value, to);
    VariantClear(&value);
    return hr;
  }
  switch (V_VT(&from)) {
    case VT_EMPTY: to = Variant(); return S_OK;
    case VT_NULL: to = Variant::Null(); return S_OK;
    case VT_I2: to = Variant::I2(V_I2(&from)); return S_OK;
    case VT_I4: to = Variant::I4(V_I4(&from)); return S_OK;
    case VT_UI1: to = Variant::UI1(V_UI1(&from)); return S_OK;
    case VT_BOOL: to = Variant::Boolean(static_cast<int16_t>(V_BOOL(&from))); return S_OK;
    case VT_R4: to = Variant::R4(V_R4(&from)); return S_OK;
    case VT_R8: to = Variant::R8(V_R8(&from)); return S_OK;
    case VT_CY: to = Variant::Currency(V_CY(&from).int64); return S_OK;
    case VT_DATE: to = Variant::Date(V_DATE(&from)); return S_OK;
    case VT_BSTR: {
      const auto* p = reinterpret_cast<const char16_t*>(V_BSTR(&from));
      to = Variant::Str(p ? std::u16string(p, SysStringLen(V_BSTR(&from))) : std::u16string());
      return S_OK;
    }
    case VT_DISPATCH:
    case VT_UNKNOWN:
      to = Variant::Object(V_UNKNOWN(&from) ? std::make_shared<ComObject>(V_UNKNOWN(&from)) : nullptr);
      return S_OK;
    case VT_I1: case VT_UI2: case VT_UI4: case VT_I8: case VT_UI8: case VT_INT: case VT_UINT: case VT_DECIMAL: {
      VARIANT d;
      VariantInit(&d);
      if (FAILED(VariantChangeTypeEx(&d, const_cast<VARIANT*>(&from), LOCALE_INVARIANT, 0, VT_R8))) return DISP_E_TYPEMISMATCH;
      to = Variant::R8(V_R8(&d));
      return S_OK;
    }
    default: return DISP_E_TYPEMISMATCH;
  }
}

}  // namespace delvorin::ocx
