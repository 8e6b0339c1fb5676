#include "uninstaller/log_file.h"

#include "identity/core/product.h"
#include "engine/journal/core/log_format.h"
#include "engine/journal/log_file.h"
#include "support/thread_ansi.h"

namespace va::uninstall {

CheckedLog ReadUninstallLog(const std::wstring& path)
{
    // The writer's lines are short and few: a log far beyond that is not one.
    constexpr std::size_t kLimit = 16 * 1024 * 1024;
    LogReader reader(DecodeThreadAnsi);
    switch (FeedLogFile(path, reader, kLimit)) {
    case LogFileRead::Missing:
        return {};
    case LogFileRead::Unreadable: {
        CheckedLog damaged;
        damaged.state = LogState::Damaged;
        return damaged;
    }
    case LogFileRead::Fed:
        break;
    }
    return CheckReadLog(reader);
}

bool WriteUninstallLog(const std::wstring& path, const std::wstring& product, const std::wstring& installFolder,
                       const std::wstring& startMenuFolder, const std::vector<LogEntry>& entries)
{
    // A log half written would stop every later run, while the old one,
    // longer than needed, only names things that are already gone.
    std::vector<std::wstring> lines = FormatLogHeader(product, {}, installFolder, startMenuFolder);
    std::size_t index = 0;
    for (LogEntry entry : entries) {
        if (auto fixed = FixedLogPath(entry.Type, ProductKey()))
            entry.Path = std::move(*fixed);
        lines.push_back(FormatLogEntry(index++, entry));
    }
    return WriteLogFile(path, lines);
}

}  // namespace va::uninstall
