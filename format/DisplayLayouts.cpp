// Display layouts of document numbers. One procedure for all five, driven by a table per
// layout: drop the layout's own separators, keep the first characters (the head), then
// append each piece (a separator and the next characters) only when the cleaned text is
// longer than the piece's threshold.
#include "format/DisplayLayouts.h"

#include <array>
#include <cstddef>

namespace delvorin {
namespace {

struct Piece {
  size_t threshold;    // written only when the cleaned text is longer than this
  char16_t separator;  // written before the characters
  size_t position;     // 1-based position of its first character in the cleaned text
  size_t count;        // at most this many characters
};

struct Layout {
  std::u16string_view separators;  // removed wherever they are, before the layout is rebuilt
  size_t head;                     // characters written before the first piece
  std::array<Piece, 4> pieces;
  size_t pieceCount;
};

constexpr Layout kCep{u"-", 5, {{{5, u'-', 6, 3}}}, 1};
constexpr Layout kCpf{u".-", 3, {{{3, u'.', 4, 3}, {6, u'.', 7, 3}, {9, u'-', 10, 2}}}, 3};
constexpr Layout kCnpj{u".-/", 2, {{{2, u'.', 3, 3}, {5, u'.', 6, 3}, {8, u'/', 9, 4}, {12, u'-', 13, 2}}}, 4};
constexpr Layout kPis{u".", 3, {{{3, u'.', 4, 5}, {8, u'.', 9, 2}, {10, u'.', 11, 1}}}, 3};
constexpr Layout kCartao{u".", 4, {{{4, u'.', 5, 4}, {8, u'.', 9, 4}, {12, u'.', 13, 4}}}, 3};

// Characters of the cleaned text that any layout can show; the rest are only counted.
constexpr size_t Capacity(const Layout& l) {
  size_t c = l.head;
  for (size_t i = 0; i < l.pieceCount; ++i) {
    const Piece& p = l.pieces[i];
    if (p.position - 1 + p.count > c) c = p.position - 1 + p.count;
  }
  return c;
}
// Longest text a layout writes: the head and each piece with its separator.
constexpr size_t Longest(const Layout& l) {
  size_t m = l.head;
  for (size_t i = 0; i < l.pieceCount; ++i) m += 1 + l.pieces[i].count;
  return m;
}
constexpr size_t kCapacity = 16, kLongest = 20;
constexpr bool Fits(const Layout& l) { return Capacity(l) <= kCapacity && Longest(l) <= kLongest; }
static_assert(Fits(kCep) && Fits(kCpf) && Fits(kCnpj) && Fits(kPis) && Fits(kCartao));

std::u16string Format(std::u16string_view text, const Layout& l) {
  // Separators are single characters, so dropping them one kind after another is the same
  // as dropping any of them in one pass.
  char16_t cleaned[kCapacity];
  size_t kept = 0, n = 0;
  for (char16_t c : text) {
    if (l.separators.find(c) != std::u16string_view::npos) continue;
    if (kept < kCapacity) cleaned[kept++] = c;
    ++n;
  }
  // The cleaned characters from 1-based position p, at most q of them.
  auto slice = [&](size_t p, size_t q) {
    const size_t first = p - 1 < kept ? p - 1 : kept;
    return std::u16string_view(cleaned + first, kept - first).substr(0, q);
  };
  char16_t out[kLongest];
  size_t length = 0;
  auto put = [&](std::u16string_view s) {
    for (char16_t c : s) out[length++] = c;
  };
  put(slice(1, l.head));
  for (size_t i = 0; i < l.pieceCount; ++i) {
    const Piece& p = l.pieces[i];
    if (n <= p.threshold) continue;
    out[length++] = p.separator;
    put(slice(p.position, p.count));
  }
  return std::u16string(out, length);
}

}  // namespace

std::u16string FormataCep(std::u16string_view text) { return Format(text, kCep); }
std::u16string FormataCpf(std::u16string_view text) { return Format(text, kCpf); }
std::u16string FormataCnpj(std::u16string_view text) { return Format(text, kCnpj); }
std::u16string FormataPis(std::u16string_view text) { return Format(text, kPis); }
std::u16string FormataCartao(std::u16string_view text) { return Format(text, kCartao); }

}  // namespace delvorin
