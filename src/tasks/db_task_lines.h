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

// The error line when the database path, user name or password cannot be written into a batch
// line; nothing when they can.
std::optional<std::string> refuseDatabaseTaskValues(std::string_view database, std::string_view userName,
                                                    std::string_view password);

struct MaintenanceLineInput {
    std::string gfix, gbak, database, userName, password;
    std::string logFile;     // the tools' output is appended here; empty: no redirection
    std::string backupFile;  // used when the backup step is chosen
};
// The chosen steps' lines for one database: gfix validation, sweep and mend; gbak backup, restore
// onto the database's own path, deletion of the backup.
std::vector<std::string> maintenanceLines(const MaintenanceSteps& steps, const MaintenanceLineInput& input);

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
