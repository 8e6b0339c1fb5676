#include "wizard/dlg_shortcut.h"

#include "resources/installer_ids.h"
#include "wizard/wizard_messages.h"
#include "wizard/wizard_text.h"

namespace va {

CDlgShortcut::CDlgShortcut() : CWizardPage(IDD_SHORTCUT_PAGE) {}

void CDlgShortcut::UpdateTexts()
{
    SetItemText(IDC_MENU_FRAME, WizardText(kMsgStartMenu));
    SetItemText(IDC_MENU_SHORTCUT, WizardText(kMsgMenuShortcut));
    SetItemText(IDC_BROWSE, WizardText(kMsgBrowse));
    SetItemText(IDC_DESKTOP_SHORTCUT, WizardText(kMsgDesktopShortcut));
    SetItemText(IDC_STATUS, WizardText(kMsgClickToContinue, {WizardText(kMsgNext)}));
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
