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

constexpr int kBitsMantissa = 52;          // stored fraction bits of a double
constexpr int kMinNormalExponent = -1022;  // exponent of the smallest normal double
constexpr int kLeastBitWeight = -1074;     // 2^-1074, the least subnormal
constexpr uint64_t kImplicitOne = uint64_t{1} << kBitsMantissa;

constexpr std::array<uint32_t, 14> kPowersOf5 = {
    1, 5, 25, 125, 625, 3125, 15625, 78125, 390625, 1953125, 9765625, 48828125, 244140625, 1220703125};
constexpr int kStep5 = 13;  // 5^13 is the largest power of 5 that fits 32 bits

constexpr std::array<uint64_t, 19> kPowersOf10 = [] {
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
      limbs_[size_++] = static_cast<uint32_t>(v);
      v >>= 32;
    }
  }

  int Bits() const {
    return size_ == 0 ? 0 : 32 * (size_ - 1) + std::bit_width(limbs_[size_ - 1]);
  }

  // The value, when it fits 64 bits.
  uint64_t Low64() const {
    assert(size_ <= 2);
    uint64_t v = size_ > 0 ? limbs_[0] : 0;
    if (size_ > 1) v |= uint64_t{limbs_[1]} << 32;
    return v;
  }

  // this = this x factor + addend.
  void MultiplyAdd(uint32_t factor, uint32_t addend) {
    uint64_t carry = addend;
    for (int i = 0; i < size_; ++i) {
      carry += uint64_t{limbs_[i]} * factor;
      limbs_[i] = static_cast<uint32_t>(carry);
      carry >>= 32;
    }
    if (carry != 0) Append(static_cast<uint32_t>(carry));
  }

  void MultiplyByPowerOf5(int64_t n) {
    for (; n > 0 && size_ > 0; n -= kStep5) MultiplyAdd(kPowersOf5[Step(n)], 0);
  }

  // this = floor(this / 5^n); true when the remainder was not zero. Dividing by 5^n is
  // dividing by 5^13 again and again (floor(floor(x / a) / b) = floor(x / ab); a remainder
  // in any step leaves one in the whole), after multiplying by the factors of 5 that make
  // n a multiple of 13, so every division is by the same constant, which compilers turn
  // into a multiplication.
  bool DivideByPowerOf5(int64_t n) {
    if (n % kStep5 != 0) {
      MultiplyAdd(kPowersOf5[static_cast<size_t>(kStep5 - n % kStep5)], 0);
      n += kStep5 - n % kStep5;
    }
    bool remainder = false;
    for (; n > 0 && size_ > 0; n -= kStep5) remainder |= DivideByPowerOf5Step() != 0;
    return remainder;
  }

  void ShiftLeft(int64_t bits) {
    if (size_ == 0 || bits <= 0) return;
    const int limbs = static_cast<int>(bits / 32), remainder = static_cast<int>(bits % 32);
    assert(size_ + limbs + 1 <= kLimbs);
    if (remainder != 0) {
      uint32_t high = limbs_[size_ - 1] >> (32 - remainder);
      for (int i = size_ - 1; i > 0; --i) limbs_[i] = (limbs_[i] << remainder) | (limbs_[i - 1] >> (32 - remainder));
      limbs_[0] <<= remainder;
      if (high != 0) limbs_[size_++] = high;
    }
    if (limbs > 0) {
      std::copy_backward(limbs_.begin(), limbs_.begin() + size_, limbs_.begin() + size_ + limbs);
      std::fill(limbs_.begin(), limbs_.begin() + limbs, 0u);
      size_ += limbs;
    }
  }

  // this = floor(this / 2^bits); true when a bit shifted out was 1.
  bool ShiftRight(int64_t bits) {
    if (bits <= 0) return false;
    if (bits >= Bits()) {
      const bool lost = size_ > 0;
      size_ = 0;
      return lost;
    }
    const int limbs = static_cast<int>(bits / 32), remainder = static_cast<int>(bits % 32);
    bool lost = false;
    for (int i = 0; i < limbs; ++i) lost |= limbs_[i] != 0;
    if (remainder != 0) lost |= (limbs_[limbs] & ((uint32_t{1} << remainder) - 1)) != 0;
    for (int i = limbs; i < size_; ++i) {
      uint32_t v = limbs_[i] >> remainder;
      if (remainder != 0 && i + 1 < size_) v |= limbs_[i + 1] << (32 - remainder);
      limbs_[i - limbs] = v;
    }
    size_ -= limbs;
    Normalise();
    return lost;
  }

 private:
  static constexpr int kLimbs = 96;

  // Factors of 5 for the next step: 13, or what remains of n.
  static size_t Step(int64_t n) { return static_cast<size_t>(n < kStep5 ? n : kStep5); }

  void Append(uint32_t limb) {
    assert(size_ < kLimbs);
    limbs_[size_++] = limb;
  }

  void Normalise() {
    while (size_ > 0 && limbs_[size_ - 1] == 0) --size_;
  }

  // this = floor(this / 5^13); returns the remainder.
  uint32_t DivideByPowerOf5Step() {
    constexpr uint32_t kDivisor = kPowersOf5[kStep5];
    uint64_t remainder = 0;
    for (int i = size_; i-- > 0;) {
      const uint64_t current = (remainder << 32) | limbs_[i];
      limbs_[i] = static_cast<uint32_t>(current / kDivisor);
      remainder = current % kDivisor;
    }
    Normalise();
    return static_cast<uint32_t>(remainder);
  }

  std::array<uint32_t, kLimbs> limbs_;  // only the first size_ are meaningful
  int size_ = 0;  // limbs in use, least significant first; the top one is not zero
};

// An upper bound of the bit count of 5^n (n log2 5 < n x 152170 / 2^16).
int64_t BitsOfPowerOf5(int64_t n) { return ((n * 152170) >> 16) + 1; }

// The double nearest to (q + a little when inexact) x 2^exp2, ties to even. When inexact is set,
// q must hold at least the bit worth half the result's last bit, so that the little, below
// 2^exp2, only tells whether the value lies above the bits of q.
DoubleParse Round(BigInteger& q, int64_t exp2, bool inexact, double& value) {
  const int64_t top = q.Bits() - 1 + exp2;  // weight of the leading bit
  if (top > std::numeric_limits<double>::max_exponent - 1) {
    value = std::numeric_limits<double>::infinity();
    return DoubleParse::Infinity;
  }
  int64_t last = std::max<int64_t>(top - kBitsMantissa, kLeastBitWeight);  // weight of the last kept bit
  const int64_t cut = last - exp2;
  uint64_t mantissa = 0;
  if (cut <= 0) {
    assert(!inexact);
    mantissa = q.Low64() << -cut;
  } else {
    const bool below = q.ShiftRight(cut - 1) || inexact;
    const uint64_t withHalf = q.Low64();  // the kept bits and the half bit
    mantissa = withHalf >> 1;
    if ((withHalf & 1) != 0 && (below || (mantissa & 1) != 0)) ++mantissa;
  }
  if (mantissa == 2 * kImplicitOne) {
    mantissa = kImplicitOne;
    ++last;
  }
  if (mantissa == 0) {
    value = 0;
    return DoubleParse::Zero;
  }
  uint64_t bits = mantissa;  // a subnormal: the stored exponent is 0
  if (mantissa >= kImplicitOne) {
    const int64_t exponent = last + kBitsMantissa - kMinNormalExponent + 1;  // biased
    if (exponent >= 2047) {
      value = std::numeric_limits<double>::infinity();
      return DoubleParse::Infinity;
    }
    bits = (static_cast<uint64_t>(exponent) << kBitsMantissa) | (mantissa - kImplicitOne);
  }
  value = std::bit_cast<double>(bits);
  return DoubleParse::Ok;
}

}  // namespace

int SignificantDigits(double value, int count, char* digits) {
  assert(count >= 1 && count <= kMaxSignificantDigits);
  const uint64_t bits = std::bit_cast<uint64_t>(value);
  const int storedExponent = static_cast<int>((bits >> kBitsMantissa) & 0x7FF);
  uint64_t m = bits & (kImplicitOne - 1);
  int e = kLeastBitWeight;
  if (storedExponent != 0) {
    m |= kImplicitOne;
    e = storedExponent + kMinNormalExponent - 1 - kBitsMantissa;
  }
  assert(m != 0 && storedExponent != 0x7FF);
  // |value| = m x 2^e lies in [2^b, 2^(b+1)), so floor(log10 |value|) is k or k + 1 with
  // k = floor(b log10 2): 1292913986 / 2^32 is log10 2 within 1.2e-10, so the product is
  // off by under 2e-7, and no b log10 2 with 0 < |b| <= 1075 is within 4e-4 of an integer.
  const int b = e + std::bit_width(m) - 1;
  int k = static_cast<int>((int64_t{b} * 1292913986) >> 32);
  const int s = k - count + 1;

  // t = floor(2 |value| / 10^s) = floor(m x 2^(e+1-s) / 5^s); inexact: it was not exact.
  BigInteger a(m);
  const int p2 = e + 1 - s;
  bool inexact = false;
  if (s < 0) a.MultiplyByPowerOf5(-s);
  if (p2 >= 0) {
    a.ShiftLeft(p2);
  } else {
    inexact = a.ShiftRight(-p2);
  }
  if (s > 0) inexact |= a.DivideByPowerOf5(s);
  uint64_t t = a.Low64();  // below 2 x 10^(count+1)

  const uint64_t limit = kPowersOf10[static_cast<size_t>(count)];
  if (t >= 2 * limit) {  // floor(log10 |value|) was k + 1: one digit fewer
    inexact |= t % 10 != 0;
    t /= 10;
    ++k;
  }
  // t / 2 is the digits; its last bit is the half.
  uint64_t q = t >> 1;
  if ((t & 1) != 0 && (inexact || (q & 1) != 0)) ++q;
  if (q == limit) {
    q /= 10;
    ++k;
  }
  for (int i = count; i-- > 0;) {
    digits[i] = static_cast<char>('0' + q % 10);
    q /= 10;
  }
  return k;
}

DoubleParse DoubleFromDecimal(std::string_view integer, std::string_view fraction, int64_t exponent, double& value) {
  const size_t total = integer.size() + fraction.size();
  auto digit = [&](size_t i) { return i < integer.size() ? integer[i] : fraction[i - integer.size()]; };
  size_t first = 0;
  while (first < total && digit(first) == '0') ++first;
  if (first == total) {
    value = 0;
    return DoubleParse::Ok;
  }
  size_t last = total - 1;
  while (digit(last) == '0') --last;

  // The value is 0.d1d2...dn x 10^order, d1 and dn not zero. Exponents this far out give
  // infinity or zero whatever the digits, so clamping them keeps the sum in range.
  constexpr int64_t kFarExponent = int64_t{1} << 60;
  exponent = std::clamp(exponent, -kFarExponent, kFarExponent);
  const int64_t order = exponent + static_cast<int64_t>(integer.size()) - static_cast<int64_t>(first);
  if (order > 309) {  // at least 10^309
    value = std::numeric_limits<double>::infinity();
    return DoubleParse::Infinity;
  }
  if (order < -323) {  // below 10^-324, under half the least subnormal
    value = 0;
    return DoubleParse::Zero;
  }

  // A halfway point between doubles is odd x 2^(q-1), q-1 >= -1075, below 2^(q+53): its last
  // digit is at 10^(q-1), which is at or above 10^(order-800) near a value of 10^order with
  // -323 <= order <= 309. Digits past the 800th therefore only tell whether the value lies
  // above the truncated one; the last digit is not zero, so it does when any were dropped.
  constexpr size_t kUsefulDigits = 800;
  const size_t used = std::min(last - first + 1, kUsefulDigits);
  bool inexact = last - first + 1 > used;
  BigInteger a(0);
  for (size_t i = 0; i < used;) {
    const size_t block = std::min<size_t>(used - i, 9);
    uint32_t v = 0;
    for (size_t j = 0; j < block; ++j) v = v * 10 + static_cast<uint32_t>(digit(first + i + j) - '0');
    a.MultiplyAdd(static_cast<uint32_t>(kPowersOf10[block]), v);
    i += block;
  }
  const int64_t f = order - static_cast<int64_t>(used);  // the value is a x 10^f (and a little more if inexact)

  if (f >= 0) {  // an integer below 10^309: exact, then rounded
    a.MultiplyByPowerOf5(f);
    return Round(a, f, inexact, value);
  }
  // a x 10^f = (a x 2^j / 5^-f) x 2^(f-j). j leaves the quotient at least 57 bits, at least
  // 4 of them below the result's last bit, for a subnormal result too (its value, below
  // 2^-1022, is then at least 2^56 x 2^(f-j), so f - j < -1078, while its last bit is
  // 2^-1074). The shifted a has at most 57 + BitsOfPowerOf5(1123) bits, or those of 800
  // digits when j is 0.
  const int64_t j = std::max<int64_t>(57 + BitsOfPowerOf5(-f) - a.Bits(), 0);
  a.ShiftLeft(j);
  inexact |= a.DivideByPowerOf5(-f);
  return Round(a, f - j, inexact, value);
}

}  // namespace delvorin
