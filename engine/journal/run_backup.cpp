#include "engine/journal/run_backup.h"

#include "support/fault_point.h"

namespace va {
namespace {

DWORD LastErrorOrFailure()
{
    const DWORD error = ::GetLastError();
    return error != ERROR_SUCCESS ? error : DWORD{ERROR_GEN_FAILURE};
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
        } else if (!::MoveFileExW(source.c_str(), backup.c_str(), 0)) {
            error = LastErrorOrFailure();
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
