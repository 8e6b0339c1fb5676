#pragma once
// Privileges of the process token (the journal saves and restores registry
// keys under the backup and restore privileges).

namespace va {

// Adjusts one privilege of the process token; true on success.
bool SetPrivilege(const wchar_t* name, bool enable);

}  // namespace va
