#include "tests/driver/job.h"

#include <system_error>

namespace va::test {

ProcessGroup::ProcessGroup(const std::wstring& program, const std::wstring& arguments)
{
    job_.reset(::CreateJobObjectW(nullptr, nullptr));
    if (!job_)
        throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), "CreateJobObjectW");
    // Whatever the test leaves running ends with the group.
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    ::SetInformationJobObject(job_.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);

    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    // Suspended until it is in the job, so that nothing it starts escapes.
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                          nullptr, &startup, &info))
        throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), "CreateProcessW");
    first_.handle.reset(info.hProcess);
    first_.id = info.dwProcessId;
    if (!::AssignProcessToJobObject(job_.get(), info.hProcess)) {
        const DWORD error = ::GetLastError();
        ::TerminateProcess(info.hProcess, 1);
        ::CloseHandle(info.hThread);
        throw std::system_error(static_cast<int>(error), std::system_category(), "AssignProcessToJobObject");
    }
    ::ResumeThread(info.hThread);
    ::CloseHandle(info.hThread);
}

ProcessGroup::~ProcessGroup() = default;

DWORD ProcessGroup::Running() const
{
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
    if (!::QueryInformationJobObject(job_.get(), JobObjectBasicAccountingInformation, &accounting, sizeof accounting,
                                     nullptr))
        return 0;
    return accounting.ActiveProcesses;
}

bool ProcessGroup::WaitForAll(DWORD limitMs) const
{
    const ULONGLONG end = ::GetTickCount64() + limitMs;
    while (Running() > 0) {
        if (::GetTickCount64() >= end)
            return false;
        ::Sleep(50);
    }
    return true;
}

}  // namespace va::test
