#pragma once
// Junctions and symbolic links for tests of writers that must not follow
// them.  Each helper is true only when the link exists afterwards and reads
// back as a reparse point; systems that cannot make one (Wine) give false
// and the test skips.

#include <windows.h>
#include <winioctl.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/handles.h"

namespace va::test {

inline bool IsReparsePointOnDisk(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// An empty folder at `link` turned into a mount point (junction) to `target`.
inline bool MakeJunction(const std::wstring& link, const std::wstring& target)
{
    if (!::CreateDirectoryW(link.c_str(), nullptr))
        return false;
    UniqueFile folder(::CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!folder)
        return false;
    // The mount-point layout of the reparse data (ntifs.h is not at hand).
    struct MountPointData {
        DWORD tag;
        WORD dataLength;
        WORD reserved;
        WORD substituteOffset, substituteLength, printOffset, printLength;
    };
    const std::wstring substitute = L"\\??\\" + target;
    const std::size_t names = (substitute.size() + 1 + target.size() + 1) * sizeof(wchar_t);
    std::vector<BYTE> buffer(sizeof(MountPointData) + names);
    MountPointData header{};
    header.tag = IO_REPARSE_TAG_MOUNT_POINT;
    header.dataLength = static_cast<WORD>(8 + names);
    header.substituteLength = static_cast<WORD>(substitute.size() * sizeof(wchar_t));
    header.printOffset = static_cast<WORD>((substitute.size() + 1) * sizeof(wchar_t));
    header.printLength = static_cast<WORD>(target.size() * sizeof(wchar_t));
    std::memcpy(buffer.data(), &header, sizeof header);
    std::memcpy(buffer.data() + sizeof header, substitute.c_str(), (substitute.size() + 1) * sizeof(wchar_t));
    std::memcpy(buffer.data() + sizeof header + header.printOffset, target.c_str(), (target.size() + 1) * sizeof(wchar_t));
    DWORD returned = 0;
    const bool set = ::DeviceIoControl(folder.get(), FSCTL_SET_REPARSE_POINT, buffer.data(),
                                       static_cast<DWORD>(buffer.size()), nullptr, 0, &returned, nullptr);
    folder.reset();
    if (!set || !IsReparsePointOnDisk(link)) {
        ::RemoveDirectoryW(link.c_str());
        return false;
    }
    return true;
}

// A symbolic link to a file; needs the privilege or developer mode.
inline bool MakeFileSymlink(const std::wstring& link, const std::wstring& target)
{
    if (!::CreateSymbolicLinkW(link.c_str(), target.c_str(), 0))
        return false;
    return IsReparsePointOnDisk(link);
}

}  // namespace va::test
