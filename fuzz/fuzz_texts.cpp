// Validators, document formatters and the amount-in-words helpers on any text.
#include <cstdlib>

#include "format/Extenso.h"
#include "format/DisplayLayouts.h"
#include "format/Validators.h"
#include "fuzz/FuzzInput.h"
#include "input/PastedText.h"

using namespace delvorin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzInput e(data, size);
  std::u16string t = e.Rest();
  (void)ValidaCpf(t);
  // Without a letter the alphanumeric check is the numeric one.
  const bool alphanumeric = ValidaCnpjAlfanumerico(t);
  if (t.find_first_of(u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") == std::u16string::npos &&
      alphanumeric != ValidaCnpj(t))
    std::abort();
  for (uint8_t type = 0; type < 16; ++type) {
    const std::u16string pasted = PastedCharacters(type, t);
    // Preparing a paste never lengthens a text except by the plain form of a number.
    if (type > 2 && pasted.size() > t.size()) std::abort();
  }
  (void)ValidaPis(t);
  (void)ValidaCartao(t);
  using Formatter = std::u16string (*)(std::u16string_view);
  for (Formatter f : {FormataCep, FormataCpf, FormataCnpj, FormataPis, FormataCartao}) {
    std::u16string once = f(t);
    if (f(once) != once) std::abort();  // a laid-out value lays out to itself
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
