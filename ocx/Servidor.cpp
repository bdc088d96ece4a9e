// Entry points of the in-process server Delvorin2.ocx.
#include <windows.h>

#include "ocx/Registro.h"

namespace {
HMODULE g_modulo = nullptr;
}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instancia, DWORD motivo, LPVOID) {
  if (motivo == DLL_PROCESS_ATTACH) {
    g_modulo = instancia;
    DisableThreadLibraryCalls(instancia);
  }
  return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID, REFIID, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  // The control object comes with the next step of the server; until then no class is served.
  return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT WINAPI DllCanUnloadNow() { return S_OK; }

extern "C" HRESULT WINAPI DllRegisterServer() { return delvorin::ocx::RegistraServidor(g_modulo); }

extern "C" HRESULT WINAPI DllUnregisterServer() { return delvorin::ocx::DesregistraServidor(g_modulo); }
