#pragma once
// The main window: the common settings, the toolbar of six actions with their guards, the live
// operation log and the progress of a run. It owns the working fields that the runs share.
#include <string>
#include <string_view>

#include "app/main_rules.h"
#include "app/picture_buttons_win.h"
#include "conntest/fb_test_connection_win.h"
#include "core/common_settings.h"
#include "convert/convert_fdb_dialog_win.h"
#include "core/working_fields.h"
#include "platform/dialog_win.h"
#include "platform/handles_win.h"
#include "serverconf/fbconf_settings_dialog_win.h"
#include "serverconf/fbconf_tuning.h"
#include "tasks/fdb_dialogs_win.h"

namespace fbwb {

class TfrmFbSettingsMain : public platform::Dialog {
public:
    TfrmFbSettingsMain();
    ~TfrmFbSettingsMain() override;

    // Creates the window (hidden) and runs the start-up. With quitOnClose, closing the window
    // ends the program's message loop.
    HWND createWindow(bool quitOnClose);

    // The common settings as the fields hold them now, and writing them back.
    CommonSettings readSettings() const;
    void writeSettings(const CommonSettings& settings);

    WorkingFields& fields() { return fields_; }
    void writeLogLine(const std::string& text) { fields_.mLog.writeLogLine(text); }
    void writeErrorLine(const std::string& text, bool showBox) { fields_.mLog.writeErrorLine(text, showBox); }

    // The path of a server tool under the chosen server folder.
    std::string getToolPath(std::string_view toolName) const;
    std::string getInstallRoot() const;
    const TfrmFdbMaintain& maintainDialog() const { return maintainDialog_; }
    TfrmConvertFdb& convertDialog() { return convertDialog_; }

    // A toolbar click: the action's guards, then its dialog and run. Ignored while a run lasts.
    void runAction(ToolAction action);

    // Marks a run: the toolbar, the connection-test and browse buttons are disabled and the progress bar
    // follows pbOp from its start to its end, so no second run can start meanwhile.
    class RunScope {
    public:
        // stoppable: the stop button is offered while the run lasts.
        explicit RunScope(TfrmFbSettingsMain& window, bool stoppable = false);
        ~RunScope();
        RunScope(const RunScope&) = delete;
        RunScope& operator=(const RunScope&) = delete;

    private:
        TfrmFbSettingsMain& window_;
        HWND focused_;
    };
    bool isRunning() const { return running_; }

    // The window's close request (the caption's X, Alt+F4, a WM_CLOSE from outside).
    void requestClose();

protected:
    void onInit() override;
    bool onCommand(int id, int notifyCode) override;
    void onOk() override {}
    void onCancel() override {}
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void startUp();
    void layOutBands();
    void paintBands(HDC dc);
    void appendToLogView(const std::string& line);
    void browseFolder(int fieldId, std::string_view label);
    void openTaskDialog(ToolAction action, const CommonSettings& settings);
    void setActionsEnabled(bool on);

    WorkingFields fields_;
    // The task dialogs live as long as the window and keep the administrator's choices.
    TfrmFdbSettings settingsDialog_;
    TfrmFdbMaintain maintainDialog_;
    TfrmFbConfSettings confDialog_;
    TfrmConvertFdb convertDialog_;
    TfrmFbTestConnection testConnectionDialog_;
    // The tuning's hidden data: its target path, the edited lines, the scheme and the trace sample.
    FbConfFields fbConf_ = defaultFbConfFields();
    PictureButtons toolbar_;
    platform::UniqueModule richEdit_;
    HFONT titleFont_ = nullptr;
    int titleBandBottom_ = 0;
    int toolbarBandBottom_ = 0;
    bool running_ = false;
    bool quitOnClose_ = false;
};

}  // namespace fbwb
