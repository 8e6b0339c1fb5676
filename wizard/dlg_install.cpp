#include "wizard/dlg_install.h"

#include "resources/installer_ids.h"
#include "wizard/wizard_messages.h"
#include "wizard/wizard_text.h"

namespace va {

CDlgInstall::CDlgInstall() : CWizardPage(IDD_INSTALL_PAGE) {}

void CDlgInstall::UpdateTexts()
{
    SetItemText(IDC_STATUS, WizardText(kMsgClickToInstall, {WizardText(kMsgInstall)}));
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
    return false;
}

}  // namespace va
