#include "support/fault_point.h"

namespace va {
namespace {

FaultHook g_hook = nullptr;  // set once, before the first operation

}  // namespace

void SetFaultHook(FaultHook hook) noexcept { g_hook = hook; }

DWORD FaultPoint(const char* operation, DWORD failure) noexcept
{
    if (!g_hook)
        return ERROR_SUCCESS;
    const DWORD error = g_hook(operation, failure);
    if (error != ERROR_SUCCESS)
        ::SetLastError(error);
    return error;
}

}  // namespace va
