#include "install/install_rules.h"

#include <algorithm>

#include "core/text.h"
#include "install/texts_install.h"

namespace fbwb {

using namespace texts_install;

std::string kelmoraWinFolderName() {
    std::string name(kKelmoraWinPath);
    name.erase(std::remove(name.begin(), name.end(), ':'), name.end());
    return name;
}

std::string kelmoraWinFolderOnDrive(std::string_view drive) {
    return upperAscii(drive) + "\\" + std::string(kKelmoraWinFolderName) + "\\";
}

std::string getFirebirdRootFolder(std::string_view folder) {
    if (trim(folder).empty()) return {};
    return folderPrefix(folder) + std::string(kFirebirdFolderName) + "\\";
}

std::string installRootOf(std::string_view targetText) {
    // A blank stays blank, so that it is reported as missing instead of naming the current drive's root.
    return trim(targetText).empty() ? std::string() : folderPrefix(targetText);
}

std::string firebirdRootUnder(std::string_view installRoot) {
    return std::string(installRoot) + std::string(kFirebirdFolderName);
}

std::optional<std::string> requiredFolderError(std::string_view folder, std::string_view name,
                                               const std::function<bool(std::string_view)>& folderExists) {
    const std::string trimmed = trim(folder);
    if (trimmed.empty()) return fill(kFolderNotGiven, {name});
    if (!folderExists(trimmed)) return fill(kFolderMissing, {name, trimmed});
    return std::nullopt;
}

std::string installBatchFn(std::string_view installFolder, std::string_view kitName) {
    return folderPrefix(installFolder) + std::string(kInstallBatchPrefix) + std::string(kitName) + ".bat";
}

std::string installStartedLine(std::string_view displayName) { return fill(kInstallStarted, {displayName}); }
std::string installSucceededLine(std::string_view displayName, std::string_view installFolder) {
    return fill(kInstallSucceeded, {displayName, installFolder});
}
std::string firewallStartedLine(std::string_view displayName) { return fill(kFirewallStarted, {displayName}); }
std::string firewallSucceededLine() { return std::string(kFirewallSucceeded); }
std::string installFailedLine(std::string_view displayName) { return fill(kInstallFailed, {displayName}); }

}  // namespace fbwb
