#include "install/install_run_win.h"

#include <stdexcept>

#include "core/text.h"
#include "env/server_discovery_win.h"
#include "install/install_rules.h"
#include "install/installer_kits_win.h"
#include "install/installer_names.h"
#include "install/service_batch_values.h"
#include "install/texts_install.h"
#include "install/uninstall_win.h"
#include "platform/fs.h"
#include "script/batch_files_win.h"
#include "script/firebird3_command_line_generator.h"

namespace fbwb {

namespace {

// An embedded kit first, else the ZIP beside the program (unpacked in place); neither is no error.
void unpackKit(std::uint8_t version, const std::string& installFolder) {
    const TInstallerSource source = getInstallerSource(version);
    if (source.kind == iskResource) {
        extractInstallerFromResource(version, installFolder, installFolder);
    } else if (source.kind == iskFile) {
        unpackInstallerZip(source.resourceOrFileName, installFolder);
    }
}

}  // namespace

void uninstallFirebirdKit(std::uint8_t version, std::string_view firebirdRoot, std::string_view batchFolder) {
    const std::string serverFolder = installerFolderUnder(firebirdRoot, getInstallerName(version));
    uninstallFirebirdServices(trim(getInstallerServiceNameFragment(version)), serverFolder, batchFolder);
}

bool checkRequiredFolder(std::string_view folder, std::string_view name) {
    if (auto error = requiredFolderError(folder, name, platform::folderExists)) throw std::runtime_error(*error);
    return true;
}

std::string installFirebirdKit(std::uint8_t version, std::string_view firebirdRoot) {
    const std::string kitName = getInstallerName(version);
    const std::string installFolder = installerFolderUnder(firebirdRoot, kitName);

    const std::string instSvc = trim(findInstSvcFn(installFolder));
    if (!instSvc.empty() && platform::fileExists(instSvc)) uninstallFirebirdKit(version, firebirdRoot, installFolder);

    platform::createFolders(installFolder);
    unpackKit(version, installFolder);
    if (!platform::folderExists(installFolder))
        throw std::runtime_error(fill(texts_install::kInstallFolderNotCreated, {installFolder}));
    const std::string batchFile = installBatchFn(installFolder, kitName);

    TFirebird3CommandLineGenerator generator;
    generator.setServiceNameFragment(trim(getInstallerServiceNameFragment(version)));
    generator.setFirebirdBinFolder(findFbBinFolder(installFolder));
    // A value the batch's code page or cmd would change is refused before anything is written.
    if (auto refusal = refuseServiceBatchValues(generator.ServiceNameFragment(), generator.FirebirdBinFolder(),
                                                batchFileCharacters()))
        throw std::runtime_error(*refusal);
    generator.addUninstallGuardianCmdLines();
    generator.addUninstallServerCmdLines();
    generator.addInstallServerCmdLines(true, true);
    saveBatchFile(generator.cmdLines(), batchFile);
    if (platform::fileExists(batchFile)) runInstallBatch(batchFile);
    return installFolder;
}

}  // namespace fbwb
