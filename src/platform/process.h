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

// What the shell did with a request: whether it started it (the system's error text when not) and,
// when asked for, the process it started (empty when it handed the file to a running program).
struct ShellStart {
    bool started = false;
    std::string error;
    Process process;
};

// Asks the shell to open the file with a verb ("open"/"Open"), parameters and window mode,
// owned by the application's main window when there is one. A hidden batch shares this program's
// console, as startProcess's hidden children do; a shown one gets its own console window. With
// wantProcess the started process is kept. silent: the shell shows no box of its own when it cannot
// start the file (the caller reports it).
ShellStart shellOpen(std::string_view file, std::string_view verb, std::string_view parameters, ShowMode mode,
                     bool wantProcess, bool silent = false);

struct ShellRequest {
    std::string file, verb, parameters;
    ShowMode mode;
};

// While one exists, shellOpen records its requests here instead of carrying them out (tests:
// nothing is opened and no browser or viewer starts); shellOpen then reports them started, without a
// process.
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
    friend ShellStart shellOpen(std::string_view, std::string_view, std::string_view, ShowMode, bool, bool);
    std::vector<ShellRequest> requests_;
    std::function<bool(const ShellRequest&)> carryOut_;
    std::vector<Process> started_;
    ShellOpenRecorder* previous_;
};

// Creates a process from a command line (no separate program name, no inherited handles); empty
// when it cannot be started. A hidden console program shares this program's console (one without a
// window, made on first need); a shown one gets a console of its own.
Process startProcess(std::string_view commandLine, ShowMode mode);

enum class WaitResult { Ended, TimedOut, Failed };

// Waits for the process to end, at most the limit, keeping the program's windows painted
// (paint and sent messages are handled, input is left in the queue).
WaitResult waitPaintingWindows(const Process& process, std::chrono::milliseconds limit);

// Waits for the process to end, at most the limit, while the windows process all their pending
// events (input too: a button that the run offers meanwhile works).
WaitResult waitProcessingEvents(const Process& process, std::chrono::milliseconds limit);
// A limit that is no limit: a large restore may take hours.
inline constexpr std::chrono::milliseconds kNoTimeLimit = std::chrono::hours(24 * 365 * 100);
// Whether the process has ended (an empty one has).
bool hasEnded(const Process& process);

// Sleeps for the pause while the windows process their pending events.
void sleepProcessingEvents(std::chrono::milliseconds pause);

// Paints the windows that wait for it and delivers sent messages, leaving input in the queue;
// returns at once. Long work on the windows' own thread calls it now and then.
void paintPendingWindows();
// Drops the clicks and keys that came while long work held the windows' own thread, so that they
// repeat nothing once the work is over.
void discardPendingInput();

// The busy cursor while it exists: long work on the windows' own thread.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    void* previous_;
};

// The window that owns shell requests and message boxes (the main window once it exists).
void setOwnerWindow(void* window);
void* ownerWindow();

}  // namespace fbwb::platform
