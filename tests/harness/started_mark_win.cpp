// Linked into every test program that tests/harness/wine-run.sh runs. The wrapper names a file in
// FBWB_STARTED_MARK; the program creates it as soon as Wine has loaded it, so a failure without the
// file is Wine's, not the test's. The wrapper also turns Wine's loader errors on for this program;
// the programs it starts (cmd, the tool stand-ins) get Wine's usual silence back, so that nothing of
// Wine's lands in the logs that the tests read.
#include <windows.h>

namespace {

struct StartedMark {
    StartedMark() {
        char path[MAX_PATH];
        const DWORD length = GetEnvironmentVariableA("FBWB_STARTED_MARK", path, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return;
        SetEnvironmentVariableA("FBWB_STARTED_MARK", nullptr);
        SetEnvironmentVariableA("WINEDEBUG", "-all");
        const HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
};

const StartedMark startedMark;

}  // namespace
