#include "tasks/db_task_lines.h"

#include <cmath>

#include "core/helpers.h"
#include "core/text.h"
#include "script/batch_lines.h"
#include "script/texts.h"
#include "tasks/texts_tasks.h"

namespace fbwb {

using namespace texts_tasks;

std::string maintenanceLogFileName(std::string_view tempFolder, int index) {
    return folderPrefix(tempFolder)
        .append(kMaintenanceLogPrefix)
        .append(std::to_string(index))
        .append(kMaintenanceLogExtension);
}

std::string maintenanceBackupFileName(std::string_view database, const LocalDateTime& now) {
    return replaceExtension(database, "_" + formatStamp(now) + texts_script::kBackupFileExtension);
}

std::optional<std::string> refuseDatabaseTaskValues(std::string_view database, std::string_view userName,
                                                    std::string_view password) {
    // Backup and log names derive from the database path and the temp folder, so these cover the lines.
    for (auto refused : {refuseBatchValue(database, texts_script::kFieldDatabaseFile),
                         refuseBatchValue(userName, texts_script::kFieldUserName),
                         refuseBatchSecret(password, texts_script::kFieldPassword)}) {
        if (refused) return refused;
    }
    return std::nullopt;
}

std::vector<std::string> maintenanceLines(const MaintenanceSteps& steps, const MaintenanceLineInput& input) {
    const std::string user = batchCredential(input.userName);
    const std::string password = batchCredential(input.password);
    const std::string redirection = redirectSuffix(!input.logFile.empty(), input.logFile);
    std::vector<std::string> lines;
    if (steps.maintain) {
        for (std::string_view switches : {kGfixValidateSwitches, kGfixSweepSwitches, kGfixMendSwitches})
            lines.push_back(callLine(input.gfix, fill(switches, {user, password, input.database}), redirection));
    }
    if (steps.backup) {
        lines.push_back(callLine(
            input.gbak, fill(texts_script::kBackupSwitches, {user, password, input.database, input.backupFile}),
            redirection));
        if (steps.restore) {
            lines.push_back(callLine(
                input.gbak, fill(texts_script::kRestoreSwitches, {user, password, input.backupFile, input.database}),
                redirection));
            if (steps.deleteBackup) lines.push_back(deleteLine(input.backupFile));
        }
    }
    return lines;
}

std::int64_t pageBuffersFor(std::int64_t fileSize, int percent) {
    const std::int64_t kilobytes = fileSize / 1024;
    // Each operation rounded to extended precision, as the sizes were always computed.
    const long double share = static_cast<long double>(percent) / 100.0L;
    const long double pages = static_cast<long double>(kilobytes) / 4.0L;
    const long double buffers = share * pages;
    // The default rounding mode rounds a tie to the even neighbour.
    return std::llrint(buffers);
}

std::string gfixWriteAsyncLine(std::string_view gfix, std::string_view database, std::string_view userName,
                               std::string_view password) {
    return callLine(gfix,
                    fill(kGfixWriteAsyncSwitches, {database, batchCredential(userName), batchCredential(password)}));
}

std::string gfixBuffersLine(std::string_view gfix, std::int64_t buffers, std::string_view database,
                            std::string_view userName, std::string_view password) {
    return callLine(gfix, fill(kGfixBuffersSwitches, {std::to_string(buffers), database, batchCredential(userName),
                                                      batchCredential(password)}));
}

std::string gstatHeaderToFileLine(std::string_view gstat, std::string_view database, std::string_view outputFile) {
    return callLine(gstat, fill(kGstatHeaderSwitches, {database, outputFile}));
}

}  // namespace fbwb
