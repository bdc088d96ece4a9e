#include "ocx/PropertyAccessDispatch.h"

#include <string>

namespace delvorin::ocx {
namespace {

std::u16string FromBstr(BSTR b) {
  return b ? std::u16string(reinterpret_cast<const char16_t*>(b), SysStringLen(b)) : std::u16string();
}

// The system's text of an HRESULT the automation layer has no description of.
std::u16string SystemMessageText(HRESULT hr) {
  wchar_t* text = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::u16string r;
  if (n && text) {
    r.assign(reinterpret_cast<const char16_t*>(text), n);
    while (!r.empty() && (r.back() == u'\n' || r.back() == u'\r' || r.back() == u' ')) r.pop_back();
  }
  LocalFree(text);
  return r;
}

std::u16string Describe(HRESULT hr) {
  std::u16string d = StatusDescription(Status(hr));
  if (hr != E_FAIL && d == StatusDescription(Status(Status::kFail))) {
    std::u16string s = SystemMessageText(hr);
    if (!s.empty()) d = std::move(s);
  }
  return d;
}

// The description the object left in its error information, when it says it leaves one.
std::u16string ObjectDescription(IDispatch* object) {
  ISupportErrorInfo* support = nullptr;
  if (FAILED(IDispatch_QueryInterface(object, IID_ISupportErrorInfo, reinterpret_cast<void**>(&support))) || !support)
    return {};
  const bool leavesInfo = ISupportErrorInfo_InterfaceSupportsErrorInfo(support, IID_IDispatch) == S_OK;
  ISupportErrorInfo_Release(support);
  IErrorInfo* info = nullptr;
  if (!leavesInfo || GetErrorInfo(0, &info) != S_OK || !info) return {};
  BSTR text = nullptr;
  IErrorInfo_GetDescription(info, &text);
  IErrorInfo_Release(info);
  std::u16string r = FromBstr(text);
  SysFreeString(text);
  return r;
}

}  // namespace

void PropertyAccessDispatch::Select(IDispatch* object) {
  if (object) IDispatch_AddRef(object);
  if (object_) IDispatch_Release(object_);
  object_ = object;
}

DISPID PropertyAccessDispatch::Id(std::u16string_view name) const {
  if (!object_) return DISPID_UNKNOWN;
  std::wstring w(name.begin(), name.end());
  LPOLESTR p = w.data();
  DISPID id = DISPID_UNKNOWN;
  if (FAILED(IDispatch_GetIDsOfNames(object_, IID_NULL, &p, 1, LOCALE_USER_DEFAULT, &id))) return DISPID_UNKNOWN;
  return id;
}

Result PropertyAccessDispatch::Invoke(std::u16string_view name, WORD flags, DISPPARAMS* params, VARIANT* result) {
  if (!object_) return NothingSelected();
  std::wstring w(name.begin(), name.end());
  LPOLESTR p = w.data();
  DISPID id = DISPID_UNKNOWN;
  HRESULT hr = IDispatch_GetIDsOfNames(object_, IID_NULL, &p, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return {Status(hr), Describe(hr) + u": " + std::u16string(name)};

  EXCEPINFO excepInfo{};
  UINT argument = 0;
  SetErrorInfo(0, nullptr);  // what is read after a failure is this call's
  hr = IDispatch_Invoke(object_, id, IID_NULL, LOCALE_USER_DEFAULT, flags, params, result, &excepInfo, &argument);
  if (SUCCEEDED(hr)) return {};

  std::u16string description;
  if (hr == DISP_E_EXCEPTION) {
    if (excepInfo.pfnDeferredFillIn) excepInfo.pfnDeferredFillIn(&excepInfo);
    if (excepInfo.scode) hr = excepInfo.scode;
    else if (excepInfo.wCode) hr = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, excepInfo.wCode);
    description = FromBstr(excepInfo.bstrDescription);
  } else {
    description = ObjectDescription(object_);
  }
  SysFreeString(excepInfo.bstrSource);
  SysFreeString(excepInfo.bstrDescription);
  SysFreeString(excepInfo.bstrHelpFile);
  if (description.empty()) description = Describe(hr);
  return {Status(hr), std::move(description)};
}

Result PropertyAccessDispatch::Read(std::u16string_view name, Variant& value) {
  VARIANT result;
  VariantInit(&result);
  DISPPARAMS noArgs{nullptr, nullptr, 0, 0};
  Result r = Invoke(name, DISPATCH_PROPERTYGET, &noArgs, &result);
  if (r.ok()) {
    HRESULT hr = FromVariant(result, value);
    if (SUCCEEDED(hr) && value.type() == VarType::Object) hr = DISP_E_TYPEMISMATCH;
    if (FAILED(hr)) r = Result(Status(hr), Describe(hr) + u": " + std::u16string(name));
  }
  VariantClear(&result);
  return r;
}

Result PropertyAccessDispatch::Write(std::u16string_view name, const Variant& value) {
  VARIANT argument;
  HRESULT hr = value.type() == VarType::Object ? DISP_E_TYPEMISMATCH : ToVariant(value, argument);
  if (FAILED(hr)) return Status(hr);
  DISPID namedArg = DISPID_PROPERTYPUT;
  DISPPARAMS params{&argument, &namedArg, 1, 1};
  Result r = Invoke(name, DISPATCH_PROPERTYPUT, &params, nullptr);
  VariantClear(&argument);
  return r;
}

}  // namespace delvorin::ocx
