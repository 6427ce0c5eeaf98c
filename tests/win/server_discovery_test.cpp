#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/file_helpers_win.h"
#include "core/text.h"
#include "env/server_discovery_win.h"
#include "platform/fs.h"
#include "win/temp_folder.h"

using namespace fbwb;
using fbwb::test::TempFolder;
using Strings = std::vector<std::string>;

namespace {
// A server folder whose files are given relative to it.
std::string makeServer(const TempFolder& temp, const std::string& relativeFolder, const Strings& files) {
    const std::string folder = temp.folder(relativeFolder);
    for (const std::string& file : files) temp.file(relativeFolder + "\\" + file, "MZ");
    return folder;
}

// The same folder as the caller might type it.
Strings spellings(const std::string& folder) { return {folder, folder + "\\", "  " + folder + " \t", folder + "\\ "}; }
}  // namespace

TEST(ServerDiscovery, ArchitectureOfTheMachine) { EXPECT_EQ(getOsArchitectureBits(), 64); }

TEST(ServerDiscovery, BinFolderIsWhereInstSvcLies) {
    TempFolder temp;
    const std::string top = makeServer(temp, "top", {"instsvc.exe", "gbak.exe"});
    const std::string bin = makeServer(temp, "bin", {"bin\\instsvc.exe", "bin\\gbak.exe"});
    const std::string both = makeServer(temp, "both", {"instsvc.exe", "bin\\instsvc.exe"});
    const std::string none = makeServer(temp, "none", {"gbak.exe", "bin\\gbak.exe", "bin\\gstat.exe"});
    const std::string folderNamedInstSvc = temp.folder("odd\\instsvc.exe");

    for (const std::string& spelling : spellings(top)) EXPECT_EQ(findFbBinFolder(spelling), top + "\\");
    for (const std::string& spelling : spellings(bin)) EXPECT_EQ(findFbBinFolder(spelling), bin + "\\bin\\");
    EXPECT_EQ(findFbBinFolder(both), both + "\\") << "the first try wins";
    EXPECT_EQ(findFbBinFolder(none), "");
    EXPECT_EQ(findFbBinFolder(temp / "odd"), "") << "a folder of that name is not the program";
    EXPECT_EQ(findFbBinFolder(temp / "missing"), "");
    EXPECT_EQ(findFbBinFolder(temp / "top\\instsvc.exe"), "") << "a file given as the server folder";
    EXPECT_EQ(findFbBinFolder(""), "");
    EXPECT_EQ(findFbBinFolder(" \t"), "");
}

TEST(ServerDiscovery, ToolsAreLookedForOnlyBesideInstSvc) {
    TempFolder temp;
    const std::string fb3 = makeServer(temp, "fb3", {"instsvc.exe", "gstat.exe", "gbak.exe"});
    const std::string fb25 = makeServer(temp, "fb25", {"bin\\instsvc.exe", "bin\\gstat.exe", "bin\\gbak.exe"});
    const std::string split = makeServer(temp, "split", {"bin\\instsvc.exe", "gstat.exe", "gbak.exe"});
    const std::string noInstSvc = makeServer(temp, "noinstsvc", {"gstat.exe", "bin\\gstat.exe", "gbak.exe"});

    for (const std::string& spelling : spellings(fb3)) {
        EXPECT_EQ(findInstSvcFn(spelling), fb3 + "\\instsvc.exe");
        EXPECT_EQ(findGstatFn(spelling), fb3 + "\\gstat.exe");
        EXPECT_EQ(findGbakFn(spelling), fb3 + "\\gbak.exe");
    }
    for (const std::string& spelling : spellings(fb25)) {
        EXPECT_EQ(findInstSvcFn(spelling), fb25 + "\\bin\\instsvc.exe");
        EXPECT_EQ(findGstatFn(spelling), fb25 + "\\bin\\gstat.exe");
        EXPECT_EQ(findGbakFn(spelling), fb25 + "\\bin\\gbak.exe");
    }
    EXPECT_EQ(findInstSvcFn(split), split + "\\bin\\instsvc.exe");
    EXPECT_EQ(findGstatFn(split), "") << "the tools lie beside instsvc.exe or are not there";
    EXPECT_EQ(findGbakFn(split), "");
    for (const std::string& folder : {noInstSvc, temp / "missing", std::string(), std::string("  ")}) {
        EXPECT_EQ(findInstSvcFn(folder), "") << folder;
        EXPECT_EQ(findGstatFn(folder), "") << folder;
        EXPECT_EQ(findGbakFn(folder), "") << folder;
    }
}

TEST(ServerDiscovery, ClientLibraryPreferenceOrder) {
    struct Case {
        Strings files;
        std::string expected;  // relative to the server folder; empty for none
    };
    const std::vector<Case> cases = {
        {{"WOW64\\fbclient.dll", "bin\\fbclient.dll", "fbclient.dll"}, "WOW64\\fbclient.dll"},
        {{"bin\\fbclient.dll", "fbclient.dll"}, "bin\\fbclient.dll"},
        {{"WOW64\\fbclient.dll", "fbclient.dll"}, "WOW64\\fbclient.dll"},
        {{"fbclient.dll"}, "fbclient.dll"},
        {{"instsvc.exe", "bin\\gbak.exe"}, ""},
    };
    TempFolder temp;
    int index = 0;
    for (const Case& c : cases) {
        const std::string folder = makeServer(temp, "s" + std::to_string(index++), c.files);
        const std::string expected = c.expected.empty() ? "" : folder + "\\" + c.expected;
        for (const std::string& spelling : spellings(folder)) {
            EXPECT_EQ(findFbClientLib(spelling), expected) << spelling;
        }
    }
    temp.folder("dir\\fbclient.dll");
    EXPECT_EQ(findFbClientLib(temp / "dir"), "") << "a folder of that name is not the library";
    EXPECT_EQ(findFbClientLib(temp / "missing"), "");
    EXPECT_EQ(findFbClientLib(""), "");
    EXPECT_EQ(findFbClientLib(" "), "");
}

TEST(ServerDiscovery, ServerExecutablePreferenceOrder) {
    TempFolder temp;
    const std::string both = makeServer(temp, "both", {"firebird.exe", "bin\\fbserver.exe"});
    const std::string fb25 = makeServer(temp, "fb25", {"bin\\fbserver.exe", "fbserver.exe"});
    const std::string none = makeServer(temp, "none", {"bin\\firebird.exe", "instsvc.exe"});
    for (const std::string& spelling : spellings(both)) EXPECT_EQ(findFbServerExe(spelling), both + "\\firebird.exe");
    EXPECT_EQ(findFbServerExe(fb25), fb25 + "\\bin\\fbserver.exe");
    EXPECT_EQ(findFbServerExe(none), "");
    EXPECT_EQ(findFbServerExe(temp / "missing"), "");
    EXPECT_EQ(findFbServerExe(""), "");
}

TEST(ServerDiscovery, FirebirdConfIsNamedNotLookedFor) {
    EXPECT_EQ(getFbConfFn(" C:\\Program Files\\Firebird\\Firebird_3_0 "),
              "C:\\Program Files\\Firebird\\Firebird_3_0\\firebird.conf");
    EXPECT_EQ(getFbConfFn("C:\\fb\\"), "C:\\fb\\firebird.conf");
    EXPECT_EQ(getFbConfFn(""), "\\firebird.conf");
}

TEST(ServerDiscovery, ToolPathNamesTheFileThatIsThere) {
    TempFolder temp;
    const std::string fb25 = makeServer(temp, "fb25", {"bin\\gfix.exe"});
    const std::string fb3 = makeServer(temp, "fb3", {"gfix.exe"});
    const std::string both = makeServer(temp, "both", {"gfix.exe", "bin\\gfix.exe"});
    const std::string none = temp.folder("none");
    const std::string odd = makeServer(temp, "odd", {"gstat.exe\\x"});

    for (const std::string& spelling : spellings(fb25)) {
        EXPECT_EQ(getToolPath(spelling, " gfix.exe "), fb25 + "\\bin\\gfix.exe");
    }
    for (const std::string& spelling : spellings(fb3)) EXPECT_EQ(getToolPath(spelling, "gfix.exe"), fb3 + "\\gfix.exe");
    EXPECT_EQ(getToolPath(both, "gfix.exe"), both + "\\bin\\gfix.exe");
    EXPECT_EQ(getToolPath(none, "gfix.exe"), none + "\\bin\\gfix.exe") << "the described form when neither exists";
    EXPECT_EQ(getToolPath(odd, "gstat.exe"), odd + "\\bin\\gstat.exe") << "a folder of that name is no tool";
    EXPECT_EQ(getToolPath(temp / "missing", "gbak.exe"), temp / "missing\\bin\\gbak.exe");
    EXPECT_EQ(getToolPath("C:\\Program Files\\Firebird\\Firebird_2_5", "gfix.exe"),
              "C:\\Program Files\\Firebird\\Firebird_2_5\\bin\\gfix.exe");
    EXPECT_EQ(getToolPath(fb3, ""), fb3 + "\\bin\\") << "no tool name never names the server folder itself";
}

// A base folder and a pair of Program Files folders, each with a Firebird folder of servers.
class InstalledServers : public ::testing::Test {
protected:
    void SetUp() override {
        base_ = temp_.folder("KELMORA.WIN") + "\\";
        x86_ = temp_.folder("Program Files (x86)") + "\\";
        native_ = temp_.folder("Program Files") + "\\";
        baseFb25_ = makeServer(temp_, "KELMORA.WIN\\Firebird\\Firebird_2_5", {"bin\\instsvc.exe"});
        baseFb3_ = makeServer(temp_, "KELMORA.WIN\\Firebird\\Firebird_3_0", {"instsvc.exe"});
        makeServer(temp_, "KELMORA.WIN\\Firebird\\docs", {"readme.txt", "gbak.exe"});
        TempFolder::setAttributes(makeServer(temp_, "KELMORA.WIN\\Firebird\\hidden", {"instsvc.exe"}),
                                  FILE_ATTRIBUTE_HIDDEN);
        temp_.file("KELMORA.WIN\\Firebird\\instsvc.exe");
        x86Server_ = makeServer(temp_, "Program Files (x86)\\Firebird\\Firebird_2_5", {"bin\\instsvc.exe"});
        nativeServer_ = makeServer(temp_, "Program Files\\Firebird\\Firebird_3_0", {"instsvc.exe"});
    }

    static Strings lines(const std::string& text) {
        Strings result;
        for (size_t start = 0; start <= text.size() && !text.empty();) {
            const size_t end = text.find("\r\n", start);
            result.push_back(text.substr(start, end - start));
            if (end == std::string::npos) break;
            start = end + 2;
        }
        return result;
    }
    static Strings sortedPair(const std::string& a, const std::string& b) {
        return a < b ? Strings{a, b} : Strings{b, a};
    }

    TempFolder temp_;
    std::string base_, x86_, native_, baseFb25_, baseFb3_, x86Server_, nativeServer_;
};

TEST_F(InstalledServers, BaseFolderThen32BitThen64BitProgramFiles) {
    const std::string text = findInstalledFbServers(base_, x86_);
    const Strings found = lines(text);
    ASSERT_EQ(found.size(), 4u) << text;
    EXPECT_EQ(sortedPair(found[0], found[1]), sortedPair(baseFb25_, baseFb3_));
    EXPECT_EQ(found[2], x86Server_);
    EXPECT_EQ(found[3], nativeServer_);
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1) << "lines are separated by CR LF";
    EXPECT_NE(text.substr(text.size() - 2), "\r\n") << "no line break after the last line";
}

TEST_F(InstalledServers, X86SuffixIsFoundInAnyLetterCase) {
    const std::string lower = temp_.path() + "Program Files (X86)\\";
    const Strings found = lines(findInstalledFbServers("  " + base_ + " ", " " + lower.substr(0, lower.size() - 1)));
    ASSERT_EQ(found.size(), 4u);
    EXPECT_TRUE(equalsNoCase(found[2], x86Server_)) << found[2];
    EXPECT_EQ(found[3], nativeServer_);
}

TEST_F(InstalledServers, ProgramFilesWithoutSuffixIsSearchedOnce) {
    const Strings found = lines(findInstalledFbServers(temp_ / "missing", native_));
    EXPECT_EQ(found, Strings{nativeServer_});
}

TEST_F(InstalledServers, TheSameFolderTwiceIsListedTwice) {
    const Strings found = lines(findInstalledFbServers(native_, native_));
    EXPECT_EQ(found, (Strings{nativeServer_, nativeServer_}));
}

TEST_F(InstalledServers, NoFirebirdFoldersGiveAnEmptyText) {
    const std::string empty = temp_.folder("empty");
    EXPECT_EQ(findInstalledFbServers(empty, empty + " (x86)"), "");
    EXPECT_EQ(findInstalledFbServers(temp_ / "KELMORA.WIN\\Firebird\\instsvc.exe", temp_ / "missing (x86)"), "")
        << "files where folders are expected";
}

TEST_F(InstalledServers, AddServersAppendsOnlyServerFolders) {
    Strings list{"kept"};
    addFbServersInFolder(base_ + "Firebird", list);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0], "kept");
    EXPECT_EQ(sortedPair(list[1], list[2]), sortedPair(baseFb25_, baseFb3_));

    Strings none;
    addFbServersInFolder(temp_ / "missing", none);
    addFbServersInFolder("", none);
    EXPECT_TRUE(none.empty());
}

// The one-argument form reads the Program Files folder from the registry: a server put under it
// (and removed again) must be found, after those of the base folder.
TEST(InstalledServersOfTheMachine, ProgramFilesFromTheRegistry) {
    TempFolder temp;
    const std::string programFiles = getProgramFilesFolder();
    const std::string firebird = programFiles + "Firebird";
    const bool madeFirebird = !platform::folderExists(firebird);
    const std::string server = firebird + "\\fbwb_test_" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(platform::createFolders(server + "\\bin"));
    platform::writeFileBytes(server + "\\bin\\instsvc.exe", "MZ");
    const std::string baseServer = makeServer(temp, "Firebird\\Firebird_2_5", {"bin\\instsvc.exe"});

    const std::string text = findInstalledFbServers(temp.path());

    platform::deleteFileClearingAttributes(server + "\\bin\\instsvc.exe");
    RemoveDirectoryW(platform::widen(server + "\\bin").c_str());
    RemoveDirectoryW(platform::widen(server).c_str());
    if (madeFirebird) RemoveDirectoryW(platform::widen(firebird).c_str());

    const size_t baseAt = text.find(baseServer + "\r\n");
    const size_t serverAt = text.find(server);
    EXPECT_EQ(baseAt, 0u) << text;
    EXPECT_NE(serverAt, std::string::npos) << text;
    EXPECT_FALSE(platform::folderExists(server));
}
