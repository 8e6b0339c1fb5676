#include "support/dll_search_order.h"

#include <string>

namespace va {
namespace {

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);

std::wstring SystemFolder()
{
    wchar_t buffer[MAX_PATH + 1] = {};
    const UINT length = ::GetSystemDirectoryW(buffer, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH)
        return {};
    return std::wstring(buffer, length);
}

// Systems without the search flags (Vista and 7 before their loader update)
// refuse them with ERROR_INVALID_PARAMETER.
bool FlagsUnsupported()
{
    return ::GetLastError() == ERROR_INVALID_PARAMETER;
}

}  // namespace

bool RestrictDllSearchToSystemFolder()
{
    // Looked up: a static import would keep the programs from starting on a
    // system without it.
    HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    const auto setDefault = kernel ? reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void*>(
                                         ::GetProcAddress(kernel, "SetDefaultDllDirectories")))
                                   : nullptr;
    ::SetDllDirectoryW(L"");
    return setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

HMODULE LoadSystemLibrary(const wchar_t* name)
{
    HMODULE module = ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module || !FlagsUnsupported())
        return module;
    const std::wstring folder = SystemFolder();
    if (folder.empty())
        return nullptr;
    const std::wstring path = folder + L"\\" + name;
    return ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

HMODULE LoadLibraryFromFolder(const std::wstring& path)
{
    return ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace va

