// The leave-field processing per type and a whole typed CPF session on a headless control.
#include <benchmark/benchmark.h>

#include "headless/Form.h"

namespace {

using delvorin::headless::Form;

// A sample value per type, as a user would leave it.
const char16_t* Sample(int type) {
  switch (type) {
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
  const int type = static_cast<int>(state.range(0));
  Form form;
  (void)form.control().SetTipo(static_cast<uint8_t>(type));
  const std::u16string sample = Sample(type);
  for (auto _ : state) {
    (void)form.txo().SetText(sample);
    form.control().FormataCampo(sample);
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
    form.host().ClearLog();  // the host's record of events, kept to one session
  }
}
BENCHMARK(BM_TypedCpfSession);

// Typed sessions of the registration form's fields: focus, the characters typed (each laid out
// as it comes), the field left and checked.
void TypedSession(benchmark::State& state, uint8_t tipo, std::u16string_view typed, std::u16string_view mask = u"") {
  Form form;
  (void)form.control().SetTipo(tipo);
  (void)form.control().SetMascara(mask);
  for (auto _ : state) {
    (void)form.txo().SetText(u"");
    form.Focus();
    form.Type(typed);
    form.Blur();
    benchmark::DoNotOptimize(form.txo().Text().data());
    form.host().ClearLog();  // the host's record of events, kept to one session
  }
}
void BM_TypedPhoneSession(benchmark::State& state) { TypedSession(state, 16, u"11987654321"); }
void BM_TypedDateSession(benchmark::State& state) { TypedSession(state, 17, u"25122024"); }
BENCHMARK(BM_TypedPhoneSession);
BENCHMARK(BM_TypedDateSession);
// A mask of the developer's with ten slots, as type 26.
void BM_TypedMascaraSession(benchmark::State& state) { TypedSession(state, 26, u"1123456789", u"(00) 0000-0000"); }
BENCHMARK(BM_TypedMascaraSession);

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
    form.host().ClearLog();
  }
}
BENCHMARK(BM_PasteCnpj);

// A write of Text of two million characters (digits, as a database column of garbage might
// hold): each type's whole path must be linear in the length.
void BM_LongTextWrite(benchmark::State& state) {
  Form form;
  (void)form.control().SetTipo(static_cast<uint8_t>(state.range(0)));
  std::u16string longText(2'000'000, u'0');
  for (size_t i = 0; i < longText.size(); ++i) longText[i] = static_cast<char16_t>(u'0' + i * 7 % 10);
  for (auto _ : state) {
    (void)form.control().SetText(longText);
    benchmark::DoNotOptimize(form.txo().Text().data());
    (void)form.txo().SetText(u"");
  }
}
BENCHMARK(BM_LongTextWrite)->DenseRange(0, 14)->Unit(benchmark::kMillisecond);

// A paste of a million characters into a focused text (4) and whole-number (3) field.
void BM_LongPaste(benchmark::State& state) {
  Form form;
  (void)form.control().SetTipo(static_cast<uint8_t>(state.range(0)));
  form.Focus();
  std::u16string longText(1'000'000, u'7');
  for (auto _ : state) {
    (void)form.txo().SetText(u"");
    form.Paste(longText);
    benchmark::DoNotOptimize(form.txo().Text().data());
  }
}
BENCHMARK(BM_LongPaste)->Arg(3)->Arg(4)->Unit(benchmark::kMillisecond);

}  // namespace
