#include "wizard/dlg_install.h"

#include <commctrl.h>
#include <shlwapi.h>

#include "identity/core/product.h"
#include "engine/session/install_session.h"
#include "support/message_pump.h"
#include "engine/transaction/core/banner_line.h"
#include "engine/transaction/install_transaction.h"
#include "engine/transaction/installer_texts.h"
#include "engine/transaction/run_log_sink.h"
#include "framework/data_exchange.h"
#include "framework/win_app.h"
#include "languages/languages.h"
#include "resources/installer_ids.h"
#include "support/core/path_text.h"
#include "support/gui_handles.h"
#include "languages/core/message_numbers.h"
#include "wizard/wizard_text.h"

namespace va {
namespace {

int TextWidth(HDC dc, const std::wstring& text)
{
    SIZE size{};
    if (text.empty() || !::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size))
        return 0;
    return size.cx;
}

}  // namespace

CDlgInstall::CDlgInstall() : CWizardPage(IDD_INSTALL_PAGE) {}

BOOL CDlgInstall::OnInitDialog()
{
    CWizardPage::OnInitDialog();
    ::SendMessageW(progressBar_, PBM_SETRANGE32, 0, 100);
    // Shown when the installation starts, and never hidden again.
    ::ShowWindow(progressBar_, SW_HIDE);
    return TRUE;
}

void CDlgInstall::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_PROGRESS_TEXT, progressText_);
    DDX_Control(dx, IDC_PROGRESS, progressBar_);
    // After a success the page keeps the record of the run.
    if (!dx->SaveAndValidate() && !Session().InstallSucceeded)
        RebuildSummary();
}

void CDlgInstall::RebuildSummary()
{
    const InstallSession& session = Session();
    ::SetWindowTextW(progressText_, L"");
    AppendProgressText(WizardText(kMessageInstallation, {ProductDisplayName(true)}) + L"\r\n");
    AppendProgressText(WizardText(kMessageInstallationOptions), true);

    AppendProgressText(WizardText(kMessageInstallationFolder, {QuotedIfSpaced(session.InstallFolder)}) + L"\r\n");
    if (session.CreateStartMenuShortcut)
        AppendProgressText(WizardText(kMessageStartMenuShortcutSummary, {QuotedIfSpaced(session.StartMenuFolder)}) +
                           L"\r\n");
    if (session.CreateDesktopShortcut)
        AppendProgressText(WizardText(kMessageDesktopShortcutSummary) + L"\r\n");

    // Back to the first line, one line at a time; a control that stops
    // scrolling ends the loop too.
    for (LRESULT first = ::SendMessageW(progressText_, EM_GETFIRSTVISIBLELINE, 0, 0); first != 0;) {
        ::SendMessageW(progressText_, EM_LINESCROLL, 0, -1);
        const LRESULT now = ::SendMessageW(progressText_, EM_GETFIRSTVISIBLELINE, 0, 0);
        if (now >= first)
            break;
        first = now;
    }
}

void CDlgInstall::UpdateTexts()
{
    SetItemText(IDC_STATUS, WizardText(kMessageClickToInstall, {WizardText(kMessageInstall)}));
}

void CDlgInstall::ExtendLayout(int dx, int dy)
{
    GrowItem(IDC_PROGRESS_TEXT, dx, dy);
    GrowItem(IDC_PROGRESS, dx, 0);
    MoveItem(IDC_PROGRESS, 0, dy);
    GrowItem(IDC_STATUS, dx, 0);
    MoveItem(IDC_STATUS, 0, dy);
}

bool CDlgInstall::DoInstall()
{
    const InstallerTexts texts;
    // With "/log" every line the page shows goes to the log too.
    RunLogSink logged(Session().TextLog, this);
    return RunInstallTransaction(Session(), logged, texts, static_cast<std::uint32_t>(CurrentLanguage().Index),
                                 paths_);
}

void CDlgInstall::ShowStatus(const std::wstring& text)
{
    SetItemText(IDC_STATUS, text);
}

std::wstring CDlgInstall::BannerFor(const std::wstring& text) const
{
    RECT client{};
    ::GetClientRect(progressText_, &client);
    const auto margins = static_cast<DWORD>(::SendMessageW(progressText_, EM_GETMARGINS, 0, 0));
    const int available = (client.right - client.left) - LOWORD(margins) - HIWORD(margins) - 2;

    const WindowDC dc(progressText_);
    if (!dc)
        return BannerLine(text, 0, 0, 0);
    const auto font = reinterpret_cast<HGDIOBJ>(::SendMessageW(progressText_, WM_GETFONT, 0, 0));
    const SelectedObject selected(dc.get(), font);
    return BannerLine(text, available, TextWidth(dc.get(), BannerWords(text)), TextWidth(dc.get(), L"-"));
}

void CDlgInstall::AppendProgressText(const std::wstring& text, bool banner)
{
    const std::wstring line = banner || text.empty() ? BannerFor(text) : text;
    ::SendMessageW(progressText_, EM_SETSEL, 0x7FFFFFFF, -1);
    ::SendMessageW(progressText_, EM_SCROLLCARET, 0, 0);
    ::SendMessageW(progressText_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
    ::SendMessageW(progressText_, EM_LINESCROLL, 0, 1);
}

void CDlgInstall::ShowProgressBar()
{
    ::ShowWindow(progressBar_, SW_SHOW);
}

void CDlgInstall::SetProgressPosition(int percent)
{
    ::SendMessageW(progressBar_, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
}

void CDlgInstall::PumpMessages()
{
    ::va::PumpMessages();
}

void CDlgInstall::BeginWait()
{
    if (CWinApp* app = CurrentApp())
        app->BeginWaitCursor();
}

void CDlgInstall::EndWait()
{
    if (CWinApp* app = CurrentApp())
        app->EndWaitCursor();
}

void CDlgInstall::ShowCopiedFile(const std::wstring& text)
{
    if (HWND page = GetSafeHwnd())
        ::PathSetDlgItemPathW(page, IDC_STATUS, text.c_str());
}

HWND CDlgInstall::OwnerWindow() const
{
    const CWinApp* app = CurrentApp();
    const HWND main = app ? app->MainWindow() : nullptr;
    return main ? main : ::GetAncestor(GetSafeHwnd(), GA_ROOT);
}

}  // namespace va
