#pragma once
// Files of this run that another process must not change between their
// check and their use: the DirectX set-up library lies in the user's own
// temporary folder, where any process of the user could swap it after the
// read-back and before the elevated installer loads it.

#include <cstdint>
#include <string>

#include "support/handles.h"

namespace va {

// Opens the file for reading with only reading shared (no writing, no
// renaming or deleting), checks its CRC-32 through that handle and keeps
// the handle.  ERROR_SUCCESS; ERROR_CRC when the content is not the one
// expected; or the Windows error of the open or read.
DWORD HoldVerifiedFile(const std::wstring& path, std::uint32_t crc);

// The handle kept for that path, letter case aside (empty when none); the caller holds
// it while it uses the file, and the file is free once it is closed.
UniqueFile TakeHeldFile(const std::wstring& path);

// Closes every kept handle (before the files are removed).
void ReleaseHeldFiles() noexcept;

}  // namespace va
