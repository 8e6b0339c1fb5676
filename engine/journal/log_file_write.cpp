#include <windows.h>

#include "identity/core/product.h"
#include "engine/journal/backup_file.h"
#include "engine/journal/core/log_format.h"
#include "engine/journal/core/log_merge.h"
#include "engine/journal/log_file.h"
#include "engine/journal/same_path.h"
#include "engine/journal/uninstall_log.h"

namespace va {

bool UninstallLog::WriteLog(const std::wstring& file, const std::wstring& installFolder,
                            const std::wstring& startMenuFolder)
{
    // Merged on copies: a log that cannot be written leaves the journal as
    // it was, so that the run can still be rolled back.
    std::list<LogEntry> previous = PreviousEntries;
    std::list<LogEntry> merged = NewEntries;
    SamePathCache samePath;
    MergePreviousEntries(previous, merged, std::ref(samePath));

    const std::wstring productKey = ProductKey();
    for (LogEntry& entry : merged) {
        if (auto fixed = FixedLogPath(entry.Type, productKey))
            entry.Path = std::move(*fixed);
    }
    std::vector<std::wstring> lines =
        FormatLogHeader(ProductDisplayName(true), PreviousProduct, installFolder, startMenuFolder);
    std::size_t index = 0;
    for (const LogEntry& entry : merged)
        lines.push_back(FormatLogEntry(index++, entry));
    if (!WriteLogFile(file, lines)) {
        const DWORD error = ::GetLastError();
        ::SetLastError(error != ERROR_SUCCESS ? error : DWORD{ERROR_WRITE_FAULT});
        return false;
    }

    // The log is in place: this run is final, nothing will be rolled back.
    PreviousEntries.clear();
    NewEntries = std::move(merged);
    for (LogEntry& entry : NewEntries) {
        if (!entry.BackupPath.empty()) {
            DiscardBackup(entry.BackupPath);
            entry.BackupPath.clear();
            entry.BackupSource.clear();
        }
    }
    AwaitingOutcome = false;
    return true;
}

}  // namespace va
