#pragma once
// How a new log takes over the entries of the previous one.

#include <functional>
#include <list>
#include <string>

#include "engine/journal/core/log_entry.h"

namespace va {

using SamePathFn = std::function<bool(const std::wstring&, const std::wstring&)>;

// Moves the surviving previous entries, in their order, in front of this
// run's entries.  An entry of a type recorded at most once per run survives
// only when no later entry of its type is present; a folder or file entry
// only when no later entry of its type names the same path.  `previous`
// ends empty.
void MergePreviousEntries(std::list<LogEntry>& previous, std::list<LogEntry>& current,
                          const SamePathFn& samePath);

}  // namespace va
