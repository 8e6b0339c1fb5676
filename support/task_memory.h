#pragma once
// Owners for memory the shell and COM hand out with the task allocator
// (item identifier lists, strings of SHGetKnownFolderPath): freed with
// CoTaskMemFree.

#include <windows.h>
#include <objbase.h>
#include <shtypes.h>

#include "support/handles.h"

namespace va {

template <class T>
struct TaskMemoryTraits {
    using pointer = T*;
    static pointer empty() noexcept { return nullptr; }
    static void close(pointer p) noexcept { ::CoTaskMemFree(p); }
};

using UniqueIdList = UniqueResource<TaskMemoryTraits<ITEMIDLIST>>;
using UniqueTaskString = UniqueResource<TaskMemoryTraits<wchar_t>>;

}  // namespace va
