#include "engine/transaction/finished_run_rollback.h"

#include "engine/journal/uninstall_log.h"
#include "engine/steps/file_type_registration.h"
#include "engine/steps/program_path_value_state.h"
#include "engine/steps/registry_entries.h"

namespace va {
namespace {

bool HasRegisteredFileTypes(const std::list<LogEntry>& entries)
{
    for (const LogEntry& entry : entries)
        if (entry.Type == FileTypes && entry.Outcome == 1)
            return true;
    return false;
}

}  // namespace

void RollBackFinishedRun(UninstallLog& log, const ProductPaths& paths, const ProgramPathValueState& pathValueBefore,
                         InstanceMutex& mutex)
{
    // A registration that replaced the previous installation's names the
    // same program, which the rollback puts back: it stays.  A new one is
    // taken back while the program is still there to do it.
    if (HasRegisteredFileTypes(log.NewEntries) && !HasRegisteredFileTypes(log.PreviousEntries))
        WithdrawFileTypes(paths.mainProgram, mutex);
    // The value first: the journal on disk goes with the rollback's end.
    RestoreProgramPathValue(pathValueBefore);
    log.Rollback();
}

}  // namespace va
