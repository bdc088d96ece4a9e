#pragma once
// Exact conversions between doubles and decimal digits, without tables: a small big integer
// holds the exact value, so the rounding is always correct, on every platform and compiler.
#include <cstdint>
#include <string_view>

namespace delvorin {

// Largest count of significant digits SignificantDigits gives (17 always read back).
inline constexpr int kMaxSignificantDigits = 17;

// The first `count` (1 to 17) significant decimal digits of |value| (finite, not zero),
// rounded from its exact binary value to nearest, ties to even, as `count` characters
// '0'-'9' in `digits` (no terminator). Returns the decimal exponent of the first digit:
// |value| is about d.ddd... x 10^exponent; a carry such as 9.99...9 -> 10 moves it up.
int SignificantDigits(double value, int count, char* digits);

// What reading a decimal as a double gave.
enum class DoubleParse {
  Ok,        // the nearest double (a subnormal, or zero for an all-zero decimal, included)
  Infinity,  // the magnitude rounds beyond the largest double; the value is +infinity
  Zero,      // a magnitude that is not zero rounds to zero; the value is +0
};

// The double nearest to the decimal "integer,fraction" x 10^exponent (both parts digits
// '0'-'9' only, either may be empty), ties to even; the result is not negative. Any count of
// digits is read exactly.
DoubleParse DoubleFromDecimal(std::string_view integer, std::string_view fraction, int64_t exponent, double& value);

}  // namespace delvorin
