// Unpacking a kit into its install folder (declared in installer_kits_win.h).
#include <set>
#include <stdexcept>
#include <string>

#include "core/text.h"
#include "install/installer_kits_win.h"
#include "install/zip_reader.h"
#include "platform/fs.h"

namespace fbwb {

namespace {

[[noreturn]] void refuseFolder(const std::string& path, std::string_view reason) {
    throw std::runtime_error("Cannot unpack into \"" + path + "\": " + std::string(reason));
}

// Creates the entry's parent folders under the destination; each must be a real folder, not a link
// that would lead elsewhere. Folders seen once are not asked again.
void ensureFolders(const std::string& dest, std::string_view relative, std::set<std::string>& ready) {
    for (size_t cut = relative.find('\\'); cut != std::string_view::npos; cut = relative.find('\\', cut + 1)) {
        const std::string folder = dest + "\\" + std::string(relative.substr(0, cut));
        if (ready.count(folder) != 0) continue;
        auto info = platform::queryFile(folder);
        if (!info) {
            platform::createFolders(folder);
            info = platform::queryFile(folder);
            if (!info) refuseFolder(folder, "the folder cannot be created");
        }
        if (!info->directory) refuseFolder(folder, "a file stands where the kit has a folder");
        if (info->link) refuseFolder(folder, "the folder is a link");
        ready.insert(folder);
    }
}

// The file is removed again (by the writer) unless the entry's size and CRC checked out.
void writeEntry(const ZipReader& reader, const ZipEntry& entry, platform::FileWriter& writer) {
    reader.extract(entry, [&](const char* data, size_t size) { writer.write(data, size); });
    writer.finish();
}

}  // namespace

void unpackInstallerZip(std::string_view zipFile, std::string_view destFolder) {
    std::string dest = trim(destFolder);
    while (dest.size() > 1 && (dest.back() == '\\' || dest.back() == '/')) dest.pop_back();
    if (dest.empty()) throw std::runtime_error("No destination folder for the kit");
    const auto archive = platform::readFileBytes(trim(zipFile));
    if (!archive) throw std::runtime_error("Cannot read the kit \"" + std::string(zipFile) + "\"");
    const ZipReader reader(*archive);  // refuses a bad archive before anything is written

    if (!platform::createFolders(dest)) refuseFolder(dest, "the folder cannot be created");
    std::set<std::string> ready;
    for (const ZipEntry& entry : reader.entries()) {
        ensureFolders(dest, entry.name, ready);
        if (entry.folder) continue;
        const std::string target = dest + "\\" + entry.name;
        // A new file is written in place (removed again when its check fails); an existing one is
        // replaced only after the new content checked out.
        {
            platform::FileWriter writer(target, platform::FileWriter::NewOnly{});
            if (writer.opened()) {
                writeEntry(reader, entry, writer);
                continue;
            }
        }
        const std::string fresh = target + ".~unpack";
        {
            platform::FileWriter writer(fresh);
            writeEntry(reader, entry, writer);
        }
        try {
            platform::moveFileReplacing(fresh, target);
        } catch (const std::exception& e) {
            platform::deleteFileClearingAttributes(fresh);
            throw std::runtime_error("Cannot write \"" + target + "\": " + e.what());
        }
    }
}

}  // namespace fbwb
