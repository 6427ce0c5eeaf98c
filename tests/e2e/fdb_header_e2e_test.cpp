// Header inspection end to end: the program's one-line batch opened through the shell, Wine's cmd,
// the machine's gstat stand-ins and Debian's Firebird 3 gstat, and the report read back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/file_helpers_win.h"
#include "core/text.h"
#include "e2e/machine.h"
#include "env/server_discovery_win.h"
#include "platform/encoding.h"
#include "platform/fs.h"
#include "script/batch_files_win.h"
#include "tasks/fdb_header.h"
#include "tasks/fdb_header_win.h"
#include "win/temp_folder.h"

using namespace fbwb;
using test::copyFile;
using test::environment;

namespace {

const char* const kUnknownLabel = "     ?";

// The files of the folder, by name.
std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    listFilesInFolder(folder, "*", names, true, false);
    return names;
}

// The shared Firebird 2.5 fixtures as Wine sees them (the host's root is drive Z:).
std::string firebird25Fixtures() { return "Z:" + replaceAll(FBWB_SHARED_DIR "/fixtures/firebird25/", "/", "\\"); }

class FdbHeaderE2E : public testing::Test {
protected:
    void SetUp() override {
        const std::string machineRoot = environment("FBWB_MACHINE_ROOT");
        ASSERT_FALSE(machineRoot.empty()) << "FBWB_MACHINE_ROOT is not set (tests/harness/wine-run.sh sets it)";
        dataFolder = folderPrefix(environment("FBWB_DATA_FOLDER"));
        fb3 = folderPrefix(machineRoot) + "Firebird\\Firebird_3_0";
        fb25 = folderPrefix(machineRoot) + "Firebird\\Firebird_2_5";
        // Blanks and accents in the temp folder travel through the OEM batch and the redirection.
        temp = scratch / "\xC3\x81tmeneti mappa\\fej\\";
        database = scratch / "kelmora.fdb";
        copyFile("C:\\fbwb-fixture\\template.fdb", database);
    }

    // The batch file the inspection leaves, byte for byte: one line in the OEM code page.
    static std::string expectedBatch(const std::string& gstat, const std::string& fdb, const std::string& result) {
        return platform::toCodePage(gstatHeaderBatchLine(gstat, fdb, result), platform::oemCodePage()) + "\r\n";
    }

    test::TempFolder scratch;
    std::string dataFolder, fb3, fb25, temp, database;
};

}  // namespace

// A Firebird 3 database through the first folder's gstat; the temp folder is created, the two
// files stay, and a stale report of the same run identifier is replaced rather than appended to.
TEST_F(FdbHeaderE2E, Firebird3DatabaseGivesOds12) {
    const std::string batchFile = temp + "gstatRq1.bat";
    const std::string resultFile = temp + "gstatRes1.txt";
    platform::createFolders(temp);
    platform::writeFileBytes(resultFile, "\tODS version\t\t11.2\r\n");
    platform::writeFileBytes(batchFile, "exit\r\n");

    const std::string ods = getFdbOdsVersion(fb3, fb25, temp, "  " + database + " \t", "1");
    EXPECT_EQ(ods, "120");
    EXPECT_EQ(getFbVersionLabel(ods), "Firebird 3");

    EXPECT_EQ(platform::readFileBytes(batchFile), expectedBatch(findGstatFn(fb3), database, resultFile));
    const std::vector<std::string> report = readOutputLines(resultFile, platform::ansiCodePage());
    EXPECT_EQ(getOdsFromHeaderLines(report), "120");
    EXPECT_GE(findGstatHeaderField(report, "Page buffers").index, 0) << joinLinesCrLf(report);
    EXPECT_EQ(filesIn(temp).size(), 2u);
}

// The data folder's databases, read-only: a plain one and one with an accented folder and name,
// with the temp folder given without its trailing backslash.
TEST_F(FdbHeaderE2E, MachineDatabasesGiveOds12) {
    const std::string accented =
        dataFolder + "\xC3\x81rv\xC3\xADzt\xC5\xB1r\xC5\x91 Kft\\t\xC3\xBCk\xC3\xB6rf\xC3\xBAr\xC3\xB3g\xC3\xA9p.fdb";
    for (const std::string& fdb : {dataFolder + "kelmora.fdb", accented}) {
        SCOPED_TRACE(fdb);
        const std::string ods = getFdbOdsVersion(fb3, fb25, temp.substr(0, temp.size() - 1), fdb, "2");
        EXPECT_EQ(ods, "120");
        EXPECT_EQ(platform::readFileBytes(temp + "gstatRq2.bat"),
                  expectedBatch(findGstatFn(fb3), fdb, temp + "gstatRes2.txt"));
    }
}

// Firebird 3's gstat writes the wrong-ODS message to stderr, which the batch does not redirect:
// the report stays empty, and so does the result (from both folders' gstat).
TEST_F(FdbHeaderE2E, Firebird25DatabaseGivesNothingThroughFirebird3Tools) {
    const std::string fixtures = firebird25Fixtures();
    if (!platform::folderExists(fixtures)) GTEST_SKIP() << "no Firebird 2.5 fixtures at " << fixtures;
    const std::string old = scratch / "ods11_2.fdb";
    copyFile(fixtures + "ods11_2.fdb", old);

    const std::string ods = getFdbOdsVersion(fb3, fb25, temp, old, "3");
    EXPECT_EQ(ods, "");
    EXPECT_EQ(getFbVersionLabel(ods), kUnknownLabel);
    // The second run (2.5's folder, tools in bin\) wrote the files last.
    EXPECT_EQ(platform::readFileBytes(temp + "gstatRq3.bat"),
              expectedBatch(findGstatFn(fb25), old, temp + "gstatRes3.txt"));
    EXPECT_EQ(platform::readFileBytes(temp + "gstatRes3.txt"), "");
}

TEST_F(FdbHeaderE2E, NoDatabaseGivesNothing) {
    const std::string text = scratch.file("jegyzet.fdb", "Ez nem adatb\xC3\xA1zis.\r\n");
    for (const std::string& fdb : {text, dataFolder + "broken.fdb", dataFolder + "12345678.000\\jegyzet.txt",
                                   scratch / "nincs.fdb"}) {
        SCOPED_TRACE(fdb);
        const std::string ods = getFdbOdsVersion(fb3, fb25, temp, fdb, "4");
        EXPECT_EQ(ods, "");
        EXPECT_EQ(getFbVersionLabel(ods), kUnknownLabel);
        EXPECT_TRUE(platform::fileExists(temp + "gstatRq4.bat"));
    }
}

// The first folder is a server folder without gstat: the second's is used, with the same files.
TEST_F(FdbHeaderE2E, FirstFolderWithoutGstatFallsBackToSecond) {
    const std::string noGstat = scratch.folder("Firebird_0_0");
    scratch.file("Firebird_0_0\\instsvc.exe", "MZ");
    ASSERT_EQ(findGstatFn(noGstat), "");

    const std::string ods = getFdbOdsVersion(noGstat, fb25, temp, database, "5");
    EXPECT_EQ(ods, "120");
    EXPECT_EQ(platform::readFileBytes(temp + "gstatRq5.bat"),
              expectedBatch(findGstatFn(fb25), database, temp + "gstatRes5.txt"));
    EXPECT_EQ(filesIn(temp).size(), 2u);
}

// A result from the first folder is used without consulting the second.
TEST_F(FdbHeaderE2E, FirstFolderResultIsUsed) {
    EXPECT_EQ(getFdbOdsVersion(fb25, fb3, temp, database, "6"), "120");
    EXPECT_EQ(platform::readFileBytes(temp + "gstatRq6.bat"),
              expectedBatch(findGstatFn(fb25), database, temp + "gstatRes6.txt"));
}

// Nothing to run: neither folder has gstat, no database or temp folder is named, the database's
// path would break the batch line, or a path holds a letter that the batch's code page lacks (gstat
// would read kelmora.fdb for kelmorà.fdb). No batch or result file is created.
TEST_F(FdbHeaderE2E, NothingRunGivesNothingAndWritesNothing) {
    const std::string noGstat = scratch.folder("Firebird_0_0");
    scratch.file("Firebird_0_0\\instsvc.exe", "MZ");
    const std::string notServer = scratch.folder("Docs");
    const std::string percent = scratch / "100%PATH%.fdb";
    copyFile(database, percent);
    const std::string lookAlike = scratch.file("kelmor\xC3\xA0.fdb", "nem adatb\xC3\xA1zis\r\n");
    struct Case {
        std::string first, second, tempFolder, fdb;
    } cases[] = {
        {noGstat, notServer, temp, database},
        {"", "  ", temp, database},
        {fb3, fb25, temp, " \t "},
        {fb3, fb25, " ", database},
        {fb3, fb25, temp, percent},
        {fb3, fb25, temp, lookAlike},
        {fb3, fb25, scratch / "\xC3\x98\\", database},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first + " | " + c.second + " | " + c.tempFolder + " | " + c.fdb);
        const std::string ods = getFdbOdsVersion(c.first, c.second, c.tempFolder, c.fdb, "7");
        EXPECT_EQ(ods, "");
        EXPECT_EQ(getFbVersionLabel(ods), kUnknownLabel);
        EXPECT_TRUE(filesIn(temp).empty());
    }
}

// One run on its own: the named files are used as given, and a folder without gstat writes nothing.
TEST_F(FdbHeaderE2E, SingleRun) {
    platform::createFolders(temp);
    const std::string batchFile = temp + "sajat.bat";
    const std::string resultFile = temp + "sajat.txt";
    EXPECT_EQ(runGstatHeader(scratch.folder("ures"), resultFile, batchFile, database), "");
    EXPECT_TRUE(filesIn(temp).empty());
    EXPECT_EQ(runGstatHeader(fb3, resultFile, batchFile, database), "120");
    EXPECT_EQ(platform::readFileBytes(batchFile), expectedBatch(findGstatFn(fb3), database, resultFile));
}
