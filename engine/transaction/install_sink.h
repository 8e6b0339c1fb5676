#pragma once
// Where the install transaction shows what it does: the Install page in the
// wizard; a log in an unattended run.  The transaction exists once and
// reaches its surroundings only through this.

#include <windows.h>

#include <string>

#include "engine/steps/install_progress.h"

namespace va {

class InstallSink : public InstallProgress {
public:
    // The progress bar: shown when the run starts, then moved 0 to 100.
    virtual void ShowProgressBar() = 0;
    virtual void SetProgressPosition(int percent) = 0;
    // Handles the waiting window messages between two steps of the package
    // reader, so that the interface repaints and answers.
    virtual void PumpMessages() = 0;
    // Around the whole run (the wait cursor).
    virtual void BeginWait() = 0;
    virtual void EndWait() = 0;
    // The line of the file being copied (the Install page shows it in its
    // status control, its path shortened to the control's width).
    virtual void ShowCopiedFile(const std::wstring& text) = 0;
    // The owner of what the steps may show (the shell's folder look-ups, the
    // DirectX set-up); null for none.
    virtual HWND OwnerWindow() const = 0;

protected:
    ~InstallSink() = default;
};

}  // namespace va
