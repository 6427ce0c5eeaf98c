// The portable reader natively: opens the kit and inflates every entry in memory (CRC and size
// checked), a number of rounds; prints the median time. Built by scripts/bench-unzip.sh on the host.
//   zip_inflate_bench ZIP [ROUNDS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "install/zip_reader.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    std::ifstream in(argv[1], std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const std::string archive = bytes.str();
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    std::vector<double> times;
    size_t total = 0;
    for (int round = 0; round < rounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        const fbwb::ZipReader reader(archive);
        total = 0;
        for (const fbwb::ZipEntry& entry : reader.entries())
            reader.extract(entry, [&](const char*, size_t size) { total += size; });
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    std::printf("native reader: %zu bytes inflated in memory, median %.1f ms of %d rounds\n", total,
                times[times.size() / 2], rounds);
    return 0;
}
