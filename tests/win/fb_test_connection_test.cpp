// The connection test dialog, shown modally and driven from inside its own message loop, with a
// scripted connection try: texts and defaults, what a second opening keeps, the port from
// firebird.conf, the address, the result box and the window while a try lasts, browsing, layout.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "conntest/fb_test_connection_ids.h"
#include "conntest/fb_test_connection_win.h"
#include "conntest/texts_conntest.h"
#include "core/datetime.h"
#include "core/text.h"
#include "platform/dialog_win.h"
#include "platform/scripted_prompter.h"
#include "win/dialog_answerer.h"
#include "win/dialog_driver.h"
#include "win/temp_folder.h"

using namespace fbwb;
using namespace fbwb::test;
using namespace fbwb::texts_conntest;
using Dialog = Driven<TfrmFbTestConnection>;

namespace {

// What the dialog handed to the connection try.
struct TryCall {
    std::string serverFolder, ip, port, database, userName, password;
};

// A connection try that records its calls and does what the test says.
struct ScriptedTry {
    std::vector<TryCall> calls;
    std::function<bool(std::string& parameterText)> behaviour = [](std::string&) { return true; };

    FbConnectionTry function() {
        return [this](HWND, std::string_view serverFolder, std::string_view ip, std::string_view port,
                      std::string_view database, std::string_view userName, std::string_view password,
                      std::string& parameterText) {
            calls.push_back({std::string(serverFolder), std::string(ip), std::string(port), std::string(database),
                             std::string(userName), std::string(password)});
            return behaviour(parameterText);
        };
    }
};

class FbTestConnectionDialog : public ::testing::Test {
protected:
    void SetUp() override { platform::initCommonControls(); }

    // A server folder without firebird.conf, so the port field keeps its text.
    void showForm(Dialog& d, std::string_view dbDir = "c:\\KELMORA.WIN\\2017\\adat") {
        d.showForm(noConf_.path(), dbDir, "127.0.0.1", "SYSDBA", "qwdbadmin");
    }

    TempFolder noConf_;
    ScriptedTry try_;
    platform::ScriptedPrompter boxes_;
    platform::PrompterOverride inForce_{boxes_};
};

std::string results(Dialog& d) { return d.textOf(IDC_CONN_mFbConnTestRes); }

int countOf(const std::string& text, const std::string& part) {
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++count;
    return count;
}

}  // namespace

TEST_F(FbTestConnectionDialog, FirstOpeningShowsTheDescribedTextsAndDefaults) {
    Dialog d(try_.function());
    d.script = [&](Dialog& d) {
        EXPECT_EQ(windowText(d.hwnd()), kDialogCaption);
        const std::pair<int, std::string_view> captions[] = {
            {IDC_CONN_lFbServerMainDir, kServerFolderLabel},
            {IDC_CONN_Button1, kBrowse},
            {IDC_CONN_lIp, kIpLabel},
            {IDC_CONN_lPort, kPortLabel},
            {IDC_CONN_lTestDbFn, kDatabaseLabel},
            {IDC_CONN_Button12, kBrowse},
            {IDC_CONN_lUn, kUserNameLabel},
            {IDC_CONN_lPw, kPasswordLabel},
            {IDC_CONN_Button14, kTestButton},
            {IDC_CONN_cbDetailedLog, kDetailedLog},
            {IDC_CONN_lFbConnTestRes, kResultsLabel},
        };
        for (const auto& [id, caption] : captions) EXPECT_EQ(withoutAccessKeys(d.textOf(id)), caption) << id;
        EXPECT_EQ(d.textOf(IDC_CONN_edFbServerMainDir), noConf_.path()) << "trimmed";
        EXPECT_EQ(d.textOf(IDC_CONN_edIp), " 10.1.1.1 ") << "as given";
        EXPECT_EQ(d.textOf(IDC_CONN_edPort), "6648");
        EXPECT_EQ(d.textOf(IDC_CONN_edTestDbFn), "c:\\KELMORA.WIN\\" + formatYear(localNow()) + "\\conf.fdb");
        EXPECT_EQ(d.textOf(IDC_CONN_edUn), " SYSDBA ");
        EXPECT_EQ(d.textOf(IDC_CONN_edPw), "titok ");
        EXPECT_EQ(SendMessageW(d.item(IDC_CONN_edPw), EM_GETPASSWORDCHAR, 0, 0), L'*');
        EXPECT_FALSE(d.isChecked(IDC_CONN_cbDetailedLog));
        EXPECT_EQ(results(d), "");
        // The result box: several lines, a vertical scroll bar, long lines not wrapped.
        const LONG_PTR box = style(d.item(IDC_CONN_mFbConnTestRes));
        EXPECT_TRUE((box & ES_MULTILINE) && (box & WS_VSCROLL) && (box & ES_AUTOHSCROLL)) << std::hex << box;
        EXPECT_EQ(style(d.item(IDC_CONN_Button14)) & BS_TYPEMASK, BS_DEFPUSHBUTTON) << "Enter runs a test";
    };
    d.showForm("  " + noConf_.path() + " ", "c:\\adat", " 10.1.1.1 ", " SYSDBA ", "titok ");
    EXPECT_TRUE(d.scriptRan);
    EXPECT_TRUE(try_.calls.empty());
}

// Every opening expands the placeholders still in the path: the default's year at the first, a
// year typed later at the next; a plain path stays. The other fields keep their texts except those
// that the opening fills.
TEST_F(FbTestConnectionDialog, LaterOpeningsKeepThePathAndExpandOnlyPlaceholdersStillThere) {
    const std::string year = formatYear(localNow());
    Dialog d(try_.function());
    d.script = [&](Dialog& d) {
        EXPECT_EQ(d.textOf(IDC_CONN_edTestDbFn), "c:\\KELMORA.WIN\\" + year + "\\conf.fdb");
        d.type(IDC_CONN_edTestDbFn, "D:\\adat\\kelmora.fdb");
        d.type(IDC_CONN_edPort, "3051");
        d.type(IDC_CONN_edIp, "10.0.0.9");
        d.click(IDC_CONN_cbDetailedLog);
        PostMessageW(d.hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    };
    showForm(d);
    EXPECT_FALSE(d.fellBack);

    d.script = [&](Dialog& d) {
        EXPECT_EQ(d.textOf(IDC_CONN_edTestDbFn), "D:\\adat\\kelmora.fdb");
        EXPECT_EQ(d.textOf(IDC_CONN_edPort), "3051");
        EXPECT_EQ(d.textOf(IDC_CONN_edIp), "127.0.0.1") << "each opening gives the address";
        EXPECT_TRUE(d.isChecked(IDC_CONN_cbDetailedLog));
        d.type(IDC_CONN_edTestDbFn, "D:\\###Year###\\x.fdb");
    };
    showForm(d);

    d.script = [&](Dialog& d) { EXPECT_EQ(d.textOf(IDC_CONN_edTestDbFn), "D:\\" + year + "\\x.fdb"); };
    showForm(d);
}

// The port comes from the server's firebird.conf when the file is there (its default when the key
// has no active line); without the file the field keeps what it holds.
TEST_F(FbTestConnectionDialog, PortFromFirebirdConfOnlyWhenTheFileExists) {
    TempFolder servers;
    const std::string withPort = servers.folder("a");
    servers.file("a\\firebird.conf", "#RemoteServicePort = 3050\r\nRemoteServicePort = 3058 # teszt\r\n");
    const std::string withoutKey = servers.folder("b");
    servers.file("b\\firebird.conf", "#RemoteServicePort = 3051\r\nDefaultDbCachePages = 2048\r\n");
    const std::string withoutFile = servers.folder("c");
    struct Case {
        std::string serverFolder;
        const char* typed;  // typed into the field before the dialog is closed
        const char* expected;
    } cases[] = {
        {withoutFile, "1234", "6648"}, {withoutFile, nullptr, "1234"}, {" " + withPort + " ", "1234", "3058"},
        {withoutKey, nullptr, "3050"}, {withoutFile, nullptr, "3050"},
    };
    Dialog d(try_.function());
    for (const Case& c : cases) {
        d.script = [&](Dialog& d) {
            EXPECT_EQ(d.textOf(IDC_CONN_edPort), c.expected) << c.serverFolder;
            if (c.typed != nullptr) d.type(IDC_CONN_edPort, c.typed);
        };
        d.showForm(c.serverFolder, "", "127.0.0.1", "SYSDBA", "qwdbadmin");
    }
}

// The address named in the result box is built from the trimmed fields; the try gets the fields'
// texts as they stand.
TEST_F(FbTestConnectionDialog, TheAddressFollowsTheIpAndPortFields) {
    struct Case {
        const char *ip, *port, *database, *address;
    } cases[] = {
        {"127.0.0.1", "", "C:\\adat\\conf.fdb", "127.0.0.1:C:\\adat\\conf.fdb"},
        {"", "", "C:\\adat\\conf.fdb", "C:\\adat\\conf.fdb"},
        {"", "3050", "C:\\adat\\conf.fdb", "127.0.0.1/3050:C:\\adat\\conf.fdb"},
        {" 10.0.0.1 ", " 3051 ", " D:\\x y\\a.fdb ", "10.0.0.1/3051:D:\\x y\\a.fdb"},
    };
    Dialog d(try_.function());
    d.script = [&](Dialog& d) {
        d.type(IDC_CONN_edFbServerMainDir, " C:\\fb ");
        d.type(IDC_CONN_edUn, " sysdba ");
        d.type(IDC_CONN_edPw, " pw ");
        for (const Case& c : cases) {
            d.type(IDC_CONN_edIp, c.ip);
            d.type(IDC_CONN_edPort, c.port);
            d.type(IDC_CONN_edTestDbFn, c.database);
            d.click(IDC_CONN_Button14);
            EXPECT_NE(
                results(d).find("Kapcsolódás a következő adatbázishoz: " + std::string(c.address) + "\r\n...\r\n"),
                std::string::npos)
                << c.address;
        }
    };
    showForm(d);
    ASSERT_EQ(try_.calls.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        const TryCall& call = try_.calls[i];
        EXPECT_EQ(call.serverFolder, " C:\\fb ");
        EXPECT_EQ(call.ip, cases[i].ip);
        EXPECT_EQ(call.port, cases[i].port);
        EXPECT_EQ(call.database, cases[i].database);
        EXPECT_EQ(call.userName, " sysdba ");
        EXPECT_EQ(call.password, " pw ");
    }
}

// The whole text of a success, then of a failure with the detailed log: the parameters handed back
// before the failure are listed, and each line of the client's text stands on its own line.
TEST_F(FbTestConnectionDialog, ResultBoxReportsEachOutcomeAndListsTheParametersOnRequest) {
    const std::string parameters = "DriverName=Firebird\r\nDatabase=127.0.0.1/3050:C:\\a.fdb\r\nPassword=qwdbadmin\r\n";
    Dialog d(try_.function());
    d.script = [&](Dialog& d) {
        d.type(IDC_CONN_edPort, "3050");
        d.type(IDC_CONN_edTestDbFn, "C:\\a.fdb");
        d.click(IDC_CONN_Button14);
        try_.behaviour = [&](std::string& parameterText) -> bool {
            parameterText = parameters;
            throw std::runtime_error("Your user name and password are not defined.\nAsk your administrator.");
        };
        d.click(IDC_CONN_cbDetailedLog);
        d.click(IDC_CONN_Button14);
    };
    showForm(d);
    EXPECT_EQ(d.results(),
              "Kapcsolódás a következő adatbázishoz: 127.0.0.1/3050:C:\\a.fdb\r\n"
              "...\r\n"
              "Sikerült csatlakozni az adatbázishoz.\r\n"
              " ========== \r\n"
              "\r\n"
              "Kapcsolódás a következő adatbázishoz: 127.0.0.1/3050:C:\\a.fdb\r\n"
              "...\r\n"
              "NEM sikerült csatlakozni az adatbázishoz: 127.0.0.1/3050:C:\\a.fdb\r\n"
              "Your user name and password are not defined.\r\n"
              "Ask your administrator.\r\n"
              "\r\n"
              "  *** A kapcsolat részletes paraméterei: ***\r\n"
              "DriverName=Firebird\r\n"
              "Database=127.0.0.1/3050:C:\\a.fdb\r\n"
              "Password=qwdbadmin\r\n"
              "  ******************************************\r\n"
              " ========== \r\n"
              "\r\n");
}

// Results stay across tests and openings, and the box shows its end after each test and at each
// opening; a test leaves the dialog usable.
TEST_F(FbTestConnectionDialog, ResultBoxKeepsEarlierResultsAndShowsItsEnd) {
    const auto lastTestLineVisible = [](Dialog& d) {
        HWND box = d.item(IDC_CONN_mFbConnTestRes);
        const LRESULT lines = SendMessageW(box, EM_GETLINECOUNT, 0, 0);
        const LRESULT lastTestLine = SendMessageW(box, EM_LINEINDEX, static_cast<WPARAM>(lines - 2), 0);
        const LRESULT at = SendMessageW(box, EM_POSFROMCHAR, static_cast<WPARAM>(lastTestLine), 0);
        RECT client{};
        GetClientRect(box, &client);
        const int y = static_cast<short>(HIWORD(at));
        return at != -1 && y >= 0 && y < client.bottom;
    };
    const auto scrolled = [](Dialog& d) {
        return SendMessageW(d.item(IDC_CONN_mFbConnTestRes), EM_GETFIRSTVISIBLELINE, 0, 0) > 0;
    };
    std::string before;
    int failures = 0;
    try_.behaviour = [&failures](std::string&) -> bool {
        if (++failures % 2 == 0) throw std::runtime_error("hiba");
        return true;
    };
    Dialog d(try_.function());
    d.script = [&](Dialog& d) {
        for (int i = 0; i < 8; ++i) {
            d.click(IDC_CONN_Button14);
            EXPECT_TRUE(lastTestLineVisible(d)) << i;
        }
        EXPECT_TRUE(scrolled(d)) << "more lines than the box shows";
        EXPECT_TRUE(d.isEnabled(IDC_CONN_Button14));
        before = results(d);
    };
    showForm(d);
    EXPECT_EQ(countOf(before, " ========== "), 8);
    EXPECT_EQ(countOf(before, "Sikerült csatlakozni"), 4);
    EXPECT_EQ(countOf(before, "NEM sikerült csatlakozni"), 4);

    d.script = [&](Dialog& d) {
        EXPECT_EQ(results(d), before);
        EXPECT_TRUE(lastTestLineVisible(d));
        EXPECT_TRUE(scrolled(d));
        d.click(IDC_CONN_Button14);
        EXPECT_TRUE(startsWith(results(d), before));
    };
    showForm(d);
    EXPECT_EQ(countOf(d.results(), " ========== "), 9);
}

// While the try lasts the window shows the lines written so far, the test button is disabled and
// the cursor busy; a click or Enter given meanwhile starts no second try once it is over.
TEST_F(FbTestConnectionDialog, WhileATryLastsTheWindowIsPaintedAndTakesNoSecondTest) {
    Dialog d(try_.function());
    bool buttonEnabled = true, cursorBusy = false, painted = false;
    std::string shown;
    d.script = [&](Dialog& d) {
        try_.behaviour = [&](std::string&) {
            HWND button = d.item(IDC_CONN_Button14);
            buttonEnabled = IsWindowEnabled(button) != FALSE;
            cursorBusy = GetCursor() == LoadCursorW(nullptr, IDC_WAIT);
            painted = !GetUpdateRect(d.hwnd(), nullptr, FALSE) &&
                      !GetUpdateRect(d.item(IDC_CONN_mFbConnTestRes), nullptr, FALSE);
            shown = results(d);
            // What a user does while waiting: clicks the button again, presses Enter.
            PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
            PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
            PostMessageW(d.item(IDC_CONN_edIp), WM_KEYDOWN, VK_RETURN, 0x001C0001);
            PostMessageW(d.item(IDC_CONN_edIp), WM_KEYUP, VK_RETURN, 0xC01C0001);
            return true;
        };
        SetFocus(d.item(IDC_CONN_edIp));
        d.click(IDC_CONN_Button14);
        EXPECT_TRUE(d.isEnabled(IDC_CONN_Button14)) << "usable again";
        EXPECT_NE(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
    };
    showForm(d);
    EXPECT_FALSE(buttonEnabled);
    EXPECT_TRUE(cursorBusy);
    EXPECT_TRUE(painted);
    EXPECT_EQ(shown, "Kapcsolódás a következő adatbázishoz: 127.0.0.1/6648:c:\\KELMORA.WIN\\" + formatYear(localNow()) +
                         "\\conf.fdb\r\n...\r\n");
    EXPECT_EQ(try_.calls.size(), 1u);
    EXPECT_EQ(countOf(d.results(), " ========== "), 1);
}

TEST_F(FbTestConnectionDialog, BrowsingFillsTheFieldAndCancelLeavesIt) {
    TempFolder data;
    const std::string database = data.file("kelmora.fdb", "x");
    Dialog d(try_.function());
    d.script = [&](Dialog& d) {
        for (int answer : {IDCANCEL, IDOK}) {
            // The folder dialog is titled with the field's label and rooted at the folder it names.
            d.type(IDC_CONN_edFbServerMainDir, " c:\\fbwb-fixture ");
            std::atomic<bool> seen{false};
            std::thread user =
                answerDialog(GetCurrentThreadId(), platform::widen(kServerFolderLabel), answer, seen, L"fbwb-fixture");
            d.click(IDC_CONN_Button1);
            user.join();
            EXPECT_TRUE(seen);
            EXPECT_EQ(d.textOf(IDC_CONN_edFbServerMainDir), answer == IDOK ? "C:\\fbwb-fixture" : " c:\\fbwb-fixture ");
        }
        for (int answer : {IDCANCEL, IDOK}) {
            // The file dialog starts in the data folder with kelmora.fdb.
            d.type(IDC_CONN_edTestDbFn, "D:\\regi.fdb");
            std::atomic<bool> seen{false};
            std::thread user = answerDialog(GetCurrentThreadId(), platform::widen(kDatabaseFileTitle), answer, seen);
            d.click(IDC_CONN_Button12);
            user.join();
            EXPECT_TRUE(seen);
            if (answer == IDOK) {
                EXPECT_TRUE(equalsNoCase(d.textOf(IDC_CONN_edTestDbFn), database)) << d.textOf(IDC_CONN_edTestDbFn);
            } else {
                EXPECT_EQ(d.textOf(IDC_CONN_edTestDbFn), "D:\\regi.fdb");
            }
        }
    };
    showForm(d, "  " + data.path() + " ");
}

TEST_F(FbTestConnectionDialog, ControlsFitAndTabReachesThem) {
    Dialog d(try_.function());
    d.script = [&](Dialog& d) {
        expectControlsInsideWithoutOverlap(d.hwnd(), {});
        const std::set<int> stops = tabStops(d.hwnd());
        for (int id : {IDC_CONN_edFbServerMainDir, IDC_CONN_Button1, IDC_CONN_edIp, IDC_CONN_edPort,
                       IDC_CONN_edTestDbFn, IDC_CONN_Button12, IDC_CONN_edUn, IDC_CONN_edPw, IDC_CONN_Button14,
                       IDC_CONN_cbDetailedLog, IDC_CONN_mFbConnTestRes})
            EXPECT_EQ(stops.count(id), 1u) << id;
    };
    showForm(d);
}
