#pragma once
// The application shell's user-visible texts, byte for byte; formats are filled with fill().
#include <string_view>

namespace fbwb::texts_app {

// The main window, its guards and its start-up.

inline constexpr std::string_view kCaption = "FireBird adtbázis-kiszolgáló és adatbázisok ellenőrzése:";
inline constexpr std::string_view kTitle = "A Kelmora ügyviteli szoftverek adatbázis-kezelőjének beállításai";
inline constexpr std::string_view kDescription =
    "Az adatbzis-kezelő beállításai jelentős hatással vannak az ügyviteli szoftverek sebességére. Egyes "
    "beállítások az adatbázis kiszolgáló általános működését szabályozzák, mások külön-külön vontkoznak az egyes "
    "adatbázisokra, ezért érdemes futtatnia ezt a szoftvert az  ügyviteli rendszer összes adatbázisára.\r\n"
    "összes FireBird adatbázison.";

// Labels of the settings fields; the folder guards quote them in their question.
inline constexpr std::string_view kServerFolderLabel = "A telepített Firebird kiszolgáló mappája: ";
inline constexpr std::string_view kUserNameLabel = "Felhasználónév: ";
inline constexpr std::string_view kPasswordLabel = "Jelszó: ";
inline constexpr std::string_view kDataFolderLabel = "A kelmora adatbázis-fájlokat tároló mappa útvonala:";
inline constexpr std::string_view kTempFolderLabel = "Az alábbi mappában létrehozhatóak ideiglenes fájlok: ";

inline constexpr std::string_view kMissingFolderStart = " A megadott mappa nem létezik: \r\n    ";
inline constexpr std::string_view kMissingFolderEnd = "\r\n\r\nEnnek ellenére folytatja a műveletet?";

inline constexpr std::string_view kStartedLine = "A program elindult: ";

inline constexpr std::string_view kFirebird3DownloadPage = "https://firebirdsql.org/en/firebird-3-0/";
inline constexpr std::string_view kWebVerb = "Open";

// The workbench's own texts (beyond the windows' described texts).
inline constexpr std::string_view kRunInProgress =
    "Egy művelet még folyamatban van. A program a művelet befejezése után zárható be.";

}  // namespace fbwb::texts_app
