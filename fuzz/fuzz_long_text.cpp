// Long texts through every path that takes a whole text at once: the write of Text, the
// leave-field processing, Atualiza, the focus entering and leaving, and a paste as large as the
// server takes. The input's text is repeated to between 64 KB and a megabyte, so that a path
// that is not linear in the text's length runs past the time limit.
#include "fuzz/FuzzInput.h"
#include "headless/Form.h"

using namespace delvorin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzInput e(data, size);
  headless::Form form;
  Delvorin& c = form.control();
  (void)c.SetTipo(e.Byte() % 28);
  uint8_t flags = e.Byte();
  (void)c.SetAspas(flags & 1 ? kTrue : kFalse);
  (void)c.SetTC_Trim(flags & 2 ? kTrue : kFalse);
  (void)c.SetNegativo(flags & 4 ? kTrue : kFalse);
  (void)c.SetMSGcpf(flags & 8 ? kTrue : kFalse);
  const size_t length = size_t{32 * 1024} << (e.Byte() % 5);  // UTF-16 units: 64 KB to 1 MB
  const std::u16string pattern = e.Rest();
  if (pattern.empty()) return 0;
  std::u16string text;
  text.reserve(length);
  while (text.size() + pattern.size() <= length) text += pattern;
  (void)c.SetText(text);
  (void)c.Atualiza();
  form.Focus();
  form.Blur();
  form.Focus();
  // As much as the server's paste takes at once, over the field's text.
  form.Paste(std::u16string_view(text).substr(0, 65535));
  form.Blur();
  return 0;
}
