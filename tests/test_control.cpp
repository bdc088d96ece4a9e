// The control object: new-instance state, property get/set with notices, forwarding to the
// edit box with its range checks, conversions of a write by name, resize and Atualiza.
#include <vector>

#include "core/DispatchRules.h"
#include "tests/Helpers.h"
#include "format/Conversions.h"

namespace delvorin {
namespace {

class Control : public FieldTest {};

TEST_F(Control, NewInstanceHasDefaults) {
  EXPECT_EQ(Read(control(), Property::Tipo), Variant::UI1(4));
  EXPECT_EQ(Read(control(), Property::Digitos), Variant::UI1(2));
  for (Property p : {Property::MSGcpf, Property::Usar_Enter, Property::usar_parenteses})
    EXPECT_EQ(Read(control(), p), Variant::Boolean(kTrue)) << Utf8(DescriptionOf(p).name);
  for (Property p : {Property::Negativo, Property::TravaCpf, Property::Aspas, Property::TC_Trim})
    EXPECT_EQ(Read(control(), p), Variant::Boolean(kFalse)) << Utf8(DescriptionOf(p).name);
  EXPECT_EQ(Read(control(), Property::Text), Variant::Str(u""));
  EXPECT_TRUE(host().log().empty()) << "initialisation sends no notice";
}

TEST_F(Control, OutOfRangeTipoIsStoredWithNotice) {
  ASSERT_TRUE(control().Put(Property::Tipo, Variant::I2(20)).ok());
  EXPECT_EQ(Read(control(), Property::Tipo), Variant::UI1(20));
  EXPECT_EQ(host().log(), std::vector<std::u16string>{u"notice: Tipo"});
}

TEST_F(Control, EveryWriteNotifiesEvenWithoutChange) {
  for (const PropertyDescription& d : kProperties) {
    if (d.type == PropertyType::Font || d.type == PropertyType::Picture) continue;
    Variant current = Read(control(), d.id);
    host().ClearLog();
    if (d.readOnly) {  // Valido: refused, and nothing said
      EXPECT_EQ(control().Put(d.id, current).hresult(), Status::kReadOnly) << Utf8(d.name);
      EXPECT_TRUE(host().log().empty()) << Utf8(d.name);
      continue;
    }
    ASSERT_TRUE(control().Put(d.id, current).ok()) << Utf8(d.name);
    // Valor is written as a write of Text.
    const std::u16string noticed = d.type == PropertyType::Variant ? u"Text" : std::u16string(d.name);
    EXPECT_EQ(Logged(u"notice: " + noticed), 1) << Utf8(d.name);
  }
}

TEST_F(Control, ChangingTipoDoesNotReformatText) {
  ASSERT_TRUE(control().SetText(u"palavra").ok());
  Tipo(0);
  EXPECT_EQ(control().Text(), u"palavra");
}

TEST_F(Control, TextWithFocusIsTheEditedText) {
  Tipo(0);
  ASSERT_TRUE(control().SetText(u"1234,5").ok());
  EXPECT_EQ(control().Text(), u"R$ 1.234,50");
  form.Focus();
  EXPECT_EQ(control().Text(), u"1234,5");
}

TEST_F(Control, AtualizaReturnsEmptyReference) {
  Tipo(9);
  SetRaw(u"111.111.111-12");
  EXPECT_EQ(control().Atualiza(), nullptr);
  EXPECT_EQ(messageBoxes().size(), 1u);
}

TEST_F(Control, ResizePassesSizeUnadjusted) {
  ASSERT_TRUE(form.Resize(3000, 400).ok());
  EXPECT_EQ(txo().width(), 3000);
  EXPECT_EQ(txo().height(), 400);
  ASSERT_TRUE(form.Resize(0, 0).ok());
  EXPECT_EQ(txo().width(), 0);
  EXPECT_EQ(txo().height(), 0);
}

TEST_F(Control, RefusedResizeKeepsWidthAlreadySet) {
  ASSERT_TRUE(form.Resize(100, 50).ok());
  EXPECT_FALSE(form.Resize(200, -1).ok());
  EXPECT_EQ(txo().width(), 200);
  EXPECT_EQ(txo().height(), 50);
}

// A row's name: the property's name and the value written.
std::string PropertyValueName(size_t index, Property p, const Variant& v) {
  return CaseName(index, Utf8(DescriptionOf(p).name) + " " + Utf8(ToDisplayText(v)));
}

struct RefusedWrite {
  Property property;
  Variant value;
  int32_t error;
};

const RefusedWrite kRefusedWrites[] = {
    {Property::Alignment, Variant::I2(3), Status::kInvalidPropertyValue},
    {Property::Alignment, Variant::I2(-1), Status::kInvalidPropertyValue},
    {Property::BorderStyle, Variant::I2(2), Status::kInvalidPropertyValue},
    {Property::Appearance, Variant::I2(2), Status::kInvalidPropertyValue},
    {Property::MaxLength, Variant::I4(-1), Status::kInvalidPropertyValue},
    {Property::PasswordChar, Variant::Str(u"**"), Status::kInvalidPropertyValue},
    {Property::MousePointer, Variant::I2(16), Status::kInvalidPropertyValue},
    {Property::BackColor, Variant::I4(0x40000000), Status::kInvalidPropertyValue},
    {Property::Font, Variant::Str(u"Arial"), Status::kTypeMismatch},
    {Property::Tipo, Variant::I2(256), Status::kOverflow},
    {Property::Tipo, Variant::Str(u"abc"), Status::kTypeMismatch},
    {Property::Digitos, Variant::I2(-1), Status::kOverflow},
    {Property::Negativo, Variant::Str(u"talvez"), Status::kTypeMismatch},
    {Property::Alignment, Variant::Str(u"True"), Status::kTypeMismatch},
    {Property::MaxLength, Variant::R8(3e9), Status::kOverflow},
};

class RefusedWriteTable : public FieldTest, public ::testing::WithParamInterface<RefusedWrite> {};

TEST_P(RefusedWriteTable, NeitherNotifiesNorChanges) {
  const RefusedWrite& c = GetParam();
  const Variant before = Read(control(), c.property);
  host().ClearLog();
  EXPECT_EQ(control().Put(c.property, c.value).hresult(), c.error) << Utf8(DescriptionOf(c.property).name);
  EXPECT_TRUE(host().log().empty()) << Utf8(DescriptionOf(c.property).name);
  EXPECT_EQ(Read(control(), c.property), before) << Utf8(DescriptionOf(c.property).name);
}

INSTANTIATE_TEST_SUITE_P(Rows, RefusedWriteTable, ::testing::ValuesIn(kRefusedWrites),
                         [](const ::testing::TestParamInfo<RefusedWrite>& i) {
                           return PropertyValueName(i.index, i.param.property, i.param.value);
                         });

struct Conversion {
  Property property;
  Variant value;
  Variant expected;
};

const Conversion kConversions[] = {
    {Property::usar_parenteses, Variant::Str(u"False"), Variant::Boolean(kFalse)},
    {Property::usar_parenteses, Variant::Str(u"tRuE"), Variant::Boolean(kTrue)},
    {Property::Negativo, Variant::Str(u"5"), Variant::Boolean(kTrue)},
    {Property::Negativo, Variant::Str(u"0"), Variant::Boolean(kFalse)},
    {Property::Negativo, Variant::I2(1), Variant::Boolean(kTrue)},
    {Property::Tipo, Variant::Str(u"9"), Variant::UI1(9)},
    {Property::Tipo, Variant::R8(2.5), Variant::UI1(2)},  // half to even
    {Property::Tipo, Variant::R8(3.5), Variant::UI1(4)},
    {Property::Digitos, Variant::Str(u" 255 "), Variant::UI1(255)},
    {Property::MaxLength, Variant::Str(u"1.000"), Variant::I4(1000)},
    {Property::Alignment, Variant::Str(u"2"), Variant::I2(2)},
    {Property::BackColor, Variant::Str(u"255"), Variant::I4(255)},
    {Property::PasswordChar, Variant::I2(7), Variant::Str(u"7")},
    {Property::MouseIcon, Variant(), Variant::Object(nullptr)},
};

class WriteByName : public FieldTest, public ::testing::WithParamInterface<Conversion> {};

TEST_P(WriteByName, ConvertsTheValue) {
  const Conversion& c = GetParam();
  ASSERT_TRUE(control().Put(c.property, c.value).ok()) << Utf8(DescriptionOf(c.property).name);
  EXPECT_EQ(Read(control(), c.property), c.expected) << Utf8(DescriptionOf(c.property).name);
}

INSTANTIATE_TEST_SUITE_P(Rows, WriteByName, ::testing::ValuesIn(kConversions),
                         [](const ::testing::TestParamInfo<Conversion>& i) {
                           return PropertyValueName(i.index, i.param.property, i.param.value);
                         });

TEST_F(Control, BooleanKeepsTheGivenValue) {
  ASSERT_TRUE(control().Put(Property::Aspas, Variant::Boolean(int16_t{1})).ok());
  EXPECT_EQ(control().Aspas(), 1);
}

TEST_F(Control, RefusedNoticeReturnsErrorButKeepsField) {
  host().set_fail_notices(true);
  EXPECT_FALSE(control().SetTipo(9).ok());
  EXPECT_EQ(control().Tipo(), 9);
}

TEST_F(Control, FontAndIconAreEditBoxObjects) {
  ObjectRef font = headless::MakeFont(u"Arial", 10);
  ASSERT_TRUE(control().Put(Property::Font, Variant::Object(font)).ok());
  EXPECT_EQ(Read(control(), Property::Font).object(), font);
  EXPECT_EQ(control().Put(Property::Font, Variant::Object(nullptr)).hresult(), Status::kInvalidPropertyValue);
  ObjectRef icon = std::make_shared<headless::Picture>(u"seta.ico");
  ASSERT_TRUE(control().Put(Property::MouseIcon, Variant::Object(icon)).ok());
  EXPECT_EQ(Read(control(), Property::MouseIcon).object(), icon);
}

TEST(PropertyTable, IdsDescendInOrderThroughText) {
  // The 1.0 properties count down to 0x68030000; those added later count up from 0x68030015.
  int32_t expected = 0x68030014;
  for (int i = 0; i < kPropertyCount10; ++i) {
    const PropertyDescription& d = kProperties[static_cast<size_t>(i)];
    if (d.id == Property::Text) {
      EXPECT_EQ(d.dispid, 0);
      continue;
    }
    EXPECT_EQ(d.dispid, expected--) << Utf8(d.name);
  }
  EXPECT_EQ(expected, 0x68030000 - 1);
  for (int i = kPropertyCount10; i < kPropertyCount; ++i)
    EXPECT_EQ(kProperties[static_cast<size_t>(i)].dispid, 0x68030015 + (i - kPropertyCount10));
  int opensGeral = 0;
  for (const PropertyDescription& d : kProperties) opensGeral += d.opensGeral;
  EXPECT_EQ(opensGeral, 20);
  for (size_t i = 0; i < kProperties.size(); ++i) {
    EXPECT_EQ(static_cast<size_t>(kProperties[i].id), i);
    EXPECT_EQ(FindProperty(kProperties[i].name), &kProperties[i]);
  }
  EXPECT_EQ(FindProperty(u"tipo"), nullptr) << "names are exact";
}


// The shape of IDispatch::Invoke calls, checked before any property is reached.
struct DispatchShape {
  const char* name;
  int32_t dispid;
  uint16_t flags;
  uint32_t arguments;
  std::vector<int32_t> named;
  int32_t error;
  uint32_t argumentError;  // kUntouched: not written
  bool argumentsGiven = true;
};
constexpr uint32_t kUntouched = 0xDEADBEEF;
constexpr int32_t kTipoId = 0x6803000b, kFontId = 0x68030010, kValidoId = 0x68030018, kValorId = 0x68030017,
                  kPut = dispatch::kPropertyPutId;
constexpr uint16_t kGet = dispatch::kPropertyGet, kPutFlag = dispatch::kPropertyPut, kCall = dispatch::kMethod,
                   kPutRef = dispatch::kPropertyPutRef;

const DispatchShape kDispatchShapes[] = {
    {"get Tipo", kTipoId, kGet, 0, {}, Status::kOk, kUntouched},
    {"VBScript get Text", kDispidText, kGet | kCall, 0, {}, Status::kOk, kUntouched},
    {"put Tipo", kTipoId, kPutFlag, 1, {kPut}, Status::kOk, kUntouched},
    {"JScript put of an object", kFontId, kPutFlag | kPutRef, 1, {kPut}, Status::kOk, kUntouched},
    {"call Atualiza", kAtualiza.dispid, kCall, 0, {}, Status::kOk, kUntouched},
    {"get with an argument", 0x68030005, kGet, 1, {}, Status::kBadParamCount, kUntouched},
    {"call Atualiza with an argument", kAtualiza.dispid, kCall | kGet, 1, {}, Status::kBadParamCount, kUntouched},
    {"get with a named argument", kTipoId, kGet, 1, {7}, Status::kNoNamedArgs, kUntouched},
    {"put with two arguments", kTipoId, kPutFlag, 2, {kPut}, Status::kBadParamCount, kUntouched},
    {"put without a value", kTipoId, kPutFlag, 0, {}, Status::kBadParamCount, kUntouched},
    {"put with the value unnamed", kTipoId, kPutFlag, 1, {}, Status::kParamNotFound, 0},
    {"put with the value misnamed", kTipoId, kPutFlag, 1, {5}, Status::kParamNotFound, 0},
    {"put on Atualiza", kAtualiza.dispid, kPutFlag, 1, {kPut}, Status::kMemberNotFound, kUntouched},
    {"unknown member", 0x12345, kGet, 0, {}, Status::kMemberNotFound, kUntouched},
    {"no flags", kTipoId, 0, 0, {}, Status::kInvalidArgument, kUntouched},
    {"unknown flag", kTipoId, 0x10 | kGet, 0, {}, Status::kInvalidArgument, kUntouched},
    {"put and get at once", kTipoId, kGet | kPutFlag, 1, {kPut}, Status::kInvalidArgument, kUntouched},
    {"more names than arguments", kTipoId, kPutFlag, 1, {kPut, kPut}, Status::kInvalidArgument, kUntouched},
    {"arguments counted but missing", kTipoId, kPutFlag, 1, {kPut}, Status::kInvalidArgument, kUntouched, false},
    {"get Valido", kValidoId, kGet, 0, {}, Status::kOk, kUntouched},
    {"put Valido, read-only", kValidoId, kPutFlag, 1, {kPut}, Status::kReadOnly, kUntouched},
    {"putref Valido, read-only", kValidoId, kPutRef, 1, {kPut}, Status::kReadOnly, kUntouched},
    {"put Valido with two arguments", kValidoId, kPutFlag, 2, {kPut}, Status::kBadParamCount, kUntouched},
    {"put Valido with the value unnamed", kValidoId, kPutFlag, 1, {}, Status::kParamNotFound, 0},
    {"put Valor", kValorId, kPutFlag, 1, {kPut}, Status::kOk, kUntouched},
};

TEST(DispatchShapes, NamesCountedButMissing) {
  uint32_t argumentError = kUntouched;
  EXPECT_EQ(CheckDispatchCall({kTipoId, kPutFlag, 1, true, 1, nullptr}, argumentError).hresult(), Status::kInvalidArgument);
}

class DispatchShapeTable : public ::testing::TestWithParam<DispatchShape> {};

TEST_P(DispatchShapeTable, GetsTheAutomationAnswer) {
  const DispatchShape& c = GetParam();
  DispatchCall call{c.dispid, c.flags, c.arguments, c.argumentsGiven, static_cast<uint32_t>(c.named.size()), c.named.data()};
  uint32_t argumentError = kUntouched;
  EXPECT_EQ(CheckDispatchCall(call, argumentError).hresult(), c.error);
  EXPECT_EQ(argumentError, c.argumentError);
}

INSTANTIATE_TEST_SUITE_P(Rows, DispatchShapeTable, ::testing::ValuesIn(kDispatchShapes),
                         [](const ::testing::TestParamInfo<DispatchShape>& i) { return CaseName(i.index, i.param.name); });

// Every member answers a plain get and refuses arguments to it.
TEST(DispatchShapes, EveryMemberReadsWithoutArguments) {
  uint32_t argumentError = kUntouched;
  for (const PropertyDescription& d : kProperties) {
    EXPECT_TRUE(CheckDispatchCall({d.dispid, kGet, 0, true, 0, nullptr}, argumentError).ok()) << Utf8(d.name);
    EXPECT_EQ(CheckDispatchCall({d.dispid, kGet, 1, true, 0, nullptr}, argumentError).hresult(), Status::kBadParamCount)
        << Utf8(d.name);
  }
  EXPECT_EQ(argumentError, kUntouched);
}

}  // namespace
}  // namespace delvorin
