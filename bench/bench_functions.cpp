// The text functions alone: validators, a document layout and the amount in words.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string_view>
#include <vector>

#include "format/DisplayLayouts.h"
#include "format/DocumentChecks.h"
#include "format/Extenso.h"
#include "format/InscricaoEstadual.h"
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

// The checks of the registration form's fields, on the characters without separators.
void BM_ValidaTelefone(benchmark::State& s) { OnText(s, u"11987654321", ValidaTelefone); }
void BM_ValidaData(benchmark::State& s) {
  OnText(s, u"25122024", [](std::u16string_view t) {
    int d = 0, m = 0, y = 0;
    return ValidaData(t, d, m, y);
  });
}
void BM_ValidaHora(benchmark::State& s) {
  OnText(s, u"1830", [](std::u16string_view t) {
    int h = 0, m = 0;
    return ValidaHora(t, h, m);
  });
}
void BM_ValidaPlaca(benchmark::State& s) { OnText(s, u"ABC1D23", ValidaPlaca); }
void BM_ValidaTituloEleitor(benchmark::State& s) { OnText(s, u"102385010671", ValidaTituloEleitor); }
void BM_ValidaCnh(benchmark::State& s) { OnText(s, u"98765432109", ValidaCnh); }
void BM_ValidaRenavam(benchmark::State& s) { OnText(s, u"19525197703", ValidaRenavam); }
void BM_ValidaBoleto(benchmark::State& s) { OnText(s, u"03399632906400000000600125201020456140000017832", ValidaBoleto); }
void BM_ValidaBoleto_Collection(benchmark::State& s) {
  OnText(s, u"836400000011331201380002812884627116080136181551", ValidaBoleto);
}
void BM_ValidaProcessoJudicial(benchmark::State& s) { OnText(s, u"00020802520125150049", ValidaProcessoJudicial); }
void BM_ValidaInscricaoEstadual_SP(benchmark::State& s) {
  OnText(s, u"110042490114", [](std::u16string_view t) { return ValidaInscricaoEstadual(t, u"SP"); });
}
void BM_ValidaInscricaoEstadual_AnyState(benchmark::State& s) {
  OnText(s, u"110042490114", [](std::u16string_view t) { return ValidaInscricaoEstadual(t, u""); });
}

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
BENCHMARK(BM_ValidaTelefone);
BENCHMARK(BM_ValidaData);
BENCHMARK(BM_ValidaHora);
BENCHMARK(BM_ValidaPlaca);
BENCHMARK(BM_ValidaTituloEleitor);
BENCHMARK(BM_ValidaCnh);
BENCHMARK(BM_ValidaRenavam);
BENCHMARK(BM_ValidaBoleto);
BENCHMARK(BM_ValidaBoleto_Collection);
BENCHMARK(BM_ValidaProcessoJudicial);
BENCHMARK(BM_ValidaInscricaoEstadual_SP);
BENCHMARK(BM_ValidaInscricaoEstadual_AnyState);

}  // namespace
