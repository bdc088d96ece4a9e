#include "control/FieldValue.h"

#include <cmath>

#include "core/Properties.h"
#include "format/Conversions.h"
#include "format/Dates.h"
#include "format/DocumentChecks.h"
#include "format/DocumentTypes.h"
#include "format/Extenso.h"
#include "format/Mascara.h"

namespace delvorin {
namespace {

FieldContext ContextOf(const Settings& s) { return FieldContext{s.CnpjAlfanumerico != 0, s.UF}; }

bool IsNumber(VarType t) {
  return t == VarType::I2 || t == VarType::I4 || t == VarType::UI1 || t == VarType::R4 || t == VarType::R8 ||
         t == VarType::Currency;
}

// The digits of a whole, non-negative number, as a document's characters; false for any other.
bool DigitsOf(const Variant& v, std::u16string& digits) {
  uint64_t n = 0;
  if (v.type() == VarType::Currency) {
    if (v.currency() < 0 || v.currency() % 10000 != 0) return false;
    n = static_cast<uint64_t>(v.currency() / 10000);
  } else {
    Variant d;
    if (!ChangeType(v, VarType::R8, d).ok()) return false;
    const double x = d.r8();
    if (!(x >= 0 && x < 1e19) || std::floor(x) != x) return false;
    n = static_cast<uint64_t>(x);
  }
  digits.clear();
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + n % 10));
    n /= 10;
  } while (n != 0);
  return true;
}

// Slots of a layout pattern.
size_t SlotsOf(std::u16string_view pattern) {
  size_t n = 0;
  for (char16_t c : pattern) n += c == u'D' || c == u'A' || c == u'X';
  return n;
}

std::u16string TwoDigits(int n) { return {static_cast<char16_t>(u'0' + n / 10 % 10), static_cast<char16_t>(u'0' + n % 10)}; }

}  // namespace

Variant ValorOf(const Settings& s, std::u16string_view text, const std::optional<Moeda>& extenso) {
  if (text.empty()) return Variant();
  switch (s.Tipo) {
    case tipo::MoedaComMascara:
    case tipo::MoedaSemMascara: {
      Moeda m;
      return ReadMoeda(text, m).ok() ? Variant::Currency(m.tenThousandths) : Variant::Null();
    }
    case tipo::NumeroDuplo:
    case tipo::Numero: {
      double d = 0;
      return ReadNumber(text, d).ok() ? Variant::R8(d) : Variant::Null();
    }
    case tipo::Extenso:
      return extenso && text == Extenso(*extenso) ? Variant::Currency(extenso->tenThousandths) : Variant::Null();
    case tipo::Data: {
      const DocumentType& type = *DocumentTypeOf(s.Tipo);
      int day = 0, month = 0, year = 0;
      if (!ValidaData(CharactersToCheck(type, ContextOf(s), text), day, month, year)) return Variant::Null();
      return Variant::Date(SerialOfDate(year, month, day));
    }
    case tipo::Hora: {
      const DocumentType& type = *DocumentTypeOf(s.Tipo);
      int hour = 0, minute = 0;
      if (!ValidaHora(CharactersToCheck(type, ContextOf(s), text), hour, minute)) return Variant::Null();
      return Variant::Date(SerialOfTime(hour, minute));
    }
    default: break;
  }
  if (const DocumentType* type = DocumentTypeOf(s.Tipo)) return Variant::Str(CharactersOf(*type, ContextOf(s), text));
  if (Layout mask; MascaraOfField(s, mask))
    return Variant::Str(CharactersOfMascara(mask, text));
  return Variant::Str(std::u16string(text));
}

bool IsValido(const Settings& s, std::u16string_view text, const std::optional<Moeda>& extenso) {
  if (text.empty()) return true;
  if (const DocumentType* type = DocumentTypeOf(s.Tipo)) return PassesCheck(*type, ContextOf(s), text);
  switch (s.Tipo) {
    case tipo::MoedaComMascara:
    case tipo::MoedaSemMascara: {
      Moeda m;
      return ReadMoeda(text, m).ok();
    }
    case tipo::NumeroDuplo: {
      double d = 0;
      return ReadNumber(text, d).ok();
    }
    case tipo::Numero: {
      // As leaving reads it: the leading number.
      double d = 0;
      return LeadingNumber(text, d).ok();
    }
    case tipo::Extenso: return ValorOf(s, text, extenso).type() == VarType::Currency;
    case tipo::Mascara: {
      Layout mask;
      return !MascaraOfField(s, mask) || IsMascaraFilled(mask, text);
    }
    default: return true;
  }
}

Status TextOfValor(const Settings& s, const Variant& value, std::u16string& text) {
  text.clear();
  if (value.type() == VarType::Empty || value.type() == VarType::Null) return Status::Ok();
  Variant v;
  switch (s.Tipo) {
    case tipo::MoedaComMascara:
    case tipo::MoedaSemMascara:
    case tipo::Extenso:
      if (!ChangeType(value, VarType::Currency, v).ok()) return Status::TypeMismatch();
      text = PlainForm(Moeda{v.currency()});
      return Status::Ok();
    case tipo::NumeroDuplo:
    case tipo::Numero:
      if (!ChangeType(value, VarType::R8, v).ok() || !std::isfinite(v.r8())) return Status::TypeMismatch();
      text = GeneralForm(v.r8());
      return Status::Ok();
    case tipo::Data:
    case tipo::Hora: {
      if (!ChangeType(value, VarType::Date, v).ok()) return Status::TypeMismatch();
      CivilDate date;
      int hour = 0, minute = 0, second = 0;
      if (!DateOfSerial(v.date(), date, hour, minute, second)) return Status::TypeMismatch();
      if (s.Tipo == tipo::Hora) {
        text = TwoDigits(hour) + u":" + TwoDigits(minute);
        return Status::Ok();
      }
      if (date.year < 1753) return Status::TypeMismatch();
      text = TwoDigits(date.day) + u"/" + TwoDigits(date.month) + u"/" + TwoDigits(date.year / 100) + TwoDigits(date.year);
      return Status::Ok();
    }
    default: break;
  }
  if (const DocumentType* type = DocumentTypeOf(s.Tipo)) {
    if (value.type() == VarType::Str) {
      text = value.str();
      return Status::Ok();
    }
    if (!IsNumber(value.type()) || !DigitsOf(value, text)) return Status::TypeMismatch();
    // Databases keep documents as numbers and lose their leading zeros: the digits are padded
    // to the shortest layout that holds them.
    size_t length = 0;
    for (const LayoutChoice& choice : LayoutsOf(*type, ContextOf(s))) {
      const size_t slots = SlotsOf(choice.pattern);
      if (slots >= text.size() && (length == 0 || slots < length)) length = slots;
    }
    if (length == 0) return Status::TypeMismatch();
    text.insert(0, length - text.size(), u'0');
    return Status::Ok();
  }
  // The text types, and the types without a value of their own, take the value's text.
  if (!ChangeType(value, VarType::Str, v).ok()) return Status::TypeMismatch();
  text = v.str();
  return Status::Ok();
}

}  // namespace delvorin
