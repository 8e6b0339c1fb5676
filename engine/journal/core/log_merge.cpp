#include "engine/journal/core/log_merge.h"

namespace va {
namespace {

bool IsPathKeyed(std::int32_t type)
{
    return type == CreatedFolder || type == InstalledFile;
}

}  // namespace

void MergePreviousEntries(std::list<LogEntry>& previous, std::list<LogEntry>& current,
                          const SamePathFn& samePath)
{
    // From the newest previous entry backwards, each one compared with what
    // the list holds so far, so of two previous duplicates the later wins.
    while (!previous.empty()) {
        auto candidate = std::prev(previous.end());
        bool redundant = false;
        for (const LogEntry& kept : current) {
            if (kept.Type != candidate->Type)
                continue;
            if (!IsPathKeyed(kept.Type) || samePath(candidate->Path, kept.Path)) {
                redundant = true;
                break;
            }
        }
        if (redundant)
            previous.erase(candidate);
        else
            current.splice(current.begin(), previous, candidate);
    }
}

}  // namespace va
