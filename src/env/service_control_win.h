#pragma once
// Querying, stopping and starting Windows services through the Service Control Manager, and the
// restart of a server service with its log lines. Every handle is closed in the call that opened it.
// The machine name is passed on to the manager; empty means the local machine.
#include <string>
#include <string_view>
#include <vector>

#include "core/operation_log.h"
#include "env/service_control.h"

namespace fbwb {

// The current state, or 0 when the manager or the service cannot be opened or the query fails.
unsigned long queryServiceState(std::string_view machine, std::string_view service);
bool isServiceInstalled(std::string_view machine, std::string_view service);

// Ask for the state and wait for it, within the limits; while waiting the program's windows stay
// painted. True when the last status seen is the target. A start request that fails (the service
// already runs) reads no status and gives false; a stop control that fails leaves the status it
// reported as the last one seen.
bool startServiceAndWait(std::string_view machine, std::string_view service, const ServiceWaitLimits& limits = {});
bool stopServiceAndWait(std::string_view machine, std::string_view service, const ServiceWaitLimits& limits = {});

// Stops and starts the local service, logging each step; a name that is not installed is only logged.
// The results of the stop and the start are not judged; an error is reported with an error box.
void restartService(OperationLog& log, std::string_view service, const ServiceWaitLimits& limits = {});

// The installed services whose name starts with the prefix (without ASCII case) and whose program
// lies in the server folder or its bin subfolder, in the manager's order.
std::vector<std::string> installedServicesInFolder(std::string_view namePrefix, std::string_view serverFolder);

}  // namespace fbwb
