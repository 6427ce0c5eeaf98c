// The text, path and date helpers. Input: text fields (see fuzz_support.h); the first two also serve
// as a searched text and its replacement, the first bytes as a date. Properties:
// - trim takes only blanks and control characters, from the ends only, and is idempotent;
//   upper-casing keeps the length, changes only a-z and agrees with the case-blind comparison;
// - replacing with a byte the text does not hold and back gives the text again; the case-blind
//   replacement, upper-cased, is the plain one of the upper-cased texts;
// - splitting into lines keeps every byte but the line breaks, and joining with CR LF and splitting
//   again gives the same lines;
// - fill puts each value in its place once, unread, and leaves places beyond the values as written;
// - file-name rules: the name has no delimiter and ends the path, the stem begins it, an
//   extension replaced twice is replaced once, forward slashes count as backslashes for the
//   parent folder, a normalised folder ends in a backslash and normalises to itself;
// - placeholders leave none of their kind behind; dates printed in range read back.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/datetime.h"
#include "core/helpers.h"
#include "core/text.h"
#include "fuzz/fuzz_support.h"

using namespace fbwb;
using fuzz::require;

namespace {

bool blankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

void checkTrimAndCase(const std::string& s) {
    const std::string t = trim(s);
    require(trim(t) == t, "trim is idempotent", s);
    const size_t at = s.find(t);
    require(at != std::string::npos, "trim keeps a part of the text", s);
    if (!t.empty()) {
        require(!blankOrControl(t.front()) && !blankOrControl(t.back()), "trim leaves no blank at either end", s);
        for (size_t i = 0; i < at; ++i) require(blankOrControl(s[i]), "trim takes only blanks from the start", s);
        for (size_t i = at + t.size(); i < s.size(); ++i)
            require(blankOrControl(s[i]), "trim takes only blanks from the end", s);
    } else {
        for (const char c : s) require(blankOrControl(c), "only a blank text trims to nothing", s);
    }
    const std::string u = upperAscii(s);
    require(u.size() == s.size() && upperAscii(u) == u, "upper-casing keeps the length and is idempotent", s);
    for (size_t i = 0; i < s.size(); ++i)
        require(u[i] == s[i] || (s[i] >= 'a' && s[i] <= 'z' && u[i] == s[i] - 'a' + 'A'), "only a-z change", s);
    require(equalsNoCase(s, u) && equalsNoCase(u, s), "a text equals its upper case without case", s);
}

void checkReplace(const std::string& text, const std::string& what, const std::string& with) {
    require(replaceAll(text, what, what) == text, "replacing a text by itself changes nothing", text);
    // A byte that occurs in neither text marks the replaced places.
    int marker = 1;
    while (marker < 256 && (text.find(static_cast<char>(marker)) != std::string::npos ||
                            what.find(static_cast<char>(marker)) != std::string::npos))
        ++marker;
    if (marker < 256 && !what.empty()) {
        const std::string m(1, static_cast<char>(marker));
        require(replaceAll(replaceAll(text, what, m), m, what) == text, "replaced and back gives the text", text);
    }
    require(upperAscii(replaceAllNoCase(text, what, with)) ==
                replaceAll(upperAscii(text), upperAscii(what), upperAscii(with)),
            "the case-blind replacement finds the same places", text + " / " + what);
}

void checkLines(const std::string& text) {
    const std::vector<std::string> lines = splitLines(text);
    std::string kept, expected;
    for (const std::string& line : lines) {
        require(line.find_first_of("\r\n") == std::string::npos, "a line holds no line break", line);
        kept += line;
    }
    for (const char c : text) {
        if (c != '\r' && c != '\n') expected += c;
    }
    require(kept == expected, "splitting keeps every byte but the line breaks", text);
    require(splitLines(joinLinesCrLf(lines)) == lines, "joined with CR LF and split again, the same lines", text);
}

// A format of the fields' text between places, filled with one value fewer than it has places.
void checkFill(const std::vector<std::string>& parts) {
    if (parts.size() < 3) return;
    std::string format, expected;
    const std::vector<std::string> values = {"%s", "<%d>"};
    for (size_t i = 0; i < parts.size(); ++i) {
        // Literal text without a '%', so that every place is one of those put here.
        std::string literal;
        for (const char c : parts[i]) {
            if (c != '%') literal += c;
        }
        format += literal;
        expected += literal;
        if (i + 1 == parts.size()) break;
        const char* place = i % 2 ? "%d" : "%s";
        format += place;
        expected += i < values.size() ? values[i] : std::string(place);
    }
    require(fill(format, {values[0], values[1]}) == expected, "fill puts each value in its place, once", format);
    require(fill(format, {}) == format, "without values a format stays as written", format);
}

void checkFileNames(const std::string& path, const std::string& tail) {
    const std::string name = transformFileName(path, true, false);
    require(name.find_first_of("\\:") == std::string::npos && endsWith(path, name),
            "the name has no delimiter and ends the path", path);
    const std::string stem = transformFileName(path, false, true);
    require(startsWith(path, stem), "the stem begins the path", path);
    const std::string extension = path.substr(stem.size());
    require(extension.empty() || (extension[0] == '.' && extension.find_first_of("\\:") == std::string::npos),
            "what the stem leaves is an extension", path);
    require(replaceExtension(path, tail) == stem + tail, "a replaced extension follows the stem", path);
    std::string dotted = "." + tail;
    for (char& c : dotted) {
        if (c == '.' || c == '\\' || c == ':') c = '_';
    }
    dotted[0] = '.';
    require(replaceExtension(replaceExtension(path, dotted), dotted) == replaceExtension(path, dotted),
            "an extension replaced twice is replaced once", path + " / " + dotted);

    std::string slashed = path;
    for (char& c : slashed) {
        if (c == '/') c = '\\';
    }
    const std::string parent = getParentFolderName(path);
    require(parent == getParentFolderName(slashed), "a forward slash counts as a backslash", path);
    require(parent.find_first_of("\\/") == std::string::npos && parent == trim(parent),
            "the parent folder's name is one trimmed name", path);

    const std::string folder = normalizeFolderPath(path, tail);
    require(endsWith(folder, "\\"), "a normalised folder ends in a backslash", path);
    if (folder == trim(folder) && !startsWith(folder, ".\\"))
        require(normalizeFolderPath(folder, tail) == folder, "a normalised folder normalises to itself", path);
}

void checkPlaceholders(const std::string& text, const LocalDateTime& now) {
    const std::string upper = upperAscii(expandPlaceholders(text, now));
    for (const char* token : {"###YEAR###", "###DATE###", "###DATETIME###"})
        require(upper.find(token) == std::string::npos, "no placeholder is left", text);
}

void checkDates(const uint8_t* data, size_t size) {
    if (size < 7) return;
    const LocalDateTime t{
        (data[0] * 40 + data[1]) % 10000, 1 + data[2] % 12, 1 + data[3] % 31, data[4] % 24, data[5] % 60, data[6] % 60};
    LocalDateTime r;
    require(std::sscanf(formatDateTime(t).c_str(), "%4d.%2d.%2d %2d:%2d:%2d", &r.year, &r.month, &r.day, &r.hour,
                        &r.minute, &r.second) == 6 &&
                formatDateTime(t).size() == 19,
            "a printed date and time has its fixed form", formatDateTime(t));
    require(r.year == t.year && r.month == t.month && r.day == t.day && r.hour == t.hour && r.minute == t.minute &&
                r.second == t.second,
            "a printed date and time reads back", formatDateTime(t));
    require(formatStamp(t) == formatCompactDate(t) + "_" + formatCompactDateTime(t).substr(8),
            "the stamp is the compact date and time", formatStamp(t));
    require(formatDate(t) == formatDateTime(t).substr(0, 10) && formatYear(t) == formatDate(t).substr(0, 4),
            "the shorter forms are the start of the long one", formatDateTime(t));
    checkPlaceholders(std::string(reinterpret_cast<const char*>(data), size), t);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string whole(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> parts = fuzz::fields(data, size);
    const std::string first = fuzz::field(parts, 0, "");
    const std::string second = fuzz::field(parts, 1, "");
    checkTrimAndCase(whole);
    for (const std::string& part : parts) {
        checkTrimAndCase(part);
        checkFileNames(part, second);
    }
    checkReplace(whole, first, second);
    checkReplace(whole, second, first);
    checkLines(whole);
    checkFill(parts);
    checkPlaceholders(whole, {2026, 12, 11, 3, 4, 5});
    checkDates(data, size);
    return 0;
}
