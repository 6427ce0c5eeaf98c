#include "platform/process.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <string>

#include "platform/encoding.h"
#include "platform/fs.h"
#include "platform/handles_win.h"
#include "platform/library_function_win.h"

namespace fbwb::platform {

struct Process::Impl {
    UniqueKernelHandle handle;
};

Process::Process() = default;
Process::~Process() = default;
Process::Process(Process&&) noexcept = default;
Process& Process::operator=(Process&&) noexcept = default;

Process::operator bool() const { return impl_ && impl_->handle; }

void* Process::nativeHandle() const { return impl_ ? impl_->handle.get() : nullptr; }

Process Process::adopt(void* handle) {
    Process process;
    UniqueKernelHandle owned(static_cast<HANDLE>(handle));
    if (owned) {
        process.impl_ = std::make_unique<Impl>();
        process.impl_->handle = std::move(owned);
    }
    return process;
}

namespace {

HWND owner = nullptr;

int showCommand(ShowMode mode) { return mode == ShowMode::Hidden ? SW_HIDE : SW_SHOWNORMAL; }

using Clock = std::chrono::steady_clock;

// Milliseconds left until the deadline, as a wait timeout that never means "infinite".
DWORD millisecondsUntil(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return 0;
    return static_cast<DWORD>(std::min<long long>(left, INFINITE - 1));
}

// A window that never validates its update region would otherwise keep one call here forever.
constexpr int kMessagesPerWake = 256;

void dispatchPaintMessages() {
    // Sent messages are delivered by PeekMessageW itself; only WM_PAINT is taken from the
    // queue so that clicks and keys typed meanwhile stay there for later.
    MSG message;
    for (int i = 0; i < kMessagesPerWake && PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i)
        DispatchMessageW(&message);
}

// A console costs a process of its own (conhost; about 0.1 s under Wine), and a program without one
// gets a new one for every console program that it starts. Hidden children share one instead: a
// windowless console made once, when the first of them starts, by a helper started with
// CREATE_NO_WINDOW that this program attaches to. Shown children still get a console of their own.
void shareHiddenConsole() {
    static bool done = false;
    if (done) return;
    done = true;
    if (GetConsoleCP() != 0) return;  // a console program has one already
    wchar_t system[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    // cmd /k waits for console input that never comes, until it is ended below.
    std::wstring commandLine = L"\"" + std::wstring(system) + L"\\cmd.exe\" /q /k";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &info))
        return;
    UniqueKernelHandle helper(info.hProcess);
    UniqueKernelHandle thread(info.hThread);
    // The helper's console exists once its start-up has made it.
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (!AttachConsole(info.dwProcessId)) {
        if (Clock::now() >= deadline || WaitForSingleObject(helper.get(), 1) == WAIT_OBJECT_0) break;
    }
    TerminateProcess(helper.get(), 0);
    // Nobody can type into a console without a window; a Ctrl+C sent to its processes must not end this one.
    if (GetConsoleCP() != 0) SetConsoleCtrlHandler(nullptr, TRUE);
}

}  // namespace

namespace {
ShellOpenRecorder* shellRecorder = nullptr;
}

ShellOpenRecorder::ShellOpenRecorder() : previous_(shellRecorder) { shellRecorder = this; }

ShellOpenRecorder::ShellOpenRecorder(std::function<bool(const ShellRequest&)> carryOut)
    : carryOut_(std::move(carryOut)), previous_(shellRecorder) {
    shellRecorder = this;
}

ShellOpenRecorder::~ShellOpenRecorder() { shellRecorder = previous_; }

bool ShellOpenRecorder::waitForCarriedOut(std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    for (const Process& process : started_) {
        if (!process) continue;
        const DWORD left = millisecondsUntil(deadline);
        if (WaitForSingleObject(static_cast<HANDLE>(process.nativeHandle()), left) != WAIT_OBJECT_0) return false;
    }
    return true;
}

ShellStart shellOpen(std::string_view file, std::string_view verb, std::string_view parameters, ShowMode mode,
                     bool wantProcess, bool silent) {
    if (ShellOpenRecorder* recorder = shellRecorder; recorder != nullptr) {
        recorder->requests_.push_back({std::string(file), std::string(verb), std::string(parameters), mode});
        if (!recorder->carryOut_ || !recorder->carryOut_(recorder->requests_.back())) return {true, {}, {}};
        shellRecorder = nullptr;
        ShellStart start = shellOpen(file, verb, parameters, mode, true, silent);
        shellRecorder = recorder;
        if (!start.process) return start;
        HANDLE copy = nullptr;
        const HANDLE self = GetCurrentProcess();
        if (wantProcess && DuplicateHandle(self, static_cast<HANDLE>(start.process.nativeHandle()), self, &copy, 0,
                                           FALSE, DUPLICATE_SAME_ACCESS)) {
            recorder->started_.push_back(Process::adopt(copy));
            return start;
        }
        recorder->started_.push_back(std::move(start.process));
        return start;
    }
    const std::wstring wideFile = widen(file);
    const std::wstring wideVerb = widen(verb);
    const std::wstring wideParameters = widen(parameters);

    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // NOASYNC: the request is complete on return, even when the caller ends right after.
    info.fMask = SEE_MASK_NOASYNC | (wantProcess ? SEE_MASK_NOCLOSEPROCESS : 0) | (silent ? SEE_MASK_FLAG_NO_UI : 0);
    // A hidden console program shares this program's console; a shown one gets its own window.
    if (mode == ShowMode::Hidden) {
        shareHiddenConsole();
        info.fMask |= SEE_MASK_NO_CONSOLE;
    }
    info.hwnd = owner;
    info.lpVerb = wideVerb.empty() ? nullptr : wideVerb.c_str();
    info.lpFile = wideFile.c_str();
    info.lpParameters = wideParameters.empty() ? nullptr : wideParameters.c_str();
    info.lpDirectory = nullptr;
    info.nShow = showCommand(mode);
    ShellStart start;
    if (!libraryFunction<decltype(ShellExecuteExW)>(L"shell32.dll", "ShellExecuteExW")(&info)) {
        start.error = lastErrorText();
        return start;
    }
    start.started = true;
    if (wantProcess) start.process = Process::adopt(info.hProcess);
    return start;
}

Process startProcess(std::string_view commandLine, ShowMode mode) {
    // CreateProcessW may write into the command line, so it gets its own copy.
    std::wstring buffer = widen(commandLine);
    buffer.push_back(L'\0');

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand(mode));
    PROCESS_INFORMATION info{};
    // As with the shell: hidden console programs share this program's console, a shown one gets its own.
    if (mode == ShowMode::Hidden) shareHiddenConsole();
    const DWORD flags = mode == ShowMode::Hidden ? 0 : CREATE_NEW_CONSOLE;
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr, &startup, &info))
        return {};
    UniqueKernelHandle thread(info.hThread);
    return Process::adopt(info.hProcess);
}

WaitResult waitPaintingWindows(const Process& process, std::chrono::milliseconds limit) {
    if (!process) return WaitResult::Failed;
    HANDLE handle = static_cast<HANDLE>(process.nativeHandle());
    const auto deadline = Clock::now() + limit;
    for (;;) {
        const DWORD result =
            MsgWaitForMultipleObjects(1, &handle, FALSE, millisecondsUntil(deadline), QS_PAINT | QS_SENDMESSAGE);
        if (result == WAIT_OBJECT_0) return WaitResult::Ended;
        if (result == WAIT_TIMEOUT) return WaitResult::TimedOut;
        if (result != WAIT_OBJECT_0 + 1) return WaitResult::Failed;
        dispatchPaintMessages();
        if (millisecondsUntil(deadline) == 0) {
            // The last messages may have come with the end of the process: look once more.
            return WaitForSingleObject(handle, 0) == WAIT_OBJECT_0 ? WaitResult::Ended : WaitResult::TimedOut;
        }
    }
}

namespace {

// Dispatches every pending event until the deadline or, with a handle, until it is signalled. A
// WM_QUIT is left for the main loop, which ends the program once the wait is over.
bool pumpEventsUntil(HANDLE handle, Clock::time_point deadline) {
    bool quitSeen = false;
    WPARAM quitCode = 0;
    bool signalled = false;
    for (;;) {
        MSG message;
        for (int i = 0; !quitSeen && i < kMessagesPerWake && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
            if (message.message == WM_QUIT) {
                quitSeen = true;
                quitCode = message.wParam;
                break;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        const DWORD left = millisecondsUntil(deadline);
        if (handle != nullptr && WaitForSingleObject(handle, 0) == WAIT_OBJECT_0) {
            signalled = true;
            break;
        }
        if (left == 0) break;
        const DWORD handles = handle != nullptr ? 1 : 0;
        if (quitSeen && handle != nullptr)
            WaitForSingleObject(handle, left);  // no more messages: only the handle or the time
        else if (quitSeen)
            Sleep(left);
        else
            MsgWaitForMultipleObjects(handles, handles ? &handle : nullptr, FALSE, left, QS_ALLINPUT);
    }
    if (quitSeen) PostQuitMessage(static_cast<int>(quitCode));
    return signalled;
}

}  // namespace

WaitResult waitProcessingEvents(const Process& process, std::chrono::milliseconds limit) {
    if (!process) return WaitResult::Failed;
    return pumpEventsUntil(static_cast<HANDLE>(process.nativeHandle()), Clock::now() + limit) ? WaitResult::Ended
                                                                                              : WaitResult::TimedOut;
}

bool hasEnded(const Process& process) {
    return !process || WaitForSingleObject(static_cast<HANDLE>(process.nativeHandle()), 0) == WAIT_OBJECT_0;
}

void sleepProcessingEvents(std::chrono::milliseconds pause) { pumpEventsUntil(nullptr, Clock::now() + pause); }

void paintPendingWindows() { dispatchPaintMessages(); }

void discardPendingInput() {
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
    while (PeekMessageW(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    }
}

BusyCursor::BusyCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}

BusyCursor::~BusyCursor() { SetCursor(static_cast<HCURSOR>(previous_)); }

void setOwnerWindow(void* window) { owner = static_cast<HWND>(window); }

void* ownerWindow() { return owner; }

}  // namespace fbwb::platform
