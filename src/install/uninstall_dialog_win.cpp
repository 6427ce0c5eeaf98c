#include "install/uninstall_dialog_win.h"

#include <uxtheme.h>
#include <vssym32.h>

#include <stdexcept>

#include "core/file_helpers_win.h"
#include "core/text.h"
#include "install/installer_names.h"
#include "install/service_batch_values.h"
#include "install/texts_install.h"
#include "install/uninstall_dialog_ids.h"
#include "platform/fs.h"
#include "platform/process.h"
#include "platform/prompter.h"
#include "platform/shell_dialogs.h"
#include "script/batch_files_win.h"
#include "script/firebird3_command_line_generator.h"

namespace fbwb {

using namespace texts_install;

namespace {

constexpr int kHeaderBottomDlu = 44;
constexpr COLORREF kDarkRed = RGB(128, 0, 0);

void showError(std::string_view text) { platform::prompter().showMessage(text, platform::BoxKind::Error); }

}  // namespace

TfrmUninstallFB::TfrmUninstallFB(HWND owner) : OptionDialog(IDD_TfrmUninstallFB), owner_(owner) {}

bool TfrmUninstallFB::showForm(std::string_view fbMainDir, std::string_view tempDir) {
    fTempDir = std::string(tempDir);
    // An empty folder becomes "\": the root of the current drive.
    const std::string searchFolder = withTrailingBackslash(trim(fbMainDir));
    fragments_.clear();
    folders_.clear();
    for (const TInstallerVersion version : getInstallerVersions()) {
        fragments_.push_back(getInstallerServiceNameFragment(version));
        listSubfolders(searchFolder, installerSearchPattern(version), folders_, false, false);
    }
    // fOkClicked is set only by a started uninstallation.
    return showModalForm(owner_);
}

void TfrmUninstallFB::onInit() {
    titleFont_ = platform::windowFontWith(hwnd(), FW_BOLD, 150);
    if (titleFont_) SendMessageW(item(IDC_UNINST_lTitle), WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.get()), TRUE);
    boldFont_ = platform::windowFontWith(hwnd(), FW_BOLD, 100);
    if (boldFont_)
        SendMessageW(item(IDC_UNINST_btnDoUninstall), WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), TRUE);
    const int iconSize = GetSystemMetrics(SM_CXICON) * 3 / 2;
    if (HANDLE icon = LoadImageW(platform::resourceModule(), MAKEINTRESOURCEW(IDI_UNINST_PICTURE), IMAGE_ICON, iconSize,
                                 iconSize, LR_SHARED))
        SendMessageW(item(IDC_UNINST_imgPicture), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);

    setItems(IDC_UNINST_cbInstalledFirebirdMainFolder, folders_);
    setItems(IDC_UNINST_cbFirebirdServiceNameFragment, fragments_);
    setText(IDC_UNINST_cbInstalledFirebirdMainFolder, "");
    setText(IDC_UNINST_cbFirebirdServiceNameFragment, "");
    centreOnOwner();
}

bool TfrmUninstallFB::onCommand(int id, int notifyCode) {
    if (notifyCode != BN_CLICKED) return false;
    if (id == IDC_UNINST_Button12) {
        Button12Click();
        return true;
    }
    if (id == IDC_UNINST_btnDoUninstall) {
        btnDoUninstallClick();
        return true;
    }
    return false;
}

void TfrmUninstallFB::Button12Click() {
    // No preselected folder and no root: the whole shell namespace.
    const auto chosen = platform::selectFolder(text(IDC_UNINST_lKelmoraWinPath), "");
    if (chosen) setText(IDC_UNINST_cbInstalledFirebirdMainFolder, *chosen);
}

void TfrmUninstallFB::btnDoUninstallClick() {
    const std::string folder = trim(text(IDC_UNINST_cbInstalledFirebirdMainFolder));
    setText(IDC_UNINST_cbInstalledFirebirdMainFolder, folder);
    if (folder.empty()) return showError(kUninstallFolderNotGiven);
    if (!platform::folderExists(folder)) return showError(kUninstallFolderMissing);

    const std::string batchFile = folderPrefix(fTempDir) + std::string(kUninstallDialogBatch);
    TFirebird3CommandLineGenerator generator;
    generator.setServiceNameFragment(trim(text(IDC_UNINST_cbFirebirdServiceNameFragment)));
    // The chosen folder itself, without the bin lookup: for a 2.5 folder the instsvc line names a file
    // that is not there, and sc delete still removes the server service.
    generator.setFirebirdBinFolder(folder);
    if (const auto refused = refuseServiceBatchValues(generator.ServiceNameFragment(), generator.FirebirdBinFolder(),
                                                      batchFileCharacters()))
        return showError(*refused);
    generator.addUninstallGuardianCmdLines();
    generator.addUninstallServerCmdLines();
    generator.cmdLines().emplace_back(kPause);
    try {
        saveBatchFile(generator.cmdLines(), batchFile);
    } catch (const std::runtime_error& error) {
        return showError(error.what());
    }
    // Its own console, not waited for and not checked: the administrator reads it and presses a key.
    platform::shellOpen(batchFile, kShellOpenVerb, "", platform::ShowMode::Normal, false);
    fOkClicked = true;
    close(IDOK);
}

void TfrmUninstallFB::paintHeaderBand(HDC dc) const {
    platform::paintHeaderBand(hwnd(), dc, kHeaderBottomDlu);
    RECT rest{};
    GetClientRect(hwnd(), &rest);
    RECT band{0, 0, 0, kHeaderBottomDlu};
    MapDialogRect(hwnd(), &band);
    rest.top = band.bottom;
    FillRect(dc, &rest, GetSysColorBrush(COLOR_BTNFACE));
}

void TfrmUninstallFB::drawUninstallButton(const DRAWITEMSTRUCT& drawn) const {
    RECT rect = drawn.rcItem;
    const bool pressed = (drawn.itemState & ODS_SELECTED) != 0;
    const bool focused = (drawn.itemState & ODS_FOCUS) != 0;
    const bool disabled = (drawn.itemState & ODS_DISABLED) != 0;
    if (HTHEME theme = OpenThemeData(drawn.hwndItem, L"BUTTON")) {
        const int state = disabled ? PBS_DISABLED : pressed ? PBS_PRESSED : focused ? PBS_DEFAULTED : PBS_NORMAL;
        DrawThemeParentBackground(drawn.hwndItem, drawn.hDC, &rect);
        DrawThemeBackground(theme, drawn.hDC, BP_PUSHBUTTON, state, &rect, nullptr);
        GetThemeBackgroundContentRect(theme, drawn.hDC, BP_PUSHBUTTON, state, &drawn.rcItem, &rect);
        CloseThemeData(theme);
    } else {
        DrawFrameControl(drawn.hDC, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
        InflateRect(&rect, -2, -2);
    }
    wchar_t caption[128] = {};
    GetWindowTextW(drawn.hwndItem, caption, 128);
    SetBkMode(drawn.hDC, TRANSPARENT);
    SetTextColor(drawn.hDC, disabled ? GetSysColor(COLOR_GRAYTEXT) : kDarkRed);
    RECT textRect = rect;
    if (pressed) OffsetRect(&textRect, 1, 1);
    DrawTextW(drawn.hDC, caption, -1, &textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (focused && (SendMessageW(drawn.hwndItem, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0) {
        InflateRect(&rect, -1, -1);
        DrawFocusRect(drawn.hDC, &rect);
    }
}

bool TfrmUninstallFB::onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    switch (message) {
        case WM_ERASEBKGND:
            paintHeaderBand(reinterpret_cast<HDC>(wParam));
            result = TRUE;
            return true;
        case WM_CTLCOLORSTATIC: {
            const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
            if (id != IDC_UNINST_lTitle && id != IDC_UNINST_lIntro && id != IDC_UNINST_imgPicture) break;
            SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
            result = reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
            return true;
        }
        case WM_DRAWITEM: {
            const auto& drawn = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (drawn.CtlID != IDC_UNINST_btnDoUninstall) break;
            drawUninstallButton(drawn);
            result = TRUE;
            return true;
        }
        case WM_NCDESTROY:
            titleFont_.reset();
            boldFont_.reset();
            break;
        default:
            break;
    }
    return OptionDialog::onMessage(message, wParam, lParam, result);
}

}  // namespace fbwb
