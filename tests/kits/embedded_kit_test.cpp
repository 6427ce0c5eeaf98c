// A program with a kit embedded as RCDATA (FIREBIRD_3_0_0_64BIT, see make-test-kit.py): the lookup's
// order and the unpacking of an embedded kit. It writes kit ZIPs beside itself, in a folder of its own.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "install/installer_kits_win.h"
#include "platform/fs.h"
#include "platform/resources.h"
#include "win/temp_folder.h"

using namespace fbwb;
using fbwb::test::TempFolder;

namespace {

// A file beside the program for the test's duration.
class BesideExe {
public:
    explicit BesideExe(const std::string& name) : path_(platform::executableFolder() + name) {
        platform::writeFileBytes(path_, "PK");
    }
    ~BesideExe() { platform::deleteFileClearingAttributes(path_); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace

TEST(EmbeddedKit, ResourceNamesAreTrimmedAndUpperCased) {
    EXPECT_TRUE(platform::rcDataResourceExists(" firebird_3_0_0_64bit "));
    EXPECT_FALSE(platform::rcDataResourceExists("FIREBIRD_2_5_5_64BIT"));
    EXPECT_FALSE(platform::rcDataResourceExists(""));
    TempFolder temp;
    EXPECT_FALSE(platform::saveRcDataResourceToFile("", temp / "a.zip"));
    EXPECT_FALSE(platform::saveRcDataResourceToFile("FIREBIRD_3_0_0_64BIT", "  "));
    EXPECT_FALSE(platform::fileExists(temp / "a.zip"));
    EXPECT_TRUE(platform::saveRcDataResourceToFile("Firebird_3_0_0_64bit", temp / "a.zip"));
    EXPECT_EQ(platform::readFileBytes(temp / "a.zip").value_or("").substr(0, 2), "PK");
}

TEST(EmbeddedKit, TheResourceWinsOverAZipBesideTheProgramAndOnlyThisBitnessCounts) {
    ASSERT_EQ(getInstallerName(ivFb3_0), "Firebird_3_0_0_64bit");  // Wine's prefix is 64-bit
    const std::string folder = platform::executableFolder();
    EXPECT_EQ(getInstallerZipFnBesideExe(ivFb2_5), folder + "Firebird_2_5_5_64bit.zip");
    {
        const BesideExe zip3("Firebird_3_0_0_64bit.zip");
        const BesideExe zip25of32("Firebird_2_5_5_32bit.zip");
        const TInstallerSource kit3 = getInstallerSource(ivFb3_0);
        EXPECT_TRUE(kit3.available);
        EXPECT_EQ(kit3.kind, iskResource);
        EXPECT_EQ(kit3.resourceOrFileName, "Firebird_3_0_0_64bit");
        EXPECT_FALSE(getInstallerSource(ivFb2_5).available);
    }
    const BesideExe zip25("Firebird_2_5_5_64bit.zip");
    const TInstallerSource kit25 = getInstallerSource(ivFb2_5);
    EXPECT_TRUE(kit25.available);
    EXPECT_EQ(kit25.kind, iskFile);
    EXPECT_EQ(kit25.resourceOrFileName, zip25.path());
    EXPECT_FALSE(getInstallerSource(ivNone).available);
}

TEST(EmbeddedKit, ExtractDeletesAReadOnlyLeftoverWritesUnpacksAndDeletesTheZip) {
    TempFolder temp;
    const std::string work = temp / "Firebird\\Firebird_3_0_0_64bit";  // missing: it is created
    EXPECT_FALSE(extractInstallerFromResource(ivFb3_0, "", work));
    EXPECT_FALSE(platform::folderExists(work));

    const std::string leftover = temp.file("Firebird\\Firebird_3_0_0_64bit\\Firebird_3_0_0_64bit.zip", "not a zip");
    TempFolder::setAttributes(leftover, FILE_ATTRIBUTE_READONLY);
    temp.file("Firebird\\Firebird_3_0_0_64bit\\own.txt", "mine");
    ASSERT_TRUE(extractInstallerFromResource(ivFb3_0, work, work));
    EXPECT_FALSE(platform::queryFile(leftover).has_value());
    EXPECT_EQ(platform::readFileBytes(work + "\\firebird.conf").value_or(""), "RemoteServicePort = 3050\r\n");
    EXPECT_TRUE(platform::fileExists(work + "\\instsvc.exe"));
    EXPECT_TRUE(platform::fileExists(work + "\\firebird.exe"));
    EXPECT_EQ(platform::readFileBytes(work + "\\intl\\fbintl.conf").value_or(""), "<intl_module fbintl>\r\n");
    EXPECT_EQ(platform::readFileBytes(work + "\\own.txt").value_or(""), "mine");

    // A version without an embedded kit writes nothing and unpacks nothing.
    const std::string other = temp.folder("other");
    EXPECT_FALSE(extractInstallerFromResource(ivFb2_5, other, other));
    EXPECT_FALSE(platform::fileExists(other + "\\firebird.conf"));
}
