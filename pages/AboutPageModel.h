#pragma once
// The Sobre page: fixed texts about the component. It edits no property and does nothing on
// load or apply, so it is data only; a dialog shows it as described here.
#include <array>
#include <cstdint>
#include <string_view>

#include "pages/PageModel.h"

namespace delvorin {

// In the order of kFilhosSobre.
enum class AboutChild : uint8_t { Frame1, Label1, Line1, Label2, Label4 };
inline constexpr int kNumeroFilhosSobre = 5;

inline constexpr std::u16string_view kAvisoDeUso =
    u"O Delvorin pode ser usado e redistribuído livremente junto com os programas que o utilizam. "
    u"É fornecido como está, sem garantia de qualquer tipo.";
inline constexpr std::u16string_view kAutor = u"Projeto Delvorin";
inline constexpr std::u16string_view kContato = u"ver README.md";

// The controls after the frame lie inside it, positioned relative to it.
inline constexpr std::array<ChildDescription, kNumeroFilhosSobre> kFilhosSobre{{
    {.name = u"Frame1", .type = ChildKind::Moldura, .legenda = u"  Delvorin  - Versão 1.0   ", .corTexto = kAzulEscuro,
     .position = {240, 360, 5415, 2775}, .ordemTab = 0},
    {.name = u"Label1", .type = ChildKind::Rotulo, .legenda = kAvisoDeUso, .corTexto = kVermelhoEscuro,
     .position = {360, 360, 4695, 975}, .ordemTab = 3, .variasLinhas = true, .alinhamento = Alignment::Centro,
     .moldura = 0},
    {.name = u"Line1", .type = ChildKind::Linha, .position = {240, 1440, 4680, 0}, .moldura = 0},
    {.name = u"Label2", .type = ChildKind::Rotulo, .legenda = kAutor, .corTexto = kCinza,
     .fonte = FontDescription{u"MS Sans Serif", 13.5, false, true}, .position = {3240, 1800, 1935, 375}, .ordemTab = 1,
     .moldura = 0},
    {.name = u"Label4", .type = ChildKind::Rotulo, .legenda = kContato, .corTexto = kAzul,
     .position = {3360, 2280, 1335, 255}, .ordemTab = 2, .moldura = 0},
}};

inline constexpr PageDescription kPaginaSobre{
    .name = u"Sobre", .titulo = u"Sobre", .largura = 5925, .altura = 3495, .fonte = kFonteDialogo,
    .filhos = kFilhosSobre};

static_assert(kFilhosSobre[static_cast<size_t>(AboutChild::Label4)].name == u"Label4", "FilhoSobre follows the table");

}  // namespace delvorin
