#pragma once
// Texts of the main window, its guards and its start-up, byte for byte.
namespace fbwb::texts_main {

inline constexpr const char* kCaption = "FireBird adtbázis-kiszolgáló és adatbázisok ellenőrzése:";
inline constexpr const char* kTitle = "A Kelmora ügyviteli szoftverek adatbázis-kezelőjének beállításai";
inline constexpr const char* kDescription =
    "Az adatbzis-kezelő beállításai jelentős hatással vannak az ügyviteli szoftverek sebességére. Egyes "
    "beállítások az adatbázis kiszolgáló általános működését szabályozzák, mások külön-külön vontkoznak az egyes "
    "adatbázisokra, ezért érdemes futtatnia ezt a szoftvert az  ügyviteli rendszer összes adatbázisára.\r\n"
    "összes FireBird adatbázison.";

// Labels of the settings fields; the folder guards quote them in their question.
inline constexpr const char* kServerFolderLabel = "A telepített Firebird kiszolgáló mappája: ";
inline constexpr const char* kUserNameLabel = "Felhasználónév: ";
inline constexpr const char* kPasswordLabel = "Jelszó: ";
inline constexpr const char* kDataFolderLabel = "A kelmora adatbázis-fájlokat tároló mappa útvonala:";
inline constexpr const char* kTempFolderLabel = "Az alábbi mappában létrehozhatóak ideiglenes fájlok: ";

inline constexpr const char* kMissingFolderStart = " A megadott mappa nem létezik: \r\n    ";
inline constexpr const char* kMissingFolderEnd = "\r\n\r\nEnnek ellenére folytatja a műveletet?";

inline constexpr const char* kStartedLine = "A program elindult: ";

inline constexpr const char* kMaintenanceBatchName = "dbMaintain.bat";

inline constexpr const char* kFirebird3DownloadPage = "https://firebirdsql.org/en/firebird-3-0/";
inline constexpr const char* kWebVerb = "Open";

// The workbench's own texts (beyond the windows' described texts).
inline constexpr const char* kNotAvailableYet = "Ez a funkció ebben a változatban még nem érhető el.";
inline constexpr const char* kRunInProgress =
    "Egy művelet még folyamatban van. A program a művelet befejezése után zárható be.";

}  // namespace fbwb::texts_main
