#pragma once
// The End page: the installation is complete.

#include "wizard/wizard_page.h"

namespace va {

class CDlgEnd : public CWizardPage {
public:
    CDlgEnd();

    void UpdateTexts() override;
    void ExtendLayout(int dx, int dy) override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
};

}  // namespace va
