#include "env/server_discovery_win.h"

#include "core/file_helpers_win.h"
#include "core/text.h"
#include "platform/fs.h"
#include "platform/system.h"

namespace fbwb {

namespace {

constexpr int kArchitectureAmd64 = 9;

// The tool in the folder that holds instsvc.exe, or empty.
std::string findToolBesideInstSvc(std::string_view serverFolder, std::string_view toolName) {
    const std::string binFolder = findFbBinFolder(serverFolder);
    if (binFolder.empty() || !platform::folderExists(binFolder)) return {};
    const std::string candidate = folderPrefix(binFolder) + std::string(toolName);
    return platform::fileExists(candidate) ? candidate : std::string();
}

void addServersUnder(const std::string& folder, std::vector<std::string>& list) {
    const std::string firebirdFolder = folder + "Firebird\\";
    if (platform::folderExists(firebirdFolder)) addFbServersInFolder(firebirdFolder, list);
}

}  // namespace

int getOsArchitectureBits() { return platform::nativeProcessorArchitecture() == kArchitectureAmd64 ? 64 : 32; }

std::string findFbBinFolder(std::string_view serverFolder) {
    // An empty folder names no server; it must not turn into the root of the current drive.
    if (trim(serverFolder).empty()) return {};
    const std::string folder = folderPrefix(serverFolder);
    if (platform::fileExists(folder + "instsvc.exe")) return folder;
    if (platform::fileExists(folder + "bin\\instsvc.exe")) return folder + "bin\\";
    return {};
}

std::string findInstSvcFn(std::string_view serverFolder) { return findToolBesideInstSvc(serverFolder, "instsvc.exe"); }
std::string findGstatFn(std::string_view serverFolder) { return findToolBesideInstSvc(serverFolder, "gstat.exe"); }
std::string findGbakFn(std::string_view serverFolder) { return findToolBesideInstSvc(serverFolder, "gbak.exe"); }

std::string findFbClientLib(std::string_view serverFolder) {
    if (trim(serverFolder).empty()) return {};
    const std::string folder = folderPrefix(serverFolder);
    if (!platform::folderExists(folder)) return {};
    for (const char* candidate : {"WOW64\\fbclient.dll", "bin\\fbclient.dll", "fbclient.dll"}) {
        const std::string path = folder + candidate;
        if (platform::fileExists(path)) return path;
    }
    return {};
}

std::string findInstalledFbServers(std::string_view baseFolder) {
    return findInstalledFbServers(baseFolder, getProgramFilesFolder());
}

std::string findInstalledFbServers(std::string_view baseFolder, std::string_view programFilesFolder) {
    std::vector<std::string> list;
    addServersUnder(folderPrefix(baseFolder), list);

    const std::string programFiles = folderPrefix(programFilesFolder);
    if (platform::folderExists(programFiles)) addServersUnder(programFiles, list);

    if (upperAscii(programFiles).find(" (X86)") != std::string::npos) {
        const std::string nativeProgramFiles = replaceAllNoCase(programFiles, " (X86)", "");
        if (platform::folderExists(nativeProgramFiles)) addServersUnder(nativeProgramFiles, list);
    }

    std::string text;
    for (const std::string& path : list) {
        if (!text.empty()) text += "\r\n";
        text += path;
    }
    return text;
}

void addFbServersInFolder(std::string_view parentFolder, std::vector<std::string>& list) {
    std::vector<std::string> subfolders;
    listSubfolders(parentFolder, "*", subfolders, false, false);
    for (const std::string& subfolder : subfolders) {
        if (!findFbBinFolder(subfolder).empty()) list.push_back(subfolder);
    }
}

std::string getFbConfFn(std::string_view serverFolder) { return folderPrefix(serverFolder) + "firebird.conf"; }

std::string findFbServerExe(std::string_view serverFolder) {
    if (trim(serverFolder).empty()) return {};
    const std::string folder = folderPrefix(serverFolder);
    if (!platform::folderExists(folder)) return {};
    if (platform::fileExists(folder + "firebird.exe")) return folder + "firebird.exe";
    if (platform::fileExists(folder + "bin\\fbserver.exe")) return folder + "bin\\fbserver.exe";
    return {};
}

std::string getToolPath(std::string_view serverFolder, std::string_view toolName) {
    const std::string folder = folderPrefix(serverFolder);
    const std::string tool = trim(toolName);
    const std::string inBin = folder + "bin\\" + tool;
    if (platform::fileExists(inBin)) return inBin;
    const std::string inTop = folder + tool;
    // Firebird 3 keeps its tools in the top folder: name the file that is there.
    if (!tool.empty() && platform::fileExists(inTop)) return inTop;
    return inBin;
}

}  // namespace fbwb
