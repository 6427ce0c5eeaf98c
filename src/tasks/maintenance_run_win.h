#pragma once
// The maintenance run: for each listed database the chosen gfix/gbak steps, in now mode as a
// batch of its own, run one database at a time (its tools logging into a file per database), with
// a report of each database's outcome linking the logs; in batch mode gathered into one batch file
// for later.
#include <string_view>

#include "core/common_settings.h"
#include "core/working_fields.h"
#include "tasks/db_list_choice.h"

namespace fbwb {

// The whole run, ending with the final message (also after a No to the overwrite question). A
// report that cannot be saved throws std::runtime_error, before the final message.
void runMaintenance(WorkingFields& fields, const CommonSettings& settings, const FdbListChoice& list,
                    const MaintenanceSteps& steps);

// One database's steps (edTempFn/edBatFn prepared by the run in now mode). A database that is
// missing, lacks a tool in now mode, or cannot be written into a batch line is logged and skipped.
// In now mode the batch is waited for (windows usable meanwhile), deleted once it has ended, and
// its log's outcome logged and reported; a batch the shell cannot start gets no report entry.
void maintainDatabase(WorkingFields& fields, const CommonSettings& settings, RunMode mode,
                      const MaintenanceSteps& steps, std::string_view line, std::string_view logFile, int index);

}  // namespace fbwb
