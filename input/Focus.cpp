// Focus entry: the display form of an amount or number becomes the plain value being
// edited, document types get their layout's length limit, and the whole text is selected.
#include "control/Delvorin.h"
#include "format/Moeda.h"
#include "input/TypingMasks.h"

namespace delvorin {

void Delvorin::TXO_GotFocus() {
  if (Tipo_ <= tipo::NumeroDuplo) {
    std::u16string texto = txo_.Text();
    std::u16string simples;
    bool lido = false;
    if (Tipo_ == tipo::NumeroDuplo) {
      double numero = 0;
      lido = LeNumero(texto, numero).ok();
      if (lido) simples = FormaGeral(numero);
    } else {
      Moeda valor;
      lido = LeMoeda(texto, valor).ok();
      if (lido) simples = FormaSimples(valor);
    }
    (void)txo_.SetText(lido ? simples : u"0");
  } else if (const Mask* m = MascaraDo(Tipo_)) {
    (void)txo_.SetProperty(Property::MaxLength, Variant::I4(m->limite));
  }
  (void)txo_.SetTag(u"");
  (void)txo_.SetSelStart(0);
  (void)txo_.SetSelLength(static_cast<int32_t>(txo_.Text().size()));
}

void Delvorin::UserControl_GotFocus() {
  Variant enabled;
  if (txo_.GetProperty(Property::Enabled, enabled).ok() && enabled.type() == VarType::Bool &&
      enabled.boolean() == 0)
    (void)runtime_.SendKeys(u"{tab}");
}

}  // namespace delvorin
