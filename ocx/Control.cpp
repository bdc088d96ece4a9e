// The control object: creation, IUnknown, IProvideClassInfo2, its window (the edit box's parent), the
// container side of the engine, and teardown in a fixed order on the last Release.
#include "ocx/Control.h"

#include <new>
#include <string>

#include "ocx/Identifiers.h"
#include "ocx/ErrorInfo.h"

namespace delvorin::ocx {

LONG g_objects = 0;

namespace {

constexpr wchar_t kOwnWindowClass[] = L"DelvorinPai";

Control* impl_from__Delvorin12(_Delvorin12* iface) { return CONTAINING_RECORD(iface, Control, _Delvorin12_iface); }
Control* impl_from_IProvideClassInfo2(IProvideClassInfo2* iface) {
  return CONTAINING_RECORD(iface, Control, IProvideClassInfo2_iface);
}

LRESULT CALLBACK OwnWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && HIWORD(wp) == EN_CHANGE) {
    auto* c = reinterpret_cast<Control*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (c && reinterpret_cast<HWND>(lp) == c->txo.window()) c->txo.NotifyChange();
    return 0;
  }
  if (msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORSTATIC) {
    auto* c = reinterpret_cast<Control*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (c && reinterpret_cast<HWND>(lp) == c->txo.window()) return reinterpret_cast<LRESULT>(c->txo.Colours(reinterpret_cast<HDC>(wp)));
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

HMODULE Module() {
  HMODULE m = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&OwnWindowProc), &m);
  return m;
}

// The type information, read once and shared by every control of the process (reading the
// library costs file and registry work); it goes with the last control, so that the server
// can be unloaded.
struct SharedTypes {
  SRWLOCK lock = SRWLOCK_INIT;
  LONG users = 0;
  ITypeInfo* interface_ = nullptr;
  ITypeInfo* cls = nullptr;
} g_types;

HRESULT LoadTypes(Control* c) {
  AcquireSRWLockExclusive(&g_types.lock);
  HRESULT hr = S_OK;
  if (!g_types.interface_) {
    wchar_t path[MAX_PATH * 2];
    GetModuleFileNameW(Module(), path, MAX_PATH * 2);
    ITypeLib* lib = nullptr;
    hr = LoadTypeLibEx(path, REGKIND_NONE, &lib);
    if (SUCCEEDED(hr)) {
      hr = ITypeLib_GetTypeInfoOfGuid(lib, kIid_Delvorin12, &g_types.interface_);
      if (SUCCEEDED(hr)) hr = ITypeLib_GetTypeInfoOfGuid(lib, kClsidDelvorin, &g_types.cls);
      ITypeLib_Release(lib);
    }
    if (FAILED(hr)) {
      if (g_types.interface_) ITypeInfo_Release(g_types.interface_);
      g_types.interface_ = nullptr;
      g_types.cls = nullptr;
    }
  }
  if (SUCCEEDED(hr)) {
    ++g_types.users;
    c->interfaceType = g_types.interface_;
    c->classType = g_types.cls;
    ITypeInfo_AddRef(c->interfaceType);
    ITypeInfo_AddRef(c->classType);
  }
  ReleaseSRWLockExclusive(&g_types.lock);
  return hr;
}

void ReleaseTypes(Control* c) {
  if (!c->interfaceType) return;
  ITypeInfo_Release(c->interfaceType);
  ITypeInfo_Release(c->classType);
  c->interfaceType = c->classType = nullptr;
  AcquireSRWLockExclusive(&g_types.lock);
  if (--g_types.users == 0) {
    ITypeInfo_Release(g_types.interface_);
    ITypeInfo_Release(g_types.cls);
    g_types.interface_ = g_types.cls = nullptr;
  }
  ReleaseSRWLockExclusive(&g_types.lock);
}

void Destroy(Control* c) {
  // Fixed order: the site, connections, the type information, then the windows.
  TearDownOleObject(c);
  TearDownPresentation(c);
  TearDownConnections(c);
  ReleaseTypes(c);
  DisconnectAccessible(c);
  HWND outerWindow = c->outerWindow;
  delete c;  // the edit box goes with it, while its parent still exists
  if (outerWindow) DestroyWindow(outerWindow);
  InterlockedDecrement(&g_objects);
}

HRESULT WINAPI ClassInfo_QueryInterface(IProvideClassInfo2* iface, REFIID riid, void** ppv) { return ControlQI(impl_from_IProvideClassInfo2(iface), riid, ppv); }
ULONG WINAPI ClassInfo_AddRef(IProvideClassInfo2* iface) { return ControlAddRef(impl_from_IProvideClassInfo2(iface)); }
ULONG WINAPI ClassInfo_Release(IProvideClassInfo2* iface) { return ControlRelease(impl_from_IProvideClassInfo2(iface)); }
HRESULT WINAPI ClassInfo_GetClassInfo(IProvideClassInfo2* iface, ITypeInfo** ti) {
  Control* c = impl_from_IProvideClassInfo2(iface);
  if (!ti) return E_POINTER;
  *ti = c->classType;
  ITypeInfo_AddRef(*ti);
  return S_OK;
}
HRESULT WINAPI ClassInfo_GetGUID(IProvideClassInfo2*, DWORD type, GUID* guid) {
  if (!guid) return E_POINTER;
  *guid = GUID_NULL;
  if (type != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
  *guid = kDiid__Delvorin;
  return S_OK;
}

const IProvideClassInfo2Vtbl kClassInfoVtbl = {
    ClassInfo_QueryInterface, ClassInfo_AddRef, ClassInfo_Release, OwnThread<ClassInfo_GetClassInfo>, OwnThread<ClassInfo_GetGUID>,
};

}  // namespace

HRESULT ErrorResult(Status s) {
  // Automation hosts number these as BASIC errors (13 type mismatch, 6 overflow).
  HRESULT hr = s.hresult();
  if (hr == Status::kTypeMismatch) hr = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 13);
  if (hr == Status::kOverflow) hr = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 6);
  std::string_view d = s.Description();
  PublishError(std::u16string(d.begin(), d.end()), L"Delvorin2.Delvorin", kIid_Delvorin12);
  return hr;
}

HRESULT WINAPI Delvorin_QueryInterface(_Delvorin12* iface, REFIID riid, void** ppv) {
  Control* c = impl_from__Delvorin12(iface);
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  // _Delvorin's vtable is the first part of _Delvorin11's, and that of _Delvorin12's: one
  // pointer serves the three.
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, kIid_Delvorin12) ||
      IsEqualIID(riid, kIid_Delvorin11) || IsEqualIID(riid, kIid_Delvorin)) {
    *ppv = &c->_Delvorin12_iface;
  } else if (IsEqualIID(riid, IID_IProvideClassInfo) || IsEqualIID(riid, IID_IProvideClassInfo2)) {
    *ppv = &c->IProvideClassInfo2_iface;
  } else if (IsEqualIID(riid, IID_ISupportErrorInfo)) {
    *ppv = &c->ISupportErrorInfo_iface;
  } else if (IsEqualIID(riid, IID_IConnectionPointContainer)) {
    *ppv = &c->IConnectionPointContainer_iface;
  } else if (void* p = PersistenceInterface(c, riid)) {
    *ppv = p;
  } else if (void* o = OleObjectInterface(c, riid)) {
    *ppv = o;
  } else if (void* w = WindowlessInterface(c, riid)) {
    *ppv = w;
  } else if (void* g = PropertyPagesInterface(c, riid)) {
    *ppv = g;
  } else if (void* q = QuickActivateInterface(c, riid)) {
    *ppv = q;
  } else if (void* a = PresentationInterface(c, riid)) {
    *ppv = a;
  } else {
    return E_NOINTERFACE;
  }
  IUnknown_AddRef(static_cast<IUnknown*>(*ppv));
  return S_OK;
}

ULONG WINAPI Delvorin_AddRef(_Delvorin12* iface) { return InterlockedIncrement(&impl_from__Delvorin12(iface)->ref); }

ULONG WINAPI Delvorin_Release(_Delvorin12* iface) {
  Control* c = impl_from__Delvorin12(iface);
  LONG ref = InterlockedDecrement(&c->ref);
  if (ref == 0) Destroy(c);
  return static_cast<ULONG>(ref);
}

bool CreateWindows(Control* c, HWND parent, const RECT& pos) {
  if (c->outerWindow || c->txo.window()) return true;
  if (ContainerReflects(c)) {
    // The container hands the edit box's colour requests back: the edit box alone is the
    // in-place window.
    if (!c->txo.MakeWindow(parent, pos, true)) return false;
  } else {
    // Otherwise the control's own window, around the edit box, answers them.
    c->outerWindow = CreateWindowExW(WS_EX_CONTROLPARENT, kOwnWindowClass, L"", WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, pos.left, pos.top,
                             pos.right - pos.left, pos.bottom - pos.top, parent, nullptr, Module(), nullptr);
    if (!c->outerWindow) return false;
    SetWindowLongPtrW(c->outerWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(c));
    if (!c->txo.MakeWindow(c->outerWindow, pos, false)) {
      DestroyWindow(c->outerWindow);
      c->outerWindow = nullptr;
      return false;
    }
  }
  c->runtime.UseWindow(c->txo.window());
  return true;
}

bool ContainerReflects(Control* c) {
  if (c->messageReflect >= 0) return c->messageReflect != 0;
  VARIANT v;
  VariantInit(&v);
  const bool reflects = SUCCEEDED(ReadAmbient(c, DISPID_AMBIENT_MESSAGEREFLECT, &v)) &&
                       SUCCEEDED(VariantChangeType(&v, &v, 0, VT_BOOL)) && V_BOOL(&v) != VARIANT_FALSE;
  VariantClear(&v);
  return reflects;
}

HRESULT ReadAmbient(Control* c, DISPID id, VARIANT* v) {
  IDispatch* ambient = nullptr;
  if (!c->site || FAILED(IOleClientSite_QueryInterface(c->site, IID_IDispatch, reinterpret_cast<void**>(&ambient))))
    return E_NOINTERFACE;
  DISPPARAMS noArgs{nullptr, nullptr, 0, 0};
  HRESULT hr = IDispatch_Invoke(ambient, id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &noArgs, v, nullptr, nullptr);
  IDispatch_Release(ambient);
  return hr;
}

HRESULT CreateDefaultFont(REFIID riid, void** ppv) {
  FONTDESC d{sizeof(FONTDESC), const_cast<LPOLESTR>(L"MS Sans Serif"), {{82500, 0}}, FW_NORMAL, ANSI_CHARSET, FALSE, FALSE, FALSE};
  return OleCreateFontIndirect(&d, riid, ppv);
}

HRESULT CreateControl(IUnknown* outer, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  static bool registered = [] {
    WNDCLASSW cls{};
    cls.lpfnWndProc = OwnWindowProc;
    cls.hInstance = Module();
    cls.lpszClassName = kOwnWindowClass;
    return RegisterClassW(&cls) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  if (!registered) return E_FAIL;

  auto* c = new (std::nothrow) Control();
  if (!c) return E_OUTOFMEMORY;
  InterlockedIncrement(&g_objects);
  c->ownerThread = GetCurrentThreadId();
  c->IProvideClassInfo2_iface.lpVtbl = const_cast<IProvideClassInfo2Vtbl*>(&kClassInfoVtbl);
  InitAutomation(c);
  InitConnections(c);
  InitPersistence(c);
  InitOleObject(c);
  InitWindowless(c);
  InitPropertyPages(c);
  InitQuickActivate(c);
  InitPresentation(c);
  HRESULT hr = LoadTypes(c);
  if (SUCCEEDED(hr)) {
    // No window yet: the edit box holds its state until the control is placed.
    c->txo.Init(&c->engine, &c->container, c->container.width, c->container.height);
    c->engine.InitProperties();
    (void)c->engine.Resize();
    hr = Delvorin_QueryInterface(&c->_Delvorin12_iface, riid, ppv);
  }
  Delvorin_Release(&c->_Delvorin12_iface);
  return hr;
}

bool ContainerWin32::WantsEnter() { return c_.engine.Usar_Enter() == 0; }
void ContainerWin32::FocusChanged(bool gained) { OnFocusChange(&c_, gained); }
bool ContainerWin32::AccessibleObject(WPARAM wp, LPARAM lp, LRESULT* result) { return AnswerGetObject(&c_, wp, lp, result); }
void ContainerWin32::TextChanged() { NotifyViewChange(&c_); }

// The focus went elsewhere in the application: a windowless field gives its windows back.
void ContainerWin32::FocusLeft() {
  if (!c_.windowless) return;
  ControlAddRef(&c_);  // the site may release the control meanwhile
  DeactivateUI(&c_);
  ControlRelease(&c_);
}

ObjectRef ContainerWin32::AmbientFont() {
  // The font handed over by IQuickActivate, else the site's ambient font when the control is
  // sited; otherwise the classic dialog font.
  if (c_.ambientFont) return std::make_shared<ComObject>(reinterpret_cast<IUnknown*>(c_.ambientFont));
  VARIANT v;
  VariantInit(&v);
  if (SUCCEEDED(ReadAmbient(&c_, DISPID_AMBIENT_FONT, &v)) && (V_VT(&v) == VT_DISPATCH || V_VT(&v) == VT_UNKNOWN) &&
      V_UNKNOWN(&v)) {
    auto r = std::make_shared<ComObject>(V_UNKNOWN(&v));
    VariantClear(&v);
    return r;
  }
  VariantClear(&v);
  return InitialFont();
}

// The classic dialog font, which a new edit box starts with.
ObjectRef ContainerWin32::InitialFont() {
  IUnknown* font = nullptr;
  if (FAILED(CreateDefaultFont(IID_IUnknown, reinterpret_cast<void**>(&font)))) return nullptr;
  auto r = std::make_shared<ComObject>(font);
  IUnknown_Release(font);
  return r;
}

}  // namespace delvorin::ocx
