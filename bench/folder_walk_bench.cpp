// The database list's folder walk (findFilesRecursive with "*.fdb") against a bare recursive
// FindFirstFileW walk of the same tree. Builds the tree (folders, databases and look-alike files that
// must not be listed), then times both in interleaved rounds and prints the medians and their ratio.
//   folder_walk_bench [FOLDERS [DATABASES [ROUNDS]]]     (default 10000 folders, 2000 databases, 7 rounds)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/file_helpers_win.h"
#include "platform/encoding.h"
#include "win/temp_folder.h"

using namespace fbwb;
using Clock = std::chrono::steady_clock;

namespace {

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// What any program must do at the least: list every folder once and look at each name.
size_t bareWalk(const std::wstring& folder) {
    size_t found = 0;
    std::vector<std::wstring> subfolders;
    WIN32_FIND_DATAW data{};
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            subfolders.push_back(folder + L"\\" + name);
        else if (name.size() > 4 && _wcsicmp(name.c_str() + name.size() - 4, L".fdb") == 0)
            ++found;
    } while (FindNextFileW(find, &data));
    FindClose(find);
    for (const std::wstring& subfolder : subfolders) found += bareWalk(subfolder);
    return found;
}

// Companies of up to 100 folders each (the top folder of a company counts); every n-th folder holds a
// database beside a renamed old copy and a note.
void buildTree(const test::TempFolder& scratch, int folders, int databases) {
    const int every = std::max(1, folders / std::max(1, databases));
    int made = 0, placed = 0;
    for (int company = 0; made < folders; ++company) {
        const std::string top = "adat\\ceg" + std::to_string(company);
        for (int year = 0; year < 100 && made < folders; ++year, ++made) {
            const std::string folder = year == 0 ? top : top + "\\ev" + std::to_string(year);
            scratch.folder(folder);
            if (made % every == 0 && placed < databases) {
                scratch.file(folder + "\\kelmora.fdb");
                scratch.file(folder + "\\kelmora.fdb_regi");
                scratch.file(folder + "\\jegyzet.txt");
                ++placed;
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int folders = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    const int databases = argc > 2 ? std::max(0, std::atoi(argv[2])) : 2000;
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 7;

    test::TempFolder scratch;
    const auto buildStart = Clock::now();
    buildTree(scratch, folders, databases);
    const std::string root = scratch / "adat";
    std::printf("tree: %d folders, %d databases, built in %.1f s\n", folders, databases, secondsSince(buildStart));
    std::fflush(stdout);

    std::vector<double> program, bare;
    size_t programFound = 0, bareFound = 0;
    for (int round = 0; round < rounds; ++round) {
        // Alternating which side goes first, so that a cache warmed by one does not always favour the other.
        for (int side = 0; side < 2; ++side) {
            if ((side + round) % 2 == 0) {
                const auto start = Clock::now();
                std::vector<std::string> found;
                findFilesRecursive(root, "*.fdb", found);
                program.push_back(secondsSince(start));
                programFound = found.size();
            } else {
                const auto start = Clock::now();
                bareFound = bareWalk(platform::widen(root));
                bare.push_back(secondsSince(start));
            }
        }
        std::printf("round %d: program %.2f s, bare %.2f s\n", round + 1, program.back(), bare.back());
        std::fflush(stdout);
    }
    const double p = median(program), b = median(bare);
    std::printf("median of %d rounds: program %.2f s, bare FindFirstFileW walk %.2f s, ratio %.2f\n", rounds, p, b,
                b > 0 ? p / b : 0.0);
    if (programFound != static_cast<size_t>(databases)) {
        std::fprintf(stderr, "the program listed %zu databases, the tree holds %d (the bare walk saw %zu *.fdb)\n",
                     programFound, databases, bareFound);
        return 1;
    }
    return 0;
}
