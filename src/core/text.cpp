#include "core/text.h"

#include <algorithm>

namespace fbwb {

namespace {
bool isBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }
char upperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

std::string trim(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && isBlankOrControl(text[begin])) ++begin;
    while (end > begin && isBlankOrControl(text[end - 1])) --end;
    return std::string(text.substr(begin, end - begin));
}

std::string upperAscii(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), upperChar);
    return result;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return upperChar(x) == upperChar(y);
           });
}

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

bool endsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

namespace {

// The length of the UTF-8 character that starts at position.
size_t characterLength(std::string_view text, size_t position) {
    size_t end = position + 1;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
    return end - position;
}

}  // namespace

bool matchesWildcards(std::string_view name, std::string_view mask) {
    if (mask == "*.*") mask = "*";
    // Greedy, going back only to the last star: linear for the masks that occur.
    size_t n = 0, m = 0;
    size_t starMask = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (m < mask.size() && mask[m] == '?') {
            ++m;
            n += characterLength(name, n);
        } else if (m < mask.size() && mask[m] == name[n]) {
            ++m;
            ++n;
        } else if (starMask != std::string_view::npos) {
            m = starMask + 1;
            starName += characterLength(name, starName);
            n = starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') ++m;
    return m == mask.size();
}

std::string withTrailingBackslash(std::string_view folder) {
    std::string result(folder);
    if (!endsWith(result, "\\")) result += '\\';
    return result;
}

std::string folderPrefix(std::string_view folder) { return withTrailingBackslash(trim(folder)); }

std::string replaceAll(std::string_view text, std::string_view what, std::string_view with) {
    if (what.empty()) return std::string(text);
    std::string result;
    size_t pos = 0;
    for (size_t hit; (hit = text.find(what, pos)) != std::string_view::npos; pos = hit + what.size()) {
        result.append(text.substr(pos, hit - pos)).append(with);
    }
    return result.append(text.substr(pos));
}

std::string replaceAllNoCase(std::string_view text, std::string_view what, std::string_view with) {
    if (what.empty()) return std::string(text);
    const std::string upperText = upperAscii(text);
    const std::string upperWhat = upperAscii(what);
    std::string result;
    size_t pos = 0;
    for (size_t hit; (hit = upperText.find(upperWhat, pos)) != std::string::npos; pos = hit + what.size()) {
        result.append(text.substr(pos, hit - pos)).append(with);
    }
    return result.append(text.substr(pos));
}

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

std::string joinLinesCrLf(const std::vector<std::string>& lines) {
    std::string result;
    for (const auto& line : lines) result.append(line).append("\r\n");
    return result;
}

namespace {

std::string fillRange(std::string_view format, const std::string_view* next, const std::string_view* end) {
    std::string result;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            const char kind = format[i + 1];
            if ((kind == 's' || kind == 'd') && next != end) {
                result.append(*next++);
                ++i;
                continue;
            }
        }
        result += format[i];
    }
    return result;
}

}  // namespace

std::string fill(std::string_view format, std::initializer_list<std::string_view> values) {
    return fillRange(format, values.begin(), values.end());
}

std::string fill(std::string_view format, const std::vector<std::string_view>& values) {
    return fillRange(format, values.data(), values.data() + values.size());
}

size_t decodeUtf8(std::string_view text, size_t at, char32_t& codePoint) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    size_t length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
        value = (value << 6) | (byte(at + i) & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    codePoint = value;
    return length;
}

}  // namespace fbwb
