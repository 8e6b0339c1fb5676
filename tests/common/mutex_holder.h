#pragma once
// Another thread of this process holding the installer mutex while the code
// under test runs, so that releasing the fixture's mutex does not free it:
// the code must wait for the holder, handling this thread's messages
// meanwhile.  The holder posts kHolderHasIt to this thread once it owns the
// mutex; `hook`, installed as the message pump's pre-translate hook for the
// holder's lifetime, decides when to let it go (MutexHolder::LetGo()).

#include <windows.h>

#include <thread>

#include "support/handles.h"
#include "support/instance_mutex.h"
#include "support/message_pump.h"

namespace va::test {

class MutexHolder {
public:
    static constexpr UINT kHolderHasIt = WM_APP + 7;

    MutexHolder(InstanceMutex& ours, PreTranslateHook hook)
    {
        MSG peek;
        ::PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE);  // this thread's queue, for the holder's message
        letGo_.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        UniqueHandle taken(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        current_ = letGo_.get();
        SetPreTranslateHook(hook);
        const DWORD mainThread = ::GetCurrentThreadId();
        ours.Release();
        holder_ = std::thread([mainThread, letGo = letGo_.get(), taken = taken.get()] {
            InstanceMutex other;
            other.Create(InstanceMutexName(L"Trelvane7"), true);
            ::PostThreadMessageW(mainThread, kHolderHasIt, 0, 0);
            ::SetEvent(taken);
            ::WaitForSingleObject(letGo, INFINITE);
        });
        ::WaitForSingleObject(taken.get(), INFINITE);
    }

    // Never left waiting, whatever the test did.
    ~MutexHolder()
    {
        ::SetEvent(letGo_.get());
        holder_.join();
        SetPreTranslateHook(nullptr);
        current_ = nullptr;
    }

    MutexHolder(const MutexHolder&) = delete;
    MutexHolder& operator=(const MutexHolder&) = delete;

    // For the hook: the holder releases the mutex and ends.
    static void LetGo()
    {
        if (current_)
            ::SetEvent(current_);
    }

private:
    static inline HANDLE current_ = nullptr;
    UniqueHandle letGo_;
    std::thread holder_;
};

}  // namespace va::test
