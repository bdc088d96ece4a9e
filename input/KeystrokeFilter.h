#pragma once
// The keystroke filter: every typed character passes here, after the host's KeyPress and
// before the edit box inserts it. The field type accepts, rewrites or drops the character,
// the document types append the next separator of their layout, and Enter either moves to
// the next field or is handed back to the control to raise TeclaEnter. The filter also owns
// the "comma typed" flag kept in the edit box's Tag, and Shift+Delete.
#include <cstdint>

#include "core/Services.h"
#include "core/Settings.h"
#include "input/LayoutTyping.h"
#include "input/MascaraTyping.h"

namespace delvorin {

class KeystrokeFilter {
 public:
  enum class Outcome {
    Done,        // keyAscii holds what the edit box inserts (0: nothing)
    TeclaEnter,  // Enter without Usar_Enter: the control raises TeclaEnter
  };

  KeystrokeFilter(const Settings& settings, EditBox& txo, Runtime& runtime)
      : s_(settings), txo_(txo), runtime_(runtime), layoutTyping_(settings, txo), mascaraTyping_(settings, txo) {}

  // A character typed (or pasted), as the host's KeyPress left it.
  Outcome KeyPress(int16_t& keyAscii);
  // A key pressed, as the host's KeyDown left it: Shift+Delete truncates at the caret and
  // consumes the key.
  void KeyDown(int16_t& keyCode, int16_t shift);
  // The text changed: an emptied value field forgets its comma.
  void Changed();

 private:
  void NumericKey(int16_t& keyAscii);
  void AppendSeparator();
  // A typed letter of an alphanumeric CNPJ in capitals, or 0 where no letter may go.
  int16_t CnpjLetter(int16_t keyAscii) const;

  const Settings& s_;
  EditBox& txo_;
  Runtime& runtime_;
  LayoutTyping layoutTyping_;  // types 15 to 25
  MascaraTyping mascaraTyping_;  // type 26
};

}  // namespace delvorin
