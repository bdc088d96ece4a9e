// Decisions of the keystroke filter, by field type; see KeystrokeFilter.h.
#include "input/KeystrokeFilter.h"

#include <algorithm>
#include <optional>
#include <string>

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
constexpr int16_t kTeclaDelete = 46;
constexpr int16_t kShift = 1;

bool EhDigito(int16_t c) { return c >= 48 && c <= 57; }

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

KeystrokeFilter::Outcome KeystrokeFilter::KeyPress(int16_t& keyAscii) {
  if (keyAscii == kEnter) {
    keyAscii = 0;
    if (s_.Usar_Enter != 0) {
      (void)runtime_.SendKeys(u"{tab}");
      return Outcome::Done;
    }
    if (IsNumericType(s_.Tipo) && txo_.Text().empty()) {
      (void)txo_.SetText(u"0");
      (void)txo_.SetTag(u"");
    }
    return Outcome::TeclaEnter;
  }

  if (keyAscii == kBackspace) {
    if (IsNumericType(s_.Tipo)) {
      std::u16string t = txo_.Text();
      if (!t.empty() && t.back() == u',') (void)txo_.SetTag(u"");
    }
    return Outcome::Done;
  }

  if (IsNumericType(s_.Tipo) && keyAscii == kMenos && s_.Negativo == 0) {
    keyAscii = 0;
    return Outcome::Done;
  }

  switch (s_.Tipo) {
    case tipo::MoedaComMascara:
    case tipo::MoedaSemMascara:
    case tipo::NumeroDuplo:
      NumericKey(keyAscii);
      return Outcome::Done;
    case tipo::Numero:
      if (!EhDigito(keyAscii) && keyAscii != kMenos) keyAscii = 0;
      return Outcome::Done;
    case tipo::Texto:
    case tipo::TextoIniciais:
    case tipo::TextoPrimeira:
      return Outcome::Done;
    case tipo::TextoMaiusculas:
      keyAscii = MapeiaCaixa(keyAscii, runtime_, true);
      return Outcome::Done;
    case tipo::TextoMinusculas:
      keyAscii = MapeiaCaixa(keyAscii, runtime_, false);
      return Outcome::Done;
    case tipo::Cnpj:
      if (s_.CnpjAlfanumerico != 0 && !EhDigito(keyAscii)) {
        keyAscii = CnpjLetter(keyAscii);
        if (keyAscii != 0) AppendSeparator();
        return Outcome::Done;
      }
      [[fallthrough]];
    case tipo::Cep:
    case tipo::Cpf:
    case tipo::Pis:
    case tipo::Cartao:
      if (!EhDigito(keyAscii)) {
        keyAscii = 0;
        return Outcome::Done;
      }
      AppendSeparator();
      return Outcome::Done;
    default:
      // Amount in words and unknown types take no typed character.
      keyAscii = 0;
      return Outcome::Done;
  }
}

void KeystrokeFilter::NumericKey(int16_t& keyAscii) {
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

int16_t KeystrokeFilter::CnpjLetter(int16_t keyAscii) const {
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

void KeystrokeFilter::AppendSeparator() {
  const Mask* m = MascaraDo(s_.Tipo);
  if (m == nullptr) return;
  for (int i = 0; i < m->numeroGatilhos; ++i) {
    std::u16string t = txo_.Text();
    if (static_cast<int32_t>(t.size()) != m->gatilhos[i].comprimento) continue;
    t.push_back(m->gatilhos[i].separador);
    (void)txo_.SetText(t);
    (void)txo_.SetSelStart(static_cast<int32_t>(t.size()));
  }
}

void KeystrokeFilter::KeyDown(int16_t& keyCode, int16_t shift) {
  if (keyCode != kTeclaDelete || shift != kShift) return;
  std::u16string t = txo_.Text();
  int32_t inicio = txo_.SelStart();
  if (inicio < 0) inicio = 0;
  if (static_cast<size_t>(inicio) < t.size()) t.resize(static_cast<size_t>(inicio));
  (void)txo_.SetText(t);
  (void)txo_.SetSelStart(static_cast<int32_t>(t.size()));
  keyCode = 0;  // consumed: the edit box must not cut the selection to the clipboard
}

void KeystrokeFilter::Changed() {
  if (s_.Tipo <= tipo::NumeroDuplo && txo_.Text().empty()) (void)txo_.SetTag(u"");
}

}  // namespace delvorin
