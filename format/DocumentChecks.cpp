// Checks of the registration form's fields. The length is checked before anything is read, so
// a text of any size costs no more than the longest field (48 characters); the digits go into
// small local arrays, and every sum fits the integer it is made in.
#include "format/DocumentChecks.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace delvorin {
namespace {

constexpr bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
constexpr bool IsCapital(char16_t c) { return c >= u'A' && c <= u'Z'; }

// The values of the n characters of t into d; false unless t is n digits.
bool ReadDigits(std::u16string_view t, int* d, size_t n) {
  if (t.size() != n) return false;
  for (size_t i = 0; i < n; ++i) {
    if (!IsDigit(t[i])) return false;
    d[i] = t[i] - u'0';
  }
  return true;
}

template <size_t N>
bool ReadDigits(std::u16string_view t, int (&d)[N]) {
  return ReadDigits(t, d, N);
}

template <size_t N>
bool AllEqual(const int (&d)[N]) {
  for (size_t i = 1; i < N; ++i)
    if (d[i] != d[0]) return false;
  return true;
}

// ---- Telephone -------------------------------------------------------------------------------

// Area codes in use (ANATEL's numbering plan): for each tens digit, a bit per units digit.
constexpr uint16_t Units(std::initializer_list<int> units) {
  uint16_t m = 0;
  for (int u : units) m = static_cast<uint16_t>(m | 1u << u);
  return m;
}
constexpr uint16_t kAreaCodes[10] = {
    0,
    Units({1, 2, 3, 4, 5, 6, 7, 8, 9}),  // 11-19
    Units({1, 2, 4, 7, 8}),              // 21, 22, 24, 27, 28
    Units({1, 2, 3, 4, 5, 7, 8}),        // 31-35, 37, 38
    Units({1, 2, 3, 4, 5, 6, 7, 8, 9}),  // 41-49
    Units({1, 3, 4, 5}),                 // 51, 53-55
    Units({1, 2, 3, 4, 5, 6, 7, 8, 9}),  // 61-69
    Units({1, 3, 4, 5, 7, 9}),           // 71, 73-75, 77, 79
    Units({1, 2, 3, 4, 5, 6, 7, 8, 9}),  // 81-89
    Units({1, 2, 3, 4, 5, 6, 7, 8, 9}),  // 91-99
};

// ---- Modulus 10 and 11 of FEBRABAN -----------------------------------------------------------
// Modulus 10: weights 2, 1, 2, ... from the rightmost digit, the digits of each product added;
// the check digit is 10 minus the remainder, 10 giving 0. Modulus 11: weights 2 to 9 repeating
// from the rightmost digit. A slip's weights depend only on the position in its line, so they
// are tables over the line computed from the layout (weight 0 outside a sum), and one pass over
// the line without branches, which the compiler vectorises, makes every sum of the slip.

using LineDigits = std::array<int16_t, 48>;  // a line's digit values, zero beyond its length
using Weights = std::array<int16_t, 48>;     // a weight per line position
using Mask = std::array<int16_t, 48>;        // -1 at the positions of a group, 0 elsewhere

// A slip's sums: one per group of positions (the bank slip's fields, the collection slip's
// blocks), each position in at most one group, and the general sum over the barcode's digits.
struct SlipLayout {
  Weights group10{}, group11{}, general10{}, general11{};
  Mask groups[4]{};
};

struct SlipSums {
  int group[4];
  int general;
};

constexpr int16_t Mod10Weight(int fromRight) { return fromRight % 2 == 0 ? 2 : 1; }
constexpr int16_t Mod11Weight(int fromRight) { return static_cast<int16_t>(2 + fromRight % 8); }

// The digit times its weight; by modulus 10 the digits of that product (at most 18) added.
template <int Modulus>
int16_t Term(int16_t digit, int16_t weight) {
  const auto p = static_cast<int16_t>(digit * weight);
  if constexpr (Modulus == 10) return static_cast<int16_t>(p > 9 ? p - 9 : p);
  return p;
}

// 16-bit sums (at most 48 x 81), eight positions a vector.
template <int GroupModulus, int GeneralModulus>
SlipSums SumLine(const LineDigits& d, const SlipLayout& layout) {
  const Weights& gw = GroupModulus == 10 ? layout.group10 : layout.group11;
  const Weights& w = GeneralModulus == 10 ? layout.general10 : layout.general11;
  int16_t g0 = 0, g1 = 0, g2 = 0, g3 = 0, general = 0;
  for (size_t i = 0; i < 48; ++i) {
    const int16_t t = Term<GroupModulus>(d[i], gw[i]);
    g0 = static_cast<int16_t>(g0 + (t & layout.groups[0][i]));
    g1 = static_cast<int16_t>(g1 + (t & layout.groups[1][i]));
    g2 = static_cast<int16_t>(g2 + (t & layout.groups[2][i]));
    g3 = static_cast<int16_t>(g3 + (t & layout.groups[3][i]));
    general = static_cast<int16_t>(general + Term<GeneralModulus>(d[i], w[i]));
  }
  return {{g0, g1, g2, g3}, general};
}

// The digit values of t (44, 47 or 48 characters) into d, zero beyond; false when t holds
// anything else. Once inlined where d is a local array, the first 40 characters go through a
// fixed-size loop the compiler vectorises.
inline bool ReadLine(std::u16string_view t, LineDigits& d) {
  uint16_t bad = 0;
  for (size_t i = 0; i < 40; ++i) {
    const auto v = static_cast<uint16_t>(t[i] - u'0');
    bad = static_cast<uint16_t>(bad | (v > 9));
    d[i] = static_cast<int16_t>(v);
  }
  for (size_t i = 40; i < 48; ++i) {
    const auto v = static_cast<uint16_t>(i < t.size() ? t[i] - u'0' : 0);
    bad = static_cast<uint16_t>(bad | (v > 9));
    d[i] = static_cast<int16_t>(v);
  }
  return bad == 0;
}

constexpr int Mod10Digit(int sum) { return (10 - sum % 10) % 10; }

// ---- Bank slip -------------------------------------------------------------------------------
// Barcode: bank (3), currency (1), general check digit (1), due-date factor (4), amount (10),
// free field (25). Line: bank, currency and free field 1-5 | check; free field 6-15 | check;
// free field 16-25 | check; the general check digit; factor and amount.

// Runs of digits copied between the line and the barcode: first position in each, length.
struct Run {
  uint8_t line, code, length;
};
constexpr Run kBankRuns[] = {{0, 0, 4}, {4, 19, 5}, {10, 24, 10}, {21, 34, 10}, {32, 4, 1}, {33, 5, 14}};
// The three fields closed by a modulus-10 digit: first position in the line, length.
struct Field {
  uint8_t start, length;
};
constexpr Field kBankFields[] = {{0, 9}, {10, 10}, {21, 10}};
constexpr size_t kBankGeneral = 32;  // the general check digit's place in the line

// The fields by modulus 10; the general sum by modulus 11 over the barcode's 43 digits other
// than its position 4.
constexpr SlipLayout kBankLayout = [] {
  SlipLayout l;
  for (int f = 0; f < 3; ++f)
    for (int k = 0; k < kBankFields[f].length; ++k) {
      l.group10[kBankFields[f].start + k] = Mod10Weight(kBankFields[f].length - 1 - k);
      l.groups[f][kBankFields[f].start + k] = -1;
    }
  for (const Run& r : kBankRuns)
    for (int k = 0; k < r.length; ++k) {
      const int code = r.code + k;
      if (code != 4) l.general11[r.line + k] = Mod11Weight(code > 4 ? 43 - code : 42 - code);
    }
  return l;
}();

SlipSums SumBankLine(const LineDigits& d) { return SumLine<10, 11>(d, kBankLayout); }

// The general check digit: 11 minus the remainder, where that gives 0, 10 or 11 the digit is 1
// (FEBRABAN's bank-slip rule).
constexpr int BankGeneralDigit(int sum) { return sum % 11 <= 1 ? 1 : 11 - sum % 11; }

// Only the check digits are checked: any bank code, currency digit, due-date factor and amount
// may stand in a slip (a factor and amount of zeros make a slip without them).
bool ValidaBoletoBancario(std::u16string_view t) {
  LineDigits d;
  if (!ReadLine(t, d)) return false;
  const SlipSums s = SumBankLine(d);
  for (int f = 0; f < 3; ++f)
    if (d[kBankFields[f].start + kBankFields[f].length] != Mod10Digit(s.group[f])) return false;
  return d[kBankGeneral] == BankGeneralDigit(s.general);
}

// ---- Collection slip -------------------------------------------------------------------------
// Barcode: 8, segment, value identifier, general check digit, value (11), company and free
// field (29). Line: the barcode in four blocks of 11 digits, each followed by its check digit.

// The blocks, and the general sum over the barcode's digits other than its position 3 (the
// general check digit), by either modulus.
constexpr SlipLayout kCollectionLayout = [] {
  SlipLayout l;
  for (int b = 0; b < 4; ++b)
    for (int k = 0; k < 11; ++k) {
      const int i = 12 * b + k;
      l.group10[i] = Mod10Weight(10 - k);
      l.group11[i] = Mod11Weight(10 - k);
      l.groups[b][i] = -1;
      const int code = 11 * b + k;
      if (code == 3) continue;
      const int fromRight = code > 3 ? 43 - code : 42 - code;
      l.general10[i] = Mod10Weight(fromRight);
      l.general11[i] = Mod11Weight(fromRight);
    }
  return l;
}();

// The modulus named by the value identifier (third digit): 6 and 7 modulus 10, 8 and 9
// modulus 11; 0 for any other digit, which names no modulus. It closes the blocks as well as
// the barcode (the layout's numeric representation by modulus 11), though some validators
// close the blocks by modulus 10 always.
constexpr int CollectionModulus(char16_t identifier) {
  if (identifier == u'6' || identifier == u'7') return 10;
  if (identifier == u'8' || identifier == u'9') return 11;
  return 0;
}

SlipSums SumCollectionLine(const LineDigits& d, int modulus) {
  return modulus == 10 ? SumLine<10, 10>(d, kCollectionLayout) : SumLine<11, 11>(d, kCollectionLayout);
}

// A check digit of a collection slip from its sum: by modulus 10 as for the bank slip; by
// modulus 11, 11 minus the remainder, remainders 0 and 1 giving 0 (FEBRABAN's collection
// layout; the bank slip's "1" does not apply here, whatever some validators do).
constexpr int CollectionDigit(int modulus, int sum) {
  if (modulus == 10) return Mod10Digit(sum);
  return sum % 11 <= 1 ? 0 : 11 - sum % 11;
}

// Segments of the collection layout: 1 to 7 and 9 (the bank's own use); 0 and 8 are not
// assigned.
constexpr bool SegmentAssigned(char16_t segment) { return segment >= u'1' && segment <= u'9' && segment != u'8'; }

bool ValidaBoletoArrecadacao(std::u16string_view t) {
  const int modulus = CollectionModulus(t[2]);
  LineDigits d;
  if (t[0] != u'8' || !SegmentAssigned(t[1]) || modulus == 0 || !ReadLine(t, d)) return false;
  const SlipSums s = SumCollectionLine(d, modulus);
  for (int b = 0; b < 4; ++b)
    if (d[12 * b + 11] != CollectionDigit(modulus, s.group[b])) return false;
  return d[3] == CollectionDigit(modulus, s.general);
}

}  // namespace

bool ValidaTelefone(std::u16string_view t) {
  int d[11];
  if (!ReadDigits(t, d, t.size() == 10 ? 10 : 11)) return false;
  // Non-geographic services: 0300, 0500, 0800, 0900 and a 7-digit number.
  if (t.size() == 11 && d[0] == 0 && (d[1] == 3 || d[1] == 5 || d[1] == 8 || d[1] == 9) && d[2] == 0 && d[3] == 0)
    return true;
  if ((kAreaCodes[d[0]] >> d[1] & 1) == 0) return false;
  return t.size() == 10 ? d[2] >= 2 && d[2] <= 5 : d[2] == 9;
}

bool ValidaData(std::u16string_view t, int& day, int& month, int& year) {
  int d[8];
  if (!ReadDigits(t, d)) return false;
  const int dd = d[0] * 10 + d[1];
  const int mm = d[2] * 10 + d[3];
  const int yyyy = d[4] * 1000 + d[5] * 100 + d[6] * 10 + d[7];
  // 1753, the first whole Gregorian year in Britain and its colonies, is the lower bound of
  // common date types (SQL Server's datetime among them).
  if (yyyy < 1753 || mm < 1 || mm > 12 || dd < 1) return false;
  constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = yyyy % 4 == 0 && (yyyy % 100 != 0 || yyyy % 400 == 0);
  if (dd > kDays[mm - 1] + (mm == 2 && leap ? 1 : 0)) return false;
  day = dd;
  month = mm;
  year = yyyy;
  return true;
}

bool ValidaHora(std::u16string_view t, int& hour, int& minute) {
  int d[4];
  if (!ReadDigits(t, d)) return false;
  const int hh = d[0] * 10 + d[1];
  const int mi = d[2] * 10 + d[3];
  if (hh > 23 || mi > 59) return false;
  hour = hh;
  minute = mi;
  return true;
}

bool ValidaPlaca(std::u16string_view t) {
  return t.size() == 7 && IsCapital(t[0]) && IsCapital(t[1]) && IsCapital(t[2]) && IsDigit(t[3]) &&
         (IsCapital(t[4]) || IsDigit(t[4])) && IsDigit(t[5]) && IsDigit(t[6]);
}

bool ValidaTituloEleitor(std::u16string_view t) {
  int d[12];
  if (!ReadDigits(t, d)) return false;
  const int state = d[8] * 10 + d[9];
  if (state < 1 || state > 28) return false;
  // Each check digit is the remainder by 11, 10 giving 0. In SP (01) and MG (02) a remainder
  // of 0 gives 1 by most published statements of the rule and 0 by others; since sources
  // disagree, both digits are accepted there.
  auto matches = [state](int written, int remainder) {
    if (remainder == 0 && state <= 2) return written <= 1;
    return written == (remainder == 10 ? 0 : remainder);
  };
  int s1 = 0;
  for (int i = 0; i < 8; ++i) s1 += d[i] * (i + 2);
  // The second digit covers the state code and the first check digit as written.
  const int s2 = d[8] * 7 + d[9] * 8 + d[10] * 9;
  return matches(d[10], s1 % 11) && matches(d[11], s2 % 11);
}

bool ValidaCnh(std::u16string_view t) {
  int d[11];
  if (!ReadDigits(t, d) || AllEqual(d)) return false;
  // 11 minus the remainder, 10 and 11 giving 0: the first over the base weighted 2 to 10 from
  // the left, the second over the base weighted 3 to 11 and the first check digit weighted 2.
  // This is the widespread rule (base weighted 9 to 1, then 1 to 9 less 2 when the first
  // remainder was 10) written without its correction term; validators that drop the correction
  // accept other numbers (98765432100) and are not followed.
  auto digit = [](int sum) {
    const int c = 11 - sum % 11;
    return c >= 10 ? 0 : c;
  };
  int s1 = 0, s2 = 0;
  for (int i = 0; i < 9; ++i) {
    s1 += d[i] * (i + 2);
    s2 += d[i] * (i + 3);
  }
  const int dv1 = digit(s1);
  return d[9] == dv1 && d[10] == digit(s2 + 2 * dv1);
}

bool ValidaRenavam(std::u16string_view t) {
  int d[11] = {};
  if (t.size() == 9 ? !ReadDigits(t, d + 2, 9) : !ReadDigits(t, d)) return false;
  if (AllEqual(d)) return false;
  constexpr int kWeights[10] = {3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
  int s = 0;
  for (int i = 0; i < 10; ++i) s += d[i] * kWeights[i];
  const int r = s * 10 % 11;
  return d[10] == (r == 10 ? 0 : r);
}

bool ValidaBoleto(std::u16string_view t) {
  if (t.size() == 47) return ValidaBoletoBancario(t);
  if (t.size() == 48) return ValidaBoletoArrecadacao(t);
  return false;
}

std::u16string LinhaDigitavel(std::u16string_view barcode) {
  LineDigits code;
  if (barcode.size() != 44 || !ReadLine(barcode, code)) return {};
  // The line's digits with its check digits left 0 (no sum covers them), then those computed.
  LineDigits d{};
  size_t length;
  if (code[0] == 8) {  // 8 identifies the collection product; a bank slip starts with its bank code
    const int modulus = CollectionModulus(barcode[2]);
    if (modulus == 0) return {};
    length = 48;
    for (size_t i = 0; i < 44; ++i) d[i / 11 * 12 + i % 11] = code[i];
    const SlipSums s = SumCollectionLine(d, modulus);
    for (int b = 0; b < 4; ++b) d[12 * b + 11] = static_cast<int16_t>(CollectionDigit(modulus, s.group[b]));
  } else {
    length = 47;
    for (const Run& r : kBankRuns)
      for (int k = 0; k < r.length; ++k) d[r.line + k] = code[r.code + k];
    const SlipSums s = SumBankLine(d);
    for (int f = 0; f < 3; ++f)
      d[kBankFields[f].start + kBankFields[f].length] = static_cast<int16_t>(Mod10Digit(s.group[f]));
  }
  std::u16string line(length, u'0');
  for (size_t i = 0; i < length; ++i) line[i] = static_cast<char16_t>(u'0' + d[i]);
  return line;
}

bool ValidaProcessoJudicial(std::u16string_view t) {
  int d[20];
  if (!ReadDigits(t, d) || d[13] == 0) return false;
  // ISO 7064 MOD 97-10: NNNNNNN AAAA J TR OOOO followed by 00, remainder by 97, taken from 98.
  // Of the codes, only the branch J has a range to check; year, court and origin are free.
  // The 18 digits fit 64 bits; the number and the rest are read apart, then joined.
  uint64_t number = 0, rest = 0;
  for (int i = 0; i < 7; ++i) number = number * 10 + static_cast<uint64_t>(d[i]);
  for (int i = 9; i < 20; ++i) rest = rest * 10 + static_cast<uint64_t>(d[i]);
  const uint64_t r = (number * 100'000'000'000u + rest) % 97 * 100 % 97;
  return d[7] * 10 + d[8] == 98 - static_cast<int>(r);
}

}  // namespace delvorin
