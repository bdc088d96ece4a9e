// The property pages Geral and Sobre: first as COM objects in a window of our own, with a page
// site that records what it is told and an automation object that is no Delvorin but has its
// property names; then in Wine's own property frame (OleCreatePropertyFrame) over a live
// control hosted in atl100's host window, driven through the frame's real child windows.
// With a folder as argument, screenshots of the frame go there as BMP files.
#include <cstdio>
#include <cwchar>
#include <iterator>
#include <string>
#include <vector>

#include "ocx/Com.h"
#include <commctrl.h>

#include "control/Properties.h"
#include "ocx/PageDialog.h"
#include "ocx/Identifiers.h"
#include "ocx/tests/Capture.h"
#include "ocx/tests/Sinks.h"
#include "ocx/tests/Test.h"
#include "pages/GeneralPageModel.h"
#include "pages/AboutPageModel.h"

using namespace delvorin;
using namespace delvorin::ocx;
using namespace delvorin::ocx::test;

namespace {

std::wstring TextoDe(HWND h) {
  wchar_t texto[512] = {};
  GetWindowTextW(h, texto, 512);
  return texto;
}

int Dpi(int eixo) {
  HDC tela = GetDC(nullptr);
  const int d = GetDeviceCaps(tela, eixo);
  ReleaseDC(nullptr, tela);
  return d;
}

// A child control's rectangle in its dialog's client coordinates.
RECT RetanguloNoDialogo(HWND controle) {
  RECT r{};
  GetWindowRect(controle, &r);
  MapWindowPoints(nullptr, GetParent(controle), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The rectangle a control of the table must have: its twips at the screen's DPI.
RECT Esperado(const PageDescription& pagina, int i) {
  const ChildDescription& d = pagina.filhos[static_cast<size_t>(i)];
  Rect p = d.posicao;
  if (d.moldura >= 0) {
    p.esquerda += pagina.filhos[static_cast<size_t>(d.moldura)].posicao.esquerda;
    p.topo += pagina.filhos[static_cast<size_t>(d.moldura)].posicao.topo;
  }
  const int x = Dpi(LOGPIXELSX), y = Dpi(LOGPIXELSY);
  RECT r{MulDiv(p.esquerda, x, 1440), MulDiv(p.topo, y, 1440), MulDiv(p.esquerda + p.largura, x, 1440),
         MulDiv(p.topo + p.altura, y, 1440)};
  if (d.tipo == ChildKind::Linha) r.bottom = r.top + 2;  // an etched line
  return r;
}

HWND Filho(HWND dialogo, int i) { return GetDlgItem(dialogo, PageDialog::kIdBase + i); }
HWND Filho(HWND dialogo, GeneralChild f) { return Filho(dialogo, Indice(f)); }

// ---- A page site that records the status changes it is told of.
struct PageSite {
  IPropertyPageSite IPropertyPageSite_iface{};
  LONG ref = 1;
  std::vector<DWORD> avisos;
};
PageSite* impl_from_IPropertyPageSite(IPropertyPageSite* i) { return CONTAINING_RECORD(i, PageSite, IPropertyPageSite_iface); }
HRESULT WINAPI Sitio_QueryInterface(IPropertyPageSite* i, REFIID riid, void** ppv) {
  *ppv = nullptr;
  if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IPropertyPageSite)) return E_NOINTERFACE;
  *ppv = i;
  IPropertyPageSite_AddRef(i);
  return S_OK;
}
ULONG WINAPI Sitio_AddRef(IPropertyPageSite* i) { return InterlockedIncrement(&impl_from_IPropertyPageSite(i)->ref); }
ULONG WINAPI Sitio_Release(IPropertyPageSite* i) { return InterlockedDecrement(&impl_from_IPropertyPageSite(i)->ref); }
HRESULT WINAPI Sitio_OnStatusChange(IPropertyPageSite* i, DWORD flags) {
  impl_from_IPropertyPageSite(i)->avisos.push_back(flags);
  return S_OK;
}
HRESULT WINAPI Sitio_GetLocaleID(IPropertyPageSite*, LCID* lcid) {
  *lcid = LOCALE_USER_DEFAULT;
  return S_OK;
}
HRESULT WINAPI Sitio_GetPageContainer(IPropertyPageSite*, IUnknown** u) {
  *u = nullptr;
  return E_NOTIMPL;
}
HRESULT WINAPI Sitio_TranslateAccelerator(IPropertyPageSite*, MSG*) { return S_FALSE; }
const IPropertyPageSiteVtbl kSitioVtbl = {Sitio_QueryInterface,  Sitio_AddRef,          Sitio_Release,
                                          Sitio_OnStatusChange,  Sitio_GetLocaleID,     Sitio_GetPageContainer,
                                          Sitio_TranslateAccelerator};

// ---- An automation object with the 18 property names of Geral that is not a Delvorin: it keeps
// what it is given as given, records each write, and can fail the write of one property in
// one of three ways.
enum class Failure { Nenhuma, Excecao, Simples, InfoErro };
struct Object {
  IDispatch IDispatch_iface{};
  ISupportErrorInfo ISupportErrorInfo_iface{};
  LONG ref = 1;
  std::vector<std::wstring> nomes;
  std::vector<VARIANT> valores;
  std::vector<std::wstring> escritas;
  int leituras = 0;
  std::wstring falhaEm;
  Failure falha = Failure::Nenhuma;
  bool semNomes = false;
  bool sempreNomeado = true;  // every put came with DISPID_PROPERTYPUT as its named argument

  VARIANT& Valor(const wchar_t* nome) {
    for (size_t i = 0; i < nomes.size(); ++i)
      if (nomes[i] == nome) return valores[i];
    static VARIANT nenhum;
    return nenhum;
  }
};
Object* impl_from_IDispatch_Objeto(IDispatch* i) { return CONTAINING_RECORD(i, Object, IDispatch_iface); }
Object* impl_from_ISupportErrorInfo(ISupportErrorInfo* i) { return CONTAINING_RECORD(i, Object, ISupportErrorInfo_iface); }
HRESULT WINAPI Objeto_QueryInterface(IDispatch* i, REFIID riid, void** ppv) {
  Object* o = impl_from_IDispatch_Objeto(i);
  *ppv = nullptr;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) *ppv = &o->IDispatch_iface;
  else if (IsEqualIID(riid, IID_ISupportErrorInfo)) *ppv = &o->ISupportErrorInfo_iface;
  else return E_NOINTERFACE;
  InterlockedIncrement(&o->ref);
  return S_OK;
}
ULONG WINAPI Objeto_AddRef(IDispatch* i) { return InterlockedIncrement(&impl_from_IDispatch_Objeto(i)->ref); }
ULONG WINAPI Objeto_Release(IDispatch* i) { return InterlockedDecrement(&impl_from_IDispatch_Objeto(i)->ref); }
HRESULT WINAPI Objeto_GetTypeInfoCount(IDispatch*, UINT* n) {
  *n = 0;
  return S_OK;
}
HRESULT WINAPI Objeto_GetTypeInfo(IDispatch*, UINT, LCID, ITypeInfo** t) {
  *t = nullptr;
  return E_NOTIMPL;
}
HRESULT WINAPI Objeto_GetIDsOfNames(IDispatch* i, REFIID, LPOLESTR* nomes, UINT n, LCID, DISPID* ids) {
  Object* o = impl_from_IDispatch_Objeto(i);
  ids[0] = DISPID_UNKNOWN;
  if (n != 1 || o->semNomes) return DISP_E_UNKNOWNNAME;
  for (size_t k = 0; k < o->nomes.size(); ++k)
    if (_wcsicmp(o->nomes[k].c_str(), nomes[0]) == 0) {
      ids[0] = static_cast<DISPID>(k + 1);
      return S_OK;
    }
  return DISP_E_UNKNOWNNAME;
}
HRESULT WINAPI Objeto_Invoke(IDispatch* i, DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* p, VARIANT* resultado,
                             EXCEPINFO* excecao, UINT*) {
  Object* o = impl_from_IDispatch_Objeto(i);
  if (id < 1 || id > static_cast<DISPID>(o->nomes.size())) return DISP_E_MEMBERNOTFOUND;
  const size_t k = static_cast<size_t>(id - 1);
  if (flags == DISPATCH_PROPERTYGET) {
    ++o->leituras;
    return resultado ? VariantCopy(resultado, &o->valores[k]) : E_POINTER;
  }
  if (flags != DISPATCH_PROPERTYPUT || p->cArgs != 1) return DISP_E_BADPARAMCOUNT;
  if (p->cNamedArgs != 1 || p->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) {
    o->sempreNomeado = false;
    return DISP_E_PARAMNOTOPTIONAL;
  }
  if (o->nomes[k] == o->falhaEm) {
    switch (o->falha) {
      case Failure::Excecao:
        if (excecao) {
          excecao->scode = CTL_E_INVALIDPROPERTYVALUE;
          excecao->bstrSource = SysAllocString(L"Objeto");
          excecao->bstrDescription = SysAllocString(L"Dígitos fora do intervalo");
        }
        return DISP_E_EXCEPTION;
      case Failure::Simples: return DISP_E_OVERFLOW;
      case Failure::InfoErro: {
        ICreateErrorInfo* cria = nullptr;
        IErrorInfo* info = nullptr;
        CreateErrorInfo(&cria);
        ICreateErrorInfo_SetDescription(cria, const_cast<LPOLESTR>(L"Somente leitura"));
        ICreateErrorInfo_QueryInterface(cria, IID_IErrorInfo, reinterpret_cast<void**>(&info));
        SetErrorInfo(0, info);
        IErrorInfo_Release(info);
        ICreateErrorInfo_Release(cria);
        return E_ACCESSDENIED;
      }
      case Failure::Nenhuma: break;
    }
  }
  o->escritas.push_back(o->nomes[k]);
  return VariantCopy(&o->valores[k], &p->rgvarg[0]);
}
const IDispatchVtbl kObjetoVtbl = {Objeto_QueryInterface, Objeto_AddRef,        Objeto_Release, Objeto_GetTypeInfoCount,
                                   Objeto_GetTypeInfo,    Objeto_GetIDsOfNames, Objeto_Invoke};
HRESULT WINAPI Sei_QueryInterface(ISupportErrorInfo* i, REFIID r, void** p) {
  return Objeto_QueryInterface(&impl_from_ISupportErrorInfo(i)->IDispatch_iface, r, p);
}
ULONG WINAPI Sei_AddRef(ISupportErrorInfo* i) { return Objeto_AddRef(&impl_from_ISupportErrorInfo(i)->IDispatch_iface); }
ULONG WINAPI Sei_Release(ISupportErrorInfo* i) { return Objeto_Release(&impl_from_ISupportErrorInfo(i)->IDispatch_iface); }
HRESULT WINAPI Sei_InterfaceSupportsErrorInfo(ISupportErrorInfo*, REFIID riid) {
  return IsEqualIID(riid, IID_IDispatch) ? S_OK : S_FALSE;
}
const ISupportErrorInfoVtbl kSeiVtbl = {Sei_QueryInterface, Sei_AddRef, Sei_Release, Sei_InterfaceSupportsErrorInfo};

// A value of type t from a number, or a text.
VARIANT Valor(VARTYPE t, LONG n, const wchar_t* texto = nullptr) {
  VARIANT v, numero;
  VariantInit(&v);
  V_VT(&numero) = VT_I4;
  V_I4(&numero) = n;
  if (texto) {
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = SysAllocString(texto);
  } else {
    VariantChangeType(&v, &numero, 0, t);
  }
  return v;
}

// Type 2, values of several automation types (none of them the control's own). Without the
// newer names: only those of the 1.0 interface.
void Inicia(Object& o, bool novos = true) {
  o.IDispatch_iface.lpVtbl = const_cast<IDispatchVtbl*>(&kObjetoVtbl);
  o.ISupportErrorInfo_iface.lpVtbl = const_cast<ISupportErrorInfoVtbl*>(&kSeiVtbl);
  const std::pair<const wchar_t*, VARIANT> valores[] = {
      {L"Usar_Enter", Valor(VT_BOOL, -1)},  {L"TC_Trim", Valor(VT_BOOL, 0)},      {L"Aspas", Valor(VT_BOOL, -1)},
      {L"usar_parenteses", Valor(VT_BOOL, 0)}, {L"PasswordChar", Valor(VT_BSTR, 0, L"*")},
      {L"MSGcpf", Valor(VT_BOOL, -1)},      {L"Digitos", Valor(VT_I4, 3)},        {L"TravaCpf", Valor(VT_BOOL, 0)},
      {L"Negativo", Valor(VT_BOOL, -1)},    {L"Tipo", Valor(VT_I2, 2)},           {L"Appearance", Valor(VT_I4, 0)},
      {L"Text", Valor(VT_BSTR, 0, L"3,5")}, {L"MaxLength", Valor(VT_I4, 10)},     {L"Locked", Valor(VT_BOOL, 0)},
      {L"Enabled", Valor(VT_BOOL, -1)},     {L"BorderStyle", Valor(VT_I2, 0)},    {L"Alignment", Valor(VT_I2, 2)},
      {L"CnpjAlfanumerico", Valor(VT_BOOL, -1)},
  };
  for (const auto& [nome, valor] : valores) {
    o.nomes.push_back(nome);
    o.valores.push_back(valor);
  }
  if (!novos) {
    VariantClear(&o.valores.back());
    o.nomes.pop_back();
    o.valores.pop_back();
  }
}
void Encerra(Object& o) {
  for (VARIANT& v : o.valores) VariantClear(&v);
}

// ---- An object without IDispatch.
struct UnknownOnly {
  IUnknown IUnknown_iface{};
  LONG ref = 1;
};
HRESULT WINAPI So_QueryInterface(IUnknown* i, REFIID riid, void** ppv) {
  *ppv = nullptr;
  if (!IsEqualIID(riid, IID_IUnknown)) return E_NOINTERFACE;
  *ppv = i;
  IUnknown_AddRef(i);
  return S_OK;
}
ULONG WINAPI So_AddRef(IUnknown* i) { return InterlockedIncrement(&CONTAINING_RECORD(i, UnknownOnly, IUnknown_iface)->ref); }
ULONG WINAPI So_Release(IUnknown* i) { return InterlockedDecrement(&CONTAINING_RECORD(i, UnknownOnly, IUnknown_iface)->ref); }
const IUnknownVtbl kSoVtbl = {So_QueryInterface, So_AddRef, So_Release};

// ---- Message boxes (and, while one is awaited, the property frame) seen by a CBT hook.
HWND g_quadro = nullptr;
bool g_esperaQuadro = false;

LRESULT CALLBACK Gancho(int codigo, WPARAM wp, LPARAM lp) {
  if (codigo == HCBT_ACTIVATE) {
    auto h = reinterpret_cast<HWND>(wp);
    wchar_t classe[16] = {};
    GetClassNameW(h, classe, 16);
    if (std::wcscmp(classe, L"#32770") == 0 && h != g_quadro) {
      if (g_esperaQuadro && !g_quadro) {
        g_quadro = h;
      } else {
        MessageBoxRecord caixa;
        caixa.title = TextoDe(h);
        caixa.owner = GetWindow(h, GW_OWNER);
        EnumChildWindows(h, ExamineChild, reinterpret_cast<LPARAM>(&caixa));
        g_boxes.push_back(caixa);
        PostMessageW(h, WM_COMMAND, IDOK, 0);
      }
    }
  }
  return CallNextHookEx(nullptr, codigo, wp, lp);
}

std::wstring g_pasta;  // where screenshots go; empty: none

// The window's client area as it is on the screen, as a 24-bit BMP in the screenshot folder
// (the caption is the window manager's, absent under Xvfb).
void Fotografa(HWND janela, const wchar_t* nome) {
  if (g_pasta.empty()) return;
  RedrawWindow(janela, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpMessages();
  ok(SalvaBitmap(janela, (g_pasta + L"\\" + nome).c_str()), "screenshot %s", Narrow(nome).c_str());
}

// ---- What a child control's parent answers for its colours, and the font it was given.
struct Colors {
  COLORREF texto, fundo;
  bool pincel;
};
Colors CoresDe(HWND dialogo, HWND controle, UINT mensagem) {
  HDC dc = GetDC(controle);
  SetTextColor(dc, RGB(1, 2, 3));
  SetBkColor(dc, RGB(4, 5, 6));
  auto pincel = reinterpret_cast<HBRUSH>(SendMessageW(dialogo, mensagem, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(controle)));
  LOGBRUSH lb{};
  const bool temPincel = pincel && GetObjectW(pincel, sizeof lb, &lb) == sizeof lb;
  Colors c{GetTextColor(dc), temPincel ? lb.lbColor : CLR_INVALID, temPincel};
  ReleaseDC(controle, dc);
  return c;
}
UINT MensagemDeCor(ChildKind t) {
  return t == ChildKind::CaixaTexto || t == ChildKind::Lista ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC;
}
LOGFONTW FonteDe(HWND controle) {
  LOGFONTW lf{};
  auto f = reinterpret_cast<HFONT>(SendMessageW(controle, WM_GETFONT, 0, 0));
  if (!f || GetObjectW(f, sizeof lf, &lf) != sizeof lf) lf.lfFaceName[0] = L'?';
  return lf;
}

// The tooltip window of a page's dialog, and the tip of one control in it ("" when none).
// The tooltip window with a tool for some control of the dialog.
struct TooltipSearch {
  HWND dialogo, achada;
};
BOOL CALLBACK ProcuraDicas(HWND h, LPARAM lp) {
  auto* b = reinterpret_cast<TooltipSearch*>(lp);
  wchar_t classe[32] = {};
  GetClassNameW(h, classe, 32);
  if (_wcsicmp(classe, TOOLTIPS_CLASSW) != 0) return TRUE;
  TTTOOLINFOW ti{};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  if (SendMessageW(h, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&ti)) && ti.hwnd == b->dialogo) b->achada = h;
  return b->achada == nullptr;
}
HWND JanelaDeDicas(HWND dialogo) {
  TooltipSearch b{dialogo, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), ProcuraDicas, reinterpret_cast<LPARAM>(&b));
  return b.achada;
}
std::wstring Dica(HWND dicas, HWND dialogo, HWND controle) {
  wchar_t texto[256] = {};
  TTTOOLINFOW ti{};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  ti.hwnd = dialogo;
  ti.uId = reinterpret_cast<UINT_PTR>(controle);
  ti.lpszText = texto;
  if (!dicas || !SendMessageW(dicas, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti))) return L"";
  ti.lpszText = texto;
  SendMessageW(dicas, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&ti));
  return texto;
}

// ---- The layout of a page's dialog: positions, captions, colours, fonts, tooltips.
void ConfereDisposicao(HWND dialogo, const PageDescription& pagina) {
  const int dpiY = Dpi(LOGPIXELSY);
  HWND dicas = JanelaDeDicas(dialogo);
  for (size_t k = 0; k < pagina.filhos.size(); ++k) {
    const int i = static_cast<int>(k);
    const ChildDescription& d = pagina.filhos[k];
    const std::string nome = Narrow(Wide(d.nome));
    HWND h = Filho(dialogo, i);
    ok(h != nullptr, "%s: control id %d", nome.c_str(), PageDialog::kIdBase + i);
    if (!h) continue;
    const RECT r = RetanguloNoDialogo(h), e = Esperado(pagina, i);
    ok(EqualRect(&r, &e), "%s at (%ld,%ld)-(%ld,%ld), expected (%ld,%ld)-(%ld,%ld)", nome.c_str(), r.left, r.top,
       r.right, r.bottom, e.left, e.top, e.right, e.bottom);
    if (d.tipo == ChildKind::Rotulo || d.tipo == ChildKind::CaixaMarcacao || d.tipo == ChildKind::Moldura)
      ok(TextoDe(h) == Wide(d.legenda), "%s: caption \"%s\"", nome.c_str(), Narrow(TextoDe(h)).c_str());
    if (d.tipo == ChildKind::CaixaTexto) ok(TextoDe(h).empty(), "%s starts empty", nome.c_str());
    // The tooltips of the table; chkAspas gets its own when Geral is created.
    const std::u16string_view dica = d.nome == u"chkAspas" ? kDicaAspas : d.dica;
    ok(Dica(dicas, dialogo, h) == Wide(dica), "%s: tooltip \"%s\"", nome.c_str(), Narrow(Dica(dicas, dialogo, h)).c_str());
    const Fonte f = d.fonte ? *d.fonte : pagina.fonte;
    const LOGFONTW lf = FonteDe(h);
    if (d.tipo != ChildKind::Linha)  // a line has no text
      ok(Wide(f.nome) == lf.lfFaceName && lf.lfHeight == -static_cast<LONG>(f.pontos * dpiY / 72.0 + 0.5) &&
           (lf.lfItalic != 0) == f.italico,
       "%s: font %s %ld%s", nome.c_str(), Narrow(lf.lfFaceName).c_str(), lf.lfHeight, lf.lfItalic ? " italic" : "");
    if (d.corTexto || d.corFundo) {
      const Colors c = CoresDe(dialogo, h, MensagemDeCor(d.tipo));
      if (d.corTexto)
        ok(c.text == RGB(d.corTexto->r, d.corTexto->g, d.corTexto->b), "%s: text colour %06lx", nome.c_str(), c.text);
      if (d.corFundo)
        ok(c.pincel && c.fundo == RGB(d.corFundo->r, d.corFundo->g, d.corFundo->b), "%s: background %06lx",
           nome.c_str(), c.fundo);
    }
  }
}

struct Visibility {
  int tipo;
  std::vector<GeneralChild> visiveis, ocultos;
};
// What the page shows for some types, and the controls shown whatever the type.
const Visibility kVisibilidades[] = {
    {9,
     {GeneralChild::chkMSGcpf, GeneralChild::chkTravaCpf},
     {GeneralChild::txtMaxLength, GeneralChild::txtDigitos, GeneralChild::txtPasswordChar, GeneralChild::chkNegativo,
      GeneralChild::chkUsarp, GeneralChild::chkAspas, GeneralChild::chkTC_Trim, GeneralChild::chkCnpjAlfanumerico}},
    {10,
     {GeneralChild::chkMSGcpf, GeneralChild::chkTravaCpf, GeneralChild::chkCnpjAlfanumerico},
     {GeneralChild::txtMaxLength, GeneralChild::txtDigitos, GeneralChild::txtPasswordChar, GeneralChild::chkNegativo,
      GeneralChild::chkUsarp, GeneralChild::chkAspas, GeneralChild::chkTC_Trim}},
    {0,
     {GeneralChild::chkUsarp, GeneralChild::txtDigitos, GeneralChild::chkNegativo, GeneralChild::txtMaxLength},
     {GeneralChild::txtPasswordChar, GeneralChild::chkAspas, GeneralChild::chkTC_Trim, GeneralChild::chkMSGcpf,
      GeneralChild::chkTravaCpf, GeneralChild::chkCnpjAlfanumerico}},
    {4,
     {GeneralChild::chkAspas, GeneralChild::chkTC_Trim, GeneralChild::txtMaxLength, GeneralChild::txtPasswordChar},
     {GeneralChild::chkNegativo, GeneralChild::txtDigitos, GeneralChild::chkUsarp, GeneralChild::chkMSGcpf,
      GeneralChild::chkTravaCpf, GeneralChild::chkCnpjAlfanumerico}},
    {11,
     {},
     {GeneralChild::chkAspas, GeneralChild::chkTC_Trim, GeneralChild::txtMaxLength, GeneralChild::txtPasswordChar,
      GeneralChild::chkMSGcpf, GeneralChild::chkTravaCpf, GeneralChild::txtDigitos, GeneralChild::chkNegativo,
      GeneralChild::chkUsarp, GeneralChild::chkCnpjAlfanumerico}},
};
const GeneralChild kSempreVisiveis[] = {
    GeneralChild::lblTipo,       GeneralChild::Combo1,         GeneralChild::lblAlignment, GeneralChild::CBali,
    GeneralChild::lblAppearance, GeneralChild::CB3d,           GeneralChild::lblBorderStyle, GeneralChild::CBborda,
    GeneralChild::lblText,       GeneralChild::txtText,        GeneralChild::lblMaxLength, GeneralChild::lblDigitos,
    GeneralChild::lblPasswordChar, GeneralChild::Line2,        GeneralChild::chkEnabled,   GeneralChild::chkLocked,
    GeneralChild::chkUsar_Enter,
};

// Checked on the real windows of a page that is on the screen.
void ConfereVisibilidade(HWND dialogo, int tipo) {
  for (const Visibility& v : kVisibilidades) {
    if (v.tipo != tipo) continue;
    for (GeneralChild f : v.visiveis)
      ok(IsWindowVisible(Filho(dialogo, f)), "type %d: %s visible", tipo, Narrow(Wide(Descricao(f).nome)).c_str());
    for (GeneralChild f : v.ocultos)
      ok(!IsWindowVisible(Filho(dialogo, f)), "type %d: %s hidden", tipo, Narrow(Wide(Descricao(f).nome)).c_str());
  }
  for (GeneralChild f : kSempreVisiveis)
    ok(IsWindowVisible(Filho(dialogo, f)), "type %d: %s always visible", tipo, Narrow(Wide(Descricao(f).nome)).c_str());
}

// The user chooses an item of a list, or types a text.
void Escolhe(HWND dialogo, GeneralChild lista, int item) {
  HWND h = Filho(dialogo, lista);
  SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
  SendMessageW(dialogo, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), CBN_SELCHANGE), reinterpret_cast<LPARAM>(h));
}
void Escreve(HWND dialogo, GeneralChild caixa, const wchar_t* texto) {
  SendMessageW(Filho(dialogo, caixa), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(texto));
}
int Marcada(HWND dialogo, GeneralChild f) { return static_cast<int>(SendMessageW(Filho(dialogo, f), BM_GETCHECK, 0, 0)); }

HWND DialogoDe(HWND pai) { return FindWindowExW(pai, nullptr, L"#32770", nullptr); }

// ---- The page objects on their own.

void TestaObjetoSobre(HWND janela) {
  IPropertyPage2* p = nullptr;
  HRESULT hr = CoCreateInstance(kClsidSobre, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage2, reinterpret_cast<void**>(&p));
  ok(hr == S_OK && p, "CoCreateInstance(Sobre): %08lx", hr);
  if (!p) return;
  PROPPAGEINFO info{};
  ok(IPropertyPage2_GetPageInfo(p, &info) == S_OK && info.pszTitle && std::wstring(info.pszTitle) == L"Sobre",
     "Sobre: title");
  ok(info.size.cx == MulDiv(5925, Dpi(LOGPIXELSX), 1440) && info.size.cy == MulDiv(3495, Dpi(LOGPIXELSY), 1440),
     "Sobre: %ld x %ld pixels", info.size.cx, info.size.cy);
  CoTaskMemFree(info.pszTitle);
  // Sobre edits nothing: any object will do, and nothing is ever to be applied.
  UnknownOnly so;
  so.IUnknown_iface.lpVtbl = const_cast<IUnknownVtbl*>(&kSoVtbl);
  IUnknown* objetos[] = {&so.IUnknown_iface};
  ok(IPropertyPage2_SetObjects(p, 1, objetos) == S_OK, "Sobre: SetObjects with an object without IDispatch");
  RECT area{0, 0, info.size.cx, info.size.cy};
  ok(IPropertyPage2_Activate(p, janela, &area, TRUE) == S_OK, "Sobre: Activate");
  HWND dialogo = DialogoDe(janela);
  ok(dialogo != nullptr, "Sobre: a dialog inside the window");
  if (dialogo) ConfereDisposicao(dialogo, kPaginaSobre);
  ok(IPropertyPage2_IsPageDirty(p) == S_FALSE && IPropertyPage2_Apply(p) == S_OK, "Sobre: never dirty, Apply S_OK");
  ok(IPropertyPage2_EditProperty(p, 0) == E_NOTIMPL, "Sobre: EditProperty");
  ok(IPropertyPage2_Deactivate(p) == S_OK && !IsWindow(dialogo), "Sobre: Deactivate destroys the dialog");
  ok(IPropertyPage2_Release(p) == 0, "Sobre released");
  ok(so.ref == 1, "Sobre released its object: %ld", so.ref);
}

void TestaObjetoGeral(HWND janela) {
  IPropertyPage2* p = nullptr;
  HRESULT hr = CoCreateInstance(kClsidGeral, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage2, reinterpret_cast<void**>(&p));
  ok(hr == S_OK && p, "CoCreateInstance(Geral): %08lx", hr);
  if (!p) return;
  IUnknown* u = reinterpret_cast<IUnknown*>(0xdeadbeef);
  ok(IPropertyPage2_QueryInterface(p, IID_IPersistStream, reinterpret_cast<void**>(&u)) == E_NOINTERFACE && !u,
     "no IPersistStream on the page");
  // The class's dispatch interface of the type library, without members.
  IDispatch* despacho = nullptr;
  ok(IPropertyPage2_QueryInterface(p, kDiid_Geral, reinterpret_cast<void**>(&despacho)) == S_OK && despacho, "_Geral");
  if (despacho) {
    LPOLESTR nome = const_cast<LPOLESTR>(L"Tipo");
    DISPID id = 0;
    IUnknown* mesmo = nullptr;
    ok(IDispatch_GetIDsOfNames(despacho, IID_NULL, &nome, 1, 0, &id) == DISP_E_UNKNOWNNAME && id == DISPID_UNKNOWN,
       "_Geral has no members");
    ok(IDispatch_QueryInterface(despacho, IID_IUnknown, reinterpret_cast<void**>(&mesmo)) == S_OK &&
           mesmo == reinterpret_cast<IUnknown*>(p),
       "one identity");
    if (mesmo) IUnknown_Release(mesmo);
    IDispatch_Release(despacho);
  }
  ok(IPropertyPage2_QueryInterface(p, kDiid_Sobre, reinterpret_cast<void**>(&u)) == E_NOINTERFACE && !u,
     "not Sobre's interface");
  IPropertyPage* pp = nullptr;
  ok(IPropertyPage2_QueryInterface(p, IID_IPropertyPage, reinterpret_cast<void**>(&pp)) == S_OK &&
         pp == reinterpret_cast<IPropertyPage*>(p),
     "IPropertyPage");
  if (pp) IPropertyPage_Release(pp);
  IUnknown* agregado = reinterpret_cast<IUnknown*>(0xdeadbeef);
  UnknownOnly externo;
  externo.IUnknown_iface.lpVtbl = const_cast<IUnknownVtbl*>(&kSoVtbl);
  ok(CoCreateInstance(kClsidGeral, &externo.IUnknown_iface, CLSCTX_INPROC_SERVER, IID_IUnknown,
                      reinterpret_cast<void**>(&agregado)) == CLASS_E_NOAGGREGATION && !agregado,
     "no aggregation");

  PROPPAGEINFO info{};
  ok(IPropertyPage2_GetPageInfo(p, nullptr) == E_POINTER, "GetPageInfo(null)");
  ok(IPropertyPage2_GetPageInfo(p, &info) == S_OK && info.pszTitle && std::wstring(info.pszTitle) == L"Propriedades ",
     "Geral: title \"Propriedades \"");
  ok(info.size.cx == MulDiv(5880, Dpi(LOGPIXELSX), 1440) && info.size.cy == MulDiv(4320, Dpi(LOGPIXELSY), 1440),
     "Geral: %ld x %ld pixels", info.size.cx, info.size.cy);
  CoTaskMemFree(info.pszTitle);

  // Before anything is set up.
  RECT area{0, 0, info.size.cx, info.size.cy};
  ok(IPropertyPage2_IsPageDirty(p) == S_FALSE, "a new page is clean");
  ok(IPropertyPage2_Apply(p) == S_OK, "Apply before Activate has nothing to write");
  ok(IPropertyPage2_Show(p, SW_SHOW) == E_UNEXPECTED && IPropertyPage2_Move(p, &area) == E_UNEXPECTED &&
         IPropertyPage2_Deactivate(p) == E_UNEXPECTED,
     "Show, Move, Deactivate before Activate");
  MSG tecla{janela, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
  ok(IPropertyPage2_TranslateAccelerator(p, &tecla) == E_UNEXPECTED, "TranslateAccelerator before Activate");
  ok(IPropertyPage2_EditProperty(p, 1) == E_UNEXPECTED, "EditProperty without objects");
  ok(IPropertyPage2_Activate(p, janela, nullptr, TRUE) == E_POINTER, "Activate without a rectangle");
  ok(IPropertyPage2_Activate(p, nullptr, &area, TRUE) == E_INVALIDARG, "Activate without a parent");
  ok(IPropertyPage2_SetObjects(p, 1, nullptr) == E_POINTER, "SetObjects(1, null)");
  IUnknown* nulos[] = {nullptr};
  ok(IPropertyPage2_SetObjects(p, 1, nulos) == E_POINTER, "SetObjects with a null object");
  ok(IPropertyPage2_SetObjects(p, 0, nullptr) == S_OK, "SetObjects(0, null) clears");
  UnknownOnly so;
  so.IUnknown_iface.lpVtbl = const_cast<IUnknownVtbl*>(&kSoVtbl);
  IUnknown* semDispatch[] = {&so.IUnknown_iface};
  ok(IPropertyPage2_SetObjects(p, 1, semDispatch) == E_NOINTERFACE && so.ref == 1, "an object without IDispatch");

  PageSite sitio;
  sitio.IPropertyPageSite_iface.lpVtbl = const_cast<IPropertyPageSiteVtbl*>(&kSitioVtbl);
  ok(IPropertyPage2_SetPageSite(p, &sitio.IPropertyPageSite_iface) == S_OK && sitio.ref == 2, "SetPageSite");
  ok(IPropertyPage2_SetPageSite(p, &sitio.IPropertyPageSite_iface) == E_UNEXPECTED, "a second site");

  // Without objects: the dialog as created.
  hr = IPropertyPage2_Activate(p, janela, &area, TRUE);
  ok(hr == S_OK, "Activate: %08lx", hr);
  ok(IPropertyPage2_Activate(p, janela, &area, TRUE) == E_UNEXPECTED, "a second Activate");
  HWND dialogo = DialogoDe(janela);
  ok(dialogo && (GetWindowLongW(dialogo, GWL_STYLE) & WS_CHILD) && !IsWindowVisible(dialogo),
     "a hidden child dialog until Show");
  if (!dialogo) {
    IPropertyPage2_Release(p);
    return;
  }
  ok(IPropertyPage2_Show(p, SW_SHOW) == S_OK && IsWindowVisible(dialogo), "Show");
  ConfereDisposicao(dialogo, kPaginaGeral);
  ok(IPropertyPage2_IsPageDirty(p) == S_FALSE, "nothing loaded, nothing changed");
  ok(IPropertyPage2_Deactivate(p) == S_OK, "Deactivate");

  // Two objects: the first is edited, the second is left alone. Given before the dialog
  // exists, they are read when it is created.
  Object o, outro;
  Inicia(o);
  Inicia(outro);
  IUnknown* objetos[] = {reinterpret_cast<IUnknown*>(&o.IDispatch_iface), reinterpret_cast<IUnknown*>(&outro.IDispatch_iface)};
  ok(IPropertyPage2_SetObjects(p, 2, objetos) == S_OK, "SetObjects(2)");
  ok(o.leituras == 0, "nothing is read before the dialog exists");
  ok(IPropertyPage2_Activate(p, janela, &area, TRUE) == S_OK, "Activate again");
  dialogo = DialogoDe(janela);
  ok(dialogo != nullptr && IPropertyPage2_Show(p, SW_SHOW) == S_OK, "Show");
  if (!dialogo) {
    IPropertyPage2_Release(p);
    return;
  }

  // The lists.
  std::vector<std::wstring> tipos;  // the type labels in code order
  for (std::u16string_view r : kRotulosTipo) tipos.push_back(Wide(r));
  ok(tipos.size() == 15 && tipos[0] == L"0 - Moeda com Máscara" && tipos[9] == L"9 - CPF" &&
         tipos[14] == L"14 - Cartão de Crédito",
     "the type labels");
  const struct {
    GeneralChild lista;
    std::vector<std::wstring> itens;
  } listas[] = {{GeneralChild::CBali, {L"0 - Esquerda", L"1 - Direita", L"2 - Centro"}},
                {GeneralChild::CBborda, {L"0 - Nenhuma", L"1 - Simples"}},
                {GeneralChild::CB3d, {L"0 - Flat", L"1 - 3D"}},
                {GeneralChild::Combo1, tipos}};
  for (const auto& l : listas) {
    HWND h = Filho(dialogo, l.lista);
    const LRESULT n = SendMessageW(h, CB_GETCOUNT, 0, 0);
    ok(n == static_cast<LRESULT>(l.itens.size()), "%s: %ld items", Narrow(Wide(Descricao(l.lista).nome)).c_str(),
       static_cast<long>(n));
    for (size_t k = 0; k < l.itens.size() && static_cast<LRESULT>(k) < n; ++k) {
      wchar_t item[64] = {};
      SendMessageW(h, CB_GETLBTEXT, k, reinterpret_cast<LPARAM>(item));
      ok(l.itens[k] == item, "%s item %u: %s", Narrow(Wide(Descricao(l.lista).nome)).c_str(), static_cast<unsigned>(k),
         Narrow(item).c_str());
    }
    ok((GetWindowLongW(h, GWL_STYLE) & 3) == CBS_DROPDOWNLIST, "a drop-down list");
  }
  ok(SendMessageW(Filho(dialogo, GeneralChild::txtPasswordChar), EM_GETLIMITTEXT, 0, 0) == 1, "PasswordChar: one character");
  ok((GetWindowLongW(Filho(dialogo, GeneralChild::Line2), GWL_STYLE) & SS_TYPEMASK) == SS_ETCHEDHORZ, "Line2 is a line");
  ok(GetWindowLongW(Filho(dialogo, GeneralChild::chkUsarp), GWL_STYLE) & BS_MULTILINE, "chkUsarp on two lines");

  // The tab order: the tab stops in the dialog's order are the table's, by tab index.
  const GeneralChild ordem[] = {
      GeneralChild::Combo1,      GeneralChild::CBali,           GeneralChild::CB3d,         GeneralChild::CBborda,
      GeneralChild::txtText,     GeneralChild::txtMaxLength,    GeneralChild::txtDigitos,   GeneralChild::txtPasswordChar,
      GeneralChild::chkEnabled,  GeneralChild::chkLocked,       GeneralChild::chkUsar_Enter, GeneralChild::chkAspas,
      GeneralChild::chkTC_Trim,  GeneralChild::chkTravaCpf,     GeneralChild::chkMSGcpf,    GeneralChild::chkNegativo,
      GeneralChild::txtAlignment, GeneralChild::txtBorderStyle, GeneralChild::txtAppearance, GeneralChild::txtTipo,
      GeneralChild::chkUsarp,    GeneralChild::chkCnpjAlfanumerico,
  };
  std::vector<HWND> paradas;
  for (HWND h = GetWindow(dialogo, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
    if (GetWindowLongW(h, GWL_STYLE) & WS_TABSTOP) paradas.push_back(h);
  ok(paradas.size() == std::size(ordem), "%u tab stops", static_cast<unsigned>(paradas.size()));
  for (size_t k = 0; k < paradas.size() && k < std::size(ordem); ++k)
    ok(paradas[k] == Filho(dialogo, ordem[k]), "tab stop %u: %s", static_cast<unsigned>(k),
       Narrow(Wide(Descricao(ordem[k]).nome)).c_str());

  // Loaded from the first object: values, the lists from the codes, the changed flag.
  ok(o.leituras == 18 && outro.leituras == 0, "18 properties read from the first object only: %d, %d", o.leituras,
     outro.leituras);
  ok(Marcada(dialogo, GeneralChild::chkUsar_Enter) == 1 && Marcada(dialogo, GeneralChild::chkTC_Trim) == 0 &&
         Marcada(dialogo, GeneralChild::chkAspas) == 1 && Marcada(dialogo, GeneralChild::chkNegativo) == 1 &&
         Marcada(dialogo, GeneralChild::chkEnabled) == 1 && Marcada(dialogo, GeneralChild::chkLocked) == 0 &&
         Marcada(dialogo, GeneralChild::chkCnpjAlfanumerico) == 1,
     "check boxes loaded");
  ok(!IsWindowVisible(Filho(dialogo, GeneralChild::chkCnpjAlfanumerico)), "type 2 hides CnpjAlfanumerico");
  ok(TextoDe(Filho(dialogo, GeneralChild::txtTipo)) == L"2" && TextoDe(Filho(dialogo, GeneralChild::txtDigitos)) == L"3" &&
         TextoDe(Filho(dialogo, GeneralChild::txtText)) == L"3,5" &&
         TextoDe(Filho(dialogo, GeneralChild::txtPasswordChar)) == L"*" &&
         TextoDe(Filho(dialogo, GeneralChild::txtMaxLength)) == L"10",
     "text boxes loaded");
  ok(SendMessageW(Filho(dialogo, GeneralChild::Combo1), CB_GETCURSEL, 0, 0) == 2 &&
         SendMessageW(Filho(dialogo, GeneralChild::CBali), CB_GETCURSEL, 0, 0) == 2 &&
         SendMessageW(Filho(dialogo, GeneralChild::CB3d), CB_GETCURSEL, 0, 0) == 0 &&
         SendMessageW(Filho(dialogo, GeneralChild::CBborda), CB_GETCURSEL, 0, 0) == 0,
     "lists set from the codes");
  ok(IsWindowVisible(Filho(dialogo, GeneralChild::chkNegativo)) && !IsWindowVisible(Filho(dialogo, GeneralChild::txtDigitos)),
     "type 2 shows Negativo, hides Digitos");
  ok(IPropertyPage2_IsPageDirty(p) == S_OK, "changed right after loading");
  ok(sitio.avisos.size() == 1 && sitio.avisos[0] == PROPPAGESTATUS_DIRTY, "the site told once: %u",
     static_cast<unsigned>(sitio.avisos.size()));

  // Apply: the 18 writes in order, texts as texts, check boxes as booleans.
  const wchar_t* const escritas[] = {L"Usar_Enter", L"TC_Trim", L"Aspas",     L"usar_parenteses", L"PasswordChar",
                                     L"MSGcpf",     L"Digitos", L"TravaCpf",  L"Negativo",        L"Tipo",
                                     L"Appearance", L"Text",    L"MaxLength", L"Locked",          L"Enabled",
                                     L"BorderStyle", L"Alignment", L"CnpjAlfanumerico"};
  // Grayed by the user: applied as False, as any grayed box.
  SendMessageW(Filho(dialogo, GeneralChild::chkCnpjAlfanumerico), BM_SETCHECK, BST_INDETERMINATE, 0);
  hr = IPropertyPage2_Apply(p);
  ok(hr == S_OK, "Apply: %08lx", hr);
  ok(o.escritas.size() == std::size(escritas) && outro.escritas.empty() && o.sempreNomeado,
     "18 writes to the first object: %u", static_cast<unsigned>(o.escritas.size()));
  for (size_t k = 0; k < o.escritas.size() && k < std::size(escritas); ++k)
    ok(o.escritas[k] == escritas[k], "write %u: %s", static_cast<unsigned>(k), Narrow(o.escritas[k]).c_str());
  ok(V_VT(&o.Valor(L"CnpjAlfanumerico")) == VT_BOOL && V_BOOL(&o.Valor(L"CnpjAlfanumerico")) == VARIANT_FALSE,
     "CnpjAlfanumerico grayed, written as False");
  ok(V_VT(&o.Valor(L"Tipo")) == VT_BSTR && std::wstring(V_BSTR(&o.Valor(L"Tipo"))) == L"2", "Tipo written as the text \"2\"");
  ok(V_VT(&o.Valor(L"Aspas")) == VT_BOOL && V_BOOL(&o.Valor(L"Aspas")) == VARIANT_TRUE, "Aspas written as True");
  ok(V_VT(&o.Valor(L"TC_Trim")) == VT_BOOL && V_BOOL(&o.Valor(L"TC_Trim")) == VARIANT_FALSE, "TC_Trim written as False");
  ok(IPropertyPage2_IsPageDirty(p) == S_FALSE, "clean after Apply");
  ok(sitio.avisos.size() == 2 && sitio.avisos[1] == PROPPAGESTATUS_CLEAN, "the site told it is clean");
  o.escritas.clear();
  ok(IPropertyPage2_Apply(p) == S_OK && o.escritas.empty(), "a clean page writes nothing");

  // The user's actions.
  SendMessageW(Filho(dialogo, GeneralChild::chkLocked), BM_CLICK, 0, 0);
  ok(Marcada(dialogo, GeneralChild::chkLocked) == 1 && IPropertyPage2_IsPageDirty(p) == S_OK, "a click ticks and changes");
  SendMessageW(Filho(dialogo, GeneralChild::chkLocked), BM_CLICK, 0, 0);
  ok(Marcada(dialogo, GeneralChild::chkLocked) == 0, "a second click clears");
  Escolhe(dialogo, GeneralChild::Combo1, 9);
  ok(TextoDe(Filho(dialogo, GeneralChild::txtTipo)) == L"9" && IsWindowVisible(Filho(dialogo, GeneralChild::chkMSGcpf)) &&
         !IsWindowVisible(Filho(dialogo, GeneralChild::chkNegativo)),
     "choosing 9 - CPF");
  ok(o.escritas.empty(), "nothing reaches the object until Apply");
  Escolhe(dialogo, GeneralChild::Combo1, 0);
  HWND maximo = Filho(dialogo, GeneralChild::txtMaxLength);
  SetFocus(maximo);
  Escreve(dialogo, GeneralChild::txtMaxLength, L"-5");
  SetFocus(Filho(dialogo, GeneralChild::txtText));
  ok(TextoDe(maximo) == L"0", "a negative MaxLength becomes 0 on leaving: %s", Narrow(TextoDe(maximo)).c_str());
  SetFocus(maximo);
  Escreve(dialogo, GeneralChild::txtMaxLength, L"abc");
  SetFocus(Filho(dialogo, GeneralChild::txtText));
  ok(TextoDe(maximo) == L"abc", "letters stay");
  Escreve(dialogo, GeneralChild::txtMaxLength, L"7");

  // Tab moves between the page's controls; past the last visible one it is the frame's.
  SetFocus(Filho(dialogo, GeneralChild::Combo1));
  MSG tab{Filho(dialogo, GeneralChild::Combo1), WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
  ok(IPropertyPage2_TranslateAccelerator(p, &tab) == S_OK && GetFocus() == Filho(dialogo, GeneralChild::CBali),
     "Tab from Combo1 to CBali");
  tab.hwnd = Filho(dialogo, GeneralChild::chkUsarp);  // type 0: the last visible tab stop
  SetFocus(tab.hwnd);
  ok(IPropertyPage2_TranslateAccelerator(p, &tab) == S_FALSE && GetFocus() == tab.hwnd, "Tab past the last control");
  BYTE teclas[256];
  GetKeyboardState(teclas);
  teclas[VK_SHIFT] = 0x80;
  SetKeyboardState(teclas);
  ok(IPropertyPage2_TranslateAccelerator(p, &tab) == S_OK && GetFocus() == Filho(dialogo, GeneralChild::chkNegativo),
     "Shift+Tab goes back over hidden controls");
  teclas[VK_SHIFT] = 0;
  SetKeyboardState(teclas);
  MSG outraTecla{Filho(dialogo, GeneralChild::txtText), WM_KEYDOWN, 'A', 0, 0, {0, 0}};
  ok(IPropertyPage2_TranslateAccelerator(p, &outraTecla) == S_FALSE, "other keys are not the page's");
  ok(IPropertyPage2_TranslateAccelerator(p, nullptr) == E_POINTER, "TranslateAccelerator(null)");

  // EditProperty: the control of that property takes the focus (a list for a code).
  ok(IPropertyPage2_EditProperty(p, 12) == S_OK && GetFocus() == Filho(dialogo, GeneralChild::txtText), "EditProperty(Text)");
  ok(IPropertyPage2_EditProperty(p, 10) == S_OK && GetFocus() == Filho(dialogo, GeneralChild::Combo1), "EditProperty(Tipo)");
  ok(IPropertyPage2_EditProperty(p, 99) == E_INVALIDARG && IPropertyPage2_EditProperty(p, DISPID_UNKNOWN) == E_INVALIDARG,
     "EditProperty of an unknown id");

  // A failing apply: the object's own description in an untitled OK-only box, the writes
  // before it kept, the rest not done, the page still changed.
  const struct {
    Failure falha;
    HRESULT esperado;
    const wchar_t* descricao;
  } falhas[] = {{Failure::Excecao, CTL_E_INVALIDPROPERTYVALUE, L"Dígitos fora do intervalo"},
                {Failure::Simples, DISP_E_OVERFLOW, L"Overflow"},
                {Failure::InfoErro, E_ACCESSDENIED, L"Somente leitura"}};
  for (const auto& f : falhas) {
    o.escritas.clear();
    o.falhaEm = L"Digitos";
    o.falha = f.falha;
    SendMessageW(Filho(dialogo, GeneralChild::chkLocked), BM_CLICK, 0, 0);
    g_boxes.clear();
    hr = IPropertyPage2_Apply(p);
    ok(hr == f.esperado, "failing Apply: %08lx", hr);
    ok(g_boxes.size() == 1, "one message box: %u", static_cast<unsigned>(g_boxes.size()));
    if (!g_boxes.empty()) {
      const MessageBoxRecord& c = g_boxes[0];
      ok(c.text == f.descricao, "message \"%s\"", Narrow(c.text).c_str());
      ok(c.title == TextoDe(janela) && c.owner == janela, "titled as the window that shows the page: \"%s\"",
         Narrow(c.title).c_str());
      ok(c.okOnly && !c.exclamation, "OK only, no icon");
    }
    ok(o.escritas.size() == 6 && o.escritas.back() == L"MSGcpf", "six writes before Digitos: %u",
       static_cast<unsigned>(o.escritas.size()));
    ok(IPropertyPage2_IsPageDirty(p) == S_OK, "still changed");
    IErrorInfo* info = nullptr;
    BSTR descricao = nullptr;
    if (GetErrorInfo(0, &info) == S_OK && info) {
      IErrorInfo_GetDescription(info, &descricao);
      IErrorInfo_Release(info);
    }
    ok(descricao && f.descricao == std::wstring(descricao), "the caller's error information");
    SysFreeString(descricao);
  }
  o.falha = Failure::Nenhuma;

  // An object of the 1.0 names: edited without CnpjAlfanumerico, whose box is grayed.
  Object antigo;
  Inicia(antigo, false);
  IUnknown* antigos[] = {reinterpret_cast<IUnknown*>(&antigo.IDispatch_iface)};
  SendMessageW(Filho(dialogo, GeneralChild::chkCnpjAlfanumerico), BM_SETCHECK, BST_CHECKED, 0);
  ok(IPropertyPage2_SetObjects(p, 1, antigos) == S_OK && antigo.leituras == 17, "an object of the 1.0 names: %d reads",
     antigo.leituras);
  ok(Marcada(dialogo, GeneralChild::chkCnpjAlfanumerico) == BST_INDETERMINATE, "CnpjAlfanumerico grayed");
  Escolhe(dialogo, GeneralChild::Combo1, 10);
  ok(IsWindowVisible(Filho(dialogo, GeneralChild::chkCnpjAlfanumerico)), "type 10 shows it");
  g_boxes.clear();
  hr = IPropertyPage2_Apply(p);
  ok(hr == S_OK && g_boxes.empty() && antigo.escritas.size() == 17 && antigo.escritas.back() == L"Alignment",
     "the 1.0 properties applied: %08lx, %u writes", hr, static_cast<unsigned>(antigo.escritas.size()));

  // The objects taken away from a changed page: Apply has nowhere to write.
  SendMessageW(Filho(dialogo, GeneralChild::chkLocked), BM_CLICK, 0, 0);
  ok(IPropertyPage2_SetObjects(p, 0, nullptr) == S_OK && o.ref == 1 && outro.ref == 1 && antigo.ref == 1,
     "SetObjects(0) lets them go");
  g_boxes.clear();
  o.escritas.clear();
  antigo.escritas.clear();
  hr = IPropertyPage2_Apply(p);
  ok(hr == CTL_E_ILLEGALFUNCTIONCALL && g_boxes.size() == 1 && o.escritas.empty() && antigo.escritas.empty(),
     "Apply without objects: %08lx", hr);
  ok(IPropertyPage2_EditProperty(p, 12) == E_UNEXPECTED, "EditProperty without objects");

  // An object without these names: the load fails with the object's error.
  Object semNomes;
  Inicia(semNomes);
  semNomes.semNomes = true;
  IUnknown* sem[] = {reinterpret_cast<IUnknown*>(&semNomes.IDispatch_iface)};
  ok(IPropertyPage2_SetObjects(p, 1, sem) == DISP_E_UNKNOWNNAME, "an object without the names");
  RECT outra{10, 20, 300, 200};
  ok(IPropertyPage2_Move(p, &outra) == S_OK, "Move");
  const RECT r = RetanguloNoDialogo(dialogo);
  ok(EqualRect(&r, &outra), "moved to (%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom);
  ok(IPropertyPage2_Deactivate(p) == S_OK && !IsWindow(dialogo), "Deactivate destroys the dialog");
  ok(IPropertyPage2_IsPageDirty(p) == S_FALSE, "its edits went with it");
  ok(IPropertyPage2_Deactivate(p) == E_UNEXPECTED, "a second Deactivate");

  ok(IPropertyPage2_Release(p) == 0, "Geral released");
  ok(o.ref == 1 && outro.ref == 1 && semNomes.ref == 1 && sitio.ref == 1, "objects and site released: %ld %ld %ld %ld",
     o.ref, outro.ref, semNomes.ref, sitio.ref);
  Encerra(o);
  Encerra(outro);
  Encerra(semNomes);
  Encerra(antigo);
}

// ---- Wine's property frame over a live control.

_Delvorin* g_controle = nullptr;

short Tipo() {
  unsigned char t = 0xcc;
  _Delvorin_get_Tipo(g_controle, &t);
  return t;
}
VARIANT_BOOL Locked() {
  VARIANT_BOOL b = 0x5555;
  _Delvorin_get_Locked(g_controle, &b);
  return b;
}
VARIANT_BOOL UsarEnter() {
  VARIANT_BOOL b = 0x5555;
  _Delvorin_get_Usar_Enter(g_controle, &b);
  return b;
}

// CnpjAlfanumerico read by name through the control's IDispatch, as the page reaches it; false
// when the control's type library has no such member (the 1.0 library).
bool CnpjAlfanumerico(VARIANT_BOOL& valor) {
  valor = 0x5555;
  IDispatch* d = nullptr;
  if (_Delvorin_QueryInterface(g_controle, IID_IDispatch, reinterpret_cast<void**>(&d)) != S_OK || !d) return false;
  LPOLESTR nome = const_cast<LPOLESTR>(L"CnpjAlfanumerico");
  DISPID id = DISPID_UNKNOWN;
  const bool conhecida = IDispatch_GetIDsOfNames(d, IID_NULL, &nome, 1, LOCALE_USER_DEFAULT, &id) == S_OK;
  if (conhecida) {
    VARIANT r;
    VariantInit(&r);
    DISPPARAMS nenhum{nullptr, nullptr, 0, 0};
    if (IDispatch_Invoke(d, id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &nenhum, &r, nullptr, nullptr) ==
            S_OK &&
        V_VT(&r) == VT_BOOL)
      valor = V_BOOL(&r);
    VariantClear(&r);
  }
  IDispatch_Release(d);
  return conhecida;
}

// What writing a text does to a control of a type, read from a control of our own.
std::wstring TextoEsperado(unsigned char tipo, const wchar_t* texto) {
  _Delvorin* d = nullptr;
  CoCreateInstance(kClsidDelvorin, nullptr, CLSCTX_INPROC_SERVER, kIid_Delvorin, reinterpret_cast<void**>(&d));
  if (!d) return L"?";
  _Delvorin_put_Tipo(d, tipo);
  BSTR b = SysAllocString(texto);
  _Delvorin_put_Text(d, b);
  SysFreeString(b);
  std::wstring r = test::TextOf(d);
  _Delvorin_Release(d);
  return r;
}

HWND PaginaAtual(HWND quadro) {
  return DialogoDe(reinterpret_cast<HWND>(SendMessageW(quadro, PSM_GETCURRENTPAGEHWND, 0, 0)));
}

constexpr int kIdAplicar = 0x3021;  // the Apply button of the common property sheet

void Aplica(HWND quadro) {
  SendMessageW(GetDlgItem(quadro, kIdAplicar), BM_CLICK, 0, 0);
  PumpMessages();
}

void SessaoNoQuadro(HWND quadro) {
  PumpMessages();
  HWND abas = reinterpret_cast<HWND>(SendMessageW(quadro, PSM_GETTABCONTROL, 0, 0));
  const LRESULT n = SendMessageW(abas, TCM_GETITEMCOUNT, 0, 0);
  std::wstring nomes;
  for (LRESULT k = 0; k < n; ++k) {
    wchar_t texto[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = texto;
    item.cchTextMax = 64;
    SendMessageW(abas, TCM_GETITEMW, static_cast<WPARAM>(k), reinterpret_cast<LPARAM>(&item));
    nomes += std::wstring(k ? L"|" : L"") + texto;
  }
  ok(nomes == L"Propriedades |Sobre", "the frame's pages, in order: %s", Narrow(nomes).c_str());

  HWND dialogo = PaginaAtual(quadro);
  ok(dialogo != nullptr, "Geral is the page shown first");
  if (!dialogo) return;
  HWND combo = Filho(dialogo, GeneralChild::Combo1);
  ok(SendMessageW(combo, CB_GETCURSEL, 0, 0) == 9 && TextoDe(combo) == L"9 - CPF", "the type list shows \"%s\"",
     Narrow(TextoDe(combo)).c_str());
  ConfereVisibilidade(dialogo, 9);
  VARIANT_BOOL cnpj = 0;
  const bool cnpjConhecida = CnpjAlfanumerico(cnpj);
  HWND caixaCnpj = Filho(dialogo, GeneralChild::chkCnpjAlfanumerico);
  ok(Marcada(dialogo, GeneralChild::chkCnpjAlfanumerico) == (!cnpjConhecida ? BST_INDETERMINATE : cnpj ? 1 : 0),
     "CnpjAlfanumerico loaded: %d (%s)", Marcada(dialogo, GeneralChild::chkCnpjAlfanumerico),
     cnpjConhecida ? "the control has it" : "the control's type library has not");
  // The frame's dialog navigation reaches into the page.
  SetFocus(combo);
  MSG tab{combo, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
  ok(IsDialogMessageW(quadro, &tab) && GetFocus() == Filho(dialogo, GeneralChild::CBali), "Tab in the frame: Combo1 to CBali");
  HWND aplicar = GetDlgItem(quadro, kIdAplicar);
  ok(aplicar && IsWindowEnabled(aplicar), "Apply offered: the page is changed after loading");
  // The pictures with the focus on the frame's OK button: the lists show their own colours.
  SetFocus(GetDlgItem(quadro, IDOK));
  Fotografa(quadro, L"page-geral-9.bmp");
  for (int tipo : {0, 4, 10, 11}) {
    Escolhe(dialogo, GeneralChild::Combo1, tipo);
    PumpMessages();
    ConfereVisibilidade(dialogo, tipo);
    SetFocus(GetDlgItem(quadro, IDOK));
    Fotografa(quadro, (L"page-geral-" + std::to_wstring(tipo) + L".bmp").c_str());
  }

  // Another type and other values; Apply writes them.
  Escolhe(dialogo, GeneralChild::Combo1, 3);
  ok(TextoDe(Filho(dialogo, GeneralChild::txtTipo)) == L"3" && Tipo() == 9, "3 - Número chosen, the control still 9");
  SendMessageW(Filho(dialogo, GeneralChild::chkLocked), BM_CLICK, 0, 0);
  Escolhe(dialogo, GeneralChild::CBali, 1);
  Escreve(dialogo, GeneralChild::txtText, L"1234");
  PumpMessages();
  ok(IsWindowEnabled(aplicar), "Apply enabled");
  Aplica(quadro);
  short alinhamento = -1;
  _Delvorin_get_Alignment(g_controle, &alinhamento);
  ok(Tipo() == 3, "Tipo written: %d", Tipo());
  ok(Locked() == VARIANT_TRUE && alinhamento == 1, "Locked and Alignment written");
  const std::wstring esperado = TextoEsperado(3, L"1234");
  ok(test::TextOf(g_controle) == esperado, "Text written under the new type: %s, expected %s",
     Narrow(test::TextOf(g_controle)).c_str(), Narrow(esperado).c_str());
  ok(!IsWindowEnabled(aplicar), "nothing left to apply");

  // CNPJ: the box is there to click, and Apply writes it (when the control has the property).
  Escolhe(dialogo, GeneralChild::Combo1, 10);
  ok(IsWindowVisible(caixaCnpj), "type 10 shows CnpjAlfanumerico");
  SendMessageW(caixaCnpj, BM_CLICK, 0, 0);
  const int marcada = Marcada(dialogo, GeneralChild::chkCnpjAlfanumerico);
  g_boxes.clear();
  Aplica(quadro);
  ok(g_boxes.empty() && !IsWindowEnabled(aplicar) && Tipo() == 10, "applied: %u message boxes, Tipo %d",
     static_cast<unsigned>(g_boxes.size()), Tipo());
  if (cnpjConhecida) {
    ok(CnpjAlfanumerico(cnpj) && cnpj == (marcada == 1 ? VARIANT_TRUE : VARIANT_FALSE) && marcada != 2,
       "CnpjAlfanumerico written: box %d, property %d", marcada, cnpj);
  } else {
    ok(marcada == 1 && !CnpjAlfanumerico(cnpj), "a control without CnpjAlfanumerico: the rest applied");
  }
  // Ticked again, for the failing apply below not to write.
  SendMessageW(caixaCnpj, BM_CLICK, 0, 0);
  const VARIANT_BOOL cnpjAntes = cnpj;

  // Digitos emptied: the conversion error is shown, the properties before it are written.
  Escolhe(dialogo, GeneralChild::Combo1, 0);
  Escreve(dialogo, GeneralChild::txtDigitos, L"");
  const VARIANT_BOOL usarEnter = UsarEnter();
  SendMessageW(Filho(dialogo, GeneralChild::chkUsar_Enter), BM_CLICK, 0, 0);
  g_boxes.clear();
  Aplica(quadro);
  ok(g_boxes.size() == 1, "one message box: %u", static_cast<unsigned>(g_boxes.size()));
  if (!g_boxes.empty()) {
    ok(g_boxes[0].text == L"Type mismatch", "message \"%s\"", Narrow(g_boxes[0].text).c_str());
    ok(g_boxes[0].title == TextoDe(quadro) && g_boxes[0].owner == quadro && g_boxes[0].okOnly,
       "untitled, OK only, over the frame: \"%s\"", Narrow(g_boxes[0].title).c_str());
  }
  unsigned char digitos = 0xcc;
  _Delvorin_get_Digitos(g_controle, &digitos);
  ok(UsarEnter() == (usarEnter ? VARIANT_FALSE : VARIANT_TRUE), "Usar_Enter written before");
  ok(digitos == 2 && Tipo() == 10, "Digitos and later not written: %d, %d", digitos, Tipo());
  ok(!CnpjAlfanumerico(cnpj) || cnpj == cnpjAntes, "CnpjAlfanumerico, the last, not written: %d", cnpj);
  ok(IsWindow(quadro) && PaginaAtual(quadro) == dialogo && IsWindowEnabled(aplicar), "the page stays open");

  // Sobre.
  SendMessageW(quadro, PSM_SETCURSEL, 1, 0);
  PumpMessages();
  HWND sobre = PaginaAtual(quadro);
  ok(sobre && sobre != dialogo, "Sobre shown");
  if (sobre) {
    ok(TextoDe(Filho(sobre, static_cast<int>(AboutChild::Frame1))) == L"  Delvorin  - Versão 1.0   ", "Sobre's frame caption");
    ok(IsWindowVisible(Filho(sobre, static_cast<int>(AboutChild::Label1))), "the notice shown");
    Fotografa(quadro, L"page-sobre.bmp");
  }
}

// Runs in the frame's own modal loop: once the frame is on the screen, the session, then Cancel.
void CALLBACK Relogio(HWND, UINT, UINT_PTR id, DWORD) {
  if (!g_quadro || !IsWindowVisible(g_quadro)) return;  // not on the screen yet
  KillTimer(nullptr, id);
  HWND quadro = g_quadro;
  SessaoNoQuadro(quadro);
  if (IsWindow(quadro)) PostMessageW(quadro, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

HRESULT AbreQuadro(HWND dono, IUnknown* objeto, ULONG n, CLSID* paginas) {
  g_quadro = nullptr;
  g_esperaQuadro = true;
  const UINT_PTR relogio = SetTimer(nullptr, 0, 50, Relogio);
  HRESULT hr = OleCreatePropertyFrame(dono, 0, 0, L"Delvorin", 1, &objeto, n, paginas, LOCALE_USER_DEFAULT, 0, nullptr);
  KillTimer(nullptr, relogio);
  g_esperaQuadro = false;
  return hr;
}

void TestaQuadro() {
  HMODULE atl = LoadLibraryW(L"atl100.dll");
  using Init = BOOL(WINAPI*)();
  using CreateFn = HRESULT(WINAPI*)(LPCOLESTR, HWND, IStream*, IUnknown**, IUnknown**, REFIID, IUnknown*);
  auto init = reinterpret_cast<Init>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")));
  auto cria = reinterpret_cast<CreateFn>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxCreateControlEx")));
  ok(init && cria, "atl100.dll with AtlAxWinInit and AtlAxCreateControlEx");
  if (!init || !cria) return;
  init();
  HWND form = CreateWindowExW(0, L"STATIC", L"Formulário", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 120, nullptr,
                              nullptr, nullptr, nullptr);
  IUnknown *container = nullptr, *controle = nullptr;
  HRESULT hr = cria(L"Delvorin2.Delvorin", form, nullptr, &container, &controle, IID_NULL, nullptr);
  ok(hr == S_OK && controle, "AtlAxCreateControlEx: %08lx", hr);
  if (controle) IUnknown_QueryInterface(controle, kIid_Delvorin, reinterpret_cast<void**>(&g_controle));
  if (!g_controle) {
    DestroyWindow(form);
    return;
  }

  // The control's page list and the properties that open Geral.
  ISpecifyPropertyPages* spp = nullptr;
  IUnknown_QueryInterface(controle, IID_ISpecifyPropertyPages, reinterpret_cast<void**>(&spp));
  CAUUID paginas{0, nullptr};
  ok(spp && ISpecifyPropertyPages_GetPages(spp, &paginas) == S_OK && paginas.cElems == 5, "five pages: %lu",
     paginas.cElems);
  const GUID cor = {0x0be35201, 0x8f91, 0x11ce, {0x9d, 0xe3, 0x00, 0xaa, 0x00, 0x4b, 0xb8, 0x51}};
  const GUID fonte = {0x0be35200, 0x8f91, 0x11ce, {0x9d, 0xe3, 0x00, 0xaa, 0x00, 0x4b, 0xb8, 0x51}};
  const GUID figura = {0x0be35202, 0x8f91, 0x11ce, {0x9d, 0xe3, 0x00, 0xaa, 0x00, 0x4b, 0xb8, 0x51}};
  const GUID* ordem[] = {&kClsidGeral, &cor, &fonte, &kClsidSobre, &figura};
  for (ULONG k = 0; k < paginas.cElems && k < 5; ++k) ok(IsEqualGUID(paginas.pElems[k], *ordem[k]), "page %lu", k);
  if (spp) ISpecifyPropertyPages_Release(spp);
  IPerPropertyBrowsing* ppb = nullptr;
  IUnknown_QueryInterface(controle, IID_IPerPropertyBrowsing, reinterpret_cast<void**>(&ppb));
  int abrem = 0;
  for (const PropertyDescription& d : kProperties) {
    CLSID pagina = kClsidSobre;  // a sentinel
    hr = ppb ? IPerPropertyBrowsing_MapPropertyToPage(ppb, d.dispid, &pagina) : E_FAIL;
    if (d.abreGeral) {
      abrem += hr == S_OK && IsEqualGUID(pagina, kClsidGeral);
    } else {
      ok(hr == PERPROP_E_NOPAGEAVAILABLE && IsEqualGUID(pagina, CLSID_NULL), "%s opens no page",
         Narrow(Wide(d.nome)).c_str());
    }
  }
  ok(abrem == 18, "%d properties open Geral", abrem);
  CLSID paginaCnpj = CLSID_NULL;
  ok(ppb && IPerPropertyBrowsing_MapPropertyToPage(ppb, Descricao(Property::CnpjAlfanumerico).dispid, &paginaCnpj) ==
                S_OK &&
         IsEqualGUID(paginaCnpj, kClsidGeral),
     "CnpjAlfanumerico opens Geral");
  if (ppb) {
    CLSID pagina = kClsidSobre;
    ok(IPerPropertyBrowsing_MapPropertyToPage(ppb, 0x12345, &pagina) == PERPROP_E_NOPAGEAVAILABLE &&
           IsEqualGUID(pagina, CLSID_NULL),
       "an unknown id");
    IPerPropertyBrowsing_Release(ppb);
  }

  _Delvorin_put_Tipo(g_controle, 9);
  _Delvorin_AddRef(g_controle);
  const ULONG referencias = _Delvorin_Release(g_controle);
  hr = AbreQuadro(form, controle, paginas.cElems, paginas.pElems);
  ok(hr == S_OK && g_quadro, "OleCreatePropertyFrame: %08lx", hr);
  ok(!IsWindow(g_quadro), "the frame closed");
  _Delvorin_AddRef(g_controle);
  ok(_Delvorin_Release(g_controle) == referencias, "the frame's references to the control released");
  CoTaskMemFree(paginas.pElems);

  _Delvorin_Release(g_controle);
  g_controle = nullptr;
  IUnknown_Release(controle);
  if (container) IUnknown_Release(container);
  DestroyWindow(form);
  PumpMessages();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc > 1) g_pasta = argv[1];
  OleInitialize(nullptr);
  HHOOK gancho = SetWindowsHookExW(WH_CBT, Gancho, nullptr, GetCurrentThreadId());
  HWND janela = CreateWindowExW(0, L"STATIC", L"Páginas", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 520, 420, nullptr,
                                nullptr, nullptr, nullptr);
  TestaObjetoGeral(janela);
  TestaObjetoSobre(janela);
  DestroyWindow(janela);
  TestaQuadro();
  UnhookWindowsHookEx(gancho);
  CoFreeUnusedLibraries();
  OleUninitialize();
  return test::Result("test_pages");
}
