#include "tasks/fdb_dialog_rules.h"

#include <cstddef>

#include "core/text.h"

namespace fbwb {

int clampCachePercent(std::string_view text) {
    const std::string value = trim(text);
    std::size_t at = 0;
    bool negative = false;
    if (at < value.size() && (value[at] == '+' || value[at] == '-')) negative = value[at++] == '-';
    if (at == value.size()) return kMinCachePercent;
    // Digits only; past the upper bound the exact size no longer matters.
    long long magnitude = 0;
    for (; at < value.size(); ++at) {
        const char c = value[at];
        if (c < '0' || c > '9') return kMinCachePercent;
        if (magnitude <= kMaxCachePercent) magnitude = magnitude * 10 + (c - '0');
    }
    if (negative) return kMinCachePercent;
    if (magnitude < kMinCachePercent) return kMinCachePercent;
    if (magnitude > kMaxCachePercent) return kMaxCachePercent;
    return static_cast<int>(magnitude);
}

MaintenanceEnabled maintenanceEnabled(const MaintenanceSteps& steps) {
    return {steps.backup, steps.restore};
}

MaintenanceSteps afterBackupClick(MaintenanceSteps steps) {
    if (!steps.backup) {
        steps.restore = false;
        steps.deleteBackup = false;
    }
    return steps;
}

MaintenanceSteps afterRestoreClick(MaintenanceSteps steps) {
    if (!steps.restore) steps.deleteBackup = false;
    return steps;
}

}  // namespace fbwb
