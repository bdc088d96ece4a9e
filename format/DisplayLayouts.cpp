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
  size_t limiar;       // written only when the cleaned text is longer than this
  char16_t separador;  // written before the characters
  size_t posicao;      // 1-based position of its first character in the cleaned text
  size_t quantos;      // at most this many characters
};

struct Layout {
  std::u16string_view separadores;  // removed wherever they are, before the layout is rebuilt
  size_t cabeca;                    // characters written before the first piece
  std::array<Piece, 4> pecas;
  size_t numeroPecas;
};

constexpr Layout kCep{u"-", 5, {{{5, u'-', 6, 3}}}, 1};
constexpr Layout kCpf{u".-", 3, {{{3, u'.', 4, 3}, {6, u'.', 7, 3}, {9, u'-', 10, 2}}}, 3};
constexpr Layout kCnpj{u".-/", 2, {{{2, u'.', 3, 3}, {5, u'.', 6, 3}, {8, u'/', 9, 4}, {12, u'-', 13, 2}}}, 4};
constexpr Layout kPis{u".", 3, {{{3, u'.', 4, 5}, {8, u'.', 9, 2}, {10, u'.', 11, 1}}}, 3};
constexpr Layout kCartao{u".", 4, {{{4, u'.', 5, 4}, {8, u'.', 9, 4}, {12, u'.', 13, 4}}}, 3};

// Characters of the cleaned text that any layout can show; the rest are only counted.
constexpr size_t Capacidade(const Layout& l) {
  size_t c = l.cabeca;
  for (size_t i = 0; i < l.numeroPecas; ++i) {
    const Piece& p = l.pecas[i];
    if (p.posicao - 1 + p.quantos > c) c = p.posicao - 1 + p.quantos;
  }
  return c;
}
// Longest text a layout writes: the head and each piece with its separator.
constexpr size_t Maximo(const Layout& l) {
  size_t m = l.cabeca;
  for (size_t i = 0; i < l.numeroPecas; ++i) m += 1 + l.pecas[i].quantos;
  return m;
}
constexpr size_t kCapacidade = 16, kMaximo = 20;
constexpr bool Cabe(const Layout& l) { return Capacidade(l) <= kCapacidade && Maximo(l) <= kMaximo; }
static_assert(Cabe(kCep) && Cabe(kCpf) && Cabe(kCnpj) && Cabe(kPis) && Cabe(kCartao));

std::u16string Formata(std::u16string_view texto, const Layout& l) {
  // Separators are single characters, so dropping them one kind after another is the same
  // as dropping any of them in one pass.
  char16_t limpo[kCapacidade];
  size_t guardados = 0, n = 0;
  for (char16_t c : texto) {
    if (l.separadores.find(c) != std::u16string_view::npos) continue;
    if (guardados < kCapacidade) limpo[guardados++] = c;
    ++n;
  }
  // The cleaned characters from 1-based position p, at most q of them.
  auto trecho = [&](size_t p, size_t q) {
    const size_t inicio = p - 1 < guardados ? p - 1 : guardados;
    return std::u16string_view(limpo + inicio, guardados - inicio).substr(0, q);
  };
  char16_t saida[kMaximo];
  size_t tamanho = 0;
  auto poe = [&](std::u16string_view s) {
    for (char16_t c : s) saida[tamanho++] = c;
  };
  poe(trecho(1, l.cabeca));
  for (size_t i = 0; i < l.numeroPecas; ++i) {
    const Piece& p = l.pecas[i];
    if (n <= p.limiar) continue;
    saida[tamanho++] = p.separador;
    poe(trecho(p.posicao, p.quantos));
  }
  return std::u16string(saida, tamanho);
}

}  // namespace

std::u16string FormataCep(std::u16string_view texto) { return Formata(texto, kCep); }
std::u16string FormataCpf(std::u16string_view texto) { return Formata(texto, kCpf); }
std::u16string FormataCnpj(std::u16string_view texto) { return Formata(texto, kCnpj); }
std::u16string FormataPis(std::u16string_view texto) { return Formata(texto, kPis); }
std::u16string FormataCartao(std::u16string_view texto) { return Formata(texto, kCartao); }

}  // namespace delvorin
