#pragma once
// The Folder page: the installation folder (advanced installation only).

#include "wizard/wizard_page.h"

namespace va {

class CDlgPath : public CWizardPage {
public:
    CDlgPath();

    void UpdateTexts() override;
    void ExtendLayout(int dx, int dy) override;
};

}  // namespace va
