#pragma once
// Typing into the fields whose layout appears as it is typed (types 15 to 25): the field lays
// its text out itself from its characters, so that a layout that changes with them (CPF to
// CNPJ, a fixed line to a mobile) is laid out again both ways. Each typed character goes to the
// next slot that takes it, or is refused; a date's or a time's separator typed after one digit
// pads it with a zero; type 25 takes "ISENTO" letter by letter. A write of Text lays the value
// out as typing it would; a deletion leaves the text laid out again.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/Services.h"
#include "core/Settings.h"
#include "format/DocumentTypes.h"

namespace delvorin {

// The text after typing c at the end of text in a field of the type; false when refused.
bool TypeAtEnd(const DocumentType& type, const FieldContext& context, std::u16string_view text, char16_t c,
               std::u16string& result);

// A value laid out as typing each of its characters at the end would lay it out. Linear in the
// value's length: once a character is refused, the same one is refused until another is taken.
std::u16string LayOutAsTyped(const DocumentType& type, const FieldContext& context, std::u16string_view value);

// The text in its full form where the type has one (a date's two-digit year as four digits, a
// barcode as its typeable line), laid out; any other text as it is.
std::u16string FullForm(const DocumentType& type, const FieldContext& context, std::u16string_view text);

class LayoutTyping {
 public:
  LayoutTyping(const Settings& settings, EditBox& txo) : s_(settings), txo_(txo) {}

  // Whether the field's type lays out as it is typed.
  bool Applies() const;
  // A typed character, as the host's KeyPress left it: the field takes it into its layout
  // (writing the text and the caret) or refuses it; keyAscii becomes 0 either way.
  void KeyPress(int16_t& keyAscii);
  // The text changed: a text whose characters fit a layout but whose separators do not (a
  // character deleted, or cut) is laid out again, the caret after the same characters.
  void Changed();
  FieldContext Context() const;

 private:
  const Settings& s_;
  EditBox& txo_;
  bool laying_ = false;  // KeyPress is writing a laid-out text
};

}  // namespace delvorin
