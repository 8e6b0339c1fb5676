#pragma once
// Writing below folders that ordinary users can change: a junction or
// symbolic link planted there would send an elevated write (or a grant of
// rights by path) anywhere.  These checks follow no reparse point below the
// folder a destination's token stands for.

#include <windows.h>

#include <string>
#include <vector>

#include "support/handles.h"

namespace va {

// The folders from the first one below `root` down to `folder`, outermost
// first.  With an empty root (or one `folder` does not lie below), every
// folder below the volume's root.  Compared by spelling, either separator.
std::vector<std::wstring> FoldersBelowRoot(const std::wstring& root, const std::wstring& folder);

// The existing folders of that chain, each opened without following a
// reparse point, checked by handle and by name (support/link_free_open.h),
// and held so that it cannot be renamed or replaced while the holder writes
// below it.
class PinnedFolderChain {
public:
    // ERROR_SUCCESS, or ERROR_CANT_ACCESS_FILE when a folder of the chain is
    // a reparse point, or the Windows error of a folder that cannot be opened.
    // Pinning again keeps the folders the new chain shares with the one held
    // (same root, same spelling: held, they are still the folders checked)
    // and lets the others go, so that the files of one folder cost one check.
    DWORD Pin(const std::wstring& root, const std::wstring& folder);
    // Lets every folder go (before anything may remove or rename them).
    void Release() noexcept;

private:
    std::wstring root_;
    std::vector<std::wstring> folders_;  // what held_ holds, outermost first
    std::vector<UniqueFile> held_;
};

// ERROR_SUCCESS when neither a folder of `path`'s chain below `root` nor
// the file itself (when it exists) is a reparse point; else as Pin.  The
// folders stay held in `chain` afterwards.
DWORD CheckNoReparsePoint(const std::wstring& root, const std::wstring& path, PinnedFolderChain& chain);

}  // namespace va
