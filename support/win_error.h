#pragma once
// Errors of system calls travel as std::system_error in the system category,
// carrying either the Windows error code or an HRESULT.

#include <windows.h>

#include "support/core/hresult.h"

namespace va {

[[noreturn]] void ThrowWin32(DWORD code);
[[noreturn]] void ThrowHresult(hresult_t hr);
// HRESULT made from GetLastError(), for the calls that report through it.
[[noreturn]] void ThrowLastErrorAsHresult();

}  // namespace va
