#pragma once
// The installation's text rules: the target folder's name in messages, the folders a run derives
// from the target, the folder check's errors, the progress lines and the gauge's units. Pure text work.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace fbwb {

// Each chosen version accounts for this many gauge units, whatever happens to it.
inline constexpr int kGaugeUnitsPerVersion = 3;

// The target folder's caption with every colon removed; the trailing blank stays.
std::string kelmoraWinFolderName();
// A fixed drive's candidate target: "C:" gives "C:\KELMORA.WIN\".
std::string kelmoraWinFolderOnDrive(std::string_view drive);
// Empty for a blank folder; otherwise the trimmed folder with its trailing backslash + "Firebird\".
std::string getFirebirdRootFolder(std::string_view folder);
// The target folder's text trimmed, with its trailing backslash: the install root; empty when blank.
std::string installRootOf(std::string_view targetText);
// The install root + "Firebird", without a trailing backslash.
std::string firebirdRootUnder(std::string_view installRoot);
// The error checkRequiredFolder raises for the folder (trimmed first), or nothing when it exists.
std::optional<std::string> requiredFolderError(std::string_view folder, std::string_view name,
                                               const std::function<bool(std::string_view)>& folderExists);
// The install folder (trimmed, trailing backslash) + "fbInstall_" + kit name + ".bat".
std::string installBatchFn(std::string_view installFolder, std::string_view kitName);

// The progress lines of one version, filled with its display name (and the install folder).
std::string installStartedLine(std::string_view displayName);
std::string installSucceededLine(std::string_view displayName, std::string_view installFolder);
std::string firewallStartedLine(std::string_view displayName);
std::string firewallSucceededLine();
std::string installFailedLine(std::string_view displayName);

}  // namespace fbwb
