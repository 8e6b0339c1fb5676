#include "uninstaller/interrupted_runs.h"

#include "engine/journal/protected_root.h"
#include "support/fault_point.h"
#include "support/run_log.h"
#include "uninstaller/file_types.h"

namespace va::uninstall {

RecoveryReport RecoverInterruptedRuns(InstanceMutex& mutex, RunLog& log)
{
    RecoveryActions actions;
    actions.withdrawFileTypes = [&mutex](const std::wstring& program) { RunUnregistration(program, mutex); };
    const RecoveryReport report = RecoverJournals(DefaultJournalRoot(), actions);
    if (report.Outcome == RecoveryOutcome::Refused) {
        log.Line(L"interrupted run not undone: " + report.Path + L", error " + std::to_wstring(report.Error) +
                 L", damage " + std::to_wstring(static_cast<int>(report.Damage)));
        return report;
    }
    if (report.DiscardedRuns > 0)
        log.Line(L"backups of a finished run discarded: " + std::to_wstring(report.DiscardedRuns));
    if (report.UndoneRuns > 0)
        log.Line(L"interrupted run undone: " + std::to_wstring(report.UndoneChanges) + L" changes");
    FaultMilestone("recovered");
    return report;
}

}  // namespace va::uninstall
