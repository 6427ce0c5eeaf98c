#include "install/installer_names.h"

#include "core/text.h"
#include "install/texts_install.h"

namespace fbwb {

namespace {

struct VersionNames {
    std::string_view base;
    std::string_view display;
    std::string_view fragment;
};

const VersionNames* namesOf(std::uint8_t version) {
    static constexpr VersionNames k2_5{"Firebird_2_5_5", "Firebird 2.5", "Kelmora2"};
    static constexpr VersionNames k3_0{"Firebird_3_0_0", "Firebird 3.0", "Kelmora3"};
    switch (version) {
        case ivFb2_5:
            return &k2_5;
        case ivFb3_0:
            return &k3_0;
        default:
            return nullptr;
    }
}

}  // namespace

TInstallerVersions getInstallerVersions() { return {ivFb2_5, ivFb3_0}; }

std::string getInstallerBaseName(std::uint8_t version) {
    const VersionNames* names = namesOf(version);
    return names ? std::string(names->base) : std::string();
}

std::string getInstallerName(std::uint8_t version, int osBits) {
    const std::string base = getInstallerBaseName(version);
    return base.empty() ? base : base + "_" + std::to_string(osBits) + "bit";
}

std::string getInstallerDisplayName(std::uint8_t version) {
    const VersionNames* names = namesOf(version);
    return names ? std::string(names->display) : std::string();
}

std::string getInstallerServiceNameFragment(std::uint8_t version) {
    const VersionNames* names = namesOf(version);
    return names ? std::string(names->fragment) : std::string();
}

std::string installerZipFnIn(std::string_view exeFolder, std::string_view kitName) {
    return withTrailingBackslash(exeFolder) + std::string(kitName) + ".zip";
}

std::string installerFolderUnder(std::string_view rootFolder, std::string_view kitName) {
    return folderPrefix(rootFolder) + std::string(kitName) + "\\";
}

std::string installerSearchPattern(std::uint8_t version) { return getInstallerBaseName(version) + "*"; }

std::vector<std::string> noInstallerTextLines(std::string_view zipFn2_5, std::string_view zipFn3_0) {
    return {"",
            "",
            std::string(texts_install::kNoInstallerFound),
            std::string(texts_install::kAcceptedInstallers),
            "",
            std::string(zipFn2_5),
            std::string(zipFn3_0)};
}

}  // namespace fbwb
