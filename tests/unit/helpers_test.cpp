#include <gtest/gtest.h>

#include "core/helpers.h"

using namespace fbwb;

namespace {
const LocalDateTime kMarch15{2017, 3, 15, 14, 25, 1};
}

TEST(ExpandPlaceholders, ReplacesEveryPlaceholderInAnyCase) {
    struct Case {
        const char* text;
        const char* expected;
    } cases[] = {
        {"c:\\KELMORA.WIN\\###YEAR###\\adat", "c:\\KELMORA.WIN\\2017\\adat"},
        {"c:\\###Year###\\###year###", "c:\\2017\\2017"},
        {"###DATE###", "20170315"},
        {"###DATETIME###", "20170315142501"},
        {"a###date###b###DateTime###c", "a20170315b20170315142501c"},
        {"##YEAR## ###YEAR##", "##YEAR## ###YEAR##"},
        {"no placeholder", "no placeholder"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(expandPlaceholders(c.text, kMarch15), c.expected) << c.text;
}

TEST(ExpandPlaceholders, PadsSmallNumbers) {
    EXPECT_EQ(expandPlaceholders("###DATETIME###", LocalDateTime{2009, 1, 2, 3, 4, 5}), "20090102030405");
}

TEST(TransformFileName, ReducesAsAsked) {
    struct Case {
        const char* path;
        bool nameOnly, stripExtension;
        const char* expected;
    } cases[] = {
        {"c:\\a\\b.fdb", false, false, "c:\\a\\b.fdb"},
        {"c:\\a\\b.fdb", true, false, "b.fdb"},
        {"c:\\a\\b.fdb", false, true, "c:\\a\\b"},
        {"c:\\a\\b.fdb", true, true, "b"},
        {"c:\\x.y\\file", false, true, "c:\\x.y\\file"},
        {"c:\\x.y\\file", true, true, "file"},
        {"c:b.tar.gz", true, true, "b.tar"},
        {"c:b.fdb", true, false, "b.fdb"},
        {"name", true, true, "name"},
        {"c:\\a\\", true, true, ""},
        {"", true, true, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(transformFileName(c.path, c.nameOnly, c.stripExtension), c.expected) << c.path;
    }
}

TEST(ReplaceExtension, ReplacesFromTheLastDotOfTheName) {
    struct Case {
        const char* path;
        const char* expected;
    } cases[] = {
        {"D:\\Data\\2017\\conf.fdb", "D:\\Data\\2017\\conf_FB3.fdb"},
        {"D:\\Data\\2017\\conf", "D:\\Data\\2017\\conf_FB3.fdb"},
        {"D:\\Data.2017\\conf", "D:\\Data.2017\\conf_FB3.fdb"},
        {"D:\\Data\\a.b.fdb", "D:\\Data\\a.b_FB3.fdb"},
        {"D:conf.fdb", "D:conf_FB3.fdb"},
        {"", "_FB3.fdb"},
    };
    for (const auto& c : cases) EXPECT_EQ(replaceExtension(c.path, "_FB3.fdb"), c.expected) << c.path;
}

TEST(GetParentFolderName, NamesTheFolderThatHoldsTheFile) {
    struct Case {
        const char* path;
        const char* expected;
    } cases[] = {
        {"c:\\a\\bin\\fbserver.exe", "bin"},
        {"c:\\fbserver.exe", "c:"},
        {"fbserver.exe", ""},
        {"c:\\a\\bin\\\\fbserver.exe", "bin"},
        {"c:/a/Firebird_3_0/firebird.exe", "Firebird_3_0"},
        {"c:\\a\\Firebird 3\\firebird.exe", "Firebird 3"},
        {"c:fbserver.exe", "c:"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(getParentFolderName(c.path), c.expected) << c.path;
    EXPECT_EQ(folderOfPath("C:\\a b\\firebird_MINTA.conf"), "C:\\a b\\");
    EXPECT_EQ(folderOfPath("d:/x/y.bat"), "d:/x/");
    EXPECT_EQ(folderOfPath("firebird.conf"), "");
}

TEST(NormalizeFolderPath, TrimsAddsBackslashAndResolvesTheProgramFolder) {
    struct Case {
        const char* path;
        const char* expected;
    } cases[] = {
        {".\\data", "c:\\KELMORA.WIN\\data\\"},
        {"  .\\data\\ ", "c:\\KELMORA.WIN\\data\\"},
        {".", "c:\\KELMORA.WIN\\"},
        {"d:\\x", "d:\\x\\"},
        {"d:\\x\\", "d:\\x\\"},
        {"..\\x", "..\\x\\"},
        {"", "\\"},
    };
    for (const auto& c : cases) EXPECT_EQ(normalizeFolderPath(c.path, "c:\\KELMORA.WIN\\"), c.expected) << c.path;
    EXPECT_EQ(normalizeFolderPath(".\\data", "c:\\KELMORA.WIN"), "c:\\KELMORA.WIN\\data\\");
}
