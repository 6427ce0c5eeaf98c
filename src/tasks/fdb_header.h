#pragma once
// Reading the header report of gstat -h: the on-disk structure (ODS) version, the wrong-ODS message
// and labelled fields; the version label of a database entry; the one-line inspection batch.
#include <string>
#include <string_view>
#include <vector>

namespace fbwb {

struct FdbEntry {
    std::string fdbFn;           // as the list line holds it
    std::string odsDigits;       // "112", "120", "11" from a wrong-ODS message; empty when unknown
    std::string fbVersionLabel;  // getFbVersionLabel(odsDigits)
};

// "Firebird 2.5" for "11…", "Firebird 3" for "12…", else "     ?".
std::string getFbVersionLabel(std::string_view odsDigits);

// The digits after the first "ENCOUNTERED" (any case), to the end of the text; empty without it.
std::string getOdsFromWrongOdsText(std::string_view text);
// The digits of the first line that starts (after blanks) with "ODS VERSION" (any case); empty without one.
std::string getOdsFromHeaderLines(const std::vector<std::string>& lines);
// The ODS digits of a whole report: the wrong-ODS rule when the trimmed text starts with that
// message, the ODS line rule otherwise.
std::string getOdsFromHeaderReport(const std::vector<std::string>& lines);

struct GstatHeaderField {
    int index = -1;     // the field's line, from 0; -1 when not found
    std::string value;  // trimmed, in its own letter case; empty when not found
};
// A line TAB label TAB value (label compared without letter case).
GstatHeaderField findGstatHeaderField(const std::vector<std::string>& lines, std::string_view label);

// The inspection's files in the temp folder (with its trailing backslash) for run identifier R.
std::string gstatRequestFileName(std::string_view tempFolder, std::string_view runId);
std::string gstatResultFileName(std::string_view tempFolder, std::string_view runId);
// "gstat" -h "database" >> "result"
std::string gstatHeaderBatchLine(std::string_view gstat, std::string_view database, std::string_view resultFile);

}  // namespace fbwb
