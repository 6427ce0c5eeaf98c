#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <stdexcept>
#include <string>

#include "install/installer_kits_win.h"
#include "platform/fs.h"
#include "win/temp_folder.h"
#include "zip_builder.h"

using namespace fbwb;
using fbwb::test::buildZip;
using fbwb::test::TempFolder;
using fbwb::test::ZipItem;

namespace {

// Every file and folder under the folder: relative path -> content ("<dir>" for a folder).
using Tree = std::map<std::string, std::string>;
void collect(const std::string& folder, const std::string& prefix, Tree& tree) {
    platform::listFolder(folder, [&](const platform::DirEntry& entry) {
        const std::string relative = prefix + entry.name;
        if (entry.info.directory) {
            tree[relative + "\\"] = "<dir>";
            collect(folder + "\\" + entry.name, relative + "\\", tree);
        } else {
            tree[relative] = platform::readFileBytes(folder + "\\" + entry.name).value_or("<unreadable>");
        }
    });
}
Tree treeOf(const std::string& folder) {
    Tree tree;
    collect(folder, "", tree);
    return tree;
}

std::string writeKit(const TempFolder& temp, const std::string& name, const std::vector<ZipItem>& items) {
    return temp.file(name, buildZip(items));
}

const std::vector<ZipItem> kKit = {
    {.name = "firebird.conf", .data = "RemoteServicePort = 3050\r\n"},
    {.name = "bin/instsvc.exe", .data = std::string(70000, 'i')},
    {.name = "bin/fbserver.exe", .data = "MZ", .method = 0, .descriptor = true},
    {.name = "doc/", .data = "", .method = 0},
    {.name = "empty.txt", .data = "", .method = 0},
};

}  // namespace

TEST(UnpackInstallerZip, SecondUnpackReplacesKitFilesAlsoReadOnlyOnesAndKeepsOthers) {
    TempFolder temp;
    const std::string zip = writeKit(temp, "kit.zip", kKit);
    const std::string dest = temp / "Firebird\\Firebird_3_0_0_64bit\\";
    unpackInstallerZip(zip, dest);
    const Tree first = treeOf(dest);
    EXPECT_EQ(first, (Tree{{"firebird.conf", "RemoteServicePort = 3050\r\n"},
                           {"bin\\", "<dir>"},
                           {"bin\\instsvc.exe", std::string(70000, 'i')},
                           {"bin\\fbserver.exe", "MZ"},
                           {"doc\\", "<dir>"},
                           {"empty.txt", ""}}));

    platform::writeFileBytes(dest + "firebird.conf", "RemoteServicePort = 3051\r\n");
    TempFolder::setAttributes(dest + "firebird.conf", FILE_ATTRIBUTE_READONLY);
    temp.file("Firebird\\Firebird_3_0_0_64bit\\bin\\own.txt", "mine");
    unpackInstallerZip(zip, dest);
    Tree expected = first;
    expected["bin\\own.txt"] = "mine";
    EXPECT_EQ(treeOf(dest), expected);
}

TEST(UnpackInstallerZip, EntriesBeyondTheOldPathLimitAreWritten) {
    TempFolder temp;
    const std::string part(60, 'p');
    const std::string name = part + "/" + part + "/" + part + "/" + part + "/" + part + ".txt";
    const std::string zip = writeKit(temp, "kit.zip", {{.name = name, .data = "deep"}});
    unpackInstallerZip(zip, temp / "dest");
    std::string windowsName = name;
    for (char& c : windowsName)
        if (c == '/') c = '\\';
    EXPECT_EQ(treeOf(temp / "dest")[windowsName], "deep");
}

TEST(UnpackInstallerZip, RefusedKitsChangeNothingOutsideAndRefusedNamesWriteNothing) {
    const std::string good = buildZip(kKit);
    const struct {
        const char* label;
        std::string archive;
        bool refusedUpFront;  // refused before any entry is written
    } cases[] = {
        {"..\\..\\evil.txt", buildZip({kKit[0], {.name = "..\\..\\evil.txt", .data = "evil"}}), true},
        {"../x", buildZip({kKit[0], {.name = "../x", .data = "evil"}}), true},
        {"/etc/x", buildZip({kKit[0], {.name = "/etc/x", .data = "evil"}}), true},
        {"\\x", buildZip({kKit[0], {.name = "\\x", .data = "evil"}}), true},
        {"C:\\x", buildZip({kKit[0], {.name = "C:\\x", .data = "evil"}}), true},
        {"C:x", buildZip({kKit[0], {.name = "C:x", .data = "evil"}}), true},
        {"truncated", good.substr(0, good.size() - 30), true},
        {"unsupported method", buildZip({kKit[0], {.name = "a.txt", .data = "abc", .method = 12}}), true},
        {"crc mismatch", buildZip({kKit[0], {.name = "a.txt", .data = "abc", .crc = 7}}), false},
        {"1 KB that inflates to 64 MB",
         buildZip(
             {kKit[0], {.name = "zeros.bin", .data = "", .size = 1024, .packed = test::deflatedZeroMegabytes(64)}}),
         false},
    };
    for (const auto& c : cases) {
        TempFolder temp;
        temp.file("outside.txt", "keep");
        const std::string zip = writeKit(temp, "kit.zip", {});
        platform::writeFileBytes(zip, c.archive);
        const std::string dest = temp.folder("dest");
        temp.file("dest\\firebird.conf", "old");
        const Tree before = treeOf(temp.path());
        EXPECT_THROW(unpackInstallerZip(zip, dest), std::runtime_error) << c.label;
        Tree after = treeOf(temp.path());
        if (c.refusedUpFront) {
            EXPECT_EQ(after, before) << c.label;
        } else {
            // The good entry before the damaged one was written; nothing else, no temporary file.
            Tree expected = before;
            expected["dest\\firebird.conf"] = "RemoteServicePort = 3050\r\n";
            EXPECT_EQ(after, expected) << c.label;
        }
    }
}

TEST(UnpackInstallerZip, DamagedEntryLeavesTheGoodFileInPlace) {
    TempFolder temp;
    const std::string dest = temp.folder("dest");
    unpackInstallerZip(writeKit(temp, "good.zip", kKit), dest);
    const Tree before = treeOf(dest);
    std::string damaged = test::rawDeflate(std::string(70000, 'j'));
    damaged[damaged.size() / 2] ^= 0x40;
    const std::string zip =
        writeKit(temp, "bad.zip", {{.name = "bin/instsvc.exe", .data = std::string(70000, 'j'), .packed = damaged}});
    EXPECT_THROW(unpackInstallerZip(zip, dest), std::runtime_error);
    EXPECT_EQ(treeOf(dest), before);
}

TEST(UnpackInstallerZip, NeverWritesThroughALinkedSubfolder) {
    TempFolder temp;
    const std::string outside = temp.folder("outside");
    const std::string dest = temp.folder("dest");
    if (!temp.makeHostSymlink(outside, dest + "\\bin")) GTEST_SKIP() << "no host links outside Wine";
    EXPECT_THROW(unpackInstallerZip(writeKit(temp, "kit.zip", kKit), dest), std::runtime_error);
    EXPECT_TRUE(treeOf(outside).empty());
}
