#include "ocx/ErrorInfo.h"

#include <string>

namespace delvorin::ocx {

void PublicaErro(std::u16string_view descricao, const wchar_t* origem, const GUID& iid) {
  ICreateErrorInfo* cria = nullptr;
  if (FAILED(CreateErrorInfo(&cria))) return;
  std::wstring texto(descricao.begin(), descricao.end());
  ICreateErrorInfo_SetDescription(cria, texto.data());
  ICreateErrorInfo_SetSource(cria, const_cast<LPOLESTR>(origem));
  ICreateErrorInfo_SetGUID(cria, iid);
  IErrorInfo* info = nullptr;
  if (SUCCEEDED(ICreateErrorInfo_QueryInterface(cria, IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
    SetErrorInfo(0, info);
    IErrorInfo_Release(info);
  }
  ICreateErrorInfo_Release(cria);
}

}  // namespace delvorin::ocx
