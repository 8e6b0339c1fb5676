#pragma once
// Where the stand-in programs of this build tree lie, and how tests start
// them.  The stand-ins are in <tree>\standins, a test program somewhere
// below <tree>.

#include <windows.h>

#include <string>

#include "support/handles.h"

namespace va::test {

inline std::wstring StandinsFolder()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    for (size_t slash; (slash = folder.find_last_of(L'\\')) != std::wstring::npos;) {
        folder.erase(slash);
        const DWORD attributes = ::GetFileAttributesW((folder + L"\\standins").c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return folder + L"\\standins";
    }
    return L"standins";
}

// `relative` below the stand-ins folder, e.g. L"dsetup-old\\DSetup.dll".
inline std::wstring StandinPath(const std::wstring& relative)
{
    return StandinsFolder() + L"\\" + relative;
}

// Runs a command line to its end; the exit code, or STILL_ACTIVE when the
// program could not be started.
inline DWORD RunToEnd(const std::wstring& commandLine)
{
    std::wstring line = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
        return STILL_ACTIVE;
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(process.hProcess, &code);
    return code;
}

inline std::wstring Quoted(const std::wstring& path)
{
    return L"\"" + path + L"\"";
}

}  // namespace va::test
