#pragma once
// The file, folder, drive and registry helpers that touch the system. They show nothing and
// write no log; what is not found gives an empty result or the stated default.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system.h"

namespace fbwb {

// Appends the matching files of the subfolders (depth first, in the file system's order) and then
// of the root itself; hidden and system folders are skipped. Files match by their own name (never
// by a short 8.3 form), letter case aside. No folder is entered twice and no file is listed twice
// (links, letter case); a folder reached both directly and through a link keeps its direct path.
// onFolder is called after each folder listed (to keep windows painted during a long walk).
void findFilesRecursive(std::string_view root, std::string_view mask, std::vector<std::string>& target,
                        const std::function<void()>& onFolder = {});
// Appends the subfolders (not hidden, not system); false when an enumeration failed.
bool listSubfolders(std::string_view folder, std::string_view mask, std::vector<std::string>& list, bool nameOnly,
                    bool recursive);
// Clears the list and fills it with the folder's matching files (not hidden); false when the enumeration failed.
bool listFilesInFolder(std::string_view folder, std::string_view mask, std::vector<std::string>& list,
                       bool nameOnly, bool stripExtension);
// Resets the attributes of an existing file and deletes it; failures are ignored; always true.
bool deleteFileForced(std::string_view path);
// Each line followed by CR LF in the ANSI code page, no byte-order mark, the file replaced;
// a failure throws std::runtime_error with the system's text.
bool saveLinesToFile(const std::vector<std::string>& lines, std::string_view path);
// The 64-bit size, or -1.
std::int64_t getFileSize(std::string_view path);
// Trimmed, with a trailing backslash; a leading ".\" becomes the executable's folder.
std::string normalizeFolderPath(std::string_view path);
std::string getProgramFilesFolder();
std::string readRegistryString(platform::RegistryRoot root, std::string_view keyPath, std::string_view valueName,
                               std::string_view defaultValue);
// Clears the list and fills it with "X:" for each present drive of the type; a negative type matches nothing.
void listDrivesOfType(int driveType, std::vector<std::string>& list);

}  // namespace fbwb
