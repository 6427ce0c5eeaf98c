#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/encoding.h"
#include "platform/fs.h"
#include "platform/system.h"
#include "win/temp_folder.h"

using namespace fbwb::platform;
using fbwb::test::TempFolder;

namespace {
std::vector<std::string> entryNames(const std::string& pattern, bool* ok = nullptr) {
    std::vector<std::string> names;
    const bool result = enumerateEntries(pattern, [&](const DirEntry& entry) { names.push_back(entry.name); });
    if (ok != nullptr) *ok = result;
    return names;
}
}  // namespace

TEST(PlatformFs, QueryTellsFilesFromFoldersAndMissingPaths) {
    TempFolder temp;
    const std::string file = temp.file("a.txt", "12345");
    const std::string folder = temp.folder("sub");

    EXPECT_TRUE(fileExists(file));
    EXPECT_FALSE(folderExists(file));
    EXPECT_TRUE(folderExists(folder));
    EXPECT_TRUE(folderExists(folder + "\\"));
    EXPECT_FALSE(fileExists(folder));
    for (const std::string& missing : {temp / "nope.txt", temp / "nope\\deeper", std::string()}) {
        EXPECT_FALSE(fileExists(missing)) << missing;
        EXPECT_FALSE(folderExists(missing)) << missing;
        EXPECT_FALSE(queryFile(missing).has_value()) << missing;
    }

    TempFolder::setAttributes(file, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    const auto info = queryFile(file);
    ASSERT_TRUE(info.has_value());
    EXPECT_TRUE(info->readOnly);
    EXPECT_TRUE(info->hidden);
    EXPECT_TRUE(info->system);
    EXPECT_EQ(info->size, 5);
}

TEST(PlatformFs, EnumerationReportsDotsAndAttributesAndTellsFailureFromNoMatch) {
    TempFolder temp;
    temp.file("x.fdb");
    const std::string hidden = temp.file("h.fdb");
    TempFolder::setAttributes(hidden, FILE_ATTRIBUTE_HIDDEN);
    temp.folder("d.fdb");

    bool ok = false;
    std::vector<std::string> all = entryNames(temp / "*", &ok);
    EXPECT_TRUE(ok);
    std::sort(all.begin(), all.end());
    EXPECT_EQ(all, (std::vector<std::string>{".", "..", "d.fdb", "h.fdb", "x.fdb"}));

    bool hiddenSeen = false;
    bool folderSeen = false;
    enumerateEntries(temp / "*.fdb", [&](const DirEntry& entry) {
        if (entry.name == "h.fdb") hiddenSeen = entry.info.hidden;
        if (entry.name == "d.fdb") folderSeen = entry.info.directory;
    });
    EXPECT_TRUE(hiddenSeen);
    EXPECT_TRUE(folderSeen);

    EXPECT_TRUE(entryNames(temp / "*.none", &ok).empty());
    EXPECT_TRUE(ok) << "a pattern that matches nothing is no failure";
    EXPECT_TRUE(entryNames(temp / "missing\\*", &ok).empty());
    EXPECT_FALSE(ok) << "a missing folder is";
    EXPECT_FALSE(enumerateEntries("", [](const DirEntry&) {}));
}

TEST(PlatformFs, FolderIdentityIsTheSameHoweverTheFolderIsNamed) {
    TempFolder temp;
    const std::string folder = temp.folder("Adat");
    const std::string other = temp.folder("Masik");

    const std::string identity = folderIdentity(folder);
    ASSERT_FALSE(identity.empty());
    EXPECT_EQ(folderIdentity(temp / "adat\\"), identity);
    EXPECT_EQ(folderIdentity(temp / "Adat\\..\\Adat"), identity);
    EXPECT_NE(folderIdentity(other), identity);

    const std::string link = temp / "link";
    if (TempFolder::underWine()) {
        ASSERT_TRUE(temp.makeHostSymlink(folder, link));
        EXPECT_EQ(folderIdentity(link), identity);
        EXPECT_EQ(folderIdentity(link + "\\..\\link"), identity);
    }

    EXPECT_EQ(folderIdentity(temp.file("f.txt")), "") << "a file is no folder";
    EXPECT_EQ(folderIdentity(temp / "missing"), "");
    EXPECT_EQ(folderIdentity(""), "");
}

TEST(PlatformFs, DeleteClearsReadOnlyAndLeavesFolders) {
    TempFolder temp;
    const std::string file = temp.file("ro.txt", "x");
    TempFolder::setAttributes(file, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    EXPECT_TRUE(deleteFileClearingAttributes(file));
    EXPECT_FALSE(queryFile(file).has_value());

    EXPECT_TRUE(deleteFileClearingAttributes(temp / "missing.txt"));

    const std::string folder = temp.folder("keep");
    EXPECT_FALSE(deleteFileClearingAttributes(folder));
    EXPECT_TRUE(folderExists(folder));
}

TEST(PlatformFs, CreateFoldersMakesEveryParent) {
    TempFolder temp;
    const std::string deep = temp / "a\\b\\c\\\xC3\xA1rv\xC3\xADzt\xC5\xB1r\xC5\x91";
    EXPECT_TRUE(createFolders(deep));
    EXPECT_TRUE(folderExists(deep));
    EXPECT_TRUE(createFolders(deep + "\\")) << "an existing folder, with a trailing backslash";
    EXPECT_TRUE(createFolders(temp / "x/y/z"));
    EXPECT_TRUE(folderExists(temp / "x\\y\\z"));

    const std::string file = temp.file("blocker");
    EXPECT_FALSE(createFolders(file + "\\below"));
    EXPECT_FALSE(createFolders(file));
    EXPECT_FALSE(createFolders(""));
}

TEST(PlatformFs, WriteAndReadBytesExactly) {
    TempFolder temp;
    const std::string path = temp / "\xC5\x91.bin";
    const std::string bytes("a\0b\r\n\xF5\xFF", 7);
    writeFileBytes(path, bytes);
    EXPECT_EQ(readFileBytes(path), bytes);

    writeFileBytes(path, "xy");
    EXPECT_EQ(readFileBytes(path), "xy") << "a shorter text replaces the whole file";
    writeFileBytes(path, "");
    EXPECT_EQ(readFileBytes(path), "");

    EXPECT_FALSE(readFileBytes(temp / "missing").has_value());
    EXPECT_FALSE(readFileBytes(temp.folder("dir")).has_value());
    EXPECT_FALSE(readFileBytes("").has_value());
}

TEST(PlatformFs, WriteFailuresCarryTheSystemText) {
    TempFolder temp;
    const std::string readOnly = temp.file("ro.txt", "old");
    TempFolder::setAttributes(readOnly, FILE_ATTRIBUTE_READONLY);
    const std::string folder = temp.folder("dir");

    for (const std::string& target : {temp / "missing\\x.txt", readOnly, folder}) {
        try {
            writeFileBytes(target, "new");
            ADD_FAILURE() << "no error for " << target;
        } catch (const std::runtime_error& error) {
            EXPECT_STRNE(error.what(), "") << target;
        }
    }
    EXPECT_EQ(readFileBytes(readOnly), "old");
}

TEST(PlatformFs, ExecutableFolderHoldsTheRunningProgram) {
    const std::string folder = executableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_TRUE(folderExists(folder));
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    EXPECT_EQ(narrow(path).substr(0, folder.size()), folder);
}

TEST(PlatformFs, LastErrorTextIsTheSystemsMessage) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    const std::string notFound = lastErrorText();
    SetLastError(ERROR_ACCESS_DENIED);
    const std::string denied = lastErrorText();
    EXPECT_FALSE(notFound.empty());
    EXPECT_NE(notFound, denied);
    EXPECT_NE(notFound.back(), '\n');
    SetLastError(0x2FFFFFFF);
    EXPECT_NE(lastErrorText().find("805306367"), std::string::npos) << "an unknown code still gives its number";
}

// A scratch key under HKCU with values of every kind the reader meets.
class RegistryValues : public ::testing::Test {
protected:
    void SetUp() override {
        keyPath_ = "Software\\fbwb_test_" + std::to_string(GetCurrentProcessId());
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, widen(keyPath_).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key_,
                                  nullptr),
                  ERROR_SUCCESS);
        setValue(L"plain", REG_SZ, L"C:\\\x00C1rv\x00EDz", true);
        setValue(L"expand", REG_EXPAND_SZ, L"%SystemRoot%\\x", true);
        setValue(L"unterminated", REG_SZ, L"abc", false);
        setValue(L"empty", REG_SZ, L"", true);
        const DWORD number = 7;
        RegSetValueExW(key_, L"number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    }
    void TearDown() override {
        RegCloseKey(key_);
        RegDeleteKeyW(HKEY_CURRENT_USER, widen(keyPath_).c_str());
    }
    void setValue(const wchar_t* name, DWORD type, const std::wstring& text, bool terminated) {
        const DWORD bytes = static_cast<DWORD>((text.size() + (terminated ? 1 : 0)) * sizeof(wchar_t));
        RegSetValueExW(key_, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()), bytes);
    }

    std::string keyPath_;
    HKEY key_ = nullptr;
};

TEST_F(RegistryValues, StringsAreReadAndEverythingElseIsNothing) {
    const auto read = [&](std::string_view name) {
        return readRegistryValue(RegistryRoot::CurrentUser, keyPath_, name);
    };
    EXPECT_EQ(read("plain"), "C:\\\xC3\x81rv\xC3\xADz");
    EXPECT_EQ(read("expand"), "%SystemRoot%\\x") << "read as stored, not expanded";
    EXPECT_EQ(read("unterminated"), "abc");
    EXPECT_EQ(read("empty"), "");
    EXPECT_FALSE(read("number").has_value());
    EXPECT_FALSE(read("missing").has_value());
    EXPECT_FALSE(readRegistryValue(RegistryRoot::CurrentUser, keyPath_ + "\\missing", "plain").has_value());
}

TEST(PlatformSystem, WineMachineFacts) {
    EXPECT_EQ(readRegistryValue(RegistryRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                                "ProgramFilesDir"),
              "C:\\Program Files");
    const unsigned drives = presentDrivesMask();
    EXPECT_NE(drives & (1u << ('C' - 'A')), 0u);
    EXPECT_EQ(driveType('C'), DRIVE_FIXED);
    EXPECT_EQ(driveType('c'), DRIVE_FIXED);
    EXPECT_EQ(driveType('1'), DRIVE_NO_ROOT_DIR);
    EXPECT_EQ(nativeProcessorArchitecture(), PROCESSOR_ARCHITECTURE_AMD64);
}
