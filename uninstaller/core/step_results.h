#pragma once
// What became of each step, what that means for the exit code, and which of
// the log's entries a rewritten log must keep so that a second run finishes
// the job.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/journal/core/log_entry.h"
#include "uninstaller/core/undo_plan.h"

namespace va::uninstall {

enum class Outcome {
    Removed,      // done now
    AlreadyGone,  // nothing was there any more
    Scheduled,    // removed when Windows restarts
    Kept,         // left on purpose (see the reason)
    Deferred,     // left for the uninstaller's copy, which runs after this process
    Failed,       // could not be done (see the reason and error)
};

enum class Reason {
    None,
    DataFile,          // kept by the user's choice
    SharedComponent,   // the DirectX runtime
    NotEmpty,          // a folder that still holds something not ours
    OutsideProduct,    // the log names a path outside the product's areas
    ThroughLink,       // a folder on the way is a link: it may lead anywhere
    ProgramMissing,    // the file types' program is gone: they stay registered
    Unfinished,        // waits until what failed before it is removed
    InUse,
    MutexLost,         // the installer mutex was not taken back after the file types
    Error,             // `error` holds the Windows error or the program's exit code
};

struct StepResult {
    UndoStep step;
    Outcome outcome = Outcome::Failed;
    Reason reason = Reason::None;
    std::uint32_t error = 0;
    std::wstring link;  // Reason::ThroughLink: the link met, when known
};

struct Summary {
    std::size_t items = 0;      // every step
    std::size_t removed = 0;    // Removed and AlreadyGone
    std::size_t scheduled = 0;
    std::size_t kept = 0;
    std::size_t deferred = 0;
    std::size_t failed = 0;
};

Summary Summarize(const std::vector<StepResult>& results);

// 0, or 3010 when something waits for a restart, or 1603 when something
// failed.
int ExitCodeOf(const Summary& summary);

// The entries a rewritten log keeps, in the log's order: every failed or
// unfinished step's, the deferred ones, and the folders still there; what
// was kept on purpose, scheduled or left outside is not listed again.
std::vector<LogEntry> EntriesLeft(const std::vector<StepResult>& results);

}  // namespace va::uninstall
