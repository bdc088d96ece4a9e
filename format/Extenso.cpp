// An amount of money in Portuguese words: the amount as 18 digits (15 of reais, "0" and two
// of centavos), six groups of three, each group in words followed by its scale word.
#include "format/Extenso.h"

#include <array>
#include <cstdint>

namespace delvorin {
namespace {

// Each entry: a three-digit key, then the word and one space. The last one, "000", has a
// single space as its word.
constexpr std::array<std::u16string_view, 37> kPalavras{
    u"001UM ",        u"002DOIS ",       u"003TRES ",         u"004QUATRO ",     u"005CINCO ",
    u"006SEIS ",      u"007SETE ",       u"008OITO ",         u"009NOVE ",       u"010DEZ ",
    u"011ONZE ",      u"012DOZE ",       u"013TREZE ",        u"014QUATORZE ",   u"015QUINZE ",
    u"016DEZESSEIS ", u"017DEZESSETE ",  u"018DEZOITO ",      u"019DEZENOVE ",   u"020VINTE ",
    u"030TRINTA ",    u"040QUARENTA ",   u"050CINQUENTA ",    u"060SESSENTA ",   u"070SETENTA ",
    u"080OITENTA ",   u"090NOVENTA ",    u"100CEM ",          u"200DUZENTOS ",   u"300TREZENTOS ",
    u"400QUATROCENTOS ", u"500QUINHENTOS ", u"600SEISCENTOS ", u"700SETECENTOS ", u"800OITOCENTOS ",
    u"900NOVECENTOS ", u"000 ",
};

// The word part (with its trailing space) of the entry whose key is k, found by position:
// keys are unique, so this is the entry a search from the first would find. Empty when k
// is no key.
std::u16string_view Palavra(int k) {
  size_t i = kPalavras.size();
  if (k == 0) i = 36;
  else if (k >= 1 && k <= 20) i = static_cast<size_t>(k - 1);
  else if (k >= 30 && k <= 90 && k % 10 == 0) i = static_cast<size_t>(20 + k / 10 - 3);
  else if (k >= 100 && k <= 900 && k % 100 == 0) i = static_cast<size_t>(27 + k / 100 - 1);
  return i < kPalavras.size() ? kPalavras[i].substr(3) : std::u16string_view();
}

struct Escala {
  std::u16string_view singular, plural;
};
constexpr std::array<Escala, 6> kEscalas{{
    {u"TRILHAO", u"TRILHOES"},
    {u"BILHAO", u"BILHOES"},
    {u"MILHAO", u"MILHOES"},
    {u"MIL", u"MIL"},
    {u"REAL", u"REAIS"},
    {u"CENTAVO", u"CENTAVOS"},
}};

// Appends the words of one group (0..999), ending in one space. A hundred followed by more
// is CENTO, not CEM.
void AnexaCentena(int n, std::u16string& r) {
  if (std::u16string_view exata = Palavra(n); !exata.empty()) {
    r.append(exata);
    return;
  }
  const int c = n / 100, d = n / 10 % 10, u = n % 10;
  if (std::u16string_view semUnidade = Palavra(n - u); !semUnidade.empty()) {
    if (n - u == 100) r.append(u"CENTO ");
    else r.append(semUnidade);
    r.append(u"E ").append(Palavra(u));
    return;
  }
  if (c == 1) r.append(u"CENTO ");
  else r.append(Palavra(c * 100));
  r.append(u"E ");
  if (std::u16string_view dezena = Palavra(d * 10 + u); !dezena.empty()) {
    r.append(dezena);
    return;
  }
  r.append(Palavra(d * 10)).append(u"E ").append(Palavra(u));
}

// A group's part: its words and the scale word, singular only for exactly one.
void AnexaParte(int grupo, size_t escala, std::u16string& r) {
  AnexaCentena(grupo, r);
  r.append(grupo == 1 ? kEscalas[escala].singular : kEscalas[escala].plural);
}

}  // namespace

std::u16string ExtensoCentena(std::u16string_view grupo) {
  if (grupo.size() != 3) return {};
  int n = 0;
  for (char16_t c : grupo) {
    if (c < u'0' || c > u'9') return {};
    n = n * 10 + (c - u'0');
  }
  std::u16string r;
  AnexaCentena(n, r);
  return r;
}

std::u16string Substitui(std::u16string_view texto, std::u16string_view busca, std::u16string_view troca) {
  std::u16string r(texto);
  if (busca.empty()) return r;
  // Replacing the first occurrence and searching again from the start only finds new
  // occurrences that overlap the replacement, so the search resumes just before it. When
  // the replacement holds the search text that search would never end: one pass then.
  // A replacement that keeps creating occurrences would grow without end: past a bound
  // the rest is done in one pass as well.
  bool umaPassada = troca.find(busca) != std::u16string_view::npos;
  const size_t limite = 64 * texto.size() + 4096;
  size_t de = 0;
  for (size_t pos; (pos = r.find(busca, de)) != std::u16string::npos;) {
    r.replace(pos, busca.size(), troca);
    if (r.size() > limite) umaPassada = true;
    de = umaPassada ? pos + troca.size() : (pos + 1 >= busca.size() ? pos + 1 - busca.size() : 0);
  }
  return r;
}

bool Vazio(std::u16string_view texto) {
  // The same answer as replacing NUL by a space and trimming, without building the copy.
  for (char16_t c : texto)
    if (c != u' ' && c != u'\0') return false;
  return true;
}

std::u16string Extenso(Moeda valor) {
  if (valor.decimilesimos < 0) return {};
  // Whole centavos, half away from zero; the largest amount still fits.
  const uint64_t centavos = (static_cast<uint64_t>(valor.decimilesimos) + 50) / 100;
  std::array<int, 6> g{};  // trillions, billions, millions, thousands, reais, centavos
  uint64_t resto = centavos / 100;
  for (size_t k = 5; k-- > 0;) {
    g[k] = static_cast<int>(resto % 1000);
    resto /= 1000;
  }
  g[5] = static_cast<int>(centavos % 100);

  // A group of 000 has no part; the parts of the reais groups are joined by ", ".
  std::u16string r;
  r.reserve(192);
  for (size_t k = 0; k < 5; ++k) {
    if (g[k] != 0) AnexaParte(g[k], k, r);
    if (k < 4 && !r.empty() && g[k + 1] != 0) r.append(u", ");
  }
  if (!r.empty() && g[3] == 0 && g[4] == 0) {
    r.append(u" DE REAIS");  // whole millions and above
  } else if (g[3] != 0 && g[4] == 0) {
    r.append(u" REAIS");
  }
  if (g[5] != 0) {
    if (!r.empty()) r.append(u" E ");
    AnexaParte(g[5], 5, r);
  }
  return r;
}

}  // namespace delvorin
