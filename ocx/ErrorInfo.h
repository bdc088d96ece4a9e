#pragma once
// Rich error information for the caller of a failed COM call (IErrorInfo on this thread).
#include <string_view>

#include "ocx/Com.h"

namespace delvorin::ocx {

void PublishError(std::u16string_view description, const wchar_t* source, const GUID& iid);

}  // namespace delvorin::ocx
