// The maintenance and settings runs end to end: the batch files the program writes, started by
// the shell and run by Wine's cmd against Debian's Firebird tools, on scratch copies of a real
// database; reports are recorded, not opened.
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

std::string fileText(const std::string& path, unsigned codePage) {
    const auto bytes = platform::readFileBytes(path);
    return bytes ? platform::fromCodePage(*bytes, codePage) : std::string("<missing>");
}

bool contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
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

// All four steps on two databases with a blank line between them: one batch per database, started
// at once; the tools write into the database's log; the backup is deleted; the report links both logs.
TEST_F(DatabaseRuns, MaintenanceNowModeRunsEveryStepPerDatabase) {
    const std::string first = database("kelmora.fdb");
    const std::string second = database("87654321.000\\conf.fdb");
    FdbListChoice list{RunMode::Now, "", {first, "  ", " " + second + " "}};
    platform::ShellOpenRecorder shell(isBatch);

    runMaintenance(fields, settings, list, {true, true, true, true});
    ASSERT_TRUE(shell.waitForCarriedOut(kBatchLimit));

    ASSERT_EQ(shell.requests().size(), 3u);
    EXPECT_EQ(shell.requests()[0].file, temp("temp_0.bat"));
    EXPECT_EQ(shell.requests()[0].verb, "Open");
    EXPECT_EQ(shell.requests()[0].mode, platform::ShowMode::Normal);
    EXPECT_EQ(shell.requests()[1].file, temp("temp_2.bat")) << "the blank line counts in the index";
    EXPECT_EQ(shell.requests()[2].file, temp("DbMaintainResults.htm"));
    EXPECT_EQ(shell.requests()[2].verb, "open");
    EXPECT_FALSE(platform::fileExists(temp("temp_1.bat")));
    EXPECT_FALSE(platform::fileExists(temp("fdbMaintain_1.txt")));

    for (const auto& [index, db] : {std::pair{0, first}, std::pair{2, second}}) {
        SCOPED_TRACE(db);
        const std::string log = temp("fdbMaintain_" + std::to_string(index) + ".txt");
        const std::string batch = fileText(temp("temp_" + std::to_string(index) + ".bat"), platform::oemCodePage());
        std::smatch stamp;
        ASSERT_TRUE(std::regex_search(batch, stamp, std::regex("_[0-9]{8}_[0-9]{6}\\.fbk"))) << batch;
        const std::string backup = replaceExtension(db, stamp.str());
        const std::string to = "   >>  \"" + log + "\"\r\n";
        EXPECT_EQ(batch,
                  "call \"" + gfix + "\" -USER SYSDBA -PASSWORD qwdbadmin \"" + db + "\" -v -full -i -n" + to +
                      "call \"" + gfix + "\" -USER SYSDBA -PASSWORD qwdbadmin \"" + db + "\" -sweep" + to +
                      "call \"" + gfix + "\" -USER SYSDBA -PASSWORD qwdbadmin \"" + db + "\" -mend" + to +
                      "call \"" + gbak + "\" -v -t -USER SYSDBA -PASSWORD qwdbadmin \"" + db + "\" \"" + backup +
                      "\"" + to + "call \"" + gbak + "\" -c -v -USER SYSDBA -PASSWORD qwdbadmin \"" + backup +
                      "\" \"" + db + "\"" + to + "del \"" + backup + "\"\r\n");
        EXPECT_FALSE(platform::fileExists(backup)) << "the last line deletes the backup";
        const std::string output = fileText(log, platform::ansiCodePage());
        EXPECT_NE(output.find("gbak:"), std::string::npos) << "gbak's verbose output is in the log:\n" << output;
        EXPECT_EQ(output.find("please retry"), std::string::npos) << "gfix accepted every switch:\n" << output;
        EXPECT_TRUE(contains(fields.mLog.lines(), "DB karbantart\xC3\xA1s: " + db));
    }

    const std::string report = fileText(temp("DbMaintainResults.htm"), 1250);
    const size_t firstEntry = report.find("<B>A(z) \"" + first + "\" adatb\xC3\xA1zis karbantart\xC3\xA1sa </b><br />");
    const size_t secondEntry = report.find("<B>A(z) \"" + second + "\" adatb\xC3\xA1zis karbantart\xC3\xA1sa </b><br />");
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
        const std::string log = scratch / ("temp\\fdbMaintain_" + std::string(db == first ? "0" : "1") + ".txt");
        for (const char* tail : {"-v -full -i -n", "-sweep", "-mend"})
            expected += "call \"" + gfix + "\" -USER SYSDBA -PASSWORD qwdbadmin \"" + db + "\" " + tail +
                        "   >>  \"" + log + "\"\r\n";
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
    EXPECT_EQ(prompter.boxes().back().text, kFinished);
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
    EXPECT_NE(fileText(temp("DbMaintainResults.htm"), 1250).find(db), std::string::npos);

    platform::createFolders(temp("DbSettingResults.htm"));
    WorkingFields other;
    EXPECT_THROW(runDbSettings(other, settings, {RunMode::Now, "", {scratch / "adat\\nincs.fdb"}}, {true, 150}),
                 std::runtime_error);
    EXPECT_EQ(prompter.boxes().size(), 1u) << "no final message after the failed report";
}

// With no step chosen each existing database still gets its (empty) batch, started, but no report entry.
// (Only recorded: Wine's shell refuses an empty batch file as "not a valid application", Windows runs it.)
TEST_F(DatabaseRuns, MaintenanceWithoutStepsStartsEmptyBatchesAndReportsNothing) {
    const std::string db = database("kelmora.fdb");
    platform::ShellOpenRecorder shell;

    runMaintenance(fields, settings, {RunMode::Now, "", {db}}, {false, false, false, false});

    ASSERT_EQ(shell.requests().size(), 2u);
    EXPECT_EQ(shell.requests()[0].file, temp("temp_0.bat"));
    EXPECT_EQ(platform::readFileBytes(temp("temp_0.bat")), std::string());
    EXPECT_EQ(fileText(temp("DbMaintainResults.htm"), 1250).find(db), std::string::npos);
}
