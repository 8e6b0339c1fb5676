#include <shlwapi.h>

#include "engine/journal/core/log_reader.h"
#include "engine/journal/uninstall_log.h"
#include "support/handles.h"
#include "support/thread_ansi.h"

namespace va {
namespace {

std::wstring ExistingFolderOrEmpty(std::wstring folder)
{
    if (folder.empty() || !::PathIsDirectoryW(folder.c_str()))
        folder.clear();
    return folder;
}

}  // namespace

void UninstallLog::ReadLog(const std::wstring* file)
{
    InstallPath.clear();
    ShortcutPath.clear();
    if (!file)
        return;
    UniqueFile in(::CreateFileW(file->c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!in)
        return;

    LogReader reader(DecodeThreadAnsi);
    char chunk[4096];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(in.get(), chunk, sizeof chunk, &got, nullptr)) {
            reader.Abort();
            break;
        }
        if (got == 0) {
            reader.Finish();
            break;
        }
        if (!reader.Feed(std::string_view(chunk, got)))
            break;
    }
    in.reset();

    LogContents contents = reader.TakeContents();
    if (contents.PreviousProduct)
        PreviousProduct = std::move(*contents.PreviousProduct);
    InstallPath = ExistingFolderOrEmpty(std::move(contents.InstallPath));
    ShortcutPath = ExistingFolderOrEmpty(std::move(contents.ShortcutPath));
    for (LogEntry& entry : contents.Entries)
        PreviousEntries.push_back(std::move(entry));
}

}  // namespace va
