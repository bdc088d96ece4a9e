#pragma once
// The document fields as data: for each type the layouts its characters take and how the one in
// use is chosen, its check, its messages and how its value reads. A new document field is a row.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "format/Layout.h"

namespace delvorin {

// What a field's rules read beyond its characters.
struct FieldContext {
  bool cnpjAlfanumerico = true;
  std::u16string_view uf;  // type 25: the state, in capitals, or empty
};

// One layout of a field, and the first character it applies to.
struct LayoutChoice {
  std::u16string_view pattern;  // D a digit, A a letter, X a letter or digit, the rest literals
  char16_t firstIs = 0;         // applies only when the first character is this one
  char16_t firstIsNot = 0;      // applies only when it is not
};

enum class DocumentValue : uint8_t { Characters, Date, Time };

struct DocumentType {
  uint8_t tipo;
  // The layouts in order of choice; the first whose condition holds and that takes the
  // characters is the one in use. Types 10, 15 and 25 choose by the context instead.
  std::span<const LayoutChoice> layouts;
  // Whether the characters (without separators) pass the type's check.
  bool (*check)(std::u16string_view characters, const FieldContext& context);
  std::u16string_view shortMessage;
  std::u16string_view longMessage;  // shown when TravaCpf sends the focus back
  DocumentValue value;
  // The layouts appear as the user types (15 to 25), or only the separators of the type's
  // trigger lengths are appended while it takes digits (8, 9, 10, 13, 14).
  bool laidOutWhileTyping;
};

// The row of a document type, or nullptr for the other types.
const DocumentType* DocumentTypeOf(uint8_t tipo);

// The layouts of a type in a context, in order of choice.
std::vector<LayoutChoice> LayoutsOf(const DocumentType& type, const FieldContext& context);

// The layout that characters take in a context: the first whose condition holds and that fits
// them; false when none does. With no characters, the first layout.
bool ChooseLayout(const DocumentType& type, const FieldContext& context, std::u16string_view characters, Layout& chosen);

// The longest text of the type's layouts: the edit box's length limit while it has the focus.
int32_t LongestLayout(const DocumentType& type, const FieldContext& context);

// The characters of a text without the separators of the type's layouts.
std::u16string CharactersOf(const DocumentType& type, const FieldContext& context, std::u16string_view text);

// What leaving the field checks: the characters, with a date's two-digit year given its century
// (00–29 the 2000s, 30–99 the 1900s) and a bank slip's 44-digit barcode turned into its line.
std::u16string CharactersToCheck(const DocumentType& type, const FieldContext& context, std::u16string_view text);

// Whether a field's text passes its type's check; an empty text does.
bool PassesCheck(const DocumentType& type, const FieldContext& context, std::u16string_view text);

// The text of a field of type 25 that declares the registration exempt, typed letter by letter.
inline constexpr std::u16string_view kIsento = u"ISENTO";

}  // namespace delvorin
