#include "input/LayoutTyping.h"

#include <algorithm>
#include <bitset>
#include <memory>
#include <optional>

#include "input/Cp1252.h"

namespace delvorin {
namespace {

bool IsLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

char16_t Upper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

// Separators a user types between a date's or a time's parts, and the one the layout shows.
bool IsDateSeparator(char16_t c) { return c == u'/' || c == u'.' || c == u'-'; }

// "ISENTO" typed so far: the text is a prefix of it in capitals.
bool IsIsentoPrefix(std::u16string_view text) {
  return !text.empty() && text.size() <= kIsento.size() && kIsento.starts_with(text);
}

// A date's or a time's separator typed at the end: a part of one digit is padded with a zero,
// and a complete part is followed by the layout's separator.
bool TypeSeparator(const DocumentType& type, const FieldContext& context, std::u16string_view text, std::u16string& result) {
  std::u16string characters = CharactersOf(type, context, text);
  const bool date = type.tipo == tipo::Data;
  const size_t n = characters.size();
  if (date && (n == 1 || n == 3)) characters.insert(n - 1, 1, u'0');
  else if (!date && n == 1) characters.insert(0, 1, u'0');
  else if (!(date ? n == 2 || n == 4 : n == 2)) return false;
  Layout layout;
  if (!ChooseLayout(type, context, characters, layout)) return false;
  std::u16string shown = layout.Render(characters);
  // Already followed by its separator: a second one is refused.
  if (shown.size() < text.size()) return false;
  shown.push_back(date ? u'/' : u':');
  result = std::move(shown);
  return true;
}

}  // namespace

bool TypeAtEnd(const DocumentType& type, const FieldContext& context, std::u16string_view text, char16_t c,
               std::u16string& result) {
  if (type.tipo == tipo::InscricaoEstadual && (IsLetter(c) || IsIsentoPrefix(text))) {
    // The letters of "ISENTO" only, and only on their own.
    if (!IsLetter(c)) return false;
    std::u16string candidate(text);
    candidate.push_back(Upper(c));
    if (!IsIsentoPrefix(candidate)) return false;
    result = std::move(candidate);
    return true;
  }
  if ((type.tipo == tipo::Data && IsDateSeparator(c)) || (type.tipo == tipo::Hora && c == u':'))
    return TypeSeparator(type, context, text, result);
  std::u16string characters = CharactersOf(type, context, text);
  characters.push_back(c);
  Layout layout;
  if (!ChooseLayout(type, context, characters, layout)) return false;
  result = layout.Render(characters);
  return true;
}

std::u16string FullForm(const DocumentType& type, const FieldContext& context, std::u16string_view text) {
  const std::u16string characters = CharactersToCheck(type, context, text);
  Layout layout;
  if (characters != CharactersOf(type, context, text) && ChooseLayout(type, context, characters, layout))
    return layout.Render(characters);
  return std::u16string(text);
}

std::u16string LayOutAsTyped(const DocumentType& type, const FieldContext& context, std::u16string_view value) {
  std::u16string text;
  // Characters refused since the text last changed: refused again without another try.
  auto refused = std::make_unique<std::bitset<65536>>();
  for (char16_t c : value) {
    if (refused->test(c)) continue;
    std::u16string next;
    if (TypeAtEnd(type, context, text, c, next)) {
      text = std::move(next);
      refused->reset();
    } else {
      refused->set(c);
    }
  }
  return text;
}

bool LayoutTyping::Applies() const {
  const DocumentType* type = DocumentTypeOf(s_.Tipo);
  return type && type->laidOutWhileTyping;
}

FieldContext LayoutTyping::Context() const { return FieldContext{s_.CnpjAlfanumerico != 0, s_.UF}; }

void LayoutTyping::KeyPress(int16_t& keyAscii) {
  const std::optional<char16_t> typed = CharacterOfCode(keyAscii);
  keyAscii = 0;  // the field writes what it takes
  if (!typed || *typed < 32 || *typed == 127) return;
  const DocumentType& type = *DocumentTypeOf(s_.Tipo);
  const FieldContext context = Context();
  const std::u16string text = txo_.Text();
  const size_t length = text.size();
  const size_t start = std::min<size_t>(static_cast<size_t>(std::max(txo_.SelStart(), 0)), length);
  const size_t end = std::min<size_t>(length, start + static_cast<size_t>(std::max(txo_.SelLength(), 0)));
  std::u16string result;
  size_t caret = 0;
  if (end == length) {
    // At the end, or over the end: typed as at the end of what stays before it.
    if (!TypeAtEnd(type, context, std::u16string_view(text).substr(0, start), *typed, result)) return;
    caret = result.size();
  } else {
    // Within the text: the character goes between the characters before and after it.
    const std::u16string before = CharactersOf(type, context, std::u16string_view(text).substr(0, start));
    const std::u16string after = CharactersOf(type, context, std::u16string_view(text).substr(end));
    std::u16string characters = before;
    characters.push_back(*typed);
    characters += after;
    Layout layout;
    if (IsIsentoPrefix(text) || !ChooseLayout(type, context, characters, layout)) return;
    result = layout.Render(characters);
    caret = layout.PositionAfter(before.size() + 1);
  }
  // The text written here is laid out: its Change needs no second look.
  laying_ = true;
  (void)txo_.SetText(result);
  laying_ = false;
  (void)txo_.SetSelStart(static_cast<int32_t>(caret));
}

void LayoutTyping::Changed() {
  if (laying_) return;
  const std::u16string text = txo_.Text();
  if (text.empty() || (s_.Tipo == tipo::InscricaoEstadual && IsIsentoPrefix(text))) return;
  const DocumentType& type = *DocumentTypeOf(s_.Tipo);
  const FieldContext context = FieldContext{s_.CnpjAlfanumerico != 0, s_.UF};
  const std::u16string characters = CharactersOf(type, context, text);
  Layout layout;
  // A text whose characters fit no layout (a value being written, a loaded text) is left alone.
  if (!ChooseLayout(type, context, characters, layout) || layout.IsLaidOut(text)) return;
  const size_t start = std::min<size_t>(static_cast<size_t>(std::max(txo_.SelStart(), 0)), text.size());
  const size_t before = CharactersOf(type, context, std::u16string_view(text).substr(0, start)).size();
  (void)txo_.SetText(layout.Render(characters));
  (void)txo_.SetSelStart(static_cast<int32_t>(layout.PositionAfter(before)));
}

}  // namespace delvorin
