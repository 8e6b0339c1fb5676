#pragma once
// Owner of one COM interface pointer: released when the owner goes.

#include <windows.h>
#include <unknwn.h>

#include <utility>

namespace va {

template <class Interface>
class ComPtr {
public:
    ComPtr() noexcept = default;
    // Takes over a reference the caller already holds.
    explicit ComPtr(Interface* pointer) noexcept : pointer_(pointer) {}
    ~ComPtr() { reset(); }

    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : pointer_(other.release()) {}
    ComPtr& operator=(ComPtr&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    Interface* get() const noexcept { return pointer_; }
    Interface* operator->() const noexcept { return pointer_; }
    explicit operator bool() const noexcept { return pointer_ != nullptr; }

    Interface* release() noexcept { return std::exchange(pointer_, nullptr); }
    void reset(Interface* pointer = nullptr) noexcept
    {
        if (Interface* old = std::exchange(pointer_, pointer))
            old->Release();
    }
    // For out-parameters: releases what is held first.
    Interface** put() noexcept
    {
        reset();
        return &pointer_;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }

    // Another interface of the same object.
    template <class Other>
    HRESULT As(const IID& iid, ComPtr<Other>& other) const noexcept
    {
        return pointer_->QueryInterface(iid, other.put_void());
    }

private:
    Interface* pointer_ = nullptr;
};

}  // namespace va
