#pragma once
// A new folder that only administrators and the system can write: where an
// elevated program puts a program it then starts (the uninstaller's copy),
// so that no other user can replace the program or plant a library beside it.

#include <windows.h>

#include <string>

namespace va {

// The access list the folder is made with: full control for Administrators
// and SYSTEM, passed on to what it holds, nothing taken from the parent.
inline constexpr wchar_t kAdministratorsOnlyAccess[] = L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";

// Creates `path` with that access list; false with `error` set when the
// folder could not be made that way (an existing folder is an error too:
// somebody else may own it).
bool CreateAdministratorsOnlyFolder(const std::wstring& path, DWORD& error);

}  // namespace va
