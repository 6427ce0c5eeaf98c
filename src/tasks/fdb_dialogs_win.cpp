#include "tasks/fdb_dialogs_win.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "app/file_helpers_win.h"
#include "app/text.h"
#include "app/texts.h"
#include "platform/encoding.h"
#include "tasks/db_dialogs_ids.h"
#include "tasks/fdb_dialog_rules.h"

namespace fbwb {

namespace {

constexpr std::string_view kDatabaseMask = "*.fdb";

// The list box shows the lines joined; a last blank line would only add an empty row.
std::string joinForEdit(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += "\r\n";
        text += lines[i];
    }
    return text;
}

std::wstring withoutAccessKeys(std::wstring text) {
    text.erase(std::remove(text.begin(), text.end(), L'&'), text.end());
    return text;
}

// Width in pixels of the text drawn with the control's font.
int textWidth(HWND control, const std::wstring& text) {
    HDC dc = GetDC(control);
    if (dc == nullptr) return 0;
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return size.cx;
}

// Where a check box's caption starts, from its left edge: its ideal width less the caption's width
// (the box and the gap after it), or the system's check mark size when the control cannot tell.
int captionOffset(HWND checkBox, const std::wstring& caption) {
    SIZE ideal{};
    const int width = textWidth(checkBox, caption);
    if (SendMessageW(checkBox, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)) && ideal.cx > width)
        return ideal.cx - width;
    return GetSystemMetrics(SM_CXMENUCHECK) + 3;
}

RECT rectInParent(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

// ---- FdbListDialog ----

FdbListDialog::FdbListDialog(int templateId, std::string_view defaultBatchName)
    : OptionDialog(templateId), defaultBatchName_(defaultBatchName) {}

bool FdbListDialog::showForm(std::string_view appDbDir, std::string_view tempDir) {
    fOkClicked = false;
    fTempDir = std::string(tempDir);
    // The temp folder arrives with its trailing backslash.
    if (trim(choice_.batchFile).empty()) choice_.batchFile = fTempDir + defaultBatchName_;
    choice_.lines.clear();
    findFilesRecursive(appDbDir, kDatabaseMask, choice_.lines);
    return showModalForm();
}

void FdbListDialog::onInit() {
    makeButtonsBold();
    setChecked(IDC_rbDbModNow, choice_.mode == RunMode::Now);
    setChecked(IDC_rbDbModBatch, choice_.mode == RunMode::Batch);
    setText(IDC_edDbModBatch, choice_.batchFile);
    setText(IDC_mFdbFiles, joinForEdit(choice_.lines));
    loadOptions();
    showModeField();
    centreOnOwner();
}

bool FdbListDialog::onCommand(int id, int notifyCode) {
    if ((id == IDC_rbDbModNow || id == IDC_rbDbModBatch) && notifyCode == BN_CLICKED) {
        showModeField();
        return true;
    }
    return false;
}

bool FdbListDialog::onMessage(UINT message, WPARAM, LPARAM, INT_PTR&) {
    if (message == WM_DESTROY) {
        // The controls still exist: keep what they show for the run and the next opening, however
        // the dialog was closed.
        choice_.mode = checked(IDC_rbDbModBatch) ? RunMode::Batch : RunMode::Now;
        choice_.batchFile = text(IDC_edDbModBatch);
        choice_.lines = splitLines(text(IDC_mFdbFiles));
        storeOptions();
    } else if (message == WM_NCDESTROY) {
        // The buttons are gone: nothing draws with the bold font any more.
        boldFont_.reset();
    }
    return false;
}

void FdbListDialog::showModeField() { setVisible(IDC_edDbModBatch, checked(IDC_rbDbModBatch)); }

void FdbListDialog::makeButtonsBold() {
    LOGFONTW font{};
    const auto dialogFont = reinterpret_cast<HFONT>(SendMessageW(hwnd(), WM_GETFONT, 0, 0));
    if (dialogFont == nullptr || GetObjectW(dialogFont, sizeof font, &font) == 0) return;
    font.lfWeight = FW_BOLD;
    boldFont_.reset(CreateFontIndirectW(&font));
    if (!boldFont_) return;
    for (int id : {IDOK, IDCANCEL}) SendMessageW(item(id), WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), TRUE);
}

void FdbListDialog::centreOnOwner() {
    RECT window{};
    GetWindowRect(hwnd(), &window);
    HWND owner = GetWindow(hwnd(), GW_OWNER);
    HMONITOR monitor = MonitorFromWindow(owner != nullptr ? owner : hwnd(), MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    RECT around = info.rcWork;
    if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &around);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    int left = around.left + (around.right - around.left - width) / 2;
    int top = around.top + (around.bottom - around.top - height) / 2;
    // Keep the caption bar on the screen.
    left = std::max(static_cast<int>(info.rcWork.left), std::min(left, static_cast<int>(info.rcWork.right) - width));
    top = std::max(static_cast<int>(info.rcWork.top), std::min(top, static_cast<int>(info.rcWork.bottom) - height));
    SetWindowPos(hwnd(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- TfrmFdbMaintain ----

TfrmFdbMaintain::TfrmFdbMaintain() : FdbListDialog(IDD_TfrmFdbMaintain, texts_app::kMaintenanceBatchName) {}

void TfrmFdbMaintain::loadOptions() { showSteps(steps_); }

void TfrmFdbMaintain::storeOptions() { steps_ = stepsInControls(); }

bool TfrmFdbMaintain::onCommand(int id, int notifyCode) {
    if (notifyCode == BN_CLICKED && id == IDC_cbDbBAckup) {
        cbDbBAckupClick();
        return true;
    }
    if (notifyCode == BN_CLICKED && id == IDC_cbDbRestore) {
        cbDbRestoreClick();
        return true;
    }
    return FdbListDialog::onCommand(id, notifyCode);
}

void TfrmFdbMaintain::cbDbBAckupClick() { showSteps(afterBackupClick(stepsInControls())); }

void TfrmFdbMaintain::cbDbRestoreClick() { showSteps(afterRestoreClick(stepsInControls())); }

MaintenanceSteps TfrmFdbMaintain::stepsInControls() const {
    return {checked(IDC_cbDbMaintain), checked(IDC_cbDbBAckup), checked(IDC_cbDbRestore),
            checked(IDC_cbDbDelBAckupFileAfterRestore)};
}

void TfrmFdbMaintain::showSteps(const MaintenanceSteps& steps) {
    setChecked(IDC_cbDbMaintain, steps.maintain);
    setChecked(IDC_cbDbBAckup, steps.backup);
    setChecked(IDC_cbDbRestore, steps.restore);
    setChecked(IDC_cbDbDelBAckupFileAfterRestore, steps.deleteBackup);
    const MaintenanceEnabled enabled = maintenanceEnabled(steps);
    enable(IDC_cbDbRestore, enabled.restore);
    enable(IDC_cbDbDelBAckupFileAfterRestore, enabled.deleteBackup);
}

// ---- TfrmFdbSettings ----

TfrmFdbSettings::TfrmFdbSettings() : FdbListDialog(IDD_TfrmFdbSettings, texts_app::kSettingsBatchName) {}

void TfrmFdbSettings::onInit() {
    placePercentInCaptionGap();
    FdbListDialog::onInit();
}

void TfrmFdbSettings::loadOptions() {
    setChecked(IDC_cbDbCache, options_.cache);
    HWND upDown = item(IDC_spDbCachePercentUpDown);
    SendMessageW(upDown, UDM_SETRANGE32, kMinCachePercent, kMaxCachePercent);
    SendMessageW(upDown, UDM_SETPOS32, 0, options_.percent);
    setText(IDC_spDbCachePercent, std::to_string(options_.percent));
}

void TfrmFdbSettings::storeOptions() {
    options_.cache = checked(IDC_cbDbCache);
    // Enter confirms without the field losing the focus: the bounds hold all the same.
    options_.percent = clampCachePercent(text(IDC_spDbCachePercent));
}

bool TfrmFdbSettings::onCommand(int id, int notifyCode) {
    if (id == IDC_spDbCachePercent && notifyCode == EN_KILLFOCUS) {
        clampPercentField();
        return true;
    }
    return FdbListDialog::onCommand(id, notifyCode);
}

void TfrmFdbSettings::clampPercentField() {
    const std::string typed = text(IDC_spDbCachePercent);
    const std::string clamped = std::to_string(clampCachePercent(typed));
    if (typed != clamped) setText(IDC_spDbCachePercent, clamped);
}

void TfrmFdbSettings::placePercentInCaptionGap() {
    HWND box = item(IDC_cbDbCache);
    HWND edit = item(IDC_spDbCachePercent);
    HWND upDown = item(IDC_spDbCachePercentUpDown);
    const std::wstring caption = withoutAccessKeys(platform::widen(text(IDC_cbDbCache)));
    // The gap is the run of blanks after the colon that ends the sentence.
    const size_t colon = caption.rfind(L':');
    if (colon == std::wstring::npos) return;
    const size_t gapEnd = caption.find_first_not_of(L' ', colon + 1);
    if (gapEnd == std::wstring::npos) return;
    const int offset = captionOffset(box, caption);
    const int margin = std::max(2, textWidth(box, L" ") / 2);
    const RECT boxRect = rectInParent(box);
    const RECT editRect = rectInParent(edit);
    const int left = boxRect.left + offset + textWidth(box, caption.substr(0, colon + 1)) + margin;
    const int right = boxRect.left + offset + textWidth(box, caption.substr(0, gapEnd)) - margin;
    const int height = editRect.bottom - editRect.top;
    const int top = (boxRect.top + boxRect.bottom - height) / 2;
    SetWindowPos(edit, nullptr, left, top, std::max(right - left, 1), height, SWP_NOZORDER | SWP_NOACTIVATE);
    // The up-down takes its place at the right of its buddy, which gives up that much width.
    SendMessageW(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);

    // The check box lies under the pair; it must neither paint over them nor take their clicks.
    RECT pair = rectInParent(edit);
    const RECT arrows = rectInParent(upDown);
    UnionRect(&pair, &pair, &arrows);
    HRGN region = CreateRectRgn(0, 0, boxRect.right - boxRect.left, boxRect.bottom - boxRect.top);
    HRGN hole = CreateRectRgn(pair.left - boxRect.left, pair.top - boxRect.top, pair.right - boxRect.left,
                              pair.bottom - boxRect.top);
    CombineRgn(region, region, hole, RGN_DIFF);
    DeleteObject(hole);
    // The window owns the region from here on.
    if (SetWindowRgn(box, region, TRUE) == 0) DeleteObject(region);
}

}  // namespace fbwb
