#include "core/file_helpers_win.h"

#include <set>

#include "core/helpers.h"
#include "core/text.h"
#include "platform/encoding.h"
#include "platform/fs.h"

namespace fbwb {

namespace {

using VisitedFolders = std::set<std::string>;

// True when the folder was seen before; otherwise remembers it. A folder whose identity
// cannot be told is never taken for a visited one.
bool alreadyVisited(const std::string& folder, VisitedFolders& visited) {
    const std::string identity = platform::folderIdentity(folder);
    if (identity.empty()) return false;
    return !visited.insert(identity).second;
}

bool collectSubfolders(std::string_view folder, std::string_view mask, std::vector<std::string>& list, bool nameOnly,
                       bool recursive, VisitedFolders& visited) {
    const std::string trimmedFolder = trim(folder);
    const std::string trimmedMask = trim(mask);
    if (trimmedFolder.empty()) return true;
    const std::string prefix = withTrailingBackslash(trimmedFolder);
    if (!platform::folderExists(prefix) || trimmedMask.empty()) return true;

    // Collected first and entered afterwards, so that no search handle stays open during the descent.
    std::vector<std::string> names;
    const bool enumerated = platform::enumerateEntries(prefix + trimmedMask, [&](const platform::DirEntry& entry) {
        if (!entry.info.directory || entry.info.hidden || entry.info.system) return;
        if (entry.name == "." || entry.name == "..") return;
        names.push_back(entry.name);
    });
    for (const std::string& name : names) {
        const std::string path = prefix + name;
        // A link or junction back into the walked tree would otherwise make the walk endless.
        if (recursive && alreadyVisited(path, visited)) continue;
        list.push_back(nameOnly ? name : path);
        if (recursive && !collectSubfolders(path, trimmedMask, list, nameOnly, recursive, visited)) return false;
    }
    return enumerated;
}

}  // namespace

void findFilesRecursive(std::string_view root, std::string_view mask, std::vector<std::string>& target) {
    const std::string rootFolder(root);
    if (trim(rootFolder).empty() || !platform::folderExists(trim(rootFolder))) return;

    std::vector<std::string> folders;
    VisitedFolders visited;
    alreadyVisited(withTrailingBackslash(trim(rootFolder)), visited);
    collectSubfolders(rootFolder, "*", folders, false, true, visited);
    folders.push_back(rootFolder);

    std::vector<std::string> files;
    for (const std::string& folder : folders) {
        listFilesInFolder(folder, mask, files, false, false);
        target.insert(target.end(), files.begin(), files.end());
    }
}

bool listSubfolders(std::string_view folder, std::string_view mask, std::vector<std::string>& list, bool nameOnly,
                    bool recursive) {
    VisitedFolders visited;
    if (recursive && !trim(folder).empty()) alreadyVisited(withTrailingBackslash(trim(folder)), visited);
    return collectSubfolders(folder, mask, list, nameOnly, recursive, visited);
}

bool listFilesInFolder(std::string_view folder, std::string_view mask, std::vector<std::string>& list, bool nameOnly,
                       bool stripExtension) {
    list.clear();
    const std::string trimmedFolder = trim(folder);
    const std::string trimmedMask = trim(mask);
    if (trimmedFolder.empty()) return true;
    const std::string prefix = withTrailingBackslash(trimmedFolder);
    if (!platform::folderExists(prefix) || trimmedMask.empty()) return true;

    return platform::enumerateEntries(prefix + trimmedMask, [&](const platform::DirEntry& entry) {
        if (entry.info.directory || entry.info.hidden) return;
        list.push_back(transformFileName(prefix + entry.name, nameOnly, stripExtension));
    });
}

bool deleteFileForced(std::string_view path) {
    if (platform::fileExists(path)) platform::deleteFileClearingAttributes(path);
    return true;
}

bool saveLinesToFile(const std::vector<std::string>& lines, std::string_view path) {
    platform::writeFileBytes(path, platform::toCodePage(joinLinesCrLf(lines), platform::ansiCodePage()));
    return true;
}

std::int64_t getFileSize(std::string_view path) {
    const auto info = platform::queryFile(path);
    if (!info || info->directory) return -1;
    return info->size;
}

std::string normalizeFolderPath(std::string_view path) {
    return normalizeFolderPath(path, platform::executableFolder());
}

std::string getProgramFilesFolder() {
    // Read in the view of 32-bit programs: on 64-bit Windows that is the "(x86)" folder, from which
    // server discovery derives the other one, so both are searched whatever this build's bitness.
    // A system without that view (32-bit Windows ignores it; a prefix without 32-bit support lacks
    // it) falls back to the native one.
    constexpr auto root = platform::RegistryRoot::LocalMachine;
    constexpr std::string_view key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
    constexpr std::string_view name = "ProgramFilesDir";
    auto value = platform::readRegistryValue(root, key, name, platform::RegistryView::Wow32);
    if (!value) value = platform::readRegistryValue(root, key, name);
    return normalizeFolderPath(value.value_or("c:\\program files"));
}

std::string readRegistryString(platform::RegistryRoot root, std::string_view keyPath, std::string_view valueName,
                               std::string_view defaultValue) {
    return platform::readRegistryValue(root, keyPath, valueName).value_or(std::string(defaultValue));
}

void listDrivesOfType(int driveType, std::vector<std::string>& list) {
    list.clear();
    if (driveType < 0) return;
    const unsigned present = platform::presentDrivesMask();
    for (int index = 0; index < 26; ++index) {
        if ((present & (1u << index)) == 0) continue;
        const char letter = static_cast<char>('A' + index);
        if (platform::driveType(letter) == driveType) list.push_back(std::string(1, letter) + ":");
    }
}

}  // namespace fbwb
