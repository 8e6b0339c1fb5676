#pragma once
// The install transaction's journal and the in-memory form of
// "Uninstall.ulog".  Every artefact is recorded before it is made, with a
// backup of what it replaces; a failed run is undone newest first.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <list>
#include <string>
#include <vector>

#include "engine/journal/core/log_entry.h"

namespace va {

class DiskJournal;
struct JournalRecord;

// An entry the rollback could not undo, newest first: what is left where
// the entry names, and the backup (kept, not discarded) holding what was
// there before, when there is one.
struct RollbackFailure {
    std::int32_t Type = CreatedFolder;
    std::wstring Path;        // the file, or the key's name
    std::wstring BackupPath;  // still in the temporary folder; empty when none
    DWORD Error = ERROR_SUCCESS;
};

class UninstallLog {
public:
    UninstallLog() = default;
    UninstallLog(const UninstallLog&) = delete;
    UninstallLog& operator=(const UninstallLog&) = delete;

    // Journal (recording during the install transaction).
    // ERROR_SUCCESS, or the error of the first folder that could not be
    // made (the ones made before it stay journalled).
    DWORD RecordFolders(const std::wstring& folder);
    // ERROR_SUCCESS, or the Windows error of a folder or of a backup that
    // could not be made for the file at the path: then the file itself is
    // not recorded and the caller must not write there.
    DWORD RecordFile(const std::wstring& path, std::int32_t kind, bool copy);
    bool IsKeptDataFile(const std::wstring& path) const;
    // `linkPath`: where the shortcut will be saved.
    void RecordShortcut(int kind, const std::wstring& folder, const std::wstring& linkPath = {});
    // `existingKey` is nullptr when the key did not exist.  ERROR_SUCCESS, or
    // the Windows error of an existing key that could not be saved: then
    // nothing is recorded and the caller must leave the key alone.
    DWORD RecordUninstallKey(HKEY existingKey);
    // `program`: the program that registers (and would withdraw) them.
    void RecordFileTypes(const std::wstring& program = {});
    void RecordDirectX();
    void CommitOutcome(std::uint8_t outcome, const std::wstring* path = nullptr);
    bool PreviousDirectXDone() const;
    // Undoes every entry it can, newest first; what it could not undo is
    // returned (empty when everything was undone).
    std::vector<RollbackFailure> Rollback();

    // The journal on disk (when Disk is set): a folder about to be made
    // outside RecordFolders; the sequence for its entry (0 when none).
    std::uint32_t AnnounceFolder(const std::wstring& path);
    // A file about to pass through this run's temporary folder (the journal
    // on disk only: the run itself removes it at its end, a recovery when
    // the run was killed).
    void AnnounceTemporaryFile(const std::wstring& path, std::int32_t kind);
    // A value about to be written under HKEY_LOCAL_MACHINE, as it was.
    void AnnounceValue(const std::wstring& key, const std::wstring& name, bool existed, DWORD type,
                       const std::string& data);

    // The file (read at start-up, written at the end of a successful run).
    void ReadLog(const std::wstring* file);
    // True once the log is in place; only then are the backups discarded.
    // False (the Windows error as the last error) with the journal as it
    // was, so that the run can be rolled back.
    bool WriteLog(const std::wstring& file, const std::wstring& installFolder,
                  const std::wstring& startMenuFolder);

    std::wstring InstallPath;
    std::wstring ShortcutPath;
    std::wstring PreviousProduct;
    std::list<LogEntry> PreviousEntries;  // doubly linked, owned
    std::list<LogEntry> NewEntries;       // in order of recording
    bool AwaitingOutcome = false;
    // Told of each new entry as Rollback takes it back, newest first, before
    // it is undone: the run's text log says what a failed run undid.
    std::function<void(const LogEntry&)> UndoObserver;
    // The run's journal on disk, when the run keeps one (not owned); every
    // record is appended before its change, and WriteLog commits it.
    DiskJournal* Disk = nullptr;
    // The first record that could not be appended: the run cannot commit.
    DWORD JournalError = ERROR_SUCCESS;

private:
    // Appends to Disk (when set); the record's sequence, 0 when none.
    std::uint32_t Announce(const JournalRecord& record, bool flush);
    void MarkUndone(std::uint32_t sequence);
    // The previous log copied whole beside the journal and the replacement
    // announced; the backup's path (empty when there was no log).
    std::wstring AnnounceLogReplacement(const std::wstring& file);
};

}  // namespace va
