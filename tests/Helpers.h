#pragma once
// Shared test helpers: a form with one control, and readable UTF-16 in failure messages.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "headless/Form.h"
#include "headless/Objects.h"

namespace delvorin {

inline std::string Utf8(std::u16string_view s) {
  std::string out;
  for (char16_t c : s) {
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

// A test name for a table row: its index, then its words (letters and digits, each other run
// of characters one underscore), so that the test list says which case failed.
inline std::string CaseName(size_t index, std::string_view words) {
  std::string r = std::to_string(index);
  bool inWord = false;
  for (unsigned char c : words) {
    if (r.size() >= 48) break;
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
      if (!inWord) r.push_back('_');
      inWord = true;
      r.push_back(static_cast<char>(c));
    } else {
      inWord = false;
    }
  }
  return r;
}

// A property's current value, read as a host reads it.
inline Variant Read(Delvorin& c, Property p) {
  Variant v;
  EXPECT_TRUE(c.Get(p, v).ok());
  return v;
}

// A form whose control is a new instance of the given type.
// A value entering the field as the user types or pastes it (the field taking the focus), or as
// the host writes Text.
enum class Entry { Typed, Pasted, Written };

class FieldTest : public ::testing::Test {
 protected:
  void Tipo(uint8_t t) { ASSERT_TRUE(control().SetTipo(t).ok()); }
  Delvorin& control() { return form.control(); }
  headless::EditBoxHeadless& txo() { return form.txo(); }
  headless::ContainerHeadless& host() { return form.host(); }
  const std::vector<headless::MessageBoxShown>& messageBoxes() { return form.runtime().messageBoxes(); }
  // Puts a raw text in the edit box, as a user or a load would, without any formatting.
  void SetRaw(std::u16string_view t) { ASSERT_TRUE(txo().SetText(t).ok()); }
  int Logged(std::u16string_view line) { return host().Count(line); }
  void Enter(Entry entry, std::u16string_view input) {
    switch (entry) {
      case Entry::Typed: form.Focus(); form.Type(input); break;
      case Entry::Pasted: form.Focus(); form.Paste(input); break;
      case Entry::Written: ASSERT_TRUE(control().SetText(input).ok()); break;
    }
  }

  headless::Form form;
};

}  // namespace delvorin
