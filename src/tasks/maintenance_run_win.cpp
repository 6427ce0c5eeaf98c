#include "tasks/maintenance_run_win.h"

#include "core/datetime.h"
#include "core/file_helpers_win.h"
#include "core/text.h"
#include "env/server_discovery_win.h"
#include "platform/fs.h"
#include "platform/process.h"
#include "script/batch_files_win.h"
#include "tasks/database_run_win.h"
#include "tasks/db_task_lines.h"
#include "tasks/texts_tasks.h"

namespace fbwb {

using namespace texts_tasks;

namespace {

// The batch's markers, read back from its log (the OEM code page of the batch's echo lines).
MaintenanceOutcome readOutcome(const std::string& log) {
    try {
        return readMaintenanceOutcome(readOutputLines(log));
    } catch (const std::runtime_error&) {
        return {};
    }
}

}  // namespace

void runMaintenance(WorkingFields& fields, const CommonSettings& settings, const FdbListChoice& list,
                    const MaintenanceSteps& steps) {
    runDatabaseList(fields, settings, list, RunReport::Maintenance, [&](std::string_view line, int index) {
        maintainDatabase(fields, settings, list.mode, steps, line, maintenanceLogFileName(settings.tempFolder, index),
                         index);
    });
}

void maintainDatabase(WorkingFields& fields, const CommonSettings& settings, RunMode mode,
                      const MaintenanceSteps& steps, std::string_view line, std::string_view logFile, int index) {
    const bool nowMode = mode == RunMode::Now;
    const std::string database = trim(line);
    const std::string log = trim(logFile);
    // The tools append: each run starts from an empty log.
    if (platform::fileExists(log)) deleteFileForced(log);

    fields.mLog.writeLogLine(std::string(kMaintenanceStart) + database);
    fields.mLog.writeLogLine(std::string(kCheckingDatabase) + database);
    if (!platform::fileExists(database)) {
        fields.mLog.writeErrorLine(std::string(kDatabaseMissing) + database, false);
        return;
    }

    const std::string serverFolder = trim(settings.serverFolder);
    MaintenanceLineInput input;
    input.gfix = getToolPath(serverFolder, kGfixTool);
    input.gbak = getToolPath(serverFolder, kGbakTool);
    input.database = database;
    input.userName = settings.userName;
    input.password = settings.password;
    input.logFile = log;
    input.index = index;
    if (nowMode) {
        if (!toolPresent(fields.mLog, kGfixMissing, input.gfix)) return;
        if (steps.backup && !toolPresent(fields.mLog, kGbakMissing, input.gbak)) return;
    }
    if (auto refused = refuseDatabaseTaskValues(
            {database, settings.userName, settings.password, settings.serverFolder, settings.tempFolder})) {
        fields.mLog.writeErrorLine(*refused, false);
        return;
    }

    const LocalDateTime now = localNow();
    input.backupFile = maintenanceBackupFileName(database, now);
    input.restoredFile = maintenanceRestoredFileName(database, now);
    const std::vector<std::string> lines = maintenanceLines(steps, input);
    fields.mActBat.insert(fields.mActBat.end(), lines.begin(), lines.end());
    // Nothing to run, nothing to report (an empty batch is not even started).
    if (!nowMode || lines.empty()) return;

    NowModeBatch batch = saveAndRunNowModeBatch(fields, true);
    if (batch.state == NowModeBatch::NotStarted) return;
    MaintenanceOutcome outcome;  // incomplete until the log says otherwise
    if (batch.state == NowModeBatch::Started) {
        // One database at a time, however long its restore takes; the window stays usable meanwhile.
        platform::waitProcessingEvents(batch.process, platform::kNoTimeLimit);
        // It holds the password in plain text.
        deleteFileForced(fields.edBatFn);
        outcome = readOutcome(log);
    }
    const std::string text =
        batch.state == NowModeBatch::Started ? maintenanceOutcomeText(outcome) : std::string(kOutcomeNotSaved);
    const bool succeeded = outcome.kind == MaintenanceOutcome::Succeeded;
    if (succeeded)
        fields.mLog.writeLogLine(text);
    else
        fields.mLog.writeErrorLine(text, false);
    addMaintenanceReportEntry(fields.htmlLog, database, log, succeeded, text);
}

}  // namespace fbwb
