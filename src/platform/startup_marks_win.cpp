#include "platform/startup_marks.h"

#include <windows.h>

#include <cstdio>

namespace fbwb::platform {

namespace {

// 100 ns units since 1601, the clock of the process creation time.
unsigned long long fileTimeTicks(const FILETIME& time) {
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// The precise clock where there is one (Windows 8 on); the plain one ticks in 15 ms steps.
void systemTimeNow(FILETIME& now) {
    using Precise = void(WINAPI*)(FILETIME*);
    static const auto precise = reinterpret_cast<Precise>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetSystemTimePreciseAsFileTime")));
    if (precise != nullptr) {
        precise(&now);
    } else {
        GetSystemTimeAsFileTime(&now);
    }
}

}  // namespace

void markStartupStep(const char* step) {
    wchar_t path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"FBWB_STARTUP_TRACE", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    FILETIME created{}, exited{}, kernel{}, user{}, now{};
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return;
    systemTimeNow(now);
    const double ms = static_cast<double>(fileTimeTicks(now) - fileTimeTicks(created)) / 10000.0;
    char line[128];
    const int size = std::snprintf(line, sizeof line, "%s %.2f\r\n", step, ms);
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(size), &written, nullptr);
    CloseHandle(file);
}

void noteIdleOnce() {
    static bool noted = false;
    if (noted) return;
    MSG message;
    if (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) return;
    noted = true;
    markStartupStep("idle");
    wchar_t name[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"FBWB_IDLE_EVENT", name, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, name);
    if (event == nullptr) return;
    SetEvent(event);
    CloseHandle(event);
}

}  // namespace fbwb::platform
