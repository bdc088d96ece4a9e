#pragma once
// The state registration (Inscrição Estadual) of the 27 federative units: each state's display
// layouts and check-digit rule. Pure functions over constant tables: no state, no allocation.
#include <span>
#include <string_view>

namespace delvorin {

// One state's registration: its abbreviation, its display layouts and its check.
// A layout is a string where 'D' is a digit slot, 'A' a letter slot, 'X' a letter-or-digit slot
// and any other character a literal separator shown between the slots, e.g. u"DDD.DDD.DDD.DDD".
// A state whose numbers have several lengths (or a letter prefix, as SP's rural producers)
// has one layout per form, shortest first.
struct UfRule {
  std::u16string_view uf;  // "AC" ... "TO"
  std::span<const std::u16string_view> layouts;
  // characters: the registration without separators (digits, and the letters the state's form
  // has, capitals); true when the state's rule accepts it (length, prefix and check digits).
  bool (*check)(std::u16string_view characters);
};

// The 27 states in alphabetical order of abbreviation.
std::span<const UfRule> UfRules();

// The rule of an abbreviation (exactly two capitals), or nullptr.
const UfRule* FindUf(std::u16string_view uf);

// True for "ISENTO" in any state; otherwise the state's check; with uf empty, true when the rule
// of at least one state accepts the characters. A uf that is not one of the 27 is invalid.
bool ValidaInscricaoEstadual(std::u16string_view characters, std::u16string_view uf);

}  // namespace delvorin
