// Reading and writing amounts and numbers, and the amount in words on any amount. What
// the writers produce must read back to the same value.
#include <cstdlib>
#include <cmath>
#include <cstring>

#include "format/Extenso.h"
#include "format/Moeda.h"
#include "fuzz/FuzzInput.h"

using namespace delvorin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size >= 8) {
    int64_t bruto = 0;
    std::memcpy(&bruto, data, 8);
    Moeda m{bruto};
    (void)Extenso(m);
    Moeda lido;
    if (!LeMoeda(FormaSimples(m), lido).ok() || !(lido == m)) std::abort();
    if (!LeMoeda(TextoMascara(m, 4), lido).ok() || !(lido == m)) std::abort();
    if (!LeMoeda(TextoMoeda(m, 4, data[0] & 1), lido).ok() || !(lido == m)) std::abort();
    (void)TextoMoeda(m, data[0], data[1] & 1);
    (void)TextoMascara(m, data[1]);
    double d = 0;
    std::memcpy(&d, data, 8);
    std::u16string geral = FormaGeral(d);
    double relido = 0;
    if (std::isfinite(d)) {
      if (!LeNumero(geral, relido).ok() || FormaGeral(relido) != geral) std::abort();
    }
  }
  fuzz::FuzzInput e(data, size);
  std::u16string t = e.Resto();
  Moeda m;
  if (LeMoeda(t, m).ok()) (void)Extenso(m);
  double d = 0;
  (void)LeNumero(t, d);
  (void)NumeroInicial(t, d);
  (void)SinalNumeroInicial(t);
  return 0;
}
