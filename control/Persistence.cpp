// Loading and saving the properties through the container's property bag: one key per
// property, in slot order, each with the default the bag gives for an absent key.
#include "control/Delvorin.h"
#include "format/Conversions.h"

namespace delvorin {
namespace {

Variant PadraoDe(const PropertyDescription& d, Container& host) {
  switch (d.padrao) {
    case StoredDefault::Inteiro16: return Variant::I2(static_cast<int16_t>(d.valorPadrao));
    case StoredDefault::Inteiro32: return Variant::I4(d.valorPadrao);
    case StoredDefault::Booleano: return Variant::Boolean(static_cast<int16_t>(d.valorPadrao));
    case StoredDefault::TextoVazio: return Variant::Str(u"");
    case StoredDefault::FonteAmbiente: return Variant::Object(host.AmbientFont());
    case StoredDefault::ObjetoVazio: return Variant::Object(nullptr);
  }
  return Variant();
}

}  // namespace

Status Delvorin::ReadProperties(PropertyBag& bag) {
  EditBatch batch(txo_);
  for (const PropertyDescription& d : kProperties) {
    Variant lido;
    DELVORIN_TRY(bag.Read(d.nome, lido, PadraoDe(d, host_)));
    Variant valor;
    DELVORIN_TRY(ChangeType(lido, TipoDoValor(d.tipo), valor));
    if (d.id == Property::MouseIcon) {
      // The only key loaded through the public setter, hence the only notice of a load.
      DELVORIN_TRY(Put(d.id, valor));
    } else if (d.id == Property::Text) {
      DELVORIN_TRY(txo_.SetText(valor.str()));  // as saved, without formatting
    } else if (d.detentor == Holder::EditBox) {
      DELVORIN_TRY(txo_.SetProperty(d.id, valor));
    } else {
      switch (d.id) {
        case Property::Tipo: s_.Tipo = valor.ui1(); break;
        case Property::Digitos: s_.Digitos = valor.ui1(); break;
        case Property::Negativo: s_.Negativo = valor.boolean(); break;
        case Property::TravaCpf: s_.TravaCpf = valor.boolean(); break;
        case Property::MSGcpf: s_.MSGcpf = valor.boolean(); break;
        case Property::Aspas: s_.Aspas = valor.boolean(); break;
        case Property::TC_Trim: s_.TC_Trim = valor.boolean(); break;
        case Property::Usar_Enter: s_.Usar_Enter = valor.boolean(); break;
        case Property::usar_parenteses: s_.usar_parenteses = valor.boolean(); break;
        case Property::CnpjAlfanumerico: s_.CnpjAlfanumerico = valor.boolean(); break;
        default: return Status(Status::kFail);
      }
    }
  }
  return Status::Ok();
}

Status Delvorin::WriteProperties(PropertyBag& bag) {
  for (const PropertyDescription& d : kProperties) {
    Variant valor;
    DELVORIN_TRY(Get(d.id, valor));
    DELVORIN_TRY(bag.Write(d.nome, valor, PadraoDe(d, host_)));
  }
  return Status::Ok();
}

}  // namespace delvorin
