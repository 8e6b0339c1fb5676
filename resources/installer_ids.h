#pragma once
// Identifiers of the installer's dialogs, icons and controls, shared by the
// resource scripts and the code.

#define IDI_APPLICATION_ICON 128
#define IDD_INSTALL 102

#define IDC_BACK 3
#define IDC_STATUS 1003
#define IDC_SIDE_BAND 1005
#define IDC_SEPARATOR 1002
// The host's report of what start-up found, until the pages exist.
#define IDC_STARTUP_REPORT 1010
