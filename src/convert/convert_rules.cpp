#include "convert/convert_rules.h"

#include "convert/texts_convert.h"
#include "core/text.h"
#include "env/server_paths.h"
#include "tasks/texts_tasks.h"

namespace fbwb {

ServerFolderBoxes splitServerFolders(std::string_view serverList) {
    ServerFolderBoxes boxes;
    for (const std::string& line : splitLines(trim(serverList))) {
        const char firstDigit = firstDigitAfterMarker(line, texts_convert::kServerMarker);
        if (firstDigit == 0) continue;
        (firstDigit < '3' ? boxes.oldServers : boxes.newServers).push_back(line);
    }
    return boxes;
}

GridColumnWidths gridColumnWidths(int gridWidth) {
    // (width - 16) * 7 / 10 in whole numbers, rounded with halves to the even neighbour.
    const long long tenths = static_cast<long long>(gridWidth - 16) * 7;
    long long whole = tenths / 10;
    long long remainder = tenths % 10;
    if (remainder < 0) {
        whole -= 1;
        remainder += 10;
    }
    if (remainder > 5 || (remainder == 5 && whole % 2 != 0)) whole += 1;
    const int first = static_cast<int>(whole);
    return {first, gridWidth - first - 16};
}

std::vector<FdbEntry> checkFbVersions(const std::vector<std::string>& lines, const OdsReader& readOds,
                                      const std::function<void(int, const std::vector<FdbEntry>&)>& afterLine) {
    std::vector<FdbEntry> rows(1);
    int position = 0;
    for (const std::string& line : lines) {
        ++position;
        if (!trim(line).empty()) {
            if (!trim(rows.back().fdbFn).empty()) rows.emplace_back();
            FdbEntry& row = rows.back();
            row.fdbFn = line;
            row.odsDigits = trim(readOds(line, std::to_string(position)));
            row.fbVersionLabel = getFbVersionLabel(row.odsDigits);
        }
        if (afterLine) afterLine(position, rows);
    }
    return rows;
}

std::vector<std::string> firebird25Files(const std::vector<FdbEntry>& rows) {
    std::vector<std::string> files;
    for (const FdbEntry& row : rows)
        if (row.fbVersionLabel == texts_tasks::kFbVersionLabel25) files.push_back(row.fdbFn);
    return files;
}

std::vector<std::string> databaseLines(const std::vector<std::string>& lines) {
    std::vector<std::string> databases;
    for (const std::string& line : lines)
        if (!trim(line).empty()) databases.push_back(line);
    return databases;
}

std::string conversionBatchPath(bool nowMode, std::string_view tempFolder, std::string_view typedPath) {
    if (!nowMode) return std::string(typedPath);
    return folderPrefix(tempFolder) + std::string(texts_convert::kNowModeBatchName);
}

}  // namespace fbwb
