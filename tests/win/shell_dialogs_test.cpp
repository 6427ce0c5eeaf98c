// The folder-selection dialog, answered from a second thread as a user would.
#include <gtest/gtest.h>

#include <windows.h>

#include "core/text.h"
#include "dialog_answerer.h"
#include "platform/encoding.h"
#include "platform/shell_dialogs.h"

using namespace fbwb;


TEST(SelectFolder, ShowsTheTitleAndReturnsTheRootOnOkOrNothingOnCancel) {
    const char* title = "Az alábbi mappában létrehozhatóak ideiglenes fájlok: ";
    for (int button : {IDOK, IDCANCEL}) {
        std::atomic<bool> seen{false};
        std::thread answer =
            test::answerDialog(GetCurrentThreadId(), platform::widen(title), button, seen, L"KELMORA.WIN");
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
        std::thread answer = test::answerDialog(GetCurrentThreadId(), platform::widen(title), button, seen);
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
