#pragma once
// The About box of the installer, opened from the host's system menu.

#include "framework/dialog.h"

namespace va {

class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(HWND parent = nullptr);

protected:
    BOOL OnInitDialog() override;
};

}  // namespace va
