// The control hosted in Wine's own ActiveX host window (atl100's AtlAxWin100), in place in a
// top-level window: keys are posted to the real EDIT window and the text is read back, the
// events reach a connection-point sink, Enter behaves by Usar_Enter, and every way of pasting
// from the real clipboard goes through the field's paste rule.
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <initializer_list>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "ocx/Com.h"
#include <oleacc.h>
#include "ocx/Identifiers.h"
#include "ocx/tests/RecordingSink.h"
#include "ocx/tests/Sinks.h"
#include "ocx/tests/Test.h"

using namespace delvorin::ocx;
using namespace delvorin::ocx::test;

namespace {

// A view and data advise sink that counts what it is told.
struct Notice : RecordingSink<IAdviseSink> {
  Notice();
  int dataChanges = 0, viewChanges = 0;
};
Notice* impl_from_IAdviseSink(IAdviseSink* i) { return static_cast<Notice*>(Notice::From(i)); }
void WINAPI Notice_OnDataChange(IAdviseSink* i, FORMATETC*, STGMEDIUM*) {
  impl_from_IAdviseSink(i)->Record("OnDataChange");
  ++impl_from_IAdviseSink(i)->dataChanges;
}
void WINAPI Notice_OnViewChange(IAdviseSink* i, DWORD, LONG) {
  impl_from_IAdviseSink(i)->Record("OnViewChange");
  ++impl_from_IAdviseSink(i)->viewChanges;
}
void WINAPI Notice_OnRename(IAdviseSink* i, IMoniker*) { impl_from_IAdviseSink(i)->Record("OnRename"); }
void WINAPI Notice_OnSave(IAdviseSink* i) { impl_from_IAdviseSink(i)->Record("OnSave"); }
void WINAPI Notice_OnClose(IAdviseSink* i) { impl_from_IAdviseSink(i)->Record("OnClose"); }
const IAdviseSinkVtbl kNoticeVtbl = {Notice::QueryInterface, Notice::AddRef,    Notice::Release, Notice_OnDataChange,
                                     Notice_OnViewChange,    Notice_OnRename,   Notice_OnSave,   Notice_OnClose};
Notice::Notice() : RecordingSink(&kNoticeVtbl, {IID_IAdviseSink}) {}

// A property bag that holds nothing: every property loads its default.
struct EmptyBag : RecordingSink<IPropertyBag> {
  EmptyBag();
};
HRESULT WINAPI EmptyBag_Read(IPropertyBag* i, LPCOLESTR, VARIANT*, IErrorLog*) {
  EmptyBag::From(i)->Record("Read");
  return E_INVALIDARG;
}
HRESULT WINAPI EmptyBag_Write(IPropertyBag* i, LPCOLESTR, VARIANT*) {
  EmptyBag::From(i)->Record("Write");
  return S_OK;
}
const IPropertyBagVtbl kEmptyBagVtbl = {EmptyBag::QueryInterface, EmptyBag::AddRef, EmptyBag::Release, EmptyBag_Read,
                                        EmptyBag_Write};
EmptyBag::EmptyBag() : RecordingSink(&kEmptyBagVtbl, {IID_IPropertyBag}) {}

// A 24-bit picture of what a drawing call paints on a 200 x 40 white canvas.
struct ScreenCapture {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap;
  HGDIOBJ old;
  ScreenCapture() {
    HDC screen = GetDC(nullptr);
    bitmap = CreateCompatibleBitmap(screen, 200, 40);
    ReleaseDC(nullptr, screen);
    old = SelectObject(dc, bitmap);
    RECT r{0, 0, 200, 40};
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  ~ScreenCapture() {
    SelectObject(dc, old);
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

constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);

// ---- The control in the host window, shared by the steps below ----

HWND g_form = nullptr;          // the top-level window the host window is in
IUnknown* g_control = nullptr;  // the control, as AtlAxCreateControlEx gave it
_Delvorin* g_delvorin = nullptr;
HWND g_edit = nullptr;          // the real EDIT window inside the control
Sink g_sink;                    // the event sink connected to the control
IConnectionPointContainer* g_cpc = nullptr;
IConnectionPoint* g_cp = nullptr;  // the events' connection point
DWORD g_cookie = 0;

template <typename T>
T* ControlInterface(REFIID riid) {
  void* p = nullptr;
  if (!g_control || FAILED(IUnknown_QueryInterface(g_control, riid, &p))) return nullptr;
  return static_cast<T*>(p);
}

void PutText(_Delvorin* d, const wchar_t* text) {
  BSTR b = SysAllocString(text);
  _Delvorin_put_Text(d, b);
  SysFreeString(b);
}

// Valor through the interface of 1.2, as its variant type and value: a currency in
// ten-thousandths, a date as its serial number.
std::wstring ValorOf(_Delvorin* d) {
  _Delvorin12* d12 = nullptr;
  if (FAILED(_Delvorin_QueryInterface(d, kIid_Delvorin12, reinterpret_cast<void**>(&d12)))) return L"no _Delvorin12";
  VARIANT v;
  VariantInit(&v);
  const HRESULT hr = _Delvorin12_get_Valor(d12, &v);
  _Delvorin12_Release(d12);
  if (FAILED(hr)) return L"failed";
  wchar_t value[64] = L"";
  switch (V_VT(&v)) {
    case VT_CY: swprintf(value, 64, L" %lld", static_cast<long long>(V_CY(&v).int64)); break;
    case VT_R8: swprintf(value, 64, L" %.15g", V_R8(&v)); break;
    case VT_DATE: swprintf(value, 64, L" %.15g", V_DATE(&v)); break;
    default: break;
  }
  std::wstring r = std::to_wstring(V_VT(&v)) + value;
  if (V_VT(&v) == VT_BSTR) r += L" " + std::wstring(V_BSTR(&v), SysStringLen(V_BSTR(&v)));
  VariantClear(&v);
  return r;
}

// A text property of 1.2 written through its slot of _Delvorin12.
HRESULT PutText12(_Delvorin* d, HRESULT (*put)(_Delvorin12*, BSTR), const wchar_t* text) {
  _Delvorin12* d12 = nullptr;
  HRESULT hr = _Delvorin_QueryInterface(d, kIid_Delvorin12, reinterpret_cast<void**>(&d12));
  if (FAILED(hr)) return hr;
  BSTR b = SysAllocString(text);
  hr = put(d12, b);
  SysFreeString(b);
  _Delvorin12_Release(d12);
  return hr;
}
HRESULT PutMascaraSlot(_Delvorin12* d, BSTR b) { return _Delvorin12_put_Mascara(d, b); }
HRESULT PutNomeAcessivel(_Delvorin12* d, BSTR b) { return _Delvorin12_put_NomeAcessivel(d, b); }
HRESULT PutMascara(_Delvorin* d, const wchar_t* mask) { return PutText12(d, PutMascaraSlot, mask); }

VARIANT_BOOL ValidoOf(_Delvorin* d) {
  _Delvorin12* d12 = nullptr;
  VARIANT_BOOL v = 0x1234;  // a value no getter gives
  if (SUCCEEDED(_Delvorin_QueryInterface(d, kIid_Delvorin12, reinterpret_cast<void**>(&d12)))) {
    _Delvorin12_get_Valido(d12, &v);
    _Delvorin12_Release(d12);
  }
  return v;
}

// ---- Drawing out of place ----

// The view draws the field in its colours with its text; the icon aspect is not drawn.
void test_view_draw(_Delvorin* d) {
  _Delvorin_put_Tipo(d, 6);
  _Delvorin_put_BackColor(d, kRed);
  _Delvorin_put_ForeColor(d, kBlue);
  PutText(d, L"MMMMMM");
  IViewObject2* view = ControlInterface<IViewObject2>(IID_IViewObject2);
  ok(view != nullptr, "IViewObject2");
  if (!view) return;
  ScreenCapture t;
  RECTL r{0, 0, 200, 40};
  HRESULT hr = IViewObject2_Draw(view, DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, t.dc, &r, nullptr, nullptr, 0);
  ok(hr == S_OK, "Draw: %08lx", hr);
  ok(t.CountOf(kRed) > 3000, "the background in BackColor: %d pixels", t.CountOf(kRed));
  ok(t.CountOf(kBlue) > 20, "the text in ForeColor: %d pixels", t.CountOf(kBlue));
  ok(IViewObject2_Draw(view, DVASPECT_ICON, -1, nullptr, nullptr, nullptr, t.dc, &r, nullptr, nullptr, 0) == DV_E_DVASPECT,
     "Draw of the icon aspect");
  IViewObject2_Release(view);
}

// The metafiles are as large as the control's extent: 200 x 40 pixels here.
void test_metafiles(IDataObject* data) {
  IOleObject* ole = ControlInterface<IOleObject>(IID_IOleObject);
  HDC screen = GetDC(nullptr);
  SIZEL extent{MulDiv(200, 2540, GetDeviceCaps(screen, LOGPIXELSX)), MulDiv(40, 2540, GetDeviceCaps(screen, LOGPIXELSY))};
  ReleaseDC(nullptr, screen);
  if (ole) {
    IOleObject_SetExtent(ole, DVASPECT_CONTENT, &extent);
    IOleObject_Release(ole);
  }
  FORMATETC emf{CF_ENHMETAFILE, nullptr, DVASPECT_CONTENT, -1, TYMED_ENHMF};
  STGMEDIUM medium{};
  HRESULT hr = IDataObject_GetData(data, &emf, &medium);
  ok(hr == S_OK && medium.tymed == TYMED_ENHMF && medium.hEnhMetaFile, "enhanced metafile: %08lx", hr);
  if (hr == S_OK) {
    ScreenCapture t;
    RECT r{0, 0, 200, 40};
    PlayEnhMetaFile(t.dc, medium.hEnhMetaFile, &r);
    ok(t.CountOf(kRed) > 3000 && t.CountOf(kBlue) > 20, "the metafile shows the field: %d, %d", t.CountOf(kRed),
       t.CountOf(kBlue));
    ReleaseStgMedium(&medium);
  }
  FORMATETC mf{CF_METAFILEPICT, nullptr, DVASPECT_CONTENT, -1, TYMED_MFPICT};
  hr = IDataObject_GetData(data, &mf, &medium);
  auto* pict = hr == S_OK ? static_cast<METAFILEPICT*>(GlobalLock(medium.hMetaFilePict)) : nullptr;
  ok(pict && pict->mm == MM_ANISOTROPIC && pict->xExt == extent.cx && pict->yExt == extent.cy && pict->hMF,
     "metafile picture: %08lx", hr);
  if (pict) GlobalUnlock(medium.hMetaFilePict);
  if (hr == S_OK) ReleaseStgMedium(&medium);
}

// Only the two metafile formats are offered.
void test_data_formats(IDataObject* data) {
  FORMATETC emf{CF_ENHMETAFILE, nullptr, DVASPECT_CONTENT, -1, TYMED_ENHMF};
  FORMATETC textFormat{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  ok(IDataObject_QueryGetData(data, &textFormat) == DV_E_FORMATETC, "no text format");
  ok(IDataObject_QueryGetData(data, &emf) == S_OK, "the metafile format");
  medium.tymed = TYMED_GDI;
  ok(IDataObject_GetData(data, &textFormat, &medium) == DV_E_FORMATETC && medium.tymed == TYMED_NULL, "GetData of text");
  ok(IDataObject_GetData(data, nullptr, &medium) == E_POINTER, "GetData(null)");
  IEnumFORMATETC* formats = nullptr;
  ULONG n = 0;
  FORMATETC read[4];
  ok(IDataObject_EnumFormatEtc(data, DATADIR_GET, &formats) == S_OK && formats &&
         IEnumFORMATETC_Next(formats, 4, read, &n) == S_FALSE && n == 2 && read[0].cfFormat == CF_ENHMETAFILE,
     "two formats listed: %lu", n);
  if (formats) IEnumFORMATETC_Release(formats);
}

// Data and view sinks hear of every change of the text.
void test_data_advise(IDataObject* data, _Delvorin* d) {
  FORMATETC emf{CF_ENHMETAFILE, nullptr, DVASPECT_CONTENT, -1, TYMED_ENHMF};
  Notice notice;
  DWORD cookie = 0;
  HRESULT hr = IDataObject_DAdvise(data, &emf, ADVF_NODATA, &notice.iface, &cookie);
  ok(hr == S_OK && cookie, "DAdvise: %08lx", hr);
  PutText(d, L"OUTRO");
  ok(notice.dataChanges >= 1, "data change told: %d", notice.dataChanges);
  ok(IDataObject_DUnadvise(data, cookie) == S_OK, "DUnadvise");
  ok(IDataObject_DUnadvise(data, cookie) == OLE_E_NOCONNECTION, "second DUnadvise");
  ok(notice.ref == 1, "advise sink released: %ld", notice.ref);
}

// Out of place, the view and the metafiles show the field in its colours with its text.
void test_drawing() {
  test_view_draw(g_delvorin);
  IDataObject* data = ControlInterface<IDataObject>(IID_IDataObject);
  ok(data != nullptr, "IDataObject");
  if (!data) return;
  test_metafiles(data);
  test_data_formats(data);
  test_data_advise(data, g_delvorin);
  IDataObject_Release(data);
}

// ---- IQuickActivate: site, sinks and font in one call, the status bits and cookies back ----

struct QuickActivation {
  IQuickActivate* qa = nullptr;
  Sink sink;
  Notice notice;
  IFont* font = nullptr;  // the container's
  _Delvorin* d = nullptr;
};

// Bad arguments are refused; the call answers the misc status and the event cookie.
void test_quick_activate_call(QuickActivation& q) {
  FONTDESC fd{sizeof(FONTDESC), const_cast<LPOLESTR>(L"Arial"), {{120000, 0}}, FW_BOLD, ANSI_CHARSET, FALSE, FALSE, FALSE};
  OleCreateFontIndirect(&fd, IID_IFont, reinterpret_cast<void**>(&q.font));
  QACONTAINER qc{};
  qc.cbSize = sizeof qc;
  qc.pUnkEventSink = reinterpret_cast<IUnknown*>(&q.sink.iface);
  qc.pAdviseSink = reinterpret_cast<IAdviseSinkEx*>(&q.notice.iface);
  qc.pFont = q.font;
  QACONTROL qctl{};
  qctl.cbSize = sizeof qctl;
  qctl.dwEventCookie = qctl.dwMiscStatus = 0xdeadbeef;
  ok(IQuickActivate_QuickActivate(q.qa, nullptr, &qctl) == E_POINTER, "QuickActivate(null container)");
  QACONTROL shortControl = qctl;
  shortControl.cbSize = 8;
  ok(IQuickActivate_QuickActivate(q.qa, &qc, &shortControl) == E_INVALIDARG, "a short QACONTROL");
  HRESULT hr = IQuickActivate_QuickActivate(q.qa, &qc, &qctl);
  ok(hr == S_OK, "QuickActivate: %08lx", hr);
  IOleObject* ole = nullptr;
  IQuickActivate_QueryInterface(q.qa, IID_IOleObject, reinterpret_cast<void**>(&ole));
  DWORD status = 0;
  if (ole) {
    IOleObject_GetMiscStatus(ole, DVASPECT_CONTENT, &status);
    IOleObject_Release(ole);
  }
  ok(qctl.dwMiscStatus == status && (status & OLEMISC_SETCLIENTSITEFIRST), "misc status %08lx", qctl.dwMiscStatus);
  ok(qctl.dwEventCookie != 0 && qctl.dwEventCookie != 0xdeadbeef, "event cookie %lu", qctl.dwEventCookie);
  ok(qctl.dwPropNotifyCookie == 0, "no notify sink, no cookie");
}

// A load without a stored font takes the container's.
void test_quick_activate_font(QuickActivation& q) {
  EmptyBag bag;
  IPersistPropertyBag* ppb = nullptr;
  IQuickActivate_QueryInterface(q.qa, IID_IPersistPropertyBag, reinterpret_cast<void**>(&ppb));
  ok(ppb && IPersistPropertyBag_Load(ppb, &bag.iface, nullptr) == S_OK, "load from an empty bag");
  if (ppb) IPersistPropertyBag_Release(ppb);
  ok(bag.ref == 1 && !bag.calls.empty() && bag.calls[0] == "Read", "the bag was read and released: %ld, %d calls", bag.ref,
     static_cast<int>(bag.calls.size()));
  IFontDisp* fontDisp = nullptr;
  if (q.d) _Delvorin_get_Font(q.d, &fontDisp);
  IFont* font = nullptr;
  if (fontDisp) IFontDisp_QueryInterface(fontDisp, IID_IFont, reinterpret_cast<void**>(&font));
  CY size{};
  BOOL bold = FALSE;
  if (font) {
    IFont_get_Size(font, &size);
    IFont_get_Bold(font, &bold);
  }
  // The size comes back as realised on the screen, near the 12 points asked for.
  ok(size.int64 > 100000 && size.int64 < 140000 && bold, "the container's font: size %ld, bold %d",
     static_cast<long>(size.int64 / 10000), bold);
  if (font) IFont_Release(font);
  if (fontDisp) IFontDisp_Release(fontDisp);
}

// The event sink connected by QuickActivate hears Change, the view sink the new look.
void test_quick_activate_sinks(QuickActivation& q) {
  if (q.d) PutText(q.d, L"abc");
  ok(CountOf(q.sink.events, 2) >= 1, "Change reached the quick-activated sink");
  ok(q.notice.viewChanges >= 1, "the view sink heard of the change: %d", q.notice.viewChanges);
  SIZEL size{5080, 1270}, read{};
  ok(IQuickActivate_SetContentExtent(q.qa, &size) == S_OK && IQuickActivate_GetContentExtent(q.qa, &read) == S_OK &&
         read.cx == 5080 && read.cy == 1270,
     "content extent");
}

void test_quick_activate() {
  QuickActivation q;
  HRESULT hr =
      CoCreateInstance(kClsidDelvorin, nullptr, CLSCTX_INPROC_SERVER, IID_IQuickActivate, reinterpret_cast<void**>(&q.qa));
  ok(hr == S_OK && q.qa, "IQuickActivate: %08lx", hr);
  if (!q.qa) return;
  test_quick_activate_call(q);
  IQuickActivate_QueryInterface(q.qa, kIid_Delvorin, reinterpret_cast<void**>(&q.d));
  test_quick_activate_font(q);
  test_quick_activate_sinks(q);
  if (q.d) _Delvorin_Release(q.d);
  IOleObject* ole = nullptr;
  IQuickActivate_QueryInterface(q.qa, IID_IOleObject, reinterpret_cast<void**>(&ole));
  if (ole) {
    IOleObject_Close(ole, OLECLOSE_NOSAVE);
    IOleObject_Release(ole);
  }
  ok(IQuickActivate_Release(q.qa) == 0, "control released");
  ok(q.sink.ref == 1 && q.notice.ref == 1, "sinks released: %ld, %ld", q.sink.ref, q.notice.ref);
  if (q.font) ok(IFont_Release(q.font) == 0, "font released");
}

// ---- Pasting into the real EDIT window ----

// Puts bytes of UTF-16 text on the clipboard as CF_UNICODETEXT, in a block of exactly that
// size (so the text need not end in a NUL within it); no data empties the clipboard.
bool PutOnClipboard(HWND owner, const void* data, size_t bytes) {
  if (!OpenClipboard(owner)) return false;
  EmptyClipboard();
  bool put = true;
  if (data) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    void* p = block ? GlobalLock(block) : nullptr;
    if (p) {
      std::memcpy(p, data, bytes);
      GlobalUnlock(block);
    }
    put = p && SetClipboardData(CF_UNICODETEXT, block);
    if (!put && block) GlobalFree(block);
  }
  CloseClipboard();
  return put;
}

bool PutTextOnClipboard(HWND owner, const std::wstring& text) {
  return PutOnClipboard(owner, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

// Dispatches what is queued without TranslateMessage: posted key messages then bring no
// character but the ones posted.
void DispatchQueued() {
  MSG m;
  for (int round = 0; round < 50; ++round) {
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    Sleep(2);
  }
}

// A key pressed with modifiers held, as the EDIT window receives it: the modifiers down in
// the thread's keyboard state (what GetKeyState reads), then the key-down, character and
// key-up messages of all the keys in the order a keyboard sends them.
void PressWith(HWND edit, std::initializer_list<BYTE> modifiers, UINT key, wchar_t character) {
  BYTE before[256], state[256];
  GetKeyboardState(before);
  std::memcpy(state, before, sizeof state);
  for (BYTE m : modifiers) state[m] |= 0x80;
  SetKeyboardState(state);
  for (BYTE m : modifiers) PostMessageW(edit, WM_KEYDOWN, m, 1);
  PostMessageW(edit, WM_KEYDOWN, key, 1);
  if (character) PostMessageW(edit, WM_CHAR, character, 1);
  PostMessageW(edit, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
  for (BYTE m : modifiers) PostMessageW(edit, WM_KEYUP, m, static_cast<LPARAM>(0xC0000001));
  DispatchQueued();
  SetKeyboardState(before);
}

// The EDIT's context menu, opened from the keyboard (no position), and one of its items
// picked by a timer that runs inside the menu's loop: the item's accelerator is typed, or
// Escape when the item is greyed or missing.
struct MenuChoice {
  UINT command = 0;
  bool menuOpened = false, found = false, enabled = false;
  int rounds = 0;
};
MenuChoice g_choice;

void CALLBACK ChooseInMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND menu = nullptr;
  while ((menu = FindWindowExW(nullptr, menu, L"#32768", nullptr)))
    if (IsWindowVisible(menu) && GetWindowThreadProcessId(menu, nullptr) == GetCurrentThreadId()) break;
  if (!menu) {
    if (++g_choice.rounds > 100) KillTimer(nullptr, timer);
    return;
  }
  KillTimer(nullptr, timer);
  g_choice.menuOpened = true;
  auto items = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
  wchar_t label[64] = {};
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE | MIIM_STRING;
  info.dwTypeData = label;
  info.cch = 64;
  g_choice.found = items && GetMenuItemInfoW(items, g_choice.command, FALSE, &info);
  g_choice.enabled = g_choice.found && !(info.fState & MFS_GRAYED);
  const wchar_t* key = std::wcschr(label, L'&');
  if (g_choice.enabled && key && key[1])
    PostMessageW(menu, WM_CHAR, static_cast<WPARAM>(std::towlower(key[1])), 0);
  else
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
}

void ChooseInContextMenu(HWND edit, UINT command) {
  g_choice = MenuChoice{};
  g_choice.command = command;
  UINT_PTR timer = SetTimer(nullptr, 0, 20, ChooseInMenu);
  SendMessageW(edit, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit), MAKELPARAM(-1, -1));
  if (!g_choice.menuOpened) KillTimer(nullptr, timer);
}

enum class Route { WmPaste, CtrlV, ShiftInsert, Menu };
constexpr Route kRoutes[] = {Route::WmPaste, Route::CtrlV, Route::ShiftInsert, Route::Menu};
const char* NameOf(Route r) {
  switch (r) {
    case Route::WmPaste: return "WM_PASTE";
    case Route::CtrlV: return "Ctrl+V";
    case Route::ShiftInsert: return "Shift+Insert";
    case Route::Menu: return "context menu";
  }
  return "?";
}

// Pastes by one route. The keyboard routes raise KeyDown for both keys, the others none.
void Paste(HWND edit, Route route) {
  switch (route) {
    case Route::WmPaste: SendMessageW(edit, WM_PASTE, 0, 0); break;
    case Route::CtrlV: PressWith(edit, {VK_CONTROL}, 'V', 0x16); break;
    case Route::ShiftInsert: PressWith(edit, {VK_SHIFT}, VK_INSERT, 0); break;
    case Route::Menu: ChooseInContextMenu(edit, WM_PASTE); break;
  }
  PumpMessages();
}

// Run on a thread of its own: 1 when the clipboard could be opened (nobody else holds it).
DWORD WINAPI OpenClipboardElsewhere(void*) {
  if (!OpenClipboard(nullptr)) return 0;
  CloseClipboard();
  return 1;
}

// A text for a failure message, its line breaks and tabs escaped.
std::string Visible(const wchar_t* text) {
  std::string r;
  for (char c : Narrow(text)) {
    if (c == '\r') r += "\\r";
    else if (c == '\n') r += "\\n";
    else if (c == '\t') r += "\\t";
    else r += c;
  }
  return r;
}

void Clear(_Delvorin* d) { PutText(d, L""); }

// Every paste route enters the clipboard's text through the field's paste rule: KeyPress once
// per character (the host may rewrite it), then the type's filter and layout.
void test_paste_routes() {
  const struct {
    unsigned char type;
    const wchar_t* pasted;
    const wchar_t* expected;
    int keys;  // KeyPress events: the characters the rule types (separators and spaces of a
               // document dropped, an amount in its plain form)
    const wchar_t* valor;  // as ValorOf gives it: VT_BSTR 8, VT_CY 6, VT_R8 5, VT_DATE 7
    const wchar_t* mascara = L"";  // of type 26
  } cases[] = {
      {9, L"12345678909", L"123.456.789-09", 11, L"8 12345678909"},
      {9, L"123.456.789-09", L"123.456.789-09", 11, L"8 12345678909"},
      {9, L" 123 456 789 09 ", L"123.456.789-09", 11, L"8 12345678909"},
      {0, L"R$ 1.234,56", L"1234,56", 7, L"6 12345600"},
      {1, L"R$ 1.234,56", L"1234,56", 7, L"6 12345600"},
      {3, L"12a3", L"123", 4, L"5 123"},
      {4, L"abc", L"abc", 3, L"8 abc"},
      {4, L"a\r\nb", L"a b", 3, L"8 a b"},
      {4, L"a\tb", L"a b", 3, L"8 a b"},
      {16, L"+55 (11) 98765-4321", L"(11) 98765-4321", 11, L"8 11987654321"},
      {17, L"7.3.2025", L"07/03/2025", 8, L"7 45723"},
      {19, L"abc-1d23", L"ABC-1D23", 7, L"8 ABC1D23"},
      {26, L"xy-9876", L"XY-9876", 6, L"8 XY9876", L">LL-0000"},
  };
  _Delvorin* d = g_delvorin;
  for (Route route : kRoutes) {
    for (const auto& c : cases) {
      _Delvorin_put_Tipo(d, c.type);
      ok(PutMascara(d, c.mascara) == S_OK, "Mascara %ls", c.mascara);
      Clear(d);
      // Into the field anew, so that focus entry runs and selects what is there.
      SetFocus(g_form);
      PumpMessages();
      SetFocus(g_edit);
      PumpMessages();
      ok(PutTextOnClipboard(g_form, c.pasted), "clipboard set");
      g_sink.events.clear();
      Paste(g_edit, route);
      const std::string pasted = Visible(c.pasted);
      ok(TextOf(d) == c.expected, "%s of \"%s\" in type %d: \"%s\"", NameOf(route), pasted.c_str(), c.type,
         Visible(TextOf(d).c_str()).c_str());
      ok(CountOf(g_sink.events, 4) == c.keys, "%s of \"%s\": %d KeyPress events", NameOf(route), pasted.c_str(),
         CountOf(g_sink.events, 4));
      ok(ValorOf(d) == c.valor, "%s of \"%s\": Valor %ls", NameOf(route), pasted.c_str(), ValorOf(d).c_str());
      const int keyDowns = route == Route::CtrlV || route == Route::ShiftInsert ? 2 : 0;
      ok(CountOf(g_sink.events, 3) == keyDowns, "%s: %d KeyDown events", NameOf(route), CountOf(g_sink.events, 3));
    }
    ok(route != Route::Menu || (g_choice.menuOpened && g_choice.enabled), "the context menu opened with Paste enabled");
  }
}

// The host rewrites KeyAscii in its KeyPress handler; type 6 then upper-cases it.
void test_paste_through_host_keypress() {
  _Delvorin_put_Tipo(g_delvorin, 6);
  Clear(g_delvorin);
  PutTextOnClipboard(g_form, L"xax");
  g_sink.replaceKeyAscii = 'q';
  Paste(g_edit, Route::CtrlV);
  g_sink.replaceKeyAscii = 0;
  ok(TextOf(g_delvorin) == L"QAQ", "pasted through the host's KeyPress: %ls", TextOf(g_delvorin).c_str());
}

// The text goes in at the selection, within MaxLength.
void test_paste_at_selection() {
  _Delvorin* d = g_delvorin;
  _Delvorin_put_Tipo(d, 4);
  PutText(d, L"abcdef");
  SendMessageW(g_edit, EM_SETSEL, 2, 4);
  PutTextOnClipboard(g_form, L"XY");
  Paste(g_edit, Route::ShiftInsert);
  ok(TextOf(d) == L"abXYef", "pasted over the selection: %ls", TextOf(d).c_str());
  DWORD start = 0, end = 0;
  SendMessageW(g_edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  ok(start == 4 && end == 4, "the caret after the pasted text: %lu, %lu", start, end);
  _Delvorin_put_MaxLength(d, 8);
  PutTextOnClipboard(g_form, L"12345");
  SendMessageW(g_edit, EM_SETSEL, 6, 6);
  Paste(g_edit, Route::WmPaste);
  ok(TextOf(d) == L"abXYef12", "cut at MaxLength: %ls", TextOf(d).c_str());
  _Delvorin_put_MaxLength(d, 0);
}

// The EDIT pastes on Shift+Insert with Ctrl held too; Ctrl+Insert alone copies, as before.
void test_ctrl_shift_insert_pastes_ctrl_insert_copies() {
  _Delvorin* d = g_delvorin;
  _Delvorin_put_Tipo(d, 9);
  Clear(d);
  PutTextOnClipboard(g_form, L"12345678909");
  PressWith(g_edit, {VK_CONTROL, VK_SHIFT}, VK_INSERT, 0);
  ok(TextOf(d) == L"123.456.789-09", "Ctrl+Shift+Insert: %ls", TextOf(d).c_str());
  SendMessageW(g_edit, EM_SETSEL, 0, 3);
  PressWith(g_edit, {VK_CONTROL}, VK_INSERT, 0);
  std::wstring copied;
  if (OpenClipboard(g_form)) {
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const auto* p = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
    if (p) {
      copied = p;
      GlobalUnlock(data);
    }
    CloseClipboard();
  }
  ok(copied == L"123" && TextOf(d) == L"123.456.789-09", "Ctrl+Insert copied \"%ls\" and left \"%ls\"", copied.c_str(),
     TextOf(d).c_str());
  _Delvorin_put_Tipo(d, 4);
}

// A read-only or disabled box, or an empty clipboard: nothing is pasted and the host hears
// of no keystroke; the menu offers Paste greyed.
void test_nothing_pasted() {
  _Delvorin* d = g_delvorin;
  const struct {
    VARIANT_BOOL locked, enabled;
    const wchar_t* pasted;  // nullptr: an empty clipboard
    bool greyed;            // Paste greyed in the menu
    const char* name;
  } cases[] = {{VARIANT_TRUE, VARIANT_TRUE, L"abc", true, "read-only"},
               {VARIANT_FALSE, VARIANT_FALSE, L"abc", true, "disabled"},
               {VARIANT_FALSE, VARIANT_TRUE, nullptr, true, "empty clipboard"},
               {VARIANT_FALSE, VARIANT_TRUE, L"", false, "empty text"}};
  for (const auto& c : cases) {
    for (Route route : kRoutes) {
      // A disabled window gets no keys from the user, nor a context menu.
      if (!c.enabled && route != Route::WmPaste && route != Route::CtrlV) continue;
      PutText(d, L"fixo");
      _Delvorin_put_Locked(d, c.locked);
      _Delvorin_put_Enabled(d, c.enabled);
      if (c.enabled) SetFocus(g_edit);
      if (c.pasted)
        PutTextOnClipboard(g_form, c.pasted);
      else
        PutOnClipboard(g_form, nullptr, 0);
      g_sink.events.clear();
      Paste(g_edit, route);
      ok(TextOf(d) == L"fixo" && CountOf(g_sink.events, 4) == 0, "%s, %s: \"%ls\", %d KeyPress events", c.name, NameOf(route),
         TextOf(d).c_str(), CountOf(g_sink.events, 4));
      if (route == Route::Menu)
        ok(g_choice.found && g_choice.enabled == !c.greyed, "%s: Paste %s in the menu", c.name,
           c.greyed ? "greyed" : "enabled");
    }
  }
  _Delvorin_put_Locked(d, VARIANT_FALSE);
  _Delvorin_put_Enabled(d, VARIANT_TRUE);
  SetFocus(g_edit);
}

// Clipboard data without a NUL within its block (even an odd number of bytes) is read to
// the block's end and no further. (Wine's clipboard itself puts a NUL in the last whole
// character of such a block: "ab" is what it then holds.)
void test_paste_without_nul() {
  const struct {
    size_t bytes;
    const char* name;
  } blocks[] = {{6, "three characters, no NUL"}, {7, "an odd size"}};
  for (const auto& block : blocks) {
    Clear(g_delvorin);
    const wchar_t data[] = {L'a', L'b', L'c', L'd'};
    ok(PutOnClipboard(g_form, data, block.bytes), "%s on the clipboard", block.name);
    Paste(g_edit, Route::WmPaste);
    ok(TextOf(g_delvorin) == L"abc" || TextOf(g_delvorin) == L"ab", "%s: \"%ls\"", block.name, TextOf(g_delvorin).c_str());
  }
}

// A clipboard of a million characters: the paste ends at once, within MaxLength.
void test_paste_huge_text() {
  _Delvorin_put_MaxLength(g_delvorin, 8);
  Clear(g_delvorin);
  PutTextOnClipboard(g_form, std::wstring(1000000, L'7'));
  g_sink.events.clear();
  const DWORD before = GetTickCount();
  Paste(g_edit, Route::WmPaste);
  const DWORD elapsed = GetTickCount() - before;
  ok(TextOf(g_delvorin) == L"77777777", "a huge clipboard text: %d characters", static_cast<int>(TextOf(g_delvorin).size()));
  ok(elapsed < 20000, "a huge clipboard text pasted in %lu ms", elapsed);
  _Delvorin_put_MaxLength(g_delvorin, 0);
}

// Long texts written to, and pasted into, the placed field: the EDIT is handed the result once,
// so each takes time linear in the text. The bound is generous (a quadratic path takes tens
// of seconds here); the texts hold letters, which Wine's EDIT itself lays out in linear time.
void test_long_texts() {
  std::wstring letters(200000, L'a'), digits(200000, L'0'), spacedAmount(L"1.234,56");
  for (size_t i = 0; i < letters.size(); ++i) letters[i] = static_cast<wchar_t>(L'a' + i % 26);
  for (size_t i = 0; i < digits.size(); ++i) digits[i] = static_cast<wchar_t>(L'0' + i * 7 % 10);
  spacedAmount.append(200000, L' ');
  const struct {
    unsigned char type;
    const char* name;
    const std::wstring& text;
    size_t shownLength;
    bool pasted;
  } rows[] = {
      {4, "200,000 letters written to type 4", letters, letters.size(), false},
      {9, "200,000 digits written to type 9", digits, 14, false},
      {11, "an amount and 200,000 spaces written to type 11", spacedAmount, 68, false},
      {4, "65,535 letters pasted into type 4", letters, 65535, true},
      {9, "65,535 digits pasted into type 9", digits, 14, true},
  };
  for (const auto& row : rows) {
    _Delvorin_put_Tipo(g_delvorin, row.type);
    Clear(g_delvorin);
    const DWORD before = GetTickCount();
    if (row.pasted) {
      PutTextOnClipboard(g_form, row.text);
      SetFocus(g_form);
      SetFocus(g_edit);  // focus entry: the length limit of the type
      Paste(g_edit, Route::WmPaste);
    } else {
      BSTR b = SysAllocStringLen(row.text.data(), static_cast<UINT>(row.text.size()));
      _Delvorin_put_Text(g_delvorin, b);
      SysFreeString(b);
    }
    const DWORD elapsed = GetTickCount() - before;
    ok(elapsed < 2000, "%s: %lu ms", row.name, elapsed);
    ok(TextOf(g_delvorin).size() == row.shownLength, "%s: %d characters", row.name, static_cast<int>(TextOf(g_delvorin).size()));
    ok(GetWindowTextLengthW(g_edit) == static_cast<int>(row.shownLength), "%s: the EDIT holds %d", row.name,
       GetWindowTextLengthW(g_edit));
  }
  PutOnClipboard(g_form, nullptr, 0);
  _Delvorin_put_Tipo(g_delvorin, 4);
  Clear(g_delvorin);
}

// A KeyPress handler that pastes again is not followed into; one that opens the clipboard
// from another thread finds it free.
void test_paste_reentered_from_keypress() {
  Clear(g_delvorin);
  PutTextOnClipboard(g_form, L"ab");
  g_sink.events.clear();
  int free = 0, times = 0;
  g_sink.onKeyPress = [&] {
    SendMessageW(g_edit, WM_PASTE, 0, 0);
    PressWith(g_edit, {VK_CONTROL}, 'V', 0x16);
    HANDLE thread = CreateThread(nullptr, 0, OpenClipboardElsewhere, nullptr, 0, nullptr);
    DWORD opened = 0;
    if (thread) {
      // Wine's OpenClipboard may first bring the X selection up to date, which sends this
      // thread a message (with a 5 s timeout): sent messages are answered while waiting,
      // posted ones stay queued.
      while (MsgWaitForMultipleObjects(1, &thread, FALSE, 5000, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
        MSG m;
        PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
      }
      GetExitCodeThread(thread, &opened);
      CloseHandle(thread);
    }
    free += opened == 1;
    ++times;
  };
  Paste(g_edit, Route::WmPaste);
  g_sink.onKeyPress = nullptr;
  ok(TextOf(g_delvorin) == L"ab" && CountOf(g_sink.events, 4) == 2, "a re-entering host: \"%ls\", %d KeyPress events",
     TextOf(g_delvorin).c_str(), CountOf(g_sink.events, 4));
  ok(times == 2 && free == 2, "the clipboard free during KeyPress: %d of %d", free, times);
  PutOnClipboard(g_form, nullptr, 0);
}

// ---- The control in atl100's host window ----

// The host window made by atl100, with the control in place in g_form and the event sink
// connected. False when there is nothing to test.
bool create_hosted_control(IUnknown** container) {
  HMODULE atl = LoadLibraryW(L"atl100.dll");
  using Init = BOOL(WINAPI*)();
  using CreateFn = HRESULT(WINAPI*)(LPCOLESTR, HWND, IStream*, IUnknown**, IUnknown**, REFIID, IUnknown*);
  auto init = reinterpret_cast<Init>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")));
  auto create = reinterpret_cast<CreateFn>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxCreateControlEx")));
  ok(atl && init && create, "atl100.dll with AtlAxWinInit and AtlAxCreateControlEx");
  if (!init || !create) return false;
  init();
  g_form = CreateWindowExW(0, L"STATIC", L"Delvorin", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 120, nullptr, nullptr,
                           nullptr, nullptr);
  HRESULT hr = create(L"Delvorin2.Delvorin", g_form, nullptr, container, &g_control, IID_NULL, nullptr);
  ok(hr == S_OK && g_control, "AtlAxCreateControlEx: %08lx", hr);
  if (FAILED(hr) || !g_control) return false;
  g_delvorin = ControlInterface<_Delvorin>(kIid_Delvorin);
  return true;
}

// The control's window is a child of the form with a real EDIT window inside.
void test_in_place_in_form() {
  IOleInPlaceObject* inPlace = ControlInterface<IOleInPlaceObject>(IID_IOleInPlaceObject);
  HWND window = nullptr;
  if (inPlace) {
    IOleInPlaceObject_GetWindow(inPlace, &window);
    IOleInPlaceObject_Release(inPlace);
  }
  ok(window && IsChild(g_form, window), "the control is in place in the form");
  g_edit = window ? FindWindowExW(window, nullptr, L"Edit", nullptr) : nullptr;
  ok(g_edit != nullptr, "the edit box is a real EDIT window inside the control");
}

void test_advise_events() {
  g_cpc = ControlInterface<IConnectionPointContainer>(IID_IConnectionPointContainer);
  if (g_cpc) IConnectionPointContainer_FindConnectionPoint(g_cpc, kDiid__Delvorin, &g_cp);
  HRESULT hr = g_cp ? IConnectionPoint_Advise(g_cp, reinterpret_cast<IUnknown*>(&g_sink.iface), &g_cookie) : E_FAIL;
  ok(hr == S_OK && g_cookie != 0, "Advise: %08lx", hr);
}

// The points can be listed: the events, then notices; the enumerator resets, skips and clones.
void test_connection_points_listed() {
  IEnumConnectionPoints* points = nullptr;
  ok(g_cpc && IConnectionPointContainer_EnumConnectionPoints(g_cpc, &points) == S_OK && points, "EnumConnectionPoints");
  if (!points) return;
  IConnectionPoint* read[3] = {};
  ULONG n = 0;
  ok(IEnumConnectionPoints_Next(points, 3, read, &n) == S_FALSE && n == 2, "two connection points: %lu", n);
  IID iids[2] = {};
  for (ULONG k = 0; k < n && k < 2; ++k) {
    IConnectionPoint_GetConnectionInterface(read[k], &iids[k]);
    IConnectionPoint_Release(read[k]);
  }
  ok(IsEqualIID(iids[0], kDiid__Delvorin) && IsEqualIID(iids[1], IID_IPropertyNotifySink), "the events, then notices");
  IEnumConnectionPoints* copy = nullptr;
  ok(IEnumConnectionPoints_Reset(points) == S_OK && IEnumConnectionPoints_Skip(points, 1) == S_OK &&
         IEnumConnectionPoints_Clone(points, &copy) == S_OK && copy,
     "Reset, Skip, Clone");
  n = 0;
  IConnectionPoint* one = nullptr;
  ok(copy && IEnumConnectionPoints_Next(copy, 1, &one, &n) == S_OK && n == 1, "the clone goes on from the second");
  IID iid{};
  if (one) {
    IConnectionPoint_GetConnectionInterface(one, &iid);
    IConnectionPoint_Release(one);
  }
  ok(IsEqualIID(iid, IID_IPropertyNotifySink), "the clone's next point");
  ok(IEnumConnectionPoints_Skip(points, 5) == S_FALSE, "Skip past the end");
  if (copy) IEnumConnectionPoints_Release(copy);
  IEnumConnectionPoints_Release(points);
}

// The events' point lists one connection: ours.
void test_connections_listed() {
  IEnumConnections* connections = nullptr;
  ok(g_cp && IConnectionPoint_EnumConnections(g_cp, &connections) == S_OK && connections, "EnumConnections");
  if (!connections) return;
  CONNECTDATA data[2] = {};
  ULONG n = 0;
  ok(IEnumConnections_Next(connections, 2, data, &n) == S_FALSE && n == 1 && data[0].dwCookie == g_cookie && data[0].pUnk,
     "one connection, our cookie: %lu", n);
  if (n >= 1 && data[0].pUnk) IUnknown_Release(data[0].pUnk);
  IEnumConnections_Release(connections);
}

// Keys typed into the EDIT window are laid out as a CPF, with KeyPress and Change events.
void test_typing_cpf() {
  _Delvorin_put_Tipo(g_delvorin, 9);
  _Delvorin_put_MSGcpf(g_delvorin, VARIANT_FALSE);
  SetFocus(g_edit);
  PumpMessages();
  g_sink.events.clear();
  TypeText(g_edit, L"123456789012");
  ok(TextOf(g_delvorin) == L"123.456.789-01", "typed CPF: %ls", TextOf(g_delvorin).c_str());
  ok(ValorOf(g_delvorin) == L"8 12345678901" && ValidoOf(g_delvorin) == VARIANT_FALSE, "typed CPF: Valor %ls, Valido %d",
     ValorOf(g_delvorin).c_str(), ValidoOf(g_delvorin));
  ok(CountOf(g_sink.events, 4) == 12, "%d KeyPress events", CountOf(g_sink.events, 4));
  ok(CountOf(g_sink.events, 2) == 14, "%d Change events", CountOf(g_sink.events, 2));
}

// Enter without Usar_Enter: the control eats Return and raises TeclaEnter.
void test_enter_without_usar_enter() {
  _Delvorin_put_Usar_Enter(g_delvorin, VARIANT_FALSE);
  IOleControl* oc = ControlInterface<IOleControl>(IID_IOleControl);
  CONTROLINFO ci{sizeof(ci), nullptr, 0, 0};
  if (oc) {
    IOleControl_GetControlInfo(oc, &ci);
    IOleControl_Release(oc);
  }
  ok(ci.dwFlags & CTRLINFO_EATS_RETURN, "CTRLINFO_EATS_RETURN with Usar_Enter False");
  g_sink.events.clear();
  TypeText(g_edit, L"\r");
  ok(CountOf(g_sink.events, 5) == 1, "TeclaEnter raised once");
  // A dialog hands Enter to the field only while the field raises TeclaEnter with it.
  MSG enter{g_edit, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
  ok(SendMessageW(g_edit, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)) & DLGC_WANTMESSAGE,
     "the field wants Enter with Usar_Enter False");
  _Delvorin_put_Usar_Enter(g_delvorin, VARIANT_TRUE);
  ok(!(SendMessageW(g_edit, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)) & DLGC_WANTMESSAGE),
     "not with Usar_Enter True");
  _Delvorin_put_Usar_Enter(g_delvorin, VARIANT_FALSE);
}

// The host rewrites KeyAscii in its KeyPress handler; type 6 then upper-cases it.
void test_host_rewrites_key_ascii() {
  _Delvorin_put_Tipo(g_delvorin, 6);
  PutText(g_delvorin, L"");
  g_sink.replaceKeyAscii = 'q';
  TypeText(g_edit, L"xa");
  ok(TextOf(g_delvorin) == L"QA", "rewritten key: %ls", TextOf(g_delvorin).c_str());
  g_sink.replaceKeyAscii = 0;
}

// Freezing events holds them back.
void test_freeze_events() {
  IOleControl* oc = ControlInterface<IOleControl>(IID_IOleControl);
  g_sink.events.clear();
  if (oc) IOleControl_FreezeEvents(oc, TRUE);
  TypeText(g_edit, L"b");
  ok(g_sink.events.empty(), "no event while frozen");
  if (oc) IOleControl_FreezeEvents(oc, FALSE);
  TypeText(g_edit, L"c");
  ok(!g_sink.events.empty(), "events again after thawing");
  if (oc) IOleControl_Release(oc);
}

// Mouse moves reach the host in twips.
void test_mouse_move_in_twips() {
  HDC screen = GetDC(nullptr);
  const float twipsX = 1440.0f / static_cast<float>(GetDeviceCaps(screen, LOGPIXELSX));
  const float twipsY = 1440.0f / static_cast<float>(GetDeviceCaps(screen, LOGPIXELSY));
  ReleaseDC(nullptr, screen);
  PostMessageW(g_edit, WM_MOUSEMOVE, 0, MAKELPARAM(15, 6));
  PumpMessages();
  ok(g_sink.x == 15 * twipsX && g_sink.y == 6 * twipsY, "MouseMove at %g, %g twips", g_sink.x, g_sink.y);
}

// The edit box paints in BackColor and ForeColor, system colours included.
void test_edit_colours() {
  HWND parent = GetParent(g_edit);
  HDC dc = GetDC(g_edit);
  const struct {
    OLE_COLOR back, fore;
    COLORREF expectedBack, expectedFore;
  } colours[] = {{kRed, kBlue, kRed, kBlue},
                 {0x80000005, 0x80000008, GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT)},
                 {0x0000FF00, 0x80000012, RGB(0, 255, 0), GetSysColor(COLOR_BTNTEXT)}};
  for (const auto& c : colours) {
    _Delvorin_put_BackColor(g_delvorin, c.back);
    _Delvorin_put_ForeColor(g_delvorin, c.fore);
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(parent, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(g_edit)));
    LOGBRUSH lb{};
    ok(brush && GetObjectW(brush, sizeof lb, &lb) == sizeof lb && lb.lbColor == c.expectedBack,
       "background brush %06lx for %08lx", lb.lbColor, c.back);
    ok(GetTextColor(dc) == c.expectedFore && GetBkColor(dc) == c.expectedBack, "text colours for %08lx", c.fore);
  }
  ReleaseDC(g_edit, dc);
  ok(_Delvorin_put_BackColor(g_delvorin, 0x81000000) == CTL_E_INVALIDPROPERTYVALUE, "not a colour");
}

// Leaving a CPF field with a wrong number: a warning box owned by the form, and with
// TravaCpf the focus comes back to the field.
void test_wrong_cpf_on_leaving(HWND other) {
  _Delvorin_put_Tipo(g_delvorin, 9);
  _Delvorin_put_MSGcpf(g_delvorin, VARIANT_TRUE);
  const struct {
    VARIANT_BOOL lock;
    const wchar_t* message;
    bool focusBack;
  } cases[] = {{VARIANT_FALSE, L"CPF Inválido.", false},
               {VARIANT_TRUE, L"CPF Inválido. Redigite ( ou deixe em branco)", true}};
  for (const auto& c : cases) {
    _Delvorin_put_TravaCpf(g_delvorin, c.lock);
    PutText(g_delvorin, L"");
    SetFocus(g_edit);
    PumpMessages();
    TypeText(g_edit, L"12345678900");
    g_boxes.clear();
    SetFocus(other);
    PumpMessages();
    ok(g_boxes.size() == 1, "one message box: %d", static_cast<int>(g_boxes.size()));
    if (!g_boxes.empty()) {
      const MessageBoxRecord& m = g_boxes[0];
      ok(m.title == L"Delvorin" && m.text == c.message, "message \"%ls\" titled \"%ls\"", m.text.c_str(), m.title.c_str());
      ok(m.exclamation && m.okOnly, "warning icon (%d) and one OK button (%d buttons)", m.exclamation, m.buttons);
      ok(m.owner == g_form, "owned by the form");
    }
    ok((GetFocus() == g_edit) == c.focusBack, "focus %s the field", c.focusBack ? "back in" : "away from");
  }
  _Delvorin_put_TravaCpf(g_delvorin, VARIANT_FALSE);
  _Delvorin_put_MSGcpf(g_delvorin, VARIANT_FALSE);
  SetFocus(other);
  PumpMessages();
}

// The Properties verb opens the property frame with the pages the system can create (in
// Wine the control's own Geral and Sobre); the hook closes it with OK. (Wine's frame does
// not pass the window on to its sheet as the owner.)
void test_properties_verb() {
  IOleObject* ole = ControlInterface<IOleObject>(IID_IOleObject);
  g_boxes.clear();
  HRESULT hr = ole ? IOleObject_DoVerb(ole, OLEIVERB_PROPERTIES, nullptr, nullptr, 0, g_form, nullptr) : E_FAIL;
  ok(hr == S_OK, "Properties verb: %08lx", hr);
  ok(g_boxes.size() == 1 && g_boxes[0].buttons >= 3, "the property frame (OK, Cancel, Apply): %d windows",
     static_cast<int>(g_boxes.size()));
  if (ole) IOleObject_Release(ole);
}

// What the field does in the form: typing, Enter, events, pasting, the mouse, colours,
// message boxes and the property frame.
void test_accessible_field();
void test_accessible_invalid_state(HWND other);

void test_field_in_form() {
  test_typing_cpf();
  test_enter_without_usar_enter();
  test_host_rewrites_key_ascii();
  test_freeze_events();
  test_paste_routes();
  test_paste_through_host_keypress();
  test_paste_at_selection();
  test_ctrl_shift_insert_pastes_ctrl_insert_copies();
  test_nothing_pasted();
  test_paste_without_nul();
  test_paste_huge_text();
  test_long_texts();
  test_paste_reentered_from_keypress();
  test_mouse_move_in_twips();
  test_edit_colours();
  HWND other = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP, 0, 70, 100, 20, g_form,
                               nullptr, nullptr, nullptr);
  HHOOK hook = SetWindowsHookExW(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
  test_wrong_cpf_on_leaving(other);
  test_accessible_field();
  test_accessible_invalid_state(other);
  test_properties_verb();
  UnhookWindowsHookEx(hook);
  DestroyWindow(other);
}

// ---- What a screen reader finds ----

// A getter's text, "(none)" when it gives none, "(refused)" when it fails.
std::wstring AccText(IAccessible* acc, HRESULT (*get)(IAccessible*, VARIANT, BSTR*)) {
  VARIANT self;
  V_VT(&self) = VT_I4;
  V_I4(&self) = CHILDID_SELF;
  BSTR b = reinterpret_cast<BSTR>(0xdeadbeef);  // a sentinel the getter must overwrite
  HRESULT hr = get(acc, self, &b);
  if (FAILED(hr)) return b ? L"(sentinel left)" : L"(refused)";
  std::wstring r = b ? std::wstring(b, SysStringLen(b)) : L"(none)";
  SysFreeString(b);
  return r;
}
HRESULT AccName(IAccessible* a, VARIANT c, BSTR* b) { return IAccessible_get_accName(a, c, b); }
HRESULT AccDescription(IAccessible* a, VARIANT c, BSTR* b) { return IAccessible_get_accDescription(a, c, b); }
HRESULT AccValue(IAccessible* a, VARIANT c, BSTR* b) { return IAccessible_get_accValue(a, c, b); }

IAccessible* FieldAccessible() {
  IAccessible* acc = nullptr;
  AccessibleObjectFromWindow(g_edit, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible, reinterpret_cast<void**>(&acc));
  return acc;
}

// The events a screen reader hooks, recorded with the description read back from the event.
std::vector<std::pair<DWORD, std::wstring>> g_accEvents;
void CALLBACK AccEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
  IAccessible* acc = nullptr;
  VARIANT v;
  VariantInit(&v);
  std::wstring d = L"(no object)";
  if (hwnd == g_edit && SUCCEEDED(AccessibleObjectFromEvent(hwnd, static_cast<DWORD>(object), static_cast<DWORD>(child), &acc, &v)) && acc) {
    d = AccText(acc, event == EVENT_OBJECT_NAMECHANGE ? AccName : AccDescription);
    IAccessible_Release(acc);
  }
  if (hwnd == g_edit) g_accEvents.emplace_back(event, d);
}

// The field in the ATL host after a label, as a screen reader reads it: role, name (from
// NomeAcessivel, else from the label, without its "&"), description, value.
void test_accessible_field() {
  const struct {
    const char* name;
    const wchar_t* label;  // the caption of a label before the control, or none
    const wchar_t* nomeAcessivel;
    BYTE tipo;
    const wchar_t* text;
    const wchar_t* passwordChar;
    const wchar_t *accName, *description, *value;
  } cases[] = {
      {"label", L"CPF do cliente:", L"", 9, L"12345678909", L"", L"CPF do cliente:", L"CPF", L"123.456.789-09"},
      {"label with access key", L"&CPF do cliente:", L"", 9, L"12345678909", L"", L"CPF do cliente:", L"CPF", L"123.456.789-09"},
      {"NomeAcessivel over the label", L"CPF do cliente:", L"Documento do titular", 9, L"12345678909", L"",
       L"Documento do titular", L"CPF", L"123.456.789-09"},
      {"no label", nullptr, L"", 16, L"11987654321", L"", L"(none)", L"Telefone", L"(11) 98765-4321"},
      {"date", L"Nascimento:", L"", 17, L"31122026", L"", L"Nascimento:", L"Data (DD/MM/AAAA)", L"31/12/2026"},
      {"password", L"Senha:", L"", 4, L"segredo", L"*", L"Senha:", L"Texto", L"(refused)"},
  };
  for (const auto& c : cases) {
    HWND label = nullptr;
    if (c.label) {
      label = CreateWindowExW(0, L"STATIC", c.label, WS_CHILD | WS_VISIBLE, 0, 0, 80, 16, g_form, nullptr, nullptr, nullptr);
      // Before the control in the form's window order.
      SetWindowPos(label, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    _Delvorin_put_Tipo(g_delvorin, c.tipo);
    BSTR password = SysAllocString(c.passwordChar);
    _Delvorin_put_PasswordChar(g_delvorin, password);
    SysFreeString(password);
    ok(PutText12(g_delvorin, PutNomeAcessivel, c.nomeAcessivel) == S_OK, "%s: NomeAcessivel", c.name);
    PutText(g_delvorin, c.text);
    IAccessible* acc = FieldAccessible();
    ok(acc != nullptr, "%s: AccessibleObjectFromWindow on the EDIT", c.name);
    if (acc) {
      VARIANT self, role;
      V_VT(&self) = VT_I4;
      V_I4(&self) = CHILDID_SELF;
      VariantInit(&role);
      IAccessible_get_accRole(acc, self, &role);
      ok(V_VT(&role) == VT_I4 && V_I4(&role) == ROLE_SYSTEM_TEXT, "%s: role %ld", c.name, V_I4(&role));
      const std::wstring name = AccText(acc, AccName), description = AccText(acc, AccDescription),
                         value = AccText(acc, AccValue);
      ok(name == c.accName, "%s: name \"%ls\"", c.name, name.c_str());
      ok(description == c.description, "%s: description \"%ls\"", c.name, description.c_str());
      ok(value == c.value, "%s: value \"%ls\"", c.name, value.c_str());
      HWND window = nullptr;
      ok(WindowFromAccessibleObject(acc, &window) == S_OK && window == g_edit, "%s: the object's window", c.name);
      IAccessible_Release(acc);
    }
    if (label) DestroyWindow(label);
  }
  BSTR none = SysAllocString(L"");
  _Delvorin_put_PasswordChar(g_delvorin, none);
  SysFreeString(none);
  PutText12(g_delvorin, PutNomeAcessivel, L"");
}

// Left with an invalid CPF (without the message box), the field says so in its description
// until its text changes; each change and NomeAcessivel raise the screen reader's events.
void test_accessible_invalid_state(HWND other) {
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_DESCRIPTIONCHANGE, nullptr, AccEvent,
                                       GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ok(hook != nullptr, "SetWinEventHook");
  _Delvorin_put_Tipo(g_delvorin, 9);
  _Delvorin_put_MSGcpf(g_delvorin, VARIANT_FALSE);
  _Delvorin_put_TravaCpf(g_delvorin, VARIANT_FALSE);
  PutText(g_delvorin, L"");
  SetFocus(g_edit);
  PumpMessages();
  TypeText(g_edit, L"12345678900");
  g_accEvents.clear();
  SetFocus(other);
  PumpMessages();
  IAccessible* acc = FieldAccessible();
  const std::wstring left = acc ? AccText(acc, AccDescription) : L"(no object)";
  ok(left == L"CPF, CPF Inválido.", "left invalid: \"%ls\"", left.c_str());
  ok(g_accEvents.size() == 1 && g_accEvents[0].first == EVENT_OBJECT_DESCRIPTIONCHANGE &&
         g_accEvents[0].second == L"CPF, CPF Inválido.",
     "one description event on leaving: %d", static_cast<int>(g_accEvents.size()));
  g_accEvents.clear();
  SetFocus(g_edit);
  PumpMessages();
  TypeText(g_edit, L"\b");
  PumpMessages();
  const std::wstring changed = acc ? AccText(acc, AccDescription) : L"(no object)";
  ok(changed == L"CPF", "changed: \"%ls\"", changed.c_str());
  ok(g_accEvents.size() == 1 && g_accEvents[0].second == L"CPF", "one description event on the change: %d",
     static_cast<int>(g_accEvents.size()));
  g_accEvents.clear();
  PutText12(g_delvorin, PutNomeAcessivel, L"CPF do titular");
  PumpMessages();
  ok(g_accEvents.size() == 1 && g_accEvents[0].first == EVENT_OBJECT_NAMECHANGE && g_accEvents[0].second == L"CPF do titular",
     "one name event: %d", static_cast<int>(g_accEvents.size()));
  PutText12(g_delvorin, PutNomeAcessivel, L"");
  if (acc) IAccessible_Release(acc);
  if (hook) UnhookWinEvent(hook);
  PutText(g_delvorin, L"");
}

// Design time: the control's pages with the standard ones.
void test_property_pages_listed() {
  ISpecifyPropertyPages* spp = ControlInterface<ISpecifyPropertyPages>(IID_ISpecifyPropertyPages);
  CAUUID pages{0, nullptr};
  ok(spp && ISpecifyPropertyPages_GetPages(spp, &pages) == S_OK && pages.cElems == 5 &&
         IsEqualGUID(pages.pElems[0], kClsidGeral) && IsEqualGUID(pages.pElems[3], kClsidSobre),
     "Geral, three standard pages and Sobre");
  CoTaskMemFree(pages.pElems);
  if (spp) ISpecifyPropertyPages_Release(spp);
}

// Design time: the value lists of Tipo and UF, and the page they open.
void test_tipo_browsing() {
  IPerPropertyBrowsing* ppb = ControlInterface<IPerPropertyBrowsing>(IID_IPerPropertyBrowsing);
  if (!ppb) {
    ok(false, "IPerPropertyBrowsing");
    return;
  }
  constexpr DISPID kTipoId = 0x6803000b, kUfId = 0x68030016;
  const struct {
    DISPID id;
    ULONG count;
    ULONG entry;
    const wchar_t* label;
    VARTYPE type;
    int number;  // the value of a VT_UI1 entry
  } rows[] = {
      {kTipoId, 27, 9, L"9 - CPF", VT_UI1, 9},
      {kTipoId, 27, 25, L"25 - Inscri\u00e7\u00e3o Estadual", VT_UI1, 25},
      {kTipoId, 27, 26, L"26 - M\u00e1scara", VT_UI1, 26},
      {kUfId, 28, 0, L"", VT_BSTR, 0},
      {kUfId, 28, 1, L"AC", VT_BSTR, 0},
      {kUfId, 28, 25, L"SP", VT_BSTR, 0},
      {kUfId, 28, 27, L"TO", VT_BSTR, 0},
  };
  for (const auto& r : rows) {
    CALPOLESTR labels{0, nullptr};
    CADWORD cookies{0, nullptr};
    ok(IPerPropertyBrowsing_GetPredefinedStrings(ppb, r.id, &labels, &cookies) == S_OK && labels.cElems == r.count &&
           cookies.cElems == r.count,
       "%08lx: %lu labels", r.id, labels.cElems);
    if (r.entry < labels.cElems) {
      ok(std::wstring(labels.pElems[r.entry]) == r.label, "%08lx label %lu: %ls", r.id, r.entry, labels.pElems[r.entry]);
      VARIANT v;
      const HRESULT hr = IPerPropertyBrowsing_GetPredefinedValue(ppb, r.id, cookies.pElems[r.entry], &v);
      const bool same = hr == S_OK && V_VT(&v) == r.type &&
                        (r.type == VT_UI1 ? V_UI1(&v) == r.number : std::wstring(V_BSTR(&v), SysStringLen(V_BSTR(&v))) == r.label);
      ok(same, "%08lx value of label %lu: %08lx vt %d", r.id, r.entry, hr, V_VT(&v));
      VariantClear(&v);
    }
    for (ULONG k = 0; k < labels.cElems; ++k) CoTaskMemFree(labels.pElems[k]);
    CoTaskMemFree(labels.pElems);
    CoTaskMemFree(cookies.pElems);
    CLSID page = CLSID_NULL;
    ok(IPerPropertyBrowsing_MapPropertyToPage(ppb, r.id, &page) == S_OK && IsEqualGUID(page, kClsidGeral), "%08lx opens Geral",
       r.id);
  }
  IPerPropertyBrowsing_Release(ppb);
}

void test_unadvise_events() {
  if (!g_cp) return;
  ok(IConnectionPoint_Unadvise(g_cp, g_cookie) == S_OK, "Unadvise");
  ok(IConnectionPoint_Unadvise(g_cp, g_cookie) == CONNECT_E_NOCONNECTION, "second Unadvise");
}

void release_hosted_control(IUnknown* container) {
  if (g_cp) IConnectionPoint_Release(g_cp);
  if (g_cpc) IConnectionPointContainer_Release(g_cpc);
  if (g_delvorin) _Delvorin_Release(g_delvorin);
  IUnknown_Release(g_control);
  if (container) IUnknown_Release(container);
  g_cp = nullptr;
  g_cpc = nullptr;
  g_delvorin = nullptr;
  g_control = nullptr;
  DestroyWindow(g_form);
  PumpMessages();
  ok(g_sink.ref == 1, "the sink was released: ref %ld", g_sink.ref);
}

// Wine's ATL host offers IOleInPlaceSiteWindowless, but its windowless methods are stubs: it
// could never give a windowless field the focus, so the field is windowed there, and refuses
// the windowless protocol. What it offers containers that draw it stays true regardless.
void test_windowed_in_stub_windowless_host() {
  IOleInPlaceObjectWindowless* w = ControlInterface<IOleInPlaceObjectWindowless>(IID_IOleInPlaceObjectWindowless);
  LRESULT result = 0x5EED;
  ok(w && IOleInPlaceObjectWindowless_OnWindowMessage(w, WM_LBUTTONDOWN, MK_LBUTTON, 0, &result) == E_UNEXPECTED && result == 0,
     "no windowless messages for a windowed field");
  IDropTarget* target = reinterpret_cast<IDropTarget*>(1);
  ok(w && IOleInPlaceObjectWindowless_GetDropTarget(w, &target) == E_NOTIMPL && !target, "no drop target");
  if (w) IOleInPlaceObjectWindowless_Release(w);
  IOleObject* ole = ControlInterface<IOleObject>(IID_IOleObject);
  DWORD status = 0;
  ok(ole && IOleObject_GetMiscStatus(ole, DVASPECT_CONTENT, &status) == S_OK && (status & OLEMISC_ACTIVATEWHENVISIBLE) &&
         (status & OLEMISC_IGNOREACTIVATEWHENVISIBLE),
     "active when visible, unless the container can keep it inactive: %08lx", status);
  if (ole) IOleObject_Release(ole);
  IViewObjectEx* view = ControlInterface<IViewObjectEx>(IID_IViewObjectEx);
  DWORD viewStatus = 0, hit = 0xdeadbeef, outside = 0xdeadbeef, crossing = 0xdeadbeef;
  const RECT bounds{10, 10, 110, 30}, across{100, 0, 200, 15};
  const POINT in{50, 20}, out{5, 20};
  ok(view && IViewObjectEx_GetViewStatus(view, &viewStatus) == S_OK && viewStatus == (VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND),
     "opaque, one background: %08lx", viewStatus);
  ok(view && IViewObjectEx_QueryHitPoint(view, DVASPECT_CONTENT, &bounds, in, 0, &hit) == S_OK && hit == HITRESULT_HIT &&
         IViewObjectEx_QueryHitPoint(view, DVASPECT_CONTENT, &bounds, out, 0, &outside) == S_OK &&
         outside == HITRESULT_OUTSIDE,
     "hit inside its rectangle only: %lu %lu", hit, outside);
  ok(view && IViewObjectEx_QueryHitRect(view, DVASPECT_CONTENT, &bounds, &across, 0, &crossing) == S_OK && crossing == HITRESULT_HIT,
     "a rectangle across its edge hits: %lu", crossing);
  ok(view && IViewObjectEx_QueryHitPoint(view, DVASPECT_ICON, &bounds, in, 0, &hit) == DV_E_DVASPECT, "content only");
  // Without bounds only a windowless field in place knows where to draw itself.
  HDC dc = GetDC(g_form);
  ok(view && IViewObjectEx_Draw(view, DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, nullptr, nullptr, nullptr, 0) == E_INVALIDARG,
     "no bounds, no drawing for a windowed field");
  ReleaseDC(g_form, dc);
  if (view) IViewObjectEx_Release(view);
}


// ---- Calls from other threads ----

// Outputs are filled with this before each call from another thread: a refused call leaves them so.
constexpr ULONG_PTR kSentinel = 0x5EED5EED;
template <typename T>
T Sentinel() {
  return reinterpret_cast<T>(kSentinel);
}

template <typename T>
T* Query(IUnknown* control, REFIID riid) {
  void* p = nullptr;
  return SUCCEEDED(IUnknown_QueryInterface(control, riid, &p)) ? static_cast<T*>(p) : nullptr;
}

// One call through the control's raw pointer, made on a thread that is not the control's: its
// result, and in untouched whether the outputs it was handed are as they were filled. Each
// would change the control, or hand out something of it, were it carried out.
struct ForeignCall {
  const char* name;
  HRESULT (*call)(IUnknown* control, bool& untouched);
};
const ForeignCall kForeignCalls[] = {
    {"_Delvorin::put_Tipo",
     [](IUnknown* control, bool& untouched) {
       auto* d = Query<_Delvorin>(control, kIid_Delvorin);
       if (!d) return E_NOINTERFACE;
       HRESULT hr = _Delvorin_put_Tipo(d, 7);
       _Delvorin_Release(d);
       untouched = true;
       return hr;
     }},
    {"_Delvorin::get_Text",
     [](IUnknown* control, bool& untouched) {
       auto* d = Query<_Delvorin>(control, kIid_Delvorin);
       if (!d) return E_NOINTERFACE;
       BSTR text = Sentinel<BSTR>();
       HRESULT hr = _Delvorin_get_Text(d, &text);
       _Delvorin_Release(d);
       untouched = text == Sentinel<BSTR>();
       return hr;
     }},
    {"IDispatch::Invoke (put Tipo)",
     [](IUnknown* control, bool& untouched) {
       auto* disp = Query<IDispatch>(control, IID_IDispatch);
       if (!disp) return E_NOINTERFACE;
       VARIANT value;
       VariantInit(&value);
       V_VT(&value) = VT_UI1;
       V_UI1(&value) = 7;
       DISPID named = DISPID_PROPERTYPUT;
       DISPPARAMS params{&value, &named, 1, 1};
       EXCEPINFO exception{};
       exception.scode = static_cast<SCODE>(kSentinel);
       UINT argErr = static_cast<UINT>(kSentinel);
       HRESULT hr = IDispatch_Invoke(disp, 0x6803000b, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr,
                                     &exception, &argErr);
       IDispatch_Release(disp);
       untouched = exception.scode == static_cast<SCODE>(kSentinel) && argErr == static_cast<UINT>(kSentinel);
       return hr;
     }},
    {"IDispatch::GetIDsOfNames",
     [](IUnknown* control, bool& untouched) {
       auto* disp = Query<IDispatch>(control, IID_IDispatch);
       if (!disp) return E_NOINTERFACE;
       LPOLESTR name = const_cast<LPOLESTR>(L"Tipo");
       DISPID id = static_cast<DISPID>(kSentinel);
       HRESULT hr = IDispatch_GetIDsOfNames(disp, IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
       IDispatch_Release(disp);
       untouched = id == static_cast<DISPID>(kSentinel);
       return hr;
     }},
    {"IOleObject::DoVerb (hide)",
     [](IUnknown* control, bool& untouched) {
       auto* ole = Query<IOleObject>(control, IID_IOleObject);
       if (!ole) return E_NOINTERFACE;
       HRESULT hr = IOleObject_DoVerb(ole, OLEIVERB_HIDE, nullptr, nullptr, 0, nullptr, nullptr);
       IOleObject_Release(ole);
       untouched = true;
       return hr;
     }},
    {"IOleObject::GetExtent",
     [](IUnknown* control, bool& untouched) {
       auto* ole = Query<IOleObject>(control, IID_IOleObject);
       if (!ole) return E_NOINTERFACE;
       SIZEL size{static_cast<LONG>(kSentinel), static_cast<LONG>(kSentinel)};
       HRESULT hr = IOleObject_GetExtent(ole, DVASPECT_CONTENT, &size);
       IOleObject_Release(ole);
       untouched = size.cx == static_cast<LONG>(kSentinel) && size.cy == static_cast<LONG>(kSentinel);
       return hr;
     }},
    {"IOleControl::FreezeEvents",
     [](IUnknown* control, bool& untouched) {
       auto* oc = Query<IOleControl>(control, IID_IOleControl);
       if (!oc) return E_NOINTERFACE;
       HRESULT hr = IOleControl_FreezeEvents(oc, TRUE);
       IOleControl_Release(oc);
       untouched = true;
       return hr;
     }},
    {"IPersistStreamInit::Save",
     [](IUnknown* control, bool& untouched) {
       auto* ps = Query<IPersistStreamInit>(control, IID_IPersistStreamInit);
       IStream* s = nullptr;
       if (!ps || FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &s))) {
         if (ps) IPersistStreamInit_Release(ps);
         return E_NOINTERFACE;
       }
       HRESULT hr = IPersistStreamInit_Save(ps, s, FALSE);
       STATSTG st{};
       untouched = SUCCEEDED(IStream_Stat(s, &st, STATFLAG_NONAME)) && st.cbSize.QuadPart == 0;
       IStream_Release(s);
       IPersistStreamInit_Release(ps);
       return hr;
     }},
    {"IPersistStorage::IsDirty",
     [](IUnknown* control, bool& untouched) {
       auto* pst = Query<IPersistStorage>(control, IID_IPersistStorage);
       if (!pst) return E_NOINTERFACE;
       HRESULT hr = IPersistStorage_IsDirty(pst);
       IPersistStorage_Release(pst);
       untouched = true;
       return hr;
     }},
    {"IViewObject::Draw",
     [](IUnknown* control, bool& untouched) {
       auto* view = Query<IViewObject>(control, IID_IViewObject);
       if (!view) return E_NOINTERFACE;
       ScreenCapture t;
       RECTL r{0, 0, 200, 40};
       HRESULT hr = IViewObject_Draw(view, DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, t.dc, &r, nullptr, nullptr, 0);
       IViewObject_Release(view);
       untouched = t.CountOf(RGB(255, 255, 255)) == 192 * 32;  // the canvas still all white
       return hr;
     }},
    {"IViewObjectEx::GetViewStatus",
     [](IUnknown* control, bool& untouched) {
       auto* view = Query<IViewObjectEx>(control, IID_IViewObjectEx);
       if (!view) return E_NOINTERFACE;
       DWORD status = static_cast<DWORD>(kSentinel);
       HRESULT hr = IViewObjectEx_GetViewStatus(view, &status);
       IViewObjectEx_Release(view);
       untouched = status == static_cast<DWORD>(kSentinel);
       return hr;
     }},
    {"IDataObject::GetData",
     [](IUnknown* control, bool& untouched) {
       auto* data = Query<IDataObject>(control, IID_IDataObject);
       if (!data) return E_NOINTERFACE;
       FORMATETC emf{CF_ENHMETAFILE, nullptr, DVASPECT_CONTENT, -1, TYMED_ENHMF};
       STGMEDIUM medium{};
       medium.tymed = static_cast<DWORD>(kSentinel);
       HRESULT hr = IDataObject_GetData(data, &emf, &medium);
       IDataObject_Release(data);
       untouched = medium.tymed == static_cast<DWORD>(kSentinel);
       return hr;
     }},
    {"IConnectionPointContainer::FindConnectionPoint",
     [](IUnknown* control, bool& untouched) {
       auto* cpc = Query<IConnectionPointContainer>(control, IID_IConnectionPointContainer);
       if (!cpc) return E_NOINTERFACE;
       IConnectionPoint* cp = Sentinel<IConnectionPoint*>();
       HRESULT hr = IConnectionPointContainer_FindConnectionPoint(cpc, kDiid__Delvorin, &cp);
       IConnectionPointContainer_Release(cpc);
       untouched = cp == Sentinel<IConnectionPoint*>();
       return hr;
     }},
    {"IConnectionPointContainer::EnumConnectionPoints",
     [](IUnknown* control, bool& untouched) {
       auto* cpc = Query<IConnectionPointContainer>(control, IID_IConnectionPointContainer);
       if (!cpc) return E_NOINTERFACE;
       IEnumConnectionPoints* points = Sentinel<IEnumConnectionPoints*>();
       HRESULT hr = IConnectionPointContainer_EnumConnectionPoints(cpc, &points);
       IConnectionPointContainer_Release(cpc);
       untouched = points == Sentinel<IEnumConnectionPoints*>();
       return hr;
     }},
    {"IConnectionPoint::Advise",
     [](IUnknown*, bool& untouched) {
       Sink sink;
       DWORD cookie = static_cast<DWORD>(kSentinel);
       HRESULT hr = g_cp ? IConnectionPoint_Advise(g_cp, reinterpret_cast<IUnknown*>(&sink.iface), &cookie) : E_POINTER;
       untouched = cookie == static_cast<DWORD>(kSentinel) && sink.ref == 1;
       return hr;
     }},
    {"IOleInPlaceObject::GetWindow",
     [](IUnknown* control, bool& untouched) {
       auto* ipo = Query<IOleInPlaceObject>(control, IID_IOleInPlaceObject);
       if (!ipo) return E_NOINTERFACE;
       HWND h = Sentinel<HWND>();
       HRESULT hr = IOleInPlaceObject_GetWindow(ipo, &h);
       IOleInPlaceObject_Release(ipo);
       untouched = h == Sentinel<HWND>();
       return hr;
     }},
    {"IOleInPlaceActiveObject::GetWindow",
     [](IUnknown* control, bool& untouched) {
       auto* ipao = Query<IOleInPlaceActiveObject>(control, IID_IOleInPlaceActiveObject);
       if (!ipao) return E_NOINTERFACE;
       HWND h = Sentinel<HWND>();
       HRESULT hr = IOleInPlaceActiveObject_GetWindow(ipao, &h);
       IOleInPlaceActiveObject_Release(ipao);
       untouched = h == Sentinel<HWND>();
       return hr;
     }},
    {"IPointerInactive::GetActivationPolicy",
     [](IUnknown* control, bool& untouched) {
       auto* pi = Query<IPointerInactive>(control, IID_IPointerInactive);
       if (!pi) return E_NOINTERFACE;
       DWORD policy = static_cast<DWORD>(kSentinel);
       HRESULT hr = IPointerInactive_GetActivationPolicy(pi, &policy);
       IPointerInactive_Release(pi);
       untouched = policy == static_cast<DWORD>(kSentinel);
       return hr;
     }},
    {"IQuickActivate::GetContentExtent",
     [](IUnknown* control, bool& untouched) {
       auto* qa = Query<IQuickActivate>(control, IID_IQuickActivate);
       if (!qa) return E_NOINTERFACE;
       SIZEL size{static_cast<LONG>(kSentinel), static_cast<LONG>(kSentinel)};
       HRESULT hr = IQuickActivate_GetContentExtent(qa, &size);
       IQuickActivate_Release(qa);
       untouched = size.cx == static_cast<LONG>(kSentinel) && size.cy == static_cast<LONG>(kSentinel);
       return hr;
     }},
    {"IProvideClassInfo::GetClassInfo",
     [](IUnknown* control, bool& untouched) {
       auto* pci = Query<IProvideClassInfo>(control, IID_IProvideClassInfo);
       if (!pci) return E_NOINTERFACE;
       ITypeInfo* info = Sentinel<ITypeInfo*>();
       HRESULT hr = IProvideClassInfo_GetClassInfo(pci, &info);
       IProvideClassInfo_Release(pci);
       untouched = info == Sentinel<ITypeInfo*>();
       return hr;
     }},
    {"ISupportErrorInfo::InterfaceSupportsErrorInfo",
     [](IUnknown* control, bool& untouched) {
       auto* sei = Query<ISupportErrorInfo>(control, IID_ISupportErrorInfo);
       if (!sei) return E_NOINTERFACE;
       HRESULT hr = ISupportErrorInfo_InterfaceSupportsErrorInfo(sei, kIid_Delvorin);
       ISupportErrorInfo_Release(sei);
       untouched = true;
       return hr;
     }},
    {"ISpecifyPropertyPages::GetPages",
     [](IUnknown* control, bool& untouched) {
       auto* spp = Query<ISpecifyPropertyPages>(control, IID_ISpecifyPropertyPages);
       if (!spp) return E_NOINTERFACE;
       CAUUID pages{static_cast<ULONG>(kSentinel), Sentinel<GUID*>()};
       HRESULT hr = ISpecifyPropertyPages_GetPages(spp, &pages);
       ISpecifyPropertyPages_Release(spp);
       untouched = pages.cElems == static_cast<ULONG>(kSentinel) && pages.pElems == Sentinel<GUID*>();
       return hr;
     }},
    {"IPerPropertyBrowsing::GetDisplayString",
     [](IUnknown* control, bool& untouched) {
       auto* ppb = Query<IPerPropertyBrowsing>(control, IID_IPerPropertyBrowsing);
       if (!ppb) return E_NOINTERFACE;
       BSTR text = Sentinel<BSTR>();
       HRESULT hr = IPerPropertyBrowsing_GetDisplayString(ppb, 0x6803000b, &text);
       IPerPropertyBrowsing_Release(ppb);
       untouched = text == Sentinel<BSTR>();
       return hr;
     }},
};

// What a thread of another apartment saw of the control: each call of the table through the
// raw pointer, IUnknown's methods there, and Tipo through a pointer marshalled to it.
struct ForeignThread {
  DWORD apartment;          // COINIT_MULTITHREADED or COINIT_APARTMENTTHREADED
  IStream* marshalled;      // _Delvorin for this thread
  std::vector<std::pair<HRESULT, bool>> results;  // by row of kForeignCalls: result, outputs untouched
  ULONG addRef = 0, release = 0;
  bool queried = false;
  HRESULT getBefore = E_FAIL, put = E_FAIL, getAfter = E_FAIL;  // through the marshalled pointer
  unsigned char tipoBefore = 0, tipoAfter = 0;
};

DWORD WINAPI RunForeignThread(void* p) {
  auto* t = static_cast<ForeignThread*>(p);
  CoInitializeEx(nullptr, t->apartment);
  for (const ForeignCall& c : kForeignCalls) {
    bool untouched = false;
    const HRESULT hr = c.call(g_control, untouched);
    t->results.emplace_back(hr, untouched);
  }
  t->addRef = IUnknown_AddRef(g_control);
  t->release = IUnknown_Release(g_control);
  IOleObject* ole = Query<IOleObject>(g_control, IID_IOleObject);
  t->queried = ole != nullptr;
  if (ole) IOleObject_Release(ole);
  _Delvorin* d = nullptr;
  if (SUCCEEDED(CoGetInterfaceAndReleaseStream(t->marshalled, kIid_Delvorin, reinterpret_cast<void**>(&d))) && d) {
    t->getBefore = _Delvorin_get_Tipo(d, &t->tipoBefore);
    t->put = _Delvorin_put_Tipo(d, 9);
    t->getAfter = _Delvorin_get_Tipo(d, &t->tipoAfter);
    _Delvorin_Release(d);
  }
  CoUninitialize();
  return 0;
}

// The control's reference count, read by an AddRef and a Release.
ULONG References(IUnknown* u) {
  IUnknown_AddRef(u);
  return IUnknown_Release(u);
}

// Runs the thread to its end (at most 20 seconds) while this thread, the control's, serves the
// calls that come through the marshalled pointer.
bool RunPumping(ForeignThread& t) {
  HANDLE h = CreateThread(nullptr, 0, RunForeignThread, &t, 0, nullptr);
  if (!h) return false;
  DWORD r = WAIT_TIMEOUT;
  for (int round = 0; round < 2000 && r != WAIT_OBJECT_0; ++round) {
    r = MsgWaitForMultipleObjects(1, &h, FALSE, 10, QS_ALLINPUT);
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
  }
  CloseHandle(h);
  return r == WAIT_OBJECT_0;
}

// From an MTA thread and from a second STA thread, the control's raw pointer is refused for
// everything but IUnknown, and nothing changes; a marshalled pointer reaches the control.
void test_calls_from_other_threads() {
  const struct {
    const char* name;
    DWORD apartment;
  } threads[] = {{"MTA thread", COINIT_MULTITHREADED}, {"second STA thread", COINIT_APARTMENTTHREADED}};
  for (const auto& th : threads) {
    _Delvorin_put_Tipo(g_delvorin, 4);
    const ULONG references = References(g_control);
    ForeignThread t{th.apartment, nullptr, {}, 0, 0, false, E_FAIL, E_FAIL, E_FAIL, 0, 0};
    HRESULT hr = CoMarshalInterThreadInterfaceInStream(kIid_Delvorin, reinterpret_cast<IUnknown*>(g_delvorin), &t.marshalled);
    ok(hr == S_OK, "%s: _Delvorin marshalled: %08lx", th.name, hr);
    if (FAILED(hr)) continue;
    ok(RunPumping(t), "%s: ran to its end", th.name);
    ok(t.results.size() == std::size(kForeignCalls), "%s: %d calls made", th.name, static_cast<int>(t.results.size()));
    for (size_t k = 0; k < t.results.size() && k < std::size(kForeignCalls); ++k) {
      ok(t.results[k].first == RPC_E_WRONG_THREAD, "%s: %s refused: %08lx", th.name, kForeignCalls[k].name, t.results[k].first);
      ok(t.results[k].second, "%s: %s left its outputs as they were", th.name, kForeignCalls[k].name);
    }
    // The marshalled pointer's stub holds references of its own meanwhile.
    ok(t.addRef > references && t.release == t.addRef - 1, "%s: AddRef %lu, then Release %lu", th.name, t.addRef, t.release);
    ok(t.queried, "%s: QueryInterface answers", th.name);
    ok(t.getBefore == S_OK && t.tipoBefore == 4, "%s: Tipo through the marshalled pointer: %08lx, %u", th.name, t.getBefore,
       t.tipoBefore);
    ok(t.put == S_OK && t.getAfter == S_OK && t.tipoAfter == 9, "%s: Tipo = 9 through the marshalled pointer: %08lx, %08lx, %u",
       th.name, t.put, t.getAfter, t.tipoAfter);
    unsigned char tipo = 0;
    _Delvorin_get_Tipo(g_delvorin, &tipo);
    ok(tipo == 9, "%s: the control has Tipo %u", th.name, tipo);
    ok(IsWindowVisible(g_edit), "%s: the field is still shown", th.name);
    ok(References(g_control) == references, "%s: references back at %lu: %lu", th.name, references, References(g_control));
  }
  // The events were not frozen from there: a change still reaches the sink.
  g_sink.events.clear();
  PutText(g_delvorin, L"1");
  ok(CountOf(g_sink.events, 2) >= 1, "events still raised");
  _Delvorin_put_Tipo(g_delvorin, 4);
  PutText(g_delvorin, L"");
}

}  // namespace

int wmain() {
  OleInitialize(nullptr);
  IUnknown* container = nullptr;
  if (!create_hosted_control(&container)) return delvorin::ocx::test::Result("test_container");
  test_in_place_in_form();
  test_windowed_in_stub_windowless_host();
  test_advise_events();
  test_connection_points_listed();
  test_connections_listed();
  if (g_delvorin && g_edit) test_calls_from_other_threads();
  if (g_delvorin && g_edit) test_field_in_form();
  test_property_pages_listed();
  test_tipo_browsing();
  if (g_delvorin) test_drawing();
  test_unadvise_events();
  release_hosted_control(container);
  test_quick_activate();
  OleUninitialize();
  return delvorin::ocx::test::Result("test_container");
}
