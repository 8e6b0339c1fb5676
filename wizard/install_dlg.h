#pragma once
// The wizard host.  Until the pages exist it shows what start-up found in
// its page area, keeps Next disabled for a newer installed version, and
// closes with Exit.

#include <string>

#include "framework/dialog.h"

namespace va {

class CInstallDlg : public CDialog {
public:
    CInstallDlg();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
};

// What start-up found, one "name: value" line each (not user text: a report
// for whoever looks at the host before the pages exist).
std::wstring StartupReport();

}  // namespace va
