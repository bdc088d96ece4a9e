#include "input/PastedText.h"

#include "core/Settings.h"
#include "format/Moeda.h"
#include "input/TypingMasks.h"

namespace delvorin {
namespace {

bool EhTexto(uint8_t t) {
  return (t >= tipo::Texto && t <= tipo::TextoMinusculas) || t == tipo::TextoPrimeira;
}

// Separators, spaces and punctuation that a copied document number carries: everything of
// ASCII but letters and digits, the Latin-1 signs and spaces, general punctuation (dashes,
// quotes, bullets, thin spaces), the minus sign, the ideographic space and the byte-order mark.
bool EhPontuacao(char16_t c) {
  if (c < 0x80) return !((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'));
  return (c >= 0xA0 && c <= 0xBF) || c == 0xD7 || c == 0xF7 || (c >= 0x2000 && c <= 0x206F) || c == 0x2212 ||
         c == 0x3000 || c == 0xFEFF;
}

// Each line break and each tab as `troca`, or dropped when troca is 0.
std::u16string TrocaQuebras(std::u16string_view texto, char16_t troca) {
  std::u16string r;
  r.reserve(texto.size());
  for (size_t i = 0; i < texto.size(); ++i) {
    const char16_t c = texto[i];
    if (c == u'\r' || c == u'\n' || c == u'\t') {
      if (c == u'\r' && i + 1 < texto.size() && texto[i + 1] == u'\n') ++i;
      if (troca != 0) r.push_back(troca);
      continue;
    }
    r.push_back(c);
  }
  return r;
}

}  // namespace

std::u16string PastedCharacters(uint8_t t, std::u16string_view clipboard) {
  if (t == tipo::Extenso) return {};
  if (EhTexto(t)) return TrocaQuebras(clipboard, u' ');
  std::u16string texto = TrocaQuebras(clipboard, 0);
  if (t == tipo::MoedaComMascara || t == tipo::MoedaSemMascara) {
    Moeda valor;
    if (LeMoeda(texto, valor).ok()) return FormaSimples(valor);
  } else if (t == tipo::NumeroDuplo) {
    double numero = 0;
    if (LeNumero(texto, numero).ok()) return FormaGeral(numero);
  } else if (MascaraDo(t) != nullptr) {  // a document layout
    std::u16string r;
    for (char16_t c : texto)
      if (!EhPontuacao(c)) r.push_back(c);
    return r;
  }
  return texto;
}

}  // namespace delvorin
