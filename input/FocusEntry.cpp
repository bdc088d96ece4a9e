#include "input/FocusEntry.h"

#include <string>

#include "format/Moeda.h"
#include "format/DocumentTypes.h"
#include "format/Mascara.h"

namespace delvorin {

void FocusEntry::Enter() {
  if (s_.Tipo <= tipo::NumeroDuplo) {
    std::u16string text = txo_.Text();
    std::u16string plain;
    bool parsed = false;
    if (s_.Tipo == tipo::NumeroDuplo) {
      double number = 0;
      parsed = ReadNumber(text, number).ok();
      if (parsed) plain = GeneralForm(number);
    } else {
      Moeda value;
      parsed = ReadMoeda(text, value).ok();
      if (parsed) plain = PlainForm(value);
    }
    (void)txo_.SetText(parsed ? plain : u"0");
  } else if (const DocumentType* type = DocumentTypeOf(s_.Tipo)) {
    // The length of the type's longest layout.
    const FieldContext context{s_.CnpjAlfanumerico != 0, s_.UF};
    (void)txo_.SetProperty(Property::MaxLength, Variant::I4(LongestLayout(*type, context)));
  } else if (Layout mask; MascaraOfField(s_, mask)) {
    // The length of the mask.
    (void)txo_.SetProperty(Property::MaxLength, Variant::I4(static_cast<int32_t>(mask.length())));
  }
  (void)txo_.SetTag(u"");
  (void)txo_.SetSelStart(0);
  (void)txo_.SetSelLength(txo_.TextLength());
}

}  // namespace delvorin
