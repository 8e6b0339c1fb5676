#include "engine/journal/run_backup.h"

#include <cstring>
#include <vector>

#include "support/fault_point.h"
#include "support/handles.h"

namespace va {
namespace {

DWORD LastErrorOrFailure()
{
    const DWORD error = ::GetLastError();
    return error != ERROR_SUCCESS ? error : DWORD{ERROR_GEN_FAILURE};
}

// The file is opened without following a link, checked, and moved through
// that handle: a link planted in its place (its folder may be one that
// users can write) is refused, never followed, and cannot be swapped in
// between the check and the move.
DWORD MoveThroughHandle(const std::wstring& source, const std::wstring& backup)
{
    UniqueFile file(::CreateFileW(source.c_str(), DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file)
        return LastErrorOrFailure();
    BY_HANDLE_FILE_INFORMATION facts{};
    if (!::GetFileInformationByHandle(file.get(), &facts))
        return LastErrorOrFailure();
    if (facts.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY))
        return ERROR_CANT_ACCESS_FILE;
    // The new name as the system's own path ("\??\C:\..."): the call does
    // not translate it.
    const std::wstring name = L"\\??\\" + backup;
    const std::size_t bytes = name.size() * sizeof(wchar_t);
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + bytes);
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = FALSE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(bytes);
    std::memcpy(rename->FileName, name.data(), bytes);
    if (!::SetFileInformationByHandle(file.get(), FileRenameInfo, rename, static_cast<DWORD>(buffer.size())))
        return LastErrorOrFailure();
    return ERROR_SUCCESS;
}

}  // namespace

DWORD CopyWhole(const std::wstring& source, const std::wstring& backup)
{
    const std::wstring partial = backup + L".part";
    ::SetFileAttributesW(partial.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!::CopyFileW(source.c_str(), partial.c_str(), FALSE))
        return LastErrorOrFailure();
    if (!::MoveFileExW(partial.c_str(), backup.c_str(), MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = LastErrorOrFailure();
        ::SetFileAttributesW(partial.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(partial.c_str());
        return error;
    }
    return ERROR_SUCCESS;
}

DWORD TakeBackup(const std::wstring& source, const std::wstring& backup, bool copy)
{
    const DWORD attributes = ::GetFileAttributesW(source.c_str());
    ::SetFileAttributesW(source.c_str(), FILE_ATTRIBUTE_NORMAL);
    DWORD error = FaultPoint("back up file", ERROR_DISK_FULL);
    if (error == ERROR_SUCCESS) {
        if (copy) {
            error = CopyWhole(source, backup);
        } else if ((error = MoveThroughHandle(source, backup)) != ERROR_SUCCESS) {
            // No protected folder on the file's volume: copied whole, then
            // the original goes.
            if (error == ERROR_NOT_SAME_DEVICE) {
                error = CopyWhole(source, backup);
                if (error == ERROR_SUCCESS && !::DeleteFileW(source.c_str())) {
                    error = LastErrorOrFailure();
                    ::SetFileAttributesW(backup.c_str(), FILE_ATTRIBUTE_NORMAL);
                    ::DeleteFileW(backup.c_str());
                }
            }
        }
    }
    const bool valid = attributes != INVALID_FILE_ATTRIBUTES;
    if (error != ERROR_SUCCESS) {
        if (valid)
            ::SetFileAttributesW(source.c_str(), attributes);
        return error;
    }
    if (valid) {
        ::SetFileAttributesW(backup.c_str(), attributes);
        if (copy)
            ::SetFileAttributesW(source.c_str(), attributes);
    }
    return ERROR_SUCCESS;
}

}  // namespace va
