#pragma once
// Writes small ZIP archives for the tests, with every field under the test's control: names as raw
// bytes, stored or deflated data, data descriptors, a false CRC or size, ready-made compressed data.
#include <zlib.h>

// Designated initializers of ZipItem leave the rest at their defaults on purpose.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fbwb::test {

struct ZipItem {
    std::string name;  // raw bytes as stored
    std::string data;
    std::uint16_t method = 8;
    std::uint16_t flags = 0;
    bool descriptor = false;               // sizes and CRC after the data, zeros in the local header
    std::optional<std::uint32_t> crc;      // instead of the data's
    std::optional<std::uint32_t> size;     // declared size instead of the data's
    std::optional<std::string> packed;     // compressed bytes instead of compressing data
    std::optional<std::string> localName;  // another name in the local header
};

inline std::string rawDeflate(const std::string& data) {
    z_stream s{};
    deflateInit2(&s, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&s, static_cast<uLong>(data.size())), '\0');
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    s.avail_in = static_cast<uInt>(data.size());
    s.next_out = reinterpret_cast<Bytef*>(out.data());
    s.avail_out = static_cast<uInt>(out.size());
    deflate(&s, Z_FINISH);
    out.resize(s.total_out);
    deflateEnd(&s);
    return out;
}

// Raw deflate of megabytes MB of zeros (1 GB gives about 1 MB): one megabyte compressed after a full
// flush is the same bytes every time, so it is made once and repeated; an empty final block ends it.
inline std::string deflatedZeroMegabytes(unsigned megabytes) {
    z_stream s{};
    deflateInit2(&s, 9, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY);
    const std::string zeros(1 << 20, '\0');
    std::string piece;
    char buffer[1 << 16];
    for (int round = 0; round < 2; ++round) {  // the second round starts from a flushed state too
        piece.clear();
        s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zeros.data()));
        s.avail_in = static_cast<uInt>(zeros.size());
        do {
            s.next_out = reinterpret_cast<Bytef*>(buffer);
            s.avail_out = sizeof buffer;
            deflate(&s, Z_FULL_FLUSH);
            piece.append(buffer, sizeof buffer - s.avail_out);
        } while (s.avail_out == 0);
    }
    deflateEnd(&s);
    std::string out;
    out.reserve(piece.size() * megabytes + 2);
    for (unsigned i = 0; i < megabytes; ++i) out += piece;
    return out + std::string("\x03\x00", 2);
}

inline void put16(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}
inline void put32(std::string& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

inline std::string buildZip(const std::vector<ZipItem>& items) {
    std::string body, central;
    for (const ZipItem& item : items) {
        const std::string packed = item.packed ? *item.packed : item.method == 8 ? rawDeflate(item.data) : item.data;
        const std::uint32_t crc =
            item.crc ? *item.crc
                     : static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(item.data.data()),
                                                        static_cast<uInt>(item.data.size())));
        const std::uint32_t size = item.size ? *item.size : static_cast<std::uint32_t>(item.data.size());
        const std::uint16_t flags = static_cast<std::uint16_t>(item.flags | (item.descriptor ? 0x08 : 0));
        const std::uint32_t offset = static_cast<std::uint32_t>(body.size());
        put32(body, 0x04034b50);
        put16(body, 20);
        put16(body, flags);
        put16(body, item.method);
        put32(body, 0x00210000);  // time, date
        put32(body, item.descriptor ? 0 : crc);
        put32(body, item.descriptor ? 0 : static_cast<std::uint32_t>(packed.size()));
        put32(body, item.descriptor ? 0 : size);
        const std::string localName = item.localName ? *item.localName : item.name;
        put16(body, static_cast<std::uint32_t>(localName.size()));
        put16(body, 0);
        body += localName + packed;
        if (item.descriptor) {
            put32(body, 0x08074b50);
            put32(body, crc);
            put32(body, static_cast<std::uint32_t>(packed.size()));
            put32(body, size);
        }
        put32(central, 0x02014b50);
        put16(central, 20);
        put16(central, 20);
        put16(central, flags);
        put16(central, item.method);
        put32(central, 0x00210000);
        put32(central, crc);
        put32(central, static_cast<std::uint32_t>(packed.size()));
        put32(central, size);
        put16(central, static_cast<std::uint32_t>(item.name.size()));
        put32(central, 0);  // extra, comment
        put32(central, 0);  // disk, internal attributes
        put32(central, 0);  // external attributes
        put32(central, offset);
        central += item.name;
    }
    std::string end;
    put32(end, 0x06054b50);
    put32(end, 0);
    put16(end, static_cast<std::uint32_t>(items.size()));
    put16(end, static_cast<std::uint32_t>(items.size()));
    put32(end, static_cast<std::uint32_t>(central.size()));
    put32(end, static_cast<std::uint32_t>(body.size()));
    put16(end, 0);
    return body + central + end;
}

}  // namespace fbwb::test
