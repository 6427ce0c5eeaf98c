#pragma once
// The tuning run: picks the target file, edits it with the scheme, offers the service restart and
// ends with the message page and a message.
#include <string_view>

#include "core/common_settings.h"
#include "core/operation_log.h"
#include "core/working_fields.h"
#include "serverconf/fbconf_tuning.h"

namespace fbwb {

void runFbConfTuning(WorkingFields& fields, FbConfFields& conf, const CommonSettings& settings,
                     const FbConfChoice& choice);

// The editing step on conf.edFbConfFn: loads the file (when there is one), applies the scheme and
// the audit trace, writes the trace file and saves the file in place. Reports its own errors and
// returns false when nothing was saved.
bool btnDoFirebirdConfClick(WorkingFields& fields, FbConfFields& conf, const FbConfChoice& choice);

// Restarts "FirebirdServerDefaultInstance", "FirebirdServer" and then every other installed
// "FirebirdServer…" service whose program lies in the server folder, each once.
void restartTunedServer(OperationLog& log, std::string_view serverFolder);

}  // namespace fbwb
