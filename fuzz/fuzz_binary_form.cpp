// Arbitrary bytes through the binary form's decoder; what decodes must encode to exactly the
// bytes it was read from, and those bytes must decode again to the same entries.
#include <cstdlib>
#include <cstring>

#include "control/BinaryForm.h"

using namespace delvorin;

namespace {

// Entries compared with floating-point values by their bits, so that NaNs compare too.
bool SameBits(const Variant& a, const Variant& b) {
  if (a.type() != b.type()) return false;
  if (a.type() == VarType::R4) { float x = a.r4(), y = b.r4(); return std::memcmp(&x, &y, sizeof x) == 0; }
  if (a.type() == VarType::R8) { double x = a.r8(), y = b.r8(); return std::memcmp(&x, &y, sizeof x) == 0; }
  return a == b;
}

bool Same(const std::vector<BinaryEntry>& a, const std::vector<BinaryEntry>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i].key != b[i].key || a[i].object != b[i].object || !SameBits(a[i].value, b[i].value)) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SpanSource source(std::span(data, size));
  std::vector<BinaryEntry> entries;
  const Status decoded = DecodeBinaryForm(source, entries);
  if (!decoded.ok()) {
    const int32_t h = decoded.hresult();
    if (h != Status::kReadFault && h != Status::kInvalidHeader && h != Status::kCorruptData) std::abort();
    return 0;
  }
  if (source.consumed() > size) std::abort();
  std::vector<uint8_t> encoded;
  if (!EncodeBinaryForm(entries, encoded).ok()) std::abort();
  if (encoded.size() != source.consumed() || std::memcmp(encoded.data(), data, encoded.size()) != 0) std::abort();
  std::vector<BinaryEntry> again;
  if (!DecodeBinaryForm(encoded, again).ok() || !Same(entries, again)) std::abort();
  return 0;
}
