#include "format/Layout.h"

namespace delvorin {
namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Letters of ASCII, of Latin-1 (but × and ÷) and of the Latin extensions.
bool IsLetter(char16_t c) {
  if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z')) return true;
  if (c >= 0xC0 && c <= 0xFF) return c != 0xD7 && c != 0xF7;
  return c >= 0x100 && c <= 0x24F;
}

char16_t Upper(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 32);
  return c;
}

char16_t Lower(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
  return c;
}

}  // namespace

Layout::Layout(std::vector<LayoutElement> elements) : elements_(std::move(elements)) {
  for (const LayoutElement& e : elements_) {
    if (!e.slot) continue;
    ++slots_;
    if (e.required) ++required_;
  }
}

Layout Layout::FromPattern(std::u16string_view pattern) {
  std::vector<LayoutElement> elements;
  elements.reserve(pattern.size());
  for (char16_t c : pattern) {
    LayoutElement e;
    switch (c) {
      case u'D': e.kind = SlotClass::Digit; break;
      case u'A': e.kind = SlotClass::Letter; e.letterCase = LetterCase::Upper; break;
      case u'X': e.kind = SlotClass::LetterOrDigit; e.letterCase = LetterCase::Upper; break;
      default: e.slot = false; e.literal = c; break;
    }
    elements.push_back(e);
  }
  return Layout(std::move(elements));
}

bool Layout::IsLiteral(char16_t c) const {
  for (const LayoutElement& e : elements_)
    if (!e.slot && e.literal == c) return true;
  return false;
}

bool Layout::Takes(const LayoutElement& slot, char16_t c) {
  switch (slot.kind) {
    case SlotClass::Digit: return IsDigit(c);
    case SlotClass::Letter: return IsLetter(c);
    case SlotClass::LetterOrDigit: return IsDigit(c) || IsLetter(c);
    case SlotClass::Any: return c >= 32 && c != 127;
    case SlotClass::DigitOrSpace: return IsDigit(c) || c == u' ';
    case SlotClass::DigitSignSpace: return IsDigit(c) || c == u' ' || c == u'+' || c == u'-';
  }
  return false;
}

char16_t Layout::Kept(const LayoutElement& slot, char16_t c) {
  switch (slot.letterCase) {
    case LetterCase::Upper: return Upper(c);
    case LetterCase::Lower: return Lower(c);
    default: return c;
  }
}

bool Layout::Fits(std::u16string_view characters) const {
  if (characters.size() > slots_) return false;
  size_t next = 0;
  for (const LayoutElement& e : elements_) {
    if (next == characters.size()) break;
    if (!e.slot) continue;
    if (!Takes(e, characters[next])) return false;
    ++next;
  }
  return true;
}

std::u16string Layout::Render(std::u16string_view characters) const {
  std::u16string out;
  out.reserve(elements_.size());
  std::u16string pending;  // literals written once a character follows them
  size_t next = 0;
  for (const LayoutElement& e : elements_) {
    if (next == characters.size()) break;
    if (!e.slot) {
      pending.push_back(e.literal);
      continue;
    }
    out += pending;
    pending.clear();
    out.push_back(Kept(e, characters[next++]));
  }
  return out;
}

std::u16string Layout::Strip(std::u16string_view text) const {
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text)
    if (!IsLiteral(c)) out.push_back(c);
  return out;
}

bool Layout::IsLaidOut(std::u16string_view text) const {
  const std::u16string characters = Strip(text);
  if (!Fits(characters)) return false;
  const std::u16string rendered = Render(characters);
  if (text.substr(0, rendered.size()) != rendered) return false;
  // What follows must be the literals that come next, in order.
  size_t i = PositionAfter(characters.size());
  for (size_t k = rendered.size(); k < text.size(); ++k, ++i)
    if (i >= elements_.size() || elements_[i].slot || elements_[i].literal != text[k]) return false;
  return true;
}

size_t Layout::PositionAfter(size_t count) const {
  if (count == 0) return 0;
  size_t seen = 0;
  for (size_t i = 0; i < elements_.size(); ++i) {
    if (!elements_[i].slot) continue;
    if (++seen == count) return i + 1;
  }
  return elements_.size();
}

}  // namespace delvorin
