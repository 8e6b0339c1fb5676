#pragma once
// The window that shows the uninstallation going on: what is removed, a bar,
// and the current item.  It has no button: an uninstallation half done is
// worse than one finished.

#include <string>

#include "framework/dialog.h"

namespace va::uninstall {

class ProgressWindow : public CDialog {
public:
    ProgressWindow();
    ~ProgressWindow() override;

    // Shows the window; false when it could not be made.
    bool Open(const std::wstring& title, const std::wstring& heading);
    // Item `number` (from 0) of `count`, and its text.
    void Step(const std::wstring& item, std::size_t number, std::size_t count);
    void Close();

private:
    BOOL OnInitDialog() override;
    void OnCancel() override {}  // Escape and the system menu do not stop it

    std::wstring title_;
    std::wstring heading_;
};

// Handles the window messages waiting for this thread, so that the window
// repaints between steps.
void PumpWaitingMessages();

}  // namespace va::uninstall
