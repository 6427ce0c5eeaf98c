#include "tasks/database_run_win.h"

#include "core/datetime.h"
#include "core/text.h"
#include "core/texts_core.h"
#include "platform/fs.h"
#include "platform/process.h"
#include "platform/prompter.h"
#include "script/batch_files_win.h"
#include "tasks/run_report_win.h"
#include "tasks/texts_tasks.h"

namespace fbwb {

namespace {

void processPendingEvents() { platform::sleepProcessingEvents(std::chrono::milliseconds(0)); }

}  // namespace

void runDatabaseList(WorkingFields& fields, const CommonSettings& settings, const FdbListChoice& list,
                     RunReport report, const std::function<void(std::string_view line, int index)>& step) {
    fields.pbOp.setPosition(0);
    fields.pbOp.setMax(1 + static_cast<int>(list.lines.size()));
    processPendingEvents();
    fields.mActBat.clear();

    const bool batchMode = list.mode == RunMode::Batch;
    bool stopped = false;
    const size_t errorsBefore = fields.mLog.errorCount();
    if (!batchMode || beginBatchModeTarget(fields, list.batchFile)) {
        fields.mActBat.clear();
        startRunReport(fields.htmlLog, report, localNow());
        for (size_t i = 0; i < list.lines.size(); ++i) {
            const std::string& line = list.lines[i];
            if (trim(line).empty()) continue;
            if (fields.stopAfterCurrent) {
                fields.mLog.writeLogLine(std::string(texts_tasks::kRunStopped));
                stopped = true;
                break;
            }
            const int index = static_cast<int>(i);
            if (!batchMode) beginNowModeDatabase(fields, settings.tempFolder, index);
            step(line, index);
            // Per finished database: a now-mode step ends when its database is done.
            fields.pbOp.setPosition(fields.pbOp.position() + 1);
            processPendingEvents();
        }
        if (batchMode)
            finishBatchModeTarget(fields);
        else
            finishRunReport(fields.htmlLog, report, settings.tempFolder);
    }
    // Success is claimed only when nothing failed.
    std::string_view closing = texts_core::kRunFinished;
    if (fields.mLog.errorCount() > errorsBefore) closing = texts_tasks::kRunFinishedWithErrors;
    if (stopped) closing = texts_tasks::kRunStopped;
    platform::prompter().showMessage(std::string(closing), platform::BoxKind::Message);
}

bool toolPresent(OperationLog& log, std::string_view missingText, const std::string& tool) {
    if (platform::fileExists(tool)) return true;
    log.writeErrorLine(std::string(missingText) + tool, false);
    return false;
}

}  // namespace fbwb
