#pragma once
// Opening a file for writing in a folder that ordinary users can change.
// A second name of a file (a hard link) may have been planted where the
// installer writes: writing through it would change the other file, and
// clearing its read-only mark would clear the other's.  Every check is made
// on the handle that is written, so no name can be swapped in between.

#include <windows.h>

#include <string>

#include "support/handles.h"

namespace va {

// Opens `path` for writing from its first byte, others may read it but not
// write it.  Its folders must already be held (PinnedFolderChain).  An
// existing file is emptied only once its handle shows neither a link nor a
// second name; read-only is cleared on such a handle.  A file with more
// than one name loses only this one (the others keep their content and
// their attributes) and a new file takes the name.  ERROR_SUCCESS with
// `file` set; kLinkOnTheWay for a link; otherwise the Windows error.
DWORD OpenSingleNameFileForWriting(const std::wstring& path, UniqueFile& file);

}  // namespace va
