#include "support/fault_point.h"

namespace va {
namespace {

FaultHook g_hook = nullptr;  // set once, before the first operation
MilestoneHook g_milestone = nullptr;

}  // namespace

void SetFaultHook(FaultHook hook) noexcept { g_hook = hook; }

void SetMilestoneHook(MilestoneHook hook) noexcept { g_milestone = hook; }

void FaultMilestone(const char* name) noexcept
{
    if (g_milestone)
        g_milestone(name);
}

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
