// The header inspection, the settings run and the maintenance run over many real databases, against
// the same gstat/gfix/gbak command lines run bare through cmd (each batch waited for). Prints the
// times and the ratio program/bare of each, rounds interleaved so that the machine's noise hits
// both sides alike. A GUI-subsystem program, as the workbench is, so that the program side pays for
// the consoles of its batches as the workbench does.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/file_helpers_win.h"
#include "core/helpers.h"
#include "core/text.h"
#include "env/server_discovery_win.h"
#include "platform/encoding.h"
#include "platform/fs.h"
#include "platform/process.h"
#include "platform/scripted_prompter.h"
#include "script/batch_files_win.h"
#include "tasks/db_settings_run_win.h"
#include "tasks/db_task_lines.h"
#include "tasks/fdb_header.h"
#include "tasks/fdb_header_win.h"
#include "tasks/maintenance_run_win.h"
#include "tasks/page_buffers.h"
#include "win/temp_folder.h"

using namespace fbwb;
using Clock = std::chrono::steady_clock;

namespace {

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// cmd /c "batch", waited for: what the program's batches amount to without the program.
void runBare(const std::string& batch) {
    const platform::Process process = startProgram("cmd.exe /c \"\"" + batch + "\"\"", platform::ShowMode::Hidden);
    if (process) platform::waitPaintingWindows(process, std::chrono::minutes(2));
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int databases = argc > 1 ? std::atoi(argv[1]) : 20;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
    const char* root = std::getenv("FBWB_MACHINE_ROOT");
    if (root == nullptr) {
        std::fprintf(stderr, "FBWB_MACHINE_ROOT is not set: run through scripts/bench-db-tasks.sh\n");
        return 2;
    }
    CommonSettings settings;
    settings.serverFolder = folderPrefix(root) + "Firebird\\Firebird_3_0";
    const std::string gfix = getToolPath(settings.serverFolder, "gfix.exe");
    const std::string gstat = getToolPath(settings.serverFolder, "gstat.exe");

    test::TempFolder scratch;
    settings.tempFolder = scratch.folder("temp");
    const auto pristine = platform::readFileBytes("C:\\fbwb-fixture\\template.fdb");
    if (!pristine) {
        std::fprintf(stderr, "C:\\fbwb-fixture\\template.fdb is missing: the machine is not laid out\n");
        return 2;
    }
    std::vector<std::string> list;
    for (int i = 0; i < databases; ++i) {
        list.push_back(scratch.file("adat\\db" + std::to_string(i) + ".fdb", *pristine));
    }

    platform::ScriptedPrompter prompter;
    platform::PrompterOverride prompterOverride(prompter);
    // Batches run for real; the report is not opened.
    platform::ShellOpenRecorder shell(
        [](const platform::ShellRequest& request) { return endsWith(upperAscii(request.file), ".BAT"); });

    // The bare batches: the same lines, written once beforehand.
    std::vector<std::string> bareHeader, bareSettings;
    for (int i = 0; i < databases; ++i) {
        const std::string& db = list[static_cast<size_t>(i)];
        bareHeader.push_back(scratch / ("bare\\gstatRq" + std::to_string(i) + ".bat"));
        bareSettings.push_back(scratch / ("bare\\settings" + std::to_string(i) + ".bat"));
        platform::createFolders(scratch / "bare");
        saveBatchFile({gstatHeaderBatchLine(gstat, db, scratch / ("bare\\gstatRes" + std::to_string(i) + ".txt"))},
                      bareHeader.back());
        const std::int64_t buffers = pageBuffersFor(getFileSize(db), 150);
        saveBatchFile({gfixWriteAsyncLine(gfix, db, "SYSDBA", "qwdbadmin"),
                       gfixBuffersLine(gfix, buffers, db, "SYSDBA", "qwdbadmin"),
                       gstatHeaderToFileLine(gstat, db, scratch / ("bare\\temp_" + std::to_string(i) + ".txt"))},
                      bareSettings.back());
    }

    // Maintenance with all four steps: the program (one database at a time, each batch waited for,
    // its log read back) against the same tool lines run bare one after another.
    std::vector<std::string> bareMaintenance;
    for (int i = 0; i < databases; ++i) {
        const std::string& db = list[static_cast<size_t>(i)];
        const std::string gbak = getToolPath(settings.serverFolder, "gbak.exe");
        const std::string stamp = "_bare" + std::to_string(i);
        std::vector<std::string> tools;
        for (const std::string& line :
             maintenanceLines({true, true, true, true},
                              {gfix, gbak, db, "SYSDBA", "qwdbadmin", scratch / ("bare\\maintain" + std::to_string(i) + ".txt"),
                               replaceExtension(db, stamp + ".fbk"), replaceExtension(db, stamp + ".restored"), i})) {
            // Only what does the work: the tool calls, the moves and the deletion.
            if (startsWith(line, "call ") || startsWith(line, "move ") || startsWith(line, "del ")) tools.push_back(line);
        }
        bareMaintenance.push_back(scratch / ("bare\\maintain" + std::to_string(i) + ".bat"));
        saveBatchFile(tools, bareMaintenance.back());
    }

    std::vector<double> headerProgram, headerBare, settingsProgram, settingsBare, maintainProgram, maintainBare;
    int found = 0;
    int failures = 0;  // maintenance error lines: the figures of a run that failed mean nothing
    for (int round = 0; round < rounds; ++round) {
        auto start = Clock::now();
        found = 0;
        for (int i = 0; i < databases; ++i) {
            const std::string ods = getFdbOdsVersion(settings.serverFolder, settings.serverFolder, settings.tempFolder,
                                                     list[static_cast<size_t>(i)], std::to_string(i + 1));
            if (ods == "120") ++found;
        }
        headerProgram.push_back(secondsSince(start));

        start = Clock::now();
        for (const std::string& batch : bareHeader) runBare(batch);
        headerBare.push_back(secondsSince(start));

        WorkingFields fields;
        start = Clock::now();
        runDbSettings(fields, settings, {RunMode::Now, "", list}, {true, 150});
        settingsProgram.push_back(secondsSince(start));

        start = Clock::now();
        for (const std::string& batch : bareSettings) runBare(batch);
        settingsBare.push_back(secondsSince(start));

        WorkingFields maintainFields;
        start = Clock::now();
        runMaintenance(maintainFields, settings, {RunMode::Now, "", list}, {true, true, true, true});
        maintainProgram.push_back(secondsSince(start));
        for (const std::string& line : maintainFields.mLog.lines()) {
            if (!startsWith(line, "HIBA")) continue;
            std::fprintf(stderr, "maintenance: %s\n", line.c_str());
            ++failures;
        }

        start = Clock::now();
        for (const std::string& batch : bareMaintenance) runBare(batch);
        maintainBare.push_back(secondsSince(start));
    }

    std::printf("databases: %d, rounds: %d (medians of the rounds, seconds)\n", databases, rounds);
    std::printf("header inspection: program %.2f  bare %.2f  ratio %.2f  (ODS 12.0 read for %d of %d)\n",
                median(headerProgram), median(headerBare), median(headerProgram) / median(headerBare), found,
                databases);
    std::printf("settings run:      program %.2f  bare %.2f  ratio %.2f\n", median(settingsProgram),
                median(settingsBare), median(settingsProgram) / median(settingsBare));
    std::printf("maintenance run:   program %.2f  bare %.2f  ratio %.2f  (all four steps)\n", median(maintainProgram),
                median(maintainBare), median(maintainProgram) / median(maintainBare));
    // A smoke run in ctest relies on this: the program side did its work.
    return found == databases && failures == 0 ? 0 : 1;
}
