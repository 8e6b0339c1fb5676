#include <stdexcept>

#include "app/identity/core/product.h"
#include "app/identity/core/registry_locations.h"
#include "engine/journal/backup_file.h"
#include "engine/journal/privilege.h"
#include "engine/journal/uninstall_log.h"
#include "support/registry_backup.h"

namespace va {
namespace {

void UndoUninstallKey(const LogEntry& entry)
{
    std::wstring productKey;
    try {
        productKey = ProductKey();
    } catch (const std::logic_error&) {
        // A product without a key has nothing to undo here.
    }
    SetPrivilege(SE_RESTORE_NAME, true);
    UniqueKey uninstall;
    if (!productKey.empty() &&
        OpenRegistryKey(HKEY_LOCAL_MACHINE, kUninstallRoot, KEY_ALL_ACCESS, uninstall).Done()) {
        if (!entry.BackupPath.empty()) {
            UniqueKey product;
            if (OpenRegistryKey(uninstall.get(), productKey, KEY_ALL_ACCESS, product).Done())
                RestoreKeyFromFile(product.get(), entry.BackupPath);
        } else {
            DeleteKeyTree(uninstall.get(), productKey);
        }
    }
    // The saved key is of no use once the rollback has passed.
    if (!entry.BackupPath.empty())
        DiscardBackup(entry.BackupPath);
    SetPrivilege(SE_RESTORE_NAME, false);
}

void UndoFile(const LogEntry& entry)
{
    if (!entry.Path.empty()) {
        ::SetFileAttributesW(entry.Path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(entry.Path.c_str());
    }
    if (entry.BackupPath.empty())
        return;
    // Back where it came from: for a shortcut that may not be the new one's
    // place, and a failed shortcut has no place of its own.
    const std::wstring& target = entry.BackupSource.empty() ? entry.Path : entry.BackupSource;
    if (target.empty())
        DiscardBackup(entry.BackupPath);  // nowhere to go back to
    else
        RestoreBackup(entry.BackupPath, target);
}

}  // namespace

void UninstallLog::Rollback()
{
    while (!NewEntries.empty()) {
        const LogEntry& entry = NewEntries.back();
        if (UndoObserver)
            UndoObserver(entry);
        switch (entry.Type) {
        case CreatedFolder:
            ::RemoveDirectoryW(entry.Path.c_str());
            break;
        case UninstallKey:
            UndoUninstallKey(entry);
            break;
        case InstalledFile:
        case ProgramShortcut:
        case UninstallShortcut:
        case DesktopShortcut:
            UndoFile(entry);
            break;
        default:
            break;  // file types and the DirectX runtime are not undone
        }
        NewEntries.pop_back();
    }
    AwaitingOutcome = false;
}

}  // namespace va
