#include "core/EditBoxRules.h"

namespace delvorin {
namespace {

// OLE colours: RGB and palette forms, or a system colour index up to 0x18.
bool IsValidColour(int32_t c) {
  const uint32_t u = static_cast<uint32_t>(c);
  const uint32_t high = u >> 24;
  return high <= 0x02 || (high == 0x80 && (u & 0x00FFFFFF) <= 0x18);
}

}  // namespace

bool EditBoxAccepts(Property p, const Variant& v) {
  switch (p) {
    case Property::Alignment: return v.i2() >= 0 && v.i2() <= 2;
    case Property::BorderStyle:
    case Property::Appearance: return v.i2() == 0 || v.i2() == 1;
    case Property::BackColor:
    case Property::ForeColor: return IsValidColour(v.i4());
    case Property::MaxLength: return v.i4() >= 0;
    case Property::PasswordChar: return v.str().size() <= 1;
    case Property::MousePointer: return (v.i2() >= 0 && v.i2() <= 15) || v.i2() == 99;
    case Property::Font: return v.object() != nullptr;
    default: return true;
  }
}

}  // namespace delvorin
