#include "install/install_window_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "core/file_helpers_win.h"
#include "core/text.h"
#include "install/firewall_win.h"
#include "install/install_rules.h"
#include "install/install_run_win.h"
#include "install/install_window_ids.h"
#include "install/installer_kits_win.h"
#include "install/installer_names.h"
#include "install/texts_install.h"
#include "install/uninstall_dialog_win.h"
#include "platform/encoding.h"
#include "platform/fs.h"
#include "platform/process.h"
#include "platform/prompter.h"

namespace fbwb {

namespace {

struct PageControl {
    int id;
    InstallPage page;
};

constexpr PageControl kPageControls[] = {
    {IDC_GroupBox5, InstallPage::pnlFbSelect},
    {IDC_cbFirebirdToInstall_2_5, InstallPage::pnlFbSelect},
    {IDC_cbFirebirdToInstall_3_0, InstallPage::pnlFbSelect},
    {IDC_mNoInstaller, InstallPage::pnlFbSelect},
    {IDC_Button1, InstallPage::pnlFbSelect},
    {IDC_bitBtbInstall, InstallPage::pnlFbSelect},
    {IDC_Label1, InstallPage::pnlProgressBg},
    {IDC_mProc, InstallPage::pnlProgressBg},
    {IDC_pb1, InstallPage::pnlProgressBg},
    {IDC_btnFinish, InstallPage::pnlProgressBg},
};

// The header band's bottom and the picture's place, in dialog units.
constexpr int kHeaderBottomDlu = 50;
constexpr RECT kPictureDlu{8, 7, 40, 39};

int checkBoxOf(std::uint8_t version) {
    return version == ivFb2_5 ? IDC_cbFirebirdToInstall_2_5 : IDC_cbFirebirdToInstall_3_0;
}

}  // namespace

TfrmInstallParams::TfrmInstallParams(HWND owner) : Dialog(IDD_TfrmInstallParams), owner_(owner) {
    for (size_t i = 0; i < std::size(kPageControls); ++i)
        if (kPageControls[i].id != IDC_mNoInstaller) shown_ |= 1u << i;
}

void TfrmInstallParams::showForm(InstallPage pnlToShow, std::string_view kelmoraWinFolder,
                                 std::string_view tempFolder) {
    pageToShow_ = pnlToShow;
    fKelmoraWinFolder = std::string(kelmoraWinFolder);
    fTempFolder = std::string(tempFolder);
    available2_5_ = getInstallerSource(ivFb2_5).available;
    available3_0_ = getInstallerSource(ivFb3_0).available;
    if (showModal(owner_) == -1) throw std::runtime_error("Az ablak nem hozható létre: " + platform::lastErrorText());
}

void TfrmInstallParams::onInit() {
    titleFont_ = platform::windowFontWith(hwnd(), FW_BOLD, 125);
    noInstallerFont_ = platform::windowFontWith(hwnd(), FW_BOLD, 125);
    if (titleFont_)
        SendMessageW(item(IDC_lInstallTitle), WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.get()), FALSE);
    if (noInstallerFont_)
        SendMessageW(item(IDC_mNoInstaller), WM_SETFONT, reinterpret_cast<WPARAM>(noInstallerFont_.get()), FALSE);
    picture_ = platform::loadAlphaPicture(IDB_InstallHeader);

    // As the window is made.
    fillKelmoraWinFolders();

    // As showForm prepares it.
    setShown(IDC_bitBtbInstall, true);
    setShown(IDC_mNoInstaller, false);
    showPage(pageToShow_);
    if (!trim(fKelmoraWinFolder).empty()) setText(IDC_cbKelmoraWinMainFolder, fKelmoraWinFolder);
    for (auto [version, available] : {std::pair{ivFb2_5, available2_5_}, std::pair{ivFb3_0, available3_0_}}) {
        setShown(checkBoxOf(version), available);
        setChecked(checkBoxOf(version), available);
    }
    if (!available2_5_ && !available3_0_) {
        const std::vector<std::string> lines =
            noInstallerTextLines(getInstallerZipFnBesideExe(ivFb2_5), getInstallerZipFnBesideExe(ivFb3_0));
        std::string text;
        for (size_t i = 0; i < lines.size(); ++i) text += (i == 0 ? "" : "\r\n") + lines[i];
        setText(IDC_mNoInstaller, text);
        setShown(IDC_mNoInstaller, true);
        setShown(IDC_bitBtbInstall, false);
        // The group frames a choice that is not there.
        setShown(IDC_GroupBox5, false);
        SendMessageW(hwnd(), DM_SETDEFID, IDC_Button1, 0);
        SetFocus(item(IDC_Button1));
    }
}

void TfrmInstallParams::fillKelmoraWinFolders() {
    std::vector<std::string> drives;
    listDrivesOfType(DRIVE_FIXED, drives);
    std::vector<std::string> folders;
    for (const std::string& drive : drives) {
        const std::string folder = kelmoraWinFolderOnDrive(drive);
        if (platform::folderExists(folder)) folders.push_back(folder);
    }
    setItems(IDC_cbKelmoraWinMainFolder, folders);
    if (!folders.empty()) selectIndex(IDC_cbKelmoraWinMainFolder, 0);
}

void TfrmInstallParams::setShown(int id, bool on) {
    for (size_t i = 0; i < std::size(kPageControls); ++i)
        if (kPageControls[i].id == id) shown_ = on ? shown_ | (1u << i) : shown_ & ~(1u << i);
    applyVisibility();
}

void TfrmInstallParams::showPage(InstallPage page) {
    page_ = page;
    applyVisibility();
}

void TfrmInstallParams::applyVisibility() {
    for (size_t i = 0; i < std::size(kPageControls); ++i) {
        const bool on = kPageControls[i].page == page_ && (shown_ & (1u << i)) != 0;
        const bool now = (GetWindowLongPtrW(item(kPageControls[i].id), GWL_STYLE) & WS_VISIBLE) != 0;
        if (now != on) setVisible(kPageControls[i].id, on);
    }
}

bool TfrmInstallParams::onCommand(int id, int notifyCode) {
    if (notifyCode != BN_CLICKED) return false;
    switch (id) {
        case IDC_Button1:
            Button1Click();
            return true;
        case IDC_bitBtbInstall:
            // Enter reaches the default button even when it is hidden: only the selection page installs.
            if (page_ == InstallPage::pnlFbSelect && !running_) btnInstallClick();
            return true;
        case IDC_btnFinish:
            close(IDOK);
            return true;
        default:
            return false;
    }
}

void TfrmInstallParams::onCancel() {
    if (!running_) close(IDCANCEL);
}

void TfrmInstallParams::Button1Click() {
    TfrmUninstallFB dialog(hwnd());
    dialog.showForm(getFirebirdRootFolder(fKelmoraWinFolder), fTempFolder);
}

void TfrmInstallParams::btnInstallClick() {
    const std::string root = installRootOf(text(IDC_cbKelmoraWinMainFolder));
    setText(IDC_cbKelmoraWinMainFolder, root);
    try {
        checkRequiredFolder(root, kelmoraWinFolderName());
    } catch (const std::exception& error) {
        platform::prompter().showMessage(error.what(), platform::BoxKind::Error);
        return;
    }
    const std::string firebirdRoot = firebirdRootUnder(root);

    running_ = true;
    const auto finish = [this] {
        setShown(IDC_pb1, false);
        enable(IDC_btnFinish, true);
        running_ = false;
    };
    try {
        enable(IDC_btnFinish, false);
        showPage(InstallPage::pnlProgressBg);
        SendMessageW(hwnd(), DM_SETDEFID, IDC_btnFinish, 0);
        setGaugeRange(0);
        setGaugePosition(0);
        setShown(IDC_pb1, true);
        int maximum = 0;
        for (int box : {IDC_cbFirebirdToInstall_2_5, IDC_cbFirebirdToInstall_3_0})
            if (checked(box)) maximum += kGaugeUnitsPerVersion;
        setGaugeRange(maximum);
        // 2.5 always first.
        for (std::uint8_t version : getInstallerVersions())
            if (checked(checkBoxOf(version))) installVersion(version, firebirdRoot);
    } catch (...) {
        finish();
        throw;
    }
    finish();
    SetFocus(item(IDC_btnFinish));

    if (allowGuiMessages) platform::prompter().showMessage(texts_install::kInstallFinished, platform::BoxKind::Message);
    if (autoCloseAfterInstall) PostQuitMessage(0);
}

void TfrmInstallParams::installVersion(std::uint8_t version, std::string_view firebirdRoot) {
    const int start = gaugePosition() + kGaugeUnitsPerVersion;
    const std::string name = getInstallerDisplayName(version);
    try {
        addProcStep(installStartedLine(name));
        const std::string installFolder = installFirebirdKit(version, firebirdRoot);
        addProcStep(installSucceededLine(name, installFolder));
        addProcLine(firewallStartedLine(name));
        if (allowFirewallModification) {
            allowFbServerInFirewall(installFolder);
            addProcStep(firewallSucceededLine());
        }
    } catch (const std::exception&) {
        // The error's own text is not shown: the line names the version only.
        addProcStep(installFailedLine(name));
    }
    setGaugePosition(start);
    platform::paintPendingWindows();
}

void TfrmInstallParams::appendProcLine(std::string_view text) {
    HWND memo = item(IDC_mProc);
    std::wstring line = platform::widen(text);
    if (GetWindowTextLengthW(memo) > 0) line.insert(0, L"\r\n");
    const auto end = static_cast<WPARAM>(GetWindowTextLengthW(memo));
    SendMessageW(memo, EM_SETSEL, end, static_cast<LPARAM>(end));
    SendMessageW(memo, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
    SendMessageW(memo, EM_SCROLLCARET, 0, 0);
}

void TfrmInstallParams::addProcLine(std::string_view text) {
    appendProcLine(text);
    // Only paint messages: a click or a close request waits until the run has ended.
    platform::paintPendingWindows();
}

void TfrmInstallParams::addProcStep(std::string_view text) {
    appendProcLine(text);
    setGaugePosition(gaugePosition() + 1);
    platform::paintPendingWindows();
}

void TfrmInstallParams::setGaugeRange(int maximum) {
    // A maximum of 0 stays 0 when nothing was chosen.
    SendMessageW(item(IDC_pb1), PBM_SETRANGE32, 0, maximum);
}

int TfrmInstallParams::gaugePosition() const { return static_cast<int>(SendMessageW(item(IDC_pb1), PBM_GETPOS, 0, 0)); }

void TfrmInstallParams::setGaugePosition(int position) {
    SendMessageW(item(IDC_pb1), PBM_SETPOS, static_cast<WPARAM>(position), 0);
    RedrawWindow(item(IDC_pb1), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void TfrmInstallParams::paintHeader(HDC dc) {
    platform::paintHeaderBand(hwnd(), dc, kHeaderBottomDlu);
    if (!picture_) return;
    RECT place = kPictureDlu;
    MapDialogRect(hwnd(), &place);
    BITMAP info{};
    GetObjectW(picture_.get(), sizeof info, &info);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, picture_.get());
    // Square on the screen whatever the dialog units' aspect.
    const int side = std::min(place.right - place.left, place.bottom - place.top);
    SetStretchBltMode(dc, HALFTONE);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, place.left, place.top, side, side, source, 0, 0, info.bmWidth, std::abs(info.bmHeight), blend);
    SelectObject(source, old);
    DeleteDC(source);
}

bool TfrmInstallParams::onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(hwnd(), &paint);
            paintHeader(dc);
            EndPaint(hwnd(), &paint);
            result = 0;
            return true;
        }
        case WM_CTLCOLORSTATIC: {
            const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
            if (id != IDC_lInstallTitle && id != IDC_lInstallIntro) return false;
            SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
            result = reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
            return true;
        }
        default:
            return false;
    }
}

}  // namespace fbwb
