// The text functions alone: validators, a document layout and the amount in words.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "format/Extenso.h"
#include "format/Formatadores.h"
#include "format/Validadores.h"

namespace {

using namespace delvorin;

template <typename F>
void Repete(benchmark::State& state, F&& f) {
  for (auto _ : state) benchmark::DoNotOptimize(f());
}

void BM_ValidaCpf(benchmark::State& s) { Repete(s, [] { return ValidaCpf(u"123.456.789-09"); }); }
void BM_ValidaCnpj(benchmark::State& s) { Repete(s, [] { return ValidaCnpj(u"11.222.333/0001-81"); }); }
void BM_ValidaPis(benchmark::State& s) { Repete(s, [] { return ValidaPis(u"234.56789.01.3"); }); }
void BM_ValidaCartao(benchmark::State& s) { Repete(s, [] { return ValidaCartao(u"1234.5678.1234.5670"); }); }
void BM_FormataCpf(benchmark::State& s) { Repete(s, [] { return FormataCpf(u"12345678909"); }); }

void BM_Extenso(benchmark::State& state) {
  // Random amounts of every size, from centavos to the largest amount.
  std::mt19937_64 gerador(42);
  std::vector<Moeda> valores(1024);
  for (Moeda& m : valores) m.decimilesimos = static_cast<int64_t>(gerador() >> (1 + gerador() % 50));
  size_t i = 0;
  for (auto _ : state) {
    std::u16string w = Extenso(valores[i++ & 1023]);
    benchmark::DoNotOptimize(w.data());
  }
}

BENCHMARK(BM_ValidaCpf);
BENCHMARK(BM_ValidaCnpj);
BENCHMARK(BM_ValidaPis);
BENCHMARK(BM_ValidaCartao);
BENCHMARK(BM_FormataCpf);
BENCHMARK(BM_Extenso);

}  // namespace
