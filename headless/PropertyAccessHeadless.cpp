#include "headless/PropertyAccessHeadless.h"

namespace delvorin::headless {

Result PropertyAccessHeadless::Read(std::u16string_view name, Variant& value) {
  if (!HasSelection()) return NothingSelected();
  const PropertyDescription* d = FindProperty(name);
  if (!d) return Status(Status::kUnknownName);
  return selected_.front()->Get(d->id, value);
}

Result PropertyAccessHeadless::Write(std::u16string_view name, const Variant& value) {
  if (!HasSelection()) return NothingSelected();
  const PropertyDescription* d = FindProperty(name);
  if (!d) return Status(Status::kUnknownName);
  return selected_.front()->Put(d->id, value);
}

}  // namespace delvorin::headless
