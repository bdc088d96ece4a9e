// Entry points of the in-process server Delvorin2.ocx.
#include "ocx/Control.h"
#include "ocx/Identifiers.h"
#include "ocx/PropertyPage.h"
#include "ocx/Registration.h"

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

// One class factory per class the server serves: the control and its two property pages.
struct ClassFactory {
  IClassFactory IClassFactory_iface;
  const GUID* clsid;
  HRESULT (*cria)(IUnknown* externo, REFIID riid, void** ppv);
};

ClassFactory* impl_from_IClassFactory(IClassFactory* iface) { return CONTAINING_RECORD(iface, ClassFactory, IClassFactory_iface); }

HRESULT WINAPI Fabrica_QueryInterface(IClassFactory* iface, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory)) return E_NOINTERFACE;
  *ppv = iface;
  return S_OK;
}
ULONG WINAPI Fabrica_AddRef(IClassFactory*) { return 2; }
ULONG WINAPI Fabrica_Release(IClassFactory*) { return 1; }
HRESULT WINAPI Fabrica_CreateInstance(IClassFactory* iface, IUnknown* externo, REFIID riid, void** ppv) {
  return impl_from_IClassFactory(iface)->cria(externo, riid, ppv);
}
HRESULT WINAPI Fabrica_LockServer(IClassFactory*, BOOL trava) {
  if (trava) InterlockedIncrement(&g_travas);
  else InterlockedDecrement(&g_travas);
  return S_OK;
}

const IClassFactoryVtbl kFabricaVtbl = {
    Fabrica_QueryInterface, Fabrica_AddRef, Fabrica_Release, Fabrica_CreateInstance, Fabrica_LockServer,
};
ClassFactory g_fabricas[] = {
    {{const_cast<IClassFactoryVtbl*>(&kFabricaVtbl)}, &delvorin::ocx::kClsidDelvorin, delvorin::ocx::CriaControle},
    {{const_cast<IClassFactoryVtbl*>(&kFabricaVtbl)}, &delvorin::ocx::kClsidGeral, delvorin::ocx::CriaPaginaGeral},
    {{const_cast<IClassFactoryVtbl*>(&kFabricaVtbl)}, &delvorin::ocx::kClsidSobre, delvorin::ocx::CriaPaginaSobre},
};

}  // namespace

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  for (ClassFactory& f : g_fabricas)
    if (IsEqualCLSID(clsid, *f.clsid)) return Fabrica_QueryInterface(&f.IClassFactory_iface, riid, ppv);
  return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT WINAPI DllCanUnloadNow() {
  return delvorin::ocx::g_objetos == 0 && g_travas == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT WINAPI DllRegisterServer() { return delvorin::ocx::RegistraServidor(g_modulo); }

extern "C" HRESULT WINAPI DllUnregisterServer() { return delvorin::ocx::DesregistraServidor(g_modulo); }
