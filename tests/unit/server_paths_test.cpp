#include <gtest/gtest.h>

#include "env/server_paths.h"

using namespace fbwb;

TEST(MakeDbConnectionString, JoinsHostPortAndPath) {
    struct Case {
        const char *host, *port, *path, *expected;
    } cases[] = {
        {"", "3051", "D:\\db\\a.fdb", "127.0.0.1/3051:D:\\db\\a.fdb"},
        {"srv", "", "D:\\db\\a.fdb", "srv:D:\\db\\a.fdb"},
        {"", "", "D:\\db\\a.fdb", "D:\\db\\a.fdb"},
        {" srv ", " 3050 ", " D:\\db\\a.fdb ", "srv/3050:D:\\db\\a.fdb"},
        {"  ", "\t", "D:\\db\\a.fdb", "D:\\db\\a.fdb"},
        {"srv", "", "", "srv:"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(makeDbConnectionString(c.host, c.port, c.path), c.expected) << c.host << "|" << c.port;
    }
}

TEST(GetFbServersOfVersion, MatchesTheFirstDigitAfterTheMarker) {
    const std::vector<std::string> servers = {
        "C:\\Program Files\\Firebird\\Firebird_2_5",
        "C:\\Program Files (x86)\\Firebird\\Firebird_3_0",
        "c:\\kelmora.win\\firebird\\Kelmora3",
        "D:\\FB3\\Firebird_3_0",         // no marker: never selected
        "C:\\Firebird\\Documentation",   // no digit after the marker
        "C:\\Program Files\\Firebird\\Firebird_2_1",
    };
    std::vector<std::string> result{"stale"};
    EXPECT_TRUE(getFbServersOfVersion("\\FIREBIRD\\", servers, "2", result));
    EXPECT_EQ(result, (std::vector<std::string>{servers[0], servers[5]}));

    EXPECT_TRUE(getFbServersOfVersion("\\FIREBIRD\\", servers, " 3 ", result));
    EXPECT_EQ(result, (std::vector<std::string>{servers[1], servers[2]}));

    EXPECT_FALSE(getFbServersOfVersion("\\FIREBIRD\\", servers, "4", result));
    EXPECT_TRUE(result.empty());
}

TEST(GetFbServersOfVersion, DigitsBeforeTheMarkerDoNotCount) {
    std::vector<std::string> result;
    EXPECT_FALSE(getFbServersOfVersion("\\FIREBIRD\\", {"C:\\Apps2\\Firebird\\Current"}, "2", result));
    // The search starts at the marker's last character, which may itself be a digit.
    EXPECT_TRUE(getFbServersOfVersion("FB3", {"C:\\FB3"}, "3", result));
}

TEST(GetFbServersOfVersion, EmptyMarkerOrVersionSelectsNothing) {
    std::vector<std::string> result{"stale"};
    EXPECT_FALSE(getFbServersOfVersion("", {"C:\\Firebird\\Firebird_3_0"}, "3", result));
    EXPECT_TRUE(result.empty());
    EXPECT_FALSE(getFbServersOfVersion("\\FIREBIRD\\", {"C:\\Firebird\\Firebird_3_0"}, "  ", result));
    EXPECT_FALSE(getFbServersOfVersion("\\FIREBIRD\\", {}, "3", result));
}
