#pragma once
// Owners for operating-system handles.  Kinds whose "empty" value is NULL and
// the file kind whose "empty" value is INVALID_HANDLE_VALUE are distinct types,
// so one can never be closed or tested as the other.

#include <windows.h>

#include <utility>

namespace va {

template <class Traits>
class UniqueResource {
public:
    using pointer = typename Traits::pointer;

    UniqueResource() noexcept : value_(Traits::empty()) {}
    explicit UniqueResource(pointer value) noexcept : value_(value) {}
    ~UniqueResource() { reset(); }

    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    pointer get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Traits::empty(); }

    pointer release() noexcept { return std::exchange(value_, Traits::empty()); }
    void reset(pointer value = Traits::empty()) noexcept
    {
        pointer old = std::exchange(value_, value);
        if (old != Traits::empty())
            Traits::close(old);
    }
    // For out-parameters of API calls: closes what is held first.
    pointer* put() noexcept
    {
        reset();
        return &value_;
    }

private:
    pointer value_;
};

struct KernelHandleTraits {
    using pointer = HANDLE;
    static pointer empty() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::CloseHandle(h); }
};

struct FileHandleTraits {
    using pointer = HANDLE;
    static pointer empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(pointer h) noexcept { ::CloseHandle(h); }
};

struct RegistryKeyTraits {
    using pointer = HKEY;
    static pointer empty() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::RegCloseKey(h); }
};

struct ModuleTraits {
    using pointer = HMODULE;
    static pointer empty() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::FreeLibrary(h); }
};

struct LocalMemoryTraits {
    using pointer = HLOCAL;
    static pointer empty() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::LocalFree(h); }
};

struct FindFileTraits {
    using pointer = HANDLE;
    static pointer empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(pointer h) noexcept { ::FindClose(h); }
};

using UniqueHandle = UniqueResource<KernelHandleTraits>;  // process, thread, mutex, semaphore, event
using UniqueFile = UniqueResource<FileHandleTraits>;      // CreateFileW results
using UniqueKey = UniqueResource<RegistryKeyTraits>;      // never a predefined root key
using UniqueModule = UniqueResource<ModuleTraits>;        // LoadLibrary results only
using UniqueLocal = UniqueResource<LocalMemoryTraits>;    // LocalAlloc / FormatMessage buffers
using UniqueFind = UniqueResource<FindFileTraits>;

// The process and thread handles CreateProcessW hands back, closed together.
struct ProcessHandles {
    ProcessHandles() = default;
    explicit ProcessHandles(const PROCESS_INFORMATION& info) noexcept : process(info.hProcess), thread(info.hThread) {}

    UniqueHandle process;
    UniqueHandle thread;
};

}  // namespace va
