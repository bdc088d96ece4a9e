// Reads the registered type library back and checks every member, type, dispatch id and
// help string against the engine's property table, and the classes of the property pages;
// checks the registry keys the server wrote, or, with "removido", that unregistration
// removed them.
#include <windows.h>
#include <oleauto.h>

#include <string>

#include "control/Propriedades.h"
#include "ocx/Identificadores.h"
#include "ocx/testes/Teste.h"

using namespace delvorin;
using namespace delvorin::ocx;
using delvorin::ocx::teste::Estreito;
using delvorin::ocx::teste::Largo;

namespace {

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

std::wstring Esperado(TipoPropriedade t) {
  switch (t) {
    case TipoPropriedade::Inteiro16: return L"I2";
    case TipoPropriedade::Cor: return L"OLE_COLOR";
    case TipoPropriedade::Booleano: return L"BOOL";
    case TipoPropriedade::Fonte: return L"IFontDisp*";
    case TipoPropriedade::Inteiro32: return L"I4";
    case TipoPropriedade::Texto: return L"BSTR";
    case TipoPropriedade::Byte: return L"UI1";
    case TipoPropriedade::Figura: return L"IPictureDisp*";
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

void ConfereInterface(ITypeLib* lib) {
  ITypeInfo* disp = nullptr;
  HRESULT hr = lib->GetTypeInfoOfGuid(kIid_Delvorin, &disp);
  ok(hr == S_OK, "GetTypeInfoOfGuid(_Delvorin): %08lx", hr);
  if (FAILED(hr)) return;
  TYPEATTR* a = nullptr;
  disp->GetTypeAttr(&a);
  ok(a->typekind == TKIND_DISPATCH, "typekind %d", a->typekind);
  ok((a->wTypeFlags & (TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL)) == (TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL), "flags %x", a->wTypeFlags);
  disp->ReleaseTypeAttr(a);
  ok(Documentacao(disp, MEMBERID_NIL, false) == L"_Delvorin", "interface name");

  // The vtable side gives the slots in order.
  HREFTYPE ref = 0;
  ITypeInfo* vt = nullptr;
  hr = disp->GetRefTypeOfImplType(-1, &ref);
  if (SUCCEEDED(hr)) hr = disp->GetRefTypeInfo(ref, &vt);
  ok(hr == S_OK, "vtable interface: %08lx", hr);
  if (FAILED(hr)) {
    disp->Release();
    return;
  }
  vt->GetTypeAttr(&a);
  ok(a->cFuncs == 2 * kNumeroPropriedades + 1, "%d functions", a->cFuncs);
  const WORD funcoes = a->cFuncs;
  vt->ReleaseTypeAttr(a);
  for (WORD i = 0; i < funcoes && i < 2 * kNumeroPropriedades + 1; ++i) {
    FUNCDESC* f = nullptr;
    if (FAILED(vt->GetFuncDesc(i, &f))) continue;
    std::wstring nome = Documentacao(vt, f->memid, false);
    if (i == 2 * kNumeroPropriedades) {
      ok(nome == Largo(kAtualiza.nome), "slot %u: %s", i, Estreito(nome).c_str());
      ok(f->memid == kAtualiza.dispid, "Atualiza id %lx", f->memid);
      ok(f->invkind == INVOKE_FUNC, "Atualiza invkind %d", f->invkind);
      ok(Documentacao(vt, f->memid, true) == Largo(kAtualiza.ajuda), "Atualiza help");
      ok(f->cParams == 1 && Tipo(vt, f->lprgelemdescParam[0].tdesc) == L"IDispatch**", "Atualiza result");
    } else {
      const DescricaoPropriedade& d = kPropriedades[i / 2];
      const bool get = i % 2 == 0;
      ok(nome == Largo(d.nome), "slot %u: %s, expected %s", i, Estreito(nome).c_str(), Estreito(Largo(d.nome)).c_str());
      ok(f->memid == d.dispid, "%s: id %lx, expected %lx", Estreito(nome).c_str(), f->memid, static_cast<long>(d.dispid));
      const bool objeto = d.tipo == TipoPropriedade::Fonte || d.tipo == TipoPropriedade::Figura;
      const INVOKEKIND esperado = get ? INVOKE_PROPERTYGET : (objeto ? INVOKE_PROPERTYPUTREF : INVOKE_PROPERTYPUT);
      ok(f->invkind == esperado, "%s: invkind %d", Estreito(nome).c_str(), f->invkind);
      ok(Documentacao(vt, f->memid, true) == Largo(d.ajuda), "%s: help string", Estreito(nome).c_str());
      std::wstring tipo = f->cParams == 1 ? Tipo(vt, f->lprgelemdescParam[0].tdesc) : L"";
      std::wstring tipoEsperado = Esperado(d.tipo) + (get ? L"*" : L"");
      ok(tipo == tipoEsperado, "%s: type %s, expected %s", Estreito(nome).c_str(), Estreito(tipo).c_str(),
         Estreito(tipoEsperado).c_str());
    }
    vt->ReleaseFuncDesc(f);
  }
  vt->Release();
  disp->Release();
}

void ConfereEventos(ITypeLib* lib) {
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
    const DescricaoEvento& e = kEventos[i];
    ok(Documentacao(info, f->memid, false) == Largo(e.nome), "event %u name", i);
    ok(f->memid == e.dispid, "event %u id %ld", i, f->memid);
    ok(f->cParams == e.numeroArgumentos, "event %u: %d arguments", i, f->cParams);
    for (int k = 0; k < f->cParams && k < e.numeroArgumentos; ++k) {
      std::wstring t = Tipo(info, f->lprgelemdescParam[k].tdesc);
      std::wstring esperado = e.argumentos[static_cast<size_t>(k)].tipo == TipoArgumento::Inteiro16 ? L"I2*" : L"R4*";
      ok(t == esperado, "event %u argument %d: %s", i, k, Estreito(t).c_str());
    }
    info->ReleaseFuncDesc(f);
  }
  info->Release();
}

void ConfereClasse(ITypeLib* lib) {
  ITypeInfo* info = nullptr;
  HRESULT hr = lib->GetTypeInfoOfGuid(kClsidDelvorin, &info);
  ok(hr == S_OK, "GetTypeInfoOfGuid(Delvorin): %08lx", hr);
  if (FAILED(hr)) return;
  TYPEATTR* a = nullptr;
  info->GetTypeAttr(&a);
  ok(a->typekind == TKIND_COCLASS && (a->wTypeFlags & TYPEFLAG_FCONTROL), "coclass flags %x", a->wTypeFlags);
  ok(a->cImplTypes == 2, "%d implemented types", a->cImplTypes);
  info->ReleaseTypeAttr(a);
  INT flags = 0;
  info->GetImplTypeFlags(0, &flags);
  ok(flags == IMPLTYPEFLAG_FDEFAULT, "default interface flags %x", flags);
  info->GetImplTypeFlags(1, &flags);
  ok(flags == (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE), "source flags %x", flags);
  info->Release();
}

std::wstring LeChave(const std::wstring& chave, const wchar_t* nome, bool& existe) {
  wchar_t dado[1024];
  DWORD tamanho = sizeof dado;
  LONG r = RegGetValueW(HKEY_CLASSES_ROOT, chave.c_str(), nome, RRF_RT_REG_SZ, nullptr, dado, &tamanho);
  existe = r == ERROR_SUCCESS;
  return existe ? std::wstring(dado) : L"";
}

void ConfereRegistro(bool removido) {
  const std::wstring clsid = std::wstring(L"CLSID\\") + kTextoClsid;
  struct Chave {
    std::wstring chave;
    const wchar_t* nome;
    const wchar_t* valor;  // nullptr: only its presence
  };
  const Chave chaves[] = {
      {clsid + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
      {clsid + L"\\InprocServer32", nullptr, nullptr},
      {clsid + L"\\ProgID", nullptr, kProgIdVersao},
      {clsid + L"\\VersionIndependentProgID", nullptr, kProgId},
      {clsid + L"\\TypeLib", nullptr, kTextoLibid},
      {clsid + L"\\Version", nullptr, L"1.0"},
      {clsid + L"\\MiscStatus\\1", nullptr, L"131473"},
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
  for (const Chave& c : chaves) {
    bool existe = false;
    std::wstring v = LeChave(c.chave, c.nome, existe);
    if (removido) {
      ok(!existe, "%s still registered", Estreito(c.chave).c_str());
    } else {
      ok(existe && (!c.valor || v == c.valor), "%s: %s", Estreito(c.chave).c_str(), Estreito(v).c_str());
    }
  }
  ITypeLib* lib = nullptr;
  HRESULT hr = LoadRegTypeLib(kLibid, 1, 0, LOCALE_NEUTRAL, &lib);
  ok(removido ? FAILED(hr) : hr == S_OK, "LoadRegTypeLib: %08lx", hr);
  if (lib) lib->Release();
  // The page classes are served by the server registered in the same module as the control.
  bool existe = false;
  const std::wstring servidor = LeChave(clsid + L"\\InprocServer32", nullptr, existe);
  for (const wchar_t* pagina : {kTextoClsidGeral, kTextoClsidSobre}) {
    bool temPagina = false;
    const std::wstring caminho = LeChave(std::wstring(L"CLSID\\") + pagina + L"\\InprocServer32", nullptr, temPagina);
    if (!removido) ok(temPagina && caminho == servidor, "%s served by %s", Estreito(pagina).c_str(), Estreito(caminho).c_str());
  }
}

// The property pages are plain classes of the library, each with a hidden dispatch interface
// without members; the library holds nothing else of the headers it was built from.
void ConferePaginas(ITypeLib* lib) {
  const struct {
    const GUID *clsid, *diid;
    const wchar_t *nome, *nomeInterface;
  } paginas[] = {{&kClsidGeral, &kDiid_Geral, L"Geral", L"_Geral"}, {&kClsidSobre, &kDiid_Sobre, L"Sobre", L"_Sobre"}};
  for (const auto& p : paginas) {
    const std::string nome = Estreito(p.nome);
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
  ok(lib->GetTypeInfoCount() == 8, "eight types: %u", lib->GetTypeInfoCount());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool removido = argc > 1 && std::wstring(argv[1]) == L"removido";
  CoInitialize(nullptr);
  ConfereRegistro(removido);
  if (!removido) {
    ITypeLib* lib = nullptr;
    HRESULT hr = LoadRegTypeLib(kLibid, 1, 0, LOCALE_NEUTRAL, &lib);
    if (SUCCEEDED(hr)) {
      BSTR nome = nullptr, texto = nullptr;
      lib->GetDocumentation(-1, &nome, &texto, nullptr, nullptr);
      ok(nome && std::wstring(nome) == L"Palvor" && texto && std::wstring(texto) == L"Palvor", "library name and text");
      SysFreeString(nome);
      SysFreeString(texto);
      ConfereInterface(lib);
      ConfereEventos(lib);
      ConfereClasse(lib);
      ConferePaginas(lib);
      lib->Release();
    }
  }
  CoUninitialize();
  return teste::Resultado(removido ? "teste_biblioteca removido" : "teste_biblioteca");
}
