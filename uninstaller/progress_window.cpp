#include "uninstaller/progress_window.h"

#include <commctrl.h>

#include "uninstaller/resources/uninstaller_ids.h"

namespace va::uninstall {

void PumpWaitingMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

ProgressWindow::ProgressWindow() : CDialog(IDD_PROGRESS) {}

ProgressWindow::~ProgressWindow()
{
    Close();
}

bool ProgressWindow::Open(const std::wstring& title, const std::wstring& heading)
{
    title_ = title;
    heading_ = heading;
    if (!Create(IDD_PROGRESS, nullptr))
        return false;
    ::ShowWindow(GetSafeHwnd(), SW_SHOW);
    ::UpdateWindow(GetSafeHwnd());
    PumpWaitingMessages();
    return true;
}

BOOL ProgressWindow::OnInitDialog()
{
    ::SetWindowTextW(GetSafeHwnd(), title_.c_str());
    ::SetDlgItemTextW(GetSafeHwnd(), IDC_PROGRESS_HEADING, heading_.c_str());
    ::SendDlgItemMessageW(GetSafeHwnd(), IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, 1);
    return TRUE;
}

void ProgressWindow::Step(const std::wstring& item, std::size_t number, std::size_t count)
{
    if (!GetSafeHwnd())
        return;
    ::SendDlgItemMessageW(GetSafeHwnd(), IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, static_cast<LPARAM>(count));
    ::SendDlgItemMessageW(GetSafeHwnd(), IDC_PROGRESS_BAR, PBM_SETPOS, static_cast<WPARAM>(number), 0);
    ::SetDlgItemTextW(GetSafeHwnd(), IDC_PROGRESS_ITEM, item.c_str());
    PumpWaitingMessages();
}

void ProgressWindow::Close()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

}  // namespace va::uninstall
