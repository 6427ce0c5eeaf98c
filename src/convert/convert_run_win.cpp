#include "convert/convert_run_win.h"

#include "convert/texts_convert.h"
#include "core/datetime.h"
#include "core/helpers.h"
#include "env/fbconf.h"
#include "env/server_discovery_win.h"
#include "env/server_paths.h"
#include "platform/fs.h"
#include "platform/prompter.h"
#include "script/batch_files_win.h"
#include "script/firebird3_command_line_generator.h"

namespace fbwb {

namespace {

std::string portOfVersion(const std::vector<std::string>& serverFolders, std::string_view majorVersion) {
    std::vector<std::string> servers;
    if (!getFbServersOfVersion(texts_convert::kServerMarker, serverFolders, majorVersion, servers)) return {};
    return readRemoteServicePort(getFbConfFn(servers.front()));
}

}  // namespace

ConversionPorts conversionPorts(const std::vector<std::string>& serverFolders) {
    return {portOfVersion(serverFolders, texts_convert::kOldMajorVersion),
            portOfVersion(serverFolders, texts_convert::kNewMajorVersion)};
}

void runConversion(const ConvertChoice& choice, std::string_view tempFolder) {
    const bool nowMode = choice.mode == RunMode::Now;
    const std::string batchFile = conversionBatchPath(nowMode, tempFolder, choice.batchFile);
    TFirebird3CommandLineGenerator generator;
    // A database whose gbak cannot be found gets no lines. Nor does one whose values cannot be written
    // exactly; that one is named to the administrator, who would otherwise take it for converted.
    std::string refused;
    for (const std::string& line : databaseLines(choice.lines)) {
        const std::optional<std::string> error =
            generator.addConvertFdbCmdLines(choice.oldServerFolder, choice.newServerFolder, line, choice.oldUser,
                                            choice.oldPassword, choice.newUser, choice.newPassword);
        if (error) refused += "\r\n" + *error;
    }
    generator.cmdLines().emplace_back(texts_convert::kPauseLine);
    platform::createFolders(folderOfPath(batchFile));
    saveBatchFile(generator.cmdLines(), batchFile);
    if (!refused.empty())
        platform::prompter().showMessage(std::string(texts_convert::kDatabasesLeftOut) + refused,
                                         platform::BoxKind::Error);
    openOrAnnounceBatch(batchFile, nowMode);
}

}  // namespace fbwb
