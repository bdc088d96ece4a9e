// Reads the registered type library 1.1 back and checks every member, slot, type, dispatch id
// and help string of _Delvorin (1.0) and _Delvorin11 (1.1) against the engine's property
// table, the control class and the classes of the property pages; calls a created control
// through the slots of both interfaces; checks the registry keys the server wrote, or, with
// "removed", that unregistration removed them.
#include <windows.h>
#include <oleauto.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "control/Properties.h"
#include "ocx/Identifiers.h"
#include "ocx/tests/Test.h"

using namespace delvorin;
using namespace delvorin::ocx;
using delvorin::ocx::test::Narrow;
using delvorin::ocx::test::Wide;

namespace {

constexpr const wchar_t* kTextoIid_Delvorin = L"{C5FC60CA-B5A8-4882-9663-6E2B6B3709DD}";
constexpr const wchar_t* kTextoIid_Delvorin11 = L"{A6EC96B6-7585-4877-92A3-B6E191E7EE7D}";

std::wstring NomeDoTipo(ITypeInfo* info, HREFTYPE ref) {
  ITypeInfo* outro = nullptr;
  std::wstring nome;
  if (SUCCEEDED(info->GetRefTypeInfo(ref, &outro))) {
    BSTR b = nullptr;
    if (SUCCEEDED(outro->GetDocumentation(MEMBERID_NIL, &b, nullptr, nullptr, nullptr)) && b) nome = b;
    SysFreeString(b);
    outro->Release();
  }
  return nome;
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
    case VT_DISPATCH: return L"IDispatch*";
    case VT_USERDEFINED: return NomeDoTipo(info, t.hreftype);
    case VT_PTR: return Tipo(info, *t.lptdesc) + L"*";
    default: return L"vt" + std::to_wstring(t.vt);
  }
}

std::wstring Esperado(PropertyType t) {
  switch (t) {
    case PropertyType::Inteiro16: return L"I2";
    case PropertyType::Cor: return L"OLE_COLOR";
    case PropertyType::Booleano: return L"BOOL";
    case PropertyType::Fonte: return L"IFontDisp*";
    case PropertyType::Inteiro32: return L"I4";
    case PropertyType::Texto: return L"BSTR";
    case PropertyType::Byte: return L"UI1";
    case PropertyType::Figura: return L"IPictureDisp*";
  }
  return L"?";
}

std::wstring Documentacao(ITypeInfo* info, MEMBERID id, bool ajuda) {
  BSTR nome = nullptr, texto = nullptr;
  std::wstring r;
  if (SUCCEEDED(info->GetDocumentation(id, &nome, &texto, nullptr, nullptr))) r = ajuda ? (texto ? texto : L"") : (nome ? nome : L"");
  SysFreeString(nome);
  SysFreeString(texto);
  return r;
}

// A slot of an interface's vtable: a property's get or put (its table index), or Atualiza.
struct Slot {
  int propriedade;  // -1: Atualiza
  bool get;
};

// _Delvorin (1.0): the first kPropertyCount10 properties, then Atualiza. _Delvorin11 (1.1):
// the same slots, then the properties added since.
std::vector<Slot> Slots(bool versao11) {
  std::vector<Slot> r;
  for (int i = 0; i < kPropertyCount10; ++i) r.insert(r.end(), {{i, true}, {i, false}});
  r.push_back({-1, false});
  if (versao11)
    for (int i = kPropertyCount10; i < kNumeroPropriedades; ++i) r.insert(r.end(), {{i, true}, {i, false}});
  return r;
}

struct InterfaceCase {
  const GUID* iid;
  const wchar_t* nome;
  bool versao11;
};
const InterfaceCase kInterfaces[] = {{&kIid_Delvorin, L"_Delvorin", false}, {&kIid_Delvorin11, L"_Delvorin11", true}};

// The vtable side of a dual interface, or nullptr.
ITypeInfo* LadoVtable(ITypeInfo* disp) {
  HREFTYPE ref = 0;
  ITypeInfo* vt = nullptr;
  if (SUCCEEDED(disp->GetRefTypeOfImplType(-1, &ref))) disp->GetRefTypeInfo(ref, &vt);
  return vt;
}

// Slot k of the vtable interface: the function's offset, name, id, kind, help string and type.
void check_slot(ITypeInfo* vt, const FUNCDESC* f, WORD k, const Slot& slot, const char* ni) {
  std::wstring name = Documentacao(vt, f->memid, false);
  // Slot k of the interface, after IUnknown's and IDispatch's seven.
  ok(f->oVft == static_cast<SHORT>((7 + k) * sizeof(void*)), "%s slot %u: offset %d", ni, k, f->oVft);
  if (slot.propriedade < 0) {
    ok(name == Wide(kAtualiza.nome), "%s slot %u: %s", ni, k, Narrow(name).c_str());
    ok(f->memid == kAtualiza.dispid, "%s: Atualiza id %lx", ni, f->memid);
    ok(f->invkind == INVOKE_FUNC, "%s: Atualiza invkind %d", ni, f->invkind);
    ok(Documentacao(vt, f->memid, true) == Wide(kAtualiza.ajuda), "%s: Atualiza help", ni);
    ok(f->cParams == 1 && Tipo(vt, f->lprgelemdescParam[0].tdesc) == L"IDispatch**", "%s: Atualiza result", ni);
  } else {
    const PropertyDescription& d = kProperties[static_cast<size_t>(slot.propriedade)];
    const bool get = slot.get;
    ok(name == Wide(d.nome), "%s slot %u: %s, expected %s", ni, k, Narrow(name).c_str(), Narrow(Wide(d.nome)).c_str());
    ok(f->memid == d.dispid, "%s: %s: id %lx, expected %lx", ni, Narrow(name).c_str(), f->memid, static_cast<long>(d.dispid));
    const bool object = d.tipo == PropertyType::Fonte || d.tipo == PropertyType::Figura;
    const INVOKEKIND expectedKind = get ? INVOKE_PROPERTYGET : (object ? INVOKE_PROPERTYPUTREF : INVOKE_PROPERTYPUT);
    ok(f->invkind == expectedKind, "%s: %s: invkind %d", ni, Narrow(name).c_str(), f->invkind);
    ok(Documentacao(vt, f->memid, true) == Wide(d.ajuda), "%s: %s: help string", ni, Narrow(name).c_str());
    std::wstring type = f->cParams == 1 ? Tipo(vt, f->lprgelemdescParam[0].tdesc) : L"";
    std::wstring expectedType = Esperado(d.tipo) + (get ? L"*" : L"");
    ok(type == expectedType, "%s: %s: type %s, expected %s", ni, Narrow(name).c_str(), Narrow(type).c_str(),
       Narrow(expectedType).c_str());
  }
}

// The dispatch interface of i: its kind, flags and name, and CnpjAlfanumerico known by name
// only from 1.1 on. The interface's type information, or nullptr.
ITypeInfo* check_dispatch_interface(ITypeLib* lib, const InterfaceCase& i, const char* ni) {
  ITypeInfo* disp = nullptr;
  HRESULT hr = lib->GetTypeInfoOfGuid(*i.iid, &disp);
  ok(hr == S_OK, "GetTypeInfoOfGuid(%s): %08lx", ni, hr);
  if (FAILED(hr)) return nullptr;
  TYPEATTR* a = nullptr;
  disp->GetTypeAttr(&a);
  ok(a->typekind == TKIND_DISPATCH, "%s: typekind %d", ni, a->typekind);
  ok((a->wTypeFlags & (TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL)) == (TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL), "%s: flags %x", ni,
     a->wTypeFlags);
  disp->ReleaseTypeAttr(a);
  ok(Documentacao(disp, MEMBERID_NIL, false) == i.nome, "%s: interface name", ni);

  LPOLESTR nome = const_cast<LPOLESTR>(L"CnpjAlfanumerico");
  MEMBERID id = 0;
  hr = disp->GetIDsOfNames(&nome, 1, &id);
  if (i.versao11) ok(hr == S_OK && id == Descricao(Property::CnpjAlfanumerico).dispid, "%s: CnpjAlfanumerico %08lx", ni, hr);
  else ok(hr == DISP_E_UNKNOWNNAME, "%s: no CnpjAlfanumerico: %08lx", ni, hr);
  return disp;
}

// The vtable side of i gives the slots in order.
void check_vtable_slots(ITypeInfo* disp, const InterfaceCase& i, const char* ni) {
  ITypeInfo* vt = LadoVtable(disp);
  ok(vt != nullptr, "%s: vtable interface", ni);
  if (!vt) return;
  const std::vector<Slot> slots = Slots(i.versao11);
  TYPEATTR* a = nullptr;
  vt->GetTypeAttr(&a);
  ok(a->cFuncs == slots.size(), "%s: %d functions, expected %u", ni, a->cFuncs, unsigned(slots.size()));
  const WORD count = a->cFuncs;
  vt->ReleaseTypeAttr(a);
  for (WORD k = 0; k < count && k < slots.size(); ++k) {
    FUNCDESC* f = nullptr;
    if (FAILED(vt->GetFuncDesc(k, &f))) continue;
    check_slot(vt, f, k, slots[k], ni);
    vt->ReleaseFuncDesc(f);
  }
  vt->Release();
}

void test_interface(ITypeLib* lib, const InterfaceCase& i) {
  const std::string name = Narrow(i.nome);
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
  ok(a->typekind == TKIND_DISPATCH && a->cFuncs == kEventos.size(), "events: kind %d, %d functions", a->typekind, a->cFuncs);
  const WORD funcoes = a->cFuncs;
  info->ReleaseTypeAttr(a);
  for (WORD i = 0; i < funcoes && i < kEventos.size(); ++i) {
    FUNCDESC* f = nullptr;
    if (FAILED(info->GetFuncDesc(i, &f))) continue;
    const EventDescription& e = kEventos[i];
    ok(Documentacao(info, f->memid, false) == Wide(e.nome), "event %u name", i);
    ok(f->memid == e.dispid, "event %u id %ld", i, f->memid);
    ok(f->cParams == e.numeroArgumentos, "event %u: %d arguments", i, f->cParams);
    for (int k = 0; k < f->cParams && k < e.numeroArgumentos; ++k) {
      std::wstring t = Tipo(info, f->lprgelemdescParam[k].tdesc);
      std::wstring esperado = e.argumentos[static_cast<size_t>(k)].tipo == ArgumentType::Inteiro16 ? L"I2*" : L"R4*";
      ok(t == esperado, "event %u argument %d: %s", i, k, Narrow(t).c_str());
    }
    info->ReleaseFuncDesc(f);
  }
  info->Release();
}

VARIANT VI2(SHORT x) { VARIANT v; VariantInit(&v); V_VT(&v) = VT_I2; V_I2(&v) = x; return v; }
VARIANT VI4(LONG x) { VARIANT v; VariantInit(&v); V_VT(&v) = VT_I4; V_I4(&v) = x; return v; }
VARIANT VUI1(BYTE x) { VARIANT v; VariantInit(&v); V_VT(&v) = VT_UI1; V_UI1(&v) = x; return v; }
VARIANT VBool(bool x) { VARIANT v; VariantInit(&v); V_VT(&v) = VT_BOOL; V_BOOL(&v) = x ? VARIANT_TRUE : VARIANT_FALSE; return v; }

// The GUID of a type the coclass implements.
GUID ImplementadaPor(ITypeInfo* classe, UINT k) {
  GUID g = GUID_NULL;
  HREFTYPE ref = 0;
  ITypeInfo* outro = nullptr;
  if (SUCCEEDED(classe->GetRefTypeOfImplType(k, &ref)) && SUCCEEDED(classe->GetRefTypeInfo(ref, &outro))) {
    TYPEATTR* a = nullptr;
    if (SUCCEEDED(outro->GetTypeAttr(&a))) {
      g = a->guid;
      outro->ReleaseTypeAttr(a);
    }
    outro->Release();
  }
  return g;
}

// The control class: _Delvorin11 its default interface, _Delvorin still listed, the events.
void check_coclass(ITypeInfo* info) {
  TYPEATTR* a = nullptr;
  info->GetTypeAttr(&a);
  ok(a->typekind == TKIND_COCLASS && (a->wTypeFlags & TYPEFLAG_FCONTROL), "coclass flags %x", a->wTypeFlags);
  const UINT n = a->cImplTypes;
  ok(n == 3, "%u implemented types", n);
  info->ReleaseTypeAttr(a);
  const struct {
    const GUID* iid;
    INT flags;
    const char* nome;
  } esperados[] = {{&kIid_Delvorin11, IMPLTYPEFLAG_FDEFAULT, "_Delvorin11"},
                   {&kIid_Delvorin, 0, "_Delvorin"},
                   {&kDiid__Delvorin, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE, "__Delvorin"}};
  for (UINT k = 0; k < n && k < 3; ++k) {
    INT flags = -1;
    info->GetImplTypeFlags(k, &flags);
    ok(IsEqualGUID(ImplementadaPor(info, k), *esperados[k].iid) && flags == esperados[k].flags, "%s: flags %x",
       esperados[k].nome, flags);
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
SHORT Deslocamento(ITypeInfo* disp, MEMBERID id, INVOKEKIND tipo) {
  ITypeInfo* vt = LadoVtable(disp);
  SHORT r = -1;
  if (!vt) return r;
  TYPEATTR* a = nullptr;
  vt->GetTypeAttr(&a);
  for (WORD k = 0; k < a->cFuncs; ++k) {
    FUNCDESC* f = nullptr;
    if (FAILED(vt->GetFuncDesc(k, &f))) continue;
    if (f->memid == id && f->invkind == tipo) r = f->oVft;
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
    for (auto& [chave, v] : valores) VariantClear(&v);
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
  HRESULT STDMETHODCALLTYPE Read(LPCOLESTR nome, VARIANT* v, IErrorLog*) override {
    if (!nome || !v) return E_POINTER;
    const VARIANT* guardado = Valor(nome);
    if (!guardado) return E_INVALIDARG;
    VariantInit(v);
    return VariantCopy(v, const_cast<VARIANT*>(guardado));
  }
  HRESULT STDMETHODCALLTYPE Write(LPCOLESTR nome, VARIANT* v) override {
    if (!nome || !v) return E_POINTER;
    VARIANT& d = valores[nome];
    VariantInit(&d);
    return VariantCopy(&d, v);
  }
  const VARIANT* Valor(const std::wstring& chave) const {
    auto it = valores.find(chave);
    return it == valores.end() ? nullptr : &it->second;
  }

 private:
  std::map<std::wstring, VARIANT> valores;
};

// Same scalar or text; colours compare by their bits whether signed or not.
bool MesmoValor(const VARIANT& a, const VARIANT& b) {
  auto cor = [](VARTYPE t) { return t == VT_I4 || t == VT_UI4; };
  if (cor(V_VT(&a)) && cor(V_VT(&b))) return V_I4(&a) == V_I4(&b);
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
// value the engine saves for it (salvo, for scalars and texts).
void check_getter(IDispatch* dispatch, void* p, ITypeInfo* disp, const PropertyDescription& d, const char* ni,
                   const VARIANT* salvo) {
  const std::string nome = Narrow(Wide(d.nome));
  const SHORT oVft = Deslocamento(disp, d.dispid, INVOKE_PROPERTYGET);
  ok(oVft > 0, "%s: %s has a getter", ni, nome.c_str());
  if (oVft <= 0) return;
  alignas(8) unsigned char saida[8];
  std::memset(saida, 0xcd, sizeof saida);
  HRESULT hr = NoSlot<Getter>(p, oVft)(p, saida);
  VARIANT v;
  VariantInit(&v);
  DISPPARAMS nenhum{nullptr, nullptr, 0, 0};
  HRESULT hd = dispatch->Invoke(d.dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &nenhum, &v, nullptr, nullptr);
  ok(hr == S_OK && hd == S_OK, "%s: get %s: %08lx, Invoke %08lx", ni, nome.c_str(), hr, hd);
  if (hr != S_OK || hd != S_OK) return;
  bool igual = false;
  switch (d.tipo) {
    case PropertyType::Inteiro16: { SHORT x; std::memcpy(&x, saida, 2); igual = V_VT(&v) == VT_I2 && V_I2(&v) == x; break; }
    case PropertyType::Booleano: { VARIANT_BOOL x; std::memcpy(&x, saida, 2); igual = V_VT(&v) == VT_BOOL && V_BOOL(&v) == x; break; }
    case PropertyType::Byte: igual = V_VT(&v) == VT_UI1 && V_UI1(&v) == saida[0] && saida[1] == 0xcd; break;
    case PropertyType::Cor:
    case PropertyType::Inteiro32: {
      LONG x;
      std::memcpy(&x, saida, 4);
      igual = (V_VT(&v) == VT_I4 || V_VT(&v) == VT_UI4) && V_I4(&v) == x;
      break;
    }
    case PropertyType::Texto: {
      BSTR b;
      std::memcpy(&b, saida, sizeof b);
      igual = V_VT(&v) == VT_BSTR && b && !std::wcscmp(b, V_BSTR(&v));
      if (b) SysFreeString(b);
      break;
    }
    case PropertyType::Fonte:
    case PropertyType::Figura: {
      IUnknown* u;
      std::memcpy(&u, saida, sizeof u);
      igual = V_VT(&v) == VT_DISPATCH && (u != nullptr) == (V_DISPATCH(&v) != nullptr);
      if (u) u->Release();
      break;
    }
  }
  ok(igual, "%s: get %s in its slot differs from Invoke (vt %d)", ni, nome.c_str(), V_VT(&v));
  const bool objeto = d.tipo == PropertyType::Fonte || d.tipo == PropertyType::Figura;
  if (!objeto) ok(salvo && MesmoValor(v, *salvo), "%s: get %s differs from the engine's value", ni, nome.c_str());
  VariantClear(&v);
}

// A created control, loaded with values its getters tell apart, answers both interfaces with
// one object: every getter of 1.0 in its slot, of 1.1 in its slot, each giving the engine's
// value of its own property; CnpjAlfanumerico in the slots 1.1 added; IDispatch by the type
// information of 1.1 for both; the events and class information of the coclass.
// Loaded with values its getters tell apart (a getter in the slot of another property is
// caught); saved back into saved, where the engine's values are read.
void test_control_loads_distinct_values(IUnknown* controle, Bag& salvos) {
  IPersistPropertyBag* persiste = nullptr;
  controle->QueryInterface(IID_IPersistPropertyBag, reinterpret_cast<void**>(&persiste));
  Bag distintos;
  const std::pair<const wchar_t*, VARIANT> carregados[] = {
      {L"Alignment", VI2(2)}, {L"BorderStyle", VI2(0)}, {L"MousePointer", VI2(3)}, {L"Appearance", VI2(0)},
      {L"Tipo", VUI1(9)}, {L"Digitos", VUI1(3)}, {L"MaxLength", VI4(77)}, {L"BackColor", VI4(0x123456)},
      {L"ForeColor", VI4(0x654321)}, {L"Enabled", VBool(false)}, {L"Locked", VBool(true)}, {L"Negativo", VBool(true)},
      {L"Aspas", VBool(true)}, {L"Usar_Enter", VBool(false)}, {L"CnpjAlfanumerico", VBool(false)},
  };
  for (const auto& [chave, v] : carregados) distintos.Write(chave, const_cast<VARIANT*>(&v));
  ok(persiste && persiste->Load(&distintos, nullptr) == S_OK, "Load of distinct values");
  ok(persiste && persiste->Save(&salvos, TRUE, TRUE) == S_OK, "Save");
  const VARIANT* tipo = salvos.Valor(L"Tipo");
  ok(tipo && V_VT(tipo) == VT_UI1 && V_UI1(tipo) == 9, "the distinct values loaded");
  if (persiste) persiste->Release();
}

// Interface i of the control: the same object, error information, every getter in its slot
// agreeing with Invoke and the engine, members found by name, the type information of 1.1.
void test_control_interface(ITypeLib* lib, IUnknown* controle, ISupportErrorInfo* sei, const InterfaceCase& i,
                            const Bag& salvos) {
  const std::string name = Narrow(i.nome);
  const char* ni = name.c_str();
  ITypeInfo* disp = nullptr;
  lib->GetTypeInfoOfGuid(*i.iid, &disp);
  IDispatch* p = nullptr;
  HRESULT hr = controle->QueryInterface(*i.iid, reinterpret_cast<void**>(&p));
  ok(hr == S_OK && p, "QueryInterface(%s): %08lx", ni, hr);
  if (!p || !disp) {
    if (p) p->Release();
    if (disp) disp->Release();
    return;
  }
  IUnknown* identidade = nullptr;
  p->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identidade));
  ok(identidade == controle, "%s: the same object", ni);
  if (identidade) identidade->Release();
  ok(sei && sei->InterfaceSupportsErrorInfo(*i.iid) == S_OK, "%s: error information", ni);

  const int n = i.versao11 ? kNumeroPropriedades : kPropertyCount10;
  for (int k = 0; k < n; ++k) {
    const PropertyDescription& d = kProperties[static_cast<size_t>(k)];
    check_getter(p, p, disp, d, ni, salvos.Valor(Wide(d.nome)));
  }

  // IDispatch of either interface finds members by name, the 1.1 ones included.
  LPOLESTR nome = const_cast<LPOLESTR>(L"CnpjAlfanumerico");
  DISPID id = 0;
  hr = p->GetIDsOfNames(IID_NULL, &nome, 1, LOCALE_USER_DEFAULT, &id);
  ok(hr == S_OK && id == Descricao(Property::CnpjAlfanumerico).dispid, "%s: GetIDsOfNames: %08lx", ni, hr);
  ITypeInfo* dado = nullptr;
  TYPEATTR* a = nullptr;
  ok(p->GetTypeInfo(0, LOCALE_USER_DEFAULT, &dado) == S_OK && dado && SUCCEEDED(dado->GetTypeAttr(&a)) &&
         IsEqualGUID(a->guid, kIid_Delvorin11),
     "%s: the type information of _Delvorin11", ni);
  if (a) dado->ReleaseTypeAttr(a);
  if (dado) dado->Release();
  p->Release();
  disp->Release();
}

// Tipo in its slot of 1.0 (as loaded above).
void test_tipo_in_slot_of_10(ITypeLib* lib, IUnknown* controle) {
  HRESULT hr = E_FAIL;
  void* p10 = nullptr;
  ITypeInfo* disp10 = nullptr;
  controle->QueryInterface(kIid_Delvorin, &p10);
  lib->GetTypeInfoOfGuid(kIid_Delvorin, &disp10);
  if (p10 && disp10) {
    const SHORT get = Deslocamento(disp10, Descricao(Property::Tipo).dispid, INVOKE_PROPERTYGET);
    unsigned char tipo = 0xee;
    hr = get > 0 ? NoSlot<Getter>(p10, get)(p10, &tipo) : E_FAIL;
    ok(get == static_cast<SHORT>((7 + 2 * static_cast<int>(Property::Tipo)) * sizeof(void*)) && hr == S_OK && tipo == 9,
       "Tipo through _Delvorin: slot %d, %08lx, %u", get, hr, tipo);
  }
  if (disp10) disp10->Release();
  if (p10) static_cast<IUnknown*>(p10)->Release();

}

// CnpjAlfanumerico written and read in the slots of 1.1, and seen by Invoke.
void test_cnpj_in_slots_of_11(ITypeLib* lib, IUnknown* controle) {
  HRESULT hr = E_FAIL;
  void* p11 = nullptr;
  ITypeInfo* disp = nullptr;
  controle->QueryInterface(kIid_Delvorin11, &p11);
  lib->GetTypeInfoOfGuid(kIid_Delvorin11, &disp);
  const int32_t id = Descricao(Property::CnpjAlfanumerico).dispid;
  if (p11 && disp) {
    const SHORT get = Deslocamento(disp, id, INVOKE_PROPERTYGET), put = Deslocamento(disp, id, INVOKE_PROPERTYPUT);
    ok(get == static_cast<SHORT>((7 + 2 * kPropertyCount10 + 1) * sizeof(void*)) && put == get + static_cast<SHORT>(sizeof(void*)),
       "CnpjAlfanumerico after Atualiza: %d, %d", get, put);
    VARIANT_BOOL valor = 0x1234;
    hr = get > 0 ? NoSlot<Getter>(p11, get)(p11, &valor) : E_FAIL;
    ok(hr == S_OK && valor == VARIANT_FALSE, "CnpjAlfanumerico as loaded: %08lx, %d", hr, valor);
    ok(put > 0 && NoSlot<PutBoolean>(p11, put)(p11, VARIANT_TRUE) == S_OK, "CnpjAlfanumerico written");
    valor = 0x1234;
    hr = get > 0 ? NoSlot<Getter>(p11, get)(p11, &valor) : E_FAIL;
    ok(hr == S_OK && valor == VARIANT_TRUE, "CnpjAlfanumerico: %08lx, %d", hr, valor);
    VARIANT v;
    VariantInit(&v);
    DISPPARAMS nenhum{nullptr, nullptr, 0, 0};
    auto* dispatch = static_cast<IDispatch*>(p11);
    hr = dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &nenhum, &v, nullptr, nullptr);
    ok(hr == S_OK && V_VT(&v) == VT_BOOL && V_BOOL(&v) == VARIANT_TRUE, "Invoke: %08lx vt %d", hr, V_VT(&v));
  }
  if (disp) disp->Release();
  if (p11) static_cast<IUnknown*>(p11)->Release();

}

// The class information is the coclass of 1.1; the events are unchanged.
void test_class_information(IUnknown* controle) {
  IProvideClassInfo2* pci = nullptr;
  controle->QueryInterface(IID_IProvideClassInfo2, reinterpret_cast<void**>(&pci));
  ok(pci != nullptr, "IProvideClassInfo2");
  if (pci) {
    GUID eventos = GUID_NULL;
    ok(pci->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &eventos) == S_OK && IsEqualGUID(eventos, kDiid__Delvorin),
       "GetGUID: the events");
    ITypeInfo* classe = nullptr;
    ok(pci->GetClassInfo(&classe) == S_OK && classe, "GetClassInfo");
    if (classe) {
      check_coclass(classe);
      classe->Release();
    }
    pci->Release();
  }
}

// A created control, as the type library describes it.
void test_control(ITypeLib* lib) {
  IUnknown* controle = nullptr;
  HRESULT hr = CoCreateInstance(kClsidDelvorin, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(&controle));
  ok(hr == S_OK && controle, "CoCreateInstance: %08lx", hr);
  if (!controle) return;
  ISupportErrorInfo* sei = nullptr;
  controle->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&sei));
  Bag salvos;
  test_control_loads_distinct_values(controle, salvos);
  for (const InterfaceCase& i : kInterfaces) test_control_interface(lib, controle, sei, i, salvos);
  if (sei) sei->Release();
  test_tipo_in_slot_of_10(lib, controle);
  test_cnpj_in_slots_of_11(lib, controle);
  test_class_information(controle);
  ok(controle->Release() == 0, "control released");
}

std::wstring LeChave(const std::wstring& chave, const wchar_t* nome, bool& existe) {
  wchar_t dado[1024];
  DWORD tamanho = sizeof dado;
  LONG r = RegGetValueW(HKEY_CLASSES_ROOT, chave.c_str(), nome, RRF_RT_REG_SZ, nullptr, dado, &tamanho);
  existe = r == ERROR_SUCCESS;
  return existe ? std::wstring(dado) : L"";
}

bool ExisteChave(const std::wstring& chave) {
  HKEY k = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, chave.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  RegCloseKey(k);
  return true;
}

void test_registry(bool removed) {
  const std::wstring clsid = std::wstring(L"CLSID\\") + kTextoClsid;
  struct Key {
    std::wstring chave;
    const wchar_t* nome;
    const wchar_t* valor;  // nullptr: only its presence
  };
  const Key chaves[] = {
      {clsid + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
      {clsid + L"\\InprocServer32", nullptr, nullptr},
      {clsid + L"\\ProgID", nullptr, kProgIdVersao},
      {clsid + L"\\VersionIndependentProgID", nullptr, kProgId},
      {clsid + L"\\TypeLib", nullptr, kTextoLibid},
      {clsid + L"\\Version", nullptr, L"1.1"},
      // Both interfaces, registered by the type library 1.1.
      {std::wstring(L"Interface\\") + kTextoIid_Delvorin + L"\\TypeLib", nullptr, kTextoLibid},
      {std::wstring(L"Interface\\") + kTextoIid_Delvorin + L"\\TypeLib", L"Version", L"1.1"},
      {std::wstring(L"Interface\\") + kTextoIid_Delvorin11, nullptr, L"_Delvorin11"},
      {std::wstring(L"Interface\\") + kTextoIid_Delvorin11 + L"\\TypeLib", nullptr, kTextoLibid},
      {std::wstring(L"Interface\\") + kTextoIid_Delvorin11 + L"\\TypeLib", L"Version", L"1.1"},
      {std::wstring(L"TypeLib\\") + kTextoLibid + L"\\1.1", nullptr, L"Palvor"},
      {clsid + L"\\MiscStatus\\1", nullptr, L"655761"},
      {clsid + L"\\ToolboxBitmap32", nullptr, nullptr},
      {std::wstring(kProgId) + L"\\CLSID", nullptr, kTextoClsid},
      {std::wstring(kProgId) + L"\\CurVer", nullptr, kProgIdVersao},
      {std::wstring(kProgIdVersao) + L"\\CLSID", nullptr, kTextoClsid},
      {std::wstring(L"CLSID\\") + kTextoClsidGeral, nullptr, L"Geral"},
      {std::wstring(L"CLSID\\") + kTextoClsidGeral + L"\\InprocServer32", nullptr, nullptr},
      {std::wstring(L"CLSID\\") + kTextoClsidGeral + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
      {std::wstring(L"CLSID\\") + kTextoClsidSobre, nullptr, L"Sobre"},
      {std::wstring(L"CLSID\\") + kTextoClsidSobre + L"\\InprocServer32", nullptr, nullptr},
      {std::wstring(L"CLSID\\") + kTextoClsidSobre + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
  };
  for (const Key& c : chaves) {
    bool existe = false;
    std::wstring v = LeChave(c.chave, c.nome, existe);
    if (removed) {
      ok(!existe, "%s still registered", Narrow(c.chave).c_str());
    } else {
      ok(existe && (!c.valor || v == c.valor), "%s: %s", Narrow(c.chave).c_str(), Narrow(v).c_str());
    }
  }
  // A client built against 1.0 still finds the library (a later minor version serves it).
  for (WORD menor : {1, 0}) {
    ITypeLib* lib = nullptr;
    HRESULT hr = LoadRegTypeLib(kLibid, 1, menor, LOCALE_NEUTRAL, &lib);
    ok(removed ? FAILED(hr) : hr == S_OK, "LoadRegTypeLib 1.%u: %08lx", menor, hr);
    if (lib) lib->Release();
  }
  const std::wstring biblioteca = std::wstring(L"TypeLib\\") + kTextoLibid;
  ok(!ExisteChave(biblioteca + L"\\1.0"), "no registration of 1.0");
  if (removed) ok(!ExisteChave(biblioteca), "the library's key removed");
  // The page classes are served by the server registered in the same module as the control.
  bool existe = false;
  const std::wstring servidor = LeChave(clsid + L"\\InprocServer32", nullptr, existe);
  for (const wchar_t* pagina : {kTextoClsidGeral, kTextoClsidSobre}) {
    bool temPagina = false;
    const std::wstring caminho = LeChave(std::wstring(L"CLSID\\") + pagina + L"\\InprocServer32", nullptr, temPagina);
    if (!removed) ok(temPagina && caminho == servidor, "%s served by %s", Narrow(pagina).c_str(), Narrow(caminho).c_str());
  }
}

// The property pages are plain classes of the library, each with a hidden dispatch interface
// without members; the library holds nothing else of the headers it was built from.
void test_page_classes(ITypeLib* lib) {
  const struct {
    const GUID *clsid, *diid;
    const wchar_t *nome, *nomeInterface;
  } paginas[] = {{&kClsidGeral, &kDiid_Geral, L"Geral", L"_Geral"}, {&kClsidSobre, &kDiid_Sobre, L"Sobre", L"_Sobre"}};
  for (const auto& p : paginas) {
    const std::string nome = Narrow(p.nome);
    ITypeInfo* info = nullptr;
    HRESULT hr = lib->GetTypeInfoOfGuid(*p.clsid, &info);
    ok(hr == S_OK, "GetTypeInfoOfGuid(%s): %08lx", nome.c_str(), hr);
    if (FAILED(hr)) continue;
    TYPEATTR* a = nullptr;
    info->GetTypeAttr(&a);
    ok(a->typekind == TKIND_COCLASS && !(a->wTypeFlags & TYPEFLAG_FCONTROL) && a->cImplTypes == 1,
       "%s: a class, not a control, one interface", nome.c_str());
    info->ReleaseTypeAttr(a);
    ok(Documentacao(info, MEMBERID_NIL, false) == p.nome && Documentacao(info, MEMBERID_NIL, true) == p.nome,
       "%s: name and help string", nome.c_str());
    HREFTYPE ref = 0;
    ITypeInfo* disp = nullptr;
    if (SUCCEEDED(info->GetRefTypeOfImplType(0, &ref))) info->GetRefTypeInfo(ref, &disp);
    ok(disp != nullptr, "%s: its interface", nome.c_str());
    if (disp) {
      disp->GetTypeAttr(&a);
      ok(IsEqualGUID(a->guid, *p.diid) && a->typekind == TKIND_DISPATCH && (a->wTypeFlags & TYPEFLAG_FHIDDEN) &&
             a->cFuncs == 0 && a->cVars == 0,
         "%s: a hidden dispatch interface without members", nome.c_str());
      disp->ReleaseTypeAttr(a);
      ok(Documentacao(disp, MEMBERID_NIL, false) == p.nomeInterface, "%s: interface name", nome.c_str());
      disp->Release();
    }
    info->Release();
  }
  ok(lib->GetTypeInfoCount() == 9, "nine types: %u", lib->GetTypeInfoCount());
}

}  // namespace

// Leaves the registry as installing this server over the one before 1.1 does: a registration
// of the library 1.0 (same id, same file) next to 1.1's. Unregistration must remove it too,
// which the run with "removed" checks.
void simulate_install_over_10() {
  bool existe = false;
  const std::wstring servidor = LeChave(std::wstring(L"CLSID\\") + kTextoClsid + L"\\InprocServer32", nullptr, existe);
  const std::wstring versao = std::wstring(L"TypeLib\\") + kTextoLibid + L"\\1.0";
  const std::wstring sistema = sizeof(void*) == 8 ? L"win64" : L"win32";
  bool escrito = existe;
  const std::pair<std::wstring, std::wstring> valores[] = {
      {versao, L"Palvor"}, {versao + L"\\0\\" + sistema, servidor}, {versao + L"\\FLAGS", L"0"}};
  for (const auto& [chave, dado] : valores)
    escrito = escrito && RegSetKeyValueW(HKEY_CLASSES_ROOT, chave.c_str(), nullptr, REG_SZ, dado.c_str(),
                                         static_cast<DWORD>((dado.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
  ITypeLib* lib = nullptr;
  HRESULT hr = LoadRegTypeLib(kLibid, 1, 0, LOCALE_NEUTRAL, &lib);
  ok(escrito && hr == S_OK, "a registration of 1.0 left: %08lx", hr);
  if (lib) lib->Release();
}

int wmain(int argc, wchar_t** argv) {
  const bool removed = argc > 1 && std::wstring(argv[1]) == L"removed";
  CoInitialize(nullptr);
  test_registry(removed);
  if (!removed) {
    ITypeLib* lib = nullptr;
    HRESULT hr = LoadRegTypeLib(kLibid, 1, 1, LOCALE_NEUTRAL, &lib);
    if (SUCCEEDED(hr)) {
      BSTR nome = nullptr, texto = nullptr;
      lib->GetDocumentation(-1, &nome, &texto, nullptr, nullptr);
      ok(nome && std::wstring(nome) == L"Palvor" && texto && std::wstring(texto) == L"Palvor", "library name and text");
      SysFreeString(nome);
      SysFreeString(texto);
      TLIBATTR* atributos = nullptr;
      ok(lib->GetLibAttr(&atributos) == S_OK && IsEqualGUID(atributos->guid, kLibid) && atributos->wMajorVerNum == 1 &&
             atributos->wMinorVerNum == 1,
         "library 1.1");
      if (atributos) lib->ReleaseTLibAttr(atributos);
      for (const InterfaceCase& i : kInterfaces) test_interface(lib, i);
      test_events_interface(lib);
      test_coclass(lib);
      test_page_classes(lib);
      test_control(lib);
      lib->Release();
    }
    simulate_install_over_10();
  }
  CoUninitialize();
  return test::Result(removed ? "test_typelib removed" : "test_typelib");
}
