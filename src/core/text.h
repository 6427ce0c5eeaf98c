#pragma once
// Text rules shared by every subsystem. Text is UTF-8; only ASCII letters change case.
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace fbwb {

// Removes every character up to and including the blank (all control characters too) from both ends.
std::string trim(std::string_view text);
std::string upperAscii(std::string_view text);
bool equalsNoCase(std::string_view a, std::string_view b);
bool startsWith(std::string_view text, std::string_view prefix);
bool endsWith(std::string_view text, std::string_view suffix);

// Exactly one trailing backslash, added only when missing (the text is not trimmed).
std::string withTrailingBackslash(std::string_view folder);
// Trimmed, then with a trailing backslash: the form every folder takes before a name is appended.
std::string folderPrefix(std::string_view folder);

// Whether the whole name matches the mask: "*" any run of characters, "?" one character, the rest
// exactly (fold letter case first where it does not count). "*.*" is every name, as on Windows.
bool matchesWildcards(std::string_view name, std::string_view mask);

std::string replaceAll(std::string_view text, std::string_view what, std::string_view with);
std::string replaceAllNoCase(std::string_view text, std::string_view what, std::string_view with);

// Splits at CR LF, CR or LF; a trailing line break adds no empty line; an empty text gives no line.
std::vector<std::string> splitLines(std::string_view text);
// Each line followed by CR LF.
std::string joinLinesCrLf(const std::vector<std::string>& lines);

// Fills the %s / %d places of a fixed format, in order, with ready texts; "%%" stays "%%".
std::string fill(std::string_view format, std::initializer_list<std::string_view> values);
std::string fill(std::string_view format, const std::vector<std::string_view>& values);

// Decodes one well-formed UTF-8 sequence at `at`; its length, or 0 when the bytes there are not one
// (overlong forms, surrogates and values past U+10FFFF included).
size_t decodeUtf8(std::string_view text, size_t at, char32_t& codePoint);

}  // namespace fbwb
