#include "support/core/install_folder_rule.h"

#include <algorithm>
#include <string>

#include "support/core/path_text.h"

namespace va {

FolderProblem CheckInstallFolder(std::wstring_view folder, FolderForm form)
{
    const bool drive = folder.size() >= 3 && IsDriveLetter(folder[0]) && folder[1] == L':' &&
                       IsPathSeparator(folder[2]);
    const bool unc = folder.size() >= 2 && IsPathSeparator(folder[0]) && IsPathSeparator(folder[1]);
    if (!drive && !unc && form == FolderForm::Full)
        return FolderProblem::Relative;
    if (folder.size() > kMaxFolderChars)
        return FolderProblem::TooLong;
    std::wstring_view rest = folder.substr(drive ? 3 : unc ? 2 : 0);
    if (HasForbiddenCharacters(rest))
        return FolderProblem::BadCharacters;
    // Below the root: no empty, "." or ".." component; a UNC path names at
    // least its server and share.
    while (!rest.empty() && IsPathSeparator(rest.back()))
        rest.remove_suffix(1);
    if (unc && (rest.empty() || std::none_of(rest.begin(), rest.end(), IsPathSeparator)))
        return FolderProblem::Relative;
    if (!drive && !unc && rest.empty())
        return FolderProblem::Relative;
    if (!rest.empty() && HasUnusableComponent(rest))
        return FolderProblem::BadCharacters;
    if (IsDriveOrShareRoot(folder))
        return FolderProblem::Root;
    return FolderProblem::None;
}

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

bool HasForbiddenCharacters(std::wstring_view text)
{
    return std::any_of(text.begin(), text.end(), [](wchar_t c) {
        return c < 0x20 || c == L'<' || c == L'>' || c == L'"' || c == L'|' || c == L'?' || c == L'*' || c == L':';
    });
}

bool HasUnusableComponent(std::wstring_view path)
{
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = start;
        while (end < path.size() && !IsPathSeparator(path[end]))
            ++end;
        const std::wstring_view component = path.substr(start, end - start);
        if (component.empty() || component.back() == L'.' || component.back() == L' ')
            return true;
        start = end + 1;
    }
    return false;
}

}  // namespace va
