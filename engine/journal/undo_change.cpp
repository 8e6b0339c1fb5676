#include "engine/journal/undo_change.h"

#include "identity/core/product.h"
#include "identity/core/registry_locations.h"
#include "engine/journal/backup_file.h"
#include "engine/journal/privilege.h"
#include "support/handles.h"
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

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

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

}  // namespace

DWORD UndoCreatedFolder(const std::wstring& path)
{
    ::RemoveDirectoryW(path.c_str());
    return ERROR_SUCCESS;
}

DWORD UndoPlacedFile(const std::wstring& path, const std::wstring& backup, const std::wstring& source)
{
    // The new file is deleted before its backup goes back: a backup that is
    // gone was never taken (the file was not touched) or is back already.
    if (!backup.empty() && !Exists(backup))
        return ERROR_SUCCESS;
    DWORD error = ERROR_SUCCESS;
    if (!path.empty()) {
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!::DeleteFileW(path.c_str())) {
            const DWORD failure = LastErrorOrFailure();
            if (failure != ERROR_FILE_NOT_FOUND && failure != ERROR_PATH_NOT_FOUND)
                error = failure;
        }
    }
    if (backup.empty())
        return error;
    // Back where it came from: for a shortcut that may not be the new one's
    // place, and a failed shortcut has no place of its own.
    const std::wstring& target = source.empty() ? path : source;
    if (target.empty()) {
        DiscardBackup(backup);  // nowhere to go back to
        return error;
    }
    if (!RestoreBackup(backup, target))
        return LastErrorOrFailure();
    return error;
}

DWORD UndoUninstallKey(const std::wstring& backup, std::wstring& keyName)
{
    const std::wstring productKey = ProductKey();
    keyName = std::wstring(kUninstallRoot) + L"\\" + productKey;

    DWORD error = ERROR_SUCCESS;
    UniqueKey uninstall;
    const KeyResult root = OpenRegistryKey(HKEY_LOCAL_MACHINE, kUninstallRoot, KEY_ALL_ACCESS, uninstall);
    if (backup.empty()) {
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
    // Saved before the key was touched, and discarded once put back.
    if (!Exists(backup))
        return ERROR_SUCCESS;

    KeyRestorePrivileges privileges;
    if (!privileges.held()) {
        error = ERROR_PRIVILEGE_NOT_HELD;
    } else if (!root.Done()) {
        error = ErrorOf(root);
    } else {
        UniqueKey product;
        KeyResult result = OpenRegistryKey(uninstall.get(), productKey, KEY_ALL_ACCESS, product);
        if (result.Outcome == KeyOutcome::Missing) {
            DWORD disposition = 0;
            const LSTATUS created = ::RegCreateKeyExW(uninstall.get(), productKey.c_str(), 0, nullptr,
                                                      REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                                      product.put(), &disposition);
            result = created == ERROR_SUCCESS ? KeyResult{KeyOutcome::Done, ERROR_SUCCESS}
                                              : KeyResult{KeyOutcome::Failed, created};
        }
        if (result.Done())
            result = RestoreKeyFromFile(product.get(), backup);
        if (!result.Done())
            error = ErrorOf(result);
    }
    if (error == ERROR_SUCCESS)
        DiscardBackup(backup);
    return error;
}

DWORD UndoWrittenValue(const std::wstring& key, const std::wstring& name, bool existed, DWORD type,
                       const std::string& data)
{
    const std::wstring prefix = kMachineRootName;
    if (key.size() <= prefix.size() || key.compare(0, prefix.size(), prefix) != 0)
        return ERROR_INVALID_DATA;
    const std::wstring subkey = key.substr(prefix.size());
    UniqueKey opened;
    if (existed) {
        if (const LSTATUS status = ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, nullptr,
                                                     REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, opened.put(),
                                                     nullptr);
            status != ERROR_SUCCESS)
            return static_cast<DWORD>(status);
        return static_cast<DWORD>(::RegSetValueExW(opened.get(), name.c_str(), 0, type,
                                                   reinterpret_cast<const BYTE*>(data.data()),
                                                   static_cast<DWORD>(data.size())));
    }
    const LSTATUS status =
        ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, KEY_QUERY_VALUE | KEY_SET_VALUE, opened.put());
    if (status == ERROR_FILE_NOT_FOUND)
        return ERROR_SUCCESS;
    if (status != ERROR_SUCCESS)
        return static_cast<DWORD>(status);
    const LSTATUS deleted = ::RegDeleteValueW(opened.get(), name.c_str());
    if (deleted != ERROR_SUCCESS && deleted != ERROR_FILE_NOT_FOUND)
        return static_cast<DWORD>(deleted);
    // The key goes only while it holds nothing: RegDeleteKeyW refuses one
    // with subkeys, and a value someone else wrote keeps it.
    DWORD values = 0;
    const bool empty = ::RegQueryInfoKeyW(opened.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                                          nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
                       values == 0;
    opened.reset();
    if (empty)
        ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, subkey.c_str());
    return ERROR_SUCCESS;
}

}  // namespace va
