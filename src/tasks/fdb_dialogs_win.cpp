#include "tasks/fdb_dialogs_win.h"

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "core/file_helpers_win.h"
#include "core/text.h"
#include "platform/encoding.h"
#include "platform/process.h"
#include "tasks/db_dialogs_ids.h"
#include "tasks/fdb_dialog_rules.h"
#include "tasks/texts_tasks.h"

namespace fbwb {

namespace {

constexpr std::string_view kDatabaseMask = "*.fdb";

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

// The columns that the text inks when drawn with the control's font from column 0. The advances
// that GetTextExtentPoint32 reports need not match the drawn glyphs (Wine's font stand-in draws
// narrower than it measures), so a place inside a caption is taken from the drawing itself.
std::vector<bool> inkedColumns(HWND control, const std::wstring& text) {
    const int width = textWidth(control, text) + 64;
    const int height = 64;
    std::vector<bool> inked(static_cast<size_t>(width), false);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr) return inked;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr) {
        HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
        HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
        RECT all{0, 0, width, height};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkMode(dc, TRANSPARENT);
        TextOutW(dc, 0, 0, text.c_str(), static_cast<int>(text.size()));
        GdiFlush();
        const auto* pixels = static_cast<const DWORD*>(bits);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if ((pixels[y * width + x] & 0xff) < 0x80) inked[static_cast<size_t>(x)] = true;
        SelectObject(dc, oldFont);
        SelectObject(dc, oldBitmap);
        DeleteObject(bitmap);
    }
    DeleteDC(dc);
    return inked;
}

// The blank run of a caption as drawn: from the end of the text before it to the start of the text after it.
struct Gap {
    int from = 0;
    int to = 0;
};

Gap drawnGap(HWND control, const std::wstring& caption, size_t gapStart, size_t gapEnd) {
    const std::vector<bool> before = inkedColumns(control, caption.substr(0, gapStart));
    const std::vector<bool> whole = inkedColumns(control, caption);
    Gap gap;
    for (size_t x = 0; x < before.size(); ++x)
        if (before[x]) gap.from = static_cast<int>(x) + 1;
    for (size_t x = static_cast<size_t>(gap.from); x < whole.size(); ++x)
        if (whole[x]) {
            gap.to = static_cast<int>(x);
            break;
        }
    if (gap.from == 0 || gap.to <= gap.from) {
        // Nothing drawn: fall back to the measured advances.
        gap.from = textWidth(control, caption.substr(0, gapStart));
        gap.to = textWidth(control, caption.substr(0, gapEnd));
    }
    return gap;
}

RECT rectInParent(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

std::vector<std::string> findDatabaseFiles(std::string_view appDbDir) {
    std::vector<std::string> files;
    // The walk may take a while on a large data folder: the windows stay painted and say so.
    platform::BusyCursor busy;
    auto lastPaint = std::chrono::steady_clock::now();
    findFilesRecursive(appDbDir, kDatabaseMask, files, [&lastPaint] {
        const auto now = std::chrono::steady_clock::now();
        if (now - lastPaint < std::chrono::milliseconds(50)) return;
        lastPaint = now;
        platform::paintPendingWindows();
    });
    return files;
}

std::string listFieldText(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += "\r\n";
        text += lines[i];
    }
    return text;
}

// ---- FdbListDialog ----

FdbListDialog::FdbListDialog(int templateId, std::string_view defaultBatchName)
    : OptionDialog(templateId), defaultBatchName_(defaultBatchName) {}

bool FdbListDialog::showForm(std::string_view appDbDir, std::string_view tempDir) {
    fOkClicked = false;
    fTempDir = std::string(tempDir);
    // The temp folder arrives with its trailing backslash.
    if (trim(choice_.batchFile).empty()) choice_.batchFile = fTempDir + defaultBatchName_;
    choice_.lines = findDatabaseFiles(appDbDir);
    return showModalForm();
}

void FdbListDialog::onInit() {
    makeButtonsBold();
    setChecked(IDC_rbDbModNow, choice_.mode == RunMode::Now);
    setChecked(IDC_rbDbModBatch, choice_.mode == RunMode::Batch);
    setText(IDC_edDbModBatch, choice_.batchFile);
    setText(IDC_mFdbFiles, listFieldText(choice_.lines));
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

bool FdbListDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    if (message == WM_DESTROY) {
        // The controls still exist: keep what they show for the run and the next opening, however
        // the dialog was closed.
        choice_.mode = checked(IDC_rbDbModBatch) ? RunMode::Batch : RunMode::Now;
        choice_.batchFile = text(IDC_edDbModBatch);
        choice_.lines = splitLines(text(IDC_mFdbFiles));
        storeOptions();
    }
    return OptionDialog::onMessage(message, wParam, lParam, result);
}

void FdbListDialog::showModeField() { setVisible(IDC_edDbModBatch, checked(IDC_rbDbModBatch)); }

// ---- TfrmFdbMaintain ----

TfrmFdbMaintain::TfrmFdbMaintain() : FdbListDialog(IDD_TfrmFdbMaintain, texts_tasks::kMaintenanceBatchName) {}

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

TfrmFdbSettings::TfrmFdbSettings() : FdbListDialog(IDD_TfrmFdbSettings, texts_tasks::kSettingsBatchName) {}

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
    const Gap gap = drawnGap(box, caption, colon + 1, gapEnd);
    const int margin = std::max(2, textWidth(box, L" ") / 2);
    const RECT boxRect = rectInParent(box);
    const RECT editRect = rectInParent(edit);
    const int left = boxRect.left + offset + gap.from + margin;
    const int right = boxRect.left + offset + gap.to - margin;
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
