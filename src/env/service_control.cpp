#include "env/service_control.h"

#include <algorithm>

#include "core/text.h"

namespace fbwb {

std::string serviceStateName(unsigned long state) {
    switch (state) {
        case kServiceStopped:
            return "STOPPED";
        case kServiceStartPending:
            return "START/PENDING";
        case kServiceStopPending:
            return "STOP/PENDING";
        case kServiceRunning:
            return "RUNNING";
        case kServiceContinuePending:
            return "CONTINUE/PENDING";
        case kServicePausePending:
            return "PAUSE/PENDING";
        case kServicePaused:
            return "PAUSED";
        default:
            return "UNKNOWN";
    }
}

namespace {

bool isPending(unsigned long state) {
    return state == kServiceStartPending || state == kServiceStopPending || state == kServiceContinuePending ||
           state == kServicePausePending;
}

// The program's path from a command line.
std::string programOf(std::string_view commandLine) {
    const std::string line = trim(commandLine);
    if (startsWith(line, "\"")) {
        const size_t close = line.find('"', 1);
        return line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    }
    const std::string upper = upperAscii(line);
    for (size_t at = upper.find(".EXE"); at != std::string::npos; at = upper.find(".EXE", at + 1)) {
        const size_t end = at + 4;
        if (end == line.size() || line[end] == ' ' || line[end] == '\t') return line.substr(0, end);
    }
    const size_t blank = line.find_first_of(" \t");
    return line.substr(0, blank);
}

}  // namespace

bool keepWaitingForService(unsigned long target, const ServiceStatusSeen& previous, const ServiceStatusSeen& now,
                           std::chrono::milliseconds waited, const ServiceWaitLimits& limits) {
    if (now.state == target) return false;
    if (now.state == previous.state && now.checkPoint < previous.checkPoint) return false;
    if (!isPending(now.state)) return false;
    return waited < limits.total;
}

std::chrono::milliseconds servicePause(const ServiceStatusSeen& now, const ServiceWaitLimits& limits) {
    return std::clamp(std::chrono::milliseconds(now.waitHint), limits.minPause, limits.maxPause);
}

bool serviceProgramInFolder(std::string_view commandLine, std::string_view serverFolder) {
    std::string folder = trim(serverFolder);
    if (folder.empty()) return false;
    folder = withTrailingBackslash(folder);
    const std::string program = programOf(commandLine);
    const size_t cut = program.find_last_of('\\');
    if (cut == std::string::npos) return false;
    const std::string programFolder = program.substr(0, cut + 1);
    return equalsNoCase(programFolder, folder) || equalsNoCase(programFolder, folder + "bin\\");
}

}  // namespace fbwb
