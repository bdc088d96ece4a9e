// The binary form of the properties: every tag's bytes and round trip, truncated and corrupt
// data failing with the server's HRESULTs before any allocation the data cannot hold, keys
// found by name, and the forms stored by earlier servers read and rewritten byte for byte.
#include <fstream>
#include <iterator>

#include "control/BinaryForm.h"
#include "tests/Helpers.h"

namespace delvorin {
namespace {

// Little-endian bytes built by hand, independently of the encoder.
struct Bytes {
  std::vector<uint8_t> b;
  Bytes& u8(uint8_t v) { b.push_back(v); return *this; }
  Bytes& u16(uint16_t v) { return u8(v & 0xFF).u8(v >> 8); }
  Bytes& u32(uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
  Bytes& raw(std::initializer_list<uint8_t> v) { b.insert(b.end(), v); return *this; }
  Bytes& units(std::u16string_view s) { for (char16_t c : s) u16(c); return *this; }
  Bytes& key(std::u16string_view s) { return u16(static_cast<uint16_t>(s.size())).units(s); }
  static Bytes Header(uint32_t n) { Bytes r; r.raw({'D', 'L', 'V', '2'}).u32(1).u32(n); return r; }
};

BinaryEntry Entry(std::u16string key, Variant v) { return BinaryEntry{std::move(key), std::move(v), std::nullopt}; }
BinaryEntry ObjectEntry(std::u16string key, std::vector<uint8_t> bytes) {
  return BinaryEntry{std::move(key), Variant(), std::move(bytes)};
}

// ---- One entry of each tag: its exact bytes and its way back ----

struct TagCase {
  const char* name;
  BinaryEntry entry;
  std::vector<uint8_t> value;  // tag and value, after the key
};

class TagRoundTrip : public ::testing::TestWithParam<TagCase> {};

TEST_P(TagRoundTrip, EncodesExactBytesAndDecodesBack) {
  const TagCase& c = GetParam();
  std::vector<uint8_t> encoded;
  ASSERT_TRUE(EncodeBinaryForm({c.entry}, encoded).ok());
  Bytes expected = Bytes::Header(1).key(c.entry.key);
  expected.b.insert(expected.b.end(), c.value.begin(), c.value.end());
  EXPECT_EQ(encoded, expected.b);
  std::vector<BinaryEntry> decoded;
  SpanSource source(encoded);
  ASSERT_TRUE(DecodeBinaryForm(source, decoded).ok());
  EXPECT_EQ(source.consumed(), encoded.size());
  ASSERT_EQ(decoded.size(), 1u);
  EXPECT_EQ(decoded[0], c.entry);
}

INSTANTIATE_TEST_SUITE_P(
    Tags, TagRoundTrip,
    ::testing::Values(
        TagCase{"Empty", Entry(u"K", Variant()), {0}},
        TagCase{"I2", Entry(u"Alignment", Variant::I2(-2)), {1, 0xFE, 0xFF}},
        TagCase{"I4", Entry(u"BackColor", Variant::I4(static_cast<int32_t>(0x80000005))), {2, 5, 0, 0, 0x80}},
        TagCase{"UI1", Entry(u"Tipo", Variant::UI1(250)), {3, 250}},
        TagCase{"BoolTrue", Entry(u"Enabled", Variant::Boolean(kTrue)), {4, 0xFF, 0xFF}},
        TagCase{"BoolOther", Entry(u"Locked", Variant::Boolean(int16_t{7})), {4, 7, 0}},
        TagCase{"R4", Entry(u"x", Variant::R4(1.5f)), {5, 0, 0, 0xC0, 0x3F}},
        TagCase{"R8", Entry(u"y", Variant::R8(-2.0)), {6, 0, 0, 0, 0, 0, 0, 0, 0xC0}},
        TagCase{"Str", Entry(u"Text", Variant::Str(u"1,5\u00e7")), {7, 4, 0, 0, 0, '1', 0, ',', 0, '5', 0, 0xE7, 0}},
        TagCase{"EmptyStr", Entry(u"PasswordChar", Variant::Str(u"")), {7, 0, 0, 0, 0}},
        TagCase{"NullObject", Entry(u"MouseIcon", Variant::Object(nullptr)), {8}},
        TagCase{"Object", ObjectEntry(u"Font", {1, 2, 3}), {9, 3, 0, 0, 0, 1, 2, 3}},
        TagCase{"EmptyObject", ObjectEntry(u"Font", {}), {9, 0, 0, 0, 0}},
        TagCase{"LongestKey", Entry(std::u16string(64, u'k'), Variant::I2(1)), {1, 1, 0}}),
    [](const ::testing::TestParamInfo<TagCase>& i) { return std::string(i.param.name); });

// ---- Corrupt data: the status the server returns for it ----

struct BadCase {
  const char* name;
  std::vector<uint8_t> bytes;
  int32_t hresult;
};

class BadData : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadData, FailsWithItsStatus) {
  std::vector<BinaryEntry> decoded{Entry(u"old", Variant())};
  EXPECT_EQ(DecodeBinaryForm(GetParam().bytes, decoded).hresult(), GetParam().hresult);
}

constexpr uint32_t kEightMegaUnits = 8u * 1024 * 1024;
constexpr uint32_t kSixteenMegabytes = 16u * 1024 * 1024;

INSTANTIATE_TEST_SUITE_P(
    Corrupt, BadData,
    ::testing::Values(
        BadCase{"Empty", {}, Status::kReadFault},
        BadCase{"BadMagic", Bytes().raw({'D', 'L', 'V', '1'}).u32(1).u32(0).b, Status::kInvalidHeader},
        BadCase{"BadMagicShort", Bytes().raw({'X', 'L', 'V', '2'}).b, Status::kInvalidHeader},
        BadCase{"VersionZero", Bytes().raw({'D', 'L', 'V', '2'}).u32(0).u32(0).b, Status::kInvalidHeader},
        BadCase{"VersionTwo", Bytes().raw({'D', 'L', 'V', '2'}).u32(2).u32(0).b, Status::kInvalidHeader},
        BadCase{"CountMax", Bytes::Header(0xFFFFFFFFu).b, Status::kCorruptData},
        BadCase{"Count1025", Bytes::Header(1025).b, Status::kCorruptData},
        BadCase{"Count1024WithoutEntries", Bytes::Header(1024).b, Status::kReadFault},
        BadCase{"KeyLength0", Bytes::Header(1).u16(0).u8(0).b, Status::kCorruptData},
        BadCase{"KeyLength65", Bytes::Header(1).key(std::u16string(65, u'k')).u8(0).b, Status::kCorruptData},
        BadCase{"KeyBeyondData", Bytes::Header(1).u16(64).units(u"abc").b, Status::kReadFault},
        BadCase{"Tag10", Bytes::Header(1).key(u"Tipo").u8(10).b, Status::kCorruptData},
        BadCase{"Tag255", Bytes::Header(1).key(u"Tipo").u8(255).u8(0).b, Status::kCorruptData},
        BadCase{"StrBeyondData", Bytes::Header(1).key(u"Text").u8(7).u32(5).units(u"abcd").b, Status::kReadFault},
        BadCase{"StrAtLimitBeyondData", Bytes::Header(1).key(u"Text").u8(7).u32(kEightMegaUnits).units(u"ab").b,
                Status::kReadFault},
        BadCase{"StrOverLimit", Bytes::Header(1).key(u"Text").u8(7).u32(kEightMegaUnits + 1).b, Status::kCorruptData},
        BadCase{"Str2Pow31", Bytes::Header(1).key(u"Text").u8(7).u32(0x80000000u).units(u"ab").b, Status::kCorruptData},
        BadCase{"StrMax", Bytes::Header(1).key(u"Text").u8(7).u32(0xFFFFFFFFu).b, Status::kCorruptData},
        BadCase{"ObjectBeyondData", Bytes::Header(1).key(u"Font").u8(9).u32(17).raw({1, 2, 3}).b, Status::kReadFault},
        BadCase{"ObjectAtLimitBeyondData", Bytes::Header(1).key(u"Font").u8(9).u32(kSixteenMegabytes).b,
                Status::kReadFault},
        BadCase{"ObjectOverLimit", Bytes::Header(1).key(u"Font").u8(9).u32(kSixteenMegabytes + 1).b,
                Status::kCorruptData},
        BadCase{"DuplicateKey", Bytes::Header(2).key(u"Tipo").u8(3).u8(1).key(u"Tipo").u8(3).u8(2).b,
                Status::kCorruptData},
        BadCase{"FewerEntriesThanCounted", Bytes::Header(2).key(u"Tipo").u8(3).u8(1).b, Status::kReadFault}),
    [](const ::testing::TestParamInfo<BadCase>& i) { return std::string(i.param.name); });

// A stream with every tag, the basis of the truncation and trailing-data checks.
std::vector<BinaryEntry> EveryTag() {
  return {Entry(u"E", Variant()),           Entry(u"Alignment", Variant::I2(2)), Entry(u"BackColor", Variant::I4(0xff00)),
          Entry(u"Tipo", Variant::UI1(9)),  Entry(u"Enabled", Variant::Boolean(kFalse)), Entry(u"r4", Variant::R4(0.25f)),
          Entry(u"r8", Variant::R8(1e300)), Entry(u"Text", Variant::Str(u"123.456.789-09")),
          Entry(u"MouseIcon", Variant::Object(nullptr)), ObjectEntry(u"Font", std::vector<uint8_t>(20, 0xAB))};
}

TEST(BinaryForm, EveryTruncationFailsAsShortData) {
  std::vector<uint8_t> full;
  ASSERT_TRUE(EncodeBinaryForm(EveryTag(), full).ok());
  for (size_t n = 0; n < full.size(); ++n) {
    std::vector<BinaryEntry> decoded;
    EXPECT_EQ(DecodeBinaryForm(std::span(full.data(), n), decoded).hresult(), Status::kReadFault) << n << " bytes";
  }
  std::vector<BinaryEntry> decoded;
  ASSERT_TRUE(DecodeBinaryForm(full, decoded).ok());
  EXPECT_EQ(decoded, EveryTag());
}

TEST(BinaryForm, StopsAtTheLastEntryLeavingTrailingBytes) {
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(EncodeBinaryForm(EveryTag(), bytes).ok());
  const size_t size = bytes.size();
  bytes.insert(bytes.end(), {'r', 'e', 's', 't', 'o'});
  SpanSource source(bytes);
  std::vector<BinaryEntry> decoded;
  ASSERT_TRUE(DecodeBinaryForm(source, decoded).ok());
  EXPECT_EQ(source.consumed(), size);
}

TEST(BinaryForm, UnknownSizeSourceStillEndsAtTheData) {
  // A source that cannot tell what is left: the reads themselves find the end.
  struct Unsized final : ByteSource {
    SpanSource inner;
    explicit Unsized(std::span<const uint8_t> b) : inner(b) {}
    Status Read(void* to, size_t n) override { return inner.Read(to, n); }
    uint64_t Remaining() const override { return kUnknown; }
  };
  const std::vector<uint8_t> bytes = Bytes::Header(1).key(u"Text").u8(7).u32(3).units(u"ab").b;
  Unsized source(bytes);
  std::vector<BinaryEntry> decoded;
  EXPECT_EQ(DecodeBinaryForm(source, decoded).hresult(), Status::kReadFault);
}

// ---- Encoding refuses what could not be read back ----

struct EncodeCase {
  const char* name;
  BinaryEntry entry;
  int32_t hresult;
};

class EncodeRefuses : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(EncodeRefuses, WithItsStatus) {
  std::vector<uint8_t> bytes{1, 2};
  EXPECT_EQ(EncodeBinaryForm({GetParam().entry}, bytes).hresult(), GetParam().hresult);
  EXPECT_EQ(bytes, (std::vector<uint8_t>{1, 2}));
}

INSTANTIATE_TEST_SUITE_P(
    Invalid, EncodeRefuses,
    ::testing::Values(EncodeCase{"KeyLength0", Entry(u"", Variant::I2(1)), Status::kInvalidArgument},
                      EncodeCase{"KeyLength65", Entry(std::u16string(65, u'k'), Variant::I2(1)), Status::kInvalidArgument},
                      EncodeCase{"ObjectWithoutBytes", Entry(u"Font", Variant::Object(headless::MakeFont(u"Arial", 8))),
                                 Status::kInvalidArgument}),
    [](const ::testing::TestParamInfo<EncodeCase>& i) { return std::string(i.param.name); });

// ---- With the engine: keys by name ----

std::map<std::u16string, Variant> Values(const std::vector<BinaryEntry>& entries) {
  std::map<std::u16string, Variant> r;
  for (const BinaryEntry& e : entries) r.emplace(e.key, e.value);
  return r;
}

TEST(BinaryForm, UnknownKeysAreSkippedAndAbsentOnesTakeDefaults) {
  const std::vector<uint8_t> bytes = Bytes::Header(3)
                                         .key(u"NoSuchProperty").u8(7).u32(2).units(u"zz")
                                         .key(u"MaxLength").u8(2).u32(12)
                                         .key(u"Futuro").u8(3).u8(1).b;
  std::vector<BinaryEntry> decoded;
  ASSERT_TRUE(DecodeBinaryForm(bytes, decoded).ok());
  ASSERT_EQ(decoded.size(), 3u);
  headless::Form form(headless::Form::Start::Blank);
  BinaryReadBag bag(Values(decoded));
  ASSERT_TRUE(form.control().ReadProperties(bag).ok());
  Variant maxLength;
  ASSERT_TRUE(form.control().Get(Property::MaxLength, maxLength).ok());
  EXPECT_EQ(maxLength, Variant::I4(12));
  EXPECT_EQ(form.control().Tipo(), 4);  // absent: the default
}

TEST(BinaryForm, EngineWritesTableKeysAndObjectsThroughTheSerializer) {
  headless::Form form;
  int serialized = 0;
  BinaryWriteBag bag([&](const ObjectRef& o, std::vector<uint8_t>& bytes) {
    ++serialized;
    bytes.assign(16, 0x11);
    bytes.push_back(static_cast<uint8_t>(o->Describe().size()));
    return Status::Ok();
  });
  ASSERT_TRUE(form.control().WriteProperties(bag).ok());
  // Every persisted property, in table order (Valor and Valido are not kept).
  std::vector<std::u16string_view> persisted;
  for (const PropertyDescription& d : kProperties)
    if (d.persisted) persisted.push_back(d.name);
  ASSERT_EQ(bag.entries().size(), persisted.size());
  for (size_t i = 0; i < persisted.size(); ++i) EXPECT_EQ(bag.entries()[i].key, persisted[i]);
  EXPECT_EQ(serialized, 1);  // the font; no mouse icon
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(EncodeBinaryForm(bag.entries(), bytes).ok());
  std::vector<BinaryEntry> decoded;
  ASSERT_TRUE(DecodeBinaryForm(bytes, decoded).ok());
  EXPECT_EQ(decoded, bag.entries());

  BinaryWriteBag failing([](const ObjectRef&, std::vector<uint8_t>&) { return Status(Status::kFail); });
  EXPECT_EQ(form.control().WriteProperties(failing).hresult(), Status::kFail);
}

// ---- Forms saved by the server before the codec moved here ----

class StoredForm : public ::testing::TestWithParam<const char*> {};

TEST_P(StoredForm, DecodesAndEncodesToTheSameBytes) {
  std::ifstream f(std::string(DELVORIN_TEST_DATA) + "/" + GetParam() + ".dlv2", std::ios::binary);
  ASSERT_TRUE(f) << GetParam();
  const std::vector<uint8_t> stored{std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
  std::vector<BinaryEntry> decoded;
  ASSERT_TRUE(DecodeBinaryForm(stored, decoded).ok());
  // Saved by the 1.1 server: its 23 properties (a null MouseIcon is written as a null object).
  EXPECT_EQ(decoded.size(), static_cast<size_t>(kPropertyCount11));
  std::vector<uint8_t> again;
  ASSERT_TRUE(EncodeBinaryForm(decoded, again).ok());
  EXPECT_EQ(again, stored);
}

INSTANTIATE_TEST_SUITE_P(Server, StoredForm, ::testing::Values("novo", "configurado"),
                         [](const ::testing::TestParamInfo<const char*>& i) { return std::string(i.param); });

}  // namespace
}  // namespace delvorin
