#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/html5_producer.h"
#include "core/message_page.h"
#include "core/message_page_win.h"
#include "platform/encoding.h"
#include "platform/fs.h"
#include "platform/process.h"
#include "tasks/run_report_win.h"
#include "temp_folder.h"

using namespace fbwb;
using fbwb::test::TempFolder;

namespace {

// Records the open requests instead of starting a viewer.
struct RecordingOpener {
    platform::ShellOpenRecorder shell;
    const std::vector<platform::ShellRequest>& requests() const { return shell.requests(); }
};

std::string readAll(const std::string& path) { return platform::readFileBytes(path).value_or("<missing>"); }

}  // namespace

TEST(RepresentableInCodePage, NoDefaultCharacterAndNoLookAlike) {
    struct Case {
        char32_t codePoint;
        unsigned codePage;
        bool representable;
    };
    const Case cases[] = {
        {U'a', 1250, true},        {U'\r', 1250, true},       {0x0151, 1250, true},  // ő
        {0x20AC, 1250, true},                                                          // euro sign
        {0x00E3, 1250, false},                                                         // ã: best fit would give "a"
        {0x0416, 1250, false},                                                         // Cyrillic Zhe
        {0x1F600, 1250, false},    {0x0151, 1252, false},     {0x00E3, 1252, true},
        {0x1F600, 65001, true},    {0xD800, 65001, false},    {0x110000, 1250, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::representableInCodePage(c.codePoint, c.codePage), c.representable)
            << std::hex << static_cast<unsigned long>(c.codePoint) << " in " << std::dec << c.codePage;
    }
}

TEST(Html5ProducerFile, Windows1250BytesCrLfNoByteOrderMarkAndCharacterReferences) {
    TempFolder temp;
    const std::string path = temp.file("report.htm", std::string(4000, 'x'));
    THtml5Producer page;
    page.createSimlePage("Firebird adatbázisok karbantartása - 2017.03.15", "árvíztűrő tükörfúrógép\r\n");
    // Not in Windows-1250: ã (best fit would make it "a"), Cyrillic Zhe, a character beyond 16 bits.
    page.body.push_back("c:\\S\xC3\xA3o\\\xD0\x96\xF0\x9F\x98\x80 & <x>.fdb");
    page.saveToFile(path);
    EXPECT_EQ(readAll(path),
              "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<meta charset=\"windows-1250\">\r\n"
              "<title>Firebird adatb\xE1zisok karbantart\xE1sa - 2017.03.15</title>\r\n</head>\r\n<body>\r\n"
              "\xE1rv\xEDzt\xFBr\xF5 t\xFCk\xF6rf\xFAr\xF3g\xE9p\r\n"
              "c:\\S&#227;o\\&#1046;&#128512; & <x>.fdb\r\n"
              "</body>\r\n</html>\r\n");
}

TEST(Html5ProducerFile, WriteFailuresReachTheCaller) {
    TempFolder temp;
    const std::string readOnly = temp.file("ro.htm", "old");
    TempFolder::setAttributes(readOnly, FILE_ATTRIBUTE_READONLY);
    THtml5Producer page;
    EXPECT_THROW(page.saveToFile(temp / "missing\\r.htm"), std::runtime_error);
    EXPECT_THROW(page.saveToFile(readOnly), std::runtime_error);
    EXPECT_EQ(readAll(readOnly), "old");
}

TEST(RunReportFile, NowModeCompletesSavesOverAnEarlierReportAndOpensIt) {
    TempFolder temp;
    const std::string folder = temp.folder("tmp");
    const std::string expectedPath = folder + "\\DbMaintainResults.htm";
    temp.file("tmp\\DbMaintainResults.htm", std::string(10000, 'x'));

    THtml5Producer page;
    RecordingOpener recorder;
    // Two runs in a row: the second report holds only the second run's database.
    for (const char* database : {"c:\\first.fdb", "c:\\R&D\\második.fdb"}) {
        startRunReport(page, RunReport::Maintenance, LocalDateTime{2017, 3, 15, 8, 0, 0});
        addMaintenanceReportEntry(page, database, "c:\\t\\fdbMaintain_0.txt", true, "OK. Minden l\xC3\xA9p\xC3\xA9s");
        // The temp folder arrives with blanks and without its trailing backslash.
        EXPECT_EQ(finishRunReport(page, RunReport::Maintenance, "  " + folder + " "),
                  expectedPath);
    }
    EXPECT_EQ(readAll(expectedPath),
              "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<meta charset=\"windows-1250\">\r\n"
              "<title>Firebird adatb\xE1zisok karbantart\xE1sa - 2017.03.15</title>\r\n</head>\r\n<body>\r\n"
              "<table cellSpacing=\"1\" cellPadding=\"0\" border=\"1\">\r\n"
              "<B>A(z) \"c:\\R&amp;D\\m\xE1sodik.fdb\" adatb\xE1zis karbantart\xE1sa </b><br />\r\n"
              "<span style=\"background-color:#8ada8a\">OK. Minden l\xE9p\xE9s</span><br />\r\n"
              "<font color=\"#CCCCCC\">A m\xFBvelet v\xE9grehajt\xE1sa sor\xE1n keletkezett napl\xF3"
              "bejegyz\xE9sek "
              "megtekint\xE9s\xE9hez <a href=\"file:///c:/t/fdbMaintain_0.txt\">kattintson ide</a></font>."
              "<br /><br />\r\n"
              "</table>\r\n</body>\r\n</html>\r\n");
    ASSERT_EQ(recorder.requests().size(), 2u);
    EXPECT_EQ(recorder.requests()[1].file, expectedPath);
    EXPECT_EQ(recorder.requests()[1].verb, "open");
    EXPECT_EQ(recorder.requests()[1].mode, platform::ShowMode::Normal);
}

TEST(RunReportFile, AFailedSaveOpensNothing) {
    TempFolder temp;
    THtml5Producer page;
    RecordingOpener recorder;
    startRunReport(page, RunReport::Settings, LocalDateTime{});
    EXPECT_THROW(finishRunReport(page, RunReport::Settings, temp / "missing"),
                 std::runtime_error);
    EXPECT_TRUE(recorder.requests().empty());
}

TEST(MessagePageFile, EmptyOrBlankMessageWritesAndOpensNothing) {
    TempFolder temp;
    for (const char* message : {"", " \r\n\t "}) {
        WorkingFields fields;
        fields.mHtmMsg = message;
        RecordingOpener recorder;
        showMessagePage(fields, temp / "new", "firebird_conf_ready.htm");
        EXPECT_FALSE(platform::folderExists(temp / "new"));
        EXPECT_TRUE(recorder.requests().empty());
        EXPECT_EQ(fields.mHtmMsg, message);
    }
}

TEST(MessagePageFile, WritesTheFramedMessageIntoANewFolderAndOpensIt) {
    TempFolder temp;
    const std::string folder = temp / "a\\b\\c";
    WorkingFields fields;
    fields.mHtmMsg = htmlListItem("első & <sor>") + htmlListItem("második \xD0\x96");
    RecordingOpener recorder;
    showMessagePage(fields, " " + folder + "\t", "firebird_conf_ready.htm");

    const std::string path = folder + "\\firebird_conf_ready.htm";
    // In the code page that its head declares; what that lacks as character references.
    EXPECT_EQ(readAll(path),
              "<html><head><meta charset=\"windows-1250\"></head><body>\r\n<li>els\xF5 & <sor><br>\r\n"
              "<li>m\xE1sodik &#1046;<br>\r\n\r\n</body></html>\r\n");
    EXPECT_EQ(fields.mHtmMsg,
              "<html><head><meta charset=\"windows-1250\"></head><body>\r\n<li>első & <sor><br>\r\n"
              "<li>második \xD0\x96<br>\r\n\r\n</body></html>");
    ASSERT_EQ(recorder.requests().size(), 1u);
    EXPECT_EQ(recorder.requests()[0].file, path);
    EXPECT_EQ(recorder.requests()[0].verb, "open");
    EXPECT_EQ(recorder.requests()[0].mode, platform::ShowMode::Normal);

    // A later, shorter page replaces the file.
    fields.mHtmMsg = "x";
    showMessagePage(fields, folder, "firebird_conf_ready.htm");
    EXPECT_EQ(readAll(path), "<html><head><meta charset=\"windows-1250\"></head><body>\r\nx\r\n\r\n</body></html>\r\n");
}

TEST(MessagePageFile, AFailedWriteOpensNothing) {
    TempFolder temp;
    temp.folder("tmp\\page.htm");  // a folder where the file should go
    WorkingFields fields;
    fields.mHtmMsg = htmlListItem("a");
    RecordingOpener recorder;
    EXPECT_THROW(showMessagePage(fields, temp / "tmp", "page.htm"), std::runtime_error);
    EXPECT_TRUE(recorder.requests().empty());
}
