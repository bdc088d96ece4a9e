// Amount in words: worked amounts, every group of three digits against an independent
// spelling, spacing of random amounts, and the helpers Vazio and Substitui.
#include <limits>
#include <random>
#include <set>
#include <sstream>

#include "format/Extenso.h"
#include "tests/Auxiliares.h"

namespace delvorin {
namespace {

Moeda Reais(int64_t reais, int64_t centavos = 0) { return Moeda{reais * 10000 + centavos * 100}; }

TEST(Extenso, ValoresTrabalhados) {
  const std::pair<Moeda, std::u16string> casos[] = {
      {Reais(0), u""},
      {Reais(0, 1), u"UM CENTAVO"},
      {Reais(0, 10), u"DEZ CENTAVOS"},
      {Reais(0, 50), u"CINQUENTA CENTAVOS"},
      {Reais(1), u"UM REAL"},
      {Reais(1, 1), u"UM REAL E UM CENTAVO"},
      {Reais(2, 50), u"DOIS REAIS E CINQUENTA CENTAVOS"},
      {Reais(21), u"VINTE E UM REAIS"},
      {Reais(100), u"CEM REAIS"},
      {Reais(101), u"CENTO E UM REAIS"},
      {Reais(1000), u"UM MIL REAIS"},
      {Reais(1000, 50), u"UM MIL REAIS E CINQUENTA CENTAVOS"},
      {Reais(1001), u"UM MIL, UM REAL"},
      {Reais(1100), u"UM MIL, CEM REAIS"},
      {Reais(21000), u"VINTE E UM MIL REAIS"},
      {Reais(1000000), u"UM MILHAO DE REAIS"},
      {Reais(1000000, 50), u"UM MILHAO DE REAIS E CINQUENTA CENTAVOS"},
      {Reais(1000001), u"UM MILHAO, UM REAL"},
      {Reais(1001000), u"UM MILHAO, UM MIL REAIS"},
      {Reais(21000000), u"VINTE E UM MILHOES DE REAIS"},
      {Reais(2500000000), u"DOIS BILHOES, QUINHENTOS MILHOES DE REAIS"},
      {Reais(1000000000000), u"UM TRILHAO DE REAIS"},
      {Reais(2000001000), u"DOIS BILHOES, UM MIL REAIS"},
      {Reais(1234567, 89),
       u"UM MILHAO, DUZENTOS E TRINTA E QUATRO MIL, QUINHENTOS E SESSENTA E SETE REAIS E OITENTA E NOVE CENTAVOS"},
      {Reais(922337203685477, 58),
       u"NOVECENTOS E VINTE E DOIS TRILHOES, TREZENTOS E TRINTA E SETE BILHOES, DUZENTOS E TRES MILHOES, "
       u"SEISCENTOS E OITENTA E CINCO MIL, QUATROCENTOS E SETENTA E SETE REAIS E CINQUENTA E OITO CENTAVOS"},
      {Moeda{std::numeric_limits<int64_t>::max()},
       u"NOVECENTOS E VINTE E DOIS TRILHOES, TREZENTOS E TRINTA E SETE BILHOES, DUZENTOS E TRES MILHOES, "
       u"SEISCENTOS E OITENTA E CINCO MIL, QUATROCENTOS E SETENTA E SETE REAIS E CINQUENTA E OITO CENTAVOS"},
      {Moeda{10}, u""},              // 0,001 rounds to no centavo
      {Moeda{49}, u""},
      {Moeda{50}, u"UM CENTAVO"},    // 0,005: half away from zero
      {Moeda{9950}, u"UM REAL"},     // 0,995 rounds up into the reais
      {Moeda{-10000}, u""},          // negative amounts show nothing
      {Moeda{std::numeric_limits<int64_t>::min()}, u""},
  };
  for (const auto& [valor, texto] : casos) EXPECT_EQ(Extenso(valor), texto) << valor.decimilesimos;
}

// Independent spelling of 0..999, built from the Portuguese rules.
std::u16string Grupo(int n) {
  static const char16_t* unidades[] = {u"", u"UM", u"DOIS", u"TRES", u"QUATRO", u"CINCO", u"SEIS", u"SETE", u"OITO",
                                       u"NOVE", u"DEZ", u"ONZE", u"DOZE", u"TREZE", u"QUATORZE", u"QUINZE",
                                       u"DEZESSEIS", u"DEZESSETE", u"DEZOITO", u"DEZENOVE"};
  static const char16_t* dezenas[] = {u"", u"", u"VINTE", u"TRINTA", u"QUARENTA", u"CINQUENTA", u"SESSENTA",
                                      u"SETENTA", u"OITENTA", u"NOVENTA"};
  static const char16_t* centenas[] = {u"", u"CENTO", u"DUZENTOS", u"TREZENTOS", u"QUATROCENTOS", u"QUINHENTOS",
                                       u"SEISCENTOS", u"SETECENTOS", u"OITOCENTOS", u"NOVECENTOS"};
  if (n == 0) return u" ";
  if (n == 100) return u"CEM ";
  std::vector<std::u16string> partes;
  if (n >= 100) partes.emplace_back(centenas[n / 100]);
  int resto = n % 100;
  if (resto >= 20) {
    partes.emplace_back(dezenas[resto / 10]);
    if (resto % 10) partes.emplace_back(unidades[resto % 10]);
  } else if (resto > 0) {
    partes.emplace_back(unidades[resto]);
  }
  std::u16string r;
  for (size_t i = 0; i < partes.size(); ++i) r += (i ? u"E " : u"") + partes[i] + u" ";
  return r;
}

TEST(ExtensoCentena, TodosOsGrupos) {
  for (int n = 0; n < 1000; ++n) {
    char16_t g[3] = {static_cast<char16_t>(u'0' + n / 100), static_cast<char16_t>(u'0' + n / 10 % 10),
                     static_cast<char16_t>(u'0' + n % 10)};
    std::u16string w = ExtensoCentena(std::u16string_view(g, 3));
    EXPECT_EQ(w, Grupo(n)) << n;
    EXPECT_EQ(w.back(), u' ');
    EXPECT_EQ(w.find(u"  "), std::u16string::npos) << n;
  }
  for (std::u16string_view ruim : {u"", u"12", u"1234", u"1a3", u"-12"}) EXPECT_EQ(ExtensoCentena(ruim), u"");
}

TEST(Extenso, ValoresAleatoriosBemEspacados) {
  const std::set<std::u16string> permitidas = {
      u"UM", u"DOIS", u"TRES", u"QUATRO", u"CINCO", u"SEIS", u"SETE", u"OITO", u"NOVE", u"DEZ", u"ONZE", u"DOZE",
      u"TREZE", u"QUATORZE", u"QUINZE", u"DEZESSEIS", u"DEZESSETE", u"DEZOITO", u"DEZENOVE", u"VINTE", u"TRINTA",
      u"QUARENTA", u"CINQUENTA", u"SESSENTA", u"SETENTA", u"OITENTA", u"NOVENTA", u"CEM", u"CENTO", u"DUZENTOS",
      u"TREZENTOS", u"QUATROCENTOS", u"QUINHENTOS", u"SEISCENTOS", u"SETECENTOS", u"OITOCENTOS", u"NOVECENTOS",
      u"E", u"DE", u"TRILHAO", u"TRILHAO,", u"TRILHOES", u"TRILHOES,", u"BILHAO", u"BILHAO,", u"BILHOES",
      u"BILHOES,", u"MILHAO", u"MILHAO,", u"MILHOES", u"MILHOES,", u"MIL", u"MIL,", u"REAL", u"REAIS", u"CENTAVO",
      u"CENTAVOS"};
  std::mt19937_64 gerador(31);
  for (int i = 0; i < 20000; ++i) {
    int64_t v = static_cast<int64_t>(gerador() >> 1);
    if (i % 4 == 1) v %= 100000000;
    if (i % 4 == 2) v %= 1000000000000;
    std::u16string w = Extenso(Moeda{v});
    if (w.empty()) continue;
    EXPECT_NE(w.front(), u' ');
    EXPECT_NE(w.back(), u' ');
    EXPECT_EQ(w.find(u"  "), std::u16string::npos) << Utf8(w);
    size_t inicio = 0;
    while (inicio < w.size()) {
      size_t fim = w.find(u' ', inicio);
      if (fim == std::u16string::npos) fim = w.size();
      EXPECT_TRUE(permitidas.count(w.substr(inicio, fim - inicio))) << Utf8(w);
      inicio = fim + 1;
    }
  }
}

TEST(Vazio, BrancoENul) {
  EXPECT_TRUE(Vazio(u""));
  EXPECT_TRUE(Vazio(u"   "));
  EXPECT_TRUE(Vazio(std::u16string(u"\0 \0", 3)));
  EXPECT_FALSE(Vazio(u"\t"));
  EXPECT_FALSE(Vazio(u" a "));
  EXPECT_TRUE(Vazio(std::u16string(1 << 20, u'\0')));
}

TEST(Substitui, TrocaTodasAsOcorrencias) {
  EXPECT_EQ(Substitui(u"a.b.c", u".", u""), u"abc");
  EXPECT_EQ(Substitui(u"aab", u"ab", u"b"), u"b") << "searches again from the start";
  EXPECT_EQ(Substitui(u"aaab", u"ab", u"b"), u"b");
  EXPECT_EQ(Substitui(u"xyz", u"", u"q"), u"xyz");
  EXPECT_EQ(Substitui(u"aaa", u"a", u"aa"), u"aaaaaa") << "a replacement holding the search text ends";
  EXPECT_EQ(Substitui(u"abc", u"abc", u"abc"), u"abc");
  EXPECT_EQ(Substitui(std::u16string(u"a\0b", 3), std::u16string_view(u"\0", 1), u" "), u"a b");
}

}  // namespace
}  // namespace delvorin
