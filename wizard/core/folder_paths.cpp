#include "wizard/core/folder_paths.h"

#include "support/core/path_compare.h"
#include "wizard/core/shell_path.h"

namespace va {
namespace {

bool HasParent(const std::wstring& path)
{
    return LastComponentStart(path) != 0;
}

std::wstring LastComponent(const std::wstring& path)
{
    return path.substr(LastComponentStart(path));
}

// The relative path made canonical, which drops the shell's leading ".\".
std::optional<std::wstring> CanonicalRelative(const std::wstring& base, const std::wstring& folder)
{
    const auto relative = RelativePathBetweenFolders(base, folder);
    if (!relative)
        return std::nullopt;
    return Canonical(*relative);
}

}  // namespace

int MatchTail(const std::wstring& path, const std::wstring& tail)
{
    if (!FitsShellPathBuffer(path) || !FitsShellPathBuffer(tail))
        return 0;
    std::wstring a = path;
    std::wstring b = tail;
    RemoveTrailingBackslash(a);
    RemoveTrailingBackslash(b);

    int count = 1;
    while (HasParent(a)) {
        if (!SameNameIgnoringCase(LastComponent(a), LastComponent(b)))
            return 0;
        if (!HasParent(b))
            return count;
        if (!RemoveLastComponent(a))
            return 0;
        ++count;
        if (!RemoveLastComponent(b))
            return 0;
    }
    return 0;
}

std::wstring UsableSuffix(const std::wstring& suffix)
{
    for (wchar_t c : suffix) {
        if (!IsPathCharacter(c))
            return {};
    }
    std::wstring usable = suffix;
    while (!usable.empty() && usable.back() == L'.')
        usable.pop_back();
    return usable;
}

std::wstring Normalise(const std::wstring& current, const std::wstring& suffix,
                       const std::optional<std::wstring>& rootBase)
{
    if (suffix.empty())
        return current;
    std::wstring result = current;

    if (MatchTail(current, suffix) == 0) {
        // The leading part of a multi-level suffix may be there already.
        std::size_t rest = 0;
        if (FitsShellPathBuffer(suffix)) {
            std::wstring lead = suffix;
            RemoveTrailingBackslash(lead);
            while (RemoveLastComponent(lead) && !lead.empty()) {
                const int n = MatchTail(current, lead);
                if (n > 0) {
                    for (int i = 0; i < n; ++i)
                        rest = NextComponent(suffix, rest);
                    break;
                }
            }
        }
        if (auto appended = AppendPath(current, suffix.substr(rest)))
            result = *appended;
    }

    if (rootBase) {
        if (auto relative = CanonicalRelative(*rootBase, result))
            result = *relative;
    }
    return result;
}

std::wstring WithoutSuffix(const std::wstring& current, const std::wstring& suffix)
{
    if (suffix.empty())
        return current;
    const int n = MatchTail(current, suffix);
    if (n <= 0)
        return current;
    std::wstring stripped = current;
    RemoveTrailingBackslash(stripped);
    for (int i = 0; i < n; ++i)
        RemoveLastComponent(stripped);
    return stripped;
}

std::optional<std::wstring> RelativeFolder(const std::wstring& base, const std::wstring& folder)
{
    const auto relative = RelativePathBetweenFolders(base, folder);
    if (!relative)
        return std::nullopt;
    if (*relative == L".")
        return std::wstring();
    // A folder outside the base: its text would start with "..", which
    // names no folder below the base.
    if (*relative == L".." || relative->starts_with(L"..\\"))
        return std::nullopt;
    return Canonical(*relative);
}

}  // namespace va
