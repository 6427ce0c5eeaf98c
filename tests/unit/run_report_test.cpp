#include <gtest/gtest.h>

#include "tasks/run_report.h"

using namespace fbwb;
using Lines = std::vector<std::string>;

namespace {
const LocalDateTime kStart{2017, 3, 5, 23, 59, 58};
}

TEST(RunReport, StartGivesTitleWithStartDateAndTableStart) {
    struct Case {
        RunReport run;
        const char* title;
        const char* tableStart;
        const char* fileName;
    };
    const Case cases[] = {
        {RunReport::Maintenance, "Firebird adatbázisok karbantartása - 2017.03.05",
         "<table cellSpacing=\"1\" cellPadding=\"0\" border=\"1\">", "DbMaintainResults.htm"},
        {RunReport::Settings, "Firebird adatbázisok beállításai - 2017.03.05",
         "<table cellSpacing=\"1\" cellPadding=\"0\" border=\"1\"><tr><th>&lt;Adatbázis-fájl&gt;</th>"
         "<th>Page buffers</th><th>Attributes</th></tr>",
         "DbSettingResults.htm"},
    };
    for (const Case& c : cases) {
        THtml5Producer page;
        page.createSimlePage("earlier run", "<table>\r\nrow of the earlier run\r\n");
        startRunReport(page, c.run, kStart);
        EXPECT_EQ(page.title(), c.title);
        EXPECT_EQ(page.body, Lines{c.tableStart});
        EXPECT_EQ(page.meta, Lines{"<meta charset=\"windows-1250\">"});
        EXPECT_EQ(runReportFileName(c.run), c.fileName);
    }
}

// Path and outcome as text, the log as a file URL.
TEST(RunReport, MaintenanceEntryShowsTheOutcomeInItsColour) {
    for (const bool succeeded : {true, false}) {
        THtml5Producer page;
        startRunReport(page, RunReport::Maintenance, kStart);
        addMaintenanceReportEntry(page, "c:\\A&B <2017>\\könyv.fdb", "c:\\Kovács & Társa\\fdbMaintain_0 #1.txt",
                                  succeeded, "x <y> & z");
        EXPECT_EQ(
            page.body,
            (Lines{"<table cellSpacing=\"1\" cellPadding=\"0\" border=\"1\">",
                   "<B>A(z) \"c:\\A&amp;B &lt;2017&gt;\\könyv.fdb\" adatbázis karbantartása </b><br />",
                   std::string("<span style=\"background-color:#") + (succeeded ? "8ada8a\">x" : "ff7777\">HIBA: x") +
                       " &lt;y&gt; &amp; z</span><br />",
                   "<font color=\"#CCCCCC\">A művelet végrehajtása során keletkezett naplóbejegyzések "
                   "megtekintéséhez <a href=\"file:///c:/Kov%C3%A1cs%20%26%20T%C3%A1rsa/fdbMaintain_0%20%231.txt\">"
                   "kattintson ide</a></font>.<br /><br />"}));
    }
}

TEST(RunReport, SettingsCellColourMessageAndLogLine) {
    struct Case {
        const char* label;
        const char* expected;
        const char* read;
        bool found;
        const char* cell;
        const char* logLine;
    };
    const Case cases[] = {
        {"Page buffers", "38400", "38400", true,
         "<td bgColor=\"8ada8a\">OK. A(z) Page buffers parameter elvart erteke megegyezik a kiolvasottal: "
         "38400</td>",
         "OK. A(z) Page buffers parameter elvart erteke megegyezik a kiolvasottal: 38400"},
        {"Attributes", "", "", true,
         "<td bgColor=\"8ada8a\">OK. A(z) Attributes parameter elvart erteke megegyezik a kiolvasottal: </td>",
         "OK. A(z) Attributes parameter elvart erteke megegyezik a kiolvasottal: "},
        {"Attributes", "", "force write", true,
         "<td bgColor=\"ff7777\">A(z) Attributes parameter elvart erteke NEM EGYEZIK MEG a kiolvasottal. "
         "Elvárt érték:    Kiolvasott érték: force write</td>",
         "HIBA   ---> A(z) Attributes parameter elvart erteke NEM EGYEZIK MEG a kiolvasottal. "
         "Elvárt érték:    Kiolvasott érték: force write"},
        // Compared as text, letter case included.
        {"Attributes", "Read Only", "read only", true,
         "<td bgColor=\"ff7777\">A(z) Attributes parameter elvart erteke NEM EGYEZIK MEG a kiolvasottal. "
         "Elvárt érték: Read Only   Kiolvasott érték: read only</td>",
         "HIBA   ---> A(z) Attributes parameter elvart erteke NEM EGYEZIK MEG a kiolvasottal. "
         "Elvárt érték: Read Only   Kiolvasott érték: read only"},
        // What gstat printed is text in the cell, as it is in the log.
        {"Attributes", "", "<force write> & \"x\"", true,
         "<td bgColor=\"ff7777\">A(z) Attributes parameter elvart erteke NEM EGYEZIK MEG a kiolvasottal. "
         "Elvárt érték:    Kiolvasott érték: &lt;force write&gt; &amp; &quot;x&quot;</td>",
         "HIBA   ---> A(z) Attributes parameter elvart erteke NEM EGYEZIK MEG a kiolvasottal. "
         "Elvárt érték:    Kiolvasott érték: <force write> & \"x\""},
        // Not found wins over a read value that happens to match.
        {"Page buffers", "2048", "2048", false,
         "<td bgColor=\"ff7777\">A(z) Page buffers parameter NEM található meg az eredmények között. "
         "Elvárt érték: 2048</td>",
         "HIBA   ---> A(z) Page buffers parameter NEM található meg az eredmények között. Elvárt érték: 2048"},
    };
    for (const Case& c : cases) {
        THtml5Producer page;
        OperationLog log;
        addDbSettingsReportCell(page, log, c.label, c.expected, c.read, c.found);
        EXPECT_EQ(page.body, Lines{c.cell});
        EXPECT_EQ(log.lines(), Lines{c.logLine});
    }
}

TEST(RunReport, SettingsRowFramesItsCells) {
    THtml5Producer page;
    OperationLog log;
    startRunReport(page, RunReport::Settings, kStart);
    beginDbSettingsReportRow(page, "c:\\adat\\R&D.fdb");
    addDbSettingsReportCell(page, log, "Page buffers", "100", "100", true);
    addDbSettingsReportCell(page, log, "Attributes", "", "", false);
    endDbSettingsReportRow(page);
    ASSERT_EQ(page.body.size(), 5u);
    EXPECT_EQ(page.body[1], "<tr><td>c:\\adat\\R&amp;D.fdb</td>");
    EXPECT_TRUE(page.body[2].starts_with("<td bgColor=\"8ada8a\">OK. A(z) Page buffers"));
    EXPECT_TRUE(page.body[3].starts_with("<td bgColor=\"ff7777\">A(z) Attributes parameter NEM"));
    EXPECT_EQ(page.body[4], "</tr>");
    EXPECT_EQ(log.lines().size(), 2u);
}
