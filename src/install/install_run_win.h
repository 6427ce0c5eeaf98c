#pragma once
// One version's installation into its install folder under the Firebird root folder: the earlier
// services removed, the kit unpacked, the service batch written and run to its end.
#include <cstdint>
#include <string>
#include <string_view>

namespace fbwb {

// Returns the install folder (with its trailing backslash); throws on every error, also when a value
// of the service lines cannot be written into the batch exactly.
std::string installFirebirdKit(std::uint8_t version, std::string_view firebirdRoot);
// Removes the version's services through fbUninstall_<fragment>.bat written into batchFolder.
void uninstallFirebirdKit(std::uint8_t version, std::string_view firebirdRoot, std::string_view batchFolder);
// True when the trimmed folder exists; otherwise throws the error that names it (by `name`).
bool checkRequiredFolder(std::string_view folder, std::string_view name);

}  // namespace fbwb
