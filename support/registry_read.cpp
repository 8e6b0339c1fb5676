#include "support/registry_read.h"

#include <vector>

#include "support/win_error.h"

namespace va {

UniqueKey OpenKey(HKEY root, const std::wstring& subKey)
{
    UniqueKey key;
    const LSTATUS status = ::RegOpenKeyExW(root, subKey.c_str(), 0, MAXIMUM_ALLOWED, key.put());
    if (status == ERROR_FILE_NOT_FOUND)
        return UniqueKey();
    if (status != ERROR_SUCCESS)
        ThrowWin32(static_cast<DWORD>(status));
    return key;
}

bool ReadString(HKEY key, const std::wstring& name, std::wstring& text)
{
    DWORD type = REG_NONE;
    DWORD size = 0;
    LSTATUS status = ::RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
    if (status == ERROR_FILE_NOT_FOUND)
        return false;
    if (status != ERROR_SUCCESS)
        ThrowWin32(static_cast<DWORD>(status));
    if ((type != REG_SZ && type != REG_EXPAND_SZ) || size % sizeof(wchar_t) != 0)
        return false;
    if (size == 0) {
        text.clear();
        return true;
    }

    std::vector<wchar_t> data(size / sizeof(wchar_t), L'\0');
    DWORD read = size;
    status = ::RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &read);
    if (status != ERROR_SUCCESS)
        ThrowWin32(static_cast<DWORD>(status));
    if (data.back() != L'\0')
        return false;
    text.assign(data.data(), data.size() - 1);
    return true;
}

}  // namespace va
