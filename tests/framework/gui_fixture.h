#pragma once
// What the framework tests share: a display check and a second thread that
// plays the user while the test thread runs a modal loop.

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "tests/driver/driver.h"

namespace va::test {

inline bool HaveDisplay()
{
    HWND probe = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    if (!probe)
        return false;
    ::DestroyWindow(probe);
    return true;
}

#define REQUIRE_DISPLAY()                                                          \
    do {                                                                           \
        if (!::va::test::HaveDisplay())                                            \
            GTEST_SKIP() << "no window station: start Xvfb and set DISPLAY";      \
    } while (0)

// Runs `user` on its own thread for the life of the object.
class User {
public:
    explicit User(std::function<void()> user) : thread_(std::move(user)) {}
    ~User() { thread_.join(); }

private:
    std::thread thread_;
};

// The visible dialog of this process with that caption.
inline HWND WaitForOwnDialog(const wchar_t* caption)
{
    return WaitForDialog(::GetCurrentProcessId(), [&](HWND w) { return WindowText(w) == caption; });
}

// A message box of this process (a dialog with static text 0xFFFF).
inline HWND WaitForOwnBox()
{
    return WaitForDialog(::GetCurrentProcessId(), [](HWND w) { return ::GetDlgItem(w, 0xFFFF) != nullptr; });
}

}  // namespace va::test
