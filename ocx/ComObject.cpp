#include "ocx/ComObject.h"

#include <string>

namespace delvorin::ocx {

std::u16string ComObject::Describe() const {
  IFont* font = nullptr;
  if (!u_ || FAILED(IUnknown_QueryInterface(u_, IID_IFont, reinterpret_cast<void**>(&font)))) return u"(object)";
  BSTR name = nullptr;
  CY size{};
  IFont_get_Name(font, &name);
  IFont_get_Size(font, &size);
  std::u16string r = name ? std::u16string(reinterpret_cast<const char16_t*>(name)) : u"";
  SysFreeString(name);
  IFont_Release(font);
  std::string t = std::to_string(size.int64 / 10000);
  if (size.int64 % 10000) t += "," + std::to_string(size.int64 % 10000);
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
