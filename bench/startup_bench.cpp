// The start-up benchmark's launcher: starts a bare program that shows one dialog and the workbench in
// turn, in interleaved rounds, and measures each launch until the program's message queue first goes
// idle with its window shown and painted (the program sets a named event then, see
// platform/startup_marks.h). Prints the medians, the steps that the programs marked, and the ratio
// program/bare. scripts/bench-startup.sh runs it under Xvfb in the demo machine's prefix. More than
// one program may be given (another build of the workbench, to compare): each round starts them all.
//   startup_bench ROUNDS BARE.exe WORKBENCH.exe [OTHER.exe...]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Launch {
    bool idle = false;
    double ms = 0;                        // as the launcher saw it: CreateProcess to the idle event
    std::map<std::string, double> steps;  // as the program marked them: ms since its creation
};

std::wstring widen(const char* text) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(size > 0 ? size : 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), size);
    wide.resize(wide.size() - 1);
    return wide;
}

std::wstring tempPath(const std::wstring& name) {
    wchar_t folder[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, folder);
    return std::wstring(folder) + name;
}

BOOL CALLBACK closeWindowsOf(HWND window, LPARAM pid) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == static_cast<DWORD>(pid)) PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

std::map<std::string, double> readSteps(const std::wstring& path) {
    std::map<std::string, double> steps;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (file == nullptr) return steps;
    char name[64];
    double ms = 0;
    while (std::fscanf(file, "%63s %lf", name, &ms) == 2) steps.emplace(name, ms);
    std::fclose(file);
    return steps;
}

Launch launch(const std::wstring& program, int number) {
    Launch result;
    const std::wstring eventName =
        L"fbwb_startup_idle_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(number);
    const std::wstring trace =
        tempPath(L"fbwb_startup_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(number) + L".txt");
    DeleteFileW(trace.c_str());
    HANDLE idle = CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());
    SetEnvironmentVariableW(L"FBWB_IDLE_EVENT", eventName.c_str());
    SetEnvironmentVariableW(L"FBWB_STARTUP_TRACE", trace.c_str());

    std::wstring commandLine = L"\"" + program + L"\"";
    const std::wstring folder = program.substr(0, program.find_last_of(L'\\') + 1);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const auto start = Clock::now();
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        std::fprintf(stderr, "cannot start %ls: error %lu\n", program.c_str(), GetLastError());
        CloseHandle(idle);
        return result;
    }
    result.idle = WaitForSingleObject(idle, 60000) == WAIT_OBJECT_0;
    result.ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();

    // Closed as a user would close it; only a program that does not end is killed.
    EnumWindows(closeWindowsOf, static_cast<LPARAM>(process.dwProcessId));
    if (WaitForSingleObject(process.hProcess, 15000) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "%ls did not end after WM_CLOSE\n", program.c_str());
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(idle);
    result.steps = readSteps(trace);
    DeleteFileW(trace.c_str());
    return result;
}

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct Side {
    std::string name;
    std::wstring program;
    std::vector<Launch> launches;
    std::vector<double> ratios;  // to the bare program's launch of the same round
};

void printSide(const Side& side) {
    std::vector<double> totals;
    std::map<std::string, std::vector<double>> steps;
    std::vector<std::string> order;
    for (const Launch& launch : side.launches) {
        totals.push_back(launch.ms);
        for (const auto& [name, ms] : launch.steps) steps[name].push_back(ms);
    }
    std::printf("%s: launch to idle: median %6.1f ms  min %6.1f  max %6.1f\n", side.name.c_str(), median(totals),
                *std::min_element(totals.begin(), totals.end()), *std::max_element(totals.begin(), totals.end()));
    // The program's own marks, in the order it reached them (by their medians).
    std::vector<std::pair<double, std::string>> marks;
    for (const auto& [name, values] : steps) marks.emplace_back(median(values), name);
    std::sort(marks.begin(), marks.end());
    std::printf("  marks (median ms since the process was created):");
    for (const auto& [ms, name] : marks) std::printf(" %s %.1f", name.c_str(), ms);
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: startup_bench ROUNDS BARE.exe WORKBENCH.exe [OTHER.exe...]\n");
        return 2;
    }
    const int rounds = std::max(1, std::atoi(argv[1]));
    std::vector<Side> sides;
    for (int i = 2; i < argc; ++i) {
        std::string name = argv[i];
        name = name.substr(name.find_last_of('\\') + 1);
        sides.push_back({i == 2 ? "bare " + name : name, widen(argv[i]), {}, {}});
    }

    // One launch of each first: the first start of a program reads its file from the disk.
    int number = 0;
    for (Side& side : sides) launch(side.program, number++);

    int failures = 0;
    const size_t count = sides.size();
    for (int round = 0; round < rounds; ++round) {
        // The order rotates, so that no program always follows the same other one.
        std::vector<double> ms(count, 0);
        for (size_t turn = 0; turn < count; ++turn) {
            const size_t which = (static_cast<size_t>(round) + turn) % count;
            Launch result = launch(sides[which].program, number++);
            if (!result.idle) {
                std::fprintf(stderr, "%s: round %d never signalled idle\n", sides[which].name.c_str(), round + 1);
                ++failures;
            }
            ms[which] = result.ms;
            sides[which].launches.push_back(std::move(result));
        }
        for (size_t i = 1; i < count; ++i) sides[i].ratios.push_back(ms[i] / ms[0]);
    }

    std::printf("rounds: %d, interleaved; each launch from CreateProcess until the window is shown and idle\n", rounds);
    for (const Side& side : sides) printSide(side);
    auto totals = [](const Side& side) {
        std::vector<double> values;
        for (const Launch& launch : side.launches) values.push_back(launch.ms);
        return median(values);
    };
    for (size_t i = 1; i < count; ++i) {
        std::vector<double> ratios = sides[i].ratios;
        std::sort(ratios.begin(), ratios.end());
        std::printf("ratio %s/bare: %.2f (of the medians; per round: median %.2f, middle half %.2f to %.2f)\n",
                    sides[i].name.c_str(), totals(sides[i]) / totals(sides[0]), median(ratios),
                    ratios[ratios.size() / 4], ratios[(ratios.size() * 3) / 4 - (ratios.size() >= 4 ? 1 : 0)]);
    }
    if (failures > 0) std::printf("failed launches: %d\n", failures);
    return failures == 0 ? 0 : 1;
}
