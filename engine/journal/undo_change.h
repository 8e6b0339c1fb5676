#pragma once
// Undoing one recorded change, for the rollback of a failed run (the
// journal in memory) and for the recovery of a killed one (the journal on
// disk) alike.  Each undo may be repeated, and may meet a change that was
// announced but never made: a backup that is not there means that what it
// was taken from was never touched, or has been put back already.

#include <windows.h>

#include <string>

namespace va {

// A folder that is still in use, or not empty, stays, as it should.
DWORD UndoCreatedFolder(const std::wstring& path);

// The file at `path` goes (when `path` is not empty); the backup, when
// there is one, goes back where it came from (`source`, else `path`).
DWORD UndoPlacedFile(const std::wstring& path, const std::wstring& backup, const std::wstring& source);

// The product's uninstall key back from its saved file, or deleted when
// the run made it (`backup` empty).  `keyName` receives the key's name.
DWORD UndoUninstallKey(const std::wstring& backup, std::wstring& keyName);

// A value under HKEY_LOCAL_MACHINE (`key` as "HKEY_LOCAL_MACHINE\<subkey>")
// rewritten as it was, or deleted when it did not exist, with its key when
// that is then empty.
DWORD UndoWrittenValue(const std::wstring& key, const std::wstring& name, bool existed, DWORD type,
                       const std::string& data);

inline constexpr wchar_t kMachineRootName[] = L"HKEY_LOCAL_MACHINE\\";

}  // namespace va
