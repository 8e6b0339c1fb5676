#include "wizard/dlg_shortcut.h"

#include <shlobj.h>

#include "identity/core/product.h"
#include "engine/session/install_session.h"
#include "framework/data_exchange.h"
#include "resources/installer_ids.h"
#include "wizard/core/start_menu_text.h"
#include "wizard/folder_browser.h"
#include "wizard/folder_page_limits.h"
#include "languages/core/message_numbers.h"
#include "wizard/wizard_text.h"

namespace va {
namespace {

// The common Start menu, else the user's; empty when the system names
// neither.
std::wstring StartMenuRoot()
{
    for (int folder : {CSIDL_COMMON_STARTMENU, CSIDL_STARTMENU}) {
        wchar_t path[MAX_PATH] = {};
        if (::SHGetSpecialFolderPathW(nullptr, path, folder, FALSE))
            return path;
    }
    return {};
}

}  // namespace

CDlgShortcut::CDlgShortcut() : CWizardPage(IDD_SHORTCUT_PAGE)
{
    OnCommandFrom(IDC_BROWSE, BN_CLICKED, [this] { OnBrowse(); });
    OnCommandFrom(IDC_MENU_SHORTCUT, BN_CLICKED, [this] { OnMenuShortcut(); });
}

BOOL CDlgShortcut::OnInitDialog()
{
    root_ = StartMenuRoot();
    CWizardPage::OnInitDialog();
    OnMenuShortcut();
    return TRUE;
}

void CDlgShortcut::DoDataExchange(CDataExchange* dx)
{
    auto& session = Session();
    if (!dx->SaveAndValidate()) {
        desktop_ = session.CreateDesktopShortcut ? 1 : 0;
        menu_ = session.CreateStartMenuShortcut ? 1 : 0;
        relative_ = StartMenuText(root_, session.StartMenuFolder);
    }
    DDX_Check(dx, IDC_DESKTOP_SHORTCUT, desktop_);
    DDX_Check(dx, IDC_MENU_SHORTCUT, menu_);
    DDX_Text(dx, IDC_FOLDER, relative_);
    DDV_MaxChars(dx, relative_, kFolderTextLimit);
    if (!dx->SaveAndValidate())
        OnMenuShortcut();
    if (dx->SaveAndValidate()) {
        session.CreateDesktopShortcut = desktop_ != 0;
        session.CreateStartMenuShortcut = menu_ != 0;
        session.StartMenuFolder = StartMenuFolderFromText(root_, relative_, session.StartMenuFolder);
    }
}

void CDlgShortcut::OnMenuShortcut()
{
    const BOOL checked = ::IsDlgButtonChecked(GetSafeHwnd(), IDC_MENU_SHORTCUT) == BST_CHECKED;
    ::EnableWindow(GetDlgItem(IDC_FOLDER), checked);
    ::EnableWindow(GetDlgItem(IDC_BROWSE), checked);
}

void CDlgShortcut::OnBrowse()
{
    if (!UpdateData(TRUE))
        return;
    auto& session = Session();
    std::wstring initial = session.StartMenuFolder;
    std::wstring relative;
    const std::wstring chosen =
        BrowseForFolderRelative(initial, ProductKey(), WizardText(kMessageMenuShortcut), &relative);
    if (chosen.empty())
        return;
    relative_ = relative;
    session.StartMenuFolder = chosen;
    UpdateData(FALSE);
}

void CDlgShortcut::UpdateTexts()
{
    SetItemText(IDC_MENU_FRAME, WizardText(kMessageStartMenu));
    SetItemText(IDC_MENU_SHORTCUT, WizardText(kMessageMenuShortcut));
    SetItemText(IDC_BROWSE, WizardText(kMessageBrowse));
    SetItemText(IDC_DESKTOP_SHORTCUT, WizardText(kMessageDesktopShortcut));
    SetItemText(IDC_STATUS, WizardText(kMessageClickToContinue, {WizardText(kMessageNext)}));
}

void CDlgShortcut::ExtendLayout(int dx, int dy)
{
    GrowItem(IDC_MENU_FRAME, dx, 0);
    GrowItem(IDC_MENU_SHORTCUT, dx, 0);
    GrowItem(IDC_FOLDER, dx, 0);
    MoveItem(IDC_BROWSE, dx, 0);
    GrowItem(IDC_DESKTOP_SHORTCUT, dx, 0);
    GrowItem(IDC_STATUS, dx, 0);
    MoveItem(IDC_STATUS, 0, dy);
}

}  // namespace va
