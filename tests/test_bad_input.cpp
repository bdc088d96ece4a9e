// Hostile texts through every property, handler and step: empty, a megabyte long, NULs,
// lone surrogates and right-to-left marks give the described result or a clear error.
#include <sstream>

#include "cli/Session.h"
#include "tests/Helpers.h"

namespace delvorin {
namespace {

std::vector<std::u16string> BadTexts() {
  std::u16string mega(1 << 20, u'7');
  std::u16string megaNames;
  for (int i = 0; i < (1 << 18); ++i) megaNames += u"ab ";
  return {u"",
          mega,
          megaNames,
          std::u16string(u"12\0" u"34", 5),
          std::u16string(1 << 16, u'\0'),
          u"\xD800" u"123",
          u"12\xDC00",
          u"\x200F" u"123.456.789-09\x200E",
          u"\xFEFF" u"1.234,56",
          u"'''",
          u"(((",
          u"R$",
          u"-",
          u"\xFFFF\xFFFE"};
}

TEST(BadInput, AssignmentAndExitInEveryType) {
  for (int t = 0; t <= 27; ++t) {
    for (const std::u16string& text : BadTexts()) {
      headless::Form f;
      ASSERT_TRUE(f.control().SetTipo(static_cast<uint8_t>(t)).ok());
      ASSERT_TRUE(f.control().SetAspas(kTrue).ok());
      ASSERT_TRUE(f.control().SetTC_Trim(kTrue).ok());
      Status s = f.control().SetText(text);
      if (t == 11) {
        EXPECT_TRUE(s.ok() || s.hresult() == Status::kTypeMismatch || s.hresult() == Status::kOverflow);
        if (!s.ok()) {
          EXPECT_EQ(f.control().Text(), text) << "the failed write keeps the value";
        }
      } else {
        EXPECT_TRUE(s.ok()) << t;
      }
      f.Focus();
      f.Type(u"1,-a");
      f.PressKey(headless::vk::Delete, 1);
      f.Blur();
      (void)f.control().Atualiza();
      // Whatever the type, the field ends with a text, and for the numeric types a number.
      std::u16string result = f.control().Text();
      if (t <= 2) {
        EXPECT_FALSE(result.empty()) << t;
      }
    }
  }
}

TEST(BadInput, PropertiesByName) {
  for (const PropertyDescription& d : kProperties) {
    for (const std::u16string& text : BadTexts()) {
      headless::Form f;
      Variant before;
      ASSERT_TRUE(f.control().Get(d.id, before).ok());
      Status s = f.control().Put(d.id, Variant::Str(text));
      if (!s.ok() && d.id != Property::Text) {
        Variant after;
        ASSERT_TRUE(f.control().Get(d.id, after).ok());
        EXPECT_EQ(after, before) << Utf8(d.name) << ": a refused write changes nothing";
        EXPECT_FALSE(Status(s).Description().empty());
      }
    }
  }
}

TEST(BadInput, LoadingHugeText) {
  headless::Form f(headless::Form::Start::Blank);
  headless::PropertyBagHeadless bag;
  std::u16string mega(1 << 20, u'\0');
  bag.Set(u"Text", Variant::Str(mega));
  bag.Set(u"PasswordChar", Variant::Str(u"\xD800"));
  ASSERT_TRUE(f.control().ReadProperties(bag).ok());
  EXPECT_EQ(f.control().Text(), mega);
  headless::PropertyBagHeadless saved;
  ASSERT_TRUE(f.control().WriteProperties(saved).ok());
  EXPECT_EQ(saved.Get(u"Text"), Variant::Str(mega)) << "saved as held, nothing lost";
}

TEST(BadInput, CommandLineWithArbitraryBytes) {
  const std::vector<std::string> arguments = {
      "focus", std::string("type:\xff\xfe\x80", 8), "Text=\xed\xa0\x80", "?Text", "Tipo=\xc3", "select:999999,999999",
      "key:backspace", "?Text"};
  std::ostringstream out, err;
  EXPECT_EQ(cli::RunSession(arguments, out, err), 1);
  EXPECT_EQ(out.str(), "\xEF\xBF\xBD\nerror: Tipo: Type mismatch\n\n");
}

}  // namespace
}  // namespace delvorin
