#include "core/file_helpers_win.h"

#include <functional>
#include <optional>
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

namespace {

// One walk of findFilesRecursive. The real folders of the tree come first; a link (symbolic link,
// junction) is entered only afterwards, when what it leads to was not reached otherwise, so that a
// database keeps the path of its own folder and nothing is listed twice. The result keeps the
// described order: a link's files stand where the link was met.
class DatabaseWalk {
public:
    DatabaseWalk(std::string_view mask, const std::function<void()>& onFolder)
        : mask_(platform::pathKey(mask)), onFolder_(onFolder) {}

    void run(const std::string& root, std::vector<std::string>& target) {
        const auto identity = platform::fileIdentity(root);
        if (!identity) return;
        markAncestors(root);
        entered_.insert(*identity);
        links_.push_back({root, identity->volume, {}});
        walkTree(0, true);
        // Links found while walking links are appended to the queue, so the index runs on.
        for (size_t link = 1; link < links_.size(); ++link) {
            const auto target = platform::fileIdentity(links_[link].path);
            if (!target || !entered_.insert(*target).second) continue;
            links_[link].volume = target->volume;
            walkTree(link, false);
        }
        flatten(0, target);
    }

private:
    // A run of files, or the place of a link (an index into links_).
    struct Piece {
        std::vector<std::string> files;
        size_t link = 0;
    };
    struct Link {
        std::string path;
        std::uint32_t volume;
        std::vector<Piece> pieces;
    };
    // A folder still to be listed, or a link to be put in its place.
    struct Pending {
        std::string path;
        bool link;
    };

    // A link up to a folder that holds the root would bring back the root and everything beside it.
    void markAncestors(const std::string& root) {
        for (size_t cut = root.find_last_of('\\'); cut != std::string::npos && cut > 0;
             cut = root.find_last_of('\\', cut - 1)) {
            const std::string parent = root.substr(0, cut);
            if (parent.size() < 2 || parent.back() == ':') break;
            if (const auto identity = platform::fileIdentity(parent)) entered_.insert(*identity);
        }
        if (root.size() >= 2 && root[1] == ':')
            if (const auto identity = platform::fileIdentity(root.substr(0, 2) + "\\")) entered_.insert(*identity);
    }

    // Depth first, each folder's files before its subfolders; the top folder's own files come last
    // when asked. Iterative, and each folder is listed once: the cost does not grow with the depth.
    void walkTree(size_t link, bool ownFilesLast) {
        const std::string top = links_[link].path;
        const std::uint32_t volume = links_[link].volume;
        std::vector<Piece> pieces;
        std::vector<std::string> topFiles;
        std::vector<Pending> pending{{top, false}};
        std::vector<Pending> children;
        bool atTop = true;
        while (!pending.empty()) {
            Pending folder = std::move(pending.back());
            pending.pop_back();
            if (folder.link) {
                pieces.push_back({{}, links_.size()});
                links_.push_back({std::move(folder.path), 0, {}});
                continue;
            }
            const std::string prefix = withTrailingBackslash(folder.path);
            std::vector<std::string>& files = atTop && ownFilesLast ? topFiles : nextRun(pieces);
            atTop = false;
            children.clear();
            platform::listFolder(folder.path, [&](const platform::DirEntry& entry) {
                if (entry.info.directory) {
                    if (entry.info.hidden || entry.info.system) return;
                    if (entry.info.link) {
                        children.push_back({prefix + entry.name, true});
                    } else if (entry.fileId == 0 || entered_.insert({volume, entry.fileId}).second) {
                        children.push_back({prefix + entry.name, false});
                    }
                    return;
                }
                if (entry.info.hidden || !matchesWildcards(platform::pathKey(entry.name), mask_)) return;
                std::string path = prefix + entry.name;
                if (isNewFile(path, entry, volume)) files.push_back(std::move(path));
            });
            for (auto child = children.rbegin(); child != children.rend(); ++child)
                pending.push_back(std::move(*child));
            if (onFolder_) onFolder_();
        }
        if (!topFiles.empty()) pieces.push_back({std::move(topFiles), 0});
        links_[link].pieces = std::move(pieces);
    }

    static std::vector<std::string>& nextRun(std::vector<Piece>& pieces) {
        if (pieces.empty() || pieces.back().link != 0) pieces.push_back({});
        return pieces.back().files;
    }

    // The same database reached twice: by a path that differs only in letter case, or as the same
    // file (a link to a file; a linked file's own id is its target's under Wine, and is asked for on Windows).
    bool isNewFile(const std::string& path, const platform::DirEntry& entry, std::uint32_t volume) {
        if (!fileKeys_.insert(platform::pathKey(path)).second) return false;
        std::optional<platform::FileIdentity> identity;
        if (entry.info.link)
            identity = platform::fileIdentity(path);
        else if (entry.fileId != 0)
            identity = platform::FileIdentity{volume, entry.fileId};
        return !identity || files_.insert(*identity).second;
    }

    void flatten(size_t link, std::vector<std::string>& target) const {
        for (const Piece& piece : links_[link].pieces) {
            if (piece.link != 0)
                flatten(piece.link, target);
            else
                target.insert(target.end(), piece.files.begin(), piece.files.end());
        }
    }

    std::string mask_;
    const std::function<void()>& onFolder_;
    std::set<platform::FileIdentity> entered_;
    std::set<platform::FileIdentity> files_;
    std::set<std::string> fileKeys_;
    std::vector<Link> links_;
};

}  // namespace

void findFilesRecursive(std::string_view root, std::string_view mask, std::vector<std::string>& target,
                        const std::function<void()>& onFolder) {
    std::string folder = trim(root);
    const std::string trimmedMask = trim(mask);
    if (folder.empty() || trimmedMask.empty()) return;
    while (folder.size() > 1 && folder.back() == '\\' && !(folder.size() == 3 && folder[1] == ':')) folder.pop_back();
    if (!platform::folderExists(folder)) return;
    DatabaseWalk(trimmedMask, onFolder).run(folder, target);
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
