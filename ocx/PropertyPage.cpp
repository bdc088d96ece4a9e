#include "ocx/PropertyPage.h"

#include <commctrl.h>

#include <new>
#include <string>

#include "ocx/Control.h"
#include "ocx/Identifiers.h"
#include "ocx/ErrorInfo.h"
#include "pages/AboutPageModel.h"

namespace delvorin::ocx {
namespace {

PropertyPage* impl_from_IPropertyPage2(IPropertyPage2* iface) {
  return CONTAINING_RECORD(iface, PropertyPage, IPropertyPage2_iface);
}
PropertyPage* impl_from_IDispatch(IDispatch* iface) {
  return CONTAINING_RECORD(iface, PropertyPage, IDispatch_iface);
}

// A failure of the page logic: its description for the caller's error information.
HRESULT Falha(const Result& r) {
  if (!r.descricao.empty()) PublicaErro(r.descricao, L"Delvorin2", GUID_NULL);
  const HRESULT hr = r.status.hresult();
  return FAILED(hr) ? hr : E_FAIL;
}

// The user acted on a child control of the dialog.
void Notifica(void* dono, ChildAction acao, int filho) {
  auto* p = static_cast<PropertyPage*>(dono);
  if (!p->geral || filho < 0 || filho >= kNumeroFilhosGeral) return;
  const auto f = static_cast<GeneralChild>(filho);
  // A failure here has no one to go to: the page shows what it could.
  switch (acao) {
    case ChildAction::Clique: (void)p->geral->Clique(f); break;
    case ChildAction::Alteracao: p->geral->Alteracao(f); break;
    case ChildAction::PerdeFoco: (void)p->geral->PerdeFoco(f); break;
  }
}

// The changed flag changed: the site is told that there are edits to apply, and a property
// sheet enables or disables its Apply button.
void AvisaAlterada(void* dono, bool alterada) {
  auto* p = static_cast<PropertyPage*>(dono);
  if (p->site) IPropertyPageSite_OnStatusChange(p->site, alterada ? PROPPAGESTATUS_DIRTY : PROPPAGESTATUS_CLEAN);
  // Posted: while the sheet creates the page it does not know the page's window yet, and it
  // marks every page clean once it has.
  if (p->folha)
    PostMessageW(p->folha, alterada ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(p->paginaFolha), 0);
}

constexpr UINT_PTR kSubclasse = 1;  // our listener on a sheet's page window

bool DaClasse(HWND h, const wchar_t* classe) {
  wchar_t nome[32] = {};
  return h && GetClassNameW(h, nome, 32) && lstrcmpiW(nome, classe) == 0;
}

LRESULT CALLBACK ProcFolha(HWND janela, UINT mensagem, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR dado) {
  auto* p = reinterpret_cast<PropertyPage*>(dado);
  if (mensagem == WM_NOTIFY && lp) {
    const auto* cabecalho = reinterpret_cast<const NMHDR*>(lp);
    if (cabecalho->code == PSN_APPLY && cabecalho->hwndFrom == p->folha) {
      // A failed apply keeps the sheet open on this page; its message was shown already.
      const HRESULT hr = IPropertyPage2_Apply(&p->IPropertyPage2_iface);
      return SUCCEEDED(hr) ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
    }
  }
  return DefSubclassProc(janela, mensagem, wp, lp);
}

void LigaFolha(PropertyPage* p, HWND pai) {
  HWND folha = GetParent(pai);
  if (!DaClasse(pai, L"#32770") || !DaClasse(folha, L"#32770")) return;
  HWND abas = reinterpret_cast<HWND>(SendMessageW(folha, PSM_GETTABCONTROL, 0, 0));
  if (!abas || GetParent(abas) != folha || !DaClasse(abas, WC_TABCONTROLW)) return;
  if (!SetWindowSubclass(pai, ProcFolha, kSubclasse, reinterpret_cast<DWORD_PTR>(p))) return;
  p->folha = folha;
  p->paginaFolha = pai;
}

void DesligaFolha(PropertyPage* p) {
  if (p->paginaFolha && IsWindow(p->paginaFolha)) RemoveWindowSubclass(p->paginaFolha, ProcFolha, kSubclasse);
  p->folha = p->paginaFolha = nullptr;
}

// The tab stops of the dialog in tab order: visible, enabled, WS_TABSTOP.
std::vector<HWND> ParadasTab(HWND dialogo) {
  std::vector<HWND> r;
  for (HWND h = GetWindow(dialogo, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
    const LONG estilo = GetWindowLongW(h, GWL_STYLE);
    if ((estilo & WS_TABSTOP) && (estilo & WS_VISIBLE) && IsWindowEnabled(h)) r.push_back(h);
  }
  return r;
}

// The control of Geral that edits the property of that dispatch id on the selected object
// (a list for the code it keeps in its text box), or -1.
int ControleDaPropriedade(PropertyPage* p, DISPID id) {
  if (id == DISPID_UNKNOWN) return -1;
  for (const GeneralBinding& v : kVinculosGeral) {
    if (p->acesso.Id(Descricao(v.propriedade).nome) != id) continue;
    for (const GeneralList& l : kListasGeral)
      if (l.companheira == v.filho) return Indice(l.lista);
    return Indice(v.filho);
  }
  return -1;
}

void Foca(PropertyPage* p, DISPID id) {
  const int i = ControleDaPropriedade(p, id);
  if (HWND h = p->dialogo.Filho(i)) SetFocus(h);
}

HRESULT WINAPI Pagina_QueryInterface(IPropertyPage2* iface, REFIID riid, void** ppv) {
  PropertyPage* p = impl_from_IPropertyPage2(iface);
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPropertyPage) || IsEqualIID(riid, IID_IPropertyPage2))
    *ppv = &p->IPropertyPage2_iface;
  else if (IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, p->diid))
    *ppv = &p->IDispatch_iface;
  else
    return E_NOINTERFACE;
  InterlockedIncrement(&p->ref);
  return S_OK;
}

ULONG WINAPI Pagina_AddRef(IPropertyPage2* iface) { return InterlockedIncrement(&impl_from_IPropertyPage2(iface)->ref); }

ULONG WINAPI Pagina_Release(IPropertyPage2* iface) {
  PropertyPage* p = impl_from_IPropertyPage2(iface);
  const LONG ref = InterlockedDecrement(&p->ref);
  if (ref == 0) {
    // The window first (its notifications reach the page), then the objects, then the site.
    DesligaFolha(p);
    p->dialogo.Destroi();
    p->geral.reset();
    p->acesso.Seleciona(nullptr);
    for (IUnknown* o : p->objetos) IUnknown_Release(o);
    p->objetos.clear();
    if (p->site) IPropertyPageSite_Release(p->site);
    p->site = nullptr;
    delete p;
    InterlockedDecrement(&g_objetos);
  }
  return static_cast<ULONG>(ref);
}

HRESULT WINAPI Pagina_SetPageSite(IPropertyPage2* iface, IPropertyPageSite* site) {
  PropertyPage* p = impl_from_IPropertyPage2(iface);
  if (site && p->site) return E_UNEXPECTED;  // one site at a time; the frame clears it first
  if (site) IPropertyPageSite_AddRef(site);
  if (p->site) IPropertyPageSite_Release(p->site);
  p->site = site;
  return S_OK;
}

HRESULT WINAPI Pagina_Activate(IPropertyPage2* iface, HWND pai, LPCRECT area, BOOL) {
  PropertyPage* p = impl_from_IPropertyPage2(iface);
  if (!area) return E_POINTER;
  if (!pai || !IsWindow(pai)) return E_INVALIDARG;
  if (p->dialogo.janela()) return E_UNEXPECTED;
  HRESULT hr = p->dialogo.Cria(pai, *area);
  if (FAILED(hr)) return hr;
  LigaFolha(p, pai);
  if (!p->geral) return S_OK;
  Result r = p->geral->Cria();
  // Objects given before the dialog existed are loaded now. A failing load leaves the page
  // as far as it got and goes to the host.
  if (r.ok() && !p->objetos.empty()) r = p->geral->Carrega();
  if (p->propriedadeInicial != DISPID_UNKNOWN) Foca(p, p->propriedadeInicial);
  p->propriedadeInicial = DISPID_UNKNOWN;
  return r.ok() ? S_OK : Falha(r);
}

HRESULT WINAPI Pagina_Deactivate(IPropertyPage2* iface) {
  PropertyPage* p = impl_from_IPropertyPage2(iface);
  if (!p->dialogo.janela()) return E_UNEXPECTED;
  DesligaFolha(p);
  p->dialogo.Destroi();
  p->superficie.Esquece();  // edits not applied went with the dialog
  return S_OK;
}

HRESULT WINAPI Pagina_GetPageInfo(IPropertyPage2* iface, PROPPAGEINFO* info) {
  PropertyPage* p = impl_from_IPropertyPage2(iface);
  if (!info) return E_POINTER;
  const std::u16string_view titulo = p->descricao.titulo;
  auto* texto = static_cast<LPOLESTR>(CoTaskMemAlloc((titulo.size() + 1) * sizeof(OLECHAR)));
  if (!texto) return E_OUTOFMEMORY;
  for (size_t i = 0; i < titulo.size(); ++i) texto[i] = static_cast<OLECHAR>(titulo[i]);
  texto[titulo.size()] = 0;
  info->cb = sizeof(*info);
  info->pszTitle = texto;
  info->size = PageDialog::Tamanho(p->descricao);
  info->pszDocString = nullptr;
  info->pszHelpFile = nullptr;
  info->dwHelpContext = 0;
  return S_OK;
}

HRESULT WINAPI Pagina_SetObjects(IPropertyPage2* iface, ULONG n, IUnknown** objetos) {
  PropertyPage* p = impl_from_IPropertyPage2(iface);
  if (n && !objetos) return E_POINTER;
  for (ULONG k = 0; k < n; ++k)
    if (!objetos[k]) return E_POINTER;
  // Geral reaches its object by property name: it needs its IDispatch.
  IDispatch* primeiro = nullptr;
  if (p->geral && n &&
      (FAILED(IUnknown_QueryInterface(objetos[0], IID_IDispatch, reinterpret_cast<void**>(&primeiro))) || !primeiro))
    return E_NOINTERFACE;
  for (ULONG k = 0; k < n; ++k) IUnknown_AddRef(objetos[k]);
  for (IUnknown* o : p->objetos) IUnknown_Release(o);
  p->objetos.assign(objetos, objetos + n);
  p->acesso.Seleciona(primeiro);
  if (primeiro) IDispatch_Release(primeiro);
  if (!p->geral || !n || !p->dialogo.janela()) return S_OK;
  const Result r = p->geral->Carrega();
  return r.ok() ? S_OK : Falha(r);
}

HRESULT WINAPI Pagina_Show(IPropertyPage2* iface, UINT comando) {
  PropertyPage* p = impl_from_IPropertyPage2(iface);
  if (!p->dialogo.janela()) return E_UNEXPECTED;
  ShowWindow(p->dialogo.janela(), static_cast<int>(comando));
  return S_OK;
}

HRESULT WINAPI Pagina_Move(IPropertyPage2* iface, LPCRECT area) {
  PropertyPage* p = impl_from_IPropertyPage2(iface);
  if (!area) return E_POINTER;
  if (!p->dialogo.janela()) return E_UNEXPECTED;
  MoveWindow(p->dialogo.janela(), area->left, area->top, area->right - area->left, area->bottom - area->top, TRUE);
  return S_OK;
}

HRESULT WINAPI Pagina_IsPageDirty(IPropertyPage2* iface) {
  return impl_from_IPropertyPage2(iface)->superficie.Alterada() ? S_OK : S_FALSE;
}

HRESULT WINAPI Pagina_Apply(IPropertyPage2* iface) {
  PropertyPage* p = impl_from_IPropertyPage2(iface);
  // Only edits are applied: a clean page (Sobre, or one never activated) has nothing to write.
  if (!p->geral || !p->superficie.Alterada()) return S_OK;
  const Result r = p->geral->Aplica();  // a failure's message is shown already
  return r.ok() ? S_OK : Falha(r);
}

HRESULT WINAPI Pagina_Help(IPropertyPage2*, LPCOLESTR) { return E_NOTIMPL; }

HRESULT WINAPI Pagina_TranslateAccelerator(IPropertyPage2* iface, MSG* mensagem) {
  PropertyPage* p = impl_from_IPropertyPage2(iface);
  if (!mensagem) return E_POINTER;
  HWND dialogo = p->dialogo.janela();
  if (!dialogo) return E_UNEXPECTED;
  if (mensagem->message != WM_KEYDOWN || mensagem->wParam != VK_TAB || GetKeyState(VK_CONTROL) < 0 ||
      GetKeyState(VK_MENU) < 0 || !IsChild(dialogo, mensagem->hwnd))
    return S_FALSE;
  // Tab moves between the page's controls; past its last (or before its first) the frame
  // takes the key to its own buttons.
  const std::vector<HWND> paradas = ParadasTab(dialogo);
  HWND atual = mensagem->hwnd;
  while (atual && GetParent(atual) != dialogo) atual = GetParent(atual);
  size_t k = 0;
  while (k < paradas.size() && paradas[k] != atual) ++k;
  if (k == paradas.size()) return S_FALSE;
  const bool volta = GetKeyState(VK_SHIFT) < 0;
  if (volta ? k == 0 : k + 1 == paradas.size()) return S_FALSE;
  HWND proximo = paradas[volta ? k - 1 : k + 1];
  SetFocus(proximo);
  if (SendMessageW(proximo, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(proximo, EM_SETSEL, 0, -1);
  return S_OK;
}

HRESULT WINAPI Pagina_EditProperty(IPropertyPage2* iface, DISPID id) {
  PropertyPage* p = impl_from_IPropertyPage2(iface);
  if (!p->geral) return E_NOTIMPL;  // Sobre edits nothing
  if (!p->acesso.TemSelecionado()) return E_UNEXPECTED;
  if (ControleDaPropriedade(p, id) < 0) return E_INVALIDARG;
  if (p->dialogo.janela()) Foca(p, id);
  else p->propriedadeInicial = id;
  return S_OK;
}

HRESULT WINAPI Despacho_QueryInterface(IDispatch* iface, REFIID riid, void** ppv) {
  return Pagina_QueryInterface(&impl_from_IDispatch(iface)->IPropertyPage2_iface, riid, ppv);
}
ULONG WINAPI Despacho_AddRef(IDispatch* iface) { return Pagina_AddRef(&impl_from_IDispatch(iface)->IPropertyPage2_iface); }
ULONG WINAPI Despacho_Release(IDispatch* iface) { return Pagina_Release(&impl_from_IDispatch(iface)->IPropertyPage2_iface); }
HRESULT WINAPI Despacho_GetTypeInfoCount(IDispatch*, UINT* n) {
  if (!n) return E_POINTER;
  *n = 0;
  return S_OK;
}
HRESULT WINAPI Despacho_GetTypeInfo(IDispatch*, UINT, LCID, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  return DISP_E_BADINDEX;
}
HRESULT WINAPI Despacho_GetIDsOfNames(IDispatch*, REFIID, LPOLESTR*, UINT n, LCID, DISPID* ids) {
  if (!ids) return E_POINTER;
  for (UINT k = 0; k < n; ++k) ids[k] = DISPID_UNKNOWN;
  return DISP_E_UNKNOWNNAME;
}
HRESULT WINAPI Despacho_Invoke(IDispatch*, DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
  return DISP_E_MEMBERNOTFOUND;
}
const IDispatchVtbl kDespachoVtbl = {Despacho_QueryInterface,  Despacho_AddRef,        Despacho_Release,
                                     Despacho_GetTypeInfoCount, Despacho_GetTypeInfo,  Despacho_GetIDsOfNames,
                                     Despacho_Invoke};

const IPropertyPage2Vtbl kPaginaVtbl = {
    Pagina_QueryInterface, Pagina_AddRef,       Pagina_Release,     Pagina_SetPageSite, Pagina_Activate,
    Pagina_Deactivate,     Pagina_GetPageInfo,  Pagina_SetObjects,  Pagina_Show,        Pagina_Move,
    Pagina_IsPageDirty,    Pagina_Apply,        Pagina_Help,        Pagina_TranslateAccelerator,
    Pagina_EditProperty,
};

HRESULT Cria(const PageDescription& descricao, const GUID& diid, bool comLogica, IUnknown* externo, REFIID riid,
             void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (externo) return CLASS_E_NOAGGREGATION;
  auto* p = new (std::nothrow) PropertyPage(descricao, diid, comLogica);
  if (!p) return E_OUTOFMEMORY;
  InterlockedIncrement(&g_objetos);
  HRESULT hr = Pagina_QueryInterface(&p->IPropertyPage2_iface, riid, ppv);
  Pagina_Release(&p->IPropertyPage2_iface);
  return hr;
}

}  // namespace

PropertyPage::PropertyPage(const PageDescription& d, const GUID& i, bool comLogica)
    : IPropertyPage2_iface{const_cast<IPropertyPage2Vtbl*>(&kPaginaVtbl)},
      IDispatch_iface{const_cast<IDispatchVtbl*>(&kDespachoVtbl)},
      descricao(d),
      diid(i),
      dialogo(d, Notifica, this),
      superficie(dialogo, AvisaAlterada, this) {
  if (comLogica) geral.emplace(superficie, acesso);
}

HRESULT CriaPaginaGeral(IUnknown* externo, REFIID riid, void** ppv) {
  return Cria(kPaginaGeral, kDiid_Geral, true, externo, riid, ppv);
}

HRESULT CriaPaginaSobre(IUnknown* externo, REFIID riid, void** ppv) {
  return Cria(kPaginaSobre, kDiid_Sobre, false, externo, riid, ppv);
}

}  // namespace delvorin::ocx
