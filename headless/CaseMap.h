#pragma once
// Simple (one unit to one unit) case mapping of the whole Basic Multilingual Plane, from the
// Unicode character database. Units without a one-unit case form, and surrogates, stay.
#include <string>
#include <string_view>

namespace delvorin::headless {

char16_t UpperCaseBmp(char16_t unit);
char16_t LowerCaseBmp(char16_t unit);
std::u16string UpperCaseTextBmp(std::u16string_view text);
std::u16string LowerCaseTextBmp(std::u16string_view text);

}  // namespace delvorin::headless
