// Resource ids of the database list dialogs (block 300-399). The list dialog's own controls carry
// the same ids in every template, so the common base handles them; OK and cancel are IDOK/IDCANCEL.
#pragma once

#define IDD_TfrmFdbMaintain 300
#define IDD_TfrmFdbSettings 301

#define IDC_gbDbList 310
#define IDC_rbDbModNow 311
#define IDC_rbDbModBatch 312
#define IDC_edDbModBatch 313
#define IDC_lFdbFiles 314
#define IDC_mFdbFiles 315

// Maintenance steps.
#define IDC_cbDbMaintain 320
#define IDC_cbDbBAckup 321
#define IDC_cbDbRestore 322
#define IDC_cbDbDelBAckupFileAfterRestore 323

// Database settings: the cache option and its percentage (an edit with an up-down beside it).
#define IDC_cbDbCache 330
#define IDC_spDbCachePercent 331
#define IDC_spDbCachePercentUpDown 332
