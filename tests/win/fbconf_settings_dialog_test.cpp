// The firebird.conf settings dialog, shown modally and driven from inside its own message loop:
// texts, the first opening, the new file's field and its visibility, what OK and Cancel hand
// back, what a second opening keeps, and the layout.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "platform/dialog_win.h"
#include "serverconf/fbconf_settings_dialog_win.h"
#include "serverconf/fbconf_settings_ids.h"
#include "serverconf/texts_serverconf.h"
#include "win/dialog_driver.h"

using namespace fbwb;
using namespace fbwb::test;
using namespace fbwb::texts_serverconf;
using Dialog = Driven<TfrmFbConfSettings>;

namespace {

class FbConfSettingsDialog : public ::testing::Test {
protected:
    void SetUp() override { platform::initCommonControls(); }
    const std::string temp_ = "c:\\KELMORA.WIN\\";
};

std::vector<std::string> comboItems(HWND combo) {
    std::vector<std::string> items;
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[128] = {};
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        items.push_back(platform::narrow(text));
    }
    return items;
}

}  // namespace

TEST_F(FbConfSettingsDialog, FirstOpeningShowsTheDescribedTextsAndDefaults) {
    Dialog d;
    d.script = [&](Dialog& d) {
        EXPECT_EQ(windowText(d.hwnd()), kDialogCaption);
        const std::pair<int, std::string_view> captions[] = {
            {IDC_gbConfFile, kFileGroup},     {IDC_rbConfUpdateActive, kUpdateActive},
            {IDC_rbConfCreateNew, kCreateNew}, {IDC_gbSettings, kSettingsGroup},
            {IDC_lComboBox1, kVersionLabel},  {IDC_lComboBox2, kArchitectureLabel},
            {IDC_cbEnableAuditTrace, kEnableAuditTrace}, {IDOK, kDoOp},
            {IDCANCEL, kCancel},
        };
        for (const auto& [id, caption] : captions) EXPECT_EQ(withoutAccessKeys(d.textOf(id)), caption) << id;
        EXPECT_TRUE(d.isChecked(IDC_rbConfUpdateActive));
        EXPECT_FALSE(d.isChecked(IDC_rbConfCreateNew));
        EXPECT_FALSE(d.isVisible(IDC_edNewFirebirdConfFn));
        EXPECT_EQ(d.textOf(IDC_edNewFirebirdConfFn), temp_ + "firebird_MINTA.conf");
        EXPECT_FALSE(d.isChecked(IDC_cbEnableAuditTrace));
        EXPECT_EQ(comboItems(d.item(IDC_ComboBox1)), std::vector<std::string>{"SuperServer 2.5"});
        EXPECT_EQ(d.textOf(IDC_ComboBox1), "SuperServer 2.5");
        EXPECT_EQ(comboItems(d.item(IDC_ComboBox2)), (std::vector<std::string>{"32 bites", "64 bites"}));
        EXPECT_EQ(d.textOf(IDC_ComboBox2), "64 bites");
    };
    EXPECT_FALSE(d.showForm(temp_));
    EXPECT_TRUE(d.scriptRan);
}

TEST_F(FbConfSettingsDialog, NewFileFieldIsShownExactlyInTheNewFileMode) {
    Dialog d;
    d.script = [&](Dialog& d) {
        d.click(IDC_rbConfCreateNew);
        EXPECT_TRUE(d.isVisible(IDC_edNewFirebirdConfFn));
        d.click(IDC_rbConfUpdateActive);
        EXPECT_FALSE(d.isVisible(IDC_edNewFirebirdConfFn));
        d.click(IDC_rbConfCreateNew);
        EXPECT_TRUE(d.isVisible(IDC_edNewFirebirdConfFn));
        d.click(IDCANCEL);
    };
    d.showForm(temp_);
    EXPECT_FALSE(d.fellBack);
}

TEST_F(FbConfSettingsDialog, OkHandsBackTheChoiceAndASecondOpeningKeepsIt) {
    Dialog d;
    d.script = [&](Dialog& d) {
        d.click(IDC_rbConfCreateNew);
        d.type(IDC_edNewFirebirdConfFn, "D:\\minta\\uj.conf");
        d.click(IDC_cbEnableAuditTrace);
        SendMessageW(d.item(IDC_ComboBox2), CB_SETCURSEL, 0, 0);
        d.click(IDOK);
    };
    ASSERT_TRUE(d.showForm(temp_));
    EXPECT_TRUE(d.choice().createNew);
    EXPECT_EQ(d.choice().newFileName, "D:\\minta\\uj.conf");
    EXPECT_TRUE(d.choice().auditTrace);

    // Another temp folder does not replace a typed path; Esc is no confirmation, but the dialog
    // still keeps what it showed.
    d.script = [&](Dialog& d) {
        EXPECT_TRUE(d.isChecked(IDC_rbConfCreateNew));
        EXPECT_TRUE(d.isVisible(IDC_edNewFirebirdConfFn));
        EXPECT_EQ(d.textOf(IDC_edNewFirebirdConfFn), "D:\\minta\\uj.conf");
        EXPECT_TRUE(d.isChecked(IDC_cbEnableAuditTrace));
        EXPECT_EQ(d.textOf(IDC_ComboBox2), "32 bites");
        d.click(IDC_rbConfUpdateActive);
        d.type(IDC_edNewFirebirdConfFn, "   ");
        PostMessageW(d.hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    };
    EXPECT_FALSE(d.showForm("e:\\temp\\"));
    EXPECT_FALSE(d.choice().createNew);

    // A blank field gets the sample name again, in the temp folder of this opening.
    d.script = [&](Dialog& d) { EXPECT_EQ(d.textOf(IDC_edNewFirebirdConfFn), "f:\\t\\firebird_MINTA.conf"); };
    d.showForm("f:\\t\\");
}

TEST_F(FbConfSettingsDialog, ControlsFitAndTabReachesThem) {
    Dialog d;
    d.script = [&](Dialog& d) {
        d.click(IDC_rbConfCreateNew);
        expectControlsInsideWithoutOverlap(d.hwnd(), {});
        const std::set<int> stops = tabStops(d.hwnd());
        for (int id : {IDC_rbConfCreateNew, IDC_edNewFirebirdConfFn, IDC_ComboBox1, IDC_ComboBox2,
                       IDC_cbEnableAuditTrace, IDOK, IDCANCEL})
            EXPECT_EQ(stops.count(id), 1u) << id;
    };
    d.showForm(temp_);
}
