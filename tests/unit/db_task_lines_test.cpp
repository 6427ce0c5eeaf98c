// The batch lines of the maintenance and settings runs, and the page-buffer arithmetic.
#include <gtest/gtest.h>

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

// Every value the lines are made of is checked: the tool paths come from the server folder and the
// log and output files from the temp folder, so a % or ^ there would break the lines as well.
TEST(MaintenanceLines, RefusesEveryValueTheLinesHold) {
    const DatabaseTaskValues ok{"c:\\adat\\a.fdb", "SYSDBA", "qwdbadmin", "c:\\Firebird_3_0", "c:\\temp\\"};
    EXPECT_FALSE(refuseDatabaseTaskValues(ok));
    struct Case {
        DatabaseTaskValues values;
        const char* message;
    } cases[] = {
        {{"c:\\100%\\a.fdb", "SYSDBA", "x", ok.serverFolder, ok.tempFolder},
         "A(z) adatbázis-fájl nem írható parancsfájlba, mert a következő karakterek egyikét tartalmazza: % ^ \" "
         "(érték: c:\\100%\\a.fdb)"},
        {{ok.database, "SYS\"DBA", "x", ok.serverFolder, ok.tempFolder},
         "A(z) felhasználónév nem írható parancsfájlba, mert a következő karakterek egyikét tartalmazza: % ^ \" "
         "(érték: SYS\"DBA)"},
        // The password is not repeated in the log.
        {{ok.database, "SYSDBA", "titok%1", ok.serverFolder, ok.tempFolder},
         "A(z) jelszó nem írható parancsfájlba, mert a következő karakterek egyikét tartalmazza: % ^ \""},
        {{ok.database, "SYSDBA", "x", "c:\\100%\\Firebird_3_0", ok.tempFolder},
         "A(z) kiszolgáló mappája nem írható parancsfájlba, mert a következő karakterek egyikét tartalmazza: % ^ \" "
         "(érték: c:\\100%\\Firebird_3_0)"},
        {{ok.database, "SYSDBA", "x", ok.serverFolder, "c:\\a^b\\"},
         "A(z) ideiglenes mappa nem írható parancsfájlba, mert a következő karakterek egyikét tartalmazza: % ^ \" "
         "(érték: c:\\a^b\\)"},
    };
    for (const Case& c : cases) EXPECT_EQ(refuseDatabaseTaskValues(c.values), std::optional<std::string>(c.message));
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

TEST(PageBuffers, FourKilobytePagesOfThePercentageTiesToEven) {
    struct Case {
        std::int64_t size;
        int percent;
        std::int64_t buffers;
    };
    for (const Case& c : {Case{104857600, 150, 38400}, Case{2048, 100, 0}, Case{6144, 100, 2}, Case{10240, 100, 2},
                          Case{14336, 100, 4}, Case{4095, 1000, 8}, Case{-1, 150, 0}, Case{0, 1000, 0},
                          Case{1023, 1000, 0}, Case{8192, 1, 0}, Case{409600, 1, 1}, Case{1228800, 1, 3},
                          Case{std::int64_t{200} << 30, 1000, 524288000}}) {
        EXPECT_EQ(pageBuffersFor(c.size, c.percent), c.buffers) << c.size << " bytes at " << c.percent << " %";
    }
}

TEST(SettingsLines, TheThreeLinesByteForByte) {
    EXPECT_EQ(gfixWriteAsyncLine("G", "D", "SYSDBA", "qwdbadmin"),
              R"(call "G" -WRITE ASYNC "D" -USER SYSDBA -PASSWORD qwdbadmin)");
    EXPECT_EQ(gfixBuffersLine("G", 38400, "D", "SYSDBA", "qwdbadmin"),
              R"(call "G" -BUFFERS 38400 "D" -USER SYSDBA -PASSWORD qwdbadmin)");
    EXPECT_EQ(gstatHeaderToFileLine("T", "D", "c:\\K\\temp_0.txt"), R"(call "T"  -h "D" > "c:\K\temp_0.txt")");
}
