#pragma once
// The Start page: what the installation will do, the copyright notice, and
// the interface language, offered with a flag per language.

#include <windows.h>
#include <commctrl.h>

#include "support/gui_handles.h"
#include "wizard/wizard_page.h"

namespace va {

class CDlgStart : public CWizardPage {
public:
    CDlgStart();

    void UpdateTexts() override;
    void ExtendLayout(int dx, int dy) override;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

private:
    void FillLanguageList();
    void SetDropDownWidth();
    void OnLanguageChange();

    HWND languages_ = nullptr;  // the extended combo box
    UniqueImageList flags_;
};

}  // namespace va
