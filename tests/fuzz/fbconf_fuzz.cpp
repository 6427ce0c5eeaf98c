// firebird.conf as bytes and lines. Input: the file's bytes. Properties:
// - reading keeps every byte: the lines joined are the text without its mark and line breaks;
//   writing and reading again gives the same lines and mark; a file written with CR LF comes back
//   byte for byte;
// - every line's key is trimmed, holds no "=" and does not begin with "#"; its value is trimmed and
//   holds no "#" outside double quotes;
// - setFbConfLine with some of the file's own lines (and its commented form): lines of other keys
//   and blank lines keep their text and place, a blank new line changes nothing, at most one line is added, a setting
//   line becomes the key's active line and its value is read back, a commented one leaves the key without one.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/text.h"
#include "env/fbconf.h"
#include "fuzz/fuzz_support.h"

using namespace fbwb;
using fuzz::require;

namespace {

std::string withoutLineBreaks(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c != '\r' && c != '\n') out += c;
    }
    return out;
}

bool everyBreakIsCrLf(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) return false;
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
    }
    return true;
}

bool isBlankLine(const std::string& line) {
    std::string content = trim(line);
    if (startsWith(content, "\xEF\xBB\xBF")) content = trim(std::string_view(content).substr(3));
    return content.empty();
}

bool hasUnquotedHash(std::string_view value) {
    bool quoted = false;
    for (const char c : value) {
        if (c == '"') quoted = !quoted;
        if (c == '#' && !quoted) return true;
    }
    return false;
}

void checkLine(const std::vector<std::string>& lines, size_t index) {
    const std::string& line = lines[index];
    const std::string key = getConfLineKey(line);
    require(key == trim(key) && key.find('=') == std::string::npos && !startsWith(key, "#"),
            "a key is trimmed, without = and without a leading #", line);
    const std::string value = getConfLineValue(lines, static_cast<int>(index));
    require(value == trim(value) && !hasUnquotedHash(value), "a value is trimmed and ends before a comment", line);
    require(line.find(value) != std::string::npos, "a value is part of its line", line);
}

void checkSet(const std::vector<std::string>& before, const std::string& newLine) {
    std::vector<std::string> after = before;
    setFbConfLine(newLine, after);
    if (isBlankLine(newLine)) {
        require(after == before, "a blank new line changes nothing", newLine);
        return;
    }
    const std::string key = getConfLineKey(newLine);
    require(after.size() == before.size() || after.size() == before.size() + 1, "at most one line is added", newLine);
    for (size_t i = 0; i < before.size(); ++i) {
        if (isBlankLine(before[i]) || !equalsNoCase(getConfLineKey(before[i]), key))
            require(after[i] == before[i], "lines of other keys and blank lines stay", before[i] + " / " + newLine);
        else
            require(after[i] == before[i] || after[i] == newLine, "a line of the key becomes the new line", newLine);
    }
    if (after.size() > before.size()) require(after.back() == newLine, "an added line is the new line", newLine);
    const int active = findConfKeyLine(key, after);
    if (isConfCommentLine(newLine)) {
        require(active < 0, "a commented line leaves no active line of its key", newLine);
        return;
    }
    require(active >= 0 && after[static_cast<size_t>(active)] == newLine, "the new line is the key's active line",
            newLine);
    require(readFbConfValueFromLines(after, key, "-") == getConfLineValue({newLine}, 0), "its value is read back",
            newLine);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const ConfText text = parseConfText(bytes);
    const std::string_view body = text.utf8Bom ? bytes.substr(3) : bytes;
    require(text.utf8Bom == startsWith(bytes, "\xEF\xBB\xBF"), "the mark is remembered");

    std::string joined;
    for (const std::string& line : text.lines) {
        require(line.find_first_of("\r\n") == std::string::npos, "a line holds no line break", line);
        joined += line;
    }
    require(joined == withoutLineBreaks(body), "reading keeps every byte");

    const std::string written = formatConfText(text);
    const ConfText again = parseConfText(written);
    require(again.utf8Bom == text.utf8Bom && again.lines == text.lines, "written and read again, the same lines");
    if (endsWith(body, "\r\n") && everyBreakIsCrLf(body))
        require(written == bytes, "a CR LF file is written back byte for byte");

    if (!isSingleByteConfText(bytes)) {
        require(bytes.find('\0') != std::string_view::npos || startsWith(bytes, "\xFF\xFE") ||
                    startsWith(bytes, "\xFE\xFF"),
                "only a NUL byte or a UTF-16 mark makes a text not 8-bit");
        return 0;
    }

    for (size_t i = 0; i < text.lines.size(); ++i) checkLine(text.lines, i);
    // A few of the file's lines as new lines for the file itself (each set walks the whole file).
    const size_t step = text.lines.size() / 8 + 1;
    for (size_t i = 0; i < text.lines.size(); i += step) {
        checkSet(text.lines, text.lines[i]);
        checkSet(text.lines, "#" + text.lines[i]);
        if (isConfCommentLine(text.lines[i])) checkSet(text.lines, trim(text.lines[i]).substr(1));
    }
    return 0;
}
