#include "headless/MapaCaixa.h"

#include <cstdint>

namespace delvorin::headless {
namespace {
#include "headless/MapaCaixaTabela.inc"
}  // namespace

char16_t MaiusculaBmp(char16_t u) {
  return static_cast<char16_t>(u + kDeltaMaiuscula[kPaginaMaiuscula[u >> 8]][u & 0xFF]);
}

char16_t MinusculaBmp(char16_t u) {
  return static_cast<char16_t>(u + kDeltaMinuscula[kPaginaMinuscula[u >> 8]][u & 0xFF]);
}

std::u16string MaiusculasBmp(std::u16string_view texto) {
  std::u16string r(texto);
  for (char16_t& c : r) c = MaiusculaBmp(c);
  return r;
}

std::u16string MinusculasBmp(std::u16string_view texto) {
  std::u16string r(texto);
  for (char16_t& c : r) c = MinusculaBmp(c);
  return r;
}

}  // namespace delvorin::headless
