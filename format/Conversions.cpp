#include "format/Conversions.h"

#include <cmath>
#include <limits>

#include "format/Dates.h"
#include "format/Moeda.h"

namespace delvorin {
namespace {

std::u16string Ascii(std::string_view s) { return std::u16string(s.begin(), s.end()); }

std::u16string Decimal(int64_t v) { return Ascii(std::to_string(v)); }

// Rounds half to even, as automation does when a fraction becomes an integer.
bool RoundHalfEven(double x, double& r) {
  if (!std::isfinite(x)) return false;
  double base = std::floor(x);
  double remainder = x - base;
  if (remainder > 0.5 || (remainder == 0.5 && std::fmod(base, 2.0) != 0.0)) base += 1.0;
  r = base;
  return true;
}

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i], y = b[i];
    if (x >= u'A' && x <= u'Z') x = static_cast<char16_t>(x - u'A' + u'a');
    if (y >= u'A' && y <= u'Z') y = static_cast<char16_t>(y - u'A' + u'a');
    if (x != y) return false;
  }
  return true;
}

std::u16string_view TrimSpaces(std::u16string_view s) {
  while (!s.empty() && s.front() == u' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == u' ') s.remove_suffix(1);
  return s;
}

// Any numeric-like source as a double; texts through the Brazilian number reader.
Status AsDouble(const Variant& v, double& out) {
  switch (v.type()) {
    case VarType::Empty: out = 0; return Status::Ok();
    case VarType::I2: out = v.i2(); return Status::Ok();
    case VarType::I4: out = v.i4(); return Status::Ok();
    case VarType::UI1: out = v.ui1(); return Status::Ok();
    case VarType::Bool: out = v.boolean(); return Status::Ok();
    case VarType::R4: out = v.r4(); return Status::Ok();
    case VarType::R8: out = v.r8(); return Status::Ok();
    case VarType::Str: {
      std::u16string_view t = TrimSpaces(v.str());
      if (EqualIgnoringCase(t, u"true")) { out = kTrue; return Status::Ok(); }
      if (EqualIgnoringCase(t, u"false")) { out = kFalse; return Status::Ok(); }
      Status s = ReadNumber(v.str(), out);
      if (s.hresult() == Status::kOverflow) return s;
      return s.ok() ? s : Status::TypeMismatch();
    }
    case VarType::Currency: out = static_cast<double>(v.currency()) / 10000.0; return Status::Ok();
    case VarType::Date: out = v.date(); return Status::Ok();
    case VarType::Object:
    case VarType::Null: return Status::TypeMismatch();
  }
  return Status::TypeMismatch();
}

// A date written as "DD/MM/AAAA", "HH:MM" or "HH:MM:SS", or both, date first.
Status ReadDate(std::u16string_view text, double& serial) {
  text = TrimSpaces(text);
  size_t i = 0;
  auto number = [&](int digitsMin, int digitsMax, int& out) {
    int count = 0;
    out = 0;
    while (i < text.size() && count < digitsMax && text[i] >= u'0' && text[i] <= u'9') {
      out = out * 10 + (text[i++] - u'0');
      ++count;
    }
    return count >= digitsMin;
  };
  auto sign = [&](char16_t c) { return i < text.size() && text[i] == c && ++i; };
  serial = 0;
  bool any = false;
  const size_t start = i;
  int day = 0, month = 0, year = 0;
  if (number(1, 2, day) && sign(u'/') && number(1, 2, month) && sign(u'/') && number(4, 4, year)) {
    if (!IsRealDate(year, month, day)) return Status::TypeMismatch();
    serial = SerialOfDate(year, month, day);
    any = true;
    while (i < text.size() && text[i] == u' ') ++i;
  } else {
    i = start;
  }
  if (i < text.size()) {
    int hour = 0, minute = 0, second = 0;
    if (!number(1, 2, hour) || !sign(u':') || !number(2, 2, minute)) return Status::TypeMismatch();
    if (sign(u':') && !number(2, 2, second)) return Status::TypeMismatch();
    if (hour > 23 || minute > 59 || second > 59) return Status::TypeMismatch();
    serial += SerialOfTime(hour, minute, second);
    any = true;
  }
  return any && i == text.size() ? Status::Ok() : Status::TypeMismatch();
}

// Two digits of a part of a date or time.
std::u16string TwoDigits(int n) { return {static_cast<char16_t>(u'0' + n / 10 % 10), static_cast<char16_t>(u'0' + n % 10)}; }

Status ToInteger(const Variant& from, int64_t minimum, int64_t maximum, int64_t& out) {
  if (from.type() == VarType::Str) {
    // "True" is not a number for an integer property.
    std::u16string_view t = TrimSpaces(from.str());
    if (EqualIgnoringCase(t, u"true") || EqualIgnoringCase(t, u"false")) return Status::TypeMismatch();
  }
  double d = 0;
  DELVORIN_TRY(AsDouble(from, d));
  double r = 0;
  if (!RoundHalfEven(d, r) || r < static_cast<double>(minimum) || r > static_cast<double>(maximum))
    return Status::Overflow();
  out = static_cast<int64_t>(r);
  return Status::Ok();
}

}  // namespace

Status ChangeType(const Variant& from, VarType to, Variant& result) {
  if (from.type() == to) {
    result = from;
    return Status::Ok();
  }
  int64_t n = 0;
  switch (to) {
    case VarType::Empty:
      result = Variant();
      return Status::Ok();
    case VarType::I2:
      DELVORIN_TRY(ToInteger(from, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max(), n));
      result = Variant::I2(static_cast<int16_t>(n));
      return Status::Ok();
    case VarType::I4:
      DELVORIN_TRY(ToInteger(from, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), n));
      result = Variant::I4(static_cast<int32_t>(n));
      return Status::Ok();
    case VarType::UI1:
      DELVORIN_TRY(ToInteger(from, 0, 255, n));
      result = Variant::UI1(static_cast<uint8_t>(n));
      return Status::Ok();
    case VarType::Bool: {
      double d = 0;
      DELVORIN_TRY(AsDouble(from, d));
      if (std::isnan(d)) return Status::TypeMismatch();
      result = Variant::Boolean(d != 0);
      return Status::Ok();
    }
    case VarType::R4: {
      double d = 0;
      DELVORIN_TRY(AsDouble(from, d));
      if (std::isfinite(d) && std::fabs(d) > std::numeric_limits<float>::max()) return Status::Overflow();
      result = Variant::R4(static_cast<float>(d));
      return Status::Ok();
    }
    case VarType::R8: {
      double d = 0;
      DELVORIN_TRY(AsDouble(from, d));
      result = Variant::R8(d);
      return Status::Ok();
    }
    case VarType::Str:
      if (from.type() == VarType::Object || from.type() == VarType::Null) return Status::TypeMismatch();
      result = Variant::Str(ToDisplayText(from));
      return Status::Ok();
    case VarType::Object:
      if (from.type() != VarType::Empty) return Status::TypeMismatch();
      result = Variant::Object(nullptr);
      return Status::Ok();
    case VarType::Null: return Status::TypeMismatch();
    case VarType::Currency: {
      if (from.type() == VarType::Str) {
        Moeda m;
        DELVORIN_TRY(ReadMoeda(from.str(), m));
        result = Variant::Currency(m.tenThousandths);
        return Status::Ok();
      }
      double d = 0;
      DELVORIN_TRY(AsDouble(from, d));
      double r = 0;
      // The currency range, ±922 337 203 685 477,5807, in ten-thousandths.
      if (!RoundHalfEven(d * 10000.0, r) || std::fabs(r) >= 9.2233720368547758e18) return Status::Overflow();
      result = Variant::Currency(static_cast<int64_t>(r));
      return Status::Ok();
    }
    case VarType::Date: {
      double d = 0;
      if (from.type() == VarType::Str) DELVORIN_TRY(ReadDate(from.str(), d));
      else DELVORIN_TRY(AsDouble(from, d));
      CivilDate date;
      int hour = 0, minute = 0, second = 0;
      if (!DateOfSerial(d, date, hour, minute, second)) return Status::Overflow();
      result = Variant::Date(d);
      return Status::Ok();
    }
  }
  return Status::TypeMismatch();
}

std::u16string DateText(double serial) {
  CivilDate date;
  int hour = 0, minute = 0, second = 0;
  if (!DateOfSerial(serial, date, hour, minute, second)) return u"";
  std::u16string day = TwoDigits(date.day) + u"/" + TwoDigits(date.month) + u"/" + TwoDigits(date.year / 100) + TwoDigits(date.year);
  std::u16string time = TwoDigits(hour) + u":" + TwoDigits(minute);
  if (second != 0) time += u":" + TwoDigits(second);
  const bool hasTime = hour != 0 || minute != 0 || second != 0;
  if (date.year == 1899 && date.month == 12 && date.day == 30 && hasTime) return time;
  return hasTime ? day + u" " + time : day;
}

std::u16string ToDisplayText(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty: return u"";
    case VarType::I2: return Decimal(v.i2());
    case VarType::I4: return Decimal(v.i4());
    case VarType::UI1: return Decimal(v.ui1());
    case VarType::Bool: return v.boolean() != 0 ? u"True" : u"False";
    case VarType::R4: return GeneralForm(v.r4());
    case VarType::R8: return GeneralForm(v.r8());
    case VarType::Str: return v.str();
    case VarType::Object: return v.object() ? v.object()->Describe() : u"Nothing";
    case VarType::Null: return u"Null";
    case VarType::Currency: return PlainForm(Moeda{v.currency()});
    case VarType::Date: return DateText(v.date());
  }
  return u"";
}

}  // namespace delvorin
