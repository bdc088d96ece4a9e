#pragma once
// Display layouts of document numbers for an assigned Text. They work on characters, not
// digits: only the layout's own separators are removed before the layout is rebuilt.
#include <string>
#include <string_view>

namespace delvorin {

std::u16string FormataCep(std::u16string_view text);     // DDDDD-DDD
std::u16string FormataCpf(std::u16string_view text);     // DDD.DDD.DDD-DD
std::u16string FormataCnpj(std::u16string_view text);    // DD.DDD.DDD/DDDD-DD
std::u16string FormataPis(std::u16string_view text);     // DDD.DDDDD.DD.D
std::u16string FormataCartao(std::u16string_view text);  // DDDD.DDDD.DDDD.DDDD

}  // namespace delvorin
