#include "ocx/NotificationWindow.h"

#include "ocx/EditBoxWin32.h"

namespace delvorin::ocx {
namespace {

constexpr wchar_t kClasse[] = L"DelvorinAvisos";

struct PerThread {
  HWND janela = nullptr;
  int usuarios = 0;
};
thread_local PerThread t_avisos;

LRESULT CALLBACK Procedimento(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && HIWORD(wp) == EN_CHANGE) {
    if (EditBoxWin32* caixa = EditBoxWin32::DaJanela(reinterpret_cast<HWND>(lp))) caixa->Notificado();
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

HMODULE Modulo() {
  HMODULE m = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&Procedimento), &m);
  return m;
}

}  // namespace

HWND NotificationWindow::Acquire() {
  PerThread& t = t_avisos;
  if (!t.janela) {
    static const bool registrada = [] {
      WNDCLASSW classe{};
      classe.lpfnWndProc = Procedimento;
      classe.hInstance = Modulo();
      classe.lpszClassName = kClasse;
      return RegisterClassW(&classe) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    if (!registrada) return nullptr;
    t.janela = CreateWindowExW(0, kClasse, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, Modulo(), nullptr);
    if (!t.janela) return nullptr;
  }
  ++t.usuarios;
  return t.janela;
}

HWND NotificationWindow::Current() { return t_avisos.janela; }

void NotificationWindow::Release() {
  PerThread& t = t_avisos;
  if (t.usuarios > 0 && --t.usuarios == 0 && t.janela) {
    DestroyWindow(t.janela);
    t.janela = nullptr;
  }
}

}  // namespace delvorin::ocx
