#include "engine/placement/temporary_files.h"

#include <windows.h>

#include "engine/package/held_files.h"

namespace va {
namespace {

TemporaryFiles* g_published = nullptr;

}  // namespace

void PublishTemporaryFiles(TemporaryFiles* list) noexcept { g_published = list; }

TemporaryFiles* PublishedTemporaryFiles() noexcept { return g_published; }

void CleanUpTemporaryFiles()
{
    ReleaseHeldFiles();  // a held file could not be removed
    TemporaryFiles* list = g_published;
    g_published = nullptr;
    if (!list)
        return;
    for (const std::wstring& file : list->files) {
        ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(file.c_str());
    }
    if (!list->folder.empty())
        ::RemoveDirectoryW(list->folder.c_str());
    list->files.clear();
}

}  // namespace va
