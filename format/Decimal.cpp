// Double <-> decimal with a big integer of 32-bit limbs. A double is m x 2^e exactly and a
// decimal is D x 10^f exactly; each conversion brings the value to an integer quotient of a
// few more bits than the result needs, plus a flag telling whether anything was left over,
// by multiplying by 5^n or dividing by 5^n (13 factors of 5 at a time, which fit 32 bits) and
// shifting for the powers of 2. Quotient, last kept bit and that flag decide the rounding.
#include "format/Decimal.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace delvorin {
namespace {

static_assert(std::numeric_limits<double>::is_iec559 && sizeof(double) == sizeof(uint64_t));

constexpr int kBitsMantissa = 52;                // stored fraction bits of a double
constexpr int kMenorExpoenteNormal = -1022;      // exponent of the smallest normal double
constexpr int kPesoDoMenorBit = -1074;           // 2^-1074, the least subnormal
constexpr uint64_t kUmImplicito = uint64_t{1} << kBitsMantissa;

constexpr std::array<uint32_t, 14> kPotencias5 = {
    1, 5, 25, 125, 625, 3125, 15625, 78125, 390625, 1953125, 9765625, 48828125, 244140625, 1220703125};
constexpr int kPasso5 = 13;  // 5^13 is the largest power of 5 that fits 32 bits

constexpr std::array<uint64_t, 19> kPotencias10 = [] {
  std::array<uint64_t, 19> p{};
  p[0] = 1;
  for (size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 10;
  return p;
}();

// A non-negative integer of up to kLimbs x 32 bits. The largest needed has about 2700 bits
// (a decimal of 800 digits, or one shifted to divide by 5^1123; see DoubleFromDecimal).
class BigInteger {
 public:
  explicit BigInteger(uint64_t v) {
    while (v != 0) {
      limbs_[tamanho_++] = static_cast<uint32_t>(v);
      v >>= 32;
    }
  }

  int Bits() const {
    return tamanho_ == 0 ? 0 : 32 * (tamanho_ - 1) + std::bit_width(limbs_[tamanho_ - 1]);
  }

  // The value, when it fits 64 bits.
  uint64_t Baixo64() const {
    assert(tamanho_ <= 2);
    uint64_t v = tamanho_ > 0 ? limbs_[0] : 0;
    if (tamanho_ > 1) v |= uint64_t{limbs_[1]} << 32;
    return v;
  }

  // this = this x fator + soma.
  void MultiplicaSoma(uint32_t fator, uint32_t soma) {
    uint64_t vai = soma;
    for (int i = 0; i < tamanho_; ++i) {
      vai += uint64_t{limbs_[i]} * fator;
      limbs_[i] = static_cast<uint32_t>(vai);
      vai >>= 32;
    }
    if (vai != 0) Acrescenta(static_cast<uint32_t>(vai));
  }

  void MultiplicaPorCincoA(int64_t n) {
    for (; n > 0 && tamanho_ > 0; n -= kPasso5) MultiplicaSoma(kPotencias5[Passo(n)], 0);
  }

  // this = floor(this / 5^n); true when the remainder was not zero. Dividing by 5^n is
  // dividing by 5^13 again and again (floor(floor(x / a) / b) = floor(x / ab); a remainder
  // in any step leaves one in the whole), after multiplying by the factors of 5 that make
  // n a multiple of 13, so every division is by the same constant, which compilers turn
  // into a multiplication.
  bool DividePorCincoA(int64_t n) {
    if (n % kPasso5 != 0) {
      MultiplicaSoma(kPotencias5[static_cast<size_t>(kPasso5 - n % kPasso5)], 0);
      n += kPasso5 - n % kPasso5;
    }
    bool resto = false;
    for (; n > 0 && tamanho_ > 0; n -= kPasso5) resto |= DividePorCincoAoPasso() != 0;
    return resto;
  }

  void DeslocaEsquerda(int64_t bits) {
    if (tamanho_ == 0 || bits <= 0) return;
    const int limbs = static_cast<int>(bits / 32), resto = static_cast<int>(bits % 32);
    assert(tamanho_ + limbs + 1 <= kLimbs);
    if (resto != 0) {
      uint32_t alto = limbs_[tamanho_ - 1] >> (32 - resto);
      for (int i = tamanho_ - 1; i > 0; --i) limbs_[i] = (limbs_[i] << resto) | (limbs_[i - 1] >> (32 - resto));
      limbs_[0] <<= resto;
      if (alto != 0) limbs_[tamanho_++] = alto;
    }
    if (limbs > 0) {
      std::copy_backward(limbs_.begin(), limbs_.begin() + tamanho_, limbs_.begin() + tamanho_ + limbs);
      std::fill(limbs_.begin(), limbs_.begin() + limbs, 0u);
      tamanho_ += limbs;
    }
  }

  // this = floor(this / 2^bits); true when a bit shifted out was 1.
  bool DeslocaDireita(int64_t bits) {
    if (bits <= 0) return false;
    if (bits >= Bits()) {
      const bool perdeu = tamanho_ > 0;
      tamanho_ = 0;
      return perdeu;
    }
    const int limbs = static_cast<int>(bits / 32), resto = static_cast<int>(bits % 32);
    bool perdeu = false;
    for (int i = 0; i < limbs; ++i) perdeu |= limbs_[i] != 0;
    if (resto != 0) perdeu |= (limbs_[limbs] & ((uint32_t{1} << resto) - 1)) != 0;
    for (int i = limbs; i < tamanho_; ++i) {
      uint32_t v = limbs_[i] >> resto;
      if (resto != 0 && i + 1 < tamanho_) v |= limbs_[i + 1] << (32 - resto);
      limbs_[i - limbs] = v;
    }
    tamanho_ -= limbs;
    Normaliza();
    return perdeu;
  }

 private:
  static constexpr int kLimbs = 96;

  // Factors of 5 for the next step: 13, or what remains of n.
  static size_t Passo(int64_t n) { return static_cast<size_t>(n < kPasso5 ? n : kPasso5); }

  void Acrescenta(uint32_t limb) {
    assert(tamanho_ < kLimbs);
    limbs_[tamanho_++] = limb;
  }

  void Normaliza() {
    while (tamanho_ > 0 && limbs_[tamanho_ - 1] == 0) --tamanho_;
  }

  // this = floor(this / 5^13); returns the remainder.
  uint32_t DividePorCincoAoPasso() {
    constexpr uint32_t kDivisor = kPotencias5[kPasso5];
    uint64_t resto = 0;
    for (int i = tamanho_; i-- > 0;) {
      const uint64_t atual = (resto << 32) | limbs_[i];
      limbs_[i] = static_cast<uint32_t>(atual / kDivisor);
      resto = atual % kDivisor;
    }
    Normaliza();
    return static_cast<uint32_t>(resto);
  }

  std::array<uint32_t, kLimbs> limbs_;  // only the first tamanho_ are meaningful
  int tamanho_ = 0;  // limbs in use, least significant first; the top one is not zero
};

// An upper bound of the bit count of 5^n (n log2 5 < n x 152170 / 2^16).
int64_t BitsDeCincoA(int64_t n) { return ((n * 152170) >> 16) + 1; }

// The double nearest to (q + a little when sobra) x 2^exp2, ties to even. When sobra is set,
// q must hold at least the bit worth half the result's last bit, so that the little, below
// 2^exp2, only tells whether the value lies above the bits of q.
DoubleParse Arredonda(BigInteger& q, int64_t exp2, bool sobra, double& valor) {
  const int64_t topo = q.Bits() - 1 + exp2;  // weight of the leading bit
  if (topo > std::numeric_limits<double>::max_exponent - 1) {
    valor = std::numeric_limits<double>::infinity();
    return DoubleParse::Infinito;
  }
  int64_t ultimo = std::max<int64_t>(topo - kBitsMantissa, kPesoDoMenorBit);  // weight of the last kept bit
  const int64_t corte = ultimo - exp2;
  uint64_t mantissa = 0;
  if (corte <= 0) {
    assert(!sobra);
    mantissa = q.Baixo64() << -corte;
  } else {
    const bool abaixo = q.DeslocaDireita(corte - 1) || sobra;
    const uint64_t comMeio = q.Baixo64();  // the kept bits and the half bit
    mantissa = comMeio >> 1;
    if ((comMeio & 1) != 0 && (abaixo || (mantissa & 1) != 0)) ++mantissa;
  }
  if (mantissa == 2 * kUmImplicito) {
    mantissa = kUmImplicito;
    ++ultimo;
  }
  if (mantissa == 0) {
    valor = 0;
    return DoubleParse::Zero;
  }
  uint64_t bits = mantissa;  // a subnormal: the stored exponent is 0
  if (mantissa >= kUmImplicito) {
    const int64_t expoente = ultimo + kBitsMantissa - kMenorExpoenteNormal + 1;  // biased
    if (expoente >= 2047) {
      valor = std::numeric_limits<double>::infinity();
      return DoubleParse::Infinito;
    }
    bits = (static_cast<uint64_t>(expoente) << kBitsMantissa) | (mantissa - kUmImplicito);
  }
  valor = std::bit_cast<double>(bits);
  return DoubleParse::Ok;
}

}  // namespace

int SignificantDigits(double valor, int quantos, char* digitos) {
  assert(quantos >= 1 && quantos <= kMaximoDigitosSignificativos);
  const uint64_t bits = std::bit_cast<uint64_t>(valor);
  const int expoenteGuardado = static_cast<int>((bits >> kBitsMantissa) & 0x7FF);
  uint64_t m = bits & (kUmImplicito - 1);
  int e = kPesoDoMenorBit;
  if (expoenteGuardado != 0) {
    m |= kUmImplicito;
    e = expoenteGuardado + kMenorExpoenteNormal - 1 - kBitsMantissa;
  }
  assert(m != 0 && expoenteGuardado != 0x7FF);
  // |valor| = m x 2^e lies in [2^b, 2^(b+1)), so floor(log10 |valor|) is k or k + 1 with
  // k = floor(b log10 2): 1292913986 / 2^32 is log10 2 within 1.2e-10, so the product is
  // off by under 2e-7, and no b log10 2 with 0 < |b| <= 1075 is within 4e-4 of an integer.
  const int b = e + std::bit_width(m) - 1;
  int k = static_cast<int>((int64_t{b} * 1292913986) >> 32);
  const int s = k - quantos + 1;

  // t = floor(2 |valor| / 10^s) = floor(m x 2^(e+1-s) / 5^s); sobra: it was not exact.
  BigInteger a(m);
  const int p2 = e + 1 - s;
  bool sobra = false;
  if (s < 0) a.MultiplicaPorCincoA(-s);
  if (p2 >= 0) {
    a.DeslocaEsquerda(p2);
  } else {
    sobra = a.DeslocaDireita(-p2);
  }
  if (s > 0) sobra |= a.DividePorCincoA(s);
  uint64_t t = a.Baixo64();  // below 2 x 10^(quantos+1)

  const uint64_t limite = kPotencias10[static_cast<size_t>(quantos)];
  if (t >= 2 * limite) {  // floor(log10 |valor|) was k + 1: one digit fewer
    sobra |= t % 10 != 0;
    t /= 10;
    ++k;
  }
  // t / 2 is the digits; its last bit is the half.
  uint64_t q = t >> 1;
  if ((t & 1) != 0 && (sobra || (q & 1) != 0)) ++q;
  if (q == limite) {
    q /= 10;
    ++k;
  }
  for (int i = quantos; i-- > 0;) {
    digitos[i] = static_cast<char>('0' + q % 10);
    q /= 10;
  }
  return k;
}

DoubleParse DoubleFromDecimal(std::string_view inteiro, std::string_view fracao, int64_t expoente, double& valor) {
  const size_t total = inteiro.size() + fracao.size();
  auto digito = [&](size_t i) { return i < inteiro.size() ? inteiro[i] : fracao[i - inteiro.size()]; };
  size_t primeiro = 0;
  while (primeiro < total && digito(primeiro) == '0') ++primeiro;
  if (primeiro == total) {
    valor = 0;
    return DoubleParse::Ok;
  }
  size_t ultimo = total - 1;
  while (digito(ultimo) == '0') --ultimo;

  // The value is 0.d1d2...dn x 10^ordem, d1 and dn not zero. Exponents this far out give
  // infinity or zero whatever the digits, so clamping them keeps the sum in range.
  constexpr int64_t kExpoenteLonge = int64_t{1} << 60;
  expoente = std::clamp(expoente, -kExpoenteLonge, kExpoenteLonge);
  const int64_t ordem = expoente + static_cast<int64_t>(inteiro.size()) - static_cast<int64_t>(primeiro);
  if (ordem > 309) {  // at least 10^309
    valor = std::numeric_limits<double>::infinity();
    return DoubleParse::Infinito;
  }
  if (ordem < -323) {  // below 10^-324, under half the least subnormal
    valor = 0;
    return DoubleParse::Zero;
  }

  // A halfway point between doubles is odd x 2^(q-1), q-1 >= -1075, below 2^(q+53): its last
  // digit is at 10^(q-1), which is at or above 10^(ordem-800) near a value of 10^ordem with
  // -323 <= ordem <= 309. Digits past the 800th therefore only tell whether the value lies
  // above the truncated one; the last digit is not zero, so it does when any were dropped.
  constexpr size_t kDigitosUteis = 800;
  const size_t usados = std::min(ultimo - primeiro + 1, kDigitosUteis);
  bool sobra = ultimo - primeiro + 1 > usados;
  BigInteger a(0);
  for (size_t i = 0; i < usados;) {
    const size_t bloco = std::min<size_t>(usados - i, 9);
    uint32_t v = 0;
    for (size_t j = 0; j < bloco; ++j) v = v * 10 + static_cast<uint32_t>(digito(primeiro + i + j) - '0');
    a.MultiplicaSoma(static_cast<uint32_t>(kPotencias10[bloco]), v);
    i += bloco;
  }
  const int64_t f = ordem - static_cast<int64_t>(usados);  // the value is a x 10^f (and a little more if sobra)

  if (f >= 0) {  // an integer below 10^309: exact, then rounded
    a.MultiplicaPorCincoA(f);
    return Arredonda(a, f, sobra, valor);
  }
  // a x 10^f = (a x 2^j / 5^-f) x 2^(f-j). j leaves the quotient at least 57 bits, at least
  // 4 of them below the result's last bit, for a subnormal result too (its value, below
  // 2^-1022, is then at least 2^56 x 2^(f-j), so f - j < -1078, while its last bit is
  // 2^-1074). The shifted a has at most 57 + BitsDeCincoA(1123) bits, or those of 800
  // digits when j is 0.
  const int64_t j = std::max<int64_t>(57 + BitsDeCincoA(-f) - a.Bits(), 0);
  a.DeslocaEsquerda(j);
  sobra |= a.DividePorCincoA(-f);
  return Arredonda(a, f - j, sobra, valor);
}

}  // namespace delvorin
