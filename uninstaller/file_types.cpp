#include "uninstaller/file_types.h"

#include <shlobj.h>

#include "support/handles.h"
#include "support/instance_mutex.h"
#include "uninstaller/core/path_rules.h"

namespace va::uninstall {

std::optional<DWORD> RunUnregistration(const std::wstring& program, InstanceMutex& mutex, DWORD& error)
{
    std::wstring commandLine = L"\"" + program + L"\" /Unregister /Background";
    const std::wstring folder = ParentOf(program);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNOACTIVATE;
    PROCESS_INFORMATION info{};

    const bool owned = mutex.owned();
    if (owned)
        mutex.Release();
    const BOOL started = ::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                          folder.empty() ? nullptr : folder.c_str(), &startup, &info);
    error = started ? ERROR_SUCCESS : ::GetLastError();
    std::optional<DWORD> exitCode;
    if (started) {
        const ProcessHandles handles(info);
        ::WaitForSingleObject(handles.process.get(), INFINITE);
        DWORD code = 0;
        if (::GetExitCodeProcess(handles.process.get(), &code))
            exitCode = code;
        else
            error = ::GetLastError();
    }
    if (owned)
        mutex.Acquire();
    if (started)
        ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_FLUSH, nullptr, nullptr);
    return exitCode;
}

}  // namespace va::uninstall
