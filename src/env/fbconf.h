#pragma once
// firebird.conf lines: "Key = Value" settings, "#" comments (a commented setting keeps its key),
// and the rules that read a key's value and put a setting line into the file's lines.
#include <string>
#include <string_view>
#include <vector>

namespace fbwb {

// The key of a line: the trimmed text before the first "=", with leading "#" removed (a
// commented-out setting has the key of the setting).
std::string getConfLineKey(std::string_view line);
// The trimmed line begins with "#".
bool isConfCommentLine(std::string_view line);
// The trimmed text after the first "=" of lines[index], up to a "#" outside double quotes (a
// comment, as the server reads it); empty without "=" or outside the list.
std::string getConfLineValue(const std::vector<std::string>& lines, int index);
// Index of the key's active line (the first non-empty, non-comment line with that key,
// compared without ASCII case), or -1.
int findConfKeyLine(std::string_view key, const std::vector<std::string>& lines);
// Puts newLine in place: replaces every setting line of its key; else the first commented line
// of the key; else appends it. A blank newLine (blanks and a byte-order mark count) changes nothing;
// blank lines are never replaced.
void setFbConfLine(const std::string& newLine, std::vector<std::string>& lines);
// The value of the key's active line (even when empty), or defaultValue.
std::string readFbConfValueFromLines(const std::vector<std::string>& lines, std::string_view key,
                                     std::string_view defaultValue);

// A configuration file as lines. Reading never loses a byte of content: a UTF-8 byte-order mark is
// remembered apart (so it never spoils the first key), NUL bytes stay inside their line, and
// CR LF, lone CR and lone LF all end a line.
struct ConfText {
    bool utf8Bom = false;
    std::vector<std::string> lines;
    std::string lineEnd = "\r\n";  // what formatConfText writes after every line
};

ConfText parseConfText(std::string_view bytes);
// False for text that is not 8-bit (a UTF-16 byte-order mark, or any NUL byte, as UTF-16 without a
// mark has): its lines would not be the file's lines, so it must not be edited.
bool isSingleByteConfText(std::string_view bytes);
// The mark (when there was one), then every line followed by lineEnd.
std::string formatConfText(const ConfText& text);

// The file's value of the key, or defaultValue when the (trimmed) file name names no readable
// file or the key has no active line. Windows build only.
std::string readFbConfValue(std::string_view fileName, std::string_view key, std::string_view defaultValue);
// The server's port as its firebird.conf gives it: "RemoteServicePort", "3050" by default. Windows build only.
std::string readRemoteServicePort(std::string_view fileName);

}  // namespace fbwb
