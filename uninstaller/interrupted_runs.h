#pragma once
// Start-up: the journals of installation runs that did not end are undone
// before the uninstallation looks at what is installed.

#include "engine/journal/journal_recovery.h"

namespace va {
class InstanceMutex;
class RunLog;
}  // namespace va

namespace va::uninstall {

// The recovery, its result written to `log`; "recovered" is passed as a
// milestone unless it was refused.  The caller tells the user.
RecoveryReport RecoverInterruptedRuns(InstanceMutex& mutex, RunLog& log);

}  // namespace va::uninstall
