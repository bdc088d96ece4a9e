#pragma once
// Property access by name through the IDispatch of the first object a property page was given:
// GetIDsOfNames, then Invoke with DISPATCH_PROPERTYGET or DISPATCH_PROPERTYPUT. The object
// converts what it is given to the property's own type; a failure carries the object's own
// description (EXCEPINFO, else its error information), else the automation one of the HRESULT.
// Values travel as ToVariant and FromVariant convert them (ocx/ComObject.h); objects do not
// pass: the page reads and writes values only.
#include "ocx/Com.h"

#include "ocx/ComObject.h"
#include "pages/PropertyAccess.h"

namespace delvorin::ocx {

class PropertyAccessDispatch final : public PropertyAccess {
 public:
  PropertyAccessDispatch() = default;
  PropertyAccessDispatch(const PropertyAccessDispatch&) = delete;
  PropertyAccessDispatch& operator=(const PropertyAccessDispatch&) = delete;
  ~PropertyAccessDispatch() { Select(nullptr); }

  // The object to read and write (AddRef'd here), or nullptr for none.
  void Select(IDispatch* object);
  IDispatch* selected() const { return object_; }

  bool HasSelection() const override { return object_ != nullptr; }
  Result Read(std::u16string_view name, Variant& value) override;
  Result Write(std::u16string_view name, const Variant& value) override;

  // The dispatch id of the property of that name on the selected object, or DISPID_UNKNOWN.
  DISPID Id(std::u16string_view name) const;

 private:
  Result Invoke(std::u16string_view name, WORD flags, DISPPARAMS* params, VARIANT* result);

  IDispatch* object_ = nullptr;
};


}  // namespace delvorin::ocx
