// Loading and saving through the property bag: keys, order, value types, defaults, and
// every failure ending the operation with the first error.
#include "tests/Helpers.h"
#include "format/Conversions.h"

namespace delvorin {
namespace {

using headless::Form;
using headless::PropertyBagHeadless;

std::vector<std::u16string> PropertyTableNames() {
  std::vector<std::u16string> names;
  for (const PropertyDescription& d : kProperties)
    if (d.persisted) names.emplace_back(d.name);
  return names;
}

// The font the container offers; an empty bag leaves the control with it.
const ObjectRef kAmbientFont = headless::MakeFont(u"Tahoma", 9);

// A control loaded from an empty bag, in a container with kAmbientFont.
class EmptyBag : public ::testing::Test {
 protected:
  void SetUp() override {
    form.host().SetAmbientFont(kAmbientFont);
    ASSERT_TRUE(form.control().ReadProperties(bag).ok());
  }
  Form form{Form::Start::Blank};
  PropertyBagHeadless bag;
};

TEST_F(EmptyBag, ReadsEveryKeyInOrder) {
  EXPECT_EQ(bag.readOrder(), PropertyTableNames());
  EXPECT_EQ(form.host().log(), std::vector<std::u16string>{u"notice: MouseIcon"});
}

struct Default {
  Property property;
  Variant value;
};

const Default kDefaults[] = {
    {Property::Alignment, Variant::I2(0)},
    {Property::BackColor, Variant::I4(static_cast<int32_t>(0x80000005))},
    {Property::BorderStyle, Variant::I2(1)},
    {Property::Enabled, Variant::Boolean(kTrue)},
    {Property::Font, Variant::Object(kAmbientFont)},
    {Property::ForeColor, Variant::I4(static_cast<int32_t>(0x80000008))},
    {Property::Locked, Variant::Boolean(kFalse)},
    {Property::MaxLength, Variant::I4(0)},
    {Property::Text, Variant::Str(u"")},
    {Property::Appearance, Variant::I2(1)},
    {Property::Tipo, Variant::UI1(4)},
    {Property::Negativo, Variant::Boolean(kFalse)},
    {Property::TravaCpf, Variant::Boolean(kFalse)},
    {Property::Digitos, Variant::UI1(2)},
    {Property::MSGcpf, Variant::Boolean(kTrue)},
    {Property::PasswordChar, Variant::Str(u"")},
    {Property::MouseIcon, Variant::Object(nullptr)},
    {Property::MousePointer, Variant::I2(0)},
    {Property::Aspas, Variant::Boolean(kFalse)},
    {Property::TC_Trim, Variant::Boolean(kFalse)},
    {Property::Usar_Enter, Variant::Boolean(kTrue)},
    {Property::usar_parenteses, Variant::Boolean(kTrue)},
    {Property::CnpjAlfanumerico, Variant::Boolean(kTrue)},  // a form saved before the key existed
};

class EmptyBagDefault : public EmptyBag, public ::testing::WithParamInterface<Default> {};

TEST_P(EmptyBagDefault, GivesTheDefault) {
  const Default& d = GetParam();
  EXPECT_EQ(Read(form.control(), d.property), d.value) << Utf8(DescriptionOf(d.property).name);
}

INSTANTIATE_TEST_SUITE_P(Rows, EmptyBagDefault, ::testing::ValuesIn(kDefaults),
                         [](const ::testing::TestParamInfo<Default>& i) {
                           return CaseName(i.index, Utf8(DescriptionOf(i.param.property).name));
                         });

struct StoredBoolean {
  Variant stored;
  int16_t expected;
};

const StoredBoolean kStoredBooleans[] = {
    {Variant::I2(0), kFalse}, {Variant::I2(1), kTrue}, {Variant::I2(-1), kTrue},
    {Variant::I4(7), kTrue},  {Variant::Str(u"0"), kFalse}, {Variant::Boolean(kFalse), kFalse},
};

class BooleanStoredAsNumber : public ::testing::TestWithParam<StoredBoolean> {};

TEST_P(BooleanStoredAsNumber, LoadsAsTrueOrFalse) {
  const StoredBoolean& c = GetParam();
  Form form(Form::Start::Blank);
  PropertyBagHeadless bag;
  bag.Set(u"Usar_Enter", c.stored);
  ASSERT_TRUE(form.control().ReadProperties(bag).ok());
  EXPECT_EQ(form.control().Usar_Enter() != 0, c.expected != 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, BooleanStoredAsNumber, ::testing::ValuesIn(kStoredBooleans),
                         [](const ::testing::TestParamInfo<StoredBoolean>& i) {
                           return CaseName(i.index, Utf8(ToDisplayText(i.param.stored)));
                         });

TEST(Persistence, TextLoadedUnformatted) {
  Form form(Form::Start::Blank);
  PropertyBagHeadless bag;
  bag.Set(u"Tipo", Variant::UI1(0));
  bag.Set(u"Text", Variant::Str(u"1234,5"));
  ASSERT_TRUE(form.control().ReadProperties(bag).ok());
  EXPECT_EQ(form.control().Text(), u"1234,5");
  EXPECT_EQ(form.host().Count(u"event: Change"), 1) << "the edit box reports its change";
  EXPECT_EQ(form.host().Count(u"notice: Text"), 0);
}

TEST(Persistence, SaveAndLoadReturnsEverything) {
  Form source;
  Delvorin& c = source.control();
  const std::pair<Property, Variant> values[] = {
      {Property::Alignment, Variant::I2(2)},        {Property::BackColor, Variant::I4(0x00FF00)},
      {Property::BorderStyle, Variant::I2(0)},      {Property::Enabled, Variant::Boolean(kFalse)},
      {Property::ForeColor, Variant::I4(0x123456)}, {Property::Locked, Variant::Boolean(kTrue)},
      {Property::MaxLength, Variant::I4(40)},       {Property::Appearance, Variant::I2(0)},
      {Property::Tipo, Variant::UI1(10)},           {Property::Negativo, Variant::Boolean(kTrue)},
      {Property::TravaCpf, Variant::Boolean(kTrue)}, {Property::Digitos, Variant::UI1(7)},
      {Property::MSGcpf, Variant::Boolean(kFalse)}, {Property::PasswordChar, Variant::Str(u"*")},
      {Property::MousePointer, Variant::I2(99)},    {Property::Aspas, Variant::Boolean(kTrue)},
      {Property::TC_Trim, Variant::Boolean(kTrue)}, {Property::Usar_Enter, Variant::Boolean(kFalse)},
      {Property::usar_parenteses, Variant::Boolean(kFalse)}, {Property::Text, Variant::Str(u"11222333000181")},
  };
  for (const auto& [p, v] : values) ASSERT_TRUE(c.Put(p, v).ok()) << Utf8(DescriptionOf(p).name);
  PropertyBagHeadless bag;
  ASSERT_TRUE(c.WriteProperties(bag).ok());
  EXPECT_EQ(bag.writeOrder(), PropertyTableNames());
  EXPECT_EQ(bag.Get(u"Tipo").type(), VarType::UI1);
  EXPECT_EQ(bag.Get(u"MaxLength").type(), VarType::I4);
  EXPECT_EQ(bag.Get(u"Negativo").type(), VarType::Bool);

  Form target(Form::Start::Blank);
  ASSERT_TRUE(target.control().ReadProperties(bag).ok());
  for (const PropertyDescription& d : kProperties) {
    if (d.type == PropertyType::Font || d.type == PropertyType::Picture) continue;
    EXPECT_EQ(Read(target.control(), d.id), Read(c, d.id)) << Utf8(d.name);
  }
  EXPECT_EQ(target.control().Text(), u"11.222.333/0001-81");

  PropertyBagHeadless other;
  ASSERT_TRUE(c.WriteProperties(other).ok());
  EXPECT_EQ(other.values(), bag.values()) << "saving twice writes the same";
}

TEST(Persistence, FocusLimitIsSaved) {
  Form form;
  ASSERT_TRUE(form.control().SetTipo(9).ok());
  form.Focus();
  form.Blur();
  PropertyBagHeadless bag;
  ASSERT_TRUE(form.control().WriteProperties(bag).ok());
  EXPECT_EQ(bag.Get(u"MaxLength"), Variant::I4(14));
}

struct LoadFailure {
  std::u16string key;
  Variant value;
  int32_t error;
};

const LoadFailure kLoadFailures[] = {
    {u"Tipo", Variant::I4(300), Status::kOverflow},
    {u"Tipo", Variant::I2(-1), Status::kOverflow},
    {u"Digitos", Variant::Str(u"muitos"), Status::kTypeMismatch},
    {u"Alignment", Variant::I4(40000), Status::kOverflow},
    {u"Alignment", Variant::I2(5), Status::kInvalidPropertyValue},
    {u"BorderStyle", Variant::I2(2), Status::kInvalidPropertyValue},
    {u"Enabled", Variant::Str(u"sim"), Status::kTypeMismatch},
    {u"Font", Variant::Str(u"Arial"), Status::kTypeMismatch},
    {u"MouseIcon", Variant::I2(1), Status::kTypeMismatch},
    {u"Text", Variant::Object(headless::MakeFont(u"Arial", 8)), Status::kTypeMismatch},
    {u"UF", Variant::Str(u"XX"), Status::kInvalidPropertyValue},
    {u"Mascara", Variant::Str(u"00\\"), Status::kInvalidPropertyValue},
};

class FirstFailure : public ::testing::TestWithParam<LoadFailure> {};

TEST_P(FirstFailure, EndsLoad) {
  const LoadFailure& f = GetParam();
  Form form;
  PropertyBagHeadless bag;
  bag.Set(u"Alignment", Variant::I2(1));
  bag.Set(u"usar_parenteses", Variant::I2(0));
  bag.Set(f.key, f.value);
  EXPECT_EQ(form.control().ReadProperties(bag).hresult(), f.error) << Utf8(f.key);
  EXPECT_EQ(bag.readOrder().back(), f.key) << "nothing is read after the failure";
  if (f.key != u"Alignment") {
    Variant alignment;
    ASSERT_TRUE(form.control().Get(Property::Alignment, alignment).ok());
    EXPECT_EQ(alignment, Variant::I2(1)) << "what was loaded before stays";
  }
  if (FindProperty(f.key)->id < Property::usar_parenteses) {
    EXPECT_EQ(form.control().usar_parenteses(), kTrue) << "a later key was never loaded";
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, FirstFailure, ::testing::ValuesIn(kLoadFailures),
                         [](const ::testing::TestParamInfo<LoadFailure>& i) {
                           return CaseName(i.index, Utf8(i.param.key) + " " + Utf8(ToDisplayText(i.param.value)));
                         });

TEST(Persistence, BagFailureEndsLoadAndSave) {
  Form form;
  PropertyBagHeadless bag;
  bag.FailOn(u"Locked", Status(Status::kFail));
  EXPECT_EQ(form.control().ReadProperties(bag).hresult(), Status::kFail);
  EXPECT_EQ(bag.readOrder().size(), 7u);
  EXPECT_EQ(form.control().WriteProperties(bag).hresult(), Status::kFail);
  EXPECT_EQ(bag.writeOrder().size(), 7u);
  EXPECT_TRUE(bag.Has(u"ForeColor"));
  EXPECT_FALSE(bag.Has(u"MaxLength"));
}

}  // namespace
}  // namespace delvorin
