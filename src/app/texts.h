#pragma once
// The application shell's user-visible texts, byte for byte; formats are filled with fill().
#include <string_view>

namespace fbwb::texts_app {

// The report page's one head line: the encoding the page is written in.
inline constexpr std::string_view kHtmlMetaCharset = "<meta charset=\"Windows1250\">";

// Report of a database run: title texts (followed by the run's start date), table starts and file names.
inline constexpr std::string_view kMaintenanceReportTitle = "Firebird adatbázisok karbantartása - ";
inline constexpr std::string_view kSettingsReportTitle = "Firebird adatbázisok beállításai - ";
inline constexpr std::string_view kMaintenanceTableStart = "<table cellSpacing=\"1\" cellPadding=\"0\" border=\"1\">";
inline constexpr std::string_view kSettingsTableStart =
    "<table cellSpacing=\"1\" cellPadding=\"0\" border=\"1\"><tr><th><Adatbázis-fájl></th><th>Page buffers</th>"
    "<th>Attributes</th></tr>";
inline constexpr std::string_view kTableEnd = "</table>";
inline constexpr std::string_view kMaintenanceReportFile = "DbMaintainResults.htm";
inline constexpr std::string_view kSettingsReportFile = "DbSettingResults.htm";

// Maintenance report, two lines per database: the database path, then "file://" + its log file path.
inline constexpr std::string_view kMaintenanceEntryFormat = "<B>A(z) \"%s\" adatbázis karbantartása </b><br />";
inline constexpr std::string_view kMaintenanceLogLinkFormat =
    "<font color=\"#CCCCCC\">A művelet végrehajtása során keletkezett naplóbejegyzések megtekintéséhez "
    "<a href=\"%s\">kattintson ide</a></font>.<br /><br />";
inline constexpr std::string_view kFileUrlPrefix = "file://";

// Settings report: a row per database, a cell per compared parameter.
inline constexpr std::string_view kSettingsRowStart = "<tr><td>";
inline constexpr std::string_view kSettingsRowPathEnd = "</td>";
inline constexpr std::string_view kSettingsRowEnd = "</tr>";
inline constexpr std::string_view kSettingsCellFormat = "<td bgColor=\"%s\">%s</td>";
inline constexpr std::string_view kColourMatch = "8ada8a";
inline constexpr std::string_view kColourMismatch = "ff7777";
inline constexpr std::string_view kParameterMatchFormat =
    "OK. A(z) %s parameter elvart erteke megegyezik a kiolvasottal: %s";
inline constexpr std::string_view kParameterDiffersFormat =
    "A(z) %s parameter elvart erteke NEM EGYEZIK MEG a kiolvasottal. Elvárt érték: %s   Kiolvasott érték: %s";
inline constexpr std::string_view kParameterNotFoundFormat =
    "A(z) %s parameter NEM található meg az eredmények között. Elvárt érték: %s";

// Message page: its frame around the message lines, and the list item that the lines are made of.
inline constexpr std::string_view kMessagePageStart = "<html><body>\r\n";
inline constexpr std::string_view kMessagePageEnd = "</body></html>";
inline constexpr std::string_view kListItemStart = "<li>";
inline constexpr std::string_view kListItemEnd = "<br>\r\n";

// The shell verb that reports are opened with.
inline constexpr std::string_view kOpenVerb = "open";

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

inline constexpr std::string_view kMaintenanceBatchName = "dbMaintain.bat";
inline constexpr std::string_view kSettingsBatchName = "dbSettings.bat";

inline constexpr std::string_view kFirebird3DownloadPage = "https://firebirdsql.org/en/firebird-3-0/";
inline constexpr std::string_view kWebVerb = "Open";

// The workbench's own texts (beyond the windows' described texts).
inline constexpr std::string_view kNotAvailableYet = "Ez a funkció ebben a változatban még nem érhető el.";
inline constexpr std::string_view kRunInProgress =
    "Egy művelet még folyamatban van. A program a művelet befejezése után zárható be.";

}  // namespace fbwb::texts_app
