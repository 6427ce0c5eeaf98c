// Processes, the shell, waiting while the windows stay painted, and the message-box prompter.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/encoding.h"
#include "platform/message_box_prompter_win.h"
#include "platform/process.h"

using namespace fbwb::platform;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

// A fresh folder per test, removed afterwards.
class ProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = fs::temp_directory_path() /
                  (std::string("fbwb_proc_") + info->name() + "_" + std::to_string(GetCurrentProcessId()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    std::string path(const std::string& name) const { return narrow((folder_ / widen(name)).wstring()); }

    // A batch file of ASCII lines (CR LF), returned as its full path.
    std::string writeBatch(const std::string& name, const std::vector<std::string>& lines) const {
        std::ofstream out(folder_ / name, std::ios::binary);
        for (const auto& line : lines) out << line << "\r\n";
        return path(name);
    }

    fs::path folder_;
};

DWORD exitCodeOf(const Process& process) {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(static_cast<HANDLE>(process.nativeHandle()), &code);
    return code;
}

void terminate(const Process& process) {
    TerminateProcess(static_cast<HANDLE>(process.nativeHandle()), 1);
    WaitForSingleObject(static_cast<HANDLE>(process.nativeHandle()), 5000);
}

// A visible window that counts its paints and the messages sent to it.
struct CountingWindow {
    static inline std::atomic<int> paints{0};
    static inline std::atomic<int> sent{0};
    static constexpr UINT kSentMessage = WM_APP + 1;
    static constexpr UINT kPostedMessage = WM_APP + 2;

    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_PAINT) {
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            EndPaint(window, &paint);
            ++paints;
            return 0;
        }
        if (message == kSentMessage) {
            ++sent;
            return 42;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    CountingWindow() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = proc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"FbwbCountingWindow";
        RegisterClassW(&windowClass);
        handle = CreateWindowExW(0, windowClass.lpszClassName, L"counting", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                 100, nullptr, nullptr, windowClass.hInstance, nullptr);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        paints = 0;
        sent = 0;
    }
    ~CountingWindow() {
        DestroyWindow(handle);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    HWND handle = nullptr;
};

}  // namespace

TEST(Process, EmptyByDefaultAndForInvalidHandles) {
    EXPECT_FALSE(Process());
    EXPECT_FALSE(Process::adopt(nullptr));
    EXPECT_FALSE(Process::adopt(INVALID_HANDLE_VALUE));
    EXPECT_EQ(Process().nativeHandle(), nullptr);
    EXPECT_EQ(waitPaintingWindows(Process(), 100ms), WaitResult::Failed);
}

TEST(Process, MovingHandsOverTheHandle) {
    Process first = startProcess("cmd.exe /c exit 0", ShowMode::Hidden);
    ASSERT_TRUE(first);
    void* handle = first.nativeHandle();
    Process second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(second.nativeHandle(), handle);
    EXPECT_EQ(waitPaintingWindows(second, 30s), WaitResult::Ended);
}

TEST(Process, StartProcessOfAMissingProgramIsEmpty) {
    EXPECT_FALSE(startProcess("C:\\nincs\\ilyen\\program.exe", ShowMode::Hidden));
    EXPECT_FALSE(startProcess("", ShowMode::Hidden));
}

TEST(Process, StartedProcessIsWaitedForAndGivesItsExitCode) {
    for (const ShowMode mode : {ShowMode::Hidden, ShowMode::Normal}) {
        const Process process = startProcess("cmd.exe /c exit 7", mode);
        ASSERT_TRUE(process);
        EXPECT_EQ(waitPaintingWindows(process, 30s), WaitResult::Ended);
        EXPECT_EQ(exitCodeOf(process), 7u);
    }
}

TEST(Process, WaitGivesUpAtTheLimit) {
    const Process process = startProcess("ping -n 6 127.0.0.1", ShowMode::Hidden);
    ASSERT_TRUE(process);
    const auto start = Clock::now();
    EXPECT_EQ(waitPaintingWindows(process, 300ms), WaitResult::TimedOut);
    const auto elapsed = Clock::now() - start;
    EXPECT_GE(elapsed, 290ms);
    EXPECT_LT(elapsed, 10s);
    EXPECT_EQ(exitCodeOf(process), static_cast<DWORD>(STILL_ACTIVE));
    terminate(process);
}

TEST(Process, WaitKeepsWindowsPaintedAndLeavesInputQueued) {
    CountingWindow window;
    ASSERT_NE(window.handle, nullptr);
    InvalidateRect(window.handle, nullptr, TRUE);
    PostMessageW(window.handle, CountingWindow::kPostedMessage, 0, 0);
    // A message sent from another thread while the wait runs must be answered, or that thread hangs.
    std::atomic<LRESULT> answer{0};
    std::thread sender([&] {
        std::this_thread::sleep_for(200ms);
        answer = SendMessageW(window.handle, CountingWindow::kSentMessage, 0, 0);
    });

    const Process process = startProcess("cmd.exe /c ping -n 2 127.0.0.1 >nul", ShowMode::Hidden);
    ASSERT_TRUE(process);
    EXPECT_EQ(waitPaintingWindows(process, 30s), WaitResult::Ended);
    sender.join();

    EXPECT_GE(CountingWindow::paints.load(), 1);
    EXPECT_EQ(CountingWindow::sent.load(), 1);
    EXPECT_EQ(answer.load(), 42);
    MSG message;
    EXPECT_TRUE(PeekMessageW(&message, window.handle, CountingWindow::kPostedMessage, CountingWindow::kPostedMessage,
                             PM_REMOVE));
}

TEST(Process, SleepProcessingEventsDispatchesAndLastsThePause) {
    CountingWindow window;
    std::thread sender([&] {
        std::this_thread::sleep_for(100ms);
        SendMessageW(window.handle, CountingWindow::kSentMessage, 0, 0);
    });
    PostMessageW(window.handle, CountingWindow::kPostedMessage, 0, 0);
    const auto start = Clock::now();
    sleepProcessingEvents(400ms);
    const auto elapsed = Clock::now() - start;
    sender.join();
    EXPECT_GE(elapsed, 390ms);
    EXPECT_LT(elapsed, 10s);
    EXPECT_EQ(CountingWindow::sent.load(), 1);
    MSG message;
    EXPECT_FALSE(PeekMessageW(&message, window.handle, CountingWindow::kPostedMessage, CountingWindow::kPostedMessage,
                              PM_REMOVE));
}

TEST(Process, SleepProcessingEventsLeavesTheQuitRequestToTheMainLoop) {
    PostQuitMessage(5);
    const auto start = Clock::now();
    sleepProcessingEvents(200ms);
    EXPECT_GE(Clock::now() - start, 190ms);
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 5u);
}

TEST_F(ProcessTest, ShellOpenOfABatchGivesCmdToWaitFor) {
    const std::string out = path("out.txt");
    const std::string batch = writeBatch("shell.bat", {"@echo off", "echo %1> \"" + out + "\"", "exit /b 3"});
    const ShellStart start = shellOpen(batch, "Open", "hello", ShowMode::Hidden, true);
    ASSERT_TRUE(start.started);
    const Process& process = start.process;
    ASSERT_TRUE(process);
    EXPECT_EQ(waitPaintingWindows(process, 30s), WaitResult::Ended);
    EXPECT_EQ(exitCodeOf(process), 3u);
    std::ifstream in(folder_ / "out.txt", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "hello\r\n");
}

// (A missing file is tried silently only: otherwise the shell shows its own error box.)
TEST_F(ProcessTest, ShellOpenWithoutAProcessGivesNoneButStillRuns) {
    const std::string out = path("ran.txt");
    const std::string batch = writeBatch("quiet.bat", {"@echo off", "echo ran> \"" + out + "\""});
    const ShellStart start = shellOpen(batch, "Open", "", ShowMode::Hidden, false);
    EXPECT_TRUE(start.started);
    EXPECT_FALSE(start.process);
    for (int i = 0; i < 100 && !fs::exists(folder_ / "ran.txt"); ++i) std::this_thread::sleep_for(50ms);
    EXPECT_TRUE(fs::exists(folder_ / "ran.txt"));
    std::this_thread::sleep_for(200ms);  // let cmd let go of the folder
}

TEST(Process, OwnerWindowIsRemembered) {
    CountingWindow window;
    setOwnerWindow(window.handle);
    EXPECT_EQ(ownerWindow(), window.handle);
    setOwnerWindow(nullptr);
    EXPECT_EQ(ownerWindow(), nullptr);
}

namespace {

struct SeenBox {
    bool found = false;
    std::vector<std::wstring> texts;  // the box's static texts
    bool hasYes = false, hasNo = false, hasOk = false;
};

// Finds the box by its caption on another thread, records it and presses the button.
std::thread answerBox(const std::wstring& caption, int button, SeenBox& seen) {
    return std::thread([caption, button, &seen] {
        HWND box = nullptr;
        for (int i = 0; i < 200 && box == nullptr; ++i) {
            box = FindWindowW(L"#32770", caption.c_str());
            if (box == nullptr) std::this_thread::sleep_for(50ms);
        }
        if (box == nullptr) return;
        seen.found = true;
        EnumChildWindows(
            box,
            [](HWND child, LPARAM context) -> BOOL {
                wchar_t className[32] = {};
                GetClassNameW(child, className, 32);
                if (lstrcmpiW(className, L"Static") == 0) {
                    wchar_t text[512] = {};
                    GetWindowTextW(child, text, 512);
                    reinterpret_cast<SeenBox*>(context)->texts.emplace_back(text);
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&seen));
        seen.hasYes = GetDlgItem(box, IDYES) != nullptr;
        seen.hasNo = GetDlgItem(box, IDNO) != nullptr;
        seen.hasOk = GetDlgItem(box, IDOK) != nullptr;
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    });
}

bool contains(const std::vector<std::wstring>& texts, const std::wstring& text) {
    for (const auto& t : texts)
        if (t == text) return true;
    return false;
}

}  // namespace

TEST(MessageBoxPrompter, QuestionsAnswerYesOrNo) {
    const std::string text = "Biztosan fel\xC3\xBCl\xC3\xADrja a C:\\\xC3\x81rv\xC3\xADz.bat f\xC3\xA1jlt?";
    struct Case {
        BoxKind kind;
        int button;
        bool expected;
    };
    int n = 0;
    for (const Case& c : {Case{BoxKind::Confirmation, IDYES, true}, Case{BoxKind::Confirmation, IDNO, false},
                          Case{BoxKind::Error, IDYES, true}, Case{BoxKind::Error, IDNO, false}}) {
        const std::string caption = "fbwb question " + std::to_string(n++);
        MessageBoxPrompter prompter(caption);
        SeenBox seen;
        std::thread answering = answerBox(widen(caption), c.button, seen);
        const bool answer = prompter.askYesNo(text, c.kind);
        answering.join();
        ASSERT_TRUE(seen.found) << caption;
        EXPECT_EQ(answer, c.expected) << caption;
        EXPECT_TRUE(contains(seen.texts, widen(text))) << caption;
        EXPECT_TRUE(seen.hasYes && seen.hasNo) << caption;
        EXPECT_FALSE(seen.hasOk) << caption;
    }
}

TEST(MessageBoxPrompter, MessagesHaveOneOkButton) {
    const std::string text =
        "A m\xC5\xB1veleteket az al\xC3\xA1"
        "bbi parancsf\xC3\xA1jl tartalmazza:\r\nC:\\x.bat";
    for (const BoxKind kind : {BoxKind::Message, BoxKind::Error}) {
        const std::string caption = "fbwb message " + std::to_string(static_cast<int>(kind));
        MessageBoxPrompter prompter(caption);
        SeenBox seen;
        std::thread answering = answerBox(widen(caption), IDOK, seen);
        prompter.showMessage(text, kind);
        answering.join();
        ASSERT_TRUE(seen.found);
        EXPECT_TRUE(seen.hasOk);
        EXPECT_FALSE(seen.hasYes || seen.hasNo);
        EXPECT_TRUE(contains(seen.texts, widen(text)));
    }
}
