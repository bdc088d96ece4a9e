#pragma once
// What a screen reader is told of the field, from its settings: the description (the kind of
// field and the invalid state) and the name a label's caption gives.
#include <cstdint>
#include <string>
#include <string_view>

namespace delvorin {

// The field's kind ("CPF", "Data (DD/MM/AAAA)", …) and, when invalid is not empty, the short
// invalid message after it: "CPF, CPF Inválido.".
std::u16string DescriptionOfField(uint8_t tipo, std::u16string_view invalid);

// A label's caption as a name: without the "&" that marks its access key ("&&" is one "&"),
// and without the blanks around it.
std::u16string NameOfLabel(std::u16string_view caption);

}  // namespace delvorin
