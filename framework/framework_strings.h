#pragma once
// String-table entries the framework itself shows; the program's string
// table carries them.

#include <windows.h>

namespace va {

// "Enter no more than %1 characters."
inline constexpr UINT kIdsEnterNoMoreThan = 61710;

}  // namespace va
