#include "tasks/fdb_header.h"

#include "core/text.h"
#include "script/batch_lines.h"
#include "tasks/texts_tasks.h"

namespace fbwb {

namespace {

std::string decimalDigits(std::string_view text) {
    std::string digits;
    for (const char c : text) {
        if (c >= '0' && c <= '9') digits += c;
    }
    return digits;
}

}  // namespace

std::string getFbVersionLabel(std::string_view odsDigits) {
    const std::string major = trim(odsDigits).substr(0, 2);
    if (major == "11") return std::string(texts_tasks::kFbVersionLabel25);
    if (major == "12") return std::string(texts_tasks::kFbVersionLabel3);
    return std::string(texts_tasks::kFbVersionLabelUnknown);
}

std::string getOdsFromWrongOdsText(std::string_view text) {
    const std::string upper = upperAscii(trim(text));
    const size_t hit = upper.find(texts_tasks::kWrongOdsEncountered);
    if (hit == std::string::npos) return {};
    return decimalDigits(std::string_view(upper).substr(hit + texts_tasks::kWrongOdsEncountered.size()));
}

std::string getOdsFromHeaderLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        if (startsWith(upperAscii(trim(line)), texts_tasks::kOdsVersionLine)) return decimalDigits(line);
    }
    return {};
}

std::string getOdsFromHeaderReport(const std::vector<std::string>& lines) {
    const std::string text = upperAscii(trim(joinLinesCrLf(lines)));
    // The message counts only at the very start; one further down is left to the ODS line rule.
    if (startsWith(text, texts_tasks::kWrongOdsMessage)) return getOdsFromWrongOdsText(text);
    return getOdsFromHeaderLines(splitLines(text));
}

GstatHeaderField findGstatHeaderField(const std::vector<std::string>& lines, std::string_view label) {
    const std::string needle = "\t" + upperAscii(trim(label)) + "\t";
    for (size_t i = 0; i < lines.size(); ++i) {
        // Upper-casing keeps every byte in its place, so the needle's length cuts the original line.
        if (startsWith(upperAscii(lines[i]), needle)) {
            return {static_cast<int>(i), trim(std::string_view(lines[i]).substr(needle.size()))};
        }
    }
    return {};
}

std::string gstatRequestFileName(std::string_view tempFolder, std::string_view runId) {
    return std::string(tempFolder) + fill(texts_tasks::kGstatRequestFileFormat, {runId});
}

std::string gstatResultFileName(std::string_view tempFolder, std::string_view runId) {
    return std::string(tempFolder) + fill(texts_tasks::kGstatResultFileFormat, {runId});
}

std::string gstatHeaderBatchLine(std::string_view gstat, std::string_view database, std::string_view resultFile) {
    // The result file is cmd's redirection, not gstat's argument: cmd takes backslashes as they are.
    return fill(texts_tasks::kGstatHeaderLineFormat, {gstat, quotedArgumentText(database), resultFile});
}

}  // namespace fbwb
