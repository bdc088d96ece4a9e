// Document layouts for an assigned Text.
#include <random>

#include "format/Formatadores.h"
#include "tests/Auxiliares.h"

namespace delvorin {
namespace {

using Formatador = std::u16string (*)(std::u16string_view);

struct Layout {
  Formatador f;
  const char* nome;
  std::u16string entrada, saida;
};

TEST(Formatadores, ExemplosEBordas) {
  const Layout casos[] = {
      {FormataCep, "Cep", u"12345678", u"12345-678"},
      {FormataCep, "Cep", u"12345-678", u"12345-678"},
      {FormataCep, "Cep", u"123456", u"12345-6"},
      {FormataCep, "Cep", u"1234", u"1234"},
      {FormataCep, "Cep", u"12345", u"12345"},
      {FormataCep, "Cep", u"123456789", u"12345-678"},
      {FormataCep, "Cep", u"12.345-678", u"12.34-567"},
      {FormataCpf, "Cpf", u"12345678909", u"123.456.789-09"},
      {FormataCpf, "Cpf", u"1234", u"123.4"},
      {FormataCpf, "Cpf", u"123", u"123"},
      {FormataCpf, "Cpf", u"123456789", u"123.456.789"},
      {FormataCpf, "Cpf", u"1234567890", u"123.456.789-0"},
      {FormataCpf, "Cpf", u"123456789012", u"123.456.789-01"},
      {FormataCpf, "Cpf", u"123/456", u"123./45.6"},
      {FormataCnpj, "Cnpj", u"11222333000181", u"11.222.333/0001-81"},
      {FormataCnpj, "Cnpj", u"11.222.333/0001-81", u"11.222.333/0001-81"},
      {FormataCnpj, "Cnpj", u"12345674", u"12.345.674"},
      {FormataCnpj, "Cnpj", u"112", u"11.2"},
      {FormataCnpj, "Cnpj", u"11", u"11"},
      {FormataPis, "Pis", u"23456789013", u"234.56789.01.3"},
      {FormataPis, "Pis", u"2345", u"234.5"},
      {FormataPis, "Pis", u"234.56789.01-3", u"234.56789.01.-"},
      {FormataCartao, "Cartao", u"1234567812345678", u"1234.5678.1234.5678"},
      {FormataCartao, "Cartao", u"12345", u"1234.5"},
      {FormataCartao, "Cartao", u"1234", u"1234"},
      {FormataCartao, "Cartao", u"1234 5678 1234 5678", u"1234. 567.8 12.34 5"},
      {FormataCartao, "Cartao", u"12345678123456789", u"1234.5678.1234.5678"},
  };
  for (const Layout& c : casos) EXPECT_EQ(c.f(c.entrada), c.saida) << c.nome << " " << Utf8(c.entrada);
  for (Formatador f : {FormataCep, FormataCpf, FormataCnpj, FormataPis, FormataCartao}) EXPECT_EQ(f(u""), u"");
}

TEST(Formatadores, LayoutProntoVoltaIgual) {
  std::mt19937 gerador(5);
  for (Formatador f : {FormataCep, FormataCpf, FormataCnpj, FormataPis, FormataCartao}) {
    for (int tamanho = 0; tamanho <= 20; ++tamanho) {
      std::u16string digitos;
      for (int k = 0; k < tamanho; ++k) digitos.push_back(static_cast<char16_t>(u'0' + gerador() % 10));
      std::u16string uma = f(digitos);
      EXPECT_EQ(f(uma), uma) << Utf8(digitos);
    }
  }
}

TEST(Formatadores, TextoMuitoLongo) {
  std::u16string longo(40000, u'7');
  EXPECT_EQ(FormataCpf(longo), u"777.777.777-77");
  EXPECT_EQ(FormataCnpj(std::u16string(1 << 20, u'.') + u"1"), u"1");
}

}  // namespace
}  // namespace delvorin
