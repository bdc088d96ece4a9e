// Leave-field processing by field type; see LeaveField.h.
#include "input/LeaveField.h"

#include "format/Moeda.h"
#include "format/Validators.h"

namespace delvorin {
namespace {

constexpr std::u16string_view kTitulo = u"Delvorin";
constexpr int32_t kEstiloAviso = 48;  // exclamation icon, one OK button

struct DocumentMessages {
  uint8_t tipo;
  std::u16string_view longa;  // TravaCpf: the focus is sent back afterwards
  std::u16string_view curta;
};

constexpr DocumentMessages kMensagens[] = {
    {tipo::Cpf, u"CPF Inválido. Redigite ( ou deixe em branco)", u"CPF Inválido."},
    {tipo::Cnpj, u"CNPJ Inválido. Redigite ( ou deixe em branco)", u"CNPJ Inválido."},
    {tipo::Pis, u"PIS  Inválido. Redigite ( ou deixe em branco)", u"PIS Inválido."},
    {tipo::Cartao, u"Cartão de Crédito Inválido. Redigite ( ou deixe em branco)", u"Cartão de Crédito Inválido."},
};

// Small words that keep their lower case inside a name, each with its trailing space.
constexpr std::u16string_view kPalavrasMenores[] = {u"de ", u"da ", u"das ", u"dos ", u"e ", u"com "};

std::u16string SemEspacosNasPontas(std::u16string_view s) {
  size_t inicio = s.find_first_not_of(u' ');
  if (inicio == std::u16string_view::npos) return u"";
  size_t fim = s.find_last_not_of(u' ');
  return std::u16string(s.substr(inicio, fim - inicio + 1));
}

}  // namespace

void LeaveField::FormataCampo(std::u16string texto) {
  if (!Run(texto).ok()) (void)txo_.SetText(u"0");
}

Status LeaveField::Run(std::u16string& w) {
  if (s_.Aspas != 0) {
    std::u16string t = txo_.Text();
    for (char16_t& c : t)
      if (c == u'\'') c = u'\u00B4';
    DELVORIN_TRY(txo_.SetText(t));
    w = txo_.Text();
  }
  if (s_.TC_Trim != 0) {
    DELVORIN_TRY(txo_.SetText(SemEspacosNasPontas(txo_.Text())));
    w = txo_.Text();
  }
  if (IsNumericType(s_.Tipo)) {
    if (w == u"-") return txo_.SetText(u"0");
    if (w.empty()) DELVORIN_TRY(txo_.SetText(u"0"));
  }

  switch (s_.Tipo) {
    case tipo::MoedaComMascara:
    case tipo::MoedaSemMascara: {
      Moeda valor;
      DELVORIN_TRY(LeMoeda(w, valor));
      return txo_.SetText(s_.Tipo == tipo::MoedaComMascara ? TextoMoeda(valor, s_.Digitos, s_.usar_parenteses != 0)
                                                         : TextoMascara(valor, s_.Digitos));
    }
    case tipo::NumeroDuplo: {
      double numero = 0;
      DELVORIN_TRY(LeNumero(w, numero));
      return txo_.SetText(FormaGeral(numero));
    }
    case tipo::Numero: {
      double numero = 0;
      DELVORIN_TRY(NumeroInicial(w, numero));
      return txo_.SetText(FormaGeral(numero));
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
      std::u16string primeira = runtime_.UCase(std::u16string_view(w).substr(0, 1));
      if (primeira.size() == 1) w[0] = primeira[0];
      return txo_.SetText(w);
    }
    case tipo::Cpf:
    case tipo::Cnpj:
    case tipo::Pis:
    case tipo::Cartao:
      return CheckDocument(w);
    default:
      return Status::Ok();
  }
}

// Raises the first letter and the first letter after each space, except before the small
// words; letters are never lowered. A space in the last three positions is not examined,
// so a short last word keeps its case.
std::u16string LeaveField::Capitalize(std::u16string w) {
  auto sobe = [this](char16_t c) {
    std::u16string r = runtime_.UCase(std::u16string_view(&c, 1));
    return r.size() == 1 ? r[0] : c;
  };
  w[0] = sobe(w[0]);
  const size_t l = w.size();
  for (size_t i = 1; i + 3 <= l; ++i) {  // 1-based positions 1 .. L-3
    if (w[i - 1] != u' ') continue;
    std::u16string_view resto = std::u16string_view(w).substr(i);
    bool menor = false;
    for (std::u16string_view p : kPalavrasMenores)
      if (resto.starts_with(p)) menor = true;
    if (!menor) w[i] = sobe(w[i]);
  }
  return w;
}

Status LeaveField::CheckDocument(const std::u16string& w) {
  if (w.empty()) return Status::Ok();  // an empty document field is accepted
  bool valido = false;
  switch (s_.Tipo) {
    case tipo::Cpf: valido = ValidaCpf(w); break;
    case tipo::Cnpj: valido = s_.CnpjAlfanumerico != 0 ? ValidaCnpjAlfanumerico(w) : ValidaCnpj(w); break;
    case tipo::Pis: valido = ValidaPis(w); break;
    default: {
      CardResult r = ValidaCartao(w);
      if (r == CardResult::NaoNumerico) return Status::TypeMismatch();
      valido = r == CardResult::Valido;
    }
  }
  if (valido) return Status::Ok();
  const DocumentMessages* m = nullptr;
  for (const DocumentMessages& x : kMensagens)
    if (x.tipo == s_.Tipo) m = &x;
  if (s_.TravaCpf != 0) {
    runtime_.MsgBox(m->longa, kEstiloAviso, kTitulo);
    return txo_.SetFocus();
  }
  if (s_.MSGcpf != 0) runtime_.MsgBox(m->curta, kEstiloAviso, kTitulo);
  return Status::Ok();
}

}  // namespace delvorin
