#pragma once
// Layouts of the document types as they are built while typing: at each trigger length the
// separator is appended before the next digit, and the full layout's length is the edit
// box's length limit while the field has the focus.
#include <array>
#include <cstdint>

namespace delvorin {

struct Trigger {
  int32_t length;  // length of the text before the digit is inserted
  char16_t separator;
};

struct Mask {
  uint8_t type;
  int32_t limit;  // MaxLength set on focus entry
  std::array<Trigger, 4> triggers;
  int triggerCount;
};

inline constexpr std::array<Mask, 5> kMasks{{
    {8, 9, {{{5, u'-'}}}, 1},                                        // CEP DDDDD-DDD
    {9, 14, {{{3, u'.'}, {7, u'.'}, {11, u'-'}}}, 3},                // CPF DDD.DDD.DDD-DD
    {10, 18, {{{2, u'.'}, {6, u'.'}, {10, u'/'}, {15, u'-'}}}, 4},   // CNPJ DD.DDD.DDD/DDDD-DD
    {13, 14, {{{3, u'.'}, {9, u'.'}, {12, u'.'}}}, 3},               // PIS DDD.DDDDD.DD.D
    {14, 19, {{{4, u'.'}, {9, u'.'}, {14, u'.'}}}, 3},               // card DDDD.DDDD.DDDD.DDDD
}};

// The layout of a document type, or nullptr for the other types.
inline constexpr const Mask* MaskOf(uint8_t type) {
  for (const Mask& m : kMasks)
    if (m.type == type) return &m;
  return nullptr;
}

}  // namespace delvorin
