#include "control/BinaryForm.h"

#include <cstring>
#include <set>

namespace delvorin {
namespace {

using namespace binary_form;

template <typename T>
void Put(std::vector<uint8_t>& b, T v) {
  // The targets are little-endian. Grown then copied into, rather than inserted as a range:
  // g++ 12 at -O2 misreads the range insert of a small array as an overflow.
  const size_t n = b.size();
  b.resize(n + sizeof(T));
  std::memcpy(b.data() + n, &v, sizeof(T));
}

void PutUnits(std::vector<uint8_t>& b, std::u16string_view s) {
  for (char16_t ch : s) Put(b, static_cast<uint16_t>(ch));
}

template <typename T>
Status Get(ByteSource& s, T& v) {
  return s.Read(&v, sizeof(T));
}

// n UTF-16 units, checked against what is left before allocating.
Status GetUnits(ByteSource& s, size_t n, std::u16string& t) {
  if (s.Remaining() != ByteSource::kUnknown && n > s.Remaining() / 2) return Status(Status::kReadFault);
  t.resize(n);
  for (char16_t& ch : t) {
    uint16_t u = 0;
    DELVORIN_TRY(Get(s, u));
    ch = static_cast<char16_t>(u);
  }
  return Status::Ok();
}

Status DecodeValue(ByteSource& s, uint8_t tag, BinaryEntry& e) {
  switch (tag) {
    case kEmpty: return Status::Ok();
    case kI2: { int16_t x = 0; DELVORIN_TRY(Get(s, x)); e.value = Variant::I2(x); return Status::Ok(); }
    case kI4: { int32_t x = 0; DELVORIN_TRY(Get(s, x)); e.value = Variant::I4(x); return Status::Ok(); }
    case kUI1: { uint8_t x = 0; DELVORIN_TRY(Get(s, x)); e.value = Variant::UI1(x); return Status::Ok(); }
    case kBool: { int16_t x = 0; DELVORIN_TRY(Get(s, x)); e.value = Variant::Boolean(x); return Status::Ok(); }
    case kR4: { float x = 0; DELVORIN_TRY(Get(s, x)); e.value = Variant::R4(x); return Status::Ok(); }
    case kR8: { double x = 0; DELVORIN_TRY(Get(s, x)); e.value = Variant::R8(x); return Status::Ok(); }
    case kStr: {
      uint32_t n = 0;
      DELVORIN_TRY(Get(s, n));
      if (n > kMaxText) return Status(Status::kCorruptData);
      std::u16string t;
      DELVORIN_TRY(GetUnits(s, n, t));
      e.value = Variant::Str(std::move(t));
      return Status::Ok();
    }
    case kNullObject: e.value = Variant::Object(nullptr); return Status::Ok();
    case kObject: {
      uint32_t n = 0;
      DELVORIN_TRY(Get(s, n));
      if (n > kMaxObject) return Status(Status::kCorruptData);
      if (s.Remaining() != ByteSource::kUnknown && n > s.Remaining()) return Status(Status::kReadFault);
      std::vector<uint8_t> bytes(n);
      if (n) DELVORIN_TRY(s.Read(bytes.data(), n));
      e.object = std::move(bytes);
      return Status::Ok();
    }
    default: return Status(Status::kCorruptData);
  }
}

}  // namespace

Status SpanSource::Read(void* to, size_t n) {
  if (n > bytes_.size() - pos_) return Status(Status::kReadFault);
  if (n) std::memcpy(to, bytes_.data() + pos_, n);
  pos_ += n;
  return Status::Ok();
}

Status DecodeBinaryForm(ByteSource& s, std::vector<BinaryEntry>& entries) {
  entries.clear();
  char magic[4];
  DELVORIN_TRY(s.Read(magic, 4));
  if (std::memcmp(magic, kMagic, 4) != 0) return Status(Status::kInvalidHeader);
  uint32_t version = 0, n = 0;
  DELVORIN_TRY(Get(s, version));
  if (version != kVersion) return Status(Status::kInvalidHeader);
  DELVORIN_TRY(Get(s, n));
  if (n > kMaxEntries) return Status(Status::kCorruptData);
  std::set<std::u16string> keys;
  for (uint32_t i = 0; i < n; ++i) {
    uint16_t length = 0;
    DELVORIN_TRY(Get(s, length));
    if (length == 0 || length > kMaxKey) return Status(Status::kCorruptData);
    BinaryEntry e;
    DELVORIN_TRY(GetUnits(s, length, e.key));
    uint8_t tag = 0;
    DELVORIN_TRY(Get(s, tag));
    DELVORIN_TRY(DecodeValue(s, tag, e));
    if (!keys.insert(e.key).second) return Status(Status::kCorruptData);
    entries.push_back(std::move(e));
  }
  return Status::Ok();
}

Status DecodeBinaryForm(std::span<const uint8_t> bytes, std::vector<BinaryEntry>& entries) {
  SpanSource s(bytes);
  return DecodeBinaryForm(s, entries);
}

Status EncodeBinaryForm(const std::vector<BinaryEntry>& entries, std::vector<uint8_t>& bytes) {
  if (entries.size() > kMaxEntries) return Status(Status::kInvalidArgument);
  std::vector<uint8_t> b(kMagic, kMagic + 4);
  Put(b, kVersion);
  Put(b, static_cast<uint32_t>(entries.size()));
  for (const BinaryEntry& e : entries) {
    if (e.key.empty() || e.key.size() > kMaxKey) return Status(Status::kInvalidArgument);
    Put(b, static_cast<uint16_t>(e.key.size()));
    PutUnits(b, e.key);
    if (e.object) {
      if (e.object->size() > kMaxObject) return Status(Status::kOutOfMemory);
      Put(b, static_cast<uint8_t>(kObject));
      Put(b, static_cast<uint32_t>(e.object->size()));
      b.insert(b.end(), e.object->begin(), e.object->end());
      continue;
    }
    const Variant& v = e.value;
    switch (v.type()) {
      case VarType::Empty: Put(b, static_cast<uint8_t>(kEmpty)); break;
      case VarType::I2: Put(b, static_cast<uint8_t>(kI2)); Put(b, v.i2()); break;
      case VarType::I4: Put(b, static_cast<uint8_t>(kI4)); Put(b, v.i4()); break;
      case VarType::UI1: Put(b, static_cast<uint8_t>(kUI1)); Put(b, v.ui1()); break;
      case VarType::Bool: Put(b, static_cast<uint8_t>(kBool)); Put(b, v.boolean()); break;
      case VarType::R4: Put(b, static_cast<uint8_t>(kR4)); Put(b, v.r4()); break;
      case VarType::R8: Put(b, static_cast<uint8_t>(kR8)); Put(b, v.r8()); break;
      case VarType::Str:
        if (v.str().size() > kMaxText) return Status(Status::kOutOfMemory);
        Put(b, static_cast<uint8_t>(kStr));
        Put(b, static_cast<uint32_t>(v.str().size()));
        PutUnits(b, v.str());
        break;
      case VarType::Object:
        if (v.object()) return Status(Status::kInvalidArgument);
        Put(b, static_cast<uint8_t>(kNullObject));
        break;
      case VarType::Null:
      case VarType::Currency:
      case VarType::Date: return Status(Status::kInvalidArgument);  // no persisted property holds these
    }
  }
  bytes = std::move(b);
  return Status::Ok();
}

Status BinaryWriteBag::Read(std::u16string_view, Variant& value, const Variant& defaultValue) {
  value = defaultValue;
  return Status::Ok();
}

Status BinaryWriteBag::Write(std::u16string_view key, const Variant& value, const Variant&) {
  if (key.empty() || key.size() > kMaxKey) return Status(Status::kInvalidArgument);
  if (value.type() == VarType::Str && value.str().size() > kMaxText) return Status(Status::kOutOfMemory);
  BinaryEntry e{std::u16string(key), value, std::nullopt};
  if (value.type() == VarType::Object && value.object()) {
    if (!serialize_) return Status::TypeMismatch();
    std::vector<uint8_t> bytes;
    DELVORIN_TRY(serialize_(value.object(), bytes));
    if (bytes.size() > kMaxObject) return Status(Status::kOutOfMemory);
    e.value = Variant();
    e.object = std::move(bytes);
  }
  entries_.push_back(std::move(e));
  return Status::Ok();
}

Status BinaryReadBag::Read(std::u16string_view key, Variant& value, const Variant& defaultValue) {
  auto it = values_.find(std::u16string(key));
  value = it == values_.end() ? defaultValue : it->second;
  return Status::Ok();
}

Status BinaryReadBag::Write(std::u16string_view, const Variant&, const Variant&) { return Status(Status::kFail); }

}  // namespace delvorin
