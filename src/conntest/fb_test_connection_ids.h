// Resource ids of the connection test dialog (block 800-849). The control names carry the dialog's
// prefix, as every dialog's ids meet in one resource script.
#pragma once

#define IDD_TfrmFbTestConnection 800

#define IDC_CONN_lFbServerMainDir 810
#define IDC_CONN_edFbServerMainDir 811
#define IDC_CONN_Button1 812
#define IDC_CONN_lIp 813
#define IDC_CONN_edIp 814
#define IDC_CONN_lPort 815
#define IDC_CONN_edPort 816
#define IDC_CONN_lTestDbFn 817
#define IDC_CONN_edTestDbFn 818
#define IDC_CONN_Button12 819
#define IDC_CONN_lUn 820
#define IDC_CONN_edUn 821
#define IDC_CONN_lPw 822
#define IDC_CONN_edPw 823
#define IDC_CONN_Button14 824
#define IDC_CONN_cbDetailedLog 825
#define IDC_CONN_lFbConnTestRes 826
#define IDC_CONN_mFbConnTestRes 827
