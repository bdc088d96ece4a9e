#include "format/Mascara.h"

#include <bitset>
#include <memory>
#include <utility>
#include <vector>

namespace delvorin {
namespace {

LayoutElement Slot(SlotClass kind, bool required, LetterCase letterCase) {
  LayoutElement e;
  e.kind = kind;
  e.required = required;
  e.letterCase = letterCase;
  return e;
}

LayoutElement Literal(char16_t c) {
  LayoutElement e;
  e.slot = false;
  e.literal = c;
  return e;
}

// Whether a character typed at element i, which does not take it, can go further on: past
// optional slots and literals to the literal it is, or to a slot that takes it.
bool TakenFurtherOn(const Layout& mask, size_t i, char16_t c) {
  for (size_t j = i + 1; j < mask.length(); ++j) {
    const LayoutElement e = mask.Element(j);
    if (!e.slot) {
      if (e.literal == c) return true;
      continue;
    }
    if (Layout::Takes(e, c)) return true;
    if (e.required) return false;
  }
  return false;
}

}  // namespace

bool ReadMascara(std::u16string_view mask, Layout& layout) {
  std::vector<LayoutElement> elements;
  elements.reserve(mask.size() + 4);
  LetterCase letterCase = LetterCase::AsTyped;
  for (size_t i = 0; i < mask.size(); ++i) {
    const char16_t m = mask[i];
    switch (m) {
      case u'0': elements.push_back(Slot(SlotClass::Digit, true, letterCase)); break;
      case u'9': elements.push_back(Slot(SlotClass::DigitOrSpace, false, letterCase)); break;
      case u'#': elements.push_back(Slot(SlotClass::DigitSignSpace, false, letterCase)); break;
      case u'L': elements.push_back(Slot(SlotClass::Letter, true, letterCase)); break;
      case u'?': elements.push_back(Slot(SlotClass::Letter, false, letterCase)); break;
      case u'&': elements.push_back(Slot(SlotClass::Any, true, letterCase)); break;
      case u'C': elements.push_back(Slot(SlotClass::Any, false, letterCase)); break;
      case u'A': elements.push_back(Slot(SlotClass::LetterOrDigit, true, letterCase)); break;
      case u'a': elements.push_back(Slot(SlotClass::LetterOrDigit, false, letterCase)); break;
      case u'<': letterCase = LetterCase::Lower; break;
      case u'>': letterCase = LetterCase::Upper; break;
      case u'|': letterCase = LetterCase::AsTyped; break;
      case u'\\':
        if (++i == mask.size()) return false;  // nothing to escape
        elements.push_back(Literal(mask[i]));
        break;
      // The culture's separators, as pt-BR writes them.
      case u'.': elements.push_back(Literal(u',')); break;
      case u',': elements.push_back(Literal(u'.')); break;
      case u'$':
        elements.push_back(Literal(u'R'));
        elements.push_back(Literal(u'$'));
        break;
      default: elements.push_back(Literal(m)); break;  // : and / among them
    }
  }
  layout = Layout(std::move(elements));
  return true;
}

bool TypeIntoMascara(const Layout& mask, std::u16string_view text, char16_t c, std::u16string& result) {
  std::u16string next(text);
  for (size_t i = text.size(); i < mask.length(); ++i) {
    const LayoutElement e = mask.Element(i);
    if (!e.slot) {
      next.push_back(e.literal);
      if (e.literal == c) break;  // the typed literal moves past it
      continue;
    }
    if (Layout::Takes(e, c)) {
      next.push_back(Layout::Kept(e, c));
      break;
    }
    if (e.required || !TakenFurtherOn(mask, i, c)) return false;
    next.push_back(u' ');  // an optional slot passed over
  }
  if (next.size() == text.size() || next.size() > mask.length()) return false;
  result = std::move(next);
  return true;
}

std::u16string LayOutThroughMascara(const Layout& mask, std::u16string_view text) {
  // Linear in the text: the literals are looked up in a set, and a character refused is
  // refused again, without another try, until the text changes.
  auto literals = std::make_unique<std::bitset<65536>>();
  for (size_t i = 0; i < mask.length(); ++i)
    if (const LayoutElement e = mask.Element(i); !e.slot) literals->set(e.literal);
  auto refused = std::make_unique<std::bitset<65536>>();
  std::u16string laid;
  std::u16string next;
  for (char16_t c : text) {
    if (laid.size() >= mask.length()) break;
    if (literals->test(c) || refused->test(c)) continue;
    if (TypeIntoMascara(mask, laid, c, next)) {
      laid.swap(next);
      refused->reset();
    } else {
      refused->set(c);
    }
  }
  return laid;
}

bool IsMasked(const Layout& mask, std::u16string_view text) {
  if (text.size() > mask.length()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    const LayoutElement e = mask.Element(i);
    if (!e.slot) {
      if (text[i] != e.literal) return false;
    } else if (!Layout::Takes(e, text[i]) && (e.required || text[i] != u' ')) {
      return false;
    } else if (Layout::Kept(e, text[i]) != text[i]) {
      return false;  // a letter in the wrong case
    }
  }
  return true;
}

bool IsMascaraFilled(const Layout& mask, std::u16string_view text) {
  if (!IsMasked(mask, text)) return false;
  for (size_t i = text.size(); i < mask.length(); ++i) {
    const LayoutElement e = mask.Element(i);
    if (e.slot && e.required) return false;
  }
  return true;
}

std::u16string CharactersOfMascara(const Layout& mask, std::u16string_view text) {
  std::u16string characters;
  characters.reserve(text.size());
  const bool masked = IsMasked(mask, text);
  for (size_t i = 0; i < text.size(); ++i) {
    if (masked ? mask.Element(i).slot : !mask.IsLiteral(text[i])) characters.push_back(text[i]);
  }
  return characters;
}

bool MascaraOfField(const Settings& s, Layout& mask) {
  return s.Tipo == tipo::Mascara && !s.Mascara.empty() && ReadMascara(s.Mascara, mask);
}

}  // namespace delvorin
