// The product's main program as far as the installer sees it: its version
// resource, its registration under the shared application identity, and the
// file-type registration it performs when the installer starts it with
// "/Register /Background", and takes back with "/Unregister /Background"
// when the uninstaller starts it.  Exit code -10 reports success of either.
//
// Every registration run is recorded under HKEY_CURRENT_USER
// "Software\Vantaro\Test\Trelvane stand-in" (command line, working folder,
// exit code, start-up flags, show command, priority class) so that tests can
// see how it was started.

#include <windows.h>

#include <string>

#include "identity/application_id.h"
#include "command_line.h"
#include "file_types.h"
#include "identity_window.h"
#include "standin_version.h"
#include "support/handles.h"
#include "support/instance_counter.h"
#include "support/instance_mutex.h"

namespace {

constexpr int kRegistered = -10;
constexpr int kRegistryFailed = 1;
constexpr int kBadArguments = 2;
constexpr int kInstanceBusy = 3;

constexpr wchar_t kRecordKey[] = L"Software\\Vantaro\\Test\\Trelvane stand-in";

void SetString(HKEY key, const wchar_t* name, const std::wstring& data)
{
    ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                     static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

void SetDword(HKEY key, const wchar_t* name, DWORD value)
{
    ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

void RecordRun(int exitCode)
{
    va::UniqueKey key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kRecordKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_SET_VALUE, nullptr, key.put(), nullptr) != ERROR_SUCCESS)
        return;
    wchar_t folder[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, folder);
    SetString(key.get(), L"CommandLine", ::GetCommandLineW());
    SetString(key.get(), L"WorkingFolder", folder);
    SetString(key.get(), L"Version", STANDIN_VERSION_DOTTED_W);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    ::GetStartupInfoW(&startup);
    SetDword(key.get(), L"ProcessId", ::GetCurrentProcessId());
    SetDword(key.get(), L"ExitCode", static_cast<DWORD>(exitCode));
    SetDword(key.get(), L"StartupFlags", startup.dwFlags);
    SetDword(key.get(), L"ShowCommand", startup.wShowWindow);
    SetDword(key.get(), L"PriorityClass", ::GetPriorityClass(::GetCurrentProcess()));
}

int Register(HINSTANCE instance, const std::wstring& applicationId)
{
    // The installer lets go of the shared mutex while the product registers;
    // one that still holds it is working, and we must not run beside it.
    va::InstanceMutex mutex;
    mutex.Create(va::InstanceMutexName(applicationId), false);
    if (!mutex.Acquire())
        return kInstanceBusy;
    return standin::RegisterFileTypes(instance, va::ProgramPath()) == ERROR_SUCCESS ? kRegistered
                                                                                    : kRegistryFailed;
}

int Unregister(HINSTANCE instance, const std::wstring& applicationId)
{
    // The uninstaller lets go of the mutex the same way while we run.
    va::InstanceMutex mutex;
    mutex.Create(va::InstanceMutexName(applicationId), false);
    if (!mutex.Acquire())
        return kInstanceBusy;
    return standin::UnregisterFileTypes(instance, va::ProgramPath()) == ERROR_SUCCESS ? kRegistered
                                                                                      : kRegistryFailed;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    const std::wstring applicationId = va::DetermineApplicationId();
    va::RegisterInstance(applicationId);

    const standin::Options options = standin::ParseArguments(standin::ProcessArguments());
    if (!options.valid || options.registerTypes || options.unregisterTypes) {
        const int code = !options.valid          ? kBadArguments
                         : options.registerTypes ? Register(instance, applicationId)
                                                 : Unregister(instance, applicationId);
        RecordRun(code);
        return code;
    }
    return standin::RunIdentityWindow(instance, show);
}
