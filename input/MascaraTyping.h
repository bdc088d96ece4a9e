#pragma once
// Typing into a field of type 26: each typed character goes to the next slot of the
// developer's mask that takes it, the literals are written as the typing reaches them, and
// a text changed otherwise (a character deleted or cut in the middle) is laid out again.
#include <cstdint>

#include "core/Services.h"
#include "core/Settings.h"

namespace delvorin {

class MascaraTyping {
 public:
  MascaraTyping(const Settings& settings, EditBox& txo) : s_(settings), txo_(txo) {}

  // Whether the field is of type 26 with a mask (without one it takes any character).
  bool Applies() const { return s_.Tipo == tipo::Mascara && !s_.Mascara.empty(); }
  // A typed character, as the host's KeyPress left it: the field takes it into the mask
  // (writing the text and the caret) or refuses it; keyAscii becomes 0 either way.
  void KeyPress(int16_t& keyAscii);
  // The text changed: a text that no longer stands in the mask is laid out through it again,
  // the caret after the same characters.
  void Changed();

 private:
  const Settings& s_;
  EditBox& txo_;
  bool laying_ = false;  // KeyPress is writing a masked text
};

}  // namespace delvorin
