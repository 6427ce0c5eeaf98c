#pragma once
// A service registered for one test and removed at its end: stopped when it runs, then deleted,
// and waited for until the manager has let go of its name (Wine, like Windows, only marks a service
// for deletion while a handle to it is open). Names from uniqueServiceName carry the process id, so
// tests running side by side never meet.
#include <windows.h>

#include <atomic>
#include <string>

#include "platform/encoding.h"
#include "platform/handles_win.h"

namespace fbwb::test {

// A file of the build as a Windows path (through the Z: drive, the host's root).
inline std::string buildFilePath(const char* hostPath) {
    std::string path = std::string("Z:") + hostPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

#ifdef FBWB_SERVICE_STANDIN
// The service stand-in as a Windows path.
inline std::string serviceStandinPath() { return buildFilePath(FBWB_SERVICE_STANDIN); }
#endif

// Stops the service when it runs, deletes it and waits until the manager has let go of its name.
inline void removeTestService(const std::string& name) {
    const platform::UniqueServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    {
        const platform::UniqueServiceHandle service(
            OpenServiceW(manager.get(), platform::widen(name).c_str(), SERVICE_ALL_ACCESS));
        if (!service) return;
        SERVICE_STATUS status{};
        if (QueryServiceStatus(service.get(), &status) && status.dwCurrentState != SERVICE_STOPPED) {
            ControlService(service.get(), SERVICE_CONTROL_STOP, &status);
            for (int i = 0;
                 i < 100 && QueryServiceStatus(service.get(), &status) && status.dwCurrentState != SERVICE_STOPPED; ++i)
                Sleep(50);
        }
        DeleteService(service.get());
    }
    // Deletion completes once the last handle is closed; wait until the name is free.
    for (int i = 0; i < 100; ++i) {
        const platform::UniqueServiceHandle gone(
            OpenServiceW(manager.get(), platform::widen(name).c_str(), SERVICE_QUERY_STATUS));
        if (!gone) return;
        Sleep(50);
    }
}

// The process id keeps parallel test programs apart, the counter the services of one test.
inline std::string uniqueServiceName(const std::string& stem) {
    static std::atomic<unsigned> counter{0};
    return stem + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(counter++);
}

class TestService {
public:
    // commandLine: the program (quoted) and its arguments, as the manager starts it.
    TestService(std::string name, const std::string& commandLine) : name_(std::move(name)) {
        // A service of that name left by an earlier run that was cut short goes first.
        remove();
        const platform::UniqueServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
        if (!manager) return;
        platform::UniqueServiceHandle service(CreateServiceW(
            manager.get(), platform::widen(name_).c_str(), platform::widen(name_).c_str(), SERVICE_ALL_ACCESS,
            SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE,
            platform::widen(commandLine).c_str(), nullptr, nullptr, nullptr, nullptr, nullptr));
        created_ = static_cast<bool>(service);
    }
    TestService(const TestService&) = delete;
    TestService& operator=(const TestService&) = delete;
    ~TestService() {
        if (created_) remove();
    }
    const std::string& name() const { return name_; }
    bool created() const { return created_; }

private:
    void remove() { removeTestService(name_); }

    std::string name_;
    bool created_ = false;
};

}  // namespace fbwb::test
