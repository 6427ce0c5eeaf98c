#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/file_helpers_win.h"
#include "platform/encoding.h"
#include "platform/fs.h"
#include "win/temp_folder.h"

using namespace fbwb;
using fbwb::test::TempFolder;
using Strings = std::vector<std::string>;

namespace {
size_t indexOf(const Strings& list, const std::string& item) {
    return static_cast<size_t>(std::find(list.begin(), list.end(), item) - list.begin());
}
Strings sorted(Strings list) {
    std::sort(list.begin(), list.end());
    return list;
}
}  // namespace

TEST(FindFilesRecursive, SubfolderFilesFirstAndTheRootsLast) {
    TempFolder temp;
    const std::string root = temp.folder("adat");
    temp.file("adat\\kelmora.fdb");
    temp.file("adat\\12345678.000\\kelmora.fdb");
    temp.file("adat\\87654321.000\\conf.fdb");
    temp.file("adat\\87654321.000\\notes.txt");

    Strings found{"kept"};
    findFilesRecursive(root, "*.fdb", found);

    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[0], "kept") << "the target is not cleared";
    EXPECT_EQ(sorted({found[1], found[2]}),
              sorted({root + "\\12345678.000\\kelmora.fdb", root + "\\87654321.000\\conf.fdb"}));
    EXPECT_EQ(found[3], root + "\\kelmora.fdb") << "a backslash is put between the root and its files";
}

TEST(FindFilesRecursive, DepthFirstEachFolderBeforeItsOwnSubfolders) {
    TempFolder temp;
    temp.file("a\\a.fdb");
    temp.file("a\\deep\\deep.fdb");
    temp.file("a\\deep\\deeper\\deeper.fdb");
    temp.file("b\\b.fdb");

    Strings found;
    findFilesRecursive(temp.path(), "*.fdb", found);
    ASSERT_EQ(found.size(), 4u);
    const size_t a = indexOf(found, temp / "a\\a.fdb");
    const size_t deep = indexOf(found, temp / "a\\deep\\deep.fdb");
    const size_t deeper = indexOf(found, temp / "a\\deep\\deeper\\deeper.fdb");
    const size_t b = indexOf(found, temp / "b\\b.fdb");
    EXPECT_EQ(deep, a + 1);
    EXPECT_EQ(deeper, a + 2);
    EXPECT_TRUE(b == 0 || b == 3) << "b's files come before or after a's whole subtree";
}

TEST(FindFilesRecursive, HiddenAndSystemFoldersAndHiddenFilesAreSkipped) {
    TempFolder temp;
    TempFolder::setAttributes(temp.folder("hidden"), FILE_ATTRIBUTE_HIDDEN);
    temp.file("hidden\\inside.fdb");
    TempFolder::setAttributes(temp.folder("system"), FILE_ATTRIBUTE_SYSTEM);
    temp.file("system\\inside.fdb");
    TempFolder::setAttributes(temp.file("visible\\hidden.fdb"), FILE_ATTRIBUTE_HIDDEN);
    const std::string readOnly = temp.file("visible\\readonly.fdb");
    TempFolder::setAttributes(readOnly, FILE_ATTRIBUTE_READONLY);
    const std::string system = temp.file("visible\\system.fdb");
    TempFolder::setAttributes(system, FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
    const std::string folderNamedLikeAFile = temp.folder("visible\\folder.fdb");

    Strings found;
    findFilesRecursive(temp.path(), "*.fdb", found);
    EXPECT_EQ(sorted(found), sorted({readOnly, system}));
}

TEST(FindFilesRecursive, NothingForEmptyBlankMissingOrFileRoots) {
    TempFolder temp;
    temp.file("x.fdb");
    const std::string file = temp / "x.fdb";
    for (const std::string& root : {std::string(), std::string("  \t"), temp / "missing", file}) {
        Strings found;
        findFilesRecursive(root, "*.fdb", found);
        EXPECT_TRUE(found.empty()) << "root '" << root << "'";
    }
    Strings found;
    findFilesRecursive(temp.folder("empty"), "*.fdb", found);
    EXPECT_TRUE(found.empty());
    findFilesRecursive(temp.path(), "", found);
    EXPECT_TRUE(found.empty()) << "an empty mask matches nothing";
}

TEST(FindFilesRecursive, RootWithBlanksAndTrailingBackslashGivesTheSamePaths) {
    TempFolder temp;
    temp.file("sub\\a.fdb");
    temp.file("b.fdb");
    Strings clean;
    Strings padded;
    findFilesRecursive(temp.path(), "*.fdb", clean);
    findFilesRecursive("  " + temp.path() + " \t", " *.fdb ", padded);
    EXPECT_EQ(clean, (Strings{temp / "sub\\a.fdb", temp / "b.fdb"}));
    EXPECT_EQ(padded, clean);
}

TEST(FindFilesRecursive, FilesMatchByTheirOwnNameOnceEachLetterCaseAside) {
    TempFolder temp;
    const std::string lower = temp.file("a.fdb");
    const std::string mixed = temp.file("b.Fdb");
    const std::string accented = temp.file("\xC3\x81rv\xC3\xADzt\xC5\xB1r\xC5\x91.FDB");
    for (const char* name : {"kelmora.fdb_regi", "kelmora.fdbx", "x.fdb.bak", "fdb", "a.fd", "y.fdb\\inner.txt"})
        temp.file(name);
    if (TempFolder::underWine()) {
        ASSERT_TRUE(temp.makeHostFile(temp / "A.FDB"));
    }

    Strings found;
    findFilesRecursive(temp.path(), "*.fdb", found);
    // a.fdb and A.FDB name one database to Windows: the first one listed stands for both.
    Strings keys;
    for (const std::string& path : found) keys.push_back(platform::pathKey(path));
    EXPECT_EQ(sorted(keys), sorted({platform::pathKey(lower), platform::pathKey(mixed), platform::pathKey(accented)}))
        << testing::PrintToString(found);
    EXPECT_NE(std::find(found.begin(), found.end(), mixed), found.end()) << "listed as the file system spells it";

    Strings masked;
    findFilesRecursive(temp.path(), "?.FDB", masked);
    EXPECT_EQ(sorted(masked), sorted({found[indexOf(keys, platform::pathKey(lower))], mixed}));
}

TEST(FindFilesRecursive, DeepChainInDescribedOrder) {
    TempFolder temp;
    std::string folder = temp.path() + "root";
    ASSERT_TRUE(platform::createFolders(folder));
    const std::string root = folder;
    Strings expected;
    for (int depth = 1; depth <= 300; ++depth) {
        folder += "\\d";
        ASSERT_TRUE(CreateDirectoryW(platform::widen(folder).c_str(), nullptr)) << depth;
        if (depth % 100 == 1 || depth == 300) {
            platform::writeFileBytes(folder + "\\x.fdb", "");
            expected.push_back(folder + "\\x.fdb");
        }
    }
    platform::writeFileBytes(root + "\\top.fdb", "");
    expected.push_back(root + "\\top.fdb");

    Strings found;
    findFilesRecursive(root, "*.fdb", found);
    EXPECT_EQ(found, expected);
}

// Links back into the tree (under Wine: host symlinks, which Windows programs see as folders).
class LinkLoops : public ::testing::Test {
protected:
    void SetUp() override {
        if (!TempFolder::underWine()) GTEST_SKIP() << "host symlinks are made only under Wine";
        root_ = temp_.folder("root");
        temp_.file("root\\top.fdb");
        temp_.file("root\\a\\a.fdb");
        temp_.file("root\\b\\b.fdb");
        ASSERT_TRUE(temp_.makeHostSymlink(root_, temp_ / "root\\a\\toRoot"));
        ASSERT_TRUE(temp_.makeHostSymlink(temp_ / "root\\a", temp_ / "root\\a\\self"));
        ASSERT_TRUE(temp_.makeHostSymlink(temp_ / "root\\a", temp_ / "root\\b\\toA"));
    }
    TempFolder temp_;
    std::string root_;
};

// Links (under Wine: host symlinks, which Windows programs see as linked folders): the loops above, a folder
// reached directly and through links, a folder outside the tree, the folder above the root, a linked file.
class LinkedFolders : public LinkLoops {
protected:
    void SetUp() override {
        LinkLoops::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        temp_.file("outside\\o.fdb");
        temp_.file("beside.fdb");
        ASSERT_TRUE(temp_.makeHostSymlink(temp_ / "root\\A", temp_ / "root\\b\\toAInOtherCase"));
        ASSERT_TRUE(temp_.makeHostSymlink(temp_ / "outside", temp_ / "root\\b\\toOutside"));
        ASSERT_TRUE(temp_.makeHostSymlink(temp_ / "outside", temp_ / "root\\a\\outsideAgain"));
        ASSERT_TRUE(temp_.makeHostSymlink(temp_.path().substr(0, temp_.path().size() - 1), temp_ / "root\\up"));
        ASSERT_TRUE(temp_.makeHostSymlink(temp_ / "root\\top.fdb", temp_ / "root\\b\\alias.fdb"));
    }
};

TEST_F(LinkedFolders, TheWalkEndsAndListsEveryDatabaseOnceByItsOwnFoldersPath) {
    Strings found;
    findFilesRecursive(root_, "*.fdb", found);
    // outside\ is reached only through links: listed once, where the first of them was met.
    const std::string outside = indexOf(found, root_ + "\\a\\outsideAgain\\o.fdb") < found.size()
                                    ? root_ + "\\a\\outsideAgain\\o.fdb"
                                    : root_ + "\\b\\toOutside\\o.fdb";
    EXPECT_EQ(sorted(found), sorted({root_ + "\\a\\a.fdb", root_ + "\\b\\b.fdb", outside, root_ + "\\top.fdb"}))
        << testing::PrintToString(found);
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found.back(), root_ + "\\top.fdb");
    const std::string owner = outside.substr(0, outside.find("\\", root_.size() + 1));
    EXPECT_EQ(indexOf(found, outside), indexOf(found, owner + "\\" + (owner.back() == 'a' ? "a.fdb" : "b.fdb")) + 1)
        << "a link's files stand where the link was met";
}

TEST_F(LinkLoops, TheWalkEndsAndFindsEveryFileOnce) {
    Strings found;
    findFilesRecursive(root_, "*.fdb", found);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found.back(), root_ + "\\top.fdb");
    EXPECT_EQ(sorted({found[0], found[1]}), sorted({root_ + "\\a\\a.fdb", root_ + "\\b\\b.fdb"}));
}

TEST_F(LinkLoops, RecursiveSubfolderListingEntersNoFolderTwice) {
    Strings folders;
    EXPECT_TRUE(listSubfolders(root_, "*", folders, false, true));
    EXPECT_EQ(sorted(folders), sorted({root_ + "\\a", root_ + "\\b"}));

    Strings flat;
    EXPECT_TRUE(listSubfolders(root_ + "\\a", "*", flat, true, false));
    EXPECT_EQ(sorted(flat), sorted({"self", "toRoot"})) << "a flat listing shows links as folders";
}

TEST(ListSubfolders, NamesOrPathsFlatOrDepthFirst) {
    TempFolder temp;
    temp.folder("x\\x1\\x11");
    temp.folder("y");
    TempFolder::setAttributes(temp.folder("h"), FILE_ATTRIBUTE_HIDDEN);
    temp.file("file.txt");

    Strings flat{"kept"};
    EXPECT_TRUE(listSubfolders(temp.path(), "*", flat, false, false));
    EXPECT_EQ(sorted(flat), sorted({"kept", temp / "x", temp / "y"})) << "appends, no trailing backslash";

    Strings names;
    EXPECT_TRUE(listSubfolders(temp.path(), "*", names, true, true));
    EXPECT_TRUE(names == (Strings{"x", "x1", "x11", "y"}) || names == (Strings{"y", "x", "x1", "x11"}))
        << testing::PrintToString(names);

    Strings masked;
    EXPECT_TRUE(listSubfolders(" " + temp.path().substr(0, temp.path().size() - 1) + " ", " x* ", masked, false, true));
    EXPECT_EQ(masked, (Strings{temp / "x", temp / "x\\x1", temp / "x\\x1\\x11"}));
}

TEST(ListSubfolders, NothingAndTrueForUnusableArguments) {
    TempFolder temp;
    temp.folder("sub");
    const std::string file = temp.file("f.txt");
    for (const auto& [folder, mask] : std::vector<std::pair<std::string, std::string>>{
             {"", "*"}, {"   ", "*"}, {temp / "missing", "*"}, {file, "*"}, {temp.path(), ""}, {temp.path(), "  "}}) {
        Strings list;
        EXPECT_TRUE(listSubfolders(folder, mask, list, false, true)) << folder << " / " << mask;
        EXPECT_TRUE(list.empty()) << folder << " / " << mask;
    }
}

TEST(ListFilesInFolder, ClearsAndReducesNamesAsAsked) {
    TempFolder temp;
    temp.file("x.y\\kelmora.fdb");
    temp.file("x.y\\noext");
    temp.folder("x.y\\folder.fdb");
    TempFolder::setAttributes(temp.file("x.y\\hidden.fdb"), FILE_ATTRIBUTE_HIDDEN);
    const std::string folder = temp / "x.y";

    struct Case {
        std::string mask;
        bool nameOnly;
        bool strip;
        Strings expected;
    };
    const std::vector<Case> cases = {
        {"*", false, false, {folder + "\\kelmora.fdb", folder + "\\noext"}},
        {"*", false, true, {folder + "\\kelmora", folder + "\\noext"}},
        {"*", true, false, {"kelmora.fdb", "noext"}},
        {"*", true, true, {"kelmora", "noext"}},
        {"*.fdb", true, false, {"kelmora.fdb"}},
        {"k?lmora.*", true, false, {"kelmora.fdb"}},
        {"*.none", true, false, {}},
    };
    for (const Case& c : cases) {
        Strings list{"stale"};
        EXPECT_TRUE(listFilesInFolder(folder, c.mask, list, c.nameOnly, c.strip));
        EXPECT_EQ(sorted(list), sorted(c.expected)) << c.mask << " " << c.nameOnly << c.strip;
    }

    Strings list{"stale"};
    EXPECT_TRUE(listFilesInFolder(temp / "x.y\\kelmora.fdb", "*", list, false, false)) << "a file is no folder";
    EXPECT_TRUE(list.empty());
    list = {"stale"};
    EXPECT_TRUE(listFilesInFolder("", "*", list, false, false));
    EXPECT_TRUE(list.empty());
}

TEST(DeleteFileForced, DeletesReadOnlyAndIgnoresWhatCannotBeDeleted) {
    TempFolder temp;
    const std::string readOnly = temp.file("ro.fdb", "data");
    TempFolder::setAttributes(readOnly, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(deleteFileForced(readOnly));
    EXPECT_FALSE(platform::queryFile(readOnly).has_value());

    EXPECT_TRUE(deleteFileForced(temp / "missing.fdb"));
    EXPECT_TRUE(deleteFileForced(""));
    const std::string folder = temp.folder("dir");
    EXPECT_TRUE(deleteFileForced(folder));
    EXPECT_TRUE(platform::folderExists(folder)) << "a folder is left alone";
}

TEST(SaveLinesToFile, AnsiCodePageCrLfNoByteOrderMark) {
    TempFolder temp;
    const std::string path = temp.file("report.htm", std::string(100, 'x'));
    EXPECT_TRUE(saveLinesToFile({"<p>\xC5\x91r\xC3\xBC</p>", "", "v\xC3\xA9ge"}, path));
    EXPECT_EQ(platform::readFileBytes(path), "<p>\xF5r\xFC</p>\r\n\r\nv\xE9ge\r\n");

    EXPECT_TRUE(saveLinesToFile({}, path));
    EXPECT_EQ(platform::readFileBytes(path), "");
}

TEST(SaveLinesToFile, FailuresReachTheCaller) {
    TempFolder temp;
    const std::string readOnly = temp.file("ro.htm", "old");
    TempFolder::setAttributes(readOnly, FILE_ATTRIBUTE_READONLY);
    EXPECT_THROW(saveLinesToFile({"a"}, temp / "missing\\r.htm"), std::runtime_error);
    EXPECT_THROW(saveLinesToFile({"a"}, readOnly), std::runtime_error);
    EXPECT_THROW(saveLinesToFile({"a"}, temp.folder("dir")), std::runtime_error);
}

TEST(GetFileSize, MissingEmptyAndWhole64BitSizes) {
    TempFolder temp;
    EXPECT_EQ(getFileSize(temp / "missing"), -1);
    EXPECT_EQ(getFileSize(""), -1);
    EXPECT_EQ(getFileSize(temp.folder("dir")), -1) << "a folder has no file size";
    EXPECT_EQ(getFileSize(temp.file("empty")), 0);
    EXPECT_EQ(getFileSize(temp.file("five", "12345")), 5);

    // Past 4 GiB, so a lost high part shows; the file is sparse and takes no disk space.
    const std::string big = temp / "big.fdb";
    const std::int64_t size = (std::int64_t{1} << 32) + 12345;
    HANDLE file = CreateFileW(platform::widen(big).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD returned = 0;
    DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = size;
    const bool extended = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    ASSERT_TRUE(extended);
    EXPECT_EQ(getFileSize(big), size);
}

TEST(NormalizeFolderPath, TrimsAddsBackslashAndResolvesTheProgramFolder) {
    const std::string exe = platform::executableFolder();
    EXPECT_EQ(normalizeFolderPath(".\\data"), exe + "data\\");
    EXPECT_EQ(normalizeFolderPath("  c:\\KELMORA.WIN \t"), "c:\\KELMORA.WIN\\");
    EXPECT_EQ(normalizeFolderPath("c:\\KELMORA.WIN\\"), "c:\\KELMORA.WIN\\");
}

TEST(ProgramFilesFolder, ComesFromTheRegistryNormalised) {
    const std::string folder = getProgramFilesFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_TRUE(platform::folderExists(folder)) << folder;
    // The 32-bit programs' folder where the system has that view; the native one where it has not
    // (a Wine prefix without 32-bit support).
    if (TempFolder::underWine()) {
        EXPECT_TRUE(folder == "C:\\Program Files (x86)\\" || folder == "C:\\Program Files\\") << folder;
    }
}

TEST(ReadRegistryString, ValueOrDefault) {
    const std::string key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
    EXPECT_EQ(readRegistryString(platform::RegistryRoot::LocalMachine, key, "ProgramFilesDir", "d"),
              "C:\\Program Files");
    EXPECT_EQ(readRegistryString(platform::RegistryRoot::LocalMachine, key, "NoSuchValue", "d"), "d");
    EXPECT_EQ(readRegistryString(platform::RegistryRoot::LocalMachine, key + "\\NoSuchKey", "ProgramFilesDir", "d"),
              "d");
}

TEST(ListDrivesOfType, PresentDrivesOfTheTypeOnly) {
    Strings fixed{"stale"};
    listDrivesOfType(DRIVE_FIXED, fixed);
    EXPECT_NE(std::find(fixed.begin(), fixed.end(), "C:"), fixed.end());
    EXPECT_EQ(std::find(fixed.begin(), fixed.end(), "stale"), fixed.end());
    EXPECT_TRUE(std::is_sorted(fixed.begin(), fixed.end()));

    for (int type : {-1, DRIVE_CDROM + 100}) {
        Strings list{"stale"};
        listDrivesOfType(type, list);
        EXPECT_TRUE(list.empty()) << type;
    }
}
