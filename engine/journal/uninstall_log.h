#pragma once
// The install transaction's journal and the in-memory form of
// "Uninstall.ulog".  Every artefact is recorded before it is made, with a
// backup of what it replaces; a failed run is undone newest first.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <list>
#include <string>

#include "engine/journal/core/log_entry.h"

namespace va {

class UninstallLog {
public:
    UninstallLog() = default;
    UninstallLog(const UninstallLog&) = delete;
    UninstallLog& operator=(const UninstallLog&) = delete;

    // Journal (recording during the install transaction).
    void RecordFolders(const std::wstring& folder);
    void RecordFile(const std::wstring& path, std::int32_t kind, bool copy);
    bool IsKeptDataFile(const std::wstring& path) const;
    void RecordShortcut(int kind, const std::wstring& folder);
    void RecordUninstallKey(HKEY existingKey);  // nullptr when the key did not exist
    void RecordFileTypes();
    void RecordDirectX();
    void CommitOutcome(std::uint8_t outcome, const std::wstring* path = nullptr);
    bool PreviousDirectXDone() const;
    void Rollback();

    // The file (read at start-up, written at the end of a successful run).
    void ReadLog(const std::wstring* file);
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
};

}  // namespace va
