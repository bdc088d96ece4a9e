#include "ocx/Registration.h"

#include <oleauto.h>

#include <string>
#include <utility>

#include "ocx/Identifiers.h"
#include "RegistrationRows.h"

namespace delvorin::ocx {
namespace {

std::wstring ModulePath(HMODULE module) {
  wchar_t path[MAX_PATH * 2];
  DWORD n = GetModuleFileNameW(module, path, MAX_PATH * 2);
  return std::wstring(path, n);
}

// A row's data with the server's path and folder in place of "<module>" and "<folder>".
std::wstring Expand(const wchar_t* data, const std::wstring& module) {
  std::wstring s = data ? data : L"";
  const std::wstring folder = module.substr(0, module.find_last_of(L'\\'));
  for (const auto& [mark, by] : {std::pair{std::wstring(L"<module>"), module}, std::pair{std::wstring(L"<folder>"), folder}}) {
    for (size_t at = s.find(mark); at != std::wstring::npos; at = s.find(mark, at + by.size())) s.replace(at, mark.size(), by);
  }
  return s;
}

HRESULT WriteRow(HKEY root, const RegistryRow& row, const std::wstring& module) {
  HKEY key = nullptr;
  LONG r = RegCreateKeyExW(root, row.key, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
  if (r != ERROR_SUCCESS) return HRESULT_FROM_WIN32(r);
  if (row.name || row.data) {
    const std::wstring data = Expand(row.data, module);
    r = RegSetValueExW(key, row.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  }
  RegCloseKey(key);
  return HRESULT_FROM_WIN32(r);
}

template <size_t N>
HRESULT WriteRows(HKEY root, const RegistryRow (&rows)[N], const std::wstring& module) {
  for (const RegistryRow& row : rows) {
    HRESULT hr = WriteRow(root, row, module);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

HRESULT DeleteTree(HKEY root, const wchar_t* key) {
  LONG r = RegDeleteTreeW(root, key);
  if (r == ERROR_FILE_NOT_FOUND) return S_OK;
  if (r != ERROR_SUCCESS) return HRESULT_FROM_WIN32(r);
  r = RegDeleteKeyW(root, key);
  return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(r);
}

template <size_t N>
HRESULT DeleteTrees(HKEY root, const wchar_t* const (&keys)[N]) {
  for (const wchar_t* key : keys) {
    HRESULT hr = DeleteTree(root, key);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

SYSKIND LibrarySysKind() { return sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32; }

bool KeyExists(HKEY root, const std::wstring& key) {
  HKEY k = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  RegCloseKey(k);
  return true;
}

// The user's classes root, HKCU\Software\Classes, opened for writing.
HRESULT OpenUserClasses(HKEY* key) {
  *key = nullptr;
  LONG r = RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes", 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, key,
                           nullptr);
  return HRESULT_FROM_WIN32(r);
}

}  // namespace

HRESULT RegisterServer(HMODULE module) {
  const std::wstring path = ModulePath(module);
  HRESULT hr = WriteRows(HKEY_CLASSES_ROOT, kClassRows, path);
  if (FAILED(hr)) return hr;
  ITypeLib* typeLib = nullptr;
  hr = LoadTypeLibEx(path.c_str(), REGKIND_REGISTER, &typeLib);
  if (typeLib) typeLib->Release();
  return hr;
}

HRESULT UnregisterServer(HMODULE) {
  // The type library first: it owns the interface keys it wrote (all three interfaces are in
  // it). A 1.1 or 1.0 registration left by an earlier server, installed over, goes too, as far
  // as it can (its file may be gone). A version that is not registered is skipped: Wine and
  // Windows report that differently.
  for (WORD minor : {kVersionMinor, WORD{1}, WORD{0}}) {
    if (!KeyExists(HKEY_CLASSES_ROOT, std::wstring(L"TypeLib\\") + kLibidText + L"\\" + std::to_wstring(kVersionMajor) +
                                          L"." + std::to_wstring(minor)))
      continue;
    HRESULT hr = UnRegisterTypeLib(kLibid, kVersionMajor, minor, LOCALE_NEUTRAL, LibrarySysKind());
    if (minor == kVersionMinor && FAILED(hr) && hr != TYPE_E_REGISTRYACCESS && hr != TYPE_E_CANTLOADLIBRARY) return hr;
  }
  return DeleteTrees(HKEY_CLASSES_ROOT, kClassTrees);
}

HRESULT RegisterServerForUser(HMODULE module) {
  HKEY classes = nullptr;
  HRESULT hr = OpenUserClasses(&classes);
  if (FAILED(hr)) return hr;
  const std::wstring path = ModulePath(module);
  hr = WriteRows(classes, kClassRows, path);
  if (SUCCEEDED(hr)) hr = WriteRows(classes, kTypeLibRows, path);
  RegCloseKey(classes);
  // Nothing half written stays behind.
  if (FAILED(hr)) UnregisterServerForUser(module);
  return hr;
}

HRESULT UnregisterServerForUser(HMODULE) {
  HKEY classes = nullptr;
  HRESULT hr = OpenUserClasses(&classes);
  if (FAILED(hr)) return hr;
  hr = DeleteTrees(classes, kTypeLibTrees);
  if (SUCCEEDED(hr)) hr = DeleteTrees(classes, kClassTrees);
  // The library's key goes with its last version.
  if (SUCCEEDED(hr)) RegDeleteKeyW(classes, kTypeLibKey);
  RegCloseKey(classes);
  return hr;
}

}  // namespace delvorin::ocx
