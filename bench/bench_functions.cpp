// The text functions alone: validators, a document layout and the amount in words.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string_view>
#include <vector>

#include "format/Extenso.h"
#include "format/DisplayLayouts.h"
#include "format/Validators.h"

namespace {

using namespace delvorin;

// Calls f on the same text every iteration; the text is hidden from the optimiser so the
// call cannot be folded away.
template <typename F>
void OnText(benchmark::State& state, std::u16string_view text, F f) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(text);
    auto r = f(text);
    benchmark::DoNotOptimize(r);
  }
}

void BM_ValidaCpf(benchmark::State& s) { OnText(s, u"123.456.789-09", ValidaCpf); }
void BM_ValidaCnpj(benchmark::State& s) { OnText(s, u"11.222.333/0001-81", ValidaCnpj); }
void BM_ValidaCnpjAlfanumerico(benchmark::State& s) {
  OnText(s, u"12.ABC.345/01DE-35", ValidaCnpjAlfanumerico);
}
void BM_ValidaCnpjAlfanumerico_Numeric(benchmark::State& s) {
  OnText(s, u"11.222.333/0001-81", ValidaCnpjAlfanumerico);
}
void BM_ValidaPis(benchmark::State& s) { OnText(s, u"234.56789.01.3", ValidaPis); }
void BM_ValidaCartao(benchmark::State& s) { OnText(s, u"1234.5678.1234.5670", ValidaCartao); }
void BM_FormataCpf(benchmark::State& s) { OnText(s, u"12345678909", FormataCpf); }

void BM_Extenso(benchmark::State& state) {
  // Random amounts of every size, from centavos to the largest amount, drawn once.
  std::mt19937_64 generator(42);
  std::vector<Moeda> values(1024);
  for (Moeda& m : values) {
    const unsigned shift = 1 + static_cast<unsigned>(generator() % 50);
    m.tenThousandths = static_cast<int64_t>(generator() >> shift);
  }
  size_t i = 0;
  for (auto _ : state) {
    std::u16string w = Extenso(values[i++ & 1023]);
    benchmark::DoNotOptimize(w.data());
  }
}

BENCHMARK(BM_ValidaCpf);
BENCHMARK(BM_ValidaCnpj);
BENCHMARK(BM_ValidaCnpjAlfanumerico);
BENCHMARK(BM_ValidaCnpjAlfanumerico_Numeric);
BENCHMARK(BM_ValidaPis);
BENCHMARK(BM_ValidaCartao);
BENCHMARK(BM_FormataCpf);
BENCHMARK(BM_Extenso);

}  // namespace
