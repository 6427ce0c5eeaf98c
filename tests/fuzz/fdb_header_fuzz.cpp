// The reading of gstat -h reports. Input: a report (any bytes); its first byte also chooses where a
// well-formed ODS line or wrong-ODS message is put into it. Properties:
// - the ODS is digits only, and its label follows its first two digits;
// - letter case and the kind of line breaks never change what is read;
// - a field is found only on a line TAB label TAB, the first such line, and its value is that
//   line's rest, trimmed;
// - a report of other lines (none an ODS line, not beginning with the wrong-ODS message) with one
//   well-formed ODS line put anywhere gives that line's digits; a wrong-ODS message after blank
//   lines, followed by lines without digits, gives the digits it names.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/text.h"
#include "fuzz/fuzz_support.h"
#include "tasks/fdb_header.h"

using namespace fbwb;
using fuzz::require;
using Lines = std::vector<std::string>;

namespace {

bool digitsOnly(std::string_view text) { return text.find_first_not_of("0123456789") == std::string_view::npos; }

std::string lowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

Lines mapped(const Lines& lines, std::string (*f)(std::string_view)) {
    Lines out;
    for (const std::string& line : lines) out.push_back(f(line));
    return out;
}

std::string joinedLf(const Lines& lines) {
    std::string out;
    for (const std::string& line : lines) out += line + "\n";
    return out;
}

void checkOds(const Lines& lines) {
    const std::string ods = getOdsFromHeaderReport(lines);
    require(digitsOnly(ods), "the ODS is digits only", ods);
    const std::string label = getFbVersionLabel(ods);
    const std::string expected = startsWith(ods, "11")   ? "Firebird 2.5"
                                 : startsWith(ods, "12") ? "Firebird 3"
                                                         : "     ?";
    require(label == expected, "the label follows the first two digits", ods);
    require(getOdsFromHeaderReport(mapped(lines, upperAscii)) == ods, "upper case reads the same");
    require(getOdsFromHeaderReport(mapped(lines, lowerAscii)) == ods, "lower case reads the same");
    require(getOdsFromHeaderReport(splitLines(joinedLf(lines))) == ods, "LF line breaks read the same");
    require(getOdsFromHeaderReport(splitLines(joinLinesCrLf(lines))) == ods, "CR LF line breaks read the same");
}

void checkField(const Lines& lines, std::string_view label) {
    const GstatHeaderField field = findGstatHeaderField(lines, label);
    const std::string needle = "\t" + upperAscii(trim(label)) + "\t";
    size_t first = lines.size();
    for (size_t i = 0; i < lines.size() && first == lines.size(); ++i) {
        if (upperAscii(lines[i]).rfind(needle, 0) == 0) first = i;
    }
    if (first == lines.size()) {
        require(field.index == -1 && field.value.empty(), "no field without its line", std::string(label));
        return;
    }
    require(field.index == static_cast<int>(first), "the field's first line is found", std::string(label));
    require(field.value == trim(std::string_view(lines[first]).substr(needle.size())),
            "the value is the rest of its line, trimmed", lines[first]);
    require(findGstatHeaderField(lines, lowerAscii(label)).index == field.index, "the label's case does not matter",
            std::string(label));
}

bool isOdsLine(const std::string& line) { return startsWith(upperAscii(trim(line)), "ODS VERSION"); }

// A well-formed ODS line put into the report's other lines.
void checkPlantedOdsLine(const Lines& lines, unsigned char choice) {
    Lines others;
    for (const std::string& line : lines) {
        if (!isOdsLine(line)) others.push_back(line);
    }
    if (startsWith(upperAscii(trim(joinLinesCrLf(others))), "WRONG ODS VERSION")) others.insert(others.begin(), "x");
    const std::string major = std::to_string(10 + choice % 4);
    const std::string minor = std::to_string(choice / 4 % 3);
    Lines report = others;
    report.insert(report.begin() + static_cast<long>(choice % (others.size() + 1)),
                  "\tODS version\t\t" + major + "." + minor);
    require(getOdsFromHeaderReport(report) == major + minor, "a well-formed ODS line is read", joinLinesCrLf(report));
}

// A wrong-ODS message after blank lines, followed by the report's lines without digits.
void checkPlantedWrongOds(const Lines& lines, unsigned char choice) {
    Lines report(choice % 3, " ");
    const std::string found = std::to_string(10 + choice % 4);
    report.push_back("Wrong ODS version, expected 12, encountered " + found);
    for (const std::string& line : lines) {
        if (line.find_first_of("0123456789") == std::string::npos) report.push_back(line);
    }
    require(getOdsFromHeaderReport(report) == found, "the wrong-ODS message names the ODS", joinLinesCrLf(report));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Lines lines = splitLines(bytes);
    checkOds(lines);
    for (std::string_view label : {"Page buffers", "Attributes", "Page size", "ODS version"}) checkField(lines, label);
    if (!lines.empty()) checkField(lines, trim(lines.front()));
    const unsigned char choice = size ? data[0] : 0;
    checkPlantedOdsLine(lines, choice);
    checkPlantedWrongOds(lines, choice);
    return 0;
}
