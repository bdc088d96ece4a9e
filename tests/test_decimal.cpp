// Exact double <-> decimal conversions: worked values, then std::to_chars and
// std::from_chars (exact in the standard library, not linked into the server) as the
// reference on random bit patterns, subnormals, powers of 2 and 10, exact ties of the digit
// rounding, random decimals short and long, the exact halfway points between adjacent
// doubles (with decimals just above and below them), and the edges of the double range.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "format/Decimal.h"
#include "format/Moeda.h"
#include "tests/Helpers.h"

namespace delvorin {
namespace {

constexpr double kLargest = std::numeric_limits<double>::max();
constexpr double kSmallestNormal = std::numeric_limits<double>::min();
constexpr double kSmallestSubnormal = std::numeric_limits<double>::denorm_min();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

uint64_t Bits(double x) {
  uint64_t b = 0;
  std::memcpy(&b, &x, sizeof b);
  return b;
}

double FromBits(uint64_t b) {
  double x = 0;
  std::memcpy(&x, &b, sizeof x);
  return x;
}

std::string Hex(double x) {
  char buf[40];
  auto end = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::hex).ptr;
  return std::string(buf, end);
}

// ---- Significant digits ----

struct Digits {
  std::string digits;
  int exponent;
  bool operator==(const Digits&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Digits& d) { return os << d.digits << "e" << d.exponent; }

Digits OurDigits(double x, int count) {
  char buf[kMaxSignificantDigits];
  const int e = SignificantDigits(x, count, buf);
  return {std::string(buf, static_cast<size_t>(count)), e};
}

// The same from to_chars' scientific form d.ddde±XX.
Digits DoToChars(double x, int count) {
  char buf[64];
  auto [end, error] = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific, count - 1);
  EXPECT_EQ(error, std::errc());
  const std::string s(buf, end);
  const size_t e = s.find('e');
  Digits d{s.substr(0, 1) + (e > 1 ? s.substr(2, e - 2) : ""), 0};
  std::from_chars(s.data() + e + (s[e + 1] == '+' ? 2 : 1), s.data() + s.size(), d.exponent);
  return d;
}

testing::AssertionResult SameDigits(double x, int count) {
  const Digits ours = OurDigits(x, count), reference = DoToChars(x, count);
  if (ours == reference) return testing::AssertionSuccess();
  return testing::AssertionFailure() << Hex(x) << " with " << count << " digits: " << ours << ", to_chars "
                                     << reference;
}

struct DigitsRow {
  double value;
  int count;
  Digits expected;
};

const DigitsRow kWorkedDigits[] = {
    {1, 15, {"100000000000000", 0}},
    {-1, 1, {"1", 0}},
    {0.1, 17, {"10000000000000001", -1}},
    {0.1, 16, {"1000000000000000", -1}},
    {1234.5, 15, {"123450000000000", 3}},
    {2.5, 1, {"2", 0}},                                     // tie: to even, down
    {3.5, 1, {"4", 0}},                                     // tie: to even, up
    {9.5, 1, {"1", 1}},                                     // tie to even carries into a new digit
    {0.5, 1, {"5", -1}},
    {1234567890123455, 15, {"123456789012346", 15}},       // tie: to even, up
    {1234567890123445, 15, {"123456789012344", 15}},       // tie: to even, down
    {99999999999999.95, 15, {"100000000000000", 14}},      // just above the tie, carries
    {1e23, 17, {"99999999999999992", 22}},
    {1e23, 15, {"100000000000000", 23}},
    {kLargest, 15, {"179769313486232", 308}},
    {kLargest, 17, {"17976931348623157", 308}},
    {kSmallestNormal, 17, {"22250738585072014", -308}},
    {kSmallestSubnormal, 17, {"49406564584124654", -324}},
    {kSmallestSubnormal, 15, {"494065645841247", -324}},
    {kSmallestSubnormal, 1, {"5", -324}},
    {FromBits(0x000FFFFFFFFFFFFF), 17, {"22250738585072009", -308}},  // largest subnormal
    {0.3, 17, {"29999999999999999", -1}},
};

class SignificantDigitsWorked : public ::testing::TestWithParam<DigitsRow> {};

TEST_P(SignificantDigitsWorked, GivesTheRoundedDigits) {
  const DigitsRow& c = GetParam();
  EXPECT_EQ(OurDigits(c.value, c.count), c.expected) << Hex(c.value) << " " << c.count;
}

INSTANTIATE_TEST_SUITE_P(Rows, SignificantDigitsWorked, ::testing::ValuesIn(kWorkedDigits),
                         [](const ::testing::TestParamInfo<DigitsRow>& i) {
                           return CaseName(i.index, Hex(i.param.value) + " digits " + std::to_string(i.param.count));
                         });

TEST(SignificantDigits, RandomBitPatternsMatchToChars) {
  std::mt19937_64 generator(2024);
  int compared = 0;
  while (compared < 200000) {
    const double x = FromBits(generator());
    if (!std::isfinite(x) || x == 0) continue;
    ++compared;
    ASSERT_TRUE(SameDigits(x, 15));
    if (compared % 4 == 0) {
      ASSERT_TRUE(SameDigits(x, 1 + static_cast<int>(generator() % 17)));
    }
  }
}

TEST(SignificantDigits, SubnormalsMatchToChars) {
  std::mt19937_64 generator(7);
  for (int i = 0; i < 40000; ++i) {
    uint64_t mantissa = generator() >> (12 + generator() % 52);  // every magnitude of subnormal
    if (mantissa == 0) mantissa = 1;
    ASSERT_TRUE(SameDigits(FromBits(mantissa), i % 2 == 0 ? 15 : 1 + static_cast<int>(generator() % 17)));
  }
}

// Every power of 2 and its neighbours, at every count of digits: the leading digit's
// exponent is estimated from the power of 2, so this covers each estimate.
TEST(SignificantDigits, PowersOfTwoAndNeighbours) {
  for (int p = -1074; p <= 1023; ++p) {
    const double x = std::ldexp(1.0, p);
    for (double v : {x, std::nextafter(x, 0.0), std::nextafter(x, kInfinity)}) {
      if (v == 0 || std::isinf(v)) continue;
      for (int count = 1; count <= kMaxSignificantDigits; ++count) ASSERT_TRUE(SameDigits(v, count));
    }
  }
}

TEST(SignificantDigits, PowersOfTenAndNeighbours) {
  for (int p = -324; p <= 308; ++p) {
    const std::string text = "1e" + std::to_string(p);
    double x = 0;
    std::from_chars(text.data(), text.data() + text.size(), x);
    if (x == 0) continue;
    for (double v : {x, std::nextafter(x, 0.0), std::nextafter(x, kInfinity)}) {
      if (v == 0 || std::isinf(v)) continue;
      for (int count = 1; count <= kMaxSignificantDigits; ++count) ASSERT_TRUE(SameDigits(v, count));
    }
  }
}

// Doubles exactly halfway between two `count`-digit decimals q and q + 1: (2q + 1) x 10^s / 2,
// which is u x 2^(s-1) when 2q + 1 = u x 5^-s (s <= 0, u odd), or (2q + 1) x 5 when s = 1.
// They round to the even one of q and q + 1; their neighbours round down and up.
TEST(SignificantDigits, ExactTiesRoundToEven) {
  std::mt19937_64 generator(55);
  int ties = 0;
  for (int count = 1; count <= kMaxSignificantDigits; ++count) {
    uint64_t low = 1;
    for (int i = 1; i < count; ++i) low *= 10;
    const uint64_t high = low * 10 - 1;  // q lies in [low, high]
    for (int s = 1; s >= -22; --s) {
      uint64_t fivePower = 1;
      for (int i = 0; i < -s; ++i) fivePower *= 5;
      // The odd u with 2 low + 1 <= u x 5^-s <= 2 high + 1 and u < 2^53.
      const uint64_t from = (2 * low + 1 + fivePower - 1) / fivePower;
      const uint64_t to = std::min((2 * high + 1) / fivePower, (uint64_t{1} << 53) - 1);
      for (int attempt = 0; attempt < 20; ++attempt) {
        uint64_t q = 0;
        double x = 0;
        if (s == 1) {
          q = low + generator() % (high - low + 1);
          if ((2 * q + 1) * 5 >= (uint64_t{1} << 53)) break;
          x = static_cast<double>((2 * q + 1) * 5);
        } else {
          if (from > to) break;
          uint64_t u = from + generator() % (to - from + 1);
          if (u % 2 == 0) u = u + 1 <= to ? u + 1 : u - 1;
          if (u < from) break;
          q = (u * fivePower - 1) / 2;
          x = std::ldexp(static_cast<double>(u), s - 1);
        }
        ++ties;
        const uint64_t even = q % 2 == 0 ? q : q + 1;
        Digits expected{std::to_string(even), s + count - 1};
        if (expected.digits.size() > static_cast<size_t>(count)) {  // q + 1 carried into a new digit
          expected.digits.pop_back();
          ++expected.exponent;
        }
        ASSERT_EQ(OurDigits(x, count), expected) << Hex(x) << " " << count;
        ASSERT_TRUE(SameDigits(x, count));
        ASSERT_TRUE(SameDigits(std::nextafter(x, 0.0), count));
        ASSERT_TRUE(SameDigits(std::nextafter(x, kInfinity), count));
      }
    }
  }
  // Ties exist for every count of digits and most s; a count this low means the search broke.
  EXPECT_GT(ties, 3000);
}

// ---- Reading decimals ----

// The decimal "integer,fraction" x 10^exponent; at least 1 when Order() > 0.
struct Decimal {
  std::string integer, fraction;
  int64_t exponent = 0;

  int64_t Order() const {
    const std::string all = integer + fraction;
    const size_t first = all.find_first_not_of('0');
    if (first == std::string::npos) return std::numeric_limits<int64_t>::min();
    return exponent + static_cast<int64_t>(integer.size()) - static_cast<int64_t>(first);
  }
};

std::ostream& operator<<(std::ostream& os, const Decimal& d) {
  const std::string number = d.integer + "," + d.fraction;
  os << (number.size() > 80 ? number.substr(0, 40) + "..." + number.substr(number.size() - 40) : number);
  return os << " (" << d.integer.size() + d.fraction.size() << " digits) E" << d.exponent;
}

struct Result {
  DoubleParse parse;
  uint64_t bits;
};

Result ByFromChars(const Decimal& d) {
  std::string t = d.integer.empty() ? "0" : d.integer;
  if (!d.fraction.empty()) t.append(".").append(d.fraction);
  t.append("e").append(std::to_string(d.exponent));
  double x = 0;
  auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), x);
  EXPECT_EQ(end, t.data() + t.size());
  if (error == std::errc::result_out_of_range) {
    // from_chars does not say which end: a decimal of at least 1 went beyond the largest.
    return d.Order() > 0 ? Result{DoubleParse::Infinity, Bits(kInfinity)} : Result{DoubleParse::Zero, 0};
  }
  EXPECT_EQ(error, std::errc());
  return {DoubleParse::Ok, Bits(x)};
}

Result ByOurs(const Decimal& d) {
  double x = -1;
  const DoubleParse l = DoubleFromDecimal(d.integer, d.fraction, d.exponent, x);
  return {l, Bits(x)};
}

testing::AssertionResult SameReading(const Decimal& d) {
  const Result ours = ByOurs(d), reference = ByFromChars(d);
  if (ours.parse == reference.parse && ours.bits == reference.bits) return testing::AssertionSuccess();
  return testing::AssertionFailure() << d << ": " << static_cast<int>(ours.parse) << " " << Hex(FromBits(ours.bits))
                                     << ", from_chars " << static_cast<int>(reference.parse) << " "
                                     << Hex(FromBits(reference.bits));
}

// digits x 10^exponent with the decimal point moved to a random place, sometimes with zeros
// before the digits or after them; the value stays the same.
Decimal Spread(const std::string& digits, int64_t exponent, std::mt19937_64& generator) {
  Decimal d;
  std::string all = digits;
  if (generator() % 4 == 0) all.insert(0, generator() % 30, '0');
  if (generator() % 4 == 0) {
    const size_t zeros = generator() % 30;
    all.append(zeros, '0');
    exponent -= static_cast<int64_t>(zeros);
  }
  const size_t point = generator() % (all.size() + 1);
  d.integer = all.substr(0, point);
  d.fraction = all.substr(point);
  d.exponent = exponent + static_cast<int64_t>(d.fraction.size());
  return d;
}

std::string RandomDigits(size_t count, std::mt19937_64& generator) {
  std::string s(count, '0');
  for (char& c : s) c = static_cast<char>('0' + generator() % 10);
  return s;
}

constexpr int64_t kMax64 = std::numeric_limits<int64_t>::max(), kMin64 = std::numeric_limits<int64_t>::min();

struct DecimalRow {
  Decimal decimal;
  DoubleParse parse;
  double value;
};

const DecimalRow kWorkedDecimals[] = {
    {{"1", "", 0}, DoubleParse::Ok, 1},
    {{"", "", 0}, DoubleParse::Ok, 0},
    {{"000", "0000", 400}, DoubleParse::Ok, 0},
    {{"12", "5", 0}, DoubleParse::Ok, 12.5},
    {{"", "001", 3}, DoubleParse::Ok, 1},
    {{"123", "456", -1}, DoubleParse::Ok, 12.3456},
    {{"9007199254740993", "", 0}, DoubleParse::Ok, 9007199254740992.0},  // tie: to even, down
    {{"9007199254740995", "", 0}, DoubleParse::Ok, 9007199254740996.0},  // tie: to even, up
    {{"17976931348623157", "", 292}, DoubleParse::Ok, kLargest},
    {{"17976931348623158", "", 292}, DoubleParse::Ok, kLargest},
    {{"17976931348623159", "", 292}, DoubleParse::Infinity, kInfinity},
    {{"1", "", 309}, DoubleParse::Infinity, kInfinity},
    {{"22250738585072014", "", -324}, DoubleParse::Ok, kSmallestNormal},
    {{"4", "9406564584124654", -324}, DoubleParse::Ok, kSmallestSubnormal},
    {{"24703282292062328", "", -340}, DoubleParse::Ok, kSmallestSubnormal},  // just above half of it
    {{"24703282292062327", "", -340}, DoubleParse::Zero, 0},               // just below
    {{"1", "", -324}, DoubleParse::Zero, 0},
    {{"1", "", -400}, DoubleParse::Zero, 0},
    {{"", "1", kMax64}, DoubleParse::Infinity, kInfinity},
    {{"1", "", kMin64}, DoubleParse::Zero, 0},
    {{"", std::string(5000, '0') + "15", 5001}, DoubleParse::Ok, 1.5},
    {{"1" + std::string(5000, '0'), "", -5000}, DoubleParse::Ok, 1},
};

class DoubleFromDecimalWorked : public ::testing::TestWithParam<DecimalRow> {};

TEST_P(DoubleFromDecimalWorked, ReadsTheNearestDouble) {
  const DecimalRow& c = GetParam();
  double x = -1;
  EXPECT_EQ(DoubleFromDecimal(c.decimal.integer, c.decimal.fraction, c.decimal.exponent, x), c.parse) << c.decimal;
  EXPECT_EQ(Bits(x), Bits(c.value)) << c.decimal << ": " << Hex(x);
}

// The name shows at most the first digits of each part, then the exponent.
INSTANTIATE_TEST_SUITE_P(Rows, DoubleFromDecimalWorked, ::testing::ValuesIn(kWorkedDecimals),
                         [](const ::testing::TestParamInfo<DecimalRow>& i) {
                           const Decimal& d = i.param.decimal;
                           std::string exponent = std::to_string(d.exponent);
                           if (exponent[0] == '-') exponent.replace(0, 1, "minus ");
                           return CaseName(i.index, d.integer.substr(0, 12) + " point " + d.fraction.substr(0, 12) + " e " + exponent);
                         });

TEST(DoubleFromDecimal, ShortInputsMatchFromChars) {
  std::mt19937_64 generator(31);
  for (int i = 0; i < 100000; ++i) {
    const size_t count = 1 + generator() % 20;
    // Orders of magnitude from below the least subnormal to beyond the largest double.
    const int64_t order = -345 + static_cast<int64_t>(generator() % 680);
    ASSERT_TRUE(SameReading(Spread(RandomDigits(count, generator), order - static_cast<int64_t>(count), generator)));
  }
}

TEST(DoubleFromDecimal, LongInputsMatchFromChars) {
  std::mt19937_64 generator(32);
  for (int i = 0; i < 1500; ++i) {
    const size_t count = 20 + generator() % 1000;
    std::string digits = RandomDigits(count, generator);
    if (i % 3 == 0) {  // a long run of zeros or nines inside
      const size_t from = generator() % count;
      std::fill(digits.begin() + static_cast<ptrdiff_t>(from), digits.end(), i % 2 == 0 ? '0' : '9');
    }
    const int64_t order = -330 + static_cast<int64_t>(generator() % 645);
    ASSERT_TRUE(SameReading(Spread(digits, order - static_cast<int64_t>(count), generator)));
  }
}

// Digits of every length at the edges: the least subnormal, the least normal, the largest.
TEST(DoubleFromDecimal, RangeEdgesMatchFromChars) {
  std::mt19937_64 generator(33);
  for (int64_t order : {-325, -324, -323, -322, -308, -307, -306, 307, 308, 309, 310}) {
    for (int i = 0; i < 300; ++i) {
      const size_t count = 1 + generator() % (i % 10 == 0 ? 900 : 30);
      std::string digits = RandomDigits(count, generator);
      if (digits[0] == '0') digits[0] = '1';  // keep the order of magnitude
      ASSERT_TRUE(SameReading(Spread(digits, order - static_cast<int64_t>(count), generator)));
    }
  }
}

// The exact decimal of n x 2^p: digits x 10^exponent, computed in base 10^9.
std::pair<std::string, int64_t> ExactDecimal(uint64_t n, int p) {
  std::vector<uint64_t> limbs;  // base 10^9, least significant first
  for (uint64_t v = n; v != 0; v /= 1000000000) limbs.push_back(v % 1000000000);
  auto multiply = [&](uint64_t factor) {
    uint64_t carry = 0;
    for (uint64_t& l : limbs) {
      const uint64_t v = l * factor + carry;
      l = v % 1000000000;
      carry = v / 1000000000;
    }
    for (; carry != 0; carry /= 1000000000) limbs.push_back(carry % 1000000000);
  };
  // 2^p = 2^p, or 5^-p x 10^p.
  const uint64_t step = p >= 0 ? (uint64_t{1} << 29) : 1220703125;  // 2^29 or 5^13
  const uint64_t base = p >= 0 ? 2 : 5;
  int remaining = p >= 0 ? p : -p;
  for (; remaining >= (p >= 0 ? 29 : 13); remaining -= (p >= 0 ? 29 : 13)) multiply(step);
  uint64_t last = 1;
  for (; remaining > 0; --remaining) last *= base;
  multiply(last);
  std::string s = limbs.empty() ? "0" : std::to_string(limbs.back());
  for (size_t i = limbs.size() - 1; i-- > 0;) {
    const std::string part = std::to_string(limbs[i]);
    s.append(9 - part.size(), '0').append(part);
  }
  return {s, p >= 0 ? 0 : p};
}

// The decimal one unit below in its last digit.
std::string MinusOne(std::string s) {
  size_t i = s.size();
  while (s[--i] == '0') s[i] = '9';
  --s[i];
  return s;
}

// Halfway between x and the next double up (x >= 0; beyond the largest, the halfway point to
// 2^1024): the exact decimal reads as the one of the two with an even mantissa, anything
// above it as the upper one and anything below as x, however many digits decide it.
TEST(DoubleFromDecimal, ExactMidpoints) {
  std::mt19937_64 generator(34);
  std::vector<double> values = {0, kSmallestSubnormal, FromBits(0x000FFFFFFFFFFFFF), kSmallestNormal,
                                1, 0.1, 1e23, std::nextafter(kLargest, 0.0), kLargest};
  while (values.size() < 700) {
    const double x = FromBits(generator() >> (values.size() % 3 == 0 ? 2 : 1));  // a third of them small
    if (std::isfinite(x)) values.push_back(x);
  }
  for (double x : values) {
    const uint64_t b = Bits(x);
    const uint64_t stored = b >> 52, fraction = b & ((uint64_t{1} << 52) - 1);
    const uint64_t m = stored == 0 ? fraction : fraction | (uint64_t{1} << 52);
    const int e = stored == 0 ? -1074 : static_cast<int>(stored) - 1075;
    const auto [digits, exponent] = ExactDecimal(2 * m + 1, e - 1);
    const double above = std::nextafter(x, kInfinity);
    const double even = (b & 1) == 0 ? x : above;
    auto parse = [](double v) {
      return std::isinf(v) ? DoubleParse::Infinity : v == 0 ? DoubleParse::Zero : DoubleParse::Ok;
    };

    const std::pair<Decimal, double> cases[] = {
        {{digits, "", exponent}, even},
        {{MinusOne(digits), "", exponent}, x},
        {{digits + "1", "", exponent - 1}, above},
        {{digits, std::string(900 - digits.size() % 100, '0') + "1", exponent}, above},
        {{digits, std::string(1000 - digits.size(), '0'), exponent}, even},
        {{MinusOne(digits), std::string(1000 - digits.size(), '9'), exponent}, x},
    };
    for (const auto& [d, expected] : cases) {
      const Result ours = ByOurs(d);
      ASSERT_EQ(ours.parse, parse(expected)) << d << " near " << Hex(x);
      ASSERT_EQ(ours.bits, Bits(expected)) << d << " near " << Hex(x);
      ASSERT_TRUE(SameReading(d));
    }
  }
}

// ReadNumber builds its double from the parts of the text: the same as from_chars on them,
// overflow when the decimal is at least 1 and does not fit, and zero below the least double.
TEST(DoubleFromDecimal, ReadNumberMatchesFromChars) {
  std::mt19937_64 generator(35);
  for (int i = 0; i < 3000; ++i) {
    const size_t count = 1 + generator() % (i % 10 == 0 ? 600 : 25);
    const int64_t order = -340 + static_cast<int64_t>(generator() % 660);
    Decimal d = Spread(RandomDigits(count, generator), order - static_cast<int64_t>(count), generator);
    const bool negative = i % 2 == 1;
    std::u16string text = negative ? u"-" : u"";
    for (char c : d.integer) text.push_back(static_cast<char16_t>(c));
    text.push_back(u',');
    for (char c : d.fraction) text.push_back(static_cast<char16_t>(c));
    const std::string exponent = std::to_string(d.exponent);
    text.push_back(u'E');
    for (char c : exponent) text.push_back(static_cast<char16_t>(c));

    const Result reference = ByFromChars(d);
    double parsed = 7;
    const Status s = ReadNumber(text, parsed);
    if (reference.parse == DoubleParse::Infinity) {
      ASSERT_EQ(s.hresult(), Status::kOverflow) << d;
      continue;
    }
    ASSERT_TRUE(s.ok()) << d;
    ASSERT_EQ(Bits(parsed), Bits(negative ? -FromBits(reference.bits) : FromBits(reference.bits))) << d << " " << Hex(parsed);
  }
}

}  // namespace
}  // namespace delvorin
