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
// Field labels of the refusal of a value that cannot be written into a batch line (the others are the
// script engine's).
inline constexpr std::string_view kFieldServerFolder = "kiszolgáló mappája";
inline constexpr std::string_view kFieldTempFolder = "ideiglenes mappa";
// The closing message of a database run in which an error line was written (a database skipped or
// failed, a file not saved).
inline constexpr std::string_view kRunFinishedWithErrors =
    "A művelet befejeződött, de nem minden sikerült: a részleteket a műveleti napló mutatja.";
// A database run stopped on request before its next database: logged, and the closing message.
inline constexpr std::string_view kRunStopped = "A művelet leállt: a hátralévő adatbázisok kimaradtak.";
// The settings step's output file.
inline constexpr std::string_view kHeaderOutputMissing =
    "Az adatbázisból lekérdezett adatokat tároló ideiglenes fájl nem található. A fájl neve: %s";
inline constexpr std::string_view kSettingsBatchStillRunning =
    "A(z) %s parancsfájl nem fejeződött be a várakozási idő alatt, ezért az eredménye nem dolgozható fel.";
inline constexpr std::string_view kHeaderOutputUnreadable =
    "Nem feldolgozni az adatbzistól lekérdezett adatokat. A fájl neve: %s   A hiba leírása: %s";


// Maintenance: the log file per database, and gfix's three switch sets (user, password, database).
inline constexpr std::string_view kMaintenanceLogPrefix = "fdbMaintain_";
inline constexpr std::string_view kMaintenanceLogExtension = ".txt";
inline constexpr std::string_view kGfixValidateSwitches = "-USER %s -PASSWORD %s \"%s\" -v -full -i -n";
inline constexpr std::string_view kGfixSweepSwitches = "-USER %s -PASSWORD %s \"%s\" -sweep";
// "-mend", not "-m": Firebird 3's gfix refuses the one-letter form, 2.5's read it as -mend.
inline constexpr std::string_view kGfixMendSwitches = "-USER %s -PASSWORD %s \"%s\" -mend";

// The maintenance batch checks each step with cmd's own means and writes into the database's log a
// marker line per step (the text after the marker, then the exit code) and a closing marker; the
// program reads the markers back for the report. The batch files are in the OEM code page, and so
// are these lines in the log.
inline constexpr std::string_view kStepMarker = "*** ";
inline constexpr std::string_view kExitCodeTail = ": kilépési kód %errorlevel%";
inline constexpr std::string_view kStepValidate = "Adatbázis-ellenőrzés - gfix -v -full";
inline constexpr std::string_view kStepSweep = "Takarítás - gfix -sweep";
inline constexpr std::string_view kStepMend = "Javítás - gfix -mend";
inline constexpr std::string_view kStepBackup = "Biztonsági mentés - gbak";
inline constexpr std::string_view kStepBackupRename = "A mentésfájl átnevezése: sikertelen";
inline constexpr std::string_view kStepRestore = "Visszatöltés - gbak -c";
inline constexpr std::string_view kStepsSucceeded = "Minden lépés sikeres.";
inline constexpr std::string_view kStepsAbandoned = "A karbantartás megszakadt, a további lépések elmaradtak.";
inline constexpr std::string_view kDatabaseInUse =
    "Az adatbázis használatban van, nem cserélhető le. A visszatöltött példány megmaradt: ";
// The batch's own files beside the database: gbak writes the backup under this tail first, and the
// restore goes into a new file that keeps this extension when the swap cannot be done.
inline constexpr std::string_view kBackupTempTail = ".tmp";
inline constexpr std::string_view kRestoredExtension = ".visszatoltott";
// The batch's labels, followed by the database's index.
inline constexpr std::string_view kLabelFailed = "db%s_hiba";
inline constexpr std::string_view kLabelRestoreFailed = "db%s_visszatoltes_hiba";
inline constexpr std::string_view kLabelInUse = "db%s_hasznalatban";
inline constexpr std::string_view kLabelEnd = "db%s_vege";

// Maintenance report: a coloured outcome line per database between its two lines; the outcome is
// also logged (a failure as an error line, which has its own prefix), in the report a failure
// starts with the prefix below.
inline constexpr std::string_view kMaintenanceOutcomeFormat = "<span style=\"background-color:#%s\">%s</span><br />";
inline constexpr std::string_view kOutcomeFailedPrefix = "HIBA: ";
inline constexpr std::string_view kOutcomeSucceeded = "OK. Minden lépés sikeresen lefutott.";
inline constexpr std::string_view kOutcomeStepFailed =
    "%s. A további lépések elmaradtak, az eredeti adatbázis megmaradt.";
inline constexpr std::string_view kOutcomeInUse =
    "Az adatbázis használatban van, ezért nem cserélhető le a visszatöltött példányra. Az eredeti adatbázis és "
    "a mentés megmaradt, a visszatöltött példány: %s";
inline constexpr std::string_view kOutcomeIncomplete =
    "A karbantartás nem futott végig, a napló nem mondja meg, melyik lépés maradt el.";
inline constexpr std::string_view kOutcomeNotSaved = "A parancsfájl nem menthető, a lépések nem futottak le.";

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
