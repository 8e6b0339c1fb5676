#include "engine/steps/file_type_withdrawal.h"

#include <windows.h>

#include "engine/steps/file_type_registration.h"
#include "engine/steps/message_pump.h"
#include "support/core/path_text.h"
#include "support/handles.h"
#include "support/instance_mutex.h"

namespace va {

bool WithdrawFileTypes(const std::wstring& mainProgramPath, InstanceMutex& mutex)
{
    if (mainProgramPath.empty() || mainProgramPath.size() >= MAX_PATH)
        return false;
    std::wstring commandLine = L"\"" + mainProgramPath + L"\" /Unregister /Background";
    const std::wstring folder = ParentFolder(mainProgramPath);

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNOACTIVATE;

    // The program takes the shared mutex while it works.
    mutex.Release();
    PROCESS_INFORMATION process{};
    DWORD exitCode = 0;
    if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        UniqueHandle processHandle(process.hProcess);
        UniqueHandle threadHandle(process.hThread);
        if (WaitPumpingMessages(processHandle.get()) == WAIT_FAILED ||
            !::GetExitCodeProcess(processHandle.get(), &exitCode))
            exitCode = 0;
    }
    const DWORD wait = WaitPumpingMessages(mutex.handle());
    const bool owned = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
    if (owned)
        mutex.MarkOwned();
    return owned && exitCode == static_cast<DWORD>(kRegistrationSucceeded);
}

}  // namespace va
