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
    {.nome = u"lblTipo", .tipo = ChildKind::Rotulo, .legenda = u"Tipo:", .corTexto = kAzulEscuro,
     .posicao = {240, 120, 540, 240}, .ordemTab = 24},
    {.nome = u"Combo1", .tipo = ChildKind::Lista, .corTexto = kAzulEscuro, .corFundo = kAmarelo,
     .fonte = Fonte{u"MS Sans Serif", 12, false, false}, .posicao = {240, 360, 5175, 420}, .ordemTab = 0,
     .itens = kRotulosTipo},
    {.nome = u"txtTipo", .tipo = ChildKind::CaixaTexto, .posicao = {3240, 360, 540, 285}, .ordemTab = 25,
     .visivel = false},
    {.nome = u"lblAlignment", .tipo = ChildKind::Rotulo, .legenda = u"Alignment", .posicao = {240, 840, 1365, 240},
     .ordemTab = 16},
    {.nome = u"CBali", .tipo = ChildKind::Lista, .posicao = {240, 1080, 2175, 315}, .ordemTab = 1,
     .itens = kItensAlinhamento},
    {.nome = u"txtAlignment", .tipo = ChildKind::CaixaTexto, .posicao = {240, 1080, 405, 285}, .ordemTab = 17,
     .visivel = false},
    {.nome = u"lblAppearance", .tipo = ChildKind::Rotulo, .legenda = u"Appearance:",
     .posicao = {2760, 840, 1020, 240}, .ordemTab = 22},
    {.nome = u"CB3d", .tipo = ChildKind::Lista, .posicao = {2760, 1080, 1215, 315}, .ordemTab = 2, .itens = kItens3d},
    {.nome = u"txtAppearance", .tipo = ChildKind::CaixaTexto, .posicao = {2760, 1080, 780, 285}, .ordemTab = 23,
     .visivel = false},
    {.nome = u"lblBorderStyle", .tipo = ChildKind::Rotulo, .legenda = u"BorderStyle",
     .posicao = {240, 1560, 1005, 240}, .ordemTab = 18},
    {.nome = u"CBborda", .tipo = ChildKind::Lista, .posicao = {240, 1800, 1575, 315}, .ordemTab = 3,
     .itens = kItensBorda},
    {.nome = u"txtBorderStyle", .tipo = ChildKind::CaixaTexto, .posicao = {240, 1800, 765, 285}, .ordemTab = 19,
     .visivel = false},
    {.nome = u"lblText", .tipo = ChildKind::Rotulo, .legenda = u"Text:", .posicao = {1920, 1560, 1020, 240},
     .ordemTab = 21},
    {.nome = u"txtText", .tipo = ChildKind::CaixaTexto, .dica = u"conteúdo do controle...", .corFundo = kAmareloClaro,
     .posicao = {1920, 1800, 3420, 330}, .ordemTab = 4},
    {.nome = u"chkUsarp", .tipo = ChildKind::CaixaMarcacao, .legenda = u"Usar parênteses (moeda negativo)",
     .dica = u"Usar parênteses/sinal quando (tipo 0)  for negativo...", .corTexto = kAzulEscuro,
     .posicao = {3720, 2280, 1725, 645}, .ordemTab = 28, .variasLinhas = true},
    {.nome = u"lblMaxLength", .tipo = ChildKind::Rotulo, .legenda = u"MaxLength:", .posicao = {210, 2355, 1005, 240},
     .ordemTab = 20},
    {.nome = u"txtMaxLength", .tipo = ChildKind::CaixaTexto, .posicao = {210, 2610, 645, 330}, .ordemTab = 5},
    {.nome = u"lblDigitos", .tipo = ChildKind::Rotulo, .legenda = u"Digitos:", .corTexto = kAzulEscuro,
     .posicao = {1350, 2355, 660, 240}, .ordemTab = 26},
    {.nome = u"txtDigitos", .tipo = ChildKind::CaixaTexto, .dica = u"Dígitos a direita da vírgula. Tipos 0 e 1",
     .posicao = {1350, 2640, 540, 330}, .ordemTab = 6},
    {.nome = u"lblPasswordChar", .tipo = ChildKind::Rotulo, .legenda = u"PasswordChar:",
     .posicao = {2040, 2355, 1140, 240}, .ordemTab = 27},
    {.nome = u"txtPasswordChar", .tipo = ChildKind::CaixaTexto, .posicao = {2280, 2640, 540, 330}, .ordemTab = 7,
     .comprimentoMaximo = 1},
    {.nome = u"Line2", .tipo = ChildKind::Linha, .posicao = {240, 3240, 4680, 0}},
    {.nome = u"chkEnabled", .tipo = ChildKind::CaixaMarcacao, .legenda = u"Enabled", .posicao = {240, 3360, 1245, 285},
     .ordemTab = 8},
    {.nome = u"chkLocked", .tipo = ChildKind::CaixaMarcacao, .legenda = u"Locked", .posicao = {1560, 3360, 1005, 285},
     .ordemTab = 9},
    {.nome = u"chkUsar_Enter", .tipo = ChildKind::CaixaMarcacao, .legenda = u"Usar_Enter",
     .dica = u"Usar enter p/ mudar de controle", .corTexto = kAzulEscuro, .posicao = {2880, 3360, 1380, 285},
     .ordemTab = 10},
    {.nome = u"chkAspas", .tipo = ChildKind::CaixaMarcacao, .legenda = u"Aspas", .corTexto = kAzulEscuro,
     .posicao = {240, 3840, 780, 285}, .ordemTab = 11},
    {.nome = u"chkTC_Trim", .tipo = ChildKind::CaixaMarcacao, .legenda = u"TC_Trim",
     .dica = u"Retira espaços do início e final...", .corTexto = kAzulEscuro, .posicao = {1080, 3840, 1020, 285},
     .ordemTab = 12},
    {.nome = u"chkTravaCpf", .tipo = ChildKind::CaixaMarcacao, .legenda = u"TravaCpf",
     .dica = u"Não libera o foco se CPF/CNPJ inválidos..", .corTexto = kAzulEscuro,
     .posicao = {2160, 3840, 1140, 285}, .ordemTab = 13},
    {.nome = u"chkMSGcpf", .tipo = ChildKind::CaixaMarcacao, .legenda = u"MSGcpf",
     .dica = u"Emite mensagem se CPF/CNPJ inválidos...", .corTexto = kAzulEscuro, .posicao = {3360, 3840, 1020, 285},
     .ordemTab = 14},
    {.nome = u"chkNegativo", .tipo = ChildKind::CaixaMarcacao, .legenda = u"Negativo",
     .dica = u"Permite números negativos...tipos de 0 a 3", .corTexto = kAzulEscuro,
     .posicao = {4440, 3840, 1020, 285}, .ordemTab = 15},
    // Shown for CNPJ fields only, so it takes the right-hand slot of chkUsarp, which only a
    // type 0 field shows.
    {.nome = u"chkCnpjAlfanumerico", .tipo = ChildKind::CaixaMarcacao, .legenda = u"CNPJ alfanumérico",
     .dica = Descricao(Property::CnpjAlfanumerico).ajuda, .corTexto = kAzulEscuro,
     .posicao = {3720, 2280, 1725, 285}, .ordemTab = 29},
}};

inline constexpr PageDescription kPaginaGeral{
    .nome = u"Geral", .titulo = u"Propriedades ", .largura = 5880, .altura = 4320, .fonte = kFonteDialogo,
    .filhos = kFilhosGeral};

constexpr const ChildDescription& Descricao(GeneralChild f) { return kFilhosGeral[static_cast<size_t>(f)]; }

static_assert(Descricao(GeneralChild::chkNegativo).nome == u"chkNegativo", "FilhoGeral follows the table");
static_assert(Descricao(GeneralChild::chkCnpjAlfanumerico).nome == u"chkCnpjAlfanumerico", "FilhoGeral follows the table");
static_assert(Descricao(GeneralChild::Line2).nome == u"Line2", "FilhoGeral follows the table");
static_assert(Descricao(GeneralChild::txtText).nome == u"txtText", "FilhoGeral follows the table");

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
