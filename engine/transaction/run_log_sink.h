#pragma once
// The install transaction's sink for a run with a text log ("/log"): every
// progress line goes to the log exactly as the page shows it, and every
// status change with it.  Beside the Install page it passes everything on to
// the page; in a quiet run there is no page, no window and no owner.

#include <string>

#include "engine/transaction/core/progress_lines.h"
#include "engine/transaction/install_sink.h"

namespace va {

class RunLog;

class RunLogSink : public InstallSink {
public:
    // `page`: the sink that shows the run, or null for none.
    RunLogSink(RunLog& log, InstallSink* page);
    ~RunLogSink();
    RunLogSink(const RunLogSink&) = delete;
    RunLogSink& operator=(const RunLogSink&) = delete;

    void ShowStatus(const std::wstring& text) override;
    void AppendProgressText(const std::wstring& text, bool banner = false) override;
    void ShowProgressBar() override;
    void SetProgressPosition(int percent) override;
    void PumpMessages() override;
    void BeginWait() override;
    void EndWait() override;
    void ShowCopiedFile(const std::wstring& text) override;
    HWND OwnerWindow() const override;

private:
    RunLog& log_;
    InstallSink* page_;
    ProgressLines lines_;
    std::wstring status_;
};

}  // namespace va
