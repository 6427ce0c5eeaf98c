#pragma once
// The frame that the maintenance and settings runs share around their per-database step.
#include <functional>
#include <string>
#include <string_view>

#include "core/common_settings.h"
#include "core/working_fields.h"
#include "tasks/db_list_choice.h"
#include "tasks/run_report.h"

namespace fbwb {

// Progress over the list; in batch mode the target file (nothing runs after a No to the overwrite
// question); the report started; for each non-blank line (its index counts the blank lines too)
// the now-mode files prepared, the step run and the progress advanced; a stop asked for meanwhile
// (fields.stopAfterCurrent) leaves the remaining databases out; then the report completed
// and opened (now mode) or the batch file saved (batch mode); the final message in every case but
// a report that cannot be saved, which throws std::runtime_error: the stop's after a stop, another
// one when the run wrote an error line, the success message otherwise.
void runDatabaseList(WorkingFields& fields, const CommonSettings& settings, const FdbListChoice& list,
                     RunReport report, const std::function<void(std::string_view line, int index)>& step);

// Whether the tool file exists; its absence is logged as an error line (text + path) without a box.
bool toolPresent(OperationLog& log, std::string_view missingText, const std::string& tool);

}  // namespace fbwb
