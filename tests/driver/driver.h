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

// Starts `program` with `arguments` (appended after the quoted program path)
// in the current program job (job.h), which holds whatever it starts too.
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
// The same command sent: handled before this returns.  Only for commands
// that open no box (a box would hold this call until it is answered).
void SendButtonCommand(HWND dialog, int id);
// A click on the button itself (BM_CLICK).
void ClickButton(HWND dialog, int id);
// Waits until the window's thread has finished what it was handling and asks
// for messages again: another process's window may be seen half updated (a
// page shown, its buttons not yet set) while one handler runs.  False when
// the thread did not come back before the limit.
bool WaitUntilSettled(HWND window, DWORD limitMs = 60000);

// Whether the dialog's control is enabled, visible, checked (BST_CHECKED).
bool IsControlEnabled(HWND dialog, int id);
bool IsControlChecked(HWND dialog, int id);
// Whether the button has the default push button's style.
bool IsDefaultPushButton(HWND dialog, int id);
// The dialog's default button (DM_GETDEFID), 0 without one.
int DefaultButton(HWND dialog);
// The window's rectangle in the client coordinates of `dialog`.
RECT RectIn(HWND dialog, HWND window);
// The child dialogs (class "#32770") of a window, in z-order.
std::vector<HWND> ChildDialogs(HWND parent);

// One item of an extended combo box (ComboBoxEx32).
struct ComboExItem {
    std::wstring text;
    LPARAM data = 0;
};
// The items of an extended combo box of any process, read through that
// process's memory; nothing when its memory cannot be reached.
std::optional<std::vector<ComboExItem>> ComboExItems(HWND comboEx);
// Selects item `index` of the combo box `id` as a user would: the selection
// changes, then the dialog hears CBN_SELCHANGE (posted, so that a box the
// dialog shows in answer does not block the test).
void SelectComboItem(HWND dialog, int id, int index);

// One item of a menu: its command and text (separators have command 0).
struct MenuItem {
    UINT command = 0;
    std::wstring text;
    UINT state = 0;  // MFS_GRAYED, ...
    friend bool operator==(const MenuItem&, const MenuItem&) = default;
};
// The items of a window's system menu; nothing when the menu cannot be read
// from this process (some platforms keep menus per process).
std::optional<std::vector<MenuItem>> SystemMenuItems(HWND window);

// The exit code, or STILL_ACTIVE when the process outlived the limit.
DWORD WaitForExit(const Process& process, DWORD limitMs = kDefaultLimitMs);
// Whether the window is gone before the limit.
bool WaitUntilGone(HWND window, DWORD limitMs = kDefaultLimitMs);

}  // namespace va::test
