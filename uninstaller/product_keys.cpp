#include "uninstaller/product_keys.h"

#include <string>

#include "identity/core/product.h"
#include "identity/core/registry_locations.h"
#include "support/handles.h"
#include "support/registry_backup.h"

namespace va::uninstall {
namespace {

DWORD KeepFirst(DWORD first, DWORD error)
{
    return first != ERROR_SUCCESS ? first : error;
}

DWORD ErrorOf(const KeyResult& result)
{
    return result.Outcome == KeyOutcome::Failed ? static_cast<DWORD>(result.Code) : ERROR_SUCCESS;
}

DWORD RemovePathValueAndEmptyMakerKey(const std::wstring& productKey)
{
    UniqueKey maker;
    const KeyResult opened = OpenRegistryKey(HKEY_LOCAL_MACHINE, kMakerKey, KEY_QUERY_VALUE | KEY_SET_VALUE, maker);
    if (!opened.Done())
        return ErrorOf(opened);
    const std::wstring valueName = productKey + L" Path";
    LSTATUS error = ::RegDeleteValueW(maker.get(), valueName.c_str());
    if (error == ERROR_FILE_NOT_FOUND)
        error = ERROR_SUCCESS;
    DWORD subkeys = 0;
    DWORD values = 0;
    if (::RegQueryInfoKeyW(maker.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                           nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return static_cast<DWORD>(error);
    maker.reset();
    // Other products of the maker keep it alive.
    if (subkeys == 0 && values == 0) {
        const LSTATUS deleted = ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kMakerKey);
        if (deleted != ERROR_SUCCESS && deleted != ERROR_FILE_NOT_FOUND)
            return KeepFirst(static_cast<DWORD>(error), static_cast<DWORD>(deleted));
    }
    return static_cast<DWORD>(error);
}

}  // namespace

DWORD RemoveProductKeys()
{
    const std::wstring productKey = ProductKey();
    DWORD first = ERROR_SUCCESS;
    UniqueKey uninstall;
    const KeyResult opened = OpenRegistryKey(HKEY_LOCAL_MACHINE, kUninstallRoot, KEY_ALL_ACCESS, uninstall);
    if (opened.Done())
        first = ErrorOf(DeleteKeyTree(uninstall.get(), productKey));
    else
        first = ErrorOf(opened);
    return KeepFirst(first, RemovePathValueAndEmptyMakerKey(productKey));
}

}  // namespace va::uninstall
