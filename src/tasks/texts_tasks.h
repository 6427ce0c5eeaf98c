#pragma once
// The database tasks' texts and formats, byte for byte; formats are filled with fill().
#include <string_view>

namespace fbwb::texts_tasks {

// The version label of a database entry, from the first two ODS digits.
inline constexpr std::string_view kFbVersionLabel25 = "Firebird 2.5";
inline constexpr std::string_view kFbVersionLabel3 = "Firebird 3";
// Five blanks before the question mark.
inline constexpr std::string_view kFbVersionLabelUnknown = "     ?";

// The header inspection's files in the temp folder, filled with the run identifier, and its one batch line
// (gstat, database, result file).
inline constexpr std::string_view kGstatRequestFileFormat = "gstatRq%s.bat";
inline constexpr std::string_view kGstatResultFileFormat = "gstatRes%s.txt";
inline constexpr std::string_view kGstatHeaderLineFormat = "\"%s\" -h \"%s\" >> \"%s\"";
// The shell verb the inspection batch is opened with.
inline constexpr std::string_view kGstatShellVerb = "open";

// What a gstat -h report is read by, upper-cased: the wrong-ODS message, the word before the ODS
// it names, the ODS line; and the labels of the header fields the settings are read from.
inline constexpr std::string_view kWrongOdsMessage = "WRONG ODS VERSION";
inline constexpr std::string_view kWrongOdsEncountered = "ENCOUNTERED";
inline constexpr std::string_view kOdsVersionLine = "ODS VERSION";
inline constexpr std::string_view kGstatPageBuffersLabel = "Page buffers";
inline constexpr std::string_view kGstatAttributesLabel = "Attributes";

// The maintenance and settings runs.

inline constexpr std::string_view kGfixTool = "gfix.exe";
inline constexpr std::string_view kGbakTool = "gbak.exe";
inline constexpr std::string_view kGstatTool = "gstat.exe";

// Log lines, each followed by the database or tool path.
inline constexpr std::string_view kMaintenanceStart = "DB karbantartás: ";
inline constexpr std::string_view kSettingsStart = "GFIX műveletek: ";
inline constexpr std::string_view kCheckingDatabase = "Adatbázis-fájl ellenőrzése: ";
inline constexpr std::string_view kDatabaseMissing = "Az alábbi Firebird adatbázis-fájl nem létezik: ";
inline constexpr std::string_view kGfixMissing = "A GFIX.EXE nem található: ";
inline constexpr std::string_view kGbakMissing = "A GBAK.EXE nem található: ";
inline constexpr std::string_view kGstatMissing = "A GSTAT.EXE nem található: ";
// The settings step's output file.
inline constexpr std::string_view kHeaderOutputMissing =
    "Az adatbázisból lekérdezett adatokat tároló ideiglenes fájl nem található. A fájl neve: %s";
inline constexpr std::string_view kHeaderOutputUnreadable =
    "Nem feldolgozni az adatbzistól lekérdezett adatokat. A fájl neve: %s   A hiba leírása: %s";


// Maintenance: the log file per database, and gfix's three switch sets (user, password, database).
inline constexpr std::string_view kMaintenanceLogPrefix = "fdbMaintain_";
inline constexpr std::string_view kMaintenanceLogExtension = ".txt";
inline constexpr std::string_view kGfixValidateSwitches = "-USER %s -PASSWORD %s \"%s\" -v -full -i -n";
inline constexpr std::string_view kGfixSweepSwitches = "-USER %s -PASSWORD %s \"%s\" -sweep";
// "-mend", not "-m": Firebird 3's gfix refuses the one-letter form, 2.5's read it as -mend.
inline constexpr std::string_view kGfixMendSwitches = "-USER %s -PASSWORD %s \"%s\" -mend";

// Settings: gfix's switches (database, user, password; buffers first), gstat's header into a file.
inline constexpr std::string_view kGfixWriteAsyncSwitches = "-WRITE ASYNC \"%s\" -USER %s -PASSWORD %s";
inline constexpr std::string_view kGfixBuffersSwitches = "-BUFFERS %d \"%s\" -USER %s -PASSWORD %s";
inline constexpr std::string_view kGstatHeaderSwitches = " -h \"%s\" > \"%s\"";

// The administrator's batch file of each database dialog, in the temp folder.
inline constexpr std::string_view kMaintenanceBatchName = "dbMaintain.bat";
inline constexpr std::string_view kSettingsBatchName = "dbSettings.bat";

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

}  // namespace fbwb::texts_tasks
