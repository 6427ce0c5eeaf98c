#pragma once
// "Adatbázis konvertálása": the databases to convert (with a view of each file's Firebird generation
// and a filter that keeps the Firebird 2.5 ones), now or batch mode, and the old and the new server
// with a connection try to each. It lives as long as the main window; showForm refills the list, the
// test-file choices, both folder boxes and the eight server fields, the rest keeps its last state.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "convert/convert_rules.h"
#include "platform/dialog_win.h"
#include "tasks/fdb_header.h"

namespace fbwb {

class TfrmConvertFdb : public platform::OptionDialog {
public:
    TfrmConvertFdb();

    // Fills the dialog and shows it modally over the application's window; true when confirmed with
    // "Konvertálás" or "Tovább". An old or new folder given (not blank) becomes its box's text.
    bool showForm(std::string_view appDbDir, std::string_view tempDir, std::string_view fbServerList,
                  std::string_view fboldDir, std::string_view fbOldIp, std::string_view fbOldPort,
                  std::string_view fboldUn, std::string_view fbOldPw, std::string_view fbNewDir,
                  std::string_view fbnewIp, std::string_view fbnewPort, std::string_view fbnewUn,
                  std::string_view fbnewPw);

    // What the controls held when the dialog last closed.
    ConvertChoice choice() const;
    const std::string& tempDir() const { return fTempDir; }
    // The version view's rows from row 1 on, and btnShowFbVersions' toggle flag.
    const std::vector<FdbEntry>& versionRows() const { return rows_; }
    int showVersionsTag() const { return showVersionsTag_; }

protected:
    void onInit() override;
    bool onCommand(int id, int notifyCode) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    // Enter confirms as both confirming buttons do.
    void onOk() override { BitBtn2Click(); }
    // Neither confirming nor closing ends the dialog while the version check runs under it.
    void onCancel() override {
        if (!checking_) OptionDialog::onCancel();
    }

private:
    void FormCreate();
    void BitBtn2Click();
    void rbDbModNowClick() { applyVisibility(); }
    void Button4Click();
    void btnFilterDbListClick();
    void browseServerFolder(int comboId, int labelId);
    void tryConnection(bool oldServer);
    // The list view (true) or the version view, the grid laid over the list's rectangle either way.
    void showListView(bool list);
    void runVersionCheck();
    void applyVisibility();
    void setGridRow(size_t index, const FdbEntry& row);
    void fillGrid();
    void storeControls();

    std::string fTempDir;
    int page_ = 0;
    bool listView_ = true;
    bool checking_ = false;
    int showVersionsTag_ = 0;
    RunMode mode_ = RunMode::Now;
    std::string batchFile_;
    std::vector<std::string> lines_;
    std::vector<std::string> testFiles_;
    std::string testFile_;
    ServerFolderBoxes boxes_;
    std::string oldFolder_, newFolder_;
    // Old IP, port, user, password, then the new server's.
    std::string serverFields_[8];
    std::vector<FdbEntry> rows_ = std::vector<FdbEntry>(1);
    std::unique_ptr<platform::TabPageKeys> tabKeys_;
};

}  // namespace fbwb
