#pragma once
// Rewriting a file so that a failure part-way leaves the old one whole: the
// new content goes to a file beside it, which replaces the old one only when
// every write succeeded.

#include <windows.h>

#include <functional>
#include <string>

namespace va {

// `write` fills the new file (opened for writing, shared with nobody) and
// says whether every write succeeded.  The old file, read-only or not, is
// then replaced and `file` receives `attributes`.  False, with the old file
// untouched, when anything failed.
bool ReplaceFileContents(const std::wstring& file, const std::function<bool(HANDLE out)>& write,
                         DWORD attributes);

}  // namespace va
