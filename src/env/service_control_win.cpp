#include "env/service_control_win.h"

#include <algorithm>

#include <windows.h>

#include <chrono>
#include <exception>

#include "core/text.h"
#include "env/texts_env.h"
#include "platform/encoding.h"
#include "platform/handles_win.h"
#include "platform/process.h"

namespace fbwb {

namespace {

using platform::UniqueServiceHandle;
using Clock = std::chrono::steady_clock;
using namespace texts_env;

UniqueServiceHandle openManager(std::string_view machine, DWORD access) {
    const std::wstring name = platform::widen(machine);
    return UniqueServiceHandle(OpenSCManagerW(name.empty() ? nullptr : name.c_str(), nullptr, access));
}

UniqueServiceHandle openService(const UniqueServiceHandle& manager, std::string_view service, DWORD access) {
    if (!manager) return {};
    return UniqueServiceHandle(OpenServiceW(manager.get(), platform::widen(service).c_str(), access));
}

ServiceStatusSeen seen(const SERVICE_STATUS& status) {
    return {status.dwCurrentState, status.dwCheckPoint, status.dwWaitHint};
}

// Queries until the state is the target or the wait ends by the rules; returns the last state seen.
unsigned long waitForState(SC_HANDLE service, unsigned long target, SERVICE_STATUS status,
                           const ServiceWaitLimits& limits) {
    const auto began = Clock::now();
    auto waited = [&] { return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - began); };
    ServiceStatusSeen previous = seen(status);
    while (keepWaitingForService(target, previous, seen(status), waited(), limits)) {
        previous = seen(status);
        platform::sleepProcessingEvents(servicePause(seen(status), limits));
        SERVICE_STATUS next{};
        if (!QueryServiceStatus(service, &next)) break;
        status = next;
    }
    return status.dwCurrentState;
}

}  // namespace

unsigned long queryServiceState(std::string_view machine, std::string_view service) {
    // Service first, then the manager: the order of the declarations below.
    const UniqueServiceHandle manager = openManager(machine, SC_MANAGER_CONNECT);
    if (!manager) return 0;
    const UniqueServiceHandle handle = openService(manager, service, SERVICE_QUERY_STATUS);
    SERVICE_STATUS status{};
    if (!handle || !QueryServiceStatus(handle.get(), &status)) return 0;
    return status.dwCurrentState;
}

bool isServiceInstalled(std::string_view machine, std::string_view service) {
    return serviceStateName(queryServiceState(machine, service)) != "UNKNOWN";
}

bool startServiceAndWait(std::string_view machine, std::string_view service, const ServiceWaitLimits& limits) {
    unsigned long last = 0;
    {
        const UniqueServiceHandle manager = openManager(machine, SC_MANAGER_CONNECT);
        const UniqueServiceHandle handle = openService(manager, service, SERVICE_START | SERVICE_QUERY_STATUS);
        SERVICE_STATUS status{};
        if (handle && StartServiceW(handle.get(), 0, nullptr) && QueryServiceStatus(handle.get(), &status))
            last = waitForState(handle.get(), kServiceRunning, status, limits);
    }
    return last == kServiceRunning;
}

bool stopServiceAndWait(std::string_view machine, std::string_view service, const ServiceWaitLimits& limits) {
    unsigned long last = 0;
    {
        const UniqueServiceHandle manager = openManager(machine, SC_MANAGER_CONNECT);
        const UniqueServiceHandle handle = openService(manager, service, SERVICE_STOP | SERVICE_QUERY_STATUS);
        SERVICE_STATUS status{};
        if (handle) {
            if (ControlService(handle.get(), SERVICE_CONTROL_STOP, &status)) {
                if (QueryServiceStatus(handle.get(), &status))
                    last = waitForState(handle.get(), kServiceStopped, status, limits);
                else
                    last = status.dwCurrentState;
            } else {
                // A refused control (the service is stopped already) may still report the state.
                last = status.dwCurrentState;
            }
        }
    }
    return last == kServiceStopped;
}

void restartService(OperationLog& log, std::string_view service, const ServiceWaitLimits& limits) {
    const std::string name(service);
    try {
        log.writeLogLine(std::string(kQueryLine) + name);
        if (isServiceInstalled("", name)) {
            log.writeLogLine(std::string(kStopLine) + name);
            stopServiceAndWait("", name, limits);
            log.writeLogLine(std::string(kStartLine) + name);
            startServiceAndWait("", name, limits);
            log.writeLogLine(std::string(kDoneLine));
        } else {
            log.writeLogLine(std::string(kNotInstalledLine));
        }
    } catch (const std::exception& error) {
        log.writeErrorLine(fill(kRestartFailed, {name, error.what()}), true);
    }
}

std::vector<std::string> installedServicesInFolder(std::string_view namePrefix, std::string_view serverFolder) {
    std::vector<std::string> names;
    const UniqueServiceHandle manager = openManager("", SC_MANAGER_CONNECT | SC_MANAGER_ENUMERATE_SERVICE);
    if (!manager) return names;
    std::vector<BYTE> buffer;
    DWORD needed = 0, count = 0, resume = 0;
    std::vector<std::string> candidates;
    for (int round = 0; round < 64; ++round) {
        BOOL ok = EnumServicesStatusExW(manager.get(), SC_ENUM_PROCESS_INFO, SERVICE_WIN32, SERVICE_STATE_ALL,
                                        buffer.empty() ? nullptr : buffer.data(), static_cast<DWORD>(buffer.size()),
                                        &needed, &count, &resume, nullptr);
        if (!ok && GetLastError() != ERROR_MORE_DATA) break;
        const auto* entries = reinterpret_cast<const ENUM_SERVICE_STATUS_PROCESSW*>(buffer.data());
        for (DWORD i = 0; i < count; ++i) {
            const std::string name = platform::narrow(entries[i].lpServiceName);
            // Wine ignores the resume handle and lists from the start again when a service was added
            // between two calls: a name seen before is not a second service.
            if (startsWith(upperAscii(name), upperAscii(namePrefix)) &&
                std::find(candidates.begin(), candidates.end(), name) == candidates.end())
                candidates.push_back(name);
        }
        if (ok) break;
        // The next call goes on from where this one ended, with room for what is left.
        buffer.assign(std::max<size_t>(needed, buffer.size()), 0);
    }
    for (const std::string& name : candidates) {
        const UniqueServiceHandle service = openService(manager, name, SERVICE_QUERY_CONFIG);
        if (!service) continue;
        DWORD size = 0;
        QueryServiceConfigW(service.get(), nullptr, 0, &size);
        if (size == 0) continue;
        std::vector<BYTE> config(size);
        auto* info = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(config.data());
        if (!QueryServiceConfigW(service.get(), info, size, &size) || info->lpBinaryPathName == nullptr) continue;
        if (serviceProgramInFolder(platform::narrow(info->lpBinaryPathName), serverFolder)) names.push_back(name);
    }
    return names;
}

}  // namespace fbwb
