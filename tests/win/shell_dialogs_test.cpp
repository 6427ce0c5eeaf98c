// The folder-selection dialog, answered from a second thread as a user would.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <thread>

#include "app/text.h"
#include "platform/encoding.h"
#include "platform/shell_dialogs.h"

using namespace fbwb;

namespace {

struct Search {
    std::wstring label;
    HWND found = nullptr;
    std::wstring labelSeen;
};

BOOL CALLBACK findLabel(HWND child, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    wchar_t text[512] = {};
    GetWindowTextW(child, text, 512);
    if (search->label == text) {
        search->labelSeen = text;
        return FALSE;
    }
    return TRUE;
}

// A visible dialog whose title or one of whose controls shows the label.
BOOL CALLBACK findDialog(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (lstrcmpW(name, L"#32770") != 0 || !IsWindowVisible(window)) return TRUE;
    findLabel(window, data);
    if (search->labelSeen.empty()) EnumChildWindows(window, findLabel, data);
    if (search->labelSeen.empty()) return TRUE;
    search->found = window;
    return FALSE;
}

// Waits for the dialog showing the label in the given thread, then ends it with the button.
std::thread answerDialog(DWORD threadId, std::wstring label, int button, std::atomic<bool>& seen) {
    return std::thread([=, &seen] {
        for (int i = 0; i < 200; ++i) {
            Search search{label};
            EnumThreadWindows(threadId, findDialog, reinterpret_cast<LPARAM>(&search));
            if (search.found != nullptr) {
                seen = true;
                Sleep(200);  // let the tree select its first item
                PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
                return;
            }
            Sleep(50);
        }
    });
}

}  // namespace

TEST(SelectFolder, ShowsTheTitleAndReturnsTheRootOnOkOrNothingOnCancel) {
    const char* title = "Az alábbi mappában létrehozhatóak ideiglenes fájlok: ";
    for (int button : {IDOK, IDCANCEL}) {
        std::atomic<bool> seen{false};
        std::thread answer = answerDialog(GetCurrentThreadId(), platform::widen(title), button, seen);
        const std::optional<std::string> chosen = platform::selectFolder(title, "C:\\KELMORA.WIN");
        answer.join();
        EXPECT_TRUE(seen) << "the dialog showed the field's label";
        if (button == IDOK) {
            ASSERT_TRUE(chosen.has_value());
            EXPECT_TRUE(equalsNoCase(*chosen, "C:\\KELMORA.WIN")) << *chosen;
        } else {
            EXPECT_FALSE(chosen.has_value());
        }
    }
}

TEST(SelectFileToOpen, ReturnsTheChosenFileOnOkOrNothingOnCancel) {
    const char* title = "Telepítőkészlet kiválasztása";
    const std::string file = "C:\\fbwb-fixture\\template.fdb";
    for (int button : {IDOK, IDCANCEL}) {
        std::atomic<bool> seen{false};
        std::thread answer = answerDialog(GetCurrentThreadId(), platform::widen(title), button, seen);
        const std::optional<std::string> chosen =
            platform::selectFileToOpen(title, "Adatbázis (*.fdb)|*.fdb|Minden fájl|*.*", file);
        answer.join();
        EXPECT_TRUE(seen) << "the dialog showed its title";
        if (button == IDOK) {
            ASSERT_TRUE(chosen.has_value());
            EXPECT_TRUE(equalsNoCase(*chosen, file)) << *chosen;
        } else {
            EXPECT_FALSE(chosen.has_value());
        }
    }
}
