#pragma once
// The developer's own layout of type 26, written in the masked-edit language: 0 a digit, 9 a
// digit or space (optional), # a digit, sign or space (optional), L a letter, ? a letter
// (optional), & any character, C any character (optional), A a letter or digit, a a letter or
// digit (optional); < and > turn the letters of the slots that follow to lower or upper case,
// | stops that; \ makes the next character a literal; the separators . , : / $ show as pt-BR
// writes them (",", ".", ":", "/", "R$"); anything else is a literal.
//
// The text of a masked field is positional: its i-th character stands in the mask's i-th
// element, and an optional slot passed over holds a space. So a text is always a prefix of
// the mask's length, and its literals are where the mask puts them.
#include <string>
#include <string_view>

#include "core/Settings.h"
#include "format/Layout.h"

namespace delvorin {

// The mask's elements; false (and the layout untouched) when it cannot be read: a \ with
// nothing after it.
bool ReadMascara(std::u16string_view mask, Layout& layout);

// The mask a field lays its text out through: false unless it is of type 26 with a mask that
// can be read; without a mask, type 26 takes any text.
bool MascaraOfField(const Settings& s, Layout& mask);

// The text after typing c at the end of text, a masked text: the literals the typing reaches
// are written before it; a c that no slot takes is refused, unless it is the next literal or
// a later slot takes it, past optional slots only (they are left as spaces).
bool TypeIntoMascara(const Layout& mask, std::u16string_view text, char16_t c, std::u16string& result);

// Any text laid out through the mask as typing it would: the mask's literals are dropped
// first, then each character typed at the end (those refused are dropped).
std::u16string LayOutThroughMascara(const Layout& mask, std::u16string_view text);

// Whether text stands in the mask position by position: each literal where the mask has
// it, each character taken by its slot (a space in an optional one).
bool IsMasked(const Layout& mask, std::u16string_view text);

// Whether a masked text is complete: it stands in the mask and every required slot is filled.
bool IsMascaraFilled(const Layout& mask, std::u16string_view text);

// The characters of the slots: a masked text without its literals, or any other text without
// the characters that are the mask's literals.
std::u16string CharactersOfMascara(const Layout& mask, std::u16string_view text);

}  // namespace delvorin
