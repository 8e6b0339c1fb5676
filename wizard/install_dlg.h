#pragma once
// The wizard host: the installer's one top-level window.  It shows one of
// six pages at a time in its page area, decides their order (a quick
// installation passes over the Folder and Shortcut pages), labels and
// enables its Back, Next and Exit buttons, asks before an unfinished
// installation is left, starts the installation from the Install page, and
// offers the About box in its system menu.  Passive ("/passive"), it opens
// on the Install page, installs at once, asks nothing, and closes by itself
// after a success; a failure stays shown until Exit.

#include <array>

#include "framework/dialog.h"
#include "wizard/core/page_sequence.h"
#include "wizard/dlg_end.h"
#include "wizard/dlg_install.h"
#include "wizard/dlg_mode.h"
#include "wizard/dlg_path.h"
#include "wizard/dlg_shortcut.h"
#include "wizard/dlg_start.h"

namespace va {

class CInstallDlg : public CDialog {
public:
    explicit CInstallDlg(bool passive = false);
    ~CInstallDlg() override;

    // Leaves the current page (which may refuse: false, nothing changes) and
    // shows page `index`, or the page a quick installation shows instead.
    bool ShowPage(int index);
    // Relabels the host, its system menu, its buttons and every page in the
    // current interface language.
    void UpdateTexts();

    // The page shown, kNoPage before the first.
    int CurrentPageIndex() const noexcept { return CurrentPage; }
    // Whether the last installation run failed (and was rolled back).
    bool InstallationFailed() const noexcept { return failed_; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;      // Next, or Install on the Install page
    void OnCancel() override;  // Exit, Escape and the close box
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void OnBack();
    void CreatePages();
    void LayOutPages();
    void UpdateButtons();
    void UpdateButtonTexts();
    void AddAboutEntry();
    void UpdateAboutEntry();
    bool OnSysCommand(WPARAM command);
    void OnInitMenuPopup(HMENU menu, bool systemMenu);
    void OnGetMinMaxInfo(MINMAXINFO* info);
    void EnableButton(int id, bool enable);
    void RunInstallation();

    CDlgStart start_;
    CDlgMode mode_;
    CDlgPath path_;
    CDlgShortcut shortcut_;
    CDlgInstall install_;
    CDlgEnd end_;
    std::array<CWizardPage*, kPageCount> pages_{};
    int CurrentPage = kNoPage;
    bool passive_ = false;
    bool failed_ = false;
};

}  // namespace va
