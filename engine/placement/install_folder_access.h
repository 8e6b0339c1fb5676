#pragma once
// The installation folder's own access list.  Its parent may let any user
// change what it holds (a folder made at a drive's root inherits
// "Authenticated Users: Modify"); the programs in it are started elevated
// later (the uninstaller, the next installer's checks), so a folder the
// installation makes takes nothing from its parent.

#include <windows.h>

#include <string>

#include "engine/journal/uninstall_log.h"

namespace va {

// Administrators and SYSTEM: full control; Users: read and execute; passed
// on to everything below; not inherited.
inline constexpr wchar_t kInstallFolderAccess[] =
    L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)";

// When `folder` does not exist: makes its missing parents and then the
// folder itself with that access list, each journalled in `log` so that a
// rollback removes them.  An existing folder is left as it is.
// ERROR_SUCCESS or the Windows error.
DWORD CreateProtectedInstallFolder(UninstallLog& log, const std::wstring& folder);

}  // namespace va
