#include "wizard/install_dlg.h"

#include <commctrl.h>

#include <system_error>

#include "languages/languages.h"
#include "resources/installer_ids.h"
#include "support/message_box.h"
#include "support/message_hooks.h"
#include "engine/session/install_session.h"
#include "languages/core/message_numbers.h"
#include "wizard/wizard_text.h"

namespace va {

namespace {

// Posted by a passive wizard to itself: the installation starts once the
// window is shown.
constexpr UINT kStartPassiveInstall = WM_APP + 1;

}  // namespace

CInstallDlg::CInstallDlg(bool passive) : CDialog(IDD_INSTALL), passive_(passive)
{
    OnCommandFrom(IDC_BACK, BN_CLICKED, [this] { OnBack(); });
}

CInstallDlg::~CInstallDlg()
{
    SetWizardRelabelHook({});
}

BOOL CInstallDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ::SetWindowTextW(GetSafeHwnd(), InstallerTitle(true).c_str());
    AddAboutEntry();
    if (HICON icon = IconFromHook())
        ::SendMessageW(GetSafeHwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    CreatePages();
    LayOutPages();
    // A language chosen on the Start page relabels the whole wizard.
    SetWizardRelabelHook([this] { UpdateTexts(); });
    UpdateTexts();
    if (passive_) {
        ShowPage(kInstallPage);
        ::PostMessageW(GetSafeHwnd(), kStartPassiveInstall, 0, 0);
        return TRUE;
    }
    ShowPage(kStartPage);
    if (Session().InstallKind == NewerInstalled)
        EnableButton(IDOK, false);
    return TRUE;
}

void CInstallDlg::CreatePages()
{
    // The Start page's extended combo box is a class that the common
    // controls set up at start-up leaves out.
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_USEREX_CLASSES};
    ::InitCommonControlsEx(&classes);

    pages_ = {&start_, &mode_, &path_, &shortcut_, &install_, &end_};
    for (CWizardPage* page : pages_) {
        if (!page->Create(page->TemplateId(), GetSafeHwnd()))
            throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), "CreateDialogParamW");
    }
}

bool CInstallDlg::ShowPage(int index)
{
    if (index < 0 || index >= kPageCount)
        return false;
    if (CurrentPage != kNoPage) {
        CWizardPage& leaving = *pages_[static_cast<size_t>(CurrentPage)];
        if (!leaving.UpdateData(TRUE))
            return false;
        ::ShowWindow(leaving, SW_HIDE);
    }
    // Read after the Mode page has stored its choice.
    const int target = TargetPage(index, CurrentPage, Session().AdvancedInstallation);
    CWizardPage& entering = *pages_[static_cast<size_t>(target)];
    if (target != CurrentPage)
        entering.UpdateData(FALSE);
    CurrentPage = target;
    ::ShowWindow(entering, SW_SHOW);
    UpdateButtons();
    return true;
}

void CInstallDlg::UpdateButtons()
{
    const HostButtons buttons = ButtonsFor(CurrentPage, Session().InstallSucceeded);
    UpdateButtonTexts();
    EnableButton(IDC_BACK, buttons.backEnabled);
    EnableButton(IDOK, buttons.nextEnabled);
    ::SendMessageW(GetSafeHwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(buttons.defaultButton)), TRUE);
    ::SendMessageW(GetSafeHwnd(), DM_SETDEFID, static_cast<WPARAM>(buttons.defaultButton), 0);
}

void CInstallDlg::UpdateButtonTexts()
{
    const HostButtons buttons = ButtonsFor(CurrentPage, Session().InstallSucceeded);
    const std::wstring next =
        buttons.next == NextText::Install ? WizardText(kMessageInstall) : WizardText(kMessageNext) + L"  >";
    const std::wstring exit = buttons.exit == ExitText::Exit ? WizardText(kMessageExit) : WizardText(kMessageCancel);
    ::SetDlgItemTextW(GetSafeHwnd(), IDOK, next.c_str());
    ::SetDlgItemTextW(GetSafeHwnd(), IDC_BACK, (L"<  " + WizardText(kMessageBack)).c_str());
    ::SetDlgItemTextW(GetSafeHwnd(), IDCANCEL, exit.c_str());
}

void CInstallDlg::UpdateTexts()
{
    ::SetWindowTextW(GetSafeHwnd(), InstallerTitle(true).c_str());
    UpdateAboutEntry();
    UpdateButtonTexts();
    for (CWizardPage* page : pages_) {
        if (page)
            page->UpdateTexts();
    }
}

void CInstallDlg::OnOK()
{
    // Only the button's own state says whether Next may act: Enter or a
    // command sent while it is disabled does nothing.
    if (!::IsWindowEnabled(GetDlgItem(IDOK)))
        return;
    auto& session = Session();
    if (CurrentPage != kInstallPage || session.InstallSucceeded) {
        ShowPage(CurrentPage + 1);
        return;
    }
    RunInstallation();
}

void CInstallDlg::RunInstallation()
{
    auto& session = Session();
    EnableButton(IDC_BACK, false);
    EnableButton(IDOK, false);
    EnableButton(IDCANCEL, false);
    session.InstallSucceeded = install_.DoInstall();
    failed_ = !session.InstallSucceeded;
    ShowPage(CurrentPage);
    EnableButton(IDCANCEL, true);
    if (!passive_)
        return;
    if (session.InstallSucceeded) {
        EndDialog(IDOK);
        return;
    }
    // The failure stays to be read; only Exit is left.
    EnableButton(IDC_BACK, false);
    EnableButton(IDOK, false);
    ::SendMessageW(GetSafeHwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(IDCANCEL)), TRUE);
}

void CInstallDlg::OnBack()
{
    if (!::IsWindowEnabled(GetDlgItem(IDC_BACK)))
        return;
    ShowPage(CurrentPage - 1);
}

void CInstallDlg::OnCancel()
{
    // While the installation runs Exit is disabled, and neither Escape nor
    // the close box may leave in its middle.
    if (!::IsWindowEnabled(GetDlgItem(IDCANCEL)))
        return;
    auto& session = Session();
    if (!passive_ && ExitAsksFirst(session.InstallSucceeded, session.InstallKind, CurrentPage) &&
        ShowMessage(WizardText(kMessageConfirmExit), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDNO)
        return;
    EndDialog(session.InstallSucceeded ? IDOK : IDCANCEL);
}

void CInstallDlg::EnableButton(int id, bool enable)
{
    ::EnableWindow(GetDlgItem(id), enable ? TRUE : FALSE);
}

bool CInstallDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case kStartPassiveInstall:
        RunInstallation();
        result = 0;
        return true;
    case WM_SYSCOMMAND:
        return OnSysCommand(wParam);
    case WM_INITMENUPOPUP:
        ::DefWindowProcW(GetSafeHwnd(), message, wParam, lParam);
        OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), HIWORD(lParam) != 0);
        result = 0;
        return true;
    case WM_GETMINMAXINFO:
        ::DefWindowProcW(GetSafeHwnd(), message, wParam, lParam);
        OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        result = 0;
        return true;
    case WM_DESTROY:
        SetWizardRelabelHook({});
        return false;
    default:
        return false;
    }
}

}  // namespace va
