#include "uninstaller/removal.h"

#include <algorithm>

#include "support/handles.h"
#include "uninstaller/core/path_rules.h"

namespace va::uninstall {

bool IsInUse(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED ||
           error == ERROR_USER_MAPPED_FILE;
}

bool PathExists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RestartDeletions::LoadFromSystem()
{
    UniqueKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager", 0,
                        KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
        return;
    DWORD type = 0;
    DWORD size = 0;
    const wchar_t* name = L"PendingFileRenameOperations";
    if (::RegQueryValueExW(key.get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_MULTI_SZ)
        return;
    std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
    if (::RegQueryValueExW(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
        ERROR_SUCCESS)
        return;
    data.resize(size / sizeof(wchar_t));
    // Pairs of a source ("\??\C:\...") and a target; no target: a deletion.
    std::size_t at = 0;
    const auto next = [&data, &at] {
        const std::size_t end = std::min(data.find(L'\0', at), data.size());
        std::wstring text = data.substr(at, end - at);
        at = end + 1;
        return text;
    };
    while (at < data.size()) {
        std::wstring source = next();
        if (source.empty() || at > data.size())
            break;
        const std::wstring target = next();
        if (source.rfind(L"\\??\\", 0) == 0)
            source.erase(0, 4);
        if (target.empty())
            keys_.insert(PathKey(source));
    }
}

bool RestartDeletions::Schedule(const std::wstring& path, DWORD& error)
{
    if (!::MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
        error = ::GetLastError();
        return false;
    }
    keys_.insert(PathKey(path));
    error = ERROR_SUCCESS;
    return true;
}

bool RestartDeletions::Contains(const std::wstring& path) const
{
    return keys_.count(PathKey(path)) != 0;
}

bool RestartDeletions::HoldsOnlyScheduled(const std::wstring& folder) const
{
    WIN32_FIND_DATAW found;
    UniqueFind find(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!find)
        return false;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L".." && !Contains(folder + L"\\" + name))
            return false;
    } while (::FindNextFileW(find.get(), &found));
    return true;
}

}  // namespace va::uninstall
