#pragma once
// "A Firebird adatbázis-kezelő eltávolítása": the administrator names an install folder and an
// instance; the dialog writes uninstallFbService.bat (the two services' removal, then "pause") into
// the temp folder and opens it in a console window of its own, without waiting for it.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/dialog_win.h"
#include "platform/handles_win.h"

namespace fbwb {

class TfrmUninstallFB : public platform::OptionDialog {
public:
    // owner: the window the dialog belongs to; none: the application's window.
    explicit TfrmUninstallFB(HWND owner = nullptr);

    // Lists the instance names and the install folders of both versions under fbMainDir (trimmed, with
    // a trailing backslash), shows the dialog modally; true when it started an uninstallation.
    bool showForm(std::string_view fbMainDir, std::string_view tempDir);

protected:
    void onInit() override;
    bool onCommand(int id, int notifyCode) override;
    // Enter starts nothing: only the button does.
    void onOk() override {}
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void Button12Click();
    void btnDoUninstallClick();
    void paintHeaderBand(HDC dc) const;
    void drawUninstallButton(const DRAWITEMSTRUCT& item) const;

    HWND owner_;
    std::string fTempDir;
    std::vector<std::string> fragments_;
    std::vector<std::string> folders_;
    platform::UniqueFont titleFont_;
    platform::UniqueFont boldFont_;
};

}  // namespace fbwb
