#include "control/Delvorin.h"

namespace delvorin {

Delvorin::Delvorin(EditBox& txo, Container& host, Runtime& runtime) : txo_(txo), host_(host), runtime_(runtime) {}

void Delvorin::InitProperties() {
  // Fields only: the edit box keeps its design-time state and no notice is sent.
  Tipo_ = tipo::Texto;
  Negativo_ = kFalse;
  TravaCpf_ = kFalse;
  Digitos_ = 2;
  MSGcpf_ = kTrue;
  Aspas_ = kFalse;
  TC_Trim_ = kFalse;
  Usar_Enter_ = kTrue;
  usar_parenteses_ = kTrue;
  CnpjAlfanumerico_ = kTrue;
}

Status Delvorin::Resize() {
  DELVORIN_TRY(txo_.SetWidth(host_.Width()));
  return txo_.SetHeight(host_.Height());
}

Variant Delvorin::GetOwn(Propriedade p) const {
  switch (p) {
    case Propriedade::Tipo: return Variant::UI1(Tipo_);
    case Propriedade::Negativo: return Variant::Boolean(Negativo_);
    case Propriedade::TravaCpf: return Variant::Boolean(TravaCpf_);
    case Propriedade::Digitos: return Variant::UI1(Digitos_);
    case Propriedade::MSGcpf: return Variant::Boolean(MSGcpf_);
    case Propriedade::Aspas: return Variant::Boolean(Aspas_);
    case Propriedade::TC_Trim: return Variant::Boolean(TC_Trim_);
    case Propriedade::Usar_Enter: return Variant::Boolean(Usar_Enter_);
    case Propriedade::usar_parenteses: return Variant::Boolean(usar_parenteses_);
    case Propriedade::CnpjAlfanumerico: return Variant::Boolean(CnpjAlfanumerico_);
    default: return Variant();
  }
}

Status Delvorin::SetOwn(Propriedade p, const Variant& v) {
  switch (p) {
    case Propriedade::Tipo: return SetTipo(v.ui1());
    case Propriedade::Negativo: return SetNegativo(v.boolean());
    case Propriedade::TravaCpf: return SetTravaCpf(v.boolean());
    case Propriedade::Digitos: return SetDigitos(v.ui1());
    case Propriedade::MSGcpf: return SetMSGcpf(v.boolean());
    case Propriedade::Aspas: return SetAspas(v.boolean());
    case Propriedade::TC_Trim: return SetTC_Trim(v.boolean());
    case Propriedade::Usar_Enter: return SetUsar_Enter(v.boolean());
    case Propriedade::usar_parenteses: return Setusar_parenteses(v.boolean());
    case Propriedade::CnpjAlfanumerico: return SetCnpjAlfanumerico(v.boolean());
    default: return Status(Status::kFail);
  }
}

Status Delvorin::Get(Propriedade p, Variant& value) const {
  const DescricaoPropriedade& d = Descricao(p);
  if (d.detentor == Detentor::Controle) {
    value = GetOwn(p);
    return Status::Ok();
  }
  if (p == Propriedade::Text) {
    value = Variant::Str(txo_.Text());
    return Status::Ok();
  }
  return txo_.GetProperty(p, value);
}

Status Delvorin::Put(Propriedade p, const Variant& value) {
  const DescricaoPropriedade& d = Descricao(p);
  Variant v;
  DELVORIN_TRY(ChangeType(value, TipoDoValor(d.tipo), v));
  if (d.detentor == Detentor::Controle) return SetOwn(p, v);
  if (p == Propriedade::Text) return SetText(v.str());
  DELVORIN_TRY(txo_.SetProperty(p, v));
  return host_.PropertyChanged(d.nome);
}

ObjectRef Delvorin::Atualiza() {
  FormataCampo(txo_.Text());
  return nullptr;
}

}  // namespace delvorin
