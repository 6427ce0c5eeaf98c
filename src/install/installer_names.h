#pragma once
// The two server versions the installer knows and every name derived from one: base, kit, display
// and service names, the install folder under a root folder, the search pattern of earlier
// installations, the ZIP file name and the no-kit text. Pure text work.
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace fbwb {

enum TInstallerVersion : std::uint8_t { ivNone = 0, ivFb2_5 = 1, ivFb3_0 = 2 };
// Walked in ascending order, so 2.5 always comes before 3.0.
using TInstallerVersions = std::set<TInstallerVersion>;

enum TInstallerSourceKind : std::uint8_t { iskNone = 0, iskResource = 1, iskFile = 2 };

struct TInstallerSource {
    bool available = false;
    TInstallerSourceKind kind = iskNone;
    // iskResource: the kit name; iskFile: the ZIP's full file name; iskNone: empty.
    std::string resourceOrFileName;
};

TInstallerVersions getInstallerVersions();

// Any byte is accepted; values other than 1 and 2 give empty names.
std::string getInstallerBaseName(std::uint8_t version);
// Base name + "_" + bits + "bit"; empty for an unknown version.
std::string getInstallerName(std::uint8_t version, int osBits);
std::string getInstallerDisplayName(std::uint8_t version);
std::string getInstallerServiceNameFragment(std::uint8_t version);

// The program's folder (trailing backslash added when missing) + kit name + ".zip".
std::string installerZipFnIn(std::string_view exeFolder, std::string_view kitName);
// The root, trimmed, with a trailing backslash, + kit name + "\".
std::string installerFolderUnder(std::string_view rootFolder, std::string_view kitName);
// Base name + "*": the install folders of both bitnesses.
std::string installerSearchPattern(std::uint8_t version);

// The lines shown when no version has a kit, given the two ZIP names beside the program.
std::vector<std::string> noInstallerTextLines(std::string_view zipFn2_5, std::string_view zipFn3_0);

}  // namespace fbwb
