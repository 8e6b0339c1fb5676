#include "support/core/install_folder_rule.h"

#include "support/core/path_text.h"

namespace va {

bool IsDriveOrShareRoot(std::wstring_view folder)
{
    while (!folder.empty() && IsPathSeparator(folder.back()))
        folder.remove_suffix(1);
    if (folder.size() == 2 && folder[1] == L':')
        return true;
    if (folder.size() < 2 || !IsPathSeparator(folder[0]) || !IsPathSeparator(folder[1]))
        return false;
    // "\\server\share": two components, separated by one run of separators.
    std::wstring_view rest = folder.substr(2);
    std::size_t components = 0;
    while (!rest.empty()) {
        while (!rest.empty() && IsPathSeparator(rest.front()))
            rest.remove_prefix(1);
        if (rest.empty())
            break;
        ++components;
        while (!rest.empty() && !IsPathSeparator(rest.front()))
            rest.remove_prefix(1);
    }
    return components <= 2;
}

}  // namespace va
