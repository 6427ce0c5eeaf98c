#pragma once
// "Firebird telepítő": offers the server versions whose kits are present, installs the chosen ones on
// request (kit unpacked, services registered, firewall rule added) and shows the progress as lines and
// a gauge. The whole run happens inside the install button's handler while the window stays open.
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/dialog_win.h"
#include "platform/handles_win.h"

namespace fbwb {

// The two pages below the header; one is shown, the other hidden.
enum class InstallPage { pnlFbSelect, pnlProgressBg };

class TfrmInstallParams : public platform::Dialog {
public:
    explicit TfrmInstallParams(HWND owner = nullptr);

    // Prepares the page and the offered versions, then shows the window modally until it is closed.
    void showForm(InstallPage pnlToShow, std::string_view kelmoraWinFolder, std::string_view tempFolder);

    // Fixed settings of the window.
    const bool allowFirewallModification = true;
    const bool allowGuiMessages = true;
    const bool autoCloseAfterInstall = false;

protected:
    void onInit() override;
    bool onCommand(int id, int notifyCode) override;
    // Enter without a default button and Esc or the frame during a run do nothing.
    void onOk() override {}
    void onCancel() override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

    void showPage(InstallPage page);
    void Button1Click();
    void btnInstallClick();

private:
    void fillKelmoraWinFolders();
    void installVersion(std::uint8_t version, std::string_view firebirdRoot);
    void appendProcLine(std::string_view text);
    void addProcLine(std::string_view text);
    void addProcStep(std::string_view text);
    void setGaugeRange(int maximum);
    int gaugePosition() const;
    void setGaugePosition(int position);
    // A page's control is visible when its page is shown and it is meant to be shown itself.
    void setShown(int id, bool on);
    void applyVisibility();
    void paintHeader(HDC dc);

    HWND owner_;
    InstallPage page_ = InstallPage::pnlFbSelect;
    InstallPage pageToShow_ = InstallPage::pnlFbSelect;
    std::string fKelmoraWinFolder;
    std::string fTempFolder;
    bool available2_5_ = false;
    bool available3_0_ = false;
    bool running_ = false;
    unsigned shown_ = 0;  // one bit per page control, in the order of the page table
    platform::UniqueFont titleFont_;
    platform::UniqueFont noInstallerFont_;
    platform::UniqueBitmap picture_;
};

}  // namespace fbwb
