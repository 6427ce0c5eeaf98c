#include "tasks/db_settings_run_win.h"

#include <stdexcept>

#include "core/file_helpers_win.h"
#include "core/text.h"
#include "env/server_discovery_win.h"
#include "platform/encoding.h"
#include "platform/fs.h"
#include "platform/process.h"
#include "script/batch_files_win.h"
#include "tasks/database_run_win.h"
#include "tasks/db_task_lines.h"
#include "tasks/fdb_header.h"
#include "tasks/texts_tasks.h"

namespace fbwb {

using namespace texts_tasks;

namespace {

void addCell(WorkingFields& fields, const std::vector<std::string>& lines, std::string_view label,
             std::string_view expected) {
    const GstatHeaderField field = findGstatHeaderField(lines, label);
    addDbSettingsReportCell(fields.htmlLog, fields.mLog, label, expected, field.value, field.index >= 0);
}

}  // namespace

void runDbSettings(WorkingFields& fields, const CommonSettings& settings, const FdbListChoice& list,
                   const SettingsOptions& options) {
    runDatabaseList(fields, settings, list, RunReport::Settings, [&](std::string_view line, int) {
        runGfixOpFor(fields, settings, list.mode, options, line);
    });
}

void runGfixOpFor(WorkingFields& fields, const CommonSettings& settings, RunMode mode, const SettingsOptions& options,
                  std::string_view line) {
    const std::string database = trim(line);
    if (database.empty()) return;
    fields.edActFdbFn = database;
    btnGfixOpClick(fields, settings, mode, options);
}

void btnGfixOpClick(WorkingFields& fields, const CommonSettings& settings, RunMode mode,
                    const SettingsOptions& options) {
    const bool nowMode = mode == RunMode::Now;
    fields.mGstatRes.clear();
    if (nowMode) {
        fields.mActBat.clear();
        deleteFileForced(fields.edTempFn);
    }
    const std::string database = trim(fields.edActFdbFn);
    fields.mLog.writeLogLine(std::string(kSettingsStart) + database);
    fields.mLog.writeLogLine(std::string(kCheckingDatabase) + database);
    if (!platform::fileExists(database)) {
        fields.mLog.writeErrorLine(std::string(kDatabaseMissing) + database, false);
        return;
    }

    const std::int64_t buffers = pageBuffersFor(getFileSize(database), options.percent);
    const std::string serverFolder = trim(settings.serverFolder);
    const std::string gfix = getToolPath(serverFolder, kGfixTool);
    const std::string gstat = getToolPath(serverFolder, kGstatTool);
    if (nowMode) {
        if (!toolPresent(fields.mLog, kGfixMissing, gfix)) return;
        if (!toolPresent(fields.mLog, kGstatMissing, gstat)) return;
    }
    if (auto refused = refuseDatabaseTaskValues(
            {database, settings.userName, settings.password, settings.serverFolder, settings.tempFolder})) {
        fields.mLog.writeErrorLine(*refused, false);
        return;
    }

    fields.mActBat.push_back(gfixWriteAsyncLine(gfix, database, settings.userName, settings.password));
    if (options.cache)
        fields.mActBat.push_back(gfixBuffersLine(gfix, buffers, database, settings.userName, settings.password));
    if (!nowMode) return;

    const std::string output = fields.edTempFn;
    fields.mActBat.push_back(gstatHeaderToFileLine(gstat, database, output));
    NowModeBatch batch = saveAndRunNowModeBatch(fields, false);
    if (batch.state != NowModeBatch::Started) return;

    // The report is read only once the batch has ended, never while gstat may still be writing it.
    const bool ready = waitForOutputFile(output, kSettingsStepWait, &batch.process);
    if (!platform::hasEnded(batch.process)) {
        // Still running: its files stay, and nothing of it is read.
        fields.mLog.writeErrorLine(fill(kSettingsBatchStillRunning, {fields.edBatFn}), false);
        return;
    }
    // It holds the password in plain text.
    deleteFileForced(fields.edBatFn);
    if (!ready) {
        fields.mLog.writeErrorLine(fill(kHeaderOutputMissing, {output}), false);
        return;
    }
    try {
        fields.mGstatRes = readOutputLines(output, platform::ansiCodePage());
        addDbSettingsReportRow(fields, fields.mGstatRes, buffers, "");
    } catch (const std::exception& error) {
        fields.mLog.writeErrorLine(fill(kHeaderOutputUnreadable, {output, error.what()}), false);
        return;
    }
    deleteFileForced(output);
}

void addDbSettingsReportRow(WorkingFields& fields, const std::vector<std::string>& lines,
                            std::int64_t expectedBuffers, std::string_view expectedAttributes) {
    beginDbSettingsReportRow(fields.htmlLog, fields.edActFdbFn);
    addCell(fields, lines, kGstatPageBuffersLabel, std::to_string(expectedBuffers));
    addCell(fields, lines, kGstatAttributesLabel, trim(expectedAttributes));
    endDbSettingsReportRow(fields.htmlLog);
}

}  // namespace fbwb
