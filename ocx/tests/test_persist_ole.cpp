// Persistence of the registered control: property bag round trip, defaults, rejected values
// and the value types written; the binary form through a stream and a storage, including
// truncated and corrupt data, and the bytes saved equal to the stored forms in tests/data; the
// once-only InitNew/Load; the dirty flag.
#include "ocx/Com.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/Properties.h"
#include "ocx/Identifiers.h"
#include "ocx/tests/RecordingSink.h"
#include "ocx/tests/Test.h"

using namespace delvorin;
using namespace delvorin::ocx;
using delvorin::ocx::test::Narrow;
using delvorin::ocx::test::RecordingSink;
using delvorin::ocx::test::Wide;

namespace {

// ---- A property bag in memory: key -> VARIANT, the order of the writes, the type each read
// asked for, and keys whose Read fails. ----
struct Bag : RecordingSink<IPropertyBag> {
  Bag();
  std::map<std::wstring, VARIANT> values;
  std::vector<std::wstring> order;
  std::map<std::wstring, VARTYPE> asked;
  std::set<std::wstring> failing;

  ~Bag() {
    for (auto& v : values) VariantClear(&v.second);
  }
  void Put(const std::wstring& key, const VARIANT& v) {
    VARIANT& d = values[key];
    VariantClear(&d);
    VariantInit(&d);
    VariantCopy(&d, const_cast<VARIANT*>(&v));
  }
  const VARIANT* Value(const std::wstring& key) const {
    auto it = values.find(key);
    return it == values.end() ? nullptr : &it->second;
  }
  IPropertyBag* bag() { return &iface; }
};

Bag* impl_from_IPropertyBag(IPropertyBag* iface) { return static_cast<Bag*>(Bag::From(iface)); }

HRESULT WINAPI Bag_Read(IPropertyBag* iface, LPCOLESTR name, VARIANT* v, IErrorLog*) {
  Bag* b = impl_from_IPropertyBag(iface);
  b->Record("Read");
  if (!name || !v) return E_POINTER;
  std::wstring key(name);
  if (!b->asked.count(key)) b->asked[key] = V_VT(v);
  if (b->failing.count(key)) return E_FAIL;
  const VARIANT* stored = b->Value(key);
  if (!stored) return E_INVALIDARG;
  VariantInit(v);
  return VariantCopy(v, const_cast<VARIANT*>(stored));
}
HRESULT WINAPI Bag_Write(IPropertyBag* iface, LPCOLESTR name, VARIANT* v) {
  Bag* b = impl_from_IPropertyBag(iface);
  b->Record("Write");
  if (!name || !v) return E_POINTER;
  b->order.emplace_back(name);
  b->Put(name, *v);
  return S_OK;
}
const IPropertyBagVtbl kBagVtbl = {Bag::QueryInterface, Bag::AddRef, Bag::Release, Bag_Read, Bag_Write};
Bag::Bag() : RecordingSink(&kBagVtbl, {IID_IPropertyBag}) {}

VARIANT VI2(int16_t x) { VARIANT v; VariantInit(&v); V_VT(&v) = VT_I2; V_I2(&v) = x; return v; }
VARIANT VI4(int32_t x) { VARIANT v; VariantInit(&v); V_VT(&v) = VT_I4; V_I4(&v) = x; return v; }
VARIANT VUI1(uint8_t x) { VARIANT v; VariantInit(&v); V_VT(&v) = VT_UI1; V_UI1(&v) = x; return v; }
VARIANT VNull() { VARIANT v; VariantInit(&v); V_VT(&v) = VT_NULL; return v; }
// A BSTR variant the bag copies; the static holder keeps the text alive for the call.
VARIANT VStr(const wchar_t* s) {
  static std::vector<BSTR> live;
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = SysAllocString(s);
  live.push_back(V_BSTR(&v));
  return v;
}

// ---- The control ----

_Delvorin* Create() {
  _Delvorin* d = nullptr;
  HRESULT hr = CoCreateInstance(kClsidDelvorin, nullptr, CLSCTX_INPROC_SERVER, kIid_Delvorin, reinterpret_cast<void**>(&d));
  ok(hr == S_OK && d, "CoCreateInstance: %08lx", hr);
  return d;
}

template <typename T>
T* Interface(_Delvorin* d, REFIID iid) {
  T* p = nullptr;
  HRESULT hr = _Delvorin_QueryInterface(d, iid, reinterpret_cast<void**>(&p));
  ok(hr == S_OK && p, "QueryInterface: %08lx", hr);
  return p;
}

// A property read through IDispatch by its table entry.
VARIANT Read(_Delvorin* d, const PropertyDescription& p) {
  VARIANT r;
  VariantInit(&r);
  DISPPARAMS noArgs{nullptr, nullptr, 0, 0};
  HRESULT hr = _Delvorin_Invoke(d, p.dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &noArgs, &r, nullptr, nullptr);
  ok(hr == S_OK, "get %s: %08lx", Narrow(Wide(p.name)).c_str(), hr);
  return r;
}

// Font name, size and weight as one text, for comparing fonts of two controls.
std::wstring DescribeFont(_Delvorin* d) {
  IFontDisp* fd = nullptr;
  if (FAILED(_Delvorin_get_Font(d, &fd)) || !fd) return L"(none)";
  IFont* f = nullptr;
  std::wstring r = L"(not a font)";
  if (SUCCEEDED(IFontDisp_QueryInterface(fd, IID_IFont, reinterpret_cast<void**>(&f)))) {
    BSTR name = nullptr;
    CY size{};
    BOOL bold = FALSE;
    IFont_get_Name(f, &name);
    IFont_get_Size(f, &size);
    IFont_get_Bold(f, &bold);
    r = std::wstring(name ? name : L"") + L" " + std::to_wstring(size.int64) + (bold ? L" bold" : L"");
    SysFreeString(name);
    IFont_Release(f);
  }
  IFontDisp_Release(fd);
  return r;
}

bool SameValue(const VARIANT& a, const VARIANT& b) {
  if (V_VT(&a) != V_VT(&b)) return false;
  switch (V_VT(&a)) {
    case VT_I2: return V_I2(&a) == V_I2(&b);
    case VT_I4: return V_I4(&a) == V_I4(&b);
    case VT_UI4: return V_UI4(&a) == V_UI4(&b);
    case VT_UI1: return V_UI1(&a) == V_UI1(&b);
    case VT_BOOL: return V_BOOL(&a) == V_BOOL(&b);
    case VT_BSTR: return VarBstrCmp(V_BSTR(&a), V_BSTR(&b), LOCALE_USER_DEFAULT, 0) == static_cast<HRESULT>(VARCMP_EQ);
    case VT_CY: return V_CY(&a).int64 == V_CY(&b).int64;
    case VT_R8: return V_R8(&a) == V_R8(&b);
    case VT_DATE: return V_DATE(&a) == V_DATE(&b);
    case VT_EMPTY:
    case VT_NULL: return true;
    default: return false;
  }
}

// Every property of two controls agrees: scalars by value, the font by name, size and weight.
void CompareControls(_Delvorin* a, _Delvorin* b, const char* name) {
  for (const PropertyDescription& p : kProperties) {
    if (p.type == PropertyType::Font || p.type == PropertyType::Picture) continue;
    VARIANT va = Read(a, p), vb = Read(b, p);
    ok(SameValue(va, vb), "%s: %s differs (vt %d/%d)", name, Narrow(Wide(p.name)).c_str(), V_VT(&va), V_VT(&vb));
    VariantClear(&va);
    VariantClear(&vb);
  }
  std::wstring fa = DescribeFont(a), fb = DescribeFont(b);
  ok(fa == fb, "%s: font %s, loaded %s", name, Narrow(fa).c_str(), Narrow(fb).c_str());
}

// CnpjAlfanumerico, through the interface of 1.1.
HRESULT PutCnpj(_Delvorin* d, VARIANT_BOOL v) {
  _Delvorin11* d11 = Interface<_Delvorin11>(d, kIid_Delvorin11);
  HRESULT hr = d11 ? _Delvorin11_put_CnpjAlfanumerico(d11, v) : E_NOINTERFACE;
  if (d11) _Delvorin11_Release(d11);
  return hr;
}
VARIANT_BOOL CnpjOf(_Delvorin* d) {
  _Delvorin11* d11 = Interface<_Delvorin11>(d, kIid_Delvorin11);
  VARIANT_BOOL v = 0x1234;  // a value no getter gives
  if (d11) {
    _Delvorin11_get_CnpjAlfanumerico(d11, &v);
    _Delvorin11_Release(d11);
  }
  return v;
}

// UF, through the interface of 1.2; its value, or "?" when it cannot be read.
HRESULT PutUf(_Delvorin* d, const wchar_t* v) {
  _Delvorin12* d12 = Interface<_Delvorin12>(d, kIid_Delvorin12);
  BSTR b = SysAllocString(v);
  HRESULT hr = d12 ? _Delvorin12_put_UF(d12, b) : E_NOINTERFACE;
  SysFreeString(b);
  if (d12) _Delvorin12_Release(d12);
  return hr;
}
std::wstring UfOf(_Delvorin* d) {
  _Delvorin12* d12 = Interface<_Delvorin12>(d, kIid_Delvorin12);
  BSTR b = nullptr;
  std::wstring r = L"?";
  if (d12 && SUCCEEDED(_Delvorin12_get_UF(d12, &b))) r = b ? std::wstring(b, SysStringLen(b)) : L"";
  SysFreeString(b);
  if (d12) _Delvorin12_Release(d12);
  return r;
}

// A control with every persisted property away from its default.
_Delvorin* CreateConfigured() {
  _Delvorin* d = Create();
  if (!d) return nullptr;
  IPersistStreamInit* ps = Interface<IPersistStreamInit>(d, IID_IPersistStreamInit);
  ok(IPersistStreamInit_InitNew(ps) == S_OK, "InitNew");
  IPersistStreamInit_Release(ps);
  FONTDESC fd{sizeof(FONTDESC), const_cast<LPOLESTR>(L"Arial"), {{120000, 0}}, FW_BOLD, ANSI_CHARSET, FALSE, FALSE, FALSE};
  IFontDisp* font = nullptr;
  ok(OleCreateFontIndirect(&fd, IID_IFontDisp, reinterpret_cast<void**>(&font)) == S_OK, "OleCreateFontIndirect");
  BSTR text = SysAllocString(L"1234,5"), password = SysAllocString(L"*");
  const HRESULT results[] = {
      _Delvorin_put_Tipo(d, 0), _Delvorin_put_Alignment(d, 2), _Delvorin_put_BackColor(d, 0x00ff00),
      _Delvorin_put_BorderStyle(d, 0), _Delvorin_put_Enabled(d, VARIANT_FALSE), _Delvorin_putref_Font(d, font),
      _Delvorin_put_ForeColor(d, 0x0000ff), _Delvorin_put_Locked(d, VARIANT_TRUE), _Delvorin_put_MaxLength(d, 20),
      _Delvorin_put_Text(d, text), _Delvorin_put_Appearance(d, 0), _Delvorin_put_Negativo(d, VARIANT_TRUE),
      _Delvorin_put_TravaCpf(d, VARIANT_TRUE), _Delvorin_put_Digitos(d, 3), _Delvorin_put_MSGcpf(d, VARIANT_FALSE),
      _Delvorin_put_PasswordChar(d, password), _Delvorin_put_MousePointer(d, 2), _Delvorin_put_Aspas(d, VARIANT_TRUE),
      _Delvorin_put_TC_Trim(d, VARIANT_TRUE), _Delvorin_put_Usar_Enter(d, VARIANT_FALSE),
      _Delvorin_put_usar_parenteses(d, VARIANT_FALSE), PutCnpj(d, VARIANT_FALSE), PutUf(d, L"sp"),
  };
  for (size_t i = 0; i < sizeof results / sizeof *results; ++i) ok(results[i] == S_OK, "put #%u: %08lx", unsigned(i), results[i]);
  SysFreeString(text);
  SysFreeString(password);
  if (font) IFontDisp_Release(font);
  return d;
}

// Load and Save through IPersistPropertyBag; the control keeps no reference to the bag.
HRESULT LoadFromBag(_Delvorin* d, Bag& bag) {
  IPersistPropertyBag* pb = Interface<IPersistPropertyBag>(d, IID_IPersistPropertyBag);
  if (!pb) return E_NOINTERFACE;
  HRESULT hr = IPersistPropertyBag_Load(pb, bag.bag(), nullptr);
  IPersistPropertyBag_Release(pb);
  ok(bag.ref == 1, "the bag released after Load: %ld", bag.ref);
  return hr;
}

HRESULT SaveToBag(_Delvorin* d, Bag& bag, BOOL clearDirty) {
  IPersistPropertyBag* pb = Interface<IPersistPropertyBag>(d, IID_IPersistPropertyBag);
  if (!pb) return E_NOINTERFACE;
  HRESULT hr = IPersistPropertyBag_Save(pb, bag.bag(), clearDirty, TRUE);
  IPersistPropertyBag_Release(pb);
  ok(bag.ref == 1, "the bag released after Save: %ld", bag.ref);
  return hr;
}

// The bytes of a saved control in the binary form.
std::vector<uint8_t> SavedBytes(_Delvorin* d) {
  std::vector<uint8_t> r;
  IPersistStreamInit* ps = Interface<IPersistStreamInit>(d, IID_IPersistStreamInit);
  IStream* s = nullptr;
  if (!ps || FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &s))) return r;
  HRESULT hr = IPersistStreamInit_Save(ps, s, FALSE);
  ok(hr == S_OK, "Save to stream: %08lx", hr);
  STATSTG st{};
  IStream_Stat(s, &st, STATFLAG_NONAME);
  r.resize(static_cast<size_t>(st.cbSize.QuadPart));
  LARGE_INTEGER zero{};
  IStream_Seek(s, zero, STREAM_SEEK_SET, nullptr);
  ULONG fetched = 0;
  if (!r.empty()) IStream_Read(s, r.data(), static_cast<ULONG>(r.size()), &fetched);
  ok(fetched == r.size(), "stream read back: %lu of %u", fetched, unsigned(r.size()));
  IStream_Release(s);
  IPersistStreamInit_Release(ps);
  return r;
}

IStream* StreamOf(const std::vector<uint8_t>& bytes) {
  IStream* s = nullptr;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &s))) return nullptr;
  ULONG written = 0;
  if (!bytes.empty()) IStream_Write(s, bytes.data(), static_cast<ULONG>(bytes.size()), &written);
  LARGE_INTEGER zero{};
  IStream_Seek(s, zero, STREAM_SEEK_SET, nullptr);
  return s;
}

HRESULT LoadBytes(_Delvorin* d, const std::vector<uint8_t>& bytes) {
  IPersistStreamInit* ps = Interface<IPersistStreamInit>(d, IID_IPersistStreamInit);
  IStream* s = StreamOf(bytes);
  HRESULT hr = ps && s ? IPersistStreamInit_Load(ps, s) : E_FAIL;
  if (s) IStream_Release(s);
  if (ps) IPersistStreamInit_Release(ps);
  return hr;
}

uint8_t TipoOf(_Delvorin* d) {
  unsigned char t = 0xff;
  _Delvorin_get_Tipo(d, &t);
  return t;
}

// ---- The tests ----

void test_interfaces() {
  _Delvorin* d = Create();
  if (!d) return;
  IPersistStreamInit* psi = Interface<IPersistStreamInit>(d, IID_IPersistStreamInit);
  IPersist* p = Interface<IPersist>(d, IID_IPersist);
  ok(static_cast<void*>(p) == static_cast<void*>(psi), "IPersist is IPersistStreamInit");
  // IPersistStream shares IPersistStreamInit's vtable (its first methods are the same).
  IPersistStream* ps = Interface<IPersistStream>(d, IID_IPersistStream);
  ok(static_cast<void*>(ps) == static_cast<void*>(psi), "IPersistStream is IPersistStreamInit");
  if (ps) IPersistStream_Release(ps);

  // A failing write leaves its description for vtable-bound callers.
  ISupportErrorInfo* sei = Interface<ISupportErrorInfo>(d, IID_ISupportErrorInfo);
  ok(sei && ISupportErrorInfo_InterfaceSupportsErrorInfo(sei, kIid_Delvorin) == S_OK &&
         ISupportErrorInfo_InterfaceSupportsErrorInfo(sei, IID_IOleObject) == S_FALSE,
     "error information on _Delvorin only");
  if (sei) ISupportErrorInfo_Release(sei);
  SetErrorInfo(0, nullptr);
  ok(_Delvorin_put_Alignment(d, 7) == CTL_E_INVALIDPROPERTYVALUE, "Alignment 7 refused");
  IErrorInfo* info = nullptr;
  BSTR description = nullptr;
  ok(GetErrorInfo(0, &info) == S_OK && info && IErrorInfo_GetDescription(info, &description) == S_OK && description &&
         std::wstring(description) == L"Invalid property value",
     "its description: %ls", description ? description : L"(none)");
  SysFreeString(description);
  if (info) IErrorInfo_Release(info);

  IPersistPropertyBag* pb = Interface<IPersistPropertyBag>(d, IID_IPersistPropertyBag);
  IPersistStorage* pst = Interface<IPersistStorage>(d, IID_IPersistStorage);
  // Every persistence interface answers for the same object and names the control's class.
  IPersist* all[] = {p, reinterpret_cast<IPersist*>(pb), reinterpret_cast<IPersist*>(pst)};
  for (IPersist* i : all) {
    CLSID c{};
    ok(i && IPersist_GetClassID(i, &c) == S_OK && IsEqualCLSID(c, kClsidDelvorin), "GetClassID");
    ok(i && IPersist_GetClassID(i, nullptr) == E_POINTER, "GetClassID(null)");
    IUnknown* u = nullptr;
    ok(i && IPersist_QueryInterface(i, IID_IUnknown, reinterpret_cast<void**>(&u)) == S_OK &&
           static_cast<void*>(u) == static_cast<void*>(d), "QueryInterface(IUnknown) gives the object");
    if (u) IUnknown_Release(u);
  }
  ok(IPersistPropertyBag_Load(pb, nullptr, nullptr) == E_POINTER, "Load(null bag)");
  ok(IPersistStreamInit_Load(psi, nullptr) == E_POINTER, "Load(null stream)");
  ok(IPersistStorage_Load(pst, nullptr) == E_POINTER, "Load(null storage)");
  IPersistStorage_Release(pst);
  IPersistPropertyBag_Release(pb);
  IPersist_Release(p);
  IPersistStreamInit_Release(psi);
  ok(_Delvorin_Release(d) == 0, "control released");
}

void test_bag_round_trip() {
  _Delvorin* a = CreateConfigured();
  _Delvorin* b = Create();
  if (!a || !b) return;
  Bag bag;
  HRESULT hr = SaveToBag(a, bag, TRUE);
  ok(hr == S_OK, "Save to bag: %08lx", hr);

  // Keys in table order, the persisted ones; MouseIcon is null and not written.
  std::vector<std::wstring> expected;
  for (const PropertyDescription& p : kProperties)
    if (p.persisted && p.id != Property::MouseIcon) expected.push_back(Wide(p.name));
  ok(bag.order == expected, "keys written: %u, expected %u in table order", unsigned(bag.order.size()), unsigned(expected.size()));

  const struct {
    const wchar_t* key;
    VARTYPE type;
  } tipos[] = {
      {L"Alignment", VT_I2}, {L"BackColor", VT_I4}, {L"Enabled", VT_BOOL}, {L"Font", VT_DISPATCH},
      {L"MaxLength", VT_I4}, {L"Text", VT_BSTR},   {L"Tipo", VT_UI1},     {L"Negativo", VT_BOOL},
      {L"Digitos", VT_UI1},  {L"PasswordChar", VT_BSTR}, {L"MousePointer", VT_I2}, {L"UF", VT_BSTR},
  };
  for (const auto& t : tipos) {
    const VARIANT* v = bag.Value(t.key);
    ok(v && V_VT(v) == t.type, "%s written as vt %d, expected %d", Narrow(t.key).c_str(), v ? V_VT(v) : -1, t.type);
  }
  const VARIANT* type = bag.Value(L"Tipo");
  ok(type && V_VT(type) == VT_UI1 && V_UI1(type) == 0, "Tipo written as 0");
  const VARIANT* uf = bag.Value(L"UF");
  ok(uf && V_VT(uf) == VT_BSTR && std::wstring(V_BSTR(uf)) == L"SP", "UF written in capitals");
  const VARIANT* max = bag.Value(L"MaxLength");
  ok(max && V_VT(max) == VT_I4 && V_I4(max) == 20, "MaxLength written as 20");

  hr = LoadFromBag(b, bag);
  ok(hr == S_OK, "Load from bag: %08lx", hr);
  CompareControls(a, b, "bag");
  // Objects are asked of the bag as IDispatch.
  ok(bag.asked[L"Font"] == VT_DISPATCH, "Font read asked for vt %d", bag.asked[L"Font"]);
  _Delvorin_Release(b);
  _Delvorin_Release(a);
}

void test_defaults() {
  _Delvorin* d = Create();
  if (!d) return;
  Bag emptyBag;
  PutCnpj(d, VARIANT_FALSE);  // the load gives it back its default
  HRESULT hr = LoadFromBag(d, emptyBag);
  ok(hr == S_OK, "Load from an empty bag: %08lx", hr);
  const struct {
    Property p;
    VARTYPE type;
    int32_t value;
    const wchar_t* text = nullptr;  // the value of a text
  } defaults[] = {
      {Property::Tipo, VT_UI1, 4},        {Property::Digitos, VT_UI1, 2},     {Property::MSGcpf, VT_BOOL, -1},
      {Property::Usar_Enter, VT_BOOL, -1}, {Property::usar_parenteses, VT_BOOL, -1}, {Property::Alignment, VT_I2, 0},
      {Property::BorderStyle, VT_I2, 1},   {Property::Appearance, VT_I2, 1},   {Property::MaxLength, VT_I4, 0},
      {Property::Negativo, VT_BOOL, 0},    {Property::Enabled, VT_BOOL, -1},   {Property::Locked, VT_BOOL, 0},
      {Property::CnpjAlfanumerico, VT_BOOL, -1}, {Property::UF, VT_BSTR, 0, L""},
      {Property::Valido, VT_BOOL, -1},     {Property::Mascara, VT_BSTR, 0, L""}, {Property::NomeAcessivel, VT_BSTR, 0, L""},
  };
  for (const auto& e : defaults) {
    const PropertyDescription& p = DescriptionOf(e.p);
    VARIANT v = Read(d, p);
    VARIANT i4;
    VariantInit(&i4);
    bool same = V_VT(&v) == e.type && (e.text ? std::wstring(V_BSTR(&v), SysStringLen(V_BSTR(&v))) == e.text
                                              : SUCCEEDED(VariantChangeType(&i4, &v, 0, VT_I4)) && V_I4(&i4) == e.value);
    ok(same, "default %s: vt %d", Narrow(Wide(p.name)).c_str(), V_VT(&v));
    VariantClear(&v);
  }
  BSTR text = nullptr;
  ok(_Delvorin_get_Text(d, &text) == S_OK && text && text[0] == 0, "default Text empty");
  SysFreeString(text);
  size_t persisted = 0;
  for (const PropertyDescription& p : kProperties) persisted += p.persisted;
  ok(emptyBag.asked.size() == persisted, "every persisted key read: %u", unsigned(emptyBag.asked.size()));
  _Delvorin_Release(d);
}

// Single stored values: accepted with the value read back, or refused with an error.
void test_single_values_loaded() {
  const struct {
    const char* name;
    const wchar_t* key;
    VARIANT value;
    bool accepted;
    Property p;
    int32_t expected;              // when accepted, as I4
    const wchar_t* text = nullptr;  // when accepted, a text's value
  } cases[] = {
      {"Tipo 300 overflows", L"Tipo", VI4(300), false, Property::Tipo, 0},
      {"Tipo -1 overflows", L"Tipo", VI2(-1), false, Property::Tipo, 0},
      {"Tipo as text", L"Tipo", VStr(L"7"), true, Property::Tipo, 7},
      {"Tipo not a number", L"Tipo", VStr(L"abc"), false, Property::Tipo, 0},
      {"Tipo 12 as I4", L"Tipo", VI4(12), true, Property::Tipo, 12},
      {"Alignment 5", L"Alignment", VI2(5), false, Property::Alignment, 0},
      {"Alignment 2", L"Alignment", VI2(2), true, Property::Alignment, 2},
      {"BorderStyle 2", L"BorderStyle", VI2(2), false, Property::BorderStyle, 0},
      {"Negativo as I2", L"Negativo", VI2(-1), true, Property::Negativo, -1},
      {"Digitos 9", L"Digitos", VUI1(9), true, Property::Digitos, 9},
      {"MaxLength 70000", L"MaxLength", VI4(70000), true, Property::MaxLength, 70000},
      {"UF in lower case", L"UF", VStr(L"rj"), true, Property::UF, 0, L"RJ"},
      {"UF empty", L"UF", VStr(L""), true, Property::UF, 0, L""},
      {"UF Null", L"UF", VNull(), true, Property::UF, 0, L""},
      {"UF not a state", L"UF", VStr(L"XX"), false, Property::UF, 0},
      {"UF with a space", L"UF", VStr(L"SP "), false, Property::UF, 0},
      {"UF as a number", L"UF", VI4(35), false, Property::UF, 0},
      {"Mascara", L"Mascara", VStr(L">LL-0000"), true, Property::Mascara, 0, L">LL-0000"},
      {"Mascara ending in an escape", L"Mascara", VStr(L"00\\"), false, Property::Mascara, 0},
      {"NomeAcessivel", L"NomeAcessivel", VStr(L"CPF do cliente"), true, Property::NomeAcessivel, 0, L"CPF do cliente"},
      {"NomeAcessivel as a number", L"NomeAcessivel", VI4(7), true, Property::NomeAcessivel, 0, L"7"},
  };
  for (const auto& c : cases) {
    _Delvorin* d = Create();
    if (!d) return;
    Bag bag;
    bag.Put(c.key, c.value);
    HRESULT hr = LoadFromBag(d, bag);
    if (!c.accepted) {
      ok(FAILED(hr), "%s: Load %08lx", c.name, hr);
    } else {
      ok(hr == S_OK, "%s: Load %08lx", c.name, hr);
      VARIANT v = Read(d, DescriptionOf(c.p));
      VARIANT i4;
      VariantInit(&i4);
      if (c.text)
        ok(V_VT(&v) == VT_BSTR && std::wstring(V_BSTR(&v), SysStringLen(V_BSTR(&v))) == c.text, "%s: vt %d", c.name, V_VT(&v));
      else
        ok(SUCCEEDED(VariantChangeType(&i4, &v, 0, VT_I4)) && V_I4(&i4) == c.expected, "%s: value %ld", c.name, V_I4(&i4));
      VariantClear(&v);
    }
    _Delvorin_Release(d);
  }
}

// An overflow is reported as such, numbered as the control's other overflows.
void test_overflow_reported() {
  _Delvorin* d = Create();
  Bag bag;
  bag.Put(L"Tipo", VI4(300));
  HRESULT hr = d ? LoadFromBag(d, bag) : E_FAIL;
  ok(hr == MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 6), "Tipo 300: %08lx", hr);
  // A failed load leaves the object uninitialised: a good load may follow.
  Bag good;
  good.Put(L"Tipo", VUI1(6));
  hr = d ? LoadFromBag(d, good) : E_FAIL;
  ok(hr == S_OK && TipoOf(d) == 6, "load after a failed load: %08lx", hr);
  if (d) _Delvorin_Release(d);
}

// Text is loaded as stored, not formatted by Tipo 0.
void test_text_loaded_as_stored() {
  _Delvorin* d = Create();
  Bag text;
  text.Put(L"Tipo", VUI1(0));
  text.Put(L"Text", VStr(L"1234,5"));
  HRESULT hr = d ? LoadFromBag(d, text) : E_FAIL;
  BSTR readBack = nullptr;
  ok(hr == S_OK && _Delvorin_get_Text(d, &readBack) == S_OK && readBack && !wcscmp(readBack, L"1234,5"), "Text loaded unchanged: %s",
     readBack ? Narrow(readBack).c_str() : "(null)");
  SysFreeString(readBack);
  if (d) _Delvorin_Release(d);
}

// A key whose Read fails takes its default.
void test_failing_read_gives_default() {
  _Delvorin* d = Create();
  Bag failing;
  failing.Put(L"Digitos", VUI1(5));
  failing.Put(L"Tipo", VUI1(9));
  failing.failing.insert(L"Digitos");
  HRESULT hr = d ? LoadFromBag(d, failing) : E_FAIL;
  unsigned char digits = 0;
  ok(hr == S_OK && _Delvorin_get_Digitos(d, &digits) == S_OK && digits == 2 && TipoOf(d) == 9,
     "failing Read gives the default: %08lx, Digitos %u", hr, digits);
  if (d) _Delvorin_Release(d);
}

// Single stored values: accepted with the value read back, or refused with an error.
void test_values_loaded() {
  test_single_values_loaded();
  test_overflow_reported();
  test_text_loaded_as_stored();
  test_failing_read_gives_default();
}

void test_stream() {
  _Delvorin* a = CreateConfigured();
  _Delvorin* b = Create();
  if (!a || !b) return;
  IPersistStreamInit* pa = Interface<IPersistStreamInit>(a, IID_IPersistStreamInit);
  IStream* s = nullptr;
  ok(CreateStreamOnHGlobal(nullptr, TRUE, &s) == S_OK, "CreateStreamOnHGlobal");
  HRESULT hr = IPersistStreamInit_Save(pa, s, TRUE);
  ok(hr == S_OK, "Save: %08lx", hr);
  ULARGE_INTEGER end{}, size{};
  LARGE_INTEGER zero{};
  IStream_Seek(s, zero, STREAM_SEEK_CUR, &end);
  ok(IPersistStreamInit_GetSizeMax(pa, &size) == S_OK && size.QuadPart >= end.QuadPart,
     "GetSizeMax %lu for %lu bytes", ULONG(size.QuadPart), ULONG(end.QuadPart));
  // What follows our data in the stream is left for the container.
  ULONG written = 0;
  IStream_Write(s, "resto", 5, &written);
  IStream_Seek(s, zero, STREAM_SEEK_SET, nullptr);

  IPersistStreamInit* pb = Interface<IPersistStreamInit>(b, IID_IPersistStreamInit);
  hr = IPersistStreamInit_Load(pb, s);
  ok(hr == S_OK, "Load: %08lx", hr);
  ULARGE_INTEGER after{};
  IStream_Seek(s, zero, STREAM_SEEK_CUR, &after);
  ok(after.QuadPart == end.QuadPart, "Load stops at %lu, saved %lu", ULONG(after.QuadPart), ULONG(end.QuadPart));
  CompareControls(a, b, "stream");
  ok(IPersistStreamInit_IsDirty(pb) == S_FALSE, "loaded control not dirty");
  ok(IPersistStreamInit_IsDirty(pa) == S_FALSE, "saved control not dirty after clearing");

  IStream_Release(s);
  IPersistStreamInit_Release(pb);
  IPersistStreamInit_Release(pa);
  _Delvorin_Release(b);
  _Delvorin_Release(a);
}

// The OLE helpers write the class id before the data and create the object back from it.
void test_ole_stream() {
  _Delvorin* a = CreateConfigured();
  if (!a) return;
  IPersistStream* pa = Interface<IPersistStream>(a, IID_IPersistStream);
  IStream* s = nullptr;
  ok(CreateStreamOnHGlobal(nullptr, TRUE, &s) == S_OK, "CreateStreamOnHGlobal");
  HRESULT hr = pa && s ? OleSaveToStream(pa, s) : E_FAIL;
  ok(hr == S_OK, "OleSaveToStream: %08lx", hr);
  LARGE_INTEGER zero{};
  if (s) IStream_Seek(s, zero, STREAM_SEEK_SET, nullptr);
  CLSID cls{};
  ok(s && ReadClassStm(s, &cls) == S_OK && IsEqualCLSID(cls, kClsidDelvorin), "the stream starts with the class id");
  if (s) IStream_Seek(s, zero, STREAM_SEEK_SET, nullptr);
  _Delvorin* b = reinterpret_cast<_Delvorin*>(0xdeadbeef);
  hr = s ? OleLoadFromStream(s, kIid_Delvorin, reinterpret_cast<void**>(&b)) : E_FAIL;
  ok(hr == S_OK && b != reinterpret_cast<_Delvorin*>(0xdeadbeef) && b, "OleLoadFromStream: %08lx", hr);
  if (hr == S_OK && b) {
    CompareControls(a, b, "OleLoadFromStream");
    ok(_Delvorin_Release(b) == 0, "loaded control released");
  }
  // A stream cut after the class id fails without an object.
  if (s) {
    ULARGE_INTEGER size{};
    size.QuadPart = sizeof(CLSID) + 6;
    IStream_SetSize(s, size);
    IStream_Seek(s, zero, STREAM_SEEK_SET, nullptr);
    IUnknown* none = nullptr;
    hr = OleLoadFromStream(s, IID_IUnknown, reinterpret_cast<void**>(&none));
    ok(FAILED(hr), "OleLoadFromStream of a truncated stream: %08lx", hr);
    // Wine's helper hands back the object whose Load failed; it must still release cleanly.
    if (none) ok(IUnknown_Release(none) == 0, "object of the failed load released");
    IStream_Release(s);
  }
  if (pa) IPersistStream_Release(pa);
  _Delvorin_Release(a);
}

void test_storage() {
  _Delvorin* a = CreateConfigured();
  _Delvorin* b = Create();
  _Delvorin* blank = Create();
  if (!a || !b || !blank) return;
  ILockBytes* bytes = nullptr;
  IStorage* stg = nullptr;
  ok(CreateILockBytesOnHGlobal(nullptr, TRUE, &bytes) == S_OK, "CreateILockBytesOnHGlobal");
  HRESULT hr = StgCreateDocfileOnILockBytes(bytes, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, &stg);
  ok(hr == S_OK && stg, "StgCreateDocfileOnILockBytes: %08lx", hr);
  if (!stg) return;

  // A storage without our stream is refused.
  IPersistStorage* pv = Interface<IPersistStorage>(blank, IID_IPersistStorage);
  hr = IPersistStorage_Load(pv, stg);
  ok(FAILED(hr), "Load of an empty storage: %08lx", hr);
  IPersistStorage_Release(pv);

  IPersistStorage* pa = Interface<IPersistStorage>(a, IID_IPersistStorage);
  hr = IPersistStorage_Save(pa, stg, TRUE);
  ok(hr == S_OK, "Save to storage: %08lx", hr);
  ok(IPersistStorage_SaveCompleted(pa, nullptr) == S_OK, "SaveCompleted");
  ok(IPersistStorage_HandsOffStorage(pa) == S_OK, "HandsOffStorage");
  CLSID c{};
  ok(ReadClassStg(stg, &c) == S_OK && IsEqualCLSID(c, kClsidDelvorin), "class of the storage");
  IStream* contents = nullptr;
  hr = IStorage_OpenStream(stg, L"Contents", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &contents);
  ok(hr == S_OK, "stream Contents: %08lx", hr);
  if (contents) IStream_Release(contents);
  // Saving twice replaces the stream.
  ok(IPersistStorage_Save(pa, stg, TRUE) == S_OK, "second Save");

  IPersistStorage* pb = Interface<IPersistStorage>(b, IID_IPersistStorage);
  hr = IPersistStorage_Load(pb, stg);
  ok(hr == S_OK, "Load from storage: %08lx", hr);
  CompareControls(a, b, "storage");
  ok(IPersistStorage_IsDirty(pb) == S_FALSE, "IsDirty after Load");

  IPersistStorage_Release(pb);
  IPersistStorage_Release(pa);
  IStorage_Release(stg);
  ILockBytes_Release(bytes);
  _Delvorin_Release(blank);
  _Delvorin_Release(b);
  _Delvorin_Release(a);
}

// Builds data in the binary form by hand.
struct Constructor {
  std::vector<uint8_t> b;
  Constructor& Bytes(const void* p, size_t n) {
    const auto* u = static_cast<const uint8_t*>(p);
    b.insert(b.end(), u, u + n);
    return *this;
  }
  template <typename T>
  Constructor& V(T v) { return Bytes(&v, sizeof v); }
  Constructor& Header(uint32_t n, uint32_t version = 1) { return Bytes("DLV2", 4).V(version).V(n); }
  Constructor& Key(const wchar_t* k) {
    V(static_cast<uint16_t>(wcslen(k)));
    for (const wchar_t* p = k; *p; ++p) V(static_cast<uint16_t>(*p));
    return *this;
  }
};

// Every proper prefix fails; the failures leave the object untouched and unloaded.
void test_truncated_data_refused(_Delvorin* a, const std::vector<uint8_t>& saved) {
  _Delvorin* d = Create();
  if (!d) return;
  size_t acceptedCount = 0;
  for (size_t n = 0; n < saved.size(); ++n) {
    std::vector<uint8_t> prefix(saved.begin(), saved.begin() + static_cast<std::ptrdiff_t>(n));
    if (SUCCEEDED(LoadBytes(d, prefix))) ++acceptedCount;
  }
  ok(acceptedCount == 0, "%u of %u truncated streams loaded", unsigned(acceptedCount), unsigned(saved.size()));
  ok(TipoOf(d) == 4, "failed loads changed Tipo to %u", TipoOf(d));
  ok(LoadBytes(d, saved) == S_OK, "the whole stream loads after the failures");
  CompareControls(a, d, "after truncated loads");
  _Delvorin_Release(d);
}

// Each flipped bit of the magic or the version is refused.
void test_corrupt_header_refused(const std::vector<uint8_t>& saved) {
  size_t acceptedHeaders = 0;
  for (size_t i = 0; i < 8 * 8; ++i) {
    std::vector<uint8_t> v = saved;
    v[i / 8] ^= static_cast<uint8_t>(1u << (i % 8));
    _Delvorin* e = Create();
    if (e && SUCCEEDED(LoadBytes(e, v))) ++acceptedHeaders;
    if (e) _Delvorin_Release(e);
  }
  ok(acceptedHeaders == 0, "%u corrupt headers loaded", unsigned(acceptedHeaders));
}

// Garbage after the magic.
void test_garbage_refused(const std::vector<uint8_t>& saved) {
  uint32_t seed = 12345;
  size_t acceptedGarbage = 0;
  for (int round = 0; round < 20; ++round) {
    std::vector<uint8_t> v(saved.begin(), saved.begin() + 4);
    for (int i = 0; i < 200; ++i) {
      seed = seed * 1103515245u + 12345u;
      v.push_back(static_cast<uint8_t>(seed >> 16));
    }
    _Delvorin* e = Create();
    if (e && SUCCEEDED(LoadBytes(e, v))) ++acceptedGarbage;
    if (e) _Delvorin_Release(e);
  }
  ok(acceptedGarbage == 0, "%u garbage streams loaded", unsigned(acceptedGarbage));
}

// Hand-built data: well-formed entries load, inconsistent ones are refused.
void test_hand_built_data() {
  CLSID foreign = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
  const struct {
    const char* name;
    Constructor data;
    bool accepted;
    uint8_t type;  // Tipo after a good load
  } cases[] = {
      {"no entries", Constructor().Header(0), true, 4},
      {"Tipo 7", Constructor().Header(1).Key(L"Tipo").V<uint8_t>(3).V<uint8_t>(7), true, 7},
      {"Tipo as I4", Constructor().Header(1).Key(L"Tipo").V<uint8_t>(2).V<int32_t>(11), true, 11},
      {"unknown key ignored", Constructor().Header(1).Key(L"Outra").V<uint8_t>(1).V<int16_t>(1), true, 4},
      {"UF in lower case", Constructor().Header(1).Key(L"UF").V<uint8_t>(7).V<uint32_t>(2).V<uint16_t>('s').V<uint16_t>('c'), true, 4},
      {"UF not a state", Constructor().Header(1).Key(L"UF").V<uint8_t>(7).V<uint32_t>(2).V<uint16_t>('X').V<uint16_t>('X'), false, 0},
      {"UF as a number", Constructor().Header(1).Key(L"UF").V<uint8_t>(2).V<int32_t>(35), false, 0},
      {"Mascara ending in an escape",
       Constructor().Header(1).Key(L"Mascara").V<uint8_t>(7).V<uint32_t>(2).V<uint16_t>('0').V<uint16_t>('\\'), false, 0},
      {"Tipo 300", Constructor().Header(1).Key(L"Tipo").V<uint8_t>(2).V<int32_t>(300), false, 0},
      {"version 2", Constructor().Header(0, 2), false, 0},
      {"unknown tag", Constructor().Header(1).Key(L"Tipo").V<uint8_t>(42).V<uint8_t>(7), false, 0},
      {"empty key", Constructor().Header(1).V<uint16_t>(0).V<uint8_t>(3).V<uint8_t>(7), false, 0},
      {"key of 65", Constructor().Header(1).V<uint16_t>(65).Bytes(std::vector<uint8_t>(130, 'a').data(), 130).V<uint8_t>(0), false, 0},
      {"key longer than the data", Constructor().Header(1).V<uint16_t>(60).V<uint16_t>('T'), false, 0},
      {"huge text", Constructor().Header(1).Key(L"Text").V<uint8_t>(7).V<uint32_t>(0xffffffffu), false, 0},
      {"text longer than the data", Constructor().Header(1).Key(L"Text").V<uint8_t>(7).V<uint32_t>(1000).V<uint16_t>('x'), false, 0},
      {"huge object", Constructor().Header(1).Key(L"Font").V<uint8_t>(9).V<uint32_t>(0x7fffffffu), false, 0},
      {"object of another class", Constructor().Header(1).Key(L"Font").V<uint8_t>(9).V<uint32_t>(sizeof(CLSID) + 4).V(foreign).V<uint32_t>(0), false, 0},
      {"object too short", Constructor().Header(1).Key(L"Font").V<uint8_t>(9).V<uint32_t>(3).V<uint8_t>(1).V<uint8_t>(2).V<uint8_t>(3), false, 0},
      {"font cut short", Constructor().Header(1).Key(L"Font").V<uint8_t>(9).V<uint32_t>(sizeof(CLSID) + 2).V(CLSID_StdFont).V<uint16_t>(1), false, 0},
      {"repeated key", Constructor().Header(2).Key(L"Tipo").V<uint8_t>(3).V<uint8_t>(7).Key(L"Tipo").V<uint8_t>(3).V<uint8_t>(8), false, 0},
      {"count beyond the entries", Constructor().Header(3).Key(L"Tipo").V<uint8_t>(3).V<uint8_t>(7), false, 0},
      {"huge count", Constructor().Header(0xffffffffu), false, 0},
  };
  for (const auto& c : cases) {
    _Delvorin* e = Create();
    if (!e) return;
    HRESULT hr = LoadBytes(e, c.data.b);
    if (c.accepted)
      ok(hr == S_OK && TipoOf(e) == c.type, "%s: %08lx, Tipo %u", c.name, hr, TipoOf(e));
    else
      ok(FAILED(hr), "%s: %08lx", c.name, hr);
    _Delvorin_Release(e);
  }
}

// A well-formed object of a class other than a font or picture (a file moniker) is refused:
// the data never chooses what the control instantiates.
void test_foreign_object_refused() {
  IMoniker* moniker = nullptr;
  IStream* s = nullptr;
  std::vector<uint8_t> object;
  if (SUCCEEDED(CreateFileMoniker(L"C:\\x.txt", &moniker)) && SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &s)) &&
      SUCCEEDED(OleSaveToStream(reinterpret_cast<IPersistStream*>(moniker), s))) {
    ULARGE_INTEGER end{};
    IStream_Seek(s, LARGE_INTEGER{}, STREAM_SEEK_CUR, &end);
    object.resize(static_cast<size_t>(end.QuadPart));
    IStream_Seek(s, LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
    ULONG fetched = 0;
    IStream_Read(s, object.data(), static_cast<ULONG>(object.size()), &fetched);
  }
  if (s) IStream_Release(s);
  if (moniker) IMoniker_Release(moniker);
  ok(object.size() > sizeof(CLSID), "file moniker saved: %u bytes", unsigned(object.size()));
  Constructor m;
  m.Header(1).Key(L"MouseIcon").V<uint8_t>(9).V(static_cast<uint32_t>(object.size())).Bytes(object.data(), object.size());
  _Delvorin* e = Create();
  HRESULT hr = e ? LoadBytes(e, m.b) : S_OK;
  ok(FAILED(hr), "moniker as MouseIcon: %08lx", hr);
  if (e) _Delvorin_Release(e);
}

// Truncated, corrupt and hand-built data in the binary form.
void test_corrupt_data() {
  _Delvorin* a = CreateConfigured();
  if (!a) return;
  const std::vector<uint8_t> saved = SavedBytes(a);
  ok(saved.size() > 12 && !memcmp(saved.data(), "DLV2", 4), "saved data starts with the magic");
  test_truncated_data_refused(a, saved);
  test_corrupt_header_refused(saved);
  test_garbage_refused(saved);
  test_hand_built_data();
  test_foreign_object_refused();
  _Delvorin_Release(a);
}

// InitNew and Load are accepted once, through whichever interface comes first.
void test_initialised_once() {
  enum First { kBagInit, kBagLoad, kStreamInit, kStreamLoad, kStorageInit };
  const First firsts[] = {kBagInit, kBagLoad, kStreamInit, kStreamLoad, kStorageInit};
  ILockBytes* bytes = nullptr;
  IStorage* stg = nullptr;
  CreateILockBytesOnHGlobal(nullptr, TRUE, &bytes);
  if (bytes) StgCreateDocfileOnILockBytes(bytes, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, &stg);
  ok(stg != nullptr, "storage");
  std::vector<uint8_t> blank = Constructor().Header(0).b;
  for (First p : firsts) {
    _Delvorin* d = Create();
    if (!d || !stg) return;
    IPersistPropertyBag* pb = Interface<IPersistPropertyBag>(d, IID_IPersistPropertyBag);
    IPersistStreamInit* ps = Interface<IPersistStreamInit>(d, IID_IPersistStreamInit);
    IPersistStorage* pt = Interface<IPersistStorage>(d, IID_IPersistStorage);
    Bag bag;
    IStream* s = StreamOf(blank);
    HRESULT hr = E_FAIL;
    switch (p) {
      case kBagInit: hr = IPersistPropertyBag_InitNew(pb); break;
      case kBagLoad: hr = IPersistPropertyBag_Load(pb, bag.bag(), nullptr); break;
      case kStreamInit: hr = IPersistStreamInit_InitNew(ps); break;
      case kStreamLoad: hr = IPersistStreamInit_Load(ps, s); break;
      case kStorageInit: hr = IPersistStorage_InitNew(pt, stg); break;
    }
    ok(hr == S_OK, "first initialisation %d: %08lx", p, hr);
    IStream_Seek(s, LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
    const HRESULT seconds[] = {
        IPersistPropertyBag_InitNew(pb), IPersistPropertyBag_Load(pb, bag.bag(), nullptr),
        IPersistStreamInit_InitNew(ps),  IPersistStreamInit_Load(ps, s),
        IPersistStorage_InitNew(pt, stg), IPersistStorage_Load(pt, stg),
    };
    for (size_t i = 0; i < sizeof seconds / sizeof *seconds; ++i)
      ok(seconds[i] == E_UNEXPECTED, "after %d, second call %u: %08lx", p, unsigned(i), seconds[i]);
    IStream_Release(s);
    IPersistStorage_Release(pt);
    IPersistStreamInit_Release(ps);
    IPersistPropertyBag_Release(pb);
    _Delvorin_Release(d);
  }
  IStorage_Release(stg);
  ILockBytes_Release(bytes);
}

void test_dirty() {
  _Delvorin* d = Create();
  if (!d) return;
  IPersistStreamInit* ps = Interface<IPersistStreamInit>(d, IID_IPersistStreamInit);
  IPersistStorage* pt = Interface<IPersistStorage>(d, IID_IPersistStorage);
  ok(IPersistStreamInit_InitNew(ps) == S_OK, "InitNew");
  ok(IPersistStreamInit_IsDirty(ps) == S_FALSE, "new control not dirty");
  ok(IPersistStorage_IsDirty(pt) == S_FALSE, "new control not dirty (storage)");
  IPersistStorage_Release(pt);
  IPersistStreamInit_Release(ps);
  _Delvorin_Release(d);
}

// A picture object is taken as MouseIcon.
void test_mouse_icon_set(_Delvorin* a) {
  PICTDESC pd{};
  pd.cbSizeofstruct = sizeof pd;
  pd.picType = PICTYPE_ICON;
  pd.icon.hicon = CopyIcon(LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION)));
  IPictureDisp* picture = nullptr;
  ok(OleCreatePictureIndirect(&pd, IID_IPictureDisp, TRUE, reinterpret_cast<void**>(&picture)) == S_OK, "OleCreatePictureIndirect");
  HRESULT hr = _Delvorin_putref_MouseIcon(a, picture);
  ok(hr == S_OK, "putref MouseIcon: %08lx", hr);
  if (picture) IPictureDisp_Release(picture);
}

// An object of the wrong kind is refused and the property keeps its value: a font is no
// picture, a picture no font.
void test_wrong_object_kind_refused(_Delvorin* a) {
  IFontDisp* font = nullptr;
  _Delvorin_get_Font(a, &font);
  ok(font != nullptr, "a font to begin with");
  HRESULT hr = _Delvorin_putref_MouseIcon(a, reinterpret_cast<IPictureDisp*>(font));
  ok(hr == CTL_E_INVALIDPROPERTYVALUE, "a font as MouseIcon: %08lx", hr);
  IPictureDisp* current = nullptr;
  ok(_Delvorin_get_MouseIcon(a, &current) == S_OK && current, "MouseIcon kept");
  hr = _Delvorin_putref_Font(a, reinterpret_cast<IFontDisp*>(current));
  ok(hr == CTL_E_INVALIDPROPERTYVALUE, "a picture as Font: %08lx", hr);
  IFontDisp* fontNow = nullptr;
  ok(_Delvorin_get_Font(a, &fontNow) == S_OK && fontNow == font, "Font kept");
  if (fontNow) IFontDisp_Release(fontNow);
  if (font) IFontDisp_Release(font);
  if (current) IPictureDisp_Release(current);
}

// MouseIcon is written to the bag as an object, in its place, and loads back from the bag
// and from the stream.
void test_mouse_icon_saved_and_loaded(_Delvorin* a) {
  Bag bag;
  ok(SaveToBag(a, bag, FALSE) == S_OK, "Save to bag");
  const VARIANT* v = bag.Value(L"MouseIcon");
  ok(v && V_VT(v) == VT_DISPATCH && V_DISPATCH(v), "MouseIcon written as an object");
  // In its table place, after PasswordChar.
  size_t i = 0;
  while (i < bag.order.size() && bag.order[i] != L"PasswordChar") ++i;
  ok(i + 1 < bag.order.size() && bag.order[i + 1] == L"MouseIcon", "MouseIcon written after PasswordChar");

  // The type of the mouse icon a control holds after each way of loading.
  auto pictureType = [](_Delvorin* d) {
    SHORT type = -1;
    IPictureDisp* pd = nullptr;
    if (SUCCEEDED(_Delvorin_get_MouseIcon(d, &pd)) && pd) {
      IPicture* p = nullptr;
      if (SUCCEEDED(IPictureDisp_QueryInterface(pd, IID_IPicture, reinterpret_cast<void**>(&p)))) {
        IPicture_get_Type(p, &type);
        IPicture_Release(p);
      }
      IPictureDisp_Release(pd);
    }
    return type;
  };
  _Delvorin* b = Create();
  ok(b && LoadFromBag(b, bag) == S_OK && pictureType(b) == PICTYPE_ICON, "MouseIcon through the bag");
  std::vector<uint8_t> saved = SavedBytes(a);
  _Delvorin* c = Create();
  HRESULT hr = c ? LoadBytes(c, saved) : E_FAIL;
  ok(hr == S_OK && pictureType(c) == PICTYPE_ICON, "MouseIcon through the stream: %08lx, type %d", hr, c ? pictureType(c) : -1);
  if (c) _Delvorin_Release(c);
  if (b) _Delvorin_Release(b);
}

// A mouse icon travels as a picture object through the bag and the binary form.
void test_mouse_icon() {
  _Delvorin* a = Create();
  if (!a) return;
  test_mouse_icon_set(a);
  test_wrong_object_kind_refused(a);
  test_mouse_icon_saved_and_loaded(a);
  _Delvorin_Release(a);
}

// ---- CnpjAlfanumerico (added in 1.1) in each stored form ----

// The data of a storage holding a saved control, or nullptr.
IStorage* NewStorage(ILockBytes** bytes) {
  IStorage* stg = nullptr;
  if (FAILED(CreateILockBytesOnHGlobal(nullptr, TRUE, bytes))) return nullptr;
  if (FAILED(StgCreateDocfileOnILockBytes(*bytes, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, &stg))) return nullptr;
  return stg;
}

enum class Medium { Bag, Stream, Storage };
const char* NameOf(Medium m) { return m == Medium::Bag ? "bag" : m == Medium::Stream ? "stream" : "storage"; }

// Saves a into the medium and loads b from it.
HRESULT RoundTrip(Medium m, _Delvorin* a, _Delvorin* b) {
  switch (m) {
    case Medium::Bag: {
      Bag bag;
      HRESULT hr = SaveToBag(a, bag, TRUE);
      const VARIANT* v = bag.Value(L"CnpjAlfanumerico");
      ok(v && V_VT(v) == VT_BOOL && V_BOOL(v) == CnpjOf(a), "bag: CnpjAlfanumerico written as a boolean");
      return SUCCEEDED(hr) ? LoadFromBag(b, bag) : hr;
    }
    case Medium::Stream: return LoadBytes(b, SavedBytes(a));
    case Medium::Storage: {
      ILockBytes* bytes = nullptr;
      IStorage* stg = NewStorage(&bytes);
      IPersistStorage* pa = Interface<IPersistStorage>(a, IID_IPersistStorage);
      IPersistStorage* pb = Interface<IPersistStorage>(b, IID_IPersistStorage);
      HRESULT hr = stg && pa && pb ? IPersistStorage_Save(pa, stg, FALSE) : E_FAIL;
      if (SUCCEEDED(hr)) hr = IPersistStorage_Load(pb, stg);
      if (pb) IPersistStorage_Release(pb);
      if (pa) IPersistStorage_Release(pa);
      if (stg) IStorage_Release(stg);
      if (bytes) ILockBytes_Release(bytes);
      return hr;
    }
  }
  return E_FAIL;
}

// The binary form without the entry of one key: what the server before 1.1 saved, for the
// key CnpjAlfanumerico. Empty if the data is not well formed or has no such entry.
std::vector<uint8_t> WithoutKey(const std::vector<uint8_t>& data, const std::wstring& key) {
  auto le = [&](size_t pos, size_t n, void* target) {
    if (pos > data.size() || n > data.size() - pos) return false;
    std::memcpy(target, data.data() + pos, n);
    return true;
  };
  uint32_t n = 0;
  if (!le(8, 4, &n)) return {};
  size_t pos = 12;
  for (uint32_t i = 0; i < n; ++i) {
    const size_t start = pos;
    uint16_t size = 0;
    if (!le(pos, 2, &size)) return {};
    std::wstring k(size, L'\0');
    for (uint16_t j = 0; j < size; ++j) {
      uint16_t c = 0;
      if (!le(pos + 2 + 2u * j, 2, &c)) return {};
      k[j] = static_cast<wchar_t>(c);
    }
    pos += 2 + 2u * size;
    uint8_t tag = 0;
    if (!le(pos++, 1, &tag)) return {};
    static const size_t kSizes[] = {0, 2, 4, 1, 2, 4, 8};  // Empty, I2, I4, UI1, Bool, R4, R8
    uint32_t extra = 0;
    if (tag < 7) {
      pos += kSizes[tag];
    } else if (tag == 7 || tag == 9) {  // text (UTF-16 units), object (bytes)
      if (!le(pos, 4, &extra)) return {};
      pos += 4 + (tag == 7 ? 2u * extra : extra);
    } else if (tag != 8) {  // null object
      return {};
    }
    if (pos > data.size()) return {};
    if (k == key) {
      std::vector<uint8_t> r(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(start));
      r.insert(r.end(), data.begin() + static_cast<std::ptrdiff_t>(pos), data.end());
      const uint32_t oneLess = n - 1;
      std::memcpy(r.data() + 8, &oneLess, 4);
      return r;
    }
  }
  return {};
}

// Both values survive every medium; the loading control starts at the other value.
void test_cnpj_round_trip() {
  for (Medium m : {Medium::Bag, Medium::Stream, Medium::Storage}) {
    for (VARIANT_BOOL value : {VARIANT_FALSE, VARIANT_TRUE}) {
      const VARIANT_BOOL other = value ? VARIANT_FALSE : VARIANT_TRUE;
      _Delvorin* a = Create();
      _Delvorin* b = Create();
      if (!a || !b) return;
      ok(PutCnpj(a, value) == S_OK && PutCnpj(b, other) == S_OK && CnpjOf(b) == other, "%s: set up", NameOf(m));
      HRESULT hr = RoundTrip(m, a, b);
      ok(hr == S_OK && CnpjOf(b) == value, "%s: CnpjAlfanumerico %d: %08lx, loaded %d", NameOf(m), value, hr, CnpjOf(b));
      _Delvorin_Release(b);
      _Delvorin_Release(a);
    }
  }
}

// Data saved by the server before 1.1 (its 22 keys, without CnpjAlfanumerico) loads with
// CnpjAlfanumerico True and every other property as saved, from a stream and a storage.
void test_cnpj_old_binary_data() {
  _Delvorin* a = CreateConfigured();
  if (!a) return;
  const std::vector<uint8_t> saved = SavedBytes(a);
  const std::vector<uint8_t> old =
      WithoutKey(WithoutKey(WithoutKey(WithoutKey(saved, L"NomeAcessivel"), L"Mascara"), L"UF"), L"CnpjAlfanumerico");
  uint32_t entries = 0;
  if (old.size() >= 12) std::memcpy(&entries, old.data() + 8, 4);
  ok(!old.empty() && old.size() < saved.size() && entries == static_cast<uint32_t>(kPropertyCount10),
     "data without CnpjAlfanumerico, UF, Mascara and NomeAcessivel: %u entries", entries);
  for (Medium m : {Medium::Stream, Medium::Storage}) {
    _Delvorin* b = Create();
    if (!b) break;
    PutCnpj(b, VARIANT_FALSE);
    PutUf(b, L"MG");  // the load gives it back its default
    HRESULT hr = E_FAIL;
    if (m == Medium::Stream) {
      hr = LoadBytes(b, old);
    } else {
      ILockBytes* bytes = nullptr;
      IStorage* stg = NewStorage(&bytes);
      IStream* s = nullptr;
      if (stg && SUCCEEDED(IStorage_CreateStream(stg, L"Contents", STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0, &s))) {
        ULONG written = 0;
        IStream_Write(s, old.data(), static_cast<ULONG>(old.size()), &written);
        IStream_Release(s);
        IPersistStorage* pb = Interface<IPersistStorage>(b, IID_IPersistStorage);
        hr = pb ? IPersistStorage_Load(pb, stg) : E_FAIL;
        if (pb) IPersistStorage_Release(pb);
      }
      if (stg) IStorage_Release(stg);
      if (bytes) ILockBytes_Release(bytes);
    }
    ok(hr == S_OK && CnpjOf(b) == VARIANT_TRUE && UfOf(b) == L"", "%s before 1.1: %08lx, CnpjAlfanumerico %d, UF %ls", NameOf(m),
       hr, CnpjOf(b), UfOf(b).c_str());
    ok(TipoOf(b) == 0 && DescribeFont(b) == DescribeFont(a), "%s before 1.1: the other properties as saved", NameOf(m));
    _Delvorin_Release(b);
  }
  _Delvorin_Release(a);
}

// A bag of the server before 1.1 lacks the key: True again.
void test_cnpj_old_bag() {
  Bag oldBag;
  oldBag.Put(L"Tipo", VUI1(10));
  _Delvorin* b = Create();
  if (!b) return;
  PutCnpj(b, VARIANT_FALSE);
  HRESULT hr = LoadFromBag(b, oldBag);
  ok(hr == S_OK && CnpjOf(b) == VARIANT_TRUE && TipoOf(b) == 10, "bag before 1.1: %08lx, CnpjAlfanumerico %d", hr, CnpjOf(b));
  _Delvorin_Release(b);
}

// CnpjAlfanumerico in every medium, and in data saved before it existed.
void test_cnpj_alfanumerico() {
  test_cnpj_round_trip();
  test_cnpj_old_binary_data();
  test_cnpj_old_bag();
}

// The stored form stays byte for byte what earlier servers wrote: a new control and a
// configured one (font Arial) save exactly the bytes the 1.1 server saved, kept in tests/data,
// with the entries of UF, Mascara and NomeAcessivel (added in 1.2) besides; those bytes load
// back to the same state, the three empty. With "grava" the suite writes the files instead (done once,
// with the server that fixed the form).
void test_stored_form(const std::wstring& folder, bool write) {
  const struct {
    const wchar_t* name;
    bool configured;
  } cases[] = {{L"novo", false}, {L"configurado", true}};
  for (const auto& name : cases) {
    _Delvorin* d = name.configured ? CreateConfigured() : Create();
    if (!d) continue;
    if (!name.configured) {
      IPersistStreamInit* ps = Interface<IPersistStreamInit>(d, IID_IPersistStreamInit);
      ok(ps && IPersistStreamInit_InitNew(ps) == S_OK, "InitNew");
      if (ps) IPersistStreamInit_Release(ps);
    }
    const std::vector<uint8_t> bytes = SavedBytes(d);
    _Delvorin_Release(d);
    const std::wstring path = folder + L"\\" + name.name + L".dlv2";
    FILE* f = _wfopen(path.c_str(), write ? L"wb" : L"rb");
    ok(f != nullptr, "%s: open %s", Narrow(name.name).c_str(), Narrow(path).c_str());
    if (!f) continue;
    if (write) {
      ok(std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size(), "%s written", Narrow(name.name).c_str());
    } else {
      std::vector<uint8_t> stored;
      uint8_t chunk[4096];
      for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) stored.insert(stored.end(), chunk, chunk + n);
      const std::vector<uint8_t> without = WithoutKey(WithoutKey(WithoutKey(bytes, L"NomeAcessivel"), L"Mascara"), L"UF");
      ok(!without.empty() && without.size() < bytes.size() && without == stored,
         "%s: %u bytes saved, %u without UF, Mascara and NomeAcessivel, %u stored",
         Narrow(name.name).c_str(), unsigned(bytes.size()), unsigned(without.size()), unsigned(stored.size()));
      _Delvorin* loaded = Create();
      ok(loaded && PutUf(loaded, L"BA") == S_OK && LoadBytes(loaded, stored) == S_OK && UfOf(loaded) == L"" &&
             WithoutKey(WithoutKey(WithoutKey(SavedBytes(loaded), L"NomeAcessivel"), L"Mascara"), L"UF") == stored,
         "%s: the stored bytes load with UF, Mascara and NomeAcessivel empty", Narrow(name.name).c_str());
      if (loaded) _Delvorin_Release(loaded);
    }
    std::fclose(f);
  }
}

using DllCanUnloadNowFn = HRESULT(WINAPI*)();

}  // namespace

// Argument: the folder of the stored forms (tests/data); then "grava" to write them.
int wmain(int argc, wchar_t** argv) {
  CoInitialize(nullptr);
  test_interfaces();
  test_bag_round_trip();
  test_defaults();
  test_values_loaded();
  test_stream();
  test_ole_stream();
  test_storage();
  test_corrupt_data();
  test_initialised_once();
  test_dirty();
  test_mouse_icon();
  test_cnpj_alfanumerico();
  ok(argc >= 2, "folder of the stored forms given");
  if (argc >= 2) test_stored_form(argv[1], argc >= 3 && std::wstring(argv[2]) == L"grava");
  // Every object released: the server may unload.
  HMODULE server = GetModuleHandleW(L"Delvorin2.ocx");
  auto canUnloadNow =
      server ? reinterpret_cast<DllCanUnloadNowFn>(reinterpret_cast<void*>(GetProcAddress(server, "DllCanUnloadNow"))) : nullptr;
  ok(canUnloadNow && canUnloadNow() == S_OK, "DllCanUnloadNow after releasing everything");
  CoUninitialize();
  return test::Result("test_persist_ole");
}
