#include "ocx/ComObject.h"

#include <string>

namespace delvorin::ocx {

std::u16string ComObject::Describe() const {
  IFont* fonte = nullptr;
  if (!u_ || FAILED(IUnknown_QueryInterface(u_, IID_IFont, reinterpret_cast<void**>(&fonte)))) return u"(object)";
  BSTR nome = nullptr;
  CY tamanho{};
  IFont_get_Name(fonte, &nome);
  IFont_get_Size(fonte, &tamanho);
  std::u16string r = nome ? std::u16string(reinterpret_cast<const char16_t*>(nome)) : u"";
  SysFreeString(nome);
  IFont_Release(fonte);
  std::string t = std::to_string(tamanho.int64 / 10000);
  if (tamanho.int64 % 10000) t += "," + std::to_string(tamanho.int64 % 10000);
  return r + u" " + std::u16string(t.begin(), t.end());
}

void* ComObject::Interface(const Variant& v, REFIID riid) {
  if (v.type() != VarType::Object) return nullptr;
  auto* o = dynamic_cast<ComObject*>(v.object().get());
  void* p = nullptr;
  if (!o || !o->unknown() || FAILED(IUnknown_QueryInterface(o->unknown(), riid, &p))) return nullptr;
  return p;
}

}  // namespace delvorin::ocx
