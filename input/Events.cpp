// Relay of the edit box's notifications to the host as the control's events, each raised
// before the control's own handling; Shift+Delete truncates at the caret.
#include "control/Delvorin.h"

namespace delvorin {
namespace {
constexpr int16_t kTeclaDelete = 46;
constexpr int16_t kShift = 1;
}  // namespace

void Delvorin::TXO_KeyDown(int16_t& keyCode, int16_t& shift) {
  host_.RaiseKeyDown(keyCode, shift);
  if (keyCode != kTeclaDelete || shift != kShift) return;
  std::u16string t = txo_.Text();
  int32_t inicio = txo_.SelStart();
  if (inicio < 0) inicio = 0;
  if (static_cast<size_t>(inicio) < t.size()) t.resize(static_cast<size_t>(inicio));
  (void)txo_.SetText(t);
  (void)txo_.SetSelStart(static_cast<int32_t>(t.size()));
  keyCode = 0;  // consumed: the edit box must not cut the selection to the clipboard
}

void Delvorin::TXO_Change() {
  host_.RaiseChange();
  if (Tipo_ <= tipo::NumeroDuplo && txo_.Text().empty()) (void)txo_.SetTag(u"");
}

void Delvorin::TXO_MouseMove(int16_t& button, int16_t& shift, float& x, float& y) {
  // The host's changes are not read back: copies go out.
  int16_t b = button, s = shift;
  float px = x, py = y;
  host_.RaiseMouseMove(b, s, px, py);
}

}  // namespace delvorin
