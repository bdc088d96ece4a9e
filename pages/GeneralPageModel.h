#pragma once
// The Geral page as data: its 31 child controls in one table, indexed by GeneralChild.
#include <array>
#include <cstdint>
#include <string_view>

#include "core/Properties.h"
#include "pages/PageModel.h"

namespace delvorin {

// In the order of kFilhosGeral.
enum class GeneralChild : uint8_t {
  lblTipo, Combo1, txtTipo, lblAlignment, CBali, txtAlignment, lblAppearance, CB3d, txtAppearance,
  lblBorderStyle, CBborda, txtBorderStyle, lblText, txtText, chkUsarp, lblMaxLength, txtMaxLength,
  lblDigitos, txtDigitos, lblPasswordChar, txtPasswordChar, Line2, chkEnabled, chkLocked,
  chkUsar_Enter, chkAspas, chkTC_Trim, chkTravaCpf, chkMSGcpf, chkNegativo, chkCnpjAlfanumerico,
};
inline constexpr int kNumeroFilhosGeral = 31;

constexpr int Indice(GeneralChild f) { return static_cast<int>(f); }

inline constexpr std::u16string_view kItensAlinhamento[] = {u"0 - Esquerda", u"1 - Direita", u"2 - Centro"};
inline constexpr std::u16string_view kItensBorda[] = {u"0 - Nenhuma", u"1 - Simples"};
inline constexpr std::u16string_view kItens3d[] = {u"0 - Flat", u"1 - 3D"};

// Tooltip of chkAspas, set when the page is created. U+00B4 is the acute accent, code 180
// of Windows-1252, which Aspas puts in place of a single quote.
inline constexpr std::u16string_view kDicaAspas = u"Troca aspas (')simples por (\u00B4)";

// The four lists are the visible choosers; each keeps the chosen code as decimal text in a
// companion text box inside its area. The companions are value holders only: hidden.
inline constexpr std::array<ChildDescription, kNumeroFilhosGeral> kFilhosGeral{{
    {.name = u"lblTipo", .type = ChildKind::Rotulo, .legenda = u"Tipo:", .corTexto = kAzulEscuro,
     .position = {240, 120, 540, 240}, .ordemTab = 24},
    {.name = u"Combo1", .type = ChildKind::Lista, .corTexto = kAzulEscuro, .corFundo = kAmarelo,
     .fonte = FontDescription{u"MS Sans Serif", 12, false, false}, .position = {240, 360, 5175, 420}, .ordemTab = 0,
     .itens = kTipoLabels},
    {.name = u"txtTipo", .type = ChildKind::CaixaTexto, .position = {3240, 360, 540, 285}, .ordemTab = 25,
     .visivel = false},
    {.name = u"lblAlignment", .type = ChildKind::Rotulo, .legenda = u"Alignment", .position = {240, 840, 1365, 240},
     .ordemTab = 16},
    {.name = u"CBali", .type = ChildKind::Lista, .position = {240, 1080, 2175, 315}, .ordemTab = 1,
     .itens = kItensAlinhamento},
    {.name = u"txtAlignment", .type = ChildKind::CaixaTexto, .position = {240, 1080, 405, 285}, .ordemTab = 17,
     .visivel = false},
    {.name = u"lblAppearance", .type = ChildKind::Rotulo, .legenda = u"Appearance:",
     .position = {2760, 840, 1020, 240}, .ordemTab = 22},
    {.name = u"CB3d", .type = ChildKind::Lista, .position = {2760, 1080, 1215, 315}, .ordemTab = 2, .itens = kItens3d},
    {.name = u"txtAppearance", .type = ChildKind::CaixaTexto, .position = {2760, 1080, 780, 285}, .ordemTab = 23,
     .visivel = false},
    {.name = u"lblBorderStyle", .type = ChildKind::Rotulo, .legenda = u"BorderStyle",
     .position = {240, 1560, 1005, 240}, .ordemTab = 18},
    {.name = u"CBborda", .type = ChildKind::Lista, .position = {240, 1800, 1575, 315}, .ordemTab = 3,
     .itens = kItensBorda},
    {.name = u"txtBorderStyle", .type = ChildKind::CaixaTexto, .position = {240, 1800, 765, 285}, .ordemTab = 19,
     .visivel = false},
    {.name = u"lblText", .type = ChildKind::Rotulo, .legenda = u"Text:", .position = {1920, 1560, 1020, 240},
     .ordemTab = 21},
    {.name = u"txtText", .type = ChildKind::CaixaTexto, .dica = u"conteúdo do controle...", .corFundo = kAmareloClaro,
     .position = {1920, 1800, 3420, 330}, .ordemTab = 4},
    {.name = u"chkUsarp", .type = ChildKind::CaixaMarcacao, .legenda = u"Usar parênteses (moeda negativo)",
     .dica = u"Usar parênteses/sinal quando (tipo 0)  for negativo...", .corTexto = kAzulEscuro,
     .position = {3720, 2280, 1725, 645}, .ordemTab = 28, .variasLinhas = true},
    {.name = u"lblMaxLength", .type = ChildKind::Rotulo, .legenda = u"MaxLength:", .position = {210, 2355, 1005, 240},
     .ordemTab = 20},
    {.name = u"txtMaxLength", .type = ChildKind::CaixaTexto, .position = {210, 2610, 645, 330}, .ordemTab = 5},
    {.name = u"lblDigitos", .type = ChildKind::Rotulo, .legenda = u"Digitos:", .corTexto = kAzulEscuro,
     .position = {1350, 2355, 660, 240}, .ordemTab = 26},
    {.name = u"txtDigitos", .type = ChildKind::CaixaTexto, .dica = u"Dígitos a direita da vírgula. Tipos 0 e 1",
     .position = {1350, 2640, 540, 330}, .ordemTab = 6},
    {.name = u"lblPasswordChar", .type = ChildKind::Rotulo, .legenda = u"PasswordChar:",
     .position = {2040, 2355, 1140, 240}, .ordemTab = 27},
    {.name = u"txtPasswordChar", .type = ChildKind::CaixaTexto, .position = {2280, 2640, 540, 330}, .ordemTab = 7,
     .comprimentoMaximo = 1},
    {.name = u"Line2", .type = ChildKind::Linha, .position = {240, 3240, 4680, 0}},
    {.name = u"chkEnabled", .type = ChildKind::CaixaMarcacao, .legenda = u"Enabled", .position = {240, 3360, 1245, 285},
     .ordemTab = 8},
    {.name = u"chkLocked", .type = ChildKind::CaixaMarcacao, .legenda = u"Locked", .position = {1560, 3360, 1005, 285},
     .ordemTab = 9},
    {.name = u"chkUsar_Enter", .type = ChildKind::CaixaMarcacao, .legenda = u"Usar_Enter",
     .dica = u"Usar enter p/ mudar de controle", .corTexto = kAzulEscuro, .position = {2880, 3360, 1380, 285},
     .ordemTab = 10},
    {.name = u"chkAspas", .type = ChildKind::CaixaMarcacao, .legenda = u"Aspas", .corTexto = kAzulEscuro,
     .position = {240, 3840, 780, 285}, .ordemTab = 11},
    {.name = u"chkTC_Trim", .type = ChildKind::CaixaMarcacao, .legenda = u"TC_Trim",
     .dica = u"Retira espaços do início e final...", .corTexto = kAzulEscuro, .position = {1080, 3840, 1020, 285},
     .ordemTab = 12},
    {.name = u"chkTravaCpf", .type = ChildKind::CaixaMarcacao, .legenda = u"TravaCpf",
     .dica = u"Não libera o foco se CPF/CNPJ inválidos..", .corTexto = kAzulEscuro,
     .position = {2160, 3840, 1140, 285}, .ordemTab = 13},
    {.name = u"chkMSGcpf", .type = ChildKind::CaixaMarcacao, .legenda = u"MSGcpf",
     .dica = u"Emite mensagem se CPF/CNPJ inválidos...", .corTexto = kAzulEscuro, .position = {3360, 3840, 1020, 285},
     .ordemTab = 14},
    {.name = u"chkNegativo", .type = ChildKind::CaixaMarcacao, .legenda = u"Negativo",
     .dica = u"Permite números negativos...tipos de 0 a 3", .corTexto = kAzulEscuro,
     .position = {4440, 3840, 1020, 285}, .ordemTab = 15},
    // Shown for CNPJ fields only, so it takes the right-hand slot of chkUsarp, which only a
    // type 0 field shows.
    {.name = u"chkCnpjAlfanumerico", .type = ChildKind::CaixaMarcacao, .legenda = u"CNPJ alfanumérico",
     .dica = DescriptionOf(Property::CnpjAlfanumerico).help, .corTexto = kAzulEscuro,
     .position = {3720, 2280, 1725, 285}, .ordemTab = 29},
}};

inline constexpr PageDescription kPaginaGeral{
    .name = u"Geral", .titulo = u"Propriedades ", .largura = 5880, .altura = 4320, .fonte = kFonteDialogo,
    .filhos = kFilhosGeral};

constexpr const ChildDescription& DescriptionOf(GeneralChild f) { return kFilhosGeral[static_cast<size_t>(f)]; }

static_assert(DescriptionOf(GeneralChild::chkNegativo).name == u"chkNegativo", "FilhoGeral follows the table");
static_assert(DescriptionOf(GeneralChild::chkCnpjAlfanumerico).name == u"chkCnpjAlfanumerico", "FilhoGeral follows the table");
static_assert(DescriptionOf(GeneralChild::Line2).name == u"Line2", "FilhoGeral follows the table");
static_assert(DescriptionOf(GeneralChild::txtText).name == u"txtText", "FilhoGeral follows the table");

// Each list with the text box that holds its code, in the order loading sets the lists.
struct GeneralList {
  GeneralChild lista;
  GeneralChild companheira;
};
inline constexpr GeneralList kListasGeral[] = {
    {GeneralChild::Combo1, GeneralChild::txtTipo},
    {GeneralChild::CBali, GeneralChild::txtAlignment},
    {GeneralChild::CBborda, GeneralChild::txtBorderStyle},
    {GeneralChild::CB3d, GeneralChild::txtAppearance},
};

// The control of the page bound to each property, in the order of loading and applying.
struct GeneralBinding {
  GeneralChild filho;
  Property propriedade;
};
inline constexpr GeneralBinding kVinculosGeral[] = {
    {GeneralChild::chkUsar_Enter, Property::Usar_Enter},
    {GeneralChild::chkTC_Trim, Property::TC_Trim},
    {GeneralChild::chkAspas, Property::Aspas},
    {GeneralChild::chkUsarp, Property::usar_parenteses},
    {GeneralChild::txtPasswordChar, Property::PasswordChar},
    {GeneralChild::chkMSGcpf, Property::MSGcpf},
    {GeneralChild::txtDigitos, Property::Digitos},
    {GeneralChild::chkTravaCpf, Property::TravaCpf},
    {GeneralChild::chkNegativo, Property::Negativo},
    {GeneralChild::txtTipo, Property::Tipo},
    {GeneralChild::txtAppearance, Property::Appearance},
    {GeneralChild::txtText, Property::Text},
    {GeneralChild::txtMaxLength, Property::MaxLength},
    {GeneralChild::chkLocked, Property::Locked},
    {GeneralChild::chkEnabled, Property::Enabled},
    {GeneralChild::txtBorderStyle, Property::BorderStyle},
    {GeneralChild::txtAlignment, Property::Alignment},
    {GeneralChild::chkCnpjAlfanumerico, Property::CnpjAlfanumerico},
};

// A property added after the 1.0 interface. An object that predates it (a control of the 1.0
// type library, or another object with the 1.0 names) is still edited: the page grays the
// control bound to it and leaves the property out of the apply.
constexpr bool Posterior10(Property p) { return static_cast<int>(p) >= kPropertyCount10; }

}  // namespace delvorin
