// Demo form: one labelled Delvorin field per type, hosted in ActiveX host windows. A scripted
// session is typed into each field, the focus leaves it, and what every field shows is printed;
// the form is saved as a bitmap for a screenshot. Then the Properties verb of the CPF field
// opens the property frame with the control's pages, which is saved as a bitmap too.
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "control/Properties.h"
#include "ocx/tests/Capture.h"
#include "ocx/Com.h"
#include <commctrl.h>

#include "ocx/Identifiers.h"

using namespace delvorin;
using namespace delvorin::ocx;

namespace {

struct Field {
  uint8_t tipo;
  const wchar_t* digitado;  // typed into the field
  const wchar_t* atribuido; // or assigned (type 11 takes no typing)
};

constexpr Field kCampos[] = {
    {0, L"1234.5", nullptr},          {1, L"1234567,891", nullptr},   {2, L"3,14159", nullptr},
    {3, L"-42", nullptr},             {4, L"texto livre", nullptr},    {5, L"maria das dores", nullptr},
    {6, L"caixa alta", nullptr},      {7, L"CAIXA BAIXA", nullptr},    {8, L"01310100", nullptr},
    {9, L"12345678909", nullptr},     {10, L"11222333000181", nullptr}, {11, nullptr, L"1.234,56"},
    {12, L"joão da silva", nullptr},  {13, L"23456789013", nullptr},   {14, L"4111111111111111", nullptr},
};

void Bombeia(int voltas = 20) {
  MSG m;
  for (int v = 0; v < voltas; ++v) {
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


// The property frame, found once it is on the screen: its caption and pages are printed, it is
// saved as a bitmap and closed with Cancel. Runs from the frame's own modal loop.
const wchar_t* g_bitmapQuadro = nullptr;

BOOL CALLBACK ProcuraQuadro(HWND h, LPARAM lp) {
  wchar_t classe[16] = {};
  GetClassNameW(h, classe, 16);
  if (std::wcscmp(classe, L"#32770") != 0 || !IsWindowVisible(h)) return TRUE;
  *reinterpret_cast<HWND*>(lp) = h;
  return FALSE;
}

void CALLBACK MostraQuadro(HWND, UINT, UINT_PTR id, DWORD) {
  HWND quadro = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), ProcuraQuadro, reinterpret_cast<LPARAM>(&quadro));
  if (!quadro) return;
  KillTimer(nullptr, id);
  wchar_t titulo[128] = {};
  GetWindowTextW(quadro, titulo, 128);
  std::wstring paginas;
  HWND abas = reinterpret_cast<HWND>(SendMessageW(quadro, PSM_GETTABCONTROL, 0, 0));
  const LRESULT n = abas ? SendMessageW(abas, TCM_GETITEMCOUNT, 0, 0) : 0;
  for (LRESULT k = 0; k < n; ++k) {
    wchar_t texto[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = texto;
    item.cchTextMax = 64;
    SendMessageW(abas, TCM_GETITEMW, static_cast<WPARAM>(k), reinterpret_cast<LPARAM>(&item));
    paginas += std::wstring(k ? L", " : L"") + L"\"" + texto + L"\"";
  }
  std::printf("\n%s: pages %s\n", Utf8(titulo).c_str(), Utf8(paginas).c_str());
  SetFocus(GetDlgItem(quadro, IDOK));
  Bombeia(10);
  if (g_bitmapQuadro) test::SalvaBitmap(quadro, g_bitmapQuadro);
  PostMessageW(quadro, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

// The Properties verb of a field, as a form designer sends it.
void Propriedades(_Delvorin* d, HWND form, const wchar_t* bitmap) {
  IOleObject* ole = nullptr;
  if (!d || FAILED(_Delvorin_QueryInterface(d, IID_IOleObject, reinterpret_cast<void**>(&ole)))) return;
  g_bitmapQuadro = bitmap;
  const UINT_PTR relogio = SetTimer(nullptr, 0, 100, MostraQuadro);
  const HRESULT hr = IOleObject_DoVerb(ole, OLEIVERB_PROPERTIES, nullptr, nullptr, 0, form, nullptr);
  KillTimer(nullptr, relogio);
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
  auto cria = reinterpret_cast<CreateFn>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxCreateControlEx")));
  if (!init || !cria) {
    std::printf("demo: atl100.dll is needed to host the control\n");
    return 1;
  }
  init();
  const int altura = 26, largura = 560;
  WNDCLASSW classe{};
  classe.lpfnWndProc = DefWindowProcW;
  classe.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  classe.lpszClassName = L"DelvorinDemo";
  RegisterClassW(&classe);
  HWND form = CreateWindowExW(0, L"DelvorinDemo", L"Delvorin - demonstração", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                              largura + 40, altura * 15 + 60, nullptr, nullptr, nullptr, nullptr);
  HFONT fonte = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  std::vector<_Delvorin*> campos;
  std::vector<HWND> edits;
  for (int i = 0; i < 15; ++i) {
    std::u16string_view rotulo = kRotulosTipo[static_cast<size_t>(i)];
    std::wstring r(rotulo.begin(), rotulo.end());
    HWND l = CreateWindowExW(0, L"STATIC", r.c_str(), WS_CHILD | WS_VISIBLE, 8, 8 + i * altura + 4, 250, altura - 6, form,
                             nullptr, nullptr, nullptr);
    SendMessageW(l, WM_SETFONT, reinterpret_cast<WPARAM>(fonte), FALSE);
    HWND hospede = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 262, 8 + i * altura, 300, altura - 4, form,
                                   nullptr, nullptr, nullptr);
    IUnknown *container = nullptr, *controle = nullptr;
    _Delvorin* d = nullptr;
    if (SUCCEEDED(cria(L"Delvorin2.Delvorin", hospede, nullptr, &container, &controle, IID_NULL, nullptr)) && controle) {
      IUnknown_QueryInterface(controle, kIid_Delvorin, reinterpret_cast<void**>(&d));
      IUnknown_Release(controle);
    }
    HWND janela = nullptr;
    IOleInPlaceObject* ipo = nullptr;
    if (d && SUCCEEDED(_Delvorin_QueryInterface(d, IID_IOleInPlaceObject, reinterpret_cast<void**>(&ipo)))) {
      IOleInPlaceObject_GetWindow(ipo, &janela);
      IOleInPlaceObject_Release(ipo);
    }
    campos.push_back(d);
    edits.push_back(janela ? FindWindowExW(janela, nullptr, L"Edit", nullptr) : nullptr);
  }
  Bombeia();
  for (size_t i = 0; i < campos.size(); ++i) {
    _Delvorin* d = campos[i];
    if (!d) continue;
    const Field& c = kCampos[i];
    _Delvorin_put_Tipo(d, c.tipo);
    if (c.atribuido) {
      BSTR b = SysAllocString(c.atribuido);
      _Delvorin_put_Text(d, b);
      SysFreeString(b);
    } else if (edits[i]) {
      SetFocus(edits[i]);
      Bombeia(2);
      for (const wchar_t* p = c.digitado; *p; ++p) PostMessageW(edits[i], WM_CHAR, *p, 1);
      Bombeia(4);
      SetFocus(form);  // leaving the field formats it
      Bombeia(2);
    }
  }
  Bombeia();
  for (size_t i = 0; i < campos.size(); ++i) {
    std::u16string_view rotulo = kRotulosTipo[i];
    BSTR b = nullptr;
    if (campos[i]) _Delvorin_get_Text(campos[i], &b);
    std::wstring r(rotulo.begin(), rotulo.end());
    r.resize(42, L' ');
    std::printf("%s %s\n", Utf8(r).c_str(), Utf8(b ? b : L"").c_str());
    SysFreeString(b);
  }
  if (argc > 1) test::SalvaBitmap(form, argv[1]);
  Propriedades(campos[9], form, argc > 2 ? argv[2] : nullptr);
  for (_Delvorin* d : campos)
    if (d) _Delvorin_Release(d);
  DestroyWindow(form);
  Bombeia(2);
  OleUninitialize();
  return 0;
}
