#include "support/registry_backup.h"

#include <shlwapi.h>

namespace va {
namespace {

KeyResult ResultOf(LSTATUS code)
{
    if (code == ERROR_SUCCESS)
        return {KeyOutcome::Done, code};
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND)
        return {KeyOutcome::Missing, code};
    return {KeyOutcome::Failed, code};
}

}  // namespace

KeyResult OpenRegistryKey(HKEY parent, const std::wstring& subkey, REGSAM access, UniqueKey& key)
{
    return ResultOf(::RegOpenKeyExW(parent, subkey.c_str(), 0, access, key.put()));
}

KeyResult SaveKeyToFile(HKEY key, const std::wstring& file)
{
    return ResultOf(::RegSaveKeyW(key, file.c_str(), nullptr));
}

KeyResult RestoreKeyFromFile(HKEY key, const std::wstring& file)
{
    return ResultOf(::RegRestoreKeyW(key, file.c_str(), 0));
}

KeyResult DeleteKeyTree(HKEY parent, const std::wstring& subkey)
{
    return ResultOf(static_cast<LSTATUS>(::SHDeleteKeyW(parent, subkey.c_str())));
}

}  // namespace va
