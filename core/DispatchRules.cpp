#include "core/DispatchRules.h"

namespace delvorin {

bool IsControlMember(int32_t dispid) {
  if (dispid == kAtualiza.dispid) return true;
  for (const PropertyDescription& d : kProperties)
    if (d.dispid == dispid) return true;
  return false;
}

Status CheckDispatchCall(const DispatchCall& call, uint32_t& argumentError) {
  using namespace dispatch;
  constexpr uint16_t kAll = kMethod | kPropertyGet | kPropertyPut | kPropertyPutRef;
  const bool put = (call.flags & (kPropertyPut | kPropertyPutRef)) != 0;
  const bool get = (call.flags & (kMethod | kPropertyGet)) != 0;
  // No kind, an unknown flag, or a put that is also a get or call.
  if (call.flags == 0 || (call.flags & ~kAll) != 0 || (put && get)) return Status(Status::kInvalidArgument);
  if (!IsControlMember(call.dispid)) return Status(Status::kMemberNotFound);
  const uint32_t named = call.namedCount;
  if ((call.argumentCount > 0 && !call.argumentsGiven) || (named > 0 && !call.namedIds) || named > call.argumentCount)
    return Status(Status::kInvalidArgument);

  if (!put) {
    // Every member is read, or called, without arguments.
    if (named > 0) return Status(Status::kNoNamedArgs);
    if (call.argumentCount != 0) return Status(Status::kBadParamCount);
    return Status::Ok();
  }
  if (call.dispid == kAtualiza.dispid) return Status(Status::kMemberNotFound);  // a method, not a property
  // A put takes exactly its value, named DISPID_PROPERTYPUT.
  if (call.argumentCount != 1) return Status(Status::kBadParamCount);
  if (named != 1 || call.namedIds[0] != kPropertyPutId) {
    argumentError = 0;
    return Status(Status::kParamNotFound);
  }
  // A well-formed write of a property that has no put is a write of a read-only property, as
  // a host reports it, not a missing member.
  for (const PropertyDescription& d : kProperties)
    if (d.dispid == call.dispid && d.readOnly) return Status(Status::kReadOnly);
  return Status::Ok();
}

}  // namespace delvorin
