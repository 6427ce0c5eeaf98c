#pragma once
// The database tasks' texts and formats, byte for byte; formats are filled with fill().
#include <string_view>

namespace fbwb::texts_tasks {

// The version label of a database entry, from the first two ODS digits.
inline constexpr std::string_view kFbVersionLabel25 = "Firebird 2.5";
inline constexpr std::string_view kFbVersionLabel3 = "Firebird 3";
// Five blanks before the question mark.
inline constexpr std::string_view kFbVersionLabelUnknown = "     ?";

// The header inspection's files in the temp folder, filled with the run identifier, and its one batch line
// (gstat, database, result file).
inline constexpr std::string_view kGstatRequestFileFormat = "gstatRq%s.bat";
inline constexpr std::string_view kGstatResultFileFormat = "gstatRes%s.txt";
inline constexpr std::string_view kGstatHeaderLineFormat = "\"%s\" -h \"%s\" >> \"%s\"";
// The shell verb the inspection batch is opened with.
inline constexpr std::string_view kGstatShellVerb = "open";

// What a gstat -h report is read by, upper-cased: the wrong-ODS message, the word before the ODS
// it names, the ODS line; and the labels of the header fields the settings are read from.
inline constexpr std::string_view kWrongOdsMessage = "WRONG ODS VERSION";
inline constexpr std::string_view kWrongOdsEncountered = "ENCOUNTERED";
inline constexpr std::string_view kOdsVersionLine = "ODS VERSION";
inline constexpr std::string_view kGstatPageBuffersLabel = "Page buffers";
inline constexpr std::string_view kGstatAttributesLabel = "Attributes";

}  // namespace fbwb::texts_tasks
