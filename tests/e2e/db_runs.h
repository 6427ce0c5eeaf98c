#pragma once
// What the end-to-end tests of the database runs share: the scratch machine around a run (server
// folder, temp and data folders, a fresh copy of the pristine database), running a batch as the
// program does, and reading back what it left.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "core/common_settings.h"
#include "core/helpers.h"
#include "core/text.h"
#include "core/working_fields.h"
#include "e2e/machine.h"
#include "platform/encoding.h"
#include "platform/fs.h"
#include "platform/process.h"
#include "platform/prompter.h"
#include "platform/scripted_prompter.h"
#include "win/temp_folder.h"

namespace fbwb::test {

inline constexpr auto kBatchLimit = std::chrono::minutes(3);
inline constexpr const char* kTemplate = "C:\\fbwb-fixture\\template.fdb";
inline constexpr const char* kStandIn = "C:\\fbwb-fixture\\tool_standin.exe";
inline constexpr const char* kFinished =
    "A m\xC5\xB1velet sikeresen befejez\xC5\x91"
    "d\xC3\xB6tt.";
// After a run in which something failed, success is not claimed.
inline constexpr const char* kFinishedWithErrors =
    "A m\xC5\xB1velet befejez\xC5\x91"
    "d\xC3\xB6tt, de nem minden siker\xC3\xBClt: "
    "a r\xC3\xA9szleteket a m\xC5\xB1veleti napl\xC3\xB3 mutatja.";

inline std::string fileText(const std::string& path, unsigned codePage) {
    const auto bytes = platform::readFileBytes(path);
    return bytes ? platform::fromCodePage(*bytes, codePage) : std::string("<missing>");
}

inline bool contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The names of the files in a folder that match the mask.
inline std::vector<std::string> fileNames(const std::string& folder, const std::string& mask) {
    std::vector<std::string> names;
    platform::enumerateEntries(folderPrefix(folder) + mask, [&](const platform::DirEntry& entry) {
        if (entry.name != "." && entry.name != "..") names.push_back(entry.name);
    });
    return names;
}

// Runs a batch file as the program does (shell, shown window) and waits for its end.
inline void runShown(const std::string& batch) {
    const platform::ShellStart start = platform::shellOpen(batch, "Open", "", platform::ShowMode::Normal, true, true);
    ASSERT_TRUE(start.started) << batch;
    ASSERT_EQ(platform::waitProcessingEvents(start.process, kBatchLimit), platform::WaitResult::Ended) << batch;
}

// Which file the path names: a database put in its place by a move is another file.
inline std::string fileIdentity(const std::string& path) {
    HANDLE file =
        CreateFileW(platform::widen(path).c_str(), FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    BY_HANDLE_FILE_INFORMATION info{};
    GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    return std::to_string(info.nFileIndexHigh) + ":" + std::to_string(info.nFileIndexLow);
}

inline bool isBatch(const platform::ShellRequest& request) { return endsWith(upperAscii(request.file), ".BAT"); }

class DatabaseRuns : public testing::Test {
protected:
    void SetUp() override {
        const std::string machineRoot = environment("FBWB_MACHINE_ROOT");
        ASSERT_FALSE(machineRoot.empty()) << "FBWB_MACHINE_ROOT is not set (tests/harness/wine-run.sh sets it)";
        settings.serverFolder = folderPrefix(machineRoot) + "Firebird\\Firebird_3_0";
        settings.tempFolder = scratch.folder("temp");
        settings.dataFolder = scratch.folder("adat");
        gfix = settings.serverFolder + "\\gfix.exe";
        gbak = settings.serverFolder + "\\gbak.exe";
        gstat = settings.serverFolder + "\\gstat.exe";
    }

    // A fresh copy of the pristine database under the data folder.
    std::string database(const std::string& relative) {
        const std::string path = scratch / ("adat\\" + relative);
        platform::createFolders(path.substr(0, path.find_last_of('\\')));
        copyFile(kTemplate, path);
        return path;
    }

    std::string temp(const std::string& name) const { return scratch / ("temp\\" + name); }

    test::TempFolder scratch;
    CommonSettings settings;
    std::string gfix, gbak, gstat;
    WorkingFields fields;
    platform::ScriptedPrompter prompter;
    platform::PrompterOverride prompterOverride{prompter};
};

}  // namespace fbwb::test
