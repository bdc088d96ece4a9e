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
HRESULT Fail(const Result& r) {
  if (!r.description.empty()) PublishError(r.description, L"Delvorin2", GUID_NULL);
  const HRESULT hr = r.status.hresult();
  return FAILED(hr) ? hr : E_FAIL;
}

// The user acted on a child control of the dialog.
void OnChildAction(void* owner, ChildAction action, int child) {
  auto* p = static_cast<PropertyPage*>(owner);
  if (!p->general || child < 0 || child >= kGeneralChildCount) return;
  const auto f = static_cast<GeneralChild>(child);
  // A failure here has no one to go to: the page shows what it could.
  switch (action) {
    case ChildAction::Click: (void)p->general->Click(f); break;
    case ChildAction::Change: p->general->Change(f); break;
    case ChildAction::FocusLost: (void)p->general->LostFocus(f); break;
  }
}

// The changed flag changed: the site is told that there are edits to apply, and a property
// sheet enables or disables its Apply button.
void OnChangedFlag(void* owner, bool changed) {
  auto* p = static_cast<PropertyPage*>(owner);
  if (p->site) IPropertyPageSite_OnStatusChange(p->site, changed ? PROPPAGESTATUS_DIRTY : PROPPAGESTATUS_CLEAN);
  // Posted: while the sheet creates the page it does not know the page's window yet, and it
  // marks every page clean once it has.
  if (p->sheet)
    PostMessageW(p->sheet, changed ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(p->sheetPage), 0);
}

constexpr UINT_PTR kSubclassId = 1;  // our listener on a sheet's page window

bool IsOfClass(HWND h, const wchar_t* cls) {
  wchar_t name[32] = {};
  return h && GetClassNameW(h, name, 32) && lstrcmpiW(name, cls) == 0;
}

LRESULT CALLBACK SheetPageProc(HWND window, UINT message, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  auto* p = reinterpret_cast<PropertyPage*>(data);
  if (message == WM_NOTIFY && lp) {
    const auto* header = reinterpret_cast<const NMHDR*>(lp);
    if (header->code == PSN_APPLY && header->hwndFrom == p->sheet) {
      // A failed apply keeps the sheet open on this page; its message was shown already.
      const HRESULT hr = IPropertyPage2_Apply(&p->IPropertyPage2_iface);
      return SUCCEEDED(hr) ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
    }
  }
  return DefSubclassProc(window, message, wp, lp);
}

void AttachSheet(PropertyPage* p, HWND parent) {
  HWND sheet = GetParent(parent);
  if (!IsOfClass(parent, L"#32770") || !IsOfClass(sheet, L"#32770")) return;
  HWND tabs = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
  if (!tabs || GetParent(tabs) != sheet || !IsOfClass(tabs, WC_TABCONTROLW)) return;
  if (!SetWindowSubclass(parent, SheetPageProc, kSubclassId, reinterpret_cast<DWORD_PTR>(p))) return;
  p->sheet = sheet;
  p->sheetPage = parent;
}

void DetachSheet(PropertyPage* p) {
  if (p->sheetPage && IsWindow(p->sheetPage)) RemoveWindowSubclass(p->sheetPage, SheetPageProc, kSubclassId);
  p->sheet = p->sheetPage = nullptr;
}

// The tab stops of the dialog in tab order: visible, enabled, WS_TABSTOP.
std::vector<HWND> TabStops(HWND dialog) {
  std::vector<HWND> r;
  for (HWND h = GetWindow(dialog, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
    const LONG style = GetWindowLongW(h, GWL_STYLE);
    if ((style & WS_TABSTOP) && (style & WS_VISIBLE) && IsWindowEnabled(h)) r.push_back(h);
  }
  return r;
}

// The control of Geral that edits the property of that dispatch id on the selected object
// (a list for the code it keeps in its text box), or -1.
int ChildOfProperty(PropertyPage* p, DISPID id) {
  if (id == DISPID_UNKNOWN) return -1;
  for (const GeneralBinding& v : kGeneralBindings) {
    if (p->access.Id(DescriptionOf(v.property).name) != id) continue;
    for (const GeneralList& l : kGeneralLists)
      if (l.companion == v.child) return IndexOf(l.list);
    return IndexOf(v.child);
  }
  if (p->access.Id(DescriptionOf(Property::UF).name) == id) return IndexOf(GeneralChild::CBuf);
  for (const GeneralBinding& v : kGeneralLateBindings)
    if (p->access.Id(DescriptionOf(v.property).name) == id) return IndexOf(v.child);
  return -1;
}

void Focus(PropertyPage* p, DISPID id) {
  const int i = ChildOfProperty(p, id);
  if (HWND h = p->dialog.Child(i)) SetFocus(h);
}

HRESULT WINAPI Page_QueryInterface(IPropertyPage2* iface, REFIID riid, void** ppv) {
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

ULONG WINAPI Page_AddRef(IPropertyPage2* iface) { return InterlockedIncrement(&impl_from_IPropertyPage2(iface)->ref); }

ULONG WINAPI Page_Release(IPropertyPage2* iface) {
  PropertyPage* p = impl_from_IPropertyPage2(iface);
  const LONG ref = InterlockedDecrement(&p->ref);
  if (ref == 0) {
    // The window first (its notifications reach the page), then the objects, then the site.
    DetachSheet(p);
    p->dialog.Destroy();
    p->general.reset();
    p->access.Select(nullptr);
    for (IUnknown* o : p->objects) IUnknown_Release(o);
    p->objects.clear();
    if (p->site) IPropertyPageSite_Release(p->site);
    p->site = nullptr;
    delete p;
    InterlockedDecrement(&g_objects);
  }
  return static_cast<ULONG>(ref);
}

HRESULT WINAPI Page_SetPageSite(IPropertyPage2* iface, IPropertyPageSite* site) {
  PropertyPage* p = impl_from_IPropertyPage2(iface);
  if (site && p->site) return E_UNEXPECTED;  // one site at a time; the frame clears it first
  if (site) IPropertyPageSite_AddRef(site);
  if (p->site) IPropertyPageSite_Release(p->site);
  p->site = site;
  return S_OK;
}

HRESULT WINAPI Page_Activate(IPropertyPage2* iface, HWND parent, LPCRECT area, BOOL) {
  PropertyPage* p = impl_from_IPropertyPage2(iface);
  if (!area) return E_POINTER;
  if (!parent || !IsWindow(parent)) return E_INVALIDARG;
  if (p->dialog.window()) return E_UNEXPECTED;
  HRESULT hr = p->dialog.Create(parent, *area);
  if (FAILED(hr)) return hr;
  AttachSheet(p, parent);
  if (!p->general) return S_OK;
  Result r = p->general->Create();
  // Objects given before the dialog existed are loaded now. A failing load leaves the page
  // as far as it got and goes to the host.
  if (r.ok() && !p->objects.empty()) r = p->general->Load();
  if (p->initialProperty != DISPID_UNKNOWN) Focus(p, p->initialProperty);
  p->initialProperty = DISPID_UNKNOWN;
  return r.ok() ? S_OK : Fail(r);
}

HRESULT WINAPI Page_Deactivate(IPropertyPage2* iface) {
  PropertyPage* p = impl_from_IPropertyPage2(iface);
  if (!p->dialog.window()) return E_UNEXPECTED;
  DetachSheet(p);
  p->dialog.Destroy();
  p->surface.Forget();  // edits not applied went with the dialog
  return S_OK;
}

HRESULT WINAPI Page_GetPageInfo(IPropertyPage2* iface, PROPPAGEINFO* info) {
  PropertyPage* p = impl_from_IPropertyPage2(iface);
  if (!info) return E_POINTER;
  const std::u16string_view title = p->description.title;
  auto* text = static_cast<LPOLESTR>(CoTaskMemAlloc((title.size() + 1) * sizeof(OLECHAR)));
  if (!text) return E_OUTOFMEMORY;
  for (size_t i = 0; i < title.size(); ++i) text[i] = static_cast<OLECHAR>(title[i]);
  text[title.size()] = 0;
  info->cb = sizeof(*info);
  info->pszTitle = text;
  info->size = PageDialog::PageSize(p->description);
  info->pszDocString = nullptr;
  info->pszHelpFile = nullptr;
  info->dwHelpContext = 0;
  return S_OK;
}

HRESULT WINAPI Page_SetObjects(IPropertyPage2* iface, ULONG n, IUnknown** objects) {
  PropertyPage* p = impl_from_IPropertyPage2(iface);
  if (n && !objects) return E_POINTER;
  for (ULONG k = 0; k < n; ++k)
    if (!objects[k]) return E_POINTER;
  // Geral reaches its object by property name: it needs its IDispatch.
  IDispatch* first = nullptr;
  if (p->general && n &&
      (FAILED(IUnknown_QueryInterface(objects[0], IID_IDispatch, reinterpret_cast<void**>(&first))) || !first))
    return E_NOINTERFACE;
  for (ULONG k = 0; k < n; ++k) IUnknown_AddRef(objects[k]);
  for (IUnknown* o : p->objects) IUnknown_Release(o);
  p->objects.assign(objects, objects + n);
  p->access.Select(first);
  if (first) IDispatch_Release(first);
  if (!p->general || !n || !p->dialog.window()) return S_OK;
  const Result r = p->general->Load();
  return r.ok() ? S_OK : Fail(r);
}

HRESULT WINAPI Page_Show(IPropertyPage2* iface, UINT command) {
  PropertyPage* p = impl_from_IPropertyPage2(iface);
  if (!p->dialog.window()) return E_UNEXPECTED;
  ShowWindow(p->dialog.window(), static_cast<int>(command));
  return S_OK;
}

HRESULT WINAPI Page_Move(IPropertyPage2* iface, LPCRECT area) {
  PropertyPage* p = impl_from_IPropertyPage2(iface);
  if (!area) return E_POINTER;
  if (!p->dialog.window()) return E_UNEXPECTED;
  MoveWindow(p->dialog.window(), area->left, area->top, area->right - area->left, area->bottom - area->top, TRUE);
  return S_OK;
}

HRESULT WINAPI Page_IsPageDirty(IPropertyPage2* iface) {
  return impl_from_IPropertyPage2(iface)->surface.Changed() ? S_OK : S_FALSE;
}

HRESULT WINAPI Page_Apply(IPropertyPage2* iface) {
  PropertyPage* p = impl_from_IPropertyPage2(iface);
  // Only edits are applied: a clean page (Sobre, or one never activated) has nothing to write.
  if (!p->general || !p->surface.Changed()) return S_OK;
  const Result r = p->general->Apply();  // a failure's message is shown already
  return r.ok() ? S_OK : Fail(r);
}

HRESULT WINAPI Page_Help(IPropertyPage2*, LPCOLESTR) { return E_NOTIMPL; }

HRESULT WINAPI Page_TranslateAccelerator(IPropertyPage2* iface, MSG* message) {
  PropertyPage* p = impl_from_IPropertyPage2(iface);
  if (!message) return E_POINTER;
  HWND dialog = p->dialog.window();
  if (!dialog) return E_UNEXPECTED;
  if (message->message != WM_KEYDOWN || message->wParam != VK_TAB || GetKeyState(VK_CONTROL) < 0 ||
      GetKeyState(VK_MENU) < 0 || !IsChild(dialog, message->hwnd))
    return S_FALSE;
  // Tab moves between the page's controls; past its last (or before its first) the frame
  // takes the key to its own buttons.
  const std::vector<HWND> stops = TabStops(dialog);
  HWND current = message->hwnd;
  while (current && GetParent(current) != dialog) current = GetParent(current);
  size_t k = 0;
  while (k < stops.size() && stops[k] != current) ++k;
  if (k == stops.size()) return S_FALSE;
  const bool backwards = GetKeyState(VK_SHIFT) < 0;
  if (backwards ? k == 0 : k + 1 == stops.size()) return S_FALSE;
  HWND next = stops[backwards ? k - 1 : k + 1];
  SetFocus(next);
  if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(next, EM_SETSEL, 0, -1);
  return S_OK;
}

HRESULT WINAPI Page_EditProperty(IPropertyPage2* iface, DISPID id) {
  PropertyPage* p = impl_from_IPropertyPage2(iface);
  if (!p->general) return E_NOTIMPL;  // Sobre edits nothing
  if (!p->access.HasSelection()) return E_UNEXPECTED;
  if (ChildOfProperty(p, id) < 0) return E_INVALIDARG;
  if (p->dialog.window()) Focus(p, id);
  else p->initialProperty = id;
  return S_OK;
}

HRESULT WINAPI Dispatch_QueryInterface(IDispatch* iface, REFIID riid, void** ppv) {
  return Page_QueryInterface(&impl_from_IDispatch(iface)->IPropertyPage2_iface, riid, ppv);
}
ULONG WINAPI Dispatch_AddRef(IDispatch* iface) { return Page_AddRef(&impl_from_IDispatch(iface)->IPropertyPage2_iface); }
ULONG WINAPI Dispatch_Release(IDispatch* iface) { return Page_Release(&impl_from_IDispatch(iface)->IPropertyPage2_iface); }
HRESULT WINAPI Dispatch_GetTypeInfoCount(IDispatch*, UINT* n) {
  if (!n) return E_POINTER;
  *n = 0;
  return S_OK;
}
HRESULT WINAPI Dispatch_GetTypeInfo(IDispatch*, UINT, LCID, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  return DISP_E_BADINDEX;
}
HRESULT WINAPI Dispatch_GetIDsOfNames(IDispatch*, REFIID, LPOLESTR*, UINT n, LCID, DISPID* ids) {
  if (!ids) return E_POINTER;
  for (UINT k = 0; k < n; ++k) ids[k] = DISPID_UNKNOWN;
  return DISP_E_UNKNOWNNAME;
}
HRESULT WINAPI Dispatch_Invoke(IDispatch*, DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
  return DISP_E_MEMBERNOTFOUND;
}
const IDispatchVtbl kDispatchVtbl = {Dispatch_QueryInterface,  Dispatch_AddRef,        Dispatch_Release,
                                     Dispatch_GetTypeInfoCount, Dispatch_GetTypeInfo,  Dispatch_GetIDsOfNames,
                                     Dispatch_Invoke};

const IPropertyPage2Vtbl kPageVtbl = {
    Page_QueryInterface, Page_AddRef,       Page_Release,     Page_SetPageSite, Page_Activate,
    Page_Deactivate,     Page_GetPageInfo,  Page_SetObjects,  Page_Show,        Page_Move,
    Page_IsPageDirty,    Page_Apply,        Page_Help,        Page_TranslateAccelerator,
    Page_EditProperty,
};

HRESULT Create(const PageDescription& description, const GUID& diid, bool withLogic, IUnknown* outer, REFIID riid,
             void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  auto* p = new (std::nothrow) PropertyPage(description, diid, withLogic);
  if (!p) return E_OUTOFMEMORY;
  InterlockedIncrement(&g_objects);
  HRESULT hr = Page_QueryInterface(&p->IPropertyPage2_iface, riid, ppv);
  Page_Release(&p->IPropertyPage2_iface);
  return hr;
}

}  // namespace

PropertyPage::PropertyPage(const PageDescription& d, const GUID& i, bool withLogic)
    : IPropertyPage2_iface{const_cast<IPropertyPage2Vtbl*>(&kPageVtbl)},
      IDispatch_iface{const_cast<IDispatchVtbl*>(&kDispatchVtbl)},
      description(d),
      diid(i),
      dialog(d, OnChildAction, this),
      surface(dialog, OnChangedFlag, this) {
  if (withLogic) general.emplace(surface, access);
}

HRESULT CreateGeralPage(IUnknown* outer, REFIID riid, void** ppv) {
  return Create(kGeneralPage, kDiid_Geral, true, outer, riid, ppv);
}

HRESULT CreateSobrePage(IUnknown* outer, REFIID riid, void** ppv) {
  return Create(kAboutPage, kDiid_Sobre, false, outer, riid, ppv);
}

}  // namespace delvorin::ocx
