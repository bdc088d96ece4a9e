#pragma once
// Rich error information for the caller of a failed COM call (IErrorInfo on this thread).
#include <string_view>

#include "ocx/Com.h"

namespace delvorin::ocx {

void PublicaErro(std::u16string_view descricao, const wchar_t* origem, const GUID& iid);

}  // namespace delvorin::ocx
