// Values on their way into the database runs' batch lines, end to end under Wine's cmd with
// Debian's Firebird tools: a value the batch cannot carry exactly is refused with an error line
// naming its field before any line of its database is written (no tool ever runs on a look-alike
// database, with a look-alike password, or on a line cmd cannot follow); a value ending in a
// backslash reaches the tool whole; and the page buffers written are ones that gfix accepts.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/file_helpers_win.h"
#include "e2e/db_runs.h"
#include "platform/system.h"
#include "tasks/db_settings_run_win.h"
#include "tasks/db_task_lines.h"
#include "tasks/maintenance_run_win.h"
#include "tasks/page_buffers.h"

using namespace fbwb;
using namespace fbwb::test;

namespace {

const std::string kError = "HIBA   ---> ";
const std::string kNotInCodePage =
    " nem írható parancsfájlba, mert a parancsfájl kódlapjában nem szereplő karaktert tartalmaz";
const std::string kBreaksTheLine =
    " nem írható parancsfájlba, mert a következő karakterek egyikét tartalmazza: % ^ \" (érték: ";

}  // namespace

// à, ñ and Ø become a, n and O in the batch's code page: the maintenance would back up a.fdb, n.fdb
// and O.fdb instead. Each is refused and gets no batch; the look-alikes beside them stay untouched.
TEST_F(DatabaseRuns, LettersTheBatchCodePageLacksNeverReachTheTools) {
    const std::pair<std::string, std::string> letters[] = {{"à", "a"}, {"ñ", "n"}, {"Ø", "O"}};
    std::vector<std::string> named, lookAlikes, before;
    for (const auto& [letter, lookAlike] : letters) {
        named.push_back(scratch.file("adat\\" + letter + ".fdb", "nem adatbázis\r\n"));
        lookAlikes.push_back(database(lookAlike + ".fdb"));
        before.push_back(*platform::readFileBytes(lookAlikes.back()));
    }
    platform::ShellOpenRecorder shell(isBatch);

    runMaintenance(fields, settings, {RunMode::Now, "", named}, {true, true, false, false});

    for (size_t i = 0; i < named.size(); ++i) {
        SCOPED_TRACE(named[i]);
        EXPECT_TRUE(contains(fields.mLog.lines(), kError + "A(z) adatbázis-fájl" + kNotInCodePage + ": " +
                                                      letters[i].first + " (érték: " + named[i] + ")"));
        EXPECT_TRUE(*platform::readFileBytes(lookAlikes[i]) == before[i]) << "a tool ran on " << lookAlikes[i];
    }
    ASSERT_EQ(shell.requests().size(), 1u) << "no batch, only the report";
    EXPECT_TRUE(fileNames(scratch / "adat", "*.fbk").empty());
    EXPECT_EQ(fileText(temp("DbMaintainResults.htm"), 1250).find("adatbázis karbantartása"), std::string::npos)
        << "no report entry";
    EXPECT_EQ(prompter.boxes().back().text, kFinishedWithErrors);
}

// A password or user name that the code page cannot hold: gfix would get "pass" for "pàss" and
// "?uro" for "€uro". Refused without repeating the password; nothing runs.
TEST_F(DatabaseRuns, CredentialsTheBatchCodePageLacksAreRefused) {
    const std::string db = database("kelmora.fdb");
    const std::string before = *platform::readFileBytes(db);
    struct Case {
        std::string userName, password, errorLine;
    } cases[] = {
        {"SYSDBA", "pàss", kError + "A(z) jelszó" + kNotInCodePage + "."},
        {"SYSDBA", "€uro", kError + "A(z) jelszó" + kNotInCodePage + "."},
        {"ñandú", "qwdbadmin", kError + "A(z) felhasználónév" + kNotInCodePage + ": ñ (érték: ñandú)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.errorLine);
        settings.userName = c.userName;
        settings.password = c.password;
        WorkingFields run;
        platform::ShellOpenRecorder shell(isBatch);
        runDbSettings(run, settings, {RunMode::Now, "", {db}}, {true, 150});
        EXPECT_TRUE(contains(run.mLog.lines(), c.errorLine));
        EXPECT_TRUE(run.mActBat.empty());
        ASSERT_EQ(shell.requests().size(), 1u) << "no batch, only the report";
        EXPECT_EQ(prompter.boxes().back().text, kFinishedWithErrors);
    }
    EXPECT_TRUE(*platform::readFileBytes(db) == before) << "gfix ran";
}

// "%" in the temp folder broke the log's redirection (cmd ran nothing), in the server folder it
// made the tool path "50off\gbak.exe"; both runs said done. Now each is refused by name.
TEST_F(DatabaseRuns, FoldersThatWouldBreakTheLinesAreRefusedByName) {
    const std::string db = database("kelmora.fdb");
    const std::string ordinaryTemp = settings.tempFolder;
    const std::string ordinaryServer = settings.serverFolder;
    const std::string percent = scratch.folder("50%off");
    scratch.folder("50%off\\bin");
    for (const char* tool : {"gfix.exe", "gbak.exe", "gstat.exe"}) copyFile(kStandIn, scratch / "50%off\\bin\\" + tool);
    struct Case {
        bool maintenance;
        bool inTemp;  // otherwise in the server folder
    } cases[] = {{true, true}, {true, false}, {false, true}, {false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.maintenance ? "maintenance" : "settings") << ", "
                                        << (c.inTemp ? "temp folder" : "server folder"));
        settings.tempFolder = c.inTemp ? percent : ordinaryTemp;
        settings.serverFolder = c.inTemp ? ordinaryServer : percent;
        WorkingFields run;
        platform::ShellOpenRecorder shell(isBatch);
        if (c.maintenance)
            runMaintenance(run, settings, {RunMode::Now, "", {db}}, {true, false, false, false});
        else
            runDbSettings(run, settings, {RunMode::Now, "", {db}}, {true, 150});
        const std::string field = c.inTemp ? "ideiglenes fájlok mappája" : "kiszolgáló mappája";
        EXPECT_TRUE(contains(run.mLog.lines(), kError + "A(z) " + field + kBreaksTheLine + percent + ")"));
        EXPECT_TRUE(run.mActBat.empty());
        ASSERT_EQ(shell.requests().size(), 1u) << "no batch, only the report";
        EXPECT_EQ(prompter.boxes().back().text, kFinishedWithErrors);
    }
}

// A password ending in a backslash, in quotes for its blank: written "b (\", gfix got the quote and
// the rest of the line as the password and no database. Written "b (\\", all four steps run on it
// with Debian's real tools, and the tool gets exactly the password.
TEST_F(DatabaseRuns, APasswordEndingInABackslashReachesTheToolWhole) {
    const std::string db = database("kelmora.fdb");
    settings.password = "b (\\";
    platform::ShellOpenRecorder shell(isBatch);

    runMaintenance(fields, settings, {RunMode::Now, "", {db}}, {true, true, true, true});

    const std::string log = fileText(temp("fdbMaintain_0.txt"), platform::oemCodePage());
    EXPECT_EQ(readMaintenanceOutcome(splitLines(log)).kind, MaintenanceOutcome::Succeeded) << log;

    // What the tool gets, argument by argument.
    settings.serverFolder = scratch.folder("rogzito");
    scratch.folder("rogzito\\bin");
    copyFile("C:\\fbwb-fixture\\argrecorder.exe", settings.serverFolder + "\\bin\\gfix.exe");
    const std::string target = scratch / "dbSettings.bat";
    runDbSettings(fields, settings, {RunMode::Batch, target, {db}}, {false, 150});
    ASSERT_NO_FATAL_FAILURE(runShown(target));
    const std::string calls = fileText(settings.serverFolder + "\\bin\\gfix.exe.calls.txt", CP_UTF8);
    EXPECT_NE(calls.find("\t[-WRITE]\t[ASYNC]\t[" + db + "]\t[-USER]\t[SYSDBA]\t[-PASSWORD]\t[b (\\]\r\n"),
              std::string::npos)
        << calls;
}

// A small database's figure (4 at 1 %) is below what gfix accepts: 50 is written, real gfix takes
// it, gstat reads 50 back into a green cell, and the log says why the figure changed.
TEST_F(DatabaseRuns, SettingsRaiseASmallFigureToOneGfixAccepts) {
    const std::string db = database("kelmora.fdb");
    const std::int64_t computed = pageBuffersFor(getFileSize(db), 1);
    ASSERT_GT(computed, 0);
    ASSERT_LT(computed, 50);
    platform::ShellOpenRecorder shell(isBatch);

    runDbSettings(fields, settings, {RunMode::Now, "", {db}}, {true, 1});

    EXPECT_TRUE(
        contains(fields.mActBat, "call \"" + gfix + "\" -BUFFERS 50 \"" + db + "\" -USER SYSDBA -PASSWORD qwdbadmin"));
    EXPECT_TRUE(contains(fields.mLog.lines(), "A lappufferek kiszámított száma (" + std::to_string(computed) +
                                                  ") kevesebb a gfix által elfogadott legkisebb értéknél, "
                                                  "ezért a használt érték: 50."));
    const std::string report = fileText(temp("DbSettingResults.htm"), 1250);
    EXPECT_NE(report.find("<td bgColor=\"8ada8a\">OK. A(z) Page buffers parameter elvart erteke megegyezik a "
                          "kiolvasottal: 50</td>"),
              std::string::npos)
        << report;
    EXPECT_EQ(prompter.boxes().back().text, kFinished);
}

// A sparse file's size says nothing of what an attachment can hold: a 1 TiB copy of the database
// (header intact, page size 8192) gives 402,653,184 buffers at 150 %. The figure written is the
// largest that fits in half of the physical memory at the page size read from the header, and
// the log says why.
TEST_F(DatabaseRuns, SettingsKeepTheFigureWithinHalfThePhysicalMemory) {
    const std::string db = database("ritka.fdb");
    {
        HANDLE file = CreateFileW(platform::widen(db).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        LARGE_INTEGER size{};
        size.QuadPart = std::int64_t{1} << 40;
        EXPECT_TRUE(SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && SetEndOfFile(file));
        CloseHandle(file);
    }
    const std::int64_t computed = pageBuffersFor(getFileSize(db), 150);
    ASSERT_EQ(computed, 402653184);
    const std::uint64_t halfMemory = platform::physicalMemoryBytes() / 2;
    ASSERT_GT(halfMemory, 0u);
    const std::string target = scratch / "dbSettings.bat";
    platform::ShellOpenRecorder shell;

    runDbSettings(fields, settings, {RunMode::Batch, target, {db}}, {true, 150});

    ASSERT_EQ(fields.mActBat.size(), 2u);
    const std::string& line = fields.mActBat[1];
    const size_t at = line.find("-BUFFERS ");
    ASSERT_NE(at, std::string::npos) << line;
    const std::uint64_t written = std::stoull(line.substr(at + 9));
    EXPECT_LE(written * (8192 + kBufferOverheadBytes), halfMemory) << line;
    EXPECT_GT((written + 1) * (8192 + kBufferOverheadBytes), halfMemory) << line;
    EXPECT_TRUE(contains(fields.mLog.lines(),
                         "A lappufferek kiszámított száma (402653184) 8192 bájtos lapokkal minden "
                         "csatlakozáskor több memóriát foglalna le, mint a gép fizikai "
                         "memóriájának fele (" +
                             std::to_string(halfMemory / (1024 * 1024)) +
                             " MB), ezért a használt érték: " + std::to_string(written) + "."));
}
