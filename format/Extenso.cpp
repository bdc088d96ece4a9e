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

// The word part of the entry with key k (0..999), or empty when k is no key.
std::u16string_view Palavra(int k) {
  const char16_t chave[3] = {static_cast<char16_t>(u'0' + k / 100), static_cast<char16_t>(u'0' + k / 10 % 10),
                             static_cast<char16_t>(u'0' + k % 10)};
  for (std::u16string_view e : kPalavras)
    if (e.compare(0, 3, std::u16string_view(chave, 3)) == 0) return e.substr(3);
  return {};
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

// Words of one group given as a number 0..999.
std::u16string Centena(int n) {
  std::u16string_view exata = Palavra(n);
  if (!exata.empty()) return std::u16string(exata);
  const int c = n / 100, d = n / 10 % 10, u = n % 10;
  std::u16string r;
  if (std::u16string_view semUnidade = Palavra(n - u); !semUnidade.empty()) {
    r.append(semUnidade).append(u"E ");
    if (u != 0 && r == u"CEM E ") r = u"CENTO E ";
    return r.append(Palavra(u));
  }
  r.append(Palavra(c * 100)).append(u"E ");
  if (r == u"CEM E ") r = u"CENTO E ";
  if (std::u16string_view dezena = Palavra(d * 10 + u); !dezena.empty()) return r.append(dezena);
  return r.append(Palavra(d * 10)).append(u"E ").append(Palavra(u));
}

}  // namespace

std::u16string ExtensoCentena(std::u16string_view grupo) {
  if (grupo.size() != 3) return {};
  int n = 0;
  for (char16_t c : grupo) {
    if (c < u'0' || c > u'9') return {};
    n = n * 10 + (c - u'0');
  }
  return Centena(n);
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
  std::u16string t = Substitui(texto, std::u16string_view(u"\0", 1), u" ");
  return t.find_first_not_of(u' ') == std::u16string::npos;
}

std::u16string Extenso(Moeda valor) {
  if (valor.decimilesimos < 0) return {};
  // Whole centavos, half away from zero; the largest amount still fits.
  const uint64_t centavos = (static_cast<uint64_t>(valor.decimilesimos) + 50) / 100;
  const uint64_t reais = centavos / 100;
  std::array<int, 6> grupos{};
  uint64_t resto = reais;
  for (int g = 4; g >= 0; --g) {
    grupos[static_cast<size_t>(g)] = static_cast<int>(resto % 1000);
    resto /= 1000;
  }
  grupos[5] = static_cast<int>(centavos % 100);

  std::array<std::u16string, 6> partes;
  for (size_t g = 0; g < 6; ++g) {
    std::u16string w = Centena(grupos[g]);
    if (Vazio(w)) continue;
    partes[g] = w + std::u16string(w == u"UM " ? kEscalas[g].singular : kEscalas[g].plural);
  }
  std::u16string r;
  for (size_t k = 0; k < 5; ++k) {
    if (!Vazio(partes[k])) r += partes[k];
    if (k < 4 && !Vazio(r) && !Vazio(partes[k + 1])) r += u", ";
  }
  if (!Vazio(r) && Vazio(partes[3]) && Vazio(partes[4])) {
    r += u" DE REAIS";
  } else if (!Vazio(partes[3]) && Vazio(partes[4])) {
    r += u" REAIS";
  }
  if (!Vazio(partes[5])) r += Vazio(r) ? partes[5] : u" E " + partes[5];
  return r;
}

}  // namespace delvorin
