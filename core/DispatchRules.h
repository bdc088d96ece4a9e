#pragma once
// What the automation rules require of a call through IDispatch::Invoke on the control,
// checked before the type information is asked: the kind of call, the member, and the count
// and names of its arguments. A call refused here reaches no property.
#include <cstdint>

#include "core/Properties.h"
#include "core/Status.h"

namespace delvorin {

// The DISPATCH_ flags of Invoke.
namespace dispatch {
inline constexpr uint16_t kMethod = 1;
inline constexpr uint16_t kPropertyGet = 2;
inline constexpr uint16_t kPropertyPut = 4;
inline constexpr uint16_t kPropertyPutRef = 8;
inline constexpr int32_t kPropertyPutId = -3;  // DISPID_PROPERTYPUT, the name of a put's value
}  // namespace dispatch

// One call's shape, as DISPPARAMS gives it: argumentsGiven is false when the argument array is
// missing; namedIds may be null (then with namedCount non-zero the call is malformed).
struct DispatchCall {
  int32_t dispid = 0;
  uint16_t flags = 0;
  uint32_t argumentCount = 0;
  bool argumentsGiven = true;
  uint32_t namedCount = 0;
  const int32_t* namedIds = nullptr;
};

// Ok, or the error the call gets; argumentError is set to the index (into the arguments, as
// Invoke numbers them) of the argument at fault when the error names one. A well-formed put of
// a read-only property gets Status::kReadOnly.
Status CheckDispatchCall(const DispatchCall& call, uint32_t& argumentError);

// Whether the control answers the dispatch id at all (a property of the table, or Atualiza).
bool IsControlMember(int32_t dispid);

}  // namespace delvorin
