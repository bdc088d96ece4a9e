// IDispatch on a placed control, called as the automation rules allow and as they refuse:
// every member of every dispatch interface the control answers through a table of call shapes
// (refused calls change nothing and leave their outputs alone), failing writes described in
// EXCEPINFO, the argument at fault named, GetIDsOfNames' checks; then thousands of random
// calls (members, flags, argument counts, named arguments, VARIANT types, long and odd
// strings, null objects), after which the control still works.
#include "ocx/Com.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "core/Properties.h"
#include "ocx/Identifiers.h"
#include "ocx/tests/MinimalSite.h"
#include "ocx/tests/Sinks.h"
#include "ocx/tests/Test.h"

using namespace delvorin;
using namespace delvorin::ocx;
using namespace delvorin::ocx::test;

namespace {

constexpr DISPID kTipo = 0x6803000b;
constexpr UINT kSentinel = 0xDEADBEEF;
DISPID g_put = DISPID_PROPERTYPUT;

// One Invoke with its outputs pre-filled, so that what a call leaves alone can be told.
struct Call {
  HRESULT hr = E_UNEXPECTED;
  VARIANT result;
  EXCEPINFO exception;
  UINT argumentError = kSentinel;
  Call() {
    VariantInit(&result);
    V_VT(&result) = VT_I4;
    V_I4(&result) = static_cast<LONG>(kSentinel);
    exception = EXCEPINFO{};
    exception.scode = static_cast<SCODE>(kSentinel);
  }
  ~Call() {
    VariantClear(&result);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
  }
  bool ResultUntouched() const { return V_VT(&result) == VT_I4 && V_I4(&result) == static_cast<LONG>(kSentinel); }
  bool ExceptionUntouched() const { return exception.scode == static_cast<SCODE>(kSentinel) && !exception.bstrDescription; }
};

void Invoke(IDispatch* d, Call& c, DISPID id, WORD flags, std::vector<VARIANT> args, std::vector<DISPID> named,
            REFIID riid = IID_NULL, bool withResult = true, bool withException = true) {
  DISPPARAMS p{args.empty() ? nullptr : args.data(), named.empty() ? nullptr : named.data(), static_cast<UINT>(args.size()),
               static_cast<UINT>(named.size())};
  c.hr = IDispatch_Invoke(d, id, riid, LOCALE_USER_DEFAULT, flags, &p, withResult ? &c.result : nullptr,
                          withException ? &c.exception : nullptr, &c.argumentError);
}

VARIANT I4(LONG v) {
  VARIANT r;
  V_VT(&r) = VT_I4;
  V_I4(&r) = v;
  return r;
}

// A string argument; the caller clears it after the calls that read it.
VARIANT Bstr(const wchar_t* s) {
  VARIANT r;
  V_VT(&r) = VT_BSTR;
  V_BSTR(&r) = SysAllocString(s);
  return r;
}

// An array of three longs, which no property takes; cleared by the caller.
VARIANT LongArray() {
  VARIANT r;
  V_VT(&r) = VT_ARRAY | VT_I4;
  V_ARRAY(&r) = SafeArrayCreateVector(VT_I4, 0, 3);
  return r;
}

// A member's value as a get gives it, printed, to compare before and after a refused call.
std::wstring ValueOf(IDispatch* d, DISPID id) {
  Call c;
  Invoke(d, c, id, DISPATCH_PROPERTYGET, {}, {});
  if (FAILED(c.hr)) return L"<failed>";
  if (V_VT(&c.result) == VT_DISPATCH || V_VT(&c.result) == VT_UNKNOWN) return V_UNKNOWN(&c.result) ? L"<object>" : L"<nothing>";
  VARIANT text;
  VariantInit(&text);
  if (FAILED(VariantChangeType(&text, &c.result, 0, VT_BSTR))) return L"<unprintable>";
  std::wstring r(V_BSTR(&text), SysStringLen(V_BSTR(&text)));
  VariantClear(&text);
  return r;
}

// ---- The call shapes, over every member ----

enum class Kind { Property, ObjectProperty, Method };

struct Member {
  const char* name;
  DISPID id;
  Kind kind;
};

std::vector<Member> Members() {
  std::vector<Member> r;
  for (const PropertyDescription& d : kProperties) {
    static char names[kPropertyCount][32];
    char* n = names[r.size()];
    size_t i = 0;
    for (char16_t ch : d.name) n[i++] = static_cast<char>(ch);
    n[i] = '\0';
    const bool object = d.type == PropertyType::Font || d.type == PropertyType::Picture;
    r.push_back({n, d.dispid, object ? Kind::ObjectProperty : Kind::Property});
  }
  r.push_back({"Atualiza", kAtualiza.dispid, Kind::Method});
  return r;
}

struct Shape {
  const char* name;
  WORD flags;
  int arguments;          // VT_I4 arguments
  std::vector<DISPID> named;
  bool otherInterface;    // riid other than IID_NULL
  HRESULT expected;
  UINT argumentError;     // kSentinel: left alone
};

// Refused calls: none reaches the member, whatever it is.
const Shape kRefused[] = {
    {"get with an argument", DISPATCH_PROPERTYGET, 1, {}, false, DISP_E_BADPARAMCOUNT, kSentinel},
    {"call with two arguments", DISPATCH_METHOD | DISPATCH_PROPERTYGET, 2, {}, false, DISP_E_BADPARAMCOUNT, kSentinel},
    {"get with a named argument", DISPATCH_PROPERTYGET, 1, {1}, false, DISP_E_NONAMEDARGS, kSentinel},
    {"get through another interface id", DISPATCH_PROPERTYGET, 0, {}, true, DISP_E_UNKNOWNINTERFACE, kSentinel},
    {"no flags", 0, 0, {}, false, E_INVALIDARG, kSentinel},
    {"a flag beyond the four", DISPATCH_PROPERTYGET | 0x20, 0, {}, false, E_INVALIDARG, kSentinel},
    {"put and get at once", DISPATCH_PROPERTYGET | DISPATCH_PROPERTYPUT, 1, {DISPID_PROPERTYPUT}, false, E_INVALIDARG, kSentinel},
};

// Puts refused by their arguments; a method is no property to put.
const Shape kRefusedPuts[] = {
    {"put with two arguments", DISPATCH_PROPERTYPUT, 2, {DISPID_PROPERTYPUT}, false, DISP_E_BADPARAMCOUNT, kSentinel},
    {"put without a value", DISPATCH_PROPERTYPUT, 0, {}, false, DISP_E_BADPARAMCOUNT, kSentinel},
    {"put with the value unnamed", DISPATCH_PROPERTYPUT, 1, {}, false, DISP_E_PARAMNOTFOUND, 0},
    {"put with the value misnamed", DISPATCH_PROPERTYPUT, 1, {7}, false, DISP_E_PARAMNOTFOUND, 0},
    {"putref with two arguments", DISPATCH_PROPERTYPUTREF, 2, {DISPID_PROPERTYPUT}, false, DISP_E_BADPARAMCOUNT, kSentinel},
};

void test_shape(IDispatch* d, const char* interfaceName, const Member& m, const Shape& s, HRESULT expected) {
  const std::wstring before = m.kind == Kind::Method ? L"" : ValueOf(d, m.id);
  std::vector<VARIANT> args;
  for (int i = 0; i < s.arguments; ++i) args.push_back(I4(5));
  Call c;
  Invoke(d, c, m.id, s.flags, args, s.named, s.otherInterface ? IID_IDispatch : IID_NULL);
  ok(c.hr == expected, "%s %s, %s: 0x%08lx, expected 0x%08lx", interfaceName, m.name, s.name, c.hr, expected);
  ok(c.ResultUntouched(), "%s %s, %s: the result was written", interfaceName, m.name, s.name);
  ok(c.ExceptionUntouched(), "%s %s, %s: EXCEPINFO was written", interfaceName, m.name, s.name);
  ok(c.argumentError == s.argumentError, "%s %s, %s: argument error %u", interfaceName, m.name, s.name, c.argumentError);
  if (m.kind != Kind::Method)
    ok(ValueOf(d, m.id) == before, "%s %s, %s: the value changed", interfaceName, m.name, s.name);
}

void test_members(IDispatch* d, const char* interfaceName) {
  for (const Member& m : Members()) {
    // The plain read answers, with the member's value.
    Call read;
    Invoke(d, read, m.id, m.kind == Kind::Method ? DISPATCH_METHOD : DISPATCH_PROPERTYGET, {}, {});
    ok(read.hr == S_OK && !read.ResultUntouched(), "%s %s: read 0x%08lx", interfaceName, m.name, read.hr);
    for (const Shape& s : kRefused) test_shape(d, interfaceName, m, s, s.expected);
    for (const Shape& s : kRefusedPuts) {
      // Atualiza is no property: it has no put at all.
      if (m.kind == Kind::Method) test_shape(d, interfaceName, m, {s.name, s.flags, s.arguments, s.named, false, DISP_E_MEMBERNOTFOUND, kSentinel}, DISP_E_MEMBERNOTFOUND);
      else test_shape(d, interfaceName, m, s, s.expected);
    }
  }
  // An id the control does not have.
  Call c;
  Invoke(d, c, 0x7777, DISPATCH_PROPERTYGET, {}, {});
  ok(c.hr == DISP_E_MEMBERNOTFOUND && c.ResultUntouched(), "%s: unknown member 0x%08lx", interfaceName, c.hr);
  // Arguments counted but not given.
  DISPPARAMS missing{nullptr, &g_put, 1, 1};
  UINT argumentError = kSentinel;
  ok(IDispatch_Invoke(d, kTipo, IID_NULL, 0, DISPATCH_PROPERTYPUT, &missing, nullptr, nullptr, &argumentError) == E_INVALIDARG,
     "%s: arguments counted but missing", interfaceName);
  ok(IDispatch_Invoke(d, kTipo, IID_NULL, 0, DISPATCH_PROPERTYGET, nullptr, nullptr, nullptr, nullptr) == E_INVALIDARG,
     "%s: no DISPPARAMS", interfaceName);
}

// ---- Failing writes: described in EXCEPINFO, the argument named, nothing changed ----

struct FailingWrite {
  const char* name;
  DISPID id;
  VARIANT value;
  HRESULT plain;          // without EXCEPINFO
  const wchar_t* description;
  HRESULT scode;          // in EXCEPINFO
};

void test_failing_writes(IDispatch* d) {
  FailingWrite rows[] = {
      {"Tipo = 300", kTipo, I4(300), DISP_E_OVERFLOW, L"Overflow", CTL_E_OVERFLOW},
      {"Tipo = \"abc\"", kTipo, Bstr(L"abc"), DISP_E_TYPEMISMATCH, L"Type mismatch", MAKE_HRESULT(1, FACILITY_CONTROL, 13)},
      {"Alignment = 7", 0x68030014, I4(7), CTL_E_INVALIDPROPERTYVALUE, L"Invalid property value", CTL_E_INVALIDPROPERTYVALUE},
      {"MaxLength = -1", 0x6803000d, I4(-1), CTL_E_INVALIDPROPERTYVALUE, L"Invalid property value", CTL_E_INVALIDPROPERTYVALUE},
      {"UF = \"XX\"", 0x68030016, Bstr(L"XX"), CTL_E_INVALIDPROPERTYVALUE, L"Invalid property value", CTL_E_INVALIDPROPERTYVALUE},
      {"Valor = an array", 0x68030017, LongArray(), MAKE_HRESULT(1, FACILITY_CONTROL, 13), L"Type mismatch", MAKE_HRESULT(1, FACILITY_CONTROL, 13)},
      {"Valido = True", 0x68030018, I4(-1), CTL_E_SETNOTSUPPORTED, L"Property is read-only", CTL_E_SETNOTSUPPORTED},
  };
  for (const FailingWrite& w : rows) {
    const std::wstring before = ValueOf(d, w.id);
    Call described;
    Invoke(d, described, w.id, DISPATCH_PROPERTYPUT, {w.value}, {DISPID_PROPERTYPUT});
    ok(described.hr == DISP_E_EXCEPTION, "%s: 0x%08lx", w.name, described.hr);
    ok(described.exception.scode == w.scode, "%s: scode 0x%08lx", w.name, described.exception.scode);
    ok(described.exception.bstrDescription && std::wstring(described.exception.bstrDescription) == w.description,
       "%s: description %ls", w.name, described.exception.bstrDescription ? described.exception.bstrDescription : L"(none)");
    ok(ValueOf(d, w.id) == before, "%s: the value changed", w.name);
    Call plain;
    Invoke(d, plain, w.id, DISPATCH_PROPERTYPUT, {w.value}, {DISPID_PROPERTYPUT}, IID_NULL, true, false);
    ok(FAILED(plain.hr) && plain.hr != DISP_E_EXCEPTION ? plain.hr == w.plain : true, "%s without EXCEPINFO: 0x%08lx", w.name, plain.hr);
    if (plain.hr == DISP_E_TYPEMISMATCH || plain.hr == DISP_E_OVERFLOW)
      ok(plain.argumentError == 0, "%s: the argument at fault is %u", w.name, plain.argumentError);
    ok(ValueOf(d, w.id) == before, "%s without EXCEPINFO: the value changed", w.name);
  }
  for (FailingWrite& w : rows) VariantClear(&w.value);
}

void test_ids_of_names(IDispatch* d) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(L"Tipo"), const_cast<LPOLESTR>(L"Nenhum")};
  DISPID ids[2] = {static_cast<DISPID>(kSentinel), static_cast<DISPID>(kSentinel)};
  ok(IDispatch_GetIDsOfNames(d, IID_IDispatch, names, 1, 0, ids) == DISP_E_UNKNOWNINTERFACE &&
         ids[0] == static_cast<DISPID>(kSentinel),
     "GetIDsOfNames through another interface id");
  ok(IDispatch_GetIDsOfNames(d, IID_NULL, nullptr, 1, 0, ids) == E_INVALIDARG, "GetIDsOfNames without names");
  ok(IDispatch_GetIDsOfNames(d, IID_NULL, names, 1, 0, nullptr) == E_INVALIDARG, "GetIDsOfNames without ids");
  ok(IDispatch_GetIDsOfNames(d, IID_NULL, names, 1, 0, ids) == S_OK && ids[0] == kTipo, "GetIDsOfNames(Tipo): 0x%08lx", ids[0]);
  HRESULT hr = IDispatch_GetIDsOfNames(d, IID_NULL, names + 1, 1, 0, ids);
  ok(hr == DISP_E_UNKNOWNNAME && ids[0] == DISPID_UNKNOWN, "GetIDsOfNames(Nenhum): 0x%08lx 0x%08lx", hr, ids[0]);
}

// ---- Random calls ----

// A small generator of our own, so that a failing run can be repeated from its seed.
struct Random {
  unsigned long long state;
  unsigned Next() {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return static_cast<unsigned>(state >> 11);
  }
  unsigned Below(unsigned n) { return Next() % n; }
};

struct RandomArguments {
  std::vector<VARIANT> values;
  std::vector<BSTR> strings;
  std::vector<SAFEARRAY*> arrays;
  LONG byRefLong = 42;
  VARIANT byRefVariant;
  ~RandomArguments() {
    for (BSTR s : strings) SysFreeString(s);
    for (SAFEARRAY* a : arrays) SafeArrayDestroy(a);
  }
  BSTR String(Random& r) {
    std::wstring s;
    switch (r.Below(6)) {
      case 0: break;                                                     // empty
      case 1: s.assign(30000 + r.Below(20000), L'a'); break;             // long text
      case 2: s.assign(r.Below(4000), L'7'); break;                      // digits
      case 3: s = std::wstring(L"12\0" L"3\xD800\xFEFF\x200F" L"1.234,56", 13); break;  // NULs, a lone surrogate, marks
      case 4: s = std::to_wstring(static_cast<int>(r.Below(400)) - 50); break;
      default: s = L"UM REAL"; break;
    }
    BSTR b = SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
    strings.push_back(b);
    return b;
  }
  VARIANT Value(Random& r) {
    VARIANT v;
    VariantInit(&v);
    switch (r.Below(16)) {
      case 0: break;  // VT_EMPTY
      case 1: V_VT(&v) = VT_NULL; break;
      case 2: V_VT(&v) = VT_I2; V_I2(&v) = static_cast<SHORT>(r.Next()); break;
      case 3: V_VT(&v) = VT_I4; V_I4(&v) = static_cast<LONG>(r.Below(40)) - 5; break;
      case 4: V_VT(&v) = VT_R8; V_R8(&v) = (static_cast<double>(r.Next()) - 2e9) / 1e3; break;
      case 5: V_VT(&v) = VT_BSTR; V_BSTR(&v) = String(r); break;
      case 6: V_VT(&v) = VT_DISPATCH; V_DISPATCH(&v) = nullptr; break;
      case 7: V_VT(&v) = VT_UNKNOWN; V_UNKNOWN(&v) = nullptr; break;
      case 8: V_VT(&v) = VT_BOOL; V_BOOL(&v) = r.Below(2) ? VARIANT_TRUE : VARIANT_FALSE; break;
      case 9: V_VT(&v) = VT_ERROR; V_ERROR(&v) = DISP_E_PARAMNOTFOUND; break;  // a missing optional argument
      case 10: V_VT(&v) = VT_CY; V_CY(&v).int64 = static_cast<LONGLONG>(r.Next()) * 97; break;
      case 11: V_VT(&v) = VT_DATE; V_DATE(&v) = r.Below(80000); break;
      case 12: V_VT(&v) = VT_UI1; V_UI1(&v) = static_cast<BYTE>(r.Next()); break;
      case 13: V_VT(&v) = VT_BYREF | VT_I4; V_I4REF(&v) = &byRefLong; break;
      case 14:
        VariantInit(&byRefVariant);
        V_VT(&byRefVariant) = VT_I4;
        V_I4(&byRefVariant) = 9;
        V_VT(&v) = VT_BYREF | VT_VARIANT;
        V_VARIANTREF(&v) = &byRefVariant;
        break;
      default: {
        SAFEARRAY* a = SafeArrayCreateVector(VT_I4, 0, 3);
        arrays.push_back(a);
        V_VT(&v) = VT_ARRAY | VT_I4;
        V_ARRAY(&v) = a;
        break;
      }
    }
    return v;
  }
};

void test_random_calls(IDispatch* d, unsigned calls, unsigned long long seed) {
  // The warnings of invalid documents stay off (MSGcpf and TravaCpf False): each costs Wine's
  // message box two seconds to close, and the other suites show them. The hook closes any that
  // still comes.
  constexpr DISPID kMSGcpf = 0x68030007, kTravaCpf = 0x68030009;
  for (DISPID id : {kMSGcpf, kTravaCpf}) {
    Call quiet;
    Invoke(d, quiet, id, DISPATCH_PROPERTYPUT, {I4(0)}, {DISPID_PROPERTYPUT});
    ok(quiet.hr == S_OK, "warnings off (0x%08lx): 0x%08lx", id, quiet.hr);
  }
  std::vector<Member> members = Members();
  std::erase_if(members, [](const Member& m) { return m.id == kMSGcpf || m.id == kTravaCpf; });
  Random r{seed};
  static const WORD kFlags[] = {DISPATCH_METHOD, DISPATCH_PROPERTYGET, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                                DISPATCH_PROPERTYPUT, DISPATCH_PROPERTYPUTREF, DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF};
  static const DISPID kNames[] = {DISPID_PROPERTYPUT, DISPID_PROPERTYPUT, 0, 1, DISPID_UNKNOWN, 0x6803000b};
  unsigned succeeded = 0, boxes = 0;
  for (unsigned i = 0; i < calls; ++i) {
    const DISPID id = r.Below(20) == 0 ? static_cast<DISPID>(r.Next()) : members[r.Below(static_cast<unsigned>(members.size()))].id;
    RandomArguments a;
    std::vector<DISPID> named;
    WORD flags = 0;
    const unsigned shape = r.Below(20);
    if (shape < 8) {
      // A read or call as automation makes it.
      flags = kFlags[r.Below(3)];
    } else if (shape < 16) {
      // A put as automation makes it, of a random value.
      flags = kFlags[3 + r.Below(3)];
      a.values.push_back(a.Value(r));
      named.push_back(DISPID_PROPERTYPUT);
    } else {
      // Any flags, any count of arguments, any names.
      flags = r.Below(10) == 0 ? static_cast<WORD>(r.Below(64)) : kFlags[r.Below(6)];
      const unsigned count = r.Below(4);
      for (unsigned k = 0; k < count; ++k) a.values.push_back(a.Value(r));
      const unsigned namedCount = count == 0 ? 0 : r.Below(count + 1);
      for (unsigned k = 0; k < namedCount; ++k) named.push_back(kNames[r.Below(6)]);
    }
    Call c;
    Invoke(d, c, id, flags, a.values, named, r.Below(40) == 0 ? IID_IDispatch : IID_NULL, r.Below(5) != 0, r.Below(3) != 0);
    if (SUCCEEDED(c.hr)) ++succeeded;
    if (i % 64 == 0) {
      MSG m;
      while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
      boxes += static_cast<unsigned>(g_boxes.size());
      g_boxes.clear();  // the warnings of invalid documents, closed by the hook
    }
  }
  std::printf("random calls: %u (seed %llu), %u succeeded, %u warnings shown\n", calls, seed, succeeded, boxes);
  // The calls must mostly reach the members, or the random values test nothing.
  ok(succeeded > calls / 4, "random calls: only %u of %u succeeded", succeeded, calls);
}

// The control still does its job after all of it.
void test_still_works(IDispatch* d, HWND edit) {
  Call tipo, text;
  VARIANT cpf = Bstr(L"12345678909");
  Invoke(d, tipo, kTipo, DISPATCH_PROPERTYPUT, {I4(9)}, {DISPID_PROPERTYPUT});
  Invoke(d, text, DISPID_VALUE, DISPATCH_PROPERTYPUT, {cpf}, {DISPID_PROPERTYPUT});
  VariantClear(&cpf);
  ok(tipo.hr == S_OK && text.hr == S_OK, "writes after the random calls: 0x%08lx 0x%08lx", tipo.hr, text.hr);
  ok(ValueOf(d, DISPID_VALUE) == L"123.456.789-09", "Text after the random calls: %ls", ValueOf(d, DISPID_VALUE).c_str());
  wchar_t shown[64] = {};
  GetWindowTextW(edit, shown, 64);
  ok(std::wstring(shown) == L"123.456.789-09", "the EDIT shows %ls", shown);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  const unsigned calls = argc > 1 ? static_cast<unsigned>(_wtoi(argv[1])) : 20000;
  const unsigned long long seed = argc > 2 ? _wtoi64(argv[2]) : GetTickCount64() | 1;
  OleInitialize(nullptr);
  HWND form = CreateWindowExW(0, L"STATIC", L"Delvorin", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 120, nullptr, nullptr,
                              nullptr, nullptr);
  MinimalSite site;
  site.reflects = true;
  HRESULT hr = site.Create(form, RECT{10, 10, 250, 34});
  ok(hr == S_OK && site.Edit(), "the control placed: 0x%08lx", hr);
  IDispatch* d = site.Interface<IDispatch>(IID_IDispatch);
  ok(d != nullptr, "IDispatch");
  if (d) {
    // The same members through each dispatch interface the control answers.
    const struct {
      const char* name;
      const IID& iid;
    } interfaces[] = {{"IDispatch", IID_IDispatch}, {"_Delvorin", kIid_Delvorin}, {"_Delvorin11", kIid_Delvorin11},
                     {"_Delvorin12", kIid_Delvorin12}};
    for (const auto& i : interfaces) {
      IDispatch* x = site.Interface<IDispatch>(i.iid);
      ok(x != nullptr, "%s", i.name);
      if (!x) continue;
      test_members(x, i.name);
      IDispatch_Release(x);
    }
    test_failing_writes(d);
    test_ids_of_names(d);
    // Leaving an invalid document shows a warning: the hook closes it.
    HHOOK hook = SetWindowsHookExW(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
    test_random_calls(d, calls, seed);
    UnhookWindowsHookEx(hook);
    test_still_works(d, site.Edit());
    IDispatch_Release(d);
  }
  PumpMessages();
  ok(site.Destroy(), "the control gave back every reference");
  DestroyWindow(form);
  OleUninitialize();
  return Result("test_dispatch");
}
