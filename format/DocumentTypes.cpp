#include "format/DocumentTypes.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "core/Settings.h"
#include "format/DocumentChecks.h"
#include "format/InscricaoEstadual.h"
#include "format/Validators.h"

namespace delvorin {
namespace {

constexpr LayoutChoice kCep[] = {{u"DDDDD-DDD"}};
constexpr LayoutChoice kCpf[] = {{u"DDD.DDD.DDD-DD"}};
constexpr LayoutChoice kCnpj[] = {{u"DD.DDD.DDD/DDDD-DD"}};
constexpr LayoutChoice kCnpjAlfanumerico[] = {{u"XX.XXX.XXX/XXXX-DD"}};
constexpr LayoutChoice kPis[] = {{u"DDD.DDDDD.DD.D"}};
constexpr LayoutChoice kCartao[] = {{u"DDDD.DDDD.DDDD.DDDD"}};
constexpr LayoutChoice kCpfOuCnpj[] = {{u"DDD.DDD.DDD-DD"}, {u"DD.DDD.DDD/DDDD-DD"}};
constexpr LayoutChoice kCpfOuCnpjAlfanumerico[] = {{u"DDD.DDD.DDD-DD"}, {u"XX.XXX.XXX/XXXX-DD"}};
// A first digit 0 is a non-geographic number (0300, 0500, 0800, 0900).
constexpr LayoutChoice kTelefone[] = {
    {u"(DD) DDDD-DDDD", 0, u'0'}, {u"(DD) DDDDD-DDDD", 0, u'0'}, {u"DDDD DDD DDDD", u'0', 0}};
constexpr LayoutChoice kData[] = {{u"DD/DD/DDDD"}};
constexpr LayoutChoice kHora[] = {{u"DD:DD"}};
constexpr LayoutChoice kPlaca[] = {{u"AAA-DXDD"}};
constexpr LayoutChoice kTitulo[] = {{u"DDDD DDDD DDDD"}};
constexpr LayoutChoice kCnh[] = {{u"DDDDDDDDDDD"}};
constexpr LayoutChoice kRenavam[] = {{u"DDDDDDDDDDD"}};
// A first digit 8 is a collection slip (utilities, taxes); any other a bank slip.
constexpr LayoutChoice kBoleto[] = {{u"DDDDD.DDDDD DDDDD.DDDDDD DDDDD.DDDDDD D DDDDDDDDDDDDDD", 0, u'8'},
                                    {u"DDDDDDDDDDD-D DDDDDDDDDDD-D DDDDDDDDDDD-D DDDDDDDDDDD-D", u'8', 0}};
constexpr LayoutChoice kProcesso[] = {{u"DDDDDDD-DD.DDDD.D.DD.DDDD"}};
// Type 25 without a state: digits only, as long as the longest registration.
constexpr LayoutChoice kInscricaoSemUf[] = {{u"DDDDDDDDDDDDDD"}};

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool AllDigits(std::u16string_view s) {
  for (char16_t c : s)
    if (!IsDigit(c)) return false;
  return true;
}

bool CheckCpf(std::u16string_view c, const FieldContext&) { return c.size() == 11 && AllDigits(c) && ValidaCpf(c); }
bool CheckCnpj(std::u16string_view c, const FieldContext& x) {
  return x.cnpjAlfanumerico ? ValidaCnpjAlfanumerico(c) : ValidaCnpj(c);
}
bool CheckCep(std::u16string_view c, const FieldContext&) { return c.size() == 8 && AllDigits(c); }
bool CheckPis(std::u16string_view c, const FieldContext&) { return ValidaPis(c); }
bool CheckCartao(std::u16string_view c, const FieldContext&) { return ValidaCartao(c) == CardResult::Valid; }
bool CheckCpfOuCnpj(std::u16string_view c, const FieldContext& x) {
  if (c.size() == 11) return CheckCpf(c, x);
  return c.size() == 14 && CheckCnpj(c, x);
}
bool CheckTelefone(std::u16string_view c, const FieldContext&) { return ValidaTelefone(c); }
bool CheckData(std::u16string_view c, const FieldContext&) {
  int day = 0, month = 0, year = 0;
  return ValidaData(c, day, month, year);
}
bool CheckHora(std::u16string_view c, const FieldContext&) {
  int hour = 0, minute = 0;
  return ValidaHora(c, hour, minute);
}
bool CheckPlaca(std::u16string_view c, const FieldContext&) { return ValidaPlaca(c); }
bool CheckTitulo(std::u16string_view c, const FieldContext&) { return ValidaTituloEleitor(c); }
bool CheckCnh(std::u16string_view c, const FieldContext&) { return ValidaCnh(c); }
bool CheckRenavam(std::u16string_view c, const FieldContext&) { return ValidaRenavam(c); }
bool CheckBoleto(std::u16string_view c, const FieldContext&) { return ValidaBoleto(c); }
bool CheckProcesso(std::u16string_view c, const FieldContext&) { return ValidaProcessoJudicial(c); }
bool CheckInscricao(std::u16string_view c, const FieldContext& x) { return ValidaInscricaoEstadual(c, x.uf); }

constexpr DocumentType kTypes[] = {
    {tipo::Cep, kCep, CheckCep, u"", u"", DocumentValue::Characters, false},
    {tipo::Cpf, kCpf, CheckCpf, u"CPF Inválido.", u"CPF Inválido. Redigite ( ou deixe em branco)", DocumentValue::Characters,
     false},
    {tipo::Cnpj, kCnpj, CheckCnpj, u"CNPJ Inválido.", u"CNPJ Inválido. Redigite ( ou deixe em branco)",
     DocumentValue::Characters, false},
    {tipo::Pis, kPis, CheckPis, u"PIS Inválido.", u"PIS  Inválido. Redigite ( ou deixe em branco)", DocumentValue::Characters,
     false},
    {tipo::Cartao, kCartao, CheckCartao, u"Cartão de Crédito Inválido.",
     u"Cartão de Crédito Inválido. Redigite ( ou deixe em branco)", DocumentValue::Characters, false},
    {tipo::CpfOuCnpj, kCpfOuCnpj, CheckCpfOuCnpj, u"CPF/CNPJ Inválido.", u"CPF/CNPJ Inválido. Redigite ( ou deixe em branco)",
     DocumentValue::Characters, true},
    {tipo::Telefone, kTelefone, CheckTelefone, u"Telefone Inválido.", u"Telefone Inválido. Redigite ( ou deixe em branco)",
     DocumentValue::Characters, true},
    {tipo::Data, kData, CheckData, u"Data Inválida.", u"Data Inválida. Redigite ( ou deixe em branco)", DocumentValue::Date, true},
    {tipo::Hora, kHora, CheckHora, u"Hora Inválida.", u"Hora Inválida. Redigite ( ou deixe em branco)", DocumentValue::Time, true},
    {tipo::Placa, kPlaca, CheckPlaca, u"Placa Inválida.", u"Placa Inválida. Redigite ( ou deixe em branco)",
     DocumentValue::Characters, true},
    {tipo::TituloEleitor, kTitulo, CheckTitulo, u"Título de Eleitor Inválido.",
     u"Título de Eleitor Inválido. Redigite ( ou deixe em branco)", DocumentValue::Characters, true},
    {tipo::Cnh, kCnh, CheckCnh, u"CNH Inválida.", u"CNH Inválida. Redigite ( ou deixe em branco)", DocumentValue::Characters, true},
    {tipo::Renavam, kRenavam, CheckRenavam, u"RENAVAM Inválido.", u"RENAVAM Inválido. Redigite ( ou deixe em branco)",
     DocumentValue::Characters, true},
    {tipo::Boleto, kBoleto, CheckBoleto, u"Boleto Inválido.", u"Boleto Inválido. Redigite ( ou deixe em branco)",
     DocumentValue::Characters, true},
    {tipo::ProcessoJudicial, kProcesso, CheckProcesso, u"Processo Inválido.", u"Processo Inválido. Redigite ( ou deixe em branco)",
     DocumentValue::Characters, true},
    {tipo::InscricaoEstadual, kInscricaoSemUf, CheckInscricao, u"Inscrição Estadual Inválida.",
     u"Inscrição Estadual Inválida. Redigite ( ou deixe em branco)", DocumentValue::Characters, true},
};

bool Applies(const LayoutChoice& choice, std::u16string_view characters) {
  if (characters.empty()) return choice.firstIs == 0;
  if (choice.firstIs != 0 && characters[0] != choice.firstIs) return false;
  return choice.firstIsNot == 0 || characters[0] != choice.firstIsNot;
}

}  // namespace

const DocumentType* DocumentTypeOf(uint8_t t) {
  for (const DocumentType& d : kTypes)
    if (d.tipo == t) return &d;
  return nullptr;
}

namespace {

// Calls visit with each layout of the type in the context, in order of choice, until it
// returns true; no allocation.
template <typename Visit>
bool VisitLayouts(const DocumentType& type, const FieldContext& context, Visit visit) {
  if (type.tipo == tipo::InscricaoEstadual && !context.uf.empty()) {
    if (const UfRule* rule = FindUf(context.uf); rule && !rule->layouts.empty()) {
      for (std::u16string_view pattern : rule->layouts)
        if (visit(LayoutChoice{pattern})) return true;
      return false;
    }
  }
  std::span<const LayoutChoice> fixed = type.layouts;
  if (type.tipo == tipo::CpfOuCnpj && context.cnpjAlfanumerico) fixed = kCpfOuCnpjAlfanumerico;
  if (type.tipo == tipo::Cnpj && context.cnpjAlfanumerico) fixed = kCnpjAlfanumerico;
  for (const LayoutChoice& choice : fixed)
    if (visit(choice)) return true;
  return false;
}

bool IsSlotMark(char16_t c) { return c == u'D' || c == u'A' || c == u'X'; }

}  // namespace

std::vector<LayoutChoice> LayoutsOf(const DocumentType& type, const FieldContext& context) {
  std::vector<LayoutChoice> r;
  VisitLayouts(type, context, [&](const LayoutChoice& c) {
    r.push_back(c);
    return false;
  });
  return r;
}

bool ChooseLayout(const DocumentType& type, const FieldContext& context, std::u16string_view characters, Layout& chosen) {
  return VisitLayouts(type, context, [&](const LayoutChoice& choice) {
    if (!Applies(choice, characters)) return false;
    Layout layout = Layout::FromPattern(choice.pattern);
    if (!layout.Fits(characters)) return false;
    chosen = std::move(layout);
    return true;
  });
}

int32_t LongestLayout(const DocumentType& type, const FieldContext& context) {
  size_t longest = type.tipo == tipo::InscricaoEstadual ? kIsento.size() : 0;
  VisitLayouts(type, context, [&](const LayoutChoice& choice) {
    longest = std::max(longest, choice.pattern.size());
    return false;
  });
  return static_cast<int32_t>(longest);
}

std::u16string CharactersToCheck(const DocumentType& type, const FieldContext& context, std::u16string_view text) {
  std::u16string characters = CharactersOf(type, context, text);
  if (type.tipo == tipo::Data && characters.size() == 6 && AllDigits(characters)) {
    const int year = (characters[4] - u'0') * 10 + (characters[5] - u'0');
    characters.insert(4, year < 30 ? u"20" : u"19");
  } else if (type.tipo == tipo::Boleto && characters.size() == 44) {
    std::u16string line = LinhaDigitavel(characters);
    if (!line.empty()) characters = std::move(line);
  }
  return characters;
}

bool PassesCheck(const DocumentType& type, const FieldContext& context, std::u16string_view text) {
  if (text.empty()) return true;
  return type.check(CharactersToCheck(type, context, text), context);
}

std::u16string CharactersOf(const DocumentType& type, const FieldContext& context, std::u16string_view text) {
  // The separators of all the type's layouts (a handful of characters).
  char16_t literals[16];
  size_t count = 0;
  VisitLayouts(type, context, [&](const LayoutChoice& choice) {
    for (char16_t p : choice.pattern) {
      if (IsSlotMark(p) || std::find(literals, literals + count, p) != literals + count) continue;
      if (count < std::size(literals)) literals[count++] = p;
    }
    return false;
  });
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text)
    if (std::find(literals, literals + count, c) == literals + count) out.push_back(c);
  return out;
}

}  // namespace delvorin
