// Resource ids of the uninstall dialog (block 600-699); "Mégsem" is IDCANCEL. The control names carry
// the dialog's prefix, as every dialog's ids meet in one resource script.
#pragma once

#define IDD_TfrmUninstallFB 600
#define IDI_UNINST_PICTURE 601

#define IDC_UNINST_lTitle 610
#define IDC_UNINST_lIntro 611
#define IDC_UNINST_imgPicture 612

#define IDC_UNINST_gbUninstall 620
#define IDC_UNINST_lKelmoraWinPath 621
#define IDC_UNINST_cbInstalledFirebirdMainFolder 622
#define IDC_UNINST_Button12 623
#define IDC_UNINST_Label1 624
#define IDC_UNINST_cbFirebirdServiceNameFragment 625
#define IDC_UNINST_btnDoUninstall 626
