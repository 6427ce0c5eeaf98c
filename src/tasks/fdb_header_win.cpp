#include "tasks/fdb_header_win.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "core/file_helpers_win.h"
#include "core/text.h"
#include "env/server_discovery_win.h"
#include "platform/encoding.h"
#include "platform/fs.h"
#include "platform/process.h"
#include "script/batch_files_win.h"
#include "script/batch_lines.h"
#include "tasks/fdb_header.h"
#include "tasks/texts_tasks.h"

namespace fbwb {

namespace {

// A value that cmd would expand, that would end the quoting or that the batch's code page lacks
// (gstat would read another file) cannot go into the line.
bool breaksBatchLine(std::string_view value) { return refuseBatchValue(value, {}, batchFileCharacters()).has_value(); }

// gstat (and the tools' stand-ins) write their report in the ANSI code page, not cmd's OEM one.
std::vector<std::string> readReport(std::string_view resultFile) {
    try {
        return readOutputLines(resultFile, platform::ansiCodePage());
    } catch (const std::runtime_error&) {
        return {};
    }
}

}  // namespace

std::string runGstatHeader(std::string_view serverFolder, std::string_view resultFile, std::string_view batchFile,
                           std::string_view database) {
    const std::string gstat = trim(findGstatFn(serverFolder));
    if (gstat.empty()) return {};
    const std::string fdb = trim(database);
    if (breaksBatchLine(gstat) || breaksBatchLine(fdb) || breaksBatchLine(resultFile)) return {};

    deleteFileForced(resultFile);
    deleteFileForced(batchFile);
    try {
        saveBatchFile({gstatHeaderBatchLine(gstat, fdb, resultFile)}, batchFile);
    } catch (const std::runtime_error&) {
        return {};
    }

    // The process is kept so that the report is read only once the batch has ended, never half written.
    const platform::Process batch =
        platform::shellOpen(batchFile, texts_tasks::kGstatShellVerb, "", platform::ShowMode::Hidden, true, true)
            .process;
    if (!waitForOutputFile(resultFile, kHeaderReadWait, &batch)) return {};
    return getOdsFromHeaderReport(readReport(resultFile));
}

std::string getFdbOdsVersion(std::string_view firstServerFolder, std::string_view secondServerFolder,
                             std::string_view tempFolder, std::string_view database, std::string_view runId) {
    const std::string fdb = trim(database);
    if (fdb.empty()) return {};
    const std::string temp = trim(tempFolder);
    if (temp.empty()) return {};
    const std::string folder = withTrailingBackslash(temp);
    platform::createFolders(folder);

    const std::string batchFile = gstatRequestFileName(folder, runId);
    const std::string resultFile = gstatResultFileName(folder, runId);
    const std::string first = trim(runGstatHeader(firstServerFolder, resultFile, batchFile, fdb));
    if (!first.empty()) return first;
    return trim(runGstatHeader(secondServerFolder, resultFile, batchFile, fdb));
}

}  // namespace fbwb
