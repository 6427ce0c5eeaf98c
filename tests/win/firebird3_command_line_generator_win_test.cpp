#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/encoding.h"
#include "platform/fs.h"
#include "script/firebird3_command_line_generator.h"

using namespace fbwb;

namespace {

const LocalDateTime kMarch15{2017, 3, 15, 14, 25, 1};

// Two server folders of the two layouts, and one whose gbak.exe lies without instsvc.exe.
class ServerFolders {
public:
    ServerFolders() {
        wchar_t base[MAX_PATH + 1] = {};
        const DWORD length = GetTempPathW(MAX_PATH + 1, base);
        root_ = platform::narrow(std::wstring_view(base, length));
        if (root_.empty() || root_.back() != '\\') root_ += '\\';
        root_ += "fbwb_gen_" + std::to_string(GetCurrentProcessId()) + "\\";
        for (const char* file : {"old\\bin\\instsvc.exe", "old\\bin\\gbak.exe", "new\\instsvc.exe",
                                 "new\\gbak.exe", "loose\\gbak.exe"}) {
            const std::string path = root_ + file;
            platform::createFolders(path.substr(0, path.find_last_of('\\')));
            platform::writeFileBytes(path, "stand-in");
            files_.push_back(path);
        }
    }
    ServerFolders(const ServerFolders&) = delete;
    ServerFolders& operator=(const ServerFolders&) = delete;
    ~ServerFolders() {
        for (const auto& file : files_) platform::deleteFileClearingAttributes(file);
        for (const char* folder : {"old\\bin", "old", "new", "loose", ""}) {
            RemoveDirectoryW(platform::widen(root_ + folder).c_str());
        }
    }
    std::string operator/(const char* relative) const { return root_ + relative; }

private:
    std::string root_;
    std::vector<std::string> files_;
};

}  // namespace

TEST(Firebird3CommandLineGeneratorWin, ConvertsWithTheGbakOfEachServer) {
    const ServerFolders servers;
    TFirebird3CommandLineGenerator generator;
    const auto error = generator.addConvertFdbCmdLines(servers / "old", " " + servers / "new\\" + " ",
                                                       "D:\\Data\\2017\\conf.fdb", "SYSDBA", "a", "SYSDBA", "b",
                                                       kMarch15);
    EXPECT_FALSE(error);
    ASSERT_EQ(generator.cmdLines().size(), 7u);
    EXPECT_EQ(generator.cmdLines()[0], "call \"" + servers / "old\\bin\\gbak.exe" +
                                           "\" -v -t -USER SYSDBA -PASSWORD a \"D:\\Data\\2017\\conf.fdb\" "
                                           "\"D:\\Data\\2017\\conf_20170315_142501.fbk\" ");
    EXPECT_EQ(generator.cmdLines()[2], "call \"" + servers / "new\\gbak.exe" +
                                           "\" -c -v -USER SYSDBA -PASSWORD b "
                                           "\"D:\\Data\\2017\\conf_20170315_142501.fbk\" \"D:\\Data\\2017\\conf_FB3.fdb\"");
}

TEST(Firebird3CommandLineGeneratorWin, MissingGbakLeavesTheDatabaseOut) {
    const ServerFolders servers;
    TFirebird3CommandLineGenerator generator;
    // gbak.exe without instsvc.exe does not count; a missing folder neither.
    EXPECT_FALSE(generator.addConvertFdbCmdLines(servers / "loose", servers / "new", "D:\\a.fdb", "u", "p", "u", "p"));
    EXPECT_FALSE(generator.addConvertFdbCmdLines(servers / "old", servers / "none", "D:\\a.fdb", "u", "p", "u", "p"));
    EXPECT_FALSE(generator.addConvertFdbCmdLines("", "", "D:\\a.fdb", "u", "p", "u", "p"));
    EXPECT_TRUE(generator.cmdLines().empty());
}
