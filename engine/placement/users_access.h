#pragma once
// Access rights for the local Users group on placed data files and on
// folders shared by all users.  The new access list is built in memory from
// the old one; only the final write touches the file.

#include <windows.h>

#include <string>
#include <vector>

#include "support/advapi.h"

namespace va {

// BUILTIN\Users (S-1-5-32-545).
advapi::UniqueSid UsersSid();

// The explicit entries of `old` (nullptr: none) without those for `users`,
// then one allowing entry for `users`, then the inherited entries without
// those for `users`.
std::vector<BYTE> BuildUsersAccessList(PACL old, PSID users, DWORD mask, BYTE inheritance);

// The protection state the new descriptor takes over from the old control.
SECURITY_DESCRIPTOR_CONTROL CarriedProtection(SECURITY_DESCRIPTOR_CONTROL old) noexcept;

// Gives Users exactly `mask` on the file or folder, through a handle of it
// opened without following a link; raises std::system_error when a
// security call fails, and refuses (ERROR_CANT_ACCESS_FILE) a link and
// (ERROR_TOO_MANY_LINKS) a file with more than one name.  The folders above
// it are the caller's to hold (PinnedFolderChain).
bool GrantUsersAccess(const std::wstring& path, DWORD mask, BYTE inheritance);

}  // namespace va
