#include "control/Propriedades.h"

#include "control/Variant.h"

namespace delvorin {

const DescricaoPropriedade* ProcuraPropriedade(std::u16string_view nome) {
  for (const auto& d : kPropriedades)
    if (d.nome == nome) return &d;
  return nullptr;
}

VarType TipoDoValor(TipoPropriedade tipo) {
  switch (tipo) {
    case TipoPropriedade::Inteiro16: return VarType::I2;
    case TipoPropriedade::Cor: return VarType::I4;
    case TipoPropriedade::Booleano: return VarType::Bool;
    case TipoPropriedade::Fonte: return VarType::Object;
    case TipoPropriedade::Inteiro32: return VarType::I4;
    case TipoPropriedade::Texto: return VarType::Str;
    case TipoPropriedade::Byte: return VarType::UI1;
    case TipoPropriedade::Figura: return VarType::Object;
  }
  return VarType::Empty;
}

}  // namespace delvorin
