#pragma once
// Amount of money in Brazilian Portuguese words, in capitals without diacritics.
#include <string>
#include <string_view>

#include "format/Moeda.h"

namespace delvorin {

// The amount in words, rounded to whole centavos (half away from zero). Zero, amounts that
// round to zero and negative amounts give the empty text.
std::u16string Extenso(Moeda valor);

// Words of one group of three digit characters, ending in one space (" " for "000").
// Anything that is not three digits gives the empty text.
std::u16string ExtensoCentena(std::u16string_view grupo);

// True when the text is blank once NUL characters count as spaces.
bool Vazio(std::u16string_view texto);

// Every occurrence of busca replaced by troca. An empty busca leaves the text unchanged.
std::u16string Substitui(std::u16string_view texto, std::u16string_view busca, std::u16string_view troca);

}  // namespace delvorin
