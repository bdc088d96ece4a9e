// Check digits of Brazilian documents and the Luhn check of card numbers. The text is read
// in place: the cleaned text (separators dropped) goes into a small local array of digit
// values, and a text with more characters than the document holds is rejected as soon as the
// excess shows, so nothing allocates and a huge text costs no more than its first few
// characters.
#include "format/Validadores.h"

#include <cstddef>
#include <cstdint>

namespace delvorin {
namespace {

// Spaces (U+0020) removed at both ends; other blanks are kept.
constexpr std::u16string_view Apara(std::u16string_view t) {
  while (!t.empty() && t.front() == u' ') t.remove_prefix(1);
  while (!t.empty() && t.back() == u' ') t.remove_suffix(1);
  return t;
}

// The cleaned text of a document: at most N characters kept, each as its digit value (any
// character that is not a digit counts as 0), plus two facts about the leading number.
template <size_t N>
struct Limpo {
  uint8_t d[N];
  size_t n = 0;
  bool positivo = false;  // the leading number is > 0
  bool zero = true;       // the leading number is 0
};

// Fills `l` with the characters of `t` other than the separators. False when more than N
// remain: no document of this kind can be valid then.
//
// The leading number is scanned on the cleaned text as it is produced: leading spaces, an
// optional '+' or '-', then digits with spaces between them, one optional '.' and more digits;
// it stops at the first other character. Only whether a digit read is nonzero matters, since
// the validators need only the sign. (A '.' never reaches the scan when it is a separator.)
template <size_t N>
bool Limpa(std::u16string_view t, std::u16string_view separadores, Limpo<N>& l) {
  enum class Fase : uint8_t { Espacos, Numero, Fim } fase = Fase::Espacos;
  bool negativo = false, ponto = false, naoZero = false;
  for (char16_t c : t) {
    if (separadores.find(c) != std::u16string_view::npos) continue;
    if (l.n == N) return false;
    const bool digito = c >= u'0' && c <= u'9';
    l.d[l.n++] = static_cast<uint8_t>(digito ? c - u'0' : 0);
    if (fase == Fase::Espacos) {
      if (c == u' ') continue;
      fase = Fase::Numero;
      if (c == u'+' || c == u'-') {
        negativo = c == u'-';
        continue;
      }
    }
    if (fase == Fase::Numero) {
      if (digito) {
        naoZero = naoZero || c != u'0';
      } else if (c == u'.' && !ponto) {
        ponto = true;
      } else if (c != u' ') {
        fase = Fase::Fim;
      }
    }
  }
  l.zero = !naoZero;
  l.positivo = naoZero && !negativo;
  return true;
}

// Modulus-11 check digit of the CNPJ and the PIS: remainders 0 and 1 give 0.
constexpr int DigitoMod11(int soma) {
  const int r = soma % 11;
  return r > 1 ? 11 - r : 0;
}

// Modulus-11 check digit of the CPF: 11 - remainder, with 10 and 11 giving 0 (the same
// digit as DigitoMod11, written the way the CPF rule states it).
constexpr int DigitoCpf(int soma) {
  const int c = 11 - soma % 11;
  return c >= 10 ? 0 : c;
}

}  // namespace

bool ValidaCpf(std::u16string_view texto) {
  Limpo<11> l;
  if (!Limpa(Apara(texto), u".-", l) || l.n != 11) return false;
  // First check digit: weights 10 down to 2 over the nine-digit base.
  int s1 = 0;
  for (int k = 0; k < 9; ++k) s1 += l.d[k] * (10 - k);
  if (l.d[9] != DigitoCpf(s1)) return false;
  // Second: weights 11 down to 2 over the base and the first check digit as written.
  int s2 = 0;
  for (int k = 0; k < 10; ++k) s2 += l.d[k] * (11 - k);
  return l.d[10] == DigitoCpf(s2);
}

bool ValidaCnpj(std::u16string_view texto) {
  Limpo<14> l;
  if (!Limpa(Apara(texto), u".-/", l) || !l.positivo) return false;
  if (l.n == 8) {
    // A CNPJ root: modulus 10, odd positions doubled, two-digit products summed digit by digit.
    int s = 0;
    for (int k = 0; k < 7; ++k) {
      const int v = l.d[k] * (k % 2 == 0 ? 2 : 1);
      s += v <= 9 ? v : v / 10 + v % 10;
    }
    return l.d[7] == (s % 10 == 0 ? 0 : 10 - s % 10);
  }
  if (l.n != 14) return false;
  // Both check digits use weights 2..9 repeating from the right; the second covers the first.
  constexpr int kPesos[13] = {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
  int s1 = 0, s2 = 0;
  for (int k = 0; k < 12; ++k) s1 += l.d[k] * kPesos[k + 1];
  for (int k = 0; k < 13; ++k) s2 += l.d[k] * kPesos[k];
  return l.d[12] == DigitoMod11(s1) && l.d[13] == DigitoMod11(s2);
}

bool ValidaPis(std::u16string_view texto) {
  Limpo<11> l;
  // Only dots are separators: a dash stays and counts in the length.
  if (!Limpa(Apara(texto), u".", l) || l.n != 11 || l.zero) return false;
  constexpr int kPesos[10] = {3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
  int s = 0;
  for (int k = 0; k < 10; ++k) s += l.d[k] * kPesos[k];
  return l.d[10] == DigitoMod11(s);
}

ResultadoCartao ValidaCartao(std::u16string_view texto) {
  // Digit sum of twice each digit.
  constexpr unsigned kDobro[10] = {0, 2, 4, 6, 8, 1, 3, 5, 7, 9};
  unsigned soma = 0;    // kept below 10, so any length is fine
  bool dobra = false;   // from the right: the last digit as it is, the one before doubled
  for (size_t i = texto.size(); i-- > 0;) {
    const char16_t ch = texto[i];
    if (ch == u'.') continue;
    if (ch < u'0' || ch > u'9') return ResultadoCartao::NaoNumerico;
    const unsigned d = ch - u'0';
    soma += dobra ? kDobro[d] : d;
    if (soma >= 10) soma -= 10;
    dobra = !dobra;
  }
  return soma == 0 ? ResultadoCartao::Valido : ResultadoCartao::Invalido;
}

}  // namespace delvorin
