#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "env/fbconf.h"
#include "platform/encoding.h"
#include "platform/fs.h"

using namespace fbwb;

namespace {

// A file in the system's temp folder, removed at the end of the test.
class ScratchFile {
public:
    ScratchFile(std::string_view name, std::string_view bytes) {
        wchar_t base[MAX_PATH + 1] = {};
        const DWORD length = GetTempPathW(MAX_PATH + 1, base);
        path_ = platform::narrow(std::wstring_view(base, length));
        if (path_.empty() || path_.back() != '\\') path_ += '\\';
        path_ += "fbwb_conf_" + std::to_string(GetCurrentProcessId()) + "_" + std::string(name);
        platform::writeFileBytes(path_, bytes);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    ~ScratchFile() { platform::deleteFileClearingAttributes(path_); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace

TEST(ReadFbConfValue, ReadsTheActiveLineOfTheFile) {
    struct Case {
        const char* name;
        std::string bytes;
        const char* expected;
    } cases[] = {
        {"crlf.conf", "# RemoteServicePort = 3051\r\nRemoteServicePort = 3052\r\nRemoteServicePort = 3053\r\n", "3052"},
        {"lf_bom.conf", "\xEF\xBB\xBFremoteserviceport=3054\n", "3054"},
        {"commented.conf", "#RemoteServicePort = 3051\r\n", "3050"},
        {"empty_value.conf", "RemoteServicePort =\r\n", ""},
        {"empty.conf", "", "3050"},
        {"nul.conf", std::string("X = \0\r\nRemoteServicePort = 3055", 31), "3055"},
        {"\xC3\x81rv\xC3\xADzt\xC5\xB1r\xC5\x91.conf", "RemoteServicePort = 3056", "3056"},
    };
    for (const auto& c : cases) {
        const ScratchFile file(c.name, c.bytes);
        EXPECT_EQ(readFbConfValue(file.path(), "RemoteServicePort", "3050"), c.expected) << c.name;
    }
}

TEST(ReadFbConfValue, NameIsTrimmed) {
    const ScratchFile file("trimmed.conf", "RemoteServicePort = 3057\r\n");
    EXPECT_EQ(readFbConfValue("  " + file.path() + " \t", "RemoteServicePort", "3050"), "3057");
}

TEST(ReadFbConfValue, NoFileGivesTheDefault) {
    const ScratchFile file("present.conf", "RemoteServicePort = 3058\r\n");
    EXPECT_EQ(readFbConfValue(file.path() + ".missing", "RemoteServicePort", "3050"), "3050");
    EXPECT_EQ(readFbConfValue("", "RemoteServicePort", "3050"), "3050");
    // A folder of that name is not a file.
    const std::string folder = file.path().substr(0, file.path().find_last_of('\\'));
    EXPECT_EQ(readFbConfValue(folder, "RemoteServicePort", "3050"), "3050");
}
