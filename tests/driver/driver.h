#pragma once
// Drives the windows of a program from a test.  Every wait has a generous
// limit so that a broken program fails the test instead of hanging it; the
// limits are never the thing tested.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/handles.h"

namespace va::test {

inline constexpr DWORD kDefaultLimitMs = 60000;

struct Process {
    UniqueHandle handle;
    DWORD id = 0;
};

// Starts `program` with `arguments` (appended after the quoted program path).
// Raises std::system_error when it cannot be started.
Process StartProgram(const std::wstring& program, const std::wstring& arguments = {});

// The first visible top-level dialog (class "#32770") of process `processId`
// that `match` accepts (every one without `match`); null when none came
// before the limit or the process ended first (when `process` is given).
HWND WaitForDialog(DWORD processId, const std::function<bool(HWND)>& match = {},
                   DWORD limitMs = kDefaultLimitMs, HANDLE process = nullptr);
HWND WaitForDialog(const Process& process, const std::function<bool(HWND)>& match = {},
                   DWORD limitMs = kDefaultLimitMs);
// Every visible top-level dialog of the process, now.
std::vector<HWND> DialogsOf(DWORD processId);

std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);
std::wstring ControlText(HWND dialog, int id);
// The texts of the dialog's static controls, in z-order.
std::vector<std::wstring> StaticTexts(HWND dialog);
// A message box's text (its static control 0xFFFF).
std::wstring MessageBoxText(HWND box);
// Identifiers of the dialog's push buttons, in z-order.
std::vector<int> ButtonIds(HWND dialog);
// The icon a message box shows, or null.
HICON MessageBoxIcon(HWND box);
// Whether an icon of another process shows the same image as a system icon
// (IDI_EXCLAMATION, ...); nothing when the icon cannot be read from here.
std::optional<bool> SameIconImage(HICON shown, LPCWSTR systemIcon);

// The command a button sends when clicked (posted WM_COMMAND, BN_CLICKED).
void PressButton(HWND dialog, int id);
// A click on the button itself (BM_CLICK).
void ClickButton(HWND dialog, int id);

// The exit code, or STILL_ACTIVE when the process outlived the limit.
DWORD WaitForExit(const Process& process, DWORD limitMs = kDefaultLimitMs);
// Whether the window is gone before the limit.
bool WaitUntilGone(HWND window, DWORD limitMs = kDefaultLimitMs);

}  // namespace va::test
