#include "uninstaller/core/path_rules.h"

#include <vector>

#include "support/core/path_compare.h"
#include "support/core/path_text.h"

namespace va::uninstall {
namespace {

// The elements of a path (drive or share included), separators dropped.
std::vector<std::wstring_view> Elements(std::wstring_view path)
{
    std::vector<std::wstring_view> parts;
    std::size_t i = 0;
    while (i < path.size()) {
        while (i < path.size() && IsPathSeparator(path[i]))
            ++i;
        const std::size_t begin = i;
        while (i < path.size() && !IsPathSeparator(path[i]))
            ++i;
        if (i > begin)
            parts.push_back(path.substr(begin, i - begin));
    }
    return parts;
}

}  // namespace

bool IsPlainAbsolutePath(std::wstring_view path)
{
    std::size_t firstElement = 0;  // elements before this one form the root
    if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == L':' && IsPathSeparator(path[2])) {
        firstElement = 1;
    } else if (path.size() >= 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1])) {
        // A share: "\\server\share\...", but never "\\?\" or "\\.\".
        firstElement = 2;
    } else {
        return false;
    }
    for (std::size_t i = 0; i < path.size(); ++i) {
        const wchar_t c = path[i];
        if (c < 0x20 || c == L'*' || c == L'?' || c == L'"' || c == L'<' || c == L'>' || c == L'|')
            return false;
        if (c == L':' && i != 1)
            return false;
    }
    const std::vector<std::wstring_view> parts = Elements(path);
    if (parts.size() < firstElement)
        return false;
    if (firstElement == 2 && (parts.size() < 2 || parts[0] == L"." || parts[0] == L"?"))
        return false;
    for (std::wstring_view part : parts) {
        if (part == L"." || part == L"..")
            return false;
        // The file system drops trailing dots and blanks: "a." would name "a".
        if (part.back() == L'.' || part.back() == L' ')
            return false;
    }
    return true;
}

std::wstring PathKey(std::wstring_view path)
{
    std::wstring key;
    key.reserve(path.size());
    std::size_t i = 0;
    if (path.size() >= 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1])) {
        key = L"\\\\";
        i = 2;
    }
    for (; i < path.size(); ++i) {
        wchar_t c = path[i];
        if (IsPathSeparator(c)) {
            if (!key.empty() && key.back() == L'\\' && key.size() > 2)
                continue;
            if (key.size() == 2 && key == L"\\\\")
                continue;
            c = L'\\';
        } else {
            c = FoldPathCase(c);
        }
        key.push_back(c);
    }
    while (key.size() > 1 && key.back() == L'\\' && key != L"\\\\")
        key.pop_back();
    return key;
}

bool SamePathText(std::wstring_view a, std::wstring_view b)
{
    return PathKey(a) == PathKey(b);
}

bool IsBelow(std::wstring_view path, std::wstring_view folder)
{
    const std::wstring p = PathKey(path);
    const std::wstring f = PathKey(folder);
    if (f.empty() || p.size() <= f.size() + 1)
        return false;
    return p.compare(0, f.size(), f) == 0 && p[f.size()] == L'\\';
}

bool IsWithin(std::wstring_view path, std::wstring_view folder)
{
    return !PathKey(folder).empty() && (SamePathText(path, folder) || IsBelow(path, folder));
}

std::size_t PathDepth(std::wstring_view path)
{
    return Elements(path).size();
}

std::wstring ParentOf(std::wstring_view path)
{
    std::wstring key(path);
    while (!key.empty() && IsPathSeparator(key.back()))
        key.pop_back();
    const std::size_t slash = key.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return {};
    std::wstring parent = key.substr(0, slash);
    // "C:\A" gives "C:\", not the drive-relative "C:".
    if (parent.size() == 2 && parent[1] == L':')
        parent.push_back(L'\\');
    // Nothing above a share's root.
    if (parent.size() >= 2 && IsPathSeparator(parent[0]) && IsPathSeparator(parent[1]) && Elements(parent).size() < 2)
        return {};
    return parent;
}

}  // namespace va::uninstall
