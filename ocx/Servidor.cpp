// Entry points of the in-process server Delvorin2.ocx.
#include "ocx/Controle.h"
#include "ocx/Identificadores.h"
#include "ocx/Registro.h"

namespace {
HMODULE g_modulo = nullptr;
}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instancia, DWORD motivo, LPVOID reservado) {
  if (motivo == DLL_PROCESS_ATTACH) {
    g_modulo = instancia;
    DisableThreadLibraryCalls(instancia);
  }
  // Unloaded by FreeLibrary (COM's CoFreeUnusedLibraries): a DLL's window class outlives it
  // unless the DLL unregisters it.
  if (motivo == DLL_PROCESS_DETACH && !reservado) UnregisterClassW(L"DelvorinPai", instancia);
  return TRUE;
}

namespace {

LONG g_travas = 0;

HRESULT WINAPI Fabrica_QueryInterface(IClassFactory* iface, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory)) return E_NOINTERFACE;
  *ppv = iface;
  return S_OK;
}
ULONG WINAPI Fabrica_AddRef(IClassFactory*) { return 2; }
ULONG WINAPI Fabrica_Release(IClassFactory*) { return 1; }
HRESULT WINAPI Fabrica_CreateInstance(IClassFactory*, IUnknown* externo, REFIID riid, void** ppv) {
  return delvorin::ocx::CriaControle(externo, riid, ppv);
}
HRESULT WINAPI Fabrica_LockServer(IClassFactory*, BOOL trava) {
  if (trava) InterlockedIncrement(&g_travas);
  else InterlockedDecrement(&g_travas);
  return S_OK;
}

const IClassFactoryVtbl kFabricaVtbl = {
    Fabrica_QueryInterface, Fabrica_AddRef, Fabrica_Release, Fabrica_CreateInstance, Fabrica_LockServer,
};
IClassFactory g_fabrica = {const_cast<IClassFactoryVtbl*>(&kFabricaVtbl)};

}  // namespace

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (!IsEqualCLSID(clsid, delvorin::ocx::kClsidDelvorin)) return CLASS_E_CLASSNOTAVAILABLE;
  return Fabrica_QueryInterface(&g_fabrica, riid, ppv);
}

extern "C" HRESULT WINAPI DllCanUnloadNow() {
  return delvorin::ocx::g_objetos == 0 && g_travas == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT WINAPI DllRegisterServer() { return delvorin::ocx::RegistraServidor(g_modulo); }

extern "C" HRESULT WINAPI DllUnregisterServer() { return delvorin::ocx::DesregistraServidor(g_modulo); }
