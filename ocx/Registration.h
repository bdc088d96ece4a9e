#pragma once
// Registration of the server, from the rows tools/registration.py writes: per machine
// (DllRegisterServer: the classes, their ProgIDs, categories and pages, then the type library
// through RegisterTypeLib) and per user (DllInstall with "user": the same keys below
// HKCU\Software\Classes, the type library's written by the server itself, since
// RegisterTypeLib writes to the machine). Unregistration removes exactly what was written.
#include <windows.h>

namespace delvorin::ocx {

HRESULT RegisterServer(HMODULE module);
HRESULT UnregisterServer(HMODULE module);
HRESULT RegisterServerForUser(HMODULE module);
HRESULT UnregisterServerForUser(HMODULE module);

}  // namespace delvorin::ocx
