// Display layouts of document numbers: the layout of each type, through the layout engine.
// Its own separators are dropped wherever they are, the other characters (of any kind) are
// laid out in its slots, and those beyond its capacity are dropped.
#include "format/DisplayLayouts.h"

#include <array>

#include "core/Settings.h"
#include "format/DocumentTypes.h"
#include "format/Layout.h"

namespace delvorin {
namespace {

std::u16string Formata(std::u16string_view text, uint8_t tipo) {
  const Layout layout = Layout::FromPattern(DocumentTypeOf(tipo)->layouts[0].pattern);
  // The characters that reach a slot, kept on the stack: these layouts have at most 16 slots.
  std::array<char16_t, 16> kept{};
  size_t n = 0;
  for (char16_t c : text) {
    if (layout.IsLiteral(c)) continue;
    if (n == layout.slots() || n == kept.size()) break;
    kept[n++] = c;
  }
  return layout.Render(std::u16string_view(kept.data(), n));
}

}  // namespace

std::u16string FormataCep(std::u16string_view text) { return Formata(text, tipo::Cep); }
std::u16string FormataCpf(std::u16string_view text) { return Formata(text, tipo::Cpf); }
std::u16string FormataCnpj(std::u16string_view text) { return Formata(text, tipo::Cnpj); }
std::u16string FormataPis(std::u16string_view text) { return Formata(text, tipo::Pis); }
std::u16string FormataCartao(std::u16string_view text) { return Formata(text, tipo::Cartao); }

}  // namespace delvorin
