#include "install/uninstall_win.h"

#include <stdexcept>
#include <string>

#include "core/text.h"
#include "env/server_discovery_win.h"
#include "install/service_batch_values.h"
#include "install/texts_install.h"
#include "platform/fs.h"
#include "script/batch_files_win.h"
#include "script/firebird3_command_line_generator.h"

namespace fbwb {

using namespace texts_install;

void uninstallFirebirdServices(std::string_view fragment, std::string_view serverFolder, std::string_view batchFolder) {
    const std::string folder = folderPrefix(batchFolder);
    const std::string batchFile = folder + std::string(kUninstallBatchPrefix) + trim(fragment) + ".bat";

    TFirebird3CommandLineGenerator generator;
    generator.setServiceNameFragment(std::string(fragment));
    generator.setFirebirdBinFolder(findFbBinFolder(serverFolder));
    if (const auto refused = refuseServiceBatchValues(generator.ServiceNameFragment(), generator.FirebirdBinFolder(),
                                                      batchFileCharacters()))
        throw std::runtime_error(*refused);
    generator.addUninstallGuardianCmdLines();
    generator.addUninstallServerCmdLines();

    // A folder that cannot be made shows up as the save's failure.
    if (!platform::folderExists(folder)) platform::createFolders(folder);
    saveBatchFile(generator.cmdLines(), batchFile);
    if (platform::fileExists(batchFile)) runInstallBatch(batchFile);
}

void runInstallBatch(std::string_view batchFile) {
    RunProgramSync("\"" + std::string(batchFile) + "\"", platform::ShowMode::Hidden);
}

}  // namespace fbwb
