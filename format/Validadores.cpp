// Check digits of Brazilian documents and the Luhn check of card numbers. The text is read
// in place (no copies, no allocation): separators are skipped as the cleaned text is built
// in a small array, and anything longer than the document can hold is rejected at once.
#include "format/Validadores.h"

#include <cstddef>

namespace delvorin {
namespace {

// Spaces (U+0020) at both ends removed.
std::u16string_view Apara(std::u16string_view t) {
  while (!t.empty() && t.front() == u' ') t.remove_prefix(1);
  while (!t.empty() && t.back() == u' ') t.remove_suffix(1);
  return t;
}

// Copies the characters of t other than the separators into `limpo`; false when more than
// N remain (the document cannot be valid then).
template <size_t N>
bool Limpa(std::u16string_view t, std::u16string_view separadores, char16_t (&limpo)[N], size_t& n) {
  n = 0;
  for (char16_t c : t) {
    if (separadores.find(c) != std::u16string_view::npos) continue;
    if (n == N) return false;
    limpo[n++] = c;
  }
  return true;
}

// Digit value; any other character counts as 0.
int D(char16_t c) { return c >= u'0' && c <= u'9' ? c - u'0' : 0; }

// Sign of the leading number of a cleaned text: leading spaces, an optional sign, then
// digits with spaces between them; positive when a non-zero digit comes before anything else.
int Sinal(const char16_t* t, size_t n) {
  size_t i = 0;
  while (i < n && t[i] == u' ') ++i;
  bool negativo = false;
  if (i < n && (t[i] == u'+' || t[i] == u'-')) negativo = t[i++] == u'-';
  bool ponto = false;
  for (; i < n; ++i) {
    if (t[i] >= u'1' && t[i] <= u'9') return negativo ? -1 : 1;
    if (t[i] == u'0' || t[i] == u' ') continue;
    if (t[i] == u'.' && !ponto) {
      ponto = true;
      continue;
    }
    break;
  }
  return 0;
}

int DigitoMod11(int soma) {
  int r = soma % 11;
  return r > 1 ? 11 - r : 0;
}

}  // namespace

bool ValidaCpf(std::u16string_view texto) {
  char16_t c[11];
  size_t n = 0;
  if (!Limpa(Apara(texto), u".-", c, n) || n != 11) return false;
  int s1 = 0;
  for (int k = 0; k < 9; ++k) s1 += D(c[k]) * (10 - k);
  int c1 = 11 - s1 % 11;
  if (c1 >= 10) c1 = 0;
  if (D(c[9]) != c1) return false;
  int s2 = 0;
  for (int k = 0; k < 10; ++k) s2 += D(c[k]) * (11 - k);
  int c2 = 11 - s2 % 11;
  if (c2 >= 10) c2 = 0;
  return D(c[10]) == c2;
}

bool ValidaCnpj(std::u16string_view texto) {
  char16_t c[14];
  size_t n = 0;
  if (!Limpa(Apara(texto), u".-/", c, n) || (n != 8 && n != 14)) return false;
  if (Sinal(c, n) <= 0) return false;
  if (n == 8) {
    // A CNPJ root: modulus 10 with weights 2, 1, 2, ..., products summed digit by digit.
    int s = 0;
    for (int k = 0; k < 7; ++k) {
      int v = D(c[k]) * (k % 2 == 0 ? 2 : 1);
      s += v <= 9 ? v : v / 10 + v % 10;
    }
    int dv = s % 10 == 0 ? 0 : 10 - s % 10;
    return D(c[7]) == dv;
  }
  // Weights start at 5 (first digit) or 6 (second), count down to 2, then restart at 9.
  auto soma = [&](int posicoes, int peso) {
    int s = 0;
    for (int k = 0; k < posicoes; ++k) {
      s += D(c[k]) * peso;
      peso = peso > 2 ? peso - 1 : 9;
    }
    return s;
  };
  int c1 = DigitoMod11(soma(12, 5));
  int c2 = DigitoMod11(soma(13, 6));
  return D(c[12]) == c1 && D(c[13]) == c2;
}

bool ValidaPis(std::u16string_view texto) {
  constexpr char16_t kPesos[] = u"3298765432";
  char16_t c[11];
  size_t n = 0;
  if (!Limpa(Apara(texto), u".", c, n) || n != 11) return false;
  if (Sinal(c, n) == 0) return false;
  int s = 0;
  for (int k = 0; k < 10; ++k) s += D(c[k]) * (kPesos[k] - u'0');
  return D(c[10]) == DigitoMod11(s);
}

ResultadoCartao ValidaCartao(std::u16string_view texto) {
  int soma = 0;
  bool dobra = false;  // from the right: the last digit as it is, the one before doubled
  for (size_t i = texto.size(); i-- > 0;) {
    char16_t ch = texto[i];
    if (ch == u'.') continue;
    if (ch < u'0' || ch > u'9') return ResultadoCartao::NaoNumerico;
    int d = ch - u'0';
    if (dobra) {
      d *= 2;
      if (d > 9) d = d / 10 + d % 10;
    }
    soma = (soma + d) % 10;
    dobra = !dobra;
  }
  return soma == 0 ? ResultadoCartao::Valido : ResultadoCartao::Invalido;
}

}  // namespace delvorin
