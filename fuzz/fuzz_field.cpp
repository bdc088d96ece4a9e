// The leave-field processing and the write of Text under random settings and texts.
#include "fuzz/FuzzInput.h"
#include "headless/Form.h"

using namespace delvorin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzInput e(data, size);
  headless::Form form;
  Delvorin& c = form.control();
  (void)c.SetTipo(e.Byte() % 28);
  (void)c.SetDigitos(e.Byte());
  uint8_t flags = e.Byte();
  (void)c.SetAspas(flags & 1 ? kTrue : kFalse);
  (void)c.SetTC_Trim(flags & 2 ? kTrue : kFalse);
  (void)c.Setusar_parenteses(flags & 4 ? kTrue : kFalse);
  (void)c.SetTravaCpf(flags & 8 ? kTrue : kFalse);
  (void)c.SetMSGcpf(flags & 16 ? kTrue : kFalse);
  std::u16string text = e.Rest();
  (void)c.SetText(text);
  c.FormataCampo(c.Text());
  (void)c.Atualiza();
  form.Focus();
  form.Blur();
  return 0;
}
