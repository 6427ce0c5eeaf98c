#pragma once
// The rules of the database list dialogs that need no window: the cache percentage's bounds and
// which maintenance steps may be chosen. The dialogs only copy between their controls and these.
#include <string_view>

#include "tasks/db_list_choice.h"

namespace fbwb {

inline constexpr int kMinCachePercent = 1;
inline constexpr int kMaxCachePercent = 1000;

// The percentage a typed text stands for: a whole number (blanks around it, an optional sign) is
// brought into 1..1000, to the nearer bound; any other text counts as 1.
int clampCachePercent(std::string_view text);

// Which steps can be ticked at the moment.
struct MaintenanceEnabled {
    bool restore = false;
    bool deleteBackup = false;
};
MaintenanceEnabled maintenanceEnabled(const MaintenanceSteps& steps);

// The backup box was clicked (steps.backup already holds its new state): without a backup there
// is nothing to restore or delete.
MaintenanceSteps afterBackupClick(MaintenanceSteps steps);
// The restore box was clicked (steps.restore holds its new state): without a restore the backup stays.
MaintenanceSteps afterRestoreClick(MaintenanceSteps steps);

}  // namespace fbwb
