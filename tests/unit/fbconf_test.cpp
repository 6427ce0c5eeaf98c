#include <gtest/gtest.h>

#include "env/fbconf.h"

using namespace fbwb;

using Lines = std::vector<std::string>;

TEST(FbConfLine, KeyValueAndComment) {
    struct Case {
        const char* line;
        bool comment;
        const char* key;
        const char* value;
    } cases[] = {
        {"  #  DefaultDbCachePages = 2048", true, "DefaultDbCachePages", "2048"},
        {"##X=1", true, "X", "1"},
        {"# see below", true, "see below", ""},
        {"RemoteServicePort = 3051 # test", false, "RemoteServicePort", "3051"},
        {"RemoteServicePort = 3051#", false, "RemoteServicePort", "3051"},
        {"RootDirectory = # none", false, "RootDirectory", ""},
        {"X = \"a # b\" # c", false, "X", "\"a # b\""},
        {"X = \"a # b", false, "X", "\"a # b"},
        {"X = a=b", false, "X", "a=b"},
        {"RootDirectory =", false, "RootDirectory", ""},
        {"\tKey\t=\tv\t", false, "Key", "v"},
        {"NoEquals", false, "NoEquals", ""},
        {"# # Nested = 1", true, "Nested", "1"},
        {"", false, "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isConfCommentLine(c.line), c.comment) << c.line;
        EXPECT_EQ(getConfLineKey(c.line), c.key) << c.line;
        EXPECT_EQ(getConfLineValue(Lines{c.line}, 0), c.value) << c.line;
    }
}

TEST(FbConfLine, ValueOutsideTheListIsEmpty) {
    const Lines lines{"A = 1"};
    EXPECT_EQ(getConfLineValue(lines, -1), "");
    EXPECT_EQ(getConfLineValue(lines, 1), "");
    EXPECT_EQ(getConfLineValue({}, 0), "");
}

TEST(FindConfKeyLine, FindsTheFirstActiveLine) {
    const Lines lines{
        "#RemoteServicePort = 3051",
        "",
        "   ",
        "remoteserviceport=3052",
        "RemoteServicePort = 3053",
    };
    EXPECT_EQ(findConfKeyLine("RemoteServicePort", lines), 3);
    EXPECT_EQ(findConfKeyLine("  REMOTESERVICEPORT ", lines), 3);
    EXPECT_EQ(findConfKeyLine("Missing", lines), -1);
    EXPECT_EQ(findConfKeyLine("", lines), -1);
}

TEST(ReadFbConfValueFromLines, ActiveLineOrDefault) {
    EXPECT_EQ(readFbConfValueFromLines({"remoteserviceport=3051"}, "RemoteServicePort", "3050"), "3051");
    EXPECT_EQ(readFbConfValueFromLines({"#RemoteServicePort = 3051"}, "RemoteServicePort", "3050"), "3050");
    EXPECT_EQ(readFbConfValueFromLines({"RemoteServicePort = 3051", "RemoteServicePort = 3052"},
                                       "RemoteServicePort", "3050"),
              "3051");
    // Present but empty: the empty text, not the default.
    EXPECT_EQ(readFbConfValueFromLines({"RemoteServicePort ="}, "RemoteServicePort", "3050"), "");
    EXPECT_EQ(readFbConfValueFromLines({}, "RemoteServicePort", "3050"), "3050");
}

TEST(SetFbConfLine, ReplacesRevivesOrAppends) {
    struct Case {
        const char* name;
        Lines before;
        const char* newLine;
        Lines after;
    } cases[] = {
        {"every setting line replaced",
         {"# head", "RemoteServicePort = 3051", "", "#RemoteServicePort = 1", "RemoteServicePort = 3052", "# tail"},
         "RemoteServicePort = 3060",
         {"# head", "RemoteServicePort = 3060", "", "#RemoteServicePort = 1", "RemoteServicePort = 3060", "# tail"}},
        {"setting commented out", {"TempDirectories = D:\\tmp"}, "#TempDirectories =", {"#TempDirectories ="}},
        {"first commented line revived in place",
         {"# intro", "#DefaultDbCachePages = 2048", "x = 1", "# DefaultDbCachePages = 4096"},
         "DefaultDbCachePages = 9999",
         {"# intro", "DefaultDbCachePages = 9999", "x = 1", "# DefaultDbCachePages = 4096"}},
        {"comment replaces first commented line", {"#A = 1", "#A = 2"}, "#A = 3", {"#A = 3", "#A = 2"}},
        {"appended when absent", {"x = 1", ""}, "  NewKey = 5  ", {"x = 1", "", "  NewKey = 5  "}},
        {"key compared without case",
         {"defaultdbcachepages=1"},
         "DefaultDbCachePages = 2",
         {"DefaultDbCachePages = 2"}},
        {"blank new line changes nothing", {"a = 1", ""}, " \t ", {"a = 1", ""}},
        // A byte-order mark counts as a blank, as it does in the file's lines.
        {"new line of a mark and blanks changes nothing", {"= 5", ""}, " \xEF\xBB\xBF ", {"= 5", ""}},
        {"blank lines are not a setting of an empty key",
         {"a = 1", "", "   ", "b = 2"},
         "= 7",
         {"a = 1", "", "   ", "b = 2", "= 7"}},
    };
    for (auto& c : cases) {
        Lines lines = c.before;
        setFbConfLine(c.newLine, lines);
        EXPECT_EQ(lines, c.after) << c.name;
    }
}

TEST(ConfText, RoundTripKeepsEveryLine) {
    struct Case {
        const char* name;
        std::string bytes;
        bool bom;
        Lines lines;
        std::string formatted;
    } cases[] = {
        {"crlf", "A = 1\r\n#B = 2\r\n", false, {"A = 1", "#B = 2"}, "A = 1\r\n#B = 2\r\n"},
        {"lf only, no final break", "A = 1\nB = 2", false, {"A = 1", "B = 2"}, "A = 1\r\nB = 2\r\n"},
        {"mixed ends and blank lines", "A\r\rB\n\r\nC\r", false, {"A", "", "B", "", "C"}, "A\r\n\r\nB\r\n\r\nC\r\n"},
        {"bom", "\xEF\xBB\xBFRemoteServicePort = 3051\r\n", true, {"RemoteServicePort = 3051"},
         "\xEF\xBB\xBFRemoteServicePort = 3051\r\n"},
        {"bom only", "\xEF\xBB\xBF", true, {}, "\xEF\xBB\xBF"},
        {"empty", "", false, {}, ""},
        {"nul bytes stay", std::string("A = 1\0x\nB", 9), false, {std::string("A = 1\0x", 7), "B"},
         std::string("A = 1\0x\r\nB\r\n", 12)},
    };
    for (const auto& c : cases) {
        const ConfText text = parseConfText(c.bytes);
        EXPECT_EQ(text.utf8Bom, c.bom) << c.name;
        EXPECT_EQ(text.lines, c.lines) << c.name;
        EXPECT_EQ(formatConfText(text), c.formatted) << c.name;
    }
}

TEST(ConfText, OnlyEightBitTextCountsAsSingleByte) {
    struct Case {
        const char* name;
        std::string bytes;
        bool singleByte;
    } cases[] = {
        {"ascii", "A = 1\r\n", true},
        {"cp1250 and a utf-8 mark", "\xEF\xBB\xBF# \xE1rv\xEDzt\xFBr\xF5\r\nA = 1", true},
        {"empty", "", true},
        {"utf-16le with mark", std::string("\xFF\xFE" "A\0=\0" "1\0", 8), false},
        {"utf-16be with mark", std::string("\xFE\xFF\0A\0=", 6), false},
        {"utf-16le without mark", std::string("A\0 \0=\0 \0" "1\0", 10), false},
        {"one nul byte", std::string("A = 1\0\r\n", 8), false},
    };
    for (const auto& c : cases) EXPECT_EQ(isSingleByteConfText(c.bytes), c.singleByte) << c.name;
}

TEST(ConfText, ByteOrderMarkDoesNotHideTheFirstKey) {
    ConfText text = parseConfText("\xEF\xBB\xBFRemoteServicePort = 3051\nAuthServer = Srp\n");
    EXPECT_EQ(readFbConfValueFromLines(text.lines, "RemoteServicePort", "3050"), "3051");
    setFbConfLine("RemoteServicePort = 3060", text.lines);
    EXPECT_EQ(formatConfText(text), "\xEF\xBB\xBFRemoteServicePort = 3060\r\nAuthServer = Srp\r\n");

    // Lines split without parseConfText still carry the mark on their first line.
    const Lines raw{"\xEF\xBB\xBF#RemoteServicePort = 3051", "\xEF\xBB\xBFX = 1"};
    EXPECT_TRUE(isConfCommentLine(raw[0]));
    EXPECT_EQ(getConfLineKey(raw[0]), "RemoteServicePort");
    EXPECT_EQ(readFbConfValueFromLines(raw, "X", "d"), "1");
}

TEST(ConfText, NulInsideALineIsNotTrimmedAway) {
    // A NUL before the key is a control character: trimmed like a blank, the rest kept.
    const ConfText text = parseConfText(std::string("\0RemoteServicePort = 3051\0\n", 27));
    EXPECT_EQ(readFbConfValueFromLines(text.lines, "RemoteServicePort", "3050"), "3051");
    EXPECT_EQ(formatConfText(text), std::string("\0RemoteServicePort = 3051\0\r\n", 28));
}

TEST(ConfText, LongLineIsKeptWhole) {
    const std::string value(1 << 20, 'v');
    const ConfText text = parseConfText("# big\nLong = " + value + "\nRemoteServicePort = 3051");
    ASSERT_EQ(text.lines.size(), 3u);
    EXPECT_EQ(readFbConfValueFromLines(text.lines, "Long", ""), value);
    EXPECT_EQ(readFbConfValueFromLines(text.lines, "RemoteServicePort", "3050"), "3051");
    EXPECT_EQ(formatConfText(text), "# big\r\nLong = " + value + "\r\nRemoteServicePort = 3051\r\n");
}
