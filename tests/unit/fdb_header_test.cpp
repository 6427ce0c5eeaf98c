// Reading gstat -h reports: the ODS from the header line or the wrong-ODS message, labelled
// fields, the version label; the inspection's file names and batch line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/text.h"
#include "tasks/fdb_header.h"

using namespace fbwb;

namespace {

// A Firebird 3 header report as gstat -h writes it (tabs as in the real output), with a cache and
// two attributes set.
const std::vector<std::string> kFb3Report = {
    "",
    "Database \"C:\\KELMORA.WIN\\2026\\adat\\kelmora.fdb\"",
    "Gstat execution time Thu Dec 10 13:59:37 2026",
    "",
    "Database header page information:",
    "\tFlags\t\t\t0",
    "\tGeneration\t\t8",
    "\tSystem Change Number\t0",
    "\tPage size\t\t8192",
    "\tODS version\t\t12.0",
    "\tOldest transaction\t1",
    "\tNext transaction\t5",
    "\tPage buffers\t\t2048",
    "\tDatabase dialect\t3",
    "\tCreation date\t\tDec 10, 2026 12:52:53",
    "\tAttributes\t\tforce write, no reserve",
    "",
    "    Variable header data:",
    "\t*END*",
    "Gstat completion time Thu Dec 10 13:59:37 2026",
};

}  // namespace

TEST(FdbHeader, VersionLabel) {
    struct Case {
        const char* digits;
        const char* label;
    } cases[] = {
        {"112", "Firebird 2.5"}, {"110", "Firebird 2.5"}, {"11", "Firebird 2.5"},   {"120", "Firebird 3"},
        {"12", "Firebird 3"},    {" 120\r\n", "Firebird 3"}, {"101", "     ?"},     {"13", "     ?"},
        {"21", "     ?"},        {"1", "     ?"},            {"", "     ?"},        {"   ", "     ?"},
    };
    for (const Case& c : cases) EXPECT_EQ(getFbVersionLabel(c.digits), c.label) << '"' << c.digits << '"';
}

TEST(FdbHeader, WrongOdsText) {
    struct Case {
        const char* text;
        const char* digits;
    } cases[] = {
        // Firebird 3's gstat on a Firebird 2.5 file, and 2.5's gstat on a Firebird 3 file.
        {"Wrong ODS version, expected 12, encountered 11", "11"},
        {"Wrong ODS version, expected 11, encountered 12", "12"},
        {"\r\n\r\n   Wrong ODS version, expected 11, encountered 12\r\n", "12"},
        {"WRONG ODS VERSION, EXPECTED 12, ENCOUNTERED 11", "11"},
        {"wrong ods version, expected 12, Encountered 11", "11"},
        // The digits run to the end of the whole text, across line breaks.
        {"Wrong ODS version, expected 12, encountered 11\r\n-line 2", "112"},
        // Only the first occurrence counts; digits before it never do.
        {"expected 12, encountered 11, encountered 13", "1113"},
        {"Wrong ODS version, expected 12", ""},
        {"Wrong ODS version, expected 12, encountered", ""},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(getOdsFromWrongOdsText(c.text), c.digits) << c.text;
}

TEST(FdbHeader, OdsLine) {
    struct Case {
        std::vector<std::string> lines;
        const char* digits;
    } cases[] = {
        {kFb3Report, "120"},
        {{"\tODS version\t\t11.2"}, "112"},
        {{"\tODS version\t\t10.1"}, "101"},
        {{"  ods Version 11.0"}, "110"},
        // Only a line that starts with the words counts, and only the first such line.
        {{"\tMinor ODS version 3", "Database \"c:\\ODS version 9\\x.fdb\""}, ""},
        {{"\tODS version\t\t12.0", "\tODS version\t\t11.2"}, "120"},
        {{"\tPage size\t\t8192"}, ""},
        {{}, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(getOdsFromHeaderLines(c.lines), c.digits) << joinLinesCrLf(c.lines);
}

// The whole report: the wrong-ODS message counts only at its very start (after blank lines).
TEST(FdbHeader, WholeReport) {
    struct Case {
        std::vector<std::string> lines;
        const char* digits;
        const char* label;
    } cases[] = {
        {kFb3Report, "120", "Firebird 3"},
        {{"", "  ", "Wrong ODS version, expected 11, encountered 12"}, "12", "Firebird 3"},
        {{"Wrong ODS version, expected 12, encountered 11"}, "11", "Firebird 2.5"},
        {{"\t\twrong ods version, expected 12, encountered 11"}, "11", "Firebird 2.5"},
        {{"Database \"c:\\x.fdb\"", "Wrong ODS version, expected 12, encountered 11"}, "", "     ?"},
        {{"Database \"c:\\x.fdb\"", "Wrong ODS version, expected 12, encountered 11", "\tODS version\t\t11.2"},
         "112",
         "Firebird 2.5"},
        {{"Unexpected end of database file."}, "", "     ?"},
        {{"", ""}, "", "     ?"},
        {{}, "", "     ?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(joinLinesCrLf(c.lines));
        const std::string digits = getOdsFromHeaderReport(c.lines);
        EXPECT_EQ(digits, c.digits);
        EXPECT_EQ(getFbVersionLabel(digits), c.label);
    }
}

TEST(FdbHeader, HeaderField) {
    struct Case {
        std::vector<std::string> lines;
        const char* label;
        int index;
        const char* value;
    } cases[] = {
        {kFb3Report, "Page buffers", 12, "2048"},
        {kFb3Report, "PAGE BUFFERS", 12, "2048"},
        {kFb3Report, " page Buffers\t", 12, "2048"},
        // The value keeps its own letter case.
        {kFb3Report, "attributes", 15, "force write, no reserve"},
        {{"\tPAGE BUFFERS\t\t5000"}, "Page buffers", 0, "5000"},
        {{"\tpage buffers\t\t \t5000 \t"}, "Page buffers", 0, "5000"},
        // After gfix -write async the line stays with an empty value: found, not -1.
        {{"\tPage buffers\t\t0", "\tAttributes\t\t"}, "Attributes", 1, ""},
        {{"\tAttributes\t"}, "Attributes", 0, ""},
        // The first matching line wins.
        {{"\tPage buffers\t\t1", "\tPage buffers\t\t2"}, "Page buffers", 0, "1"},
        // Without the leading tab, with a blank instead of the tab, or a longer label: not found.
        {{"Page buffers\t\t2048"}, "Page buffers", -1, ""},
        {{" \tPage buffers\t\t2048"}, "Page buffers", -1, ""},
        {{"\tPage buffers 2048"}, "Page buffers", -1, ""},
        {{"\tPage buffers"}, "Page buffers", -1, ""},
        {{"\tPage buffers count\t\t7"}, "Page buffers", -1, ""},
        {{}, "Page buffers", -1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.label) + " in " + joinLinesCrLf(c.lines));
        const GstatHeaderField field = findGstatHeaderField(c.lines, c.label);
        EXPECT_EQ(field.index, c.index);
        EXPECT_EQ(field.value, c.value);
    }
}

TEST(FdbHeader, InspectionFiles) {
    EXPECT_EQ(gstatRequestFileName("c:\\KELMORA.WIN\\", "3"), "c:\\KELMORA.WIN\\gstatRq3.bat");
    EXPECT_EQ(gstatResultFileName("c:\\KELMORA.WIN\\", "3"), "c:\\KELMORA.WIN\\gstatRes3.txt");
    EXPECT_EQ(gstatRequestFileName("c:\\t\\", ""), "c:\\t\\gstatRq.bat");
    EXPECT_EQ(gstatResultFileName("c:\\t\\", "12"), "c:\\t\\gstatRes12.txt");

    EXPECT_EQ(gstatHeaderBatchLine("c:\\Firebird 3\\gstat.exe", "d:\\adat\\Árvíztűrő.fdb", "c:\\t\\gstatRes1.txt"),
              "\"c:\\Firebird 3\\gstat.exe\" -h \"d:\\adat\\Árvíztűrő.fdb\" >> \"c:\\t\\gstatRes1.txt\"");
    // A value that looks like a format place is written as it is.
    EXPECT_EQ(gstatHeaderBatchLine("g.exe", "%s.fdb", "r.txt"), "\"g.exe\" -h \"%s.fdb\" >> \"r.txt\"");
}
