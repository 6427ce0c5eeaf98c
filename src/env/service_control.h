#pragma once
// Windows service states and the rules of waiting for one, without the system.
#include <chrono>
#include <string>
#include <string_view>

namespace fbwb {

// The Service Control Manager's current-state numbers; 0 stands for a state that could not be told.
enum ServiceStateCode : unsigned long {
    kServiceStopped = 1,
    kServiceStartPending = 2,
    kServiceStopPending = 3,
    kServiceRunning = 4,
    kServiceContinuePending = 5,
    kServicePausePending = 6,
    kServicePaused = 7,
};

// "STOPPED", "START/PENDING", … "PAUSED"; "UNKNOWN" for anything else, 0 included.
std::string serviceStateName(unsigned long state);

// A wait for a service's state never runs unbounded: each pause is the service's wait hint brought
// into [minPause, maxPause], and the wait gives up once total has passed.
struct ServiceWaitLimits {
    std::chrono::milliseconds minPause{100};
    std::chrono::milliseconds maxPause{10000};
    std::chrono::milliseconds total{60000};
};

struct ServiceStatusSeen {
    unsigned long state = 0;
    unsigned long checkPoint = 0;
    unsigned long waitHint = 0;  // milliseconds
};

// Whether to query again after status `now`, the status before it being `previous`: not once the
// target is reached, not when the check-point went back within one state (a new state counts its
// check-points afresh: a stop that follows a start pending at check-point 5 begins at 1), not in a
// state that is neither the target nor pending (the service gave up), and not after the time allowed.
bool keepWaitingForService(unsigned long target, const ServiceStatusSeen& previous, const ServiceStatusSeen& now,
                           std::chrono::milliseconds waited, const ServiceWaitLimits& limits);
// The pause before the next query.
std::chrono::milliseconds servicePause(const ServiceStatusSeen& now, const ServiceWaitLimits& limits);

// Whether a service's command line (its binary path name: `"C:\fb\firebird.exe" -s Kelmora3`, or unquoted
// `C:\fb\bin\fbserver.exe -s x`) starts a program lying in the server folder or in its bin subfolder.
// An unquoted path may hold blanks: it runs to the first ".exe" that ends a word. Compared without ASCII case.
bool serviceProgramInFolder(std::string_view commandLine, std::string_view serverFolder);

}  // namespace fbwb
