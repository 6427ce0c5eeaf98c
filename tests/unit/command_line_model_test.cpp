// The fuzz targets' model of cmd and of the C runtime's argument split, against the runtime's
// documented examples and the line shapes the batch files use.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fuzz/command_line_model.h"

using namespace fbwb::model;
using Args = std::vector<std::string>;

TEST(CommandLineModel, RuntimeArgvFollowsTheDocumentedExamples) {
    struct Case {
        const char* line;
        Args argv;
    } cases[] = {
        {R"(p "a b c" d e)", {"p", "a b c", "d", "e"}},
        {R"(p "ab\"c" "\\" d)", {"p", R"(ab"c)", R"(\)", "d"}},
        {R"(p a\\\b d"e f"g h)", {"p", R"(a\\\b)", "de fg", "h"}},
        {R"(p a\\\"b c d)", {"p", R"(a\"b)", "c", "d"}},
        {R"(p a\\\\"b c" d e)", {"p", R"(a\\b c)", "d", "e"}},
        // Since 2008: "" inside quotes is a quote, and the quoting goes on.
        {R"(p a"b"" c d)", {"p", R"(ab" c d)"}},
        {R"(p "" x)", {"p", "", "x"}},
        {"p \t a\t", {"p", "a"}},
        // The program name: quotes toggle, backslashes stay.
        {R"("C:\a b\x.exe" y)", {R"(C:\a b\x.exe)", "y"}},
        {R"("C:\a\" y)", {R"(C:\a\)", "y"}},
        // The fault of a quoted value that ends in a backslash.
        {R"(p "b (\" -x)", {"p", R"(b (" -x)"}},
        {R"(p "b (\\" -x)", {"p", R"(b (\)", "-x"}},
    };
    for (const Case& c : cases) EXPECT_EQ(runtimeArgv(c.line), c.argv) << c.line;
}

TEST(CommandLineModel, CmdSplitsOffRedirectionsAndRefusesWhatWouldBreakTheLine) {
    const CmdLine call = readCmdLine(R"(call "C:\a&b (x)\gbak.exe" -c  >>  "C:\t\log 1.txt" 2>&1 <nul)");
    EXPECT_EQ(call.fault, "");
    EXPECT_EQ(call.command, R"(call "C:\a&b (x)\gbak.exe" -c    )");
    EXPECT_EQ(call.redirections,
              (std::vector<Redirection>{{1, ">>", R"(C:\t\log 1.txt)"}, {2, ">", "&1"}, {0, "<", "nul"}}));
    EXPECT_EQ(callCommandLine(call.command), std::string(R"("C:\a&b (x)\gbak.exe" -c    )"));

    const CmdLine echo = readCmdLine(R"(echo *** lépés: kilépési kód %errorlevel%  >>  "l")");
    EXPECT_EQ(echo.fault, "");
    EXPECT_EQ(echo.redirections, (std::vector<Redirection>{{1, ">>", "l"}}));

    for (const char* broken : {"call \"x\" a&b", "call \"x\" a|b", "call \"x\" (a)", "call \"x\" %path%",
                               "call \"x\" a^b", "call \"x\" \"a", "call \"x\" a\rb", "call \"x\" >"}) {
        EXPECT_NE(readCmdLine(broken).fault, "") << broken;
    }
}

TEST(CommandLineModel, CmdWordsAndCallLines) {
    EXPECT_EQ(cmdWords(R"(if exist "C:\a b;c.fdb" del "C:\a b;c.fdb")"),
              (Args{"if", "exist", R"(C:\a b;c.fdb)", "del", R"(C:\a b;c.fdb)"}));
    EXPECT_EQ(cmdWords(R"(move /y "a" "")"), (Args{"move", "/y", "a", ""}));
    EXPECT_EQ(callCommandLine("CALL  \"x\" y"), std::string("\"x\" y"));
    EXPECT_EQ(callCommandLine("echo x"), std::nullopt);
    EXPECT_EQ(callCommandLine("calls x"), std::nullopt);
}
