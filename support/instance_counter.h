#pragma once
// The semaphore that counts the live processes sharing an application
// identity, in every session of the machine.

#include <windows.h>

#include <string>

#include "support/handles.h"

namespace va {

std::wstring InstanceCounterName(const std::wstring& applicationId);

class InstanceCounter {
public:
    InstanceCounter() = default;
    ~InstanceCounter() { Unregister(); }
    InstanceCounter(const InstanceCounter&) = delete;
    InstanceCounter& operator=(const InstanceCounter&) = delete;

    // Creates (or opens) the semaphore and adds this process's unit.  A
    // failed creation is not reported: the count then stays 0.
    void Register(const std::wstring& applicationId);
    // Live registrations, this process's included; 0 without semaphore.
    long Count() const;
    // Takes back this process's units and closes the semaphore.
    void Unregister();

    long registrations() const noexcept { return registrations_; }

private:
    UniqueHandle semaphore_;
    long registrations_ = 0;
};

// The process-wide counter, destroyed (and so unregistered) at process end.
InstanceCounter& ProcessInstanceCounter();
void RegisterInstance(const std::wstring& applicationId);
long CountInstances();

}  // namespace va
