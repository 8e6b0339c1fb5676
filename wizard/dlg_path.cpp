#include "wizard/dlg_path.h"

#include "app/identity/core/product.h"
#include "resources/installer_ids.h"
#include "wizard/wizard_messages.h"
#include "wizard/wizard_text.h"

namespace va {

CDlgPath::CDlgPath() : CWizardPage(IDD_FOLDER_PAGE) {}

void CDlgPath::UpdateTexts()
{
    SetItemText(IDC_FOLDER_FRAME, WizardText(kMsgFolderSelection));
    SetItemText(IDC_FOLDER_PROMPT, WizardText(kMsgSelectInstallFolder, {ProductDisplayName(false)}));
    SetItemText(IDC_BROWSE, WizardText(kMsgBrowse));
    SetItemText(IDC_STATUS, WizardText(kMsgClickToContinue, {WizardText(kMsgNext)}));
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
