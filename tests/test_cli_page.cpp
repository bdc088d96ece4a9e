// The Geral page driven as a developer drives it (the headless dialog with its focus) and
// through the page steps of the delvorin command line.
#include <sstream>

#include "cli/Session.h"
#include "headless/GeneralPageDialog.h"
#include "headless/PropertyAccessHeadless.h"
#include "tests/Helpers.h"
#include "tests/CliRun.h"

namespace delvorin {
namespace {

using F = GeneralChild;

class GeneralDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dialog.creation().ok());
    ASSERT_TRUE(dialog.Load().ok());
  }
  std::u16string Text(F f) { return dialog.surface().Text(IndexOf(f)); }

  headless::Form form;
  headless::PropertyAccessHeadless access{{&form.control()}};
  headless::GeneralPageDialog dialog{access};
};

TEST_F(GeneralDialog, NegativeMaxLengthBecomesZeroOnFocusLoss) {
  ASSERT_TRUE(dialog.Set(u"txtMaxLength", u"-5").ok());
  EXPECT_EQ(Text(F::txtMaxLength), u"-5") << "still being edited";
  ASSERT_TRUE(dialog.Set(u"txtText", u"x").ok());
  EXPECT_EQ(Text(F::txtMaxLength), u"0");
  ASSERT_TRUE(dialog.Set(u"txtMaxLength", u"-7").ok());
  ASSERT_TRUE(dialog.Apply().ok()) << "Apply takes the focus first";
  EXPECT_EQ(Text(F::txtMaxLength), u"0");
  EXPECT_EQ(Read(form.control(), Property::MaxLength), Variant::I4(0));
  EXPECT_EQ(form.control().Text(), u"x");
}

class PageSteps : public ::testing::TestWithParam<CliRun> {};

TEST_P(PageSteps, OutputAndStatus) { CheckRun(GetParam()); }

INSTANTIATE_TEST_SUITE_P(
    Contract, PageSteps,
    ::testing::Values(
        CliRun{{"page:load", "page:set:Combo1=3 - Número", "?Tipo", "page:apply", "?Tipo"}, "4\n3\n", 0},
        CliRun{{"Tipo=0", "page:load", "page:set:txtDigitos=", "page:apply", "?Digitos"},
                 "msgbox: 0 : Type mismatch\nerror: page:apply: Type mismatch\n2\n", 1},
        CliRun{{"page:load", "page:set:txtMaxLength=-5", "page:apply", "?MaxLength"}, "0\n", 0},
        CliRun{{"page:load", "page:set:txtMaxLength=abc", "page:set:txtText=novo", "page:apply", "?Text",
                  "?Locked"},
                 "msgbox: 0 : Type mismatch\nerror: page:apply: Type mismatch\nnovo\nFalse\n", 1},
        CliRun{{"Tipo=11", "Text=2,50", "page:load", "page:apply", "?Appearance"},
                 "msgbox: 0 : Type mismatch\nerror: page:apply: Type mismatch\n0\n", 1},
        CliRun{{"--events", "page:load", "page:click:chkLocked", "page:apply", "?Locked"},
                 "notice: Usar_Enter\nnotice: TC_Trim\nnotice: Aspas\nnotice: usar_parenteses\nnotice: PasswordChar\n"
                 "notice: MSGcpf\nnotice: Digitos\nnotice: TravaCpf\nnotice: Negativo\nnotice: Tipo\n"
                 "notice: Appearance\nnotice: Text\nnotice: MaxLength\nnotice: Locked\nnotice: Enabled\n"
                 "notice: BorderStyle\nnotice: Alignment\nnotice: CnpjAlfanumerico\nnotice: UF\nnotice: Mascara\nTrue\n",
                 0},
        CliRun{{"page:set:txtFoo=1", "page:load", "page:set:txtDigitos=5", "page:set:lblTipo=x",
                  "page:set:chkAspas=5", "page:set:Combo1=27", "page:click:Line2", "page:click:nada", "?Tipo"},
                 "error: page:set:txtFoo: no control named 'txtFoo' on the page\n"
                 "error: page:set:txtDigitos: txtDigitos is hidden\n"
                 "error: page:set:lblTipo: lblTipo cannot be edited\n"
                 "error: page:set:chkAspas: Invalid property value\n"
                 "error: page:set:Combo1: Invalid property value\n"
                 "error: page:click:nada: no control named 'nada' on the page\n4\n",
                 1},
        CliRun{{"page:load", "page:set:txtPasswordChar=*#", "page:click:chkLocked", "page:set:chkEnabled=2",
                  "page:click:chkEnabled", "page:set:CBali=2 - Centro", "page:apply", "?PasswordChar", "?Locked",
                  "?Enabled", "?Alignment"},
                 "*\nTrue\nTrue\n2\n", 0},
        CliRun{{"Tipo=27", "page:load", "?Tipo"}, "error: page:load: Invalid property value\n27\n", 1},
        CliRun{{"Tipo=10", "page:load", "page:click:chkCnpjAlfanumerico", "page:apply", "?CnpjAlfanumerico",
                  "page:set:chkCnpjAlfanumerico=2", "page:apply", "?CnpjAlfanumerico", "CnpjAlfanumerico=0",
                  "page:load", "page:click:chkCnpjAlfanumerico", "page:apply", "?CnpjAlfanumerico"},
                 "False\nFalse\nTrue\n", 0},
        CliRun{{"Tipo=9", "page:load", "page:set:chkCnpjAlfanumerico=0", "page:set:Combo1=10 - CNPJ",
                  "page:set:chkCnpjAlfanumerico=0", "page:apply", "?Tipo", "?CnpjAlfanumerico"},
                 "error: page:set:chkCnpjAlfanumerico: chkCnpjAlfanumerico is hidden\n10\nFalse\n", 1},
        CliRun{{"Tipo=4", "page:load", "page:set:CBuf=SP", "page:set:Combo1=25 - Inscrição Estadual",
                  "page:set:CBuf=mg", "page:set:CBuf=MG", "page:apply", "?Tipo", "?UF", "page:set:CBuf=",
                  "page:apply", "?UF"},
                 "error: page:set:CBuf: CBuf is hidden\n"
                 "error: page:set:CBuf: Invalid property value\n25\nMG\n\n", 1},
        CliRun{{"page:load", "page:set:Combo1=26 - Máscara", "page:set:txtMascara=>LL-0000", "page:apply", "?Tipo",
                  "?Mascara", "page:set:txtMascara=0\\", "page:apply", "?Mascara", "focus", "type:ab12", "?Text"},
                 "26\n>LL-0000\nmsgbox: 0 : Invalid property value\nerror: page:apply: Invalid property value\n"
                 ">LL-0000\nAB-12\n", 1}),
    RunName);

std::vector<std::string> Lines(const std::string& s) {
  std::vector<std::string> lines;
  std::istringstream in(s);
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  return lines;
}

TEST(PageStepsShow, EachControlWithValueAndVisibility) {
  std::ostringstream out, err;
  ASSERT_EQ(cli::RunSession({"Tipo=9", "page:load", "page:show"}, out, err), 0);
  std::vector<std::string> lines = Lines(out.str());
  ASSERT_EQ(lines.size(), kGeneralChildren.size() + 1);
  for (size_t i = 0; i < kGeneralChildren.size(); ++i)
    EXPECT_EQ(lines[i].rfind(Utf8(kGeneralChildren[i].name) + " ", 0), 0u) << lines[i];
  const std::string expected[] = {
      "Combo1 visible 9 \"9 - CPF\"", "txtTipo hidden \"9\"", "txtMaxLength hidden \"0\"",
      "lblMaxLength visible \"MaxLength:\"", "chkMSGcpf visible 1", "chkUsarp hidden 1", "Line2 visible",
      "chkCnpjAlfanumerico hidden 1", "changed: yes"};
  for (const std::string& l : expected) EXPECT_NE(std::find(lines.begin(), lines.end(), l), lines.end()) << l;

  std::ostringstream about, err2;
  ASSERT_EQ(cli::RunSession({"page:about"}, about, err2), 0);
  EXPECT_EQ(Lines(about.str()).front(), "Frame1 visible \"  Delvorin  - Versão 1.0   \"");
}

const std::vector<std::string> kUnreadablePageSteps[] = {
    {"page:"}, {"page:set:"}, {"page:set:=1"}, {"page:set:txtText"}, {"page:click:"}, {"page:bogus"},
    {"page:show:x"}, {"page:load", "page"},
};

class UnreadablePageStep : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(UnreadablePageStep, GivesStatus2) {
  const std::vector<std::string>& args = GetParam();
  std::ostringstream out, err;
  EXPECT_EQ(cli::RunSession(args, out, err), 2) << args.front();
  EXPECT_TRUE(out.str().empty());
  EXPECT_NE(err.str().find("page:set:CONTROL=VALUE"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Usage, UnreadablePageStep, ::testing::ValuesIn(kUnreadablePageSteps), ArgumentsRowName);

}  // namespace
}  // namespace delvorin
