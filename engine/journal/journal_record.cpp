#include <shlobj.h>
#include <shlwapi.h>

#include "engine/journal/backup_file.h"
#include "engine/journal/core/journal_file_format.h"
#include "engine/journal/disk_journal.h"
#include "engine/journal/run_backup.h"
#include "engine/journal/privilege.h"
#include "engine/journal/same_path.h"
#include "engine/journal/uninstall_log.h"
#include "support/core/path_text.h"
#include "support/fault_point.h"
#include "identity/core/product.h"
#include "identity/core/registry_locations.h"
#include "support/registry_backup.h"

namespace va {
namespace {

constexpr std::size_t kPathCapacity = MAX_PATH;

bool IsExistingFolder(const wchar_t* path)
{
    const DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring SpecialFolder(int csidl)
{
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return {};
    return folder;
}

// A previous log may come from a folder anybody can write to; the file its
// shortcut entry names is moved (and later deleted) only when it is a link
// this product could have made: a ".lnk" file directly inside this run's
// shortcut folder or one of the desktops.
bool IsOwnShortcutPlace(const std::wstring& path, const std::wstring& folder)
{
    if (path.size() >= kPathCapacity || ::lstrcmpiW(::PathFindExtensionW(path.c_str()), L".lnk") != 0)
        return false;
    const std::wstring parent = ParentFolder(path);
    if (parent.empty())
        return false;
    for (const std::wstring& place :
         {folder, SpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY), SpecialFolder(CSIDL_DESKTOPDIRECTORY)}) {
        if (!place.empty() && SamePath(parent, place))
            return true;
    }
    return false;
}

bool HasRegisteredFileTypes(const std::list<LogEntry>& entries)
{
    for (const LogEntry& entry : entries)
        if (entry.Type == FileTypes && entry.Outcome == 1)
            return true;
    return false;
}

LogEntry& Append(std::list<LogEntry>& entries, std::int32_t type)
{
    LogEntry& entry = entries.emplace_back();
    entry.Type = type;
    return entry;
}

}  // namespace

DWORD UninstallLog::RecordFolders(const std::wstring& folder)
{
    // A cut copy would name another folder: a path this long is left to
    // fail where the file is opened.
    if (folder.empty() || folder.size() >= kPathCapacity)
        return ERROR_SUCCESS;
    wchar_t buffer[kPathCapacity];
    folder.copy(buffer, folder.size());
    buffer[folder.size()] = L'\0';

    // Past the drive or root; a path without one skips its first component.
    wchar_t* cursor = ::PathSkipRootW(buffer);
    if (!cursor) {
        cursor = buffer;
        while (*cursor && !IsPathSeparator(*cursor))
            ++cursor;
        while (IsPathSeparator(*cursor))
            ++cursor;
    }
    if (*cursor == L'\0')
        return ERROR_SUCCESS;

    for (;;) {
        while (*cursor && !IsPathSeparator(*cursor))
            ++cursor;
        const wchar_t saved = *cursor;
        *cursor = L'\0';
        if (!IsExistingFolder(buffer)) {
            std::uint32_t sequence = 0;
            if (FaultPoint("create folder", ERROR_ACCESS_DENIED) != ERROR_SUCCESS ||
                (sequence = AnnounceFolder(buffer), !::CreateDirectoryW(buffer, nullptr))) {
                const DWORD error = ::GetLastError();
                return error != ERROR_SUCCESS ? error : DWORD{ERROR_GEN_FAILURE};
            }
            ::SHChangeNotify(SHCNE_MKDIR, SHCNF_PATHW, buffer, nullptr);
            LogEntry& entry = Append(NewEntries, CreatedFolder);
            entry.Path = buffer;
            entry.Outcome = 1;
            entry.JournalSequence = sequence;
        }
        *cursor = saved;
        if (saved == L'\0')
            return ERROR_SUCCESS;
        while (IsPathSeparator(*cursor))
            ++cursor;
        if (*cursor == L'\0')
            return ERROR_SUCCESS;  // a trailing separator names the folder just handled
    }
}

DWORD UninstallLog::RecordFile(const std::wstring& path, std::int32_t kind, bool copy)
{
    // A folder that could not be made would be made later by the writer,
    // outside the journal: the file is refused instead.
    if (const DWORD error = RecordFolders(ParentFolder(path)); error != ERROR_SUCCESS) {
        AwaitingOutcome = false;
        return error;
    }

    std::wstring backup;
    std::uint32_t sequence = 0;
    JournalRecord record;
    record.Kind = JournalRecordKind::PlaceFile;
    record.Target = path;
    record.Detail = kind;
    if (IsExistingFile(path)) {
        // Without a backup the rollback would delete a file it cannot put
        // back: no entry, and nothing awaits an outcome.
        DWORD error = ERROR_SUCCESS;
        if (Disk && Disk->IsOpen()) {
            backup = Disk->BackupPathFor(path, error);
            if (!backup.empty()) {
                record.ExistedBefore = true;
                record.Backup = backup;
                record.PreviousAttributes = ::GetFileAttributesW(path.c_str());
                sequence = Announce(record, true);
                // A change the journal could not announce is not made.
                error = JournalError != ERROR_SUCCESS ? JournalError : TakeBackup(path, backup, copy);
                if (error != ERROR_SUCCESS)
                    backup.clear();
            }
        } else {
            backup = BackupToTemp(&path, copy, &error);
        }
        if (backup.empty()) {
            AwaitingOutcome = false;
            return error;
        }
    } else {
        sequence = Announce(record, false);
    }
    AwaitingOutcome = true;
    LogEntry& entry = Append(NewEntries, InstalledFile);
    entry.JournalSequence = sequence;
    entry.Path = path;
    entry.Detail = kind;
    if (!backup.empty()) {
        entry.BackupPath = std::move(backup);
        entry.BackupSource = path;
    }
    return ERROR_SUCCESS;
}

bool UninstallLog::IsKeptDataFile(const std::wstring& path) const
{
    for (const LogEntry& entry : PreviousEntries) {
        if (entry.Type == InstalledFile && entry.Outcome == 1 && entry.Path == path)
            return true;
    }
    return false;
}

void UninstallLog::RecordShortcut(int kind, const std::wstring& folder, const std::wstring& linkPath)
{
    AwaitingOutcome = true;
    RecordFolders(folder);
    const std::int32_t type = kind == 0 ? ProgramShortcut : kind == 1 ? UninstallShortcut : DesktopShortcut;
    LogEntry& entry = Append(NewEntries, type);
    JournalRecord record;
    record.Kind = JournalRecordKind::CreateShortcut;
    record.Target = linkPath.empty() ? folder : linkPath;
    record.Detail = kind;

    for (const LogEntry& previous : PreviousEntries) {
        if (previous.Type != type)
            continue;
        if (!previous.Path.empty() && IsExistingFile(previous.Path) && IsOwnShortcutPlace(previous.Path, folder)) {
            if (Disk && Disk->IsOpen()) {
                DWORD error = ERROR_SUCCESS;
                std::wstring backup = Disk->BackupPathFor(previous.Path, error);
                if (!backup.empty()) {
                    if (record.Target.empty())
                        record.Target = previous.Path;  // nowhere to make the new one: only the move is undone
                    record.Backup = backup;
                    record.Source = previous.Path;
                    entry.JournalSequence = Announce(record, true);
                    if (JournalError == ERROR_SUCCESS && TakeBackup(previous.Path, backup, false) == ERROR_SUCCESS)
                        entry.BackupPath = std::move(backup);
                }
            } else {
                entry.BackupPath = BackupToTemp(&previous.Path, false);
            }
            if (!entry.BackupPath.empty())
                entry.BackupSource = previous.Path;
        }
        break;
    }
    // Without a folder the shortcut is not made at all: nothing to announce.
    if (record.Backup.empty() && !record.Target.empty())
        entry.JournalSequence = Announce(record, false);
}

DWORD UninstallLog::RecordUninstallKey(HKEY existingKey)
{
    std::wstring backup;
    std::uint32_t sequence = 0;
    const bool onDisk = Disk && Disk->IsOpen();
    JournalRecord record;
    record.Kind = JournalRecordKind::SaveKey;
    record.Target = std::wstring(L"HKEY_LOCAL_MACHINE\\") + kUninstallRoot + L"\\" + ProductKey();
    if (existingKey) {
        // An entry without a backup stands for a key that did not exist, and
        // the rollback deletes it: a key that cannot be saved gets none.
        DWORD error = ERROR_SUCCESS;
        backup = onDisk ? Disk->BackupPathFor(Disk->RunFolder(), error) : BackupToTemp(nullptr, false, &error);
        if (backup.empty()) {
            AwaitingOutcome = false;
            return error;
        }
        // The save refuses an existing file: the reserved name is freed just
        // before it, and a name another process takes meanwhile fails it.
        // On disk the key is saved whole under another name first.
        const std::wstring saveTo = onDisk ? backup + L".part" : backup;
        ::DeleteFileW(saveTo.c_str());
        if (onDisk) {
            record.ExistedBefore = true;
            record.Backup = backup;
            sequence = Announce(record, true);
        }
        const bool privileged = SetPrivilege(SE_BACKUP_NAME, true);
        const DWORD fault = FaultPoint("save registry key", ERROR_ACCESS_DENIED);
        KeyResult saved = fault != ERROR_SUCCESS ? KeyResult{KeyOutcome::Failed, static_cast<LSTATUS>(fault)}
                                                 : SaveKeyToFile(existingKey, saveTo);
        if (privileged)
            SetPrivilege(SE_BACKUP_NAME, false);
        if (saved.Done() && onDisk && !::MoveFileExW(saveTo.c_str(), backup.c_str(), MOVEFILE_WRITE_THROUGH))
            saved = KeyResult{KeyOutcome::Failed, static_cast<LSTATUS>(::GetLastError())};
        if (saved.Done() && JournalError != ERROR_SUCCESS)
            saved = KeyResult{KeyOutcome::Failed, static_cast<LSTATUS>(JournalError)};
        if (!saved.Done()) {
            DiscardBackup(saveTo);
            DiscardBackup(backup);
            AwaitingOutcome = false;
            return saved.Code != ERROR_SUCCESS ? static_cast<DWORD>(saved.Code) : DWORD{ERROR_GEN_FAILURE};
        }
    } else {
        sequence = Announce(record, false);
    }
    AwaitingOutcome = true;
    LogEntry& entry = Append(NewEntries, UninstallKey);
    entry.BackupPath = std::move(backup);
    entry.JournalSequence = sequence;
    return ERROR_SUCCESS;
}

void UninstallLog::RecordFileTypes(const std::wstring& program)
{
    JournalRecord record;
    record.Kind = JournalRecordKind::RegisterFileTypes;
    record.Target = program.empty() ? std::wstring(L"-") : program;
    record.ExistedBefore = HasRegisteredFileTypes(PreviousEntries);
    const std::uint32_t sequence = Announce(record, true);
    AwaitingOutcome = true;
    Append(NewEntries, FileTypes).JournalSequence = sequence;
}

void UninstallLog::RecordDirectX()
{
    JournalRecord record;
    record.Kind = JournalRecordKind::RunDirectX;
    const std::uint32_t sequence = Announce(record, false);
    AwaitingOutcome = true;
    Append(NewEntries, DirectXRuntime).JournalSequence = sequence;
}

void UninstallLog::CommitOutcome(std::uint8_t outcome, const std::wstring* path)
{
    if (!AwaitingOutcome)
        return;
    AwaitingOutcome = false;
    if (NewEntries.empty())
        return;
    LogEntry& tail = NewEntries.back();
    tail.Outcome = outcome;
    if (path)
        tail.Path = *path;
}

bool UninstallLog::PreviousDirectXDone() const
{
    for (const LogEntry& entry : PreviousEntries) {
        if (entry.Type == DirectXRuntime && entry.Outcome == 1)
            return true;
    }
    return false;
}

}  // namespace va
