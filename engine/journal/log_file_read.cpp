#include <shlwapi.h>

#include "engine/journal/core/log_reader.h"
#include "engine/journal/uninstall_log.h"
#include "engine/journal/log_file.h"
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
    LogReader reader(DecodeThreadAnsi);
    if (FeedLogFile(*file, reader) == LogFileRead::Missing)
        return;

    LogContents contents = reader.TakeContents();
    if (contents.PreviousProduct)
        PreviousProduct = std::move(*contents.PreviousProduct);
    InstallPath = ExistingFolderOrEmpty(std::move(contents.InstallPath));
    ShortcutPath = ExistingFolderOrEmpty(std::move(contents.ShortcutPath));
    for (LogEntry& entry : contents.Entries)
        PreviousEntries.push_back(std::move(entry));
}

}  // namespace va
