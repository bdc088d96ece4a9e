#include "control/Delvorin.h"
#include "control/Accessibility.h"
#include "control/FieldValue.h"
#include "format/Conversions.h"
#include "format/Mascara.h"

namespace delvorin {

Delvorin::Delvorin(EditBox& txo, Container& host, Runtime& runtime)
    : txo_(txo), host_(host), runtime_(runtime), filter_(s_, txo, runtime), focusEntry_(s_, txo), leaveField_(s_, txo, runtime) {}

void Delvorin::InitProperties() {
  // Fields only: the edit box keeps its design-time state and no notice is sent.
  s_.Tipo = tipo::Texto;
  s_.Negativo = kFalse;
  s_.TravaCpf = kFalse;
  s_.Digitos = 2;
  s_.MSGcpf = kTrue;
  s_.Aspas = kFalse;
  s_.TC_Trim = kFalse;
  s_.Usar_Enter = kTrue;
  s_.usar_parenteses = kTrue;
  s_.CnpjAlfanumerico = kTrue;
  s_.UF.clear();
  s_.Mascara.clear();
  s_.NomeAcessivel.clear();
}

Status Delvorin::Resize() {
  DELVORIN_TRY(txo_.SetWidth(host_.Width()));
  return txo_.SetHeight(host_.Height());
}

Variant Delvorin::GetOwn(Property p) const {
  switch (p) {
    case Property::Tipo: return Variant::UI1(s_.Tipo);
    case Property::Negativo: return Variant::Boolean(s_.Negativo);
    case Property::TravaCpf: return Variant::Boolean(s_.TravaCpf);
    case Property::Digitos: return Variant::UI1(s_.Digitos);
    case Property::MSGcpf: return Variant::Boolean(s_.MSGcpf);
    case Property::Aspas: return Variant::Boolean(s_.Aspas);
    case Property::TC_Trim: return Variant::Boolean(s_.TC_Trim);
    case Property::Usar_Enter: return Variant::Boolean(s_.Usar_Enter);
    case Property::usar_parenteses: return Variant::Boolean(s_.usar_parenteses);
    case Property::CnpjAlfanumerico: return Variant::Boolean(s_.CnpjAlfanumerico);
    case Property::UF: return Variant::Str(s_.UF);
    case Property::Mascara: return Variant::Str(s_.Mascara);
    case Property::NomeAcessivel: return Variant::Str(s_.NomeAcessivel);
    case Property::Valor: return Valor();
    case Property::Valido: return Variant::Boolean(Valido());
    default: return Variant();
  }
}

Status Delvorin::SetOwn(Property p, const Variant& v) {
  switch (p) {
    case Property::Tipo: return SetTipo(v.ui1());
    case Property::Negativo: return SetNegativo(v.boolean());
    case Property::TravaCpf: return SetTravaCpf(v.boolean());
    case Property::Digitos: return SetDigitos(v.ui1());
    case Property::MSGcpf: return SetMSGcpf(v.boolean());
    case Property::Aspas: return SetAspas(v.boolean());
    case Property::TC_Trim: return SetTC_Trim(v.boolean());
    case Property::Usar_Enter: return SetUsar_Enter(v.boolean());
    case Property::usar_parenteses: return Setusar_parenteses(v.boolean());
    case Property::CnpjAlfanumerico: return SetCnpjAlfanumerico(v.boolean());
    case Property::UF: return SetUF(v.str());
    case Property::Mascara: return SetMascara(v.str());
    case Property::NomeAcessivel: return SetNomeAcessivel(v.str());
    case Property::Valor: return SetValor(v);
    default: return Status(Status::kFail);
  }
}

Status Delvorin::SetUF(std::u16string_view v) {
  std::u16string uf;
  if (!ReadUf(v, uf)) return Status::InvalidPropertyValue();
  s_.UF = std::move(uf);
  return host_.PropertyChanged(u"UF");
}

Status Delvorin::SetMascara(std::u16string_view v) {
  // A mask that cannot be read is refused and the mask in use stays.
  Layout mask;
  if (!ReadMascara(v, mask)) return Status::InvalidPropertyValue();
  s_.Mascara.assign(v);
  return host_.PropertyChanged(u"Mascara");
}

Status Delvorin::SetNomeAcessivel(std::u16string_view v) {
  if (s_.NomeAcessivel == v) return host_.PropertyChanged(u"NomeAcessivel");
  s_.NomeAcessivel.assign(v);
  host_.AccessibleChanged(AccessibleChange::Name);
  return host_.PropertyChanged(u"NomeAcessivel");
}

std::u16string Delvorin::AccessibleDescription() const { return DescriptionOfField(s_.Tipo, invalid_); }

bool Delvorin::HidesText() const {
  Variant password;
  return !txo_.GetProperty(Property::PasswordChar, password).ok() || password.type() != VarType::Str ||
         !password.str().empty();
}

void Delvorin::Leave(std::u16string text) {
  leaveField_.FormataCampo(std::move(text));
  // The field left invalid says so in its description until its text changes.
  if (leaveField_.invalid() == invalid_) return;
  invalid_.assign(leaveField_.invalid());
  host_.AccessibleChanged(AccessibleChange::Description);
}

Variant Delvorin::Valor() const { return ValorOf(s_, txo_.Text(), extensoAmount_); }

bool Delvorin::Valido() const { return IsValido(s_, txo_.Text(), extensoAmount_); }

Status Delvorin::SetValor(const Variant& v) {
  if (v.type() == VarType::Empty || v.type() == VarType::Null) {
    // No value: the field is emptied in every type (a write of Text would show an amount's 0).
    EditBatch batch(txo_);
    DELVORIN_TRY(txo_.SetText(u""));
    return host_.PropertyChanged(u"Text");
  }
  std::u16string text;
  DELVORIN_TRY(TextOfValor(s_, v, text));
  return SetText(text);
}

Status Delvorin::Get(Property p, Variant& value) const {
  const PropertyDescription& d = DescriptionOf(p);
  if (d.holder == Holder::Control) {
    value = GetOwn(p);
    return Status::Ok();
  }
  if (p == Property::Text) {
    value = Variant::Str(txo_.Text());
    return Status::Ok();
  }
  return txo_.GetProperty(p, value);
}

Status Delvorin::Put(Property p, const Variant& value) {
  const PropertyDescription& d = DescriptionOf(p);
  if (d.readOnly) return Status(Status::kReadOnly);
  Variant v = value;  // a Variant property takes any value and converts it itself
  if (d.type != PropertyType::Variant) DELVORIN_TRY(ChangeType(value, ValueTypeOf(d.type), v));
  if (d.holder == Holder::Control) return SetOwn(p, v);
  if (p == Property::Text) return SetText(v.str());
  DELVORIN_TRY(txo_.SetProperty(p, v));
  return host_.PropertyChanged(d.name);
}

ObjectRef Delvorin::Atualiza() {
  EditBatch batch(txo_);
  Leave(txo_.Text());
  return nullptr;
}

}  // namespace delvorin
