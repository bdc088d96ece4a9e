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
    {.nome = u"Frame1", .tipo = ChildKind::Moldura, .legenda = u"  Delvorin  - Versão 1.0   ", .corTexto = kAzulEscuro,
     .posicao = {240, 360, 5415, 2775}, .ordemTab = 0},
    {.nome = u"Label1", .tipo = ChildKind::Rotulo, .legenda = kAvisoDeUso, .corTexto = kVermelhoEscuro,
     .posicao = {360, 360, 4695, 975}, .ordemTab = 3, .variasLinhas = true, .alinhamento = Alignment::Centro,
     .moldura = 0},
    {.nome = u"Line1", .tipo = ChildKind::Linha, .posicao = {240, 1440, 4680, 0}, .moldura = 0},
    {.nome = u"Label2", .tipo = ChildKind::Rotulo, .legenda = kAutor, .corTexto = kCinza,
     .fonte = Fonte{u"MS Sans Serif", 13.5, false, true}, .posicao = {3240, 1800, 1935, 375}, .ordemTab = 1,
     .moldura = 0},
    {.nome = u"Label4", .tipo = ChildKind::Rotulo, .legenda = kContato, .corTexto = kAzul,
     .posicao = {3360, 2280, 1335, 255}, .ordemTab = 2, .moldura = 0},
}};

inline constexpr PageDescription kPaginaSobre{
    .nome = u"Sobre", .titulo = u"Sobre", .largura = 5925, .altura = 3495, .fonte = kFonteDialogo,
    .filhos = kFilhosSobre};

static_assert(kFilhosSobre[static_cast<size_t>(AboutChild::Label4)].nome == u"Label4", "FilhoSobre follows the table");

}  // namespace delvorin
