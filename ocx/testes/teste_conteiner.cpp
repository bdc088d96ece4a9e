// The control hosted in Wine's own ActiveX host window (atl100's AtlAxWin100), in place in a
// top-level window: keys are posted to the real EDIT window and the text is read back, the
// events reach a connection-point sink, and Enter behaves by Usar_Enter.
#include <string>
#include <vector>

#include "ocx/Com.h"
#include "ocx/Identificadores.h"
#include "ocx/testes/Teste.h"

using namespace delvorin::ocx;

namespace {

// An event sink that records the dispatch id of every event and can rewrite KeyAscii.
struct Sink {
  IDispatch IDispatch_iface{};
  LONG ref = 1;
  std::vector<DISPID> eventos;
  short trocaKeyAscii = 0;  // when not 0, KeyAscii 'x' becomes this
};

Sink* impl_from_IDispatch(IDispatch* i) { return CONTAINING_RECORD(i, Sink, IDispatch_iface); }
HRESULT WINAPI Sink_QueryInterface(IDispatch* i, REFIID riid, void** ppv) {
  *ppv = nullptr;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, kDiid__Delvorin)) {
    *ppv = i;
    IDispatch_AddRef(i);
    return S_OK;
  }
  return E_NOINTERFACE;
}
ULONG WINAPI Sink_AddRef(IDispatch* i) { return InterlockedIncrement(&impl_from_IDispatch(i)->ref); }
ULONG WINAPI Sink_Release(IDispatch* i) { return InterlockedDecrement(&impl_from_IDispatch(i)->ref); }
HRESULT WINAPI Sink_GetTypeInfoCount(IDispatch*, UINT* n) {
  *n = 0;
  return S_OK;
}
HRESULT WINAPI Sink_GetTypeInfo(IDispatch*, UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
HRESULT WINAPI Sink_GetIDsOfNames(IDispatch*, REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
HRESULT WINAPI Sink_Invoke(IDispatch* i, DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT*, EXCEPINFO*, UINT*) {
  Sink* s = impl_from_IDispatch(i);
  s->eventos.push_back(id);
  if (id == 4 && p->cArgs == 1 && V_VT(&p->rgvarg[0]) == (VT_I2 | VT_BYREF) && s->trocaKeyAscii &&
      *V_I2REF(&p->rgvarg[0]) == 'x')
    *V_I2REF(&p->rgvarg[0]) = s->trocaKeyAscii;
  return S_OK;
}
const IDispatchVtbl kSinkVtbl = {Sink_QueryInterface, Sink_AddRef, Sink_Release, Sink_GetTypeInfoCount,
                                 Sink_GetTypeInfo, Sink_GetIDsOfNames, Sink_Invoke};

void Bombeia() {
  MSG m;
  for (int volta = 0; volta < 50; ++volta) {
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    Sleep(2);
  }
}

void Digita(HWND edit, const wchar_t* texto) {
  for (const wchar_t* p = texto; *p; ++p) PostMessageW(edit, WM_CHAR, *p, 1);
  Bombeia();
}

std::wstring Texto(_Delvorin* d) {
  BSTR b = nullptr;
  _Delvorin_get_Text(d, &b);
  std::wstring r = b ? b : L"";
  SysFreeString(b);
  return r;
}

int Conta(const std::vector<DISPID>& v, DISPID id) {
  int n = 0;
  for (DISPID x : v) n += x == id;
  return n;
}

}  // namespace

int wmain() {
  OleInitialize(nullptr);
  HMODULE atl = LoadLibraryW(L"atl100.dll");
  using Init = BOOL(WINAPI*)();
  using Cria = HRESULT(WINAPI*)(LPCOLESTR, HWND, IStream*, IUnknown**, IUnknown**, REFIID, IUnknown*);
  auto init = reinterpret_cast<Init>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")));
  auto cria = reinterpret_cast<Cria>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxCreateControlEx")));
  ok(atl && init && cria, "atl100.dll with AtlAxWinInit and AtlAxCreateControlEx");
  if (!init || !cria) return delvorin::ocx::teste::Resultado("teste_conteiner");
  init();

  HWND janela = CreateWindowExW(0, L"STATIC", L"Delvorin", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 120, nullptr,
                                nullptr, nullptr, nullptr);
  IUnknown* container = nullptr;
  IUnknown* controle = nullptr;
  HRESULT hr = cria(L"Delvorin2.Delvorin", janela, nullptr, &container, &controle, IID_NULL, nullptr);
  ok(hr == S_OK && controle, "AtlAxCreateControlEx: %08lx", hr);
  if (FAILED(hr) || !controle) return delvorin::ocx::teste::Resultado("teste_conteiner");

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
  sink.IDispatch_iface.lpVtbl = const_cast<IDispatchVtbl*>(&kSinkVtbl);
  IConnectionPointContainer* cpc = nullptr;
  IConnectionPoint* cp = nullptr;
  DWORD cookie = 0;
  IUnknown_QueryInterface(controle, IID_IConnectionPointContainer, reinterpret_cast<void**>(&cpc));
  if (cpc) IConnectionPointContainer_FindConnectionPoint(cpc, kDiid__Delvorin, &cp);
  hr = cp ? IConnectionPoint_Advise(cp, reinterpret_cast<IUnknown*>(&sink.IDispatch_iface), &cookie) : E_FAIL;
  ok(hr == S_OK && cookie != 0, "Advise: %08lx", hr);

  if (d && edit) {
    _Delvorin_put_Tipo(d, 9);
    _Delvorin_put_MSGcpf(d, VARIANT_FALSE);
    SetFocus(edit);
    Bombeia();
    sink.eventos.clear();
    Digita(edit, L"123456789012");
    ok(Texto(d) == L"123.456.789-01", "typed CPF: %ls", Texto(d).c_str());
    ok(Conta(sink.eventos, 4) == 12, "%d KeyPress events", Conta(sink.eventos, 4));
    ok(Conta(sink.eventos, 2) == 14, "%d Change events", Conta(sink.eventos, 2));

    // Enter without Usar_Enter: the control eats Return and raises TeclaEnter.
    _Delvorin_put_Usar_Enter(d, VARIANT_FALSE);
    IOleControl* oc = nullptr;
    IUnknown_QueryInterface(controle, IID_IOleControl, reinterpret_cast<void**>(&oc));
    CONTROLINFO ci{sizeof(ci), nullptr, 0, 0};
    if (oc) IOleControl_GetControlInfo(oc, &ci);
    ok(ci.dwFlags & CTRLINFO_EATS_RETURN, "CTRLINFO_EATS_RETURN with Usar_Enter False");
    sink.eventos.clear();
    Digita(edit, L"\r");
    ok(Conta(sink.eventos, 5) == 1, "TeclaEnter raised once");

    // The host rewrites KeyAscii in its KeyPress handler; type 6 then upper-cases it.
    _Delvorin_put_Tipo(d, 6);
    _Delvorin_put_Text(d, SysAllocString(L""));
    sink.trocaKeyAscii = 'q';
    Digita(edit, L"xa");
    ok(Texto(d) == L"QA", "rewritten key: %ls", Texto(d).c_str());
    sink.trocaKeyAscii = 0;

    // Freezing events holds them back.
    sink.eventos.clear();
    if (oc) IOleControl_FreezeEvents(oc, TRUE);
    Digita(edit, L"b");
    ok(sink.eventos.empty(), "no event while frozen");
    if (oc) IOleControl_FreezeEvents(oc, FALSE);
    Digita(edit, L"c");
    ok(!sink.eventos.empty(), "events again after thawing");
    if (oc) IOleControl_Release(oc);
  }

  // Design time: the standard pages and the value list of Tipo.
  ISpecifyPropertyPages* spp = nullptr;
  IUnknown_QueryInterface(controle, IID_ISpecifyPropertyPages, reinterpret_cast<void**>(&spp));
  CAUUID paginas{0, nullptr};
  ok(spp && ISpecifyPropertyPages_GetPages(spp, &paginas) == S_OK && paginas.cElems == 3, "three standard pages");
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
    CLSID pagina;
    ok(IPerPropertyBrowsing_MapPropertyToPage(ppb, 0x6803000b, &pagina) == PERPROP_E_NOPAGEAVAILABLE, "no own page yet");
    IPerPropertyBrowsing_Release(ppb);
  } else {
    ok(false, "IPerPropertyBrowsing");
  }

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
  Bombeia();
  ok(sink.ref == 1, "the sink was released: ref %ld", sink.ref);
  OleUninitialize();
  return delvorin::ocx::teste::Resultado("teste_conteiner");
}
