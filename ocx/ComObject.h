#pragma once
// An OLE object (font or picture) held by a property of the engine, and the engine's values as
// automation VARIANTs and back.
#include "ocx/Com.h"

#include "core/Variant.h"

namespace delvorin::ocx {

class ComObject final : public AutomationObject {
 public:
  explicit ComObject(IUnknown* u) : u_(u) {
    if (u_) IUnknown_AddRef(u_);
  }
  ~ComObject() override {
    if (u_) IUnknown_Release(u_);
  }
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;
  IUnknown* unknown() const { return u_; }
  std::u16string Describe() const override;

  // The object behind a property value as interface riid (AddRef'd), or nullptr.
  static void* Interface(const Variant& v, REFIID riid);

 private:
  IUnknown* u_;
};

// The engine's value as a VARIANT, which the caller clears: Currency as VT_CY, Date as VT_DATE,
// Null as VT_NULL, an object as VT_DISPATCH where it has that interface (else VT_UNKNOWN), a
// null object as VT_DISPATCH null.
HRESULT ToVariant(const Variant& from, VARIANT& to);

// A VARIANT as the engine's value: a reference is read through; VT_CY, VT_DATE and VT_NULL
// become Currency, Date and Null; the numeric types the engine does not hold (VT_I1, VT_UI2,
// VT_UI4, VT_I8, VT_UI8, VT_INT, VT_UINT, VT_DECIMAL) become a double through
// VariantChangeType, whose range checks the engine's conversion then applies; an object its
// reference. Anything else (errors, arrays, records) fails with DISP_E_TYPEMISMATCH.
HRESULT FromVariant(const VARIANT& from, Variant& to);

}  // namespace delvorin::ocx
