#pragma once
// The Shortcut page: the Start-menu and desktop shortcuts (advanced
// installation only).

#include "wizard/wizard_page.h"

namespace va {

class CDlgShortcut : public CWizardPage {
public:
    CDlgShortcut();

    void UpdateTexts() override;
    void ExtendLayout(int dx, int dy) override;
};

}  // namespace va
