#include <windows.h>

#include "identity/core/product.h"
#include "engine/journal/backup_file.h"
#include "engine/journal/core/journal_file_format.h"
#include "engine/journal/disk_journal.h"
#include "engine/journal/run_backup.h"
#include "engine/journal/undo_change.h"
#include "engine/journal/core/log_format.h"
#include "engine/journal/core/log_merge.h"
#include "engine/journal/log_file.h"
#include "engine/journal/same_path.h"
#include "engine/journal/uninstall_log.h"

namespace va {

std::wstring UninstallLog::AnnounceLogReplacement(const std::wstring& file)
{
    JournalRecord record;
    record.Kind = JournalRecordKind::ReplaceLog;
    record.Target = file;
    const DWORD attributes = ::GetFileAttributesW(file.c_str());
    std::wstring backup;
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DWORD error = ERROR_SUCCESS;
        backup = Disk->BackupPathFor(file, error);
        if (backup.empty() || (error = CopyWhole(file, backup)) != ERROR_SUCCESS) {
            JournalError = error != ERROR_SUCCESS ? error : DWORD{ERROR_GEN_FAILURE};
            return {};
        }
        record.ExistedBefore = true;
        record.Backup = backup;
        record.PreviousAttributes = attributes;
    }
    Announce(record, true);
    return backup;
}

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
    // The journal on disk keeps the previous log until the run commits.
    std::wstring previousLog;
    if (Disk && Disk->IsOpen() && JournalError == ERROR_SUCCESS)
        previousLog = AnnounceLogReplacement(file);
    if (Disk && Disk->IsOpen() && JournalError != ERROR_SUCCESS) {
        ::SetLastError(JournalError);
        return false;
    }
    if (!WriteLogFile(file, lines)) {
        const DWORD error = ::GetLastError();
        ::SetLastError(error != ERROR_SUCCESS ? error : DWORD{ERROR_WRITE_FAULT});
        return false;
    }
    if (Disk && Disk->IsOpen()) {
        if (const DWORD error = Disk->Commit(); error != ERROR_SUCCESS) {
            // Not committed: the run is rolled back, its log with it.
            UndoPlacedFile(file, previousLog, {});
            ::SetLastError(error);
            return false;
        }
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
    if (Disk)
        Disk->Remove();
    AwaitingOutcome = false;
    return true;
}

}  // namespace va
