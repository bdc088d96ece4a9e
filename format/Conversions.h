#pragma once
// Conversions of automation values between the property types, with numbers read and written
// in the Brazilian convention.
#include <string>

#include "core/Status.h"
#include "core/Variant.h"

namespace delvorin {

// Converts as a write by name converts its argument: numbers between the numeric types
// with range checks (Overflow) and fractions rounded half to even; texts read in the
// Brazilian convention, booleans also from "True"/"False" in any case; Empty gives zero,
// the empty text or no object. Anything else fails with TypeMismatch.
Status ChangeType(const Variant& from, VarType to, Variant& result);

// The conversions also take amounts to and from Currency (texts read as amounts) and dates to
// and from Date (texts "DD/MM/AAAA", "HH:MM[:SS]" or both; numbers as automation dates).

// Text of a date for display: "DD/MM/AAAA", "HH:MM" (a time alone, on 30 December 1899), or both;
// seconds only when there are some.
std::u16string DateText(double serial);

// Text of a value for display by tools: numbers in decimal, booleans True/False, amounts in the
// plain form, dates as DateText, Null as "Null".
std::u16string ToDisplayText(const Variant& v);

}  // namespace delvorin
