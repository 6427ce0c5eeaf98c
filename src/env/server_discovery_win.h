#pragma once
// Where the installed Firebird servers are and where their files lie. Nothing here raises an
// error or shows anything: what is not found comes back as an empty text.
#include <string>
#include <string_view>
#include <vector>

namespace fbwb {

// 64 when the machine's native processor architecture is x64, else 32.
int getOsArchitectureBits();

// The folder that holds instsvc.exe (the server folder itself, else its bin subfolder), with a
// trailing backslash; empty when neither holds it.
std::string findFbBinFolder(std::string_view serverFolder);
// The tools, looked for only in the folder that holds instsvc.exe.
std::string findInstSvcFn(std::string_view serverFolder);
std::string findGstatFn(std::string_view serverFolder);
std::string findGbakFn(std::string_view serverFolder);
// fbclient.dll from WOW64\, bin\ or the server folder, in that order of preference.
std::string findFbClientLib(std::string_view serverFolder);

// The server folders under baseFolder\Firebird and under the Program Files Firebird folders,
// one path per line (no trailing backslash), CR LF between the lines; empty when none.
std::string findInstalledFbServers(std::string_view baseFolder);
// The same with the Program Files folder given (the registry's, in the view of 32-bit programs,
// above); a folder containing " (x86)" also has its native counterpart searched.
std::string findInstalledFbServers(std::string_view baseFolder, std::string_view programFilesFolder);
// Appends the subfolders of parentFolder that are server folders, in the file system's order.
void addFbServersInFolder(std::string_view parentFolder, std::vector<std::string>& list);

// The server's firebird.conf path; the file is not looked for.
std::string getFbConfFn(std::string_view serverFolder);
// firebird.exe in the server folder, else bin\fbserver.exe; empty when neither exists.
std::string findFbServerExe(std::string_view serverFolder);

// The path of a command-line tool of the server: serverFolder\bin\<tool>, unless only the server
// folder itself holds the tool (the layout whose tools lie in the top folder).
std::string getToolPath(std::string_view serverFolder, std::string_view toolName);

}  // namespace fbwb
