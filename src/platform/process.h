#pragma once
// The platform shell and processes. A Process owns its handle; empty when there is none.
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace fbwb::platform {

enum class ShowMode { Normal, Hidden };

class Process {
public:
    Process();
    ~Process();
    Process(Process&&) noexcept;
    Process& operator=(Process&&) noexcept;
    explicit operator bool() const;
    void* nativeHandle() const;  // the HANDLE, for Windows code
    static Process adopt(void* handle);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Asks the shell to open the file with a verb ("open"/"Open"), parameters and window mode,
// owned by the application's main window when there is one. With wantProcess the returned
// Process can be waited on (when the shell started one); otherwise it is empty.
Process shellOpen(std::string_view file, std::string_view verb, std::string_view parameters, ShowMode mode,
                  bool wantProcess);

struct ShellRequest {
    std::string file, verb, parameters;
    ShowMode mode;
};

// While one exists, shellOpen records its requests here instead of carrying them out (tests:
// nothing is opened and no browser or viewer starts); shellOpen then returns an empty Process.
// Requests that carryOut accepts are carried out too (a test that runs the batch files for real
// but opens no report); the recorder keeps their processes so that the test can wait for them.
class ShellOpenRecorder {
public:
    ShellOpenRecorder();
    explicit ShellOpenRecorder(std::function<bool(const ShellRequest&)> carryOut);
    ~ShellOpenRecorder();
    ShellOpenRecorder(const ShellOpenRecorder&) = delete;
    ShellOpenRecorder& operator=(const ShellOpenRecorder&) = delete;
    const std::vector<ShellRequest>& requests() const { return requests_; }
    // Waits for every carried-out process to end, at most limit in all; false when one is still running.
    bool waitForCarriedOut(std::chrono::milliseconds limit);

private:
    friend Process shellOpen(std::string_view, std::string_view, std::string_view, ShowMode, bool);
    std::vector<ShellRequest> requests_;
    std::function<bool(const ShellRequest&)> carryOut_;
    std::vector<Process> started_;
    ShellOpenRecorder* previous_;
};

// Creates a process from a command line (no separate program name, no inherited handles,
// no creation flags); empty when it cannot be started.
Process startProcess(std::string_view commandLine, ShowMode mode);

enum class WaitResult { Ended, TimedOut, Failed };

// Waits for the process to end, at most the limit, keeping the program's windows painted
// (paint and sent messages are handled, input is left in the queue).
WaitResult waitPaintingWindows(const Process& process, std::chrono::milliseconds limit);

// Sleeps for the pause while the windows process their pending events.
void sleepProcessingEvents(std::chrono::milliseconds pause);

// The window that owns shell requests and message boxes (the main window once it exists).
void setOwnerWindow(void* window);
void* ownerWindow();

}  // namespace fbwb::platform
