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

Layout::Layout(std::vector<LayoutElement> elements) : owned_(std::move(elements)) { Count(); }

Layout Layout::FromPattern(std::u16string_view pattern) {
  Layout layout;
  layout.pattern_ = pattern;
  layout.Count();
  return layout;
}

void Layout::Count() {
  slots_ = required_ = 0;
  for (size_t i = 0; i < length(); ++i) {
    const LayoutElement e = Element(i);
    if (!e.slot) continue;
    ++slots_;
    if (e.required) ++required_;
  }
}

LayoutElement Layout::Element(size_t i) const {
  if (!owned_.empty()) return owned_[i];
  LayoutElement e;
  switch (pattern_[i]) {
    case u'D': e.kind = SlotClass::Digit; break;
    case u'A': e.kind = SlotClass::Letter; e.letterCase = LetterCase::Upper; break;
    case u'X': e.kind = SlotClass::LetterOrDigit; e.letterCase = LetterCase::Upper; break;
    default: e.slot = false; e.literal = pattern_[i]; break;
  }
  return e;
}

bool Layout::IsLiteral(char16_t c) const {
  if (owned_.empty()) return c != u'D' && c != u'A' && c != u'X' && pattern_.find(c) != std::u16string_view::npos;
  for (size_t i = 0; i < length(); ++i) {
    const LayoutElement e = Element(i);
    if (!e.slot && e.literal == c) return true;
  }
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
  for (size_t i = 0; i < length() && next < characters.size(); ++i) {
    const LayoutElement e = Element(i);
    if (!e.slot) continue;
    if (!Takes(e, characters[next])) return false;
    ++next;
  }
  return true;
}

std::u16string Layout::Render(std::u16string_view characters) const {
  std::u16string out;
  out.reserve(length());
  size_t next = 0, pendingFrom = 0;  // literals from pendingFrom are written once a character follows
  if (owned_.empty()) {
    // A pattern: its literals are its own characters, copied as they stand.
    for (size_t i = 0; i < pattern_.size() && next < characters.size(); ++i) {
      const char16_t mark = pattern_[i];
      if (mark != u'D' && mark != u'A' && mark != u'X') continue;
      out.append(pattern_.substr(pendingFrom, i - pendingFrom));
      const char16_t c = characters[next++];
      out.push_back(mark == u'D' ? c : Kept(Element(i), c));
      pendingFrom = i + 1;
    }
    return out;
  }
  for (size_t i = 0; i < length() && next < characters.size(); ++i) {
    const LayoutElement e = Element(i);
    if (!e.slot) continue;
    for (size_t k = pendingFrom; k < i; ++k) out.push_back(Element(k).literal);
    out.push_back(Kept(e, characters[next++]));
    pendingFrom = i + 1;
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
  for (size_t k = rendered.size(); k < text.size(); ++k, ++i) {
    if (i >= length()) return false;
    const LayoutElement e = Element(i);
    if (e.slot || e.literal != text[k]) return false;
  }
  return true;
}

size_t Layout::PositionAfter(size_t count) const {
  if (count == 0) return 0;
  size_t seen = 0;
  for (size_t i = 0; i < length(); ++i) {
    if (!Element(i).slot) continue;
    if (++seen == count) return i + 1;
  }
  return length();
}

}  // namespace delvorin
