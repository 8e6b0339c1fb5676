#include "tests/driver/job.h"

#include <algorithm>
#include <system_error>
#include <vector>

namespace va::test {
namespace {

UniqueHandle KillOnCloseJob()
{
    UniqueHandle job(::CreateJobObjectW(nullptr, nullptr));
    if (!job)
        throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), "CreateJobObjectW");
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!::SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits))
        throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(),
                                "SetInformationJobObject");
    return job;
}

// Innermost last.  An owner leaving out of order only takes itself out.
std::vector<HANDLE>& LiveJobs()
{
    static std::vector<HANDLE> jobs;
    return jobs;
}

}  // namespace

ProgramJob::ProgramJob() : job_(KillOnCloseJob())
{
    LiveJobs().push_back(job_.get());
}

ProgramJob::~ProgramJob()
{
    auto& jobs = LiveJobs();
    jobs.erase(std::remove(jobs.begin(), jobs.end(), job_.get()), jobs.end());
    ::TerminateJobObject(job_.get(), 99);
    WaitForAll();
}

DWORD ProgramJob::Running() const
{
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
    if (!::QueryInformationJobObject(job_.get(), JobObjectBasicAccountingInformation, &accounting, sizeof accounting,
                                     nullptr))
        return 0;
    return accounting.ActiveProcesses;
}

bool ProgramJob::WaitForAll(DWORD limitMs) const
{
    const ULONGLONG end = ::GetTickCount64() + limitMs;
    while (Running() > 0) {
        if (::GetTickCount64() >= end)
            return false;
        ::Sleep(50);
    }
    return true;
}

HANDLE CurrentProgramJob()
{
    if (!LiveJobs().empty())
        return LiveJobs().back();
    // Closed only when the test program ends, taking its programs along.
    static const UniqueHandle whole = KillOnCloseJob();
    return whole.get();
}

ProcessGroup::ProcessGroup(const std::wstring& program, const std::wstring& arguments)
    : first_(StartProgram(program, arguments))
{
}

}  // namespace va::test
