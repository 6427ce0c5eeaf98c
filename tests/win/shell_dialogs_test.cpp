// The folder-selection and file-open dialogs, answered from a second thread as a user would.
#include <gtest/gtest.h>

#include <windows.h>

#include "core/text.h"
#include "dialog_answerer.h"
#include "platform/encoding.h"
#include "platform/shell_dialogs.h"
#include "win/temp_folder.h"

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
            platform::selectFileToOpen({title, "Adatbázis (*.fdb)|*.fdb|Minden fájl|*.*", file, "", ""});
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

// A bare name is looked for in the initial folder. (The default extension cannot be shown here: Wine's
// dialog checks that a typed name exists before it adds the extension.)
TEST(SelectFileToOpen, LooksForABareNameInTheInitialFolder) {
    test::TempFolder folder;
    const std::string database = folder.file("kelmora.fdb", "x");
    const char* title = "Firebird adatbázis fájl kiválasztása";
    std::atomic<bool> seen{false};
    std::thread answer = test::answerDialog(GetCurrentThreadId(), platform::widen(title), IDOK, seen);
    const std::optional<std::string> chosen =
        platform::selectFileToOpen({title, "", "kelmora.fdb", folder.path(), "fdb"});
    answer.join();
    EXPECT_TRUE(seen);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_TRUE(equalsNoCase(*chosen, database)) << *chosen;
}
