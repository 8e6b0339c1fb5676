#pragma once
// The Shortcut page: the Start-menu and desktop shortcuts (advanced
// installation only).  The Start-menu folder is shown relative to the
// Start menu and changed only through the folder browser.

#include <string>

#include "wizard/wizard_page.h"

namespace va {

class CDlgShortcut : public CWizardPage {
public:
    CDlgShortcut();

    void UpdateTexts() override;
    void ExtendLayout(int dx, int dy) override;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

private:
    void OnBrowse();
    // The folder and its Browse button serve only the Start-menu shortcuts.
    void OnMenuShortcut();

    int desktop_ = 0;
    int menu_ = 0;
    std::wstring relative_;
    std::wstring root_;  // the Start menu, against which relative_ is read
};

}  // namespace va
