#pragma once
// What undoing a log means, step by step, before anything is touched: the
// file types first (their program must still exist), then the log's files
// and shortcuts newest first, then its folders deepest first, and the
// product's registry keys last, once nothing is left that a second run
// would need them for.

#include <cstddef>
#include <string>
#include <vector>

#include "engine/journal/core/log_entry.h"
#include "uninstaller/core/product_areas.h"

namespace va::uninstall {

enum class StepKind {
    UnregisterFileTypes,  // run the main program (`path`) with " /Unregister /Background"
    DeleteShortcut,
    DeleteFile,
    RemoveFolder,         // when empty
    RemoveProductKeys,    // the uninstall key, the program-path value, an empty maker's key
    KeepDataFile,         // a data file the user may have changed, kept by choice
    KeepSharedComponent,  // the DirectX runtime: shared with the rest of the system
    LeaveOutside,         // a path outside the product's areas
    LeaveToCopy,          // the running uninstaller: its copy removes it afterwards
};

struct UndoStep {
    StepKind kind = StepKind::DeleteFile;
    std::wstring path;      // empty for the registry keys and the DirectX runtime
    LogEntry entry;         // the log's record behind the step
    std::size_t index = 0;  // its position in the log, for a rewritten log
};

struct PlanChoices {
    std::wstring ownProgram;       // the running uninstaller; empty when it is not in the log
    bool removeDataFiles = false;  // the user agreed (or /purge)
};

// Entries whose outcome is 0 were never made: they give no step.  A path
// named twice gives one step, from its newest entry.
std::vector<UndoStep> PlanUndo(const std::vector<LogEntry>& entries, const ProductAreas& areas,
                               const PlanChoices& choices);

// The data files (EntryKind 3) the log placed or kept inside the product's
// areas, newest first, each once: what the second question asks about.
std::vector<std::wstring> DataFilesOf(const std::vector<LogEntry>& entries, const ProductAreas& areas);

// The main program the log installed (the newest EntryKind 1 entry), empty
// when there is none.
std::wstring MainProgramOf(const std::vector<LogEntry>& entries);

inline constexpr std::int32_t kMainProgramKind = 1;
inline constexpr std::int32_t kDataFileKind = 3;

}  // namespace va::uninstall
