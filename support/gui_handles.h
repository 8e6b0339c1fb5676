#pragma once
// Owners for the handles of the user interface: icons, image lists, windows
// this code created itself (never one the framework owns), window device
// contexts and objects selected into a device context.

#include <windows.h>
#include <commctrl.h>

#include <utility>

#include "support/handles.h"

namespace va {

struct IconTraits {
    using pointer = HICON;
    static pointer empty() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::DestroyIcon(h); }
};

struct WindowTraits {
    using pointer = HWND;
    static pointer empty() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::DestroyWindow(h); }
};

using UniqueWindow = UniqueResource<WindowTraits>;

struct ImageListTraits {
    using pointer = HIMAGELIST;
    static pointer empty() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::ImageList_Destroy(h); }
};

using UniqueIcon = UniqueResource<IconTraits>;            // icons loaded without LR_SHARED
using UniqueImageList = UniqueResource<ImageListTraits>;  // ImageList_Create results

// The device context of a window (GetDC), released with its window.
class WindowDC {
public:
    explicit WindowDC(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
    ~WindowDC()
    {
        if (dc_)
            ::ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;

    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a device context for the life of this owner; the
// one it replaced goes back in afterwards.  A null object selects nothing.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept
        : dc_(dc), previous_(object ? ::SelectObject(dc, object) : nullptr)
    {
    }
    ~SelectedObject()
    {
        if (previous_ && previous_ != HGDI_ERROR)
            ::SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace va
