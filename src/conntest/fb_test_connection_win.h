#pragma once
// "Adatbázis-kapcsolat tesztelése": tries a client connection to a database through a server's
// client library and writes how it went into the result box, which keeps every earlier result.
// Lives as long as the main window and keeps what its fields hold; the try runs on the window's
// own thread.
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "conntest/fb_connection_win.h"
#include "platform/dialog_win.h"

namespace fbwb {

// The connection try: owner, server folder, IP, port, database path, user name, password; the
// parameter text comes back through the last argument. True when connected; a failure throws.
using FbConnectionTry = std::function<bool(HWND, std::string_view, std::string_view, std::string_view, std::string_view,
                                           std::string_view, std::string_view, std::string&)>;

class TfrmFbTestConnection : public platform::OptionDialog {
public:
    explicit TfrmFbTestConnection(FbConnectionTry tryConnection = tryFbConnection);

    // Fills the fields (the database path has its placeholders expanded, the port comes from the
    // server's firebird.conf when there is one) and shows the dialog modally.
    void showForm(std::string_view fbServerMainDir, std::string_view dbDir, std::string_view ip, std::string_view un,
                  std::string_view pw);
    // Everything the result box has shown, kept for the next opening.
    const std::string& results() const { return results_; }

protected:
    void onInit() override;
    bool onCommand(int id, int notifyCode) override;
    // Enter presses the test button (the default one); only Esc and the caption's X close the dialog.
    void onOk() override {}
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void Button1Click();
    void Button12Click();
    void Button14Click();
    void appendResults(const std::vector<std::string>& lines);
    void scrollResultsToEnd();

    struct Fields {
        std::string fbServerMainDir;
        std::string ip;
        std::string port;
        std::string testDbFn;
        std::string un;
        std::string pw;
        bool detailedLog = false;
    };
    Fields fields_;
    // The file dialog's state: where it starts and the name it shows (the last one chosen).
    std::string odInitialDir_;
    std::string odFileName_;
    std::string results_;
    FbConnectionTry tryConnection_;
};

}  // namespace fbwb
