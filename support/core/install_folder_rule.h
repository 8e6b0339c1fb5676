#pragma once
// What may be an installation folder, whoever proposes it (the /dir switch,
// the Folder page, the folder browser).  Text only: no call to the file
// system.

#include <string_view>

namespace va {

// Whether `folder` is a drive's root ("C:\", "C:") or a share's
// ("\\server\share"), separators at the end aside.  Such a folder is never
// an installation folder: the uninstaller would have to empty a whole drive
// or share, and the installer could not give it an access list of its own.
bool IsDriveOrShareRoot(std::wstring_view folder);

}  // namespace va
