#pragma once
// Identifiers of the uninstaller's resources, shared by its resource script
// and its code.

#define IDI_UNINSTALLER_ICON 128
#define IDD_PROGRESS 200
#define IDC_PROGRESS_HEADING 1001
#define IDC_PROGRESS_BAR 1002
#define IDC_PROGRESS_ITEM 1003
