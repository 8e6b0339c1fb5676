#pragma once
// Opening a file or folder itself, never what a link (junction, symbolic
// link, mount point) stands for, and telling a link apart.  Shared by the
// installer, which writes and grants rights in folders that ordinary users
// can change, and the uninstaller, which removes from them.

#include <windows.h>

#include <string>

#include "support/handles.h"

namespace va {

// ERROR_REPARSE_POINT_ENCOUNTERED, which not every SDK's headers define.
inline constexpr DWORD kLinkOnTheWay = 4395;

// Opens `path` itself, a link included (folders too); OPEN_EXISTING.
UniqueFile OpenWithoutFollowing(const std::wstring& path, DWORD access, DWORD share);

inline bool IsLinkAttributes(DWORD attributes) noexcept
{
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// What the link checks read of an item through its handle.
struct ItemFacts {
    DWORD attributes = 0;
    DWORD links = 0;  // names of the file (hard links)
};

// ERROR_SUCCESS when neither the name `path` nor the object behind
// `handle` (opened from that name) is a link, with the object's facts in
// `facts`; kLinkOnTheWay for a link; otherwise the query's Windows error.
// The name is asked as well as the handle: some systems open a folder
// link's target even when told not to follow it.
DWORD CheckNotLink(const std::wstring& path, HANDLE handle, ItemFacts& facts);

// Sets the item's attributes through its handle (opened with
// FILE_WRITE_ATTRIBUTES); false with the last error set.
bool SetAttributesByHandle(HANDLE handle, DWORD attributes);

}  // namespace va
