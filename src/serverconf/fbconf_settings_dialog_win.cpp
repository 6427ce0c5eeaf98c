#include "serverconf/fbconf_settings_dialog_win.h"

#include "core/text.h"
#include "serverconf/fbconf_settings_ids.h"
#include "serverconf/texts_serverconf.h"

namespace fbwb {

using namespace texts_serverconf;

TfrmFbConfSettings::TfrmFbConfSettings() : OptionDialog(IDD_TfrmFbConfSettings) {}

bool TfrmFbConfSettings::showForm(std::string_view tempDir) {
    fTempDir = std::string(tempDir);
    // A path typed earlier is kept.
    if (trim(choice_.newFileName).empty()) choice_.newFileName = fTempDir + std::string(kSampleFileName);
    return showModalForm();
}

void TfrmFbConfSettings::onInit() {
    makeButtonsBold();
    setChecked(IDC_rbConfUpdateActive, !choice_.createNew);
    setChecked(IDC_rbConfCreateNew, choice_.createNew);
    setText(IDC_edNewFirebirdConfFn, choice_.newFileName);
    setItems(IDC_ComboBox1, {std::string(kVersionItem)});
    selectIndex(IDC_ComboBox1, versionIndex_);
    setItems(IDC_ComboBox2, {std::string(kArchitecture32), std::string(kArchitecture64)});
    selectIndex(IDC_ComboBox2, architectureIndex_);
    setChecked(IDC_cbEnableAuditTrace, choice_.auditTrace);
    rbConfUpdateActiveClick();
    centreOnOwner();
}

bool TfrmFbConfSettings::onCommand(int id, int notifyCode) {
    if ((id == IDC_rbConfUpdateActive || id == IDC_rbConfCreateNew) && notifyCode == BN_CLICKED) {
        rbConfUpdateActiveClick();
        return true;
    }
    return false;
}

bool TfrmFbConfSettings::onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    if (message == WM_DESTROY) {
        // However the dialog was closed, the next opening shows what it showed.
        choice_.createNew = checked(IDC_rbConfCreateNew);
        choice_.newFileName = text(IDC_edNewFirebirdConfFn);
        choice_.auditTrace = checked(IDC_cbEnableAuditTrace);
        versionIndex_ = selectedIndex(IDC_ComboBox1);
        architectureIndex_ = selectedIndex(IDC_ComboBox2);
    }
    return OptionDialog::onMessage(message, wParam, lParam, result);
}

void TfrmFbConfSettings::rbConfUpdateActiveClick() {
    setVisible(IDC_edNewFirebirdConfFn, checked(IDC_rbConfCreateNew));
}

}  // namespace fbwb
