#pragma once
// The control's own binary form of its properties, as IPersistStreamInit and IPersistStorage
// store it. Little-endian:
//   header  "DLV2", uint32 version (1), uint32 number of entries (<= 1024)
//   entry   uint16 key length in UTF-16 units (1..64), the key, uint8 tag, the value:
//           Empty -, I2 int16, I4 int32, UI1 uint8, Bool int16, R4 float, R8 double,
//           Str uint32 length in UTF-16 units (<= 8M) then the text, null object -,
//           object uint32 byte length (<= 16 MB) then the bytes (class id and data).
// Objects are opaque here: the server turns their bytes into COM objects and back.
// Entries are found by key: an absent key takes the engine's default and an unknown one is
// skipped, so data written before a property existed still loads.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/Services.h"
#include "core/Status.h"
#include "core/Variant.h"

namespace delvorin {

namespace binary_form {
inline constexpr char kMagic[4] = {'D', 'L', 'V', '2'};
inline constexpr uint32_t kVersion = 1;
inline constexpr size_t kMaxKey = 64;                    // UTF-16 units
inline constexpr size_t kMaxText = 8u * 1024 * 1024;     // UTF-16 units: 16 MB
inline constexpr size_t kMaxObject = 16u * 1024 * 1024;  // bytes
inline constexpr size_t kMaxEntries = 1024;
enum Tag : uint8_t { kEmpty, kI2, kI4, kUI1, kBool, kR4, kR8, kStr, kNullObject, kObject };
}  // namespace binary_form

// One entry: a key and either a value (any type but a non-null object) or, for an object,
// its bytes.
struct BinaryEntry {
  std::u16string key;
  Variant value;
  std::optional<std::vector<uint8_t>> object;
  bool operator==(const BinaryEntry&) const = default;
};

// Where the decoder reads from: exact reads, and how much is left when known, so that no
// length read from the data makes the decoder allocate more than the data holds.
class ByteSource {
 public:
  static constexpr uint64_t kUnknown = UINT64_MAX;
  // Exactly n bytes into `to`, or a failure (kReadFault at the end of the data).
  virtual Status Read(void* to, size_t n) = 0;
  virtual uint64_t Remaining() const = 0;

 protected:
  ~ByteSource() = default;
};

// Bytes in memory; `consumed()` tells where decoding stopped.
class SpanSource final : public ByteSource {
 public:
  explicit SpanSource(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  Status Read(void* to, size_t n) override;
  uint64_t Remaining() const override { return bytes_.size() - pos_; }
  size_t consumed() const { return pos_; }

 private:
  std::span<const uint8_t> bytes_;
  size_t pos_ = 0;
};

// The entries of the binary form, in stored order. Fails on any inconsistency:
// kReadFault for data that ends early, kInvalidHeader for another magic or version,
// kCorruptData for too many entries, a key length out of 1..64, an unknown tag, a text or
// object beyond its limit, or a repeated key.
Status DecodeBinaryForm(ByteSource& source, std::vector<BinaryEntry>& entries);
Status DecodeBinaryForm(std::span<const uint8_t> bytes, std::vector<BinaryEntry>& entries);

// The bytes of the entries; kInvalidArgument for a key out of 1..64 units or a non-null
// object value without bytes, kOutOfMemory for a text or object beyond its limit.
Status EncodeBinaryForm(const std::vector<BinaryEntry>& entries, std::vector<uint8_t>& bytes);

// Collects the engine's writes (WriteProperties) as entries; objects become bytes through
// `serialize`.
class BinaryWriteBag final : public PropertyBag {
 public:
  using Serializer = std::function<Status(const ObjectRef&, std::vector<uint8_t>&)>;
  explicit BinaryWriteBag(Serializer serialize) : serialize_(std::move(serialize)) {}
  Status Read(std::u16string_view key, Variant& value, const Variant& defaultValue) override;
  Status Write(std::u16string_view key, const Variant& value, const Variant& defaultValue) override;
  const std::vector<BinaryEntry>& entries() const { return entries_; }

 private:
  Serializer serialize_;
  std::vector<BinaryEntry> entries_;
};

// Hands decoded values to the engine (ReadProperties) by key: absent keys give their
// defaults, keys the engine never asks for are ignored.
class BinaryReadBag final : public PropertyBag {
 public:
  explicit BinaryReadBag(std::map<std::u16string, Variant> values) : values_(std::move(values)) {}
  Status Read(std::u16string_view key, Variant& value, const Variant& defaultValue) override;
  Status Write(std::u16string_view key, const Variant& value, const Variant& defaultValue) override;

 private:
  std::map<std::u16string, Variant> values_;
};

}  // namespace delvorin
