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

#include "core/Properties.h"
#include "ocx/PageDialog.h"
#include "ocx/Identifiers.h"
#include "ocx/tests/Capture.h"
#include "ocx/tests/RecordingSink.h"
#include "ocx/tests/Sinks.h"
#include "ocx/tests/Test.h"
#include "pages/GeneralPageModel.h"
#include "pages/AboutPageModel.h"

using namespace delvorin;
using namespace delvorin::ocx;
using namespace delvorin::ocx::test;

namespace {

std::wstring WindowText(HWND h) {
  wchar_t text[512] = {};
  GetWindowTextW(h, text, 512);
  return text;
}

int Dpi(int axis) {
  HDC screen = GetDC(nullptr);
  const int d = GetDeviceCaps(screen, axis);
  ReleaseDC(nullptr, screen);
  return d;
}

// A child control's rectangle in its dialog's client coordinates.
RECT RectInDialog(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The rectangle a control of the table must have: its twips at the screen's DPI.
RECT ExpectedRect(const PageDescription& page, int i) {
  const ChildDescription& d = page.children[static_cast<size_t>(i)];
  Rect p = d.position;
  if (d.frame >= 0) {
    p.left += page.children[static_cast<size_t>(d.frame)].position.left;
    p.top += page.children[static_cast<size_t>(d.frame)].position.top;
  }
  const int x = Dpi(LOGPIXELSX), y = Dpi(LOGPIXELSY);
  RECT r{MulDiv(p.left, x, 1440), MulDiv(p.top, y, 1440), MulDiv(p.left + p.width, x, 1440),
         MulDiv(p.top + p.height, y, 1440)};
  if (d.type == ChildKind::Line) r.bottom = r.top + 2;  // an etched line
  return r;
}

HWND Child(HWND dialog, int i) { return GetDlgItem(dialog, PageDialog::kIdBase + i); }
HWND Child(HWND dialog, GeneralChild f) { return Child(dialog, IndexOf(f)); }

// ---- A page site that records the status changes it is told of.
struct PageSite : RecordingSink<IPropertyPageSite> {
  PageSite();
  std::vector<DWORD> statuses;
};
PageSite* impl_from_IPropertyPageSite(IPropertyPageSite* i) { return static_cast<PageSite*>(PageSite::From(i)); }
HRESULT WINAPI PageSite_OnStatusChange(IPropertyPageSite* i, DWORD flags) {
  impl_from_IPropertyPageSite(i)->Record("OnStatusChange");
  impl_from_IPropertyPageSite(i)->statuses.push_back(flags);
  return S_OK;
}
HRESULT WINAPI PageSite_GetLocaleID(IPropertyPageSite* i, LCID* lcid) {
  impl_from_IPropertyPageSite(i)->Record("GetLocaleID");
  *lcid = LOCALE_USER_DEFAULT;
  return S_OK;
}
HRESULT WINAPI PageSite_GetPageContainer(IPropertyPageSite* i, IUnknown** u) {
  impl_from_IPropertyPageSite(i)->Record("GetPageContainer");
  *u = nullptr;
  return E_NOTIMPL;
}
HRESULT WINAPI PageSite_TranslateAccelerator(IPropertyPageSite* i, MSG*) {
  impl_from_IPropertyPageSite(i)->Record("TranslateAccelerator");
  return S_FALSE;
}
const IPropertyPageSiteVtbl kPageSiteVtbl = {PageSite::QueryInterface,   PageSite::AddRef,          PageSite::Release,
                                             PageSite_OnStatusChange,    PageSite_GetLocaleID,      PageSite_GetPageContainer,
                                             PageSite_TranslateAccelerator};
PageSite::PageSite() : RecordingSink(&kPageSiteVtbl, {IID_IPropertyPageSite}) {}

// ---- An automation object with the 20 property names of Geral that is not a Delvorin: it keeps
// what it is given as given, records each write, and can fail the write of one property in
// one of three ways. It also answers ISupportErrorInfo.
enum class Failure { None, Exception, Plain, ErrorInfo };
struct Object : RecordingSink<IDispatch> {
  Object();
  Also<ISupportErrorInfo> errorInfo;
  std::vector<std::wstring> names;
  std::vector<VARIANT> values;
  std::vector<std::wstring> writes;
  int reads = 0;
  std::wstring failAt;
  Failure failure = Failure::None;
  bool noNames = false;
  bool alwaysNamed = true;  // every put came with DISPID_PROPERTYPUT as its named argument

  VARIANT& Value(const wchar_t* name) {
    for (size_t i = 0; i < names.size(); ++i)
      if (names[i] == name) return values[i];
    static VARIANT none;
    return none;
  }
};
Object* impl_from_IDispatch_Object(IDispatch* i) { return static_cast<Object*>(Object::From(i)); }
HRESULT WINAPI Object_GetTypeInfoCount(IDispatch*, UINT* n) {
  *n = 0;
  return S_OK;
}
HRESULT WINAPI Object_GetTypeInfo(IDispatch*, UINT, LCID, ITypeInfo** t) {
  *t = nullptr;
  return E_NOTIMPL;
}
HRESULT WINAPI Object_GetIDsOfNames(IDispatch* i, REFIID, LPOLESTR* asked, UINT n, LCID, DISPID* ids) {
  Object* o = impl_from_IDispatch_Object(i);
  o->Record("GetIDsOfNames");
  ids[0] = DISPID_UNKNOWN;
  if (n != 1 || o->noNames) return DISP_E_UNKNOWNNAME;
  for (size_t k = 0; k < o->names.size(); ++k)
    if (_wcsicmp(o->names[k].c_str(), asked[0]) == 0) {
      ids[0] = static_cast<DISPID>(k + 1);
      return S_OK;
    }
  return DISP_E_UNKNOWNNAME;
}
HRESULT WINAPI Object_Invoke(IDispatch* i, DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* p, VARIANT* result,
                             EXCEPINFO* exception, UINT*) {
  Object* o = impl_from_IDispatch_Object(i);
  o->Record("Invoke");
  if (id < 1 || id > static_cast<DISPID>(o->names.size())) return DISP_E_MEMBERNOTFOUND;
  const size_t k = static_cast<size_t>(id - 1);
  if (flags == DISPATCH_PROPERTYGET) {
    ++o->reads;
    return result ? VariantCopy(result, &o->values[k]) : E_POINTER;
  }
  if (flags != DISPATCH_PROPERTYPUT || p->cArgs != 1) return DISP_E_BADPARAMCOUNT;
  if (p->cNamedArgs != 1 || p->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) {
    o->alwaysNamed = false;
    return DISP_E_PARAMNOTOPTIONAL;
  }
  if (o->names[k] == o->failAt) {
    switch (o->failure) {
      case Failure::Exception:
        if (exception) {
          exception->scode = CTL_E_INVALIDPROPERTYVALUE;
          exception->bstrSource = SysAllocString(L"Objeto");
          exception->bstrDescription = SysAllocString(L"Dígitos fora do intervalo");
        }
        return DISP_E_EXCEPTION;
      case Failure::Plain: return DISP_E_OVERFLOW;
      case Failure::ErrorInfo: {
        ICreateErrorInfo* create = nullptr;
        IErrorInfo* info = nullptr;
        CreateErrorInfo(&create);
        ICreateErrorInfo_SetDescription(create, const_cast<LPOLESTR>(L"Somente leitura"));
        ICreateErrorInfo_QueryInterface(create, IID_IErrorInfo, reinterpret_cast<void**>(&info));
        SetErrorInfo(0, info);
        IErrorInfo_Release(info);
        ICreateErrorInfo_Release(create);
        return E_ACCESSDENIED;
      }
      case Failure::None: break;
    }
  }
  o->writes.push_back(o->names[k]);
  return VariantCopy(&o->values[k], &p->rgvarg[0]);
}
const IDispatchVtbl kObjectVtbl = {Object::QueryInterface, Object::AddRef,        Object::Release, Object_GetTypeInfoCount,
                                   Object_GetTypeInfo,     Object_GetIDsOfNames, Object_Invoke};
HRESULT WINAPI ErrorInfo_InterfaceSupportsErrorInfo(ISupportErrorInfo*, REFIID riid) {
  return IsEqualIID(riid, IID_IDispatch) ? S_OK : S_FALSE;
}
using ObjectErrorInfo = Object::Also<ISupportErrorInfo>;
const ISupportErrorInfoVtbl kErrorInfoVtbl = {ObjectErrorInfo::QueryInterface, ObjectErrorInfo::AddRef,
                                              ObjectErrorInfo::Release, ErrorInfo_InterfaceSupportsErrorInfo};
Object::Object() : RecordingSink(&kObjectVtbl, {IID_IDispatch}) { Answer(errorInfo, &kErrorInfoVtbl, IID_ISupportErrorInfo); }

// A value of type t from a number, or a text.
VARIANT MakeValue(VARTYPE t, LONG n, const wchar_t* text = nullptr) {
  VARIANT v, number;
  VariantInit(&v);
  V_VT(&number) = VT_I4;
  V_I4(&number) = n;
  if (text) {
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = SysAllocString(text);
  } else {
    VariantChangeType(&v, &number, 0, t);
  }
  return v;
}

// Type 2, values of several automation types (none of them the control's own). Without the
// newer names: only those of the 1.0 interface.
void SetUp(Object& o, bool fresh = true) {
  const std::pair<const wchar_t*, VARIANT> values[] = {
      {L"Usar_Enter", MakeValue(VT_BOOL, -1)},  {L"TC_Trim", MakeValue(VT_BOOL, 0)},      {L"Aspas", MakeValue(VT_BOOL, -1)},
      {L"usar_parenteses", MakeValue(VT_BOOL, 0)}, {L"PasswordChar", MakeValue(VT_BSTR, 0, L"*")},
      {L"MSGcpf", MakeValue(VT_BOOL, -1)},      {L"Digitos", MakeValue(VT_I4, 3)},        {L"TravaCpf", MakeValue(VT_BOOL, 0)},
      {L"Negativo", MakeValue(VT_BOOL, -1)},    {L"Tipo", MakeValue(VT_I2, 2)},           {L"Appearance", MakeValue(VT_I4, 0)},
      {L"Text", MakeValue(VT_BSTR, 0, L"3,5")}, {L"MaxLength", MakeValue(VT_I4, 10)},     {L"Locked", MakeValue(VT_BOOL, 0)},
      {L"Enabled", MakeValue(VT_BOOL, -1)},     {L"BorderStyle", MakeValue(VT_I2, 0)},    {L"Alignment", MakeValue(VT_I2, 2)},
      {L"CnpjAlfanumerico", MakeValue(VT_BOOL, -1)}, {L"UF", MakeValue(VT_BSTR, 0, L"sp")},
      {L"Mascara", MakeValue(VT_BSTR, 0, L">LL-0000")},
  };
  for (const auto& [name, value] : values) {
    o.names.push_back(name);
    o.values.push_back(value);
  }
  for (int newer = 0; !fresh && newer < 3; ++newer) {  // CnpjAlfanumerico, UF and Mascara
    VariantClear(&o.values.back());
    o.names.pop_back();
    o.values.pop_back();
  }
}
void TearDown(Object& o) {
  for (VARIANT& v : o.values) VariantClear(&v);
}

// ---- An object without IDispatch.
struct UnknownOnly : RecordingSink<IUnknown> {
  UnknownOnly();
};
const IUnknownVtbl kUnknownOnlyVtbl = {UnknownOnly::QueryInterface, UnknownOnly::AddRef, UnknownOnly::Release};
UnknownOnly::UnknownOnly() : RecordingSink(&kUnknownOnlyVtbl, {}) {}

// ---- Message boxes (and, while one is awaited, the property frame) seen by a CBT hook.
HWND g_frame = nullptr;
bool g_awaitingFrame = false;

LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_ACTIVATE) {
    auto h = reinterpret_cast<HWND>(wp);
    wchar_t cls[16] = {};
    GetClassNameW(h, cls, 16);
    if (std::wcscmp(cls, L"#32770") == 0 && h != g_frame) {
      if (g_awaitingFrame && !g_frame) {
        g_frame = h;
      } else {
        MessageBoxRecord box;
        box.title = WindowText(h);
        box.owner = GetWindow(h, GW_OWNER);
        EnumChildWindows(h, ExamineChild, reinterpret_cast<LPARAM>(&box));
        g_boxes.push_back(box);
        PostMessageW(h, WM_COMMAND, IDOK, 0);
      }
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

std::wstring g_folder;  // where screenshots go; empty: none

// The window's client area as it is on the screen, as a 24-bit BMP in the screenshot folder
// (the caption is the window manager's, absent under Xvfb).
void Screenshot(HWND window, const wchar_t* name) {
  if (g_folder.empty()) return;
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpMessages();
  ok(SaveBitmap(window, (g_folder + L"\\" + name).c_str()), "screenshot %s", Narrow(name).c_str());
}

// ---- What a child control's parent answers for its colours, and the font it was given.
struct Colors {
  COLORREF text, back;
  bool brush;
};
Colors ColoursOf(HWND dialog, HWND control, UINT message) {
  HDC dc = GetDC(control);
  SetTextColor(dc, RGB(1, 2, 3));
  SetBkColor(dc, RGB(4, 5, 6));
  auto brush = reinterpret_cast<HBRUSH>(SendMessageW(dialog, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
  LOGBRUSH lb{};
  const bool hasBrush = brush && GetObjectW(brush, sizeof lb, &lb) == sizeof lb;
  Colors c{GetTextColor(dc), hasBrush ? lb.lbColor : CLR_INVALID, hasBrush};
  ReleaseDC(control, dc);
  return c;
}
UINT ColourMessage(ChildKind t) {
  return t == ChildKind::TextBox || t == ChildKind::List ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC;
}
LOGFONTW FontOf(HWND control) {
  LOGFONTW lf{};
  auto f = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  if (!f || GetObjectW(f, sizeof lf, &lf) != sizeof lf) lf.lfFaceName[0] = L'?';
  return lf;
}

// The tooltip window of a page's dialog, and the tip of one control in it ("" when none).
// The tooltip window with a tool for some control of the dialog.
struct TooltipSearch {
  HWND dialog, found;
};
BOOL CALLBACK FindTooltips(HWND h, LPARAM lp) {
  auto* b = reinterpret_cast<TooltipSearch*>(lp);
  wchar_t cls[32] = {};
  GetClassNameW(h, cls, 32);
  if (_wcsicmp(cls, TOOLTIPS_CLASSW) != 0) return TRUE;
  TTTOOLINFOW ti{};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  if (SendMessageW(h, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&ti)) && ti.hwnd == b->dialog) b->found = h;
  return b->found == nullptr;
}
HWND TooltipWindow(HWND dialog) {
  TooltipSearch b{dialog, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), FindTooltips, reinterpret_cast<LPARAM>(&b));
  return b.found;
}
std::wstring TipOf(HWND tooltips, HWND dialog, HWND control) {
  wchar_t text[256] = {};
  TTTOOLINFOW ti{};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  ti.hwnd = dialog;
  ti.uId = reinterpret_cast<UINT_PTR>(control);
  ti.lpszText = text;
  if (!tooltips || !SendMessageW(tooltips, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti))) return L"";
  ti.lpszText = text;
  SendMessageW(tooltips, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&ti));
  return text;
}

// ---- The layout of a page's dialog: positions, captions, colours, fonts, tooltips.
void CheckLayout(HWND dialog, const PageDescription& page) {
  const int dpiY = Dpi(LOGPIXELSY);
  HWND tooltips = TooltipWindow(dialog);
  for (size_t k = 0; k < page.children.size(); ++k) {
    const int i = static_cast<int>(k);
    const ChildDescription& d = page.children[k];
    const std::string name = Narrow(Wide(d.name));
    HWND h = Child(dialog, i);
    ok(h != nullptr, "%s: control id %d", name.c_str(), PageDialog::kIdBase + i);
    if (!h) continue;
    const RECT r = RectInDialog(h), e = ExpectedRect(page, i);
    ok(EqualRect(&r, &e), "%s at (%ld,%ld)-(%ld,%ld), expected (%ld,%ld)-(%ld,%ld)", name.c_str(), r.left, r.top,
       r.right, r.bottom, e.left, e.top, e.right, e.bottom);
    if (d.type == ChildKind::Label || d.type == ChildKind::CheckBox || d.type == ChildKind::Frame)
      ok(WindowText(h) == Wide(d.caption), "%s: caption \"%s\"", name.c_str(), Narrow(WindowText(h)).c_str());
    if (d.type == ChildKind::TextBox) ok(WindowText(h).empty(), "%s starts empty", name.c_str());
    // The tooltips of the table; chkAspas gets its own when Geral is created.
    const std::u16string_view tip = d.name == u"chkAspas" ? kAspasTooltip : d.tooltip;
    ok(TipOf(tooltips, dialog, h) == Wide(tip), "%s: tooltip \"%s\"", name.c_str(), Narrow(TipOf(tooltips, dialog, h)).c_str());
    const FontDescription f = d.font ? *d.font : page.font;
    const LOGFONTW lf = FontOf(h);
    if (d.type != ChildKind::Line)  // a line has no text
      ok(Wide(f.name) == lf.lfFaceName && lf.lfHeight == -static_cast<LONG>(f.points * dpiY / 72.0 + 0.5) &&
           (lf.lfItalic != 0) == f.italic,
       "%s: font %s %ld%s", name.c_str(), Narrow(lf.lfFaceName).c_str(), lf.lfHeight, lf.lfItalic ? " italic" : "");
    if (d.textColour || d.backColour) {
      const Colors c = ColoursOf(dialog, h, ColourMessage(d.type));
      if (d.textColour)
        ok(c.text == RGB(d.textColour->r, d.textColour->g, d.textColour->b), "%s: text colour %06lx", name.c_str(), c.text);
      if (d.backColour)
        ok(c.brush && c.back == RGB(d.backColour->r, d.backColour->g, d.backColour->b), "%s: background %06lx",
           name.c_str(), c.back);
    }
  }
}

struct Visibility {
  int type;
  std::vector<GeneralChild> visibleOnes, hidden;
};
// What the page shows for some types, and the controls shown whatever the type.
const Visibility kVisibilities[] = {
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
const GeneralChild kAlwaysVisible[] = {
    GeneralChild::lblTipo,       GeneralChild::Combo1,         GeneralChild::lblAlignment, GeneralChild::CBali,
    GeneralChild::lblAppearance, GeneralChild::CB3d,           GeneralChild::lblBorderStyle, GeneralChild::CBborda,
    GeneralChild::lblText,       GeneralChild::txtText,        GeneralChild::lblMaxLength, GeneralChild::lblDigitos,
    GeneralChild::lblPasswordChar, GeneralChild::Line2,        GeneralChild::chkEnabled,   GeneralChild::chkLocked,
    GeneralChild::chkUsar_Enter,
};

// Checked on the real windows of a page that is on the screen.
void CheckVisibility(HWND dialog, int type) {
  for (const Visibility& v : kVisibilities) {
    if (v.type != type) continue;
    for (GeneralChild f : v.visibleOnes)
      ok(IsWindowVisible(Child(dialog, f)), "type %d: %s visible", type, Narrow(Wide(DescriptionOf(f).name)).c_str());
    for (GeneralChild f : v.hidden)
      ok(!IsWindowVisible(Child(dialog, f)), "type %d: %s hidden", type, Narrow(Wide(DescriptionOf(f).name)).c_str());
  }
  for (GeneralChild f : kAlwaysVisible)
    ok(IsWindowVisible(Child(dialog, f)), "type %d: %s always visible", type, Narrow(Wide(DescriptionOf(f).name)).c_str());
}

// The user chooses an item of a list, or types a text.
void Choose(HWND dialog, GeneralChild list, int item) {
  HWND h = Child(dialog, list);
  SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), CBN_SELCHANGE), reinterpret_cast<LPARAM>(h));
}
void TypeInto(HWND dialog, GeneralChild box, const wchar_t* text) {
  SendMessageW(Child(dialog, box), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}
int CheckOf(HWND dialog, GeneralChild f) { return static_cast<int>(SendMessageW(Child(dialog, f), BM_GETCHECK, 0, 0)); }

HWND DialogIn(HWND parent) { return FindWindowExW(parent, nullptr, L"#32770", nullptr); }

void test_about_page_object(HWND window) {
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
  UnknownOnly unknownOnly;
  IUnknown* objects[] = {&unknownOnly.iface};
  ok(IPropertyPage2_SetObjects(p, 1, objects) == S_OK, "Sobre: SetObjects with an object without IDispatch");
  RECT area{0, 0, info.size.cx, info.size.cy};
  ok(IPropertyPage2_Activate(p, window, &area, TRUE) == S_OK, "Sobre: Activate");
  HWND dialog = DialogIn(window);
  ok(dialog != nullptr, "Sobre: a dialog inside the window");
  if (dialog) CheckLayout(dialog, kAboutPage);
  ok(IPropertyPage2_IsPageDirty(p) == S_FALSE && IPropertyPage2_Apply(p) == S_OK, "Sobre: never dirty, Apply S_OK");
  ok(IPropertyPage2_EditProperty(p, 0) == E_NOTIMPL, "Sobre: EditProperty");
  ok(IPropertyPage2_Deactivate(p) == S_OK && !IsWindow(dialog), "Sobre: Deactivate destroys the dialog");
  ok(IPropertyPage2_Release(p) == 0, "Sobre released");
  ok(unknownOnly.ref == 1, "Sobre released its object: %ld", unknownOnly.ref);
}

// ---- The page objects on their own: Geral, in a window of ours, with our page site and objects.

// What the steps on Geral share.
struct GeneralPage {
  IPropertyPage2* p = nullptr;
  HWND window = nullptr;  // the window the page is shown in
  RECT area{};            // the page's rectangle in window
  HWND dialog = nullptr;  // the page's dialog while it is active
  PageSite site;
  Object o, other;  // the edited object and the one left alone
  Object old;       // an object of the 1.0 names
  Object nameless;  // an object without the names
};

// The page's interfaces: IPropertyPage2 and IPropertyPage, the class's empty dispatch
// interface, no persistence, no aggregation.
void test_general_interfaces(GeneralPage& g) {
  IPropertyPage2* p = g.p;
  IUnknown* u = reinterpret_cast<IUnknown*>(0xdeadbeef);
  ok(IPropertyPage2_QueryInterface(p, IID_IPersistStream, reinterpret_cast<void**>(&u)) == E_NOINTERFACE && !u,
     "no IPersistStream on the page");
  // The class's dispatch interface of the type library, without members.
  IDispatch* dispatch = nullptr;
  ok(IPropertyPage2_QueryInterface(p, kDiid_Geral, reinterpret_cast<void**>(&dispatch)) == S_OK && dispatch, "_Geral");
  if (dispatch) {
    LPOLESTR name = const_cast<LPOLESTR>(L"Tipo");
    DISPID id = 0;
    IUnknown* same = nullptr;
    ok(IDispatch_GetIDsOfNames(dispatch, IID_NULL, &name, 1, 0, &id) == DISP_E_UNKNOWNNAME && id == DISPID_UNKNOWN,
       "_Geral has no members");
    ok(IDispatch_QueryInterface(dispatch, IID_IUnknown, reinterpret_cast<void**>(&same)) == S_OK &&
           same == reinterpret_cast<IUnknown*>(p),
       "one identity");
    if (same) IUnknown_Release(same);
    IDispatch_Release(dispatch);
  }
  ok(IPropertyPage2_QueryInterface(p, kDiid_Sobre, reinterpret_cast<void**>(&u)) == E_NOINTERFACE && !u,
     "not Sobre's interface");
  IPropertyPage* pp = nullptr;
  ok(IPropertyPage2_QueryInterface(p, IID_IPropertyPage, reinterpret_cast<void**>(&pp)) == S_OK &&
         pp == reinterpret_cast<IPropertyPage*>(p),
     "IPropertyPage");
  if (pp) IPropertyPage_Release(pp);
  IUnknown* aggregated = reinterpret_cast<IUnknown*>(0xdeadbeef);
  UnknownOnly outer;
  ok(CoCreateInstance(kClsidGeral, &outer.iface, CLSCTX_INPROC_SERVER, IID_IUnknown,
                      reinterpret_cast<void**>(&aggregated)) == CLASS_E_NOAGGREGATION && !aggregated,
     "no aggregation");
}

// The title and the size of Geral, in pixels at the screen's DPI.
void test_general_page_info(GeneralPage& g) {
  IPropertyPage2* p = g.p;
  RECT& area = g.area;
  PROPPAGEINFO info{};
  ok(IPropertyPage2_GetPageInfo(p, nullptr) == E_POINTER, "GetPageInfo(null)");
  ok(IPropertyPage2_GetPageInfo(p, &info) == S_OK && info.pszTitle && std::wstring(info.pszTitle) == L"Propriedades ",
     "Geral: title \"Propriedades \"");
  ok(info.size.cx == MulDiv(5880, Dpi(LOGPIXELSX), 1440) && info.size.cy == MulDiv(4320, Dpi(LOGPIXELSY), 1440),
     "Geral: %ld x %ld pixels", info.size.cx, info.size.cy);
  CoTaskMemFree(info.pszTitle);
  area = RECT{0, 0, info.size.cx, info.size.cy};
}

// Before anything is set up.
void test_general_before_activate(GeneralPage& g) {
  IPropertyPage2* p = g.p;
  HWND window = g.window;
  RECT& area = g.area;
  ok(IPropertyPage2_IsPageDirty(p) == S_FALSE, "a new page is clean");
  ok(IPropertyPage2_Apply(p) == S_OK, "Apply before Activate has nothing to write");
  ok(IPropertyPage2_Show(p, SW_SHOW) == E_UNEXPECTED && IPropertyPage2_Move(p, &area) == E_UNEXPECTED &&
         IPropertyPage2_Deactivate(p) == E_UNEXPECTED,
     "Show, Move, Deactivate before Activate");
  MSG key{window, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
  ok(IPropertyPage2_TranslateAccelerator(p, &key) == E_UNEXPECTED, "TranslateAccelerator before Activate");
  ok(IPropertyPage2_EditProperty(p, 1) == E_UNEXPECTED, "EditProperty without objects");
  ok(IPropertyPage2_Activate(p, window, nullptr, TRUE) == E_POINTER, "Activate without a rectangle");
  ok(IPropertyPage2_Activate(p, nullptr, &area, TRUE) == E_INVALIDARG, "Activate without a parent");
  ok(IPropertyPage2_SetObjects(p, 1, nullptr) == E_POINTER, "SetObjects(1, null)");
  IUnknown* nulls[] = {nullptr};
  ok(IPropertyPage2_SetObjects(p, 1, nulls) == E_POINTER, "SetObjects with a null object");
  ok(IPropertyPage2_SetObjects(p, 0, nullptr) == S_OK, "SetObjects(0, null) clears");
  UnknownOnly unknownOnly;
  IUnknown* withoutDispatch[] = {&unknownOnly.iface};
  ok(IPropertyPage2_SetObjects(p, 1, withoutDispatch) == E_NOINTERFACE && unknownOnly.ref == 1, "an object without IDispatch");
}

// One page site, taken once.
void test_general_page_site(GeneralPage& g) {
  IPropertyPage2* p = g.p;
  PageSite& site = g.site;
  ok(IPropertyPage2_SetPageSite(p, &site.iface) == S_OK && site.ref == 2, "SetPageSite");
  ok(IPropertyPage2_SetPageSite(p, &site.iface) == E_UNEXPECTED, "a second site");
}

// Without objects: the dialog as created.
bool test_general_without_objects(GeneralPage& g) {
  IPropertyPage2* p = g.p;
  HWND window = g.window;
  HWND& dialog = g.dialog;
  RECT& area = g.area;
  HRESULT hr = IPropertyPage2_Activate(p, window, &area, TRUE);
  ok(hr == S_OK, "Activate: %08lx", hr);
  ok(IPropertyPage2_Activate(p, window, &area, TRUE) == E_UNEXPECTED, "a second Activate");
  dialog = DialogIn(window);
  ok(dialog && (GetWindowLongW(dialog, GWL_STYLE) & WS_CHILD) && !IsWindowVisible(dialog),
     "a hidden child dialog until Show");
  if (!dialog) return false;
  ok(IPropertyPage2_Show(p, SW_SHOW) == S_OK && IsWindowVisible(dialog), "Show");
  CheckLayout(dialog, kGeneralPage);
  ok(IPropertyPage2_IsPageDirty(p) == S_FALSE, "nothing loaded, nothing changed");
  ok(IPropertyPage2_Deactivate(p) == S_OK, "Deactivate");
  return true;
}

// Two objects: the first is edited, the second is left alone. Given before the dialog
// exists, they are read when it is created.
bool test_general_activate_with_objects(GeneralPage& g) {
  IPropertyPage2* p = g.p;
  HWND window = g.window;
  HWND& dialog = g.dialog;
  RECT& area = g.area;
  Object& o = g.o;
  Object& other = g.other;
  SetUp(o);
  SetUp(other);
  IUnknown* objects[] = {reinterpret_cast<IUnknown*>(&o.iface), reinterpret_cast<IUnknown*>(&other.iface)};
  ok(IPropertyPage2_SetObjects(p, 2, objects) == S_OK, "SetObjects(2)");
  ok(o.reads == 0, "nothing is read before the dialog exists");
  ok(IPropertyPage2_Activate(p, window, &area, TRUE) == S_OK, "Activate again");
  dialog = DialogIn(window);
  ok(dialog != nullptr && IPropertyPage2_Show(p, SW_SHOW) == S_OK, "Show");
  if (!dialog) return false;
  return true;
}

// The lists.
void test_general_lists(GeneralPage& g) {
  HWND& dialog = g.dialog;
  std::vector<std::wstring> typeLabels;  // the type labels in code order
  for (std::u16string_view r : kTipoLabels) typeLabels.push_back(Wide(r));
  ok(typeLabels.size() == 27 && typeLabels[0] == L"0 - Moeda com Máscara" && typeLabels[9] == L"9 - CPF" &&
         typeLabels[14] == L"14 - Cartão de Crédito" && typeLabels[25] == L"25 - Inscrição Estadual" &&
         typeLabels[26] == L"26 - Máscara",
     "the type labels");
  std::vector<std::wstring> states{L""};
  for (std::u16string_view uf : kUfs) states.push_back(Wide(uf));
  const struct {
    GeneralChild list;
    std::vector<std::wstring> items;
  } lists[] = {{GeneralChild::CBali, {L"0 - Esquerda", L"1 - Direita", L"2 - Centro"}},
                {GeneralChild::CBborda, {L"0 - Nenhuma", L"1 - Simples"}},
                {GeneralChild::CB3d, {L"0 - Flat", L"1 - 3D"}},
                {GeneralChild::Combo1, typeLabels},
                {GeneralChild::CBuf, states}};
  for (const auto& l : lists) {
    HWND h = Child(dialog, l.list);
    const LRESULT n = SendMessageW(h, CB_GETCOUNT, 0, 0);
    ok(n == static_cast<LRESULT>(l.items.size()), "%s: %ld items", Narrow(Wide(DescriptionOf(l.list).name)).c_str(),
       static_cast<long>(n));
    for (size_t k = 0; k < l.items.size() && static_cast<LRESULT>(k) < n; ++k) {
      wchar_t item[64] = {};
      SendMessageW(h, CB_GETLBTEXT, k, reinterpret_cast<LPARAM>(item));
      ok(l.items[k] == item, "%s item %u: %s", Narrow(Wide(DescriptionOf(l.list).name)).c_str(), static_cast<unsigned>(k),
         Narrow(item).c_str());
    }
    ok((GetWindowLongW(h, GWL_STYLE) & 3) == CBS_DROPDOWNLIST, "a drop-down list");
  }
  ok(SendMessageW(Child(dialog, GeneralChild::txtPasswordChar), EM_GETLIMITTEXT, 0, 0) == 1, "PasswordChar: one character");
  ok((GetWindowLongW(Child(dialog, GeneralChild::Line2), GWL_STYLE) & SS_TYPEMASK) == SS_ETCHEDHORZ, "Line2 is a line");
  ok(GetWindowLongW(Child(dialog, GeneralChild::chkUsarp), GWL_STYLE) & BS_MULTILINE, "chkUsarp on two lines");
}

// The tab order: the tab stops in the dialog's order are the table's, by tab index.
void test_general_tab_order(GeneralPage& g) {
  HWND& dialog = g.dialog;
  const GeneralChild order[] = {
      GeneralChild::Combo1,      GeneralChild::CBali,           GeneralChild::CB3d,         GeneralChild::CBborda,
      GeneralChild::txtText,     GeneralChild::txtMaxLength,    GeneralChild::txtDigitos,   GeneralChild::txtPasswordChar,
      GeneralChild::chkEnabled,  GeneralChild::chkLocked,       GeneralChild::chkUsar_Enter, GeneralChild::chkAspas,
      GeneralChild::chkTC_Trim,  GeneralChild::chkTravaCpf,     GeneralChild::chkMSGcpf,    GeneralChild::chkNegativo,
      GeneralChild::txtAlignment, GeneralChild::txtBorderStyle, GeneralChild::txtAppearance, GeneralChild::txtTipo,
      GeneralChild::chkUsarp,    GeneralChild::chkCnpjAlfanumerico, GeneralChild::CBuf,
      GeneralChild::txtMascara,
  };
  std::vector<HWND> stops;
  for (HWND h = GetWindow(dialog, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
    if (GetWindowLongW(h, GWL_STYLE) & WS_TABSTOP) stops.push_back(h);
  ok(stops.size() == std::size(order), "%u tab stops", static_cast<unsigned>(stops.size()));
  for (size_t k = 0; k < stops.size() && k < std::size(order); ++k)
    ok(stops[k] == Child(dialog, order[k]), "tab stop %u: %s", static_cast<unsigned>(k),
       Narrow(Wide(DescriptionOf(order[k]).name)).c_str());
}

// Loaded from the first object: values, the lists from the codes, the changed flag.
void test_general_loaded(GeneralPage& g) {
  IPropertyPage2* p = g.p;
  HWND& dialog = g.dialog;
  PageSite& site = g.site;
  Object& o = g.o;
  Object& other = g.other;
  ok(o.reads == 20 && other.reads == 0, "20 properties read from the first object only: %d, %d", o.reads,
     other.reads);
  ok(CheckOf(dialog, GeneralChild::chkUsar_Enter) == 1 && CheckOf(dialog, GeneralChild::chkTC_Trim) == 0 &&
         CheckOf(dialog, GeneralChild::chkAspas) == 1 && CheckOf(dialog, GeneralChild::chkNegativo) == 1 &&
         CheckOf(dialog, GeneralChild::chkEnabled) == 1 && CheckOf(dialog, GeneralChild::chkLocked) == 0 &&
         CheckOf(dialog, GeneralChild::chkCnpjAlfanumerico) == 1,
     "check boxes loaded");
  ok(!IsWindowVisible(Child(dialog, GeneralChild::chkCnpjAlfanumerico)), "type 2 hides CnpjAlfanumerico");
  ok(!IsWindowVisible(Child(dialog, GeneralChild::CBuf)) && IsWindowEnabled(Child(dialog, GeneralChild::CBuf)) &&
         SendMessageW(Child(dialog, GeneralChild::CBuf), CB_GETCURSEL, 0, 0) == 25,
     "UF \"sp\" chooses SP, hidden for type 2");
  ok(!IsWindowVisible(Child(dialog, GeneralChild::txtMascara)) &&
         WindowText(Child(dialog, GeneralChild::txtMascara)) == L">LL-0000",
     "Mascara loaded, hidden for type 2");
  ok(WindowText(Child(dialog, GeneralChild::txtTipo)) == L"2" && WindowText(Child(dialog, GeneralChild::txtDigitos)) == L"3" &&
         WindowText(Child(dialog, GeneralChild::txtText)) == L"3,5" &&
         WindowText(Child(dialog, GeneralChild::txtPasswordChar)) == L"*" &&
         WindowText(Child(dialog, GeneralChild::txtMaxLength)) == L"10",
     "text boxes loaded");
  ok(SendMessageW(Child(dialog, GeneralChild::Combo1), CB_GETCURSEL, 0, 0) == 2 &&
         SendMessageW(Child(dialog, GeneralChild::CBali), CB_GETCURSEL, 0, 0) == 2 &&
         SendMessageW(Child(dialog, GeneralChild::CB3d), CB_GETCURSEL, 0, 0) == 0 &&
         SendMessageW(Child(dialog, GeneralChild::CBborda), CB_GETCURSEL, 0, 0) == 0,
     "lists set from the codes");
  ok(IsWindowVisible(Child(dialog, GeneralChild::chkNegativo)) && !IsWindowVisible(Child(dialog, GeneralChild::txtDigitos)),
     "type 2 shows Negativo, hides Digitos");
  ok(IPropertyPage2_IsPageDirty(p) == S_OK, "changed right after loading");
  ok(site.statuses.size() == 1 && site.statuses[0] == PROPPAGESTATUS_DIRTY, "the site told once: %u",
     static_cast<unsigned>(site.statuses.size()));
}

// Apply: the 20 writes in order, texts as texts, check boxes as booleans.
void test_general_apply(GeneralPage& g) {
  IPropertyPage2* p = g.p;
  HWND& dialog = g.dialog;
  PageSite& site = g.site;
  Object& o = g.o;
  Object& other = g.other;
  const wchar_t* const expectedWrites[] = {L"Usar_Enter", L"TC_Trim", L"Aspas",     L"usar_parenteses", L"PasswordChar",
                                     L"MSGcpf",     L"Digitos", L"TravaCpf",  L"Negativo",        L"Tipo",
                                     L"Appearance", L"Text",    L"MaxLength", L"Locked",          L"Enabled",
                                     L"BorderStyle", L"Alignment", L"CnpjAlfanumerico", L"UF", L"Mascara"};
  // Grayed by the user: applied as False, as any grayed box.
  SendMessageW(Child(dialog, GeneralChild::chkCnpjAlfanumerico), BM_SETCHECK, BST_INDETERMINATE, 0);
  HRESULT hr = IPropertyPage2_Apply(p);
  ok(hr == S_OK, "Apply: %08lx", hr);
  ok(o.writes.size() == std::size(expectedWrites) && other.writes.empty() && o.alwaysNamed,
     "20 writes to the first object: %u", static_cast<unsigned>(o.writes.size()));
  for (size_t k = 0; k < o.writes.size() && k < std::size(expectedWrites); ++k)
    ok(o.writes[k] == expectedWrites[k], "write %u: %s", static_cast<unsigned>(k), Narrow(o.writes[k]).c_str());
  ok(V_VT(&o.Value(L"CnpjAlfanumerico")) == VT_BOOL && V_BOOL(&o.Value(L"CnpjAlfanumerico")) == VARIANT_FALSE,
     "CnpjAlfanumerico grayed, written as False");
  ok(V_VT(&o.Value(L"Tipo")) == VT_BSTR && std::wstring(V_BSTR(&o.Value(L"Tipo"))) == L"2", "Tipo written as the text \"2\"");
  ok(V_VT(&o.Value(L"UF")) == VT_BSTR && std::wstring(V_BSTR(&o.Value(L"UF"))) == L"SP", "UF written as its item");
  ok(V_VT(&o.Value(L"Aspas")) == VT_BOOL && V_BOOL(&o.Value(L"Aspas")) == VARIANT_TRUE, "Aspas written as True");
  ok(V_VT(&o.Value(L"TC_Trim")) == VT_BOOL && V_BOOL(&o.Value(L"TC_Trim")) == VARIANT_FALSE, "TC_Trim written as False");
  ok(IPropertyPage2_IsPageDirty(p) == S_FALSE, "clean after Apply");
  ok(site.statuses.size() == 2 && site.statuses[1] == PROPPAGESTATUS_CLEAN, "the site told it is clean");
  o.writes.clear();
  ok(IPropertyPage2_Apply(p) == S_OK && o.writes.empty(), "a clean page writes nothing");
}

// The user's actions.
void test_general_user_actions(GeneralPage& g) {
  IPropertyPage2* p = g.p;
  HWND& dialog = g.dialog;
  Object& o = g.o;
  SendMessageW(Child(dialog, GeneralChild::chkLocked), BM_CLICK, 0, 0);
  ok(CheckOf(dialog, GeneralChild::chkLocked) == 1 && IPropertyPage2_IsPageDirty(p) == S_OK, "a click ticks and changes");
  SendMessageW(Child(dialog, GeneralChild::chkLocked), BM_CLICK, 0, 0);
  ok(CheckOf(dialog, GeneralChild::chkLocked) == 0, "a second click clears");
  Choose(dialog, GeneralChild::Combo1, 9);
  ok(WindowText(Child(dialog, GeneralChild::txtTipo)) == L"9" && IsWindowVisible(Child(dialog, GeneralChild::chkMSGcpf)) &&
         !IsWindowVisible(Child(dialog, GeneralChild::chkNegativo)),
     "choosing 9 - CPF");
  ok(o.writes.empty(), "nothing reaches the object until Apply");
  Choose(dialog, GeneralChild::Combo1, 0);
  HWND maxLength = Child(dialog, GeneralChild::txtMaxLength);
  SetFocus(maxLength);
  TypeInto(dialog, GeneralChild::txtMaxLength, L"-5");
  SetFocus(Child(dialog, GeneralChild::txtText));
  ok(WindowText(maxLength) == L"0", "a negative MaxLength becomes 0 on leaving: %s", Narrow(WindowText(maxLength)).c_str());
  SetFocus(maxLength);
  TypeInto(dialog, GeneralChild::txtMaxLength, L"abc");
  SetFocus(Child(dialog, GeneralChild::txtText));
  ok(WindowText(maxLength) == L"abc", "letters stay");
  TypeInto(dialog, GeneralChild::txtMaxLength, L"7");
}

// Tab moves between the page's controls; past the last visible one it is the frame's.
void test_general_tab_keys(GeneralPage& g) {
  IPropertyPage2* p = g.p;
  HWND& dialog = g.dialog;
  SetFocus(Child(dialog, GeneralChild::Combo1));
  MSG tab{Child(dialog, GeneralChild::Combo1), WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
  ok(IPropertyPage2_TranslateAccelerator(p, &tab) == S_OK && GetFocus() == Child(dialog, GeneralChild::CBali),
     "Tab from Combo1 to CBali");
  tab.hwnd = Child(dialog, GeneralChild::chkUsarp);  // type 0: the last visible tab stop
  SetFocus(tab.hwnd);
  ok(IPropertyPage2_TranslateAccelerator(p, &tab) == S_FALSE && GetFocus() == tab.hwnd, "Tab past the last control");
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = 0x80;
  SetKeyboardState(keys);
  ok(IPropertyPage2_TranslateAccelerator(p, &tab) == S_OK && GetFocus() == Child(dialog, GeneralChild::chkNegativo),
     "Shift+Tab goes back over hidden controls");
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
  MSG otherKey{Child(dialog, GeneralChild::txtText), WM_KEYDOWN, 'A', 0, 0, {0, 0}};
  ok(IPropertyPage2_TranslateAccelerator(p, &otherKey) == S_FALSE, "other keys are not the page's");
  ok(IPropertyPage2_TranslateAccelerator(p, nullptr) == E_POINTER, "TranslateAccelerator(null)");
}

// EditProperty: the control of that property takes the focus (a list for a code).
void test_general_edit_property(GeneralPage& g) {
  IPropertyPage2* p = g.p;
  HWND& dialog = g.dialog;
  ok(IPropertyPage2_EditProperty(p, 12) == S_OK && GetFocus() == Child(dialog, GeneralChild::txtText), "EditProperty(Text)");
  ok(IPropertyPage2_EditProperty(p, 10) == S_OK && GetFocus() == Child(dialog, GeneralChild::Combo1), "EditProperty(Tipo)");
  ok(IPropertyPage2_EditProperty(p, 99) == E_INVALIDARG && IPropertyPage2_EditProperty(p, DISPID_UNKNOWN) == E_INVALIDARG,
     "EditProperty of an unknown id");
}

// A failing apply: the object's own description in an untitled OK-only box, the writes
// before it kept, the rest not done, the page still changed.
void test_general_failing_apply(GeneralPage& g) {
  IPropertyPage2* p = g.p;
  HWND window = g.window;
  HWND& dialog = g.dialog;
  Object& o = g.o;
  const struct {
    Failure failure;
    HRESULT expected;
    const wchar_t* description;
  } failures[] = {{Failure::Exception, CTL_E_INVALIDPROPERTYVALUE, L"Dígitos fora do intervalo"},
                {Failure::Plain, DISP_E_OVERFLOW, L"Overflow"},
                {Failure::ErrorInfo, E_ACCESSDENIED, L"Somente leitura"}};
  for (const auto& f : failures) {
    o.writes.clear();
    o.failAt = L"Digitos";
    o.failure = f.failure;
    SendMessageW(Child(dialog, GeneralChild::chkLocked), BM_CLICK, 0, 0);
    g_boxes.clear();
    HRESULT hr = IPropertyPage2_Apply(p);
    ok(hr == f.expected, "failing Apply: %08lx", hr);
    ok(g_boxes.size() == 1, "one message box: %u", static_cast<unsigned>(g_boxes.size()));
    if (!g_boxes.empty()) {
      const MessageBoxRecord& c = g_boxes[0];
      ok(c.text == f.description, "message \"%s\"", Narrow(c.text).c_str());
      ok(c.title == WindowText(window) && c.owner == window, "titled as the window that shows the page: \"%s\"",
         Narrow(c.title).c_str());
      ok(c.okOnly && !c.exclamation, "OK only, no icon");
    }
    ok(o.writes.size() == 6 && o.writes.back() == L"MSGcpf", "six writes before Digitos: %u",
       static_cast<unsigned>(o.writes.size()));
    ok(IPropertyPage2_IsPageDirty(p) == S_OK, "still changed");
    IErrorInfo* info = nullptr;
    BSTR description = nullptr;
    if (GetErrorInfo(0, &info) == S_OK && info) {
      IErrorInfo_GetDescription(info, &description);
      IErrorInfo_Release(info);
    }
    ok(description && f.description == std::wstring(description), "the caller's error information");
    SysFreeString(description);
  }
  o.failure = Failure::None;
}

// An object of the 1.0 names: edited without CnpjAlfanumerico, whose box is grayed, and UF and
// Mascara, whose controls are disabled.
void test_general_object_of_old_names(GeneralPage& g) {
  IPropertyPage2* p = g.p;
  HWND& dialog = g.dialog;
  Object& old = g.old;
  SetUp(old, false);
  IUnknown* oldObjects[] = {reinterpret_cast<IUnknown*>(&old.iface)};
  SendMessageW(Child(dialog, GeneralChild::chkCnpjAlfanumerico), BM_SETCHECK, BST_CHECKED, 0);
  ok(IPropertyPage2_SetObjects(p, 1, oldObjects) == S_OK && old.reads == 17, "an object of the 1.0 names: %d reads",
     old.reads);
  ok(CheckOf(dialog, GeneralChild::chkCnpjAlfanumerico) == BST_INDETERMINATE, "CnpjAlfanumerico grayed");
  ok(!IsWindowEnabled(Child(dialog, GeneralChild::CBuf)) &&
         SendMessageW(Child(dialog, GeneralChild::CBuf), CB_GETCURSEL, 0, 0) == CB_ERR,
     "UF's list disabled and empty");
  ok(!IsWindowEnabled(Child(dialog, GeneralChild::txtMascara)) && WindowText(Child(dialog, GeneralChild::txtMascara)).empty(),
     "Mascara's box disabled and empty");
  Choose(dialog, GeneralChild::Combo1, 10);
  ok(IsWindowVisible(Child(dialog, GeneralChild::chkCnpjAlfanumerico)), "type 10 shows it");
  g_boxes.clear();
  HRESULT hr = IPropertyPage2_Apply(p);
  ok(hr == S_OK && g_boxes.empty() && old.writes.size() == 17 && old.writes.back() == L"Alignment",
     "the 1.0 properties applied: %08lx, %u writes", hr, static_cast<unsigned>(old.writes.size()));
}

// The objects taken away from a changed page: Apply has nowhere to write.
void test_general_objects_taken_away(GeneralPage& g) {
  IPropertyPage2* p = g.p;
  HWND& dialog = g.dialog;
  Object& o = g.o;
  Object& other = g.other;
  Object& old = g.old;
  SendMessageW(Child(dialog, GeneralChild::chkLocked), BM_CLICK, 0, 0);
  ok(IPropertyPage2_SetObjects(p, 0, nullptr) == S_OK && o.ref == 1 && other.ref == 1 && old.ref == 1,
     "SetObjects(0) lets them go");
  g_boxes.clear();
  o.writes.clear();
  old.writes.clear();
  HRESULT hr = IPropertyPage2_Apply(p);
  ok(hr == CTL_E_ILLEGALFUNCTIONCALL && g_boxes.size() == 1 && o.writes.empty() && old.writes.empty(),
     "Apply without objects: %08lx", hr);
  ok(IPropertyPage2_EditProperty(p, 12) == E_UNEXPECTED, "EditProperty without objects");
}

// An object without these names: the load fails with the object's error.
void test_general_object_without_names(GeneralPage& g) {
  IPropertyPage2* p = g.p;
  HWND& dialog = g.dialog;
  Object& nameless = g.nameless;
  SetUp(nameless);
  nameless.noNames = true;
  IUnknown* namelessObjects[] = {reinterpret_cast<IUnknown*>(&nameless.iface)};
  ok(IPropertyPage2_SetObjects(p, 1, namelessObjects) == DISP_E_UNKNOWNNAME, "an object without the names");
  RECT moved{10, 20, 300, 200};
  ok(IPropertyPage2_Move(p, &moved) == S_OK, "Move");
  const RECT r = RectInDialog(dialog);
  ok(EqualRect(&r, &moved), "moved to (%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom);
  ok(IPropertyPage2_Deactivate(p) == S_OK && !IsWindow(dialog), "Deactivate destroys the dialog");
  ok(IPropertyPage2_IsPageDirty(p) == S_FALSE, "its edits went with it");
  ok(IPropertyPage2_Deactivate(p) == E_UNEXPECTED, "a second Deactivate");
}

void test_general_page_object(HWND window) {
  GeneralPage g;
  g.window = window;
  HRESULT hr = CoCreateInstance(kClsidGeral, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage2, reinterpret_cast<void**>(&g.p));
  ok(hr == S_OK && g.p, "CoCreateInstance(Geral): %08lx", hr);
  if (!g.p) return;
  test_general_interfaces(g);
  test_general_page_info(g);
  test_general_before_activate(g);
  test_general_page_site(g);
  if (!test_general_without_objects(g)) {
    IPropertyPage2_Release(g.p);
    return;
  }
  if (!test_general_activate_with_objects(g)) {
    IPropertyPage2_Release(g.p);
    return;
  }
  test_general_lists(g);
  test_general_tab_order(g);
  test_general_loaded(g);
  test_general_apply(g);
  test_general_user_actions(g);
  test_general_tab_keys(g);
  test_general_edit_property(g);
  test_general_failing_apply(g);
  test_general_object_of_old_names(g);
  test_general_objects_taken_away(g);
  test_general_object_without_names(g);
  ok(IPropertyPage2_Release(g.p) == 0, "Geral released");
  ok(g.o.ref == 1 && g.other.ref == 1 && g.nameless.ref == 1 && g.site.ref == 1, "objects and site released: %ld %ld %ld %ld",
     g.o.ref, g.other.ref, g.nameless.ref, g.site.ref);
  TearDown(g.o);
  TearDown(g.other);
  TearDown(g.nameless);
  TearDown(g.old);
}

// ---- Wine's property frame over a live control.

_Delvorin* g_control = nullptr;

short CurrentTipo() {
  unsigned char t = 0xcc;
  _Delvorin_get_Tipo(g_control, &t);
  return t;
}
VARIANT_BOOL CurrentLocked() {
  VARIANT_BOOL b = 0x5555;
  _Delvorin_get_Locked(g_control, &b);
  return b;
}
VARIANT_BOOL CurrentUsarEnter() {
  VARIANT_BOOL b = 0x5555;
  _Delvorin_get_Usar_Enter(g_control, &b);
  return b;
}

// CnpjAlfanumerico read by name through the control's IDispatch, as the page reaches it; false
// when the control's type library has no such member (the 1.0 library).
bool ReadCnpjAlfanumerico(VARIANT_BOOL& value) {
  value = 0x5555;
  IDispatch* d = nullptr;
  if (_Delvorin_QueryInterface(g_control, IID_IDispatch, reinterpret_cast<void**>(&d)) != S_OK || !d) return false;
  LPOLESTR name = const_cast<LPOLESTR>(L"CnpjAlfanumerico");
  DISPID id = DISPID_UNKNOWN;
  const bool known = IDispatch_GetIDsOfNames(d, IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id) == S_OK;
  if (known) {
    VARIANT r;
    VariantInit(&r);
    DISPPARAMS noArgs{nullptr, nullptr, 0, 0};
    if (IDispatch_Invoke(d, id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &noArgs, &r, nullptr, nullptr) ==
            S_OK &&
        V_VT(&r) == VT_BOOL)
      value = V_BOOL(&r);
    VariantClear(&r);
  }
  IDispatch_Release(d);
  return known;
}

// What writing a text does to a control of a type, read from a control of our own.
std::wstring ExpectedText(unsigned char type, const wchar_t* text) {
  _Delvorin* d = nullptr;
  CoCreateInstance(kClsidDelvorin, nullptr, CLSCTX_INPROC_SERVER, kIid_Delvorin, reinterpret_cast<void**>(&d));
  if (!d) return L"?";
  _Delvorin_put_Tipo(d, type);
  BSTR b = SysAllocString(text);
  _Delvorin_put_Text(d, b);
  SysFreeString(b);
  std::wstring r = test::TextOf(d);
  _Delvorin_Release(d);
  return r;
}

HWND CurrentPage(HWND frame) {
  return DialogIn(reinterpret_cast<HWND>(SendMessageW(frame, PSM_GETCURRENTPAGEHWND, 0, 0)));
}

constexpr int kIdApply = 0x3021;  // the Apply button of the common property sheet

void PressApply(HWND frame) {
  SendMessageW(GetDlgItem(frame, kIdApply), BM_CLICK, 0, 0);
  PumpMessages();
}

// What the steps in the frame share.
struct FrameSession {
  HWND frame = nullptr;
  HWND dialog = nullptr;  // Geral's dialog
  HWND apply = nullptr;   // the frame's Apply button
  HWND cnpjBox = nullptr;
  bool cnpjKnown = false;  // the control has CnpjAlfanumerico
  VARIANT_BOOL cnpj = 0;   // its value as last read
  VARIANT_BOOL cnpjBefore = 0;
};

// The frame shows Geral, then Sobre.
void test_frame_tabs(FrameSession& g) {
  HWND frame = g.frame;
  PumpMessages();
  HWND tabs = reinterpret_cast<HWND>(SendMessageW(frame, PSM_GETTABCONTROL, 0, 0));
  const LRESULT n = SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0);
  std::wstring names;
  for (LRESULT k = 0; k < n; ++k) {
    wchar_t text[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(k), reinterpret_cast<LPARAM>(&item));
    names += std::wstring(k ? L"|" : L"") + text;
  }
  ok(names == L"Propriedades |Sobre", "the frame's pages, in order: %s", Narrow(names).c_str());
}

// Geral is shown first, loaded from the control of type 9.
bool test_frame_geral_loaded(FrameSession& g) {
  HWND frame = g.frame;
  VARIANT_BOOL& cnpj = g.cnpj;
  g.dialog = CurrentPage(g.frame);
  HWND dialog = g.dialog;
  ok(dialog != nullptr, "Geral is the page shown first");
  if (!dialog) return false;
  HWND combo = Child(dialog, GeneralChild::Combo1);
  ok(SendMessageW(combo, CB_GETCURSEL, 0, 0) == 9 && WindowText(combo) == L"9 - CPF", "the type list shows \"%s\"",
     Narrow(WindowText(combo)).c_str());
  CheckVisibility(dialog, 9);
  g.cnpjKnown = ReadCnpjAlfanumerico(g.cnpj);
  const bool cnpjKnown = g.cnpjKnown;
  g.cnpjBox = Child(dialog, GeneralChild::chkCnpjAlfanumerico);
  ok(CheckOf(dialog, GeneralChild::chkCnpjAlfanumerico) == (!cnpjKnown ? BST_INDETERMINATE : cnpj ? 1 : 0),
     "CnpjAlfanumerico loaded: %d (%s)", CheckOf(dialog, GeneralChild::chkCnpjAlfanumerico),
     cnpjKnown ? "the control has it" : "the control's type library has not");
  // The frame's dialog navigation reaches into the page.
  SetFocus(combo);
  MSG tab{combo, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
  ok(IsDialogMessageW(frame, &tab) && GetFocus() == Child(dialog, GeneralChild::CBali), "Tab in the frame: Combo1 to CBali");
  g.apply = GetDlgItem(frame, kIdApply);
  HWND apply = g.apply;
  ok(apply && IsWindowEnabled(apply), "Apply offered: the page is changed after loading");
  return true;
}

// The pictures with the focus on the frame's OK button: the lists show their own colours.
void test_frame_pictures(FrameSession& g) {
  HWND frame = g.frame;
  HWND dialog = g.dialog;
  SetFocus(GetDlgItem(frame, IDOK));
  Screenshot(frame, L"page-geral-9.bmp");
  for (int type : {0, 4, 10, 11, 25, 26}) {
    Choose(dialog, GeneralChild::Combo1, type);
    PumpMessages();
    CheckVisibility(dialog, type);
    SetFocus(GetDlgItem(frame, IDOK));
    Screenshot(frame, (L"page-geral-" + std::to_wstring(type) + L".bmp").c_str());
  }
}

// Another type and other values; Apply writes them.
void test_frame_apply(FrameSession& g) {
  HWND frame = g.frame;
  HWND dialog = g.dialog;
  HWND apply = g.apply;
  Choose(dialog, GeneralChild::Combo1, 3);
  ok(WindowText(Child(dialog, GeneralChild::txtTipo)) == L"3" && CurrentTipo() == 9, "3 - Número chosen, the control still 9");
  SendMessageW(Child(dialog, GeneralChild::chkLocked), BM_CLICK, 0, 0);
  Choose(dialog, GeneralChild::CBali, 1);
  TypeInto(dialog, GeneralChild::txtText, L"1234");
  PumpMessages();
  ok(IsWindowEnabled(apply), "Apply enabled");
  PressApply(frame);
  short alignment = -1;
  _Delvorin_get_Alignment(g_control, &alignment);
  ok(CurrentTipo() == 3, "Tipo written: %d", CurrentTipo());
  ok(CurrentLocked() == VARIANT_TRUE && alignment == 1, "Locked and Alignment written");
  const std::wstring expected = ExpectedText(3, L"1234");
  ok(test::TextOf(g_control) == expected, "Text written under the new type: %s, expected %s",
     Narrow(test::TextOf(g_control)).c_str(), Narrow(expected).c_str());
  ok(!IsWindowEnabled(apply), "nothing left to apply");
}

// CNPJ: the box is there to click, and Apply writes it (when the control has the property).
void test_frame_apply_cnpj(FrameSession& g) {
  HWND frame = g.frame;
  HWND dialog = g.dialog;
  HWND apply = g.apply;
  HWND cnpjBox = g.cnpjBox;
  const bool cnpjKnown = g.cnpjKnown;
  VARIANT_BOOL& cnpj = g.cnpj;
  Choose(dialog, GeneralChild::Combo1, 10);
  ok(IsWindowVisible(cnpjBox), "type 10 shows CnpjAlfanumerico");
  SendMessageW(cnpjBox, BM_CLICK, 0, 0);
  const int ticked = CheckOf(dialog, GeneralChild::chkCnpjAlfanumerico);
  g_boxes.clear();
  PressApply(frame);
  ok(g_boxes.empty() && !IsWindowEnabled(apply) && CurrentTipo() == 10, "applied: %u message boxes, Tipo %d",
     static_cast<unsigned>(g_boxes.size()), CurrentTipo());
  if (cnpjKnown) {
    ok(ReadCnpjAlfanumerico(cnpj) && cnpj == (ticked == 1 ? VARIANT_TRUE : VARIANT_FALSE) && ticked != 2,
       "CnpjAlfanumerico written: box %d, property %d", ticked, cnpj);
  } else {
    ok(ticked == 1 && !ReadCnpjAlfanumerico(cnpj), "a control without CnpjAlfanumerico: the rest applied");
  }
  // Ticked again, for the failing apply below not to write.
  SendMessageW(cnpjBox, BM_CLICK, 0, 0);
  g.cnpjBefore = cnpj;
}

// Digitos emptied: the conversion error is shown, the properties before it are written.
void test_frame_conversion_error(FrameSession& g) {
  HWND frame = g.frame;
  HWND dialog = g.dialog;
  HWND apply = g.apply;
  VARIANT_BOOL& cnpj = g.cnpj;
  Choose(dialog, GeneralChild::Combo1, 0);
  TypeInto(dialog, GeneralChild::txtDigitos, L"");
  const VARIANT_BOOL usarEnterBefore = CurrentUsarEnter();
  SendMessageW(Child(dialog, GeneralChild::chkUsar_Enter), BM_CLICK, 0, 0);
  g_boxes.clear();
  PressApply(frame);
  ok(g_boxes.size() == 1, "one message box: %u", static_cast<unsigned>(g_boxes.size()));
  if (!g_boxes.empty()) {
    ok(g_boxes[0].text == L"Type mismatch", "message \"%s\"", Narrow(g_boxes[0].text).c_str());
    ok(g_boxes[0].title == WindowText(frame) && g_boxes[0].owner == frame && g_boxes[0].okOnly,
       "untitled, OK only, over the frame: \"%s\"", Narrow(g_boxes[0].title).c_str());
  }
  unsigned char digits = 0xcc;
  _Delvorin_get_Digitos(g_control, &digits);
  ok(CurrentUsarEnter() == (usarEnterBefore ? VARIANT_FALSE : VARIANT_TRUE), "Usar_Enter written before");
  ok(digits == 2 && CurrentTipo() == 10, "Digitos and later not written: %d, %d", digits, CurrentTipo());
  ok(!ReadCnpjAlfanumerico(cnpj) || cnpj == g.cnpjBefore, "CnpjAlfanumerico, the last, not written: %d", cnpj);
  ok(IsWindow(frame) && CurrentPage(frame) == dialog && IsWindowEnabled(apply), "the page stays open");
}

// Sobre, the frame's second page.
void test_frame_sobre(FrameSession& g) {
  HWND frame = g.frame;
  HWND dialog = g.dialog;
  // Sobre.
  SendMessageW(frame, PSM_SETCURSEL, 1, 0);
  PumpMessages();
  HWND about = CurrentPage(frame);
  ok(about && about != dialog, "Sobre shown");
  if (about) {
    ok(WindowText(Child(about, static_cast<int>(AboutChild::Frame1))) == L"  Delvorin  - Versão 1.0   ", "Sobre's frame caption");
    ok(IsWindowVisible(Child(about, static_cast<int>(AboutChild::Label1))), "the notice shown");
    Screenshot(frame, L"page-sobre.bmp");
  }
}

void SessionInFrame(HWND frame) {
  FrameSession g;
  g.frame = frame;
  test_frame_tabs(g);
  if (!test_frame_geral_loaded(g)) return;
  test_frame_pictures(g);
  test_frame_apply(g);
  test_frame_apply_cnpj(g);
  test_frame_conversion_error(g);
  test_frame_sobre(g);
}

// Runs in the frame's own modal loop: once the frame is on the screen, the session, then Cancel.
void CALLBACK OnFrameTimer(HWND, UINT, UINT_PTR id, DWORD) {
  if (!g_frame || !IsWindowVisible(g_frame)) return;  // not on the screen yet
  KillTimer(nullptr, id);
  HWND frame = g_frame;
  SessionInFrame(frame);
  if (IsWindow(frame)) PostMessageW(frame, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

HRESULT OpenFrame(HWND owner, IUnknown* object, ULONG n, CLSID* pages) {
  g_frame = nullptr;
  g_awaitingFrame = true;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, OnFrameTimer);
  HRESULT hr = OleCreatePropertyFrame(owner, 0, 0, L"Delvorin", 1, &object, n, pages, LOCALE_USER_DEFAULT, 0, nullptr);
  KillTimer(nullptr, timer);
  g_awaitingFrame = false;
  return hr;
}

// The control's page list: Geral, the three standard pages, Sobre, the standard picture page.
void test_control_page_list(IUnknown* control, CAUUID& pages) {
  ISpecifyPropertyPages* spp = nullptr;
  IUnknown_QueryInterface(control, IID_ISpecifyPropertyPages, reinterpret_cast<void**>(&spp));
  ok(spp && ISpecifyPropertyPages_GetPages(spp, &pages) == S_OK && pages.cElems == 5, "five pages: %lu", pages.cElems);
  const GUID colour = {0x0be35201, 0x8f91, 0x11ce, {0x9d, 0xe3, 0x00, 0xaa, 0x00, 0x4b, 0xb8, 0x51}};
  const GUID font = {0x0be35200, 0x8f91, 0x11ce, {0x9d, 0xe3, 0x00, 0xaa, 0x00, 0x4b, 0xb8, 0x51}};
  const GUID picture = {0x0be35202, 0x8f91, 0x11ce, {0x9d, 0xe3, 0x00, 0xaa, 0x00, 0x4b, 0xb8, 0x51}};
  const GUID* order[] = {&kClsidGeral, &colour, &font, &kClsidSobre, &picture};
  for (ULONG k = 0; k < pages.cElems && k < 5; ++k) ok(IsEqualGUID(pages.pElems[k], *order[k]), "page %lu", k);
  if (spp) ISpecifyPropertyPages_Release(spp);
}

// The properties of the table that open Geral do, the others open no page.
void test_properties_open_geral(IUnknown* control) {
  IPerPropertyBrowsing* ppb = nullptr;
  IUnknown_QueryInterface(control, IID_IPerPropertyBrowsing, reinterpret_cast<void**>(&ppb));
  int opening = 0;
  for (const PropertyDescription& d : kProperties) {
    CLSID page = kClsidSobre;  // a sentinel
    HRESULT hr = ppb ? IPerPropertyBrowsing_MapPropertyToPage(ppb, d.dispid, &page) : E_FAIL;
    if (d.opensGeral) {
      opening += hr == S_OK && IsEqualGUID(page, kClsidGeral);
    } else {
      ok(hr == PERPROP_E_NOPAGEAVAILABLE && IsEqualGUID(page, CLSID_NULL), "%s opens no page",
         Narrow(Wide(d.name)).c_str());
    }
  }
  ok(opening == 20, "%d properties open Geral", opening);
  CLSID cnpjPage = CLSID_NULL;
  ok(ppb && IPerPropertyBrowsing_MapPropertyToPage(ppb, DescriptionOf(Property::CnpjAlfanumerico).dispid, &cnpjPage) ==
                S_OK &&
         IsEqualGUID(cnpjPage, kClsidGeral),
     "CnpjAlfanumerico opens Geral");
  if (ppb) {
    CLSID page = kClsidSobre;
    ok(IPerPropertyBrowsing_MapPropertyToPage(ppb, 0x12345, &page) == PERPROP_E_NOPAGEAVAILABLE &&
           IsEqualGUID(page, CLSID_NULL),
       "an unknown id");
    IPerPropertyBrowsing_Release(ppb);
  }
}

// Wine's frame over the control, the session run inside it; the frame gives back every
// reference it took to the control.
void test_property_frame(HWND form, IUnknown* control, CAUUID& pages) {
  _Delvorin_put_Tipo(g_control, 9);
  _Delvorin_AddRef(g_control);
  const ULONG references = _Delvorin_Release(g_control);
  HRESULT hr = OpenFrame(form, control, pages.cElems, pages.pElems);
  ok(hr == S_OK && g_frame, "OleCreatePropertyFrame: %08lx", hr);
  ok(!IsWindow(g_frame), "the frame closed");
  _Delvorin_AddRef(g_control);
  ok(_Delvorin_Release(g_control) == references, "the frame's references to the control released");
}

void test_frame_over_control() {
  HMODULE atl = LoadLibraryW(L"atl100.dll");
  using Init = BOOL(WINAPI*)();
  using CreateFn = HRESULT(WINAPI*)(LPCOLESTR, HWND, IStream*, IUnknown**, IUnknown**, REFIID, IUnknown*);
  auto init = reinterpret_cast<Init>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")));
  auto create = reinterpret_cast<CreateFn>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxCreateControlEx")));
  ok(init && create, "atl100.dll with AtlAxWinInit and AtlAxCreateControlEx");
  if (!init || !create) return;
  init();
  HWND form = CreateWindowExW(0, L"STATIC", L"Formulário", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 120, nullptr,
                              nullptr, nullptr, nullptr);
  IUnknown *container = nullptr, *control = nullptr;
  HRESULT hr = create(L"Delvorin2.Delvorin", form, nullptr, &container, &control, IID_NULL, nullptr);
  ok(hr == S_OK && control, "AtlAxCreateControlEx: %08lx", hr);
  if (control) IUnknown_QueryInterface(control, kIid_Delvorin, reinterpret_cast<void**>(&g_control));
  if (!g_control) {
    DestroyWindow(form);
    return;
  }
  CAUUID pages{0, nullptr};
  test_control_page_list(control, pages);
  test_properties_open_geral(control);
  test_property_frame(form, control, pages);
  CoTaskMemFree(pages.pElems);
  _Delvorin_Release(g_control);
  g_control = nullptr;
  IUnknown_Release(control);
  if (container) IUnknown_Release(container);
  DestroyWindow(form);
  PumpMessages();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc > 1) g_folder = argv[1];
  OleInitialize(nullptr);
  HHOOK hook = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
  HWND window = CreateWindowExW(0, L"STATIC", L"Páginas", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 520, 420, nullptr,
                                nullptr, nullptr, nullptr);
  test_general_page_object(window);
  test_about_page_object(window);
  DestroyWindow(window);
  test_frame_over_control();
  UnhookWindowsHookEx(hook);
  CoFreeUnusedLibraries();
  OleUninitialize();
  return test::Result("test_pages");
}
