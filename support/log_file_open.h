#pragma once
// Opening the file "/log=FILE" names.  Both programs write it as
// administrator, and the file may lie where other users write: a link, or a
// second name of another file, would make the administrator overwrite a
// file of the link's choosing.

#include <windows.h>

#include <string>

#include "support/handles.h"

namespace va {

// Opens (or makes) `path` itself, never through a link: a link, or a file
// with more than one name, is refused (ERROR_CANT_ACCESS_FILE or
// ERROR_TOO_MANY_LINKS in `error`) and left untouched.  Without `append`
// the file is emptied once checked.
UniqueFile OpenLogFileWithoutLinks(const std::wstring& path, bool append, DWORD& error);

// `path` made full against the current folder, so that it names the same
// file after the folder changes (and in a process started elsewhere); empty
// stays empty.
std::wstring AbsoluteLogPath(const std::wstring& path);

}  // namespace va
