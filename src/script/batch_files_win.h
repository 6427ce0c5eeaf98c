#pragma once
// Saving batch files and starting them: through the shell without waiting, or as a process
// that is waited for; the batch-mode target and the now-mode cycle that the database runs share;
// waiting for and reading back a file that a started batch writes.
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "core/working_fields.h"
#include "platform/process.h"
#include "script/batch_lines.h"

namespace fbwb {

// The code page that batch files are written in: the OEM one that cmd.exe reads them in.
unsigned batchFileCodePage();
// Which characters that code page holds exactly: what refuseBatchValue checks every value against.
HoldsCharacter batchFileCharacters();

// Each line followed by CR LF, in batchFileCodePage(), no byte-order mark, an existing file
// replaced. Throws std::runtime_error with the system's text.
void saveBatchFile(const std::vector<std::string>& lines, std::string_view path);

// Logs "Az alábbi parancs futtatása:" and file + " " + parameters, then asks the shell to open
// the file with "Open" in a normal or hidden window, keeping the started process. Returns at once.
// The shell shows no box of its own: a file it cannot start is logged as an error line (no box).
platform::ShellStart runCommand(OperationLog& log, std::string_view file, std::string_view parameters, bool visible);

// runNow: the shell opens the file, shown, without waiting. Otherwise a plain message box names it.
void openOrAnnounceBatch(std::string_view file, bool runNow);

// Starts the command line as a process; empty when it cannot be started.
platform::Process startProgram(std::string_view commandLine, platform::ShowMode mode);
// Starts the command line and waits for its end, keeping the windows painted. An unstartable
// command line returns at once. A wait that fails or lasts longer than kRunProgramSyncLimit
// throws std::runtime_error("RunProgramSync -  Error waiting process to terminate.").
void RunProgramSync(std::string_view commandLine, platform::ShowMode mode);
inline constexpr std::chrono::minutes kRunProgramSyncLimit{10};
// The same with another bound on the wait.
void RunProgramSync(std::string_view commandLine, platform::ShowMode mode, std::chrono::milliseconds limit);

// Batch mode, at the start of a run: the trimmed dialog field becomes edBatFn; an existing file of
// that name is replaced only after a Yes to the overwrite question. False: the run does no work.
bool beginBatchModeTarget(WorkingFields& fields, std::string_view dialogField);
// Batch mode, at the end of a run: saves mActBat to edBatFn; a failure is logged after an error box.
bool finishBatchModeTarget(WorkingFields& fields);

// Now mode, before database number index: edTempFn = temp folder + "temp_<index>.txt", edBatFn the
// same with ".bat"; mActBat cleared and a leftover temp file deleted.
void beginNowModeDatabase(WorkingFields& fields, std::string_view tempFolder, int index);
// Now mode: saves mActBat to edBatFn and runs it through runCommand. A save failure is logged (no
// box) and nothing is started; a batch the shell cannot start is logged by runCommand.
struct NowModeBatch {
    enum State { NotSaved, NotStarted, Started } state = NotSaved;
    platform::Process process;  // Started: the batch, to be waited for
};
NowModeBatch saveAndRunNowModeBatch(WorkingFields& fields, bool visible);

// How long to look for an output file: a first pause, then up to polls checks with a pause after
// each miss.
struct OutputWait {
    std::chrono::milliseconds firstPause;
    std::chrono::milliseconds pause;
    int polls;

    std::chrono::milliseconds longest() const { return firstPause + pause * polls; }
};
inline constexpr OutputWait kSettingsStepWait{std::chrono::milliseconds(0), std::chrono::milliseconds(1000), 9};
inline constexpr OutputWait kHeaderReadWait{std::chrono::milliseconds(250), std::chrono::milliseconds(250), 30};

// Whether the file exists after waiting. With the batch's process, waits (at most the plan's
// longest wait, windows painted) for the batch to end first: a batch still running then gives
// false, so that a file still being written is never read. Without one, polls and returns as soon
// as the file exists.
bool waitForOutputFile(std::string_view path, const OutputWait& plan, const platform::Process* batch);

// The lines of a file that a batch's redirection wrote, converted from the OEM code page (or the
// given one). Throws std::runtime_error with the system's text when it cannot be read.
std::vector<std::string> readOutputLines(std::string_view path);
std::vector<std::string> readOutputLines(std::string_view path, unsigned codePage);

}  // namespace fbwb
