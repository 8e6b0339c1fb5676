#pragma once
// What may be an installation folder, whoever proposes it (the /dir switch,
// the Folder page, the folder browser).  Text only: no call to the file
// system.

#include <cstddef>
#include <string_view>

namespace va {

// The longest folder the installer takes, as the Folder page.
inline constexpr std::size_t kMaxFolderChars = 260;

enum class FolderProblem { None, Relative, TooLong, BadCharacters, Root };

enum class FolderForm {
    Full,     // "X:\..." or "\\server\share\..." only (the /dir switch, the browser)
    AsTyped,  // a relative text passes, the rest of the rule applies (the Folder page)
};

// A folder below the drive's or share's root, of at most kMaxFolderChars,
// whose every component is a usable name: not empty, no character a name
// cannot hold, none ending in a dot or a space (the system drops those, so
// the folder made would not be the folder written in the log).
FolderProblem CheckInstallFolder(std::wstring_view folder, FolderForm form = FolderForm::Full);

// Whether `folder` is a drive's root ("C:\", "C:") or a share's
// ("\\server\share"), separators at the end aside.  Such a folder is never
// an installation folder: the uninstaller would have to empty a whole drive
// or share, and the installer could not give it an access list of its own.
bool IsDriveOrShareRoot(std::wstring_view folder);

// Characters no file name may hold, ":" among them.
bool HasForbiddenCharacters(std::wstring_view text);
// A component between separators that is empty, ends in a dot or a space
// ("." and ".." among them).
bool HasUnusableComponent(std::wstring_view path);

}  // namespace va
