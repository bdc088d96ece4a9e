#include "ocx/RuntimeWin32.h"

#include <initializer_list>
#include <string>

namespace delvorin::ocx {
namespace {

std::wstring Largo(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

std::u16string Mapeia(std::u16string_view texto, DWORD como) {
  if (texto.empty()) return {};
  std::wstring origem = Largo(texto);
  std::wstring destino(origem.size(), L'\0');
  // Brazilian Portuguese rules; a system without that locale maps by the invariant ones.
  int n = 0;
  for (LPCWSTR local : {L"pt-BR", LOCALE_NAME_INVARIANT}) {
    n = LCMapStringEx(local, como, origem.c_str(), static_cast<int>(origem.size()), destino.data(),
                      static_cast<int>(destino.size()), nullptr, nullptr, 0);
    if (n != 0) break;
  }
  if (n != static_cast<int>(origem.size())) return std::u16string(texto);  // mapping must keep the length
  return std::u16string(destino.begin(), destino.end());
}

}  // namespace

void RuntimeWin32::MsgBox(std::u16string_view prompt, int32_t style, std::u16string_view title) {
  std::wstring p = Largo(prompt), t = Largo(title);
  HWND dono = janela_ ? GetAncestor(janela_, GA_ROOT) : nullptr;
  MessageBoxW(dono, p.c_str(), t.empty() ? nullptr : t.c_str(), static_cast<UINT>(style));
}

Status RuntimeWin32::SendKeys(std::u16string_view keys) {
  if (keys != u"{tab}") return Status(Status::kInvalidArgument);
  // Queued to whichever window has the focus, so that the container's message loop sees it
  // after the handler returns.
  HWND foco = GetFocus();
  if (!foco) foco = janela_;
  if (!foco || !PostMessageW(foco, WM_KEYDOWN, VK_TAB, 0x000F0001)) return Status(Status::kFail);
  PostMessageW(foco, WM_KEYUP, VK_TAB, static_cast<LPARAM>(0xC00F0001u));
  return Status::Ok();
}

std::u16string RuntimeWin32::UCase(std::u16string_view text) { return Mapeia(text, LCMAP_UPPERCASE); }
std::u16string RuntimeWin32::LCase(std::u16string_view text) { return Mapeia(text, LCMAP_LOWERCASE); }

}  // namespace delvorin::ocx
