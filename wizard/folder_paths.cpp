#include "wizard/folder_paths.h"

#include <windows.h>
#include <shlwapi.h>

#include "wizard/path_buffer.h"

namespace va {
namespace {

bool IsLastComponentWhole(const wchar_t* path)
{
    return ::PathFindFileNameW(path) == path;
}

// The shell's relative path from folder `base` to folder `folder`, as the
// shell writes it (".\x", "..\x" or ".").
std::optional<std::wstring> ShellRelative(const std::wstring& base, const std::wstring& folder)
{
    PathBuffer from;
    PathBuffer to;
    if (!from.Assign(base) || !to.Assign(folder))
        return std::nullopt;
    wchar_t relative[MAX_PATH] = {};
    if (!::PathRelativePathToW(relative, from.get(), FILE_ATTRIBUTE_DIRECTORY, to.get(), FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return std::wstring(relative);
}

std::optional<std::wstring> Canonical(const std::wstring& path)
{
    PathBuffer source;
    if (!source.Assign(path))
        return std::nullopt;
    wchar_t canonical[MAX_PATH] = {};
    if (!::PathCanonicalizeW(canonical, source.get()))
        return std::nullopt;
    return std::wstring(canonical);
}

}  // namespace

bool IsPathCharacter(wchar_t c)
{
    // GCT_INVALID is no bit: it is the absence of every other kind.
    const UINT type = ::PathGetCharTypeW(c);
    return type != GCT_INVALID && (type & GCT_WILD) == 0;
}

int MatchTail(const std::wstring& path, const std::wstring& tail)
{
    PathBuffer a;
    PathBuffer b;
    if (!a.Assign(path) || !b.Assign(tail))
        return 0;
    ::PathRemoveBackslashW(a.get());
    ::PathRemoveBackslashW(b.get());

    int count = 1;
    while (!IsLastComponentWhole(a.get())) {
        if (::lstrcmpiW(::PathFindFileNameW(a.get()), ::PathFindFileNameW(b.get())) != 0)
            return 0;
        if (IsLastComponentWhole(b.get()))
            return count;
        if (!::PathRemoveFileSpecW(a.get()))
            return 0;
        ++count;
        if (!::PathRemoveFileSpecW(b.get()))
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
        const wchar_t* rest = suffix.c_str();
        PathBuffer lead;
        if (lead.Assign(suffix)) {
            ::PathRemoveBackslashW(lead.get());
            while (::PathRemoveFileSpecW(lead.get()) && *lead.get()) {
                const int n = MatchTail(current, lead.get());
                if (n > 0) {
                    for (int i = 0; i < n && rest; ++i)
                        rest = ::PathFindNextComponentW(rest);
                    break;
                }
            }
        }
        PathBuffer appended;
        if (rest && appended.Assign(current) && ::PathAppendW(appended.get(), rest))
            result = appended.get();
    }

    if (rootBase) {
        if (auto relative = ShellRelative(*rootBase, result)) {
            if (auto canonical = Canonical(*relative))
                result = *canonical;
        }
    }
    return result;
}

std::wstring WithoutSuffix(const std::wstring& current, const std::wstring& suffix)
{
    if (suffix.empty())
        return current;
    const int n = MatchTail(current, suffix);
    PathBuffer stripped;
    if (n <= 0 || !stripped.Assign(current))
        return current;
    ::PathRemoveBackslashW(stripped.get());
    for (int i = 0; i < n; ++i)
        ::PathRemoveFileSpecW(stripped.get());
    return stripped.get();
}

std::optional<std::wstring> RelativeFolder(const std::wstring& base, const std::wstring& folder)
{
    auto relative = ShellRelative(base, folder);
    if (!relative)
        return std::nullopt;
    if (*relative == L".")
        return std::wstring();
    // Canonicalising "..\..\x" drops the parents ("\x"): a folder outside
    // the base has no relative text that names it.
    if (*relative == L".." || relative->starts_with(L"..\\"))
        return std::nullopt;
    return Canonical(*relative);
}

}  // namespace va
