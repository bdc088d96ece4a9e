#include "ocx/RuntimeWin32.h"

#include <initializer_list>
#include <string>

namespace delvorin::ocx {
namespace {

std::wstring ToWide(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

std::u16string MapCase(std::u16string_view text, DWORD flags) {
  if (text.empty()) return {};
  std::wstring source = ToWide(text);
  std::wstring target(source.size(), L'\0');
  // Brazilian Portuguese rules; a system without that locale maps by the invariant ones.
  int n = 0;
  for (LPCWSTR localeName : {L"pt-BR", LOCALE_NAME_INVARIANT}) {
    n = LCMapStringEx(localeName, flags, source.c_str(), static_cast<int>(source.size()), target.data(),
                      static_cast<int>(target.size()), nullptr, nullptr, 0);
    if (n != 0) break;
  }
  if (n != static_cast<int>(source.size())) return std::u16string(text);  // mapping must keep the length
  return std::u16string(target.begin(), target.end());
}

}  // namespace

void RuntimeWin32::MsgBox(std::u16string_view prompt, int32_t style, std::u16string_view title) {
  std::wstring p = ToWide(prompt), t = ToWide(title);
  HWND owner = window_ ? GetAncestor(window_, GA_ROOT) : nullptr;
  MessageBoxW(owner, p.c_str(), t.empty() ? nullptr : t.c_str(), static_cast<UINT>(style));
}

Status RuntimeWin32::SendKeys(std::u16string_view keys) {
  if (keys != u"{tab}") return Status(Status::kInvalidArgument);
  // Queued to whichever window has the focus, so that the container's message loop sees it
  // after the handler returns.
  HWND focus = GetFocus();
  if (!focus) focus = window_;
  if (!focus || !PostMessageW(focus, WM_KEYDOWN, VK_TAB, 0x000F0001)) return Status(Status::kFail);
  PostMessageW(focus, WM_KEYUP, VK_TAB, static_cast<LPARAM>(0xC00F0001u));
  return Status::Ok();
}

std::u16string RuntimeWin32::UCase(std::u16string_view text) { return MapCase(text, LCMAP_UPPERCASE); }
std::u16string RuntimeWin32::LCase(std::u16string_view text) { return MapCase(text, LCMAP_LOWERCASE); }

}  // namespace delvorin::ocx
