#pragma once
// The page buffers that the settings run writes with gfix -BUFFERS: the figure computed from the
// file's size, and the bounds that keep it one that gfix accepts and the machine can hold. Every
// attachment allocates the whole cache, so an unbounded figure from a large (or sparse) file gets
// each later tool run killed for want of memory.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fbwb {

// Page buffers for P per cent of a file of the given size, counted in 4 KB pages: integer KB,
// extended-precision arithmetic, the nearest integer with ties to even. A size of -1 gives 0.
std::int64_t pageBuffersFor(std::int64_t fileSize, int percent);

// gfix accepts 0 (the server's default) or 50 to 2,147,483,646 (Firebird 3, 64-bit).
inline constexpr std::int64_t kMinPageBuffers = 50;
inline constexpr std::int64_t kMaxPageBuffers = 2147483646;
// What a buffer takes besides its page: about 0.6 KB measured per buffer at attachment (Firebird
// 3, before any page is read), rounded up.
inline constexpr std::int64_t kBufferOverheadBytes = 1024;
// The page size assumed when the header cannot be read: the largest, so that the memory bound
// never lets through more than the machine holds.
inline constexpr int kLargestPageSize = 32768;

// How many bytes of the file's start headerPageSize needs.
inline constexpr std::size_t kHeaderPageSizeEnd = 18;
// The page size in the header page at the start of a database file: page type 1 at offset 0, the
// size as a 16-bit little-endian number at offset 16 (after the 16-byte page header). Nothing when
// the bytes are too few, not a header page, or the size is not a power of two from 1024 to 32768.
std::optional<int> headerPageSize(std::string_view fileStart);

// The figure to write and to expect in the report, and the log lines that say why it differs
// from the computed one (and what was assumed). 0 stays 0 (the server's default); 1 to 49 become
// 50; above that, at most kMaxPageBuffers and at most what half of the physical memory holds at
// the page size (kLargestPageSize when unknown) plus kBufferOverheadBytes a buffer. A physical
// memory of 0 (unknown) sets no memory bound.
struct PageBuffersPlan {
    std::int64_t buffers = 0;
    std::vector<std::string> notes;
};
PageBuffersPlan planPageBuffers(std::int64_t computed, std::optional<int> pageSize, std::uint64_t physicalMemory);

}  // namespace fbwb
