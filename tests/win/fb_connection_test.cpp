#include "conntest/fb_connection_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "conntest/texts_conntest.h"
#include "core/text.h"
#include "platform/encoding.h"
#include "platform/fs.h"
#include "platform/system.h"
#include "win/temp_folder.h"

using namespace fbwb;
using fbwb::test::TempFolder;

namespace {
std::string vendorLibOf(std::string_view serverFolder) {
    TkmConnection connection;
    prepareFbConnection(connection, serverFolder, "127.0.0.1", "3050", "C:\\a.fdb", "SYSDBA", "pw");
    EXPECT_EQ(connection.params().entries().size(), connection.params().value("vendorLib") ? 17u : 16u);
    return connection.params().value("vendorLib").value_or("(none)");
}

std::string failureOf(std::string_view serverFolder, std::string& parameterText) {
    try {
        tryFbConnection(nullptr, serverFolder, "127.0.0.1", "3050", "C:\\nincs.fdb", "SYSDBA", "pw", parameterText);
    } catch (const FbConnectError& error) {
        return error.what();
    }
    ADD_FAILURE() << "connected through " << serverFolder;
    return {};
}
}  // namespace

TEST(PrepareFbConnection, TakesTheServerFoldersClientLibraryWhenItExists) {
    TempFolder temp;
    const std::string wow = temp.folder("wow");
    temp.file("wow\\WOW64\\fbclient.dll", "MZ");
    temp.file("wow\\bin\\fbclient.dll", "MZ");
    const std::string bin = temp.folder("bin25");
    temp.file("bin25\\bin\\fbclient.dll", "MZ");
    const std::string top = temp.folder("top30");
    temp.file("top30\\fbclient.dll", "MZ");
    const std::string none = temp.folder("none");
    temp.file("none\\bin\\gbak.exe", "MZ");

    EXPECT_EQ(vendorLibOf(wow), wow + "\\WOW64\\fbclient.dll");
    EXPECT_EQ(vendorLibOf(" " + bin + "\\ "), bin + "\\bin\\fbclient.dll");
    EXPECT_EQ(vendorLibOf(top), top + "\\fbclient.dll");
    EXPECT_EQ(vendorLibOf(none), "(none)");
    EXPECT_EQ(vendorLibOf(temp / "missing"), "(none)");
    EXPECT_EQ(vendorLibOf(""), "(none)");
}

TEST(TryFbConnection, NamesTheServerFoldersLibraryThatCannotServeAndHandsBackTheParameters) {
    TempFolder temp;
    const std::string notLibrary = temp.file("text\\fbclient.dll", "not a library");
    std::string parameterText;
    const std::string notLoaded = failureOf(temp / "text", parameterText);
    EXPECT_TRUE(startsWith(notLoaded, fill(texts_conntest::kClientLibraryNotLoaded, {notLibrary, ""}))) << notLoaded;
    EXPECT_GT(notLoaded.size(), fill(texts_conntest::kClientLibraryNotLoaded, {notLibrary, ""}).size());
    EXPECT_EQ(notLoaded.find("%1"), std::string::npos) << notLoaded;
    EXPECT_TRUE(startsWith(parameterText, "DriverName=Firebird\r\n")) << parameterText;
    EXPECT_TRUE(endsWith(parameterText, "\r\nTrim Char=False\r\nvendorLib=" + notLibrary + "\r\n")) << parameterText;

    // A real library without the client's entry points, by its full path; asked twice (it stays loaded).
    const std::string other = temp.folder("other") + "\\fbclient.dll";
    ASSERT_TRUE(CopyFileW(platform::widen(FBWB_SAMPLE_DLL).c_str(), platform::widen(other).c_str(), FALSE));
    for (int round = 0; round < 2; ++round) {
        const std::string noEntry = failureOf(temp / "other", parameterText);
        EXPECT_TRUE(startsWith(noEntry, fill(texts_conntest::kClientEntryMissing, {other, "isc_attach_database", ""})))
            << noEntry;
    }
}

TEST(SystemNarrowText, IsTheAnsiCodePage) {
    ASSERT_EQ(platform::ansiCodePage(), 1250u);
    EXPECT_EQ(platform::toSystemNarrow("Árvíztűrő"), "\xC1rv\xEDzt\xFBr\xF5");
    EXPECT_EQ(platform::fromSystemNarrow("\xC1rv\xEDzt\xFBr\xF5"), "Árvíztűrő");
    EXPECT_FALSE(platform::computerName().empty());
}
