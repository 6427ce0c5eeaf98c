#include "tasks/page_buffers.h"

#include <algorithm>
#include <cmath>

#include "core/text.h"
#include "tasks/texts_tasks.h"

namespace fbwb {

using namespace texts_tasks;

std::int64_t pageBuffersFor(std::int64_t fileSize, int percent) {
    const std::int64_t kilobytes = fileSize / 1024;
    // Each operation rounded to extended precision, as the sizes were always computed.
    const long double share = static_cast<long double>(percent) / 100.0L;
    const long double pages = static_cast<long double>(kilobytes) / 4.0L;
    const long double buffers = share * pages;
    // The default rounding mode rounds a tie to the even neighbour.
    return std::llrint(buffers);
}

std::optional<int> headerPageSize(std::string_view fileStart) {
    if (fileStart.size() < kHeaderPageSizeEnd) return std::nullopt;
    const auto byte = [&](size_t at) { return static_cast<unsigned char>(fileStart[at]); };
    constexpr unsigned kHeaderPageType = 1;
    if (byte(0) != kHeaderPageType) return std::nullopt;
    const int size = byte(16) | (byte(17) << 8);
    for (int valid = 1024; valid <= kLargestPageSize; valid *= 2) {
        if (size == valid) return size;
    }
    return std::nullopt;
}

PageBuffersPlan planPageBuffers(std::int64_t computed, std::optional<int> pageSize, std::uint64_t physicalMemory) {
    PageBuffersPlan plan{computed, {}};
    // 0 leaves the cache to the server's default, which gfix accepts.
    if (computed <= 0) return plan;
    const std::string figure = std::to_string(computed);
    if (!pageSize) plan.notes.push_back(fill(kPageSizeUnknown, {std::to_string(kLargestPageSize)}));
    const int bytesPerPage = pageSize.value_or(kLargestPageSize);

    std::int64_t limit = kMaxPageBuffers;
    bool memoryBound = false;
    if (physicalMemory == 0) {
        plan.notes.push_back(std::string(kPhysicalMemoryUnknown));
    } else {
        const std::uint64_t fit = physicalMemory / 2 / static_cast<std::uint64_t>(bytesPerPage + kBufferOverheadBytes);
        if (fit < static_cast<std::uint64_t>(limit)) {
            limit = std::max(static_cast<std::int64_t>(fit), kMinPageBuffers);
            memoryBound = true;
        }
    }

    if (computed < kMinPageBuffers) {
        plan.buffers = kMinPageBuffers;
        plan.notes.push_back(fill(kPageBuffersRaised, {figure, std::to_string(plan.buffers)}));
    } else if (computed > limit) {
        plan.buffers = limit;
        const std::string written = std::to_string(limit);
        plan.notes.push_back(memoryBound ? fill(kPageBuffersCappedByMemory,
                                                {figure, std::to_string(bytesPerPage),
                                                 std::to_string(physicalMemory / 2 / (1024 * 1024)), written})
                                         : fill(kPageBuffersCapped, {figure, written}));
    }
    return plan;
}

}  // namespace fbwb
