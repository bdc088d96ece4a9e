// Reads the registered type library 1.2 back and checks every member, slot, type, dispatch id
// and help string of _Delvorin (1.0), _Delvorin11 (1.1) and _Delvorin12 (1.2) against the
// engine's property table (a read-only property has a get and no put), the control class and
// the classes of the property pages; calls a created control through the slots of the three
// interfaces; checks the registry keys the server wrote, or, with "removed", that
// unregistration removed them.
#include <windows.h>
#include <oleauto.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/Properties.h"
#include "ocx/Identifiers.h"
#include "ocx/tests/Test.h"

using namespace delvorin;
using namespace delvorin::ocx;
using delvorin::ocx::test::Narrow;
using delvorin::ocx::test::Wide;

namespace {

constexpr const wchar_t* kIid_DelvorinText = L"{C5FC60CA-B5A8-4882-9663-6E2B6B3709DD}";
constexpr const wchar_t* kIid_Delvorin11Text = L"{A6EC96B6-7585-4877-92A3-B6E191E7EE7D}";
constexpr const wchar_t* kIid_Delvorin12Text = L"{FCCE0DD2-2BF3-4634-88F1-7309020BFC22}";

std::wstring TypeName(ITypeInfo* info, HREFTYPE ref) {
  ITypeInfo* other = nullptr;
  std::wstring name;
  if (SUCCEEDED(info->GetRefTypeInfo(ref, &other))) {
    BSTR b = nullptr;
    if (SUCCEEDED(other->GetDocumentation(MEMBERID_NIL, &b, nullptr, nullptr, nullptr)) && b) name = b;
    SysFreeString(b);
    other->Release();
  }
  return name;
}

// The type as a short text: "I2", "BOOL", "OLE_COLOR", "IFontDisp*"...
std::wstring Tipo(ITypeInfo* info, const TYPEDESC& t) {
  switch (t.vt) {
    case VT_I2: return L"I2";
    case VT_I4: return L"I4";
    case VT_UI1: return L"UI1";
    case VT_BOOL: return L"BOOL";
    case VT_BSTR: return L"BSTR";
    case VT_R4: return L"R4";
    case VT_VARIANT: return L"VARIANT";
    case VT_DISPATCH: return L"IDispatch*";
    case VT_USERDEFINED: return TypeName(info, t.hreftype);
    case VT_PTR: return Tipo(info, *t.lptdesc) + L"*";
    default: return L"vt" + std::to_wstring(t.vt);
  }
}

std::wstring ExpectedType(PropertyType t) {
  switch (t) {
    case PropertyType::Int16: return L"I2";
    case PropertyType::Colour: return L"OLE_COLOR";
    case PropertyType::Boolean: return L"BOOL";
    case PropertyType::Font: return L"IFontDisp*";
    case PropertyType::Int32: return L"I4";
    case PropertyType::Text: return L"BSTR";
    case PropertyType::Byte: return L"UI1";
    case PropertyType::Picture: return L"IPictureDisp*";
    case PropertyType::Variant: return L"VARIANT";
  }
  return L"?";
}

std::wstring Documentation(ITypeInfo* info, MEMBERID id, bool help) {
  BSTR name = nullptr, text = nullptr;
  std::wstring r;
  if (SUCCEEDED(info->GetDocumentation(id, &name, &text, nullptr, nullptr))) r = help ? (text ? text : L"") : (name ? name : L"");
  SysFreeString(name);
  SysFreeString(text);
  return r;
}

// A slot of an interface's vtable: a property's get or put (its table index), or Atualiza.
struct Slot {
  int property;  // -1: Atualiza
  bool get;
};

// _Delvorin (1.0): the first kPropertyCount10 properties, then Atualiza. _Delvorin11 (1.1) and
// _Delvorin12 (1.2): the same slots, then the properties added since, up to the interface's
// count; a read-only property has its get only.
std::vector<Slot> Slots(int propertyCount) {
  std::vector<Slot> r;
  for (int i = 0; i < kPropertyCount10; ++i) r.insert(r.end(), {{i, true}, {i, false}});
  r.push_back({-1, false});
  for (int i = kPropertyCount10; i < propertyCount; ++i) {
    r.push_back({i, true});
    if (!kProperties[static_cast<size_t>(i)].readOnly) r.push_back({i, false});
  }
  return r;
}

struct InterfaceCase {
  const GUID* iid;
  const wchar_t* name;
  int propertyCount;  // the table's first properties it holds
};
const InterfaceCase kInterfaces[] = {{&kIid_Delvorin, L"_Delvorin", kPropertyCount10},
                                     {&kIid_Delvorin11, L"_Delvorin11", kPropertyCount11},
                                     {&kIid_Delvorin12, L"_Delvorin12", kPropertyCount}};

// The vtable side of a dual interface, or nullptr.
ITypeInfo* VtableSide(ITypeInfo* disp) {
  HREFTYPE ref = 0;
  ITypeInfo* vt = nullptr;
  if (SUCCEEDED(disp->GetRefTypeOfImplType(-1, &ref))) disp->GetRefTypeInfo(ref, &vt);
  return vt;
}

// Slot k of the vtable interface: the function's offset, name, id, kind, help string and type.
void check_slot(ITypeInfo* vt, const FUNCDESC* f, WORD k, const Slot& slot, const char* ifaceName) {
  std::wstring name = Documentation(vt, f->memid, false);
  // Slot k of the interface, after IUnknown's and IDispatch's seven; every member shows in a
  // property browser.
  ok(f->oVft == static_cast<SHORT>((7 + k) * sizeof(void*)), "%s slot %u: offset %d", ifaceName, k, f->oVft);
  ok(!(f->wFuncFlags & (FUNCFLAG_FNONBROWSABLE | FUNCFLAG_FHIDDEN)), "%s slot %u: flags %x", ifaceName, k, f->wFuncFlags);
  if (slot.property < 0) {
    ok(name == Wide(kAtualiza.name), "%s slot %u: %s", ifaceName, k, Narrow(name).c_str());
    ok(f->memid == kAtualiza.dispid, "%s: Atualiza id %lx", ifaceName, f->memid);
    ok(f->invkind == INVOKE_FUNC, "%s: Atualiza invkind %d", ifaceName, f->invkind);
    ok(Documentation(vt, f->memid, true) == Wide(kAtualiza.help), "%s: Atualiza help", ifaceName);
    ok(f->cParams == 1 && Tipo(vt, f->lprgelemdescParam[0].tdesc) == L"IDispatch**", "%s: Atualiza result", ifaceName);
  } else {
    const PropertyDescription& d = kProperties[static_cast<size_t>(slot.property)];
    const bool get = slot.get;
    ok(name == Wide(d.name), "%s slot %u: %s, expected %s", ifaceName, k, Narrow(name).c_str(), Narrow(Wide(d.name)).c_str());
    ok(f->memid == d.dispid, "%s: %s: id %lx, expected %lx", ifaceName, Narrow(name).c_str(), f->memid, static_cast<long>(d.dispid));
    const bool object = d.type == PropertyType::Font || d.type == PropertyType::Picture;
    const INVOKEKIND expectedKind = get ? INVOKE_PROPERTYGET : (object ? INVOKE_PROPERTYPUTREF : INVOKE_PROPERTYPUT);
    ok(f->invkind == expectedKind, "%s: %s: invkind %d", ifaceName, Narrow(name).c_str(), f->invkind);
    ok(Documentation(vt, f->memid, true) == Wide(d.help), "%s: %s: help string", ifaceName, Narrow(name).c_str());
    std::wstring type = f->cParams == 1 ? Tipo(vt, f->lprgelemdescParam[0].tdesc) : L"";
    std::wstring expectedType = ExpectedType(d.type) + (get ? L"*" : L"");
    ok(type == expectedType, "%s: %s: type %s, expected %s", ifaceName, Narrow(name).c_str(), Narrow(type).c_str(),
       Narrow(expectedType).c_str());
  }
}

// The dispatch interface of i: its kind, flags and name, and each property added after 1.0
// known by name only from the version that added it on. The interface's type information, or
// nullptr.
ITypeInfo* check_dispatch_interface(ITypeLib* lib, const InterfaceCase& i, const char* ifaceName) {
  ITypeInfo* disp = nullptr;
  HRESULT hr = lib->GetTypeInfoOfGuid(*i.iid, &disp);
  ok(hr == S_OK, "GetTypeInfoOfGuid(%s): %08lx", ifaceName, hr);
  if (FAILED(hr)) return nullptr;
  TYPEATTR* a = nullptr;
  disp->GetTypeAttr(&a);
  ok(a->typekind == TKIND_DISPATCH, "%s: typekind %d", ifaceName, a->typekind);
  ok((a->wTypeFlags & (TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL)) == (TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL), "%s: flags %x", ifaceName,
     a->wTypeFlags);
  disp->ReleaseTypeAttr(a);
  ok(Documentation(disp, MEMBERID_NIL, false) == i.name, "%s: interface name", ifaceName);

  for (int k = kPropertyCount10; k < kPropertyCount; ++k) {
    const PropertyDescription& d = kProperties[static_cast<size_t>(k)];
    std::wstring text = Wide(d.name);
    LPOLESTR name = text.data();
    MEMBERID id = 0;
    hr = disp->GetIDsOfNames(&name, 1, &id);
    if (k < i.propertyCount) ok(hr == S_OK && id == d.dispid, "%s: %s %08lx", ifaceName, Narrow(text).c_str(), hr);
    else ok(hr == DISP_E_UNKNOWNNAME, "%s: no %s: %08lx", ifaceName, Narrow(text).c_str(), hr);
  }
  return disp;
}

// The vtable side of i gives the slots in order.
void check_vtable_slots(ITypeInfo* disp, const InterfaceCase& i, const char* ifaceName) {
  ITypeInfo* vt = VtableSide(disp);
  ok(vt != nullptr, "%s: vtable interface", ifaceName);
  if (!vt) return;
  const std::vector<Slot> slots = Slots(i.propertyCount);
  TYPEATTR* a = nullptr;
  vt->GetTypeAttr(&a);
  ok(a->cFuncs == slots.size(), "%s: %d functions, expected %u", ifaceName, a->cFuncs, unsigned(slots.size()));
  const WORD count = a->cFuncs;
  vt->ReleaseTypeAttr(a);
  for (WORD k = 0; k < count && k < slots.size(); ++k) {
    FUNCDESC* f = nullptr;
    if (FAILED(vt->GetFuncDesc(k, &f))) continue;
    check_slot(vt, f, k, slots[k], ifaceName);
    vt->ReleaseFuncDesc(f);
  }
  vt->Release();
}

void test_interface(ITypeLib* lib, const InterfaceCase& i) {
  const std::string name = Narrow(i.name);
  ITypeInfo* disp = check_dispatch_interface(lib, i, name.c_str());
  if (!disp) return;
  check_vtable_slots(disp, i, name.c_str());
  disp->Release();
}

void test_events_interface(ITypeLib* lib) {
  ITypeInfo* info = nullptr;
  HRESULT hr = lib->GetTypeInfoOfGuid(kDiid__Delvorin, &info);
  ok(hr == S_OK, "GetTypeInfoOfGuid(__Delvorin): %08lx", hr);
  if (FAILED(hr)) return;
  TYPEATTR* a = nullptr;
  info->GetTypeAttr(&a);
  ok(a->typekind == TKIND_DISPATCH && a->cFuncs == kEvents.size(), "events: kind %d, %d functions", a->typekind, a->cFuncs);
  const WORD functionCount = a->cFuncs;
  info->ReleaseTypeAttr(a);
  for (WORD i = 0; i < functionCount && i < kEvents.size(); ++i) {
    FUNCDESC* f = nullptr;
    if (FAILED(info->GetFuncDesc(i, &f))) continue;
    const EventDescription& e = kEvents[i];
    ok(Documentation(info, f->memid, false) == Wide(e.name), "event %u name", i);
    ok(f->memid == e.dispid, "event %u id %ld", i, f->memid);
    ok(f->cParams == e.argumentCount, "event %u: %d arguments", i, f->cParams);
    for (int k = 0; k < f->cParams && k < e.argumentCount; ++k) {
      std::wstring t = Tipo(info, f->lprgelemdescParam[k].tdesc);
      std::wstring expected = e.arguments[static_cast<size_t>(k)].type == ArgumentType::Int16 ? L"I2*" : L"R4*";
      ok(t == expected, "event %u argument %d: %s", i, k, Narrow(t).c_str());
    }
    info->ReleaseFuncDesc(f);
  }
  info->Release();
}

VARIANT VI2(SHORT x) { VARIANT v; VariantInit(&v); V_VT(&v) = VT_I2; V_I2(&v) = x; return v; }
VARIANT VI4(LONG x) { VARIANT v; VariantInit(&v); V_VT(&v) = VT_I4; V_I4(&v) = x; return v; }
VARIANT VUI1(BYTE x) { VARIANT v; VariantInit(&v); V_VT(&v) = VT_UI1; V_UI1(&v) = x; return v; }
VARIANT VBool(bool x) { VARIANT v; VariantInit(&v); V_VT(&v) = VT_BOOL; V_BOOL(&v) = x ? VARIANT_TRUE : VARIANT_FALSE; return v; }
VARIANT VStr(const wchar_t* x) { VARIANT v; VariantInit(&v); V_VT(&v) = VT_BSTR; V_BSTR(&v) = SysAllocString(x); return v; }

// The GUID of a type the coclass implements.
GUID ImplementedBy(ITypeInfo* cls, UINT k) {
  GUID g = GUID_NULL;
  HREFTYPE ref = 0;
  ITypeInfo* other = nullptr;
  if (SUCCEEDED(cls->GetRefTypeOfImplType(k, &ref)) && SUCCEEDED(cls->GetRefTypeInfo(ref, &other))) {
    TYPEATTR* a = nullptr;
    if (SUCCEEDED(other->GetTypeAttr(&a))) {
      g = a->guid;
      other->ReleaseTypeAttr(a);
    }
    other->Release();
  }
  return g;
}

// The control class: _Delvorin12 its default interface, _Delvorin11 and _Delvorin still
// listed, the events.
void check_coclass(ITypeInfo* info) {
  TYPEATTR* a = nullptr;
  info->GetTypeAttr(&a);
  ok(a->typekind == TKIND_COCLASS && (a->wTypeFlags & TYPEFLAG_FCONTROL), "coclass flags %x", a->wTypeFlags);
  const UINT n = a->cImplTypes;
  ok(n == 4, "%u implemented types", n);
  info->ReleaseTypeAttr(a);
  const struct {
    const GUID* iid;
    INT flags;
    const char* name;
  } expectedOnes[] = {{&kIid_Delvorin12, IMPLTYPEFLAG_FDEFAULT, "_Delvorin12"},
                   {&kIid_Delvorin11, 0, "_Delvorin11"},
                   {&kIid_Delvorin, 0, "_Delvorin"},
                   {&kDiid__Delvorin, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE, "__Delvorin"}};
  for (UINT k = 0; k < n && k < 4; ++k) {
    INT flags = -1;
    info->GetImplTypeFlags(k, &flags);
    ok(IsEqualGUID(ImplementedBy(info, k), *expectedOnes[k].iid) && flags == expectedOnes[k].flags, "%s: flags %x",
       expectedOnes[k].name, flags);
  }
}

void test_coclass(ITypeLib* lib) {
  ITypeInfo* info = nullptr;
  HRESULT hr = lib->GetTypeInfoOfGuid(kClsidDelvorin, &info);
  ok(hr == S_OK, "GetTypeInfoOfGuid(Delvorin): %08lx", hr);
  if (FAILED(hr)) return;
  check_coclass(info);
  info->Release();
}

// The getter in slot oVft of an interface pointer, called as a vtable-bound client built from
// the type library calls it.
using Getter = HRESULT(STDMETHODCALLTYPE*)(void*, void*);
using PutBoolean = HRESULT(STDMETHODCALLTYPE*)(void*, VARIANT_BOOL);
template <typename F>
F NoSlot(void* p, SHORT oVft) {
  void** vtable = *static_cast<void***>(p);
  return reinterpret_cast<F>(vtable[oVft / static_cast<SHORT>(sizeof(void*))]);
}

// Through which slot the type library says a member is reached, or -1.
SHORT VtableOffset(ITypeInfo* disp, MEMBERID id, INVOKEKIND type) {
  ITypeInfo* vt = VtableSide(disp);
  SHORT r = -1;
  if (!vt) return r;
  TYPEATTR* a = nullptr;
  vt->GetTypeAttr(&a);
  for (WORD k = 0; k < a->cFuncs; ++k) {
    FUNCDESC* f = nullptr;
    if (FAILED(vt->GetFuncDesc(k, &f))) continue;
    if (f->memid == id && f->invkind == type) r = f->oVft;
    vt->ReleaseFuncDesc(f);
  }
  vt->ReleaseTypeAttr(a);
  vt->Release();
  return r;
}

// A property bag in memory. What the engine saves in it is a view of the properties that goes
// through no vtable slot.
class Bag final : public IPropertyBag {
 public:
  ~Bag() {
    for (auto& [key, v] : values) VariantClear(&v);
  }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IPropertyBag)) return E_NOINTERFACE;
    *ppv = static_cast<IPropertyBag*>(this);
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // on the stack
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* v, IErrorLog*) override {
    if (!name || !v) return E_POINTER;
    const VARIANT* stored = Value(name);
    if (!stored) return E_INVALIDARG;
    VariantInit(v);
    return VariantCopy(v, const_cast<VARIANT*>(stored));
  }
  HRESULT STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* v) override {
    if (!name || !v) return E_POINTER;
    VARIANT& d = values[name];
    VariantInit(&d);
    return VariantCopy(&d, v);
  }
  const VARIANT* Value(const std::wstring& key) const {
    auto it = values.find(key);
    return it == values.end() ? nullptr : &it->second;
  }

 private:
  std::map<std::wstring, VARIANT> values;
};

// Same scalar or text; colours compare by their bits whether signed or not.
bool SameVariant(const VARIANT& a, const VARIANT& b) {
  auto asColor = [](VARTYPE t) { return t == VT_I4 || t == VT_UI4; };
  if (asColor(V_VT(&a)) && asColor(V_VT(&b))) return V_I4(&a) == V_I4(&b);
  if (V_VT(&a) != V_VT(&b)) return false;
  switch (V_VT(&a)) {
    case VT_I2: return V_I2(&a) == V_I2(&b);
    case VT_UI1: return V_UI1(&a) == V_UI1(&b);
    case VT_BOOL: return V_BOOL(&a) == V_BOOL(&b);
    case VT_BSTR: return VarBstrCmp(V_BSTR(&a), V_BSTR(&b), LOCALE_INVARIANT, 0) == static_cast<HRESULT>(VARCMP_EQ);
    default: return false;
  }
}

// The getter of property d called in the slot the type library names writes the whole value
// (the output is pre-filled) and agrees with IDispatch::Invoke of its id, and both with the
// value the engine saves for it (saved, for the persisted scalars and texts).
void check_getter(IDispatch* dispatch, void* p, ITypeInfo* disp, const PropertyDescription& d, const char* ifaceName,
                   const VARIANT* saved) {
  const std::string name = Narrow(Wide(d.name));
  const SHORT oVft = VtableOffset(disp, d.dispid, INVOKE_PROPERTYGET);
  ok(oVft > 0, "%s: %s has a getter", ifaceName, name.c_str());
  if (oVft <= 0) return;
  alignas(8) unsigned char out[sizeof(VARIANT)];
  std::memset(out, 0xcd, sizeof out);
  HRESULT hr = NoSlot<Getter>(p, oVft)(p, out);
  VARIANT v;
  VariantInit(&v);
  DISPPARAMS noArgs{nullptr, nullptr, 0, 0};
  HRESULT hd = dispatch->Invoke(d.dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &noArgs, &v, nullptr, nullptr);
  ok(hr == S_OK && hd == S_OK, "%s: get %s: %08lx, Invoke %08lx", ifaceName, name.c_str(), hr, hd);
  if (hr != S_OK || hd != S_OK) return;
  bool same = false;
  switch (d.type) {
    case PropertyType::Int16: { SHORT x; std::memcpy(&x, out, 2); same = V_VT(&v) == VT_I2 && V_I2(&v) == x; break; }
    case PropertyType::Boolean: { VARIANT_BOOL x; std::memcpy(&x, out, 2); same = V_VT(&v) == VT_BOOL && V_BOOL(&v) == x; break; }
    case PropertyType::Byte: same = V_VT(&v) == VT_UI1 && V_UI1(&v) == out[0] && out[1] == 0xcd; break;
    case PropertyType::Colour:
    case PropertyType::Int32: {
      LONG x;
      std::memcpy(&x, out, 4);
      same = (V_VT(&v) == VT_I4 || V_VT(&v) == VT_UI4) && V_I4(&v) == x;
      break;
    }
    case PropertyType::Text: {
      BSTR b;
      std::memcpy(&b, out, sizeof b);
      same = V_VT(&v) == VT_BSTR && b && !std::wcscmp(b, V_BSTR(&v));
      if (b) SysFreeString(b);
      break;
    }
    case PropertyType::Font:
    case PropertyType::Picture: {
      IUnknown* u;
      std::memcpy(&u, out, sizeof u);
      same = V_VT(&v) == VT_DISPATCH && (u != nullptr) == (V_DISPATCH(&v) != nullptr);
      if (u) u->Release();
      break;
    }
    case PropertyType::Variant: {
      VARIANT x;
      std::memcpy(&x, out, sizeof x);
      same = V_VT(&x) == V_VT(&v) && (V_VT(&x) == VT_EMPTY || V_VT(&x) == VT_NULL ||
                                      VarCmp(&x, &v, LOCALE_INVARIANT, 0) == static_cast<HRESULT>(VARCMP_EQ));
      VariantClear(&x);
      break;
    }
  }
  ok(same, "%s: get %s in its slot differs from Invoke (vt %d)", ifaceName, name.c_str(), V_VT(&v));
  const bool object = d.type == PropertyType::Font || d.type == PropertyType::Picture;
  if (!object && d.persisted)
    ok(saved && SameVariant(v, *saved), "%s: get %s differs from the engine's value", ifaceName, name.c_str());
  VariantClear(&v);
}

// A created control, loaded with values its getters tell apart, answers the three interfaces
// with one object: every getter of each in its slot, each giving the engine's value of its own
// property; CnpjAlfanumerico in the slots 1.1 added; IDispatch by the type information of 1.2
// for all; the events and class information of the coclass.
// Loaded with values its getters tell apart (a getter in the slot of another property is
// caught); saved back into saved, where the engine's values are read.
void test_control_loads_distinct_values(IUnknown* control, Bag& savedValues) {
  IPersistPropertyBag* persist = nullptr;
  control->QueryInterface(IID_IPersistPropertyBag, reinterpret_cast<void**>(&persist));
  Bag distinct;
  const std::pair<const wchar_t*, VARIANT> loadedValues[] = {
      {L"Alignment", VI2(2)}, {L"BorderStyle", VI2(0)}, {L"MousePointer", VI2(3)}, {L"Appearance", VI2(0)},
      {L"Tipo", VUI1(9)}, {L"Digitos", VUI1(3)}, {L"MaxLength", VI4(77)}, {L"BackColor", VI4(0x123456)},
      {L"ForeColor", VI4(0x654321)}, {L"Enabled", VBool(false)}, {L"Locked", VBool(true)}, {L"Negativo", VBool(true)},
      {L"Aspas", VBool(true)}, {L"Usar_Enter", VBool(false)}, {L"CnpjAlfanumerico", VBool(false)}, {L"UF", VStr(L"SP")},
      {L"Text", VStr(L"123.456.789-09")},
  };
  for (const auto& [key, v] : loadedValues) {
    distinct.Write(key, const_cast<VARIANT*>(&v));
    VariantClear(const_cast<VARIANT*>(&v));
  }
  ok(persist && persist->Load(&distinct, nullptr) == S_OK, "Load of distinct values");
  ok(persist && persist->Save(&savedValues, TRUE, TRUE) == S_OK, "Save");
  const VARIANT* type = savedValues.Value(L"Tipo");
  ok(type && V_VT(type) == VT_UI1 && V_UI1(type) == 9, "the distinct values loaded");
  if (persist) persist->Release();
}

// Interface i of the control: the same object, error information, every getter in its slot
// agreeing with Invoke and the engine, members found by name, the type information of 1.2.
void test_control_interface(ITypeLib* lib, IUnknown* control, ISupportErrorInfo* sei, const InterfaceCase& i,
                            const Bag& savedValues) {
  const std::string name = Narrow(i.name);
  const char* ifaceName = name.c_str();
  ITypeInfo* disp = nullptr;
  lib->GetTypeInfoOfGuid(*i.iid, &disp);
  IDispatch* p = nullptr;
  HRESULT hr = control->QueryInterface(*i.iid, reinterpret_cast<void**>(&p));
  ok(hr == S_OK && p, "QueryInterface(%s): %08lx", ifaceName, hr);
  if (!p || !disp) {
    if (p) p->Release();
    if (disp) disp->Release();
    return;
  }
  IUnknown* identity = nullptr;
  p->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity));
  ok(identity == control, "%s: the same object", ifaceName);
  if (identity) identity->Release();
  ok(sei && sei->InterfaceSupportsErrorInfo(*i.iid) == S_OK, "%s: error information", ifaceName);

  for (int k = 0; k < i.propertyCount; ++k) {
    const PropertyDescription& d = kProperties[static_cast<size_t>(k)];
    check_getter(p, p, disp, d, ifaceName, savedValues.Value(Wide(d.name)));
  }

  // IDispatch of every interface finds members by name, the ones added since 1.0 included.
  for (int k = kPropertyCount10; k < kPropertyCount; ++k) {
    std::wstring text = Wide(kProperties[static_cast<size_t>(k)].name);
    LPOLESTR memberName = text.data();
    DISPID id = 0;
    hr = p->GetIDsOfNames(IID_NULL, &memberName, 1, LOCALE_USER_DEFAULT, &id);
    ok(hr == S_OK && id == kProperties[static_cast<size_t>(k)].dispid, "%s: GetIDsOfNames(%s): %08lx", ifaceName,
       Narrow(text).c_str(), hr);
  }
  ITypeInfo* data = nullptr;
  TYPEATTR* a = nullptr;
  ok(p->GetTypeInfo(0, LOCALE_USER_DEFAULT, &data) == S_OK && data && SUCCEEDED(data->GetTypeAttr(&a)) &&
         IsEqualGUID(a->guid, kIid_Delvorin12),
     "%s: the type information of _Delvorin12", ifaceName);
  if (a) data->ReleaseTypeAttr(a);
  if (data) data->Release();
  p->Release();
  disp->Release();
}

// Tipo in its slot of 1.0 (as loaded above).
void test_tipo_in_slot_of_10(ITypeLib* lib, IUnknown* control) {
  HRESULT hr = E_FAIL;
  void* p10 = nullptr;
  ITypeInfo* disp10 = nullptr;
  control->QueryInterface(kIid_Delvorin, &p10);
  lib->GetTypeInfoOfGuid(kIid_Delvorin, &disp10);
  if (p10 && disp10) {
    const SHORT get = VtableOffset(disp10, DescriptionOf(Property::Tipo).dispid, INVOKE_PROPERTYGET);
    unsigned char type = 0xee;
    hr = get > 0 ? NoSlot<Getter>(p10, get)(p10, &type) : E_FAIL;
    ok(get == static_cast<SHORT>((7 + 2 * static_cast<int>(Property::Tipo)) * sizeof(void*)) && hr == S_OK && type == 9,
       "Tipo through _Delvorin: slot %d, %08lx, %u", get, hr, type);
  }
  if (disp10) disp10->Release();
  if (p10) static_cast<IUnknown*>(p10)->Release();

}

// CnpjAlfanumerico written and read in the slots of 1.1, and seen by Invoke.
void test_cnpj_in_slots_of_11(ITypeLib* lib, IUnknown* control) {
  HRESULT hr = E_FAIL;
  void* p11 = nullptr;
  ITypeInfo* disp = nullptr;
  control->QueryInterface(kIid_Delvorin11, &p11);
  lib->GetTypeInfoOfGuid(kIid_Delvorin11, &disp);
  const int32_t id = DescriptionOf(Property::CnpjAlfanumerico).dispid;
  if (p11 && disp) {
    const SHORT get = VtableOffset(disp, id, INVOKE_PROPERTYGET), put = VtableOffset(disp, id, INVOKE_PROPERTYPUT);
    ok(get == static_cast<SHORT>((7 + 2 * kPropertyCount10 + 1) * sizeof(void*)) && put == get + static_cast<SHORT>(sizeof(void*)),
       "CnpjAlfanumerico after Atualiza: %d, %d", get, put);
    VARIANT_BOOL value = 0x1234;
    hr = get > 0 ? NoSlot<Getter>(p11, get)(p11, &value) : E_FAIL;
    ok(hr == S_OK && value == VARIANT_FALSE, "CnpjAlfanumerico as loaded: %08lx, %d", hr, value);
    ok(put > 0 && NoSlot<PutBoolean>(p11, put)(p11, VARIANT_TRUE) == S_OK, "CnpjAlfanumerico written");
    value = 0x1234;
    hr = get > 0 ? NoSlot<Getter>(p11, get)(p11, &value) : E_FAIL;
    ok(hr == S_OK && value == VARIANT_TRUE, "CnpjAlfanumerico: %08lx, %d", hr, value);
    VARIANT v;
    VariantInit(&v);
    DISPPARAMS noArgs{nullptr, nullptr, 0, 0};
    auto* dispatch = static_cast<IDispatch*>(p11);
    hr = dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &noArgs, &v, nullptr, nullptr);
    ok(hr == S_OK && V_VT(&v) == VT_BOOL && V_BOOL(&v) == VARIANT_TRUE, "Invoke: %08lx vt %d", hr, V_VT(&v));
  }
  if (disp) disp->Release();
  if (p11) static_cast<IUnknown*>(p11)->Release();

}

// The class information is the coclass of 1.2; the events are unchanged.
void test_class_information(IUnknown* control) {
  IProvideClassInfo2* pci = nullptr;
  control->QueryInterface(IID_IProvideClassInfo2, reinterpret_cast<void**>(&pci));
  ok(pci != nullptr, "IProvideClassInfo2");
  if (pci) {
    GUID events = GUID_NULL;
    ok(pci->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events) == S_OK && IsEqualGUID(events, kDiid__Delvorin),
       "GetGUID: the events");
    ITypeInfo* cls = nullptr;
    ok(pci->GetClassInfo(&cls) == S_OK && cls, "GetClassInfo");
    if (cls) {
      check_coclass(cls);
      cls->Release();
    }
    pci->Release();
  }
}

// A created control, as the type library describes it.
void test_control(ITypeLib* lib) {
  IUnknown* control = nullptr;
  HRESULT hr = CoCreateInstance(kClsidDelvorin, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(&control));
  ok(hr == S_OK && control, "CoCreateInstance: %08lx", hr);
  if (!control) return;
  ISupportErrorInfo* sei = nullptr;
  control->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&sei));
  Bag savedValues;
  test_control_loads_distinct_values(control, savedValues);
  for (const InterfaceCase& i : kInterfaces) test_control_interface(lib, control, sei, i, savedValues);
  if (sei) sei->Release();
  test_tipo_in_slot_of_10(lib, control);
  test_cnpj_in_slots_of_11(lib, control);
  test_class_information(control);
  ok(control->Release() == 0, "control released");
}

std::wstring ReadKey(const std::wstring& key, const wchar_t* name, bool& exists) {
  wchar_t data[1024];
  DWORD size = sizeof data;
  LONG r = RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size);
  exists = r == ERROR_SUCCESS;
  return exists ? std::wstring(data) : L"";
}

bool KeyExists(const std::wstring& key) {
  HKEY k = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  RegCloseKey(k);
  return true;
}

void test_registry(bool removed) {
  const std::wstring clsid = std::wstring(L"CLSID\\") + kClsidText;
  struct Key {
    std::wstring key;
    const wchar_t* name;
    const wchar_t* value;  // nullptr: only its presence
  };
  const Key keys[] = {
      {clsid + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
      {clsid + L"\\InprocServer32", nullptr, nullptr},
      {clsid + L"\\ProgID", nullptr, kVersionedProgId},
      {clsid + L"\\VersionIndependentProgID", nullptr, kProgId},
      {clsid + L"\\TypeLib", nullptr, kLibidText},
      {clsid + L"\\Version", nullptr, L"1.2"},
      // The three interfaces, registered by the type library 1.2.
      {std::wstring(L"Interface\\") + kIid_DelvorinText + L"\\TypeLib", nullptr, kLibidText},
      {std::wstring(L"Interface\\") + kIid_DelvorinText + L"\\TypeLib", L"Version", L"1.2"},
      {std::wstring(L"Interface\\") + kIid_Delvorin11Text, nullptr, L"_Delvorin11"},
      {std::wstring(L"Interface\\") + kIid_Delvorin11Text + L"\\TypeLib", nullptr, kLibidText},
      {std::wstring(L"Interface\\") + kIid_Delvorin11Text + L"\\TypeLib", L"Version", L"1.2"},
      {std::wstring(L"Interface\\") + kIid_Delvorin12Text, nullptr, L"_Delvorin12"},
      {std::wstring(L"Interface\\") + kIid_Delvorin12Text + L"\\TypeLib", nullptr, kLibidText},
      {std::wstring(L"Interface\\") + kIid_Delvorin12Text + L"\\TypeLib", L"Version", L"1.2"},
      {std::wstring(L"TypeLib\\") + kLibidText + L"\\1.2", nullptr, L"Palvor"},
      {clsid + L"\\MiscStatus\\1", nullptr, L"655761"},
      {clsid + L"\\ToolboxBitmap32", nullptr, nullptr},
      {std::wstring(kProgId) + L"\\CLSID", nullptr, kClsidText},
      {std::wstring(kProgId) + L"\\CurVer", nullptr, kVersionedProgId},
      {std::wstring(kVersionedProgId) + L"\\CLSID", nullptr, kClsidText},
      {std::wstring(L"CLSID\\") + kClsidGeralText, nullptr, L"Geral"},
      {std::wstring(L"CLSID\\") + kClsidGeralText + L"\\InprocServer32", nullptr, nullptr},
      {std::wstring(L"CLSID\\") + kClsidGeralText + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
      {std::wstring(L"CLSID\\") + kClsidSobreText, nullptr, L"Sobre"},
      {std::wstring(L"CLSID\\") + kClsidSobreText + L"\\InprocServer32", nullptr, nullptr},
      {std::wstring(L"CLSID\\") + kClsidSobreText + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
  };
  for (const Key& c : keys) {
    bool exists = false;
    std::wstring v = ReadKey(c.key, c.name, exists);
    if (removed) {
      ok(!exists, "%s still registered", Narrow(c.key).c_str());
    } else {
      ok(exists && (!c.value || v == c.value), "%s: %s", Narrow(c.key).c_str(), Narrow(v).c_str());
    }
  }
  // A client built against 1.0 or 1.1 still finds the library (a later minor version serves it).
  for (WORD minor : {2, 1, 0}) {
    ITypeLib* lib = nullptr;
    HRESULT hr = LoadRegTypeLib(kLibid, 1, minor, LOCALE_NEUTRAL, &lib);
    ok(removed ? FAILED(hr) : hr == S_OK, "LoadRegTypeLib 1.%u: %08lx", minor, hr);
    if (lib) lib->Release();
  }
  const std::wstring typeLib = std::wstring(L"TypeLib\\") + kLibidText;
  for (const wchar_t* older : {L"\\1.0", L"\\1.1"}) ok(!KeyExists(typeLib + older), "no registration of %ls", older + 1);
  if (removed) ok(!KeyExists(typeLib), "the library's key removed");
  // The page classes are served by the server registered in the same module as the control.
  bool exists = false;
  const std::wstring server = ReadKey(clsid + L"\\InprocServer32", nullptr, exists);
  for (const wchar_t* page : {kClsidGeralText, kClsidSobreText}) {
    bool hasPage = false;
    const std::wstring path = ReadKey(std::wstring(L"CLSID\\") + page + L"\\InprocServer32", nullptr, hasPage);
    if (!removed) ok(hasPage && path == server, "%s served by %s", Narrow(page).c_str(), Narrow(path).c_str());
  }
}

// The property pages are plain classes of the library, each with a hidden dispatch interface
// without members; the library holds nothing else of the headers it was built from.
void test_page_classes(ITypeLib* lib) {
  const struct {
    const GUID *clsid, *diid;
    const wchar_t *name, *interfaceName;
  } pages[] = {{&kClsidGeral, &kDiid_Geral, L"Geral", L"_Geral"}, {&kClsidSobre, &kDiid_Sobre, L"Sobre", L"_Sobre"}};
  for (const auto& p : pages) {
    const std::string name = Narrow(p.name);
    ITypeInfo* info = nullptr;
    HRESULT hr = lib->GetTypeInfoOfGuid(*p.clsid, &info);
    ok(hr == S_OK, "GetTypeInfoOfGuid(%s): %08lx", name.c_str(), hr);
    if (FAILED(hr)) continue;
    TYPEATTR* a = nullptr;
    info->GetTypeAttr(&a);
    ok(a->typekind == TKIND_COCLASS && !(a->wTypeFlags & TYPEFLAG_FCONTROL) && a->cImplTypes == 1,
       "%s: a class, not a control, one interface", name.c_str());
    info->ReleaseTypeAttr(a);
    ok(Documentation(info, MEMBERID_NIL, false) == p.name && Documentation(info, MEMBERID_NIL, true) == p.name,
       "%s: name and help string", name.c_str());
    HREFTYPE ref = 0;
    ITypeInfo* disp = nullptr;
    if (SUCCEEDED(info->GetRefTypeOfImplType(0, &ref))) info->GetRefTypeInfo(ref, &disp);
    ok(disp != nullptr, "%s: its interface", name.c_str());
    if (disp) {
      disp->GetTypeAttr(&a);
      ok(IsEqualGUID(a->guid, *p.diid) && a->typekind == TKIND_DISPATCH && (a->wTypeFlags & TYPEFLAG_FHIDDEN) &&
             a->cFuncs == 0 && a->cVars == 0,
         "%s: a hidden dispatch interface without members", name.c_str());
      disp->ReleaseTypeAttr(a);
      ok(Documentation(disp, MEMBERID_NIL, false) == p.interfaceName, "%s: interface name", name.c_str());
      disp->Release();
    }
    info->Release();
  }
  ok(lib->GetTypeInfoCount() == 10, "ten types: %u", lib->GetTypeInfoCount());
}

}  // namespace

// Leaves the registry as installing this server over the ones before 1.2 does: registrations
// of the library 1.0 and 1.1 (same id, same file) next to 1.2's. Unregistration must remove
// them too, which the run with "removed" checks.
void simulate_install_over_older() {
  bool exists = false;
  const std::wstring server = ReadKey(std::wstring(L"CLSID\\") + kClsidText + L"\\InprocServer32", nullptr, exists);
  const std::wstring systemId = sizeof(void*) == 8 ? L"win64" : L"win32";
  for (WORD minor : {0, 1}) {
    const std::wstring version = std::wstring(L"TypeLib\\") + kLibidText + L"\\1." + std::to_wstring(minor);
    bool written = exists;
    const std::pair<std::wstring, std::wstring> values[] = {
        {version, L"Palvor"}, {version + L"\\0\\" + systemId, server}, {version + L"\\FLAGS", L"0"}};
    for (const auto& [key, data] : values)
      written = written && RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, data.c_str(),
                                           static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    ok(written, "a registration of 1.%u left", minor);
  }
}

int wmain(int argc, wchar_t** argv) {
  const bool removed = argc > 1 && std::wstring(argv[1]) == L"removed";
  CoInitialize(nullptr);
  test_registry(removed);
  if (!removed) {
    ITypeLib* lib = nullptr;
    HRESULT hr = LoadRegTypeLib(kLibid, 1, 2, LOCALE_NEUTRAL, &lib);
    if (SUCCEEDED(hr)) {
      BSTR name = nullptr, text = nullptr;
      lib->GetDocumentation(-1, &name, &text, nullptr, nullptr);
      ok(name && std::wstring(name) == L"Palvor" && text && std::wstring(text) == L"Palvor", "library name and text");
      SysFreeString(name);
      SysFreeString(text);
      TLIBATTR* attributes = nullptr;
      ok(lib->GetLibAttr(&attributes) == S_OK && IsEqualGUID(attributes->guid, kLibid) && attributes->wMajorVerNum == 1 &&
             attributes->wMinorVerNum == 2,
         "library 1.2");
      if (attributes) lib->ReleaseTLibAttr(attributes);
      for (const InterfaceCase& i : kInterfaces) test_interface(lib, i);
      test_events_interface(lib);
      test_coclass(lib);
      test_page_classes(lib);
      test_control(lib);
      lib->Release();
    }
    simulate_install_over_older();
  }
  CoUninitialize();
  return test::Result(removed ? "test_typelib removed" : "test_typelib");
}
