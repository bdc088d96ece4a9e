#include "headless/CaseMap.h"

#include <cstdint>

namespace delvorin::headless {
namespace {

#include "headless/CaseMapTable.inc"

// Index of u's pair of deltas; every char16_t, surrogates included, has an entry.
unsigned Par(char16_t u) { return kBlocos[kBlocoDe[u >> 6]][u & 63]; }

// Delta addition wraps modulo 2^16, as the generator encodes it.
char16_t Soma(char16_t u, uint16_t delta) { return static_cast<char16_t>((u + delta) & 0xFFFF); }

}  // namespace

char16_t MaiusculaBmp(char16_t u) { return Soma(u, kDeltaMaiuscula[Par(u)]); }

char16_t MinusculaBmp(char16_t u) { return Soma(u, kDeltaMinuscula[Par(u)]); }

std::u16string MaiusculasBmp(std::u16string_view text) {
  std::u16string r(text);
  for (char16_t& c : r) c = MaiusculaBmp(c);
  return r;
}

std::u16string MinusculasBmp(std::u16string_view text) {
  std::u16string r(text);
  for (char16_t& c : r) c = MinusculaBmp(c);
  return r;
}

}  // namespace delvorin::headless
