// The batch lines of the maintenance and settings runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "tasks/db_task_lines.h"

using namespace fbwb;

namespace {

const LocalDateTime kStamp{2017, 3, 15, 14, 25, 1};

MaintenanceLineInput input() { return {"G", "K", "D", "SYSDBA", "qwdbadmin", "L", "B", "R", 4}; }

using Lines = std::vector<std::string>;

// Each tool call: output and errors into the log, its exit code after it, on to the label when not 0.
Lines toolLines(const std::string& call, const std::string& step, const std::string& label, bool noInput = false) {
    return {call + R"(   >>  "L" 2>&1)" + (noInput ? " <nul" : ""),
            "echo *** " + step + R"(: kilépési kód %errorlevel%   >>  "L")", "if errorlevel 1 goto " + label,
            "if not errorlevel 0 goto " + label};
}

Lines join(std::initializer_list<Lines> parts) {
    Lines all;
    for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

const Lines kGfixLines = join({
    toolLines(R"(call "G" -USER SYSDBA -PASSWORD qwdbadmin "D" -v -full -i -n)", "Adatbázis-ellenőrzés - gfix -v -full",
              "db4_hiba"),
    toolLines(R"(call "G" -USER SYSDBA -PASSWORD qwdbadmin "D" -sweep)", "Takarítás - gfix -sweep", "db4_hiba"),
    toolLines(R"(call "G" -USER SYSDBA -PASSWORD qwdbadmin "D" -mend)", "Javítás - gfix -mend", "db4_hiba"),
});

const Lines kBackupLines = join({
    {R"(if exist "B.tmp" del "B.tmp")"},
    toolLines(R"(call "K" -v -t -USER SYSDBA -PASSWORD qwdbadmin "D" "B.tmp")", "Biztonsági mentés - gbak", "db4_hiba",
              true),
    {R"(move /y "B.tmp" "B"  >>  "L" 2>&1)",
     R"(if exist "B.tmp" echo *** A mentésfájl átnevezése: sikertelen   >>  "L")", R"(if exist "B.tmp" goto db4_hiba)"},
});

const Lines kRestoreLines = join({
    {R"(if exist "R" del "R")"},
    toolLines(R"(call "K" -c -v -USER SYSDBA -PASSWORD qwdbadmin "B" "R")", "Visszatöltés - gbak -c",
              "db4_visszatoltes_hiba", true),
    {R"(move /y "R" "D"  >>  "L" 2>&1)", R"(if exist "R" goto db4_hasznalatban)"},
});

const Lines kEndWithoutRestore = {
    R"(echo *** Minden lépés sikeres.   >>  "L")",
    "goto db4_vege",
    ":db4_hiba",
    R"(echo *** A karbantartás megszakadt, a további lépések elmaradtak.   >>  "L")",
    ":db4_vege",
};

Lines endWithRestore(const Lines& beforeSuccess) {
    return join(
        {beforeSuccess,
         {R"(echo *** Minden lépés sikeres.   >>  "L")", "goto db4_vege", ":db4_visszatoltes_hiba",
          R"(if exist "R" del "R")", ":db4_hiba",
          R"(echo *** A karbantartás megszakadt, a további lépések elmaradtak.   >>  "L")", "goto db4_vege",
          ":db4_hasznalatban",
          R"(echo *** Az adatbázis használatban van, nem cserélhető le. A visszatöltött példány megmaradt: "R"   >>  "L")",
          ":db4_vege"}});
}

}  // namespace

// The batch of one database: each step checked by cmd itself; nothing replaces the database or
// the previous backup unless the step before succeeded; the backup goes only after all of it.
TEST(MaintenanceLines, EachStepsLinesAndWhereAFailureLeads) {
    struct Case {
        MaintenanceSteps steps;
        Lines expected;
    };
    const Case cases[] = {
        {{true, false, false, false}, join({kGfixLines, kEndWithoutRestore})},
        {{false, true, false, false}, join({kBackupLines, kEndWithoutRestore})},
        {{false, true, true, false}, endWithRestore(join({kBackupLines, kRestoreLines}))},
        {{false, true, true, true}, endWithRestore(join({kBackupLines, kRestoreLines, {R"(del "B")"}}))},
        {{true, true, true, true}, endWithRestore(join({kGfixLines, kBackupLines, kRestoreLines, {R"(del "B")"}}))},
        {{false, false, false, false}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.steps.maintain << c.steps.backup << c.steps.restore
                                        << c.steps.deleteBackup);
        EXPECT_EQ(maintenanceLines(c.steps, input()), c.expected);
    }
}

TEST(MaintenanceLines, NoLogFileMeansNoRedirection) {
    MaintenanceLineInput plain = input();
    plain.logFile.clear();
    const Lines lines = maintenanceLines({false, true, false, false}, plain);
    EXPECT_EQ(lines[1], R"(call "K" -v -t -USER SYSDBA -PASSWORD qwdbadmin "D" "B.tmp"  <nul)");
    EXPECT_EQ(lines[2], "echo *** Biztonsági mentés - gbak: kilépési kód %errorlevel%");
}

TEST(MaintenanceLines, CredentialsWithOperatorsAreQuoted) {
    MaintenanceLineInput odd = input();
    odd.userName = "a&b";
    odd.password = "p w";
    EXPECT_EQ(maintenanceLines({true, false, false, false}, odd)[4],
              R"(call "G" -USER "a&b" -PASSWORD "p w" "D" -sweep   >>  "L" 2>&1)");
}

// Every value the lines are made of is checked, the folders too, each under its own field's name.
TEST(MaintenanceLines, EveryValueOfTheLinesIsChecked) {
    const HoldsCharacter latin2 = [](char32_t c) { return c == U'ő' || c == U'á'; };
    const DatabaseTaskValues ordinary{"C:\\Firebird\\Firebird_3_0", "C:\\KELMORA.WIN\\", "c:\\adat\\á.fdb", "SYSDBA",
                                      "qwdbadmin"};
    EXPECT_FALSE(refuseDatabaseTaskValues(ordinary, latin2));
    struct Case {
        DatabaseTaskValues values;
        const char* startOfRefusal;
    } cases[] = {
        {{"C:\\50%off", "C:\\t", "c:\\a.fdb", "SYSDBA", "x"}, "A(z) kiszolgáló mappája nem írható"},
        {{"C:\\fb", " C:\\50%off\\ ", "c:\\a.fdb", "SYSDBA", "x"}, "A(z) ideiglenes fájlok mappája nem írható"},
        {{"C:\\fb", "C:\\t\"x", "c:\\a.fdb", "SYSDBA", "x"}, "A(z) ideiglenes fájlok mappája nem írható"},
        {{"C:\\Ø", "C:\\t", "c:\\a.fdb", "SYSDBA", "x"}, "A(z) kiszolgáló mappája nem írható"},
        {{"C:\\fb", "C:\\t", "c:\\100%\\a.fdb", "SYSDBA", "x"}, "A(z) adatbázis-fájl nem írható"},
        {{"C:\\fb", "C:\\t", "c:\\à.fdb", "SYSDBA", "x"}, "A(z) adatbázis-fájl nem írható"},
        {{"C:\\fb", "C:\\t", "c:\\a.fdb", "SYS\"DBA", "x"}, "A(z) felhasználónév nem írható"},
        {{"C:\\fb", "C:\\t", "c:\\a.fdb", "SYSDBA", "titok%1"}, "A(z) jelszó nem írható"},
        {{"C:\\fb", "C:\\t", "c:\\a.fdb", "SYSDBA", "titok€"}, "A(z) jelszó nem írható"},
    };
    for (const Case& c : cases) {
        const auto refused = refuseDatabaseTaskValues(c.values, latin2);
        ASSERT_TRUE(refused) << c.startOfRefusal;
        EXPECT_EQ(refused->rfind(c.startOfRefusal, 0), 0u) << *refused;
        EXPECT_EQ(refused->find("titok"), std::string::npos) << "the password is not repeated in the log";
    }
}

// A path that ends in backslashes keeps its closing quote: the backslashes are doubled wherever a
// tool reads the path as an argument, and left alone where cmd reads it (move, del, redirection).
TEST(MaintenanceLines, TrailingBackslashesKeepTheQuoteAQuote) {
    MaintenanceLineInput odd = input();
    odd.database = "D\\";
    odd.backupFile = "B\\";
    odd.restoredFile = "R\\";
    odd.password = "b (\\";
    const Lines lines = maintenanceLines({true, true, true, false}, odd);
    EXPECT_EQ(lines[0], R"(call "G" -USER SYSDBA -PASSWORD "b (\\" "D\\" -v -full -i -n   >>  "L" 2>&1)");
    for (const std::string line : {
             R"(call "K" -v -t -USER SYSDBA -PASSWORD "b (\\" "D\\" "B\.tmp"   >>  "L" 2>&1 <nul)",
             R"(call "K" -c -v -USER SYSDBA -PASSWORD "b (\\" "B\\" "R\\"   >>  "L" 2>&1 <nul)",
             R"(move /y "R\" "D\"  >>  "L" 2>&1)",
         })
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
    EXPECT_EQ(gfixBuffersLine("G", 50, "D\\", "SYSDBA", "p"), R"(call "G" -BUFFERS 50 "D\\" -USER SYSDBA -PASSWORD p)");
    EXPECT_EQ(gfixWriteAsyncLine("G", "D\\", "SYSDBA", "p"), R"(call "G" -WRITE ASYNC "D\\" -USER SYSDBA -PASSWORD p)");
    EXPECT_EQ(gstatHeaderToFileLine("T", "D\\", "O\\"), R"(call "T"  -h "D\\" > "O\")");
}

// The log's markers, as cmd wrote them (trailing blanks, tool output between), give the outcome.
TEST(MaintenanceOutcome, ReadFromTheLogsMarkers) {
    struct Case {
        Lines log;
        MaintenanceOutcome::Kind kind;
        std::string detail;
        std::string text;
    };
    const std::string validated = "*** Adatbázis-ellenőrzés - gfix -v -full: kilépési kód 0 ";
    const Case cases[] = {
        {{validated, "gbak: done", "*** Biztonsági mentés - gbak: kilépési kód 0 ", "*** Minden lépés sikeres. "},
         MaintenanceOutcome::Succeeded,
         "",
         "OK. Minden lépés sikeresen lefutott."},
        {{validated, "*** Biztonsági mentés - gbak: kilépési kód 1 ", "gbak: ERROR: unavailable database",
          "*** A karbantartás megszakadt, a további lépések elmaradtak. "},
         MaintenanceOutcome::StepFailed,
         "Biztonsági mentés - gbak: kilépési kód 1",
         "Biztonsági mentés - gbak: kilépési kód 1. A további lépések elmaradtak, az eredeti adatbázis "
         "megmaradt."},
        // gbak's last message without its line end: the marker follows it on the same line.
        {{validated, "ERROR: Backup incomplete*** Biztonsági mentés - gbak: kilépési kód 1   ",
          "*** A karbantartás megszakadt, a további lépések elmaradtak. "},
         MaintenanceOutcome::StepFailed,
         "Biztonsági mentés - gbak: kilépési kód 1",
         "Biztonsági mentés - gbak: kilépési kód 1. A további lépések elmaradtak, az eredeti adatbázis "
         "megmaradt."},
        {{"*** Visszatöltés - gbak -c: kilépési kód 0 ",
          "*** Az adatbázis használatban van, nem cserélhető le. A visszatöltött példány megmaradt: "
          "\"c:\\a\\kelmora_20170315_142501.visszatoltott\" "},
         MaintenanceOutcome::InUse,
         "c:\\a\\kelmora_20170315_142501.visszatoltott",
         "Az adatbázis használatban van, ezért nem cserélhető le a visszatöltött példányra. Az eredeti "
         "adatbázis és a mentés megmaradt, a visszatöltött példány: c:\\a\\kelmora_20170315_142501.visszatoltott"},
        // A batch that ended before its closing marker (its window closed), or left no log.
        {{validated, "*** Biztonsági mentés - gbak: kilépési kód 0 "},
         MaintenanceOutcome::Incomplete,
         "",
         "A karbantartás nem futott végig, a napló nem mondja meg, melyik lépés maradt el."},
        {{}, MaintenanceOutcome::Incomplete, "", ""},
        {{"*** A karbantartás megszakadt, a további lépések elmaradtak."}, MaintenanceOutcome::Incomplete, "", ""},
    };
    for (const Case& c : cases) {
        const MaintenanceOutcome outcome = readMaintenanceOutcome(c.log);
        EXPECT_EQ(outcome.kind, c.kind) << testing::PrintToString(c.log);
        EXPECT_EQ(outcome.detail, c.detail);
        if (!c.text.empty()) {
            EXPECT_EQ(maintenanceOutcomeText(outcome), c.text);
        }
    }
}

TEST(MaintenanceNames, LogAndBackupFiles) {
    EXPECT_EQ(maintenanceLogFileName(" c:\\KELMORA.WIN ", 0), "c:\\KELMORA.WIN\\fdbMaintain_0.txt");
    EXPECT_EQ(maintenanceLogFileName("c:\\KELMORA.WIN\\", 12), "c:\\KELMORA.WIN\\fdbMaintain_12.txt");
    EXPECT_EQ(maintenanceBackupFileName("c:\\KELMORA.WIN\\2017\\adat\\12345678.000\\kelmora.fdb", kStamp),
              "c:\\KELMORA.WIN\\2017\\adat\\12345678.000\\kelmora_20170315_142501.fbk");
    EXPECT_EQ(maintenanceBackupFileName("c:\\data\\db", kStamp), "c:\\data\\db_20170315_142501.fbk");
    EXPECT_EQ(maintenanceBackupFileName("c:\\a.b\\db", kStamp), "c:\\a.b\\db_20170315_142501.fbk");
    EXPECT_EQ(maintenanceBackupTempFileName("c:\\a\\db_20170315_142501.fbk"), "c:\\a\\db_20170315_142501.fbk.tmp");
    EXPECT_EQ(maintenanceRestoredFileName("c:\\a.b\\kelmora.fdb", kStamp),
              "c:\\a.b\\kelmora_20170315_142501.visszatoltott");
    EXPECT_EQ(maintenanceRestoredFileName("c:\\data\\db", kStamp), "c:\\data\\db_20170315_142501.visszatoltott");
}

TEST(SettingsLines, TheThreeLinesByteForByte) {
    EXPECT_EQ(gfixWriteAsyncLine("G", "D", "SYSDBA", "qwdbadmin"),
              R"(call "G" -WRITE ASYNC "D" -USER SYSDBA -PASSWORD qwdbadmin)");
    EXPECT_EQ(gfixBuffersLine("G", 38400, "D", "SYSDBA", "qwdbadmin"),
              R"(call "G" -BUFFERS 38400 "D" -USER SYSDBA -PASSWORD qwdbadmin)");
    EXPECT_EQ(gstatHeaderToFileLine("T", "D", "c:\\K\\temp_0.txt"), R"(call "T"  -h "D" > "c:\K\temp_0.txt")");
}
