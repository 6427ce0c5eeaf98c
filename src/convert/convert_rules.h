#pragma once
// The rules of the conversion to Firebird 3 that need no window: which server folder goes into which
// box, the version view's column widths and checking, the filter of the list, and the batch's name.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "tasks/db_list_choice.h"
#include "tasks/fdb_header.h"

namespace fbwb {

// What the conversion dialog hands to its run.
struct ConvertChoice {
    RunMode mode = RunMode::Now;
    std::string batchFile;           // edDbModBatch as typed
    std::vector<std::string> lines;  // mFdbFiles, blank lines included
    std::string oldServerFolder, newServerFolder;
    std::string oldUser, oldPassword, newUser, newPassword;
};

// The server folders of the dialog's two boxes, in list order.
struct ServerFolderBoxes {
    std::vector<std::string> oldServers;  // first digit after "\FIREBIRD\" below 3
    std::vector<std::string> newServers;  // 3 and above
};
// Each line of the (trimmed) list whose upper-cased text holds "\FIREBIRD\" goes by the first decimal
// digit from that marker's closing backslash on; a line without the marker or without a digit goes nowhere.
ServerFolderBoxes splitServerFolders(std::string_view serverList);

// The version view's two column widths for a grid gridWidth pixels wide: 70 % of the width less 16
// (halves to the even neighbour), and the rest less 16.
struct GridColumnWidths {
    int first = 0;
    int second = 0;
};
GridColumnWidths gridColumnWidths(int gridWidth);

// Fills the version view's rows from the list lines. rows starts as one empty row, which the first
// database takes over. Every line advances the position (blank ones too), and the position in
// decimal is the run identifier that readOds gets with the untrimmed line; afterLine is called after
// each line with the position and the rows so far.
using OdsReader = std::function<std::string(const std::string& line, const std::string& runId)>;
std::vector<FdbEntry> checkFbVersions(
    const std::vector<std::string>& lines, const OdsReader& readOds,
    const std::function<void(int position, const std::vector<FdbEntry>& rows)>& afterLine);

// The files of the rows whose label reads exactly "Firebird 2.5", in row order.
std::vector<std::string> firebird25Files(const std::vector<FdbEntry>& rows);

// The list lines that name a database: not blank after trimming, kept untrimmed, in order.
std::vector<std::string> databaseLines(const std::vector<std::string>& lines);

// The batch file of a run: in now mode "fdbConversions.bat" in the temp folder, else the typed path as it is.
std::string conversionBatchPath(bool nowMode, std::string_view tempFolder, std::string_view typedPath);

}  // namespace fbwb
