// Resource ids of the conversion dialog (block 850-949). Both pages' controls lie in the one template
// over the tab control, which shows one page's controls at a time.
#pragma once

#define IDD_TfrmConvertFdb 850
#define IDC_CV_pcPages 851

// First page: the files to convert.
#define IDC_CV_gbDbList 860
#define IDC_CV_rbDbModNow 861
#define IDC_CV_rbDbModBatch 862
#define IDC_CV_edDbModBatch 863
#define IDC_CV_lFileListHeader 864
#define IDC_CV_mFdbFiles 865
#define IDC_CV_grdDb 866
#define IDC_CV_pb1 867
#define IDC_CV_btnShowFbVersions 868
#define IDC_CV_btnFilterDbList 869
#define IDC_CV_BitBtn3 870

// Second page: the two servers.
#define IDC_CV_gbConnTestFdbFn 880
#define IDC_CV_cbConnTestFdbFn 881
#define IDC_CV_gbOldServer 882
#define IDC_CV_lIpOld 883
#define IDC_CV_edIpOld 884
#define IDC_CV_lPortOld 885
#define IDC_CV_edPortOld 886
#define IDC_CV_lUnOld 887
#define IDC_CV_edUnOld 888
#define IDC_CV_lPwOld 889
#define IDC_CV_edPwOld 890
#define IDC_CV_lFbServerPath 891
#define IDC_CV_cbOldFbServerPath 892
#define IDC_CV_Button12 893
#define IDC_CV_Button1 894
#define IDC_CV_gbNewServer 900
#define IDC_CV_lIpNew 901
#define IDC_CV_edIpNew 902
#define IDC_CV_lPortNew 903
#define IDC_CV_edPortNew 904
#define IDC_CV_lUnNew 905
#define IDC_CV_edUnNew 906
#define IDC_CV_lPwNew 907
#define IDC_CV_edPwNew 908
#define IDC_CV_lFbServerPath2 909
#define IDC_CV_cbNewFbServerPath 910
#define IDC_CV_Button3 911
#define IDC_CV_Button2 912
#define IDC_CV_BitBtn2 913
