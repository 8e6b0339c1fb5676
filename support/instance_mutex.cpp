#include "support/instance_mutex.h"

#include "support/everyone_access.h"

namespace va {

std::wstring InstanceMutexName(const std::wstring& applicationId)
{
    return applicationId + L".{5ead623c-dfcd-474d-8e3c-e6978cac039e}";
}

InstanceMutex::~InstanceMutex()
{
    if (owned_)
        ::ReleaseMutex(mutex_.get());
}

void InstanceMutex::Create(const std::wstring& name, bool initialOwner)
{
    if (owned_)
        Release();
    EveryoneAccess access(MUTEX_ALL_ACCESS);
    mutex_.reset(::CreateMutexW(access.attributes(), initialOwner, (L"Global\\" + name).c_str()));
    owned_ = mutex_ && initialOwner;
    if (owned_ && ::GetLastError() == ERROR_ALREADY_EXISTS) {
        // The initial ownership was not granted: wait for it.
        const DWORD wait = ::WaitForSingleObject(mutex_.get(), INFINITE);
        owned_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
    }
}

bool InstanceMutex::Acquire()
{
    const DWORD wait = ::WaitForSingleObject(mutex_.get(), 0);
    owned_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
    return owned_;
}

void InstanceMutex::Release()
{
    ::ReleaseMutex(mutex_.get());
    owned_ = false;
}

}  // namespace va
