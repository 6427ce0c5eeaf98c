#include <gtest/gtest.h>

#include <set>
#include <string>

#include "install/install_rules.h"

using namespace fbwb;

TEST(InstallRules, FolderNameIsTheLabelWithoutColonsAndKeepsItsTrailingBlank) {
    EXPECT_EQ(kelmoraWinFolderName(), "A telepített Kelmora ügyviteli rendszer mappája ");
}

TEST(InstallRules, FolderCheckErrorsKeepTheDoubleBlankAndTheTrimmedFolder) {
    const std::set<std::string> existing{"C:\\KELMORA.WIN\\"};
    const auto exists = [&](std::string_view folder) { return existing.count(std::string(folder)) > 0; };
    const std::string name = kelmoraWinFolderName();
    struct Case {
        const char* folder;
        std::optional<std::string> error;
    } cases[] = {
        {"", "Nincs megadva a A telepített Kelmora ügyviteli rendszer mappája  mappája."},
        {"  \t ", "Nincs megadva a A telepített Kelmora ügyviteli rendszer mappája  mappája."},
        {" D:\\NINCS\\ ", "A A telepített Kelmora ügyviteli rendszer mappája  mappa ( D:\\NINCS\\ ) nem létezik."},
        {"  C:\\KELMORA.WIN\\ ", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        EXPECT_EQ(requiredFolderError(c.folder, name, exists), c.error);
    }
}

TEST(InstallRules, FoldersDerivedFromTheTarget) {
    // The uninstall dialog's search folder: empty stays empty, anything else gets Firebird\.
    EXPECT_EQ(getFirebirdRootFolder(""), "");
    EXPECT_EQ(getFirebirdRootFolder("   "), "");
    EXPECT_EQ(getFirebirdRootFolder(" C:\\KELMORA.WIN "), "C:\\KELMORA.WIN\\Firebird\\");
    EXPECT_EQ(getFirebirdRootFolder("C:\\KELMORA.WIN\\"), "C:\\KELMORA.WIN\\Firebird\\");
    // The run's root: trimmed with its backslash, then Firebird without one.
    EXPECT_EQ(installRootOf(" C:\\KELMORA.WIN "), "C:\\KELMORA.WIN\\");
    EXPECT_EQ(installRootOf("  "), "");
    EXPECT_EQ(firebirdRootUnder(installRootOf("C:\\KELMORA.WIN\\")), "C:\\KELMORA.WIN\\Firebird");
    EXPECT_EQ(kelmoraWinFolderOnDrive("d:"), "D:\\KELMORA.WIN\\");
    EXPECT_EQ(installBatchFn("C:\\KELMORA.WIN\\Firebird\\Firebird_3_0_0_64bit\\", "Firebird_3_0_0_64bit"),
              "C:\\KELMORA.WIN\\Firebird\\Firebird_3_0_0_64bit\\fbInstall_Firebird_3_0_0_64bit.bat");
}

TEST(InstallRules, ProgressLinesBeginWithABlank) {
    EXPECT_EQ(installStartedLine("Firebird 3.0"), " A Firebird 3.0 telepítése megkezdődött...kérem várjon");
    EXPECT_EQ(installSucceededLine("Firebird 3.0", "C:\\KELMORA.WIN\\Firebird\\Firebird_3_0_0_64bit\\"),
              " A Firebird 3.0 telepítése sikeresen befejeződött az alábbi mappába: "
              "C:\\KELMORA.WIN\\Firebird\\Firebird_3_0_0_64bit\\");
    EXPECT_EQ(firewallStartedLine("Firebird 2.5"), " A Windows tűzfal-szabályainak módosítása a Firebird 2.5 számára.");
    EXPECT_EQ(firewallSucceededLine(), " A Windows tűzfal-szabályainak módosítása sikeresen befejeződött.");
    EXPECT_EQ(installFailedLine("Firebird 2.5"), " Hiba történt a Firebird 2.5 telepítése során.");
}
