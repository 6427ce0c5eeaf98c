#include <gtest/gtest.h>

#include "core/html5_producer.h"

using namespace fbwb;
using Lines = std::vector<std::string>;

TEST(Html5Producer, FreshPageDeclaresWindows1250AndIsEmpty) {
    const THtml5Producer page;
    EXPECT_EQ(page.meta, Lines{"<meta charset=\"windows-1250\">"});
    EXPECT_TRUE(page.Head.empty());
    EXPECT_EQ(page.producePage(), (Lines{"<!DOCTYPE html>", "<html>", "<head>", "<meta charset=\"windows-1250\">",
                                         "<title></title>", "</head>", "<body>", "</body>", "</html>"}));
}

// The title is text, the body lines are HTML as their callers made them.
TEST(Html5Producer, PageLinesInOrderWithTheTitleAsText) {
    THtml5Producer page;
    page.createSimlePage("R&D <2017> \"x\"", "B1\r\nB2\r\n");
    page.body.push_back("B3 & <b>");
    page.Head.push_back("<style></style>");
    EXPECT_EQ(page.producePage(), (Lines{"<!DOCTYPE html>", "<html>", "<head>", "<meta charset=\"windows-1250\">",
                                         "<style></style>", "<title>R&amp;D &lt;2017&gt; &quot;x&quot;</title>",
                                         "</head>", "<body>", "B1", "B2", "B3 & <b>", "</body>", "</html>"}));
    EXPECT_EQ(page.title(), "R&D <2017> \"x\"");
}

TEST(Html5Producer, CreateSimlePageReplacesTitleAndBodyLineByLine) {
    struct Case {
        const char* body;
        Lines lines;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\r\n\nb\rc", {"a", "", "b", "c"}},
        {"a\r\n\r\n", {"a", ""}},
        {"", {}},
    };
    for (const Case& c : cases) {
        THtml5Producer page;
        page.createSimlePage("old", "x\r\ny\r\nz");
        page.body.push_back("appended");
        page.createSimlePage("new", c.body);
        EXPECT_EQ(page.body, c.lines) << testing::PrintToString(std::string(c.body));
        EXPECT_EQ(page.title(), "new");
        EXPECT_EQ(page.meta.size(), 1u);
    }
}

TEST(CharacterReferences, OnlyUnrepresentableCharactersChange) {
    const auto upToLatin1 = [](char32_t c) { return c < 0x100; };
    // o with double acute (U+0151), a CJK letter, a character beyond the 16-bit range.
    EXPECT_EQ(withCharacterReferences("c:\\d\xC5\x91\xE6\xBC\xA2\xF0\x9F\x98\x80.fdb", upToLatin1),
              "c:\\d&#337;&#28450;&#128512;.fdb");
    EXPECT_EQ(withCharacterReferences("&#337; < \xC3\xA9", upToLatin1), "&#337; < \xC3\xA9");
    EXPECT_EQ(withCharacterReferences("", upToLatin1), "");
    // Broken sequences (a lone continuation byte, a cut-off lead, an overlong '/', an encoded
    // surrogate) are passed on byte by byte.
    const std::string broken = "a\x80" "b\xC5" "\xC0\xAF" "\xED\xA0\x80";
    EXPECT_EQ(withCharacterReferences(broken, [](char32_t) { return false; }),
              "&#97;\x80&#98;\xC5\xC0\xAF\xED\xA0\x80");
}
