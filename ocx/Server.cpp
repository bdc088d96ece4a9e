// Entry points of the in-process server Delvorin2.ocx.
#include "ocx/Control.h"
#include "ocx/Identifiers.h"
#include "ocx/PropertyPage.h"
#include "ocx/Registration.h"

namespace {
HMODULE g_module = nullptr;
}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  }
  // Unloaded by FreeLibrary (COM's CoFreeUnusedLibraries): a DLL's window class outlives it
  // unless the DLL unregisters it.
  if (reason == DLL_PROCESS_DETACH && !reserved) UnregisterClassW(L"DelvorinPai", instance);
  return TRUE;
}

namespace {

LONG g_locks = 0;

// One class factory per class the server serves: the control and its two property pages.
struct ClassFactory {
  IClassFactory IClassFactory_iface;
  const GUID* clsid;
  HRESULT (*create)(IUnknown* outer, REFIID riid, void** ppv);
};

ClassFactory* impl_from_IClassFactory(IClassFactory* iface) { return CONTAINING_RECORD(iface, ClassFactory, IClassFactory_iface); }

HRESULT WINAPI Factory_QueryInterface(IClassFactory* iface, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory)) return E_NOINTERFACE;
  *ppv = iface;
  return S_OK;
}
ULONG WINAPI Factory_AddRef(IClassFactory*) { return 2; }
ULONG WINAPI Factory_Release(IClassFactory*) { return 1; }
HRESULT WINAPI Factory_CreateInstance(IClassFactory* iface, IUnknown* outer, REFIID riid, void** ppv) {
  return impl_from_IClassFactory(iface)->create(outer, riid, ppv);
}
HRESULT WINAPI Factory_LockServer(IClassFactory*, BOOL lock) {
  if (lock) InterlockedIncrement(&g_locks);
  else InterlockedDecrement(&g_locks);
  return S_OK;
}

const IClassFactoryVtbl kFactoryVtbl = {
    Factory_QueryInterface, Factory_AddRef, Factory_Release, Factory_CreateInstance, Factory_LockServer,
};
ClassFactory g_factories[] = {
    {{const_cast<IClassFactoryVtbl*>(&kFactoryVtbl)}, &delvorin::ocx::kClsidDelvorin, delvorin::ocx::CreateControl},
    {{const_cast<IClassFactoryVtbl*>(&kFactoryVtbl)}, &delvorin::ocx::kClsidGeral, delvorin::ocx::CreateGeralPage},
    {{const_cast<IClassFactoryVtbl*>(&kFactoryVtbl)}, &delvorin::ocx::kClsidSobre, delvorin::ocx::CreateSobrePage},
};

}  // namespace

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  for (ClassFactory& f : g_factories)
    if (IsEqualCLSID(clsid, *f.clsid)) return Factory_QueryInterface(&f.IClassFactory_iface, riid, ppv);
  return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT WINAPI DllCanUnloadNow() {
  return delvorin::ocx::g_objects == 0 && g_locks == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT WINAPI DllRegisterServer() { return delvorin::ocx::RegisterServer(g_module); }

extern "C" HRESULT WINAPI DllUnregisterServer() { return delvorin::ocx::UnregisterServer(g_module); }

// regsvr32 /n /i:user registers the server for the current user only, without administrator
// rights; /u /n /i:user removes that. "machine" is DllRegisterServer's registration. Without
// /n, regsvr32 calls DllRegisterServer first and then this with an empty line: nothing more.
extern "C" HRESULT WINAPI DllInstall(BOOL install, LPCWSTR line) {
  if (!line || !*line) return S_OK;
  if (CompareStringOrdinal(line, -1, L"user", -1, TRUE) == CSTR_EQUAL)
    return install ? delvorin::ocx::RegisterServerForUser(g_module) : delvorin::ocx::UnregisterServerForUser(g_module);
  if (CompareStringOrdinal(line, -1, L"machine", -1, TRUE) == CSTR_EQUAL)
    return install ? delvorin::ocx::RegisterServer(g_module) : delvorin::ocx::UnregisterServer(g_module);
  return E_INVALIDARG;
}
