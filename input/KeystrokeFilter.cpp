// The keystroke filter: every typed character passes here before the edit box inserts it.
// The host's KeyPress handler sees it first; then the field type accepts, rewrites or drops
// it, and the document types append the next separator of their layout.
#include <algorithm>

#include "control/Delvorin.h"
#include "input/Cp1252.h"
#include "input/TypingMasks.h"

namespace delvorin {
namespace {

constexpr int16_t kBackspace = 8;
constexpr int16_t kEnter = 13;
constexpr int16_t kVirgula = 44;
constexpr int16_t kMenos = 45;
constexpr int16_t kPonto = 46;
constexpr char16_t kFlagVirgula[] = u"s";

bool EhDigito(int16_t c) { return c >= 48 && c <= 57; }
bool EhNumerico(uint8_t t) { return t <= tipo::Numero; }

// Case mapping of one typed code through the runtime. A Windows-1252 code whose mapped form
// is not a single character of the code page keeps its code; a wider character (typed
// outside the code page) maps within the Basic Multilingual Plane.
int16_t MapeiaCaixa(int16_t codigo, Runtime& runtime, bool maiuscula) {
  std::optional<char16_t> c = CaractereDeCodigo(codigo);
  if (!c) return codigo;
  std::u16string_view um(&*c, 1);
  std::u16string r = maiuscula ? runtime.UCase(um) : runtime.LCase(um);
  if (r.size() != 1 || r[0] == *c) return codigo;
  if (codigo > 0 && codigo <= 255) {
    // A code-page character stays in the code page (µ has no capital there).
    std::optional<uint8_t> byte = ParaCp1252(r[0]);
    return byte ? static_cast<int16_t>(*byte) : codigo;
  }
  int16_t novo = CodigoDeTecla(r[0]);
  return CaractereDeCodigo(novo) == r[0] ? novo : codigo;
}

}  // namespace

void Delvorin::TXO_KeyPress(int16_t& keyAscii) {
  host_.RaiseKeyPress(keyAscii);

  if (keyAscii == kEnter) {
    keyAscii = 0;
    if (Usar_Enter_ != 0) {
      (void)runtime_.SendKeys(u"{tab}");
      return;
    }
    if (EhNumerico(Tipo_) && txo_.Text().empty()) {
      (void)txo_.SetText(u"0");
      (void)txo_.SetTag(u"");
    }
    host_.RaiseTeclaEnter();
    return;
  }

  if (keyAscii == kBackspace) {
    if (EhNumerico(Tipo_)) {
      std::u16string t = txo_.Text();
      if (!t.empty() && t.back() == u',') (void)txo_.SetTag(u"");
    }
    return;
  }

  if (EhNumerico(Tipo_) && keyAscii == kMenos && Negativo_ == 0) {
    keyAscii = 0;
    return;
  }

  switch (Tipo_) {
    case tipo::MoedaComMascara:
    case tipo::MoedaSemMascara:
    case tipo::NumeroDuplo:
      TeclaNumerica(keyAscii);
      return;
    case tipo::Numero:
      if (!EhDigito(keyAscii) && keyAscii != kMenos) keyAscii = 0;
      return;
    case tipo::Texto:
    case tipo::TextoIniciais:
    case tipo::TextoPrimeira:
      return;
    case tipo::TextoMaiusculas:
      keyAscii = MapeiaCaixa(keyAscii, runtime_, true);
      return;
    case tipo::TextoMinusculas:
      keyAscii = MapeiaCaixa(keyAscii, runtime_, false);
      return;
    case tipo::Cnpj:
      if (CnpjAlfanumerico_ != 0 && !EhDigito(keyAscii)) {
        keyAscii = LetraDeCnpj(keyAscii);
        if (keyAscii != 0) InsereSeparador();
        return;
      }
      [[fallthrough]];
    case tipo::Cep:
    case tipo::Cpf:
    case tipo::Pis:
    case tipo::Cartao:
      if (!EhDigito(keyAscii)) {
        keyAscii = 0;
        return;
      }
      InsereSeparador();
      return;
    default:
      // Amount in words and unknown types take no typed character.
      keyAscii = 0;
      return;
  }
}

void Delvorin::TeclaNumerica(int16_t& keyAscii) {
  if (keyAscii == kPonto) keyAscii = kVirgula;
  if (EhDigito(keyAscii)) return;
  if (keyAscii == kVirgula) {
    if (txo_.Tag() == kFlagVirgula) {
      keyAscii = 0;
    } else {
      (void)txo_.SetTag(kFlagVirgula);
    }
    return;
  }
  if (keyAscii == kMenos) {
    // A minus can only start a new value: on an empty field or over the whole text.
    std::u16string t = txo_.Text();
    if (t.empty()) return;
    if (txo_.SelStart() == 0 && txo_.SelLength() == static_cast<int32_t>(t.size())) return;
    keyAscii = 0;
    return;
  }
  keyAscii = 0;
}

int16_t Delvorin::LetraDeCnpj(int16_t keyAscii) const {
  if (keyAscii >= u'a' && keyAscii <= u'z') keyAscii = static_cast<int16_t>(keyAscii - u'a' + u'A');
  if (keyAscii < u'A' || keyAscii > u'Z') return 0;
  // Letters only in the 12 base positions: counted in what stays of the text beside the
  // selection that the letter replaces, separators aside.
  const std::u16string t = txo_.Text();
  const size_t inicio = static_cast<size_t>(std::clamp<int32_t>(txo_.SelStart(), 0, static_cast<int32_t>(t.size())));
  const size_t fim = std::min(t.size(), inicio + static_cast<size_t>(std::max<int32_t>(txo_.SelLength(), 0)));
  size_t base = 0;
  for (size_t i = 0; i < t.size(); ++i)
    if ((i < inicio || i >= fim) && t[i] != u'.' && t[i] != u'/' && t[i] != u'-') ++base;
  return base < 12 ? keyAscii : 0;
}

void Delvorin::InsereSeparador() {
  const Mask* m = MascaraDo(Tipo_);
  if (m == nullptr) return;
  for (int i = 0; i < m->numeroGatilhos; ++i) {
    std::u16string t = txo_.Text();
    if (static_cast<int32_t>(t.size()) != m->gatilhos[i].comprimento) continue;
    t.push_back(m->gatilhos[i].separador);
    (void)txo_.SetText(t);
    (void)txo_.SetSelStart(static_cast<int32_t>(t.size()));
  }
}

}  // namespace delvorin
