#pragma once
// What the container suites share: an event sink for __Delvorin, a message pump, typing into
// the real EDIT window, and a CBT hook that records and closes the control's message boxes.
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "ocx/Com.h"
#include "ocx/Identifiers.h"
#include "ocx/tests/RecordingSink.h"

namespace delvorin::ocx::test {

// An event sink that records the dispatch id of every event and can rewrite KeyAscii.
struct Sink : RecordingSink<IDispatch> {
  Sink();
  std::vector<DISPID> events;
  short replaceKeyAscii = 0;  // when not 0, KeyAscii 'x' becomes this
  float x = -1, y = -1;       // of the last MouseMove
  std::function<void()> onKeyPress;  // the host's own work in its KeyPress handler
};

inline Sink* impl_from_IDispatch(IDispatch* i) { return static_cast<Sink*>(Sink::From(i)); }
inline HRESULT WINAPI Sink_GetTypeInfoCount(IDispatch*, UINT* n) {
  *n = 0;
  return S_OK;
}
inline HRESULT WINAPI Sink_GetTypeInfo(IDispatch*, UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
inline HRESULT WINAPI Sink_GetIDsOfNames(IDispatch*, REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
inline HRESULT WINAPI Sink_Invoke(IDispatch* i, DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT*, EXCEPINFO*, UINT*) {
  Sink* s = impl_from_IDispatch(i);
  s->Record("Invoke");
  s->events.push_back(id);
  if (id == 4 && p->cArgs == 1 && V_VT(&p->rgvarg[0]) == (VT_I2 | VT_BYREF) && s->replaceKeyAscii &&
      *V_I2REF(&p->rgvarg[0]) == 'x')
    *V_I2REF(&p->rgvarg[0]) = s->replaceKeyAscii;
  if (id == 4 && s->onKeyPress) s->onKeyPress();
  if (id == 1 && p->cArgs == 4 && V_VT(&p->rgvarg[0]) == (VT_R4 | VT_BYREF) && V_VT(&p->rgvarg[1]) == (VT_R4 | VT_BYREF)) {
    s->y = *V_R4REF(&p->rgvarg[0]);
    s->x = *V_R4REF(&p->rgvarg[1]);
  }
  return S_OK;
}
inline const IDispatchVtbl kSinkVtbl = {Sink::QueryInterface, Sink::AddRef,        Sink::Release, Sink_GetTypeInfoCount,
                                        Sink_GetTypeInfo,     Sink_GetIDsOfNames, Sink_Invoke};
inline Sink::Sink() : RecordingSink(&kSinkVtbl, {IID_IDispatch, kDiid__Delvorin}) {}

inline void PumpMessages() {
  MSG m;
  for (int round = 0; round < 50; ++round) {
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    Sleep(2);
  }
}

inline void TypeText(HWND edit, const wchar_t* text) {
  for (const wchar_t* p = text; *p; ++p) PostMessageW(edit, WM_CHAR, *p, 1);
  PumpMessages();
}

inline std::wstring TextOf(_Delvorin* d) {
  BSTR b = nullptr;
  _Delvorin_get_Text(d, &b);
  std::wstring r = b ? b : L"";
  SysFreeString(b);
  return r;
}

// Message boxes shown by the control, recorded and closed by a CBT hook as they open.
struct MessageBoxRecord {
  std::wstring title, text;
  bool exclamation = false;  // the warning icon
  int buttons = 0;
  bool okOnly = false;       // one button, OK
  HWND owner = nullptr;
};
inline std::vector<MessageBoxRecord> g_boxes;

inline BOOL CALLBACK ExamineChild(HWND h, LPARAM lp) {
  auto* box = reinterpret_cast<MessageBoxRecord*>(lp);
  wchar_t cls[32] = {};
  GetClassNameW(h, cls, 32);
  if (_wcsicmp(cls, L"Button") == 0 && (GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE)) {
    ++box->buttons;
    box->okOnly = box->buttons == 1 && GetDlgCtrlID(h) == IDOK;
  } else if (_wcsicmp(cls, L"Static") == 0) {
    if ((GetWindowLongW(h, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      auto icon = reinterpret_cast<HICON>(SendMessageW(h, STM_GETICON, 0, 0));
      box->exclamation = icon && icon == LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_EXCLAMATION));
    } else {
      wchar_t text[256] = {};
      GetWindowTextW(h, text, 256);
      if (std::wcslen(text) > box->text.size()) box->text = text;
    }
  }
  return TRUE;
}

inline LRESULT CALLBACK CbtHook(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_ACTIVATE) {  // before the box is shown: its children's own style says what is visible
    auto h = reinterpret_cast<HWND>(wp);
    wchar_t cls[16] = {};
    GetClassNameW(h, cls, 16);
    if (std::wcscmp(cls, L"#32770") == 0) {
      MessageBoxRecord box;
      wchar_t caption[128] = {};
      GetWindowTextW(h, caption, 128);
      box.title = caption;
      box.owner = GetWindow(h, GW_OWNER);
      EnumChildWindows(h, ExamineChild, reinterpret_cast<LPARAM>(&box));
      g_boxes.push_back(box);
      PostMessageW(h, WM_COMMAND, IDOK, 0);
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

inline int CountOf(const std::vector<DISPID>& v, DISPID id) {
  int n = 0;
  for (DISPID x : v) n += x == id;
  return n;
}


}  // namespace delvorin::ocx::test
