#pragma once
// The Folder page: the installation folder (advanced installation only).
// When something is installed already the folder is shown but stays as it
// was found.

#include <string>

#include "wizard/wizard_page.h"

namespace va {

class CDlgPath : public CWizardPage {
public:
    CDlgPath();

    void UpdateTexts() override;
    void ExtendLayout(int dx, int dy) override;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

private:
    void OnBrowse();

    std::wstring folder_;
};

}  // namespace va
