#include "ocx/Registration.h"

#include <oleauto.h>

#include <string>

#include "ocx/Identifiers.h"

namespace delvorin::ocx {
namespace {

constexpr const wchar_t* kCatidControl = L"{40FC6ED4-2438-11CF-A3DB-080036F12502}";
constexpr const wchar_t* kCatidInsertable = L"{40FC6ED3-2438-11CF-A3DB-080036F12502}";
// OLEMISC_RECOMPOSEONRESIZE | CANTLINKINSIDE | INSIDEOUT | ACTIVATEWHENVISIBLE | SETCLIENTSITEFIRST
constexpr const wchar_t* kMiscStatus = L"655761";

struct RegValue {
  std::wstring key;  // below HKEY_CLASSES_ROOT
  const wchar_t* name;  // nullptr: the key's default value
  std::wstring data;
};

std::wstring ModulePath(HMODULE module) {
  wchar_t path[MAX_PATH * 2];
  DWORD n = GetModuleFileNameW(module, path, MAX_PATH * 2);
  return std::wstring(path, n);
}

HRESULT WriteValue(const RegValue& v) {
  HKEY key = nullptr;
  LONG r = RegCreateKeyExW(HKEY_CLASSES_ROOT, v.key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
  if (r != ERROR_SUCCESS) return HRESULT_FROM_WIN32(r);
  if (v.name != nullptr || !v.data.empty()) {
    r = RegSetValueExW(key, v.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(v.data.c_str()),
                       static_cast<DWORD>((v.data.size() + 1) * sizeof(wchar_t)));
  }
  RegCloseKey(key);
  return HRESULT_FROM_WIN32(r);
}

HRESULT DeleteTree(const std::wstring& key) {
  LONG r = RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
  if (r == ERROR_FILE_NOT_FOUND) return S_OK;
  if (r != ERROR_SUCCESS) return HRESULT_FROM_WIN32(r);
  r = RegDeleteKeyW(HKEY_CLASSES_ROOT, key.c_str());
  return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(r);
}

SYSKIND LibrarySysKind() { return sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32; }

bool KeyExists(const std::wstring& key) {
  HKEY k = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  RegCloseKey(k);
  return true;
}

}  // namespace

HRESULT RegisterServer(HMODULE module) {
  const std::wstring path = ModulePath(module);
  const std::wstring clsid = std::wstring(L"CLSID\\") + kClsidText;
  const std::wstring geralPage = std::wstring(L"CLSID\\") + kClsidGeralText;
  const std::wstring sobrePage = std::wstring(L"CLSID\\") + kClsidSobreText;
  const RegValue values[] = {
      {clsid, nullptr, L"Delvorin"},
      {clsid + L"\\ProgID", nullptr, kVersionedProgId},
      {clsid + L"\\VersionIndependentProgID", nullptr, kProgId},
      {clsid + L"\\InprocServer32", nullptr, path},
      {clsid + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
      {clsid + L"\\Control", nullptr, L""},
      {clsid + L"\\Insertable", nullptr, L""},
      {clsid + L"\\MiscStatus", nullptr, L"0"},
      {clsid + L"\\MiscStatus\\1", nullptr, kMiscStatus},
      {clsid + L"\\ToolboxBitmap32", nullptr, path + L", 1"},
      {clsid + L"\\TypeLib", nullptr, kLibidText},
      {clsid + L"\\Version", nullptr, kVersionText},
      {clsid + L"\\Implemented Categories\\" + kCatidControl, nullptr, L""},
      {clsid + L"\\Implemented Categories\\" + kCatidInsertable, nullptr, L""},
      {kProgId, nullptr, L"Delvorin"},
      {std::wstring(kProgId) + L"\\CLSID", nullptr, kClsidText},
      {std::wstring(kProgId) + L"\\CurVer", nullptr, kVersionedProgId},
      {kVersionedProgId, nullptr, L"Delvorin"},
      {std::wstring(kVersionedProgId) + L"\\CLSID", nullptr, kClsidText},
      {std::wstring(kVersionedProgId) + L"\\Insertable", nullptr, L""},
      // The property pages: plain in-process classes that the host's property frame creates.
      {geralPage, nullptr, L"Geral"},
      {geralPage + L"\\InprocServer32", nullptr, path},
      {geralPage + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
      {sobrePage, nullptr, L"Sobre"},
      {sobrePage + L"\\InprocServer32", nullptr, path},
      {sobrePage + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
  };
  for (const RegValue& v : values) {
    HRESULT hr = WriteValue(v);
    if (FAILED(hr)) return hr;
  }
  ITypeLib* typeLib = nullptr;
  HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_REGISTER, &typeLib);
  if (typeLib) typeLib->Release();
  return hr;
}

HRESULT UnregisterServer(HMODULE) {
  // The type library first: it owns the interface keys it wrote (all three interfaces are in
  // it). A 1.1 or 1.0 registration left by an earlier server, installed over, goes too, as far
  // as it can (its file may be gone). A version that is not registered is skipped: Wine and
  // Windows report that differently.
  for (WORD minor : {kVersionMinor, WORD{1}, WORD{0}}) {
    if (!KeyExists(std::wstring(L"TypeLib\\") + kLibidText + L"\\" + std::to_wstring(kVersionMajor) + L"." +
                     std::to_wstring(minor)))
      continue;
    HRESULT hr = UnRegisterTypeLib(kLibid, kVersionMajor, minor, LOCALE_NEUTRAL, LibrarySysKind());
    if (minor == kVersionMinor && FAILED(hr) && hr != TYPE_E_REGISTRYACCESS && hr != TYPE_E_CANTLOADLIBRARY) return hr;
  }
  for (const std::wstring& key : {std::wstring(L"CLSID\\") + kClsidText, std::wstring(L"CLSID\\") + kClsidGeralText,
                                    std::wstring(L"CLSID\\") + kClsidSobreText, std::wstring(kVersionedProgId),
                                    std::wstring(kProgId)}) {
    HRESULT hr = DeleteTree(key);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

}  // namespace delvorin::ocx
