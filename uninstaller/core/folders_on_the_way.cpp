#include "uninstaller/core/folders_on_the_way.h"

#include <algorithm>

#include "uninstaller/core/path_rules.h"

namespace va::uninstall {

std::vector<std::wstring> FoldersOnTheWay(const std::wstring& path, const std::vector<std::wstring>& systemFolders)
{
    const std::wstring* anchor = nullptr;
    for (const std::wstring& system : systemFolders)
        if (!system.empty() && IsBelow(path, system) && (!anchor || PathDepth(system) > PathDepth(*anchor)))
            anchor = &system;
    std::vector<std::wstring> folders;
    for (std::wstring folder = ParentOf(path); !folder.empty(); folder = ParentOf(folder)) {
        if (anchor && SamePathText(folder, *anchor))
            break;
        // A drive's or share's root: nothing above it to pass.
        if (ParentOf(folder).empty() || PathDepth(folder) <= 1)
            break;
        folders.push_back(folder);
    }
    std::reverse(folders.begin(), folders.end());
    return folders;
}

}  // namespace va::uninstall
