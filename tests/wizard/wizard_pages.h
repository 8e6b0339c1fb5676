#pragma once
// The wizard's windows as a test finds them: the host, its six pages (each
// told apart by a control only it has) and the page shown.

#include <windows.h>

#include "resources/installer_ids.h"
#include "tests/driver/driver.h"

namespace va::test {

inline bool IsMessageBox(HWND dialog)
{
    return ::GetDlgItem(dialog, 0xFFFF) != nullptr;
}

// The wizard host: the dialog with Next, Back and Exit.
inline bool IsHost(HWND dialog)
{
    return !IsMessageBox(dialog) && ::GetDlgItem(dialog, IDOK) && ::GetDlgItem(dialog, IDC_BACK) &&
           ::GetDlgItem(dialog, IDCANCEL);
}

// A page, told apart by a control only it has.
inline int PageIndexOf(HWND page)
{
    if (::GetDlgItem(page, IDC_LANGUAGE_LIST))
        return 0;
    if (::GetDlgItem(page, IDC_MODE_FRAME))
        return 1;
    if (::GetDlgItem(page, IDC_FOLDER_FRAME))
        return 2;
    if (::GetDlgItem(page, IDC_MENU_FRAME))
        return 3;
    if (::GetDlgItem(page, IDC_PROGRESS_TEXT))
        return 4;
    if (::GetDlgItem(page, IDC_INFO))
        return 5;
    return -1;
}

inline HWND PageOf(HWND host, int index)
{
    for (HWND page : ChildDialogs(host)) {
        if (PageIndexOf(page) == index)
            return page;
    }
    return nullptr;
}

// The index of the one visible page; -1 when none or several are visible.
inline int VisiblePage(HWND host)
{
    int visible = -1;
    for (HWND page : ChildDialogs(host)) {
        if (!::IsWindowVisible(page))
            continue;
        if (visible != -1)
            return -1;
        visible = PageIndexOf(page);
    }
    return visible;
}

// Waits until page `index` is the one shown and the host has finished
// showing it (the buttons are posted).
inline bool WaitForPage(HWND host, int index)
{
    for (int i = 0; i < 600; ++i) {
        if (VisiblePage(host) == index)
            return WaitUntilSettled(host);
        ::Sleep(100);
    }
    return false;
}

// Presses Install on the Install page and waits for the end of the run:
// the run adds to the progress text with Exit disabled, and Exit comes back
// when it is over.
inline bool RunInstallation(HWND host, DWORD limitMs = 600000)
{
    HWND page = PageOf(host, 4);
    const size_t before = ControlText(page, IDC_PROGRESS_TEXT).size();
    PressButton(host, IDOK);
    for (DWORD waited = 0; waited < limitMs; waited += 100) {
        // The text first: once it has grown the run has disabled Exit, so
        // Exit enabled afterwards means the run is over.
        if (ControlText(page, IDC_PROGRESS_TEXT).size() > before && ::IsWindowEnabled(::GetDlgItem(host, IDCANCEL)))
            return true;
        ::Sleep(100);
    }
    return false;
}

}  // namespace va::test
