#pragma once
// The batch lines of the maintenance and settings runs, and the names and numbers they are made
// from. Pure text work: the runs decide which databases get them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/datetime.h"
#include "tasks/db_list_choice.h"

namespace fbwb {

// Temp folder (trimmed, trailing backslash) + "fdbMaintain_<index>.txt".
std::string maintenanceLogFileName(std::string_view tempFolder, int index);
// The database path with its extension replaced by "_yyyymmdd_hhnnss.fbk" (appended when it has none).
std::string maintenanceBackupFileName(std::string_view database, const LocalDateTime& now);

// What a database task's lines are made of: the database path and the credentials, the server
// folder that holds the tools, and the temp folder of the log and output files.
struct DatabaseTaskValues {
    std::string_view database, userName, password, serverFolder, tempFolder;
};
// The error line when one of them cannot be written into a batch line; nothing when they all can.
std::optional<std::string> refuseDatabaseTaskValues(const DatabaseTaskValues& values);

// The restore's new file beside the database: its extension replaced by "_yyyymmdd_hhnnss.visszatoltott".
std::string maintenanceRestoredFileName(std::string_view database, const LocalDateTime& now);
// Where gbak writes the backup before it replaces an earlier backup of the same name.
std::string maintenanceBackupTempFileName(std::string_view backupFile);

struct MaintenanceLineInput {
    std::string gfix, gbak, database, userName, password;
    std::string logFile;       // the tools' output and the step markers are appended here; empty: none
    std::string backupFile;    // used when the backup step is chosen
    std::string restoredFile;  // used when the restore step is chosen
    int index = 0;             // the database's index: its labels are unique in a batch of many
};
// The chosen steps' lines for one database. Each tool's output and errors go to the log with its
// exit code; a failed step skips the rest. gbak backs up into a new file that replaces the backup
// of that name only when it succeeded; the restore goes into a new file that replaces the database
// only when the restore succeeded, and is kept under its own name when the database is in use; the
// backup is deleted (when chosen) only after all of that. The log ends with a closing marker.
std::vector<std::string> maintenanceLines(const MaintenanceSteps& steps, const MaintenanceLineInput& input);

// What a maintenance batch's log says about its database, read from its markers.
struct MaintenanceOutcome {
    enum Kind { Succeeded, StepFailed, InUse, Incomplete } kind = Incomplete;
    std::string detail;  // StepFailed: the failed step's marker text; InUse: the kept restored copy
};
MaintenanceOutcome readMaintenanceOutcome(const std::vector<std::string>& logLines);
// The report's and the log's text for an outcome.
std::string maintenanceOutcomeText(const MaintenanceOutcome& outcome);

// Page buffers for P per cent of a file of the given size, counted in 4 KB pages: integer KB,
// extended-precision arithmetic, the nearest integer with ties to even. A size of -1 gives 0.
std::int64_t pageBuffersFor(std::int64_t fileSize, int percent);

// call "gfix" -WRITE ASYNC "database" -USER u -PASSWORD p
std::string gfixWriteAsyncLine(std::string_view gfix, std::string_view database, std::string_view userName,
                               std::string_view password);
// call "gfix" -BUFFERS n "database" -USER u -PASSWORD p
std::string gfixBuffersLine(std::string_view gfix, std::int64_t buffers, std::string_view database,
                            std::string_view userName, std::string_view password);
// call "gstat"  -h "database" > "output"
std::string gstatHeaderToFileLine(std::string_view gstat, std::string_view database, std::string_view outputFile);

}  // namespace fbwb
