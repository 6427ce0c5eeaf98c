#include "env/fbconf.h"

#include "core/text.h"

namespace fbwb {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Trimmed, and without a byte-order mark that an editor left at the start of the first line.
std::string trimmedContent(std::string_view line) {
    std::string result = trim(line);
    if (startsWith(result, kUtf8Bom)) result = trim(std::string_view(result).substr(kUtf8Bom.size()));
    return result;
}

}  // namespace

std::string getConfLineKey(std::string_view line) {
    std::string key = trimmedContent(line);
    const size_t equals = key.find('=');
    if (equals != std::string::npos) key = trim(std::string_view(key).substr(0, equals));
    while (startsWith(key, "#")) key = trim(std::string_view(key).substr(1));
    return key;
}

bool isConfCommentLine(std::string_view line) { return startsWith(trimmedContent(line), "#"); }

std::string getConfLineValue(const std::vector<std::string>& lines, int index) {
    if (index < 0 || static_cast<size_t>(index) >= lines.size()) return {};
    const std::string& line = lines[static_cast<size_t>(index)];
    const size_t equals = line.find('=');
    if (equals == std::string::npos) return {};
    // The server itself ends the value at a "#" outside double quotes: "3051 # test" is port 3051.
    std::string_view value = std::string_view(line).substr(equals + 1);
    bool quoted = false;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '"') quoted = !quoted;
        if (value[i] == '#' && !quoted) {
            value = value.substr(0, i);
            break;
        }
    }
    return trim(value);
}

int findConfKeyLine(std::string_view key, const std::vector<std::string>& lines) {
    const std::string wanted = trim(key);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (trimmedContent(lines[i]).empty() || isConfCommentLine(lines[i])) continue;
        if (equalsNoCase(getConfLineKey(lines[i]), wanted)) return static_cast<int>(i);
    }
    return -1;
}

void setFbConfLine(const std::string& newLine, std::vector<std::string>& lines) {
    if (trimmedContent(newLine).empty()) return;
    const std::string key = getConfLineKey(newLine);
    bool replaced = false;
    size_t firstCommented = lines.size();
    for (size_t i = 0; i < lines.size(); ++i) {
        // A blank line has an empty key; it must not be taken for a setting of an empty key.
        if (trimmedContent(lines[i]).empty()) continue;
        if (!equalsNoCase(getConfLineKey(lines[i]), key)) continue;
        if (!isConfCommentLine(lines[i])) {
            lines[i] = newLine;
            replaced = true;
        } else if (firstCommented == lines.size()) {
            firstCommented = i;
        }
    }
    if (replaced) return;
    if (firstCommented < lines.size()) {
        lines[firstCommented] = newLine;
    } else {
        lines.push_back(newLine);
    }
}

std::string readFbConfValueFromLines(const std::vector<std::string>& lines, std::string_view key,
                                     std::string_view defaultValue) {
    const int index = findConfKeyLine(key, lines);
    return index < 0 ? std::string(defaultValue) : getConfLineValue(lines, index);
}

bool isSingleByteConfText(std::string_view bytes) {
    if (startsWith(bytes, "\xFF\xFE") || startsWith(bytes, "\xFE\xFF")) return false;
    return bytes.find('\0') == std::string_view::npos;
}

ConfText parseConfText(std::string_view bytes) {
    ConfText text;
    if (startsWith(bytes, kUtf8Bom)) {
        text.utf8Bom = true;
        bytes.remove_prefix(kUtf8Bom.size());
    }
    text.lines = splitLines(bytes);
    return text;
}

std::string formatConfText(const ConfText& text) {
    std::string bytes = text.utf8Bom ? std::string(kUtf8Bom) : std::string();
    for (const auto& line : text.lines) bytes.append(line).append(text.lineEnd);
    return bytes;
}

}  // namespace fbwb
