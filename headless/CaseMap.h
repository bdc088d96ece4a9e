#pragma once
// Simple (one unit to one unit) case mapping of the whole Basic Multilingual Plane, from the
// Unicode character database. Units without a one-unit case form, and surrogates, stay.
#include <string>
#include <string_view>

namespace delvorin::headless {

char16_t MaiusculaBmp(char16_t unit);
char16_t MinusculaBmp(char16_t unit);
std::u16string MaiusculasBmp(std::u16string_view text);
std::u16string MinusculasBmp(std::u16string_view text);

}  // namespace delvorin::headless
