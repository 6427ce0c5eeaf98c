#include <gtest/gtest.h>

#include "platform/encoding.h"

using namespace fbwb::platform;

TEST(Encoding, HungarianCodePagesUnderTheTestLocale) {
    EXPECT_EQ(ansiCodePage(), 1250u);
    EXPECT_EQ(oemCodePage(), 852u);
}

TEST(Encoding, AccentedTextSurvivesEveryConversion) {
    const std::string text = "\xC3\x81rv\xC3\xADzt\xC5\xB1r\xC5\x91 t\xC3\xBCk\xC3\xB6rf\xC3\xBAr\xC3\xB3g\xC3\xA9p";
    EXPECT_EQ(narrow(widen(text)), text);
    EXPECT_EQ(fromCodePage(toCodePage(text, 852), 852), text);
    EXPECT_EQ(toCodePage("\xC5\x91", 1250), "\xF5");
    EXPECT_EQ(toCodePage("\xC5\x91", 852), "\x8B");
}
