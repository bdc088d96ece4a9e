// Check digits of Brazilian documents and the Luhn check of card numbers. The text is read
// in place: the cleaned text (separators dropped) goes into a small local array, and a text
// with more characters than the document holds is rejected as soon as the excess shows, so
// nothing allocates and a long text costs no more than its first few non-separators.
#include "format/Validators.h"

#include <cstddef>
#include <cstdint>

namespace delvorin {
namespace {

// Spaces (U+0020) removed at both ends; other blanks are kept.
constexpr std::u16string_view Trim(std::u16string_view t) {
  while (!t.empty() && t.front() == u' ') t.remove_prefix(1);
  while (!t.empty() && t.back() == u' ') t.remove_suffix(1);
  return t;
}

// The cleaned text of a document: its characters other than the separators, at most N.
template <size_t N>
struct Cleaned {
  char16_t c[N];
  size_t n = 0;
  // Digit value of the 0-based position k; any other character counts as 0.
  int d(size_t k) const { return c[k] >= u'0' && c[k] <= u'9' ? c[k] - u'0' : 0; }
};

// Fills `l` with the characters of `t` for which `isSeparator` is false. False when more than N
// remain: no document of this kind can be valid then.
template <size_t N, typename IsSeparator>
bool Clean(std::u16string_view t, IsSeparator isSeparator, Cleaned<N>& l) {
  for (char16_t c : t) {
    if (isSeparator(c)) continue;
    if (l.n == N) return false;
    l.c[l.n++] = c;
  }
  return true;
}

// Sign (-1, 0 or 1) of the leading number of a cleaned text: leading spaces, an optional '+'
// or '-', then digits with spaces between them, one optional '.' and more digits; the number
// stops at the first other character. Only whether a digit read is nonzero matters. (The
// validators drop dots as separators, so the decimal point never reaches it from them.)
int Sign(const char16_t* t, size_t n) {
  size_t i = 0;
  while (i < n && t[i] == u' ') ++i;
  bool negative = false;
  if (i < n && (t[i] == u'+' || t[i] == u'-')) negative = t[i++] == u'-';
  bool point = false;
  for (; i < n; ++i) {
    if (t[i] >= u'1' && t[i] <= u'9') return negative ? -1 : 1;
    if (t[i] == u'0' || t[i] == u' ') continue;
    if (t[i] == u'.' && !point) {
      point = true;
      continue;
    }
    break;
  }
  return 0;
}

// Modulus-11 check digit of the CNPJ and the PIS: remainders 0 and 1 give 0.
constexpr int Mod11CheckDigit(int sum) {
  const int r = sum % 11;
  return r > 1 ? 11 - r : 0;
}

// Modulus-11 check digit of the CPF: 11 - remainder, with 10 and 11 giving 0 (the same
// digit as Mod11CheckDigit, written the way the CPF rule states it).
constexpr int CpfCheckDigit(int sum) {
  const int c = 11 - sum % 11;
  return c >= 10 ? 0 : c;
}

// The two check digits of a 14-position CNPJ whose position k (0-based) has the value
// value(k): weights 2..9 repeating from the right; the second sum covers the first digit.
template <typename Value>
bool CnpjCheckDigitsMatch(Value value) {
  constexpr int kWeights[13] = {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
  int s1 = 0, s2 = 0;
  for (int k = 0; k < 12; ++k) s1 += value(k) * kWeights[k + 1];
  for (int k = 0; k < 13; ++k) s2 += value(k) * kWeights[k];
  return value(12) == Mod11CheckDigit(s1) && value(13) == Mod11CheckDigit(s2);
}

}  // namespace

bool ValidaCpf(std::u16string_view text) {
  // The hot path of every CPF field: one pass, digits kept as values, sums unrolled.
  text = Trim(text);
  uint32_t d[11];
  unsigned n = 0;
  for (char16_t c : text) {
    if (c == u'.' || c == u'-') continue;
    if (n == 11) return false;
    const uint32_t v = static_cast<uint32_t>(c) - u'0';
    d[n++] = v < 10 ? v : 0;  // any other character counts as 0
  }
  if (n != 11) return false;
  // First check digit: weights 10 down to 2 over the base; second: 11 down to 2 over the
  // base and the first check digit as written.
  const uint32_t s1 = 10 * d[0] + 9 * d[1] + 8 * d[2] + 7 * d[3] + 6 * d[4] + 5 * d[5] + 4 * d[6] + 3 * d[7] + 2 * d[8];
  const uint32_t s2 =
      11 * d[0] + 10 * d[1] + 9 * d[2] + 8 * d[3] + 7 * d[4] + 6 * d[5] + 5 * d[6] + 4 * d[7] + 3 * d[8] + 2 * d[9];
  return d[9] == static_cast<uint32_t>(CpfCheckDigit(static_cast<int>(s1))) &&
         d[10] == static_cast<uint32_t>(CpfCheckDigit(static_cast<int>(s2)));
}

namespace {

bool IsCnpjSeparator(char16_t c) { return c == u'.' || c == u'-' || c == u'/'; }

// The numeric rule on a cleaned CNPJ text: 14 digits, or the 8-digit root.
bool CheckNumericCnpj(const Cleaned<14>& l) {
  if ((l.n != 8 && l.n != 14) || Sign(l.c, l.n) <= 0) return false;
  if (l.n == 8) {
    // A CNPJ root: modulus 10, odd positions doubled, two-digit products summed digit by digit.
    int s = 0;
    for (int k = 0; k < 7; ++k) {
      const int v = l.d(k) * (k % 2 == 0 ? 2 : 1);
      s += v <= 9 ? v : v / 10 + v % 10;
    }
    return l.d(7) == (s % 10 == 0 ? 0 : 10 - s % 10);
  }
  return CnpjCheckDigitsMatch([&](int k) { return l.d(static_cast<size_t>(k)); });
}

}  // namespace

bool ValidaCnpj(std::u16string_view text) {
  Cleaned<14> l;
  return Clean(Trim(text), IsCnpjSeparator, l) && CheckNumericCnpj(l);
}

bool ValidaCnpjAlfanumerico(std::u16string_view text) {
  Cleaned<14> l;
  if (!Clean(Trim(text), IsCnpjSeparator, l)) return false;
  auto isLetter = [](char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); };
  bool hasLetter = false;
  for (size_t k = 0; k < l.n; ++k) hasLetter = hasLetter || isLetter(l.c[k]);
  if (!hasLetter) return CheckNumericCnpj(l);
  if (l.n != 14) return false;
  int v[14];
  for (size_t k = 0; k < 14; ++k) {
    const char16_t c = l.c[k];
    const bool isDigit = c >= u'0' && c <= u'9';
    // Capital letters only in the base; the check positions hold digits.
    if (!isDigit && !(k < 12 && c >= u'A' && c <= u'Z')) return false;
    v[k] = c - u'0';
  }
  // A base of twelve zeros holds no letter, so the numeric check above already refused it.
  return CnpjCheckDigitsMatch([&](int k) { return v[k]; });
}

bool ValidaPis(std::u16string_view text) {
  Cleaned<11> l;
  // Only dots are separators: a dash stays and counts in the length.
  if (!Clean(Trim(text), [](char16_t c) { return c == u'.'; }, l) || l.n != 11 || Sign(l.c, l.n) == 0) return false;
  constexpr int kWeights[10] = {3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
  int s = 0;
  for (int k = 0; k < 10; ++k) s += l.d(k) * kWeights[k];
  return l.d(10) == Mod11CheckDigit(s);
}

CardResult ValidaCartao(std::u16string_view text) {
  // Digit sum of twice each digit.
  constexpr unsigned kDoubled[10] = {0, 2, 4, 6, 8, 1, 3, 5, 7, 9};
  unsigned sum = 0;      // kept below 10, so any length is fine
  bool doubled = false;  // from the right: the last digit as it is, the one before doubled
  for (size_t i = text.size(); i-- > 0;) {
    const char16_t ch = text[i];
    if (ch == u'.') continue;
    if (ch < u'0' || ch > u'9') return CardResult::NotNumeric;
    const unsigned d = ch - u'0';
    sum += doubled ? kDoubled[d] : d;
    if (sum >= 10) sum -= 10;
    doubled = !doubled;
  }
  return sum == 0 ? CardResult::Valid : CardResult::Invalid;
}

}  // namespace delvorin
