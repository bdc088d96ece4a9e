#include "ocx/ErrorInfo.h"

#include <string>

namespace delvorin::ocx {

void PublishError(std::u16string_view description, const wchar_t* source, const GUID& iid) {
  ICreateErrorInfo* create = nullptr;
  if (FAILED(CreateErrorInfo(&create))) return;
  std::wstring text(description.begin(), description.end());
  ICreateErrorInfo_SetDescription(create, text.data());
  ICreateErrorInfo_SetSource(create, const_cast<LPOLESTR>(source));
  ICreateErrorInfo_SetGUID(create, iid);
  IErrorInfo* info = nullptr;
  if (SUCCEEDED(ICreateErrorInfo_QueryInterface(create, IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
    SetErrorInfo(0, info);
    IErrorInfo_Release(info);
  }
  ICreateErrorInfo_Release(create);
}

}  // namespace delvorin::ocx
