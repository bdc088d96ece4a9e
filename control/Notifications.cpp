// The edit box's notifications: each is raised to the host as the control's event first,
// then handed to the part of the engine that owns the rule (keystroke filter, focus entry,
// leave-field processing).
#include <optional>
#include <string>

#include "control/Delvorin.h"
#include "input/Cp1252.h"
#include "input/PastedText.h"
#include "format/Mascara.h"

namespace delvorin {

void Delvorin::TXO_KeyPress(int16_t& keyAscii) {
  host_.RaiseKeyPress(keyAscii);
  if (filter_.KeyPress(keyAscii) == KeystrokeFilter::Outcome::TeclaEnter) host_.RaiseTeclaEnter();
}

void Delvorin::TXO_KeyDown(int16_t& keyCode, int16_t& shift) {
  host_.RaiseKeyDown(keyCode, shift);
  filter_.KeyDown(keyCode, shift);
}

void Delvorin::TXO_Change() {
  host_.RaiseChange();
  filter_.Changed();
  if (!invalid_.empty()) {
    invalid_.clear();
    host_.AccessibleChanged(AccessibleChange::Description);
  }
}

void Delvorin::TXO_MouseMove(int16_t& button, int16_t& shift, float& x, float& y) {
  // The host's changes are not read back: copies go out.
  int16_t b = button, s = shift;
  float px = x, py = y;
  host_.RaiseMouseMove(b, s, px, py);
}

void Delvorin::TXO_GotFocus() {
  EditBatch batch(txo_);
  focusEntry_.Enter();
}

void Delvorin::TXO_LostFocus() {
  EditBatch batch(txo_);
  Leave(txo_.Text());
}

// The paste rule: the clipboard's text enters the field as if the user had typed it, one
// character at a time, so that the host's KeyPress, the filter, the mask separators and the
// length limit apply to pasted text exactly as to typed text.
void Delvorin::TXO_Paste(std::u16string_view text) {
  // One batch: the edit box shows the pasted text once, not once per character.
  EditBatch batch(txo_);
  std::u16string characters = PastedCharacters(s_.Tipo, text);
  if (Layout mask; MascaraOfField(s_, mask)) {
    // A copied masked text carries the mask's literals: the typing writes them again.
    std::erase_if(characters, [&](char16_t c) { return mask.IsLiteral(c); });
  }
  for (char16_t c : characters) {
    int16_t code = KeyCodeOf(c);
    TXO_KeyPress(code);
    const std::optional<char16_t> inserted = CharacterOfCode(code);
    // Refused, or a control code (a host may leave one) that inserts nothing.
    if (!inserted || *inserted < 32 || *inserted == 127) continue;
    (void)txo_.ReplaceSelection(std::u16string_view(&*inserted, 1));
  }
}

void Delvorin::UserControl_GotFocus() {
  Variant enabled;
  if (txo_.GetProperty(Property::Enabled, enabled).ok() && enabled.type() == VarType::Bool &&
      enabled.boolean() == 0)
    (void)runtime_.SendKeys(u"{tab}");
}

}  // namespace delvorin
