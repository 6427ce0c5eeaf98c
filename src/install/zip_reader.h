#pragma once
// Reads a ZIP archive held in memory: the end record, the central directory, stored and deflated
// entries. The whole central directory is checked when the reader is made, so a refused archive is
// refused before anything is written. Names come out as UTF-8 in Windows notation ('\' separators):
// with the UTF-8 flag (bit 11) as they are (invalid UTF-8 is refused), otherwise read as code page 437.
// ZIP64, split archives and encrypted entries are refused.
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace fbwb {

class ZipError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ZipEntry {
    std::string name;  // relative, '\' separators, a folder keeps its trailing '\'
    bool folder = false;
    std::uint16_t method = 0;  // 0 stored, 8 deflated
    std::uint32_t crc = 0;
    std::uint64_t compressedSize = 0;
    std::uint64_t size = 0;
    std::uint64_t dataOffset = 0;  // where the entry's data begins in the archive
};

// Empty when the name is a safe relative path, otherwise why it is not (after '/' became '\'):
// empty, NUL or control characters, a leading '\', a ':' anywhere, characters Windows refuses in
// names, a component of dots and blanks only ("..", "."), or one that ends in a dot or a blank
// (Windows would silently write another name).
std::string refusedEntryName(std::string_view name);

class ZipReader {
public:
    // The archive's bytes must outlive the reader. Throws ZipError for a damaged or refused archive.
    explicit ZipReader(std::string_view archive);

    const std::vector<ZipEntry>& entries() const { return entries_; }

    // Hands the entry's content to sink in pieces (never more than its declared size in total);
    // throws ZipError when the data is damaged, longer or shorter than declared, or fails its CRC.
    using Sink = std::function<void(const char* data, size_t size)>;
    void extract(const ZipEntry& entry, const Sink& sink) const;

private:
    std::string_view archive_;
    std::vector<ZipEntry> entries_;
};

}  // namespace fbwb
