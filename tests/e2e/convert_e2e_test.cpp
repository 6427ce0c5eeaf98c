// The conversion run end to end: the batch file it writes (byte for byte but for the backup's time
// stamp), run by Wine's cmd with standard input from NUL (so the closing "pause" returns), the
// fixture's 2.5-layout folder as the old server and its 3.0-layout folder as the new one, whose gbak
// stand-ins reach Debian's gbak; and the batch mode that only writes the file and names it.
#include <windows.h>
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "convert/convert_rules.h"
#include "convert/convert_run_win.h"
#include "core/text.h"
#include "e2e/db_runs.h"
#include "e2e/machine.h"
#include "platform/encoding.h"
#include "platform/fs.h"
#include "platform/process.h"
#include "platform/prompter.h"
#include "platform/scripted_prompter.h"
#include "tasks/fdb_header_win.h"
#include "win/temp_folder.h"

using namespace fbwb;
using test::copyFile;
using test::environment;
using test::fileIdentity;
using test::fileNames;
using Strings = std::vector<std::string>;

namespace {

constexpr const char* kTemplate = "C:\\fbwb-fixture\\template.fdb";

// The lines of one database as the batch holds them, with STAMP for the backup's time stamp.
Strings databaseLines(const std::string& oldServer, const std::string& newServer, const std::string& fdb) {
    const std::string stem = fdb.substr(0, fdb.rfind('.'));
    const std::string backup = stem + "_STAMP.fbk";
    return {"call \"" + oldServer + "\\bin\\gbak.exe\" -v -t -USER SYSDBA -PASSWORD qwdbadmin \"" + fdb + "\" \"" +
                backup + "\" ",
            "",
            "call \"" + newServer + "\\gbak.exe\" -c -v -USER SYSDBA -PASSWORD qwdbadmin \"" + backup + "\" \"" + stem +
                "_FB3.fdb\"",
            "del \"" + backup + "\"",
            "",
            "",
            ""};
}

std::string batchText(const Strings& lines) {
    return platform::toCodePage(joinLinesCrLf(lines), platform::oemCodePage());
}

// The batch's bytes with each backup's time stamp replaced by STAMP; the stamps are all the same.
std::string withoutStamps(const std::string& bytes, std::string& stamp) {
    const std::regex pattern("_([0-9]{8}_[0-9]{6})\\.fbk");
    std::smatch found;
    if (std::regex_search(bytes, found, pattern)) stamp = found[1];
    return std::regex_replace(bytes, pattern, "_STAMP.fbk");
}

class ConvertRun : public testing::Test {
protected:
    void SetUp() override {
        const std::string machineRoot = environment("FBWB_MACHINE_ROOT");
        ASSERT_FALSE(machineRoot.empty()) << "FBWB_MACHINE_ROOT is not set (tests/harness/wine-run.sh sets it)";
        oldServer = folderPrefix(machineRoot) + "Firebird\\Firebird_2_5";
        newServer = folderPrefix(machineRoot) + "Firebird\\Firebird_3_0";
        temp = scratch.folder("temp") + "\\";
    }

    std::string database(const std::string& relative) {
        const std::string path = scratch / ("adat\\" + relative);
        platform::createFolders(path.substr(0, path.find_last_of('\\')));
        copyFile(kTemplate, path);
        return path;
    }

    ConvertChoice choice(RunMode mode, const std::string& batchFile, const Strings& lines) const {
        return {mode, batchFile, lines, oldServer, newServer, "SYSDBA", "qwdbadmin", "SYSDBA", "qwdbadmin"};
    }

    test::TempFolder scratch;
    std::string oldServer, newServer, temp;
    platform::ScriptedPrompter prompter;
    platform::PrompterOverride prompterOverride{prompter};
};

}  // namespace

// Two databases with an empty line between them: the batch opened through the shell holds both
// conversions and the pause; run by cmd, it leaves a Firebird 3 copy beside each source, deletes the
// backups and keeps the sources as they were.
TEST_F(ConvertRun, NowModeBatchConvertsEachDatabaseBesideItself) {
    const std::string first = database("kelmora.fdb");
    const std::string second = database("\xC3\x81rv\xC3\xADz Kft\\conf.fdb");
    const std::string identities[] = {fileIdentity(first), fileIdentity(second)};
    const std::string batch = temp + "fdbConversions.bat";
    {
        // Recorded, not carried out: the test runs the batch itself below.
        platform::ShellOpenRecorder shell;
        runConversion(choice(RunMode::Now, "d:\\nem\\ez.bat", {first, "  ", second}), temp);
        ASSERT_EQ(shell.requests().size(), 1u);
        EXPECT_EQ(shell.requests()[0].file, batch);
        EXPECT_EQ(shell.requests()[0].verb, "Open");
        EXPECT_EQ(shell.requests()[0].mode, platform::ShowMode::Normal);
        EXPECT_TRUE(shell.requests()[0].parameters.empty());
    }
    EXPECT_TRUE(prompter.boxes().empty());

    Strings expected = databaseLines(oldServer, newServer, first);
    const Strings secondLines = databaseLines(oldServer, newServer, second);
    expected.insert(expected.end(), secondLines.begin(), secondLines.end());
    expected.push_back("pause");
    const auto bytes = platform::readFileBytes(batch);
    ASSERT_TRUE(bytes);
    std::string stamp;
    EXPECT_EQ(withoutStamps(*bytes, stamp), batchText(expected));
    EXPECT_EQ(stamp.size(), 15u);

    // As the shell would run it, but with standard input from NUL: the pause returns at once.
    const platform::Process run =
        platform::startProcess("cmd.exe /c \"\"" + batch + "\" < NUL\"", platform::ShowMode::Hidden);
    ASSERT_TRUE(run);
    ASSERT_EQ(platform::waitProcessingEvents(run, test::kBatchLimit), platform::WaitResult::Ended);

    for (const auto& [fdb, identity] : {std::pair{first, identities[0]}, std::pair{second, identities[1]}}) {
        SCOPED_TRACE(fdb);
        const std::string converted = fdb.substr(0, fdb.rfind('.')) + "_FB3.fdb";
        ASSERT_TRUE(platform::fileExists(converted));
        EXPECT_EQ(getFdbOdsVersion(newServer, newServer, temp, converted, "ods"), "120");
        EXPECT_TRUE(fileNames(fdb.substr(0, fdb.find_last_of('\\')), "*.fbk").empty()) << "the backup is gone";
        EXPECT_EQ(fileIdentity(fdb), identity) << "the source stays where it was";
        EXPECT_EQ(getFdbOdsVersion(newServer, newServer, temp, fdb, "src"), "120");
    }
}

// Batch mode: the typed path exactly, its missing folders created, nothing started, and the plain
// message names the file. A database whose old server has no gbak gets no lines; with no usable folder
// at all the batch holds only the pause.
TEST_F(ConvertRun, BatchModeWritesTheTypedPathAndNamesIt) {
    const std::string fdb = database("kelmora.fdb");
    const std::string typed = scratch / "\xC3\xBAj mappa\\m\xC3\xA1sik\\conv.bat";
    platform::ShellOpenRecorder shell;

    runConversion(choice(RunMode::Batch, typed, {fdb}), "d:\\nincs");

    EXPECT_TRUE(shell.requests().empty());
    ASSERT_EQ(prompter.boxes().size(), 1u);
    EXPECT_EQ(prompter.boxes()[0].text,
              "A m\xC5\xB1veleteket az al\xC3\xA1"
              "bbi parancsf\xC3\xA1jl tartalmazza:\r\n" +
                  typed);
    EXPECT_EQ(prompter.boxes()[0].kind, platform::BoxKind::Message);
    EXPECT_FALSE(prompter.boxes()[0].question);
    const auto bytes = platform::readFileBytes(typed);
    ASSERT_TRUE(bytes);
    Strings expected = databaseLines(oldServer, newServer, fdb);
    expected.push_back("pause");
    std::string stamp;
    EXPECT_EQ(withoutStamps(*bytes, stamp), batchText(expected));

    // A path that a batch line cannot hold exactly is left out and named before the batch is announced.
    const std::string percent = database("50%.fdb");
    runConversion(choice(RunMode::Batch, typed, {percent, fdb}), temp);
    ASSERT_EQ(prompter.boxes().size(), 3u);
    const auto& leftOut = prompter.boxes()[1];
    EXPECT_EQ(leftOut.kind, platform::BoxKind::Error);
    EXPECT_TRUE(startsWith(leftOut.text,
                           "Az al\xC3\xA1"
                           "bbi adatb\xC3\xA1zisok konvert\xC3\xA1l\xC3\xA1sa nem ker\xC3\xBClt a "
                           "parancsf\xC3\xA1jlba:\r\n"))
        << leftOut.text;
    EXPECT_NE(leftOut.text.find(percent), std::string::npos) << leftOut.text;
    EXPECT_EQ(prompter.boxes()[2].kind, platform::BoxKind::Message);
    ASSERT_TRUE(platform::readFileBytes(typed));
    EXPECT_EQ(withoutStamps(*platform::readFileBytes(typed), stamp), batchText(expected));

    ConvertChoice noGbak = choice(RunMode::Batch, typed, {fdb, fdb});
    noGbak.oldServerFolder = scratch.folder("Firebird_2_5");
    runConversion(noGbak, temp);
    EXPECT_EQ(platform::readFileBytes(typed), std::string("pause\r\n"));
    EXPECT_FALSE(platform::fileExists(fdb.substr(0, fdb.rfind('.')) + "_FB3.fdb")) << "nothing ran";
}
