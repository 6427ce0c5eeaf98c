#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/encoding.h"
#include "platform/handles_win.h"

using namespace fbwb;

namespace {

// The manifest that Windows reads when it starts the program (resource 1 of type RT_MANIFEST).
std::string programManifest() {
    const platform::UniqueModule program(LoadLibraryExW(platform::widen(FBWB_PROGRAM_FILE).c_str(), nullptr,
                                                        LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!program) return {};
    HRSRC found = FindResourceW(program.get(), CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST);
    HGLOBAL loaded = found ? LoadResource(program.get(), found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    return data ? std::string(static_cast<const char*>(data), SizeofResource(program.get(), found)) : std::string();
}

std::string withoutBlanks(std::string text) {
    std::erase_if(text, [](char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; });
    return text;
}

}  // namespace

// Without a trustInfo section Windows runs the program virtualized: a firebird.conf under Program Files
// would be written into the user's VirtualStore and the server would never read it.
TEST(ProgramManifest, AsksForAdministratorRights) {
    const std::string manifest = withoutBlanks(programManifest());
    ASSERT_FALSE(manifest.empty()) << FBWB_PROGRAM_FILE;
    const size_t trust = manifest.find("<trustInfoxmlns=\"urn:schemas-microsoft-com:asm.v3\">");
    ASSERT_NE(trust, std::string::npos);
    const size_t level = manifest.find("<requestedExecutionLevellevel=\"requireAdministrator\"", trust);
    ASSERT_NE(level, std::string::npos);
    EXPECT_LT(level, manifest.find("</trustInfo>", trust));
    // Common Controls 6 stays.
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\"version=\"6.0.0.0\""), std::string::npos);
}
