#pragma once
// Backups into the run's folder of the journal on disk (disk_journal.h).

#include <windows.h>

#include <string>

namespace va {

// Takes the backup of `source` at `backup`, a free name on the same volume
// in a protected folder: moved (a rename), or copied when `copy`, with its
// attributes kept.  A copy is made under a temporary name and renamed when
// whole, so that a backup under its final name is never a half copy.
// ERROR_SUCCESS, or the Windows error with `source` as it was.
DWORD TakeBackup(const std::wstring& source, const std::wstring& backup, bool copy);

// Copies `source` to `backup` the same way, for a file that stays.
DWORD CopyWhole(const std::wstring& source, const std::wstring& backup);

}  // namespace va
