// The database list dialogs, shown modally in the test process and driven from inside their own
// message loop: texts, first-opening state, the list and batch field that showForm prepares, the
// mode field, the maintenance chain, the percentage's bounds, what OK and the ways out hand back,
// the state kept between openings, and the layout.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "core/text.h"
#include "platform/encoding.h"
#include "platform/process.h"
#include "tasks/db_dialogs_ids.h"
#include "tasks/fdb_dialogs_win.h"
#include "win/dialog_driver.h"
#include "win/temp_folder.h"

using namespace fbwb;
using fbwb::test::TempFolder;
using Strings = std::vector<std::string>;
using namespace fbwb::test;

namespace {

using Maintain = Driven<TfrmFdbMaintain>;
using Settings = Driven<TfrmFdbSettings>;

// Columns (from the control's left edge) where the control paints something darker than its background.
std::vector<bool> inkedColumns(HWND control) {
    RECT client{};
    GetClientRect(control, &client);
    const int width = client.right, height = client.bottom;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    GdiFlush();
    std::vector<bool> inked(static_cast<size_t>(width), false);
    const auto* pixels = static_cast<const DWORD*>(bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const DWORD p = pixels[y * width + x];
            const int brightness = ((p >> 16) & 0xff) + ((p >> 8) & 0xff) + (p & 0xff);
            if (brightness < 3 * 128) inked[static_cast<size_t>(x)] = true;
        }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return inked;
}

class FdbDialogs : public ::testing::Test {
protected:
    void SetUp() override { platform::initCommonControls(); }

    TempFolder data_;
    const std::string temp_ = "c:\\KELMORA.WIN\\";
};

const int kListControls[] = {IDC_gbDbList, IDC_rbDbModNow, IDC_rbDbModBatch, IDC_edDbModBatch,
                             IDC_lFdbFiles, IDC_mFdbFiles, IDOK, IDCANCEL};

}  // namespace

TEST_F(FdbDialogs, ShowTheDescribedTextsAndBoldButtons) {
    struct Case {
        int id;
        const char* maintain;
        const char* settings;
    } cases[] = {
        {0, "Adatbázisok karbantartása ", "Adatbázis(ok) beállításai"},
        {IDC_gbDbList, "A felsorolt adatbázisokon végezze el a karbantartó műveleteket:  ",
         "A felsorolt adatbázisok beállításainak módosítása:  "},
        {IDC_rbDbModNow, "Végezze el a módosításokat az adatbázisokon",
         "Módosítsa az egyes adatbzisok beállításait"},
        {IDC_rbDbModBatch, "Hozzon létre egy batch-fájlt, amely tartalmazza az elvégzendő módosításokat, ide: ",
         "Hozzon létre egy batch-fájlt, amely tartalmazza az elvégzendő beállítsokat, ide: "},
        {IDC_lFdbFiles, "Az alábbi adatbázisok beállításainak módosítása: ",
         "Az alábbi adatbázisok beállításainak módosítása: "},
        {IDOK, "A módosítáok elvégzése", "A módosítáok elvégzése"},
        {IDCANCEL, "Mégsem", "Mégsem"},
    };
    Maintain maintain;
    Settings settings;
    maintain.script = [&](Maintain& d) {
        for (const auto& c : cases)
            EXPECT_EQ(withoutAccessKeys(c.id == 0 ? windowText(d.hwnd()) : d.textOf(c.id)), c.maintain) << c.id;
        struct Option {
            int id;
            const char* caption;
        } options[] = {
            {IDC_cbDbMaintain, "Adatbázis karbantartása"},
            {IDC_cbDbBAckup, "Biztonsági mentés készítése az adatbázisról"},
            {IDC_cbDbRestore, "Az előző pontban készített biztonsági mentés visszatöltése"},
            {IDC_cbDbDelBAckupFileAfterRestore, "A mentés visszaállítása után törölje a mentésfájlt"},
        };
        for (const auto& o : options) EXPECT_EQ(withoutAccessKeys(d.textOf(o.id)), o.caption) << o.id;
    };
    settings.script = [&](Settings& d) {
        for (const auto& c : cases)
            EXPECT_EQ(withoutAccessKeys(c.id == 0 ? windowText(d.hwnd()) : d.textOf(c.id)), c.settings) << c.id;
        EXPECT_EQ(withoutAccessKeys(d.textOf(IDC_cbDbCache)),
                  "Az alábbi adatbázisoknak engedélyezzen annyi memóriafoglalást, mint az adatbázis "
                  "fájlméretének:                     %-a");
        for (int id : {IDOK, IDCANCEL}) {
            LOGFONTW font{};
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(d.item(id), WM_GETFONT, 0, 0)), sizeof font, &font);
            EXPECT_GE(font.lfWeight, FW_BOLD) << id;
        }
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(d.hwnd(), WM_GETFONT, 0, 0)), sizeof font, &font);
        EXPECT_STREQ(font.lfFaceName, L"Tahoma");
        EXPECT_EQ(font.lfWeight, FW_NORMAL);
    };
    EXPECT_FALSE(maintain.showForm(data_.path(), temp_));
    EXPECT_FALSE(settings.showForm(data_.path(), temp_));
    EXPECT_TRUE(maintain.scriptRan && settings.scriptRan);
}

TEST_F(FdbDialogs, FirstOpeningStartsInNowModeWithTheDefaultOptions) {
    Maintain maintain;
    maintain.script = [&](Maintain& d) {
        EXPECT_TRUE(d.isChecked(IDC_rbDbModNow));
        EXPECT_FALSE(d.isChecked(IDC_rbDbModBatch));
        EXPECT_FALSE(d.isVisible(IDC_edDbModBatch));
        EXPECT_EQ(d.textOf(IDC_edDbModBatch), "c:\\KELMORA.WIN\\dbMaintain.bat");
        EXPECT_TRUE(d.isChecked(IDC_cbDbMaintain));
        EXPECT_FALSE(d.isChecked(IDC_cbDbBAckup));
        EXPECT_FALSE(d.isChecked(IDC_cbDbRestore));
        EXPECT_FALSE(d.isChecked(IDC_cbDbDelBAckupFileAfterRestore));
        EXPECT_TRUE(d.isEnabled(IDC_cbDbBAckup));
        EXPECT_FALSE(d.isEnabled(IDC_cbDbRestore));
        EXPECT_FALSE(d.isEnabled(IDC_cbDbDelBAckupFileAfterRestore));
    };
    EXPECT_FALSE(maintain.showForm(data_.path(), temp_));
    EXPECT_EQ(maintain.choice().mode, RunMode::Now);
    EXPECT_EQ(maintain.tempDir(), temp_);

    Settings settings;
    settings.script = [&](Settings& d) {
        EXPECT_TRUE(d.isChecked(IDC_rbDbModNow));
        EXPECT_FALSE(d.isVisible(IDC_edDbModBatch));
        EXPECT_EQ(d.textOf(IDC_edDbModBatch), "c:\\KELMORA.WIN\\dbSettings.bat");
        EXPECT_TRUE(d.isChecked(IDC_cbDbCache));
        EXPECT_EQ(d.textOf(IDC_spDbCachePercent), "150");
        EXPECT_EQ(SendMessageW(d.item(IDC_spDbCachePercentUpDown), UDM_GETPOS32, 0, 0), 150);
    };
    EXPECT_FALSE(settings.showForm(data_.path(), temp_));
    EXPECT_TRUE(settings.options().cache);
    EXPECT_EQ(settings.options().percent, 150);
}

TEST_F(FdbDialogs, ShowFormListsTheSubfoldersDatabasesFirstAndTheFoldersOwnLast) {
    const std::string root = data_.folder("adat");
    const std::string own = data_.file("adat\\kelmora.fdb");
    const std::string first = data_.file("adat\\12345678.000\\kelmora.fdb");
    const std::string second = data_.file("adat\\87654321.000\\conf.fdb");
    data_.file("adat\\87654321.000\\notes.txt");
    Settings settings;
    Strings shown;
    settings.script = [&](Settings& d) { shown = splitLines(d.textOf(IDC_mFdbFiles)); };
    EXPECT_FALSE(settings.showForm(root, temp_));
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ((std::set<std::string>{shown[0], shown[1]}), (std::set<std::string>{first, second}));
    EXPECT_EQ(shown[2], own);
    EXPECT_EQ(settings.choice().lines, shown);
}

TEST_F(FdbDialogs, BlankBatchFieldGetsTheTempFolderAndTheDefaultNameAFilledOneStays) {
    struct Case {
        const char* before;
        const char* shown;
    } cases[] = {
        {"", "c:\\KELMORA.WIN\\dbMaintain.bat"},
        {"  \t ", "c:\\KELMORA.WIN\\dbMaintain.bat"},
        {"d:\\batches\\mine.bat", "d:\\batches\\mine.bat"},
        {"  d:\\x.bat ", "  d:\\x.bat "},  // kept as typed; the run trims it
    };
    for (const auto& c : cases) {
        Maintain maintain;
        maintain.setBatchFileField(c.before);
        std::string shown;
        maintain.script = [&](Maintain& d) { shown = d.textOf(IDC_edDbModBatch); };
        maintain.showForm(data_.path(), temp_);
        EXPECT_EQ(shown, c.shown) << '"' << c.before << '"';
        EXPECT_EQ(maintain.batchFileField(), c.shown);
    }
}

TEST_F(FdbDialogs, BatchFieldIsShownExactlyInBatchMode) {
    Settings settings;
    settings.script = [&](Settings& d) {
        d.click(IDC_rbDbModBatch);
        EXPECT_TRUE(d.isChecked(IDC_rbDbModBatch));
        EXPECT_FALSE(d.isChecked(IDC_rbDbModNow));
        EXPECT_TRUE(d.isVisible(IDC_edDbModBatch));
        d.click(IDC_rbDbModNow);
        EXPECT_FALSE(d.isVisible(IDC_edDbModBatch));
        d.click(IDC_rbDbModBatch);
    };
    settings.showForm(data_.path(), temp_);
    EXPECT_EQ(settings.choice().mode, RunMode::Batch);
    bool visibleAtNextOpening = false;
    settings.script = [&](Settings& d) { visibleAtNextOpening = d.isVisible(IDC_edDbModBatch); };
    settings.showForm(data_.path(), temp_);
    EXPECT_TRUE(visibleAtNextOpening);
}

TEST_F(FdbDialogs, BackupChainInTheControls) {
    Maintain maintain;
    maintain.script = [&](Maintain& d) {
        d.click(IDC_cbDbBAckup);
        EXPECT_TRUE(d.isEnabled(IDC_cbDbRestore));
        EXPECT_FALSE(d.isEnabled(IDC_cbDbDelBAckupFileAfterRestore));
        d.click(IDC_cbDbRestore);
        EXPECT_TRUE(d.isEnabled(IDC_cbDbDelBAckupFileAfterRestore));
        d.click(IDC_cbDbDelBAckupFileAfterRestore);
        d.click(IDC_cbDbBAckup);  // off: the later steps go with it
        EXPECT_FALSE(d.isChecked(IDC_cbDbRestore));
        EXPECT_FALSE(d.isChecked(IDC_cbDbDelBAckupFileAfterRestore));
        EXPECT_FALSE(d.isEnabled(IDC_cbDbRestore));
        EXPECT_FALSE(d.isEnabled(IDC_cbDbDelBAckupFileAfterRestore));
        d.click(IDC_cbDbBAckup);  // on again: only the restore comes back, unchecked
        EXPECT_TRUE(d.isEnabled(IDC_cbDbRestore));
        EXPECT_FALSE(d.isChecked(IDC_cbDbRestore));
        EXPECT_FALSE(d.isEnabled(IDC_cbDbDelBAckupFileAfterRestore));
        d.click(IDC_cbDbRestore);
        d.click(IDC_cbDbDelBAckupFileAfterRestore);
        d.click(IDC_cbDbRestore);  // restore off: the deletion goes, the backup stays
        EXPECT_TRUE(d.isChecked(IDC_cbDbBAckup));
        EXPECT_FALSE(d.isChecked(IDC_cbDbDelBAckupFileAfterRestore));
        EXPECT_FALSE(d.isEnabled(IDC_cbDbDelBAckupFileAfterRestore));
    };
    maintain.showForm(data_.path(), temp_);
    EXPECT_TRUE(maintain.steps().backup);
    EXPECT_FALSE(maintain.steps().restore);
    EXPECT_FALSE(maintain.steps().deleteBackup);
}

TEST_F(FdbDialogs, OkHandsBackWhatTheControlsShow) {
    Maintain maintain;
    maintain.script = [&](Maintain& d) {
        d.click(IDC_rbDbModBatch);
        d.type(IDC_edDbModBatch, "  d:\\futtat\\karbantart.bat");
        d.type(IDC_mFdbFiles, "c:\\a\\egy.fdb\r\n\r\n  c:\\b\\két.fdb \r\n");
        d.click(IDC_cbDbMaintain);
        d.click(IDC_cbDbBAckup);
        d.click(IDC_cbDbRestore);
        d.click(IDOK);
    };
    EXPECT_TRUE(maintain.showForm(data_.path(), temp_));
    EXPECT_EQ(maintain.choice().mode, RunMode::Batch);
    EXPECT_EQ(maintain.choice().batchFile, "  d:\\futtat\\karbantart.bat");
    // Blank lines stay, so the indices of the run count them; the lines are as typed.
    EXPECT_EQ(maintain.choice().lines, (Strings{"c:\\a\\egy.fdb", "", "  c:\\b\\két.fdb "}));
    const MaintenanceSteps& steps = maintain.steps();
    EXPECT_FALSE(steps.maintain);
    EXPECT_TRUE(steps.backup);
    EXPECT_TRUE(steps.restore);
    EXPECT_FALSE(steps.deleteBackup);

    Settings settings;
    settings.script = [&](Settings& d) {
        d.click(IDC_cbDbCache);
        d.type(IDC_spDbCachePercent, "275");
        d.click(IDOK);
    };
    EXPECT_TRUE(settings.showForm(data_.path(), temp_));
    EXPECT_FALSE(settings.options().cache);
    EXPECT_EQ(settings.options().percent, 275);
    EXPECT_EQ(settings.choice().mode, RunMode::Now);
}

TEST_F(FdbDialogs, EveryOtherWayOutIsNotAConfirmation) {
    struct Case {
        const char* name;
        std::function<void(HWND)> leave;
    } cases[] = {
        {"Mégsem", [](HWND d) { SendMessageW(GetDlgItem(d, IDCANCEL), BM_CLICK, 0, 0); }},
        {"Esc", [](HWND d) {
             SetFocus(GetDlgItem(d, IDC_rbDbModNow));
             PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
         }},
        {"close box", [](HWND d) { SendMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const auto& c : cases) {
        Maintain maintain;
        maintain.script = [&](Maintain& d) {
            d.click(IDC_cbDbBAckup);
            c.leave(d.hwnd());
        };
        EXPECT_FALSE(maintain.showForm(data_.path(), temp_)) << c.name;
        EXPECT_FALSE(maintain.fellBack) << c.name << " closed the dialog";
        EXPECT_TRUE(maintain.steps().backup) << c.name << ": the choice is kept all the same";

        Settings settings;
        settings.script = [&](Settings& d) { c.leave(d.hwnd()); };
        EXPECT_FALSE(settings.showForm(data_.path(), temp_)) << c.name;
        EXPECT_FALSE(settings.fellBack) << c.name << " closed the dialog";
    }
}

TEST_F(FdbDialogs, SecondOpeningKeepsModeBatchFileAndOptionsButRebuildsTheList) {
    const std::string root = data_.folder("adat");
    const std::string one = data_.file("adat\\egy.fdb");
    Settings settings;
    settings.script = [&](Settings& d) {
        d.click(IDC_rbDbModBatch);
        d.type(IDC_edDbModBatch, "e:\\beallit.bat");
        d.click(IDC_cbDbCache);
        d.type(IDC_spDbCachePercent, "80");
        d.type(IDC_mFdbFiles, "x:\\kézzel.fdb");
        d.click(IDCANCEL);
    };
    EXPECT_FALSE(settings.showForm(root, temp_));
    const std::string two = data_.file("adat\\sub\\ketto.fdb");
    settings.script = [&](Settings& d) {
        EXPECT_TRUE(d.isChecked(IDC_rbDbModBatch));
        EXPECT_TRUE(d.isVisible(IDC_edDbModBatch));
        EXPECT_EQ(d.textOf(IDC_edDbModBatch), "e:\\beallit.bat");
        EXPECT_FALSE(d.isChecked(IDC_cbDbCache));
        EXPECT_EQ(d.textOf(IDC_spDbCachePercent), "80");
        EXPECT_EQ(splitLines(d.textOf(IDC_mFdbFiles)), (Strings{two, one}));
        d.click(IDOK);
    };
    EXPECT_TRUE(settings.showForm(root, "d:\\tmp\\"));
    EXPECT_EQ(settings.choice().batchFile, "e:\\beallit.bat");
    EXPECT_EQ(settings.tempDir(), "d:\\tmp\\");
    EXPECT_EQ(settings.options().percent, 80);

    Maintain maintain;
    maintain.script = [&](Maintain& d) {
        d.click(IDC_cbDbBAckup);
        d.click(IDC_cbDbRestore);
        d.click(IDC_cbDbDelBAckupFileAfterRestore);
    };
    maintain.showForm(root, temp_);
    maintain.script = [&](Maintain& d) {
        EXPECT_TRUE(d.isChecked(IDC_cbDbDelBAckupFileAfterRestore));
        EXPECT_TRUE(d.isEnabled(IDC_cbDbRestore));
        EXPECT_TRUE(d.isEnabled(IDC_cbDbDelBAckupFileAfterRestore));
    };
    maintain.showForm(root, temp_);
}

TEST_F(FdbDialogs, PercentageIsBroughtIntoItsBoundsWhenTheFieldLosesTheFocus) {
    struct Case {
        const char* typed;
        const char* after;
    } cases[] = {{"5000", "1000"}, {"0", "1"}, {"-3", "1"}, {"abc", "1"}, {"", "1"}, {" 42 ", "42"}, {"999", "999"}};
    Settings settings;
    settings.script = [&](Settings& d) {
        for (const auto& c : cases) {
            SetFocus(d.item(IDC_spDbCachePercent));
            d.type(IDC_spDbCachePercent, c.typed);
            SetFocus(d.item(IDC_mFdbFiles));
            EXPECT_EQ(d.textOf(IDC_spDbCachePercent), c.after) << '"' << c.typed << '"';
        }
        // Confirmed while the field still has the focus: the bounds hold all the same.
        SetFocus(d.item(IDC_spDbCachePercent));
        d.type(IDC_spDbCachePercent, "1234567");
        PostMessageW(d.hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    };
    EXPECT_TRUE(settings.showForm(data_.path(), temp_));
    EXPECT_EQ(settings.options().percent, 1000);
}

TEST_F(FdbDialogs, ListKeepsLongLinesWhole) {
    const std::string longLine = "c:\\" + std::string(400, 'x') + ".fdb";
    Maintain maintain;
    maintain.script = [&](Maintain& d) {
        d.type(IDC_mFdbFiles, longLine + "\r\nc:\\b.fdb");
        EXPECT_EQ(SendMessageW(d.item(IDC_mFdbFiles), EM_GETLINECOUNT, 0, 0), 2) << "no word wrap";
    };
    maintain.showForm(data_.path(), temp_);
    EXPECT_EQ(maintain.choice().lines, (Strings{longLine, "c:\\b.fdb"}));
}

TEST_F(FdbDialogs, CentredOnTheOwnerWindow) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 40, 30, 1100, 760, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    platform::setOwnerWindow(owner);
    RECT dialog{}, around{};
    HWND ownerSeen = nullptr;
    Maintain maintain;
    maintain.script = [&](Maintain& d) {
        GetWindowRect(d.hwnd(), &dialog);
        ownerSeen = GetWindow(d.hwnd(), GW_OWNER);
    };
    maintain.showForm(data_.path(), temp_);
    platform::setOwnerWindow(nullptr);
    GetWindowRect(owner, &around);
    DestroyWindow(owner);
    EXPECT_EQ(ownerSeen, owner);
    EXPECT_NEAR((dialog.left + dialog.right) / 2, (around.left + around.right) / 2, 1);
    EXPECT_NEAR((dialog.top + dialog.bottom) / 2, (around.top + around.bottom) / 2, 1);
}

TEST_F(FdbDialogs, ControlsLieInsideTheClientAreaWithoutOverlapAndShowTheirWholeCaption) {
    auto check = [](HWND dialog, const std::set<std::pair<int, int>>& mayOverlap) {
        test::expectControlsInsideWithoutOverlap(dialog, mayOverlap);
        std::vector<HWND> controls;
        for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) controls.push_back(c);
        // The group box holds the list dialog's controls other than OK and cancel.
        const RECT group = rectInDialog(GetDlgItem(dialog, IDC_gbDbList));
        for (HWND c : controls) {
            const int id = GetDlgCtrlID(c);
            if (id == IDOK || id == IDCANCEL || id == IDC_gbDbList) continue;
            const RECT r = rectInDialog(c);
            EXPECT_TRUE(r.left > group.left && r.right < group.right && r.top > group.top && r.bottom < group.bottom)
                << id;
        }
    };
    Maintain maintain;
    maintain.script = [&](Maintain& d) {
        d.click(IDC_rbDbModBatch);
        check(d.hwnd(), {});
        RECT client{};
        GetClientRect(d.hwnd(), &client);
        EXPECT_GE(client.right, 700);
        EXPECT_GE(client.bottom, 560);
    };
    maintain.showForm(data_.path(), temp_);

    Settings settings;
    settings.script = [&](Settings& d) {
        d.click(IDC_rbDbModBatch);
        // The check box lies under the percentage (its region leaves that place out), and the arrows
        // cover the field's border, as an up-down does.
        check(d.hwnd(), {{IDC_cbDbCache, IDC_spDbCachePercent},
                         {IDC_cbDbCache, IDC_spDbCachePercentUpDown},
                         {IDC_spDbCachePercent, IDC_spDbCachePercentUpDown}});
    };
    settings.showForm(data_.path(), temp_);
}

// The percentage stands in the blank gap of the cache option's caption: the caption as painted has
// ink on both sides of it and none under it, and "1000" fits into the field.
TEST_F(FdbDialogs, PercentageFieldStandsInTheGapOfTheCaption) {
    Settings settings;
    settings.script = [&](Settings& d) {
        HWND box = d.item(IDC_cbDbCache);
        const RECT boxRect = rectInDialog(box);
        RECT edit = rectInDialog(d.item(IDC_spDbCachePercent));
        const RECT arrows = rectInDialog(d.item(IDC_spDbCachePercentUpDown));
        RECT pair{};
        UnionRect(&pair, &edit, &arrows);
        const std::vector<bool> inked = inkedColumns(box);
        const int from = pair.left - boxRect.left, to = pair.right - boxRect.left;
        ASSERT_GT(from, 0);
        ASSERT_LT(to, static_cast<int>(inked.size()));
        for (int x = from; x < to; ++x) EXPECT_FALSE(inked[static_cast<size_t>(x)]) << "ink under the field at " << x;
        EXPECT_TRUE(std::any_of(inked.begin() + from - 12, inked.begin() + from, [](bool b) { return b; }))
            << "the colon stands just before the field";
        EXPECT_TRUE(std::any_of(inked.begin() + to, inked.begin() + std::min<int>(to + 12, inked.size()),
                                [](bool b) { return b; }))
            << "\"%-a\" follows just after it";
        EXPECT_TRUE(edit.top >= boxRect.top - 2 && edit.bottom <= boxRect.bottom + 2);
        RECT editClient{};
        GetClientRect(d.item(IDC_spDbCachePercent), &editClient);
        EXPECT_GE(editClient.right, textWidth(d.item(IDC_spDbCachePercent), "1000")) << "the largest value fits";

        // The check box gives up the field's place: it neither paints there nor takes the clicks.
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(GetWindowRgn(box, region), ERROR);
        auto inBox = [&](const RECT& r) {
            return PtInRegion(region, (r.left + r.right) / 2 - boxRect.left, (r.top + r.bottom) / 2 - boxRect.top);
        };
        EXPECT_FALSE(inBox(edit));
        EXPECT_FALSE(inBox(arrows));
        EXPECT_TRUE(PtInRegion(region, 2, (boxRect.bottom - boxRect.top) / 2)) << "the check mark stays";
        DeleteObject(region);
    };
    settings.showForm(data_.path(), temp_);
}

TEST_F(FdbDialogs, TabReachesEveryControl) {
    auto reached = test::tabStops;
    std::set<int> maintainIds, settingsIds;
    Maintain maintain;
    maintain.script = [&](Maintain& d) {
        d.click(IDC_rbDbModBatch);
        d.click(IDC_cbDbBAckup);
        d.click(IDC_cbDbRestore);
        maintainIds = reached(d.hwnd());
    };
    maintain.showForm(data_.path(), temp_);
    Settings settings;
    settings.script = [&](Settings& d) {
        d.click(IDC_rbDbModBatch);
        settingsIds = reached(d.hwnd());
    };
    settings.showForm(data_.path(), temp_);
    // One stop for the pair of mode buttons (the arrows move between them).
    for (int id : {IDC_rbDbModBatch, IDC_edDbModBatch, IDC_cbDbMaintain, IDC_cbDbBAckup, IDC_cbDbRestore,
                   IDC_cbDbDelBAckupFileAfterRestore, IDC_mFdbFiles, IDOK, IDCANCEL})
        EXPECT_EQ(maintainIds.count(id), 1u) << id;
    for (int id : {IDC_rbDbModBatch, IDC_edDbModBatch, IDC_cbDbCache, IDC_spDbCachePercent, IDC_mFdbFiles, IDOK,
                   IDCANCEL})
        EXPECT_EQ(settingsIds.count(id), 1u) << id;
}
