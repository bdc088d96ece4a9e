// The delvorin command line: its output contract, exit statuses and UTF-8 handling.
#include <sstream>

#include "cli/Session.h"
#include "cli/Utf8.h"
#include "tests/Helpers.h"
#include "tests/CliRun.h"

namespace delvorin {
namespace {

class CommandLine : public ::testing::TestWithParam<CliRun> {};

TEST_P(CommandLine, OutputAndStatus) { CheckRun(GetParam()); }

INSTANTIATE_TEST_SUITE_P(
    Contract, CommandLine,
    ::testing::Values(
        CliRun{{"Tipo=11", "Text=1.234,56", "?Text"},
                 "UM MIL, DUZENTOS E TRINTA E QUATRO REAIS E CINQUENTA E SEIS CENTAVOS\n", 0},
        CliRun{{"Tipo=9", "focus", "type:12345678901", "blur", "?Text"},
                 "msgbox: 48 Delvorin: CPF Inválido.\n123.456.789-01\n", 0},
        CliRun{{"?Tipo", "?Digitos", "?MSGcpf", "?Negativo", "?Text", "?MaxLength", "?BackColor", "?Font", "?MouseIcon"},
                 "4\n2\nTrue\nFalse\n\n0\n-2147483643\nMS Sans Serif 8,25\nNothing\n", 0},
        CliRun{{"usar_parenteses=false", "?usar_parenteses", "usar_parenteses=TRUE", "?usar_parenteses",
                  "Negativo=-1", "?Negativo"},
                 "False\nTrue\nTrue\n", 0},
        CliRun{{"Tipo=300", "?Tipo", "Alignment=3", "Tipo=abc", "Foo=1", "?Bar"},
                 "error: Tipo: Overflow\n4\nerror: Alignment: Invalid property value\nerror: Tipo: Type mismatch\n"
                 "error: Foo: Unknown property name\nerror: Bar: Unknown property name\n",
                 1},
        CliRun{{"Tipo=11", "Text=abc", "?Text", "?Appearance"}, "error: Text: Type mismatch\nabc\n0\n", 1},
        CliRun{{"type:abc"}, "error: type: the field does not have the focus\n", 1},
        CliRun{{"Tipo=0", "focus", "type:1234.5", "?Text", "key:tab", "?Text"}, "1234,5\nR$ 1.234,50\n", 0},
        CliRun{{"Tipo=8", "Text=12345", "focus", "select:2,0", "type:6", "?Text", "?SelStart"},
                 "12345-6\nerror: SelStart: Unknown property name\n", 1},
        CliRun{{"focus", "type:12345", "select:2,0", "key:shift+delete", "?Text", "key:home", "key:delete", "?Text",
                  "key:end", "key:backspace", "?Text", "key:left", "key:right", "key:ctrl+shift+delete", "?Text"},
                 "12\n2\n\n\n", 0},
        CliRun{{"Tipo=13", "TravaCpf=True", "focus", "type:12345678901", "blur", "atualiza", "?Text"},
                 "msgbox: 48 Delvorin: PIS  Inválido. Redigite ( ou deixe em branco)\n"
                 "msgbox: 48 Delvorin: PIS  Inválido. Redigite ( ou deixe em branco)\n123.45678.90.1\n",
                 0},
        CliRun{{"--events", "Tipo=2", "Usar_Enter=False", "focus", "key:backspace", "key:enter", "?Text"},
                 "notice: Tipo\nnotice: Usar_Enter\nevent: Change\nevent: KeyDown 8 0\nevent: KeyPress 8\n"
                 "event: Change\nevent: KeyDown 13 0\nevent: KeyPress 13\nevent: Change\nevent: TeclaEnter\n0\n",
                 0},
        CliRun{{"--events", "type:x", "focus", "type:á"},
                 "error: type: the field does not have the focus\nevent: KeyDown 231 0\nevent: KeyPress 225\n"
                 "event: Change\n",
                 1},
        CliRun{{"Tipo=6", "focus", "type:ação ǆ", "blur", "?Text"}, "AÇÃO Ǆ\n", 0},
        CliRun{{"resize:3000,400", "resize:-1,5"}, "error: resize: Invalid property value\n", 1},
        CliRun{{"Text=a=b", "?Text", "PasswordChar=*", "?PasswordChar"}, "a=b\n*\n", 0},
        CliRun{{"Tipo=9", "focus", "paste: 123 456 789 09 ", "?Text", "blur"}, "123.456.789-09\n", 0},
        CliRun{{"Tipo=10", "focus", "paste:12abc34501de36", "blur", "?Text"},
                 "msgbox: 48 Delvorin: CNPJ Inválido.\n12.ABC.345/01DE-36\n", 0},
        CliRun{{"Tipo=0", "focus", "paste:R$ 1.234,56", "?Text", "key:end", "key:shift+insert", "?Text"},
                 "1234,56\n1234,56123456\n", 0},  // the second comma is refused, as typed
        CliRun{{"--events", "Tipo=3", "focus", "paste:1a", "key:ctrl+v"},
                 "notice: Tipo\nevent: KeyDown 86 2\nevent: KeyPress 49\nevent: Change\nevent: KeyPress 97\n"
                 "event: KeyDown 86 2\nevent: KeyPress 49\nevent: Change\nevent: KeyPress 97\n", 0},
        CliRun{{"paste:1", "key:ctrl+v", "?Text"},
                 "error: paste: the field does not have the focus\nerror: key: the field does not have the focus\n\n", 1}),
    RunName);

const std::vector<std::string> kUnreadableArguments[] = {
    {}, {"--events"}, {"Tipo=1", "foco"}, {"key:f1"}, {"select:1"}, {"select:a,b"}, {"select:-1,2"},
    {"resize:1;2"}, {"?"}, {"=5"}, {"Tipo=1", "--events"},
};

class UnreadableStep : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(UnreadableStep, GivesStatus2WithoutRunningAnything) {
  std::ostringstream out, err;
  EXPECT_EQ(cli::RunSession(GetParam(), out, err), 2);
  EXPECT_TRUE(out.str().empty());
  EXPECT_NE(err.str().find("usage: delvorin"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Usage, UnreadableStep, ::testing::ValuesIn(kUnreadableArguments), ArgumentsRowName);

const std::string kUtf8Texts[] = {"", "abc", "ação", "ǆ€", "\xF0\x9F\x98\x80", std::string("a\0b", 3)};

class Utf8RoundTrip : public ::testing::TestWithParam<std::string> {};

TEST_P(Utf8RoundTrip, GivesTheSameBytes) { EXPECT_EQ(cli::ToUtf8(cli::FromUtf8(GetParam())), GetParam()); }

// The bytes in hexadecimal name the row, since most of them are not letters.
INSTANTIATE_TEST_SUITE_P(Rows, Utf8RoundTrip, ::testing::ValuesIn(kUtf8Texts),
                         [](const ::testing::TestParamInfo<std::string>& i) {
                           std::string hex;
                           for (unsigned char c : i.param) {
                             const char digits[] = "0123456789ABCDEF";
                             hex += digits[c >> 4];
                             hex += digits[c & 15];
                           }
                           return CaseName(i.index, hex);
                         });

TEST(Utf8, FourByteFormIsOneCodePoint) { EXPECT_EQ(cli::FromUtf8("\xF0\x9F\x98\x80"), u"\U0001F600"); }

TEST(Utf8, MalformedBecomesReplacement) {
  EXPECT_EQ(cli::FromUtf8("a\xFF" "b"), u"a\uFFFDb");
  EXPECT_EQ(cli::FromUtf8("\xC3"), u"\uFFFD");
  EXPECT_EQ(cli::FromUtf8("\xE0\x80\x80"), u"\uFFFD") << "overlong";
  EXPECT_EQ(cli::FromUtf8("\xED\xA0\x80"), u"\uFFFD") << "encoded surrogate";
  EXPECT_EQ(cli::ToUtf8(u"x\xD800y"), "x\xEF\xBF\xBDy");
}

}  // namespace
}  // namespace delvorin
