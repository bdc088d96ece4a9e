#pragma once
// The Sobre page: fixed texts about the component. It edits no property and does nothing on
// load or apply, so it is data only; a dialog shows it as described here.
#include <array>
#include <cstdint>
#include <string_view>

#include "pages/PageModel.h"

namespace delvorin {

// In the order of kAboutChildren.
enum class AboutChild : uint8_t { Frame1, Label1, Line1, Label2, Label4 };
inline constexpr int kAboutChildCount = 5;

inline constexpr std::u16string_view kUsageNotice =
    u"O Delvorin pode ser usado e redistribuído livremente junto com os programas que o utilizam. "
    u"É fornecido como está, sem garantia de qualquer tipo.";
inline constexpr std::u16string_view kAuthor = u"Projeto Delvorin";
inline constexpr std::u16string_view kContact = u"ver README.md";

// The controls after the frame lie inside it, positioned relative to it.
inline constexpr std::array<ChildDescription, kAboutChildCount> kAboutChildren{{
    {.name = u"Frame1", .type = ChildKind::Frame, .caption = u"  Delvorin  - Versão 1.0   ", .textColour = kDarkBlue,
     .position = {240, 360, 5415, 2775}, .tabIndex = 0},
    {.name = u"Label1", .type = ChildKind::Label, .caption = kUsageNotice, .textColour = kDarkRed,
     .position = {360, 360, 4695, 975}, .tabIndex = 3, .multiLine = true, .alignment = Alignment::Centre,
     .frame = 0},
    {.name = u"Line1", .type = ChildKind::Line, .position = {240, 1440, 4680, 0}, .frame = 0},
    {.name = u"Label2", .type = ChildKind::Label, .caption = kAuthor, .textColour = kGrey,
     .font = FontDescription{u"MS Sans Serif", 13.5, false, true}, .position = {3240, 1800, 1935, 375}, .tabIndex = 1,
     .frame = 0},
    {.name = u"Label4", .type = ChildKind::Label, .caption = kContact, .textColour = kBlue,
     .position = {3360, 2280, 1335, 255}, .tabIndex = 2, .frame = 0},
}};

inline constexpr PageDescription kAboutPage{
    .name = u"Sobre", .title = u"Sobre", .width = 5925, .height = 3495, .font = kDialogFont,
    .children = kAboutChildren};

static_assert(kAboutChildren[static_cast<size_t>(AboutChild::Label4)].name == u"Label4", "AboutChild follows the table");

}  // namespace delvorin
