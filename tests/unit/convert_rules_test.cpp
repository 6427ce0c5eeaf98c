// The conversion's portable rules: the server folder boxes, the version view's columns, its check
// over the list lines, the filter, and the batch's name.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "convert/convert_rules.h"
#include "core/text.h"
#include "tasks/fdb_header.h"

using namespace fbwb;
using Strings = std::vector<std::string>;

TEST(ConvertRules, ServerFoldersGoIntoTheBoxOfTheirFirstDigit) {
    struct Case {
        const char* list;
        Strings oldServers, newServers;
    } cases[] = {
        {"C:\\Program Files\\Firebird\\Firebird_2_5\r\nC:\\Program Files\\Firebird\\Firebird_3_0",
         {"C:\\Program Files\\Firebird\\Firebird_2_5"},
         {"C:\\Program Files\\Firebird\\Firebird_3_0"}},
        // Letter case of the marker does not matter; the lines keep theirs.
        {"c:\\kelmora.win\\firebird\\Firebird_3_0\nC:\\KELMORA.WIN\\FIREBIRD\\FB25",
         {"C:\\KELMORA.WIN\\FIREBIRD\\FB25"},
         {"c:\\kelmora.win\\firebird\\Firebird_3_0"}},
        // No marker (a folder merely named Firebird...), or no digit after it: in neither box.
        {"D:\\Firebird_2_5\r\nC:\\Firebird\\Docs\r\nC:\\Prog\\FirebirdX\\Firebird_2_5", {}, {}},
        // Digits before the marker do not count; 0, 1 and 2 are old, 3 and above new.
        {"C:\\Fb3\\Firebird\\Server_2_5\r\nC:\\Firebird\\v1_5\r\nC:\\Firebird\\x0\r\nC:\\Firebird\\Firebird_4_0",
         {"C:\\Fb3\\Firebird\\Server_2_5", "C:\\Firebird\\v1_5", "C:\\Firebird\\x0"},
         {"C:\\Firebird\\Firebird_4_0"}},
        // The marker's closing backslash is where the digits are looked for: a file name right after it.
        {"C:\\Firebird\\25", {"C:\\Firebird\\25"}, {}},
        // Blank lines and the list's surrounding blanks are dropped; blanks inside a line stay.
        {"\r\n  C:\\Firebird\\Firebird_3_0\r\n\r\n", {}, {"C:\\Firebird\\Firebird_3_0"}},
        {"", {}, {}},
    };
    for (const auto& c : cases) {
        const ServerFolderBoxes boxes = splitServerFolders(c.list);
        EXPECT_EQ(boxes.oldServers, c.oldServers) << c.list;
        EXPECT_EQ(boxes.newServers, c.newServers) << c.list;
    }
}

TEST(ConvertRules, ColumnWidthsRoundHalvesToEven) {
    struct Case {
        int grid, first, second;
    } cases[] = {
        {736, 504, 216},               // 720 * 0.7 exactly
        {21, 4, 1},                    // 3.5: the even neighbour is 4
        {31, 10, 5},                   // 10.5: the even neighbour is 10
        {17, 1, 0},                    // 0.7
        {18, 1, 1},                    // 1.4
        {16, 0, 0},      {6, -7, -3},  // -7.0 (a grid narrower than the margin)
        {11, -4, -1},                  // -3.5: the even neighbour is -4
    };
    for (const auto& c : cases) {
        const GridColumnWidths widths = gridColumnWidths(c.grid);
        EXPECT_EQ(widths.first, c.first) << c.grid;
        EXPECT_EQ(widths.second, c.second) << c.grid;
    }
}

// Blank lines take no row but advance the position and the run identifiers; the first database
// takes over the empty first row; the readers' answers are trimmed before they are labelled.
TEST(ConvertRules, VersionCheckCountsBlankLinesAndLabelsEachFile) {
    const Strings lines = {"  ", "C:\\a.fdb", "", " C:\\b.fdb ", "C:\\c.fdb", "\t"};
    Strings calls;
    std::vector<int> positions;
    std::vector<size_t> rowCounts;
    const auto rows = checkFbVersions(
        lines,
        [&](const std::string& line, const std::string& runId) {
            calls.push_back(runId + "|" + line);
            if (runId == "2") return std::string(" 112\r\n");
            if (runId == "4") return std::string("120");
            return std::string();
        },
        [&](int position, const std::vector<FdbEntry>& soFar) {
            positions.push_back(position);
            rowCounts.push_back(soFar.size());
        });
    EXPECT_EQ(calls, (Strings{"2|C:\\a.fdb", "4| C:\\b.fdb ", "5|C:\\c.fdb"}));
    EXPECT_EQ(positions, (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(rowCounts, (std::vector<size_t>{1, 1, 1, 2, 3, 3}));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].fdbFn, "C:\\a.fdb");
    EXPECT_EQ(rows[0].fbVersionLabel, "Firebird 2.5");
    EXPECT_EQ(rows[1].fdbFn, " C:\\b.fdb ");
    EXPECT_EQ(rows[1].fbVersionLabel, "Firebird 3");
    EXPECT_EQ(rows[2].fbVersionLabel, "     ?");

    // Nothing to check: the one empty row stays.
    const auto none = checkFbVersions({"", " "}, [](const std::string&, const std::string&) { return "112"; }, {});
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(none[0].fdbFn, "");
    EXPECT_EQ(none[0].fbVersionLabel, "");
}

// A reader that fails stops the check; what was filled so far is what the callback saw.
TEST(ConvertRules, VersionCheckStopsAtAFailingReader) {
    size_t rowsSeen = 0;
    EXPECT_THROW(checkFbVersions(
                     {"C:\\a.fdb", "C:\\b.fdb", "C:\\c.fdb"},
                     [](const std::string& line, const std::string&) -> std::string {
                         if (line == "C:\\b.fdb") throw std::runtime_error("gstat");
                         return "120";
                     },
                     [&](int, const std::vector<FdbEntry>& rows) { rowsSeen = rows.size(); }),
                 std::runtime_error);
    EXPECT_EQ(rowsSeen, 1u);
}

// Only rows labelled exactly "Firebird 2.5" stay, in order and untrimmed; the empty row of an
// empty check goes too.
TEST(ConvertRules, FilterKeepsExactlyTheFirebird25Rows) {
    const std::vector<FdbEntry> rows = {
        {"C:\\a.fdb", "112", "Firebird 2.5"},
        {"C:\\b.fdb", "120", "Firebird 3"},
        {"C:\\c.fdb", "", "     ?"},
        {" C:\\d.fdb", "11", "Firebird 2.5"},
        {"C:\\e.fdb", "", "Firebird 2.5 "},
        {"C:\\f.fdb", "", "firebird 2.5"},
        {"", "", ""},
    };
    EXPECT_EQ(firebird25Files(rows), (Strings{"C:\\a.fdb", " C:\\d.fdb"}));
    EXPECT_TRUE(firebird25Files({FdbEntry{}}).empty());
}

// A header report in Firebird 2.5's layout (its own fields, no System Change Number) reads as ODS
// 11.2, is labelled "Firebird 2.5" and survives the filter.
TEST(ConvertRules, StoredFirebird25ReportIsKeptByTheFilter) {
    std::ifstream in(std::string(FBWB_TEST_DATA_DIR) + "/gstat/firebird25-header.txt", std::ios::binary);
    ASSERT_TRUE(in);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const Strings report = splitLines(bytes.str());
    const auto rows =
        checkFbVersions({"C:\\KELMORA.WIN\\2017\\adat\\12345678.000\\kelmora.fdb", "C:\\uj.fdb"},
                        [&](const std::string& line, const std::string&) {
                            return line == "C:\\uj.fdb" ? std::string("120") : getOdsFromHeaderReport(report);
                        },
                        {});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].odsDigits, "112");
    EXPECT_EQ(rows[0].fbVersionLabel, "Firebird 2.5");
    EXPECT_EQ(firebird25Files(rows), (Strings{"C:\\KELMORA.WIN\\2017\\adat\\12345678.000\\kelmora.fdb"}));
}

TEST(ConvertRules, DatabaseLinesSkipBlankOnesAndKeepTheRestAsTyped) {
    EXPECT_EQ(databaseLines({"", " C:\\a.fdb ", "\t ", "C:\\b.fdb"}), (Strings{" C:\\a.fdb ", "C:\\b.fdb"}));
    EXPECT_TRUE(databaseLines({}).empty());
}

TEST(ConvertRules, BatchPathInNowModeIsInTheTempFolderInBatchModeAsTyped) {
    struct Case {
        bool now;
        const char* temp;
        const char* typed;
        const char* path;
    } cases[] = {
        {true, "c:\\KELMORA.WIN\\", "d:\\x.bat", "c:\\KELMORA.WIN\\fdbConversions.bat"},
        {true, "  c:\\KELMORA.WIN ", "", "c:\\KELMORA.WIN\\fdbConversions.bat"},
        {false, "c:\\KELMORA.WIN\\", " d:\\batches\\conv.bat ", " d:\\batches\\conv.bat "},
        {false, "c:\\KELMORA.WIN\\", "", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(conversionBatchPath(c.now, c.temp, c.typed), c.path) << c.temp << c.typed;
}
