// Resource ids of the firebird.conf settings dialog (block 400-499); OK and cancel are IDOK/IDCANCEL.
#pragma once

#define IDD_TfrmFbConfSettings 400

#define IDC_gbConfFile 410
#define IDC_rbConfUpdateActive 411
#define IDC_rbConfCreateNew 412
#define IDC_edNewFirebirdConfFn 413

#define IDC_gbSettings 420
#define IDC_lComboBox1 421
#define IDC_ComboBox1 422
#define IDC_lComboBox2 423
#define IDC_ComboBox2 424
#define IDC_cbEnableAuditTrace 425
