#include "input/PastedText.h"

#include "core/Settings.h"
#include "format/Moeda.h"
#include "format/DocumentTypes.h"

namespace delvorin {
namespace {

bool IsTextType(uint8_t t) {
  return (t >= tipo::Texto && t <= tipo::TextoMinusculas) || t == tipo::TextoPrimeira;
}

// Separators, spaces and punctuation that a copied document number carries: everything of
// ASCII but letters and digits, the Latin-1 signs and spaces, general punctuation (dashes,
// quotes, bullets, thin spaces), the minus sign, the ideographic space and the byte-order mark.
bool IsPunctuation(char16_t c) {
  if (c < 0x80) return !((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'));
  return (c >= 0xA0 && c <= 0xBF) || c == 0xD7 || c == 0xF7 || (c >= 0x2000 && c <= 0x206F) || c == 0x2212 ||
         c == 0x3000 || c == 0xFEFF;
}

// Each line break and each tab as `replacement`, or dropped when replacement is 0.
std::u16string ReplaceBreaks(std::u16string_view text, char16_t replacement) {
  std::u16string r;
  r.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'\r' || c == u'\n' || c == u'\t') {
      if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      if (replacement != 0) r.push_back(replacement);
      continue;
    }
    r.push_back(c);
  }
  return r;
}

}  // namespace

std::u16string PastedCharacters(uint8_t t, std::u16string_view clipboard) {
  if (t == tipo::Extenso) return {};
  if (IsTextType(t) || t == tipo::Mascara) return ReplaceBreaks(clipboard, u' ');
  std::u16string text = ReplaceBreaks(clipboard, 0);
  if (t == tipo::MoedaComMascara || t == tipo::MoedaSemMascara) {
    Moeda value;
    if (ReadMoeda(text, value).ok()) return PlainForm(value);
  } else if (t == tipo::NumeroDuplo) {
    double number = 0;
    if (ReadNumber(text, number).ok()) return GeneralForm(number);
  } else if (DocumentTypeOf(t) != nullptr) {  // a document layout
    std::u16string r;
    for (char16_t c : text) {
      // A date's and a time's part separators stay: they pad a part of one digit.
      const bool partSeparator = (t == tipo::Data && (c == u'/' || c == u'.' || c == u'-')) || (t == tipo::Hora && c == u':');
      if (partSeparator || !IsPunctuation(c)) r.push_back(c);
    }
    if (t == tipo::Telefone) r = WithoutCountryCode(std::move(r));
    return r;
  }
  return text;
}

std::u16string WithoutCountryCode(std::u16string digits) {
  // Brazil's country code before a number with its area code: 12 or 13 digits from 55.
  if ((digits.size() == 12 || digits.size() == 13) && digits.starts_with(u"55")) digits.erase(0, 2);
  return digits;
}

}  // namespace delvorin
