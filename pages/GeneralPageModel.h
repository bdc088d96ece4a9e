#pragma once
// The Geral page as data: its 35 child controls in one table, indexed by GeneralChild.
#include <array>
#include <cstdint>
#include <string_view>

#include "core/Properties.h"
#include "pages/PageModel.h"

namespace delvorin {

// In the order of kGeneralChildren.
enum class GeneralChild : uint8_t {
  lblTipo, Combo1, txtTipo, lblAlignment, CBali, txtAlignment, lblAppearance, CB3d, txtAppearance,
  lblBorderStyle, CBborda, txtBorderStyle, lblText, txtText, chkUsarp, lblMaxLength, txtMaxLength,
  lblDigitos, txtDigitos, lblPasswordChar, txtPasswordChar, Line2, chkEnabled, chkLocked,
  chkUsar_Enter, chkAspas, chkTC_Trim, chkTravaCpf, chkMSGcpf, chkNegativo, chkCnpjAlfanumerico, lblUF, CBuf,
  lblMascara, txtMascara,
};
inline constexpr int kGeneralChildCount = 35;

constexpr int IndexOf(GeneralChild f) { return static_cast<int>(f); }

inline constexpr std::u16string_view kAlignmentItems[] = {u"0 - Esquerda", u"1 - Direita", u"2 - Centro"};
inline constexpr std::u16string_view kBorderItems[] = {u"0 - Nenhuma", u"1 - Simples"};
inline constexpr std::u16string_view k3dItems[] = {u"0 - Flat", u"1 - 3D"};

// The states of UF after an empty entry, which stands for no state.
inline constexpr std::array<std::u16string_view, kUfs.size() + 1> kUfItems = [] {
  std::array<std::u16string_view, kUfs.size() + 1> items{};
  for (size_t i = 0; i < kUfs.size(); ++i) items[i + 1] = kUfs[i];
  return items;
}();

// Tooltip of chkAspas, set when the page is created. U+00B4 is the acute accent, code 180
// of Windows-1252, which Aspas puts in place of a single quote.
inline constexpr std::u16string_view kAspasTooltip = u"Troca aspas (')simples por (\u00B4)";

// The four lists are the visible choosers; each keeps the chosen code as decimal text in a
// companion text box inside its area. The companions are value holders only: hidden.
inline constexpr std::array<ChildDescription, kGeneralChildCount> kGeneralChildren{{
    {.name = u"lblTipo", .type = ChildKind::Label, .caption = u"Tipo:", .textColour = kDarkBlue,
     .position = {240, 120, 540, 240}, .tabIndex = 24},
    {.name = u"Combo1", .type = ChildKind::List, .textColour = kDarkBlue, .backColour = kYellow,
     .font = FontDescription{u"MS Sans Serif", 12, false, false}, .position = {240, 360, 5175, 420}, .tabIndex = 0,
     .items = kTipoLabels},
    {.name = u"txtTipo", .type = ChildKind::TextBox, .position = {3240, 360, 540, 285}, .tabIndex = 25,
     .visible = false},
    {.name = u"lblAlignment", .type = ChildKind::Label, .caption = u"Alignment", .position = {240, 840, 1365, 240},
     .tabIndex = 16},
    {.name = u"CBali", .type = ChildKind::List, .position = {240, 1080, 2175, 315}, .tabIndex = 1,
     .items = kAlignmentItems},
    {.name = u"txtAlignment", .type = ChildKind::TextBox, .position = {240, 1080, 405, 285}, .tabIndex = 17,
     .visible = false},
    {.name = u"lblAppearance", .type = ChildKind::Label, .caption = u"Appearance:",
     .position = {2760, 840, 1020, 240}, .tabIndex = 22},
    {.name = u"CB3d", .type = ChildKind::List, .position = {2760, 1080, 1215, 315}, .tabIndex = 2, .items = k3dItems},
    {.name = u"txtAppearance", .type = ChildKind::TextBox, .position = {2760, 1080, 780, 285}, .tabIndex = 23,
     .visible = false},
    {.name = u"lblBorderStyle", .type = ChildKind::Label, .caption = u"BorderStyle",
     .position = {240, 1560, 1005, 240}, .tabIndex = 18},
    {.name = u"CBborda", .type = ChildKind::List, .position = {240, 1800, 1575, 315}, .tabIndex = 3,
     .items = kBorderItems},
    {.name = u"txtBorderStyle", .type = ChildKind::TextBox, .position = {240, 1800, 765, 285}, .tabIndex = 19,
     .visible = false},
    {.name = u"lblText", .type = ChildKind::Label, .caption = u"Text:", .position = {1920, 1560, 1020, 240},
     .tabIndex = 21},
    {.name = u"txtText", .type = ChildKind::TextBox, .tooltip = u"conteúdo do controle...", .backColour = kLightYellow,
     .position = {1920, 1800, 3420, 330}, .tabIndex = 4},
    {.name = u"chkUsarp", .type = ChildKind::CheckBox, .caption = u"Usar parênteses (moeda negativo)",
     .tooltip = u"Usar parênteses/sinal quando (tipo 0)  for negativo...", .textColour = kDarkBlue,
     .position = {3720, 2280, 1725, 645}, .tabIndex = 28, .multiLine = true},
    {.name = u"lblMaxLength", .type = ChildKind::Label, .caption = u"MaxLength:", .position = {210, 2355, 1005, 240},
     .tabIndex = 20},
    {.name = u"txtMaxLength", .type = ChildKind::TextBox, .position = {210, 2610, 645, 330}, .tabIndex = 5},
    {.name = u"lblDigitos", .type = ChildKind::Label, .caption = u"Digitos:", .textColour = kDarkBlue,
     .position = {1350, 2355, 660, 240}, .tabIndex = 26},
    {.name = u"txtDigitos", .type = ChildKind::TextBox, .tooltip = u"Dígitos a direita da vírgula. Tipos 0 e 1",
     .position = {1350, 2640, 540, 330}, .tabIndex = 6},
    {.name = u"lblPasswordChar", .type = ChildKind::Label, .caption = u"PasswordChar:",
     .position = {2040, 2355, 1140, 240}, .tabIndex = 27},
    {.name = u"txtPasswordChar", .type = ChildKind::TextBox, .position = {2280, 2640, 540, 330}, .tabIndex = 7,
     .maxLength = 1},
    {.name = u"Line2", .type = ChildKind::Line, .position = {240, 3240, 4680, 0}},
    {.name = u"chkEnabled", .type = ChildKind::CheckBox, .caption = u"Enabled", .position = {240, 3360, 1245, 285},
     .tabIndex = 8},
    {.name = u"chkLocked", .type = ChildKind::CheckBox, .caption = u"Locked", .position = {1560, 3360, 1005, 285},
     .tabIndex = 9},
    {.name = u"chkUsar_Enter", .type = ChildKind::CheckBox, .caption = u"Usar_Enter",
     .tooltip = u"Usar enter p/ mudar de controle", .textColour = kDarkBlue, .position = {2880, 3360, 1380, 285},
     .tabIndex = 10},
    {.name = u"chkAspas", .type = ChildKind::CheckBox, .caption = u"Aspas", .textColour = kDarkBlue,
     .position = {240, 3840, 780, 285}, .tabIndex = 11},
    {.name = u"chkTC_Trim", .type = ChildKind::CheckBox, .caption = u"TC_Trim",
     .tooltip = u"Retira espaços do início e final...", .textColour = kDarkBlue, .position = {1080, 3840, 1020, 285},
     .tabIndex = 12},
    {.name = u"chkTravaCpf", .type = ChildKind::CheckBox, .caption = u"TravaCpf",
     .tooltip = u"Não libera o foco se CPF/CNPJ inválidos..", .textColour = kDarkBlue,
     .position = {2160, 3840, 1140, 285}, .tabIndex = 13},
    {.name = u"chkMSGcpf", .type = ChildKind::CheckBox, .caption = u"MSGcpf",
     .tooltip = u"Emite mensagem se CPF/CNPJ inválidos...", .textColour = kDarkBlue, .position = {3360, 3840, 1020, 285},
     .tabIndex = 14},
    {.name = u"chkNegativo", .type = ChildKind::CheckBox, .caption = u"Negativo",
     .tooltip = u"Permite números negativos...tipos de 0 a 3", .textColour = kDarkBlue,
     .position = {4440, 3840, 1020, 285}, .tabIndex = 15},
    // Shown for CNPJ fields only, so it takes the right-hand slot of chkUsarp, which only a
    // type 0 field shows.
    {.name = u"chkCnpjAlfanumerico", .type = ChildKind::CheckBox, .caption = u"CNPJ alfanumérico",
     .tooltip = DescriptionOf(Property::CnpjAlfanumerico).help, .textColour = kDarkBlue,
     .position = {3720, 2280, 1725, 285}, .tabIndex = 29},
    // The state of an Inscrição Estadual field: shown for that type only, in the same slot.
    {.name = u"lblUF", .type = ChildKind::Label, .caption = u"UF:", .textColour = kDarkBlue,
     .position = {3720, 2280, 540, 240}, .tabIndex = 30},
    {.name = u"CBuf", .type = ChildKind::List, .tooltip = DescriptionOf(Property::UF).help,
     .position = {3720, 2520, 1215, 315}, .tabIndex = 31, .items = kUfItems},
    // The mask of type 26, in the same slot again.
    {.name = u"lblMascara", .type = ChildKind::Label, .caption = u"Máscara:", .textColour = kDarkBlue,
     .position = {3720, 2280, 1005, 240}, .tabIndex = 32},
    {.name = u"txtMascara", .type = ChildKind::TextBox, .tooltip = DescriptionOf(Property::Mascara).help,
     .position = {3720, 2520, 1725, 330}, .tabIndex = 33},
}};

inline constexpr PageDescription kGeneralPage{
    .name = u"Geral", .title = u"Propriedades ", .width = 5880, .height = 4320, .font = kDialogFont,
    .children = kGeneralChildren};

constexpr const ChildDescription& DescriptionOf(GeneralChild f) { return kGeneralChildren[static_cast<size_t>(f)]; }

static_assert(DescriptionOf(GeneralChild::chkNegativo).name == u"chkNegativo", "GeneralChild follows the table");
static_assert(DescriptionOf(GeneralChild::chkCnpjAlfanumerico).name == u"chkCnpjAlfanumerico", "GeneralChild follows the table");
static_assert(DescriptionOf(GeneralChild::CBuf).name == u"CBuf", "GeneralChild follows the table");
static_assert(DescriptionOf(GeneralChild::txtMascara).name == u"txtMascara", "GeneralChild follows the table");
static_assert(DescriptionOf(GeneralChild::Line2).name == u"Line2", "GeneralChild follows the table");
static_assert(DescriptionOf(GeneralChild::txtText).name == u"txtText", "GeneralChild follows the table");

// Each list with the text box that holds its code, in the order loading sets the lists.
struct GeneralList {
  GeneralChild list;
  GeneralChild companion;
};
inline constexpr GeneralList kGeneralLists[] = {
    {GeneralChild::Combo1, GeneralChild::txtTipo},
    {GeneralChild::CBali, GeneralChild::txtAlignment},
    {GeneralChild::CBborda, GeneralChild::txtBorderStyle},
    {GeneralChild::CB3d, GeneralChild::txtAppearance},
};

// The control of the page bound to each property, in the order of loading and applying.
struct GeneralBinding {
  GeneralChild child;
  Property property;
};
inline constexpr GeneralBinding kGeneralBindings[] = {
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

// Bound controls loaded and applied after the state's list, UF.
inline constexpr GeneralBinding kGeneralLateBindings[] = {
    {GeneralChild::txtMascara, Property::Mascara},
};

// A property added after the 1.0 interface. An object that predates it (a control of the 1.0
// type library, or another object with the 1.0 names) is still edited: the page grays the
// control bound to it and leaves the property out of the apply.
constexpr bool NewerThan10(Property p) { return static_cast<int>(p) >= kPropertyCount10; }

}  // namespace delvorin
