#pragma once
// The Install page: the summary of the choices, then the progress of the
// installation, which the host starts through DoInstall.  The page is the
// install transaction's sink: its status line, progress text and bar.

#include <string>

#include "engine/steps/registry_entries.h"
#include "engine/transaction/install_sink.h"
#include "wizard/wizard_page.h"

namespace va {

class CDlgInstall : public CWizardPage, public InstallSink {
public:
    CDlgInstall();

    void UpdateTexts() override;
    void ExtendLayout(int dx, int dy) override;

    // Runs the installation to its end; true when it succeeded.
    bool DoInstall();

    // The sink of the transaction.
    void ShowStatus(const std::wstring& text) override;
    // Plain: the text as it is; banner (or an empty text): a line of dashes
    // as wide as the control's text area, the text centred in it.
    void AppendProgressText(const std::wstring& text, bool banner = false) override;
    void ShowProgressBar() override;
    void SetProgressPosition(int percent) override;
    void PumpMessages() override;
    void BeginWait() override;
    void EndWait() override;
    void ShowCopiedFile(const std::wstring& text) override;
    HWND OwnerWindow() const override;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

private:
    void RebuildSummary();
    std::wstring BannerFor(const std::wstring& text) const;

    HWND progressText_ = nullptr;  // 1015
    HWND progressBar_ = nullptr;   // 1014
    ProductPaths paths_;           // set by the transaction as the programs are placed
};

}  // namespace va
