#include "engine/journal/backup_file.h"

#include <windows.h>

#include "support/fault_point.h"

namespace va {
namespace {

constexpr DWORD kTempPathCapacity = MAX_PATH;
constexpr DWORD kLongestTempFolder = 246;  // room left for GetTempFileNameW's "vaXXXX.tmp"

}  // namespace

std::wstring BackupToTemp(const std::wstring* source, bool copy, DWORD* error)
{
    const auto fail = [error](DWORD code) {
        if (error)
            *error = code != ERROR_SUCCESS ? code : ERROR_GEN_FAILURE;
        return std::wstring();
    };
    wchar_t folder[kTempPathCapacity];
    DWORD length = ::GetTempPathW(kTempPathCapacity, folder);
    if (length == 0)
        return fail(::GetLastError());
    if (length > kLongestTempFolder)
        return fail(ERROR_FILENAME_EXCED_RANGE);
    wchar_t name[MAX_PATH];
    // The file made here keeps the name taken until the backup replaces it:
    // a name freed in between could be taken by another process.
    if (::GetTempFileNameW(folder, L"va", 0, name) == 0)
        return fail(::GetLastError());
    if (!source)
        return name;

    const DWORD attributes = ::GetFileAttributesW(source->c_str());
    ::SetFileAttributesW(source->c_str(), FILE_ATTRIBUTE_NORMAL);
    const bool done =
        FaultPoint("back up file", ERROR_DISK_FULL) == ERROR_SUCCESS &&
        (copy ? ::CopyFileW(source->c_str(), name, FALSE) != FALSE
              : ::MoveFileExW(source->c_str(), name, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED) != FALSE);
    const DWORD failure = done ? ERROR_SUCCESS : ::GetLastError();
    const bool valid = attributes != INVALID_FILE_ATTRIBUTES;
    if (!done) {
        if (valid)
            ::SetFileAttributesW(source->c_str(), attributes);
        ::DeleteFileW(name);
        return fail(failure);
    }
    if (valid) {
        ::SetFileAttributesW(name, attributes);
        if (copy)
            ::SetFileAttributesW(source->c_str(), attributes);
    }
    return name;
}

void DiscardBackup(const std::wstring& backup)
{
    ::SetFileAttributesW(backup.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(backup.c_str());
}

bool RestoreBackup(const std::wstring& backup, const std::wstring& target)
{
    const DWORD attributes = ::GetFileAttributesW(backup.c_str());
    ::SetFileAttributesW(backup.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!::MoveFileW(backup.c_str(), target.c_str())) {
        const DWORD error = ::GetLastError();
        if (attributes != INVALID_FILE_ATTRIBUTES)
            ::SetFileAttributesW(backup.c_str(), attributes);
        ::SetLastError(error);
        return false;
    }
    if (attributes != INVALID_FILE_ATTRIBUTES)
        ::SetFileAttributesW(target.c_str(), attributes);
    return true;
}

bool IsExistingFile(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace va
