#pragma once
// The Mode page: quick installation, straight to the Install page, or
// advanced installation through the Folder and Shortcut pages.

#include "wizard/wizard_page.h"

namespace va {

class CDlgMode : public CWizardPage {
public:
    CDlgMode();

    void UpdateTexts() override;
    void ExtendLayout(int dx, int dy) override;

protected:
    void DoDataExchange(CDataExchange* dx) override;

private:
    int mode_ = 0;  // 0 quick, 1 advanced
};

}  // namespace va
