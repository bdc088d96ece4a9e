// Demo form: one labelled Delvorin field per type, hosted in ActiveX host windows. A scripted
// session is typed into each field, the focus leaves it, and what every field shows is printed;
// the form is saved as a bitmap for a screenshot. Then the Properties verb of the CPF field
// opens the property frame with the control's pages, which is saved as a bitmap too.
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "core/Properties.h"
#include "ocx/tests/Capture.h"
#include "ocx/Com.h"
#include <oleacc.h>
#include <commctrl.h>

#include "ocx/Identifiers.h"

using namespace delvorin;
using namespace delvorin::ocx;

namespace {

struct Field {
  uint8_t type;
  const wchar_t* typed;  // typed into the field
  const wchar_t* assigned; // or assigned (type 11 takes no typing)
  const wchar_t* uf = nullptr;  // the state of an Inscrição Estadual
  const wchar_t* mascara = nullptr;  // the mask of type 26
};

constexpr Field kFields[] = {
    {0, L"1234.5", nullptr},          {1, L"1234567,891", nullptr},   {2, L"3,14159", nullptr},
    {3, L"-42", nullptr},             {4, L"texto livre", nullptr},    {5, L"maria das dores", nullptr},
    {6, L"caixa alta", nullptr},      {7, L"CAIXA BAIXA", nullptr},    {8, L"01310100", nullptr},
    {9, L"12345678909", nullptr},     {10, L"11222333000181", nullptr}, {11, nullptr, L"1.234,56"},
    {12, L"joão da silva", nullptr},  {13, L"23456789013", nullptr},   {14, L"4111111111111111", nullptr},
    {15, L"12abc34501de35", nullptr}, {16, L"11987654321", nullptr},   {17, L"25122024", nullptr},
    {18, L"0930", nullptr},           {19, L"abc1d23", nullptr},       {20, L"102385010671", nullptr},
    {21, L"98765432109", nullptr},    {22, L"19525197703", nullptr},
    {23, L"03399632906400000000600125201020456140000017832", nullptr},
    {24, L"00020802520125150049", nullptr}, {25, L"110042490114", nullptr, L"SP"},
    {26, L"ab1234", nullptr, nullptr, L">LL-0000"},
};
constexpr int kFieldCount = static_cast<int>(sizeof kFields / sizeof *kFields);

void PumpMessages(int rounds = 20) {
  MSG m;
  for (int v = 0; v < rounds; ++v) {
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    Sleep(5);
  }
}

std::string Utf8(const std::wstring& w) {
  int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

// What a screen reader says of a field: its name (from its label), its description (its kind,
// and its invalid state after it was left invalid) and its value.
void SaysScreenReader(HWND edit) {
  IAccessible* acc = nullptr;
  if (!edit || FAILED(AccessibleObjectFromWindow(edit, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                                 reinterpret_cast<void**>(&acc))))
    return;
  VARIANT self;
  V_VT(&self) = VT_I4;
  V_I4(&self) = CHILDID_SELF;
  BSTR name = nullptr, description = nullptr, value = nullptr;
  IAccessible_get_accName(acc, self, &name);
  IAccessible_get_accDescription(acc, self, &description);
  IAccessible_get_accValue(acc, self, &value);
  std::printf("    leitor de tela: \"%s\", %s, \"%s\"\n", Utf8(name ? name : L"").c_str(),
              Utf8(description ? description : L"").c_str(), Utf8(value ? value : L"").c_str());
  SysFreeString(name);
  SysFreeString(description);
  SysFreeString(value);
  IAccessible_Release(acc);
}


// The property frame, found once it is on the screen: its caption and pages are printed, it is
// saved as a bitmap and closed with Cancel. Runs from the frame's own modal loop.
const wchar_t* g_frameBitmap = nullptr;

BOOL CALLBACK FindFrame(HWND h, LPARAM lp) {
  wchar_t cls[16] = {};
  GetClassNameW(h, cls, 16);
  if (std::wcscmp(cls, L"#32770") != 0 || !IsWindowVisible(h)) return TRUE;
  *reinterpret_cast<HWND*>(lp) = h;
  return FALSE;
}

void CALLBACK ShowFrame(HWND, UINT, UINT_PTR id, DWORD) {
  HWND frame = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindFrame, reinterpret_cast<LPARAM>(&frame));
  if (!frame) return;
  KillTimer(nullptr, id);
  wchar_t title[128] = {};
  GetWindowTextW(frame, title, 128);
  std::wstring pages;
  HWND tabs = reinterpret_cast<HWND>(SendMessageW(frame, PSM_GETTABCONTROL, 0, 0));
  const LRESULT n = tabs ? SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0) : 0;
  for (LRESULT k = 0; k < n; ++k) {
    wchar_t text[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(k), reinterpret_cast<LPARAM>(&item));
    pages += std::wstring(k ? L", " : L"") + L"\"" + text + L"\"";
  }
  std::printf("\n%s: pages %s\n", Utf8(title).c_str(), Utf8(pages).c_str());
  SetFocus(GetDlgItem(frame, IDOK));
  PumpMessages(10);
  if (g_frameBitmap) test::SaveBitmap(frame, g_frameBitmap);
  PostMessageW(frame, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

// The Properties verb of a field, as a form designer sends it.
void ShowProperties(_Delvorin* d, HWND form, const wchar_t* bitmap) {
  IOleObject* ole = nullptr;
  if (!d || FAILED(_Delvorin_QueryInterface(d, IID_IOleObject, reinterpret_cast<void**>(&ole)))) return;
  g_frameBitmap = bitmap;
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, ShowFrame);
  const HRESULT hr = IOleObject_DoVerb(ole, OLEIVERB_PROPERTIES, nullptr, nullptr, 0, form, nullptr);
  KillTimer(nullptr, timer);
  if (FAILED(hr)) std::printf("Properties verb: %08lx\n", static_cast<unsigned long>(hr));
  IOleObject_Release(ole);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  OleInitialize(nullptr);
  HMODULE atl = LoadLibraryW(L"atl100.dll");
  using Init = BOOL(WINAPI*)();
  using CreateFn = HRESULT(WINAPI*)(LPCOLESTR, HWND, IStream*, IUnknown**, IUnknown**, REFIID, IUnknown*);
  auto init = reinterpret_cast<Init>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")));
  auto create = reinterpret_cast<CreateFn>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxCreateControlEx")));
  if (!init || !create) {
    std::printf("demo: atl100.dll is needed to host the control\n");
    return 1;
  }
  init();
  // One row per type: the label, then the field, wide enough for a bank slip's line.
  const int height = 25, labelWidth = 250, fieldWidth = 380, width = labelWidth + 12 + fieldWidth;
  WNDCLASSW cls{};
  cls.lpfnWndProc = DefWindowProcW;
  cls.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  cls.lpszClassName = L"DelvorinDemo";
  RegisterClassW(&cls);
  HWND form = CreateWindowExW(0, L"DelvorinDemo", L"Delvorin - demonstração", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                              width + 40, height * kFieldCount + 60, nullptr, nullptr, nullptr, nullptr);
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  std::vector<_Delvorin*> fields;
  std::vector<HWND> edits;
  for (int i = 0; i < kFieldCount; ++i) {
    std::u16string_view label = kTipoLabels[static_cast<size_t>(i)];
    std::wstring r(label.begin(), label.end());
    HWND l = CreateWindowExW(0, L"STATIC", r.c_str(), WS_CHILD | WS_VISIBLE, 8, 8 + i * height + 4, labelWidth, height - 6, form,
                             nullptr, nullptr, nullptr);
    SendMessageW(l, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    HWND hostWindow = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, labelWidth + 12, 8 + i * height, fieldWidth,
                                      height - 4, form, nullptr, nullptr, nullptr);
    IUnknown *container = nullptr, *control = nullptr;
    _Delvorin* d = nullptr;
    if (SUCCEEDED(create(L"Delvorin2.Delvorin", hostWindow, nullptr, &container, &control, IID_NULL, nullptr)) && control) {
      IUnknown_QueryInterface(control, kIid_Delvorin, reinterpret_cast<void**>(&d));
      IUnknown_Release(control);
    }
    HWND window = nullptr;
    IOleInPlaceObject* ipo = nullptr;
    if (d && SUCCEEDED(_Delvorin_QueryInterface(d, IID_IOleInPlaceObject, reinterpret_cast<void**>(&ipo)))) {
      IOleInPlaceObject_GetWindow(ipo, &window);
      IOleInPlaceObject_Release(ipo);
    }
    fields.push_back(d);
    edits.push_back(window ? FindWindowExW(window, nullptr, L"Edit", nullptr) : nullptr);
  }
  PumpMessages();
  for (size_t i = 0; i < fields.size(); ++i) {
    _Delvorin* d = fields[i];
    if (!d) continue;
    const Field& c = kFields[i];
    _Delvorin_put_Tipo(d, c.type);
    _Delvorin12* d12 = nullptr;
    if ((c.uf || c.mascara) && SUCCEEDED(_Delvorin_QueryInterface(d, kIid_Delvorin12, reinterpret_cast<void**>(&d12)))) {
      BSTR b = SysAllocString(c.uf ? c.uf : c.mascara);
      if (c.uf) _Delvorin12_put_UF(d12, b);
      else _Delvorin12_put_Mascara(d12, b);
      SysFreeString(b);
      _Delvorin12_Release(d12);
    }
    if (c.assigned) {
      BSTR b = SysAllocString(c.assigned);
      _Delvorin_put_Text(d, b);
      SysFreeString(b);
    } else if (edits[i]) {
      SetFocus(edits[i]);
      PumpMessages(2);
      for (const wchar_t* p = c.typed; *p; ++p) PostMessageW(edits[i], WM_CHAR, *p, 1);
      PumpMessages(4);
      SetFocus(form);  // leaving the field formats it
      PumpMessages(2);
    }
  }
  PumpMessages();
  for (size_t i = 0; i < fields.size(); ++i) {
    std::u16string_view label = kTipoLabels[i];
    BSTR b = nullptr;
    if (fields[i]) _Delvorin_get_Text(fields[i], &b);
    std::wstring r(label.begin(), label.end());
    r.resize(42, L' ');
    std::printf("%s %s\n", Utf8(r).c_str(), Utf8(b ? b : L"").c_str());
    SysFreeString(b);
    SaysScreenReader(edits[i]);
  }
  if (argc > 1) test::SaveBitmap(form, argv[1]);
  // The CPF field left with a wrong number (without the message box): a screen reader is told.
  if (fields[9] && edits[9]) {
    _Delvorin_put_MSGcpf(fields[9], VARIANT_FALSE);
    BSTR empty = SysAllocString(L"");
    _Delvorin_put_Text(fields[9], empty);
    SysFreeString(empty);
    SetFocus(edits[9]);
    PumpMessages(2);
    for (const wchar_t* p = L"12345678900"; *p; ++p) PostMessageW(edits[9], WM_CHAR, *p, 1);
    PumpMessages(4);
    SetFocus(form);
    PumpMessages(2);
    std::printf("9 - CPF, deixado com um número errado:\n");
    SaysScreenReader(edits[9]);
    _Delvorin_put_MSGcpf(fields[9], VARIANT_TRUE);
  }
  ShowProperties(fields[9], form, argc > 2 ? argv[2] : nullptr);
  for (_Delvorin* d : fields)
    if (d) _Delvorin_Release(d);
  DestroyWindow(form);
  PumpMessages(2);
  OleUninitialize();
  return 0;
}
