#pragma once
// "Az adatbázis-kezelő beállításai": edit the active server's firebird.conf or write a new one,
// optionally with the audit trace. Lives as long as the main window and keeps the choice.
#include <string>
#include <string_view>

#include "platform/dialog_win.h"
#include "serverconf/fbconf_tuning.h"

namespace fbwb {

class TfrmFbConfSettings : public platform::OptionDialog {
public:
    TfrmFbConfSettings();

    // A blank new-file field gets tempDir (with its trailing backslash) + "firebird_MINTA.conf";
    // then shows the dialog modally; true when confirmed.
    bool showForm(std::string_view tempDir);
    const FbConfChoice& choice() const { return choice_; }

protected:
    void onInit() override;
    bool onCommand(int id, int notifyCode) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void rbConfUpdateActiveClick();

    std::string fTempDir;
    FbConfChoice choice_;
    // The two lists are shown only; they keep their selection between openings all the same.
    int versionIndex_ = 0;
    int architectureIndex_ = 1;
};

}  // namespace fbwb
