#pragma once
// The folder that holds the journals and backups of installation runs: one
// that only Administrators and SYSTEM can write.  A standard user can make
// folders where it lives (the machine's program data, a volume's root), so
// one found there is trusted only after checking it: a folder somebody else
// made, or one that leads elsewhere, would let that somebody swap a backup
// that a later recovery puts back into the program's folder.

#include <windows.h>

#include <string>

namespace va {

// ERROR_SUCCESS when `path` is a real folder (not a link or junction)
// owned by Administrators, SYSTEM or the administrator running this process,
// whose access list lets nobody else write, create or delete in it.  ERROR_FILE_NOT_FOUND or
// ERROR_PATH_NOT_FOUND when it does not exist; ERROR_REPARSE_POINT_ENCOUNTERED
// for a link, ERROR_DIRECTORY for a file, ERROR_INVALID_OWNER for a foreign
// owner, ERROR_ACCESS_DENIED for an access list that lets others write.
DWORD CheckProtectedRoot(const std::wstring& path);

// The checked folder, made with the Administrators-only access list when
// it does not exist yet.
DWORD EnsureProtectedRoot(const std::wstring& path);

// "<the machine's program data>\<maker> Journal": where the journals live.
// Empty when the system does not name the program data folder.
std::wstring DefaultJournalRoot();

// The journal folder's name, as used on every volume.
std::wstring JournalRootName();

}  // namespace va
