// The installer window shown in this process (no kit lies beside the test program): its texts, the
// controls' kinds, the pages and the layout of what each page shows.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "install/install_window_ids.h"
#include "install/install_window_win.h"
#include "install/texts_install.h"
#include "platform/dialog_win.h"
#include "win/dialog_driver.h"

using namespace fbwb;
using namespace fbwb::test;
using namespace fbwb::texts_install;
using Window = Driven<TfrmInstallParams>;

namespace {

// Every visible control inside the client area and below the header's picture, none over another.
void expectVisibleControlsApart(HWND dialog) {
    RECT client{};
    GetClientRect(dialog, &client);
    std::vector<HWND> shown;
    for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT))
        if (style(c) & WS_VISIBLE) shown.push_back(c);
    for (HWND c : shown) {
        const RECT r = rectInDialog(c);
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom)
            << GetDlgCtrlID(c);
        if (className(c) == "Button" && !isGroupBox(c)) {
            EXPECT_LE(textWidth(c, windowText(c)) + GetSystemMetrics(SM_CXMENUCHECK) + 4, r.right - r.left)
                << windowText(c);
        }
    }
    for (size_t i = 0; i < shown.size(); ++i)
        for (size_t j = i + 1; j < shown.size(); ++j) {
            if (isGroupBox(shown[i]) || isGroupBox(shown[j])) continue;
            RECT a = rectInDialog(shown[i]), b = rectInDialog(shown[j]), both{};
            EXPECT_FALSE(IntersectRect(&both, &a, &b)) << GetDlgCtrlID(shown[i]) << " and " << GetDlgCtrlID(shown[j]);
        }
}

class InstallWindowLook : public ::testing::Test {
protected:
    void SetUp() override { platform::initCommonControls(); }
};

}  // namespace

TEST_F(InstallWindowLook, TextsKindsAndTheHiddenTargetFolder) {
    Window w;
    w.script = [](Window& w) {
        EXPECT_EQ(windowText(w.hwnd()), kInstallerCaption);
        const std::pair<int, std::string_view> captions[] = {
            {IDC_lInstallTitle, kInstallerTitle},
            {IDC_lInstallIntro, kInstallerIntro},
            {IDC_GroupBox5, kVersionsGroup},
            {IDC_cbFirebirdToInstall_2_5, "Firebird 2.5"},
            {IDC_cbFirebirdToInstall_3_0, "Firebird 3.0"},
            {IDC_Button1, kUninstallButton},
            {IDC_bitBtbInstall, kInstallButton},
            {IDC_Label1, kProgressLabel},
            {IDC_btnFinish, kFinish},
            {IDC_lKelmoraWinPath, kKelmoraWinPath},
        };
        for (const auto& [id, caption] : captions) EXPECT_EQ(withoutAccessKeys(w.textOf(id)), caption) << id;
        // A fixed frame, no sizing or maximising.
        EXPECT_EQ(style(w.hwnd()) & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0);
        // The memos: read-only, the progress one with its vertical scroll bar, the no-kit one centred
        // without a border.
        EXPECT_TRUE(style(w.item(IDC_mProc)) & ES_READONLY);
        EXPECT_TRUE(style(w.item(IDC_mProc)) & WS_VSCROLL);
        EXPECT_TRUE(style(w.item(IDC_mNoInstaller)) & ES_READONLY);
        EXPECT_TRUE(style(w.item(IDC_mNoInstaller)) & ES_CENTER);
        EXPECT_FALSE(style(w.item(IDC_mNoInstaller)) & WS_BORDER);
        EXPECT_EQ(className(w.item(IDC_pb1)), "msctls_progress32");
        // The no-kit text and the title: bold, larger than the window's own font.
        LOGFONTW own{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(w.hwnd(), WM_GETFONT, 0, 0)), sizeof own, &own);
        for (int id : {IDC_mNoInstaller, IDC_lInstallTitle}) {
            LOGFONTW font{};
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(w.item(id), WM_GETFONT, 0, 0)), sizeof font, &font);
            EXPECT_EQ(font.lfWeight, FW_BOLD) << id;
            EXPECT_GT(std::abs(font.lfHeight), std::abs(own.lfHeight)) << id;
        }
        // The target folder is held, never shown, on either page.
        EXPECT_FALSE(w.isVisible(IDC_cbKelmoraWinMainFolder));
        EXPECT_FALSE(w.isVisible(IDC_lKelmoraWinPath));
        // Centred on the desktop's work area.
        RECT window{}, work{};
        GetWindowRect(w.hwnd(), &window);
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        EXPECT_NEAR((window.left + window.right) / 2, (work.left + work.right) / 2, 2);
        EXPECT_NEAR((window.top + window.bottom) / 2, (work.top + work.bottom) / 2, 2);
    };
    w.showForm(InstallPage::pnlFbSelect, "C:\\KELMORA.WIN\\", "C:\\KELMORA.WIN\\");
    EXPECT_TRUE(w.scriptRan);
}

TEST_F(InstallWindowLook, EachPageShowsOnlyItsOwnControlsApart) {
    struct Case {
        InstallPage page;
        std::set<int> shown;
    } cases[] = {
        // No kit beside the test program: the no-kit text and the uninstall button only.
        {InstallPage::pnlFbSelect, {IDC_mNoInstaller, IDC_Button1}},
        {InstallPage::pnlProgressBg, {IDC_Label1, IDC_mProc, IDC_pb1, IDC_btnFinish}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.page));
        Window w;
        w.script = [&](Window& w) {
            for (int id : {IDC_GroupBox5, IDC_cbFirebirdToInstall_2_5, IDC_cbFirebirdToInstall_3_0, IDC_mNoInstaller,
                           IDC_Button1, IDC_bitBtbInstall, IDC_Label1, IDC_mProc, IDC_pb1, IDC_btnFinish})
                EXPECT_EQ(w.isVisible(id), c.shown.count(id) > 0) << id;
            expectVisibleControlsApart(w.hwnd());
        };
        w.showForm(c.page, "C:\\KELMORA.WIN\\", "C:\\KELMORA.WIN\\");
        EXPECT_TRUE(w.scriptRan);
    }
}
