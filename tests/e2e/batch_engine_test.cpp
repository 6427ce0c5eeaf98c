// The product's own batch engine end to end: lines composed by the program, saved by it in the OEM
// code page, run by Wine's cmd through RunProgramSync, reaching Debian's Firebird tools.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/datetime.h"
#include "core/text.h"
#include "e2e/machine.h"
#include "env/server_discovery_win.h"
#include "platform/encoding.h"
#include "platform/fs.h"
#include "script/batch_files_win.h"
#include "script/firebird3_command_line_generator.h"
#include "win/temp_folder.h"

using namespace fbwb;
using test::copyFile;
using test::environment;

namespace {

// Runs a saved batch to its end, the way the installer runs its batches.
void runToEnd(const std::string& batch) { RunProgramSync("\"" + batch + "\"", platform::ShowMode::Hidden); }

bool anyLineHas(const std::vector<std::string>& lines, std::string_view a, std::string_view b) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.find(a) != std::string::npos && line.find(b) != std::string::npos;
    });
}

class BatchEngine : public testing::Test {
protected:
    void SetUp() override {
        machineRoot = environment("FBWB_MACHINE_ROOT");
        dataFolder = environment("FBWB_DATA_FOLDER");
        ASSERT_FALSE(machineRoot.empty()) << "FBWB_MACHINE_ROOT is not set (tests/harness/wine-run.sh sets it)";
        fb3 = folderPrefix(machineRoot) + "Firebird\\Firebird_3_0";
    }

    std::string machineRoot, dataFolder, fb3;
    test::TempFolder scratch;
};

}  // namespace

// The header of a real database, through a batch the program wrote, for plain and accented paths:
// the accented one only arrives when the batch is written in the code page cmd reads.
TEST_F(BatchEngine, GstatHeaderReachesTheRedirectedFile) {
    const std::string gstat = findGstatFn(fb3);
    ASSERT_FALSE(gstat.empty());
    for (const std::string& database :
         {folderPrefix(dataFolder) + "kelmora.fdb",
          folderPrefix(dataFolder) + "\xC3\x81rv\xC3\xADzt\xC5\xB1r\xC5\x91 Kft\\t\xC3\xBCk\xC3\xB6rf\xC3\xBAr\xC3\xB3g\xC3\xA9p.fdb"}) {
        SCOPED_TRACE(database);
        const std::string out = scratch / "gstatRes.txt";
        const std::string batch = scratch / "gstatRq.bat";
        platform::deleteFileClearingAttributes(out);
        saveBatchFile({"\"" + gstat + "\" -h \"" + database + "\" >> \"" + out + "\""}, batch);
        runToEnd(batch);
        ASSERT_TRUE(platform::fileExists(out));
        const auto lines = readOutputLines(out, platform::ansiCodePage());
        EXPECT_TRUE(anyLineHas(lines, "ODS version", "12.0")) << joinLinesCrLf(lines);
    }
}

// The conversion lines, run for real: Debian's gbak backs up and restores a copy of a database
// whose credentials hold characters that cmd would otherwise take as operators.
TEST_F(BatchEngine, ConversionLinesBackUpAndRestoreThroughCmd) {
    const std::string database = scratch / "c\xC3\xA9g adat.fdb";
    copyFile("C:\\fbwb-fixture\\template.fdb", database);

    TFirebird3CommandLineGenerator generator;
    const LocalDateTime when{2017, 3, 15, 14, 25, 1};
    ASSERT_FALSE(generator.addConvertFdbCmdLines(fb3, fb3, database, "SYSDBA", "q&w (x)", "SYSDBA", "a|b<c>", when));
    ASSERT_EQ(generator.cmdLines().size(), 7u);
    const std::string batch = scratch / "ConvertToFb3.bat";
    saveBatchFile(generator.cmdLines(), batch);
    runToEnd(batch);

    EXPECT_TRUE(platform::fileExists(scratch / "c\xC3\xA9g adat_FB3.fdb"));
    EXPECT_FALSE(platform::fileExists(scratch / "c\xC3\xA9g adat_20170315_142501.fbk")) << "the backup is deleted";
    const std::string target = scratch / "check.txt";
    saveBatchFile({"\"" + findGstatFn(fb3) + "\" -h \"" + (scratch / "c\xC3\xA9g adat_FB3.fdb") + "\" > \"" + target +
                   "\""},
                  scratch / "check.bat");
    runToEnd(scratch / "check.bat");
    EXPECT_TRUE(anyLineHas(readOutputLines(target, platform::ansiCodePage()), "ODS version", "12.0"));
}

// What cmd hands to the tool: quoted credentials arrive whole, without the quotes; a value that no
// spelling brings through unchanged gives no lines at all.
TEST_F(BatchEngine, CredentialsArriveUnchangedOrTheDatabaseGetsNoLines) {
    for (const char* server : {"old", "new"}) {
        const std::string folder = scratch.folder(server);
        copyFile("C:\\fbwb-fixture\\argrecorder.exe", folder + "\\instsvc.exe");
        copyFile("C:\\fbwb-fixture\\argrecorder.exe", folder + "\\gbak.exe");
    }
    const std::string database = scratch / "adat.fdb";
    TFirebird3CommandLineGenerator generator;
    const LocalDateTime when{2017, 3, 15, 14, 25, 1};
    ASSERT_FALSE(generator.addConvertFdbCmdLines(scratch / "old", scratch / "new", database, "SYS DBA", "a&b|c",
                                                 "u(1)", "p<q>r", when));
    const auto refused =
        generator.addConvertFdbCmdLines(scratch / "old", scratch / "new", database, "SYSDBA", "50%off", "SYSDBA",
                                        "x", when);
    ASSERT_TRUE(refused);
    EXPECT_NE(refused->find("jelsz\xC3\xB3"), std::string::npos) << *refused;
    EXPECT_EQ(refused->find("50%off"), std::string::npos) << "a password is not repeated";
    ASSERT_EQ(generator.cmdLines().size(), 7u) << "the refused database adds nothing";

    saveBatchFile(generator.cmdLines(), scratch / "convert.bat");
    runToEnd(scratch / "convert.bat");

    const auto oldCalls = platform::readFileBytes(scratch / "old\\gbak.exe.calls.txt");
    const auto newCalls = platform::readFileBytes(scratch / "new\\gbak.exe.calls.txt");
    ASSERT_TRUE(oldCalls && newCalls);
    const std::string backup = scratch / "adat_20170315_142501.fbk";
    EXPECT_NE(oldCalls->find("\t[-v]\t[-t]\t[-USER]\t[SYS DBA]\t[-PASSWORD]\t[a&b|c]\t[" + database + "]\t[" + backup +
                             "]"),
              std::string::npos)
        << *oldCalls;
    EXPECT_NE(newCalls->find("\t[-c]\t[-v]\t[-USER]\t[u(1)]\t[-PASSWORD]\t[p<q>r]\t[" + backup + "]\t[" +
                             (scratch / "adat_FB3.fdb") + "]"),
              std::string::npos)
        << *newCalls;
}
