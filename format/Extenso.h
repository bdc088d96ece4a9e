#pragma once
// Amount of money in Brazilian Portuguese words, in capitals without diacritics.
#include <string>
#include <string_view>

#include "format/Moeda.h"

namespace delvorin {

// The amount in words, rounded to whole centavos (half away from zero). Zero, amounts that
// round to zero and negative amounts give the empty text.
std::u16string Extenso(Moeda value);

// Words of one group of three digit characters, ending in one space (" " for "000").
// Anything that is not three digits gives the empty text.
std::u16string ExtensoCentena(std::u16string_view group);

// True when the text is blank once NUL characters count as spaces.
bool Vazio(std::u16string_view text);

// Every occurrence of search replaced by replacement. An empty search leaves the text unchanged.
std::u16string Substitui(std::u16string_view text, std::u16string_view search, std::u16string_view replacement);

}  // namespace delvorin
