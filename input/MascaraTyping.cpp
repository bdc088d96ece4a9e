#include "input/MascaraTyping.h"

#include <algorithm>
#include <optional>
#include <string>

#include "format/Mascara.h"
#include "input/Cp1252.h"

namespace delvorin {

void MascaraTyping::KeyPress(int16_t& keyAscii) {
  const std::optional<char16_t> typed = CharacterOfCode(keyAscii);
  keyAscii = 0;  // the field writes what it takes itself
  Layout mask;
  if (!typed || *typed < 32 || *typed == 127 || !ReadMascara(s_.Mascara, mask)) return;
  const std::u16string text = txo_.Text();
  const size_t length = text.size();
  const size_t start = std::min<size_t>(static_cast<size_t>(std::max(txo_.SelStart(), 0)), length);
  const size_t end = std::min(length, start + static_cast<size_t>(std::max(txo_.SelLength(), 0)));
  std::u16string result;
  if (!TypeIntoMascara(mask, std::u16string_view(text).substr(0, start), *typed, result)) return;
  const size_t caret = result.size();
  if (end < length) {
    // Within the text: the characters after the selection follow the typed one, as typed.
    const std::u16string after = CharactersOfMascara(mask, std::u16string_view(text).substr(end));
    std::u16string next;
    for (char16_t c : after)
      if (TypeIntoMascara(mask, result, c, next)) result.swap(next);
  }
  laying_ = true;
  (void)txo_.SetText(result);
  laying_ = false;
  (void)txo_.SetSelStart(static_cast<int32_t>(caret));
}

void MascaraTyping::Changed() {
  if (laying_) return;
  const std::u16string text = txo_.Text();
  Layout mask;
  if (text.empty() || !ReadMascara(s_.Mascara, mask) || IsMasked(mask, text)) return;
  const size_t start = std::min<size_t>(static_cast<size_t>(std::max(txo_.SelStart(), 0)), text.size());
  const size_t before = CharactersOfMascara(mask, std::u16string_view(text).substr(0, start)).size();
  const std::u16string laid = LayOutThroughMascara(mask, text);
  // The caret after as many characters of the slots as were before it.
  size_t caret = 0;
  for (size_t seen = 0; caret < laid.size() && seen < before; ++caret)
    if (mask.Element(caret).slot) ++seen;
  laying_ = true;
  (void)txo_.SetText(laid);
  laying_ = false;
  (void)txo_.SetSelStart(static_cast<int32_t>(caret));
}

}  // namespace delvorin
