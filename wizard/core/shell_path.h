#pragma once
// The shell's rules for folder texts, without the shell: which character a
// path may hold, where its last component starts, how ".\" and "..\" fold
// away, how one folder is named relative to another.  They follow the
// shell's path functions on the forms the folder browser meets (drive
// paths, server shares, relative texts), MAX_PATH included: a text that
// does not fit the shell's 260-character buffer is refused as the shell
// would refuse it.

#include <cstddef>
#include <optional>
#include <string>


namespace va {

// The shell's path buffer: 259 characters and the terminator.
inline constexpr std::size_t kShellPathBuffer = 260;

constexpr bool FitsShellPathBuffer(const std::wstring& text) noexcept
{
    return text.size() < kShellPathBuffer;
}

// Neither a character no path may hold nor a wildcard ("*", "?").
bool IsPathCharacter(wchar_t c) noexcept;

// Starts neither with a backslash nor with a drive ("X:").
bool IsRelativePath(const std::wstring& path) noexcept;

// "C:\", "\", "\\server\share" and alike, which keep their backslash.
bool IsRootPath(const std::wstring& path);

// Where the last component begins: the whole text when it has no parent.
std::size_t LastComponentStart(const std::wstring& path) noexcept;

// Drops one trailing backslash unless it ends a root.
void RemoveTrailingBackslash(std::wstring& path);

// Drops the last component (and the backslash before it, unless a root's);
// false when nothing was removed.
bool RemoveLastComponent(std::wstring& path);

// The position of the component after the one starting at `position`;
// the text's length when there is none.
std::size_t NextComponent(const std::wstring& path, std::size_t position) noexcept;

// Blanks removed at both ends.
void RemoveBlanks(std::wstring& path);

// The length of the common leading folders of a and b (case ignored), a
// drive's backslash included; 0 when they share no root.
std::size_t CommonPrefixLength(const std::wstring& a, const std::wstring& b);

// "." and ".." components folded away; ".." never climbs above a root.
std::optional<std::wstring> Canonical(const std::wstring& path);

// `file` joined to the folder `folder` with one backslash between, then
// canonical: an absolute `file` stands alone, one starting with a backslash
// goes below the root of `folder`, an empty one leaves `folder`.  Nothing
// when the result would not fit.
std::optional<std::wstring> CombinePath(const std::wstring& folder, const std::wstring& file);

// CombinePath with the leading backslashes of `more` dropped (a server path
// keeps them).
std::optional<std::wstring> AppendPath(const std::wstring& folder, const std::wstring& more);

// The folder `to` named from the folder `from` as the shell writes it
// (".\x", "..\x", "."); nothing when they share no root or it would not fit.
std::optional<std::wstring> RelativePathBetweenFolders(const std::wstring& from, const std::wstring& to);

}  // namespace va
