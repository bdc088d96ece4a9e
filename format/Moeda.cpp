// Amounts and numbers in the Brazilian convention: decimal comma, dots between thousands,
// the R$ symbol. Nothing here depends on the machine's locale; doubles go through the exact
// conversions of format/Decimal, the same on every platform.
#include "format/Moeda.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "format/Decimal.h"

namespace delvorin {
namespace {

constexpr uint64_t kMaximoPositivo = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
constexpr uint64_t kMaximoNegativo = kMaximoPositivo + 1;
constexpr int64_t kLimiteExpoente = 1'000'000'000'000;

bool Digito(char16_t c) { return c >= u'0' && c <= u'9'; }
bool Espaco(char16_t c) { return c == u' '; }

// Decimal digits of an unsigned integer, without any locale.
std::string Decimal(uint64_t n) {
  char buf[24];
  auto fim = std::to_chars(buf, buf + sizeof buf, n).ptr;
  return std::string(buf, fim);
}

// The parts of an amount or number text: digits only, dots dropped.
struct Parts {
  bool negativo = false;
  std::string inteiro;  // without leading zeros
  std::string fracao;
  int64_t expoente = 0;
};

// Parses the grammar shared by amounts and numbers. Exponents are taken only for numbers.
Status Analisa(std::u16string_view t, bool aceitaExpoente, Parts& p) {
  size_t i = 0;
  const size_t n = t.size();
  auto pulaEspacos = [&] {
    while (i < n && Espaco(t[i])) ++i;
  };
  bool sinal = false, simbolo = false, parenteses = false;
  auto leSinalOuSimbolo = [&] {
    for (;;) {
      pulaEspacos();
      if (i < n && (t[i] == u'-' || t[i] == u'+')) {
        if (sinal) return false;
        sinal = true;
        p.negativo = t[i] == u'-';
        ++i;
      } else if (i + 1 < n && t[i] == u'R' && t[i + 1] == u'$') {
        if (simbolo) return false;
        simbolo = true;
        i += 2;
      } else {
        return true;
      }
    }
  };

  pulaEspacos();
  if (i < n && t[i] == u'(') {
    parenteses = true;
    ++i;
  }
  if (!leSinalOuSimbolo()) return Status::TypeMismatch();

  bool algumDigito = false;
  bool zerosAEsquerda = true;
  while (i < n && (Digito(t[i]) || t[i] == u'.')) {
    if (t[i] != u'.') {
      algumDigito = true;
      if (!(zerosAEsquerda && t[i] == u'0')) {
        zerosAEsquerda = false;
        p.inteiro.push_back(static_cast<char>(t[i]));
      }
    }
    ++i;
  }
  if (i < n && t[i] == u',') {
    ++i;
    while (i < n && Digito(t[i])) {
      algumDigito = true;
      p.fracao.push_back(static_cast<char>(t[i]));
      ++i;
    }
  }
  if (!algumDigito) return Status::TypeMismatch();
  if (aceitaExpoente && i < n && (t[i] == u'E' || t[i] == u'e')) {
    ++i;
    bool expNegativo = false;
    if (i < n && (t[i] == u'+' || t[i] == u'-')) expNegativo = t[i++] == u'-';
    if (i >= n || !Digito(t[i])) return Status::TypeMismatch();
    int64_t e = 0;
    for (; i < n && Digito(t[i]); ++i)
      if (e < kLimiteExpoente) e = e * 10 + (t[i] - u'0');
    p.expoente = expNegativo ? -e : e;
  }
  if (!leSinalOuSimbolo()) return Status::TypeMismatch();
  if (parenteses) {
    if (sinal || i >= n || t[i] != u')') return Status::TypeMismatch();
    ++i;
    p.negativo = true;
    pulaEspacos();
  }
  if (i != n) return Status::TypeMismatch();
  return Status::Ok();
}

// A double from decimal parts; Overflow when it does not fit, 0 when it is too small.
Status ParaDouble(bool negativo, const std::string& inteiro, const std::string& fracao, int64_t expoente,
                  double& valor) {
  size_t primeiroFrac = fracao.find_first_not_of('0');
  if (inteiro.empty() && primeiroFrac == std::string::npos) {
    valor = negativo ? -0.0 : 0.0;
    return Status::Ok();
  }
  double d = 0;
  if (DoubleFromDecimal(inteiro, fracao, expoente, d) != DoubleParse::Ok) {
    // The magnitude's decimal exponent tells overflow from underflow.
    int64_t ordem = inteiro.empty() ? -static_cast<int64_t>(primeiroFrac) : static_cast<int64_t>(inteiro.size());
    if (ordem + expoente > 0) return Status::Overflow();
    valor = negativo ? -0.0 : 0.0;
    return Status::Ok();
  }
  valor = negativo ? -d : d;
  return Status::Ok();
}

// The magnitude's digits: integer part without leading zeros ("0" for none) and exactly
// `decimais` decimals, rounded half away from zero (decimais up to 4; more are zeros).
void Digitos(uint64_t magnitude, unsigned decimais, std::string& inteiro, std::string& fracao) {
  std::string s = Decimal(magnitude);
  if (s.size() < 5) s.insert(0, 5 - s.size(), '0');
  const unsigned exatos = decimais < 4 ? decimais : 4;
  const size_t corte = s.size() - 4 + exatos;
  bool sobe = exatos < 4 && s[corte] >= '5';
  s.resize(corte);
  for (size_t k = s.size(); sobe && k-- > 0;) {
    if (s[k] == '9') {
      s[k] = '0';
    } else {
      ++s[k];
      sobe = false;
    }
  }
  if (sobe) s.insert(s.begin(), '1');
  inteiro = s.substr(0, s.size() - exatos);
  fracao = s.substr(s.size() - exatos);
  size_t zeros = inteiro.find_first_not_of('0');
  inteiro = zeros == std::string::npos ? "0" : inteiro.substr(zeros);
  if (decimais > exatos) fracao.append(decimais - exatos, '0');
}

uint64_t Magnitude(Moeda v) {
  return v.decimilesimos < 0 ? 0 - static_cast<uint64_t>(v.decimilesimos) : static_cast<uint64_t>(v.decimilesimos);
}

bool TudoZero(const std::string& a, const std::string& b) {
  return a.find_first_not_of('0') == std::string::npos && b.find_first_not_of('0') == std::string::npos;
}

std::u16string Agrupa(const std::string& inteiro) {
  std::u16string r;
  r.reserve(inteiro.size() + inteiro.size() / 3);
  for (size_t k = 0; k < inteiro.size(); ++k) {
    if (k > 0 && (inteiro.size() - k) % 3 == 0) r.push_back(u'.');
    r.push_back(static_cast<char16_t>(inteiro[k]));
  }
  return r;
}

std::u16string U16(const std::string& s) { return std::u16string(s.begin(), s.end()); }

}  // namespace

Status LeMoeda(std::u16string_view texto, Moeda& valor) {
  Parts p;
  DELVORIN_TRY(Analisa(texto, false, p));
  // Leading zeros are already gone: more than 15 integer digits never fit.
  if (p.inteiro.size() > 15) return Status::Overflow();
  uint64_t m = 0;
  for (char c : p.inteiro) m = m * 10 + static_cast<uint64_t>(c - '0');
  for (size_t k = 0; k < 4; ++k) m = m * 10 + (k < p.fracao.size() ? static_cast<uint64_t>(p.fracao[k] - '0') : 0);
  // Beyond four decimals the fifth decides: half away from zero on the magnitude.
  if (p.fracao.size() > 4 && p.fracao[4] >= '5') ++m;
  if (m > (p.negativo ? kMaximoNegativo : kMaximoPositivo)) return Status::Overflow();
  if (!p.negativo) {
    valor.decimilesimos = static_cast<int64_t>(m);
  } else if (m == kMaximoNegativo) {
    valor.decimilesimos = std::numeric_limits<int64_t>::min();
  } else {
    valor.decimilesimos = -static_cast<int64_t>(m);
  }
  return Status::Ok();
}

Status LeNumero(std::u16string_view texto, double& valor) {
  Parts p;
  DELVORIN_TRY(Analisa(texto, true, p));
  return ParaDouble(p.negativo, p.inteiro, p.fracao, p.expoente, valor);
}

std::u16string TextoMoeda(Moeda valor, unsigned digitos, bool parenteses) {
  std::string inteiro, fracao;
  Digitos(Magnitude(valor), digitos, inteiro, fracao);
  const bool negativo = valor.decimilesimos < 0 && !TudoZero(inteiro, fracao);
  std::u16string r;
  if (negativo) r.push_back(parenteses ? u'(' : u'-');
  r.append(u"R$ ").append(Agrupa(inteiro));
  if (digitos > 0) r.append(u",").append(U16(fracao));
  if (negativo && parenteses) r.push_back(u')');
  return r;
}

std::u16string TextoMascara(Moeda valor, unsigned digitos) {
  std::string inteiro, fracao;
  Digitos(Magnitude(valor), digitos < 5 ? digitos : 5, inteiro, fracao);
  std::u16string r;
  if (valor.decimilesimos < 0 && !TudoZero(inteiro, fracao)) r.push_back(u'-');
  r.append(Agrupa(inteiro)).append(u",").append(U16(fracao));
  return r;
}

std::u16string FormaSimples(Moeda valor) {
  std::string inteiro, fracao;
  Digitos(Magnitude(valor), 4, inteiro, fracao);
  fracao.erase(fracao.find_last_not_of('0') + 1);
  std::u16string r;
  if (valor.decimilesimos < 0) r.push_back(u'-');
  r.append(U16(inteiro));
  if (!fracao.empty()) r.append(u",").append(U16(fracao));
  return r;
}

std::u16string FormaGeral(double valor) {
  // NaN cannot come from a reading either; it shows as zero, like -0.0.
  if (std::isnan(valor) || valor == 0) return u"0";
  // Infinity cannot come from a reading; show it as the largest double, which reads back.
  if (std::isinf(valor)) valor = std::copysign(std::numeric_limits<double>::max(), valor);
  // 15 significant digits, rounded from the exact binary value to nearest, ties to even.
  constexpr int kDigitos = 15;
  char buf[kDigitos];
  const int expoente = SignificantDigits(valor, kDigitos, buf);
  std::string digitos(buf, kDigitos);
  // The largest doubles would round to a text above the largest double, which could not be
  // read back: they are cut to the last 15-digit value that fits.
  constexpr std::string_view kMaiorQueCabe = "179769313486231";
  if (expoente == 308 && digitos > kMaiorQueCabe) digitos = kMaiorQueCabe;
  digitos.erase(digitos.find_last_not_of('0') + 1);

  std::string r;
  if (valor < 0) r.push_back('-');
  if (expoente >= -5 && expoente <= 14) {
    if (expoente >= 0) {
      const size_t inteiros = static_cast<size_t>(expoente) + 1;
      if (digitos.size() <= inteiros) {
        r.append(digitos).append(inteiros - digitos.size(), '0');
      } else {
        r.append(digitos, 0, inteiros).append(",").append(digitos, inteiros);
      }
    } else {
      r.append("0,").append(static_cast<size_t>(-expoente - 1), '0').append(digitos);
    }
  } else {
    r.append(digitos, 0, 1);
    if (digitos.size() > 1) r.append(",").append(digitos, 1);
    r.append(expoente < 0 ? "E-" : "E+");
    const int absoluto = expoente < 0 ? -expoente : expoente;
    if (absoluto < 10) r.push_back('0');
    r.append(Decimal(static_cast<uint64_t>(absoluto)));
  }
  return U16(r);
}

namespace {

// Scans the leading number. Calls `digito` for each mantissa digit (and '.'), returns the
// sign and the exponent read. Spaces (U+0020 only, as everywhere else in the engine) are
// skipped anywhere after the leading ones, the exponent included, as BASIC's Val does; an E
// without digits after it is where reading stops.
template <typename F>
void VarreNumeroInicial(std::u16string_view t, bool& negativo, int64_t& expoente, F&& digito) {
  size_t i = 0;
  const size_t n = t.size();
  negativo = false;
  expoente = 0;
  while (i < n && Espaco(t[i])) ++i;
  if (i < n && (t[i] == u'+' || t[i] == u'-')) negativo = t[i++] == u'-';
  bool ponto = false, algum = false;
  for (; i < n; ++i) {
    if (Digito(t[i])) {
      algum = true;
      digito(static_cast<char>(t[i]));
    } else if (t[i] == u'.' && !ponto) {
      ponto = true;
      digito('.');
    } else if (!Espaco(t[i])) {
      break;
    }
  }
  if (!algum || i >= n || (t[i] != u'E' && t[i] != u'e')) return;
  size_t j = i + 1;
  while (j < n && Espaco(t[j])) ++j;
  bool expNegativo = false;
  if (j < n && (t[j] == u'+' || t[j] == u'-')) expNegativo = t[j++] == u'-';
  int64_t e = 0;
  bool algumExp = false;
  for (; j < n; ++j) {
    if (Digito(t[j])) {
      algumExp = true;
      if (e < kLimiteExpoente) e = e * 10 + (t[j] - u'0');
    } else if (!Espaco(t[j])) {
      break;
    }
  }
  if (algumExp) expoente = expNegativo ? -e : e;
}

}  // namespace

Status NumeroInicial(std::u16string_view texto, double& valor) {
  bool negativo = false;
  int64_t expoente = 0;
  std::string inteiro, fracao;
  bool naFracao = false, zerosAEsquerda = true;
  VarreNumeroInicial(texto, negativo, expoente, [&](char c) {
    if (c == '.') {
      naFracao = true;
    } else if (naFracao) {
      fracao.push_back(c);
    } else if (!(zerosAEsquerda && c == '0')) {
      zerosAEsquerda = false;
      inteiro.push_back(c);
    }
  });
  return ParaDouble(negativo, inteiro, fracao, expoente, valor);
}

int SinalNumeroInicial(std::u16string_view texto) {
  bool negativo = false, naoZero = false;
  int64_t expoente = 0;
  VarreNumeroInicial(texto, negativo, expoente, [&](char c) {
    if (c >= '1' && c <= '9') naoZero = true;
  });
  if (!naoZero) return 0;
  return negativo ? -1 : 1;
}

}  // namespace delvorin
