// Check digits of CPF, CNPJ (and its root), PIS and the Luhn check of card numbers.
#include <random>

#include "format/Validadores.h"
#include "tests/Auxiliares.h"

namespace delvorin {
namespace {

struct Caso {
  std::u16string texto;
  bool valido;
};

TEST(ValidaCpf, ExemplosEBordas) {
  const Caso casos[] = {
      {u"123.456.789-09", true},  {u"12345678909", true},     {u"  123.456.789-09  ", true},
      {u"123.456.789-08", false}, {u"123.456.789-19", false}, {u"000.000.000-00", true},
      {u"111.111.111-11", true},  {u"abcdefghijk", true},     {u"123.456.789-0", false},
      {u"123.456.789-099", false}, {u"123 456 789 09", false}, {u"", false},
      {u"1234567890 9", false},   {u"\t12345678909", false},  {u"12.345.678.909", true},
      {u"1-2-3-4-5-6-7-8-9-0-9", true},
  };
  for (const Caso& c : casos) EXPECT_EQ(ValidaCpf(c.texto), c.valido) << Utf8(c.texto);
}

TEST(ValidaCpf, UmEspacoDentroContaComoZero) {
  // 000.000.001-91 is valid; a space in place of a zero counts as 0 and keeps the length.
  ASSERT_TRUE(ValidaCpf(u"00000000191"));
  EXPECT_TRUE(ValidaCpf(u"0000 000191"));
  EXPECT_TRUE(ValidaCpf(u"000000 0191"));
  EXPECT_FALSE(ValidaCpf(u"00000000 91")) << "a space where a 1 stood";
}

// Check digits computed the textbook way, independently of the validator.
std::u16string CpfCompleto(uint32_t base) {
  int d[11];
  for (int k = 8; k >= 0; --k, base /= 10) d[k] = static_cast<int>(base % 10);
  for (int pos = 9; pos <= 10; ++pos) {
    int soma = 0;
    for (int k = 0; k < pos; ++k) soma += d[k] * (pos + 1 - k);
    int resto = (soma * 10) % 11;
    d[pos] = resto == 10 ? 0 : resto;
  }
  std::u16string t;
  for (int k = 0; k < 11; ++k) t.push_back(static_cast<char16_t>(u'0' + d[k]));
  return t;
}

TEST(ValidaCpf, ConcordaComOCalculoDosDigitos) {
  std::mt19937 gerador(2024);
  for (int i = 0; i < 4000; ++i) {
    std::u16string cpf = CpfCompleto(gerador() % 1000000000u);
    ASSERT_TRUE(ValidaCpf(cpf)) << Utf8(cpf);
    // Any other last two digits, or a changed body, is valid only if the check digits say so.
    std::u16string outro = cpf;
    size_t pos = gerador() % 11;
    outro[pos] = static_cast<char16_t>(u'0' + (outro[pos] - u'0' + 1 + gerador() % 9) % 10);
    EXPECT_EQ(ValidaCpf(outro), outro == CpfCompleto(std::stoul(Utf8(outro.substr(0, 9))))) << Utf8(outro);
  }
}

TEST(ValidaCnpj, CompletoERaiz) {
  const Caso casos[] = {
      {u"11.222.333/0001-81", true}, {u"11222333000181", true},    {u" 11.222.333/0001-81 ", true},
      {u"11.222.333/0001-82", false}, {u"11.222.333/0001-91", false}, {u"00.000.000/0000-00", false},
      {u"00.000.000/0001-91", true},  {u"12.345.674", true},        {u"12.345.675", false},
      {u"00.000.000", false},         {u"123456789", false},        {u"1122233300018", false},
      {u"112223330001811", false},    {u"-1.222.333/0001-81", false}, {u"", false},
      {u"0 000000/0001-91", true},    {u"a1222333000181", false},
  };
  for (const Caso& c : casos) EXPECT_EQ(ValidaCnpj(c.texto), c.valido) << Utf8(c.texto);
}

TEST(ValidaPis, ExemplosEBordas) {
  const Caso casos[] = {
      {u"234.56789.01.3", true},  {u"23456789013", true},    {u"400.00000.00.0", true},
      {u"234.56789.01-3", false}, {u"234.56789.01.4", false}, {u"000.00000.00.0", false},
      {u"-00.00000.00.0", false}, {u"  234.56789.01.3", true}, {u"2345678901", false},
      {u"", false},
  };
  for (const Caso& c : casos) EXPECT_EQ(ValidaPis(c.texto), c.valido) << Utf8(c.texto);
}

TEST(ValidaPis, NegativoPassaOTesteDoZero) {
  // "-" counts as 0 in the sum; the leading number -100000000 is not zero.
  // Weights 3 2 9 8 7 6 5 4 3 2 over "-100000000": sum 2, remainder 2, check digit 9.
  const std::u16string corpo = u"-1" + std::u16string(8, u'0');
  EXPECT_TRUE(ValidaPis(corpo + u"9"));
  EXPECT_FALSE(ValidaPis(corpo + u"8"));
}

struct Cartao {
  std::u16string texto;
  ResultadoCartao resultado;
};

TEST(ValidaCartao, LuhnEFalhaDeConversao) {
  const Cartao casos[] = {
      {u"1234.5678.1234.5670", ResultadoCartao::Valido},
      {u"1234567812345670", ResultadoCartao::Valido},
      {u"1234.5678.1234.5678", ResultadoCartao::Invalido},
      {u"4111111111111111", ResultadoCartao::Valido},
      {u"79927398713", ResultadoCartao::Valido},
      {u"79927398710", ResultadoCartao::Invalido},
      {u"0", ResultadoCartao::Valido},
      {u"", ResultadoCartao::Valido},
      {u"....", ResultadoCartao::Valido},
      {u"5", ResultadoCartao::Invalido},
      {u"18", ResultadoCartao::Valido},
      {u"1234 5678", ResultadoCartao::NaoNumerico},
      {u" 1234", ResultadoCartao::NaoNumerico},
      {u"1234-5678", ResultadoCartao::NaoNumerico},
      {u"12a4", ResultadoCartao::NaoNumerico},
      {u"\xFF10", ResultadoCartao::NaoNumerico},
  };
  for (const Cartao& c : casos) EXPECT_EQ(ValidaCartao(c.texto), c.resultado) << Utf8(c.texto);
}

TEST(ValidaCartao, PegaTodoErroDeUmDigito) {
  std::mt19937 gerador(77);
  for (int i = 0; i < 2000; ++i) {
    std::u16string n;
    int tamanho = 1 + static_cast<int>(gerador() % 25);
    for (int k = 0; k < tamanho; ++k) n.push_back(static_cast<char16_t>(u'0' + gerador() % 10));
    // Append the digit that makes the sum a multiple of 10.
    for (char16_t d = u'0'; d <= u'9'; ++d) {
      if (ValidaCartao(n + d) == ResultadoCartao::Valido) {
        n.push_back(d);
        break;
      }
    }
    ASSERT_EQ(ValidaCartao(n), ResultadoCartao::Valido) << Utf8(n);
    size_t pos = gerador() % n.size();
    n[pos] = static_cast<char16_t>(u'0' + (n[pos] - u'0' + 1 + gerador() % 9) % 10);
    EXPECT_EQ(ValidaCartao(n), ResultadoCartao::Invalido) << Utf8(n);
  }
}

TEST(Validadores, TextosEnormes) {
  std::u16string enorme(1 << 20, u'0');
  EXPECT_TRUE(ValidaCpf(u"") == false && ValidaCpf(enorme) == false);
  EXPECT_FALSE(ValidaCnpj(enorme));
  EXPECT_FALSE(ValidaPis(enorme));
  EXPECT_EQ(ValidaCartao(enorme), ResultadoCartao::Valido);
  enorme.back() = u'1';
  EXPECT_EQ(ValidaCartao(enorme), ResultadoCartao::Invalido);
}

}  // namespace
}  // namespace delvorin
