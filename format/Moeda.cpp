// Amounts and numbers in the Brazilian convention: decimal comma, dots between thousands,
// the R$ symbol. Nothing here depends on the machine's locale; doubles go through the exact
// conversions of format/Decimal, the same on every platform.
#include "format/Moeda.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "format/Decimal.h"

namespace delvorin {
namespace {

constexpr uint64_t kMaxPositive = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
constexpr uint64_t kMaxNegative = kMaxPositive + 1;
constexpr int64_t kExponentLimit = 1'000'000'000'000;

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsSpace(char16_t c) { return c == u' '; }

// Decimal digits of an unsigned integer, without any locale.
std::string Decimal(uint64_t n) {
  char buf[24];
  auto end = std::to_chars(buf, buf + sizeof buf, n).ptr;
  return std::string(buf, end);
}

// The parts of an amount or number text: digits only, dots dropped.
struct Parts {
  bool negative = false;
  std::string integer;  // without leading zeros
  std::string fraction;
  int64_t exponent = 0;
};

// Parses the grammar shared by amounts and numbers. Exponents are taken only for numbers.
Status Parse(std::u16string_view t, bool acceptExponent, Parts& p) {
  size_t i = 0;
  const size_t n = t.size();
  auto skipSpaces = [&] {
    while (i < n && IsSpace(t[i])) ++i;
  };
  bool sign = false, symbol = false, parentheses = false;
  auto readSignOrSymbol = [&] {
    for (;;) {
      skipSpaces();
      if (i < n && (t[i] == u'-' || t[i] == u'+')) {
        if (sign) return false;
        sign = true;
        p.negative = t[i] == u'-';
        ++i;
      } else if (i + 1 < n && t[i] == u'R' && t[i + 1] == u'$') {
        if (symbol) return false;
        symbol = true;
        i += 2;
      } else {
        return true;
      }
    }
  };

  skipSpaces();
  if (i < n && t[i] == u'(') {
    parentheses = true;
    ++i;
  }
  if (!readSignOrSymbol()) return Status::TypeMismatch();

  bool anyDigit = false;
  bool leadingZeros = true;
  while (i < n && (IsDigit(t[i]) || t[i] == u'.')) {
    if (t[i] != u'.') {
      anyDigit = true;
      if (!(leadingZeros && t[i] == u'0')) {
        leadingZeros = false;
        p.integer.push_back(static_cast<char>(t[i]));
      }
    }
    ++i;
  }
  if (i < n && t[i] == u',') {
    ++i;
    while (i < n && IsDigit(t[i])) {
      anyDigit = true;
      p.fraction.push_back(static_cast<char>(t[i]));
      ++i;
    }
  }
  if (!anyDigit) return Status::TypeMismatch();
  if (acceptExponent && i < n && (t[i] == u'E' || t[i] == u'e')) {
    ++i;
    bool negativeExponent = false;
    if (i < n && (t[i] == u'+' || t[i] == u'-')) negativeExponent = t[i++] == u'-';
    if (i >= n || !IsDigit(t[i])) return Status::TypeMismatch();
    int64_t e = 0;
    for (; i < n && IsDigit(t[i]); ++i)
      if (e < kExponentLimit) e = e * 10 + (t[i] - u'0');
    p.exponent = negativeExponent ? -e : e;
  }
  if (!readSignOrSymbol()) return Status::TypeMismatch();
  if (parentheses) {
    if (sign || i >= n || t[i] != u')') return Status::TypeMismatch();
    ++i;
    p.negative = true;
    skipSpaces();
  }
  if (i != n) return Status::TypeMismatch();
  return Status::Ok();
}

// A double from decimal parts; Overflow when it does not fit, 0 when it is too small.
Status ToDouble(bool negative, const std::string& integer, const std::string& fraction, int64_t exponent,
                double& value) {
  size_t firstFractionDigit = fraction.find_first_not_of('0');
  if (integer.empty() && firstFractionDigit == std::string::npos) {
    value = negative ? -0.0 : 0.0;
    return Status::Ok();
  }
  double d = 0;
  if (DoubleFromDecimal(integer, fraction, exponent, d) != DoubleParse::Ok) {
    // The magnitude's decimal exponent tells overflow from underflow.
    int64_t order = integer.empty() ? -static_cast<int64_t>(firstFractionDigit) : static_cast<int64_t>(integer.size());
    if (order + exponent > 0) return Status::Overflow();
    value = negative ? -0.0 : 0.0;
    return Status::Ok();
  }
  value = negative ? -d : d;
  return Status::Ok();
}

// The magnitude's digits: integer part without leading zeros ("0" for none) and exactly
// `decimals` decimals, rounded half away from zero (decimals up to 4; more are zeros).
void RoundedDigits(uint64_t magnitude, unsigned decimals, std::string& integer, std::string& fraction) {
  std::string s = Decimal(magnitude);
  if (s.size() < 5) s.insert(0, 5 - s.size(), '0');
  const unsigned exact = decimals < 4 ? decimals : 4;
  const size_t cut = s.size() - 4 + exact;
  bool carry = exact < 4 && s[cut] >= '5';
  s.resize(cut);
  for (size_t k = s.size(); carry && k-- > 0;) {
    if (s[k] == '9') {
      s[k] = '0';
    } else {
      ++s[k];
      carry = false;
    }
  }
  if (carry) s.insert(s.begin(), '1');
  integer = s.substr(0, s.size() - exact);
  fraction = s.substr(s.size() - exact);
  size_t zeros = integer.find_first_not_of('0');
  integer = zeros == std::string::npos ? "0" : integer.substr(zeros);
  if (decimals > exact) fraction.append(decimals - exact, '0');
}

uint64_t Magnitude(Moeda v) {
  return v.tenThousandths < 0 ? 0 - static_cast<uint64_t>(v.tenThousandths) : static_cast<uint64_t>(v.tenThousandths);
}

bool AllZero(const std::string& a, const std::string& b) {
  return a.find_first_not_of('0') == std::string::npos && b.find_first_not_of('0') == std::string::npos;
}

std::u16string Group(const std::string& integer) {
  std::u16string r;
  r.reserve(integer.size() + integer.size() / 3);
  for (size_t k = 0; k < integer.size(); ++k) {
    if (k > 0 && (integer.size() - k) % 3 == 0) r.push_back(u'.');
    r.push_back(static_cast<char16_t>(integer[k]));
  }
  return r;
}

std::u16string U16(const std::string& s) { return std::u16string(s.begin(), s.end()); }

}  // namespace

Status ReadMoeda(std::u16string_view text, Moeda& value) {
  Parts p;
  DELVORIN_TRY(Parse(text, false, p));
  // Leading zeros are already gone: more than 15 integer digits never fit.
  if (p.integer.size() > 15) return Status::Overflow();
  uint64_t m = 0;
  for (char c : p.integer) m = m * 10 + static_cast<uint64_t>(c - '0');
  for (size_t k = 0; k < 4; ++k) m = m * 10 + (k < p.fraction.size() ? static_cast<uint64_t>(p.fraction[k] - '0') : 0);
  // Beyond four decimals the fifth decides: half away from zero on the magnitude.
  if (p.fraction.size() > 4 && p.fraction[4] >= '5') ++m;
  if (m > (p.negative ? kMaxNegative : kMaxPositive)) return Status::Overflow();
  if (!p.negative) {
    value.tenThousandths = static_cast<int64_t>(m);
  } else if (m == kMaxNegative) {
    value.tenThousandths = std::numeric_limits<int64_t>::min();
  } else {
    value.tenThousandths = -static_cast<int64_t>(m);
  }
  return Status::Ok();
}

Status ReadNumber(std::u16string_view text, double& value) {
  Parts p;
  DELVORIN_TRY(Parse(text, true, p));
  return ToDouble(p.negative, p.integer, p.fraction, p.exponent, value);
}

std::u16string MoedaText(Moeda value, unsigned digits, bool parentheses) {
  std::string integer, fraction;
  RoundedDigits(Magnitude(value), digits, integer, fraction);
  const bool negative = value.tenThousandths < 0 && !AllZero(integer, fraction);
  std::u16string r;
  if (negative) r.push_back(parentheses ? u'(' : u'-');
  r.append(u"R$ ").append(Group(integer));
  if (digits > 0) r.append(u",").append(U16(fraction));
  if (negative && parentheses) r.push_back(u')');
  return r;
}

std::u16string MaskedMoedaText(Moeda value, unsigned digits) {
  std::string integer, fraction;
  RoundedDigits(Magnitude(value), digits < 5 ? digits : 5, integer, fraction);
  std::u16string r;
  if (value.tenThousandths < 0 && !AllZero(integer, fraction)) r.push_back(u'-');
  r.append(Group(integer)).append(u",").append(U16(fraction));
  return r;
}

std::u16string PlainForm(Moeda value) {
  std::string integer, fraction;
  RoundedDigits(Magnitude(value), 4, integer, fraction);
  fraction.erase(fraction.find_last_not_of('0') + 1);
  std::u16string r;
  if (value.tenThousandths < 0) r.push_back(u'-');
  r.append(U16(integer));
  if (!fraction.empty()) r.append(u",").append(U16(fraction));
  return r;
}

std::u16string GeneralForm(double value) {
  // NaN cannot come from a reading either; it shows as zero, like -0.0.
  if (std::isnan(value) || value == 0) return u"0";
  // Infinity cannot come from a reading; show it as the largest double, which reads back.
  if (std::isinf(value)) value = std::copysign(std::numeric_limits<double>::max(), value);
  // 15 significant digits, rounded from the exact binary value to nearest, ties to even.
  constexpr int kDigits = 15;
  char buf[kDigits];
  const int exponent = SignificantDigits(value, kDigits, buf);
  std::string digits(buf, kDigits);
  // The largest doubles would round to a text above the largest double, which could not be
  // read back: they are cut to the last 15-digit value that fits.
  constexpr std::string_view kLargestThatFits = "179769313486231";
  if (exponent == 308 && digits > kLargestThatFits) digits = kLargestThatFits;
  digits.erase(digits.find_last_not_of('0') + 1);

  std::string r;
  if (value < 0) r.push_back('-');
  if (exponent >= -5 && exponent <= 14) {
    if (exponent >= 0) {
      const size_t integerDigits = static_cast<size_t>(exponent) + 1;
      if (digits.size() <= integerDigits) {
        r.append(digits).append(integerDigits - digits.size(), '0');
      } else {
        r.append(digits, 0, integerDigits).append(",").append(digits, integerDigits);
      }
    } else {
      r.append("0,").append(static_cast<size_t>(-exponent - 1), '0').append(digits);
    }
  } else {
    r.append(digits, 0, 1);
    if (digits.size() > 1) r.append(",").append(digits, 1);
    r.append(exponent < 0 ? "E-" : "E+");
    const int absolute = exponent < 0 ? -exponent : exponent;
    if (absolute < 10) r.push_back('0');
    r.append(Decimal(static_cast<uint64_t>(absolute)));
  }
  return U16(r);
}

namespace {

// Scans the leading number. Calls `digit` for each mantissa digit (and '.'), returns the
// sign and the exponent read. Spaces (U+0020 only, as everywhere else in the engine) are
// skipped anywhere after the leading ones, the exponent included, as BASIC's Val does; an E
// without digits after it is where reading stops.
template <typename F>
void ScanLeadingNumber(std::u16string_view t, bool& negative, int64_t& exponent, F&& digit) {
  size_t i = 0;
  const size_t n = t.size();
  negative = false;
  exponent = 0;
  while (i < n && IsSpace(t[i])) ++i;
  if (i < n && (t[i] == u'+' || t[i] == u'-')) negative = t[i++] == u'-';
  bool point = false, any = false;
  for (; i < n; ++i) {
    if (IsDigit(t[i])) {
      any = true;
      digit(static_cast<char>(t[i]));
    } else if (t[i] == u'.' && !point) {
      point = true;
      digit('.');
    } else if (!IsSpace(t[i])) {
      break;
    }
  }
  if (!any || i >= n || (t[i] != u'E' && t[i] != u'e')) return;
  size_t j = i + 1;
  while (j < n && IsSpace(t[j])) ++j;
  bool negativeExponent = false;
  if (j < n && (t[j] == u'+' || t[j] == u'-')) negativeExponent = t[j++] == u'-';
  int64_t e = 0;
  bool anyExponentDigit = false;
  for (; j < n; ++j) {
    if (IsDigit(t[j])) {
      anyExponentDigit = true;
      if (e < kExponentLimit) e = e * 10 + (t[j] - u'0');
    } else if (!IsSpace(t[j])) {
      break;
    }
  }
  if (anyExponentDigit) exponent = negativeExponent ? -e : e;
}

}  // namespace

Status LeadingNumber(std::u16string_view text, double& value) {
  bool negative = false;
  int64_t exponent = 0;
  std::string integer, fraction;
  bool inFraction = false, leadingZeros = true;
  ScanLeadingNumber(text, negative, exponent, [&](char c) {
    if (c == '.') {
      inFraction = true;
    } else if (inFraction) {
      fraction.push_back(c);
    } else if (!(leadingZeros && c == '0')) {
      leadingZeros = false;
      integer.push_back(c);
    }
  });
  return ToDouble(negative, integer, fraction, exponent, value);
}

int LeadingNumberSign(std::u16string_view text) {
  bool negative = false, nonZero = false;
  int64_t exponent = 0;
  ScanLeadingNumber(text, negative, exponent, [&](char c) {
    if (c >= '1' && c <= '9') nonZero = true;
  });
  if (!nonZero) return 0;
  return negative ? -1 : 1;
}

}  // namespace delvorin
