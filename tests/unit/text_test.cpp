#include <gtest/gtest.h>

#include "core/text.h"

using namespace fbwb;

TEST(Text, TrimRemovesBlanksAndControlCharactersOnly) {
    EXPECT_EQ(trim(std::string(" \t\r\n\x01 a b \x1f ", 11)), "a b");
    EXPECT_EQ(trim("\xC3\x81rv\xC3\xADz"), "\xC3\x81rv\xC3\xADz");
    EXPECT_EQ(trim(std::string("\0x\0", 3)), "x");
    EXPECT_EQ(trim("   "), "");
}

TEST(Text, SplitLinesAcceptsEveryLineEnd) {
    EXPECT_EQ(splitLines("a\r\nb\rc\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\r\n"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(splitLines("a\n\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_TRUE(splitLines("").empty());
}

TEST(Text, FillTakesValuesInOrder) {
    EXPECT_EQ(fill("call \"%s\" %s %s", {"x.exe", "-v", ""}), "call \"x.exe\" -v ");
    EXPECT_EQ(fill("%d%%", {"5"}), "5%%");
}

TEST(Text, ReplaceAllNoCaseUpperCasesAsciiOnly) {
    EXPECT_EQ(replaceAllNoCase("c:\\###year###\\###YEAR###", "###YEAR###", "2017"), "c:\\2017\\2017");
    EXPECT_EQ(replaceAllNoCase("\xC3\xA1", "\xC3\x81", "x"), "\xC3\xA1");
}

TEST(Text, MatchesWildcardsOnTheWholeName) {
    struct Case {
        const char* name;
        const char* mask;
        bool matches;
    } cases[] = {
        {"a.fdb", "*.fdb", true},
        {".fdb", "*.fdb", true},
        {"kelmora.fdbx", "*.fdb", false},
        {"kelmora.fdb_regi", "*.fdb", false},
        {"x.fdb.bak", "*.fdb", false},
        {"x.fdb.fdb", "*.fdb", true},
        {"a.FDB", "*.fdb", false},
        {"noext", "*.*", true},
        {"\xC3\xA1.fdb", "?.fdb", true},
        {"ab.fdb", "?.fdb", false},
        {"abc", "a*b*c", true},
        {"abcbc", "a*bc", true},
        {"ab", "a*b*c", false},
        {"", "*", true},
        {"", "?", false},
        {"any", "", false},
    };
    for (const Case& c : cases) EXPECT_EQ(matchesWildcards(c.name, c.mask), c.matches) << c.name << " / " << c.mask;
}
