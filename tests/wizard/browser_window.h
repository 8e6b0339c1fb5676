#pragma once
// Drives the shell's folder browser of another process (the browser pilot or
// the installer) as a user would: reads its proposal, chooses folders in its
// tree with the keyboard, types into its edit box, answers its boxes.  Only
// messages whose data the system carries between processes are used.

#include <windows.h>

#include <string>

#include "tests/driver/driver.h"

namespace va::test {

// The first window of that class among the window's descendants.
HWND FirstChildOfClass(HWND parent, const wchar_t* className);

// The process's folder browser: the dialog with a folder tree; null when
// none showed before the limit or the process ended.
HWND WaitForBrowser(const Process& process);

// The text of the browser's edit box, the proposal.
std::wstring ProposalOf(HWND browser);

// A key pressed in the browser's tree, the way a user chooses a folder: the
// arrows move the selection, VK_BACK to the parent, VK_RIGHT expands.
// Handled before this returns.
void PressTreeKey(HWND browser, UINT key);

// Replaces the text of the browser's edit box.
void TypeProposal(HWND browser, const std::wstring& text);

// After OK with a text the program must refuse: the message box it shows,
// owned by the browser, or null when the browser closed without one.
HWND WaitForBoxOrClose(DWORD processId, HWND browser);

}  // namespace va::test
