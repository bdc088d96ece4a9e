#include "ocx/PropertyAccessDispatch.h"

#include <string>

namespace delvorin::ocx {
namespace {

std::u16string DeBstr(BSTR b) {
  return b ? std::u16string(reinterpret_cast<const char16_t*>(b), SysStringLen(b)) : std::u16string();
}

// The system's text of an HRESULT the automation layer has no description of.
std::u16string TextoDoSistema(HRESULT hr) {
  wchar_t* texto = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&texto), 0, nullptr);
  std::u16string r;
  if (n && texto) {
    r.assign(reinterpret_cast<const char16_t*>(texto), n);
    while (!r.empty() && (r.back() == u'\n' || r.back() == u'\r' || r.back() == u' ')) r.pop_back();
  }
  LocalFree(texto);
  return r;
}

std::u16string Descreve(HRESULT hr) {
  std::u16string d = DescricaoDe(Status(hr));
  if (hr != E_FAIL && d == DescricaoDe(Status(Status::kFail))) {
    std::u16string s = TextoDoSistema(hr);
    if (!s.empty()) d = std::move(s);
  }
  return d;
}

// The description the object left in its error information, when it says it leaves one.
std::u16string DescricaoDoObjeto(IDispatch* objeto) {
  ISupportErrorInfo* suporte = nullptr;
  if (FAILED(IDispatch_QueryInterface(objeto, IID_ISupportErrorInfo, reinterpret_cast<void**>(&suporte))) || !suporte)
    return {};
  const bool deixa = ISupportErrorInfo_InterfaceSupportsErrorInfo(suporte, IID_IDispatch) == S_OK;
  ISupportErrorInfo_Release(suporte);
  IErrorInfo* info = nullptr;
  if (!deixa || GetErrorInfo(0, &info) != S_OK || !info) return {};
  BSTR texto = nullptr;
  IErrorInfo_GetDescription(info, &texto);
  IErrorInfo_Release(info);
  std::u16string r = DeBstr(texto);
  SysFreeString(texto);
  return r;
}

}  // namespace

HRESULT ParaVariant(const Variant& de, VARIANT& para) {
  VariantInit(&para);
  switch (de.type()) {
    case VarType::Empty: return S_OK;
    case VarType::I2: V_VT(&para) = VT_I2; V_I2(&para) = de.i2(); return S_OK;
    case VarType::I4: V_VT(&para) = VT_I4; V_I4(&para) = de.i4(); return S_OK;
    case VarType::UI1: V_VT(&para) = VT_UI1; V_UI1(&para) = de.ui1(); return S_OK;
    case VarType::Bool: V_VT(&para) = VT_BOOL; V_BOOL(&para) = de.boolean(); return S_OK;
    case VarType::R4: V_VT(&para) = VT_R4; V_R4(&para) = de.r4(); return S_OK;
    case VarType::R8: V_VT(&para) = VT_R8; V_R8(&para) = de.r8(); return S_OK;
    case VarType::Str: {
      BSTR b = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(de.str().data()), static_cast<UINT>(de.str().size()));
      if (!b) return E_OUTOFMEMORY;
      V_VT(&para) = VT_BSTR;
      V_BSTR(&para) = b;
      return S_OK;
    }
    case VarType::Object: break;
  }
  return DISP_E_TYPEMISMATCH;
}

HRESULT DeVariant(const VARIANT& de, Variant& para) {
  switch (V_VT(&de)) {
    case VT_EMPTY: para = Variant(); return S_OK;
    case VT_I2: para = Variant::I2(V_I2(&de)); return S_OK;
    case VT_I4: para = Variant::I4(V_I4(&de)); return S_OK;
    case VT_UI1: para = Variant::UI1(V_UI1(&de)); return S_OK;
    case VT_BOOL: para = Variant::Boolean(static_cast<int16_t>(V_BOOL(&de))); return S_OK;
    case VT_R4: para = Variant::R4(V_R4(&de)); return S_OK;
    case VT_R8: para = Variant::R8(V_R8(&de)); return S_OK;
    case VT_BSTR: para = Variant::Str(DeBstr(V_BSTR(&de))); return S_OK;
    case VT_DISPATCH:
    case VT_UNKNOWN:
    case VT_NULL:
    case VT_ERROR: return DISP_E_TYPEMISMATCH;
    default: break;
  }
  // Other numbers (VT_I1, VT_UI4, VT_CY, VT_DECIMAL...) as a double, anything else as text.
  VARIANT convertido;
  VariantInit(&convertido);
  if (SUCCEEDED(VariantChangeTypeEx(&convertido, const_cast<VARIANT*>(&de), LOCALE_INVARIANT, 0, VT_R8))) {
    para = Variant::R8(V_R8(&convertido));
    return S_OK;
  }
  HRESULT hr = VariantChangeTypeEx(&convertido, const_cast<VARIANT*>(&de), LOCALE_INVARIANT, 0, VT_BSTR);
  if (FAILED(hr)) return DISP_E_TYPEMISMATCH;
  para = Variant::Str(DeBstr(V_BSTR(&convertido)));
  VariantClear(&convertido);
  return S_OK;
}

void PropertyAccessDispatch::Seleciona(IDispatch* objeto) {
  if (objeto) IDispatch_AddRef(objeto);
  if (objeto_) IDispatch_Release(objeto_);
  objeto_ = objeto;
}

DISPID PropertyAccessDispatch::Id(std::u16string_view nome) const {
  if (!objeto_) return DISPID_UNKNOWN;
  std::wstring w(nome.begin(), nome.end());
  LPOLESTR p = w.data();
  DISPID id = DISPID_UNKNOWN;
  if (FAILED(IDispatch_GetIDsOfNames(objeto_, IID_NULL, &p, 1, LOCALE_USER_DEFAULT, &id))) return DISPID_UNKNOWN;
  return id;
}

Result PropertyAccessDispatch::Invoca(std::u16string_view nome, WORD flags, DISPPARAMS* parametros, VARIANT* resultado) {
  if (!objeto_) return SemSelecionado();
  std::wstring w(nome.begin(), nome.end());
  LPOLESTR p = w.data();
  DISPID id = DISPID_UNKNOWN;
  HRESULT hr = IDispatch_GetIDsOfNames(objeto_, IID_NULL, &p, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return {Status(hr), Descreve(hr) + u": " + std::u16string(nome)};

  EXCEPINFO excecao{};
  UINT argumento = 0;
  SetErrorInfo(0, nullptr);  // what is read after a failure is this call's
  hr = IDispatch_Invoke(objeto_, id, IID_NULL, LOCALE_USER_DEFAULT, flags, parametros, resultado, &excecao, &argumento);
  if (SUCCEEDED(hr)) return {};

  std::u16string descricao;
  if (hr == DISP_E_EXCEPTION) {
    if (excecao.pfnDeferredFillIn) excecao.pfnDeferredFillIn(&excecao);
    if (excecao.scode) hr = excecao.scode;
    else if (excecao.wCode) hr = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, excecao.wCode);
    descricao = DeBstr(excecao.bstrDescription);
  } else {
    descricao = DescricaoDoObjeto(objeto_);
  }
  SysFreeString(excecao.bstrSource);
  SysFreeString(excecao.bstrDescription);
  SysFreeString(excecao.bstrHelpFile);
  if (descricao.empty()) descricao = Descreve(hr);
  return {Status(hr), std::move(descricao)};
}

Result PropertyAccessDispatch::Le(std::u16string_view nome, Variant& valor) {
  VARIANT resultado;
  VariantInit(&resultado);
  DISPPARAMS nenhum{nullptr, nullptr, 0, 0};
  Result r = Invoca(nome, DISPATCH_PROPERTYGET, &nenhum, &resultado);
  if (r.ok()) {
    HRESULT hr = DeVariant(resultado, valor);
    if (FAILED(hr)) r = Result(Status(hr), Descreve(hr) + u": " + std::u16string(nome));
  }
  VariantClear(&resultado);
  return r;
}

Result PropertyAccessDispatch::Escreve(std::u16string_view nome, const Variant& valor) {
  VARIANT argumento;
  HRESULT hr = ParaVariant(valor, argumento);
  if (FAILED(hr)) return Status(hr);
  DISPID nomeado = DISPID_PROPERTYPUT;
  DISPPARAMS parametros{&argumento, &nomeado, 1, 1};
  Result r = Invoca(nome, DISPATCH_PROPERTYPUT, &parametros, nullptr);
  VariantClear(&argumento);
  return r;
}

}  // namespace delvorin::ocx
