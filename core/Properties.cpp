#include "core/Properties.h"

#include <string>

#include "core/Variant.h"

namespace delvorin {

const PropertyDescription* FindProperty(std::u16string_view name) {
  for (const auto& d : kProperties)
    if (d.name == name) return &d;
  return nullptr;
}

VarType ValueTypeOf(PropertyType type) {
  switch (type) {
    case PropertyType::Int16: return VarType::I2;
    case PropertyType::Colour: return VarType::I4;
    case PropertyType::Boolean: return VarType::Bool;
    case PropertyType::Font: return VarType::Object;
    case PropertyType::Int32: return VarType::I4;
    case PropertyType::Text: return VarType::Str;
    case PropertyType::Byte: return VarType::UI1;
    case PropertyType::Picture: return VarType::Object;
    case PropertyType::Variant: return VarType::Empty;  // any: the property converts it itself
  }
  return VarType::Empty;
}

bool ReadUf(std::u16string_view value, std::u16string& uf) {
  std::u16string upper(value);
  for (char16_t& c : upper)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
  if (!upper.empty()) {
    bool found = false;
    for (std::u16string_view known : kUfs) found = found || known == upper;
    if (!found) return false;
  }
  uf = std::move(upper);
  return true;
}

}  // namespace delvorin
