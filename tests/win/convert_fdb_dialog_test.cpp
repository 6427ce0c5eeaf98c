// The conversion dialog, shown modally in the test process and driven from inside its own message
// loop: texts and pages, what showForm fills in, the mode field, the version view and its filter on
// real files (with the machine's gstat and a stored Firebird 2.5 report), the toggle of the version
// button across openings, the browse buttons, the connection tries' messages and how it closes.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <iterator>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "convert/convert_fdb_dialog_win.h"
#include "convert/convert_fdb_ids.h"
#include "convert/convert_rules.h"
#include "convert/convert_run_win.h"
#include "core/text.h"
#include "platform/encoding.h"
#include "platform/fs.h"
#include "platform/prompter.h"
#include "platform/scripted_prompter.h"
#include "tasks/fdb_dialogs_win.h"
#include "win/dialog_answerer.h"
#include "win/dialog_driver.h"
#include "win/temp_folder.h"

using namespace fbwb;
using namespace fbwb::test;
using Strings = std::vector<std::string>;

namespace {

using Convert = Driven<TfrmConvertFdb>;

constexpr const char* kTemplate = "C:\\fbwb-fixture\\template.fdb";
constexpr const char* kFb3 = "C:\\KELMORA.WIN\\Firebird\\Firebird_3_0";
constexpr const char* kFb25 = "C:\\KELMORA.WIN\\Firebird\\Firebird_2_5";
constexpr const char* kUnknown = "     ?";

const int kFirstPage[] = {IDC_CV_gbDbList,  IDC_CV_rbDbModNow,        IDC_CV_rbDbModBatch,    IDC_CV_lFileListHeader,
                          IDC_CV_mFdbFiles, IDC_CV_btnShowFbVersions, IDC_CV_btnFilterDbList, IDC_CV_BitBtn3};
const int kSecondPage[] = {IDC_CV_gbConnTestFdbFn, IDC_CV_cbConnTestFdbFn, IDC_CV_gbOldServer, IDC_CV_edIpOld,
                           IDC_CV_edPortOld,       IDC_CV_edUnOld,         IDC_CV_edPwOld,     IDC_CV_cbOldFbServerPath,
                           IDC_CV_Button12,        IDC_CV_Button1,         IDC_CV_gbNewServer, IDC_CV_edIpNew,
                           IDC_CV_edPortNew,       IDC_CV_edUnNew,         IDC_CV_edPwNew,     IDC_CV_cbNewFbServerPath,
                           IDC_CV_Button3,         IDC_CV_Button2,         IDC_CV_BitBtn2};

std::string firebird25Fixtures() { return "Z:" + replaceAll(FBWB_SHARED_DIR "/fixtures/firebird25/", "/", "\\"); }

void selectPage(Convert& d, int page) {
    SendMessageW(d.item(IDC_CV_pcPages), TCM_SETCURSEL, page, 0);
    NMHDR header{d.item(IDC_CV_pcPages), IDC_CV_pcPages, TCN_SELCHANGE};
    SendMessageW(d.hwnd(), WM_NOTIFY, IDC_CV_pcPages, reinterpret_cast<LPARAM>(&header));
}

std::string gridCell(Convert& d, int row, int column) {
    wchar_t text[512] = {};
    LVITEMW cell{};
    cell.iSubItem = column;
    cell.pszText = text;
    cell.cchTextMax = 512;
    SendMessageW(d.item(IDC_CV_grdDb), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&cell));
    return platform::narrow(text);
}

// The grid as "file|label" rows.
Strings gridRows(Convert& d) {
    Strings rows;
    const int count = static_cast<int>(SendMessageW(d.item(IDC_CV_grdDb), LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) rows.push_back(gridCell(d, i, 0) + "|" + gridCell(d, i, 1));
    return rows;
}

bool sameRect(HWND a, HWND b) {
    const RECT ra = rectInDialog(a), rb = rectInDialog(b);
    return EqualRect(&ra, &rb) != 0;
}

class ConvertDialog : public testing::Test {
protected:
    void SetUp() override { platform::initCommonControls(); }

    // Opens the dialog with the data folder, the temp folder and the given server list and fields.
    bool open(Convert& d, const std::string& serverList = "", const std::string& oldDir = "",
              const std::string& oldPort = "3050", const std::string& newDir = "",
              const std::string& newPort = "3050") {
        return d.showForm(data, temp, serverList, oldDir, "127.0.0.1", oldPort, "SYSDBA", "qwdbadmin", newDir,
                          "127.0.0.1", newPort, "SYSDBA", "qwdbadmin");
    }

    std::string database(const std::string& relative) {
        const std::string path = scratch / relative;
        platform::createFolders(path.substr(0, path.find_last_of('\\')));
        platform::writeFileBytes(path, *platform::readFileBytes(kTemplate));
        return path;
    }

    TempFolder scratch;
    const std::string data = scratch.folder("adat");
    const std::string temp = scratch.folder("temp") + "\\";
    platform::ScriptedPrompter boxes;
    platform::PrompterOverride inForce{boxes};
};

}  // namespace

TEST_F(ConvertDialog, ShowsTheDescribedTextsOnTwoPages) {
    Convert dialog;
    dialog.script = [&](Convert& d) {
        EXPECT_EQ(windowText(d.hwnd()), "Adatbázis konvertálása");
        const std::pair<int, const char*> captions[] = {
            {IDC_CV_gbDbList, "A felsorolt adatbázisok konvertálása:  "},
            {IDC_CV_rbDbModNow, "Módosítsa az egyes adatbzisok beállításait"},
            {IDC_CV_rbDbModBatch, "Hozzon létre egy batch-fájlt, amely tartalmazza az elvégzendő beállítsokat, ide: "},
            {IDC_CV_lFileListHeader, "Az alább felsorolt adatbázisokat jelöli ki konvertálásra: "},
            {IDC_CV_btnShowFbVersions, "Firebird verziók megjelenítése"},
            {IDC_CV_btnFilterDbList,
             "Törölje a listából azokat az adatbázisokat, amelyek már Firebird 3 formátumban vannak"},
            {IDC_CV_BitBtn3, "Konvertálás"},
            {IDC_CV_gbConnTestFdbFn, "A kapcsolat tesztelésére használt adatbázisfájl: "},
            {IDC_CV_gbOldServer, "A régi ( konvertálandó ) adatbázisok adatbázis-kezelője: "},
            {IDC_CV_gbNewServer, "Az új ( átkonvertált ) adatbázisok adatbázis-kezelője: "},
            {IDC_CV_lIpOld, "IP cím: "},
            {IDC_CV_lPortOld, "Portszám:"},
            {IDC_CV_lUnOld, "Felhasználónév: "},
            {IDC_CV_lPwOld, "Jelszó: "},
            {IDC_CV_lIpNew, "IP cím: "},
            {IDC_CV_lPortNew, "Portszám:"},
            {IDC_CV_lUnNew, "Felhasználónév: "},
            {IDC_CV_lPwNew, "Jelszó: "},
            {IDC_CV_lFbServerPath, "A telepített Firebird kiszolgáló mappája (a \"gbak.exe\" mappája):  "},
            {IDC_CV_lFbServerPath2, "A telepített Firebird kiszolgáló mappája (a \"gbak.exe\" mappája):  "},
            {IDC_CV_Button12, "Tallóz"},
            {IDC_CV_Button3, "Tallóz"},
            {IDC_CV_Button1, "Csatlakozási próba"},
            {IDC_CV_Button2, "Csatlakozási próba"},
            {IDC_CV_BitBtn2, "Tovább"},
        };
        for (const auto& [id, caption] : captions) EXPECT_EQ(withoutAccessKeys(d.textOf(id)), caption) << id;

        HWND tabs = d.item(IDC_CV_pcPages);
        ASSERT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 2);
        const char* pages[] = {"   Konverálandó fájlok kiválasztása   ", "   Adatbázis-kezelők beállítása   "};
        for (int i = 0; i < 2; ++i) {
            wchar_t text[128] = {};
            TCITEMW tab{};
            tab.mask = TCIF_TEXT;
            tab.pszText = text;
            tab.cchTextMax = 128;
            SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&tab));
            EXPECT_EQ(platform::narrow(text), pages[i]);
        }
        EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 0);

        // The version grid: two columns, whole-row selection, the widths of its own width.
        HWND grid = d.item(IDC_CV_grdDb);
        EXPECT_EQ(className(grid), "SysListView32");
        EXPECT_EQ(style(grid) & LVS_TYPEMASK, LVS_REPORT);
        EXPECT_TRUE(SendMessageW(grid, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT);
        const RECT gridRect = rectInDialog(grid);
        const GridColumnWidths widths = gridColumnWidths(gridRect.right - gridRect.left);
        const char* headers[] = {"Adatbázis-fájl", "Firebird verzió"};
        for (int i = 0; i < 2; ++i) {
            wchar_t text[64] = {};
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.pszText = text;
            column.cchTextMax = 64;
            ASSERT_TRUE(SendMessageW(grid, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&column)));
            EXPECT_EQ(platform::narrow(text), headers[i]);
            EXPECT_EQ(column.cx, i == 0 ? widths.first : widths.second);
        }
        for (int id : {IDC_CV_edPwOld, IDC_CV_edPwNew})
            EXPECT_EQ(SendMessageW(d.item(id), EM_GETPASSWORDCHAR, 0, 0), '*');

        // The first page: the list view, no progress, no batch field in now mode; the second page's controls away.
        for (int id : kFirstPage) EXPECT_TRUE(d.isVisible(id)) << id;
        for (int id : {IDC_CV_grdDb, IDC_CV_pb1, IDC_CV_edDbModBatch}) EXPECT_FALSE(d.isVisible(id)) << id;
        for (int id : kSecondPage) EXPECT_FALSE(d.isVisible(id)) << id;
        selectPage(d, 1);
        for (int id : kFirstPage) EXPECT_FALSE(d.isVisible(id)) << id;
        for (int id : kSecondPage) EXPECT_TRUE(d.isVisible(id)) << id;
        selectPage(d, 0);
        EXPECT_TRUE(d.isVisible(IDC_CV_mFdbFiles));
        EXPECT_FALSE(d.isVisible(IDC_CV_edIpOld));
    };
    EXPECT_FALSE(open(dialog));
    EXPECT_TRUE(dialog.scriptRan);
}

// The boxes get the list's folders by generation (the first of each selected), the test-file box the
// databases, the eight fields their arguments (an empty port too); a folder given wins over the list.
TEST_F(ConvertDialog, ShowFormFillsTheBoxesAndFields) {
    const std::string first = database("adat\\12345678.000\\kelmora.fdb");
    const std::string own = database("adat\\kelmora.fdb");
    const std::string list =
        "C:\\Program Files\\Firebird\\Firebird_2_5\r\nC:\\Program Files\\Firebird\\Firebird_3_0\r\n"
        "D:\\Firebird_2_5\r\nC:\\KELMORA.WIN\\Firebird\\Docs\r\nC:\\KELMORA.WIN\\Firebird\\Firebird_2_1\r\n";
    Convert dialog;
    dialog.script = [&](Convert& d) {
        EXPECT_EQ(d.items(IDC_CV_cbOldFbServerPath),
                  (Strings{"C:\\Program Files\\Firebird\\Firebird_2_5", "C:\\KELMORA.WIN\\Firebird\\Firebird_2_1"}));
        EXPECT_EQ(d.items(IDC_CV_cbNewFbServerPath), (Strings{"C:\\Program Files\\Firebird\\Firebird_3_0"}));
        EXPECT_EQ(d.textOf(IDC_CV_cbOldFbServerPath), "C:\\Program Files\\Firebird\\Firebird_2_5");
        EXPECT_EQ(d.selectedIndex(IDC_CV_cbNewFbServerPath), 0);
        EXPECT_EQ(splitLines(d.textOf(IDC_CV_mFdbFiles)), (Strings{first, own}));
        EXPECT_EQ(d.items(IDC_CV_cbConnTestFdbFn), (Strings{first, own}));
        EXPECT_EQ(d.textOf(IDC_CV_cbConnTestFdbFn), first);
        const std::pair<int, const char*> fields[] = {
            {IDC_CV_edIpOld, "127.0.0.1"}, {IDC_CV_edPortOld, ""},        {IDC_CV_edUnOld, "SYSDBA"},
            {IDC_CV_edPwOld, "qwdbadmin"}, {IDC_CV_edIpNew, "127.0.0.1"}, {IDC_CV_edPortNew, "3051"},
            {IDC_CV_edUnNew, "SYSDBA"},    {IDC_CV_edPwNew, "qwdbadmin"},
        };
        for (const auto& [id, value] : fields) EXPECT_EQ(d.textOf(id), value) << id;
        EXPECT_EQ(d.textOf(IDC_CV_edDbModBatch), temp + "ConvertToFb3.bat");
        d.type(IDC_CV_edPortOld, "3055");
        d.type(IDC_CV_edUnNew, "ADMIN");
    };
    EXPECT_FALSE(open(dialog, list, "", "", "", "3051"));
    EXPECT_EQ(dialog.choice().newUser, "ADMIN");

    // The fields are set again at every opening; given folders win over the first items.
    dialog.script = [&](Convert& d) {
        EXPECT_EQ(d.textOf(IDC_CV_edPortOld), "3050");
        EXPECT_EQ(d.textOf(IDC_CV_edUnNew), "SYSDBA");
        EXPECT_EQ(d.textOf(IDC_CV_cbOldFbServerPath), "D:\\FB25");
        EXPECT_EQ(d.textOf(IDC_CV_cbNewFbServerPath), "C:\\Program Files\\Firebird\\Firebird_3_0");
        EXPECT_EQ(d.items(IDC_CV_cbOldFbServerPath).size(), 2u);
    };
    EXPECT_FALSE(open(dialog, list, "D:\\FB25", "3050", "  "));
    const ConvertChoice handed = dialog.choice();
    EXPECT_EQ(handed.oldServerFolder, "D:\\FB25");
    EXPECT_EQ(handed.newServerFolder, "C:\\Program Files\\Firebird\\Firebird_3_0");
    EXPECT_EQ(handed.oldUser, "SYSDBA");
    EXPECT_EQ(handed.oldPassword, "qwdbadmin");
}

// Both buttons confirm and hand over the mode, the typed batch path and the edited list; closing
// the window does not confirm. The batch path and mode stay for the next opening.
TEST_F(ConvertDialog, BothButtonsConfirmAndTheModeAndBatchPathStay) {
    Convert dialog;
    dialog.script = [&](Convert& d) {
        d.click(IDC_CV_rbDbModBatch);
        EXPECT_TRUE(d.isVisible(IDC_CV_edDbModBatch));
        d.click(IDC_CV_rbDbModNow);
        EXPECT_FALSE(d.isVisible(IDC_CV_edDbModBatch));
        d.click(IDC_CV_rbDbModBatch);
        d.type(IDC_CV_edDbModBatch, " d:\\k\\conv.bat ");
        d.type(IDC_CV_mFdbFiles, "C:\\a.fdb\r\n\r\nC:\\b.fdb");
        d.click(IDC_CV_BitBtn3);
    };
    EXPECT_TRUE(open(dialog));
    EXPECT_FALSE(dialog.fellBack);
    ConvertChoice handed = dialog.choice();
    EXPECT_EQ(handed.mode, RunMode::Batch);
    EXPECT_EQ(handed.batchFile, " d:\\k\\conv.bat ");
    EXPECT_EQ(handed.lines, (Strings{"C:\\a.fdb", "", "C:\\b.fdb"}));

    dialog.script = [&](Convert& d) {
        EXPECT_TRUE(d.isChecked(IDC_CV_rbDbModBatch));
        EXPECT_TRUE(d.isVisible(IDC_CV_edDbModBatch));
        EXPECT_EQ(d.textOf(IDC_CV_edDbModBatch), " d:\\k\\conv.bat ");
        selectPage(d, 1);
        d.click(IDC_CV_BitBtn2);
    };
    EXPECT_TRUE(open(dialog));

    dialog.script = [&](Convert& d) { SendMessageW(d.hwnd(), WM_CLOSE, 0, 0); };
    EXPECT_FALSE(open(dialog));
}

// The first press after the program's start only shows the list; the flag survives openings; the
// next press checks the files and leaves their versions on screen, over the list's own rectangle.
TEST_F(ConvertDialog, VersionButtonTogglesAndItsFlagOutlivesAnOpening) {
    const std::string fdb = database("adat\\kelmora.fdb");
    Convert dialog;
    EXPECT_EQ(dialog.showVersionsTag(), 0);
    dialog.script = [&](Convert& d) {
        d.click(IDC_CV_btnShowFbVersions);
        EXPECT_TRUE(d.isVisible(IDC_CV_mFdbFiles));
        EXPECT_FALSE(d.isVisible(IDC_CV_grdDb));
        EXPECT_FALSE(platform::fileExists(temp + "gstatRq1.bat")) << "nothing was checked";
    };
    open(dialog, "", kFb25, "3050", kFb3);
    EXPECT_EQ(dialog.showVersionsTag(), 1);

    dialog.script = [&](Convert& d) {
        d.click(IDC_CV_btnShowFbVersions);
        EXPECT_FALSE(d.isVisible(IDC_CV_mFdbFiles));
        EXPECT_FALSE(d.isVisible(IDC_CV_lFileListHeader));
        EXPECT_TRUE(d.isVisible(IDC_CV_grdDb));
        EXPECT_TRUE(sameRect(d.item(IDC_CV_grdDb), d.item(IDC_CV_mFdbFiles)));
        EXPECT_TRUE(d.isVisible(IDC_CV_btnShowFbVersions));
        EXPECT_TRUE(d.isVisible(IDC_CV_btnFilterDbList));
        EXPECT_FALSE(d.isVisible(IDC_CV_pb1));
        EXPECT_EQ(gridRows(d), (Strings{fdb + "|Firebird 3"}));
        d.click(IDC_CV_btnShowFbVersions);
        EXPECT_TRUE(d.isVisible(IDC_CV_mFdbFiles));
        EXPECT_FALSE(d.isVisible(IDC_CV_grdDb));
    };
    open(dialog, "", kFb25, "3050", kFb3);
    EXPECT_EQ(dialog.showVersionsTag(), 1);
    EXPECT_TRUE(platform::fileExists(temp + "gstatRq1.bat"));
}

namespace {

// Records, when its message arrives, whether the version check was under way (progress shown) and where.
struct MidCheckProbe {
    HWND progress = nullptr;
    bool handled = false;
    bool progressShown = false;
    int position = -1;
};
MidCheckProbe* probe = nullptr;

LRESULT CALLBACK probeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP + 40 && probe != nullptr) {
        probe->handled = true;
        probe->progressShown = IsWindowVisible(probe->progress) != 0;
        probe->position = static_cast<int>(SendMessageW(probe->progress, PBM_GETPOS, 0, 0));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

// The version view and its filter on real files: a Firebird 3 database (the machine's gstat), a file
// that is no database, an empty line, the real Firebird 2.5 files (Firebird 3's gstat cannot read
// them) and a database whose old server reports the Firebird 2.5 layout (a stored report). Only the
// last stays; the empty line counts in the progress and the run identifiers.
TEST_F(ConvertDialog, VersionViewAndFilterOnRealFiles) {
    const std::string fixtures = firebird25Fixtures();
    if (!platform::folderExists(fixtures)) GTEST_SKIP() << "no Firebird 2.5 fixtures at " << fixtures;
    // The old server: a 2.5 layout whose gstat writes the report stored beside a database.
    const std::string oldServer = scratch.folder("Firebird_2_5");
    scratch.file("Firebird_2_5\\bin\\instsvc.exe", "MZ");
    platform::writeFileBytes(oldServer + "\\bin\\gstat.exe", *platform::readFileBytes(FBWB_HEADER_STANDIN));
    const std::string fb3 = database("adat\\uj.fdb");
    const std::string text = scratch.file("adat\\jegyzet.fdb", "ez nem adatbazis\r\n");
    const std::string old = database("adat\\regi.fdb");
    const auto report = platform::readFileBytes(std::string(FBWB_TEST_DATA_DIR) + "/gstat/firebird25-header.txt");
    ASSERT_TRUE(report);
    platform::writeFileBytes(old + ".header.txt", *report);
    const Strings lines = {fb3, text, "", fixtures + "ods11_2.fdb", fixtures + "ods11_0.fdb", old};

    WNDCLASSW probeClass{};
    probeClass.lpfnWndProc = probeProcedure;
    probeClass.hInstance = GetModuleHandleW(nullptr);
    probeClass.lpszClassName = L"fbwbConvertProbe";
    RegisterClassW(&probeClass);
    HWND probeWindow = CreateWindowW(L"fbwbConvertProbe", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
    MidCheckProbe seen;
    probe = &seen;

    Convert dialog;
    Strings rows, filtered;
    PBRANGE range{};
    int position = 0;
    dialog.script = [&](Convert& d) {
        d.type(IDC_CV_mFdbFiles, listFieldText(lines));
        seen.progress = d.item(IDC_CV_pb1);
        d.click(IDC_CV_btnShowFbVersions);  // the first press only shows the list
        PostMessageW(probeWindow, WM_APP + 40, 0, 0);
        // Confirming and closing while the check runs are ignored: the dialog must not end under it.
        PostMessageW(d.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_CV_BitBtn3, BN_CLICKED),
                     reinterpret_cast<LPARAM>(d.item(IDC_CV_BitBtn3)));
        PostMessageW(d.hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        d.click(IDC_CV_btnShowFbVersions);
        rows = gridRows(d);
        SendMessageW(d.item(IDC_CV_pb1), PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
        position = static_cast<int>(SendMessageW(d.item(IDC_CV_pb1), PBM_GETPOS, 0, 0));
        d.click(IDC_CV_btnFilterDbList);
        EXPECT_TRUE(d.isVisible(IDC_CV_mFdbFiles)) << "the list is on screen after the filter";
        EXPECT_FALSE(d.isVisible(IDC_CV_grdDb));
        EXPECT_FALSE(d.isVisible(IDC_CV_pb1));
        EXPECT_TRUE(d.isVisible(IDC_CV_btnFilterDbList));
        filtered = splitLines(d.textOf(IDC_CV_mFdbFiles));
    };
    EXPECT_FALSE(open(dialog, "", oldServer, "3050", kFb3)) << "a confirmation during the check counted";
    EXPECT_TRUE(dialog.fellBack) << "the dialog ended under the check";
    probe = nullptr;
    DestroyWindow(probeWindow);

    EXPECT_EQ(rows, (Strings{fb3 + "|Firebird 3", text + "|" + kUnknown, fixtures + "ods11_2.fdb|" + kUnknown,
                             fixtures + "ods11_0.fdb|" + kUnknown, old + "|Firebird 2.5"}));
    EXPECT_EQ(range.iHigh, 6) << "the empty line counts";
    EXPECT_EQ(position, 6);
    for (int id : {1, 2, 4, 5, 6})
        EXPECT_TRUE(platform::fileExists(temp + "gstatRq" + std::to_string(id) + ".bat")) << id;
    EXPECT_FALSE(platform::fileExists(temp + "gstatRq3.bat")) << "the empty line ran nothing";
    EXPECT_EQ(filtered, (Strings{old}));
    EXPECT_EQ(dialog.versionRows().back().fbVersionLabel, "Firebird 2.5");
    EXPECT_TRUE(seen.handled) << "messages were processed during the check";
    EXPECT_TRUE(seen.progressShown);
    EXPECT_GE(seen.position, 1);
}

// The browse buttons: the folder dialog titled with the label, rooted at the box's text; a confirmed
// folder becomes the box's text, a cancel leaves it.
TEST_F(ConvertDialog, BrowseButtonsPutTheChosenFolderIntoTheirBox) {
    const std::wstring title =
        L"A telep\u00edtett Firebird kiszolg\u00e1l\u00f3 mapp\u00e1ja (a \"gbak.exe\" mapp\u00e1ja):  ";
    Convert dialog;
    dialog.script = [&](Convert& d) {
        selectPage(d, 1);
        // The folder dialog shows the label's text, as this dialog does: only the folder dialog may be found.
        ShowWindow(d.hwnd(), SW_HIDE);
        for (const auto& [button, box] : {std::pair{IDC_CV_Button12, IDC_CV_cbOldFbServerPath},
                                          std::pair{IDC_CV_Button3, IDC_CV_cbNewFbServerPath}}) {
            d.type(box, " C:\\KELMORA.WIN ");
            std::atomic<bool> shown{false};
            std::thread cancel = answerDialog(GetCurrentThreadId(), title, IDCANCEL, shown, L"KELMORA.WIN");
            d.click(button);
            cancel.join();
            EXPECT_TRUE(shown);
            EXPECT_EQ(d.textOf(box), " C:\\KELMORA.WIN ");
            std::atomic<bool> confirmed{false};
            std::thread ok = answerDialog(GetCurrentThreadId(), title, IDOK, confirmed, L"KELMORA.WIN");
            d.click(button);
            ok.join();
            EXPECT_TRUE(confirmed);
            EXPECT_TRUE(equalsNoCase(d.textOf(box), "C:\\KELMORA.WIN")) << d.textOf(box);
        }
    };
    open(dialog);
}

// A failed try shows the error box with the client's text after the fixed lines; the dialog stays open.
TEST_F(ConvertDialog, FailedConnectionTryShowsTheClientsText) {
    const std::string fdb = database("adat\\kelmora.fdb");
    Convert dialog;
    bool stillOpen = false;
    dialog.script = [&](Convert& d) {
        selectPage(d, 1);
        d.type(IDC_CV_edPortOld, "1");  // nothing listens there
        d.type(IDC_CV_edPortNew, "1");
        d.click(IDC_CV_Button1);
        d.click(IDC_CV_Button2);
        stillOpen = IsWindowVisible(d.hwnd()) != 0;
    };
    open(dialog, "", kFb25, "3050", kFb3);
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(boxes.boxes().size(), 2u);
    const std::string prefix = "A kapcsolat felépítése nem sikerült\r\nA hiba  leírása:\r\n\r\n";
    for (const auto& box : boxes.boxes()) {
        EXPECT_EQ(box.kind, platform::BoxKind::Error);
        EXPECT_FALSE(box.question);
        EXPECT_TRUE(startsWith(box.text, prefix)) << box.text;
        EXPECT_GT(box.text.size(), prefix.size()) << "the client's text follows";
    }
}

// The ports the toolbar action hands over: the first server of each generation, its firebird.conf's
// RemoteServicePort (3050 without one), empty when the list has no server of that generation.
TEST(ConversionPorts, FirstServerOfEachGenerationOrNothing) {
    TempFolder scratch;
    const std::string old25 = scratch.folder("Firebird\\Firebird_2_5");
    scratch.file("Firebird\\Firebird_2_5\\firebird.conf",
                 "#RemoteServicePort = 3050\r\nRemoteServicePort = 3051 # old\r\n");
    const std::string other25 = scratch.folder("Firebird\\Firebird_2_1");
    scratch.file("Firebird\\Firebird_2_1\\firebird.conf", "RemoteServicePort = 3099\r\n");
    const std::string new30 = scratch.folder("Firebird\\Firebird_3_0");  // no firebird.conf
    struct Case {
        Strings servers;
        const char* oldPort;
        const char* newPort;
    } cases[] = {
        {{new30, old25, other25}, "3051", "3050"},
        {{new30}, "", "3050"},
        {{"C:\\Elsewhere\\Firebird_2_5", old25}, "3051", ""},
        {{}, "", ""},
    };
    for (const auto& c : cases) {
        const ConversionPorts ports = conversionPorts(c.servers);
        EXPECT_EQ(ports.oldPort, c.oldPort) << joinLinesCrLf(c.servers);
        EXPECT_EQ(ports.newPort, c.newPort) << joinLinesCrLf(c.servers);
    }
}

// Each page's controls lie inside the tab's page area, show their whole caption and do not overlap
// one another (group boxes aside); Tab reaches the page's inputs and buttons.
TEST_F(ConvertDialog, EachPageLiesInsideTheTabWithoutOverlap) {
    Convert dialog;
    dialog.script = [&](Convert& d) {
        for (int page : {0, 1}) {
            SCOPED_TRACE(page);
            selectPage(d, page);
            if (page == 0) d.click(IDC_CV_rbDbModBatch);  // the batch field too
            RECT area = rectInDialog(d.item(IDC_CV_pcPages));
            SendMessageW(d.item(IDC_CV_pcPages), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
            std::vector<HWND> shown;
            for (int id : page == 0 ? std::vector<int>(std::begin(kFirstPage), std::end(kFirstPage))
                                    : std::vector<int>(std::begin(kSecondPage), std::end(kSecondPage)))
                shown.push_back(d.item(id));
            if (page == 0) shown.push_back(d.item(IDC_CV_edDbModBatch));
            if (page == 1)
                for (int id : {IDC_CV_lIpOld, IDC_CV_lPortOld, IDC_CV_lUnOld, IDC_CV_lPwOld, IDC_CV_lFbServerPath,
                               IDC_CV_lIpNew, IDC_CV_lPortNew, IDC_CV_lUnNew, IDC_CV_lPwNew, IDC_CV_lFbServerPath2})
                    shown.push_back(d.item(id));
            for (HWND control : shown) {
                const int id = GetDlgCtrlID(control);
                EXPECT_TRUE(IsWindowVisible(control)) << id;
                const RECT r = rectInDialog(control);
                EXPECT_TRUE(r.left >= area.left && r.top >= area.top && r.right <= area.right &&
                            r.bottom <= area.bottom)
                    << id;
                const std::string caption = windowText(control);
                if (className(control) == "Button" && !isGroupBox(control) && !caption.empty()) {
                    const LONG_PTR type = style(control) & BS_TYPEMASK;
                    const int frame =
                        type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON ? 8 : GetSystemMetrics(SM_CXMENUCHECK) + 4;
                    EXPECT_LE(textWidth(control, caption) + frame, r.right - r.left) << id;
                } else if (className(control) == "Static") {
                    const SIZE needed = wrappedTextSize(control, caption, r.right - r.left);
                    EXPECT_LE(needed.cy, r.bottom - r.top) << id << " " << caption;
                }
            }
            for (size_t i = 0; i < shown.size(); ++i)
                for (size_t j = i + 1; j < shown.size(); ++j) {
                    if (isGroupBox(shown[i]) || isGroupBox(shown[j])) continue;
                    RECT a = rectInDialog(shown[i]), b = rectInDialog(shown[j]), both{};
                    EXPECT_FALSE(IntersectRect(&both, &a, &b))
                        << GetDlgCtrlID(shown[i]) << " and " << GetDlgCtrlID(shown[j]);
                }
            // Tab stops at the checked one of the two mode buttons.
            const std::set<int> reached = tabStops(d.hwnd());
            const std::vector<int> inputs =
                page == 0 ? std::vector<int>{IDC_CV_rbDbModBatch,      IDC_CV_edDbModBatch,    IDC_CV_mFdbFiles,
                                             IDC_CV_btnShowFbVersions, IDC_CV_btnFilterDbList, IDC_CV_BitBtn3}
                          : std::vector<int>{
                                IDC_CV_cbConnTestFdbFn, IDC_CV_edIpOld, IDC_CV_edPwOld,   IDC_CV_cbOldFbServerPath,
                                IDC_CV_Button12,        IDC_CV_Button1, IDC_CV_edPortNew, IDC_CV_cbNewFbServerPath,
                                IDC_CV_Button2,         IDC_CV_BitBtn2};
            for (int id : inputs) EXPECT_EQ(reached.count(id), 1u) << id;
        }
    };
    open(dialog);
}

// Ctrl+Tab and Ctrl+Page Down turn to the next page, with Shift or Page Up back, as in a property sheet;
// Tab alone stays a move between controls. The keys are offered as the dialog's own loop offers them.
TEST_F(ConvertDialog, ControlTabTurnsThePages) {
    Convert dialog;
    dialog.script = [&](Convert& d) {
        const auto press = [&](WORD key, bool control, bool shift) {
            BYTE keys[256] = {};
            GetKeyboardState(keys);
            keys[VK_CONTROL] = control ? 0x80 : 0;
            keys[VK_SHIFT] = shift ? 0x80 : 0;
            SetKeyboardState(keys);
            MSG message{d.item(IDC_CV_mFdbFiles), WM_KEYDOWN, key, 0, 0, {}};
            const bool taken = CallMsgFilterW(&message, MSGF_DIALOGBOX) != FALSE;
            keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
            SetKeyboardState(keys);
            return taken;
        };
        const auto page = [&] { return static_cast<int>(SendMessageW(d.item(IDC_CV_pcPages), TCM_GETCURSEL, 0, 0)); };
        selectPage(d, 0);
        EXPECT_FALSE(press(VK_TAB, false, false));
        EXPECT_EQ(page(), 0);
        EXPECT_TRUE(press(VK_TAB, true, false));
        EXPECT_EQ(page(), 1);
        EXPECT_TRUE(d.isVisible(IDC_CV_Button1)) << "the second page's controls are shown";
        EXPECT_FALSE(d.isVisible(IDC_CV_mFdbFiles));
        EXPECT_TRUE(press(VK_TAB, true, true));
        EXPECT_EQ(page(), 0);
        EXPECT_TRUE(d.isVisible(IDC_CV_mFdbFiles));
        EXPECT_TRUE(press(VK_NEXT, true, false));
        EXPECT_EQ(page(), 1);
        EXPECT_TRUE(press(VK_PRIOR, true, false));
        EXPECT_EQ(page(), 0);
    };
    open(dialog);
}
