#include "headless/CaseMap.h"

#include <cstdint>

namespace delvorin::headless {
namespace {

#include "headless/CaseMapTable.inc"

// Index of u's pair of deltas; every char16_t, surrogates included, has an entry.
unsigned PairIndex(char16_t u) { return kBlocos[kBlocoDe[u >> 6]][u & 63]; }

// Delta addition wraps modulo 2^16, as the generator encodes it.
char16_t Add(char16_t u, uint16_t delta) { return static_cast<char16_t>((u + delta) & 0xFFFF); }

}  // namespace

char16_t UpperCaseBmp(char16_t u) { return Add(u, kDeltaMaiuscula[PairIndex(u)]); }

char16_t LowerCaseBmp(char16_t u) { return Add(u, kDeltaMinuscula[PairIndex(u)]); }

std::u16string UpperCaseTextBmp(std::u16string_view text) {
  std::u16string r(text);
  for (char16_t& c : r) c = UpperCaseBmp(c);
  return r;
}

std::u16string LowerCaseTextBmp(std::u16string_view text) {
  std::u16string r(text);
  for (char16_t& c : r) c = LowerCaseBmp(c);
  return r;
}

}  // namespace delvorin::headless
