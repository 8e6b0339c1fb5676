#include "identity/core/product.h"
#include "identity/core/registry_locations.h"
#include "engine/journal/backup_file.h"
#include "engine/journal/privilege.h"
#include "engine/journal/uninstall_log.h"
#include "support/registry_backup.h"

namespace va {
namespace {

DWORD ErrorOf(const KeyResult& result)
{
    return result.Code != ERROR_SUCCESS ? static_cast<DWORD>(result.Code) : DWORD{ERROR_GEN_FAILURE};
}

DWORD LastErrorOrFailure()
{
    const DWORD error = ::GetLastError();
    return error != ERROR_SUCCESS ? error : DWORD{ERROR_GEN_FAILURE};
}

// Both privileges for the time of one restore; each is dropped again only
// when it was enabled here.
class KeyRestorePrivileges {
public:
    KeyRestorePrivileges()
        : backup_(SetPrivilege(SE_BACKUP_NAME, true)), restore_(SetPrivilege(SE_RESTORE_NAME, true))
    {
    }
    ~KeyRestorePrivileges()
    {
        if (restore_)
            SetPrivilege(SE_RESTORE_NAME, false);
        if (backup_)
            SetPrivilege(SE_BACKUP_NAME, false);
    }
    KeyRestorePrivileges(const KeyRestorePrivileges&) = delete;
    KeyRestorePrivileges& operator=(const KeyRestorePrivileges&) = delete;

    bool held() const { return backup_ && restore_; }

private:
    bool backup_;
    bool restore_;
};

// ERROR_SUCCESS when the key is back as it was (or gone, when it did not
// exist before).  A saved key that could not be put back stays saved.
DWORD UndoUninstallKey(const LogEntry& entry, std::wstring& keyName)
{
    const std::wstring productKey = ProductKey();
    keyName = std::wstring(kUninstallRoot) + L"\\" + productKey;

    DWORD error = ERROR_SUCCESS;
    UniqueKey uninstall;
    const KeyResult root = OpenRegistryKey(HKEY_LOCAL_MACHINE, kUninstallRoot, KEY_ALL_ACCESS, uninstall);
    if (entry.BackupPath.empty()) {
        // The key did not exist before this run.
        if (root.Done()) {
            const KeyResult deleted = DeleteKeyTree(uninstall.get(), productKey);
            if (!deleted.Done() && deleted.Outcome != KeyOutcome::Missing)
                error = ErrorOf(deleted);
        } else if (root.Outcome != KeyOutcome::Missing) {
            error = ErrorOf(root);
        }
        return error;
    }

    KeyRestorePrivileges privileges;
    if (!privileges.held()) {
        error = ERROR_PRIVILEGE_NOT_HELD;
    } else if (!root.Done()) {
        error = ErrorOf(root);
    } else {
        UniqueKey product;
        KeyResult result = OpenRegistryKey(uninstall.get(), productKey, KEY_ALL_ACCESS, product);
        if (result.Done())
            result = RestoreKeyFromFile(product.get(), entry.BackupPath);
        if (!result.Done())
            error = ErrorOf(result);
    }
    if (error == ERROR_SUCCESS)
        DiscardBackup(entry.BackupPath);
    return error;
}

// ERROR_SUCCESS when the entry's file is gone and its backup back in place.
DWORD UndoFile(const LogEntry& entry)
{
    DWORD error = ERROR_SUCCESS;
    if (!entry.Path.empty()) {
        ::SetFileAttributesW(entry.Path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!::DeleteFileW(entry.Path.c_str())) {
            const DWORD failure = LastErrorOrFailure();
            if (failure != ERROR_FILE_NOT_FOUND && failure != ERROR_PATH_NOT_FOUND)
                error = failure;
        }
    }
    if (entry.BackupPath.empty())
        return error;
    // Back where it came from: for a shortcut that may not be the new one's
    // place, and a failed shortcut has no place of its own.
    const std::wstring& target = entry.BackupSource.empty() ? entry.Path : entry.BackupSource;
    if (target.empty()) {
        DiscardBackup(entry.BackupPath);  // nowhere to go back to
        return error;
    }
    if (!RestoreBackup(entry.BackupPath, target))
        return LastErrorOrFailure();
    return error;
}

}  // namespace

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
            ::RemoveDirectoryW(entry.Path.c_str());  // a folder still in use stays, as it should
            break;
        case UninstallKey:
            error = UndoUninstallKey(entry, path);
            break;
        case InstalledFile:
        case ProgramShortcut:
        case UninstallShortcut:
        case DesktopShortcut:
            error = UndoFile(entry);
            break;
        default:
            break;  // file types and the DirectX runtime are not undone
        }
        if (error != ERROR_SUCCESS)
            failures.push_back({entry.Type, std::move(path), entry.BackupPath, error});
        NewEntries.pop_back();
    }
    AwaitingOutcome = false;
    return failures;
}

}  // namespace va
