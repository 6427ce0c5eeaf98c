#include "core/html_text.h"

#include <vector>

#include "core/text.h"

namespace fbwb {

std::string htmlText(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
        if (c == '&') {
            result += "&amp;";
        } else if (c == '<') {
            result += "&lt;";
        } else if (c == '>') {
            result += "&gt;";
        } else if (c == '"') {
            result += "&quot;";
        } else {
            result += c;
        }
    }
    return result;
}

std::string fillHtml(std::string_view format, std::initializer_list<std::string_view> values) {
    std::vector<std::string> escaped;
    escaped.reserve(values.size());
    for (const std::string_view value : values) escaped.push_back(htmlText(value));
    return fill(format, std::vector<std::string_view>(escaped.begin(), escaped.end()));
}

namespace {

bool keptInUrl(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~' || c == '/' || c == ':';
}

}  // namespace

std::string fileUrl(std::string_view path) {
    const std::string slashed = replaceAll(path, "\\", "/");
    // "//server/share" already holds the host; a drive path needs the empty host's "/".
    std::string url = startsWith(slashed, "//") ? "file:" : startsWith(slashed, "/") ? "file://" : "file:///";
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const char c : slashed) {
        const auto byte = static_cast<unsigned char>(c);
        if (keptInUrl(byte)) {
            url += c;
        } else {
            url += '%';
            url += kHex[byte >> 4];
            url += kHex[byte & 0x0F];
        }
    }
    return url;
}

}  // namespace fbwb
