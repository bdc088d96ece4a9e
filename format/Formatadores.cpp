// Display layouts of document numbers. One procedure for all five: drop the layout's own
// separators, keep the first characters, then append each piece (separator and the next
// characters) only when the cleaned text goes beyond the piece's threshold.
#include "format/Formatadores.h"

#include <array>

namespace delvorin {
namespace {

struct Peca {
  size_t limiar;  // a piece is written when the cleaned text is longer than this
  char16_t separador;
  size_t inicio;  // 0-based position of its first character
  size_t quantos;
};

struct Layout {
  std::u16string_view separadores;
  size_t cabeca;
  std::array<Peca, 4> pecas;
  size_t numeroPecas;
};

constexpr Layout kCep{u"-", 5, {{{5, u'-', 5, 3}}}, 1};
constexpr Layout kCpf{u".-", 3, {{{3, u'.', 3, 3}, {6, u'.', 6, 3}, {9, u'-', 9, 2}}}, 3};
constexpr Layout kCnpj{u".-/", 2, {{{2, u'.', 2, 3}, {5, u'.', 5, 3}, {8, u'/', 8, 4}, {12, u'-', 12, 2}}}, 4};
constexpr Layout kPis{u".", 3, {{{3, u'.', 3, 5}, {8, u'.', 8, 2}, {10, u'.', 10, 1}}}, 3};
constexpr Layout kCartao{u".", 4, {{{4, u'.', 4, 4}, {8, u'.', 8, 4}, {12, u'.', 12, 4}}}, 3};

std::u16string Formata(std::u16string_view texto, const Layout& l) {
  // Only the characters the layout can show are kept; the length still counts them all.
  const size_t capacidade = l.pecas[l.numeroPecas - 1].inicio + l.pecas[l.numeroPecas - 1].quantos;
  std::u16string limpo;
  size_t n = 0;
  for (char16_t c : texto) {
    if (l.separadores.find(c) != std::u16string_view::npos) continue;
    if (n++ < capacidade) limpo.push_back(c);
  }
  std::u16string r = limpo.substr(0, l.cabeca);
  for (size_t i = 0; i < l.numeroPecas; ++i) {
    const Peca& p = l.pecas[i];
    if (n <= p.limiar) continue;
    r.push_back(p.separador);
    r.append(limpo, p.inicio, p.quantos);
  }
  return r;
}

}  // namespace

std::u16string FormataCep(std::u16string_view texto) { return Formata(texto, kCep); }
std::u16string FormataCpf(std::u16string_view texto) { return Formata(texto, kCpf); }
std::u16string FormataCnpj(std::u16string_view texto) { return Formata(texto, kCnpj); }
std::u16string FormataPis(std::u16string_view texto) { return Formata(texto, kPis); }
std::u16string FormataCartao(std::u16string_view texto) { return Formata(texto, kCartao); }

}  // namespace delvorin
