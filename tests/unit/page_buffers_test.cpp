// The page buffers of the settings run: the figure from the file's size, the database's page size
// from its header page, and the bounds that keep the figure one that gfix accepts and the machine holds.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "tasks/page_buffers.h"

using namespace fbwb;

namespace {

constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;

// The first bytes of a Firebird 3 database's header page (ODS 12.0, page size 8192), as isql-fb made it.
const std::string kFirebird3HeaderStart(
    "\x01\x00\x00\x00\x08\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x20\x0c\x80", 20);

std::string withPageSize(int size, char pageType = '\x01') {
    std::string bytes = kFirebird3HeaderStart;
    bytes[0] = pageType;
    bytes[16] = static_cast<char>(size & 0xFF);
    bytes[17] = static_cast<char>((size >> 8) & 0xFF);
    return bytes;
}

std::optional<std::string> fileStart(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes(kHeaderPageSizeEnd, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

}  // namespace

TEST(PageBuffers, FourKilobytePagesOfThePercentageTiesToEven) {
    struct Case {
        std::int64_t size;
        int percent;
        std::int64_t buffers;
    };
    for (const Case& c :
         {Case{104857600, 150, 38400}, Case{2048, 100, 0}, Case{6144, 100, 2}, Case{10240, 100, 2}, Case{14336, 100, 4},
          Case{4095, 1000, 8}, Case{-1, 150, 0}, Case{0, 1000, 0}, Case{1023, 1000, 0}, Case{8192, 1, 0},
          Case{409600, 1, 1}, Case{1228800, 1, 3}, Case{std::int64_t{200} << 30, 1000, 524288000},
          // An 8 TiB sparse file: beyond what gfix takes as a number at all.
          Case{std::int64_t{8} << 40, 150, 3221225472}}) {
        EXPECT_EQ(pageBuffersFor(c.size, c.percent), c.buffers) << c.size << " bytes at " << c.percent << " %";
    }
}

TEST(PageBuffers, PageSizeFromTheHeaderPage) {
    struct Case {
        std::string bytes;
        std::optional<int> pageSize;
    } cases[] = {
        {kFirebird3HeaderStart, 8192},
        {withPageSize(1024), 1024},
        {withPageSize(4096), 4096},
        {withPageSize(16384), 16384},
        {withPageSize(32768), 32768},
        {kFirebird3HeaderStart.substr(0, 17), std::nullopt},  // too short
        {"", std::nullopt},
        {withPageSize(8192, '\x05'), std::nullopt},  // a data page, not the header
        {withPageSize(0), std::nullopt},
        {withPageSize(512), std::nullopt},
        {withPageSize(3000), std::nullopt},
        {"ez nem adatbazis, csak szoveg\r\n", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(headerPageSize(c.bytes), c.pageSize) << testing::PrintToString(c.bytes);
}

// Real Firebird 2.x files (page size 4096), where the shared fixtures are present.
TEST(PageBuffers, PageSizeOfRealFirebird25Files) {
    const std::string folder = FBWB_SHARED_DIR "/fixtures/firebird25/";
    for (const char* name : {"ods11_2.fdb", "ods11_0.fdb"}) {
        const auto bytes = fileStart(folder + name);
        if (!bytes) GTEST_SKIP() << "no Firebird 2.5 fixtures at " << folder;
        EXPECT_EQ(headerPageSize(*bytes), 4096) << name;
    }
}

namespace {

// The log lines, spelled out here so that a changed text shows.
std::string raised(const std::string& figure) {
    return "A lappufferek kiszámított száma (" + figure +
           ") kevesebb a gfix által elfogadott legkisebb értéknél, ezért a használt érték: 50.";
}
std::string capped(const std::string& figure) {
    return "A lappufferek kiszámított száma (" + figure +
           ") több a gfix által elfogadott legnagyobb értéknél, ezért a használt érték: 2147483646.";
}
std::string byMemory(const std::string& figure, const std::string& pageSize, const std::string& halfMegabytes,
                     const std::string& written) {
    return "A lappufferek kiszámított száma (" + figure + ") " + pageSize +
           " bájtos lapokkal minden csatlakozáskor több memóriát foglalna le, mint a gép fizikai memóriájának fele (" +
           halfMegabytes + " MB), ezért a használt érték: " + written + ".";
}
const std::string kPageSizeUnknown =
    "Az adatbázis lapmérete nem olvasható ki a fejlécéből, ezért a lappufferek memóriakorlátja a legnagyobb "
    "lapmérettel (32768 bájt) számol.";
const std::string kMemoryUnknown =
    "A gép fizikai memóriájának mérete nem kérdezhető le, ezért a lappufferek számát csak a gfix határai "
    "korlátozzák.";

}  // namespace

// Inputs: the computed figure, the page size (nothing: unreadable), the physical memory (0: unknown).
TEST(PageBuffers, BoundsAndWhyTheFigureChanged) {
    using Notes = std::vector<std::string>;
    struct Case {
        std::int64_t computed;
        std::optional<int> pageSize;
        std::uint64_t memory;
        std::int64_t buffers;
        Notes notes;
    } cases[] = {
        // 0 is the server's default, which gfix accepts; nothing to bound.
        {0, 8192, 16 * kGiB, 0, {}},
        {0, std::nullopt, 0, 0, {}},
        {1, 8192, 16 * kGiB, 50, {raised("1")}},
        {49, 4096, 16 * kGiB, 50, {raised("49")}},
        {50, 8192, 16 * kGiB, 50, {}},
        {38400, 8192, 16 * kGiB, 38400, {}},
        // Half of 16 GiB holds 932067 buffers of 8192 + 1024 bytes.
        {932067, 8192, 16 * kGiB, 932067, {}},
        {932068, 8192, 16 * kGiB, 932067, {byMemory("932068", "8192", "8192", "932067")}},
        // The 8 TiB sparse file.
        {3221225472, 8192, 16 * kGiB, 932067, {byMemory("3221225472", "8192", "8192", "932067")}},
        // 50,000,000 buffers got gfix killed on a 24 GB machine.
        {50000000, 4096, 24 * kGiB, 2516582, {byMemory("50000000", "4096", "12288", "2516582")}},
        // A machine so large that gfix's own bound comes first.
        {3221225472, 1024, 64 * 1024 * kGiB, 2147483646, {capped("3221225472")}},
        // Unknown memory: only gfix's bounds.
        {3221225472, 8192, 0, 2147483646, {kMemoryUnknown, capped("3221225472")}},
        // Unknown page size: the largest is assumed, and the log says so.
        {1000, std::nullopt, 16 * kGiB, 1000, {kPageSizeUnknown}},
        {1000000, std::nullopt, 16 * kGiB, 254200, {kPageSizeUnknown, byMemory("1000000", "32768", "8192", "254200")}},
        // A memory bound below gfix's least figure still gives one that gfix accepts.
        {1000, 4096, 100 * 1024, 50, {byMemory("1000", "4096", "0", "50")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.computed << " buffers, page " << c.pageSize.value_or(-1) << ", "
                                        << c.memory << " bytes");
        const PageBuffersPlan plan = planPageBuffers(c.computed, c.pageSize, c.memory);
        EXPECT_EQ(plan.buffers, c.buffers);
        EXPECT_EQ(plan.notes, c.notes);
    }
}
