#include "input/FocusEntry.h"

#include <string>

#include "format/Moeda.h"
#include "input/TypingMasks.h"

namespace delvorin {

void FocusEntry::Enter() {
  if (s_.Tipo <= tipo::NumeroDuplo) {
    std::u16string texto = txo_.Text();
    std::u16string simples;
    bool lido = false;
    if (s_.Tipo == tipo::NumeroDuplo) {
      double numero = 0;
      lido = LeNumero(texto, numero).ok();
      if (lido) simples = FormaGeral(numero);
    } else {
      Moeda valor;
      lido = LeMoeda(texto, valor).ok();
      if (lido) simples = FormaSimples(valor);
    }
    (void)txo_.SetText(lido ? simples : u"0");
  } else if (const Mask* m = MascaraDo(s_.Tipo)) {
    (void)txo_.SetProperty(Property::MaxLength, Variant::I4(m->limite));
  }
  (void)txo_.SetTag(u"");
  (void)txo_.SetSelStart(0);
  (void)txo_.SetSelLength(txo_.TextLength());
}

}  // namespace delvorin
