#pragma once
// Removing one file or folder, and the fallback when it cannot be removed
// now: its deletion when Windows restarts.

#include <windows.h>

#include <set>
#include <string>

namespace va::uninstall {

// DeleteFileW after clearing the attributes (a failed deletion puts them
// back).  ERROR_SUCCESS, or the error; a file that is not there gives
// ERROR_FILE_NOT_FOUND.
DWORD DeleteFileNow(const std::wstring& path);

// RemoveDirectoryW; ERROR_DIR_NOT_EMPTY while something is inside.
DWORD RemoveFolderNow(const std::wstring& path);

// Errors that mean another process holds the file (or, for a program that
// runs, its image): waiting or a restart helps.
bool IsInUse(DWORD error);

// Whether something (file or folder) is at the path.
bool PathExists(const std::wstring& path);

// Whether a folder between `root` (excluded) and `path` (included) is a
// link (junction or symbolic link), through which the path may lead out of
// the product's areas.
bool PassesThroughLink(const std::wstring& path, const std::wstring& root);

// The paths given to Windows for deletion at the next restart.
class RestartDeletions {
public:
    // Takes in the deletions Windows already holds for the restart (those
    // an earlier process of the uninstallation asked for).
    void LoadFromSystem();
    // MoveFileExW with MOVEFILE_DELAY_UNTIL_REBOOT; false (with the error)
    // when Windows refused.
    bool Schedule(const std::wstring& path, DWORD& error);
    bool Contains(const std::wstring& path) const;
    // Whether every entry of the folder is scheduled: once they are gone at
    // the restart, the folder is empty.
    bool HoldsOnlyScheduled(const std::wstring& folder) const;
    bool Empty() const { return keys_.empty(); }

private:
    std::set<std::wstring> keys_;
};

}  // namespace va::uninstall
