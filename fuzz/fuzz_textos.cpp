// Validators, document formatters and the amount-in-words helpers on any text.
#include <cstdlib>

#include "format/Extenso.h"
#include "format/Formatadores.h"
#include "format/Validadores.h"
#include "fuzz/Entrada.h"

using namespace delvorin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Entrada e(data, size);
  std::u16string t = e.Resto();
  (void)ValidaCpf(t);
  (void)ValidaCnpj(t);
  (void)ValidaPis(t);
  (void)ValidaCartao(t);
  using Formatador = std::u16string (*)(std::u16string_view);
  for (Formatador f : {FormataCep, FormataCpf, FormataCnpj, FormataPis, FormataCartao}) {
    std::u16string uma = f(t);
    if (f(uma) != uma) std::abort();  // a laid-out value lays out to itself
  }
  (void)ExtensoCentena(t);
  (void)Vazio(t);
  if (t.size() >= 2) {
    std::u16string_view v(t);
    (void)Substitui(v.substr(2), v.substr(0, 1), v.substr(1, 1));
    (void)Substitui(v, v.substr(0, 1), v.substr(0, 2));  // replacement holding the search text
  }
  return 0;
}
