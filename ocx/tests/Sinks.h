#pragma once
// What the container suites share: an event sink for __Delvorin, a message pump, typing into
// the real EDIT window, and a CBT hook that records and closes the control's message boxes.
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "ocx/Com.h"
#include "ocx/Identifiers.h"

namespace delvorin::ocx::test {

// An event sink that records the dispatch id of every event and can rewrite KeyAscii.
struct Sink {
  IDispatch IDispatch_iface{};
  LONG ref = 1;
  std::vector<DISPID> eventos;
  short trocaKeyAscii = 0;  // when not 0, KeyAscii 'x' becomes this
  float x = -1, y = -1;     // of the last MouseMove
  std::function<void()> aoKeyPress;  // the host's own work in its KeyPress handler
};

inline Sink* impl_from_IDispatch(IDispatch* i) { return CONTAINING_RECORD(i, Sink, IDispatch_iface); }
inline HRESULT WINAPI Sink_QueryInterface(IDispatch* i, REFIID riid, void** ppv) {
  *ppv = nullptr;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, kDiid__Delvorin)) {
    *ppv = i;
    IDispatch_AddRef(i);
    return S_OK;
  }
  return E_NOINTERFACE;
}
inline ULONG WINAPI Sink_AddRef(IDispatch* i) { return InterlockedIncrement(&impl_from_IDispatch(i)->ref); }
inline ULONG WINAPI Sink_Release(IDispatch* i) { return InterlockedDecrement(&impl_from_IDispatch(i)->ref); }
inline HRESULT WINAPI Sink_GetTypeInfoCount(IDispatch*, UINT* n) {
  *n = 0;
  return S_OK;
}
inline HRESULT WINAPI Sink_GetTypeInfo(IDispatch*, UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
inline HRESULT WINAPI Sink_GetIDsOfNames(IDispatch*, REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
inline HRESULT WINAPI Sink_Invoke(IDispatch* i, DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT*, EXCEPINFO*, UINT*) {
  Sink* s = impl_from_IDispatch(i);
  s->eventos.push_back(id);
  if (id == 4 && p->cArgs == 1 && V_VT(&p->rgvarg[0]) == (VT_I2 | VT_BYREF) && s->trocaKeyAscii &&
      *V_I2REF(&p->rgvarg[0]) == 'x')
    *V_I2REF(&p->rgvarg[0]) = s->trocaKeyAscii;
  if (id == 4 && s->aoKeyPress) s->aoKeyPress();
  if (id == 1 && p->cArgs == 4 && V_VT(&p->rgvarg[0]) == (VT_R4 | VT_BYREF) && V_VT(&p->rgvarg[1]) == (VT_R4 | VT_BYREF)) {
    s->y = *V_R4REF(&p->rgvarg[0]);
    s->x = *V_R4REF(&p->rgvarg[1]);
  }
  return S_OK;
}
inline const IDispatchVtbl kSinkVtbl = {Sink_QueryInterface, Sink_AddRef, Sink_Release, Sink_GetTypeInfoCount,
                                 Sink_GetTypeInfo, Sink_GetIDsOfNames, Sink_Invoke};

inline void Bombeia() {
  MSG m;
  for (int volta = 0; volta < 50; ++volta) {
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    Sleep(2);
  }
}

inline void Digita(HWND edit, const wchar_t* texto) {
  for (const wchar_t* p = texto; *p; ++p) PostMessageW(edit, WM_CHAR, *p, 1);
  Bombeia();
}

inline std::wstring Texto(_Delvorin* d) {
  BSTR b = nullptr;
  _Delvorin_get_Text(d, &b);
  std::wstring r = b ? b : L"";
  SysFreeString(b);
  return r;
}

// Message boxes shown by the control, recorded and closed by a CBT hook as they open.
struct MessageBoxRecord {
  std::wstring titulo, texto;
  bool exclamacao = false;  // the warning icon
  int botoes = 0;
  bool soOk = false;        // one button, OK
  HWND dono = nullptr;
};
inline std::vector<MessageBoxRecord> g_caixas;

inline BOOL CALLBACK ExaminaFilho(HWND h, LPARAM lp) {
  auto* caixa = reinterpret_cast<MessageBoxRecord*>(lp);
  wchar_t classe[32] = {};
  GetClassNameW(h, classe, 32);
  if (_wcsicmp(classe, L"Button") == 0 && (GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE)) {
    ++caixa->botoes;
    caixa->soOk = caixa->botoes == 1 && GetDlgCtrlID(h) == IDOK;
  } else if (_wcsicmp(classe, L"Static") == 0) {
    if ((GetWindowLongW(h, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      auto icone = reinterpret_cast<HICON>(SendMessageW(h, STM_GETICON, 0, 0));
      caixa->exclamacao = icone && icone == LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_EXCLAMATION));
    } else {
      wchar_t texto[256] = {};
      GetWindowTextW(h, texto, 256);
      if (std::wcslen(texto) > caixa->texto.size()) caixa->texto = texto;
    }
  }
  return TRUE;
}

inline LRESULT CALLBACK GanchoCbt(int codigo, WPARAM wp, LPARAM lp) {
  if (codigo == HCBT_ACTIVATE) {  // before the box is shown: its children's own style says what is visible
    auto h = reinterpret_cast<HWND>(wp);
    wchar_t classe[16] = {};
    GetClassNameW(h, classe, 16);
    if (std::wcscmp(classe, L"#32770") == 0) {
      MessageBoxRecord caixa;
      wchar_t titulo[128] = {};
      GetWindowTextW(h, titulo, 128);
      caixa.titulo = titulo;
      caixa.dono = GetWindow(h, GW_OWNER);
      EnumChildWindows(h, ExaminaFilho, reinterpret_cast<LPARAM>(&caixa));
      g_caixas.push_back(caixa);
      PostMessageW(h, WM_COMMAND, IDOK, 0);
    }
  }
  return CallNextHookEx(nullptr, codigo, wp, lp);
}

inline int Conta(const std::vector<DISPID>& v, DISPID id) {
  int n = 0;
  for (DISPID x : v) n += x == id;
  return n;
}


}  // namespace delvorin::ocx::test
