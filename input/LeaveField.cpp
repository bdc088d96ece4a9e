// Leave-field processing by field type; see LeaveField.h.
#include "input/LeaveField.h"

#include "format/DocumentTypes.h"
#include "format/Mascara.h"
#include "format/Moeda.h"
#include "format/Validators.h"
#include "input/LayoutTyping.h"

namespace delvorin {
namespace {

constexpr std::u16string_view kTitle = u"Delvorin";
constexpr int32_t kWarningStyle = 48;  // exclamation icon, one OK button
constexpr std::u16string_view kMascaraMessage = u"Preenchimento Inválido.";
constexpr std::u16string_view kMascaraLongMessage = u"Preenchimento Inválido. Redigite ( ou deixe em branco)";


// Small words that keep their lower case inside a name, each with its trailing space.
constexpr std::u16string_view kSmallWords[] = {u"de ", u"da ", u"das ", u"dos ", u"e ", u"com "};

std::u16string TrimSpaces(std::u16string_view s) {
  size_t first = s.find_first_not_of(u' ');
  if (first == std::u16string_view::npos) return u"";
  size_t last = s.find_last_not_of(u' ');
  return std::u16string(s.substr(first, last - first + 1));
}

}  // namespace

void LeaveField::FormataCampo(std::u16string text) {
  invalid_ = {};
  if (!Run(text).ok()) (void)txo_.SetText(u"0");
}

Status LeaveField::Run(std::u16string& w) {
  // A masked text keeps its characters where the mask put them: no quote swapped, no trim.
  const bool masked = s_.Tipo == tipo::Mascara && !s_.Mascara.empty();
  if (s_.Aspas != 0 && !masked) {
    std::u16string t = txo_.Text();
    for (char16_t& c : t)
      if (c == u'\'') c = u'\u00B4';
    DELVORIN_TRY(txo_.SetText(t));
    w = txo_.Text();
  }
  if (s_.TC_Trim != 0 && !masked) {
    DELVORIN_TRY(txo_.SetText(TrimSpaces(txo_.Text())));
    w = txo_.Text();
  }
  if (IsNumericType(s_.Tipo)) {
    if (w == u"-") return txo_.SetText(u"0");
    if (w.empty()) DELVORIN_TRY(txo_.SetText(u"0"));
  }

  switch (s_.Tipo) {
    case tipo::MoedaComMascara:
    case tipo::MoedaSemMascara: {
      Moeda value;
      DELVORIN_TRY(ReadMoeda(w, value));
      return txo_.SetText(s_.Tipo == tipo::MoedaComMascara ? MoedaText(value, s_.Digitos, s_.usar_parenteses != 0)
                                                         : MaskedMoedaText(value, s_.Digitos));
    }
    case tipo::NumeroDuplo: {
      double number = 0;
      DELVORIN_TRY(ReadNumber(w, number));
      return txo_.SetText(GeneralForm(number));
    }
    case tipo::Numero: {
      double number = 0;
      DELVORIN_TRY(LeadingNumber(w, number));
      return txo_.SetText(GeneralForm(number));
    }
    case tipo::TextoIniciais:
      if (w.empty()) return Status::Ok();
      return txo_.SetText(Capitalize(std::move(w)));
    case tipo::TextoMaiusculas:
      return txo_.SetText(runtime_.UCase(w));
    case tipo::TextoMinusculas:
      return txo_.SetText(runtime_.LCase(w));
    case tipo::TextoPrimeira: {
      if (w.empty()) return Status::Ok();
      std::u16string first = runtime_.UCase(std::u16string_view(w).substr(0, 1));
      if (first.size() == 1) w[0] = first[0];
      return txo_.SetText(w);
    }
    case tipo::Cpf:
    case tipo::Cnpj:
    case tipo::Pis:
    case tipo::Cartao:
      return CheckDocument(w);
    case tipo::CpfOuCnpj:
    case tipo::Telefone:
    case tipo::Data:
    case tipo::Hora:
    case tipo::Placa:
    case tipo::TituloEleitor:
    case tipo::Cnh:
    case tipo::Renavam:
    case tipo::Boleto:
    case tipo::ProcessoJudicial:
    case tipo::InscricaoEstadual:
      return CheckLaidOut(w);
    case tipo::Mascara:
      return CheckMascara(w);
    default:
      return Status::Ok();
  }
}

// Raises the first letter and the first letter after each space, except before the small
// words; letters are never lowered. A space in the last three positions is not examined,
// so a short last word keeps its case.
std::u16string LeaveField::Capitalize(std::u16string w) {
  auto raise = [this](char16_t c) {
    std::u16string r = runtime_.UCase(std::u16string_view(&c, 1));
    return r.size() == 1 ? r[0] : c;
  };
  w[0] = raise(w[0]);
  const size_t l = w.size();
  for (size_t i = 1; i + 3 <= l; ++i) {  // 1-based positions 1 .. L-3
    if (w[i - 1] != u' ') continue;
    std::u16string_view rest = std::u16string_view(w).substr(i);
    bool small = false;
    for (std::u16string_view p : kSmallWords)
      if (rest.starts_with(p)) small = true;
    if (!small) w[i] = raise(w[i]);
  }
  return w;
}

Status LeaveField::CheckDocument(const std::u16string& w) {
  if (w.empty()) return Status::Ok();  // an empty document field is accepted
  bool valid = false;
  switch (s_.Tipo) {
    case tipo::Cpf: valid = ValidaCpf(w); break;
    case tipo::Cnpj: valid = s_.CnpjAlfanumerico != 0 ? ValidaCnpjAlfanumerico(w) : ValidaCnpj(w); break;
    case tipo::Pis: valid = ValidaPis(w); break;
    default: {
      CardResult r = ValidaCartao(w);
      if (r == CardResult::NotNumeric) return Status::TypeMismatch();
      valid = r == CardResult::Valid;
    }
  }
  if (valid) return Status::Ok();
  return Warn(*DocumentTypeOf(s_.Tipo));
}

Status LeaveField::CheckLaidOut(const std::u16string& text) {
  if (text.empty()) return Status::Ok();  // an empty field is accepted
  const DocumentType& type = *DocumentTypeOf(s_.Tipo);
  const FieldContext context{s_.CnpjAlfanumerico != 0, s_.UF};
  // A two-digit year, or a barcode: the field shows the full form before it is checked.
  const std::u16string full = FullForm(type, context, text);
  if (full != text) DELVORIN_TRY(txo_.SetText(full));
  if (type.check(CharactersToCheck(type, context, full), context)) return Status::Ok();
  return Warn(type);
}

Status LeaveField::CheckMascara(const std::u16string& text) {
  Layout mask;
  // An empty field, and any text without a mask, are accepted.
  if (text.empty() || !MascaraOfField(s_, mask) || IsMascaraFilled(mask, text))
    return Status::Ok();
  return Warn(kMascaraMessage, kMascaraLongMessage);
}

Status LeaveField::Warn(const DocumentType& type) { return Warn(type.shortMessage, type.longMessage); }

Status LeaveField::Warn(std::u16string_view shortMessage, std::u16string_view longMessage) {
  invalid_ = shortMessage;
  if (s_.TravaCpf != 0) {
    runtime_.MsgBox(longMessage, kWarningStyle, kTitle);
    return txo_.SetFocus();
  }
  if (s_.MSGcpf != 0) runtime_.MsgBox(shortMessage, kWarningStyle, kTitle);
  return Status::Ok();
}

}  // namespace delvorin
