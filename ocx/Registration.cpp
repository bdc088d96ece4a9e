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
  std::wstring chave;  // below HKEY_CLASSES_ROOT
  const wchar_t* nome;  // nullptr: the key's default value
  std::wstring dado;
};

std::wstring CaminhoDoModulo(HMODULE modulo) {
  wchar_t caminho[MAX_PATH * 2];
  DWORD n = GetModuleFileNameW(modulo, caminho, MAX_PATH * 2);
  return std::wstring(caminho, n);
}

HRESULT Escreve(const RegValue& v) {
  HKEY chave = nullptr;
  LONG r = RegCreateKeyExW(HKEY_CLASSES_ROOT, v.chave.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &chave, nullptr);
  if (r != ERROR_SUCCESS) return HRESULT_FROM_WIN32(r);
  if (v.nome != nullptr || !v.dado.empty()) {
    r = RegSetValueExW(chave, v.nome, 0, REG_SZ, reinterpret_cast<const BYTE*>(v.dado.c_str()),
                       static_cast<DWORD>((v.dado.size() + 1) * sizeof(wchar_t)));
  }
  RegCloseKey(chave);
  return HRESULT_FROM_WIN32(r);
}

HRESULT ApagaArvore(const std::wstring& chave) {
  LONG r = RegDeleteTreeW(HKEY_CLASSES_ROOT, chave.c_str());
  if (r == ERROR_FILE_NOT_FOUND) return S_OK;
  if (r != ERROR_SUCCESS) return HRESULT_FROM_WIN32(r);
  r = RegDeleteKeyW(HKEY_CLASSES_ROOT, chave.c_str());
  return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(r);
}

SYSKIND SistemaDaBiblioteca() { return sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32; }

bool ExisteChave(const std::wstring& chave) {
  HKEY k = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, chave.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  RegCloseKey(k);
  return true;
}

}  // namespace

HRESULT RegistraServidor(HMODULE modulo) {
  const std::wstring caminho = CaminhoDoModulo(modulo);
  const std::wstring clsid = std::wstring(L"CLSID\\") + kTextoClsid;
  const std::wstring paginaGeral = std::wstring(L"CLSID\\") + kTextoClsidGeral;
  const std::wstring paginaSobre = std::wstring(L"CLSID\\") + kTextoClsidSobre;
  const RegValue valores[] = {
      {clsid, nullptr, L"Delvorin"},
      {clsid + L"\\ProgID", nullptr, kProgIdVersao},
      {clsid + L"\\VersionIndependentProgID", nullptr, kProgId},
      {clsid + L"\\InprocServer32", nullptr, caminho},
      {clsid + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
      {clsid + L"\\Control", nullptr, L""},
      {clsid + L"\\Insertable", nullptr, L""},
      {clsid + L"\\MiscStatus", nullptr, L"0"},
      {clsid + L"\\MiscStatus\\1", nullptr, kMiscStatus},
      {clsid + L"\\ToolboxBitmap32", nullptr, caminho + L", 1"},
      {clsid + L"\\TypeLib", nullptr, kTextoLibid},
      {clsid + L"\\Version", nullptr, kTextoVersao},
      {clsid + L"\\Implemented Categories\\" + kCatidControl, nullptr, L""},
      {clsid + L"\\Implemented Categories\\" + kCatidInsertable, nullptr, L""},
      {kProgId, nullptr, L"Delvorin"},
      {std::wstring(kProgId) + L"\\CLSID", nullptr, kTextoClsid},
      {std::wstring(kProgId) + L"\\CurVer", nullptr, kProgIdVersao},
      {kProgIdVersao, nullptr, L"Delvorin"},
      {std::wstring(kProgIdVersao) + L"\\CLSID", nullptr, kTextoClsid},
      {std::wstring(kProgIdVersao) + L"\\Insertable", nullptr, L""},
      // The property pages: plain in-process classes that the host's property frame creates.
      {paginaGeral, nullptr, L"Geral"},
      {paginaGeral + L"\\InprocServer32", nullptr, caminho},
      {paginaGeral + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
      {paginaSobre, nullptr, L"Sobre"},
      {paginaSobre + L"\\InprocServer32", nullptr, caminho},
      {paginaSobre + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
  };
  for (const RegValue& v : valores) {
    HRESULT hr = Escreve(v);
    if (FAILED(hr)) return hr;
  }
  ITypeLib* biblioteca = nullptr;
  HRESULT hr = LoadTypeLibEx(caminho.c_str(), REGKIND_REGISTER, &biblioteca);
  if (biblioteca) biblioteca->Release();
  return hr;
}

HRESULT DesregistraServidor(HMODULE) {
  // The type library first: it owns the interface keys it wrote (both interfaces are in it).
  // A 1.0 registration left by the previous server, installed over, goes too, as far as it
  // can (its file may be gone). A version that is not registered is skipped: Wine and Windows
  // report that differently.
  for (WORD menor : {kVersaoMenor, WORD{0}}) {
    if (!ExisteChave(std::wstring(L"TypeLib\\") + kTextoLibid + L"\\" + std::to_wstring(kVersaoMaior) + L"." +
                     std::to_wstring(menor)))
      continue;
    HRESULT hr = UnRegisterTypeLib(kLibid, kVersaoMaior, menor, LOCALE_NEUTRAL, SistemaDaBiblioteca());
    if (menor == kVersaoMenor && FAILED(hr) && hr != TYPE_E_REGISTRYACCESS && hr != TYPE_E_CANTLOADLIBRARY) return hr;
  }
  for (const std::wstring& chave : {std::wstring(L"CLSID\\") + kTextoClsid, std::wstring(L"CLSID\\") + kTextoClsidGeral,
                                    std::wstring(L"CLSID\\") + kTextoClsidSobre, std::wstring(kProgIdVersao),
                                    std::wstring(kProgId)}) {
    HRESULT hr = ApagaArvore(chave);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

}  // namespace delvorin::ocx
