#pragma once
// Outcome of an operation that can fail, carried as the HRESULT the Windows server will
// hand to its callers, so the engine and the COM layer agree on every error without mapping.
#include <cstdint>
#include <string_view>

namespace delvorin {

class Status {
 public:
  static constexpr int32_t kOk = 0;
  static constexpr int32_t kTypeMismatch = static_cast<int32_t>(0x80020005);         // DISP_E_TYPEMISMATCH
  static constexpr int32_t kOverflow = static_cast<int32_t>(0x8002000A);             // DISP_E_OVERFLOW
  static constexpr int32_t kUnknownName = static_cast<int32_t>(0x80020006);          // DISP_E_UNKNOWNNAME
  static constexpr int32_t kInvalidPropertyValue = static_cast<int32_t>(0x800A017C); // CTL_E_INVALIDPROPERTYVALUE
  static constexpr int32_t kInvalidProcedureCall = static_cast<int32_t>(0x800A0005); // CTL_E_ILLEGALFUNCTIONCALL
  static constexpr int32_t kReadOnly = static_cast<int32_t>(0x800A017F);             // CTL_E_SETNOTSUPPORTED
  static constexpr int32_t kInvalidArgument = static_cast<int32_t>(0x80070057);      // E_INVALIDARG
  static constexpr int32_t kOutOfMemory = static_cast<int32_t>(0x8007000E);          // E_OUTOFMEMORY
  static constexpr int32_t kFail = static_cast<int32_t>(0x80004005);                 // E_FAIL
  static constexpr int32_t kReadFault = static_cast<int32_t>(0x8003001E);            // STG_E_READFAULT
  static constexpr int32_t kInvalidHeader = static_cast<int32_t>(0x800300FB);        // STG_E_INVALIDHEADER
  static constexpr int32_t kCorruptData = static_cast<int32_t>(0x80030109);          // STG_E_DOCFILECORRUPT
  // The automation rules of IDispatch::Invoke.
  static constexpr int32_t kUnknownInterface = static_cast<int32_t>(0x80020001);     // DISP_E_UNKNOWNINTERFACE
  static constexpr int32_t kMemberNotFound = static_cast<int32_t>(0x80020003);       // DISP_E_MEMBERNOTFOUND
  static constexpr int32_t kParamNotFound = static_cast<int32_t>(0x80020004);        // DISP_E_PARAMNOTFOUND
  static constexpr int32_t kNoNamedArgs = static_cast<int32_t>(0x80020007);          // DISP_E_NONAMEDARGS
  static constexpr int32_t kBadParamCount = static_cast<int32_t>(0x8002000E);        // DISP_E_BADPARAMCOUNT

  constexpr Status() = default;
  constexpr explicit Status(int32_t hresult) : hresult_(hresult) {}

  static constexpr Status Ok() { return Status(); }
  static constexpr Status TypeMismatch() { return Status(kTypeMismatch); }
  static constexpr Status Overflow() { return Status(kOverflow); }
  static constexpr Status InvalidPropertyValue() { return Status(kInvalidPropertyValue); }

  constexpr bool ok() const { return hresult_ >= 0; }
  constexpr int32_t hresult() const { return hresult_; }
  constexpr bool operator==(const Status&) const = default;

  // English text of the error, as the automation layer describes it to a host.
  std::string_view Description() const;

 private:
  int32_t hresult_ = kOk;
};

}  // namespace delvorin

// Propagates the first failure to the caller.
#define DELVORIN_TRY(expr)                 \
  do {                                     \
    ::delvorin::Status status_ = (expr);   \
    if (!status_.ok()) return status_;     \
  } while (0)
