#pragma once
// The conversion's run: one batch file of backup and restore lines for the listed databases, opened
// at once (now mode) or left where the administrator named it (batch mode). No log, no report.
#include <string>
#include <string_view>
#include <vector>

#include "convert/convert_rules.h"

namespace fbwb {

// The ports of the first 2.x and the first 3.x server of the list ("RemoteServicePort" of its
// firebird.conf, 3050 by default); empty for a generation that has no server in the list.
struct ConversionPorts {
    std::string oldPort;
    std::string newPort;
};
ConversionPorts conversionPorts(const std::vector<std::string>& serverFolders);

// Writes the batch (its folder created with every missing parent) and opens or announces it.
// A batch that cannot be saved throws std::runtime_error with the system's text.
void runConversion(const ConvertChoice& choice, std::string_view tempFolder);

}  // namespace fbwb
