#include <gtest/gtest.h>

#include "core/html_text.h"

using namespace fbwb;

TEST(HtmlText, MarkupCharactersBecomeReferencesEverythingElseStays) {
    EXPECT_EQ(htmlText("C:\\Kovács & Társa\\<x>#1 50% \"q\" 'a'.fdb"),
              "C:\\Kovács &amp; Társa\\&lt;x&gt;#1 50% &quot;q&quot; 'a'.fdb");
    // A reference already in the text is text too: it shows as written.
    EXPECT_EQ(htmlText("&amp; &#337;"), "&amp;amp; &amp;#337;");
    EXPECT_EQ(htmlText(""), "");
    // Bytes that are not UTF-8 pass unchanged.
    EXPECT_EQ(htmlText("a\xC5<"), "a\xC5&lt;");
}

TEST(HtmlText, FillHtmlEscapesTheValuesNotTheFormat) {
    EXPECT_EQ(fillHtml("<td bgColor=\"%s\">%s</td>", {"ff7777", "a<b> & %s %d"}),
              "<td bgColor=\"ff7777\">a&lt;b&gt; &amp; %s %d</td>");
    // Places without a value, "%%" and a trailing "%" stay, as with fill().
    EXPECT_EQ(fillHtml("<b>%s</b> %s 100%% %", {"&"}), "<b>&amp;</b> %s 100%% %");
}

TEST(FileUrl, PercentEncodesTheUtf8BytesOfEverythingButUnreservedSlashAndColon) {
    struct Case {
        const char* path;
        const char* url;
    };
    const Case cases[] = {
        {"c:\\KELMORA.WIN\\fdbMaintain_0.txt", "file:///c:/KELMORA.WIN/fdbMaintain_0.txt"},
        {"C:\\Kovács & Társa\\x#y.log", "file:///C:/Kov%C3%A1cs%20%26%20T%C3%A1rsa/x%23y.log"},
        {"C:\\<x>#1 50%?.fdb", "file:///C:/%3Cx%3E%231%2050%25%3F.fdb"},
        // Characters that a URL would read as its own: query, fragment, escapes, sub-delimiters.
        {"D:\\a+b=c;d,e'f[g]{h}!$@()*|^`~-._.txt",
         "file:///D:/a%2Bb%3Dc%3Bd%2Ce%27f%5Bg%5D%7Bh%7D%21%24%40%28%29%2A%7C%5E%60~-._.txt"},
        // Letters of any script: the bytes of their UTF-8 form, whatever the page's code page.
        {"C:\\\xC5\x91r\xC5\xB1\\\xCE\xA9\xF0\x9F\x98\x80.txt", "file:///C:/%C5%91r%C5%B1/%CE%A9%F0%9F%98%80.txt"},
        // A share names its host; an absolute path without a drive has the empty host.
        {"\\\\server\\közös mappa\\x.txt", "file://server/k%C3%B6z%C3%B6s%20mappa/x.txt"},
        {"/tmp/a b/x.txt", "file:///tmp/a%20b/x.txt"},
    };
    for (const Case& c : cases) EXPECT_EQ(fileUrl(c.path), c.url) << c.path;
}
