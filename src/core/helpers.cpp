#include "core/helpers.h"

#include "core/text.h"

namespace fbwb {

namespace {

constexpr std::string_view kPathDelimiters = "\\:";

// Index just after the last delimiter, 0 when there is none.
size_t nameStart(std::string_view path, std::string_view delimiters) {
    const size_t last = path.find_last_of(delimiters);
    return last == std::string_view::npos ? 0 : last + 1;
}

// Index of the extension's dot, or npos when the name part has no dot.
size_t extensionStart(std::string_view path) {
    const size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || dot < nameStart(path, kPathDelimiters)) return std::string_view::npos;
    return dot;
}

}  // namespace

std::string expandPlaceholders(std::string_view text, const LocalDateTime& now) {
    std::string result = replaceAllNoCase(text, "###YEAR###", formatYear(now));
    result = replaceAllNoCase(result, "###DATE###", formatCompactDate(now));
    return replaceAllNoCase(result, "###DATETIME###", formatCompactDateTime(now));
}

std::string expandPlaceholders(std::string_view text) { return expandPlaceholders(text, localNow()); }

std::string transformFileName(std::string_view path, bool nameOnly, bool stripExtension) {
    std::string_view result = path;
    if (nameOnly) result = result.substr(nameStart(result, kPathDelimiters));
    if (stripExtension) {
        const size_t dot = extensionStart(result);
        if (dot != std::string_view::npos) result = result.substr(0, dot);
    }
    return std::string(result);
}

std::string replaceExtension(std::string_view path, std::string_view newTail) {
    const size_t dot = extensionStart(path);
    std::string result(dot == std::string_view::npos ? path : path.substr(0, dot));
    return result.append(newTail);
}

std::string getParentFolderName(std::string_view path) {
    // A user-typed folder may use forward slashes; they delimit like backslashes.
    std::string folder(path.substr(0, nameStart(path, "\\/:")));
    for (char& c : folder) {
        if (c == '/') c = '\\';
    }
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    const size_t last = folder.rfind('\\');
    return trim(last == std::string::npos ? std::string_view(folder) : std::string_view(folder).substr(last + 1));
}

std::string normalizeFolderPath(std::string_view path, std::string_view executableFolder) {
    std::string result = folderPrefix(path);
    if (startsWith(result, ".\\")) result = withTrailingBackslash(executableFolder) + result.substr(2);
    return result;
}

std::string folderOfPath(std::string_view path) {
    const size_t cut = path.find_last_of("\\/");
    return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut + 1));
}

}  // namespace fbwb
