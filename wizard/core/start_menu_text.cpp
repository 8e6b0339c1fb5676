#include "wizard/core/start_menu_text.h"

#include "wizard/core/folder_paths.h"
#include "wizard/core/shell_path.h"

namespace va {

std::wstring StartMenuText(const std::wstring& root, const std::wstring& folder)
{
    // A ".." text would not survive being made canonical, and a stale text
    // would name another folder: the folder itself is the honest text.
    return RelativeFolder(root, folder).value_or(folder);
}

std::wstring StartMenuFolderFromText(const std::wstring& root, const std::wstring& text,
                                     const std::wstring& previous)
{
    return CombinePath(root, text).value_or(previous);
}

}  // namespace va
