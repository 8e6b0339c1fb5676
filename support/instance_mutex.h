#pragma once
// The named mutex that keeps two processes of one application identity from
// working at the same time.

#include <windows.h>

#include <string>

#include "support/handles.h"

namespace va {

// `applicationId` + the mutex's fixed suffix, without the "Global\" prefix.
std::wstring InstanceMutexName(const std::wstring& applicationId);

class InstanceMutex {
public:
    InstanceMutex() = default;
    ~InstanceMutex();
    InstanceMutex(const InstanceMutex&) = delete;
    InstanceMutex& operator=(const InstanceMutex&) = delete;

    // CreateMutexW of "Global\" + name, granting Everyone full access.
    void Create(const std::wstring& name, bool initialOwner);
    // Wait of 0 ms; owned after WAIT_OBJECT_0 or WAIT_ABANDONED.
    bool Acquire();
    void Release();
    // After the caller's own successful wait on handle() (one that also
    // handles messages, say).
    void MarkOwned() noexcept { owned_ = true; }

    bool owned() const noexcept { return owned_; }
    HANDLE handle() const noexcept { return mutex_.get(); }

private:
    UniqueHandle mutex_;
    bool owned_ = false;
};

}  // namespace va
