#pragma once
// Turns fuzzer bytes into UTF-16 text (pairs of bytes as units, so NULs, lone surrogates
// and right-to-left marks all occur) and small numbers.
#include <cstddef>
#include <cstdint>
#include <string>

namespace delvorin::fuzz {

class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool empty() const { return pos_ >= size_; }
  uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  uint16_t Unit() { return static_cast<uint16_t>(Byte() | (Byte() << 8)); }
  // A text of up to `maximum` units; mostly ASCII-like so that grammars are reached.
  std::u16string Text(size_t maximum) {
    size_t n = Byte() % (maximum + 1);
    std::u16string t;
    for (size_t i = 0; i < n && !empty(); ++i) {
      uint8_t b = Byte();
      t.push_back(b < 0xF0 ? static_cast<char16_t>(b & 0x7F) : static_cast<char16_t>(Unit()));
    }
    return t;
  }
  std::u16string Rest() {
    std::u16string t;
    while (pos_ + 1 < size_) t.push_back(static_cast<char16_t>(Unit()));
    return t;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

}  // namespace delvorin::fuzz
