// The control hosted in Wine's own ActiveX host window (atl100's AtlAxWin100), in place in a
// top-level window: keys are posted to the real EDIT window and the text is read back, the
// events reach a connection-point sink, Enter behaves by Usar_Enter, and every way of pasting
// from the real clipboard goes through the field's paste rule.
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <initializer_list>
#include <string>
#include <vector>

#include "ocx/Com.h"
#include "ocx/Identifiers.h"
#include "ocx/tests/Sinks.h"
#include "ocx/tests/Test.h"

using namespace delvorin::ocx;
using namespace delvorin::ocx::test;

namespace {

// A view and data advise sink that counts what it is told.
struct Notice {
  IAdviseSink IAdviseSink_iface{};
  LONG ref = 1;
  int dados = 0, vista = 0;
};
Notice* impl_from_IAdviseSink(IAdviseSink* i) { return CONTAINING_RECORD(i, Notice, IAdviseSink_iface); }
HRESULT WINAPI Aviso_QueryInterface(IAdviseSink* i, REFIID riid, void** ppv) {
  *ppv = nullptr;
  if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IAdviseSink)) return E_NOINTERFACE;
  *ppv = i;
  IAdviseSink_AddRef(i);
  return S_OK;
}
ULONG WINAPI Aviso_AddRef(IAdviseSink* i) { return InterlockedIncrement(&impl_from_IAdviseSink(i)->ref); }
ULONG WINAPI Aviso_Release(IAdviseSink* i) { return InterlockedDecrement(&impl_from_IAdviseSink(i)->ref); }
void WINAPI Aviso_OnDataChange(IAdviseSink* i, FORMATETC*, STGMEDIUM*) { ++impl_from_IAdviseSink(i)->dados; }
void WINAPI Aviso_OnViewChange(IAdviseSink* i, DWORD, LONG) { ++impl_from_IAdviseSink(i)->vista; }
void WINAPI Aviso_OnRename(IAdviseSink*, IMoniker*) {}
void WINAPI Aviso_OnSave(IAdviseSink*) {}
void WINAPI Aviso_OnClose(IAdviseSink*) {}
const IAdviseSinkVtbl kAvisoVtbl = {Aviso_QueryInterface, Aviso_AddRef,    Aviso_Release, Aviso_OnDataChange,
                                    Aviso_OnViewChange,   Aviso_OnRename,  Aviso_OnSave,  Aviso_OnClose};

// A property bag that holds nothing: every property loads its default.
struct EmptyBag {
  IPropertyBag IPropertyBag_iface{};
};
HRESULT WINAPI Bolsa_QueryInterface(IPropertyBag* i, REFIID riid, void** ppv) {
  *ppv = nullptr;
  if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IPropertyBag)) return E_NOINTERFACE;
  *ppv = i;
  return S_OK;
}
ULONG WINAPI Bolsa_AddRef(IPropertyBag*) { return 2; }
ULONG WINAPI Bolsa_Release(IPropertyBag*) { return 1; }
HRESULT WINAPI Bolsa_Read(IPropertyBag*, LPCOLESTR, VARIANT*, IErrorLog*) { return E_INVALIDARG; }
HRESULT WINAPI Bolsa_Write(IPropertyBag*, LPCOLESTR, VARIANT*) { return S_OK; }
const IPropertyBagVtbl kBolsaVtbl = {Bolsa_QueryInterface, Bolsa_AddRef, Bolsa_Release, Bolsa_Read, Bolsa_Write};

// A 24-bit picture of what a drawing call paints on a 200 x 40 white canvas.
struct ScreenCapture {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap;
  HGDIOBJ antigo;
  ScreenCapture() {
    HDC tela = GetDC(nullptr);
    bitmap = CreateCompatibleBitmap(tela, 200, 40);
    ReleaseDC(nullptr, tela);
    antigo = SelectObject(dc, bitmap);
    RECT r{0, 0, 200, 40};
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  ~ScreenCapture() {
    SelectObject(dc, antigo);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  // Pixels of colour c inside the border.
  int CountOf(COLORREF c) const {
    int n = 0;
    for (int y = 4; y < 36; ++y)
      for (int x = 4; x < 196; ++x) n += GetPixel(dc, x, y) == c;
    return n;
  }
};

constexpr COLORREF kVermelho = RGB(255, 0, 0), kAzul = RGB(0, 0, 255);

// Out of place, the view and the metafiles show the field in its colours with its text.
void TestaDesenho(IUnknown* controle, _Delvorin* d) {
  _Delvorin_put_Tipo(d, 6);
  _Delvorin_put_BackColor(d, kVermelho);
  _Delvorin_put_ForeColor(d, kAzul);
  BSTR texto = SysAllocString(L"MMMMMM");
  _Delvorin_put_Text(d, texto);
  SysFreeString(texto);

  IViewObject2* vista = nullptr;
  IUnknown_QueryInterface(controle, IID_IViewObject2, reinterpret_cast<void**>(&vista));
  if (vista) {
    ScreenCapture t;
    RECTL r{0, 0, 200, 40};
    HRESULT hr = IViewObject2_Draw(vista, DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, t.dc, &r, nullptr, nullptr, 0);
    ok(hr == S_OK, "Draw: %08lx", hr);
    ok(t.CountOf(kVermelho) > 3000, "the background in BackColor: %d pixels", t.CountOf(kVermelho));
    ok(t.CountOf(kAzul) > 20, "the text in ForeColor: %d pixels", t.CountOf(kAzul));
    ok(IViewObject2_Draw(vista, DVASPECT_ICON, -1, nullptr, nullptr, nullptr, t.dc, &r, nullptr, nullptr, 0) == DV_E_DVASPECT,
       "Draw of the icon aspect");
    IViewObject2_Release(vista);
  } else {
    ok(false, "IViewObject2");
  }

  IDataObject* dados = nullptr;
  IUnknown_QueryInterface(controle, IID_IDataObject, reinterpret_cast<void**>(&dados));
  if (!dados) {
    ok(false, "IDataObject");
    return;
  }
  // The metafiles are as large as the control's extent: 200 x 40 pixels here.
  IOleObject* ole = nullptr;
  IUnknown_QueryInterface(controle, IID_IOleObject, reinterpret_cast<void**>(&ole));
  HDC tela = GetDC(nullptr);
  SIZEL extensao{MulDiv(200, 2540, GetDeviceCaps(tela, LOGPIXELSX)), MulDiv(40, 2540, GetDeviceCaps(tela, LOGPIXELSY))};
  ReleaseDC(nullptr, tela);
  if (ole) {
    IOleObject_SetExtent(ole, DVASPECT_CONTENT, &extensao);
    IOleObject_Release(ole);
  }
  FORMATETC emf{CF_ENHMETAFILE, nullptr, DVASPECT_CONTENT, -1, TYMED_ENHMF};
  STGMEDIUM meio{};
  HRESULT hr = IDataObject_GetData(dados, &emf, &meio);
  ok(hr == S_OK && meio.tymed == TYMED_ENHMF && meio.hEnhMetaFile, "enhanced metafile: %08lx", hr);
  if (hr == S_OK) {
    ScreenCapture t;
    RECT r{0, 0, 200, 40};
    PlayEnhMetaFile(t.dc, meio.hEnhMetaFile, &r);
    ok(t.CountOf(kVermelho) > 3000 && t.CountOf(kAzul) > 20, "the metafile shows the field: %d, %d", t.CountOf(kVermelho),
       t.CountOf(kAzul));
    ReleaseStgMedium(&meio);
  }
  FORMATETC mf{CF_METAFILEPICT, nullptr, DVASPECT_CONTENT, -1, TYMED_MFPICT};
  hr = IDataObject_GetData(dados, &mf, &meio);
  auto* pict = hr == S_OK ? static_cast<METAFILEPICT*>(GlobalLock(meio.hMetaFilePict)) : nullptr;
  ok(pict && pict->mm == MM_ANISOTROPIC && pict->xExt == extensao.cx && pict->yExt == extensao.cy && pict->hMF,
     "metafile picture: %08lx", hr);
  if (pict) GlobalUnlock(meio.hMetaFilePict);
  if (hr == S_OK) ReleaseStgMedium(&meio);
  FORMATETC textoFmt{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  ok(IDataObject_QueryGetData(dados, &textoFmt) == DV_E_FORMATETC, "no text format");
  ok(IDataObject_QueryGetData(dados, &emf) == S_OK, "the metafile format");
  meio.tymed = TYMED_GDI;
  ok(IDataObject_GetData(dados, &textoFmt, &meio) == DV_E_FORMATETC && meio.tymed == TYMED_NULL, "GetData of text");
  ok(IDataObject_GetData(dados, nullptr, &meio) == E_POINTER, "GetData(null)");
  IEnumFORMATETC* formatos = nullptr;
  ULONG n = 0;
  FORMATETC lidos[4];
  ok(IDataObject_EnumFormatEtc(dados, DATADIR_GET, &formatos) == S_OK && formatos &&
         IEnumFORMATETC_Next(formatos, 4, lidos, &n) == S_FALSE && n == 2 && lidos[0].cfFormat == CF_ENHMETAFILE,
     "two formats listed: %lu", n);
  if (formatos) IEnumFORMATETC_Release(formatos);

  // Data and view sinks hear of every change of the text.
  Notice aviso;
  aviso.IAdviseSink_iface.lpVtbl = const_cast<IAdviseSinkVtbl*>(&kAvisoVtbl);
  DWORD cookie = 0;
  hr = IDataObject_DAdvise(dados, &emf, ADVF_NODATA, &aviso.IAdviseSink_iface, &cookie);
  ok(hr == S_OK && cookie, "DAdvise: %08lx", hr);
  texto = SysAllocString(L"OUTRO");
  _Delvorin_put_Text(d, texto);
  SysFreeString(texto);
  ok(aviso.dados >= 1, "data change told: %d", aviso.dados);
  ok(IDataObject_DUnadvise(dados, cookie) == S_OK, "DUnadvise");
  ok(IDataObject_DUnadvise(dados, cookie) == OLE_E_NOCONNECTION, "second DUnadvise");
  IDataObject_Release(dados);
  ok(aviso.ref == 1, "advise sink released: %ld", aviso.ref);
}

// IQuickActivate: site, sinks and font in one call, the status bits and cookies back.
void TestaAtivacaoRapida() {
  IQuickActivate* qa = nullptr;
  HRESULT hr = CoCreateInstance(kClsidDelvorin, nullptr, CLSCTX_INPROC_SERVER, IID_IQuickActivate, reinterpret_cast<void**>(&qa));
  ok(hr == S_OK && qa, "IQuickActivate: %08lx", hr);
  if (!qa) return;
  Sink sink;
  Notice aviso;
  aviso.IAdviseSink_iface.lpVtbl = const_cast<IAdviseSinkVtbl*>(&kAvisoVtbl);
  FONTDESC fd{sizeof(FONTDESC), const_cast<LPOLESTR>(L"Arial"), {{120000, 0}}, FW_BOLD, ANSI_CHARSET, FALSE, FALSE, FALSE};
  IFont* fonte = nullptr;
  OleCreateFontIndirect(&fd, IID_IFont, reinterpret_cast<void**>(&fonte));

  QACONTAINER qc{};
  qc.cbSize = sizeof qc;
  qc.pUnkEventSink = reinterpret_cast<IUnknown*>(&sink.iface);
  qc.pAdviseSink = reinterpret_cast<IAdviseSinkEx*>(&aviso.IAdviseSink_iface);
  qc.pFont = fonte;
  QACONTROL qctl{};
  qctl.cbSize = sizeof qctl;
  qctl.dwEventCookie = qctl.dwMiscStatus = 0xdeadbeef;
  ok(IQuickActivate_QuickActivate(qa, nullptr, &qctl) == E_POINTER, "QuickActivate(null container)");
  QACONTROL curto = qctl;
  curto.cbSize = 8;
  ok(IQuickActivate_QuickActivate(qa, &qc, &curto) == E_INVALIDARG, "a short QACONTROL");
  hr = IQuickActivate_QuickActivate(qa, &qc, &qctl);
  ok(hr == S_OK, "QuickActivate: %08lx", hr);
  IOleObject* ole = nullptr;
  IQuickActivate_QueryInterface(qa, IID_IOleObject, reinterpret_cast<void**>(&ole));
  DWORD status = 0;
  if (ole) IOleObject_GetMiscStatus(ole, DVASPECT_CONTENT, &status);
  ok(qctl.dwMiscStatus == status && (status & OLEMISC_SETCLIENTSITEFIRST), "misc status %08lx", qctl.dwMiscStatus);
  ok(qctl.dwEventCookie != 0 && qctl.dwEventCookie != 0xdeadbeef, "event cookie %lu", qctl.dwEventCookie);
  ok(qctl.dwPropNotifyCookie == 0, "no notify sink, no cookie");

  // A load without a stored font takes the container's.
  EmptyBag bolsa;
  bolsa.IPropertyBag_iface.lpVtbl = const_cast<IPropertyBagVtbl*>(&kBolsaVtbl);
  IPersistPropertyBag* ppb = nullptr;
  IQuickActivate_QueryInterface(qa, IID_IPersistPropertyBag, reinterpret_cast<void**>(&ppb));
  ok(ppb && IPersistPropertyBag_Load(ppb, &bolsa.IPropertyBag_iface, nullptr) == S_OK, "load from an empty bag");
  if (ppb) IPersistPropertyBag_Release(ppb);
  _Delvorin* d = nullptr;
  IQuickActivate_QueryInterface(qa, kIid_Delvorin, reinterpret_cast<void**>(&d));
  IFontDisp* lida = nullptr;
  if (d) _Delvorin_get_Font(d, &lida);
  IFont* lidaFonte = nullptr;
  if (lida) IFontDisp_QueryInterface(lida, IID_IFont, reinterpret_cast<void**>(&lidaFonte));
  CY tamanhoFonte{};
  BOOL negrito = FALSE;
  if (lidaFonte) {
    IFont_get_Size(lidaFonte, &tamanhoFonte);
    IFont_get_Bold(lidaFonte, &negrito);
  }
  // The size comes back as realised on the screen, near the 12 points asked for.
  ok(tamanhoFonte.int64 > 100000 && tamanhoFonte.int64 < 140000 && negrito, "the container's font: size %ld, bold %d", static_cast<long>(tamanhoFonte.int64 / 10000),
     negrito);
  if (lidaFonte) IFont_Release(lidaFonte);
  if (lida) IFontDisp_Release(lida);

  // The event sink connected by QuickActivate hears Change.
  BSTR texto = SysAllocString(L"abc");
  if (d) _Delvorin_put_Text(d, texto);
  SysFreeString(texto);
  ok(CountOf(sink.events, 2) >= 1, "Change reached the quick-activated sink");
  ok(aviso.vista >= 1, "the view sink heard of the change: %d", aviso.vista);

  SIZEL tamanho{5080, 1270}, lido{};
  ok(IQuickActivate_SetContentExtent(qa, &tamanho) == S_OK && IQuickActivate_GetContentExtent(qa, &lido) == S_OK &&
         lido.cx == 5080 && lido.cy == 1270, "content extent");

  if (d) _Delvorin_Release(d);
  if (ole) {
    IOleObject_Close(ole, OLECLOSE_NOSAVE);
    IOleObject_Release(ole);
  }
  ok(IQuickActivate_Release(qa) == 0, "control released");
  ok(sink.ref == 1 && aviso.ref == 1, "sinks released: %ld, %ld", sink.ref, aviso.ref);
  if (fonte) ok(IFont_Release(fonte) == 0, "font released");
}

// ---- Pasting into the real EDIT window ----

// Puts bytes of UTF-16 text on the clipboard as CF_UNICODETEXT, in a block of exactly that
// size (so the text need not end in a NUL within it); no data empties the clipboard.
bool PoeNaAreaDeTransferencia(HWND dono, const void* dados, size_t bytes) {
  if (!OpenClipboard(dono)) return false;
  EmptyClipboard();
  bool posto = true;
  if (dados) {
    HGLOBAL bloco = GlobalAlloc(GMEM_MOVEABLE, bytes);
    void* p = bloco ? GlobalLock(bloco) : nullptr;
    if (p) {
      std::memcpy(p, dados, bytes);
      GlobalUnlock(bloco);
    }
    posto = p && SetClipboardData(CF_UNICODETEXT, bloco);
    if (!posto && bloco) GlobalFree(bloco);
  }
  CloseClipboard();
  return posto;
}

bool PoeTexto(HWND dono, const std::wstring& texto) {
  return PoeNaAreaDeTransferencia(dono, texto.c_str(), (texto.size() + 1) * sizeof(wchar_t));
}

// Dispatches what is queued without TranslateMessage: posted key messages then bring no
// character but the ones posted.
void Despacha() {
  MSG m;
  for (int volta = 0; volta < 50; ++volta) {
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    Sleep(2);
  }
}

// A key pressed with modifiers held, as the EDIT window receives it: the modifiers down in
// the thread's keyboard state (what GetKeyState reads), then the key-down, character and
// key-up messages of all the keys in the order a keyboard sends them.
void Pressiona(HWND edit, std::initializer_list<BYTE> modificadores, UINT tecla, wchar_t caractere) {
  BYTE antes[256], estado[256];
  GetKeyboardState(antes);
  std::memcpy(estado, antes, sizeof estado);
  for (BYTE m : modificadores) estado[m] |= 0x80;
  SetKeyboardState(estado);
  for (BYTE m : modificadores) PostMessageW(edit, WM_KEYDOWN, m, 1);
  PostMessageW(edit, WM_KEYDOWN, tecla, 1);
  if (caractere) PostMessageW(edit, WM_CHAR, caractere, 1);
  PostMessageW(edit, WM_KEYUP, tecla, static_cast<LPARAM>(0xC0000001));
  for (BYTE m : modificadores) PostMessageW(edit, WM_KEYUP, m, static_cast<LPARAM>(0xC0000001));
  Despacha();
  SetKeyboardState(antes);
}

// The EDIT's context menu, opened from the keyboard (no position), and one of its items
// picked by a timer that runs inside the menu's loop: the item's accelerator is typed, or
// Escape when the item is greyed or missing.
struct MenuChoice {
  UINT comando = 0;
  bool menuAberto = false, achou = false, habilitado = false;
  int voltas = 0;
};
MenuChoice g_escolha;

void CALLBACK EscolheNoMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND menu = nullptr;
  while ((menu = FindWindowExW(nullptr, menu, L"#32768", nullptr)))
    if (IsWindowVisible(menu) && GetWindowThreadProcessId(menu, nullptr) == GetCurrentThreadId()) break;
  if (!menu) {
    if (++g_escolha.voltas > 100) KillTimer(nullptr, timer);
    return;
  }
  KillTimer(nullptr, timer);
  g_escolha.menuAberto = true;
  auto itens = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
  wchar_t rotulo[64] = {};
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE | MIIM_STRING;
  info.dwTypeData = rotulo;
  info.cch = 64;
  g_escolha.achou = itens && GetMenuItemInfoW(itens, g_escolha.comando, FALSE, &info);
  g_escolha.habilitado = g_escolha.achou && !(info.fState & MFS_GRAYED);
  const wchar_t* tecla = std::wcschr(rotulo, L'&');
  if (g_escolha.habilitado && tecla && tecla[1])
    PostMessageW(menu, WM_CHAR, static_cast<WPARAM>(std::towlower(tecla[1])), 0);
  else
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
}

void EscolheNoMenuDeContexto(HWND edit, UINT comando) {
  g_escolha = MenuChoice{};
  g_escolha.comando = comando;
  UINT_PTR timer = SetTimer(nullptr, 0, 20, EscolheNoMenu);
  SendMessageW(edit, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit), MAKELPARAM(-1, -1));
  if (!g_escolha.menuAberto) KillTimer(nullptr, timer);
}

enum class Route { WmPaste, CtrlV, ShiftInsert, Menu };
constexpr Route kRotas[] = {Route::WmPaste, Route::CtrlV, Route::ShiftInsert, Route::Menu};
const char* Nome(Route r) {
  switch (r) {
    case Route::WmPaste: return "WM_PASTE";
    case Route::CtrlV: return "Ctrl+V";
    case Route::ShiftInsert: return "Shift+Insert";
    case Route::Menu: return "context menu";
  }
  return "?";
}

// Pastes by one route. The keyboard routes raise KeyDown for both keys, the others none.
void Cola(HWND edit, Route rota) {
  switch (rota) {
    case Route::WmPaste: SendMessageW(edit, WM_PASTE, 0, 0); break;
    case Route::CtrlV: Pressiona(edit, {VK_CONTROL}, 'V', 0x16); break;
    case Route::ShiftInsert: Pressiona(edit, {VK_SHIFT}, VK_INSERT, 0); break;
    case Route::Menu: EscolheNoMenuDeContexto(edit, WM_PASTE); break;
  }
  PumpMessages();
}

// Run on a thread of its own: 1 when the clipboard could be opened (nobody else holds it).
DWORD WINAPI AbreAreaDeTransferencia(void*) {
  if (!OpenClipboard(nullptr)) return 0;
  CloseClipboard();
  return 1;
}

// A text for a failure message, its line breaks and tabs escaped.
std::string Visivel(const wchar_t* texto) {
  std::string r;
  for (char c : Narrow(texto)) {
    if (c == '\r') r += "\\r";
    else if (c == '\n') r += "\\n";
    else if (c == '\t') r += "\\t";
    else r += c;
  }
  return r;
}

void Limpa(_Delvorin* d) {
  BSTR vazio = SysAllocString(L"");
  _Delvorin_put_Text(d, vazio);
  SysFreeString(vazio);
}

// Every paste route enters the clipboard's text through the field's paste rule: KeyPress once
// per character (the host may rewrite it), then the type's filter and layout.
void TestaColar(HWND dono, HWND edit, _Delvorin* d, Sink& sink) {
  const struct {
    unsigned char tipo;
    const wchar_t* colado;
    const wchar_t* esperado;
    int teclas;  // KeyPress events: the characters the rule types (separators and spaces of a
                 // document dropped, an amount in its plain form)
  } casos[] = {
      {9, L"12345678909", L"123.456.789-09", 11},
      {9, L"123.456.789-09", L"123.456.789-09", 11},
      {9, L" 123 456 789 09 ", L"123.456.789-09", 11},
      {0, L"R$ 1.234,56", L"1234,56", 7},
      {1, L"R$ 1.234,56", L"1234,56", 7},
      {3, L"12a3", L"123", 4},
      {4, L"abc", L"abc", 3},
      {4, L"a\r\nb", L"a b", 3},
      {4, L"a\tb", L"a b", 3},
  };
  for (Route rota : kRotas) {
    for (const auto& caso : casos) {
      _Delvorin_put_Tipo(d, caso.tipo);
      Limpa(d);
      // Into the field anew, so that focus entry runs and selects what is there.
      SetFocus(dono);
      PumpMessages();
      SetFocus(edit);
      PumpMessages();
      ok(PoeTexto(dono, caso.colado), "clipboard set");
      sink.events.clear();
      Cola(edit, rota);
      const std::string colado = Visivel(caso.colado);
      ok(TextOf(d) == caso.esperado, "%s of \"%s\" in type %d: \"%s\"", Nome(rota), colado.c_str(), caso.tipo,
         Visivel(TextOf(d).c_str()).c_str());
      ok(CountOf(sink.events, 4) == caso.teclas, "%s of \"%s\": %d KeyPress events", Nome(rota), colado.c_str(),
         CountOf(sink.events, 4));
      const int teclas = rota == Route::CtrlV || rota == Route::ShiftInsert ? 2 : 0;
      ok(CountOf(sink.events, 3) == teclas, "%s: %d KeyDown events", Nome(rota), CountOf(sink.events, 3));
    }
    ok(rota != Route::Menu || (g_escolha.menuAberto && g_escolha.habilitado), "the context menu opened with Paste enabled");
  }

  // The host rewrites KeyAscii in its KeyPress handler; type 6 then upper-cases it.
  _Delvorin_put_Tipo(d, 6);
  Limpa(d);
  PoeTexto(dono, L"xax");
  sink.replaceKeyAscii = 'q';
  Cola(edit, Route::CtrlV);
  sink.replaceKeyAscii = 0;
  ok(TextOf(d) == L"QAQ", "pasted through the host's KeyPress: %ls", TextOf(d).c_str());

  // The text goes in at the selection, within MaxLength.
  _Delvorin_put_Tipo(d, 4);
  BSTR b = SysAllocString(L"abcdef");
  _Delvorin_put_Text(d, b);
  SysFreeString(b);
  SendMessageW(edit, EM_SETSEL, 2, 4);
  PoeTexto(dono, L"XY");
  Cola(edit, Route::ShiftInsert);
  ok(TextOf(d) == L"abXYef", "pasted over the selection: %ls", TextOf(d).c_str());
  DWORD inicio = 0, fim = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&inicio), reinterpret_cast<LPARAM>(&fim));
  ok(inicio == 4 && fim == 4, "the caret after the pasted text: %lu, %lu", inicio, fim);
  _Delvorin_put_MaxLength(d, 8);
  PoeTexto(dono, L"12345");
  SendMessageW(edit, EM_SETSEL, 6, 6);
  Cola(edit, Route::WmPaste);
  ok(TextOf(d) == L"abXYef12", "cut at MaxLength: %ls", TextOf(d).c_str());

  // The EDIT pastes on Shift+Insert with Ctrl held too; Ctrl+Insert alone copies, as before.
  _Delvorin_put_MaxLength(d, 0);
  _Delvorin_put_Tipo(d, 9);
  Limpa(d);
  PoeTexto(dono, L"12345678909");
  Pressiona(edit, {VK_CONTROL, VK_SHIFT}, VK_INSERT, 0);
  ok(TextOf(d) == L"123.456.789-09", "Ctrl+Shift+Insert: %ls", TextOf(d).c_str());
  SendMessageW(edit, EM_SETSEL, 0, 3);
  Pressiona(edit, {VK_CONTROL}, VK_INSERT, 0);
  std::wstring copiado;
  if (OpenClipboard(dono)) {
    HANDLE dados = GetClipboardData(CF_UNICODETEXT);
    const auto* p = dados ? static_cast<const wchar_t*>(GlobalLock(dados)) : nullptr;
    if (p) {
      copiado = p;
      GlobalUnlock(dados);
    }
    CloseClipboard();
  }
  ok(copiado == L"123" && TextOf(d) == L"123.456.789-09", "Ctrl+Insert copied \"%ls\" and left \"%ls\"", copiado.c_str(),
     TextOf(d).c_str());
  _Delvorin_put_Tipo(d, 4);

  // A read-only or disabled box, or an empty clipboard: nothing is pasted and the host hears
  // of no keystroke; the menu offers Paste greyed.
  const struct {
    VARIANT_BOOL travado, habilitado;
    const wchar_t* colado;  // nullptr: an empty clipboard
    bool cinza;             // Paste greyed in the menu
    const char* nome;
  } nada[] = {{VARIANT_TRUE, VARIANT_TRUE, L"abc", true, "read-only"},
              {VARIANT_FALSE, VARIANT_FALSE, L"abc", true, "disabled"},
              {VARIANT_FALSE, VARIANT_TRUE, nullptr, true, "empty clipboard"},
              {VARIANT_FALSE, VARIANT_TRUE, L"", false, "empty text"}};
  for (const auto& caso : nada) {
    for (Route rota : kRotas) {
      // A disabled window gets no keys from the user, nor a context menu.
      if (!caso.habilitado && rota != Route::WmPaste && rota != Route::CtrlV) continue;
      b = SysAllocString(L"fixo");
      _Delvorin_put_Text(d, b);
      SysFreeString(b);
      _Delvorin_put_Locked(d, caso.travado);
      _Delvorin_put_Enabled(d, caso.habilitado);
      if (caso.habilitado) SetFocus(edit);
      if (caso.colado)
        PoeTexto(dono, caso.colado);
      else
        PoeNaAreaDeTransferencia(dono, nullptr, 0);
      sink.events.clear();
      Cola(edit, rota);
      ok(TextOf(d) == L"fixo" && CountOf(sink.events, 4) == 0, "%s, %s: \"%ls\", %d KeyPress events", caso.nome, Nome(rota),
         TextOf(d).c_str(), CountOf(sink.events, 4));
      if (rota == Route::Menu)
        ok(g_escolha.achou && g_escolha.habilitado == !caso.cinza, "%s: Paste %s in the menu", caso.nome,
           caso.cinza ? "greyed" : "enabled");
    }
  }
  _Delvorin_put_Locked(d, VARIANT_FALSE);
  _Delvorin_put_Enabled(d, VARIANT_TRUE);
  SetFocus(edit);

  // Clipboard data without a NUL within its block (even an odd number of bytes) is read to
  // the block's end and no further. (Wine's clipboard itself puts a NUL in the last whole
  // character of such a block: "ab" is what it then holds.)
  const struct {
    size_t bytes;
    const char* nome;
  } blocos[] = {{6, "three characters, no NUL"}, {7, "an odd size"}};
  for (const auto& bloco : blocos) {
    Limpa(d);
    const wchar_t dados[] = {L'a', L'b', L'c', L'd'};
    ok(PoeNaAreaDeTransferencia(dono, dados, bloco.bytes), "%s on the clipboard", bloco.nome);
    Cola(edit, Route::WmPaste);
    ok(TextOf(d) == L"abc" || TextOf(d) == L"ab", "%s: \"%ls\"", bloco.nome, TextOf(d).c_str());
  }

  // A clipboard of a million characters: the paste ends at once, within MaxLength.
  _Delvorin_put_MaxLength(d, 8);
  Limpa(d);
  PoeTexto(dono, std::wstring(1000000, L'7'));
  sink.events.clear();
  const DWORD antes = GetTickCount();
  Cola(edit, Route::WmPaste);
  const DWORD tempo = GetTickCount() - antes;
  ok(TextOf(d) == L"77777777", "a huge clipboard text: %d characters", static_cast<int>(TextOf(d).size()));
  ok(tempo < 20000, "a huge clipboard text pasted in %lu ms", tempo);
  _Delvorin_put_MaxLength(d, 0);

  // A KeyPress handler that pastes again is not followed into; one that opens the clipboard
  // from another thread finds it free.
  Limpa(d);
  PoeTexto(dono, L"ab");
  sink.events.clear();
  int livres = 0, vezes = 0;
  sink.onKeyPress = [&] {
    SendMessageW(edit, WM_PASTE, 0, 0);
    Pressiona(edit, {VK_CONTROL}, 'V', 0x16);
    HANDLE fio = CreateThread(nullptr, 0, AbreAreaDeTransferencia, nullptr, 0, nullptr);
    DWORD livre = 0;
    if (fio) {
      WaitForSingleObject(fio, 5000);
      GetExitCodeThread(fio, &livre);
      CloseHandle(fio);
    }
    livres += livre == 1;
    ++vezes;
  };
  Cola(edit, Route::WmPaste);
  sink.onKeyPress = nullptr;
  ok(TextOf(d) == L"ab" && CountOf(sink.events, 4) == 2, "a re-entering host: \"%ls\", %d KeyPress events",
     TextOf(d).c_str(), CountOf(sink.events, 4));
  ok(vezes == 2 && livres == 2, "the clipboard free during KeyPress: %d of %d", livres, vezes);

  PoeNaAreaDeTransferencia(dono, nullptr, 0);
}

}  // namespace

int wmain() {
  OleInitialize(nullptr);
  HMODULE atl = LoadLibraryW(L"atl100.dll");
  using Init = BOOL(WINAPI*)();
  using CreateFn = HRESULT(WINAPI*)(LPCOLESTR, HWND, IStream*, IUnknown**, IUnknown**, REFIID, IUnknown*);
  auto init = reinterpret_cast<Init>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")));
  auto cria = reinterpret_cast<CreateFn>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxCreateControlEx")));
  ok(atl && init && cria, "atl100.dll with AtlAxWinInit and AtlAxCreateControlEx");
  if (!init || !cria) return delvorin::ocx::test::Result("test_container");
  init();

  HWND janela = CreateWindowExW(0, L"STATIC", L"Delvorin", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 120, nullptr,
                                nullptr, nullptr, nullptr);
  IUnknown* container = nullptr;
  IUnknown* controle = nullptr;
  HRESULT hr = cria(L"Delvorin2.Delvorin", janela, nullptr, &container, &controle, IID_NULL, nullptr);
  ok(hr == S_OK && controle, "AtlAxCreateControlEx: %08lx", hr);
  if (FAILED(hr) || !controle) return delvorin::ocx::test::Result("test_container");

  _Delvorin* d = nullptr;
  IUnknown_QueryInterface(controle, kIid_Delvorin, reinterpret_cast<void**>(&d));
  IOleInPlaceObject* noLugar = nullptr;
  hr = IUnknown_QueryInterface(controle, IID_IOleInPlaceObject, reinterpret_cast<void**>(&noLugar));
  HWND janelaControle = nullptr;
  if (noLugar) IOleInPlaceObject_GetWindow(noLugar, &janelaControle);
  ok(janelaControle && IsChild(janela, janelaControle), "the control is in place in the form");
  HWND edit = janelaControle ? FindWindowExW(janelaControle, nullptr, L"Edit", nullptr) : nullptr;
  ok(edit != nullptr, "the edit box is a real EDIT window inside the control");

  Sink sink;
  IConnectionPointContainer* cpc = nullptr;
  IConnectionPoint* cp = nullptr;
  DWORD cookie = 0;
  IUnknown_QueryInterface(controle, IID_IConnectionPointContainer, reinterpret_cast<void**>(&cpc));
  if (cpc) IConnectionPointContainer_FindConnectionPoint(cpc, kDiid__Delvorin, &cp);
  hr = cp ? IConnectionPoint_Advise(cp, reinterpret_cast<IUnknown*>(&sink.iface), &cookie) : E_FAIL;
  ok(hr == S_OK && cookie != 0, "Advise: %08lx", hr);

  // The points and the connections can be listed.
  IEnumConnectionPoints* pontos = nullptr;
  ok(cpc && IConnectionPointContainer_EnumConnectionPoints(cpc, &pontos) == S_OK && pontos, "EnumConnectionPoints");
  if (pontos) {
    IConnectionPoint* lidos[3] = {};
    ULONG n = 0;
    ok(IEnumConnectionPoints_Next(pontos, 3, lidos, &n) == S_FALSE && n == 2, "two connection points: %lu", n);
    IID iids[2] = {};
    for (ULONG k = 0; k < n && k < 2; ++k) {
      IConnectionPoint_GetConnectionInterface(lidos[k], &iids[k]);
      IConnectionPoint_Release(lidos[k]);
    }
    ok(IsEqualIID(iids[0], kDiid__Delvorin) && IsEqualIID(iids[1], IID_IPropertyNotifySink), "the events, then notices");
    IEnumConnectionPoints* copia = nullptr;
    ok(IEnumConnectionPoints_Reset(pontos) == S_OK && IEnumConnectionPoints_Skip(pontos, 1) == S_OK &&
           IEnumConnectionPoints_Clone(pontos, &copia) == S_OK && copia,
       "Reset, Skip, Clone");
    n = 0;
    IConnectionPoint* um = nullptr;
    ok(copia && IEnumConnectionPoints_Next(copia, 1, &um, &n) == S_OK && n == 1, "the clone goes on from the second");
    IID iid{};
    if (um) {
      IConnectionPoint_GetConnectionInterface(um, &iid);
      IConnectionPoint_Release(um);
    }
    ok(IsEqualIID(iid, IID_IPropertyNotifySink), "the clone's next point");
    ok(IEnumConnectionPoints_Skip(pontos, 5) == S_FALSE, "Skip past the end");
    if (copia) IEnumConnectionPoints_Release(copia);
    IEnumConnectionPoints_Release(pontos);
  }
  IEnumConnections* conexoes = nullptr;
  ok(cp && IConnectionPoint_EnumConnections(cp, &conexoes) == S_OK && conexoes, "EnumConnections");
  if (conexoes) {
    CONNECTDATA dados[2] = {};
    ULONG n = 0;
    ok(IEnumConnections_Next(conexoes, 2, dados, &n) == S_FALSE && n == 1 && dados[0].dwCookie == cookie && dados[0].pUnk,
       "one connection, our cookie: %lu", n);
    if (n >= 1 && dados[0].pUnk) IUnknown_Release(dados[0].pUnk);
    IEnumConnections_Release(conexoes);
  }

  if (d && edit) {
    _Delvorin_put_Tipo(d, 9);
    _Delvorin_put_MSGcpf(d, VARIANT_FALSE);
    SetFocus(edit);
    PumpMessages();
    sink.events.clear();
    TypeText(edit, L"123456789012");
    ok(TextOf(d) == L"123.456.789-01", "typed CPF: %ls", TextOf(d).c_str());
    ok(CountOf(sink.events, 4) == 12, "%d KeyPress events", CountOf(sink.events, 4));
    ok(CountOf(sink.events, 2) == 14, "%d Change events", CountOf(sink.events, 2));

    // Enter without Usar_Enter: the control eats Return and raises TeclaEnter.
    _Delvorin_put_Usar_Enter(d, VARIANT_FALSE);
    IOleControl* oc = nullptr;
    IUnknown_QueryInterface(controle, IID_IOleControl, reinterpret_cast<void**>(&oc));
    CONTROLINFO ci{sizeof(ci), nullptr, 0, 0};
    if (oc) IOleControl_GetControlInfo(oc, &ci);
    ok(ci.dwFlags & CTRLINFO_EATS_RETURN, "CTRLINFO_EATS_RETURN with Usar_Enter False");
    sink.events.clear();
    TypeText(edit, L"\r");
    ok(CountOf(sink.events, 5) == 1, "TeclaEnter raised once");
    // A dialog hands Enter to the field only while the field raises TeclaEnter with it.
    MSG enter{edit, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    ok(SendMessageW(edit, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)) & DLGC_WANTMESSAGE,
       "the field wants Enter with Usar_Enter False");
    _Delvorin_put_Usar_Enter(d, VARIANT_TRUE);
    ok(!(SendMessageW(edit, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)) & DLGC_WANTMESSAGE),
       "not with Usar_Enter True");
    _Delvorin_put_Usar_Enter(d, VARIANT_FALSE);

    // The host rewrites KeyAscii in its KeyPress handler; type 6 then upper-cases it.
    _Delvorin_put_Tipo(d, 6);
    _Delvorin_put_Text(d, SysAllocString(L""));
    sink.replaceKeyAscii = 'q';
    TypeText(edit, L"xa");
    ok(TextOf(d) == L"QA", "rewritten key: %ls", TextOf(d).c_str());
    sink.replaceKeyAscii = 0;

    // Freezing events holds them back.
    sink.events.clear();
    if (oc) IOleControl_FreezeEvents(oc, TRUE);
    TypeText(edit, L"b");
    ok(sink.events.empty(), "no event while frozen");
    if (oc) IOleControl_FreezeEvents(oc, FALSE);
    TypeText(edit, L"c");
    ok(!sink.events.empty(), "events again after thawing");
    if (oc) IOleControl_Release(oc);

    TestaColar(janela, edit, d, sink);

    // Mouse moves reach the host in twips.
    HDC tela = GetDC(nullptr);
    const float twipsX = 1440.0f / static_cast<float>(GetDeviceCaps(tela, LOGPIXELSX));
    const float twipsY = 1440.0f / static_cast<float>(GetDeviceCaps(tela, LOGPIXELSY));
    ReleaseDC(nullptr, tela);
    PostMessageW(edit, WM_MOUSEMOVE, 0, MAKELPARAM(15, 6));
    PumpMessages();
    ok(sink.x == 15 * twipsX && sink.y == 6 * twipsY, "MouseMove at %g, %g twips", sink.x, sink.y);

    // The edit box paints in BackColor and ForeColor, system colours included.
    HWND pai = GetParent(edit);
    HDC dc = GetDC(edit);
    const struct {
      OLE_COLOR fundo, frente;
      COLORREF esperadoFundo, esperadoFrente;
    } cores[] = {{kVermelho, kAzul, kVermelho, kAzul},
                 {0x80000005, 0x80000008, GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT)},
                 {0x0000FF00, 0x80000012, RGB(0, 255, 0), GetSysColor(COLOR_BTNTEXT)}};
    for (const auto& c : cores) {
      _Delvorin_put_BackColor(d, c.fundo);
      _Delvorin_put_ForeColor(d, c.frente);
      auto pincel = reinterpret_cast<HBRUSH>(SendMessageW(pai, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit)));
      LOGBRUSH lb{};
      ok(pincel && GetObjectW(pincel, sizeof lb, &lb) == sizeof lb && lb.lbColor == c.esperadoFundo,
         "background brush %06lx for %08lx", lb.lbColor, c.fundo);
      ok(GetTextColor(dc) == c.esperadoFrente && GetBkColor(dc) == c.esperadoFundo, "text colours for %08lx", c.frente);
    }
    ReleaseDC(edit, dc);
    ok(_Delvorin_put_BackColor(d, 0x81000000) == CTL_E_INVALIDPROPERTYVALUE, "not a colour");

    // Leaving a CPF field with a wrong number: a warning box owned by the form, and with
    // TravaCpf the focus comes back to the field.
    HWND outro = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP, 0, 70, 100, 20, janela,
                                 nullptr, nullptr, nullptr);
    HHOOK gancho = SetWindowsHookExW(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
    _Delvorin_put_Tipo(d, 9);
    _Delvorin_put_MSGcpf(d, VARIANT_TRUE);
    const struct {
      VARIANT_BOOL trava;
      const wchar_t* mensagem;
      bool focoVolta;
    } casos[] = {{VARIANT_FALSE, L"CPF Inválido.", false},
                 {VARIANT_TRUE, L"CPF Inválido. Redigite ( ou deixe em branco)", true}};
    for (const auto& caso : casos) {
      _Delvorin_put_TravaCpf(d, caso.trava);
      BSTR vazio = SysAllocString(L"");
      _Delvorin_put_Text(d, vazio);
      SysFreeString(vazio);
      SetFocus(edit);
      PumpMessages();
      TypeText(edit, L"12345678900");
      g_boxes.clear();
      SetFocus(outro);
      PumpMessages();
      ok(g_boxes.size() == 1, "one message box: %d", static_cast<int>(g_boxes.size()));
      if (!g_boxes.empty()) {
        const MessageBoxRecord& m = g_boxes[0];
        ok(m.title == L"Delvorin" && m.text == caso.mensagem, "message \"%ls\" titled \"%ls\"", m.text.c_str(),
           m.title.c_str());
        ok(m.exclamation && m.okOnly, "warning icon (%d) and one OK button (%d buttons)", m.exclamation, m.buttons);
        ok(m.owner == janela, "owned by the form");
      }
      ok((GetFocus() == edit) == caso.focoVolta, "focus %s the field", caso.focoVolta ? "back in" : "away from");
    }
    _Delvorin_put_TravaCpf(d, VARIANT_FALSE);
    _Delvorin_put_MSGcpf(d, VARIANT_FALSE);
    SetFocus(outro);
    PumpMessages();
    // The Properties verb opens the property frame with the pages the system can create (in
    // Wine the control's own Geral and Sobre); the hook closes it with OK. (Wine's frame does
    // not pass the window on to its sheet as the owner.)
    IOleObject* ole = nullptr;
    IUnknown_QueryInterface(controle, IID_IOleObject, reinterpret_cast<void**>(&ole));
    g_boxes.clear();
    hr = ole ? IOleObject_DoVerb(ole, OLEIVERB_PROPERTIES, nullptr, nullptr, 0, janela, nullptr) : E_FAIL;
    ok(hr == S_OK, "Properties verb: %08lx", hr);
    ok(g_boxes.size() == 1 && g_boxes[0].buttons >= 3, "the property frame (OK, Cancel, Apply): %d windows",
       static_cast<int>(g_boxes.size()));
    if (ole) IOleObject_Release(ole);
    UnhookWindowsHookEx(gancho);
    DestroyWindow(outro);
  }

  // Design time: the control's pages with the standard ones, and the value list of Tipo.
  ISpecifyPropertyPages* spp = nullptr;
  IUnknown_QueryInterface(controle, IID_ISpecifyPropertyPages, reinterpret_cast<void**>(&spp));
  CAUUID paginas{0, nullptr};
  ok(spp && ISpecifyPropertyPages_GetPages(spp, &paginas) == S_OK && paginas.cElems == 5 &&
         IsEqualGUID(paginas.pElems[0], kClsidGeral) && IsEqualGUID(paginas.pElems[3], kClsidSobre),
     "Geral, three standard pages and Sobre");
  CoTaskMemFree(paginas.pElems);
  if (spp) ISpecifyPropertyPages_Release(spp);
  IPerPropertyBrowsing* ppb = nullptr;
  IUnknown_QueryInterface(controle, IID_IPerPropertyBrowsing, reinterpret_cast<void**>(&ppb));
  if (ppb) {
    CALPOLESTR textos{0, nullptr};
    CADWORD cookies{0, nullptr};
    ok(IPerPropertyBrowsing_GetPredefinedStrings(ppb, 0x6803000b, &textos, &cookies) == S_OK && textos.cElems == 15,
       "15 type labels");
    if (textos.cElems == 15) ok(std::wstring(textos.pElems[9]) == L"9 - CPF", "label 9: %ls", textos.pElems[9]);
    for (ULONG k = 0; k < textos.cElems; ++k) CoTaskMemFree(textos.pElems[k]);
    CoTaskMemFree(textos.pElems);
    CoTaskMemFree(cookies.pElems);
    VARIANT v;
    ok(IPerPropertyBrowsing_GetPredefinedValue(ppb, 0x6803000b, 10, &v) == S_OK && V_VT(&v) == VT_UI1 && V_UI1(&v) == 10,
       "value of the label 10");
    CLSID pagina = CLSID_NULL;
    ok(IPerPropertyBrowsing_MapPropertyToPage(ppb, 0x6803000b, &pagina) == S_OK && IsEqualGUID(pagina, kClsidGeral),
       "Tipo opens Geral");
    IPerPropertyBrowsing_Release(ppb);
  } else {
    ok(false, "IPerPropertyBrowsing");
  }

  if (d) TestaDesenho(controle, d);

  if (cp) {
    ok(IConnectionPoint_Unadvise(cp, cookie) == S_OK, "Unadvise");
    ok(IConnectionPoint_Unadvise(cp, cookie) == CONNECT_E_NOCONNECTION, "second Unadvise");
    IConnectionPoint_Release(cp);
  }
  if (cpc) IConnectionPointContainer_Release(cpc);
  if (noLugar) IOleInPlaceObject_Release(noLugar);
  if (d) _Delvorin_Release(d);
  IUnknown_Release(controle);
  if (container) IUnknown_Release(container);
  DestroyWindow(janela);
  PumpMessages();
  ok(sink.ref == 1, "the sink was released: ref %ld", sink.ref);
  TestaAtivacaoRapida();
  OleUninitialize();
  return delvorin::ocx::test::Result("test_container");
}
