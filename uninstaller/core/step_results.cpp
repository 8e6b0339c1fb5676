#include "uninstaller/core/step_results.h"

#include <algorithm>

#include "support/core/exit_codes.h"

namespace va::uninstall {

Summary Summarize(const std::vector<StepResult>& results)
{
    Summary summary;
    summary.items = results.size();
    for (const StepResult& r : results) {
        switch (r.outcome) {
        case Outcome::Removed:
        case Outcome::AlreadyGone:
            ++summary.removed;
            break;
        case Outcome::Scheduled:
            ++summary.scheduled;
            break;
        case Outcome::Kept:
            ++summary.kept;
            break;
        case Outcome::Deferred:
            ++summary.deferred;
            break;
        case Outcome::Failed:
            ++summary.failed;
            break;
        }
    }
    return summary;
}

int ExitCodeOf(const Summary& summary)
{
    if (summary.failed > 0)
        return exit_code::kFailed;
    if (summary.scheduled > 0)
        return exit_code::kRestartNeeded;
    return exit_code::kSuccess;
}

std::vector<LogEntry> EntriesLeft(const std::vector<StepResult>& results)
{
    std::vector<const StepResult*> left;
    for (const StepResult& r : results) {
        const bool stays =
            r.outcome == Outcome::Failed || r.outcome == Outcome::Deferred ||
            (r.outcome == Outcome::Kept && r.reason == Reason::Unfinished) ||
            (r.step.kind == StepKind::RemoveFolder && r.outcome == Outcome::Kept && r.reason == Reason::NotEmpty);
        // A program that is gone cannot take its file types back, however
        // often the log asks.
        if (stays && r.reason != Reason::ProgramMissing)
            left.push_back(&r);
    }
    std::stable_sort(left.begin(), left.end(),
                     [](const StepResult* a, const StepResult* b) { return a->step.index < b->step.index; });
    std::vector<LogEntry> entries;
    for (const StepResult* r : left)
        entries.push_back(r->step.entry);
    return entries;
}

}  // namespace va::uninstall
