#pragma once
// The read-only mark on the installed programs.  The installation folder
// may be one that ordinary users can change (an existing folder keeps the
// access list it has): the mark is set through a handle of the file itself,
// checked, with the folders above it held, so neither a link nor a second
// name of another file receives it.

#include <windows.h>

#include <string>

namespace va {

// Adds FILE_ATTRIBUTE_READONLY to `path`, the folders from the first one
// below `root` down held (PinnedFolderChain).  ERROR_SUCCESS;
// ERROR_CANT_ACCESS_FILE for a link on the way or at the file;
// ERROR_TOO_MANY_LINKS for a file with more than one name; otherwise the
// Windows error.  Nothing is changed unless ERROR_SUCCESS.
DWORD MarkReadOnlyWithoutLinks(const std::wstring& root, const std::wstring& path);

}  // namespace va
