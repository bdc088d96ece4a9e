#include "core/Properties.h"

#include "core/Variant.h"

namespace delvorin {

const PropertyDescription* ProcuraPropriedade(std::u16string_view nome) {
  for (const auto& d : kProperties)
    if (d.nome == nome) return &d;
  return nullptr;
}

VarType TipoDoValor(PropertyType tipo) {
  switch (tipo) {
    case PropertyType::Inteiro16: return VarType::I2;
    case PropertyType::Cor: return VarType::I4;
    case PropertyType::Booleano: return VarType::Bool;
    case PropertyType::Fonte: return VarType::Object;
    case PropertyType::Inteiro32: return VarType::I4;
    case PropertyType::Texto: return VarType::Str;
    case PropertyType::Byte: return VarType::UI1;
    case PropertyType::Figura: return VarType::Object;
  }
  return VarType::Empty;
}

}  // namespace delvorin
