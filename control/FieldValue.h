#pragma once
// Valor and Valido: the field's value as a typed automation value, and whether its text passes
// the type's check now, so that a host reads a form without parsing its texts or waiting for a
// warning.
#include <optional>
#include <string>
#include <string_view>

#include "core/Settings.h"
#include "core/Status.h"
#include "core/Variant.h"
#include "format/Moeda.h"

namespace delvorin {

// Valor as read: Empty for an empty field; a Currency for types 0 and 1 (and 11, the amount
// the words spell); a Double for 2 and 3; a Date for 17 (the day) and 18 (the time of day);
// the characters without the layout's separators for the document types; the text for the
// text types; Null where the text does not read as the type's value. extenso is the amount the
// field's words were last written from.
Variant ValorOf(const Settings& s, std::u16string_view text, const std::optional<Moeda>& extenso);

// Valido: whether the text passes the type's check (an empty one does, as leaving accepts it);
// for the types without a check, whether it reads as the type's value.
bool IsValido(const Settings& s, std::u16string_view text, const std::optional<Moeda>& extenso);

// The text a write of Valor hands to the write of Text: the value converted as automation
// converts it (Empty and Null give the empty text; a number into a document type its digits,
// padded with zeros to the layout's length); TypeMismatch for a value the type cannot take.
Status TextOfValor(const Settings& s, const Variant& value, std::u16string& text);

}  // namespace delvorin
