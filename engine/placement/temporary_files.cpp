#include "engine/placement/temporary_files.h"

#include <windows.h>

#include "engine/package/held_files.h"

namespace va {

void CleanUpTemporaryFiles(TemporaryFiles& list)
{
    ReleaseHeldFiles();  // a held file could not be removed
    for (const std::wstring& file : list.files) {
        ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(file.c_str());
    }
    if (!list.folder.empty())
        ::RemoveDirectoryW(list.folder.c_str());
    list.files.clear();
}

}  // namespace va
