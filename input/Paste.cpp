// The paste rule: the clipboard's text enters the field as if the user had typed it, one
// character at a time, so that the host's KeyPress, the filter, the mask separators and the
// length limit apply to pasted text exactly as to typed text.
#include "control/Delvorin.h"
#include "input/Cp1252.h"
#include "input/PastedText.h"

namespace delvorin {

void Delvorin::TXO_Paste(std::u16string_view text) {
  const std::u16string caracteres = PastedCharacters(Tipo_, text);
  for (char16_t c : caracteres) {
    int16_t codigo = CodigoDeTecla(c);
    TXO_KeyPress(codigo);
    const std::optional<char16_t> inserido = CaractereDeCodigo(codigo);
    // Refused, or a control code (a host may leave one) that inserts nothing.
    if (!inserido || *inserido < 32 || *inserido == 127) continue;
    (void)txo_.ReplaceSelection(std::u16string_view(&*inserido, 1));
  }
}

}  // namespace delvorin
