// The main window, created headless in the test process: start-up, texts, guards, dispatch,
// the run marker and the live log.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <set>
#include <thread>

#include "app/main_window_ids.h"
#include "app/main_window_win.h"
#include "conntest/fb_test_connection_ids.h"
#include "core/datetime.h"
#include "core/text.h"
#include "dialog_answerer.h"
#include "install/install_window_ids.h"
#include "platform/encoding.h"
#include "platform/fs.h"
#include "platform/process.h"
#include "platform/scripted_prompter.h"
#include "win/temp_folder.h"

using namespace fbwb;
using platform::BoxKind;

namespace {

// The main window's template, borrowed by the tests of the dialog base, holds a rich edit.
void prepareMainTemplate() {
    platform::initCommonControls();
    static HMODULE richEdit = LoadLibraryW(L"Msftedit.dll");
    ASSERT_NE(richEdit, nullptr);
}

std::string withoutAccessKeys(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
    return text;
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        platform::initCommonControls();
        before_ = formatDateTime(localNow());
        window_.createWindow(false);
        after_ = formatDateTime(localNow());
    }

    std::string text(int id) { return window_.text(id); }
    void setText(int id, const std::string& value) {
        SetWindowTextW(GetDlgItem(window_.hwnd(), id), platform::widen(value).c_str());
    }
    void click(int id) { SendMessageW(GetDlgItem(window_.hwnd(), id), BM_CLICK, 0, 0); }
    bool enabled(int id) { return IsWindowEnabled(GetDlgItem(window_.hwnd(), id)) != FALSE; }
    std::string logView() { return window_.text(IDC_mLogView); }

    // The install button, then the installer window (found by its caption) is closed. What it showed:
    // its hidden target folder and whether the main window owns it; nothing when it did not appear.
    struct Installer {
        bool seen = false;
        bool ownedByMain = false;
        std::string target;
    };
    Installer clickInstallAndClose() {
        Installer installer;
        const DWORD thread = GetCurrentThreadId();
        HWND main = window_.hwnd();
        std::thread answer([&] {
            for (int i = 0; i < 200; ++i) {
                test::detail::Search search{L"Firebird telep\u00edt\u0151", nullptr, {}};
                EnumThreadWindows(thread, test::detail::findDialog, reinterpret_cast<LPARAM>(&search));
                if (search.found != nullptr) {
                    wchar_t target[MAX_PATH] = {};
                    GetDlgItemTextW(search.found, IDC_cbKelmoraWinMainFolder, target, MAX_PATH);
                    installer = {true, GetWindow(search.found, GW_OWNER) == main, platform::narrow(target)};
                    PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                    return;
                }
                Sleep(50);
            }
        });
        click(IDC_ToolButton5);
        answer.join();
        return installer;
    }

    platform::ScriptedPrompter boxes_;
    platform::PrompterOverride inForce_{boxes_};
    platform::ShellOpenRecorder shell_;
    std::string before_, after_;
    TfrmFbSettingsMain window_;
};

const int kActionButtons[] = {IDC_ToolButton5, IDC_ToolButton6, IDC_ToolButton1,
                              IDC_ToolButton2, IDC_ToolButton3, IDC_ToolButton4, IDC_Button9};

}  // namespace

TEST_F(MainWindow, StartUpFillsTheSettingsAndWritesTheFirstLogLine) {
    const std::string year = formatYear(localNow());
    EXPECT_EQ(text(IDC_edFolderName), "c:\\KELMORA.WIN\\" + year + "\\adat");
    EXPECT_EQ(text(IDC_edTempDir), "c:\\KELMORA.WIN");
    EXPECT_EQ(text(IDC_edUn), "SYSDBA");
    EXPECT_EQ(text(IDC_edPw), "qwdbadmin");
    EXPECT_EQ(SendMessageW(GetDlgItem(window_.hwnd(), IDC_edPw), EM_GETPASSWORDCHAR, 0, 0), L'*');

    // The search root is c:\KELMORA.WIN\: its servers first, then those under Program Files.
    const CommonSettings settings = window_.readSettings();
    ASSERT_EQ(settings.serverFolders.size(), 4u);
    const std::set<std::string> underRoot(settings.serverFolders.begin(), settings.serverFolders.begin() + 2);
    const std::set<std::string> underProgramFiles(settings.serverFolders.begin() + 2, settings.serverFolders.end());
    EXPECT_EQ(underRoot, (std::set<std::string>{"c:\\KELMORA.WIN\\Firebird\\Firebird_2_5",
                                                "c:\\KELMORA.WIN\\Firebird\\Firebird_3_0"}));
    EXPECT_EQ(underProgramFiles, (std::set<std::string>{"C:\\Program Files\\Firebird\\Firebird_2_5_9",
                                                        "C:\\Program Files\\Firebird\\Firebird_3_0_11"}));
    EXPECT_EQ(window_.selectedIndex(IDC_cbFbServerPath), 0);
    EXPECT_EQ(settings.serverFolder, settings.serverFolders[0]);

    const auto& log = window_.fields().mLog.lines();
    ASSERT_EQ(log.size(), 1u);
    ASSERT_TRUE(startsWith(log[0], "A program elindult: ")) << log[0];
    const std::string stamp = log[0].substr(std::string("A program elindult: ").size());
    EXPECT_TRUE(stamp == before_ || stamp == after_) << stamp;
    EXPECT_EQ(logView(), log[0]) << "the log pane shows the line";
    EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(MainWindow, ShowsTheDescribedTexts) {
    EXPECT_EQ(platform::narrow([&] {
                  wchar_t caption[256] = {};
                  GetWindowTextW(window_.hwnd(), caption, 256);
                  return std::wstring(caption);
              }()),
              "FireBird adtbázis-kiszolgáló és adatbázisok ellenőrzése:");
    struct Case {
        int id;
        const char* expected;
    } cases[] = {
        {IDC_ToolButton5, "    A Firebird telepítése    "},
        {IDC_ToolButton6, "    Adatbázisok konvertálása   "},
        {IDC_ToolButton1, "     Adatbázis-kezelő beállításai     "},
        {IDC_ToolButton2, "     Adatbázis(ok) beállításai     "},
        {IDC_ToolButton3, "     Adatbázis(ok) karbantartása     "},
        {IDC_ToolButton4, "      Firebird a weben      "},
        {IDC_pnlDefaultSettingsHatter, "A fenti programfunkciók közös beállításai: "},
        {IDC_gbConnection, "A jelenleg telepített adatbázis-kiszolgáló kapcsolati beállításai : "},
        {IDC_gbFolders, "A szükséges mappák megadása: "},
        {IDC_lFbServerPath, "A telepített Firebird kiszolgáló mappája: "},
        {IDC_lUn, "Felhasználónév: "},
        {IDC_lPw, "Jelszó: "},
        {IDC_lFolderName, "A kelmora adatbázis-fájlokat tároló mappa útvonala:"},
        {IDC_lTempDir, "Az alábbi mappában létrehozhatóak ideiglenes fájlok: "},
        {IDC_Button9, "Csatlakozás tesztelése"},
        {IDC_Button12, "Tallóz"},
        {IDC_Button13, "Tallóz"},
        {IDC_Button15, "Tallóz"},
        {IDC_lDescription,
         "Az adatbzis-kezelő beállításai jelentős hatással vannak az ügyviteli szoftverek sebességére. Egyes "
         "beállítások az adatbázis kiszolgáló általános működését szabályozzák, mások külön-külön vontkoznak az "
         "egyes adatbázisokra, ezért érdemes futtatnia ezt a szoftvert az  ügyviteli rendszer összes "
         "adatbázisára.\r\nösszes FireBird adatbázison."},
    };
    for (const auto& c : cases) EXPECT_EQ(withoutAccessKeys(text(c.id)), c.expected) << c.id;
}

TEST_F(MainWindow, EveryControlLiesInsideTheWindowWithoutOverlappingTheToolbar) {
    RECT client;
    GetClientRect(window_.hwnd(), &client);
    std::vector<RECT> buttons;
    for (HWND child = GetWindow(window_.hwnd(), GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, window_.hwnd(), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom)
            << GetDlgCtrlID(child) << ": " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
        const int id = GetDlgCtrlID(child);
        if (id >= IDC_ToolButton5 && id <= IDC_ToolButton4) {
            EXPECT_GE(r.right - r.left, 102) << id;
            EXPECT_EQ(r.bottom - r.top, 120) << id;
            buttons.push_back(r);
        }
    }
    ASSERT_EQ(buttons.size(), 6u);
    for (size_t i = 1; i < buttons.size(); ++i) EXPECT_GE(buttons[i].left, buttons[i - 1].right) << i;
}

TEST_F(MainWindow, WebButtonOpensTheDownloadPageWithoutGuards) {
    setText(IDC_edTempDir, "c:\\fbwb-nincs-ilyen");
    setText(IDC_cbFbServerPath, "");
    click(IDC_ToolButton4);
    EXPECT_TRUE(boxes_.boxes().empty());
    ASSERT_EQ(shell_.requests().size(), 1u);
    EXPECT_EQ(shell_.requests()[0].file, "https://firebirdsql.org/en/firebird-3-0/");
    EXPECT_EQ(shell_.requests()[0].verb, "Open");
    EXPECT_EQ(shell_.requests()[0].parameters, "");
    EXPECT_EQ(shell_.requests()[0].mode, platform::ShowMode::Normal);
    EXPECT_EQ(text(IDC_edTempDir), "c:\\fbwb-nincs-ilyen") << "no guard touched the field";
}

TEST_F(MainWindow, InstallRunsOnlyTheTempFolderGuard) {
    setText(IDC_cbFbServerPath, "c:\\fbwb-nincs-ilyen");
    setText(IDC_edFolderName, "c:\\fbwb-nincs-ilyen\\2017\\adat");
    const Installer installer = clickInstallAndClose();
    EXPECT_EQ(text(IDC_edTempDir), "c:\\KELMORA.WIN\\");
    EXPECT_TRUE(boxes_.boxes().empty()) << "no question: the temp folder exists";
    // The installer window, owned by the main window, targets the data folder's install root.
    EXPECT_TRUE(installer.seen);
    EXPECT_TRUE(installer.ownedByMain);
    EXPECT_EQ(installer.target, "C:\\FBWB-NINCS-ILYEN\\");
    EXPECT_EQ(window_.fields().mLog.lines().size(), 1u) << "the install action logs nothing";
}

TEST_F(MainWindow, MissingFolderQuestionDecidesWhetherTheActionGoesOn) {
    for (bool yes : {false, true}) {
        platform::ScriptedPrompter boxes;
        boxes.answer(yes);
        platform::PrompterOverride inForce(boxes);
        setText(IDC_edTempDir, "  c:\\fbwb-nincs-ilyen\\x ");
        if (yes) {
            EXPECT_TRUE(clickInstallAndClose().seen);
        } else {
            click(IDC_ToolButton5);
        }
        EXPECT_EQ(text(IDC_edTempDir), "c:\\fbwb-nincs-ilyen\\x\\");
        ASSERT_EQ(boxes.boxes().size(), 1u);
        EXPECT_TRUE(boxes.boxes()[0].question);
        EXPECT_EQ(boxes.boxes()[0].kind, BoxKind::Error);
        EXPECT_EQ(boxes.boxes()[0].text,
                  " A megadott mappa nem létezik: \r\n    Az alábbi mappában létrehozhatóak ideiglenes fájlok: "
                  "c:\\fbwb-nincs-ilyen\\x\\\r\n\r\nEnnek ellenére folytatja a műveletet?");
    }
    EXPECT_EQ(window_.fields().mLog.lines().size(), 1u) << "an abandoned action logs nothing";
}

TEST_F(MainWindow, DatabaseActionsTrimTheCredentialsAndAskInGuardOrder) {
    setText(IDC_edUn, "  SYSDBA \t");
    setText(IDC_edPw, " titok ");
    setText(IDC_cbFbServerPath, " c:\\fbwb-nincs-ilyen ");
    boxes_.answer(false);
    click(IDC_ToolButton3);
    ASSERT_EQ(boxes_.boxes().size(), 1u);
    EXPECT_NE(boxes_.boxes()[0].text.find("A telepített Firebird kiszolgáló mappája: c:\\fbwb-nincs-ilyen\r\n"),
              std::string::npos)
        << "the server folder guard runs first";
    EXPECT_EQ(text(IDC_cbFbServerPath), "c:\\fbwb-nincs-ilyen");
    EXPECT_EQ(text(IDC_edUn), "  SYSDBA \t") << "No stopped the action before the credentials guard";

    setText(IDC_cbFbServerPath, "c:\\KELMORA.WIN\\Firebird\\Firebird_3_0");
    const size_t boxesBefore = boxes_.boxes().size();
    std::atomic<bool> seen{false};
    std::thread answerer =
        test::answerDialog(GetCurrentThreadId(), L"Adatb\u00e1zis konvert\u00e1l\u00e1sa", IDCANCEL, seen);
    click(IDC_ToolButton6);
    answerer.join();
    EXPECT_TRUE(seen);
    EXPECT_EQ(text(IDC_edUn), "SYSDBA");
    EXPECT_EQ(text(IDC_edPw), "titok");
    EXPECT_EQ(boxes_.boxes().size(), boxesBefore);
    const ConvertChoice handed = window_.convertDialog().choice();
    EXPECT_EQ(handed.oldUser, "SYSDBA");
    EXPECT_EQ(handed.newPassword, "titok");
}

// The maintenance action names its batch file before the guards, so the name stays even when a guard
// then abandons the action; a name already there is kept.
TEST_F(MainWindow, MaintenanceNamesItsBatchFileBeforeTheGuards) {
    setText(IDC_edTempDir, " c:\\KELMORA.WIN ");
    setText(IDC_cbFbServerPath, "c:\\fbwb-nincs-ilyen");
    boxes_.answer(false);
    click(IDC_ToolButton3);
    EXPECT_EQ(window_.maintainDialog().batchFileField(), "c:\\KELMORA.WIN\\dbMaintain.bat");
    setText(IDC_edTempDir, "c:\\masik");
    boxes_.answer(false);
    click(IDC_ToolButton3);
    EXPECT_EQ(window_.maintainDialog().batchFileField(), "c:\\KELMORA.WIN\\dbMaintain.bat");
    EXPECT_EQ(boxes_.boxes().size(), 2u) << "both times the server folder guard stopped the action";
}

// Each database action opens its dialog; confirming runs the task with the toolbar disabled and ends
// with the final message, cancelling runs nothing.
TEST_F(MainWindow, DatabaseActionsRunTheirTaskOnlyWhenTheDialogIsConfirmed) {
    test::TempFolder scratch;
    const std::string database = scratch / "adat\\kelmora.fdb";
    platform::createFolders(scratch / "adat");
    platform::writeFileBytes(database, *platform::readFileBytes("C:\\fbwb-fixture\\template.fdb"));
    setText(IDC_cbFbServerPath, "c:\\KELMORA.WIN\\Firebird\\Firebird_3_0");
    setText(IDC_edFolderName, scratch / "adat");
    setText(IDC_edTempDir, scratch.path());
    struct Case {
        int button;
        const wchar_t* dialogCaption;
        const char* report;
    };
    for (const Case& c : {Case{IDC_ToolButton3, L"Adatb\u00e1zisok karbantart\u00e1sa ", "DbMaintainResults.htm"},
                          Case{IDC_ToolButton2, L"Adatb\u00e1zis(ok) be\u00e1ll\u00edt\u00e1sai", "DbSettingResults.htm"}}) {
        for (int answer : {IDCANCEL, IDOK}) {
            SCOPED_TRACE(answer);
            platform::ScriptedPrompter boxes;
            platform::PrompterOverride inForce(boxes);
            // The batches run for real (the step reads gstat's output back); reports are not opened.
            platform::ShellOpenRecorder shell(
                [](const platform::ShellRequest& request) { return endsWith(request.file, ".bat"); });
            std::atomic<bool> seen{false};
            std::thread answerer = test::answerDialog(GetCurrentThreadId(), c.dialogCaption, answer, seen);
            click(c.button);
            answerer.join();
            EXPECT_TRUE(seen);
            EXPECT_TRUE(shell.waitForCarriedOut(std::chrono::minutes(2)));
            if (answer == IDCANCEL) {
                EXPECT_TRUE(boxes.boxes().empty());
                EXPECT_TRUE(shell.requests().empty());
                continue;
            }
            ASSERT_EQ(boxes.boxes().size(), 1u);
            EXPECT_EQ(boxes.boxes()[0].text, "A művelet sikeresen befejeződött.");
            ASSERT_FALSE(shell.requests().empty());
            EXPECT_EQ(shell.requests()[0].file, scratch / "temp_0.bat");
            EXPECT_EQ(shell.requests().back().file, scratch / c.report);
            for (int id : kActionButtons) EXPECT_TRUE(enabled(id)) << id;
        }
    }
    EXPECT_TRUE(startsWith(window_.fields().edActFdbFn, database)) << "the settings step saw the database";
}

// Stopping after the current database: offered only while a database run lasts; the database
// being worked on is finished, the rest are left out, and the closing message says so.
TEST_F(MainWindow, StopAfterTheCurrentDatabaseLeavesTheRestOut) {
    test::TempFolder scratch;
    platform::createFolders(scratch / "adat");
    for (const char* name : {"a.fdb", "b.fdb"})
        platform::writeFileBytes(scratch / ("adat\\" + std::string(name)),
                                 *platform::readFileBytes("C:\\fbwb-fixture\\template.fdb"));
    setText(IDC_cbFbServerPath, "c:\\KELMORA.WIN\\Firebird\\Firebird_3_0");
    setText(IDC_edFolderName, scratch / "adat");
    setText(IDC_edTempDir, scratch.path());
    EXPECT_FALSE(enabled(IDC_btnStopAfterCurrent));
    platform::ShellOpenRecorder shell(
        [](const platform::ShellRequest& request) { return endsWith(request.file, ".bat"); });

    // Another thread presses the button while the first batch runs: once the run offers it and the
    // first batch has begun its log (the run takes pending clicks before its first database too,
    // and one pressed that early leaves every database out).
    HWND main = window_.hwnd();
    HWND stop = GetDlgItem(main, IDC_btnStopAfterCurrent);
    std::atomic<bool> pressed{false};
    std::thread presser([&] {
        for (int i = 0; i < 6000 && !IsWindowEnabled(stop); ++i) Sleep(10);
        for (int i = 0; i < 6000 && !platform::fileExists(scratch / "fdbMaintain_0.txt"); ++i) Sleep(10);
        if (!IsWindowEnabled(stop)) return;
        PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDC_btnStopAfterCurrent, BN_CLICKED), reinterpret_cast<LPARAM>(stop));
        pressed = true;
    });
    std::atomic<bool> seen{false};
    std::thread answerer =
        test::answerDialog(GetCurrentThreadId(), L"Adatb\u00e1zisok karbantart\u00e1sa ", IDOK, seen);
    click(IDC_ToolButton3);
    answerer.join();
    presser.join();
    ASSERT_TRUE(pressed);

    ASSERT_EQ(boxes_.boxes().size(), 1u);
    EXPECT_EQ(boxes_.boxes()[0].text, "A művelet leállt: a hátralévő adatbázisok kimaradtak.");
    ASSERT_EQ(shell.requests().size(), 2u) << "one batch, then the report";
    const std::string report = *platform::readFileBytes(scratch / "DbMaintainResults.htm");
    EXPECT_EQ(report.find("b.fdb"), std::string::npos) << report;
    EXPECT_NE(report.find("a.fdb"), std::string::npos) << report;
    EXPECT_NE(logView().find("A művelet leállt: a hátralévő adatbázisok kimaradtak."), std::string::npos);
    EXPECT_FALSE(enabled(IDC_btnStopAfterCurrent));
    EXPECT_FALSE(window_.fields().stopAfterCurrent) << "the next run starts afresh";
}

TEST_F(MainWindow, RunMarkerDisablesTheActionsAndKeepsTheWindowOpen) {
    {
        TfrmFbSettingsMain::RunScope run(window_);
        for (int id : kActionButtons) EXPECT_FALSE(enabled(id)) << id;
        for (int id : {IDC_Button12, IDC_Button13, IDC_Button15}) EXPECT_FALSE(enabled(id)) << id;
        EXPECT_FALSE(enabled(IDC_btnStopAfterCurrent)) << "only a database run can be stopped";
        EXPECT_THROW(TfrmFbSettingsMain::RunScope second(window_), std::logic_error);

        window_.fields().pbOp.setMax(4);
        window_.fields().pbOp.setPosition(3);
        HWND bar = GetDlgItem(window_.hwnd(), IDC_pbOp);
        EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 3);
        EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), 4);

        window_.runAction(ToolAction::Web);
        EXPECT_TRUE(shell_.requests().empty()) << "no action starts during a run";

        SendMessageW(window_.hwnd(), WM_CLOSE, 0, 0);
        ASSERT_NE(window_.hwnd(), nullptr);
        EXPECT_TRUE(IsWindow(window_.hwnd()));
        ASSERT_EQ(boxes_.boxes().size(), 1u);
        EXPECT_EQ(boxes_.boxes()[0].text,
                  "Egy művelet még folyamatban van. A program a művelet befejezése után zárható be.");
    }
    for (int id : kActionButtons) EXPECT_TRUE(enabled(id)) << id;
    EXPECT_EQ(SendMessageW(GetDlgItem(window_.hwnd(), IDC_pbOp), PBM_GETPOS, 0, 0), 0);
    SendMessageW(window_.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(window_.hwnd(), nullptr) << "closed once the run is over";
}

TEST_F(MainWindow, LogPaneFollowsTheOperationLog) {
    window_.writeLogLine("második sor");
    window_.writeErrorLine("A(z) \"c:\\a&b.fdb\" nem található.", false);
    const auto& log = window_.fields().mLog.lines();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[2], "HIBA   ---> A(z) \"c:\\a&b.fdb\" nem található.");
    EXPECT_EQ(logView(), log[0] + "\r\n" + log[1] + "\r\n" + log[2]);
}

TEST_F(MainWindow, BrowsingPutsTheChosenFolderIntoTheFieldAndCancelLeavesIt) {
    struct Case {
        int button;
        int field;
        const char* label;
    } cases[] = {
        {IDC_Button13, IDC_edFolderName, "A kelmora adatbázis-fájlokat tároló mappa útvonala:"},
        {IDC_Button15, IDC_edTempDir, "Az alábbi mappában létrehozhatóak ideiglenes fájlok: "},
        {IDC_Button12, IDC_cbFbServerPath, "A telepített Firebird kiszolgáló mappája: "},
    };
    const auto itemsBefore = window_.items(IDC_cbFbServerPath);
    for (const auto& c : cases) {
        for (int answer : {IDCANCEL, IDOK}) {
            // The dialog is rooted at the folder that the field names; OK takes the root itself.
            setText(c.field, " c:\\fbwb-fixture ");
            std::atomic<bool> seen{false};
            std::thread user =
                test::answerDialog(GetCurrentThreadId(), platform::widen(c.label), answer, seen, L"fbwb-fixture");
            click(c.button);
            user.join();
            EXPECT_TRUE(seen) << c.label;
            EXPECT_EQ(text(c.field), answer == IDOK ? "C:\\fbwb-fixture" : " c:\\fbwb-fixture ") << c.label;
        }
    }
    EXPECT_EQ(window_.items(IDC_cbFbServerPath), itemsBefore) << "browsing does not change the server list";
}

// The connection test runs no guard: its dialog, owned by the main window, gets the fields' texts as
// they stand (the server folder it trims itself) and the local address.
TEST_F(MainWindow, ConnectionTestOpensItsDialogWithTheUntrimmedSettings) {
    setText(IDC_cbFbServerPath, " c:\\fbwb-nincs-ilyen ");
    setText(IDC_edUn, "  SYSDBA \t");
    setText(IDC_edPw, " titok ");
    struct Seen {
        bool shown = false;
        bool ownedByMain = false;
        std::string serverFolder, ip, userName, password;
    } seen;
    const DWORD thread = GetCurrentThreadId();
    HWND main = window_.hwnd();
    std::thread user([&] {
        for (int i = 0; i < 200; ++i) {
            test::detail::Search search{L"Adatb\u00e1zis-kapcsolat tesztel\u00e9se", nullptr, {}};
            EnumThreadWindows(thread, test::detail::findDialog, reinterpret_cast<LPARAM>(&search));
            if (search.found != nullptr) {
                const auto field = [&](int id) {
                    wchar_t value[MAX_PATH] = {};
                    GetDlgItemTextW(search.found, id, value, MAX_PATH);
                    return platform::narrow(value);
                };
                seen = {true,
                        GetWindow(search.found, GW_OWNER) == main,
                        field(IDC_CONN_edFbServerMainDir),
                        field(IDC_CONN_edIp),
                        field(IDC_CONN_edUn),
                        field(IDC_CONN_edPw)};
                PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                return;
            }
            Sleep(50);
        }
    });
    platform::setOwnerWindow(main);
    click(IDC_Button9);
    platform::setOwnerWindow(nullptr);
    user.join();
    ASSERT_TRUE(seen.shown);
    EXPECT_TRUE(seen.ownedByMain);
    EXPECT_EQ(seen.serverFolder, "c:\\fbwb-nincs-ilyen");
    EXPECT_EQ(seen.ip, "127.0.0.1");
    EXPECT_EQ(seen.userName, "  SYSDBA \t");
    EXPECT_EQ(seen.password, " titok ");
    EXPECT_TRUE(boxes_.boxes().empty()) << "no guard asked about the missing folder";
    EXPECT_EQ(text(IDC_edUn), "  SYSDBA \t") << "no guard trimmed the field";
}

TEST_F(MainWindow, ToolPathAndInstallRootFollowTheFields) {
    setText(IDC_cbFbServerPath, " c:\\KELMORA.WIN\\Firebird\\Firebird_2_5 ");
    EXPECT_EQ(window_.getToolPath("gfix.exe"), "c:\\KELMORA.WIN\\Firebird\\Firebird_2_5\\bin\\gfix.exe");
    setText(IDC_edFolderName, "\\\\srv\\share\\2016\\adat");
    EXPECT_EQ(window_.getInstallRoot(), "\\\\SRV\\SHARE\\");
}

TEST_F(MainWindow, AccessKeysReachTheToolbarAndTabWalksEveryButton) {
    ShowWindow(window_.hwnd(), SW_SHOWNOACTIVATE);  // the dialog manager skips hidden controls
    // Alt+W, as the dialog manager sees it from the message loop.
    MSG key{window_.hwnd(), WM_SYSCHAR, L'w', 0x20000000, 0, {}};
    EXPECT_TRUE(IsDialogMessageW(window_.hwnd(), &key));
    ASSERT_EQ(shell_.requests().size(), 1u) << "Alt+W pressed the web button";

    std::set<int> reached;
    HWND first = GetNextDlgTabItem(window_.hwnd(), nullptr, FALSE);
    for (HWND at = first; at != nullptr;) {
        reached.insert(GetDlgCtrlID(at));
        at = GetNextDlgTabItem(window_.hwnd(), at, FALSE);
        if (at == first) break;
    }
    for (int id : {IDC_ToolButton5, IDC_ToolButton6, IDC_ToolButton1, IDC_ToolButton2, IDC_ToolButton3,
                   IDC_ToolButton4, IDC_cbFbServerPath, IDC_Button12, IDC_edUn, IDC_edPw, IDC_Button9,
                   IDC_edFolderName, IDC_Button13, IDC_edTempDir, IDC_Button15, IDC_mLogView})
        EXPECT_EQ(reached.count(id), 1u) << id;
}

namespace {

// A dialog whose command handler fails, to show where such a failure ends up.
class FailingDialog : public platform::Dialog {
public:
    FailingDialog() : Dialog(IDD_TfrmFbSettingsMain) {}

protected:
    bool onCommand(int id, int) override {
        if (id == IDC_Button9) throw std::runtime_error("A lemez megtelt.");
        return false;
    }
};

}  // namespace

TEST(TopLevelHandler, AFailureInAWindowShowsItsTextAndTheWindowGoesOn) {
    prepareMainTemplate();
    platform::ScriptedPrompter boxes;
    platform::PrompterOverride inForce(boxes);
    FailingDialog dialog;
    dialog.create(nullptr);
    SendMessageW(dialog.item(IDC_Button9), BM_CLICK, 0, 0);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "A lemez megtelt.");
    EXPECT_EQ(boxes.boxes()[0].kind, BoxKind::Error);
    EXPECT_TRUE(IsWindow(dialog.hwnd()));
}

namespace {

// An option dialog answered by the command it posts to itself once shown.
class AnsweringDialog : public platform::OptionDialog {
public:
    AnsweringDialog(int answer, bool accept) : OptionDialog(IDD_TfrmFbSettingsMain), answer_(answer), accept_(accept) {}
    bool showForm() { return showModalForm(); }
    int acceptCalls = 0;

protected:
    void onInit() override { PostMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(answer_, BN_CLICKED), 0); }
    bool acceptOptions() override {
        ++acceptCalls;
        if (accept_) return true;
        // Refused: the dialog stays open; the user then cancels.
        PostMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return false;
    }

private:
    int answer_;
    bool accept_;
};

}  // namespace

TEST(OptionDialog, ShowFormTellsWhetherTheUserConfirmed) {
    prepareMainTemplate();
    struct Case {
        int answer;
        bool accept;
        bool confirmed;
        int acceptCalls;
    } cases[] = {{IDOK, true, true, 1}, {IDCANCEL, true, false, 0}, {IDOK, false, false, 1}};
    for (const auto& c : cases) {
        AnsweringDialog dialog(c.answer, c.accept);
        EXPECT_EQ(dialog.showForm(), c.confirmed) << c.answer << c.accept;
        EXPECT_EQ(dialog.acceptCalls, c.acceptCalls);
        EXPECT_EQ(dialog.hwnd(), nullptr) << "the window is gone after showForm";
    }
    AnsweringDialog again(IDOK, true);
    EXPECT_TRUE(again.showForm());
    EXPECT_TRUE(again.showForm()) << "the same object shows again";
}
