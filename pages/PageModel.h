#pragma once
// A property page described as data: its client area, its caption and every child control
// with what a dialog needs to build it (kind, caption, tooltip, colours, font, position in
// twips, tab index, list items, length limit). The Windows server builds its dialogs from
// these tables; the headless surface builds its in-memory controls from them.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace delvorin {

enum class ChildKind : uint8_t {
  Rotulo,         // label
  Lista,          // drop-down list: a combo box that only offers its items
  CaixaTexto,     // single-line text box
  CaixaMarcacao,  // check box: 0 clear, 1 ticked, 2 grayed
  Linha,          // separator line
  Moldura,        // frame holding other controls
};

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  constexpr bool operator==(const Rgb&) const = default;
};

struct FontDescription {
  std::u16string_view name = {};
  double pontos = 0;
  bool negrito = false;
  bool italico = false;
};

// Twips. For a line, the segment from (esquerda, top) to (esquerda + largura, top + altura).
struct Rect {
  int32_t esquerda = 0;
  int32_t top = 0;
  int32_t largura = 0;
  int32_t altura = 0;
};

enum class Alignment : uint8_t { Esquerda, Centro };

inline constexpr int16_t kSemTab = -1;     // no tab index (lines)
inline constexpr int kSemMoldura = -1;     // placed on the page itself

struct ChildDescription {
  std::u16string_view name = {};
  ChildKind type = ChildKind::Rotulo;
  std::u16string_view legenda = {};           // labels, check boxes, frames
  std::u16string_view dica = {};              // tooltip; empty: none
  std::optional<Rgb> corTexto = {};           // none: the system's colour
  std::optional<Rgb> corFundo = {};
  std::optional<FontDescription> fonte = {};            // none: the page's font
  Rect position = {};                     // relative to the frame when inside one
  int16_t ordemTab = kSemTab;
  std::span<const std::u16string_view> itens = {};  // lists: added when the page is created
  int32_t comprimentoMaximo = 0;              // text boxes: characters the user may type, 0 any
  bool variasLinhas = false;                  // the caption wraps over several lines
  Alignment alinhamento = Alignment::Esquerda;
  bool visivel = true;                        // visible when the page is created
  int moldura = kSemMoldura;                  // index of the frame that holds it
};

struct PageDescription {
  std::u16string_view name = {};
  std::u16string_view titulo = {};  // the caption on the page's tab
  int32_t largura = 0;              // client area, twips
  int32_t altura = 0;
  FontDescription fonte = {};                 // for the controls that give no font of their own
  std::span<const ChildDescription> filhos = {};
};

// Index of the child control of that exact name, or -1.
constexpr int ProcuraFilho(const PageDescription& pagina, std::u16string_view name) {
  for (size_t i = 0; i < pagina.filhos.size(); ++i)
    if (pagina.filhos[i].name == name) return static_cast<int>(i);
  return -1;
}

// Colours the pages use.
inline constexpr Rgb kAzulEscuro{0, 0, 192};
inline constexpr Rgb kAmarelo{255, 255, 0};
inline constexpr Rgb kAmareloClaro{255, 255, 192};
inline constexpr Rgb kVermelhoEscuro{192, 0, 0};
inline constexpr Rgb kCinza{128, 128, 128};
inline constexpr Rgb kAzul{0, 0, 255};

// The dialog font of the platform, for controls without a font of their own.
inline constexpr FontDescription kFonteDialogo{u"MS Sans Serif", 8.25, false, false};

}  // namespace delvorin
