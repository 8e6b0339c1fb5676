#include "wizard/dlg_end.h"

#include "engine/session/install_session.h"
#include "framework/data_exchange.h"
#include "languages/core/message_numbers.h"
#include "resources/installer_ids.h"
#include "wizard/wizard_text.h"

namespace va {

CDlgEnd::CDlgEnd() : CWizardPage(IDD_END_PAGE) {}

void CDlgEnd::DoDataExchange(CDataExchange* dx)
{
    if (!dx->SaveAndValidate() && Session().InstallSucceeded)
        SetItemText(IDC_INFO, WizardText(kMessageInstallationComplete));
}

void CDlgEnd::UpdateTexts()
{
    // The completion text is set when the page is entered.
    SetItemText(IDC_INFO, L"");
    SetItemText(IDC_STATUS, WizardText(kMessageClickToExit, {WizardText(kMessageExit)}));
}

void CDlgEnd::ExtendLayout(int dx, int dy)
{
    GrowItem(IDC_INFO, dx, dy);
    GrowItem(IDC_STATUS, dx, 0);
    MoveItem(IDC_STATUS, 0, dy);
}

}  // namespace va
