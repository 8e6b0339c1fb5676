#pragma once
// Identifiers of the installer's dialogs, icons and controls, shared by the
// resource scripts and the code.

#define IDD_ABOUT 100
#define IDD_INSTALL 102
#define IDI_APPLICATION_ICON 128
#define IDD_START_PAGE 132
#define IDD_FOLDER_PAGE 133
#define IDD_SHORTCUT_PAGE 134
#define IDD_INSTALL_PAGE 135
#define IDD_MODE_PAGE 136
#define IDD_END_PAGE 137
#define IDB_SIDE_PICTURE 137

// Flags of the language list (there is no 159).
#define IDI_FLAG_GERMAN 141
#define IDI_FLAG_DANISH 142
#define IDI_FLAG_SPANISH 143
#define IDI_FLAG_FRENCH 144
#define IDI_FLAG_ENGLISH 145
#define IDI_FLAG_ITALIAN 146
#define IDI_FLAG_DUTCH 147
#define IDI_FLAG_PORTUGUESE 148
#define IDI_FLAG_TURKISH 149
#define IDI_FLAG_BULGARIAN 150
#define IDI_FLAG_ROMANIAN 151
#define IDI_FLAG_CHINESE 152
#define IDI_FLAG_CZECH 153
#define IDI_FLAG_NORWEGIAN 154
#define IDI_FLAG_GREEK 155
#define IDI_FLAG_POLISH 156
#define IDI_FLAG_HEBREW 157
#define IDI_FLAG_VIETNAMESE 158
#define IDI_FLAG_JAPANESE 160
#define IDI_FLAG_HUNGARIAN 161

// The host.
#define IDC_BACK 3
#define IDC_SEPARATOR 1002
#define IDC_SIDE_BAND 1005

// Every page's status line.
#define IDC_STATUS 1003

// Start page.
#define IDC_INFO 1016
#define IDC_COPYRIGHT 1020
#define IDC_LANGUAGE_LABEL 1022
#define IDC_LANGUAGE_LIST 1023

// Mode page.
#define IDC_QUICK 1018
#define IDC_ADVANCED 1019
#define IDC_MODE_FRAME 1021

// Folder and Shortcut pages.
#define IDC_BROWSE 1006
#define IDC_FOLDER 1007
#define IDC_FOLDER_FRAME 1008
#define IDC_FOLDER_PROMPT 1009
#define IDC_DESKTOP_SHORTCUT 1010
#define IDC_MENU_SHORTCUT 1011
#define IDC_MENU_FRAME 1012

// Install page.
#define IDC_PROGRESS 1014
#define IDC_PROGRESS_TEXT 1015

// End page: its completion text is IDC_INFO.

// About box.
#define IDC_ABOUT_PRODUCT 1019
#define IDC_ABOUT_LEGAL 1020
