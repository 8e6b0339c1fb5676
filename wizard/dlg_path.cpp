#include "wizard/dlg_path.h"

#include "identity/core/install_kind.h"
#include "identity/core/product.h"
#include "engine/session/install_session.h"
#include "framework/data_exchange.h"
#include "resources/installer_ids.h"
#include "support/core/install_folder_rule.h"
#include "support/error_text.h"
#include "wizard/folder_browser.h"
#include "wizard/core/typed_folder.h"
#include "wizard/folder_page_limits.h"
#include "languages/core/message_numbers.h"
#include "wizard/wizard_text.h"

namespace va {

CDlgPath::CDlgPath() : CWizardPage(IDD_FOLDER_PAGE)
{
    OnCommandFrom(IDC_BROWSE, BN_CLICKED, [this] { OnBrowse(); });
}

BOOL CDlgPath::OnInitDialog()
{
    CWizardPage::OnInitDialog();
    // An update, a reinstallation or a refused installation keeps the folder
    // found at start-up.
    if (Session().InstallKind != Fresh) {
        ::EnableWindow(GetDlgItem(IDC_FOLDER_PROMPT), FALSE);
        ::EnableWindow(GetDlgItem(IDC_BROWSE), FALSE);
        ::SendMessageW(GetDlgItem(IDC_FOLDER), EM_SETREADONLY, TRUE, 0);
    }
    return TRUE;
}

void CDlgPath::DoDataExchange(CDataExchange* dx)
{
    // The typed folder need not exist, and may be relative; a drive's or
    // share's root, or a name the system would change (a trailing dot or
    // space), is refused as the folder browser refuses it.
    if (!dx->SaveAndValidate())
        folder_ = Session().InstallFolder;
    DDX_Text(dx, IDC_FOLDER, folder_);
    DDV_MaxChars(dx, folder_, kFolderTextLimit);
    if (!dx->SaveAndValidate())
        return;
    if (Session().InstallKind == Fresh) {
        const FolderProblem problem = CheckInstallFolder(folder_, FolderForm::AsTyped);
        if (problem == FolderProblem::Root || problem == FolderProblem::BadCharacters)
            DDV_Refuse(dx, ErrorText(kTypedFolderBadPath));
    }
    Session().InstallFolder = folder_;
}

void CDlgPath::OnBrowse()
{
    if (!UpdateData(TRUE))
        return;
    auto& session = Session();
    const std::wstring title = WizardText(kMessageSelectInstallFolder, {ProductDisplayName(false)});
    std::wstring initial = session.InstallFolder;
    const std::wstring chosen = BrowseForFolder(initial, ProductKey(), title);
    if (chosen.empty())
        return;
    session.InstallFolder = chosen;
    UpdateData(FALSE);
}

void CDlgPath::UpdateTexts()
{
    SetItemText(IDC_FOLDER_FRAME, WizardText(kMessageFolderSelection));
    SetItemText(IDC_FOLDER_PROMPT, WizardText(kMessageSelectInstallFolder, {ProductDisplayName(false)}));
    SetItemText(IDC_BROWSE, WizardText(kMessageBrowse));
    SetItemText(IDC_STATUS, WizardText(kMessageClickToContinue, {WizardText(kMessageNext)}));
}

void CDlgPath::ExtendLayout(int dx, int dy)
{
    GrowItem(IDC_FOLDER_FRAME, dx, 0);
    GrowItem(IDC_FOLDER_PROMPT, dx, 0);
    GrowItem(IDC_FOLDER, dx, 0);
    MoveItem(IDC_BROWSE, dx, 0);
    GrowItem(IDC_STATUS, dx, 0);
    MoveItem(IDC_STATUS, 0, dy);
}

}  // namespace va
