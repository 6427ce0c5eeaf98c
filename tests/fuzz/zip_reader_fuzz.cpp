// The ZIP reader on any bytes. Input: an archive. Properties:
// - it is read or refused with a ZipError, nothing else escapes;
// - every entry name it reports is a safe relative Windows path: no '/', no leading '\', no ':',
//   no ".." or dots-only component, no NUL;
// - extraction never hands out more bytes than the entry declares; a successful extraction gave
//   exactly the declared size and its CRC-32 matches.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "install/zip_reader.h"

using namespace fbwb;
using fuzz::require;

namespace {

bool hasDotsComponent(std::string_view name) {
    size_t start = 0;
    while (start <= name.size()) {
        size_t cut = name.find('\\', start);
        if (cut == std::string_view::npos) cut = name.size();
        const std::string_view part = name.substr(start, cut - start);
        if (!part.empty() && part.find_first_not_of(". ") == std::string_view::npos) return true;
        start = cut + 1;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string archive(reinterpret_cast<const char*>(data), size);
    try {
        const ZipReader reader(archive);
        for (const ZipEntry& entry : reader.entries()) {
            const std::string& name = entry.name;
            require(!name.empty() && name.front() != '\\' && name.find('/') == std::string::npos &&
                        name.find(':') == std::string::npos && name.find('\0') == std::string::npos &&
                        !hasDotsComponent(name),
                    "an entry name stays under the destination", name);
            std::uint64_t handed = 0;
            uLong crc = crc32(0, nullptr, 0);
            try {
                reader.extract(entry, [&](const char* bytes, size_t count) {
                    handed += count;
                    require(handed <= entry.size, "extraction stays within the declared size", name);
                    crc = crc32(crc, reinterpret_cast<const Bytef*>(bytes), static_cast<uInt>(count));
                });
            } catch (const ZipError&) {
                continue;
            }
            require(handed == entry.size, "a successful extraction gives the declared size", name);
            require(crc == entry.crc, "a successful extraction matches the CRC", name);
        }
    } catch (const ZipError&) {
    }
    return 0;
}
