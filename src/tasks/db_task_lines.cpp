#include "tasks/db_task_lines.h"

#include <cmath>

#include "core/helpers.h"
#include "core/text.h"
#include "script/batch_lines.h"
#include "script/texts.h"
#include "tasks/texts_tasks.h"

namespace fbwb {

using namespace texts_tasks;

std::string maintenanceLogFileName(std::string_view tempFolder, int index) {
    return folderPrefix(tempFolder)
        .append(kMaintenanceLogPrefix)
        .append(std::to_string(index))
        .append(kMaintenanceLogExtension);
}

std::string maintenanceBackupFileName(std::string_view database, const LocalDateTime& now) {
    return replaceExtension(database, "_" + formatStamp(now) + texts_script::kBackupFileExtension);
}

std::optional<std::string> refuseDatabaseTaskValues(const DatabaseTaskValues& values) {
    // The backup names derive from the database path, the tool paths from the server folder and the
    // log and output names from the temp folder, each with plain text added: these cover the lines.
    for (auto refused : {refuseBatchValue(values.database, texts_script::kFieldDatabaseFile),
                         refuseBatchValue(values.userName, texts_script::kFieldUserName),
                         refuseBatchSecret(values.password, texts_script::kFieldPassword),
                         refuseBatchValue(values.serverFolder, kFieldServerFolder),
                         refuseBatchValue(values.tempFolder, kFieldTempFolder)}) {
        if (refused) return refused;
    }
    return std::nullopt;
}

std::string maintenanceRestoredFileName(std::string_view database, const LocalDateTime& now) {
    return replaceExtension(database, "_" + formatStamp(now) + std::string(kRestoredExtension));
}

std::string maintenanceBackupTempFileName(std::string_view backupFile) {
    return std::string(backupFile) + std::string(kBackupTempTail);
}

namespace {

// The lines of one database's batch section, its log and labels known.
class MaintenanceSection {
public:
    explicit MaintenanceSection(const MaintenanceLineInput& input)
        : log_(redirectSuffix(!input.logFile.empty(), input.logFile)), index_(std::to_string(input.index)) {}

    // call "tool" arguments  >>  "log" 2>&1, its exit code into the log, on to the failure label
    // when it is not 0 (a negative code too: a crashed tool).
    // noInput: gbak asks for the next volume of a backup that ends early; from NUL it gets an end
    // of input and fails instead of waiting in a window nobody watches.
    void tool(std::string_view exe, std::string_view arguments, std::string_view step, std::string_view failLabel,
              bool noInput = false) {
        lines_.push_back(callLine(exe, arguments, withErrors() + (noInput ? " <nul" : "")));
        marker(std::string(step) + std::string(kExitCodeTail));
        lines_.push_back("if errorlevel 1 goto " + label(failLabel));
        lines_.push_back("if not errorlevel 0 goto " + label(failLabel));
    }
    void marker(std::string_view text) { lines_.push_back(echoLine(text)); }
    void line(std::string text) { lines_.push_back(std::move(text)); }
    void deleteIfExists(std::string_view path) { lines_.push_back(ifExists(path) + deleteLine(path)); }
    void move(std::string_view from, std::string_view to) { lines_.push_back(moveReplaceLine(from, to) + withErrors()); }
    std::string echoLine(std::string_view text) const {
        // The blank before ">>" keeps a trailing digit from being read as a handle number.
        return "echo " + std::string(kStepMarker) + std::string(text) + (log_.empty() ? "" : " " + log_);
    }
    std::string label(std::string_view format) const { return fill(format, {index_}); }
    std::vector<std::string> take() { return std::move(lines_); }

private:
    std::string withErrors() const { return log_.empty() ? log_ : log_ + " 2>&1"; }
    std::string log_;
    std::string index_;
    std::vector<std::string> lines_;
};

}  // namespace

std::vector<std::string> maintenanceLines(const MaintenanceSteps& steps, const MaintenanceLineInput& input) {
    if (!steps.maintain && !steps.backup) return {};
    const std::string user = batchCredential(input.userName);
    const std::string password = batchCredential(input.password);
    MaintenanceSection s(input);
    if (steps.maintain) {
        const std::pair<std::string_view, std::string_view> gfixSteps[] = {
            {kGfixValidateSwitches, kStepValidate}, {kGfixSweepSwitches, kStepSweep}, {kGfixMendSwitches, kStepMend}};
        for (const auto& [switches, step] : gfixSteps)
            s.tool(input.gfix, fill(switches, {user, password, input.database}), step, kLabelFailed);
    }
    if (steps.backup) {
        // A failed backup never truncates the last good one of the same name.
        const std::string temp = maintenanceBackupTempFileName(input.backupFile);
        s.deleteIfExists(temp);
        s.tool(input.gbak, fill(texts_script::kBackupSwitches, {user, password, input.database, temp}), kStepBackup,
               kLabelFailed, true);
        s.move(temp, input.backupFile);
        s.line(ifExists(temp) + s.echoLine(kStepBackupRename));
        s.line(ifExists(temp) + "goto " + s.label(kLabelFailed));
    }
    const bool restore = steps.backup && steps.restore;
    if (restore) {
        s.deleteIfExists(input.restoredFile);
        s.tool(input.gbak, fill(texts_script::kRestoreSwitches, {user, password, input.backupFile, input.restoredFile}),
               kStepRestore, kLabelRestoreFailed, true);
        s.move(input.restoredFile, input.database);
        s.line(ifExists(input.restoredFile) + "goto " + s.label(kLabelInUse));
        if (steps.deleteBackup) s.line(deleteLine(input.backupFile));
    }
    s.marker(kStepsSucceeded);
    s.line("goto " + s.label(kLabelEnd));
    if (restore) {
        s.line(":" + s.label(kLabelRestoreFailed));
        // gbak may leave a half-restored file behind.
        s.deleteIfExists(input.restoredFile);
    }
    s.line(":" + s.label(kLabelFailed));
    s.marker(kStepsAbandoned);
    if (restore) {
        s.line("goto " + s.label(kLabelEnd));
        s.line(":" + s.label(kLabelInUse));
        s.marker(std::string(kDatabaseInUse) + "\"" + input.restoredFile + "\"");
    }
    s.line(":" + s.label(kLabelEnd));
    return s.take();
}

MaintenanceOutcome readMaintenanceOutcome(const std::vector<std::string>& logLines) {
    std::vector<std::string> markers;
    for (const std::string& line : logLines) {
        // A tool's last message may lack its line end, and the marker then follows it on its line.
        const size_t at = line.find(kStepMarker);
        if (at != std::string::npos) markers.push_back(trim(std::string_view(line).substr(at + kStepMarker.size())));
    }
    if (markers.empty()) return {};
    const std::string& last = markers.back();
    if (last == kStepsSucceeded) return {MaintenanceOutcome::Succeeded, {}};
    if (startsWith(last, kDatabaseInUse)) {
        std::string kept = last.substr(kDatabaseInUse.size());
        if (kept.size() >= 2 && kept.front() == '"' && kept.back() == '"') kept = kept.substr(1, kept.size() - 2);
        return {MaintenanceOutcome::InUse, kept};
    }
    if (last == kStepsAbandoned && markers.size() >= 2)
        return {MaintenanceOutcome::StepFailed, markers[markers.size() - 2]};
    return {};
}

std::string maintenanceOutcomeText(const MaintenanceOutcome& outcome) {
    switch (outcome.kind) {
        case MaintenanceOutcome::Succeeded:
            return std::string(kOutcomeSucceeded);
        case MaintenanceOutcome::StepFailed:
            return fill(kOutcomeStepFailed, {outcome.detail});
        case MaintenanceOutcome::InUse:
            return fill(kOutcomeInUse, {outcome.detail});
        case MaintenanceOutcome::Incomplete:
            break;
    }
    return std::string(kOutcomeIncomplete);
}

std::int64_t pageBuffersFor(std::int64_t fileSize, int percent) {
    const std::int64_t kilobytes = fileSize / 1024;
    // Each operation rounded to extended precision, as the sizes were always computed.
    const long double share = static_cast<long double>(percent) / 100.0L;
    const long double pages = static_cast<long double>(kilobytes) / 4.0L;
    const long double buffers = share * pages;
    // The default rounding mode rounds a tie to the even neighbour.
    return std::llrint(buffers);
}

std::string gfixWriteAsyncLine(std::string_view gfix, std::string_view database, std::string_view userName,
                               std::string_view password) {
    return callLine(gfix,
                    fill(kGfixWriteAsyncSwitches, {database, batchCredential(userName), batchCredential(password)}));
}

std::string gfixBuffersLine(std::string_view gfix, std::int64_t buffers, std::string_view database,
                            std::string_view userName, std::string_view password) {
    return callLine(gfix, fill(kGfixBuffersSwitches, {std::to_string(buffers), database, batchCredential(userName),
                                                      batchCredential(password)}));
}

std::string gstatHeaderToFileLine(std::string_view gstat, std::string_view database, std::string_view outputFile) {
    return callLine(gstat, fill(kGstatHeaderSwitches, {database, outputFile}));
}

}  // namespace fbwb
