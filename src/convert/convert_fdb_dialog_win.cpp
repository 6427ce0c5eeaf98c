#include "convert/convert_fdb_dialog_win.h"

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <exception>

#include "conntest/fb_connection_win.h"
#include "convert/convert_fdb_ids.h"
#include "convert/texts_convert.h"
#include "core/text.h"
#include "platform/encoding.h"
#include "platform/process.h"
#include "platform/prompter.h"
#include "platform/shell_dialogs.h"
#include "tasks/fdb_dialogs_win.h"
#include "tasks/fdb_header_win.h"

namespace fbwb {

namespace {

constexpr int kFirstPageControls[] = {
    IDC_CV_gbDbList,          IDC_CV_rbDbModNow,      IDC_CV_rbDbModBatch, IDC_CV_edDbModBatch,
    IDC_CV_lFileListHeader,   IDC_CV_mFdbFiles,       IDC_CV_grdDb,        IDC_CV_pb1,
    IDC_CV_btnShowFbVersions, IDC_CV_btnFilterDbList, IDC_CV_BitBtn3,
};
constexpr int kSecondPageControls[] = {
    IDC_CV_gbConnTestFdbFn,
    IDC_CV_cbConnTestFdbFn,
    IDC_CV_gbOldServer,
    IDC_CV_lIpOld,
    IDC_CV_edIpOld,
    IDC_CV_lPortOld,
    IDC_CV_edPortOld,
    IDC_CV_lUnOld,
    IDC_CV_edUnOld,
    IDC_CV_lPwOld,
    IDC_CV_edPwOld,
    IDC_CV_lFbServerPath,
    IDC_CV_cbOldFbServerPath,
    IDC_CV_Button12,
    IDC_CV_Button1,
    IDC_CV_gbNewServer,
    IDC_CV_lIpNew,
    IDC_CV_edIpNew,
    IDC_CV_lPortNew,
    IDC_CV_edPortNew,
    IDC_CV_lUnNew,
    IDC_CV_edUnNew,
    IDC_CV_lPwNew,
    IDC_CV_edPwNew,
    IDC_CV_lFbServerPath2,
    IDC_CV_cbNewFbServerPath,
    IDC_CV_Button3,
    IDC_CV_Button2,
    IDC_CV_BitBtn2,
};
// In the order of serverFields_.
constexpr int kServerFieldIds[] = {IDC_CV_edIpOld, IDC_CV_edPortOld, IDC_CV_edUnOld, IDC_CV_edPwOld,
                                   IDC_CV_edIpNew, IDC_CV_edPortNew, IDC_CV_edUnNew, IDC_CV_edPwNew};

std::wstring withoutAccessKeys(std::wstring text) {
    text.erase(std::remove(text.begin(), text.end(), L'&'), text.end());
    return text;
}

RECT rectInParent(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void insertColumn(HWND grid, int index, std::string_view header, int width) {
    std::wstring text = platform::widen(header);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = text.data();
    column.cx = width;
    column.iSubItem = index;
    SendMessageW(grid, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
}

}  // namespace

TfrmConvertFdb::TfrmConvertFdb() : OptionDialog(IDD_TfrmConvertFdb) {}

bool TfrmConvertFdb::showForm(std::string_view appDbDir, std::string_view tempDir, std::string_view fbServerList,
                              std::string_view fboldDir, std::string_view fbOldIp, std::string_view fbOldPort,
                              std::string_view fboldUn, std::string_view fbOldPw, std::string_view fbNewDir,
                              std::string_view fbnewIp, std::string_view fbnewPort, std::string_view fbnewUn,
                              std::string_view fbnewPw) {
    fOkClicked = false;
    listView_ = true;
    page_ = 0;
    fTempDir = std::string(tempDir);
    // The temp folder arrives with its trailing backslash; a path typed earlier stays.
    if (trim(batchFile_).empty()) batchFile_ = fTempDir + std::string(texts_convert::kDefaultBatchName);
    lines_ = findDatabaseFiles(appDbDir);
    testFiles_ = splitLines(trim(listFieldText(lines_)));
    if (!testFiles_.empty()) testFile_ = testFiles_.front();

    boxes_ = splitServerFolders(fbServerList);
    if (!boxes_.oldServers.empty()) oldFolder_ = boxes_.oldServers.front();
    if (!boxes_.newServers.empty()) newFolder_ = boxes_.newServers.front();
    if (!trim(fboldDir).empty()) oldFolder_ = std::string(fboldDir);
    if (!trim(fbNewDir).empty()) newFolder_ = std::string(fbNewDir);

    // Set even when empty: an empty port replaces the default.
    const std::string_view fields[] = {fbOldIp, fbOldPort, fboldUn, fbOldPw, fbnewIp, fbnewPort, fbnewUn, fbnewPw};
    for (size_t i = 0; i < std::size(fields); ++i) serverFields_[i] = std::string(fields[i]);
    return showModalForm();
}

ConvertChoice TfrmConvertFdb::choice() const {
    return {mode_,           batchFile_,       lines_,           oldFolder_,
            newFolder_,      serverFields_[2], serverFields_[3], serverFields_[6],
            serverFields_[7]};
}

void TfrmConvertFdb::FormCreate() {
    HWND grid = item(IDC_CV_grdDb);
    SendMessageW(grid, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES,
                 LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    RECT rect{};
    GetWindowRect(grid, &rect);
    const GridColumnWidths widths = gridColumnWidths(rect.right - rect.left);
    insertColumn(grid, 0, texts_convert::kFileColumn, widths.first);
    insertColumn(grid, 1, texts_convert::kVersionColumn, widths.second);

    HWND tabs = item(IDC_CV_pcPages);
    int index = 0;
    for (std::string_view caption : {texts_convert::kFileListPage, texts_convert::kServersPage}) {
        std::wstring text = platform::widen(caption);
        TCITEMW tab{};
        tab.mask = TCIF_TEXT;
        tab.pszText = text.data();
        SendMessageW(tabs, TCM_INSERTITEMW, index++, reinterpret_cast<LPARAM>(&tab));
    }
    for (int id : {IDC_CV_edPwOld, IDC_CV_edPwNew}) SendMessageW(item(id), EM_SETPASSWORDCHAR, L'*', 0);
}

void TfrmConvertFdb::onInit() {
    FormCreate();
    SendMessageW(item(IDC_CV_pcPages), TCM_SETCURSEL, page_, 0);
    tabKeys_ = std::make_unique<platform::TabPageKeys>(hwnd(), item(IDC_CV_pcPages));
    setChecked(IDC_CV_rbDbModNow, mode_ == RunMode::Now);
    setChecked(IDC_CV_rbDbModBatch, mode_ == RunMode::Batch);
    setText(IDC_CV_edDbModBatch, batchFile_);
    setText(IDC_CV_mFdbFiles, listFieldText(lines_));
    setItems(IDC_CV_cbConnTestFdbFn, testFiles_);
    if (!testFiles_.empty()) selectIndex(IDC_CV_cbConnTestFdbFn, 0);
    if (text(IDC_CV_cbConnTestFdbFn) != testFile_) setText(IDC_CV_cbConnTestFdbFn, testFile_);

    const std::pair<int, const std::vector<std::string>*> boxes[] = {{IDC_CV_cbOldFbServerPath, &boxes_.oldServers},
                                                                     {IDC_CV_cbNewFbServerPath, &boxes_.newServers}};
    const std::string* folders[] = {&oldFolder_, &newFolder_};
    for (size_t i = 0; i < 2; ++i) {
        setItems(boxes[i].first, *boxes[i].second);
        if (!boxes[i].second->empty()) selectIndex(boxes[i].first, 0);
        if (text(boxes[i].first) != *folders[i]) setText(boxes[i].first, *folders[i]);
    }
    for (size_t i = 0; i < std::size(kServerFieldIds); ++i) setText(kServerFieldIds[i], serverFields_[i]);

    fillGrid();
    showListView(listView_);
    centreOnOwner();
}

bool TfrmConvertFdb::onCommand(int id, int notifyCode) {
    if (notifyCode != BN_CLICKED) return false;
    switch (id) {
        case IDC_CV_BitBtn3:
        case IDC_CV_BitBtn2:
            BitBtn2Click();
            return true;
        case IDC_CV_rbDbModNow:
        case IDC_CV_rbDbModBatch:
            rbDbModNowClick();
            return true;
        case IDC_CV_Button12:
            browseServerFolder(IDC_CV_cbOldFbServerPath, IDC_CV_lFbServerPath);
            return true;
        case IDC_CV_Button3:
            browseServerFolder(IDC_CV_cbNewFbServerPath, IDC_CV_lFbServerPath2);
            return true;
        case IDC_CV_Button1:
            tryConnection(true);
            return true;
        case IDC_CV_Button2:
            tryConnection(false);
            return true;
        case IDC_CV_btnShowFbVersions:
            Button4Click();
            return true;
        case IDC_CV_btnFilterDbList:
            btnFilterDbListClick();
            return true;
        default:
            return false;
    }
}

bool TfrmConvertFdb::onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_CV_pcPages && header->code == TCN_SELCHANGE) {
            page_ = static_cast<int>(SendMessageW(item(IDC_CV_pcPages), TCM_GETCURSEL, 0, 0));
            applyVisibility();
            return true;
        }
    }
    // The controls still exist: keep what they show for the run and the next opening.
    if (message == WM_DESTROY) {
        tabKeys_.reset();
        storeControls();
    }
    return OptionDialog::onMessage(message, wParam, lParam, result);
}

void TfrmConvertFdb::storeControls() {
    mode_ = checked(IDC_CV_rbDbModBatch) ? RunMode::Batch : RunMode::Now;
    batchFile_ = text(IDC_CV_edDbModBatch);
    lines_ = splitLines(text(IDC_CV_mFdbFiles));
    testFile_ = text(IDC_CV_cbConnTestFdbFn);
    oldFolder_ = text(IDC_CV_cbOldFbServerPath);
    newFolder_ = text(IDC_CV_cbNewFbServerPath);
    for (size_t i = 0; i < std::size(kServerFieldIds); ++i) serverFields_[i] = text(kServerFieldIds[i]);
}

void TfrmConvertFdb::BitBtn2Click() {
    if (checking_) return;
    fOkClicked = true;
    close(IDOK);
}

void TfrmConvertFdb::applyVisibility() {
    const bool batchMode = checked(IDC_CV_rbDbModBatch);
    for (int id : kFirstPageControls) {
        bool own = true;
        if (id == IDC_CV_edDbModBatch) own = batchMode;
        if (id == IDC_CV_lFileListHeader || id == IDC_CV_mFdbFiles) own = listView_;
        if (id == IDC_CV_grdDb) own = !listView_;
        if (id == IDC_CV_pb1) own = checking_;
        if (id == IDC_CV_btnShowFbVersions || id == IDC_CV_btnFilterDbList) own = !checking_;
        setVisible(id, page_ == 0 && own);
    }
    for (int id : kSecondPageControls) setVisible(id, page_ == 1);
}

void TfrmConvertFdb::showListView(bool list) {
    listView_ = list;
    const RECT memo = rectInParent(item(IDC_CV_mFdbFiles));
    SetWindowPos(item(IDC_CV_grdDb), nullptr, memo.left, memo.top, memo.right - memo.left, memo.bottom - memo.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    applyVisibility();
}

void TfrmConvertFdb::setGridRow(size_t index, const FdbEntry& row) {
    HWND grid = item(IDC_CV_grdDb);
    std::wstring file = platform::widen(row.fdbFn);
    std::wstring label = platform::widen(row.fbVersionLabel);
    LVITEMW cell{};
    cell.mask = LVIF_TEXT;
    cell.iItem = static_cast<int>(index);
    cell.pszText = file.data();
    if (static_cast<LRESULT>(index) >= SendMessageW(grid, LVM_GETITEMCOUNT, 0, 0))
        SendMessageW(grid, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&cell));
    else
        SendMessageW(grid, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&cell));
    cell.iSubItem = 1;
    cell.pszText = label.data();
    SendMessageW(grid, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&cell));
}

void TfrmConvertFdb::fillGrid() {
    SendMessageW(item(IDC_CV_grdDb), LVM_DELETEALLITEMS, 0, 0);
    for (size_t i = 0; i < rows_.size(); ++i) setGridRow(i, rows_[i]);
}

void TfrmConvertFdb::runVersionCheck() {
    checking_ = true;
    showListView(false);
    rows_ = std::vector<FdbEntry>(1);
    fillGrid();
    const std::vector<std::string> lines = splitLines(text(IDC_CV_mFdbFiles));
    const int max = static_cast<int>(lines.size());
    setProgress(IDC_CV_pb1, max, 0);

    // The closing steps run however the check ends.
    struct Closing {
        TfrmConvertFdb& dialog;
        ~Closing() {
            dialog.checking_ = false;
            dialog.showListView(true);
        }
    } closing{*this};
    checkFbVersions(
        lines,
        [this](const std::string& line, const std::string& runId) {
            return getFdbOdsVersion(text(IDC_CV_cbOldFbServerPath), text(IDC_CV_cbNewFbServerPath), fTempDir, line,
                                    runId);
        },
        [this, max](int position, const std::vector<FdbEntry>& rows) {
            rows_ = rows;
            setGridRow(rows_.size() - 1, rows_.back());
            setProgress(IDC_CV_pb1, max, position);
            platform::sleepProcessingEvents(std::chrono::milliseconds(0));
        });
}

void TfrmConvertFdb::Button4Click() {
    if (showVersionsTag_ == 0) {
        showVersionsTag_ = 1;
        showListView(true);
        return;
    }
    showVersionsTag_ = 0;
    runVersionCheck();
    showListView(false);
}

void TfrmConvertFdb::btnFilterDbListClick() {
    runVersionCheck();
    setText(IDC_CV_mFdbFiles, listFieldText(firebird25Files(rows_)));
}

void TfrmConvertFdb::browseServerFolder(int comboId, int labelId) {
    const std::string title = platform::narrow(withoutAccessKeys(platform::widen(text(labelId))));
    const std::optional<std::string> chosen = platform::selectFolder(title, trim(text(comboId)));
    if (chosen) setText(comboId, *chosen);
}

void TfrmConvertFdb::tryConnection(bool oldServer) {
    const int folder = oldServer ? IDC_CV_cbOldFbServerPath : IDC_CV_cbNewFbServerPath;
    const int* fields = oldServer ? &kServerFieldIds[0] : &kServerFieldIds[4];
    std::string parameterText;
    try {
        tryFbConnection(hwnd(), text(folder), text(fields[0]), text(fields[1]), text(IDC_CV_cbConnTestFdbFn),
                        text(fields[2]), text(fields[3]), parameterText);
    } catch (const std::exception& error) {
        platform::prompter().showMessage(std::string(texts_convert::kConnectionFailed) + error.what(),
                                         platform::BoxKind::Error);
        return;
    }
    platform::prompter().showMessage(texts_convert::kConnectionOk, platform::BoxKind::Message);
}

}  // namespace fbwb
