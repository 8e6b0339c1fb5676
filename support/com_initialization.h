#pragma once
// Owner of one COM initialisation of the calling thread: undone when the
// owner goes, and only when it succeeded.

#include <windows.h>
#include <objbase.h>

namespace va {

class ComInitialization {
public:
    using InitializeFn = HRESULT (*)();
    using UninitializeFn = void (*)();

    ComInitialization() : ComInitialization(SystemInitialize, SystemUninitialize) {}
    // The calls themselves, for tests that watch them.
    ComInitialization(InitializeFn initialize, UninitializeFn uninitialize)
        : result_(initialize()), uninitialize_(uninitialize)
    {
    }
    ~ComInitialization()
    {
        if (Succeeded())
            uninitialize_();
    }
    ComInitialization(const ComInitialization&) = delete;
    ComInitialization& operator=(const ComInitialization&) = delete;

    // S_FALSE: the thread had COM already; it still counts once more.
    bool Succeeded() const noexcept { return result_ == S_OK || result_ == S_FALSE; }
    HRESULT Result() const noexcept { return result_; }

    static HRESULT SystemInitialize() { return ::CoInitialize(nullptr); }
    static void SystemUninitialize() { ::CoUninitialize(); }

private:
    HRESULT result_;
    UninitializeFn uninitialize_;
};

}  // namespace va
