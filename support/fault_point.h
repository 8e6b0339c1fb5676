#pragma once
// Fault points: every operation of an installation that changes the machine
// asks here first whether it may go ahead.  The shipped installer installs
// no hook, so every point passes; the installer's fault-injection flavour
// installs one that fails a chosen point, once, so that the test sweep can
// prove the rollback after a failure at each of them.

#include <windows.h>

namespace va {

// Answers ERROR_SUCCESS to go ahead, or the error the operation must fail
// with (normally `failure`, the error its real failure would give).
using FaultHook = DWORD (*)(const char* operation, DWORD failure);

void SetFaultHook(FaultHook hook) noexcept;

// ERROR_SUCCESS, or the error to fail with; the thread's last error is then
// set to it, as the real operation would have set it.
DWORD FaultPoint(const char* operation, DWORD failure) noexcept;

// A stage of the run that a test may want to stop at ("recovered": the
// journals of interrupted runs have just been undone).  No point is counted.
using MilestoneHook = void (*)(const char* name);

void SetMilestoneHook(MilestoneHook hook) noexcept;

void FaultMilestone(const char* name) noexcept;

}  // namespace va
