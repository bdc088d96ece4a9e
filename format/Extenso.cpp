// An amount of money in Portuguese words. The amount is split into six groups of three
// digits (trillions, billions, millions, thousands, reais, centavos); each group is written
// in words followed by its scale word, and the groups are joined with ", ", " DE REAIS",
// " REAIS" and " E " as Brazilian cheques write them.
//
// The words of a group come from a table of 37 entries (a three-digit key, the word and one
// space). A direct index from number to entry replaces searching the table, and the text is
// written into a fixed local buffer whose size is proved at compile time, so an amount costs
// one string construction and no search.
#include "format/Extenso.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace delvorin {
namespace {

// Key, word, one space. The last entry, "000", has a single space as its word.
constexpr std::array<std::u16string_view, 37> kTable{
    u"001UM ",           u"002DOIS ",        u"003TRES ",        u"004QUATRO ",     u"005CINCO ",
    u"006SEIS ",         u"007SETE ",        u"008OITO ",        u"009NOVE ",       u"010DEZ ",
    u"011ONZE ",         u"012DOZE ",        u"013TREZE ",       u"014QUATORZE ",   u"015QUINZE ",
    u"016DEZESSEIS ",    u"017DEZESSETE ",   u"018DEZOITO ",     u"019DEZENOVE ",   u"020VINTE ",
    u"030TRINTA ",       u"040QUARENTA ",    u"050CINQUENTA ",   u"060SESSENTA ",   u"070SETENTA ",
    u"080OITENTA ",      u"090NOVENTA ",     u"100CEM ",         u"200DUZENTOS ",   u"300TREZENTOS ",
    u"400QUATROCENTOS ", u"500QUINHENTOS ",  u"600SEISCENTOS ",  u"700SETECENTOS ", u"800OITOCENTOS ",
    u"900NOVECENTOS ",   u"000 ",
};

// For each number 0..999: 1 + the index of its entry, or 0 when the number is no key.
constexpr std::array<uint8_t, 1000> kIndex = [] {
  std::array<uint8_t, 1000> r{};
  for (size_t i = 0; i < kTable.size(); ++i) {
    const std::u16string_view e = kTable[i];
    r[static_cast<size_t>((e[0] - u'0') * 100 + (e[1] - u'0') * 10 + (e[2] - u'0'))] = static_cast<uint8_t>(i + 1);
  }
  return r;
}();

constexpr bool IsKey(int k) { return kIndex[static_cast<size_t>(k)] != 0; }

// The word part, trailing space included, of the entry with key k (k must be a key).
constexpr std::u16string_view Word(int k) { return kTable[kIndex[static_cast<size_t>(k)] - 1u].substr(3); }

// Scale words of the six groups, singular and plural.
constexpr std::array<std::u16string_view, 6> kSingular{u"TRILHAO", u"BILHAO", u"MILHAO", u"MIL", u"REAL", u"CENTAVO"};
constexpr std::array<std::u16string_view, 6> kPlural{u"TRILHOES", u"BILHOES", u"MILHOES", u"MIL", u"REAIS", u"CENTAVOS"};

// A text written into a fixed array; the callers size it from compile-time maxima.
template <size_t N>
struct Writer {
  char16_t c[N];
  size_t n = 0;
  constexpr void Put(std::u16string_view s) {
    for (char16_t x : s) c[n++] = x;
  }
  std::u16string Text() const { return std::u16string(c, n); }
};

// The word of key k followed by "E ", where "CEM E " is said "CENTO E ".
template <size_t N>
constexpr void PutWithE(Writer<N>& r, int k) {
  if (k == 100) {
    r.Put(u"CENTO E ");
  } else {
    r.Put(Word(k));
    r.Put(u"E ");
  }
}

// Words of a group 0..999, each followed by one space; " " for 0.
template <size_t N>
constexpr void PutGroup(Writer<N>& r, int n) {
  if (IsKey(n)) return r.Put(Word(n));  // 0, 1..20, round tens, round hundreds
  const int c = n / 100, d = n / 10 % 10, u = n % 10;
  if (IsKey(n - u)) {  // a round ten or hundred and units: VINTE E UM, CENTO E UM
    PutWithE(r, n - u);
    return r.Put(Word(u));
  }
  PutWithE(r, c * 100);  // hundreds and a nonzero tens digit
  if (IsKey(d * 10 + u)) return r.Put(Word(d * 10 + u));  // CENTO E QUINZE, CENTO E VINTE
  PutWithE(r, d * 10);
  r.Put(Word(u));
}

constexpr size_t kLongestGroup = [] {
  size_t m = 0;
  for (int n = 0; n < 1000; ++n) {
    Writer<64> e;
    PutGroup(e, n);
    if (e.n > m) m = e.n;
  }
  return m;
}();

constexpr size_t kLongestScale = [] {
  size_t m = 0;
  for (std::u16string_view s : kPlural) m = s.size() > m ? s.size() : m;
  for (std::u16string_view s : kSingular) m = s.size() > m ? s.size() : m;
  return m;
}();

// Six groups with their scale words, four ", " between the first five, " DE REAIS" and " E ".
constexpr size_t kLongestExtenso = 6 * (kLongestGroup + kLongestScale) + 4 * 2 + 9 + 3;

}  // namespace

std::u16string ExtensoCentena(std::u16string_view group) {
  if (group.size() != 3) return {};
  int n = 0;
  for (char16_t c : group) {
    if (c < u'0' || c > u'9') return {};
    n = n * 10 + (c - u'0');
  }
  Writer<kLongestGroup> r;
  PutGroup(r, n);
  return r.Text();
}

// Replacing the first occurrence and searching again from the start is done in one stream:
// the text is read character by character into the result, with the state of a
// Knuth-Morris-Pratt matcher kept for every character written. The first time the result
// ends with search, that occurrence is the leftmost one of the whole text (none lies wholly in
// what was written before), so it is removed and replacement is read next, ahead of the rest of the
// text; the matcher resumes from the state saved before the occurrence, which is exactly where
// a search from the start would find the next one. Each character costs constant amortized
// time, however the occurrences overlap.
//
// Guards against an endless replacement. When replacement holds search, every replacement would
// create a new occurrence and the search would never end: the text then gets a single
// left-to-right pass (occurrences of the original text replaced, replacement never searched
// again). A replacement that does not hold search can still cost far more than the text's
// length ("ab" -> "bbaa" doubles the text for every "a" before a "b"; "ab" -> "ba" walks every
// "b" past every "a"): once the characters read exceed a budget proportional to the text, the
// rest is finished in the same single pass. Within the budget the result is exact.
std::u16string Substitui(std::u16string_view text, std::u16string_view search, std::u16string_view replacement) {
  if (search.empty()) return std::u16string(text);
  const size_t m = search.size();
  // failure[i]: length of the longest proper prefix of search[0..i] that is also its suffix.
  std::vector<size_t> failure(m, 0);
  for (size_t i = 1, q = 0; i < m; ++i) {
    while (q > 0 && search[i] != search[q]) q = failure[q - 1];
    if (search[i] == search[q]) ++q;
    failure[i] = q;
  }
  // Matched length after reading c with q < m characters matched.
  auto step = [&](size_t q, char16_t c) {
    while (q > 0 && search[q] != c) q = failure[q - 1];
    return search[q] == c ? q + 1 : q;
  };

  // Replacements are searched again unless replacement holds search (then a single pass).
  bool rescan = true;
  for (size_t q = 0, i = 0; i < replacement.size() && rescan; ++i) rescan = (q = step(q, replacement[i])) < m;
  const size_t budget = 8 * (text.size() + replacement.size()) + 65536;

  std::u16string out;
  out.reserve(text.size());
  std::vector<size_t> states;   // matched length after each character of out (while rescan)
  std::vector<size_t> pending;  // replacements still to read: next position in replacement, last first
  size_t i = 0, q = 0, readCount = 0;
  for (;;) {
    char16_t c;
    if (!pending.empty()) {
      c = replacement[pending.back()];
      if (++pending.back() == replacement.size()) pending.pop_back();
    } else if (i < text.size()) {
      c = text[i++];
    } else {
      break;
    }
    ++readCount;
    q = step(q, c);
    out.push_back(c);
    if (rescan) states.push_back(q);
    if (q < m) continue;
    out.resize(out.size() - m);
    if (rescan && readCount <= budget) {
      states.resize(states.size() - m);
      q = states.empty() ? 0 : states.back();
      if (!replacement.empty()) pending.push_back(0);
    } else {
      if (rescan) std::vector<size_t>().swap(states);
      rescan = false;
      out.append(replacement);
      q = 0;
    }
  }
  return out;
}

// Equivalent to replacing every NUL by a space and trimming spaces at both ends, without
// building that text.
bool Vazio(std::u16string_view text) {
  for (char16_t c : text)
    if (c != u' ' && c != u'\0') return false;
  return true;
}

std::u16string Extenso(Moeda value) {
  // Negative amounts have no words: a cheque is never written for one.
  if (value.tenThousandths < 0) return {};
  // Whole centavos, half away from zero; in unsigned arithmetic the largest amount still fits.
  const uint64_t cents = (static_cast<uint64_t>(value.tenThousandths) + 50) / 100;
  // Groups: trillions, billions, millions, thousands, reais, then the centavos (a group
  // "0CC"). A group is written exactly when it is not zero: zero alone spells blank (" ").
  std::array<int, 6> g{};
  g[5] = static_cast<int>(cents % 100);
  uint64_t whole = cents / 100;
  for (size_t k = 5; k-- > 0; whole /= 1000) g[k] = static_cast<int>(whole % 1000);

  Writer<kLongestExtenso> r;  // r.n == 0 exactly while the text written so far is blank
  auto part = [&](size_t k) {
    PutGroup(r, g[k]);
    r.Put(g[k] == 1 ? kSingular[k] : kPlural[k]);
  };
  for (size_t k = 0; k < 5; ++k) {
    if (g[k] != 0) part(k);
    if (k < 4 && r.n != 0 && g[k + 1] != 0) r.Put(u", ");
  }
  if (r.n != 0 && g[3] == 0 && g[4] == 0) {
    r.Put(u" DE REAIS");  // UM MILHAO DE REAIS
  } else if (g[3] != 0 && g[4] == 0) {
    r.Put(u" REAIS");  // UM MIL REAIS: the thousands take the currency after them
  }
  if (g[5] != 0) {
    if (r.n != 0) r.Put(u" E ");
    part(5);
  }
  return r.Text();
}

}  // namespace delvorin
