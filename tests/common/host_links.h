#pragma once
// Folder links for tests that must meet one.  Where the system can make a
// symbolic link itself (Windows, as administrator) it does; under Wine,
// which cannot, the link is made on the host side (a symbolic link under the
// prefix's drive), which Wine reads back as a reparse point: the test starts
// the host's own "ln" through Wine.  Each helper is true only when the link
// reads back as a reparse point afterwards.

#include <windows.h>

#include <string>
#include <vector>

#include "support/handles.h"
#include "tests/common/reparse_points.h"

namespace va::test {

namespace host_links_detail {

using UnixNameFn = char*(CDECL*)(LPCWSTR);
using SpawnFn = LONG(CDECL*)(char* const argv[], int wait);

template <class Fn>
Fn WineFunction(const wchar_t* module, const char* name)
{
    HMODULE loaded = ::GetModuleHandleW(module);
    return loaded ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(loaded, name))) : nullptr;
}

// The host's name of `path`; empty outside Wine.
inline std::string UnixName(const std::wstring& path)
{
    const auto convert = WineFunction<UnixNameFn>(L"kernel32.dll", "wine_get_unix_file_name");
    char* name = convert ? convert(path.c_str()) : nullptr;
    if (!name)
        return {};
    std::string text = name;
    ::HeapFree(::GetProcessHeap(), 0, name);
    return text;
}

// Runs a host program (argv[0] a host path) and waits for it; false when
// it could not be started.
inline bool RunHostTool(std::vector<std::string> argv)
{
    const auto spawn = WineFunction<SpawnFn>(L"ntdll.dll", "__wine_unix_spawnvp");
    if (!spawn)
        return false;
    std::vector<char*> pointers;
    for (std::string& argument : argv)
        pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    return spawn(pointers.data(), 1) == 0;
}

}  // namespace host_links_detail

namespace host_links_detail {

inline bool MakeLink(const std::wstring& link, const std::wstring& target, DWORD flags)
{
    const std::string unixLink = UnixName(link);
    const std::string unixTarget = UnixName(target);
    if (!unixLink.empty() && !unixTarget.empty()) {
        RunHostTool({"/bin/ln", "-s", unixTarget, unixLink});
        return IsReparsePointOnDisk(link);
    }
    return ::CreateSymbolicLinkW(link.c_str(), target.c_str(), flags) && IsReparsePointOnDisk(link);
}

}  // namespace host_links_detail

// A symbolic link at `link` (which must not exist) to the folder `target`.
inline bool MakeFolderLink(const std::wstring& link, const std::wstring& target)
{
    return host_links_detail::MakeLink(link, target, SYMBOLIC_LINK_FLAG_DIRECTORY);
}

// A symbolic link at `link` (which must not exist) to the file `target`.
inline bool MakeFileLink(const std::wstring& link, const std::wstring& target)
{
    return host_links_detail::MakeLink(link, target, 0);
}

// Removes the link itself (to a folder or a file), never what it points to.
inline void RemoveFolderLink(const std::wstring& link)
{
    using namespace host_links_detail;
    if (!IsReparsePointOnDisk(link))
        return;
    const std::string unixLink = UnixName(link);
    if (!unixLink.empty())
        RunHostTool({"/bin/rm", "-f", unixLink});
    else if (!::RemoveDirectoryW(link.c_str()))
        ::DeleteFileW(link.c_str());
}

}  // namespace va::test
