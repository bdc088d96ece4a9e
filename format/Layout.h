#pragma once
// Layouts of the document fields: a sequence of slots, each taking one character of a class (a
// digit, a letter, a letter or digit), and literal separators between them. One engine lays a
// field's characters out, checks that they fit, strips the separators again and finds where a
// character lands, for every layout: the documents', the registration form's and a developer's
// own mask.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace delvorin {

enum class SlotClass : uint8_t {
  Digit,          // 0-9
  Letter,         // a letter (A-Z, a-z, and the letters of Latin-1 and beyond)
  LetterOrDigit,  // either
  Any,            // any character but a control code
  DigitOrSpace,   // a digit or a space
  DigitSignSpace, // a digit, a space, + or -
};

enum class LetterCase : uint8_t { AsTyped, Upper, Lower };

// One element: a slot (required or optional, with the case its letters take) or a literal.
struct LayoutElement {
  bool slot = true;
  SlotClass kind = SlotClass::Digit;
  bool required = true;
  LetterCase letterCase = LetterCase::AsTyped;
  char16_t literal = 0;
};

// A layout: its elements, either owned or read from a pattern that outlives the layout (the
// built-in layouts, which then cost no allocation).
class Layout {
 public:
  Layout() = default;
  explicit Layout(std::vector<LayoutElement> elements);
  // A layout written with D (a digit), A (a letter, shown in capitals), X (a letter or digit,
  // letters in capitals) and any other character a literal: u"DDD.DDD.DDD-DD". The pattern is
  // read in place: it must outlive the layout.
  static Layout FromPattern(std::u16string_view pattern);

  size_t length() const { return owned_.empty() ? pattern_.size() : owned_.size(); }  // of the full text
  LayoutElement Element(size_t i) const;
  size_t slots() const { return slots_; }
  size_t requiredSlots() const { return required_; }
  bool IsLiteral(char16_t c) const;

  // Whether the slot takes c, and the character it keeps (its case applied).
  static bool Takes(const LayoutElement& slot, char16_t c);
  static char16_t Kept(const LayoutElement& slot, char16_t c);

  // Whether characters (already without separators) fill the slots in order: each taken by
  // its slot, no more than there are slots.
  bool Fits(std::u16string_view characters) const;
  // The characters laid out: each in its slot, the literals before a slot written only when a
  // character follows them. Characters beyond the slots are dropped.
  std::u16string Render(std::u16string_view characters) const;
  // The text without the layout's literals.
  std::u16string Strip(std::u16string_view text) const;
  // Whether text is what Render gives for its characters, possibly followed by the literals
  // that come next in the layout (typed before the next character).
  bool IsLaidOut(std::u16string_view text) const;
  // Where, in the rendered text of count characters, the position after the count-th
  // character is.
  size_t PositionAfter(size_t count) const;

 private:
  void Count();

  std::u16string_view pattern_;
  std::vector<LayoutElement> owned_;
  size_t slots_ = 0;
  size_t required_ = 0;
};

}  // namespace delvorin
