#pragma once
// Inspecting a database's header with the server's own gstat, through a one-line hidden batch.
// Every failure gives an empty result, without a message or a log line.
#include <string>
#include <string_view>

namespace fbwb {

// The ODS digits of the database, by the first server folder's gstat, else by the second's; the
// batch and result files are "gstatRq" + runId + ".bat" and "gstatRes" + runId + ".txt" in the temp
// folder (created when missing).
std::string getFdbOdsVersion(std::string_view firstServerFolder, std::string_view secondServerFolder,
                             std::string_view tempFolder, std::string_view database, std::string_view runId);

// One inspection with the gstat of the server folder (findGstatFn); empty when it has none.
// The batch's output is read only after the batch has ended (at most 7.75 s).
std::string runGstatHeader(std::string_view serverFolder, std::string_view resultFile, std::string_view batchFile,
                           std::string_view database);

}  // namespace fbwb
