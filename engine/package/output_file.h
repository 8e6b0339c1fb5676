#pragma once
// Output files of the package reader and their read-back.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "engine/package/core/shared_folders.h"
#include "engine/package/link_free_path.h"

namespace va {

using GrantFn = std::function<bool(const std::wstring& path, DWORD mask, BYTE inheritance)>;

// Creates the missing folders, grants the shared folders above the file
// their rights, and opens it for writing: created or emptied, others may
// read it but not write it (OpenSingleNameFileForWriting: a file with a
// second name is replaced, never written through).  No folder below `root`
// (the folder of the entry's token) may be a reparse point, nor the file
// itself; those folders stay held until the file is open, and afterwards
// in `pinned` when given (the next file of the same folders is then not
// checked again).  Raises a stream failure carrying the Windows error when
// it cannot be opened.
std::unique_ptr<std::ostream> OpenOutputFile(const std::wstring& destination, const std::wstring& root,
                                             SharedFolderList& shared, const GrantFn& grant,
                                             PinnedFolderChain* pinned = nullptr);

// The shared folders met from `folder` upwards receive their rights, once.
void ApplySharedFolderRights(const std::wstring& folder, SharedFolderList& shared, const GrantFn& grant);

// CRC-32 of a file, read in 4096-byte blocks with reading shared and
// writing denied.  Raises a stream failure carrying the Windows error (32
// while another process holds the file).
std::uint32_t file_crc32(const std::wstring& path);

}  // namespace va
