#include <shlobj.h>
#include <shlwapi.h>

#include "engine/journal/backup_file.h"
#include "engine/journal/privilege.h"
#include "engine/journal/same_path.h"
#include "engine/journal/uninstall_log.h"
#include "support/core/path_text.h"
#include "support/fault_point.h"
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
            if (FaultPoint("create folder", ERROR_ACCESS_DENIED) != ERROR_SUCCESS ||
                !::CreateDirectoryW(buffer, nullptr)) {
                const DWORD error = ::GetLastError();
                return error != ERROR_SUCCESS ? error : DWORD{ERROR_GEN_FAILURE};
            }
            ::SHChangeNotify(SHCNE_MKDIR, SHCNF_PATHW, buffer, nullptr);
            LogEntry& entry = Append(NewEntries, CreatedFolder);
            entry.Path = buffer;
            entry.Outcome = 1;
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
    if (IsExistingFile(path)) {
        // Without a backup the rollback would delete a file it cannot put
        // back: no entry, and nothing awaits an outcome.
        DWORD error = ERROR_SUCCESS;
        backup = BackupToTemp(&path, copy, &error);
        if (backup.empty()) {
            AwaitingOutcome = false;
            return error;
        }
    }
    AwaitingOutcome = true;
    LogEntry& entry = Append(NewEntries, InstalledFile);
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

void UninstallLog::RecordShortcut(int kind, const std::wstring& folder)
{
    AwaitingOutcome = true;
    RecordFolders(folder);
    const std::int32_t type = kind == 0 ? ProgramShortcut : kind == 1 ? UninstallShortcut : DesktopShortcut;
    LogEntry& entry = Append(NewEntries, type);

    for (const LogEntry& previous : PreviousEntries) {
        if (previous.Type != type)
            continue;
        if (!previous.Path.empty() && IsExistingFile(previous.Path) && IsOwnShortcutPlace(previous.Path, folder)) {
            entry.BackupPath = BackupToTemp(&previous.Path, false);
            if (!entry.BackupPath.empty())
                entry.BackupSource = previous.Path;
        }
        break;
    }
}

DWORD UninstallLog::RecordUninstallKey(HKEY existingKey)
{
    std::wstring backup;
    if (existingKey) {
        // An entry without a backup stands for a key that did not exist, and
        // the rollback deletes it: a key that cannot be saved gets none.
        DWORD error = ERROR_SUCCESS;
        backup = BackupToTemp(nullptr, false, &error);
        if (backup.empty()) {
            AwaitingOutcome = false;
            return error;
        }
        // The save refuses an existing file: the reserved name is freed just
        // before it, and a name another process takes meanwhile fails it.
        ::DeleteFileW(backup.c_str());
        const bool privileged = SetPrivilege(SE_BACKUP_NAME, true);
        const DWORD fault = FaultPoint("save registry key", ERROR_ACCESS_DENIED);
        const KeyResult saved =
            fault != ERROR_SUCCESS ? KeyResult{KeyOutcome::Failed, static_cast<LSTATUS>(fault)}
                                   : SaveKeyToFile(existingKey, backup);
        if (privileged)
            SetPrivilege(SE_BACKUP_NAME, false);
        if (!saved.Done()) {
            DiscardBackup(backup);
            AwaitingOutcome = false;
            return saved.Code != ERROR_SUCCESS ? static_cast<DWORD>(saved.Code) : DWORD{ERROR_GEN_FAILURE};
        }
    }
    AwaitingOutcome = true;
    Append(NewEntries, UninstallKey).BackupPath = std::move(backup);
    return ERROR_SUCCESS;
}

void UninstallLog::RecordFileTypes()
{
    AwaitingOutcome = true;
    Append(NewEntries, FileTypes);
}

void UninstallLog::RecordDirectX()
{
    AwaitingOutcome = true;
    Append(NewEntries, DirectXRuntime);
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
