// Type 26 under random masks and random keys, pastes, selections and writes: nothing crashes,
// and the text always stands in the mask.
#include "format/Mascara.h"
#include "fuzz/FuzzInput.h"
#include "headless/Form.h"

using namespace delvorin;
namespace vk = headless::vk;

namespace {

// Mostly the mask language's own characters, so that masks of every kind occur.
std::u16string RandomMask(fuzz::FuzzInput& e) {
  static constexpr char16_t kAlphabet[] = u"09#L?&CAa<>|\\.,:/$-() x";
  std::u16string mask;
  const size_t n = e.Byte() % 24;
  for (size_t i = 0; i < n && !e.empty(); ++i) {
    const uint8_t b = e.Byte();
    mask.push_back(b < 0xE0 ? kAlphabet[b % (std::size(kAlphabet) - 1)] : static_cast<char16_t>(e.Unit()));
  }
  return mask;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzInput e(data, size);
  headless::Form form;
  Delvorin& c = form.control();
  (void)c.SetTipo(tipo::Mascara);
  const uint8_t flags = e.Byte();
  (void)c.SetAspas(flags & 1 ? kTrue : kFalse);
  (void)c.SetTC_Trim(flags & 2 ? kTrue : kFalse);
  (void)c.SetUsar_Enter(flags & 4 ? kTrue : kFalse);
  (void)c.SetMascara(RandomMask(e));
  form.Focus();
  constexpr int16_t kKeys[] = {vk::Return, vk::Back, vk::Delete, vk::Home, vk::End, vk::Left, vk::Right, vk::V};
  bool laidOut = true;  // the text was laid out through the mask in use
  for (int step = 0; step < 64 && !e.empty(); ++step) {
    switch (e.Byte() % 8) {
      case 0: laidOut = c.SetText(e.Text(32)).ok() || laidOut; break;
      case 1: form.Paste(e.Text(32)); break;
      case 2: form.PressKey(kKeys[e.Byte() % std::size(kKeys)], static_cast<int16_t>(e.Byte() % 4)); break;
      case 3: (void)form.txo().SetSelStart(e.Byte() % 40); (void)form.txo().SetSelLength(e.Byte() % 8); break;
      case 4: laidOut = !c.SetMascara(RandomMask(e)).ok() && laidOut; break;
      case 5: form.Blur(); form.Focus(); break;
      case 6: laidOut = c.Put(Property::Valor, Variant::Str(e.Text(24))).ok() || laidOut; break;
      default: form.Type(e.Text(8)); break;
    }
    // Whatever the keys did, the text still stands in the mask it was laid out through.
    Layout mask;
    if (laidOut && ReadMascara(c.Mascara(), mask) && mask.length() > 0 && !IsMasked(mask, c.Text())) __builtin_trap();
  }
  return 0;
}
