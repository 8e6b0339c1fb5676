#include "uninstaller/file_types.h"

#include <shlobj.h>

#include "support/handles.h"
#include "support/instance_mutex.h"
#include "support/message_pump.h"
#include "uninstaller/core/path_rules.h"

namespace va::uninstall {

Unregistration RunUnregistration(const std::wstring& program, InstanceMutex& mutex)
{
    std::wstring commandLine = L"\"" + program + L"\" /Unregister /Background";
    const std::wstring folder = ParentOf(program);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNOACTIVATE;
    PROCESS_INFORMATION info{};

    Unregistration run;
    mutex.Release();
    const BOOL started = ::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                          folder.empty() ? nullptr : folder.c_str(), &startup, &info);
    run.error = started ? ERROR_SUCCESS : ::GetLastError();
    if (started) {
        const ProcessHandles handles(info);
        DWORD code = 0;
        if (WaitPumpingMessages(handles.process.get()) != WAIT_FAILED &&
            ::GetExitCodeProcess(handles.process.get(), &code))
            run.exitCode = code;
        else
            run.error = ::GetLastError();
    }
    // An installer started meanwhile holds the mutex until it ends; going on
    // beside it would remove what it is placing.
    const DWORD wait = WaitPumpingMessages(mutex.handle());
    if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) {
        mutex.MarkOwned();
        run.mutexTakenBack = true;
    } else if (run.error == ERROR_SUCCESS) {
        run.error = ::GetLastError();
    }
    if (started)
        ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_FLUSH, nullptr, nullptr);
    return run;
}

}  // namespace va::uninstall
