#pragma once
// Starting the helper programs that live beside the test program, and
// answering the boxes they show.

#include <windows.h>

#include <string>
#include <vector>

#include "support/handles.h"

namespace test_support {

std::wstring BesideThisProgram(const std::wstring& name);

struct Child {
    va::UniqueHandle process;
    DWORD id = 0;
};
Child Start(const std::wstring& commandLine);
// Exit code, or STILL_ACTIVE when it did not end in time.
DWORD WaitExitCode(const Child& child, DWORD milliseconds = 60000);

// The first visible top-level dialog-class window of a process (message boxes
// are of that class), or nullptr when none appears in time.
HWND WaitForBox(DWORD processId, DWORD milliseconds = 30000);
// Caption and the texts of the box's static controls.
std::wstring WindowText(HWND window);
std::vector<std::wstring> StaticTexts(HWND box);
void PressButton(HWND box, int id);

std::wstring UniqueName(const wchar_t* stem);

}  // namespace test_support
