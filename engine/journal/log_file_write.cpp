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
    SamePathCache samePath;
    MergePreviousEntries(PreviousEntries, NewEntries, std::ref(samePath));

    const std::wstring productKey = ProductKey();
    for (LogEntry& entry : NewEntries) {
        if (auto fixed = FixedLogPath(entry.Type, productKey))
            entry.Path = std::move(*fixed);
    }
    std::vector<std::wstring> lines =
        FormatLogHeader(ProductDisplayName(true), PreviousProduct, installFolder, startMenuFolder);
    std::size_t index = 0;
    for (const LogEntry& entry : NewEntries)
        lines.push_back(FormatLogEntry(index++, entry));
    const bool ok = WriteLogFile(file, lines);

    // Written or not, this run is final: nothing will be rolled back.
    for (LogEntry& entry : NewEntries) {
        if (!entry.BackupPath.empty()) {
            DiscardBackup(entry.BackupPath);
            entry.BackupPath.clear();
            entry.BackupSource.clear();
        }
    }
    AwaitingOutcome = false;
    return ok;
}

}  // namespace va
