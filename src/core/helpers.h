#pragma once
// Path-string rules and placeholder expansion shared by the whole program. Pure text work:
// nothing here touches the file system or the clock (except the expandPlaceholders overload
// that reads it once).
#include <string>
#include <string_view>

#include "core/datetime.h"

namespace fbwb {

// "###YEAR###", "###DATE###" and "###DATETIME###" in any letter case, replaced in that order
// with the same instant.
std::string expandPlaceholders(std::string_view text, const LocalDateTime& now);
std::string expandPlaceholders(std::string_view text);

// nameOnly keeps the text after the last backslash or drive colon; stripExtension then removes
// the extension (from the last dot after the last delimiter, dot included).
std::string transformFileName(std::string_view path, bool nameOnly, bool stripExtension);

// The path with its extension replaced by newTail; a name without an extension gets newTail
// appended. replaceExtension("D:\\a\\conf.fdb", "_FB3.fdb") == "D:\\a\\conf_FB3.fdb".
std::string replaceExtension(std::string_view path, std::string_view newTail);

// The name of the folder that holds the file: "c:\\a\\bin\\x.exe" -> "bin", "c:\\x.exe" -> "c:",
// a bare name -> "". Forward slashes count as backslashes.
std::string getParentFolderName(std::string_view path);

// The folder part of a path, with its trailing backslash; empty for a bare name.
std::string folderOfPath(std::string_view path);

// Trimmed, with one trailing backslash; a leading ".\\" becomes executableFolder (given a
// trailing backslash when it lacks one).
std::string normalizeFolderPath(std::string_view path, std::string_view executableFolder);

}  // namespace fbwb
