#pragma once
// The installer's own lines in the run's text log ("/log"): what start-up
// found and what a rollback took back.  The log is for the people who
// deploy the product, in English like the system's own installer logs.

#include <cstdint>
#include <string>

#include "engine/journal/core/log_entry.h"

namespace va {

// "Fresh", "Reinstall", "Update", "NewerInstalled" (as the session names
// them), or the number.
std::wstring InstallKindName(std::int32_t kind);

// "rollback: <what> <path>", with the backup put back when there is one.
std::wstring UndoLine(const LogEntry& entry);

// "yes" or "no".
const wchar_t* YesNo(bool value) noexcept;

}  // namespace va
