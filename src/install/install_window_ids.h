// Resource ids of the installer window (block 700-749).
#pragma once

#define IDD_TfrmInstallParams 700
#define IDB_InstallHeader 701

// The white header.
#define IDC_lInstallTitle 705
#define IDC_lInstallIntro 706

// The selection page.
#define IDC_GroupBox5 710
#define IDC_cbFirebirdToInstall_2_5 711
#define IDC_cbFirebirdToInstall_3_0 712
#define IDC_mNoInstaller 713
#define IDC_Button1 714
#define IDC_bitBtbInstall 715

// The progress page.
#define IDC_Label1 720
#define IDC_mProc 721
#define IDC_pb1 722
#define IDC_btnFinish 723

// The target folder: held, never shown.
#define IDC_lKelmoraWinPath 730
#define IDC_cbKelmoraWinMainFolder 731
