// Helper process for the support tests.  Modes:
//   hold <id> <ready> <count> <counted> <release>
//                                        register under <id>, signal <ready>, count on
//                                        <count>, signal <counted>, exit with the count on <release>
//   linger <id> <ready>                  register under <id>, signal <ready>, sleep (to be killed)
//   try-mutex <name>                     exit 1 when the instance mutex could be taken, else 0
//   no-sse2                              the processor check on a processor without SSE2
//   old-comctl                           the support start-up with Common Controls 5.82

#include <windows.h>

#include <string>

#include "support/instance_counter.h"
#include "support/instance_mutex.h"
#include "support/startup.h"
#include "support/system_checks.h"

namespace {

HANDLE OpenEventByName(const wchar_t* name)
{
    return ::OpenEventW(EVENT_MODIFY_STATE | SYNCHRONIZE, FALSE, name);
}

BOOL WINAPI NoSse2(DWORD)
{
    return FALSE;
}

DWORD OldCommonControls()
{
    return 0x50052;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 100;
    const std::wstring mode = argv[1];

    if (mode == L"hold" && argc == 7) {
        va::InstanceCounter counter;
        counter.Register(argv[2]);
        ::SetEvent(OpenEventByName(argv[3]));
        ::WaitForSingleObject(OpenEventByName(argv[4]), 60000);
        const long count = counter.Count();
        ::SetEvent(OpenEventByName(argv[5]));
        ::WaitForSingleObject(OpenEventByName(argv[6]), 60000);
        return static_cast<int>(count);
    }
    if (mode == L"linger" && argc == 4) {
        va::InstanceCounter counter;
        counter.Register(argv[2]);
        ::SetEvent(OpenEventByName(argv[3]));
        ::Sleep(INFINITE);
    }
    if (mode == L"try-mutex" && argc == 3) {
        va::InstanceMutex mutex;
        mutex.Create(argv[2], false);
        return mutex.Acquire() ? 1 : 0;
    }
    if (mode == L"no-sse2") {
        va::CheckProcessor(NoSse2);
        return 0;
    }
    if (mode == L"old-comctl") {
        va::StartupSteps steps;
        steps.commonControlsVersion = OldCommonControls;
        va::RunSupportStartup(steps);
        return 0;
    }
    return 100;
}
