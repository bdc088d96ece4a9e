#pragma once
// UTF-8 at the command line, UTF-16 inside. Malformed input and lone surrogates become
// U+FFFD, so every text round-trips to something printable.
#include <string>
#include <string_view>

namespace delvorin::cli {

std::u16string FromUtf8(std::string_view s);
std::string ToUtf8(std::u16string_view s);

}  // namespace delvorin::cli
