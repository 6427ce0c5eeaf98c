// The maintenance and settings runs end to end: the batch files the program writes, started by
// the shell and run by Wine's cmd against Debian's Firebird tools, on scratch copies of a real
// database; reports are recorded, not opened.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <regex>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/file_helpers_win.h"
#include "core/helpers.h"
#include "core/text.h"
#include "e2e/machine.h"
#include "platform/encoding.h"
#include "platform/fs.h"
#include "platform/process.h"
#include "platform/prompter.h"
#include "platform/scripted_prompter.h"
#include "script/batch_files_win.h"
#include "tasks/db_settings_run_win.h"
#include "tasks/db_task_lines.h"
#include "tasks/fdb_header_win.h"
#include "tasks/maintenance_run_win.h"
#include "win/temp_folder.h"

using namespace fbwb;
using test::copyFile;
using test::environment;

namespace {

constexpr auto kBatchLimit = std::chrono::minutes(3);
constexpr const char* kTemplate = "C:\\fbwb-fixture\\template.fdb";
constexpr const char* kStandIn = "C:\\fbwb-fixture\\tool_standin.exe";
constexpr const char* kFinished = "A m\xC5\xB1velet sikeresen befejez\xC5\x91" "d\xC3\xB6tt.";
// After a run in which something failed, success is not claimed.
constexpr const char* kFinishedWithErrors = "A m\xC5\xB1velet befejez\xC5\x91" "d\xC3\xB6tt, de nem minden siker\xC3\xBClt: "
                                            "a r\xC3\xA9szleteket a m\xC5\xB1veleti napl\xC3\xB3 mutatja.";

std::string fileText(const std::string& path, unsigned codePage) {
    const auto bytes = platform::readFileBytes(path);
    return bytes ? platform::fromCodePage(*bytes, codePage) : std::string("<missing>");
}

bool contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The names of the files in a folder that match the mask.
std::vector<std::string> fileNames(const std::string& folder, const std::string& mask) {
    std::vector<std::string> names;
    platform::enumerateEntries(folderPrefix(folder) + mask, [&](const platform::DirEntry& entry) {
        if (entry.name != "." && entry.name != "..") names.push_back(entry.name);
    });
    return names;
}

// Runs a batch file as the program does (shell, shown window) and waits for its end.
void runShown(const std::string& batch) {
    const platform::ShellStart start = platform::shellOpen(batch, "Open", "", platform::ShowMode::Normal, true, true);
    ASSERT_TRUE(start.started) << batch;
    ASSERT_EQ(platform::waitProcessingEvents(start.process, kBatchLimit), platform::WaitResult::Ended) << batch;
}

// Which file the path names: a database put in its place by a move is another file.
std::string fileIdentity(const std::string& path) {
    HANDLE file =
        CreateFileW(platform::widen(path).c_str(), FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    BY_HANDLE_FILE_INFORMATION info{};
    GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    return std::to_string(info.nFileIndexHigh) + ":" + std::to_string(info.nFileIndexLow);
}

bool isBatch(const platform::ShellRequest& request) { return endsWith(upperAscii(request.file), ".BAT"); }

class DatabaseRuns : public testing::Test {
protected:
    void SetUp() override {
        const std::string machineRoot = environment("FBWB_MACHINE_ROOT");
        ASSERT_FALSE(machineRoot.empty()) << "FBWB_MACHINE_ROOT is not set (tests/harness/wine-run.sh sets it)";
        settings.serverFolder = folderPrefix(machineRoot) + "Firebird\\Firebird_3_0";
        settings.tempFolder = scratch.folder("temp");
        settings.dataFolder = scratch.folder("adat");
        gfix = settings.serverFolder + "\\gfix.exe";
        gbak = settings.serverFolder + "\\gbak.exe";
        gstat = settings.serverFolder + "\\gstat.exe";
    }

    // A fresh copy of the pristine database under the data folder.
    std::string database(const std::string& relative) {
        const std::string path = scratch / ("adat\\" + relative);
        platform::createFolders(path.substr(0, path.find_last_of('\\')));
        copyFile(kTemplate, path);
        return path;
    }

    std::string temp(const std::string& name) const { return scratch / ("temp\\" + name); }

    test::TempFolder scratch;
    CommonSettings settings;
    std::string gfix, gbak, gstat;
    WorkingFields fields;
    platform::ScriptedPrompter prompter;
    platform::PrompterOverride prompterOverride{prompter};
};

}  // namespace

// All four steps on two databases with a blank line between them, one database at a time: each
// database is replaced by its restored copy (data intact: gstat reads it, gbak restored the row),
// the backup is gone, every step's exit code is in the log, the batch (it holds the password) is
// deleted, and the report shows each outcome in green with a link to its log.
TEST_F(DatabaseRuns, MaintenanceNowModeRunsEveryStepPerDatabase) {
    const std::string first = database("kelmora.fdb");
    const std::string second = database("87654321.000\\conf.fdb");
    const std::string identities[] = {fileIdentity(first), "", fileIdentity(second)};
    FdbListChoice list{RunMode::Now, "", {first, "  ", " " + second + " "}};
    platform::ShellOpenRecorder shell(isBatch);

    runMaintenance(fields, settings, list, {true, true, true, true});

    ASSERT_EQ(shell.requests().size(), 3u);
    EXPECT_EQ(shell.requests()[0].file, temp("temp_0.bat"));
    EXPECT_EQ(shell.requests()[0].verb, "Open");
    EXPECT_EQ(shell.requests()[0].mode, platform::ShowMode::Normal);
    EXPECT_EQ(shell.requests()[1].file, temp("temp_2.bat")) << "the blank line counts in the index";
    EXPECT_EQ(shell.requests()[2].file, temp("DbMaintainResults.htm"));
    EXPECT_EQ(shell.requests()[2].verb, "open");
    EXPECT_TRUE(shell.waitForCarriedOut(std::chrono::seconds(0))) << "each batch had ended before the next began";

    for (const auto& [index, db] : {std::pair{0, first}, std::pair{2, second}}) {
        SCOPED_TRACE(db);
        EXPECT_FALSE(platform::fileExists(temp("temp_" + std::to_string(index) + ".bat")));
        const std::string log =
            fileText(temp("fdbMaintain_" + std::to_string(index) + ".txt"), platform::oemCodePage());
        const std::string code0 =
            ": kil\xC3\xA9p\xC3\xA9si k\xC3\xB3"
            "d 0";
        for (const std::string& marker :
             {"*** Adatb\xC3\xA1zis-ellen\xC5\x91rz\xC3\xA9s - gfix -v -full" + code0,
              "*** Jav\xC3\xADt\xC3\xA1s - gfix -mend" + code0, "*** Biztons\xC3\xA1gi ment\xC3\xA9s - gbak" + code0,
              "*** Visszat\xC3\xB6lt\xC3\xA9s - gbak -c" + code0, std::string("gbak:   1 records restored"),
              std::string("*** Minden l\xC3\xA9p\xC3\xA9s sikeres.")})
            EXPECT_NE(log.find(marker), std::string::npos) << marker << "\n" << log;
        EXPECT_NE(fileIdentity(db), identities[index]) << "the database is its restored copy";
        EXPECT_EQ(getFdbOdsVersion(settings.serverFolder, settings.serverFolder, settings.tempFolder, db, "ods"),
                  "120");
        const std::string folder = db.substr(0, db.find_last_of('\\'));
        EXPECT_TRUE(fileNames(folder, "*.fbk*").empty()) << "the backup and its temporary file are gone";
        EXPECT_TRUE(fileNames(folder, "*.visszatoltott").empty());
        EXPECT_TRUE(contains(fields.mLog.lines(), "DB karbantart\xC3\xA1s: " + db));
    }

    const std::string report = fileText(temp("DbMaintainResults.htm"), 1250);
    const std::string green =
        "<span style=\"background-color:#8ada8a\">OK. Minden l\xC3\xA9p\xC3\xA9s sikeresen lefutott."
        "</span><br />";
    const size_t firstEntry =
        report.find("<B>A(z) \"" + first + "\" adatb\xC3\xA1zis karbantart\xC3\xA1sa </b><br />\r\n" + green);
    const size_t secondEntry =
        report.find("<B>A(z) \"" + second + "\" adatb\xC3\xA1zis karbantart\xC3\xA1sa </b><br />\r\n" + green);
    ASSERT_NE(firstEntry, std::string::npos) << report;
    ASSERT_NE(secondEntry, std::string::npos) << report;
    EXPECT_LT(firstEntry, secondEntry);
    EXPECT_NE(report.find("<a href=\"file://" + temp("fdbMaintain_2.txt") + "\">"), std::string::npos) << report;
    EXPECT_NE(report.find("</table>"), std::string::npos);

    ASSERT_EQ(prompter.boxes().size(), 1u);
    EXPECT_EQ(prompter.boxes()[0].text, kFinished);
    EXPECT_EQ(fields.pbOp.max(), 4);
    EXPECT_EQ(fields.pbOp.position(), 2);
}

// Every failure point, with Debian's real gbak and gfix under Wine's cmd: the step that failed is
// in the log with the tool's own message, the database is still the original file (a non-database
// byte for byte, a database sound), and the report shows the database in red.
TEST_F(DatabaseRuns, MaintenanceFailuresLeaveTheDatabaseAsItWas) {
    const std::string text = scratch.file("adat\\szoveg.fdb", "ez nem adatbazis\r\n");
    const std::string textBackupOnly = scratch.file("adat\\mentes\\szoveg.fdb", "ez sem\r\n");
    const std::string held = database("nyitott\\kelmora.fdb");
    const std::string good = database("jo.fdb");
    std::vector<std::pair<std::string, std::string>> before;
    for (const std::string& db : {text, textBackupOnly}) before.emplace_back(db, *platform::readFileBytes(db));
    const std::string heldIdentity = fileIdentity(held);
    platform::ShellOpenRecorder shell(isBatch);

    // The held database is open in another program, sharing reading and writing as a server does.
    HANDLE open = CreateFileW(platform::widen(held).c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(open, INVALID_HANDLE_VALUE);
    runMaintenance(fields, settings, {RunMode::Now, "", {text, held, good}}, {true, true, true, true});
    CloseHandle(open);
    std::vector<std::string> logs;
    for (int i = 0; i < 3; ++i)
        logs.push_back(fileText(temp("fdbMaintain_" + std::to_string(i) + ".txt"), platform::oemCodePage()));
    const std::string firstReport = fileText(temp("DbMaintainResults.htm"), 1250);
    ASSERT_EQ(prompter.boxes().size(), 1u);
    EXPECT_EQ(prompter.boxes()[0].text, kFinishedWithErrors);
    runMaintenance(fields, settings, {RunMode::Now, "", {textBackupOnly}}, {false, true, false, false});
    logs.push_back(fileText(temp("fdbMaintain_0.txt"), platform::oemCodePage()));
    const std::string secondReport = fileText(temp("DbMaintainResults.htm"), 1250);

    for (const auto& [db, bytes] : before) EXPECT_TRUE(*platform::readFileBytes(db) == bytes) << db << " changed";
    // gbak's attachment moves the header's counters on, but the file is the original, and sound.
    EXPECT_EQ(fileIdentity(held), heldIdentity);
    EXPECT_EQ(getFdbOdsVersion(settings.serverFolder, settings.serverFolder, settings.tempFolder, held, "ods"), "120");
    const std::string code1 =
        ": kil\xC3\xA9p\xC3\xA9si k\xC3\xB3"
        "d 1";
    const std::string abandoned =
        "*** A karbantart\xC3\xA1s megszakadt, a tov\xC3\xA1"
        "bbi l\xC3\xA9p\xC3\xA9sek elmaradtak.";
    struct Case {
        size_t log;
        std::vector<std::string> inLog;  // in this order
        std::string reportLine;
        const std::string* report;
    };
    const std::string validate = "Adatb\xC3\xA1zis-ellen\xC5\x91rz\xC3\xA9s - gfix -v -full" + code1;
    const std::string backup = "Biztons\xC3\xA1gi ment\xC3\xA9s - gbak" + code1;
    const Case cases[] = {
        // A file that is no database: gfix's validation fails first.
        {0,
         {"I/O error", "*** " + validate, abandoned},
         "<span style=\"background-color:#ff7777\">HIBA: " + validate +
             ". A tov\xC3\xA1"
             "bbi l\xC3\xA9p\xC3\xA9sek "
             "elmaradtak, az eredeti adatb\xC3\xA1zis megmaradt.</span>",
         &firstReport},
        // Backup only: gbak's backup fails.
        {3,
         {"ERROR:", "*** " + backup, abandoned},
         "<span style=\"background-color:#ff7777\">HIBA: " + backup,
         &secondReport},
        // Backed up and restored, but the database is open: the swap cannot be done.
        {1,
         {"*** Visszat\xC3\xB6lt\xC3\xA9s - gbak -c: kil\xC3\xA9p\xC3\xA9si k\xC3\xB3"
          "d 0",
          "*** Az adatb\xC3\xA1zis haszn\xC3\xA1latban van, nem cser\xC3\xA9lhet\xC5\x91 le."},
         "<span style=\"background-color:#ff7777\">HIBA: Az adatb\xC3\xA1zis haszn\xC3\xA1latban van",
         &firstReport},
        {2, {"*** Minden l\xC3\xA9p\xC3\xA9s sikeres."}, "<span style=\"background-color:#8ada8a\">OK.", &firstReport},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(logs[c.log]);
        size_t at = 0;
        for (const std::string& expected : c.inLog) {
            at = logs[c.log].find(expected, at);
            ASSERT_NE(at, std::string::npos) << expected;
        }
        EXPECT_NE(c.report->find(c.reportLine), std::string::npos) << *c.report;
    }

    // The open database keeps its restored copy beside it, under a name that says so, and its backup.
    const auto kept = fileNames(held.substr(0, held.find_last_of('\\')), "*.visszatoltott");
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_NE(firstReport.find(kept[0]), std::string::npos);
    EXPECT_EQ(fileNames(held.substr(0, held.find_last_of('\\')), "*.fbk").size(), 1u) << "the backup is kept";
    for (const std::string& db : {text, textBackupOnly})
        EXPECT_TRUE(fileNames(db.substr(0, db.find_last_of('\\')), "*.fbk").empty()) << "no backup of a non-database";
    EXPECT_TRUE(fileNames(settings.tempFolder, "temp_*.bat").empty()) << "every ended batch is deleted";
}

// A restore that fails (the backup ends early, as a full or failing disk leaves it): the database
// stays, the backup stays, gbak's half-restored file is removed. The batch is the program's own,
// with one line put in after the backup that cuts it short.
TEST_F(DatabaseRuns, MaintenanceRestoreOfATruncatedBackupKeepsEverything) {
    const std::string db = database("kelmora.fdb");
    const std::string identity = fileIdentity(db);
    const std::string log = temp("fdbMaintain_0.txt");
    MaintenanceLineInput input{gfix,
                               gbak,
                               db,
                               "SYSDBA",
                               "qwdbadmin",
                               log,
                               scratch / "adat\\kelmora_1.fbk",
                               scratch / "adat\\kelmora_1.visszatoltott",
                               0};
    std::vector<std::string> lines = maintenanceLines({false, true, true, true}, input);
    const auto renamed =
        std::find(lines.begin(), lines.end(), "if exist \"" + input.backupFile + ".tmp\" goto db0_hiba");
    ASSERT_NE(renamed, lines.end());
    const std::string cut = scratch / "cut.bat";
    saveBatchFile({"@echo off", "copy /y \"" + scratch / "half.fbk" + "\" \"" + input.backupFile + "\" >nul"}, cut);
    lines.insert(renamed + 1, "call \"" + cut + "\"");
    // Half of a real backup.
    const std::string whole = scratch / "whole.bat";
    saveBatchFile({"call \"" + input.gbak + "\" -b -USER SYSDBA -PASSWORD qwdbadmin \"" + db + "\" \"" +
                   scratch / "whole.fbk" + "\""},
                  whole);
    RunProgramSync("\"" + whole + "\"", platform::ShowMode::Hidden);
    const auto backup = platform::readFileBytes(scratch / "whole.fbk");
    ASSERT_TRUE(backup);
    platform::writeFileBytes(scratch / "half.fbk", backup->substr(0, backup->size() / 2));

    const std::string batch = scratch / "restore.bat";
    saveBatchFile(lines, batch);
    ASSERT_NO_FATAL_FAILURE(runShown(batch));

    const std::string output = fileText(log, platform::oemCodePage());
    const MaintenanceOutcome outcome = readMaintenanceOutcome(splitLines(output));
    EXPECT_EQ(outcome.kind, MaintenanceOutcome::StepFailed) << output;
    EXPECT_EQ(outcome.detail,
              "Visszat\xC3\xB6lt\xC3\xA9s - gbak -c: kil\xC3\xA9p\xC3\xA9si k\xC3\xB3"
              "d 1")
        << output;
    EXPECT_NE(output.find("ERROR: Backup incomplete"), std::string::npos) << output;
    EXPECT_EQ(fileIdentity(db), identity) << "the database was replaced";
    EXPECT_EQ(getFdbOdsVersion(settings.serverFolder, settings.serverFolder, settings.tempFolder, db, "ods"), "120");
    EXPECT_TRUE(platform::readFileBytes(input.backupFile) == backup->substr(0, backup->size() / 2))
        << "the backup stays";
    EXPECT_FALSE(platform::fileExists(input.restoredFile)) << "no half-restored file is left";
}

// Batch mode's file runs again and again under the same backup name: a run that fails keeps the
// backup of the last run that succeeded.
TEST_F(DatabaseRuns, MaintenanceBatchRunAgainKeepsTheLastGoodBackup) {
    const std::string db = database("kelmora.fdb");
    const std::string target = scratch / "dbMaintain.bat";
    {
        platform::ShellOpenRecorder shell;
        runMaintenance(fields, settings, {RunMode::Batch, target, {db}}, {false, true, false, false});
    }
    ASSERT_NO_FATAL_FAILURE(runShown(target));
    const auto backups = fileNames(scratch / "adat", "*.fbk");
    ASSERT_EQ(backups.size(), 1u);
    const std::string backup = scratch / ("adat\\" + backups[0]);
    const auto good = platform::readFileBytes(backup);
    ASSERT_TRUE(good);
    ASSERT_GT(good->size(), 0u);

    platform::writeFileBytes(db, "most mar nem adatbazis\r\n");
    ASSERT_NO_FATAL_FAILURE(runShown(target));
    EXPECT_TRUE(platform::readFileBytes(backup) == good) << "the backup changed";
    const std::string log = fileText(temp("fdbMaintain_0.txt"), platform::oemCodePage());
    EXPECT_EQ(readMaintenanceOutcome(splitLines(log)).kind, MaintenanceOutcome::StepFailed) << log;
}

// Batch mode: the lines of all databases in one file, nothing started, no report; an existing file
// is replaced only after a Yes, and a No still ends with the final message.
TEST_F(DatabaseRuns, MaintenanceBatchModeWritesOneFileAfterTheOverwriteQuestion) {
    const std::string first = database("a.fdb");
    const std::string second = database("b.fdb");
    const std::string target = scratch / "dbMaintain.bat";
    FdbListChoice list{RunMode::Batch, " " + target + " ", {first, second}};
    platform::ShellOpenRecorder shell;

    scratch.file("dbMaintain.bat", "old");
    prompter.answer(false);
    runMaintenance(fields, settings, list, {true, false, false, false});
    EXPECT_EQ(*platform::readFileBytes(target), "old");
    ASSERT_EQ(prompter.boxes().size(), 2u);
    EXPECT_EQ(prompter.boxes()[0].text, "Biztosan fel\xC3\xBCl\xC3\xADrja a " + target + " f\xC3\xA1jlt?");
    EXPECT_EQ(prompter.boxes()[1].text, kFinished);

    prompter.answer(true);
    runMaintenance(fields, settings, list, {true, false, false, false});
    std::string expected;
    for (const std::string& db : {first, second}) {
        const int index = db == first ? 0 : 1;
        const std::string log = scratch / ("temp\\fdbMaintain_" + std::to_string(index) + ".txt");
        for (const std::string& line :
             maintenanceLines({true, false, false, false}, {gfix, gbak, db, "SYSDBA", "qwdbadmin", log, "", "", index}))
            expected += line + "\r\n";
    }
    EXPECT_EQ(fileText(target, platform::oemCodePage()), expected);
    EXPECT_TRUE(shell.requests().empty()) << "batch mode starts nothing and opens no report";
    EXPECT_EQ(prompter.boxes().back().text, kFinished);
}

// A missing database, a server without gfix, a server without gbak when the backup is chosen: each
// is logged and skipped without a report entry, and the run goes on.
TEST_F(DatabaseRuns, MaintenanceSkipsWhatCannotRunAndGoesOn) {
    const std::string present = database("kelmora.fdb");
    const std::string missing = scratch / "adat\\nincs.fdb";
    platform::ShellOpenRecorder shell(isBatch);

    runMaintenance(fields, settings, {RunMode::Now, "", {missing, present}}, {true, false, false, false});
    ASSERT_TRUE(shell.waitForCarriedOut(kBatchLimit));
    EXPECT_TRUE(contains(fields.mLog.lines(),
                         "HIBA   ---> Az al\xC3\xA1" "bbi Firebird adatb\xC3\xA1zis-f\xC3\xA1jl nem l\xC3\xA9tezik: " +
                             missing));
    std::string report = fileText(temp("DbMaintainResults.htm"), 1250);
    EXPECT_EQ(report.find("nincs.fdb"), std::string::npos);
    EXPECT_NE(report.find(present), std::string::npos);

    // Only gbak in the server folder: gfix is missing even though only the backup is chosen.
    settings.serverFolder = scratch.folder("server");
    copyFile(kStandIn, settings.serverFolder + "\\gbak.exe");
    platform::createFolders(settings.serverFolder + "\\bin");
    copyFile(kStandIn, settings.serverFolder + "\\bin\\gbak.exe");
    runMaintenance(fields, settings, {RunMode::Now, "", {present}}, {false, true, false, false});
    EXPECT_TRUE(contains(fields.mLog.lines(), "HIBA   ---> A GFIX.EXE nem tal\xC3\xA1lhat\xC3\xB3: " +
                                                  settings.serverFolder + "\\bin\\gfix.exe"));

    // gfix but no gbak, backup chosen.
    settings.serverFolder = scratch.folder("server2");
    platform::createFolders(settings.serverFolder + "\\bin");
    copyFile(kStandIn, settings.serverFolder + "\\bin\\gfix.exe");
    runMaintenance(fields, settings, {RunMode::Now, "", {present}}, {true, true, false, false});
    EXPECT_TRUE(contains(fields.mLog.lines(), "HIBA   ---> A GBAK.EXE nem tal\xC3\xA1lhat\xC3\xB3: " +
                                                  settings.serverFolder + "\\bin\\gbak.exe"));
    report = fileText(temp("DbMaintainResults.htm"), 1250);
    EXPECT_EQ(report.find(present), std::string::npos) << "a skipped database has no entry";
    ASSERT_TRUE(shell.waitForCarriedOut(kBatchLimit));
    EXPECT_EQ(prompter.boxes().size(), 3u);
}

// The real gfix switches the database to asynchronous writes and sets the buffers; gstat reads both
// back and the report shows two green cells; the step's temporary files are gone.
TEST_F(DatabaseRuns, SettingsNowModeSetsAndVerifiesTheHeader) {
    const std::string db = database("Árvíztűrő Kft\\tükörfúrógép.fdb");
    const std::int64_t buffers = pageBuffersFor(getFileSize(db), 150);
    ASSERT_GE(buffers, 50) << "gfix accepts 0 or at least 50 buffers";
    platform::ShellOpenRecorder shell(isBatch);

    runDbSettings(fields, settings, {RunMode::Now, "", {"", db}}, {true, 150});

    ASSERT_EQ(shell.requests().size(), 2u);
    EXPECT_EQ(shell.requests()[0].file, temp("temp_1.bat"));
    EXPECT_EQ(shell.requests()[0].mode, platform::ShowMode::Hidden);
    EXPECT_EQ(shell.requests()[1].file, temp("DbSettingResults.htm"));
    EXPECT_FALSE(platform::fileExists(temp("temp_1.bat")));
    EXPECT_FALSE(platform::fileExists(temp("temp_1.txt")));

    const std::string report = fileText(temp("DbSettingResults.htm"), 1250);
    const std::string n = std::to_string(buffers);
    EXPECT_NE(report.find("<tr><td>" + db + "</td>\r\n<td bgColor=\"8ada8a\">OK. A(z) Page buffers parameter elvart "
                          "erteke megegyezik a kiolvasottal: " + n + "</td>\r\n<td bgColor=\"8ada8a\">OK. A(z) "
                          "Attributes parameter elvart erteke megegyezik a kiolvasottal: </td>\r\n</tr>"),
              std::string::npos)
        << report;
    EXPECT_TRUE(contains(fields.mLog.lines(),
                         "OK. A(z) Page buffers parameter elvart erteke megegyezik a kiolvasottal: " + n));
    EXPECT_EQ(fields.edActFdbFn, db);
    ASSERT_EQ(prompter.boxes().size(), 1u);
    EXPECT_EQ(prompter.boxes()[0].text, kFinished);
}

// Without the cache option only the write mode changes, yet the report still compares the buffers:
// a database with other buffers gets the red mismatch cell.
TEST_F(DatabaseRuns, SettingsWithoutCacheReportsOtherBuffersAsMismatch) {
    const std::string db = database("kelmora.fdb");
    const std::string batch = scratch / "buffers.bat";
    saveBatchFile({"call \"" + gfix + "\" -BUFFERS 5000 \"" + db + "\" -USER SYSDBA -PASSWORD qwdbadmin"}, batch);
    RunProgramSync("\"" + batch + "\"", platform::ShowMode::Hidden);
    const std::string n = std::to_string(pageBuffersFor(getFileSize(db), 150));
    platform::ShellOpenRecorder shell(isBatch);

    runDbSettings(fields, settings, {RunMode::Now, "", {db}}, {false, 150});

    const std::string report = fileText(temp("DbSettingResults.htm"), 1250);
    EXPECT_NE(report.find("<td bgColor=\"ff7777\">A(z) Page buffers parameter elvart erteke NEM EGYEZIK MEG a "
                          "kiolvasottal. Elv\xC3\xA1rt \xC3\xA9rt\xC3\xA9k: " + n +
                          "   Kiolvasott \xC3\xA9rt\xC3\xA9k: 5000</td>"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("<td bgColor=\"8ada8a\">OK. A(z) Attributes"), std::string::npos) << report;
    EXPECT_EQ(fields.mActBat.size(), 2u) << "no -BUFFERS line";
}

// A "%" in the temp folder would break the batch's log lines (cmd expands it; on Windows the shell
// even refuses to start a batch there): the database is refused with an error line, no batch
// starts, and it is never reported as maintained.
TEST_F(DatabaseRuns, ABatchThatCannotRunIsNeverReportedAsDone) {
    const std::string db = database("kelmora.fdb");
    settings.tempFolder = scratch.folder("50%off");
    platform::ShellOpenRecorder shell(isBatch);

    runMaintenance(fields, settings, {RunMode::Now, "", {db}}, {true, false, false, false});

    EXPECT_TRUE(
        contains(fields.mLog.lines(),
                 "HIBA   ---> A(z) ideiglenes mappa nem \xC3\xADrhat\xC3\xB3 parancsf\xC3\xA1jlba, mert a "
                 "k\xC3\xB6vetkez\xC5\x91 karakterek egyik\xC3\xA9t tartalmazza: % ^ \" (\xC3\xA9rt\xC3\xA9k: " +
                     settings.tempFolder + ")"))
        << fields.mLog.lines().back();
    for (const auto& request : shell.requests()) EXPECT_FALSE(isBatch(request)) << "no batch is started";
    const std::string report = fileText(settings.tempFolder + "\\DbMaintainResults.htm", 1250);
    EXPECT_EQ(report.find("8ada8a"), std::string::npos) << report;
    EXPECT_FALSE(contains(fields.mLog.lines(), "OK. Minden l\xC3\xA9p\xC3\xA9s sikeresen lefutott."));
    ASSERT_EQ(prompter.boxes().size(), 1u) << "no box but the final message";
}

// A settings batch that outlasts the step's wait: its output is never read (gstat may still be
// writing it), the step says why, and the batch is left alone while it runs; one that has ended is
// deleted whatever its outcome, for it holds the password.
TEST_F(DatabaseRuns, SettingsNeverReadsTheOutputOfABatchStillRunning) {
    const std::string db = database("kelmora.fdb");
    settings.serverFolder = scratch.folder("lassu");
    platform::createFolders(settings.serverFolder + "\\bin");
    for (const char* tool : {"gfix.exe", "gstat.exe"})
        copyFile("C:\\fbwb-fixture\\argrecorder.exe", settings.serverFolder + "\\bin\\" + tool);
    platform::writeFileBytes(settings.serverFolder + "\\bin\\gfix.exe.sleepms", "12000");
    platform::ShellOpenRecorder shell(isBatch);

    runDbSettings(fields, settings, {RunMode::Now, "", {db}}, {true, 150});

    EXPECT_TRUE(contains(fields.mLog.lines(), "HIBA   ---> A(z) " + temp("temp_0.bat") +
                                                  " parancsf\xC3\xA1jl nem fejez\xC5\x91" "d\xC3\xB6tt be a v\xC3\xA1rakoz\xC3\xA1si id\xC5\x91 "
                                                  "alatt, ez\xC3\xA9rt az eredm\xC3\xA9nye nem dolgozhat\xC3\xB3 fel."));
    EXPECT_TRUE(platform::fileExists(temp("temp_0.bat"))) << "a running batch keeps its file";
    EXPECT_EQ(fileText(temp("DbSettingResults.htm"), 1250).find(db), std::string::npos) << "no row from a guess";
    ASSERT_TRUE(shell.waitForCarriedOut(kBatchLimit));

    // Ended, with gstat's output empty: the row reports what is missing, and the batch is gone.
    platform::writeFileBytes(settings.serverFolder + "\\bin\\gfix.exe.sleepms", "0");
    runDbSettings(fields, settings, {RunMode::Now, "", {db}}, {true, 150});
    EXPECT_FALSE(platform::fileExists(temp("temp_0.bat")));
    EXPECT_NE(fileText(temp("DbSettingResults.htm"), 1250).find("<tr><td>" + db), std::string::npos);
}

// Batch mode: the gfix lines of every existing database, nothing run; a missing one gets an error line.
TEST_F(DatabaseRuns, SettingsBatchModeGathersTheGfixLines) {
    const std::string db = database("kelmora.fdb");
    const std::string missing = scratch / "adat\\nincs.fdb";
    const std::string target = scratch / "dbSettings.bat";
    platform::ShellOpenRecorder shell;

    runDbSettings(fields, settings, {RunMode::Batch, target, {missing, db}}, {true, 150});

    const std::string n = std::to_string(pageBuffersFor(getFileSize(db), 150));
    EXPECT_EQ(fileText(target, platform::oemCodePage()),
              "call \"" + gfix + "\" -WRITE ASYNC \"" + db + "\" -USER SYSDBA -PASSWORD qwdbadmin\r\ncall \"" + gfix +
                  "\" -BUFFERS " + n + " \"" + db + "\" -USER SYSDBA -PASSWORD qwdbadmin\r\n");
    EXPECT_TRUE(shell.requests().empty());
    EXPECT_TRUE(contains(fields.mLog.lines(),
                         "HIBA   ---> Az al\xC3\xA1" "bbi Firebird adatb\xC3\xA1zis-f\xC3\xA1jl nem l\xC3\xA9tezik: " +
                             missing));
    EXPECT_EQ(prompter.boxes().back().text, kFinishedWithErrors) << "a database was missing";
}

// A now-mode batch that cannot be saved is logged and not started, while its report entry stays; a
// report that cannot be saved ends the run with an error instead of the final message.
TEST_F(DatabaseRuns, SaveFailuresOfTheBatchAndTheReport) {
    const std::string db = database("kelmora.fdb");
    platform::createFolders(temp("temp_0.bat"));
    platform::ShellOpenRecorder shell;

    runMaintenance(fields, settings, {RunMode::Now, "", {db}}, {true, false, false, false});
    const std::string failure = "HIBA   ---> Hiba t\xC3\xB6rt\xC3\xA9nt a f\xC3\xA1jl ment\xC3\xA9se sor\xC3\xA1n. "
                                "A f\xC3\xA1jl neve: " + temp("temp_0.bat") + "   A hiba le\xC3\xADr\xC3\xA1sa: ";
    EXPECT_TRUE(std::any_of(fields.mLog.lines().begin(), fields.mLog.lines().end(),
                            [&](const std::string& line) { return startsWith(line, failure); }));
    ASSERT_EQ(shell.requests().size(), 1u) << "only the report is opened";
    const std::string report = fileText(temp("DbMaintainResults.htm"), 1250);
    EXPECT_NE(report.find(db), std::string::npos);
    EXPECT_NE(report.find("<span style=\"background-color:#ff7777\">HIBA: A parancsf\xC3\xA1jl nem menthet\xC5\x91"),
              std::string::npos)
        << report;

    platform::createFolders(temp("DbSettingResults.htm"));
    WorkingFields other;
    EXPECT_THROW(runDbSettings(other, settings, {RunMode::Now, "", {scratch / "adat\\nincs.fdb"}}, {true, 150}),
                 std::runtime_error);
    EXPECT_EQ(prompter.boxes().size(), 1u) << "no final message after the failed report";
}

// With no step chosen there is nothing to run: no batch is written or started, and no report entry.
TEST_F(DatabaseRuns, MaintenanceWithoutStepsRunsAndReportsNothing) {
    const std::string db = database("kelmora.fdb");
    platform::ShellOpenRecorder shell;

    runMaintenance(fields, settings, {RunMode::Now, "", {db}}, {false, false, false, false});

    ASSERT_EQ(shell.requests().size(), 1u);
    EXPECT_EQ(shell.requests()[0].file, temp("DbMaintainResults.htm"));
    EXPECT_FALSE(platform::fileExists(temp("temp_0.bat")));
    EXPECT_EQ(fileText(temp("DbMaintainResults.htm"), 1250).find(db), std::string::npos);
}
