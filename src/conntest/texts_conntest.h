#pragma once
// The connection test's texts, byte for byte; formats are filled with fill().
#include <string_view>

namespace fbwb::texts_conntest {

// The client layer. Library path, system text; library path, entry point, system text.
inline constexpr std::string_view kClientLibraryNotLoaded = "A Firebird kliens könyvtára (%s) nem tölthető be: %s";
inline constexpr std::string_view kClientEntryMissing =
    "A Firebird kliens könyvtárából (%s) hiányzik a(z) %s belépési pont: %s";

// The connection test dialog.

inline constexpr std::string_view kDialogCaption = "Adatbázis-kapcsolat tesztelése";
inline constexpr std::string_view kServerFolderLabel = "A telepített Firebird kiszolgáló mappája: ";
inline constexpr std::string_view kBrowse = "Tallóz";
inline constexpr std::string_view kIpLabel = "IP cím: ";
inline constexpr std::string_view kPortLabel = "Portszám:";
inline constexpr std::string_view kDatabaseLabel = "Az adatbázis-fájl teljes elérési útja és neve a szerveren: ";
inline constexpr std::string_view kUserNameLabel = "Felhasználónév: ";
inline constexpr std::string_view kPasswordLabel = "Jelszó: ";
inline constexpr std::string_view kTestButton = "Csatlakozási teszt";
inline constexpr std::string_view kDetailedLog = "A kapcsolat részletes adatai kerüljenek a naplóba";
inline constexpr std::string_view kResultsLabel = "Teszteredmények: ";

inline constexpr std::string_view kDefaultIp = "127.0.0.1";
inline constexpr std::string_view kDefaultPort = "6648";
inline constexpr std::string_view kDefaultDatabase = "c:\\KELMORA.WIN\\###YEAR###\\conf.fdb";

// The database file dialog.
inline constexpr std::string_view kDatabaseFileTitle = "Firebird adatbázis fájl kiválasztása";
inline constexpr std::string_view kDatabaseFileName = "kelmora.fdb";
inline constexpr std::string_view kDatabaseFileExtension = "fdb";

// The lines of a test in the result box.
inline constexpr std::string_view kConnectingTo = "Kapcsolódás a következő adatbázishoz: ";
inline constexpr std::string_view kWaiting = "...";
inline constexpr std::string_view kConnected = "Sikerült csatlakozni az adatbázishoz.";
inline constexpr std::string_view kNotConnected = "NEM sikerült csatlakozni az adatbázishoz: ";
inline constexpr std::string_view kParametersStart = "  *** A kapcsolat részletes paraméterei: ***";
inline constexpr std::string_view kParametersEnd = "  ******************************************";
inline constexpr std::string_view kTestEnd = " ========== ";

}  // namespace fbwb::texts_conntest
