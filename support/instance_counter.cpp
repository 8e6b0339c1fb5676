#include "support/instance_counter.h"

#include "support/everyone_access.h"

namespace va {

std::wstring InstanceCounterName(const std::wstring& applicationId)
{
    return L"Global\\" + applicationId + L".{a3526b56-ca7c-4e16-8a26-da7758a378fd}";
}

void InstanceCounter::Register(const std::wstring& applicationId)
{
    EveryoneAccess access(SEMAPHORE_ALL_ACCESS);
    semaphore_.reset(::CreateSemaphoreW(access.attributes(), 0, 0x7FFFFFFF,
                                        InstanceCounterName(applicationId).c_str()));
    const DWORD createError = ::GetLastError();
    if (semaphore_ && ::ReleaseSemaphore(semaphore_.get(), 1, nullptr))
        ++registrations_;
    ::SetLastError(createError);
}

long InstanceCounter::Count() const
{
    LONG previous = 0;
    if (!semaphore_ || !::ReleaseSemaphore(semaphore_.get(), 1, &previous))
        return 0;
    ::WaitForSingleObject(semaphore_.get(), 0);
    return previous;
}

void InstanceCounter::Unregister()
{
    if (registrations_ > 0) {
        long taken = 0;
        while (taken < registrations_ && ::WaitForSingleObject(semaphore_.get(), 0) == WAIT_OBJECT_0)
            ++taken;
        if (taken == registrations_)
            registrations_ = 0;
        else if (taken > 0)
            ::ReleaseSemaphore(semaphore_.get(), taken, nullptr);
    } else if (registrations_ < 0) {
        if (::ReleaseSemaphore(semaphore_.get(), -registrations_, nullptr))
            registrations_ = 0;
    }
    semaphore_.reset();
}

InstanceCounter& ProcessInstanceCounter()
{
    static InstanceCounter counter;
    return counter;
}

void RegisterInstance(const std::wstring& applicationId)
{
    ProcessInstanceCounter().Register(applicationId);
}

long CountInstances()
{
    return ProcessInstanceCounter().Count();
}

}  // namespace va
