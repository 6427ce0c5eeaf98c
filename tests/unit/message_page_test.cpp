#include <gtest/gtest.h>

#include "core/message_page.h"

using namespace fbwb;

TEST(MessagePage, ListItemCarriesItsLineBreak) {
    EXPECT_EQ(htmlListItem("DefaultDbCachePages = 2048"), "<li>DefaultDbCachePages = 2048<br>\r\n");
    EXPECT_EQ(htmlListItem(""), "<li><br>\r\n");
}

TEST(MessagePage, FramesTheMessageLinesWithAnEmptyLineBeforeTheEnd) {
    EXPECT_EQ(
        messagePageText(htmlListItem("a & b") + htmlListItem("c")),
        "<html><head><meta charset=\"windows-1250\"></head><body>\r\n<li>a & b<br>\r\n<li>c<br>\r\n\r\n</body></html>");
    // Lines ended any way, or not at all, come out with CR LF.
    EXPECT_EQ(messagePageText("x\ny\rz"),
              "<html><head><meta charset=\"windows-1250\"></head><body>\r\nx\r\ny\r\nz\r\n\r\n</body></html>");
}
