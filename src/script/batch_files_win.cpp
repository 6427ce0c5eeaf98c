#include "script/batch_files_win.h"

#include <stdexcept>

#include "core/file_helpers_win.h"
#include "core/text.h"
#include "platform/encoding.h"
#include "platform/fs.h"
#include "platform/prompter.h"
#include "script/texts_run.h"

namespace fbwb {

namespace {

platform::ShowMode showMode(bool visible) { return visible ? platform::ShowMode::Normal : platform::ShowMode::Hidden; }

std::string saveFailure(std::string_view file, std::string_view reason) {
    return fill(texts_run::kBatchSaveFailed, {file, reason});
}

}  // namespace

unsigned batchFileCodePage() {
    // cmd.exe reads batch files in the OEM code page: only there do accented paths reach the tools intact.
    return platform::oemCodePage();
}

HoldsCharacter batchFileCharacters() {
    return [codePage = batchFileCodePage()](char32_t codePoint) {
        return platform::representableInCodePage(codePoint, codePage);
    };
}

void saveBatchFile(const std::vector<std::string>& lines, std::string_view path) {
    platform::writeFileBytes(path, platform::toCodePage(joinLinesCrLf(lines), batchFileCodePage()));
}

platform::ShellStart runCommand(OperationLog& log, std::string_view file, std::string_view parameters, bool visible) {
    log.writeLogLine(texts_run::kRunCommandHeader);
    log.writeLogLine(std::string(file) + " " + std::string(parameters));
    platform::ShellStart start =
        platform::shellOpen(file, texts_run::kShellVerbOpen, parameters, showMode(visible), true, true);
    if (!start.started) log.writeErrorLine(fill(texts_run::kBatchStartFailed, {file, start.error}), false);
    return start;
}

void openOrAnnounceBatch(std::string_view file, bool runNow) {
    if (runNow) {
        platform::shellOpen(file, texts_run::kShellVerbOpen, "", platform::ShowMode::Normal, false);
        return;
    }
    platform::prompter().showMessage(std::string(texts_run::kBatchAnnouncement) + std::string(file),
                                     platform::BoxKind::Message);
}

platform::Process startProgram(std::string_view commandLine, platform::ShowMode mode) {
    return platform::startProcess(commandLine, mode);
}

void RunProgramSync(std::string_view commandLine, platform::ShowMode mode) {
    RunProgramSync(commandLine, mode, kRunProgramSyncLimit);
}

void RunProgramSync(std::string_view commandLine, platform::ShowMode mode, std::chrono::milliseconds limit) {
    const platform::Process process = startProgram(commandLine, mode);
    if (!process) return;
    // Bounded, and painting meanwhile: a hung tool must not freeze the program for good.
    if (platform::waitPaintingWindows(process, limit) != platform::WaitResult::Ended)
        throw std::runtime_error(texts_run::kRunProgramSyncWaitFailed);
}

bool beginBatchModeTarget(WorkingFields& fields, std::string_view dialogField) {
    fields.edBatFn = trim(dialogField);
    if (!platform::fileExists(fields.edBatFn)) return true;
    if (!platform::prompter().askYesNo(fill(texts_run::kOverwriteQuestion, {fields.edBatFn}),
                                       platform::BoxKind::Confirmation))
        return false;
    // A file that cannot be deleted shows up later as a save failure.
    deleteFileForced(fields.edBatFn);
    return true;
}

bool finishBatchModeTarget(WorkingFields& fields) {
    try {
        saveBatchFile(fields.mActBat, fields.edBatFn);
        return true;
    } catch (const std::runtime_error& error) {
        fields.mLog.writeErrorLine(saveFailure(fields.edBatFn, error.what()), true);
        return false;
    }
}

void beginNowModeDatabase(WorkingFields& fields, std::string_view tempFolder, int index) {
    const std::string base = folderPrefix(tempFolder) + "temp_" + std::to_string(index);
    fields.edTempFn = base + ".txt";
    fields.edBatFn = base + ".bat";
    fields.mActBat.clear();
    if (platform::fileExists(fields.edTempFn)) deleteFileForced(fields.edTempFn);
}

NowModeBatch saveAndRunNowModeBatch(WorkingFields& fields, bool visible) {
    try {
        saveBatchFile(fields.mActBat, fields.edBatFn);
    } catch (const std::runtime_error& error) {
        fields.mLog.writeErrorLine(saveFailure(fields.edBatFn, error.what()), false);
        return {};
    }
    platform::ShellStart start = runCommand(fields.mLog, fields.edBatFn, "", visible);
    if (!start.started) return {NowModeBatch::NotStarted, {}};
    return {NowModeBatch::Started, std::move(start.process)};
}

bool waitForOutputFile(std::string_view path, const OutputWait& plan, const platform::Process* batch) {
    if (batch != nullptr && *batch) {
        // The tool may still be writing once the file exists: wait for the whole batch instead.
        // Only a wait that cannot be done at all falls back to polling.
        switch (platform::waitPaintingWindows(*batch, plan.longest())) {
            case platform::WaitResult::Ended:
                return platform::fileExists(path);
            case platform::WaitResult::TimedOut:
                return false;
            case platform::WaitResult::Failed:
                break;
        }
    }
    if (plan.firstPause.count() > 0) platform::sleepProcessingEvents(plan.firstPause);
    for (int poll = 0; poll < plan.polls; ++poll) {
        if (platform::fileExists(path)) return true;
        platform::sleepProcessingEvents(plan.pause);
    }
    return platform::fileExists(path);
}

std::vector<std::string> readOutputLines(std::string_view path) {
    // cmd's redirection writes in the OEM code page.
    return readOutputLines(path, platform::oemCodePage());
}

std::vector<std::string> readOutputLines(std::string_view path, unsigned codePage) {
    const std::optional<std::string> bytes = platform::readFileBytes(path);
    if (!bytes) throw std::runtime_error(platform::lastErrorText());
    return splitLines(platform::fromCodePage(*bytes, codePage));
}

}  // namespace fbwb
