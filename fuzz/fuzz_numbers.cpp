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
    int64_t raw = 0;
    std::memcpy(&raw, data, 8);
    Moeda m{raw};
    (void)Extenso(m);
    Moeda parsed;
    if (!ReadMoeda(PlainForm(m), parsed).ok() || !(parsed == m)) std::abort();
    if (!ReadMoeda(MaskedMoedaText(m, 4), parsed).ok() || !(parsed == m)) std::abort();
    if (!ReadMoeda(MoedaText(m, 4, data[0] & 1), parsed).ok() || !(parsed == m)) std::abort();
    (void)MoedaText(m, data[0], data[1] & 1);
    (void)MaskedMoedaText(m, data[1]);
    double d = 0;
    std::memcpy(&d, data, 8);
    std::u16string general = GeneralForm(d);
    double reread = 0;
    if (std::isfinite(d)) {
      if (!ReadNumber(general, reread).ok() || GeneralForm(reread) != general) std::abort();
    }
  }
  fuzz::FuzzInput e(data, size);
  std::u16string t = e.Rest();
  Moeda m;
  if (ReadMoeda(t, m).ok()) (void)Extenso(m);
  double d = 0;
  (void)ReadNumber(t, d);
  (void)LeadingNumber(t, d);
  (void)LeadingNumberSign(t);
  return 0;
}
