// The leave-field processing per type and a whole typed CPF session on a headless control.
#include <benchmark/benchmark.h>

#include "headless/Form.h"

namespace {

using delvorin::headless::Form;

// A sample value per type, as a user would leave it.
const char16_t* Amostra(int tipo) {
  switch (tipo) {
    case 0: case 1: return u"1234567,89";
    case 2: return u"1.234,5678";
    case 3: return u"0012345";
    case 4: case 5: case 6: case 7: case 12: return u"joão da silva com maria das dores";
    case 8: return u"01310-100";
    case 9: return u"123.456.789-09";
    case 10: return u"11.222.333/0001-81";
    case 11: return u"UM REAL";
    case 13: return u"234.56789.01.3";
    default: return u"1234.5678.1234.5670";
  }
}

void BM_FormataCampo(benchmark::State& state) {
  const int tipo = static_cast<int>(state.range(0));
  Form form;
  (void)form.control().SetTipo(static_cast<uint8_t>(tipo));
  const std::u16string amostra = Amostra(tipo);
  for (auto _ : state) {
    (void)form.txo().SetText(amostra);
    form.control().FormataCampo(amostra);
    benchmark::DoNotOptimize(form.txo().Text().data());
  }
}
BENCHMARK(BM_FormataCampo)->DenseRange(0, 14);

void BM_TypedCpfSession(benchmark::State& state) {
  Form form;
  (void)form.control().SetTipo(9);
  for (auto _ : state) {
    (void)form.txo().SetText(u"");
    form.Focus();
    form.Type(u"12345678909");
    form.Blur();
    benchmark::DoNotOptimize(form.txo().Text().data());
  }
}
BENCHMARK(BM_TypedCpfSession);

// Ctrl+V of a copied alphanumeric CNPJ into an empty, focused CNPJ field: 14 characters
// through KeyPress, the filter, the separators and the edit box.
void BM_PasteCnpj(benchmark::State& state) {
  Form form;
  (void)form.control().SetTipo(10);
  form.Focus();
  for (auto _ : state) {
    (void)form.txo().SetText(u"");
    form.Paste(u"12.ABC.345/01DE-35");
    benchmark::DoNotOptimize(form.txo().Text().data());
  }
}
BENCHMARK(BM_PasteCnpj);

}  // namespace
