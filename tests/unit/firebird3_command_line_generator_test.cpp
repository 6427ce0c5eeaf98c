#include <gtest/gtest.h>

#include "script/firebird3_command_line_generator.h"

using namespace fbwb;

using Lines = std::vector<std::string>;

namespace {

const LocalDateTime kMarch15{2017, 3, 15, 14, 25, 1};

// Stands for the batch file's code page: the Hungarian letters besides ASCII.
const HoldsCharacter kHungarian = [](char32_t c) {
    return std::u32string_view(U"áéíóöőúüűÁÉÍÓÖŐÚÜŰ").find(c) != std::u32string_view::npos;
};

TFirebird3CommandLineGenerator generatorFor(const char* binFolder, const char* fragment) {
    TFirebird3CommandLineGenerator generator;
    generator.setFirebirdBinFolder(binFolder);
    generator.setServiceNameFragment(fragment);
    return generator;
}

}  // namespace

TEST(Firebird3CommandLineGenerator, StartsEmpty) {
    const TFirebird3CommandLineGenerator generator;
    EXPECT_TRUE(generator.cmdLines().empty());
    EXPECT_EQ(generator.FirebirdBinFolder(), "");
    EXPECT_EQ(generator.ServiceNameFragment(), "");
}

TEST(Firebird3CommandLineGenerator, NamesAndInstSvcPath) {
    struct Case {
        const char *binFolder, *fragment, *guardian, *server, *instSvc;
    } cases[] = {
        {"D:\\FB3", "Kelmora3", "FirebirdGuardianKelmora3", "FirebirdServerKelmora3", "D:\\FB3\\instsvc.exe"},
        {" D:\\FB3\\ ", " Kelmora3 ", "FirebirdGuardianKelmora3", "FirebirdServerKelmora3", "D:\\FB3\\instsvc.exe"},
        {"", "", "FirebirdGuardian", "FirebirdServer", "instsvc.exe"},
        {"C:\\Program Files\\Firebird\\bin\\", "Kelmora2", "FirebirdGuardianKelmora2", "FirebirdServerKelmora2",
         "C:\\Program Files\\Firebird\\bin\\instsvc.exe"},
    };
    for (const auto& c : cases) {
        auto generator = generatorFor(c.binFolder, c.fragment);
        EXPECT_EQ(generator.getGuardianServiceFullName(), c.guardian) << c.fragment;
        EXPECT_EQ(generator.getServerServiceFullName(), c.server) << c.fragment;
        EXPECT_EQ(generator.getInstSvcFn(), c.instSvc) << c.binFolder;
    }
}

TEST(Firebird3CommandLineGenerator, CompleteReinstallBatch) {
    auto generator = generatorFor("D:\\FB3", " Kelmora3 ");
    generator.addUninstallGuardianCmdLines();
    generator.addUninstallServerCmdLines();
    generator.addInstallServerCmdLines(true, true);
    EXPECT_EQ(generator.cmdLines(), (Lines{
                                        "net stop \"FirebirdGuardianKelmora3\"",
                                        "sc delete \"FirebirdGuardianKelmora3\"",
                                        "net stop \"FirebirdServerKelmora3\"",
                                        "\"D:\\FB3\\instsvc.exe\" remove -name \"Kelmora3\" ",
                                        "sc delete \"FirebirdServerKelmora3\"",
                                        "\"D:\\FB3\\instsvc.exe\"  install -auto -name \"Kelmora3\"  -guardian ",
                                        "net start \"FirebirdServerKelmora3\"",
                                        "sc config \"FirebirdGuardianKelmora3\"  start= auto",
                                        "net start \"FirebirdGuardianKelmora3\"",
                                    }));
}

TEST(Firebird3CommandLineGenerator, InstallOptions) {
    struct Case {
        bool useGuardian, autoStart;
        Lines lines;
    } cases[] = {
        {true, false, {"\"instsvc.exe\"  install -auto -name \"\"  -guardian "}},
        {false, true, {"\"instsvc.exe\"  install -auto -name \"\" ", "net start \"FirebirdServer\""}},
        {false, false, {"\"instsvc.exe\"  install -auto -name \"\" "}},
        {true, true,
         {"\"instsvc.exe\"  install -auto -name \"\"  -guardian ", "net start \"FirebirdServer\"",
          "sc config \"FirebirdGuardian\"  start= auto", "net start \"FirebirdGuardian\""}},
    };
    for (const auto& c : cases) {
        TFirebird3CommandLineGenerator generator;
        generator.addInstallServerCmdLines(c.useGuardian, c.autoStart);
        EXPECT_EQ(generator.cmdLines(), c.lines) << c.useGuardian << c.autoStart;
    }
}

TEST(Firebird3CommandLineGenerator, UninstallDialogBatchKeepsCallerLines) {
    auto generator = generatorFor("C:\\Firebird_2_5\\bin", "");
    generator.addUninstallGuardianCmdLines();
    generator.addUninstallServerCmdLines();
    generator.cmdLines().push_back("pause");
    EXPECT_EQ(generator.cmdLines(), (Lines{
                                        "net stop \"FirebirdGuardian\"",
                                        "sc delete \"FirebirdGuardian\"",
                                        "net stop \"FirebirdServer\"",
                                        "\"C:\\Firebird_2_5\\bin\\instsvc.exe\" remove -name \"\" ",
                                        "sc delete \"FirebirdServer\"",
                                        "pause",
                                    }));
}

TEST(Firebird3CommandLineGenerator, SettingsChangedBetweenCallsApplyFromThen) {
    auto generator = generatorFor("", "Kelmora2");
    generator.addStartInstalledServerCmdLines();
    generator.setServiceNameFragment("Kelmora3");
    generator.addStartInstalledGuardianCmdLines();
    EXPECT_EQ(generator.cmdLines(), (Lines{"net start \"FirebirdServerKelmora2\"",
                                           "sc config \"FirebirdGuardianKelmora3\"  start= auto",
                                           "net start \"FirebirdGuardianKelmora3\""}));
}

TEST(Firebird3CommandLineGenerator, ConversionLinesOfOneDatabase) {
    TFirebird3CommandLineGenerator generator;
    const auto error = generator.addConvertFdbCmdLinesFor(
        "C:\\Program Files\\Firebird\\Firebird_2_5\\bin\\gbak.exe", "c:\\KELMORA.WIN\\Firebird\\Kelmora3\\gbak.exe",
        "D:\\Data\\2017\\conf.fdb", "SYSDBA", "qwdbadmin", "SYSDBA", "masterkey", kMarch15, kHungarian);
    EXPECT_FALSE(error);
    EXPECT_EQ(generator.cmdLines(),
              (Lines{
                  "call \"C:\\Program Files\\Firebird\\Firebird_2_5\\bin\\gbak.exe\" -v -t -USER SYSDBA -PASSWORD "
                  "qwdbadmin \"D:\\Data\\2017\\conf.fdb\" \"D:\\Data\\2017\\conf_20170315_142501.fbk\" ",
                  "",
                  "call \"c:\\KELMORA.WIN\\Firebird\\Kelmora3\\gbak.exe\" -c -v -USER SYSDBA -PASSWORD masterkey "
                  "\"D:\\Data\\2017\\conf_20170315_142501.fbk\" \"D:\\Data\\2017\\conf_FB3.fdb\"",
                  "del \"D:\\Data\\2017\\conf_20170315_142501.fbk\"",
                  "",
                  "",
                  "",
              }));
}

TEST(Firebird3CommandLineGenerator, ConversionOfANameWithoutExtensionAppends) {
    TFirebird3CommandLineGenerator generator;
    generator.addConvertFdbCmdLinesFor("o\\gbak.exe", "n\\gbak.exe", "D:\\x.y\\conf", "u", "p", "u", "p", kMarch15,
                                       kHungarian);
    ASSERT_EQ(generator.cmdLines().size(), 7u);
    EXPECT_EQ(generator.cmdLines()[2],
              "call \"n\\gbak.exe\" -c -v -USER u -PASSWORD p \"D:\\x.y\\conf_20170315_142501.fbk\" "
              "\"D:\\x.y\\conf_FB3.fdb\"");
}

TEST(Firebird3CommandLineGenerator, ConversionQuotesUnusualCredentials) {
    TFirebird3CommandLineGenerator generator;
    generator.addConvertFdbCmdLinesFor("o\\gbak.exe", "n\\gbak.exe", "D:\\a.fdb", "Kovács Béla", "p&q", "", "(x)",
                                       kMarch15, kHungarian);
    ASSERT_EQ(generator.cmdLines().size(), 7u);
    EXPECT_EQ(generator.cmdLines()[0], "call \"o\\gbak.exe\" -v -t -USER \"Kovács Béla\" -PASSWORD \"p&q\" "
                                       "\"D:\\a.fdb\" \"D:\\a_20170315_142501.fbk\" ");
    EXPECT_EQ(generator.cmdLines()[2], "call \"n\\gbak.exe\" -c -v -USER \"\" -PASSWORD \"(x)\" "
                                       "\"D:\\a_20170315_142501.fbk\" \"D:\\a_FB3.fdb\"");
}

// The database path and the password end in a backslash: each keeps its closing quote a quote for gbak.
TEST(Firebird3CommandLineGenerator, ConversionDoublesTrailingBackslashesInGbakArguments) {
    TFirebird3CommandLineGenerator generator;
    generator.addConvertFdbCmdLinesFor("o\\gbak.exe", "n\\gbak.exe", "D:\\a.b\\", "u", "b (\\", "u", "p", kMarch15,
                                       kHungarian);
    ASSERT_EQ(generator.cmdLines().size(), 7u);
    EXPECT_EQ(generator.cmdLines()[0], R"(call "o\gbak.exe" -v -t -USER u -PASSWORD "b (\\" "D:\a.b\\" )"
                                       R"("D:\a.b\_20170315_142501.fbk" )");
    EXPECT_EQ(generator.cmdLines()[2],
              R"(call "n\gbak.exe" -c -v -USER u -PASSWORD p "D:\a.b\_20170315_142501.fbk" "D:\a.b\_FB3.fdb")");
    EXPECT_EQ(generator.cmdLines()[3], R"(del "D:\a.b\_20170315_142501.fbk")");
}

// instsvc reads its arguments by the same rule as gbak.
TEST(Firebird3CommandLineGenerator, InstanceNameEndingInABackslashStaysInItsQuotes) {
    auto generator = generatorFor("D:\\FB3", "Kelmora3\\");
    generator.addInstallServerCmdLines(false, false);
    generator.addUninstallServerCmdLines();
    EXPECT_EQ(generator.cmdLines()[0], R"("D:\FB3\instsvc.exe"  install -auto -name "Kelmora3\\" )");
    EXPECT_EQ(generator.cmdLines()[2], R"("D:\FB3\instsvc.exe" remove -name "Kelmora3\\" )");
}

TEST(Firebird3CommandLineGenerator, ConversionWithoutBothToolsAddsNothing) {
    TFirebird3CommandLineGenerator generator;
    EXPECT_FALSE(
        generator.addConvertFdbCmdLinesFor("", "n\\gbak.exe", "D:\\a.fdb", "u", "p", "u", "p", kMarch15, kHungarian));
    EXPECT_FALSE(
        generator.addConvertFdbCmdLinesFor("o\\gbak.exe", "  ", "D:\\a.fdb", "u", "p", "u", "p", kMarch15, kHungarian));
    EXPECT_TRUE(generator.cmdLines().empty());
}

TEST(Firebird3CommandLineGenerator, RefusedValueLeavesTheDatabaseOut) {
    struct Case {
        const char *oldGbak, *fdb, *oldUser, *oldPassword, *newPassword, *error;
    } cases[] = {
        {"C:\\FB^25\\gbak.exe", "D:\\a.fdb", "u", "p", "p",
         "A(z) régi kiszolgáló mappája nem írható parancsfájlba, mert a következő karakterek egyikét tartalmazza: "
         "% ^ \" (érték: C:\\FB^25\\gbak.exe)"},
        {"o\\gbak.exe", "D:\\100%\\a.fdb", "u", "p", "p",
         "A(z) adatbázis-fájl nem írható parancsfájlba, mert a következő karakterek egyikét tartalmazza: "
         "% ^ \" (érték: D:\\100%\\a.fdb)"},
        {"o\\gbak.exe", "D:\\a.fdb", "u\"v", "p", "p",
         "A(z) felhasználónév nem írható parancsfájlba, mert a következő karakterek egyikét tartalmazza: "
         "% ^ \" (érték: u\"v)"},
        {"o\\gbak.exe", "D:\\a.fdb", "u", "p", "p%x%",
         "A(z) jelszó nem írható parancsfájlba, mert a következő karakterek egyikét tartalmazza: % ^ \""},
        // Letters the batch's code page lacks would reach gbak as look-alikes: another database, another password.
        {"o\\gbak.exe", "D:\\à.fdb", "u", "p", "p",
         "A(z) adatbázis-fájl nem írható parancsfájlba, mert a parancsfájl kódlapjában nem szereplő karaktert "
         "tartalmaz: à (érték: D:\\à.fdb)"},
        {"C:\\Ø\\gbak.exe", "D:\\a.fdb", "u", "p", "p",
         "A(z) régi kiszolgáló mappája nem írható parancsfájlba, mert a parancsfájl kódlapjában nem szereplő "
         "karaktert tartalmaz: Ø (érték: C:\\Ø\\gbak.exe)"},
        {"o\\gbak.exe", "D:\\a.fdb", "u", "pàss", "p",
         "A(z) jelszó nem írható parancsfájlba, mert a parancsfájl kódlapjában nem szereplő karaktert tartalmaz."},
        {"o\\gbak.exe", "D:\\a.fdb", "u", "p", "€uro",
         "A(z) jelszó nem írható parancsfájlba, mert a parancsfájl kódlapjában nem szereplő karaktert tartalmaz."},
    };
    for (const auto& c : cases) {
        TFirebird3CommandLineGenerator generator;
        generator.addConvertFdbCmdLinesFor("o\\gbak.exe", "n\\gbak.exe", "D:\\ok.fdb", "u", "p", "u", "p", kMarch15,
                                           kHungarian);
        const auto error = generator.addConvertFdbCmdLinesFor(c.oldGbak, "n\\gbak.exe", c.fdb, c.oldUser, c.oldPassword,
                                                              "u", c.newPassword, kMarch15, kHungarian);
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(generator.cmdLines().size(), 7u) << "only the first database's lines: " << c.fdb;
    }
}
