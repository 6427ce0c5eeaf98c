#include "install/installer_kits_win.h"

#include "core/file_helpers_win.h"
#include "core/text.h"
#include "env/server_discovery_win.h"
#include "platform/fs.h"
#include "platform/resources.h"

namespace fbwb {

std::string getInstallerName(std::uint8_t version) { return getInstallerName(version, getOsArchitectureBits()); }

std::string getInstallerZipFnBesideExe(std::uint8_t version) {
    return installerZipFnIn(platform::executableFolder(), getInstallerName(version));
}

TInstallerSource getInstallerSource(std::uint8_t version) {
    TInstallerSource source;
    const std::string kitName = getInstallerName(version);
    if (platform::rcDataResourceExists(kitName)) {
        source.available = true;
        source.kind = iskResource;
        source.resourceOrFileName = kitName;
        return source;
    }
    const std::string zipFile = getInstallerZipFnBesideExe(version);
    if (platform::fileExists(zipFile)) {
        source.available = true;
        source.kind = iskFile;
        source.resourceOrFileName = zipFile;
    }
    return source;
}

bool extractInstallerFromResource(std::uint8_t version, std::string_view workFolder, std::string_view destFolder) {
    if (workFolder.empty()) return false;
    if (!platform::folderExists(workFolder)) platform::createFolders(workFolder);
    const std::string kitName = getInstallerName(version);
    const std::string zipFile = installerZipFnIn(trim(workFolder), kitName);
    if (platform::fileExists(zipFile)) deleteFileForced(zipFile);
    const bool written = platform::saveRcDataResourceToFile(kitName, zipFile);
    if (platform::fileExists(zipFile)) {
        // The written copy goes also when unpacking fails: it is the program's own, not the user's.
        try {
            unpackInstallerZip(zipFile, destFolder);
        } catch (...) {
            deleteFileForced(zipFile);
            throw;
        }
        deleteFileForced(zipFile);
    }
    return written;
}

}  // namespace fbwb
