// The ways the server is installed, each in a prefix where nothing of it is registered:
//   test_install sidebyside          run beside its application manifest, which depends on the
//                                    assembly Delvorin2.X: the control is used without registration;
//   test_install explicit MANIFEST   no application manifest: first the control is not found,
//                                    then it is used under an activation context made from MANIFEST;
//   test_install user SERVER         regsvr32 /n /i:user writes every key below HKCU and none
//                                    below HKLM, the same keys as per-machine registration, and
//                                    /u /n /i:user removes them all;
//   test_install installed FOLDER    installed by the MSI into FOLDER: the keys point there and
//                                    the control is used;
//   test_install installed_user FOLDER  the same, installed per user: the keys are below HKCU;
//   test_install removed FOLDER      uninstalled: no key of the server and no file is left.
#include <algorithm>
#include <cwctype>
#include <initializer_list>
#include <map>
#include <string>

#include "RegistrationRows.h"
#include "ocx/Com.h"
#include "ocx/Identifiers.h"
#include "ocx/tests/Test.h"

using namespace delvorin::ocx;
using namespace delvorin::ocx::test;

namespace {

// ---- The control in use ----

HRESULT PutProperty(IDispatch* d, const wchar_t* name, VARIANT value) {
  DISPID id = DISPID_UNKNOWN, put = DISPID_PROPERTYPUT;
  LPOLESTR n = const_cast<LPOLESTR>(name);
  HRESULT hr = IDispatch_GetIDsOfNames(d, IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;
  DISPPARAMS args = {&value, &put, 1, 1};
  return IDispatch_Invoke(d, id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &args, nullptr, nullptr, nullptr);
}

std::wstring GetText(IDispatch* d) {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR n = const_cast<LPOLESTR>(L"Text");
  VARIANT v;
  VariantInit(&v);
  DISPPARAMS none = {};
  if (FAILED(IDispatch_GetIDsOfNames(d, IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id)) ||
      FAILED(IDispatch_Invoke(d, id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &v, nullptr, nullptr)) ||
      V_VT(&v) != VT_BSTR)
    return L"(none)";
  std::wstring s(V_BSTR(&v), SysStringLen(V_BSTR(&v)));
  VariantClear(&v);
  return s;
}

// Types a CPF's digits into the field through automation: type 9 lays them out.
void CheckProperties(IDispatch* d, const char* how) {
  VARIANT tipo;
  V_VT(&tipo) = VT_I2;
  V_I2(&tipo) = 9;
  VARIANT text;
  V_VT(&text) = VT_BSTR;
  V_BSTR(&text) = SysAllocString(L"12345678909");
  HRESULT h1 = PutProperty(d, L"Tipo", tipo), h2 = PutProperty(d, L"Text", text);
  VariantClear(&text);
  const std::wstring got = GetText(d);
  ok(h1 == S_OK && h2 == S_OK && got == L"123.456.789-09", "%s: Tipo %08lx, Text %08lx, read back \"%ls\"", how, h1, h2,
     got.c_str());
}

// The type information comes from the library the assembly (or the registry) names.
void CheckTypeInfo(IDispatch* d, const char* how) {
  ITypeInfo* info = nullptr;
  HRESULT hr = IDispatch_GetTypeInfo(d, 0, LOCALE_USER_DEFAULT, &info);
  BSTR name = nullptr;
  ITypeLib* lib = nullptr;
  UINT index = 0;
  TLIBATTR* attr = nullptr;
  if (info) ITypeInfo_GetDocumentation(info, MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
  if (info) ITypeInfo_GetContainingTypeLib(info, &lib, &index);
  if (lib) ITypeLib_GetLibAttr(lib, &attr);
  ok(hr == S_OK && name && std::wstring(name) == L"_Delvorin12" && attr && IsEqualGUID(attr->guid, kLibid) &&
         attr->wMajorVerNum == kVersionMajor && attr->wMinorVerNum == kVersionMinor,
     "%s: type information %08lx of %ls in library %d.%d", how, hr, name ? name : L"(none)",
     attr ? attr->wMajorVerNum : -1, attr ? attr->wMinorVerNum : -1);
  ITypeLib* loaded = nullptr;
  hr = LoadRegTypeLib(kLibid, kVersionMajor, kVersionMinor, LOCALE_NEUTRAL, &loaded);
  ok(hr == S_OK, "%s: LoadRegTypeLib: %08lx", how, hr);
  if (loaded) ITypeLib_Release(loaded);
  if (attr) ITypeLib_ReleaseTLibAttr(lib, attr);
  if (lib) ITypeLib_Release(lib);
  if (info) ITypeInfo_Release(info);
  SysFreeString(name);
}

// In another apartment the control is reached through the library's proxy, found by the
// interface's proxy entry.
struct Apartment {
  IStream* stream = nullptr;
  HANDLE context = INVALID_HANDLE_VALUE;
  HRESULT unmarshal = E_FAIL, put = E_FAIL;
  std::wstring text;
};

DWORD WINAPI OtherApartment(void* p) {
  auto* a = static_cast<Apartment*>(p);
  ULONG_PTR cookie = 0;
  if (a->context != INVALID_HANDLE_VALUE) ActivateActCtx(a->context, &cookie);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  _Delvorin12* d = nullptr;
  a->unmarshal = CoGetInterfaceAndReleaseStream(a->stream, kIid_Delvorin12, reinterpret_cast<void**>(&d));
  if (d) {
    BSTR s = SysAllocString(L"98765432100");
    a->put = _Delvorin12_put_Text(d, s);
    SysFreeString(s);
    BSTR got = nullptr;
    if (SUCCEEDED(_Delvorin12_get_Text(d, &got)) && got) a->text.assign(got, SysStringLen(got));
    SysFreeString(got);
    _Delvorin12_Release(d);
  }
  CoUninitialize();
  if (cookie) DeactivateActCtx(0, cookie);
  return 0;
}

void CheckMarshalling(IDispatch* d, HANDLE context, const char* how) {
  _Delvorin12* d12 = nullptr;
  IDispatch_QueryInterface(d, kIid_Delvorin12, reinterpret_cast<void**>(&d12));
  Apartment a;
  a.context = context;
  HRESULT hr = d12 ? CoMarshalInterThreadInterfaceInStream(kIid_Delvorin12, reinterpret_cast<IUnknown*>(d12), &a.stream)
                   : E_NOINTERFACE;
  ok(hr == S_OK, "%s: marshalling _Delvorin12: %08lx", how, hr);
  if (SUCCEEDED(hr)) {
    HANDLE thread = CreateThread(nullptr, 0, OtherApartment, &a, 0, nullptr);
    // The calls come back to this apartment as messages.
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, 20000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    CloseHandle(thread);
    ok(a.unmarshal == S_OK && a.put == S_OK && a.text == L"987.654.321-00",
       "%s: from another apartment: unmarshal %08lx, put %08lx, read \"%ls\"", how, a.unmarshal, a.put, a.text.c_str());
  }
  if (d12) _Delvorin12_Release(d12);
}

// The status bits a container reads before creating the control.
void CheckMiscStatus(IDispatch* d, const char* how) {
  DWORD fromRegistry = 0, fromObject = 0;
  HRESULT h1 = OleRegGetMiscStatus(kClsidDelvorin, DVASPECT_CONTENT, &fromRegistry);
  IOleObject* object = nullptr;
  IDispatch_QueryInterface(d, IID_IOleObject, reinterpret_cast<void**>(&object));
  HRESULT h2 = object ? IOleObject_GetMiscStatus(object, DVASPECT_CONTENT, &fromObject) : E_NOINTERFACE;
  if (object) IOleObject_Release(object);
  ok(h1 == S_OK && fromRegistry == 655761 && h2 == S_OK && fromObject == 655761,
     "%s: status bits %08lx %lu, object's %08lx %lu", how, h1, fromRegistry, h2, fromObject);
}

// The control in place in atl100's host window.
void CheckHosted(const char* how) {
  HMODULE atl = LoadLibraryW(L"atl100.dll");
  using Init = BOOL(WINAPI*)();
  using CreateFn = HRESULT(WINAPI*)(LPCOLESTR, HWND, IStream*, IUnknown**, IUnknown**, REFIID, IUnknown*);
  auto init = reinterpret_cast<Init>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")));
  auto create = reinterpret_cast<CreateFn>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxCreateControlEx")));
  ok(init && create, "%s: atl100.dll", how);
  if (!init || !create) return;
  init();
  HWND form = CreateWindowExW(0, L"STATIC", L"Delvorin", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 80, nullptr, nullptr,
                              nullptr, nullptr);
  IUnknown *container = nullptr, *control = nullptr;
  HRESULT hr = create(L"Delvorin2.Delvorin", form, nullptr, &container, &control, IID_NULL, nullptr);
  HWND window = nullptr;
  IOleInPlaceObject* inPlace = nullptr;
  if (control) IUnknown_QueryInterface(control, IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace));
  if (inPlace) {
    IOleInPlaceObject_GetWindow(inPlace, &window);
    IOleInPlaceObject_Release(inPlace);
  }
  HWND edit = window ? FindWindowExW(window, nullptr, L"Edit", nullptr) : nullptr;
  ok(hr == S_OK && window && IsChild(form, window) && edit, "%s: in atl100's host window: %08lx", how, hr);
  if (control) IUnknown_Release(control);
  if (container) IUnknown_Release(container);
  DestroyWindow(form);
}

// Everything a program does with the control: creation by both ProgIDs and by CLSID,
// properties, type information, status bits, another apartment and a host window.
void UseControl(HANDLE context, const char* how) {
  for (const wchar_t* progId : {kProgId, kVersionedProgId}) {
    CLSID clsid = {};
    HRESULT hr = CLSIDFromProgID(progId, &clsid);
    IDispatch* d = nullptr;
    if (SUCCEEDED(hr))
      hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&d));
    // Under an activation context the ProgID may map to an alias of the class: the object
    // itself says which class it is.
    CLSID real = {};
    IPersist* persist = nullptr;
    if (d) IDispatch_QueryInterface(d, IID_IPersist, reinterpret_cast<void**>(&persist));
    if (persist) {
      IPersist_GetClassID(persist, &real);
      IPersist_Release(persist);
    }
    ok(hr == S_OK && d && IsEqualCLSID(real, kClsidDelvorin), "%s: created by %ls: %08lx", how, progId, hr);
    if (d) IDispatch_Release(d);
  }
  IDispatch* d = nullptr;
  HRESULT hr = CoCreateInstance(kClsidDelvorin, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&d));
  ok(hr == S_OK && d, "%s: created by CLSID: %08lx", how, hr);
  if (!d) return;
  CheckProperties(d, how);
  CheckTypeInfo(d, how);
  CheckMiscStatus(d, how);
  CheckMarshalling(d, context, how);
  IDispatch_Release(d);
  CheckHosted(how);
}

void CheckNotFound(const char* how) {
  IUnknown* u = nullptr;
  HRESULT hr = CoCreateInstance(kClsidDelvorin, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(&u));
  ok(hr == REGDB_E_CLASSNOTREG && !u, "%s: created by CLSID: %08lx (not registered expected)", how, hr);
  if (u) IUnknown_Release(u);
  CLSID clsid = {};
  hr = CLSIDFromProgID(kProgId, &clsid);
  ok(hr == CO_E_CLASSSTRING, "%s: CLSIDFromProgID: %08lx", how, hr);
}

// ---- The keys ----

// Every value below a key, by its path below the classes' root and its name; a key without
// values is listed under the name "(key)".
using Snapshot = std::map<std::wstring, std::wstring>;

std::wstring Lower(std::wstring s) {
  for (wchar_t& c : s) c = static_cast<wchar_t>(std::towlower(c));
  return s;
}

void Collect(HKEY root, const std::wstring& path, Snapshot& into) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  DWORD values = 0, subkeys = 0;
  RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr, nullptr, nullptr);
  if (values == 0 && subkeys == 0) into[Lower(path) + L"|(key)"] = L"";
  for (DWORD i = 0; i < values; ++i) {
    wchar_t name[256];
    BYTE data[2048] = {};
    DWORD nameLength = 256, size = sizeof(data) - sizeof(wchar_t), type = 0;
    if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS) continue;
    std::wstring value(reinterpret_cast<const wchar_t*>(data));
    // Registering a type library may write its path in the long form.
    if (value.rfind(L"\\\\?\\", 0) == 0) value.erase(0, 4);
    into[Lower(path) + L"|" + Lower(name)] = Lower(value);
  }
  for (DWORD i = 0; i < subkeys; ++i) {
    wchar_t name[256];
    DWORD length = 256;
    if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
      Collect(root, path + L"\\" + name, into);
  }
  RegCloseKey(key);
}

// The server's trees below a classes' root.
template <size_t N>
void CollectTrees(HKEY root, const wchar_t* const (&trees)[N], Snapshot& into) {
  for (const wchar_t* tree : trees) Collect(root, tree, into);
}

Snapshot ServerKeys(HKEY root) {
  Snapshot s;
  CollectTrees(root, kClassTrees, s);
  CollectTrees(root, kTypeLibTrees, s);
  Collect(root, kTypeLibKey, s);
  return s;
}

// A new prefix may have no user classes yet: the key is made, so that what lands there later
// is seen through it.
HKEY OpenClasses(HKEY hive) {
  HKEY key = nullptr;
  RegCreateKeyExW(hive, L"Software\\Classes", 0, nullptr, 0, KEY_READ, nullptr, &key, nullptr);
  return key;
}

// The rows the server registers, as a snapshot of what they write for SERVER.
template <size_t N>
void ExpectRows(const RegistryRow (&rows)[N], const std::wstring& server, Snapshot& into) {
  const std::wstring folder = server.substr(0, server.find_last_of(L'\\'));
  for (const RegistryRow& row : rows) {
    std::wstring data = row.data ? row.data : L"";
    if (data.rfind(L"<module>", 0) == 0) data = server + data.substr(8);
    if (data == L"<folder>") data = folder;
    // A row without name and data makes a key with nothing in it.
    const std::wstring name = row.name ? Lower(row.name) : row.data ? L"" : L"(key)";
    into[Lower(row.key) + L"|" + name] = Lower(data);
  }
}

// The differences of two snapshots, one per line, for a failure's message.
std::string Differences(const Snapshot& a, const Snapshot& b) {
  std::wstring out;
  for (const auto& [k, v] : a)
    if (!b.count(k) || b.at(k) != v) out += L"\n  - " + k + L" = " + v;
  for (const auto& [k, v] : b)
    if (!a.count(k) || a.at(k) != v) out += L"\n  + " + k + L" = " + v;
  return Narrow(out.substr(0, 3000));
}

DWORD Regsvr32(const std::wstring& options, const std::wstring& server) {
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  std::wstring line = L"\"" + std::wstring(system) + L"\\regsvr32.exe\" /s " + options + L" \"" + server + L"\"";
  STARTUPINFOW si = {};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return ~0u;
  WaitForSingleObject(pi.hProcess, 60000);
  DWORD code = ~0u;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  return code;
}

void TestPerUser(const std::wstring& server) {
  HKEY user = OpenClasses(HKEY_CURRENT_USER), machine = OpenClasses(HKEY_LOCAL_MACHINE);
  const Snapshot before = ServerKeys(machine);
  ok(ServerKeys(user).empty() && before.empty(), "nothing of the server is registered before:%s",
     Differences({}, before).c_str());

  ok(Regsvr32(L"/n /i:user", server) == 0, "regsvr32 /n /i:user");
  const Snapshot perUser = ServerKeys(user);
  Snapshot expected;
  ExpectRows(kClassRows, server, expected);
  ExpectRows(kTypeLibRows, server, expected);
  ok(perUser == expected, "per user, the keys are the table's rows:%s", Differences(expected, perUser).c_str());
  ok(ServerKeys(machine).empty(), "per user, no key below HKLM");
  ok(Regsvr32(L"/u /n /i:user", server) == 0, "regsvr32 /u /n /i:user");
  const Snapshot left = ServerKeys(user);
  ok(left.empty(), "per user, unregistration leaves nothing:%s", Differences({}, left).c_str());

  // Per machine, regsvr32 and the type library's own registration write the same keys.
  ok(Regsvr32(L"", server) == 0, "regsvr32");
  const Snapshot perMachine = ServerKeys(machine);
  ok(perMachine == perUser, "per machine the same keys as per user:%s", Differences(perUser, perMachine).c_str());
  ok(ServerKeys(user).empty(), "per machine, no key below HKCU");
  ok(Regsvr32(L"/u", server) == 0, "regsvr32 /u");
  ok(ServerKeys(machine).empty(), "per machine, unregistration leaves nothing");

  // A line DllInstall does not know is refused.
  ok(Regsvr32(L"/n /i:todos", server) != 0 && ServerKeys(user).empty() && ServerKeys(machine).empty(),
     "regsvr32 /n /i:todos is refused and writes nothing");
  RegCloseKey(user);
  RegCloseKey(machine);
}

// Per machine the keys are below HKLM and the control is used; per user they are below HKCU,
// where Wine does not look classes up, so only where they landed is checked.
void TestInstalled(const std::wstring& folder, bool perUser) {
  HKEY user = OpenClasses(HKEY_CURRENT_USER), machine = OpenClasses(HKEY_LOCAL_MACHINE);
  const std::wstring server = folder + L"\\Delvorin2.ocx";
  Snapshot installed = ServerKeys(perUser ? user : machine), expected;
  ExpectRows(kClassRows, server, expected);
  ExpectRows(kTypeLibRows, server, expected);
  // The installer writes the folder with its closing separator.
  for (auto& [k, v] : installed)
    if (!v.empty() && v.back() == L'\\') v.pop_back();
  ok(installed == expected, "installed, the keys are the table's rows:%s", Differences(expected, installed).c_str());
  ok(ServerKeys(perUser ? machine : user).empty(), "installed %s, nothing below the other root",
     perUser ? "per user" : "per machine");
  ok(GetFileAttributesW(server.c_str()) != INVALID_FILE_ATTRIBUTES, "installed: %ls", server.c_str());
  RegCloseKey(user);
  RegCloseKey(machine);
  if (!perUser) UseControl(INVALID_HANDLE_VALUE, "installed");
}

void TestRemoved(const std::wstring& folder) {
  HKEY user = OpenClasses(HKEY_CURRENT_USER), machine = OpenClasses(HKEY_LOCAL_MACHINE);
  const Snapshot left = ServerKeys(machine);
  ok(left.empty() && ServerKeys(user).empty(), "removed: no key is left:%s", Differences({}, left).c_str());
  ok(GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES, "removed: %ls is gone", folder.c_str());
  RegCloseKey(user);
  RegCloseKey(machine);
}

void TestExplicit(const std::wstring& manifest) {
  CheckNotFound("without a manifest");
  ACTCTXW actctx = {};
  actctx.cbSize = sizeof(actctx);
  actctx.lpSource = manifest.c_str();
  HANDLE context = CreateActCtxW(&actctx);
  ok(context != INVALID_HANDLE_VALUE, "CreateActCtx %ls: %lu", manifest.c_str(), GetLastError());
  if (context == INVALID_HANDLE_VALUE) return;
  ULONG_PTR cookie = 0;
  ok(ActivateActCtx(context, &cookie), "ActivateActCtx");
  UseControl(context, "explicit context");
  DeactivateActCtx(0, cookie);
  ReleaseActCtx(context);
}

// A folder given as %ProgramFiles%\Delvorin2 or %LOCALAPPDATA%\Delvorin2.
std::wstring Expanded(const wchar_t* s) {
  wchar_t out[MAX_PATH * 2];
  DWORD n = ExpandEnvironmentStringsW(s, out, MAX_PATH * 2);
  return n > 0 && n <= MAX_PATH * 2 ? std::wstring(out) : std::wstring(s);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc > 1 ? argv[1] : L"";
  OleInitialize(nullptr);
  if (mode == L"sidebyside") {
    UseControl(INVALID_HANDLE_VALUE, "application manifest");
  } else if (mode == L"explicit" && argc > 2) {
    TestExplicit(argv[2]);
  } else if (mode == L"user" && argc > 2) {
    TestPerUser(argv[2]);
  } else if ((mode == L"installed" || mode == L"installed_user") && argc > 2) {
    TestInstalled(Expanded(argv[2]), mode == L"installed_user");
  } else if (mode == L"removed" && argc > 2) {
    TestRemoved(Expanded(argv[2]));
  } else {
    ok(false, "usage: test_install sidebyside | explicit MANIFEST | user SERVER | installed[_user] FOLDER | removed FOLDER");
  }
  OleUninitialize();
  return Result("test_install");
}
