#include "wizard/dlg_mode.h"

#include "framework/data_exchange.h"
#include "resources/installer_ids.h"
#include "engine/session/install_session.h"
#include "languages/core/message_numbers.h"
#include "wizard/wizard_text.h"

namespace va {

CDlgMode::CDlgMode() : CWizardPage(IDD_MODE_PAGE) {}

void CDlgMode::DoDataExchange(CDataExchange* dx)
{
    if (!dx->SaveAndValidate())
        mode_ = Session().AdvancedInstallation ? 1 : 0;
    DDX_Radio(dx, IDC_QUICK, mode_);
    if (dx->SaveAndValidate())
        Session().AdvancedInstallation = mode_ == 1;
}

void CDlgMode::UpdateTexts()
{
    SetItemText(IDC_MODE_FRAME, WizardText(kMessageInstallationMethod));
    SetItemText(IDC_QUICK, WizardText(kMessageQuickInstallation));
    SetItemText(IDC_ADVANCED, WizardText(kMessageAdvancedInstallation));
    SetItemText(IDC_STATUS, WizardText(kMessageClickToContinue, {WizardText(kMessageNext)}));
}

void CDlgMode::ExtendLayout(int dx, int dy)
{
    GrowItem(IDC_MODE_FRAME, dx, 0);
    GrowItem(IDC_QUICK, dx, 0);
    GrowItem(IDC_ADVANCED, dx, 0);
    GrowItem(IDC_STATUS, dx, 0);
    MoveItem(IDC_STATUS, 0, dy);
}

}  // namespace va
