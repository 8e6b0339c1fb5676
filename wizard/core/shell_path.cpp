#include "wizard/core/shell_path.h"

#include <vector>

#include "support/core/path_compare.h"

namespace va {
namespace {

bool IsServerPath(const std::wstring& path) noexcept
{
    return path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\' && (path.size() == 2 || path[2] != L'?');
}

bool HasDrive(const std::wstring& path) noexcept
{
    return path.size() >= 2 && path[1] == L':';
}

// The length of the root: "X:\", "X:", "\\server\share\", "\".
std::size_t RootLength(const std::wstring& path)
{
    if (HasDrive(path))
        return path.size() > 2 && path[2] == L'\\' ? 3 : 2;
    if (IsServerPath(path)) {
        std::size_t end = path.find(L'\\', 2);
        if (end != std::wstring::npos)
            end = path.find(L'\\', end + 1);
        return end == std::wstring::npos ? path.size() : end + 1;
    }
    return !path.empty() && path[0] == L'\\' ? 1 : 0;
}

}  // namespace

bool IsPathCharacter(wchar_t c) noexcept
{
    if (c < L' ' || c == L'<' || c == L'>' || c == L'"' || c == L'|' || c == L'/')
        return false;
    return c != L'*' && c != L'?';
}

bool IsRelativePath(const std::wstring& path) noexcept
{
    return path.empty() || !(path[0] == L'\\' || HasDrive(path));
}

bool IsRootPath(const std::wstring& path)
{
    if (path.empty())
        return false;
    if (path[0] == L'\\') {
        if (path.size() == 1)
            return true;
        if (path[1] == L'\\') {
            // "\\server" and "\\server\share" without anything after.
            const std::size_t slash = path.find(L'\\', 2);
            return slash == std::wstring::npos || path.find(L'\\', slash + 1) == std::wstring::npos;
        }
        return false;
    }
    return path.size() == 3 && path[1] == L':' && path[2] == L'\\';
}

std::size_t LastComponentStart(const std::wstring& path) noexcept
{
    std::size_t start = 0;
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        const wchar_t c = path[i];
        const wchar_t next = path[i + 1];
        if ((c == L'\\' || c == L'/' || c == L':') && next != L'\\' && next != L'/')
            start = i + 1;
    }
    return start;
}

void RemoveTrailingBackslash(std::wstring& path)
{
    if (!path.empty() && path.back() == L'\\' && !IsRootPath(path))
        path.pop_back();
}

bool RemoveLastComponent(std::wstring& path)
{
    std::size_t i = 0;
    std::size_t spec = 0;
    // A leading "\" or "\\" is never removed.
    if (i < path.size() && path[i] == L'\\')
        spec = ++i;
    if (i < path.size() && path[i] == L'\\')
        spec = ++i;
    while (i < path.size()) {
        if (path[i] == L'\\') {
            spec = i;
        } else if (path[i] == L':') {
            spec = i + 1;  // a drive stays, with its backslash
            if (spec < path.size() && path[spec] == L'\\')
                ++spec;
            i += 2;
            continue;
        }
        ++i;
    }
    if (spec >= path.size())
        return false;
    path.resize(spec);
    return true;
}

std::size_t NextComponent(const std::wstring& path, std::size_t position) noexcept
{
    if (position >= path.size())
        return path.size();
    std::size_t slash = path.find(L'\\', position);
    if (slash == std::wstring::npos)
        return path.size();
    if (slash + 1 < path.size() && path[slash + 1] == L'\\')
        ++slash;
    return slash + 1;
}

void RemoveBlanks(std::wstring& path)
{
    const std::size_t first = path.find_first_not_of(L' ');
    if (first == std::wstring::npos) {
        path.clear();
        return;
    }
    path.erase(path.find_last_not_of(L' ') + 1);
    path.erase(0, first);
}

std::size_t CommonPrefixLength(const std::wstring& a, const std::wstring& b)
{
    std::size_t i = 0;
    if (IsServerPath(a) || IsServerPath(b)) {
        if (!IsServerPath(a) || !IsServerPath(b))
            return 0;
        i = 2;
    }
    std::size_t length = 0;
    for (;; ++i) {
        const bool endA = i >= a.size();
        const bool endB = i >= b.size();
        if ((endA || a[i] == L'\\') && (endB || b[i] == L'\\'))
            length = i;
        if (endA || endB || FoldPathCase(a[i]) != FoldPathCase(b[i]))
            break;
    }
    // "C:" shared means the drive's root is shared.
    return length == 2 ? 3 : length;
}

std::optional<std::wstring> Canonical(const std::wstring& path)
{
    if (!FitsShellPathBuffer(path))
        return std::nullopt;
    if (path.empty())
        return std::wstring(L"\\");
    std::size_t rootLength = RootLength(path);
    std::wstring result = path.substr(0, rootLength);
    if (result.size() == 2 && result[1] == L':')
        result += L'\\';  // a naked drive is its root
    const bool rooted = rootLength > 0;

    std::vector<std::wstring> kept;
    std::size_t start = rootLength;
    const bool trailing = path.size() > rootLength && path.back() == L'\\';
    while (start < path.size()) {
        std::size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos)
            end = path.size();
        std::wstring component = path.substr(start, end - start);
        start = end + 1;
        if (component == L".")
            continue;
        if (component == L"..") {
            if (!kept.empty() && kept.back() != L"..")
                kept.pop_back();
            else if (!rooted)
                kept.push_back(component);  // nothing to climb out of
            continue;
        }
        kept.push_back(std::move(component));
    }
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (i > 0)
            result += L'\\';
        result += kept[i];
    }
    if (trailing && !kept.empty())
        result += L'\\';
    if (!FitsShellPathBuffer(result))
        return std::nullopt;
    return result;
}

std::optional<std::wstring> CombinePath(const std::wstring& folder, const std::wstring& file)
{
    if (!FitsShellPathBuffer(folder) || !FitsShellPathBuffer(file))
        return std::nullopt;
    if (file.empty())
        return Canonical(folder);
    std::wstring combined;
    if (folder.empty() || IsServerPath(file) || HasDrive(file)) {
        combined = file;
    } else {
        if (file[0] == L'\\') {
            combined = folder.substr(0, RootLength(folder));
            if (!combined.empty() && combined.back() == L'\\')
                combined.pop_back();
        } else {
            combined = folder;
            if (combined.back() != L'\\')
                combined += L'\\';
        }
        combined += file;
    }
    if (!FitsShellPathBuffer(combined))
        return std::nullopt;
    return Canonical(combined);
}

std::optional<std::wstring> AppendPath(const std::wstring& folder, const std::wstring& more)
{
    if (IsServerPath(more))
        return CombinePath(folder, more);
    const std::size_t start = more.find_first_not_of(L'\\');
    return CombinePath(folder, start == std::wstring::npos ? std::wstring() : more.substr(start));
}

std::optional<std::wstring> RelativePathBetweenFolders(const std::wstring& from, const std::wstring& to)
{
    if (!FitsShellPathBuffer(from) || !FitsShellPathBuffer(to))
        return std::nullopt;
    const std::size_t common = CommonPrefixLength(from, to);
    if (common == 0)
        return std::nullopt;

    std::wstring relative;
    std::size_t position = common < from.size() ? common : from.size();
    if (position == from.size())
        relative = L".";
    if (position < from.size() && from[position] == L'\\')
        ++position;
    // One ".." for every component of `from` below the common part.
    while (position < from.size()) {
        position = NextComponent(from, position);
        relative += position < from.size() ? L"..\\" : L"..";
    }
    std::size_t tail = common < to.size() ? common : to.size();
    if (tail < to.size()) {
        if (to[tail] != L'\\')
            --tail;  // the backslash of a shared drive root
        relative += to.substr(tail);
    }
    if (!FitsShellPathBuffer(relative))
        return std::nullopt;
    return relative;
}

}  // namespace va
