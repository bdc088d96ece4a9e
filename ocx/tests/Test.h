#pragma once
// A small conformance-test harness in the manner of Wine's tests: ok() records a failure with
// its line and message and the run ends with "N passed, M failed".
#include <cstdarg>
#include <cstdio>
#include <string>
#include <string_view>

namespace delvorin::ocx::test {

inline int g_passed = 0;
inline int g_failed = 0;

inline void Ok(bool condition, const char* file, int line, const char* format, ...) {
  if (condition) {
    ++g_passed;
    return;
  }
  ++g_failed;
  std::fprintf(stdout, "%s:%d: Test failed: ", file, line);
  va_list args;
  va_start(args, format);
  std::vfprintf(stdout, format, args);
  va_end(args);
  std::fputc('\n', stdout);
}

// Texts between the engine (UTF-16), the platform (wchar_t) and printf (ASCII, '?' beyond).
inline std::wstring Wide(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }
inline std::string Narrow(std::wstring_view s) {
  std::string r;
  for (wchar_t c : s) r.push_back(c < 128 ? static_cast<char>(c) : '?');
  return r;
}

inline int Result(const char* name) {
  std::printf("%s: %d passed, %d failed\n", name, g_passed, g_failed);
  return g_failed == 0 ? 0 : 1;
}

}  // namespace delvorin::ocx::test

#define ok(cond, ...) ::delvorin::ocx::test::Ok((cond), __FILE__, __LINE__, __VA_ARGS__)
