#pragma once
// The folders a removal passes on its way to an item.  Standard users may
// write below the system's folders (the shared folders the installer opens
// to them, an installation folder outside the protected ones): any of those
// folders may have been replaced by a link since the installation, so each
// must be reached without passing one.

#include <string>
#include <vector>

namespace va::uninstall {

// Every folder below the deepest of `systemFolders` that holds `path` (below
// the drive's or share's root when none does), down to the folder holding
// `path`, outermost first.  The system folders themselves are the
// administrators' and are not listed.
std::vector<std::wstring> FoldersOnTheWay(const std::wstring& path, const std::vector<std::wstring>& systemFolders);

}  // namespace va::uninstall
