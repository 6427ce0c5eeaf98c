// Proves the test machine end to end with plain Win32 code: batch files run by Wine's cmd.exe
// reach Debian's Firebird tools through the tool stand-ins, and the recorder sees what cmd passed.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::wstring widenUtf8(const std::string& text) {
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size);
    return result;
}

std::string encode(const std::wstring& text, UINT codePage) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr,
                        nullptr);
    return result;
}

std::wstring environment(const wchar_t* name) {
    wchar_t buffer[1024];
    const DWORD length = GetEnvironmentVariableW(name, buffer, 1024);
    return length > 0 && length < 1024 ? std::wstring(buffer, length) : std::wstring();
}

std::string readFile(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<std::string> crLfLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

class ToolBridge : public testing::Test {
protected:
    void SetUp() override {
        machineRoot = environment(L"FBWB_MACHINE_ROOT");
        dataFolder = environment(L"FBWB_DATA_FOLDER");
        ASSERT_FALSE(machineRoot.empty()) << "FBWB_MACHINE_ROOT is not set (tests/harness/wine-run.sh sets it)";
        ASSERT_FALSE(dataFolder.empty()) << "FBWB_DATA_FOLDER is not set";
        wchar_t temp[MAX_PATH];
        ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        folder = std::wstring(temp) + L"fbwb-harness-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                 widenUtf8(test->name()) + L"\\";
        std::filesystem::remove_all(std::filesystem::path(folder));
        ASSERT_TRUE(std::filesystem::create_directories(std::filesystem::path(folder)));
    }

    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::path(folder), ignored);
    }

    std::wstring tool(const wchar_t* name) const {
        return machineRoot + L"\\Firebird\\Firebird_2_5\\bin\\" + name;
    }

    // Writes the lines as cmd.exe reads a batch file (OEM code page, CR LF), runs it with
    // CreateProcessW and returns its exit code.
    DWORD runBatch(const std::vector<std::wstring>& lines) const {
        std::string text;
        for (const auto& line : lines) text += encode(line, GetOEMCP()) + "\r\n";
        const std::wstring batch = folder + L"run.bat";
        std::ofstream(std::filesystem::path(batch), std::ios::binary) << text;

        std::wstring commandLine = L"\"" + batch + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                            folder.c_str(), &startup, &process)) {
            ADD_FAILURE() << "CreateProcessW failed: " << GetLastError();
            return ~0u;
        }
        DWORD exitCode = ~0u;
        if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) {
            GetExitCodeProcess(process.hProcess, &exitCode);
        } else {
            TerminateProcess(process.hProcess, 99);
            ADD_FAILURE() << "the batch did not end within 60 s";
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return exitCode;
    }

    std::wstring machineRoot, dataFolder, folder;
};

TEST_F(ToolBridge, GstatHeaderReachesTheRedirectedFile) {
    const wchar_t* const databases[] = {
        L"kelmora.fdb",
        L"\u00C1rv\u00EDzt\u0171r\u0151 Kft\\t\u00FCk\u00F6rf\u00FAr\u00F3g\u00E9p.fdb",
    };
    for (const wchar_t* database : databases) {
        SCOPED_TRACE(encode(database, CP_UTF8));
        const std::wstring out = folder + L"out.txt";
        DeleteFileW(out.c_str());
        const DWORD exitCode = runBatch({L"\"" + tool(L"gstat.exe") + L"\" -h \"" + dataFolder + L"\\" + database +
                                         L"\" >> \"" + out + L"\""});
        EXPECT_EQ(exitCode, 0u);
        const std::vector<std::string> lines = crLfLines(readFile(out));
        EXPECT_NE(std::find(lines.begin(), lines.end(), "\tODS version\t\t12.0"), lines.end())
            << "out.txt:\n" << readFile(out);
        // The tool names the database by the caller's Windows path, in the ANSI code page.
        const std::string expectedName =
            "Database \"" + encode(dataFolder + L"\\" + database, GetACP()) + "\"";
        EXPECT_NE(std::find(lines.begin(), lines.end(), expectedName), lines.end());
    }
}

TEST_F(ToolBridge, ErrorlevelCarriesTheToolsExitCode) {
    const std::wstring missing = dataFolder + L"\\nincs-ilyen.fdb";
    const DWORD exitCode = runBatch({
        L"\"" + tool(L"gfix.exe") + L"\" -USER SYSDBA -PASSWORD x \"" + missing + L"\" -v -full 2>> \"err.txt\"",
        L"echo rc=%ERRORLEVEL%> \"level.txt\"",
        L"\"" + tool(L"gstat.exe") + L"\" -h \"" + dataFolder + L"\\kelmora.fdb\" > nul",
        L"echo rc=%ERRORLEVEL%>> \"level.txt\"",
        L"\"" + tool(L"gfix.exe") + L"\" -USER SYSDBA -PASSWORD x \"" + missing + L"\" -v -full 2> nul",
        L"exit /b %ERRORLEVEL%",
    });
    EXPECT_EQ(exitCode, 1u);
    EXPECT_EQ(readFile(folder + L"level.txt"), "rc=1\r\nrc=0\r\n");
    const std::string errors = readFile(folder + L"err.txt");
    EXPECT_NE(errors.find("I/O error during \"open\" operation for file \"" + encode(missing, GetACP()) + "\""),
              std::string::npos)
        << errors;
}

TEST_F(ToolBridge, TruncatedBackupEndsTheRestoreInsteadOfWaitingForInput) {
    const std::wstring backup = folder + L"kelmora.fbk";
    ASSERT_EQ(runBatch({L"\"" + tool(L"gbak.exe") + L"\" -v -t -USER SYSDBA -PASSWORD x \"" + dataFolder +
                        L"\\kelmora.fdb\" \"" + backup + L"\" > nul"}),
              0u);
    const std::string whole = readFile(backup);
    ASSERT_GT(whole.size(), 600u);
    std::ofstream(std::filesystem::path(backup), std::ios::binary) << whole.substr(0, 500);

    const DWORD exitCode = runBatch({L"\"" + tool(L"gbak.exe") + L"\" -c -v -USER SYSDBA -PASSWORD x \"" + backup +
                                     L"\" \"" + folder + L"restored.fdb\" > \"restore.txt\" 2>&1"});
    EXPECT_EQ(exitCode, 1u);
    EXPECT_NE(readFile(folder + L"restore.txt").find("Backup incomplete"), std::string::npos);
}

TEST_F(ToolBridge, BridgeFailuresAreNeverReportedAsSuccess) {
    // The runner executes only gfix, gstat and gbak, whatever a stand-in is named.
    ASSERT_TRUE(CopyFileW((machineRoot.substr(0, 2) + L"\\fbwb-fixture\\tool_standin.exe").c_str(),
                          (folder + L"isql.exe").c_str(), FALSE));
    runBatch({
        L"\"" + folder + L"isql.exe\" -q 2> \"refused.txt\"",
        L"echo rc=%ERRORLEVEL%> \"level.txt\"",
        L"set FBWB_TOOL_RUNNER_PORT=1",
        L"\"" + tool(L"gstat.exe") + L"\" -h \"" + dataFolder + L"\\kelmora.fdb\" > \"out.txt\" 2> \"unreachable.txt\"",
        L"echo rc=%ERRORLEVEL%>> \"level.txt\"",
    });
    EXPECT_EQ(readFile(folder + L"level.txt"), "rc=254\r\nrc=250\r\n");
    EXPECT_NE(readFile(folder + L"refused.txt").find("refusing to run 'isql'"), std::string::npos);
    EXPECT_NE(readFile(folder + L"unreachable.txt").find("cannot reach the tool runner"), std::string::npos);
    EXPECT_EQ(readFile(folder + L"out.txt"), "");
}

TEST_F(ToolBridge, RecorderSeesWhatCmdPassed) {
    const std::wstring recorder = folder + L"instsvc.exe";
    ASSERT_TRUE(CopyFileW((machineRoot.substr(0, 2) + L"\\fbwb-fixture\\argrecorder.exe").c_str(),
                          recorder.c_str(), FALSE));
    EXPECT_EQ(runBatch({L"call \"" + recorder + L"\"  install -auto -name \"Kelmora3\"  -guardian ",
                        L"\"" + recorder + L"\" remove -name \"\u00C1 b\""}),
              0u);
    const std::vector<std::string> calls = crLfLines(readFile(recorder + L".calls.txt"));
    ASSERT_EQ(calls.size(), 2u);
    const std::string path = encode(recorder, CP_UTF8);
    EXPECT_NE(calls[0].find("\t[install]\t[-auto]\t[-name]\t[Kelmora3]\t[-guardian]"), std::string::npos)
        << calls[0];
    EXPECT_EQ(calls[1].substr(calls[1].find('\t')), "\t[" + path + "]\t[remove]\t[-name]\t[\xC3\x81 b]");
}

}  // namespace
