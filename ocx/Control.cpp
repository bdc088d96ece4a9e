// The control object: creation, IUnknown, IProvideClassInfo2, its window (the edit box's parent), the
// container side of the engine, and teardown in a fixed order on the last Release.
#include "ocx/Control.h"

#include <new>
#include <string>

#include "ocx/Identifiers.h"
#include "ocx/ErrorInfo.h"

namespace delvorin::ocx {

LONG g_objetos = 0;

namespace {

constexpr wchar_t kClassePai[] = L"DelvorinPai";

Control* impl_from__Delvorin11(_Delvorin11* iface) { return CONTAINING_RECORD(iface, Control, _Delvorin11_iface); }
Control* impl_from_IProvideClassInfo2(IProvideClassInfo2* iface) {
  return CONTAINING_RECORD(iface, Control, IProvideClassInfo2_iface);
}

LRESULT CALLBACK ProcedimentoPai(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && HIWORD(wp) == EN_CHANGE) {
    auto* c = reinterpret_cast<Control*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (c && reinterpret_cast<HWND>(lp) == c->txo.janela()) c->txo.Notificado();
    return 0;
  }
  if (msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORSTATIC) {
    auto* c = reinterpret_cast<Control*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (c && reinterpret_cast<HWND>(lp) == c->txo.janela()) return reinterpret_cast<LRESULT>(c->txo.Cores(reinterpret_cast<HDC>(wp)));
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

HMODULE Modulo() {
  HMODULE m = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ProcedimentoPai), &m);
  return m;
}

// The type information, read once and shared by every control of the process (reading the
// library costs file and registry work); it goes with the last control, so that the server
// can be unloaded.
struct SharedTypes {
  SRWLOCK trava = SRWLOCK_INIT;
  LONG usuarios = 0;
  ITypeInfo* interface_ = nullptr;
  ITypeInfo* classe = nullptr;
} g_tipos;

HRESULT CarregaTipos(Control* c) {
  AcquireSRWLockExclusive(&g_tipos.trava);
  HRESULT hr = S_OK;
  if (!g_tipos.interface_) {
    wchar_t caminho[MAX_PATH * 2];
    GetModuleFileNameW(Modulo(), caminho, MAX_PATH * 2);
    ITypeLib* lib = nullptr;
    hr = LoadTypeLibEx(caminho, REGKIND_NONE, &lib);
    if (SUCCEEDED(hr)) {
      hr = ITypeLib_GetTypeInfoOfGuid(lib, kIid_Delvorin11, &g_tipos.interface_);
      if (SUCCEEDED(hr)) hr = ITypeLib_GetTypeInfoOfGuid(lib, kClsidDelvorin, &g_tipos.classe);
      ITypeLib_Release(lib);
    }
    if (FAILED(hr)) {
      if (g_tipos.interface_) ITypeInfo_Release(g_tipos.interface_);
      g_tipos.interface_ = nullptr;
      g_tipos.classe = nullptr;
    }
  }
  if (SUCCEEDED(hr)) {
    ++g_tipos.usuarios;
    c->tipoInterface = g_tipos.interface_;
    c->tipoClasse = g_tipos.classe;
    ITypeInfo_AddRef(c->tipoInterface);
    ITypeInfo_AddRef(c->tipoClasse);
  }
  ReleaseSRWLockExclusive(&g_tipos.trava);
  return hr;
}

void LiberaTipos(Control* c) {
  if (!c->tipoInterface) return;
  ITypeInfo_Release(c->tipoInterface);
  ITypeInfo_Release(c->tipoClasse);
  c->tipoInterface = c->tipoClasse = nullptr;
  AcquireSRWLockExclusive(&g_tipos.trava);
  if (--g_tipos.usuarios == 0) {
    ITypeInfo_Release(g_tipos.interface_);
    ITypeInfo_Release(g_tipos.classe);
    g_tipos.interface_ = g_tipos.classe = nullptr;
  }
  ReleaseSRWLockExclusive(&g_tipos.trava);
}

void Destroi(Control* c) {
  // Fixed order: the site, connections, the type information, then the windows.
  EncerraObjetoOle(c);
  EncerraApresentacao(c);
  EncerraConexoes(c);
  LiberaTipos(c);
  HWND pai = c->pai;
  delete c;  // the edit box goes with it, while its parent still exists
  if (pai) DestroyWindow(pai);
  InterlockedDecrement(&g_objetos);
}

HRESULT WINAPI ClassInfo_QueryInterface(IProvideClassInfo2* iface, REFIID riid, void** ppv) { return ControleQI(impl_from_IProvideClassInfo2(iface), riid, ppv); }
ULONG WINAPI ClassInfo_AddRef(IProvideClassInfo2* iface) { return ControleAddRef(impl_from_IProvideClassInfo2(iface)); }
ULONG WINAPI ClassInfo_Release(IProvideClassInfo2* iface) { return ControleRelease(impl_from_IProvideClassInfo2(iface)); }
HRESULT WINAPI ClassInfo_GetClassInfo(IProvideClassInfo2* iface, ITypeInfo** ti) {
  Control* c = impl_from_IProvideClassInfo2(iface);
  if (!ti) return E_POINTER;
  *ti = c->tipoClasse;
  ITypeInfo_AddRef(*ti);
  return S_OK;
}
HRESULT WINAPI ClassInfo_GetGUID(IProvideClassInfo2*, DWORD tipo, GUID* guid) {
  if (!guid) return E_POINTER;
  *guid = GUID_NULL;
  if (tipo != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
  *guid = kDiid__Delvorin;
  return S_OK;
}

const IProvideClassInfo2Vtbl kClassInfoVtbl = {
    ClassInfo_QueryInterface, ClassInfo_AddRef, ClassInfo_Release, ClassInfo_GetClassInfo, ClassInfo_GetGUID,
};

}  // namespace

HRESULT Erro(Status s) {
  // Automation hosts number these as BASIC errors (13 type mismatch, 6 overflow).
  HRESULT hr = s.hresult();
  if (hr == Status::kTypeMismatch) hr = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 13);
  if (hr == Status::kOverflow) hr = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 6);
  std::string_view d = s.Descricao();
  PublicaErro(std::u16string(d.begin(), d.end()), L"Delvorin2.Delvorin", kIid_Delvorin11);
  return hr;
}

HRESULT WINAPI Delvorin_QueryInterface(_Delvorin11* iface, REFIID riid, void** ppv) {
  Control* c = impl_from__Delvorin11(iface);
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  // _Delvorin's vtable is the first part of _Delvorin11's: one pointer serves both.
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, kIid_Delvorin11) ||
      IsEqualIID(riid, kIid_Delvorin)) {
    *ppv = &c->_Delvorin11_iface;
  } else if (IsEqualIID(riid, IID_IProvideClassInfo) || IsEqualIID(riid, IID_IProvideClassInfo2)) {
    *ppv = &c->IProvideClassInfo2_iface;
  } else if (IsEqualIID(riid, IID_ISupportErrorInfo)) {
    *ppv = &c->ISupportErrorInfo_iface;
  } else if (IsEqualIID(riid, IID_IConnectionPointContainer)) {
    *ppv = &c->IConnectionPointContainer_iface;
  } else if (void* p = InterfacePersistencia(c, riid)) {
    *ppv = p;
  } else if (void* o = InterfaceObjetoOle(c, riid)) {
    *ppv = o;
  } else if (void* w = InterfaceSemJanela(c, riid)) {
    *ppv = w;
  } else if (void* g = InterfacePaginas(c, riid)) {
    *ppv = g;
  } else if (void* q = InterfaceAtivacaoRapida(c, riid)) {
    *ppv = q;
  } else if (void* a = InterfaceApresentacao(c, riid)) {
    *ppv = a;
  } else {
    return E_NOINTERFACE;
  }
  IUnknown_AddRef(static_cast<IUnknown*>(*ppv));
  return S_OK;
}

ULONG WINAPI Delvorin_AddRef(_Delvorin11* iface) { return InterlockedIncrement(&impl_from__Delvorin11(iface)->ref); }

ULONG WINAPI Delvorin_Release(_Delvorin11* iface) {
  Control* c = impl_from__Delvorin11(iface);
  LONG ref = InterlockedDecrement(&c->ref);
  if (ref == 0) Destroi(c);
  return static_cast<ULONG>(ref);
}

bool CriaJanelas(Control* c, HWND pai, const RECT& pos) {
  if (c->pai || c->txo.janela()) return true;
  if (ContainerReflete(c)) {
    // The container hands the edit box's colour requests back: the edit box alone is the
    // in-place window.
    if (!c->txo.CriaJanela(pai, pos, true)) return false;
  } else {
    // Otherwise the control's own window, around the edit box, answers them.
    c->pai = CreateWindowExW(WS_EX_CONTROLPARENT, kClassePai, L"", WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, pos.left, pos.top,
                             pos.right - pos.left, pos.bottom - pos.top, pai, nullptr, Modulo(), nullptr);
    if (!c->pai) return false;
    SetWindowLongPtrW(c->pai, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(c));
    if (!c->txo.CriaJanela(c->pai, pos, false)) {
      DestroyWindow(c->pai);
      c->pai = nullptr;
      return false;
    }
  }
  c->runtime.UsaJanela(c->txo.janela());
  return true;
}

bool ContainerReflete(Control* c) {
  if (c->reflexo >= 0) return c->reflexo != 0;
  VARIANT v;
  VariantInit(&v);
  const bool reflete = SUCCEEDED(LeAmbiente(c, DISPID_AMBIENT_MESSAGEREFLECT, &v)) &&
                       SUCCEEDED(VariantChangeType(&v, &v, 0, VT_BOOL)) && V_BOOL(&v) != VARIANT_FALSE;
  VariantClear(&v);
  return reflete;
}

HRESULT LeAmbiente(Control* c, DISPID id, VARIANT* v) {
  IDispatch* ambiente = nullptr;
  if (!c->site || FAILED(IOleClientSite_QueryInterface(c->site, IID_IDispatch, reinterpret_cast<void**>(&ambiente))))
    return E_NOINTERFACE;
  DISPPARAMS nenhum{nullptr, nullptr, 0, 0};
  HRESULT hr = IDispatch_Invoke(ambiente, id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &nenhum, v, nullptr, nullptr);
  IDispatch_Release(ambiente);
  return hr;
}

HRESULT CriaFontePadrao(REFIID riid, void** ppv) {
  FONTDESC d{sizeof(FONTDESC), const_cast<LPOLESTR>(L"MS Sans Serif"), {{82500, 0}}, FW_NORMAL, ANSI_CHARSET, FALSE, FALSE, FALSE};
  return OleCreateFontIndirect(&d, riid, ppv);
}

HRESULT CriaControle(IUnknown* externo, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (externo) return CLASS_E_NOAGGREGATION;
  static bool registrada = [] {
    WNDCLASSW classe{};
    classe.lpfnWndProc = ProcedimentoPai;
    classe.hInstance = Modulo();
    classe.lpszClassName = kClassePai;
    return RegisterClassW(&classe) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  if (!registrada) return E_FAIL;

  auto* c = new (std::nothrow) Control();
  if (!c) return E_OUTOFMEMORY;
  InterlockedIncrement(&g_objetos);
  c->IProvideClassInfo2_iface.lpVtbl = const_cast<IProvideClassInfo2Vtbl*>(&kClassInfoVtbl);
  IniciaAutomacao(c);
  IniciaConexoes(c);
  IniciaPersistencia(c);
  IniciaObjetoOle(c);
  IniciaSemJanela(c);
  IniciaPaginas(c);
  IniciaAtivacaoRapida(c);
  IniciaApresentacao(c);
  HRESULT hr = CarregaTipos(c);
  if (SUCCEEDED(hr)) {
    // No window yet: the edit box holds its state until the control is placed.
    c->txo.Inicia(&c->controle, &c->hospedeiro, c->hospedeiro.largura, c->hospedeiro.altura);
    c->controle.InitProperties();
    (void)c->controle.Resize();
    hr = Delvorin_QueryInterface(&c->_Delvorin11_iface, riid, ppv);
  }
  Delvorin_Release(&c->_Delvorin11_iface);
  return hr;
}

bool ContainerWin32::WantsEnter() { return c_.controle.Usar_Enter() == 0; }
void ContainerWin32::FocusChanged(bool gained) { FocoMudou(&c_, gained); }
void ContainerWin32::TextChanged() { NotificaVista(&c_); }

// The focus went elsewhere in the application: a windowless field gives its windows back.
void ContainerWin32::FocusLeft() {
  if (!c_.semJanela) return;
  ControleAddRef(&c_);  // the site may release the control meanwhile
  DesativaInterface(&c_);
  ControleRelease(&c_);
}

ObjectRef ContainerWin32::AmbientFont() {
  // The font handed over by IQuickActivate, else the site's ambient font when the control is
  // sited; otherwise the classic dialog font.
  if (c_.fonteAmbiente) return std::make_shared<ComObject>(reinterpret_cast<IUnknown*>(c_.fonteAmbiente));
  VARIANT v;
  VariantInit(&v);
  if (SUCCEEDED(LeAmbiente(&c_, DISPID_AMBIENT_FONT, &v)) && (V_VT(&v) == VT_DISPATCH || V_VT(&v) == VT_UNKNOWN) &&
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
  IUnknown* fonte = nullptr;
  if (FAILED(CriaFontePadrao(IID_IUnknown, reinterpret_cast<void**>(&fonte)))) return nullptr;
  auto r = std::make_shared<ComObject>(fonte);
  IUnknown_Release(fonte);
  return r;
}

}  // namespace delvorin::ocx
