#include "uninstaller/step_runner.h"

#include <shlobj.h>

#include "uninstaller/core/folders_on_the_way.h"
#include "uninstaller/core/path_rules.h"
#include "uninstaller/link_free_removal.h"

namespace va::uninstall {
namespace {

StepResult Result(const UndoStep& step, Outcome outcome, Reason reason = Reason::None, DWORD error = 0)
{
    return StepResult{step, outcome, reason, error, {}};
}

// Nothing is done through a link: the uninstallation is incomplete, and the
// link is named.
StepResult ThroughLink(const UndoStep& step, const LinkFreeRemoval& removal)
{
    StepResult failed = Result(step, Outcome::Failed, Reason::ThroughLink, removal.error);
    failed.link = removal.link;
    return failed;
}

}  // namespace

StepRunner::StepRunner(const ProductAreas& areas, std::wstring keepFolder, StepHooks hooks)
    : areas_(areas), keepFolder_(std::move(keepFolder)), hooks_(std::move(hooks))
{
}

std::vector<StepResult> StepRunner::Run(const std::vector<UndoStep>& plan)
{
    std::vector<StepResult> results;
    results.reserve(plan.size());
    for (std::size_t n = 0; n < plan.size(); ++n) {
        const UndoStep& step = plan[n];
        if (hooks_.progress)
            hooks_.progress(step, n, plan.size());
        StepResult result;
        if (mutexLost_) {
            results.push_back(Result(step, Outcome::Kept, Reason::Unfinished));
            continue;
        }
        switch (step.kind) {
        case StepKind::UnregisterFileTypes:
            result = Unregister(step);
            break;
        case StepKind::DeleteShortcut:
        case StepKind::DeleteFile:
            result = !blockedProgram_.empty() && SamePathText(step.path, blockedProgram_)
                         ? Result(step, Outcome::Kept, Reason::Unfinished)
                         : RemoveFile(step);
            break;
        case StepKind::RemoveFolder:
            result = RemoveFolder(step);
            break;
        case StepKind::RemoveProductKeys:
            result = RemoveKeys(step);
            break;
        case StepKind::KeepDataFile:
            result = Result(step, Outcome::Kept, Reason::DataFile);
            break;
        case StepKind::KeepSharedComponent:
            result = Result(step, Outcome::Kept, Reason::SharedComponent);
            break;
        case StepKind::LeaveOutside:
            result = Result(step, Outcome::Kept, Reason::OutsideProduct);
            break;
        case StepKind::LeaveToCopy:
            result = Result(step, Outcome::Deferred);
            break;
        }
        anyFailed_ = anyFailed_ || result.outcome == Outcome::Failed;
        results.push_back(std::move(result));
    }
    return results;
}

StepResult StepRunner::Unregister(const UndoStep& step)
{
    if (step.path.empty() || !PathExists(step.path))
        return Result(step, Outcome::Kept, Reason::ProgramMissing);
    const Unregistration run = hooks_.unregisterFileTypes ? hooks_.unregisterFileTypes(step.path) : Unregistration{};
    if (!run.mutexTakenBack) {
        mutexLost_ = true;
        return Result(step, Outcome::Failed, Reason::MutexLost, run.error);
    }
    if (run.exitCode && *run.exitCode == kRegistrationDone)
        return Result(step, Outcome::Removed);
    // The program stays, so that a second run can ask it again.
    blockedProgram_ = step.path;
    return Result(step, Outcome::Failed, Reason::Error, run.exitCode ? *run.exitCode : run.error);
}

StepResult StepRunner::RemoveFile(const UndoStep& step)
{
    const std::vector<std::wstring> way = FoldersOnTheWay(step.path, areas_.Protected());
    for (;;) {
        const LinkFreeRemoval removal = RemoveFileWithoutLinks(step.path, way);
        if (!removal.link.empty())
            return ThroughLink(step, removal);
        const DWORD error = removal.error;
        if (error == ERROR_SUCCESS) {
            if (step.kind == StepKind::DeleteShortcut)
                ::SHChangeNotify(SHCNE_DELETE, SHCNF_PATHW, step.path.c_str(), nullptr);
            return Result(step, Outcome::Removed);
        }
        if (error == ERROR_FILE_NOT_FOUND)
            return Result(step, Outcome::AlreadyGone);
        if (!IsInUse(error))
            return Result(step, Outcome::Failed, Reason::Error, error);
        if (hooks_.retryInUse && hooks_.retryInUse(step.path))
            continue;
        DWORD scheduleError = ERROR_SUCCESS;
        if (restart_.Schedule(step.path, scheduleError))
            return Result(step, Outcome::Scheduled, Reason::InUse);
        return Result(step, Outcome::Failed, Reason::Error, scheduleError);
    }
}

StepResult StepRunner::RemoveFolder(const UndoStep& step)
{
    const LinkFreeRemoval removal = RemoveFolderWithoutLinks(step.path, FoldersOnTheWay(step.path, areas_.Protected()));
    // The folder itself a link: removing it would take only the link, but
    // it was not made by the installation.
    if (SamePathText(removal.link, step.path)) {
        StepResult kept = Result(step, Outcome::Kept, Reason::ThroughLink);
        kept.link = removal.link;
        return kept;
    }
    if (!removal.link.empty())
        return ThroughLink(step, removal);
    const DWORD error = removal.error;
    if (error == ERROR_SUCCESS) {
        ::SHChangeNotify(SHCNE_RMDIR, SHCNF_PATHW, step.path.c_str(), nullptr);
        return Result(step, Outcome::Removed);
    }
    if (error == ERROR_FILE_NOT_FOUND)
        return Result(step, Outcome::AlreadyGone);
    // A folder another process works in goes at the restart, as a file in
    // use does; so does one that holds only what goes then.
    const bool inUse = IsInUse(error);
    if (error != ERROR_DIR_NOT_EMPTY && !inUse)
        return Result(step, Outcome::Failed, Reason::Error, error);
    if (inUse || restart_.HoldsOnlyScheduled(step.path)) {
        DWORD scheduleError = ERROR_SUCCESS;
        if (restart_.Schedule(step.path, scheduleError))
            return Result(step, Outcome::Scheduled, Reason::InUse);
        return Result(step, Outcome::Failed, Reason::Error, scheduleError);
    }
    if (!keepFolder_.empty() && IsWithin(keepFolder_, step.path))
        return Result(step, Outcome::Deferred);
    return Result(step, Outcome::Kept, Reason::NotEmpty);
}

StepResult StepRunner::RemoveKeys(const UndoStep& step)
{
    // The keys let the user start the uninstallation again: they stay
    // until nothing else is left.
    if (anyFailed_)
        return Result(step, Outcome::Kept, Reason::Unfinished);
    const DWORD error = hooks_.removeProductKeys ? hooks_.removeProductKeys() : ERROR_SUCCESS;
    if (error != ERROR_SUCCESS)
        return Result(step, Outcome::Failed, Reason::Error, error);
    return Result(step, Outcome::Removed);
}

}  // namespace va::uninstall
