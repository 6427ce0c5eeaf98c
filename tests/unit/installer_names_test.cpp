#include <gtest/gtest.h>

#include "install/installer_names.h"

using namespace fbwb;

TEST(InstallerNames, EachVersionAndBitnessNamesItsKitFolderAndServices) {
    struct Case {
        std::uint8_t version;
        int bits;
        const char *base, *kit, *display, *fragment;
    } cases[] = {
        {ivFb2_5, 64, "Firebird_2_5_5", "Firebird_2_5_5_64bit", "Firebird 2.5", "Kelmora2"},
        {ivFb2_5, 32, "Firebird_2_5_5", "Firebird_2_5_5_32bit", "Firebird 2.5", "Kelmora2"},
        {ivFb3_0, 64, "Firebird_3_0_0", "Firebird_3_0_0_64bit", "Firebird 3.0", "Kelmora3"},
        {ivFb3_0, 32, "Firebird_3_0_0", "Firebird_3_0_0_32bit", "Firebird 3.0", "Kelmora3"},
        // No version and every value past the known ones: empty names, no "_64bit" alone.
        {ivNone, 64, "", "", "", ""},
        {3, 64, "", "", "", ""},
        {255, 32, "", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.version));
        EXPECT_EQ(getInstallerBaseName(c.version), c.base);
        EXPECT_EQ(getInstallerName(c.version, c.bits), c.kit);
        EXPECT_EQ(getInstallerDisplayName(c.version), c.display);
        EXPECT_EQ(getInstallerServiceNameFragment(c.version), c.fragment);
    }
    EXPECT_EQ(getInstallerVersions(), (TInstallerVersions{ivFb2_5, ivFb3_0}));
    EXPECT_EQ(*getInstallerVersions().begin(), ivFb2_5);
}

TEST(InstallerNames, FoldersZipNamesAndSearchPattern) {
    EXPECT_EQ(installerFolderUnder("C:\\KELMORA.WIN\\Firebird", "Firebird_3_0_0_64bit"),
              "C:\\KELMORA.WIN\\Firebird\\Firebird_3_0_0_64bit\\");
    EXPECT_EQ(installerFolderUnder("  C:\\KELMORA.WIN\\Firebird\\ ", "Firebird_2_5_5_32bit"),
              "C:\\KELMORA.WIN\\Firebird\\Firebird_2_5_5_32bit\\");
    EXPECT_EQ(installerZipFnIn("C:\\Prog\\", "Firebird_3_0_0_64bit"), "C:\\Prog\\Firebird_3_0_0_64bit.zip");
    EXPECT_EQ(installerZipFnIn("C:\\Prog", "Firebird_2_5_5_64bit"), "C:\\Prog\\Firebird_2_5_5_64bit.zip");
    EXPECT_EQ(installerSearchPattern(ivFb2_5), "Firebird_2_5_5*");
    EXPECT_EQ(installerSearchPattern(ivFb3_0), "Firebird_3_0_0*");
}

TEST(InstallerNames, NoKitTextListsBothZipNamesAfterTwoEmptyLines) {
    const std::vector<std::string> expected = {"",
                                               "",
                                               "Nem található Firebird telepíthetőkészlet a keresett helyen.",
                                               "Az alábbi telepítőkészletek fogadhatóak el:",
                                               "",
                                               "C:\\P\\Firebird_2_5_5_64bit.zip",
                                               "C:\\P\\Firebird_3_0_0_64bit.zip"};
    EXPECT_EQ(noInstallerTextLines("C:\\P\\Firebird_2_5_5_64bit.zip", "C:\\P\\Firebird_3_0_0_64bit.zip"), expected);
}
