#pragma once
// Where the kit of a version is found (embedded in the program, else a ZIP beside it) and how a kit
// is unpacked into its install folder.
#include <cstdint>
#include <string>
#include <string_view>

#include "install/installer_names.h"

namespace fbwb {

// The kit name for this Windows' bitness, e.g. Firebird_3_0_0_64bit; empty for an unknown version.
std::string getInstallerName(std::uint8_t version);
// The program's own folder (with its trailing backslash) + kit name + ".zip".
std::string getInstallerZipFnBesideExe(std::uint8_t version);
// The embedded kit first, then the ZIP beside the program; nothing else is searched.
TInstallerSource getInstallerSource(std::uint8_t version);
// Writes the embedded kit as a ZIP into the work folder (a leftover one is deleted first, even when
// read-only), unpacks it into the destination folder and deletes it again. The result is whether the
// ZIP was written; false for an empty work folder. Errors of writing and unpacking are thrown.
bool extractInstallerFromResource(std::uint8_t version, std::string_view workFolder, std::string_view destFolder);
// Every entry under the destination folder at its relative path; existing files are replaced (also
// read-only ones), other files stay. The whole archive is checked before anything is written; an
// existing file is replaced (from a temporary file beside it) only after the new content's size and
// CRC checked out, and a new file that fails its check is removed again. Throws std::runtime_error on a damaged or
// refused archive or a write failure; never writes outside the destination folder (its subfolders that are links are
// refused too).
void unpackInstallerZip(std::string_view zipFile, std::string_view destFolder);

}  // namespace fbwb
