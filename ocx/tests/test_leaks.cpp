// The control's whole life, 1,000 times over, in our own site in a visible top-level window:
// created (new, or loaded from a stream), activated in place, given properties and keys, left,
// deactivated, closed and released. After a warm-up, windows, GDI objects and memory must be
// where they were, the site and the host's font must have every reference back, and the server
// must agree to be unloaded.
// Windows, GDI objects and memory are counted by Measure (ocx/tests/MinimalSite.h).
#include "ocx/Com.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "ocx/Identifiers.h"
#include "ocx/tests/Sinks.h"
#include "ocx/tests/MinimalSite.h"
#include "ocx/tests/Test.h"

using namespace delvorin::ocx;
using delvorin::ocx::test::ResourceUse;
using delvorin::ocx::test::MinimalSite;
using delvorin::ocx::test::TextOf;

namespace {

constexpr int kCycles = 1000;
// The cycles repeat their kinds every 32: 4 types, new or loaded, reflecting or not, windowed or
// windowless.
constexpr int kPeriod = 32;
constexpr int kWarmUp = 3 * kPeriod;
// Heaps may keep or give back free pages as they please; the heap count above is exact, and a
// leak of 64 bytes a cycle outside the heaps would still go past this.
constexpr size_t kPageTolerance = 64 * 1024;

void Print(const char* when, const ResourceUse& m) {
  std::printf("%-8s windows %d, GDI objects %d, heap %zu bytes in %zu blocks, private pages %zu KiB\n", when, m.windows,
              m.gdi, m.bytes, m.blocks, m.pages / 1024);
}

// ---- The cycle ----

// Runs whatever is queued (the posted keys, paints, focus changes): no waiting, the queue
// is simply emptied.
void DrainQueue() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

// The first failure of any cycle, with its number; one check per kind at the end.
struct Failures {
  int failedCycles = 0;
  std::string first;
  bool current = false;
  void Check(bool condition, int cycle, const char* format, ...) {
    if (condition) return;
    if (!current) ++failedCycles;
    current = true;
    if (!first.empty()) return;
    char text[300];
    int n = std::snprintf(text, sizeof(text), "cycle %d: ", cycle);
    va_list args;
    va_start(args, format);
    std::vsnprintf(text + n, sizeof(text) - n, format, args);
    va_end(args);
    first = text;
  }
};

// Typing "a1b2" into each type, and the text once the field is left.
struct Case {
  unsigned char type;
  const wchar_t* typed;
  const wchar_t* onLeaving;
};
constexpr Case kCases[] = {
    {0, L"12", L"R$ 12,00"}, {3, L"12", L"12"}, {4, L"a1b2", L"a1b2"}, {6, L"A1B2", L"A1B2"}};
// The saved control: Tipo 6 with MaxLength 3, right-aligned, on a light background.
constexpr const wchar_t* kLoadedTyped = L"A1B";

struct Resources {
  HWND window;       // the visible top-level window the controls are placed in
  IStream* saved;    // a control saved once, loaded by every other cycle
  IFontDisp* font;  // the host's font, given to some controls
};

void RunCycle(const Resources& r, int i, Failures& f) {
  f.current = false;
  MinimalSite site;
  // Every other eight cycles the site reflects messages: the edit box is then the control's
  // only window.
  site.reflects = (i / 8) % 2 == 1;
  // Every other sixteen the site is windowless: the field gets its window when focused and
  // gives it back when left.
  site.windowless = (i / 16) % 2 == 1;
  const bool loads = i % 2 == 1;
  const Case& testCase = kCases[(i / 2) % 4];
  if (loads) {
    LARGE_INTEGER zero{};
    IStream_Seek(r.saved, zero, STREAM_SEEK_SET, nullptr);
  }
  HRESULT hr = site.Create(r.window, RECT{10, 10, 250, 40}, loads ? r.saved : nullptr);
  if (site.windowless) {
    f.Check(hr == S_OK && !site.window && site.callCounts.onInPlaceActivateEx == 1, i, "Cria windowless: %08lx", hr);
    hr = site.Focus();
  }
  f.Check(hr == S_OK && site.window && IsChild(r.window, site.window), i, "Cria: %08lx", hr);
  f.Check(site.callCounts.onInPlaceActivate + site.callCounts.onInPlaceActivateEx == 1, i, "activated in place %d times",
          site.callCounts.onInPlaceActivate + site.callCounts.onInPlaceActivateEx);
  HWND edit = site.Edit();
  HWND controlWindow = site.window;
  _Delvorin* d = site.Interface<_Delvorin>(kIid_Delvorin);
  f.Check(edit && d, i, "no EDIT window or no _Delvorin");
  if (edit && d) {
    if (!loads) {
      _Delvorin_put_Tipo(d, testCase.type);
      _Delvorin_put_BackColor(d, RGB(255, 255, 200 + i % 50));
      _Delvorin_put_Alignment(d, static_cast<short>(i % 3));
      if (i % 4 == 0) _Delvorin_putref_Font(d, r.font);
    }
    if (!site.windowless) SetFocus(edit);
    for (const wchar_t* c = L"a1b2"; *c; ++c) PostMessageW(edit, WM_CHAR, *c, 1);
    DrainQueue();
    std::wstring t = TextOf(d);
    const wchar_t* expected = loads ? kLoadedTyped : testCase.typed;
    f.Check(t == expected, i, "typed %ls, expected %ls", t.c_str(), expected);
    SetFocus(r.window);  // leaving the field formats it
    DrainQueue();
    if (!loads) {
      t = TextOf(d);
      f.Check(t == testCase.onLeaving, i, "left as %ls, expected %ls", t.c_str(), testCase.onLeaving);
    }
    if (site.windowless) {
      site.RefreshWindow();
      f.Check(!site.window && !IsWindowVisible(controlWindow), i, "the window kept after leaving a windowless field");
    }
  }
  if (d) _Delvorin_Release(d);
  if (IOleInPlaceObject* ipo = site.Interface<IOleInPlaceObject>(IID_IOleInPlaceObject)) {
    hr = IOleInPlaceObject_InPlaceDeactivate(ipo);
    IOleInPlaceObject_Release(ipo);
    // Out of place the control's window leaves the container (the control keeps it hidden).
    const int deactivations = site.callCounts.onInPlaceDeactivate + site.callCounts.onInPlaceDeactivateEx;
    f.Check(hr == S_OK && deactivations == 1 && !IsChild(site.parent, controlWindow) && !IsWindowVisible(controlWindow), i,
            "InPlaceDeactivate: %08lx, deactivated %d times", hr, deactivations);
  }
  f.Check(site.Destroy(), i, "the control kept a reference (site count %ld)", site.ref);
  DrainQueue();
}

// A control with a few properties set, saved once through IPersistStreamInit.
IStream* SaveControl() {
  IStream* s = nullptr;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &s))) return nullptr;
  _Delvorin* d = nullptr;
  CoCreateInstance(kClsidDelvorin, nullptr, CLSCTX_INPROC_SERVER, kIid_Delvorin, reinterpret_cast<void**>(&d));
  IPersistStreamInit* p = nullptr;
  if (d) _Delvorin_QueryInterface(d, IID_IPersistStreamInit, reinterpret_cast<void**>(&p));
  HRESULT hr = p ? IPersistStreamInit_InitNew(p) : E_NOINTERFACE;
  if (SUCCEEDED(hr)) {
    _Delvorin_put_Tipo(d, 6);
    _Delvorin_put_MaxLength(d, 3);
    _Delvorin_put_Alignment(d, 1);
    _Delvorin_put_BackColor(d, RGB(230, 240, 255));
    hr = IPersistStreamInit_Save(p, s, TRUE);
  }
  ok(hr == S_OK, "control saved to a stream: %08lx", hr);
  if (p) IPersistStreamInit_Release(p);
  if (d) _Delvorin_Release(d);
  return s;
}

using DllCanUnloadNowFn = HRESULT(WINAPI*)();

// The window the controls are placed in, a saved control and the host's font.
bool set_up(Resources& r, const FONTDESC& fd) {
  r.window = CreateWindowExW(0, L"STATIC", L"Delvorin", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 300, 100,
                             nullptr, nullptr, nullptr, nullptr);
  UpdateWindow(r.window);
  r.saved = SaveControl();
  OleCreateFontIndirect(const_cast<FONTDESC*>(&fd), IID_IFontDisp, reinterpret_cast<void**>(&r.font));
  ok(r.window && r.saved && r.font, "window, saved control and font");
  return r.window && r.saved && r.font;
}

// After a warm-up, a thousand cycles leave windows, GDI objects and memory where they were.
void test_cycles_leave_nothing(const Resources& r) {
  Failures f;
  for (int i = 0; i < kWarmUp; ++i) RunCycle(r, i, f);
  DrainQueue();
  const ResourceUse before = test::Measure();
  for (int i = kWarmUp; i < kWarmUp + kCycles; ++i) RunCycle(r, i, f);
  DrainQueue();
  const ResourceUse after = test::Measure();
  Print("before:", before);
  Print("after:", after);
  ok(f.failedCycles == 0, "%d of %d cycles failed; first: %s", f.failedCycles, kWarmUp + kCycles, f.first.c_str());
  ok(after.windows == before.windows, "windows: %d before, %d after", before.windows, after.windows);
  ok(after.gdi == before.gdi && before.gdi > 0, "GDI objects: %d before, %d after", before.gdi, after.gdi);
  ok(after.bytes == before.bytes && after.blocks == before.blocks, "heap: %zu bytes in %zu blocks before, %zu in %zu after",
     before.bytes, before.blocks, after.bytes, after.blocks);
  ok(after.pages <= before.pages + kPageTolerance, "private pages: %zu KiB before, %zu KiB after",
     before.pages / 1024, after.pages / 1024);
}

// The controls that were given the host's font gave every reference back.
void test_font_given_back(const Resources& r) {
  IFontDisp_AddRef(r.font);
  ULONG references = IFontDisp_Release(r.font);
  ok(references == 1, "the controls gave the font back: %lu references", references);
}

// With every object gone the server agrees to be unloaded, and COM unloads it; its window
// class goes with it, and it comes back for one more period of cycles.
void test_server_unloads_and_reloads(Resources& r, const FONTDESC& fd) {
  IFontDisp_Release(r.font);
  IStream_Release(r.saved);
  HMODULE ocx = GetModuleHandleW(L"Delvorin2.ocx");
  auto canUnload =
      ocx ? reinterpret_cast<DllCanUnloadNowFn>(reinterpret_cast<void*>(GetProcAddress(ocx, "DllCanUnloadNow"))) : nullptr;
  ok(canUnload != nullptr, "Delvorin2.ocx is loaded and exports DllCanUnloadNow");
  HRESULT hr = canUnload ? canUnload() : E_FAIL;
  ok(hr == S_OK, "DllCanUnloadNow: %08lx", hr);
  if (hr != S_OK) return;
  CoFreeUnusedLibrariesEx(0, 0);
  ok(GetModuleHandleW(L"Delvorin2.ocx") == nullptr, "CoFreeUnusedLibraries unloaded the server");
  // A class left behind would keep a window procedure inside the unloaded module.
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof(cls);
  ok(!GetClassInfoExW(ocx, L"DelvorinPai", &cls), "the server's window class went with it");
  // And it comes back: one more life after reloading.
  Failures f;
  r.saved = SaveControl();
  OleCreateFontIndirect(const_cast<FONTDESC*>(&fd), IID_IFontDisp, reinterpret_cast<void**>(&r.font));
  if (r.saved && r.font) {
    for (int i = 0; i < kPeriod; ++i) RunCycle(r, i, f);
    ok(f.failedCycles == 0, "after reloading, %d cycles failed; first: %s", f.failedCycles, f.first.c_str());
    IFontDisp_Release(r.font);
    IStream_Release(r.saved);
  }
}

}  // namespace

int wmain() {
  OleInitialize(nullptr);
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  const FONTDESC fd{sizeof(FONTDESC), const_cast<LPOLESTR>(L"Arial"), {{100000, 0}}, FW_BOLD, ANSI_CHARSET, FALSE, FALSE, FALSE};
  Resources r{};
  if (!set_up(r, fd)) return delvorin::ocx::test::Result("test_leaks");
  test_cycles_leave_nothing(r);
  test_font_given_back(r);
  test_server_unloads_and_reloads(r, fd);
  DestroyWindow(r.window);
  DrainQueue();
  OleUninitialize();
  QueryPerformanceCounter(&end);
  std::printf("%d cycles in %.1f s\n", kWarmUp + kCycles + kPeriod,
              static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart));
  return delvorin::ocx::test::Result("test_leaks");
}
