#pragma once
// The edit box's own range checks on the forwarded properties, the same for every platform
// that realises TXO: a value outside them is an invalid property value.
#include "core/Properties.h"
#include "core/Variant.h"

namespace delvorin {

// True when the edit box accepts the value (already of the property's value type).
bool EditBoxAccepts(Property p, const Variant& v);

}  // namespace delvorin
