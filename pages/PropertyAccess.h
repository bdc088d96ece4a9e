#pragma once
// Property access by name on the first of the objects selected for a property page: what
// a page reaches its control through, so any object with these property names can be edited.
#include <string_view>

#include "core/Variant.h"
#include "pages/Result.h"

namespace delvorin {

class PropertyAccess {
 public:
  // Whether an object is selected at all.
  virtual bool HasSelection() const = 0;
  // Reads the property of that name.
  virtual Result Read(std::u16string_view name, Variant& value) = 0;
  // Writes it; the object converts the value to the property's own type, and a failure
  // carries the object's description of it.
  virtual Result Write(std::u16string_view name, const Variant& value) = 0;

 protected:
  ~PropertyAccess() = default;
};

// The failure of an access, or of a page, when no object is selected.
Result NothingSelected();

}  // namespace delvorin
