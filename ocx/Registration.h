#pragma once
// Self-registration of the server: the class, its ProgIDs, the control and insertable
// categories, the toolbox bitmap, the classes of the two property pages and the type library;
// unregistration removes exactly that.
#include <windows.h>

namespace delvorin::ocx {

HRESULT RegisterServer(HMODULE module);
HRESULT UnregisterServer(HMODULE module);

}  // namespace delvorin::ocx
