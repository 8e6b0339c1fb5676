#pragma once
// While the install transaction runs, a log-off or restart would kill it
// half-way: the system is told why this program objects, and the question
// whether the session may end is answered no.  Allowed again at its end.

#include <windows.h>

#include <string>

#include "support/gui_handles.h"

namespace va {

class ShutdownBlock {
public:
    // `window`: the program's top-level window; without one (a quiet run) a
    // hidden window of its own answers in its place.  `reason` is what the
    // system shows beside the program's name.
    ShutdownBlock(HWND window, const std::wstring& reason);
    ~ShutdownBlock();
    ShutdownBlock(const ShutdownBlock&) = delete;
    ShutdownBlock& operator=(const ShutdownBlock&) = delete;

    HWND window() const { return window_; }

private:
    UniqueWindow own_;
    HWND window_ = nullptr;
    bool subclassed_ = false;
    bool reasonSet_ = false;
};

}  // namespace va
