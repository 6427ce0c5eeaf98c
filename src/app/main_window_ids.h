// Resource ids of the main window (block 100-199) and of the program's pictures and icon.
#pragma once

#define IDI_APP 1

#define IDD_TfrmFbSettingsMain 100
#define IDC_lTitleBand 101
#define IDC_lDescription 102
#define IDC_ToolButton5 110
#define IDC_ToolButton6 111
#define IDC_ToolButton1 112
#define IDC_ToolButton2 113
#define IDC_ToolButton3 114
#define IDC_ToolButton4 115
#define IDC_pnlDefaultSettingsHatter 120
#define IDC_gbConnection 121
#define IDC_gbFolders 122
#define IDC_lFbServerPath 123
#define IDC_cbFbServerPath 124
#define IDC_Button12 125
#define IDC_lUn 126
#define IDC_edUn 127
#define IDC_lPw 128
#define IDC_edPw 129
#define IDC_Button9 130
#define IDC_lFolderName 131
#define IDC_edFolderName 132
#define IDC_Button13 133
#define IDC_lTempDir 134
#define IDC_edTempDir 135
#define IDC_Button15 136
#define IDC_lLog 140
#define IDC_mLogView 141
#define IDC_pbOp 142
#define IDC_btnStopAfterCurrent 143

// Toolbar pictures, left to right: normal (also disabled) set and hot set.
#define IDB_TOOL_NORMAL_FIRST 201
#define IDB_TOOL_HOT_FIRST 211
