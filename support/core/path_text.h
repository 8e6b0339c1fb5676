#pragma once
// Windows paths as text: separators and the folder above a path.  No call
// to the file system.

#include <string>

namespace va {

// Backslash and slash both separate the components of a path.
constexpr bool IsPathSeparator(wchar_t c) noexcept
{
    return c == L'\\' || c == L'/';
}

// An ASCII letter, as a drive is named.
constexpr bool IsDriveLetter(wchar_t c) noexcept
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

// The text up to the last separator, without the separators before it;
// empty when the path names no folder.
std::wstring ParentFolder(const std::wstring& path);

// The next folder up when walking from a folder towards its root: trailing
// separators do not make a component, and a root keeps its separator
// ("C:\", "\").  Empty when there is nothing above.
std::wstring ParentFolderKeepingRoot(const std::wstring& path);

// The path in double quotes when it holds a space, as the shell quotes a
// path for a command line; at any length, never cut.
std::wstring QuotedIfSpaced(const std::wstring& path);

}  // namespace va
