#pragma once
// Owner of a window this code created itself (never one the framework owns).

#include <windows.h>

#include "support/handles.h"

namespace va {

struct WindowTraits {
    using pointer = HWND;
    static pointer empty() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::DestroyWindow(h); }
};

using UniqueWindow = UniqueResource<WindowTraits>;

}  // namespace va
