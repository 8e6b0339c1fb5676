#pragma once
// What removal needs besides the removal itself (link_free_removal.h): the
// errors that mean "in use", and the fallback when an item cannot be
// removed now: its deletion when Windows restarts.

#include <windows.h>

#include <set>
#include <string>

namespace va::uninstall {

// Errors that mean another process holds the file (or, for a program that
// runs, its image): waiting or a restart helps.
bool IsInUse(DWORD error);

// Whether something (file or folder) is at the path.
bool PathExists(const std::wstring& path);

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
