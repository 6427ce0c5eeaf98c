// Saving batch files in the code page cmd reads, running them, the batch-mode target, the
// now-mode cycle and waiting for output files, all against Wine's real cmd.exe.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/encoding.h"
#include "platform/prompter.h"
#include "platform/scripted_prompter.h"
#include "script/batch_files_win.h"

using namespace fbwb;
using namespace std::chrono_literals;
namespace fs = std::filesystem;
using platform::BoxKind;
using platform::ShowMode;

namespace {

using Clock = std::chrono::steady_clock;

// "Árvíztűrő tükörfúrógép" in UTF-8 and in CP852.
const std::string kAccentedUtf8 =
    "\xC3\x81rv\xC3\xADzt\xC5\xB1r\xC5\x91 t\xC3\xBCk\xC3\xB6rf\xC3\xBAr\xC3\xB3g\xC3\xA9p";
const std::string kAccented852 = "\xB5rv\xA1zt\xFBr\x8B t\x81k\x94rf\xA3r\xA2g\x82p";

// A fresh folder per test, with an accented name so that every path the tests pass is one.
class BatchFiles : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = fs::temp_directory_path() / platform::widen("fbwb_\xC3\xA1rv\xC3\xADz_" + std::string(info->name()) +
                                                              "_" + std::to_string(GetCurrentProcessId()));
        clear();
        fs::create_directories(folder_);
    }
    void TearDown() override { clear(); }

    void clear() {
        std::error_code ignored;
        if (!fs::exists(folder_, ignored)) return;
        for (const auto& entry : fs::recursive_directory_iterator(folder_, ignored))
            SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        fs::remove_all(folder_, ignored);
    }

    std::string path(const std::string& name) const {
        return platform::narrow((folder_ / platform::widen(name)).wstring());
    }
    std::string folder() const { return platform::narrow(folder_.wstring()); }

    void writeRaw(const std::string& name, const std::string& bytes, bool readOnly = false) const {
        const fs::path target = folder_ / platform::widen(name);
        {
            std::ofstream out(target, std::ios::binary);
            out << bytes;
        }
        if (readOnly) SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
    }
    std::string readRaw(const std::string& name) const {
        std::ifstream in(folder_ / platform::widen(name), std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    bool exists(const std::string& name) const { return fs::exists(folder_ / platform::widen(name)); }

    fs::path folder_;
};

}  // namespace

TEST_F(BatchFiles, SavedLinesEndInCrLfInTheOemCodePageWithoutBom) {
    struct Case {
        std::vector<std::string> lines;
        std::string bytes;
    };
    const Case cases[] = {
        {{"@echo off", "call \"C:\\Árvíztűrő\\tükörfúrógép.fdb\" ", ""},
         "@echo off\r\ncall \"C:\\\xB5rv\xA1zt\xFBr\x8B\\t\x81k\x94rf\xA3r\xA2g\x82p.fdb\" \r\n\r\n"},
        {{"pause"}, "pause\r\n"},
        {{}, ""},
    };
    for (const Case& c : cases) {
        // Written over a longer file each time: the old content must not survive.
        writeRaw("out.bat", std::string(200, 'x'));
        saveBatchFile(c.lines, path("out.bat"));
        EXPECT_EQ(readRaw("out.bat"), c.bytes);
    }
}

// The batch's code page (852 here) writes letters it lacks as look-alikes or '?': such values are
// refused, while the Hungarian letters pass.
TEST(BatchFileCharacters, WhatTheBatchCodePageHoldsExactly) {
    EXPECT_EQ(batchFileCodePage(), platform::oemCodePage());
    EXPECT_EQ(platform::toCodePage("\xC3\xA0.fdb", batchFileCodePage()), "a.fdb") << "the look-alike of a-grave";
    const HoldsCharacter holds = batchFileCharacters();
    for (char32_t letter : std::u32string_view(U"\u00E1\u00E9\u0151\u0171\u00C1\u0150\u0170\u00DF\u00E4"))
        EXPECT_TRUE(holds(letter)) << static_cast<unsigned>(letter);
    for (char32_t letter : std::u32string_view(U"\u00E0\u00F1\u00D8\u20AC\u00E8\U0001F600"))
        EXPECT_FALSE(holds(letter)) << static_cast<unsigned>(letter);
    EXPECT_FALSE(refuseBatchValue("C:\\" + kAccentedUtf8 + ".fdb", "f", holds));
    EXPECT_TRUE(refuseBatchValue("C:\\\xC3\xB1.fdb", "f", holds));
    EXPECT_TRUE(refuseBatchSecret("p\xC3\xA0ss", "f", holds));
    EXPECT_TRUE(refuseBatchSecret("\xE2\x82\xACuro", "f", holds));
}

TEST_F(BatchFiles, AccentedNamesReachCmdIntact) {
    const std::string made = path(kAccentedUtf8);
    const std::string echoed = path("echo.txt");
    saveBatchFile({"@echo off", "md \"" + made + "\"", "echo " + kAccentedUtf8 + "> \"" + echoed + "\""},
                  path("accents.bat"));
    // The program is a GUI one, so each cmd it starts gets a console of its own, whose output code
    // page is the OEM one. This test process has none to hand down (Wine's cmd then writes redirected
    // text in the ANSI code page), so "start" gives the batch its own console, as the program's have.
    RunProgramSync("cmd.exe /c start \"\" /wait \"" + path("accents.bat") + "\"", ShowMode::Hidden);

    EXPECT_TRUE(fs::is_directory(folder_ / platform::widen(kAccentedUtf8)));
    // cmd's redirection writes in the OEM code page too; reading converts it back.
    EXPECT_EQ(readRaw("echo.txt"), kAccented852 + "\r\n");
    EXPECT_EQ(readOutputLines(echoed), std::vector<std::string>{kAccentedUtf8});
}

TEST_F(BatchFiles, SaveFailuresThrowTheSystemTextAndLeaveFilesAlone) {
    writeRaw("locked.bat", "old\r\n", true);
    for (const std::string& target : {path("locked.bat"), path("nincs\\mappa\\x.bat")}) {
        try {
            saveBatchFile({"new"}, target);
            ADD_FAILURE() << "no error for " << target;
        } catch (const std::runtime_error& error) {
            EXPECT_FALSE(std::string(error.what()).empty());
        }
    }
    EXPECT_EQ(readRaw("locked.bat"), "old\r\n");
    EXPECT_FALSE(exists("nincs"));
}

TEST_F(BatchFiles, RunProgramSyncWaitsForTheBatchToEnd) {
    const std::string out = path("late.txt");
    saveBatchFile({"@echo off", "ping -n 2 127.0.0.1 >nul", "echo done> \"" + out + "\""}, path("slow.bat"));
    const auto start = Clock::now();
    RunProgramSync(path("slow.bat"), ShowMode::Hidden);
    EXPECT_GE(Clock::now() - start, 500ms);
    EXPECT_EQ(readRaw("late.txt"), "done\r\n");
}

TEST_F(BatchFiles, RunProgramSyncRunsAQuotedBatchPathWithBlanks) {
    fs::create_directories(folder_ / L"Program Files");
    const std::string out = path("quoted.txt");
    saveBatchFile({"@echo off", "echo ok> \"" + out + "\""}, path("Program Files\\fbInstall_3.bat"));
    RunProgramSync("\"" + path("Program Files\\fbInstall_3.bat") + "\"", ShowMode::Hidden);
    EXPECT_EQ(readRaw("quoted.txt"), "ok\r\n");
}

TEST_F(BatchFiles, RunProgramSyncOfAMissingProgramReturnsAtOnce) {
    const auto start = Clock::now();
    EXPECT_NO_THROW(RunProgramSync(path("nincs.bat"), ShowMode::Hidden));
    EXPECT_NO_THROW(RunProgramSync("C:\\nincs\\ilyen.exe", ShowMode::Normal));
    EXPECT_LT(Clock::now() - start, 10s);
}

TEST_F(BatchFiles, RunProgramSyncPastItsBoundRaisesTheWaitError) {
    saveBatchFile({"@ping -n 3 127.0.0.1 >nul"}, path("hang.bat"));
    try {
        RunProgramSync(path("hang.bat"), ShowMode::Hidden, 200ms);
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "RunProgramSync -  Error waiting process to terminate.");
    }
    std::this_thread::sleep_for(2500ms);  // the batch ends on its own before the folder goes
}

TEST_F(BatchFiles, RunCommandLogsTheFileAndItsParameters) {
    const std::string out = path("params.txt");
    saveBatchFile({"@echo off", "echo %1 %2> \"" + out + "\""}, path("p.bat"));
    struct Case {
        std::string parameters;
        std::string logged;
        std::string written;
    };
    for (const Case& c :
         {Case{"", path("p.bat") + " ", ""}, Case{"egy ketto", path("p.bat") + " egy ketto", "egy ketto\r\n"}}) {
        OperationLog log;
        const platform::Process batch = runCommand(log, path("p.bat"), c.parameters, false).process;
        ASSERT_TRUE(batch);
        ASSERT_EQ(platform::waitPaintingWindows(batch, 30s), platform::WaitResult::Ended);
        EXPECT_EQ(log.lines(), (std::vector<std::string>{"Az alábbi parancs futtatása:", c.logged}));
        if (!c.parameters.empty()) {
            EXPECT_EQ(readRaw("params.txt"), c.written);
        }
    }
}

TEST_F(BatchFiles, RunCommandStartsWithoutWaiting) {
    saveBatchFile({"@echo off", "ping -n 2 127.0.0.1 >nul", "echo done> \"" + path("done.txt") + "\""}, path("bg.bat"));
    OperationLog log;
    runCommand(log, path("bg.bat"), "", false);
    EXPECT_FALSE(exists("done.txt"));
    EXPECT_EQ(log.lines().size(), 2u);
    EXPECT_TRUE(waitForOutputFile(path("done.txt"), {0ms, 100ms, 100}, nullptr));
    std::this_thread::sleep_for(300ms);
}

TEST_F(BatchFiles, OpenOrAnnounceBatchNamesTheFileInAPlainMessage) {
    platform::ScriptedPrompter prompter;
    platform::PrompterOverride use(prompter);
    openOrAnnounceBatch(path("fdbConversions.bat"), false);
    ASSERT_EQ(prompter.boxes().size(), 1u);
    EXPECT_EQ(prompter.boxes()[0].text,
              "A műveleteket az alábbi parancsfájl tartalmazza:\r\n" + path("fdbConversions.bat"));
    EXPECT_EQ(prompter.boxes()[0].kind, BoxKind::Message);
    EXPECT_FALSE(prompter.boxes()[0].question);
}

TEST_F(BatchFiles, OpenOrAnnounceBatchRunsItNowWithoutAQuestion) {
    platform::ScriptedPrompter prompter;
    platform::PrompterOverride use(prompter);
    saveBatchFile({"@echo off", "echo now> \"" + path("now.txt") + "\""}, path("now.bat"));
    openOrAnnounceBatch(path("now.bat"), true);
    EXPECT_TRUE(waitForOutputFile(path("now.txt"), {0ms, 100ms, 100}, nullptr));
    EXPECT_TRUE(prompter.boxes().empty());
    std::this_thread::sleep_for(300ms);
}

TEST_F(BatchFiles, BatchModeTargetAsksBeforeReplacingAnExistingFile) {
    struct Case {
        const char* name;
        bool exists;
        bool yes;
        bool goOn;
        std::string contentAfter;  // after finishing, when the run went on
    };
    const Case cases[] = {
        {"new.bat", false, false, true, "echo uj\r\n"},
        {"yes.bat", true, true, true, "echo uj\r\n"},
        {"no.bat", true, false, false, "regi\r\n"},
    };
    for (const Case& c : cases) {
        if (c.exists) writeRaw(c.name, "regi\r\n", true);  // read-only: replaced all the same after a Yes
        platform::ScriptedPrompter prompter;
        prompter.answer(c.yes);
        platform::PrompterOverride use(prompter);
        WorkingFields fields;

        EXPECT_EQ(beginBatchModeTarget(fields, "  " + path(c.name) + " \t"), c.goOn) << c.name;
        EXPECT_EQ(fields.edBatFn, path(c.name));
        if (c.exists) {
            ASSERT_EQ(prompter.boxes().size(), 1u);
            EXPECT_EQ(prompter.boxes()[0].text, "Biztosan felülírja a " + path(c.name) + " fájlt?");
            EXPECT_EQ(prompter.boxes()[0].kind, BoxKind::Confirmation);
            EXPECT_TRUE(prompter.boxes()[0].question);
            EXPECT_EQ(exists(c.name), !c.yes) << c.name;
        } else {
            EXPECT_TRUE(prompter.boxes().empty());
        }
        if (c.goOn) {
            fields.mActBat = {"echo uj"};
            EXPECT_TRUE(finishBatchModeTarget(fields));
            EXPECT_TRUE(fields.mLog.lines().empty());
        }
        EXPECT_EQ(readRaw(c.name), c.contentAfter) << c.name;
    }
}

TEST_F(BatchFiles, BatchModeSaveFailureIsLoggedAfterAnErrorBox) {
    platform::ScriptedPrompter prompter;
    platform::PrompterOverride use(prompter);
    WorkingFields fields;
    const std::string target = path("nincs\\dbMaintain.bat");
    ASSERT_TRUE(beginBatchModeTarget(fields, target));
    fields.mActBat = {"pause"};
    EXPECT_FALSE(finishBatchModeTarget(fields));

    ASSERT_EQ(prompter.boxes().size(), 1u);
    const std::string& text = prompter.boxes()[0].text;
    const std::string start = "Hiba történt a fájl mentése során. A fájl neve: " + target + "   A hiba leírása: ";
    EXPECT_EQ(text.substr(0, start.size()), start);
    EXPECT_GT(text.size(), start.size());  // the system's own text follows
    EXPECT_EQ(prompter.boxes()[0].kind, BoxKind::Error);
    EXPECT_EQ(fields.mLog.lines(), std::vector<std::string>{"HIBA   ---> " + text});
}

TEST_F(BatchFiles, NowModeCycleNamesTheFilesAndClearsLeftovers) {
    struct Case {
        std::string tempFolder;
        int index;
    };
    for (const Case& c : {Case{"  " + folder() + "  ", 0}, Case{folder() + "\\", 12}}) {
        const std::string index = std::to_string(c.index);
        writeRaw("temp_" + index + ".txt", "leftover", true);
        writeRaw("temp_" + index + ".bat", "old batch");
        WorkingFields fields;
        fields.mActBat = {"from the previous database"};

        beginNowModeDatabase(fields, c.tempFolder, c.index);
        EXPECT_EQ(fields.edTempFn, path("temp_" + index + ".txt"));
        EXPECT_EQ(fields.edBatFn, path("temp_" + index + ".bat"));
        EXPECT_TRUE(fields.mActBat.empty());
        EXPECT_FALSE(exists("temp_" + index + ".txt"));
        EXPECT_TRUE(exists("temp_" + index + ".bat"));  // replaced by the save, not deleted here
    }
}

TEST_F(BatchFiles, NowModeBatchIsSavedAndRun) {
    WorkingFields fields;
    beginNowModeDatabase(fields, folder(), 3);
    fields.mActBat = {"@echo off", "echo " + kAccentedUtf8 + "> \"" + fields.edTempFn + "\""};
    // Shown, so that cmd gets a console of its own: Wine's cmd echoes into files in the console's
    // code page, and a hidden batch started from a program without a console has none there.
    const NowModeBatch batch = saveAndRunNowModeBatch(fields, true);
    ASSERT_EQ(batch.state, NowModeBatch::Started);
    ASSERT_TRUE(batch.process);
    EXPECT_TRUE(waitForOutputFile(fields.edTempFn, {0ms, 100ms, 100}, &batch.process));
    EXPECT_EQ(readOutputLines(fields.edTempFn), std::vector<std::string>{kAccentedUtf8});
    EXPECT_EQ(fields.mLog.lines(), (std::vector<std::string>{"Az alábbi parancs futtatása:", fields.edBatFn + " "}));
}

TEST_F(BatchFiles, NowModeSaveFailureIsLoggedWithoutABoxAndNothingRuns) {
    platform::ScriptedPrompter prompter;
    platform::PrompterOverride use(prompter);
    WorkingFields fields;
    beginNowModeDatabase(fields, path("nincs"), 0);
    fields.mActBat = {"pause"};
    const NowModeBatch batch = saveAndRunNowModeBatch(fields, true);
    EXPECT_EQ(batch.state, NowModeBatch::NotSaved);
    EXPECT_FALSE(batch.process);
    EXPECT_TRUE(prompter.boxes().empty());
    ASSERT_EQ(fields.mLog.lines().size(), 1u);
    const std::string start =
        "HIBA   ---> Hiba történt a fájl mentése során. A fájl neve: " + fields.edBatFn + "   A hiba leírása: ";
    EXPECT_EQ(fields.mLog.lines()[0].substr(0, start.size()), start);
}

namespace {
// Writes the output in two steps with a pause between, as a tool that is still working would.
std::vector<std::string> twoStepBatch(const std::string& out) {
    return {"@echo off", "echo first> \"" + out + "\"", "ping -n 3 127.0.0.1 >nul", "echo second>> \"" + out + "\""};
}
}  // namespace

TEST_F(BatchFiles, WaitWithTheBatchProcessReadsOnlyAfterItEnded) {
    saveBatchFile(twoStepBatch(path("out.txt")), path("two.bat"));
    OperationLog log;
    const platform::Process batch = runCommand(log, path("two.bat"), "", false).process;
    ASSERT_TRUE(batch);
    EXPECT_TRUE(waitForOutputFile(path("out.txt"), {0ms, 100ms, 100}, &batch));
    EXPECT_EQ(readOutputLines(path("out.txt")), (std::vector<std::string>{"first", "second"}));
}

TEST_F(BatchFiles, AFileStillBeingWrittenIsNeverReadAfterTheWaitRanOut) {
    saveBatchFile(twoStepBatch(path("out.txt")), path("two.bat"));
    OperationLog log;
    const platform::Process batch = runCommand(log, path("two.bat"), "", false).process;
    ASSERT_TRUE(batch);
    ASSERT_TRUE(waitForOutputFile(path("out.txt"), {0ms, 100ms, 100}, nullptr)) << "the first half is written";
    EXPECT_FALSE(waitForOutputFile(path("out.txt"), {0ms, 100ms, 3}, &batch)) << "the batch is still at work";
    EXPECT_FALSE(platform::hasEnded(batch));
    EXPECT_EQ(platform::waitPaintingWindows(batch, 30s), platform::WaitResult::Ended);
}

// The shell's refusal is the run's error line, and the shell shows no box of its own.
TEST_F(BatchFiles, ABatchTheShellCannotStartIsAnErrorLine) {
    platform::ScriptedPrompter prompter;
    platform::PrompterOverride use(prompter);
    WorkingFields fields;
    fields.edBatFn = path("nincs.bat");  // not saved: the shell has nothing to start
    OperationLog& log = fields.mLog;
    const platform::ShellStart start = runCommand(log, fields.edBatFn, "", false);
    EXPECT_FALSE(start.started);
    EXPECT_FALSE(start.process);
    ASSERT_EQ(log.lines().size(), 3u);
    EXPECT_EQ(log.lines()[1], fields.edBatFn + " ");
    EXPECT_EQ(log.lines()[2],
              "HIBA   ---> A(z) " + fields.edBatFn + " parancsfájl nem indítható el. A hiba leírása: " + start.error);
    EXPECT_FALSE(start.error.empty());
    EXPECT_TRUE(prompter.boxes().empty());  // and the shell's own box would have kept this call from returning
}

TEST_F(BatchFiles, WaitWithoutAProcessReturnsOnceTheFileExists) {
    saveBatchFile(twoStepBatch(path("out.txt")), path("two.bat"));
    OperationLog log;
    const platform::Process batch = runCommand(log, path("two.bat"), "", false).process;
    ASSERT_TRUE(batch);
    EXPECT_TRUE(waitForOutputFile(path("out.txt"), {0ms, 100ms, 100}, nullptr));
    // The batch is still at work: this is why a known process is waited for instead.
    EXPECT_EQ(platform::waitPaintingWindows(batch, 0ms), platform::WaitResult::TimedOut);
    EXPECT_EQ(platform::waitPaintingWindows(batch, 30s), platform::WaitResult::Ended);
}

TEST_F(BatchFiles, MissingOutputFileIsFalseAfterTheBoundedWait) {
    const OutputWait plan{100ms, 50ms, 4};
    EXPECT_EQ(plan.longest(), 300ms);
    auto start = Clock::now();
    EXPECT_FALSE(waitForOutputFile(path("never.txt"), plan, nullptr));
    auto elapsed = Clock::now() - start;
    EXPECT_GE(elapsed, 290ms);
    EXPECT_LT(elapsed, 10s);

    // With the process: its end is the answer, however long the plan.
    saveBatchFile({"@echo off"}, path("quiet.bat"));
    OperationLog log;
    const platform::Process batch = runCommand(log, path("quiet.bat"), "", false).process;
    ASSERT_TRUE(batch);
    start = Clock::now();
    EXPECT_FALSE(waitForOutputFile(path("never.txt"), {0ms, 1000ms, 30}, &batch));
    EXPECT_LT(Clock::now() - start, 10s);
}

TEST(OutputWaitPlans, DescribedLongestWaits) {
    EXPECT_EQ(kSettingsStepWait.longest(), 9000ms);
    EXPECT_EQ(kHeaderReadWait.longest(), 7750ms);
}

TEST_F(BatchFiles, ReadingAMissingOutputFileThrows) {
    EXPECT_THROW(readOutputLines(path("never.txt")), std::runtime_error);
}
