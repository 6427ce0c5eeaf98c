// The uninstall dialog, shown modally and driven from inside its own message loop: its texts and
// look, the lists it finds, the checks and their boxes, the batch file it writes and hands to the
// shell (recorded, so no console waits on "pause"), and what showForm returns.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "install/texts_install.h"
#include "install/uninstall_dialog_ids.h"
#include "install/uninstall_dialog_win.h"
#include "platform/dialog_win.h"
#include "platform/encoding.h"
#include "platform/fs.h"
#include "platform/process.h"
#include "platform/scripted_prompter.h"
#include "win/dialog_answerer.h"
#include "win/dialog_driver.h"
#include "win/temp_folder.h"

using namespace fbwb;
using namespace fbwb::test;
using namespace fbwb::texts_install;
using Dialog = Driven<TfrmUninstallFB>;

namespace {

class UninstallDialog : public ::testing::Test {
protected:
    void SetUp() override {
        platform::initCommonControls();
        root_ = temp_.folder("KELMORA.WIN\\Firebird");
        for (const char* folder : {"Firebird_2_5_5_64bit\\bin", "Firebird_3_0_0_32bit", "Docs"})
            temp_.folder("KELMORA.WIN\\Firebird\\" + std::string(folder));
        temp_.file("KELMORA.WIN\\Firebird\\Firebird_3_0_0_64bit.zip", "not a folder");
        tempDir_ = temp_.folder("temp");
    }

    std::string batch() const { return platform::readFileBytes(tempDir_ + "\\uninstallFbService.bat").value_or(""); }

    TempFolder temp_;
    std::string root_;
    std::string tempDir_;
    platform::ScriptedPrompter boxes_;
    platform::PrompterOverride prompterOverride_{boxes_};
    platform::ShellOpenRecorder shell_;
};

std::string removalLines(const std::string& folder, const std::string& fragment) {
    return "net stop \"FirebirdGuardian" + fragment + "\"\r\n" + "sc delete \"FirebirdGuardian" + fragment + "\"\r\n" +
           "net stop \"FirebirdServer" + fragment + "\"\r\n" + "\"" + folder + "\\instsvc.exe\" remove -name \"" +
           fragment + "\" \r\n" + "sc delete \"FirebirdServer" + fragment + "\"\r\n";
}

LONG fontWeight(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfWeight;
}

// How many pixels of the colour the control paints when asked to draw itself into a bitmap.
int pixelsOfColour(HWND control, COLORREF colour) {
    RECT rect{};
    GetClientRect(control, &rect);
    HDC screen = GetDC(control);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, rect.right, rect.bottom);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    int count = 0;
    for (int y = 0; y < rect.bottom; ++y)
        for (int x = 0; x < rect.right; ++x) count += GetPixel(dc, x, y) == colour;
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(control, screen);
    return count;
}

}  // namespace

TEST_F(UninstallDialog, ShowsItsTextsAndListsBothVersionsInstallFolders) {
    Dialog d;
    d.script = [&](Dialog& d) {
        EXPECT_EQ(windowText(d.hwnd()), kUninstallCaption);
        const std::pair<int, std::string_view> captions[] = {
            {IDC_UNINST_lTitle, kUninstallTitle},
            {IDC_UNINST_lIntro, kUninstallIntro},
            {IDC_UNINST_gbUninstall, kUninstallGroup},
            {IDC_UNINST_lKelmoraWinPath, kUninstallFolderLabel},
            {IDC_UNINST_Button12, kBrowse},
            {IDC_UNINST_Label1, kUninstallServiceLabel},
            {IDC_UNINST_btnDoUninstall, kDoUninstall},
            {IDCANCEL, kCancel},
        };
        for (const auto& [id, caption] : captions) EXPECT_EQ(d.textOf(id), caption) << id;
        // Both bitnesses, 2.5 before 3.0; neither the other folder nor the file.
        EXPECT_EQ(d.items(IDC_UNINST_cbInstalledFirebirdMainFolder),
                  (std::vector<std::string>{root_ + "\\Firebird_2_5_5_64bit", root_ + "\\Firebird_3_0_0_32bit"}));
        EXPECT_EQ(d.items(IDC_UNINST_cbFirebirdServiceNameFragment),
                  (std::vector<std::string>{"Kelmora2", "Kelmora3"}));
        EXPECT_EQ(d.textOf(IDC_UNINST_cbInstalledFirebirdMainFolder), "");
        EXPECT_EQ(d.textOf(IDC_UNINST_cbFirebirdServiceNameFragment), "");

        // The look: the picture, the bold dark-red button, everything inside and apart.
        EXPECT_NE(SendMessageW(d.item(IDC_UNINST_imgPicture), STM_GETICON, 0, 0), 0);
        EXPECT_EQ(fontWeight(d.item(IDC_UNINST_btnDoUninstall)), FW_BOLD);
        EXPECT_GT(fontWeight(d.item(IDC_UNINST_lTitle)), FW_NORMAL);
        EXPECT_GT(pixelsOfColour(d.item(IDC_UNINST_btnDoUninstall), RGB(128, 0, 0)), 20);
        EXPECT_EQ(pixelsOfColour(d.item(IDCANCEL), RGB(128, 0, 0)), 0);
        expectControlsInsideWithoutOverlap(d.hwnd(), {});
        EXPECT_EQ(tabStops(d.hwnd()),
                  (std::set<int>{IDC_UNINST_cbInstalledFirebirdMainFolder, IDC_UNINST_Button12,
                                 IDC_UNINST_cbFirebirdServiceNameFragment, IDC_UNINST_btnDoUninstall, IDCANCEL}));
    };
    // The folder as the installer window hands it on: blanks around, no trailing backslash.
    EXPECT_FALSE(d.showForm("  " + root_ + " ", tempDir_));
    EXPECT_TRUE(d.scriptRan);
}

TEST_F(UninstallDialog, WithoutInstallFoldersTheInstanceNamesAreStillOffered) {
    const std::string empty = temp_.folder("empty");
    for (const std::string& folder : {empty, temp_ / "nincs ilyen"}) {
        Dialog d;
        d.script = [&](Dialog& d) {
            EXPECT_TRUE(d.items(IDC_UNINST_cbInstalledFirebirdMainFolder).empty()) << folder;
            EXPECT_EQ(d.items(IDC_UNINST_cbFirebirdServiceNameFragment),
                      (std::vector<std::string>{"Kelmora2", "Kelmora3"}));
        };
        EXPECT_FALSE(d.showForm(folder, tempDir_));
        EXPECT_TRUE(d.scriptRan);
    }
}

TEST_F(UninstallDialog, StartsTheBatchEndingWithPauseThroughTheShellAndReturnsTrue) {
    platform::writeFileBytes(tempDir_ + "\\uninstallFbService.bat", "an earlier batch, longer than the new one\r\n");
    const std::string folder = root_ + "\\Firebird_2_5_5_64bit";
    Dialog d;
    d.script = [&](Dialog& d) {
        d.type(IDC_UNINST_cbInstalledFirebirdMainFolder, "  " + folder + "\t");
        d.type(IDC_UNINST_cbFirebirdServiceNameFragment, " Kelmora2 ");
        d.click(IDC_UNINST_btnDoUninstall);
        EXPECT_FALSE(IsWindowVisible(d.hwnd())) << "a started uninstallation closes the dialog";
    };
    // The temp folder as the settings give it, with its trailing backslash.
    EXPECT_TRUE(d.showForm(root_, tempDir_ + "\\"));
    EXPECT_FALSE(d.fellBack);
    EXPECT_TRUE(boxes_.boxes().empty());
    // The chosen folder itself is taken for instsvc's: no bin lookup here.
    EXPECT_EQ(batch(), removalLines(folder, "Kelmora2") + "pause\r\n");
    ASSERT_EQ(shell_.requests().size(), 1u);
    const platform::ShellRequest& request = shell_.requests()[0];
    EXPECT_EQ(request.file, tempDir_ + "\\uninstallFbService.bat");
    EXPECT_EQ(request.verb, "open");
    EXPECT_EQ(request.parameters, "");
    EXPECT_EQ(request.mode, platform::ShowMode::Normal);
}

TEST_F(UninstallDialog, AFailedCheckShowsItsBoxKeepsTheDialogOpenAndWritesNothing) {
    const std::string folder = root_ + "\\Firebird_3_0_0_32bit";
    struct Case {
        std::string folder, fragment, tempDir, shownFolder, box;
    } cases[] = {
        {"  \t ", "Kelmora3", tempDir_, "", std::string(kUninstallFolderNotGiven)},
        {" " + folder + "\\nincs ", "Kelmora3", tempDir_, folder + "\\nincs", std::string(kUninstallFolderMissing)},
        {folder, " Kel%mora3 ", tempDir_, folder,
         "A(z) Firebird szolgáltatás neve nem írható parancsfájlba, mert a következő karakterek egyikét tartalmazza: "
         "% ^ \" (érték: Kel%mora3)"},
        {" " + folder, "Kelmora3", temp_ / "nincs temp", folder, ""},  // the save's own text
    };
    for (const Case& c : cases) {
        const size_t boxesBefore = boxes_.boxes().size();
        Dialog d;
        d.script = [&](Dialog& d) {
            d.type(IDC_UNINST_cbInstalledFirebirdMainFolder, c.folder);
            d.type(IDC_UNINST_cbFirebirdServiceNameFragment, c.fragment);
            d.click(IDC_UNINST_btnDoUninstall);
            EXPECT_TRUE(IsWindowVisible(d.hwnd())) << c.folder;
            EXPECT_EQ(d.textOf(IDC_UNINST_cbInstalledFirebirdMainFolder), c.shownFolder);
            d.click(IDCANCEL);
        };
        EXPECT_FALSE(d.showForm(root_, c.tempDir)) << c.folder;
        ASSERT_EQ(boxes_.boxes().size(), boxesBefore + 1) << c.folder;
        const platform::ScriptedPrompter::Box& box = boxes_.boxes().back();
        EXPECT_EQ(box.kind, platform::BoxKind::Error);
        EXPECT_FALSE(box.question);
        if (!c.box.empty()) {
            EXPECT_EQ(box.text, c.box);
        } else {
            EXPECT_FALSE(box.text.empty());
        }
    }
    EXPECT_FALSE(platform::fileExists(tempDir_ + "\\uninstallFbService.bat"));
    EXPECT_FALSE(platform::folderExists(temp_ / "nincs temp")) << "the temp folder is not made here";
    EXPECT_TRUE(shell_.requests().empty());
}

TEST_F(UninstallDialog, CancelCloseAndEnterStartNothing) {
    const std::string folder = root_ + "\\Firebird_3_0_0_32bit";
    for (const UINT key : {UINT{0}, UINT{VK_ESCAPE}, UINT{VK_RETURN}}) {
        Dialog d;
        d.script = [&](Dialog& d) {
            d.type(IDC_UNINST_cbInstalledFirebirdMainFolder, folder);
            d.type(IDC_UNINST_cbFirebirdServiceNameFragment, "Kelmora3");
            if (key == 0) {
                SendMessageW(d.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
            } else {
                // As the dialog manager turns the keys into commands.
                SendMessageW(d.hwnd(), WM_COMMAND, MAKEWPARAM(key == VK_ESCAPE ? IDCANCEL : IDOK, BN_CLICKED), 0);
                if (key == VK_RETURN) {
                    EXPECT_TRUE(IsWindowVisible(d.hwnd())) << "Enter alone starts nothing";
                    d.click(IDCANCEL);
                }
            }
        };
        EXPECT_FALSE(d.showForm(root_, tempDir_)) << key;
        EXPECT_FALSE(d.fellBack) << key;
    }
    EXPECT_TRUE(boxes_.boxes().empty());
    EXPECT_TRUE(shell_.requests().empty());
    EXPECT_FALSE(platform::fileExists(tempDir_ + "\\uninstallFbService.bat"));
}

// The dialog's own label shows the same text, so the folder dialog is told apart as the other one.
TEST_F(UninstallDialog, BrowseOpensTheFolderDialogTitledWithTheLabel) {
    struct Search {
        HWND own;
        HWND found = nullptr;
    };
    Dialog d;
    std::atomic<bool> seen{false};
    d.script = [&](Dialog& d) {
        d.type(IDC_UNINST_cbInstalledFirebirdMainFolder, "kept");
        std::thread user([&, thread = GetCurrentThreadId(), own = d.hwnd()] {
            for (int i = 0; i < 200 && !seen; ++i) {
                Search search{own};
                EnumThreadWindows(
                    thread,
                    [](HWND window, LPARAM data) {
                        auto* search = reinterpret_cast<Search*>(data);
                        if (window == search->own || className(window) != "#32770" || !IsWindowVisible(window))
                            return TRUE;
                        detail::Search label{platform::widen(kUninstallFolderLabel), nullptr, {}};
                        EnumChildWindows(window, detail::findLabel, reinterpret_cast<LPARAM>(&label));
                        if (!label.labelSeen.empty()) search->found = window;
                        return label.labelSeen.empty() ? TRUE : FALSE;
                    },
                    reinterpret_cast<LPARAM>(&search));
                if (search.found != nullptr) {
                    seen = true;
                    PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                }
                Sleep(50);
            }
        });
        d.click(IDC_UNINST_Button12);
        user.join();
        EXPECT_EQ(d.textOf(IDC_UNINST_cbInstalledFirebirdMainFolder), "kept") << "a cancelled choice changes nothing";
    };
    EXPECT_FALSE(d.showForm(root_, tempDir_));
    EXPECT_TRUE(seen);
}

// An empty folder becomes "\": the install folders in the root of the current drive.
TEST_F(UninstallDialog, AnEmptyFolderListsTheRootOfTheCurrentDrive) {
    const std::string name = "Firebird_2_5_5_fbwb" + std::to_string(GetCurrentProcessId());
    const std::string rootFolder = temp_.path().substr(0, 3) + name;  // C:\ + name
    ASSERT_TRUE(platform::createFolders(rootFolder));
    wchar_t before[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, before);
    SetCurrentDirectoryW(platform::widen(tempDir_).c_str());
    Dialog d;
    d.script = [&](Dialog& d) {
        const auto folders = d.items(IDC_UNINST_cbInstalledFirebirdMainFolder);
        EXPECT_NE(std::find(folders.begin(), folders.end(), "\\" + name), folders.end());
    };
    EXPECT_FALSE(d.showForm("  ", tempDir_));
    SetCurrentDirectoryW(before);
    RemoveDirectoryW(platform::widen(rootFolder).c_str());
    EXPECT_TRUE(d.scriptRan);
}
