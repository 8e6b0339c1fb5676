#pragma once
// How the uninstaller compares and judges the paths a log names, without
// asking the file system: Windows paths, compared the way the file system
// compares names (letter case aside), never following ".." out of a folder.

#include <cstddef>
#include <string>
#include <string_view>

namespace va::uninstall {

// A full path of the plain form the installer writes: "X:\..." or
// "\\server\share\...", with no "." or ".." element, no device or
// long-path prefix, no stream (":" past the drive) and no wildcard.  Paths
// of any other form are never touched.
bool IsPlainAbsolutePath(std::wstring_view path);

// The path as compared: "/" read as "\", runs of separators as one (the
// leading pair of a share kept), no separator at the end, letter case
// folded (FoldPathCase).
std::wstring PathKey(std::wstring_view path);

// Whether `path` is `folder` or lies below it.
bool IsWithin(std::wstring_view path, std::wstring_view folder);
// Whether `path` lies below `folder` (and is not the folder itself).
bool IsBelow(std::wstring_view path, std::wstring_view folder);
bool SamePathText(std::wstring_view a, std::wstring_view b);

// Number of elements ("C:\A\B" has 3).
std::size_t PathDepth(std::wstring_view path);

// The path without its last element; empty when there is none.
std::wstring ParentOf(std::wstring_view path);

}  // namespace va::uninstall
