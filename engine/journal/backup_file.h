#pragma once
// The journal's temporary backups of what it replaces.

#include <windows.h>

#include <string>

namespace va {

// Temporary file name for a backup, taken by an empty file; with a source,
// the source moved (or copied) over it with its attributes kept.  Empty on failure, with the
// Windows error in `error` when given.
std::wstring BackupToTemp(const std::wstring* source, bool copy, DWORD* error = nullptr);

// Deletes a backup whatever its attributes; failures are ignored.
void DiscardBackup(const std::wstring& backup);

// Moves a backup to `target` (which must be free) with the backup's
// attributes; false (with the Windows error as the last error, and the
// backup as it was) when the move failed.
bool RestoreBackup(const std::wstring& backup, const std::wstring& target);

// Whether something that is not a folder exists at the path.
bool IsExistingFile(const std::wstring& path);

}  // namespace va
