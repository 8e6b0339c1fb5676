#pragma once
// The Install page: the summary of the choices, then the progress of the
// installation, which the host starts through DoInstall.

#include "wizard/wizard_page.h"

namespace va {

class CDlgInstall : public CWizardPage {
public:
    CDlgInstall();

    void UpdateTexts() override;
    void ExtendLayout(int dx, int dy) override;

    // Runs the installation to its end; true when it succeeded.
    bool DoInstall();
};

}  // namespace va
