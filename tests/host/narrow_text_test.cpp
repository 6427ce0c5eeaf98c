// The native side of the platform functions the client layer stands on.
#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/encoding.h"
#include "platform/system.h"

using namespace fbwb;

TEST(SystemNarrowText, IsUtf8NativelyAndComesBackWellFormed) {
    EXPECT_EQ(platform::toSystemNarrow("Árvíztűrő tükörfúrógép"), "Árvíztűrő tükörfúrógép");
    EXPECT_EQ(platform::fromSystemNarrow("Árvíztűrő"), "Árvíztűrő");
    // Each byte that is not part of a well-formed sequence becomes one U+FFFD.
    const std::string replacement = "\xEF\xBF\xBD";
    std::string expected = "a" + replacement + "b" + replacement + replacement + "c";
    for (int i = 0; i < 9; ++i) expected += replacement;
    // Lone lead, cut sequence, overlong form, surrogate, past U+10FFFF.
    EXPECT_EQ(platform::fromSystemNarrow("a\xC1"
                                         "b\xE2\x82"
                                         "c\xC0\xAF\xED\xA0\x80\xF4\x90\x80\x80"),
              expected);
}

TEST(ComputerName, IsTheHostName) {
    char name[256] = {};
    ASSERT_EQ(gethostname(name, sizeof name - 1), 0);
    EXPECT_EQ(platform::computerName(), name);
    EXPECT_FALSE(platform::computerName().empty());
}
