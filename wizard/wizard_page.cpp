#include "wizard/wizard_page.h"

#include "wizard/control_geometry.h"

namespace va {

void CWizardPage::SetItemText(int id, const std::wstring& text) const
{
    ::SetDlgItemTextW(GetSafeHwnd(), id, text.c_str());
}

void CWizardPage::GrowItem(int id, int dx, int dy) const
{
    GrowControl(GetSafeHwnd(), id, dx, dy);
}

void CWizardPage::MoveItem(int id, int dx, int dy) const
{
    MoveControl(GetSafeHwnd(), id, dx, dy);
}

}  // namespace va
