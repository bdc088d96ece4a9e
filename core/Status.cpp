#include "core/Status.h"

namespace delvorin {

std::string_view Status::Description() const {
  switch (hresult_) {
    case kOk: return "OK";
    case kTypeMismatch: return "Type mismatch";
    case kOverflow: return "Overflow";
    case kUnknownName: return "Unknown property name";
    case kInvalidPropertyValue: return "Invalid property value";
    case kInvalidProcedureCall: return "Invalid procedure call or argument";
    case kReadOnly: return "Property is read-only";
    case kInvalidArgument: return "Invalid argument";
    case kOutOfMemory: return "Out of memory";
    case kReadFault: return "Unexpected end of data";
    case kInvalidHeader: return "Not data of this control";
    case kCorruptData: return "Corrupt data";
    case kUnknownInterface: return "Unknown interface";
    case kMemberNotFound: return "Member not found";
    case kParamNotFound: return "Parameter not found";
    case kNoNamedArgs: return "Named arguments not supported";
    case kBadParamCount: return "Wrong number of arguments or invalid property assignment";
    default: return "Unspecified error";
  }
}

}  // namespace delvorin
