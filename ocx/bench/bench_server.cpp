// The server's costs against a plain EDIT window, measured side by side in one process:
// (a) N controls created, loaded from a stream and activated in place in one window, against
//     N EDIT windows created there: through the project's own site, reflecting messages as
//     VB's forms do and then without reflection, and in Wine's ActiveX host window (atl100);
//     then in the own site keeping one class factory for all its controls, offering windowless
//     activation, and keeping controls inactive;
// (a') the first focus of a field shown without a window (windowless, or inactive) against the
//     focus of a windowed one, each through the site as a container gives it;
// (b) one keystroke (WM_CHAR sent to the control's EDIT window) against the same keystroke
//     sent to a plain EDIT window;
// (c) heap, private pages, windows and GDI objects per instance;
// (d) the size of the server file.
// Times are medians over several runs (QueryPerformanceCounter); the two sides alternate.
// Usage: bench_server [instances=500] [runs=5]
//        bench_server count [instances=50]: only creates the controls, then the EDIT windows,
//        each side between two marker lines on stderr, so that a trace of the window server's
//        requests (WINEDEBUG=+server, scripts/count-requests.sh) can be counted per side.
#include "ocx/Com.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <utility>
#include <memory>
#include <string>
#include <vector>

#include "ocx/Identifiers.h"
#include "ocx/tests/MinimalSite.h"

using namespace delvorin::ocx;
using delvorin::ocx::test::ResourceUse;
using delvorin::ocx::test::Mede;
using delvorin::ocx::test::MinimalSite;

namespace {

constexpr int kTeclasPorLote = 20;   // the field is emptied between batches, untimed
constexpr int kLotesPorRodada = 100;

double Agora() {
  static const double frequencia = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / frequencia;
}

double Mediana(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  size_t m = v.size() / 2;
  return v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2;
}

void Esvazia() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

[[noreturn]] void Falha(const char* o_que, HRESULT hr) {
  std::printf("bench_server: %s failed: %08lx\n", o_que, static_cast<unsigned long>(hr));
  std::exit(1);
}

// The i-th cell of a grid of fields.
RECT Celula(int i) {
  int x = 4 + (i % 20) * 62, y = 4 + (i / 20) % 30 * 24;
  return RECT{x, y, x + 60, y + 22};
}

// A control with a few properties set, saved once.
IStream* SalvaControle() {
  IStream* s = nullptr;
  _Delvorin* d = nullptr;
  IPersistStreamInit* p = nullptr;
  HRESULT hr = CreateStreamOnHGlobal(nullptr, TRUE, &s);
  if (SUCCEEDED(hr))
    hr = CoCreateInstance(kClsidDelvorin, nullptr, CLSCTX_INPROC_SERVER, kIid_Delvorin, reinterpret_cast<void**>(&d));
  if (SUCCEEDED(hr)) hr = _Delvorin_QueryInterface(d, IID_IPersistStreamInit, reinterpret_cast<void**>(&p));
  if (SUCCEEDED(hr)) hr = IPersistStreamInit_InitNew(p);
  if (SUCCEEDED(hr)) {
    _Delvorin_put_Tipo(d, 0);
    _Delvorin_put_Digitos(d, 2);
    _Delvorin_put_MaxLength(d, 14);
    _Delvorin_put_Alignment(d, 1);
    hr = IPersistStreamInit_Save(p, s, TRUE);
  }
  if (p) IPersistStreamInit_Release(p);
  if (d) _Delvorin_Release(d);
  if (FAILED(hr)) Falha("saving a control", hr);
  return s;
}

// ---- (a) and (c): many fields in one window ----

struct Stages {
  double instancia = 0, inicia = 0, ativa = 0;  // MinimalSite's three steps
};

double CriaControles(HWND pai, IStream* salvo, std::vector<std::unique_ptr<MinimalSite>>& sites, Stages& etapas) {
  double t0 = Agora();
  for (size_t i = 0; i < sites.size(); ++i) {
    LARGE_INTEGER zero{};
    IStream_Seek(salvo, zero, STREAM_SEEK_SET, nullptr);
    MinimalSite& s = *sites[i];
    double a = Agora();
    HRESULT hr = s.Instancia();
    double b = Agora();
    if (SUCCEEDED(hr)) hr = s.Inicia(salvo);
    double c = Agora();
    if (SUCCEEDED(hr)) hr = s.Mostra(pai, Celula(static_cast<int>(i)));
    double d = Agora();
    if (FAILED(hr)) Falha("creating a control", hr);
    etapas.instancia += b - a;
    etapas.inicia += c - b;
    etapas.ativa += d - c;
  }
  return Agora() - t0;
}

// How the own site shows its controls.
enum class Kind { Windowed, Windowless, Inactive };

// n sites; a reflecting one hands the control's messages back to it as VB's forms do, so that
// the edit box alone is the control's window; otherwise the control wraps it in a window of
// its own.
std::vector<std::unique_ptr<MinimalSite>> Sites(int n, bool reflete, Kind tipo = Kind::Windowed, IClassFactory* fabrica = nullptr) {
  std::vector<std::unique_ptr<MinimalSite>> sites(static_cast<size_t>(n));
  for (auto& s : sites) {
    s = std::make_unique<MinimalSite>();
    s->fabrica = fabrica;
    s->reflete = reflete;
    s->semJanela = tipo == Kind::Windowless;
    s->inativo = tipo == Kind::Inactive;
  }
  return sites;
}

// Seconds per first focus of the first m fields, each given the focus by its site (the
// windowless message, or the UI-activate verb); another window has the focus in between.
double PrimeiroFoco(std::vector<std::unique_ptr<MinimalSite>>& sites, size_t m, HWND fora) {
  double total = 0;
  m = std::min(m, sites.size());
  for (size_t i = 0; i < m; ++i) {
    SetFocus(fora);
    Esvazia();
    double t0 = Agora();
    HRESULT hr = sites[i]->Foca();
    total += Agora() - t0;
    if (FAILED(hr) || GetFocus() != sites[i]->Edit()) Falha("focusing a field", FAILED(hr) ? hr : E_FAIL);
  }
  SetFocus(fora);
  Esvazia();
  return total / static_cast<double>(m);
}

double DestroiControles(std::vector<std::unique_ptr<MinimalSite>>& sites) {
  double t0 = Agora();
  for (auto& s : sites)
    if (!s->Destroi()) Falha("releasing a control", E_FAIL);
  return Agora() - t0;
}

double CriaEdits(HWND pai, std::vector<HWND>& edits) {
  double t0 = Agora();
  for (size_t i = 0; i < edits.size(); ++i) {
    RECT r = Celula(static_cast<int>(i));
    edits[i] = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, r.left, r.top,
                               r.right - r.left, r.bottom - r.top, pai, nullptr, nullptr, nullptr);
    if (!edits[i]) Falha("creating an EDIT window", HRESULT_FROM_WIN32(GetLastError()));
    SendMessageW(edits[i], WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  }
  return Agora() - t0;
}

double DestroiEdits(std::vector<HWND>& edits) {
  double t0 = Agora();
  for (HWND& e : edits) DestroyWindow(e);
  return Agora() - t0;
}

// ---- (a) in Wine's ActiveX host window: atl100's AtlAxCreateControlEx hosts each control in a
// window of its own (a STATIC here, subclassed by ATL), creates it, loads it from the stream and
// activates it in place ----

using AtlCreate = HRESULT(WINAPI*)(LPCOLESTR, HWND, IStream*, IUnknown**, IUnknown**, REFIID, IUnknown*);

struct AtlField {
  HWND host = nullptr;
  IUnknown* container = nullptr;
  IUnknown* control = nullptr;
};

AtlCreate CarregaAtl() {
  HMODULE atl = LoadLibraryW(L"atl100.dll");
  auto init = atl ? reinterpret_cast<BOOL(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit"))) : nullptr;
  auto cria = atl ? reinterpret_cast<AtlCreate>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxCreateControlEx"))) : nullptr;
  if (!init || !cria || !init()) Falha("loading atl100.dll", E_FAIL);
  return cria;
}

double CriaNoAtl(AtlCreate cria, HWND pai, IStream* salvo, std::vector<AtlField>& campos) {
  wchar_t clsid[64];
  StringFromGUID2(kClsidDelvorin, clsid, 64);
  double t0 = Agora();
  for (size_t i = 0; i < campos.size(); ++i) {
    LARGE_INTEGER zero{};
    IStream_Seek(salvo, zero, STREAM_SEEK_SET, nullptr);
    RECT r = Celula(static_cast<int>(i));
    AtlField& f = campos[i];
    f.host = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, r.left, r.top, r.right - r.left,
                             r.bottom - r.top, pai, nullptr, nullptr, nullptr);
    HRESULT hr = f.host ? cria(clsid, f.host, salvo, &f.container, &f.control, IID_NULL, nullptr) : E_FAIL;
    if (FAILED(hr) || !f.control) Falha("creating a control in the ATL host", hr);
  }
  return Agora() - t0;
}

double DestroiNoAtl(std::vector<AtlField>& campos) {
  double t0 = Agora();
  for (AtlField& f : campos) {
    DestroyWindow(f.host);  // the host lets go of the control when its window goes
    if (f.container) IUnknown_Release(f.container);
    if (f.control) IUnknown_Release(f.control);
    f = AtlField{};
  }
  return Agora() - t0;
}

// What n instances added, per instance.
struct PerInstance {
  double janelas = 0, gdi = 0, bytes = 0, paginas = 0;
};
PerInstance Diferenca(const ResourceUse& antes, const ResourceUse& depois, int n) {
  auto d = [n](double a, double b) { return (b - a) / n; };
  return {d(antes.janelas, depois.janelas), d(antes.gdi, depois.gdi),
          d(static_cast<double>(antes.bytes), static_cast<double>(depois.bytes)),
          d(static_cast<double>(antes.paginas), static_cast<double>(depois.paginas))};
}

// ---- (b): keystrokes ----

// Seconds per keystroke over kLotesPorRodada batches, each sent to a field emptied first.
double Digita(HWND edit, const wchar_t* esperadoInicio) {
  SetFocus(edit);
  Esvazia();
  double total = 0;
  wchar_t lote[kTeclasPorLote + 1] = {};
  for (int j = 0; j < kTeclasPorLote; ++j) lote[j] = static_cast<wchar_t>(L'a' + j);
  for (int k = 0; k < kLotesPorRodada; ++k) {
    SetWindowTextW(edit, L"");
    Esvazia();
    double t0 = Agora();
    for (int j = 0; j < kTeclasPorLote; ++j) SendMessageW(edit, WM_CHAR, lote[j], 1);
    total += Agora() - t0;
  }
  wchar_t texto[64] = {};
  GetWindowTextW(edit, texto, 64);
  if (std::wstring(texto).rfind(esperadoInicio, 0) != 0 || std::wstring(texto).size() != kTeclasPorLote) {
    std::printf("bench_server: the field shows \"%ls\" after typing\n", texto);
    std::exit(1);
  }
  return total / (kLotesPorRodada * kTeclasPorLote);
}

long long TamanhoServidor() {
  wchar_t caminho[MAX_PATH * 2];
  HMODULE ocx = GetModuleHandleW(L"Delvorin2.ocx");
  WIN32_FILE_ATTRIBUTE_DATA a;
  if (!ocx || !GetModuleFileNameW(ocx, caminho, MAX_PATH * 2) || !GetFileAttributesExW(caminho, GetFileExInfoStandard, &a))
    return -1;
  return static_cast<long long>(a.nFileSizeHigh) << 32 | a.nFileSizeLow;
}

void Linha(const char* nome, double controle, double edit, const char* unidade, double meta) {
  double razao = controle / edit;
  char alvo[32] = "";
  if (meta > 0) std::snprintf(alvo, sizeof(alvo), "<= %.1fx %s", meta, razao <= meta ? "met" : "NOT MET");
  std::printf("%-34s %10.2f %-2s %10.2f %-2s %7.2fx  %s\n", nome, controle, unidade, edit, unidade, razao, alvo);
}

}  // namespace

// The sides of (a), each creating its n fields in the window and destroying them again: the
// control in the reflecting site, plain EDIT windows, the control in Wine's ATL host, and the
// control in the own site without reflection, windowless, kept inactive and with one class
// factory.
struct Side {
  Side(const char* m, std::function<double()> c, std::function<double()> d) : marker(m), create(std::move(c)), destroy(std::move(d)) {}
  const char* marker;  // names the side in the request count's trace
  std::function<double()> create, destroy;
  std::vector<double> created, destroyed;  // seconds, one per run
  PerInstance use;                          // from the first run
};

struct Sides {
  Sides(HWND janela, IStream* salvo, int n)
      : fabrica(Fabrica()),
        sites(Sites(n, true)),
        comFabrica(Sites(n, true, Kind::Windowed, fabrica)),
        semReflexo(Sites(n, false)),
        semJanela(Sites(n, true, Kind::Windowless)),
        inativos(Sites(n, true, Kind::Inactive)),
        edits(static_cast<size_t>(n)),
        campos(static_cast<size_t>(n)) {
    AtlCreate cria = CarregaAtl();
    all = {
        {"controls", [=, this] { return CriaControles(janela, salvo, sites, etapas); }, [this] { return DestroiControles(sites); }},
        {"edits", [=, this] { return CriaEdits(janela, edits); }, [this] { return DestroiEdits(edits); }},
        {"atl", [=, this] { return CriaNoAtl(cria, janela, salvo, campos); }, [this] { return DestroiNoAtl(campos); }},
        {"unreflected", [=, this] { return CriaControles(janela, salvo, semReflexo, semUso); },
         [this] { return DestroiControles(semReflexo); }},
        {"windowless", [=, this] { return CriaControles(janela, salvo, semJanela, semUso); },
         [this] { return DestroiControles(semJanela); }},
        {"inactive", [=, this] { return CriaControles(janela, salvo, inativos, semUso); },
         [this] { return DestroiControles(inativos); }},
        {"factory", [=, this] { return CriaControles(janela, salvo, comFabrica, semUso); },
         [this] { return DestroiControles(comFabrica); }},
    };
  }
  ~Sides() { IClassFactory_Release(fabrica); }
  static IClassFactory* Fabrica() {
    IClassFactory* f = nullptr;
    HRESULT hr = CoGetClassObject(kClsidDelvorin, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, reinterpret_cast<void**>(&f));
    if (FAILED(hr)) Falha("getting the class factory", hr);
    return f;
  }
  Side& controls() { return all[0]; }
  Side& edit() { return all[1]; }
  Side& atl() { return all[2]; }
  Side& unreflected() { return all[3]; }
  Side& windowless() { return all[4]; }
  Side& inactive() { return all[5]; }
  Side& factory() { return all[6]; }

  IClassFactory* fabrica;
  std::vector<std::unique_ptr<MinimalSite>> sites, comFabrica, semReflexo, semJanela, inativos;
  std::vector<HWND> edits;
  std::vector<AtlField> campos;
  Stages etapas, semUso;  // the reflecting site's steps are the ones reported
  std::vector<Side> all;
};

// Each side once with markers around it on stderr, after a round that warms everything.
int CountRequests(int n) {
  OleInitialize(nullptr);
  HWND janela = CreateWindowExW(0, L"STATIC", L"bench_server", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 1280,
                                760, nullptr, nullptr, nullptr, nullptr);
  IStream* salvo = SalvaControle();
  {
    Sides lados(janela, salvo, n);
    for (int volta = 0; volta < 2; ++volta) {
      for (Side& lado : lados.all) {
        Esvazia();
        if (volta) std::fprintf(stderr, "\n@@ %s begin\n", lado.marker), std::fflush(stderr);
        lado.create();
        if (volta) std::fprintf(stderr, "\n@@ %s end\n", lado.marker), std::fflush(stderr);
        lado.destroy();
      }
    }
  }
  IStream_Release(salvo);
  DestroyWindow(janela);
  Esvazia();
  OleUninitialize();
  return 0;
}

int wmain(int argc, wchar_t** argv) {
  if (argc > 1 && std::wstring(argv[1]) == L"count") return CountRequests(argc > 2 ? std::max(1, _wtoi(argv[2])) : 50);
  const int n = argc > 1 ? std::max(1, _wtoi(argv[1])) : 500;
  const int rodadas = argc > 2 ? std::max(1, _wtoi(argv[2])) : 5;
  OleInitialize(nullptr);
  HWND janela = CreateWindowExW(0, L"STATIC", L"bench_server", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 1280,
                                760, nullptr, nullptr, nullptr, nullptr);
  IStream* salvo = SalvaControle();

  // One round of each first, so that the server, its type library and the EDIT class are warm.
  auto lados = std::make_unique<Sides>(janela, salvo, n);
  for (Side& lado : lados->all) {
    lado.create();
    lado.destroy();
  }
  Esvazia();
  lados->etapas = Stages{};
  for (int r = 0; r < rodadas; ++r) {
    for (Side& lado : lados->all) {
      ResourceUse antes = Mede();
      lado.created.push_back(lado.create());
      Esvazia();
      ResourceUse depois = Mede();
      lado.destroyed.push_back(lado.destroy());
      Esvazia();
      if (r == 0) lado.use = Diferenca(antes, depois, n);
    }
  }
  const Stages etapas = lados->etapas;  // before (a') creates the reflecting site's controls again
  // (a'): the first focus of each of the first fields, in a form just opened.
  HWND fora = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 740, 60, 18, janela, nullptr, nullptr, nullptr);
  const size_t focados = static_cast<size_t>(std::min(n, 100));
  std::vector<double> focoJanela, focoSemJanela, focoInativo;
  for (int r = 0; r < rodadas; ++r) {
    struct {
      Side& lado;
      std::vector<std::unique_ptr<MinimalSite>>& sites;
      std::vector<double>& tempos;
    } medidas[] = {{lados->controls(), lados->sites, focoJanela},
                   {lados->windowless(), lados->semJanela, focoSemJanela},
                   {lados->inactive(), lados->inativos, focoInativo}};
    for (auto& m : medidas) {
      m.lado.create();
      Esvazia();
      m.tempos.push_back(PrimeiroFoco(m.sites, focados, fora));
      m.lado.destroy();
      Esvazia();
    }
  }
  DestroyWindow(fora);
  const std::vector<double> &criaC = lados->controls().created, &destroiC = lados->controls().destroyed;
  const std::vector<double> &criaE = lados->edit().created, &destroiE = lados->edit().destroyed;
  const std::vector<double> &criaA = lados->atl().created, &destroiA = lados->atl().destroyed;
  const std::vector<double>& criaS = lados->unreflected().created;
  const std::vector<double>& criaW = lados->windowless().created;
  const std::vector<double>& criaI = lados->inactive().created;
  const std::vector<double>& criaF = lados->factory().created;
  const PerInstance &porSemJanela = lados->windowless().use, &porInativo = lados->inactive().use;
  const PerInstance &porControle = lados->controls().use, &porEdit = lados->edit().use;
  const PerInstance &porAtl = lados->atl().use, &porSemReflexo = lados->unreflected().use;

  // Keystrokes: one control of type 6 (upper case) and one plain EDIT, side by side.
  MinimalSite site;
  HRESULT hr = site.Cria(janela, RECT{10, 10, 250, 40});
  _Delvorin* d = site.Interface<_Delvorin>(kIid_Delvorin);
  if (FAILED(hr) || !d || !site.Edit()) Falha("placing the control for typing", hr);
  _Delvorin_put_Tipo(d, 6);
  HWND simples = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 50, 240, 30, janela,
                                 nullptr, nullptr, nullptr);
  SendMessageW(simples, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  std::vector<double> teclaC, teclaE;
  Digita(site.Edit(), L"ABC");
  Digita(simples, L"abc");
  for (int r = 0; r < rodadas; ++r) {
    teclaC.push_back(Digita(site.Edit(), L"ABC"));
    teclaE.push_back(Digita(simples, L"abc"));
  }
  _Delvorin_Release(d);
  const long long tamanho = TamanhoServidor();
  site.Destroi();
  DestroyWindow(simples);

  const double dn = n;
  std::printf("Delvorin2.ocx, %d-bit, %d instances, median of %d runs\n", static_cast<int>(sizeof(void*) * 8), n, rodadas);
  std::printf("%-34s %13s %13s %8s  %s\n", "", "control", "EDIT", "ratio", "goal");
  Linha("(a) create, load, activate (all)", Mediana(criaC) * 1e3, Mediana(criaE) * 1e3, "ms", 1.5);
  Linha("    per instance", Mediana(criaC) * 1e6 / dn, Mediana(criaE) * 1e6 / dn, "us", 0);
  Linha("    destroy (all)", Mediana(destroiC) * 1e3, Mediana(destroiE) * 1e3, "ms", 0);
  Linha("(a) own site, one class factory", Mediana(criaF) * 1e3, Mediana(criaE) * 1e3, "ms", 0);
  Linha("    per instance", Mediana(criaF) * 1e6 / dn, Mediana(criaE) * 1e6 / dn, "us", 0);
  Linha("(a) own site, no reflection", Mediana(criaS) * 1e3, Mediana(criaE) * 1e3, "ms", 0);
  Linha("    per instance", Mediana(criaS) * 1e6 / dn, Mediana(criaE) * 1e6 / dn, "us", 0);
  Linha("(a) the same in Wine's ATL host", Mediana(criaA) * 1e3, Mediana(criaE) * 1e3, "ms", 1.5);
  Linha("    per instance", Mediana(criaA) * 1e6 / dn, Mediana(criaE) * 1e6 / dn, "us", 0);
  Linha("    destroy (all)", Mediana(destroiA) * 1e3, Mediana(destroiE) * 1e3, "ms", 0);
  Linha("(a) own site, windowless", Mediana(criaW) * 1e3, Mediana(criaE) * 1e3, "ms", 1.0);
  Linha("    per instance", Mediana(criaW) * 1e6 / dn, Mediana(criaE) * 1e6 / dn, "us", 0);
  Linha("(a) own site, kept inactive", Mediana(criaI) * 1e3, Mediana(criaE) * 1e3, "ms", 1.0);
  Linha("    per instance", Mediana(criaI) * 1e6 / dn, Mediana(criaE) * 1e6 / dn, "us", 0);
  {
    const double janela1 = Mediana(focoJanela) * 1e3, semJanela1 = Mediana(focoSemJanela) * 1e3, inativo1 = Mediana(focoInativo) * 1e3;
    auto meta = [](double extra) { return extra <= 2.0 ? "met" : "NOT MET"; };
    std::printf("(a') first focus, %zu fields: windowed %.3f ms; windowless %.3f ms (+%.3f ms, <= +2 ms %s); "
                "inactive %.3f ms (+%.3f ms, <= +2 ms %s)\n",
                focados, janela1, semJanela1, semJanela1 - janela1, meta(semJanela1 - janela1), inativo1, inativo1 - janela1,
                meta(inativo1 - janela1));
  }
  Linha("(b) keystroke (WM_CHAR)", Mediana(teclaC) * 1e6, Mediana(teclaE) * 1e6, "us", 1.3);
  std::printf("(c) heap per instance              %10.0f B  %10.0f B\n", porControle.bytes, porEdit.bytes);
  std::printf("    private pages per instance     %10.0f B  %10.0f B\n", porControle.paginas, porEdit.paginas);
  std::printf("    windows per instance           %10.2f    %10.2f  (no reflection: %.2f; in the ATL host, with its own: %.2f; "
              "windowless: %.2f; inactive: %.2f)\n",
              porControle.janelas, porEdit.janelas, porSemReflexo.janelas, porAtl.janelas, porSemJanela.janelas, porInativo.janelas);
  std::printf("    heap per instance, windowless  %10.0f B  (inactive: %.0f B)\n", porSemJanela.bytes, porInativo.bytes);
  std::printf("    GDI objects per instance       %10.2f    %10.2f\n", porControle.gdi, porEdit.gdi);
  std::printf("    (heap and pages are the process's own: Wine keeps window structures in its server)\n");
  std::printf("(d) server file                    %10lld B\n", tamanho);
  const double passos = static_cast<double>(rodadas) * n;
  std::printf("where creation goes, mean per control: CoCreateInstance + SetClientSite %.1f us, Load %.1f us, "
              "DoVerb(INPLACEACTIVATE) %.1f us\n",
              etapas.instancia * 1e6 / passos, etapas.inicia * 1e6 / passos, etapas.ativa * 1e6 / passos);

  lados.reset();  // its class factory before COM lets the server go
  IStream_Release(salvo);
  DestroyWindow(janela);
  Esvazia();
  OleUninitialize();
  return 0;
}
