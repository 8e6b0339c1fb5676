// The fault-injection flavour of the installer: the same program with this
// one file more.  It numbers the fault points (support/fault_point.h) in
// the order the run meets them and, as the environment asks:
//   TRELVANE_FAULT_POINT=N   point N fails once, with its operation's error;
//   TRELVANE_FAULT_REPORT=F  one line per point is appended to the file F,
//                            "N passed|failed operation", so that a run
//                            without a failing point counts the points;
//   TRELVANE_FAULT_PAUSE=N   the run stops at point N, reports "N paused"
//                            and waits to be killed;
//   TRELVANE_STOP_AFTER_RECOVERY=1  the run ends (exit code 0) right after
//                            the start-up recovery of interrupted runs, so
//                            that the machine can be looked at then.
// The shipped installer does not contain this file.

#include <windows.h>

#include <cstdlib>
#include <string>

#include "support/fault_point.h"
#include "support/handles.h"

namespace {

unsigned long g_failAt = 0;
unsigned long g_pauseAt = 0;
unsigned long g_count = 0;
std::wstring g_report;

std::wstring Variable(const wchar_t* name)
{
    wchar_t value[1024] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, value, 1024);
    return length > 0 && length < 1024 ? std::wstring(value, length) : std::wstring();
}

unsigned long Number(const wchar_t* name)
{
    const std::wstring text = Variable(name);
    return text.empty() ? 0 : std::wcstoul(text.c_str(), nullptr, 10);
}

// Opened and closed per line: the lines must be there whenever the run
// ends, killed included.
void Report(unsigned long number, const char* what, const char* operation)
{
    if (g_report.empty())
        return;
    va::UniqueFile file(::CreateFileW(g_report.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return;
    const std::string line = std::to_string(number) + " " + what + " " + operation + "\n";
    DWORD written = 0;
    ::WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

DWORD Hook(const char* operation, DWORD failure)
{
    const DWORD saved = ::GetLastError();
    const unsigned long number = ++g_count;
    if (number == g_pauseAt) {
        Report(number, "paused", operation);
        for (;;)
            ::Sleep(INFINITE);
    }
    const bool fail = number == g_failAt;
    Report(number, fail ? "failed" : "passed", operation);
    ::SetLastError(saved);
    return fail ? failure : ERROR_SUCCESS;
}

bool g_stopAfterRecovery = false;

void Milestone(const char* name)
{
    if (g_stopAfterRecovery && std::string(name) == "recovered")
        ::ExitProcess(0);
}

struct HookInstallation {
    HookInstallation()
    {
        g_failAt = Number(L"TRELVANE_FAULT_POINT");
        g_pauseAt = Number(L"TRELVANE_FAULT_PAUSE");
        g_report = Variable(L"TRELVANE_FAULT_REPORT");
        g_stopAfterRecovery = Variable(L"TRELVANE_STOP_AFTER_RECOVERY") == L"1";
        va::SetFaultHook(Hook);
        va::SetMilestoneHook(Milestone);
    }
};

const HookInstallation installation;

}  // namespace
