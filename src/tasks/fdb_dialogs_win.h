#pragma once
// The database list dialogs: a list of database files (one per line, editable), now or batch mode
// with the batch file's name, and the task's own options. Each lives as long as the main window;
// its mode, batch file and options keep the administrator's last choice between openings, and
// its list is rebuilt by every showForm.
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialog_win.h"
#include "platform/handles_win.h"
#include "tasks/db_list_choice.h"

namespace fbwb {

// The *.fdb files under appDbDir, those of its subfolders first; the windows stay painted meanwhile.
std::vector<std::string> findDatabaseFiles(std::string_view appDbDir);
// A list field's text: the lines joined by CR LF (a line break after the last would only add an empty row).
std::string listFieldText(const std::vector<std::string>& lines);

class FdbListDialog : public platform::OptionDialog {
public:
    // The default batch file name is put after the temp folder when the field is blank.
    FdbListDialog(int templateId, std::string_view defaultBatchName);

    // Fills the list with the *.fdb files under appDbDir (subfolders first), shows the dialog
    // modally over the application's window; true when confirmed with "A módosítáok elvégzése".
    bool showForm(std::string_view appDbDir, std::string_view tempDir);

    // The mode, batch file and list as the dialog held them when it last closed (or as prepared).
    const FdbListChoice& choice() const { return choice_; }
    const std::string& tempDir() const { return fTempDir; }

    // The batch-file field while the dialog is closed (the maintenance action fills it early).
    const std::string& batchFileField() const { return choice_.batchFile; }
    void setBatchFileField(std::string value) { choice_.batchFile = std::move(value); }

protected:
    void onInit() override;
    bool onCommand(int id, int notifyCode) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    // The task's own controls: put the kept state in, take it back out before the window goes.
    virtual void loadOptions() {}
    virtual void storeOptions() {}

    std::string fTempDir;

private:
    void showModeField();
    std::string defaultBatchName_;
    FdbListChoice choice_;
};

// "Adatbázisok karbantartása ": maintenance, backup, restore, backup deletion.
class TfrmFdbMaintain : public FdbListDialog {
public:
    TfrmFdbMaintain();
    const MaintenanceSteps& steps() const { return steps_; }

protected:
    void loadOptions() override;
    void storeOptions() override;
    bool onCommand(int id, int notifyCode) override;

private:
    void cbDbBAckupClick();
    void cbDbRestoreClick();
    MaintenanceSteps stepsInControls() const;
    void showSteps(const MaintenanceSteps& steps);
    MaintenanceSteps steps_;
};

// "Adatbázis(ok) beállításai": asynchronous writes, and page buffers as a percentage of the file.
class TfrmFdbSettings : public FdbListDialog {
public:
    TfrmFdbSettings();
    const SettingsOptions& options() const { return options_; }

protected:
    void onInit() override;
    void loadOptions() override;
    void storeOptions() override;
    bool onCommand(int id, int notifyCode) override;

private:
    // Puts the percentage's edit and up-down into the blank gap of the cache option's caption.
    void placePercentInCaptionGap();
    void clampPercentField();
    SettingsOptions options_;
};

}  // namespace fbwb
