#include "support/startup.h"

#include <comdef.h>
#include <commctrl.h>

#include <cstdlib>
#include <exception>
#include <system_error>

#include "support/instance_counter.h"

namespace va {
namespace {

std::wstring& ApplicationIdStorage()
{
    static std::wstring id;
    return id;
}

void WINAPI RaiseComError(HRESULT hr, IErrorInfo*)
{
    throw std::system_error(static_cast<int>(hr), std::system_category());
}

void RunSteps(const StartupSteps& steps)
{
    ::SetErrorMode(::GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);

    if (steps.setUpProcessLocale && !steps.setUpProcessLocale())
        InitializationError();

    try {
        CheckCommonControls(steps.commonControlsVersion);

        INITCOMMONCONTROLSEX classes{};
        classes.dwSize = sizeof(classes);
        classes.dwICC = 0xC0FF;
        ::InitCommonControlsEx(&classes);

        if (steps.determineApplicationId)
            ApplicationIdStorage() = steps.determineApplicationId();

        RegisterInstance(ApplicationIdStorage());

        _set_com_error_handler(RaiseComError);
    } catch (...) {
        InitializationError();
    }
}

}  // namespace

void InitializationError()
{
    if (!StartupBoxesSilenced)
        ::MessageBoxW(nullptr, L"Initialization Error", nullptr, MB_SETFOREGROUND | MB_TASKMODAL | MB_ICONERROR);
    // exit, not ExitProcess: the registered clean-up (the instance counter) runs.
    std::exit(-11);
}

void RunSupportStartup(const StartupSteps& steps)
{
    static INIT_ONCE once = INIT_ONCE_STATIC_INIT;
    BOOL pending = FALSE;
    if (!::InitOnceBeginInitialize(&once, 0, &pending, nullptr))
        std::abort();
    if (!pending)
        return;
    RunSteps(steps);
    if (!::InitOnceComplete(&once, 0, nullptr))
        std::abort();
}

const std::wstring& ApplicationId()
{
    return ApplicationIdStorage();
}

}  // namespace va
