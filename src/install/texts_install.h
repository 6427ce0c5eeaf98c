#pragma once
// The server installation's texts, byte for byte; formats are filled with fill().
#include <string_view>

namespace fbwb::texts_install {

// Kits.
inline constexpr std::string_view kNoInstallerFound = "Nem található Firebird telepíthetőkészlet a keresett helyen.";
inline constexpr std::string_view kAcceptedInstallers = "Az alábbi telepítőkészletek fogadhatóak el:";
inline constexpr std::string_view kZipExtension = ".zip";

// The installer window.
inline constexpr std::string_view kInstallerCaption = "Firebird telepítő";
inline constexpr std::string_view kInstallerTitle = "A Firebird adatbázis-kezelő telepítése";
inline constexpr std::string_view kInstallerIntro =
    "Ez a telepítőprogram telepíti és elindítja a Kelmora ügyviteli szoftverek adatbázis-kezelőjét erre a "
    "számítógépre. A sikeres tekepítéshez rendszergazdai jogosultság szükséges.";
inline constexpr std::string_view kKelmoraWinPath = "A telepített Kelmora ügyviteli rendszer mappája: ";
inline constexpr std::string_view kVersionsGroup = "Az alábbi adatbázis-kezelő verziók lesznek telepítve: ";
inline constexpr std::string_view kUninstallButton = "Korábban telepített Firebird eltávolítása";
inline constexpr std::string_view kInstallButton = "A kijel0lt Firebird verzió(k) telepítése";
inline constexpr std::string_view kProgressLabel = "A telepítés folyamata: ";
inline constexpr std::string_view kFinish = "Kilépés";
inline constexpr std::string_view kKelmoraWinFolderName = "KELMORA.WIN";
inline constexpr std::string_view kFirebirdFolderName = "Firebird";

// The installation run; every progress line begins with a blank.
inline constexpr std::string_view kInstallStarted = " A %s telepítése megkezdődött...kérem várjon";
inline constexpr std::string_view kInstallSucceeded = " A %s telepítése sikeresen befejeződött az alábbi mappába: %s";
inline constexpr std::string_view kFirewallStarted = " A Windows tűzfal-szabályainak módosítása a %s számára.";
inline constexpr std::string_view kFirewallSucceeded = " A Windows tűzfal-szabályainak módosítása sikeresen befejeződött.";
inline constexpr std::string_view kInstallFailed = " Hiba történt a %s telepítése során.";
inline constexpr std::string_view kInstallFinished = "Az adatbázis-kezelő telepítése befejeződött.";
inline constexpr std::string_view kFolderNotGiven = "Nincs megadva a %s mappája.";
inline constexpr std::string_view kFolderMissing = "A %s mappa ( %s ) nem létezik.";
inline constexpr std::string_view kInstallBatchPrefix = "fbInstall_";
// Never shown: the run reports the version's failure line instead.
inline constexpr std::string_view kInstallFolderNotCreated = "A telepítési mappa nem hozható létre: %s";

// The uninstallation.
inline constexpr std::string_view kUninstallCaption = "A Firebird adatbázis-kezelő eltávolítása";
inline constexpr std::string_view kUninstallTitle = "A Firebird adatbázis-kezelő eltávolítása";
inline constexpr std::string_view kUninstallIntro =
    "A korábban telepített adatábzis-kezelő adatainak megadásával eltávolíthatja az adatbázis-kezelőt a "
    "számítógépről";
inline constexpr std::string_view kUninstallGroup = "A Firebird adatbázis-kezelő eltávolítása:  ";
inline constexpr std::string_view kUninstallFolderLabel = "Az eltávolítandó Firebird telepítési mappája: ";
inline constexpr std::string_view kUninstallServiceLabel = "Az eltávolítandó Firebird szolgáltatás neve: ";
inline constexpr std::string_view kBrowse = "Tallóz";
inline constexpr std::string_view kDoUninstall = "A szolgáltatás eltávolítása most";
inline constexpr std::string_view kCancel = "Mégsem";
inline constexpr std::string_view kUninstallFolderNotGiven = "Nem adta meg az eltávolítandó Firebird telepítési mappáját.";
inline constexpr std::string_view kUninstallFolderMissing = "A megadott mappa nem létezik";
inline constexpr std::string_view kUninstallDialogBatch = "uninstallFbService.bat";
inline constexpr std::string_view kUninstallBatchPrefix = "fbUninstall_";
inline constexpr std::string_view kPause = "pause";
// The shell verb that opens the dialog's batch file.
inline constexpr std::string_view kShellOpenVerb = "open";
// Field labels of the refusal of a value that cannot be written into a service batch line.
inline constexpr std::string_view kFieldServiceName = "Firebird szolgáltatás neve";
inline constexpr std::string_view kFieldInstallFolder = "Firebird telepítési mappája";

// The firewall rule.
inline constexpr std::string_view kFwPolicyProgId = "HNetCfg.FwPolicy2";
inline constexpr std::string_view kFwRuleProgId = "HNetCfg.FWRule";
inline constexpr std::string_view kFwGrouping = "My Group";
// Filled with the error's message and its HRESULT in upper-case hexadecimal without a prefix.
inline constexpr std::string_view kOleException = "OleException  hibaüzenet = %s    hibakód = %x";

}  // namespace fbwb::texts_install
