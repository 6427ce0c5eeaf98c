// Starting hidden batches from a program without a console of its own, as the workbench is (this
// benchmark is a GUI-subsystem program too): each batch the old way, through the shell with a new
// console of its own (hidden), against the program's way (platform::shellOpen: the batches share one
// windowless console, made for the first of them). Rounds interleave the two; each batch is waited
// for. Prints the time per batch, the cost of the shared console and the code page that the batches'
// echo wrote (852 = they had a console, as on Windows).
//   batch_start_bench [BATCHES]     (default 20)
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/encoding.h"
#include "platform/fs.h"
#include "platform/process.h"
#include "script/batch_files_win.h"
#include "win/temp_folder.h"

using namespace fbwb;
using Clock = std::chrono::steady_clock;

namespace {

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Before: the shell gives a hidden batch a console of its own when this program has none to share.
bool runWithOwnConsole(const std::string& batch) {
    const std::wstring file = platform::widen(batch);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"Open";
    info.lpFile = file.c_str();
    info.nShow = SW_HIDE;
    if (!ShellExecuteExW(&info) || info.hProcess == nullptr) return false;
    WaitForSingleObject(info.hProcess, 120000);
    CloseHandle(info.hProcess);
    return true;
}

bool runTheProgramsWay(const std::string& batch) {
    const platform::ShellStart start = platform::shellOpen(batch, "Open", "", platform::ShowMode::Hidden, true, true);
    if (!start.process) return false;
    return platform::waitPaintingWindows(start.process, std::chrono::minutes(2)) == platform::WaitResult::Ended;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// What the batch's echo wrote: "á" is 0xA0 in code page 852 and 0xE1 in 1250.
const char* echoCodePage(const std::string& path) {
    const auto bytes = platform::readFileBytes(path);
    if (!bytes || bytes->empty()) return "nothing written";
    return static_cast<unsigned char>((*bytes)[0]) == 0xA0 ? "852 (OEM)" : "1250 (ANSI)";
}

}  // namespace

int main(int argc, char** argv) {
    const int batches = std::max(1, argc > 1 ? std::atoi(argv[1]) : 20);
    test::TempFolder scratch;
    // An echo and a console program, as the task batches call the Firebird tools.
    const std::string own = scratch / "own.txt", shared = scratch / "shared.txt";
    auto writeBatch = [&](const std::string& name, const std::string& output) {
        const std::string path = scratch / name;
        saveBatchFile({"@echo off", "echo á> \"" + output + "\"", "find /c \"x\" \"" + path + "\" >nul"}, path);
        return path;
    };
    const std::string ownBatch = writeBatch("own.bat", own), sharedBatch = writeBatch("shared.bat", shared);

    std::vector<double> before, after;
    double first = 0;
    int failures = 0;
    for (int i = 0; i < batches; ++i) {
        auto start = Clock::now();
        if (!runWithOwnConsole(ownBatch)) ++failures;
        before.push_back(millisecondsSince(start));
        start = Clock::now();
        if (!runTheProgramsWay(sharedBatch)) ++failures;
        (i == 0 ? first : after.emplace_back()) = millisecondsSince(start);
    }
    double beforeSum = 0, afterSum = first;
    for (double ms : before) beforeSum += ms;
    for (double ms : after) afterSum += ms;
    std::printf("hidden batches from a GUI-subsystem program: %d each way, interleaved (ms)\n", batches);
    std::printf("own console each (before):  median %6.1f per batch, %7.0f in all; echo wrote %s\n", median(before),
                beforeSum, echoCodePage(own));
    std::printf("shared console (program):   median %6.1f per batch, %7.0f in all; echo wrote %s\n",
                after.empty() ? first : median(after), afterSum, echoCodePage(shared));
    std::printf("first batch with the shared console (makes it): %.1f\n", first);
    if (failures > 0) std::fprintf(stderr, "%d batches could not be started or did not end\n", failures);
    return failures == 0 ? 0 : 1;
}
