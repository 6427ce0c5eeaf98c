#include "conntest/fb_test_connection_win.h"

#include <exception>
#include <utility>

#include "conntest/conn_test_report.h"
#include "conntest/fb_test_connection_ids.h"
#include "conntest/texts_conntest.h"
#include "core/common_settings.h"
#include "core/helpers.h"
#include "core/text.h"
#include "env/fbconf.h"
#include "env/server_discovery_win.h"
#include "env/server_paths.h"
#include "platform/encoding.h"
#include "platform/fs.h"
#include "platform/process.h"
#include "platform/shell_dialogs.h"

namespace fbwb {

using namespace texts_conntest;

namespace {

// While a try lasts: the busy cursor, the test button disabled and the window painted as it
// stands. Clicks and keys that came meanwhile are dropped, so they start no second try.
class TryScope {
public:
    explicit TryScope(HWND button) : button_(button), focused_(GetFocus()) {
        EnableWindow(button_, FALSE);
        platform::paintPendingWindows();
    }
    ~TryScope() {
        platform::discardPendingInput();
        EnableWindow(button_, TRUE);
        // A disabled button loses the focus; a keyboard user gets it back where it was.
        if (focused_ != nullptr && IsWindow(focused_) && GetFocus() == nullptr) SetFocus(focused_);
    }
    TryScope(const TryScope&) = delete;
    TryScope& operator=(const TryScope&) = delete;

private:
    platform::BusyCursor busy_;
    HWND button_;
    HWND focused_;
};

}  // namespace

TfrmFbTestConnection::TfrmFbTestConnection(FbConnectionTry tryConnection)
    : OptionDialog(IDD_TfrmFbTestConnection), tryConnection_(std::move(tryConnection)) {
    fields_.ip = kDefaultIp;
    fields_.port = kDefaultPort;
    fields_.testDbFn = kDefaultDatabase;
    fields_.un = kDefaultUserName;
    fields_.pw = kDefaultPassword;
    odFileName_ = kDatabaseFileName;
}

void TfrmFbTestConnection::showForm(std::string_view fbServerMainDir, std::string_view dbDir, std::string_view ip,
                                    std::string_view un, std::string_view pw) {
    odInitialDir_ = trim(dbDir);
    // Placeholders typed since the last opening are expanded too; a plain path stays as it is.
    fields_.testDbFn = expandPlaceholders(fields_.testDbFn);
    fields_.fbServerMainDir = trim(fbServerMainDir);
    fields_.ip = ip;
    fields_.un = un;
    fields_.pw = pw;
    const std::string confFile = getFbConfFn(fbServerMainDir);
    if (platform::fileExists(confFile)) fields_.port = readRemoteServicePort(confFile);
    showModalForm();
}

void TfrmFbTestConnection::onInit() {
    SendMessageW(item(IDC_CONN_edPw), EM_SETPASSWORDCHAR, L'*', 0);
    setText(IDC_CONN_edFbServerMainDir, fields_.fbServerMainDir);
    setText(IDC_CONN_edIp, fields_.ip);
    setText(IDC_CONN_edPort, fields_.port);
    setText(IDC_CONN_edTestDbFn, fields_.testDbFn);
    setText(IDC_CONN_edUn, fields_.un);
    setText(IDC_CONN_edPw, fields_.pw);
    setChecked(IDC_CONN_cbDetailedLog, fields_.detailedLog);
    // The results of a long session outgrow the edit control's default limit.
    SendMessageW(item(IDC_CONN_mFbConnTestRes), EM_SETLIMITTEXT, 0, 0);
    setText(IDC_CONN_mFbConnTestRes, results_);
    scrollResultsToEnd();
    centreOnOwner();
}

bool TfrmFbTestConnection::onCommand(int id, int notifyCode) {
    if (notifyCode != BN_CLICKED) return false;
    switch (id) {
        case IDC_CONN_Button1:
            Button1Click();
            return true;
        case IDC_CONN_Button12:
            Button12Click();
            return true;
        case IDC_CONN_Button14:
            Button14Click();
            return true;
        default:
            return false;
    }
}

bool TfrmFbTestConnection::onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    if (message == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(lParam) == item(IDC_CONN_mFbConnTestRes)) {
        // The result box is read-only, but it is the dialog's page: white as an editable one.
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
        result = reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
        return true;
    }
    if (message == WM_DESTROY) {
        // However the dialog was closed, the next opening shows what it showed.
        fields_.fbServerMainDir = text(IDC_CONN_edFbServerMainDir);
        fields_.ip = text(IDC_CONN_edIp);
        fields_.port = text(IDC_CONN_edPort);
        fields_.testDbFn = text(IDC_CONN_edTestDbFn);
        fields_.un = text(IDC_CONN_edUn);
        fields_.pw = text(IDC_CONN_edPw);
        fields_.detailedLog = checked(IDC_CONN_cbDetailedLog);
    }
    return OptionDialog::onMessage(message, wParam, lParam, result);
}

void TfrmFbTestConnection::Button1Click() {
    const auto chosen = platform::selectFolder(kServerFolderLabel, trim(text(IDC_CONN_edFbServerMainDir)));
    if (chosen) setText(IDC_CONN_edFbServerMainDir, *chosen);
}

void TfrmFbTestConnection::Button12Click() {
    const platform::FileOpenRequest request{kDatabaseFileTitle, "", odFileName_, odInitialDir_, kDatabaseFileExtension};
    const auto chosen = platform::selectFileToOpen(request);
    if (!chosen) return;
    odFileName_ = *chosen;
    setText(IDC_CONN_edTestDbFn, *chosen);
}

void TfrmFbTestConnection::Button14Click() {
    const std::string serverFolder = text(IDC_CONN_edFbServerMainDir);
    const std::string ip = text(IDC_CONN_edIp);
    const std::string port = text(IDC_CONN_edPort);
    const std::string database = text(IDC_CONN_edTestDbFn);
    const std::string address = makeDbConnectionString(ip, port, database);
    appendResults(connTestStartLines(address));
    ConnTestOutcome outcome;
    {
        TryScope trying(item(IDC_CONN_Button14));
        try {
            outcome.connected = tryConnection_(hwnd(), serverFolder, ip, port, database, text(IDC_CONN_edUn),
                                               text(IDC_CONN_edPw), outcome.parameterText);
        } catch (const std::exception& error) {
            outcome.error = error.what();
        }
    }
    appendResults(connTestOutcomeLines(address, outcome, checked(IDC_CONN_cbDetailedLog)));
}

void TfrmFbTestConnection::appendResults(const std::vector<std::string>& lines) {
    const std::string more = joinLinesCrLf(lines);
    results_ += more;
    HWND box = item(IDC_CONN_mFbConnTestRes);
    const LRESULT end = GetWindowTextLengthW(box);
    SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(end), end);
    SendMessageW(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(platform::widen(more).c_str()));
    scrollResultsToEnd();
}

void TfrmFbTestConnection::scrollResultsToEnd() {
    HWND box = item(IDC_CONN_mFbConnTestRes);
    const LRESULT end = GetWindowTextLengthW(box);
    SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(end), end);
    SendMessageW(box, EM_SCROLLCARET, 0, 0);
}

}  // namespace fbwb
