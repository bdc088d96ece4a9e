#pragma once
// Runtime services on Win32: the modal message box, "{tab}" queued to the edit box as a real
// Tab key (handled once the current handler returns), and the invariant case mapping.
#include "ocx/Com.h"

#include "core/Services.h"

namespace delvorin::ocx {

class RuntimeWin32 final : public Runtime {
 public:
  void UseWindow(HWND window) { window_ = window; }
  void MsgBox(std::u16string_view prompt, int32_t style, std::u16string_view title) override;
  Status SendKeys(std::u16string_view keys) override;
  std::u16string UCase(std::u16string_view text) override;
  std::u16string LCase(std::u16string_view text) override;

 private:
  HWND window_ = nullptr;
};

}  // namespace delvorin::ocx
