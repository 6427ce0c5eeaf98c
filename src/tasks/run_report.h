#pragma once
// The report of a database run (maintenance, settings): started with the run, filled per database,
// and in now mode completed, saved into the temp folder and opened (run_report_win.h).
#include <string>
#include <string_view>

#include "core/datetime.h"
#include "core/html5_producer.h"
#include "core/operation_log.h"

namespace fbwb {

enum class RunReport { Maintenance, Settings };

std::string_view runReportTitle(RunReport run);       // followed by the run's start date
std::string runReportTableStart(RunReport run);       // the first body line
std::string_view runReportFileName(RunReport run);    // the fixed name in the temp folder

// Replaces the page: the run's title with the start date ("yyyy.mm.dd"), and the table start as its body.
void startRunReport(THtml5Producer& page, RunReport run, const LocalDateTime& start);

// Paths and messages go into the page as text (fillHtml).
// Maintenance: the lines of one database: its path, its outcome (green when every step succeeded,
// red and after "HIBA: " otherwise) and a link to its tool log (the file URL of its path).
void addMaintenanceReportEntry(THtml5Producer& page, std::string_view databasePath, std::string_view logFilePath,
                               bool succeeded, std::string_view outcome);

// Settings: a row per database, begun with its path, one cell per compared parameter, then ended.
void beginDbSettingsReportRow(THtml5Producer& page, std::string_view databasePath);
// The cell for one parameter: green when it was found and equals the expected value exactly (letter
// case counts), red when it differs or was not found. The cell's message is also the log line: a
// plain one when equal, an error line without a box otherwise.
void addDbSettingsReportCell(THtml5Producer& page, OperationLog& log, std::string_view label,
                             std::string_view expected, std::string_view readValue, bool found);
void endDbSettingsReportRow(THtml5Producer& page);

}  // namespace fbwb
