// The batch lines of the maintenance and settings runs, and the page-buffer arithmetic.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tasks/db_task_lines.h"

using namespace fbwb;

namespace {

const LocalDateTime kStamp{2017, 3, 15, 14, 25, 1};

MaintenanceLineInput input() {
    return {"G", "K", "D", "SYSDBA", "qwdbadmin", "c:\\KELMORA.WIN\\fdbMaintain_0.txt", "B"};
}

}  // namespace

TEST(MaintenanceLines, AllFourStepsGiveTheSixLinesInOrder) {
    const std::vector<std::string> expected = {
        R"(call "G" -USER SYSDBA -PASSWORD qwdbadmin "D" -v -full -i -n   >>  "c:\KELMORA.WIN\fdbMaintain_0.txt")",
        R"(call "G" -USER SYSDBA -PASSWORD qwdbadmin "D" -sweep   >>  "c:\KELMORA.WIN\fdbMaintain_0.txt")",
        R"(call "G" -USER SYSDBA -PASSWORD qwdbadmin "D" -mend   >>  "c:\KELMORA.WIN\fdbMaintain_0.txt")",
        R"(call "K" -v -t -USER SYSDBA -PASSWORD qwdbadmin "D" "B"   >>  "c:\KELMORA.WIN\fdbMaintain_0.txt")",
        R"(call "K" -c -v -USER SYSDBA -PASSWORD qwdbadmin "B" "D"   >>  "c:\KELMORA.WIN\fdbMaintain_0.txt")",
        R"(del "B")",
    };
    EXPECT_EQ(maintenanceLines({true, true, true, true}, input()), expected);
}

TEST(MaintenanceLines, EachStepAddsOnlyItsLines) {
    struct Case {
        MaintenanceSteps steps;
        std::vector<size_t> lines;  // indices into the six lines of all steps
    };
    const auto all = maintenanceLines({true, true, true, true}, input());
    for (const Case& c : {Case{{true, false, false, false}, {0, 1, 2}}, Case{{false, true, false, false}, {3}},
                          Case{{false, true, true, false}, {3, 4}}, Case{{false, true, true, true}, {3, 4, 5}},
                          Case{{false, false, false, false}, {}}}) {
        std::vector<std::string> expected;
        for (size_t i : c.lines) expected.push_back(all[i]);
        EXPECT_EQ(maintenanceLines(c.steps, input()), expected);
    }
}

TEST(MaintenanceLines, NoLogFileMeansNoRedirection) {
    MaintenanceLineInput plain = input();
    plain.logFile.clear();
    EXPECT_EQ(maintenanceLines({false, true, false, false}, plain).front(),
              R"(call "K" -v -t -USER SYSDBA -PASSWORD qwdbadmin "D" "B" )");
}

TEST(MaintenanceLines, CredentialsWithOperatorsAreQuotedAndBadValuesRefused) {
    MaintenanceLineInput odd = input();
    odd.userName = "a&b";
    odd.password = "p w";
    EXPECT_EQ(maintenanceLines({true, false, false, false}, odd)[1],
              R"(call "G" -USER "a&b" -PASSWORD "p w" "D" -sweep   >>  "c:\KELMORA.WIN\fdbMaintain_0.txt")");
    EXPECT_FALSE(refuseDatabaseTaskValues("c:\\adat\\a.fdb", "SYSDBA", "qwdbadmin"));
    EXPECT_TRUE(refuseDatabaseTaskValues("c:\\100%\\a.fdb", "SYSDBA", "x"));
    EXPECT_TRUE(refuseDatabaseTaskValues("c:\\a.fdb", "SYS\"DBA", "x"));
    const auto secret = refuseDatabaseTaskValues("c:\\a.fdb", "SYSDBA", "titok%1");
    ASSERT_TRUE(secret);
    EXPECT_EQ(secret->find("titok"), std::string::npos) << "the password is not repeated in the log";
}

TEST(MaintenanceNames, LogAndBackupFiles) {
    EXPECT_EQ(maintenanceLogFileName(" c:\\KELMORA.WIN ", 0), "c:\\KELMORA.WIN\\fdbMaintain_0.txt");
    EXPECT_EQ(maintenanceLogFileName("c:\\KELMORA.WIN\\", 12), "c:\\KELMORA.WIN\\fdbMaintain_12.txt");
    EXPECT_EQ(maintenanceBackupFileName("c:\\KELMORA.WIN\\2017\\adat\\12345678.000\\kelmora.fdb", kStamp),
              "c:\\KELMORA.WIN\\2017\\adat\\12345678.000\\kelmora_20170315_142501.fbk");
    EXPECT_EQ(maintenanceBackupFileName("c:\\data\\db", kStamp), "c:\\data\\db_20170315_142501.fbk");
    EXPECT_EQ(maintenanceBackupFileName("c:\\a.b\\db", kStamp), "c:\\a.b\\db_20170315_142501.fbk");
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
