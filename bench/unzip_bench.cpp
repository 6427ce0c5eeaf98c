// Unpacks a kit with the program's unpacking (unpackInstallerZip) into a fresh folder and prints the
// time it took inside the process; then checks, outside the timing, that the folder holds exactly the
// archive's files with their sizes and CRCs. Exit status 1 when the check fails.
//   unzip_bench ZIP [DEST]     (DEST must not exist; without it a scratch folder, removed afterwards)
#include <windows.h>
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>

#include "install/installer_kits_win.h"
#include "install/zip_reader.h"
#include "platform/encoding.h"
#include "platform/fs.h"
#include "win/temp_folder.h"

using namespace fbwb;

namespace {

size_t countFiles(const std::string& folder) {
    size_t count = 0;
    platform::listFolder(folder, [&](const platform::DirEntry& entry) {
        count += entry.info.directory ? countFiles(folder + "\\" + entry.name) : 1;
    });
    return count;
}

// Files that differ from their entry; the count of files found must match too.
int check(const std::string& zip, const std::string& dest) {
    const std::string archive = platform::readFileBytes(zip).value_or("");
    const ZipReader reader(archive);
    size_t files = 0;
    int wrong = 0;
    for (const ZipEntry& entry : reader.entries()) {
        if (entry.folder) continue;
        ++files;
        const auto bytes = platform::readFileBytes(dest + "\\" + entry.name);
        const uLong crc =
            bytes ? crc32(0, reinterpret_cast<const Bytef*>(bytes->data()), static_cast<uInt>(bytes->size())) : 0;
        if (!bytes || bytes->size() != entry.size || crc != entry.crc) {
            std::printf("wrong content: %s\n", entry.name.c_str());
            ++wrong;
        }
    }
    const size_t found = countFiles(dest);
    if (found != files) {
        std::printf("wrong count: %zu files, the archive has %zu\n", found, files);
        ++wrong;
    }
    std::printf("checked %zu files\n", files);
    return wrong;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: unzip_bench ZIP [DEST]\n");
        return 2;
    }
    const std::string zip = argv[1];
    std::optional<test::TempFolder> scratch;
    std::string dest;
    if (argc > 2) {
        dest = argv[2];
    } else {
        scratch.emplace();
        dest = *scratch / "kit";
    }
    try {
        const auto start = std::chrono::steady_clock::now();
        unpackInstallerZip(zip, dest);
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        std::printf("unpack_ms %.1f\n", ms);
        std::fflush(stdout);
        return check(zip, dest) == 0 ? 0 : 1;
    } catch (const std::exception& e) {
        std::printf("error: %s\n", e.what());
        return 1;
    }
}
