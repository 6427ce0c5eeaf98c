#include "install/zip_reader.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>

#include "core/text.h"

namespace fbwb {

namespace {

constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::uint32_t kCentralSignature = 0x02014b50;
constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr size_t kLocalHeaderSize = 30;
constexpr size_t kCentralHeaderSize = 46;
constexpr size_t kEndRecordSize = 22;
constexpr std::uint16_t kFlagEncrypted = 0x0001;
constexpr std::uint16_t kFlagDescriptor = 0x0008;
constexpr std::uint16_t kFlagStrongEncryption = 0x0040;
constexpr std::uint16_t kFlagUtf8 = 0x0800;
constexpr std::uint16_t kFlagMaskedHeader = 0x2000;
// Deflate cannot expand more than about 1032 to 1; a larger claim is a lie about the data.
constexpr std::uint64_t kMaxDeflateRatio = 1032;

constexpr std::array<char16_t, 128> kCp437High = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE,
    0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6,
    0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA,
    0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C,
    0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320,
    0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0};

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::uint16_t u16(std::string_view bytes, size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

std::uint32_t u32(std::string_view bytes, size_t at) {
    return static_cast<std::uint32_t>(u16(bytes, at)) | (static_cast<std::uint32_t>(u16(bytes, at + 2)) << 16);
}

// The name as the message shows it: control bytes as \xNN, so a NUL cannot cut the message short.
std::string shown(std::string_view name) {
    std::string out;
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            out += "\\x";
            out += kHex[u >> 4];
            out += kHex[u & 15];
        } else {
            out += c;
        }
    }
    return out;
}

[[noreturn]] void refuse(std::string_view entry, std::string_view reason) {
    if (entry.empty()) throw ZipError("Damaged or refused ZIP archive: " + std::string(reason));
    throw ZipError("ZIP entry \"" + shown(entry) + "\": " + std::string(reason));
}

// The raw name as UTF-8 with '\' separators; invalid UTF-8 under the UTF-8 flag is refused.
std::string decodeName(std::string_view raw, bool utf8) {
    std::string name;
    if (utf8) {
        for (size_t at = 0; at < raw.size();) {
            char32_t c = 0;
            const size_t length = decodeUtf8(raw, at, c);
            if (length == 0) refuse(raw, "the name is not valid UTF-8");
            at += length;
        }
        name.assign(raw);
    } else {
        for (const char c : raw) {
            const auto u = static_cast<unsigned char>(c);
            appendUtf8(name, u < 0x80 ? char32_t(u) : char32_t(kCp437High[u - 0x80]));
        }
    }
    std::replace(name.begin(), name.end(), '/', '\\');
    return name;
}

}  // namespace

std::string refusedEntryName(std::string_view name) {
    if (name.empty()) return "empty name";
    if (name.front() == '\\' || name.front() == '/') return "absolute path";
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u == 0) return "NUL character in the name";
        if (u < 0x20 || u == 0x7F) return "control character in the name";
        if (c == ':') return "drive letter or stream name";
        if (std::strchr("<>\"|?*", c) != nullptr) return "character not allowed in a Windows file name";
    }
    // Every component: a trailing separator (a folder) ends the last one.
    std::string_view rest = name;
    while (!rest.empty()) {
        const size_t cut = rest.find_first_of("\\/");
        const std::string_view part = rest.substr(0, cut);
        if (part.empty()) return "empty path component";
        if (part.find_first_not_of(". ") == std::string_view::npos) return "\"..\" or a component of dots only";
        if (part.back() == '.' || part.back() == ' ') return "component ending in a dot or a blank";
        if (cut == std::string_view::npos) break;
        rest.remove_prefix(cut + 1);
    }
    return {};
}

ZipReader::ZipReader(std::string_view archive) : archive_(archive) {
    if (archive.size() < kEndRecordSize) refuse({}, "too short for an end record");
    // The end record is the last one whose comment reaches exactly to the end of the file.
    size_t end = std::string_view::npos;
    const size_t lowest = archive.size() - kEndRecordSize - std::min<size_t>(archive.size() - kEndRecordSize, 0xFFFF);
    for (size_t at = archive.size() - kEndRecordSize + 1; at-- > lowest;) {
        if (u32(archive, at) == kEndSignature && at + kEndRecordSize + u16(archive, at + 20) == archive.size()) {
            end = at;
            break;
        }
    }
    if (end == std::string_view::npos) refuse({}, "no end of central directory record (bad signature or truncated)");
    const std::uint16_t disk = u16(archive, end + 4), cdDisk = u16(archive, end + 6);
    const std::uint16_t countHere = u16(archive, end + 8), count = u16(archive, end + 10);
    const std::uint32_t cdSize = u32(archive, end + 12), cdOffset = u32(archive, end + 16);
    if (count == 0xFFFF || cdSize == 0xFFFFFFFF || cdOffset == 0xFFFFFFFF) refuse({}, "ZIP64 is not supported");
    if (disk != 0 || cdDisk != 0 || countHere != count) refuse({}, "split archives are not supported");
    if (std::uint64_t(cdOffset) + cdSize > end) refuse({}, "central directory out of bounds");

    struct Span {
        std::uint64_t begin, end;
        const std::string* name;
    };
    std::vector<Span> spans;
    size_t at = cdOffset;
    const size_t cdEnd = size_t(cdOffset) + cdSize;
    for (unsigned i = 0; i < count; ++i) {
        if (at + kCentralHeaderSize > cdEnd || u32(archive, at) != kCentralSignature)
            refuse({}, "bad central directory header signature or truncated central directory");
        const std::uint16_t flags = u16(archive, at + 8), method = u16(archive, at + 10);
        const std::uint32_t crc = u32(archive, at + 16), packed = u32(archive, at + 20), size = u32(archive, at + 24);
        const std::uint16_t nameLength = u16(archive, at + 28), extraLength = u16(archive, at + 30),
                            commentLength = u16(archive, at + 32), diskStart = u16(archive, at + 34);
        const std::uint32_t localOffset = u32(archive, at + 42);
        const size_t next = at + kCentralHeaderSize + nameLength + extraLength + commentLength;
        if (next > cdEnd) refuse({}, "central directory entry out of bounds");
        const std::string_view raw = archive.substr(at + kCentralHeaderSize, nameLength);
        ZipEntry entry;
        entry.name = decodeName(raw, (flags & kFlagUtf8) != 0);
        const std::string& name = entry.name;
        if (const std::string why = refusedEntryName(name); !why.empty()) refuse(name, why);
        if (flags & (kFlagEncrypted | kFlagStrongEncryption | kFlagMaskedHeader)) refuse(name, "encrypted entry");
        if (method != 0 && method != 8) refuse(name, "unsupported compression method " + std::to_string(method));
        if (packed == 0xFFFFFFFF || size == 0xFFFFFFFF || localOffset == 0xFFFFFFFF || diskStart != 0)
            refuse(name, "ZIP64 or split entry is not supported");
        if (method == 0 && packed != size) refuse(name, "stored entry with different sizes");
        if (method == 8 && std::uint64_t(size) > std::uint64_t(packed) * kMaxDeflateRatio + 64)
            refuse(name, "declared size impossible for its compressed size");
        entry.folder = name.back() == '\\';
        if (entry.folder && size != 0) refuse(name, "folder entry with content");
        entry.method = method;
        entry.crc = crc;
        entry.compressedSize = packed;
        entry.size = size;

        // The local header must agree with the central directory on what matters.
        if (std::uint64_t(localOffset) + kLocalHeaderSize > cdOffset || u32(archive, localOffset) != kLocalSignature)
            refuse(name, "bad local header signature or local header out of bounds");
        const std::uint16_t localFlags = u16(archive, localOffset + 6), localMethod = u16(archive, localOffset + 8);
        const std::uint16_t localNameLength = u16(archive, localOffset + 26),
                            localExtraLength = u16(archive, localOffset + 28);
        const std::uint64_t dataOffset =
            std::uint64_t(localOffset) + kLocalHeaderSize + localNameLength + localExtraLength;
        if (dataOffset + packed > cdOffset) refuse(name, "entry data out of bounds (truncated archive)");
        if (archive.substr(localOffset + kLocalHeaderSize, localNameLength) != raw)
            refuse(name, "local header names another entry");
        if (localMethod != method || (localFlags & (kFlagEncrypted | kFlagStrongEncryption | kFlagMaskedHeader)))
            refuse(name, "local header disagrees with the central directory");
        if ((localFlags & kFlagDescriptor) == 0 &&
            (u32(archive, localOffset + 14) != crc || u32(archive, localOffset + 18) != packed ||
             u32(archive, localOffset + 22) != size))
            refuse(name, "local header sizes or CRC disagree with the central directory");
        entry.dataOffset = dataOffset;
        entries_.push_back(std::move(entry));
        spans.push_back({localOffset, dataOffset + packed, nullptr});
        at = next;
    }
    if (at != cdEnd) refuse({}, "central directory size disagrees with its entries");
    // Entries that share bytes are the mark of a decompression bomb.
    for (size_t i = 0; i < spans.size(); ++i) spans[i].name = &entries_[i].name;
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.begin < b.begin; });
    for (size_t i = 1; i < spans.size(); ++i)
        if (spans[i].begin < spans[i - 1].end) refuse(*spans[i].name, "entry overlaps another one");
}

void ZipReader::extract(const ZipEntry& entry, const Sink& sink) const {
    const std::string_view data = archive_.substr(entry.dataOffset, entry.compressedSize);
    std::uint32_t crc = 0;
    std::uint64_t written = 0;
    if (entry.method == 0) {
        constexpr size_t kPiece = 1 << 20;
        for (size_t at = 0; at < data.size(); at += kPiece) {
            const std::string_view piece = data.substr(at, kPiece);
            crc = static_cast<std::uint32_t>(
                crc32(crc, reinterpret_cast<const Bytef*>(piece.data()), static_cast<uInt>(piece.size())));
            sink(piece.data(), piece.size());
        }
        written = data.size();
    } else {
        z_stream stream{};
        if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) refuse(entry.name, "cannot start inflating");
        struct End {
            z_stream* s;
            ~End() { inflateEnd(s); }
        } end{&stream};
        static thread_local std::array<char, 256 * 1024> buffer;
        size_t consumed = 0;
        int status = Z_OK;
        while (status != Z_STREAM_END) {
            if (stream.avail_in == 0) {
                const size_t piece = std::min<size_t>(data.size() - consumed, UINT_MAX / 2);
                stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data() + consumed));
                stream.avail_in = static_cast<uInt>(piece);
                consumed += piece;
            }
            // Never more than one byte past the declared size: that is enough to tell it was a lie.
            const std::uint64_t room = entry.size - written + 1;
            stream.next_out = reinterpret_cast<Bytef*>(buffer.data());
            stream.avail_out = static_cast<uInt>(std::min<std::uint64_t>(buffer.size(), room));
            status = inflate(&stream, Z_NO_FLUSH);
            const size_t produced = static_cast<size_t>(reinterpret_cast<char*>(stream.next_out) - buffer.data());
            if (status == Z_DATA_ERROR || status == Z_NEED_DICT || status == Z_MEM_ERROR || status == Z_STREAM_ERROR)
                refuse(entry.name, "damaged compressed data");
            if (written + produced > entry.size) refuse(entry.name, "inflates beyond its declared size");
            if (status == Z_BUF_ERROR && stream.avail_in == 0 && consumed == data.size())
                refuse(entry.name, "compressed data ends early (truncated)");
            if (produced == 0 && status != Z_STREAM_END && stream.avail_in == 0 && consumed == data.size())
                refuse(entry.name, "compressed data ends early (truncated)");
            crc = static_cast<std::uint32_t>(
                crc32(crc, reinterpret_cast<const Bytef*>(buffer.data()), static_cast<uInt>(produced)));
            written += produced;
            if (produced != 0) sink(buffer.data(), produced);
        }
    }
    if (written != entry.size) refuse(entry.name, "shorter than its declared size");
    if (crc != entry.crc) refuse(entry.name, "CRC-32 mismatch");
}

}  // namespace fbwb
