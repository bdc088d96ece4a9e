// A write of Text: the value goes into the edit box, the container is told, and the value is
// brought into the type's display form at once (the leave-field processing, a document
// layout, or the amount in words). Every step is linear in the value's length.
#include "control/Delvorin.h"
#include "format/Extenso.h"
#include "format/DisplayLayouts.h"
#include "format/Mascara.h"
#include "format/Moeda.h"
#include "input/LayoutTyping.h"
#include "input/PastedText.h"

namespace delvorin {

Status Delvorin::SetText(std::u16string_view value) {
  // One batch: a window holding the text is handed the final form only.
  EditBatch batch(txo_);
  std::u16string v(value);
  DELVORIN_TRY(txo_.SetText(v));
  DELVORIN_TRY(host_.PropertyChanged(u"Text"));

  switch (s_.Tipo) {
    case tipo::MoedaComMascara:
    case tipo::MoedaSemMascara:
    case tipo::NumeroDuplo:
    case tipo::TextoIniciais:
    case tipo::TextoMaiusculas:
    case tipo::TextoMinusculas:
      leaveField_.FormataCampo(v);
      return Status::Ok();
    case tipo::Cep: return txo_.SetText(FormataCep(v));
    case tipo::Cpf: return txo_.SetText(FormataCpf(v));
    case tipo::Cnpj: {
      std::u16string cnpj = FormataCnpj(v);
      // Letters of an alphanumeric CNPJ are capitals.
      if (s_.CnpjAlfanumerico != 0)
        for (char16_t& c : cnpj)
          if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
      return txo_.SetText(cnpj);
    }
    case tipo::Pis: return txo_.SetText(FormataPis(v));
    case tipo::Cartao: return txo_.SetText(FormataCartao(v));
    case tipo::Extenso: {
      // A negative or empty value shows nothing, as zero does.
      std::u16string w = LeadingNumberSign(v) < 0 || v.empty() ? std::u16string(u"0") : v;
      // Words are shown flat and without a frame, like printed text.
      DELVORIN_TRY(txo_.SetProperty(Property::Appearance, Variant::I2(0)));
      DELVORIN_TRY(txo_.SetProperty(Property::BorderStyle, Variant::I2(0)));
      Moeda amount;
      DELVORIN_TRY(ReadMoeda(w, amount));  // type mismatch or overflow goes to the caller
      extensoAmount_ = amount;
      return txo_.SetText(Extenso(amount));
    }
    default:
      if (Layout mask; MascaraOfField(s_, mask))
        return txo_.SetText(LayOutThroughMascara(mask, v));
      // The registration form's fields: laid out as typing the value would lay it out (a
      // telephone number without its country code), in the full form leaving would show.
      if (const DocumentType* type = DocumentTypeOf(s_.Tipo); type && type->laidOutWhileTyping) {
        const FieldContext context{s_.CnpjAlfanumerico != 0, s_.UF};
        std::u16string characters = v;
        if (s_.Tipo == tipo::Telefone) characters = WithoutCountryCode(PastedCharacters(s_.Tipo, v));
        return txo_.SetText(FullForm(*type, context, LayOutAsTyped(*type, context, characters)));
      }
      return Status::Ok();
  }
}

}  // namespace delvorin
