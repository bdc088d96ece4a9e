#pragma once
// Property access by name on headless controls, as a property page reaches its selected
// objects: the first of them is read and written through the control's property table,
// with the conversions of a write by name; a failure carries the automation description.
#include <vector>

#include "control/Delvorin.h"
#include "pages/PropertyAccess.h"

namespace delvorin::headless {

class PropertyAccessHeadless final : public PropertyAccess {
 public:
  PropertyAccessHeadless() = default;
  explicit PropertyAccessHeadless(std::vector<Delvorin*> selected) : selected_(std::move(selected)) {}

  // The objects the host selected, the first one being edited.
  void Select(std::vector<Delvorin*> selected) { selected_ = std::move(selected); }

  bool HasSelection() const override { return !selected_.empty() && selected_.front() != nullptr; }
  Result Read(std::u16string_view name, Variant& value) override;
  Result Write(std::u16string_view name, const Variant& value) override;

 private:
  std::vector<Delvorin*> selected_;
};

}  // namespace delvorin::headless
