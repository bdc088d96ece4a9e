// Decisions of the keystroke filter, by field type; see KeystrokeFilter.h.
#include "input/KeystrokeFilter.h"

#include <algorithm>
#include <optional>
#include <string>

#include "input/Cp1252.h"
#include "format/DocumentTypes.h"

namespace delvorin {
namespace {

constexpr int16_t kBackspace = 8;
constexpr int16_t kEnter = 13;
constexpr int16_t kComma = 44;
constexpr int16_t kMinus = 45;
constexpr int16_t kDot = 46;
constexpr char16_t kCommaFlag[] = u"s";
constexpr int16_t kDeleteKey = 46;
constexpr int16_t kShift = 1;

bool IsDigit(int16_t c) { return c >= 48 && c <= 57; }

// Case mapping of one typed code through the runtime. A Windows-1252 code whose mapped form
// is not a single character of the code page keeps its code; a wider character (typed
// outside the code page) maps within the Basic Multilingual Plane.
int16_t MapCase(int16_t code, Runtime& runtime, bool upper) {
  std::optional<char16_t> c = CharacterOfCode(code);
  if (!c) return code;
  std::u16string_view one(&*c, 1);
  std::u16string r = upper ? runtime.UCase(one) : runtime.LCase(one);
  if (r.size() != 1 || r[0] == *c) return code;
  if (code > 0 && code <= 255) {
    // A code-page character stays in the code page (µ has no capital there).
    std::optional<uint8_t> byte = ToCp1252(r[0]);
    return byte ? static_cast<int16_t>(*byte) : code;
  }
  int16_t mapped = KeyCodeOf(r[0]);
  return CharacterOfCode(mapped) == r[0] ? mapped : code;
}

}  // namespace

KeystrokeFilter::Outcome KeystrokeFilter::KeyPress(int16_t& keyAscii) {
  if (keyAscii == kEnter) {
    keyAscii = 0;
    if (s_.Usar_Enter != 0) {
      (void)runtime_.SendKeys(u"{tab}");
      return Outcome::Done;
    }
    if (IsNumericType(s_.Tipo) && txo_.TextLength() == 0) {
      (void)txo_.SetText(u"0");
      (void)txo_.SetTag(u"");
    }
    return Outcome::TeclaEnter;
  }

  if (keyAscii == kBackspace) {
    if (IsNumericType(s_.Tipo)) {
      const int32_t length = txo_.TextLength();
      if (length > 0 && txo_.CharacterAt(length - 1) == u',') (void)txo_.SetTag(u"");
    }
    return Outcome::Done;
  }

  if (IsNumericType(s_.Tipo) && keyAscii == kMinus && s_.Negativo == 0) {
    keyAscii = 0;
    return Outcome::Done;
  }

  if (layoutTyping_.Applies()) {
    layoutTyping_.KeyPress(keyAscii);
    return Outcome::Done;
  }
  if (mascaraTyping_.Applies()) {
    mascaraTyping_.KeyPress(keyAscii);
    return Outcome::Done;
  }

  switch (s_.Tipo) {
    case tipo::MoedaComMascara:
    case tipo::MoedaSemMascara:
    case tipo::NumeroDuplo:
      NumericKey(keyAscii);
      return Outcome::Done;
    case tipo::Numero:
      if (!IsDigit(keyAscii) && keyAscii != kMinus) keyAscii = 0;
      return Outcome::Done;
    case tipo::Texto:
    case tipo::TextoIniciais:
    case tipo::TextoPrimeira:
    case tipo::Mascara:  // without a mask: any character
      return Outcome::Done;
    case tipo::TextoMaiusculas:
      keyAscii = MapCase(keyAscii, runtime_, true);
      return Outcome::Done;
    case tipo::TextoMinusculas:
      keyAscii = MapCase(keyAscii, runtime_, false);
      return Outcome::Done;
    case tipo::Cnpj:
      if (s_.CnpjAlfanumerico != 0 && !IsDigit(keyAscii)) {
        keyAscii = CnpjLetter(keyAscii);
        if (keyAscii != 0) AppendSeparator();
        return Outcome::Done;
      }
      [[fallthrough]];
    case tipo::Cep:
    case tipo::Cpf:
    case tipo::Pis:
    case tipo::Cartao:
      if (!IsDigit(keyAscii)) {
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
  if (keyAscii == kDot) keyAscii = kComma;
  if (IsDigit(keyAscii)) return;
  if (keyAscii == kComma) {
    if (txo_.Tag() == kCommaFlag) {
      keyAscii = 0;
    } else {
      (void)txo_.SetTag(kCommaFlag);
    }
    return;
  }
  if (keyAscii == kMinus) {
    // A minus can only start a new value: on an empty field or over the whole text.
    const int32_t length = txo_.TextLength();
    if (length == 0) return;
    if (txo_.SelStart() == 0 && txo_.SelLength() == length) return;
    keyAscii = 0;
    return;
  }
  keyAscii = 0;
}

int16_t KeystrokeFilter::CnpjLetter(int16_t keyAscii) const {
  if (keyAscii >= u'a' && keyAscii <= u'z') keyAscii = static_cast<int16_t>(keyAscii - u'a' + u'A');
  if (keyAscii < u'A' || keyAscii > u'Z') return 0;
  // Letters only in the 12 base positions: counted in what stays of the text beside the
  // selection that the letter replaces, separators aside. The count stops at 12, so a long
  // text costs no more than a short one.
  const int64_t length = txo_.TextLength();
  const int64_t start = std::clamp<int64_t>(txo_.SelStart(), 0, length);
  const int64_t end = std::min(length, start + std::max<int64_t>(txo_.SelLength(), 0));
  int base = 0;
  for (int64_t i = 0; i < length && base < 12; ++i) {
    if (i == start) i = end;
    if (i >= length) break;
    const char16_t c = txo_.CharacterAt(static_cast<int32_t>(i));
    if (c != u'.' && c != u'/' && c != u'-') ++base;
  }
  return base < 12 ? keyAscii : 0;
}

void KeystrokeFilter::AppendSeparator() {
  // The separators that stand where the next character goes are appended before it, at the
  // end of the text, and the caret follows them.
  const DocumentType* type = DocumentTypeOf(s_.Tipo);
  if (type == nullptr) return;
  const Layout layout = Layout::FromPattern(type->layouts[0].pattern);
  int32_t length = txo_.TextLength();
  if (static_cast<size_t>(length) >= layout.length() || layout.Element(static_cast<size_t>(length)).slot) return;
  std::u16string t = txo_.Text();
  while (t.size() < layout.length() && !layout.Element(t.size()).slot) t.push_back(layout.Element(t.size()).literal);
  (void)txo_.SetText(t);
  (void)txo_.SetSelStart(static_cast<int32_t>(t.size()));
}

void KeystrokeFilter::KeyDown(int16_t& keyCode, int16_t shift) {
  if (keyCode != kDeleteKey || shift != kShift) return;
  std::u16string t = txo_.Text();
  int32_t start = txo_.SelStart();
  if (start < 0) start = 0;
  if (static_cast<size_t>(start) < t.size()) t.resize(static_cast<size_t>(start));
  (void)txo_.SetText(t);
  (void)txo_.SetSelStart(static_cast<int32_t>(t.size()));
  keyCode = 0;  // consumed: the edit box must not cut the selection to the clipboard
}

void KeystrokeFilter::Changed() {
  if (s_.Tipo <= tipo::NumeroDuplo && txo_.TextLength() == 0) (void)txo_.SetTag(u"");
  if (layoutTyping_.Applies()) layoutTyping_.Changed();
  if (mascaraTyping_.Applies()) mascaraTyping_.Changed();
}

}  // namespace delvorin
