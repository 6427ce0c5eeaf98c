#pragma once
// The settings run: each listed database switched to asynchronous writes and (with the cache
// option) given page buffers sized by its file; in now mode database by database, its header read
// back with gstat and compared in a report, in batch mode gathered into one batch file.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/common_settings.h"
#include "core/working_fields.h"
#include "tasks/db_list_choice.h"

namespace fbwb {

// The whole run, ending with the final message (also after a No to the overwrite question). A
// report that cannot be saved throws std::runtime_error, before the final message.
void runDbSettings(WorkingFields& fields, const CommonSettings& settings, const FdbListChoice& list,
                   const SettingsOptions& options);

// The step for a list line: nothing for a blank line, else edActFdbFn = the line trimmed and btnGfixOpClick.
void runGfixOpFor(WorkingFields& fields, const CommonSettings& settings, RunMode mode, const SettingsOptions& options,
                  std::string_view line);

// The step for the database in edActFdbFn (edTempFn/edBatFn prepared by the run in now mode).
void btnGfixOpClick(WorkingFields& fields, const CommonSettings& settings, RunMode mode,
                    const SettingsOptions& options);

// The report row of edActFdbFn: the Page buffers and Attributes cells for the header report's lines.
void addDbSettingsReportRow(WorkingFields& fields, const std::vector<std::string>& lines,
                            std::int64_t expectedBuffers, std::string_view expectedAttributes);

}  // namespace fbwb
