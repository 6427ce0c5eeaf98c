#pragma once
// Completing a database run's report in now mode.
#include <string>
#include <string_view>

#include "core/html5_producer.h"
#include "tasks/run_report.h"

namespace fbwb {

// Appends "</table>", saves the page into the temp folder (trimmed, trailing backslash) under the
// run's fixed name, replacing an earlier report, and opens it with "open" in a normal window.
// Returns the saved file's path. A write failure throws std::runtime_error with the system's text,
// before anything is opened.
std::string finishRunReport(THtml5Producer& page, RunReport run, std::string_view tempFolder);

}  // namespace fbwb
