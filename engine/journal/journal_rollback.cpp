#include "engine/journal/disk_journal.h"
#include "engine/journal/undo_change.h"
#include "engine/journal/uninstall_log.h"

namespace va {

std::vector<RollbackFailure> UninstallLog::Rollback()
{
    std::vector<RollbackFailure> failures;
    while (!NewEntries.empty()) {
        const LogEntry& entry = NewEntries.back();
        if (UndoObserver)
            UndoObserver(entry);
        DWORD error = ERROR_SUCCESS;
        std::wstring path = entry.Path;
        switch (entry.Type) {
        case CreatedFolder:
            error = UndoCreatedFolder(entry.Path);
            break;
        case UninstallKey:
            error = UndoUninstallKey(entry.BackupPath, path);
            break;
        case InstalledFile:
        case ProgramShortcut:
        case UninstallShortcut:
        case DesktopShortcut:
            error = UndoPlacedFile(entry.Path, entry.BackupPath, entry.BackupSource);
            break;
        default:
            break;  // file types and the DirectX runtime are not undone
        }
        if (error != ERROR_SUCCESS)
            failures.push_back({entry.Type, std::move(path), entry.BackupPath, error});
        else
            MarkUndone(entry.JournalSequence);
        NewEntries.pop_back();
    }
    AwaitingOutcome = false;
    // What could not be undone keeps its journal: the next start tries again.
    if (Disk && failures.empty())
        Disk->Remove();
    return failures;
}

}  // namespace va
