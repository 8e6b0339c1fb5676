#include "wizard/install_dlg.h"

#include <cstdio>

#include "app/languages/languages.h"
#include "engine/session/install_session.h"
#include "resources/installer_ids.h"
#include "support/exception_text.h"
#include "support/format_message.h"
#include "support/message_box.h"
#include "support/message_hooks.h"

namespace va {

CInstallDlg::CInstallDlg() : CDialog(IDD_INSTALL) {}

BOOL CInstallDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ::SetWindowTextW(GetSafeHwnd(), InstallerTitle(true).c_str());
    if (HICON icon = IconFromHook())
        ::SendMessageW(GetSafeHwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    ::SetDlgItemTextW(GetSafeHwnd(), IDC_STARTUP_REPORT, StartupReport().c_str());
    ::EnableWindow(GetDlgItem(IDC_BACK), FALSE);
    if (Session().InstallKind == NewerInstalled)
        ::EnableWindow(GetDlgItem(IDOK), FALSE);
    return TRUE;
}

void CInstallDlg::OnOK()
{
    // No page to go to yet.
}

void CInstallDlg::OnCancel()
{
    EndDialog(IDCANCEL);
}

std::wstring StartupReport()
{
    const InstallSession& app = Session();
    wchar_t version[32] = {};
    std::swprintf(version, 32, L"%016llx", static_cast<unsigned long long>(app.FoundVersion));
    std::wstring report;
    report += L"InstallKind: " + std::to_wstring(app.InstallKind) + L"\r\n";
    report += L"FoundVersion: " + std::wstring(version) + L"\r\n";
    report += L"FoundVersionText: " + app.FoundVersionText + L"\r\n";
    report += L"InstallFolder: " + app.InstallFolder + L"\r\n";
    report += L"StartMenuFolder: " + app.StartMenuFolder + L"\r\n";
    report += L"Language: " + std::to_wstring(CurrentLanguage().Index) + L"\r\n";
    report += L"PreviousEntries: " + std::to_wstring(app.PreviousLog.PreviousEntries.size());
    return report;
}

}  // namespace va
