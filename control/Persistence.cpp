// Loading and saving the properties through the container's property bag: one key per
// property, in slot order, each with the default the bag gives for an absent key.
#include "control/Delvorin.h"
#include "control/FieldValue.h"
#include "format/Conversions.h"
#include "format/Mascara.h"

namespace delvorin {
namespace {

Variant DefaultOf(const PropertyDescription& d, Container& host) {
  switch (d.storedDefault) {
    case StoredDefault::Int16: return Variant::I2(static_cast<int16_t>(d.defaultValue));
    case StoredDefault::Int32: return Variant::I4(d.defaultValue);
    case StoredDefault::Boolean: return Variant::Boolean(static_cast<int16_t>(d.defaultValue));
    case StoredDefault::EmptyText: return Variant::Str(u"");
    case StoredDefault::AmbientFont: return Variant::Object(host.AmbientFont());
    case StoredDefault::EmptyObject: return Variant::Object(nullptr);
  }
  return Variant();
}

}  // namespace

Status Delvorin::ReadProperties(PropertyBag& bag) {
  EditBatch batch(txo_);
  for (const PropertyDescription& d : kProperties) {
    if (!d.persisted) continue;
    Variant stored;
    DELVORIN_TRY(bag.Read(d.name, stored, DefaultOf(d, host_)));
    Variant value;
    DELVORIN_TRY(ChangeType(stored, ValueTypeOf(d.type), value));
    if (d.id == Property::MouseIcon) {
      // The only key loaded through the public setter, hence the only notice of a load.
      DELVORIN_TRY(Put(d.id, value));
    } else if (d.id == Property::Text) {
      DELVORIN_TRY(txo_.SetText(value.str()));  // as saved, without formatting
    } else if (d.holder == Holder::EditBox) {
      DELVORIN_TRY(txo_.SetProperty(d.id, value));
    } else {
      switch (d.id) {
        case Property::Tipo: s_.Tipo = value.ui1(); break;
        case Property::Digitos: s_.Digitos = value.ui1(); break;
        case Property::Negativo: s_.Negativo = value.boolean(); break;
        case Property::TravaCpf: s_.TravaCpf = value.boolean(); break;
        case Property::MSGcpf: s_.MSGcpf = value.boolean(); break;
        case Property::Aspas: s_.Aspas = value.boolean(); break;
        case Property::TC_Trim: s_.TC_Trim = value.boolean(); break;
        case Property::Usar_Enter: s_.Usar_Enter = value.boolean(); break;
        case Property::usar_parenteses: s_.usar_parenteses = value.boolean(); break;
        case Property::CnpjAlfanumerico: s_.CnpjAlfanumerico = value.boolean(); break;
        case Property::UF:
          // A stored state is checked as a write checks it (an absent key is empty).
          if (!ReadUf(value.str(), s_.UF)) return Status::InvalidPropertyValue();
          break;
        case Property::Mascara: {
          // So is a stored mask: one that cannot be read is refused.
          Layout mask;
          if (!ReadMascara(value.str(), mask)) return Status::InvalidPropertyValue();
          s_.Mascara = value.str();
          break;
        }
        case Property::NomeAcessivel: s_.NomeAcessivel = value.str(); break;
        default: return Status(Status::kFail);
      }
    }
  }
  return Status::Ok();
}

Status Delvorin::WriteProperties(PropertyBag& bag) {
  for (const PropertyDescription& d : kProperties) {
    if (!d.persisted) continue;
    Variant value;
    DELVORIN_TRY(Get(d.id, value));
    DELVORIN_TRY(bag.Write(d.name, value, DefaultOf(d, host_)));
  }
  return Status::Ok();
}

}  // namespace delvorin
