#include "engine/journal/file_replacement.h"

#include "support/fault_point.h"
#include "support/handles.h"

namespace va {

bool ReplaceFileContents(const std::wstring& file, const std::function<bool(HANDLE out)>& write,
                         DWORD attributes)
{
    const std::wstring fresh = file + L".new";
    ::SetFileAttributesW(fresh.c_str(), FILE_ATTRIBUTE_NORMAL);  // left by an interrupted run
    bool ok = false;
    if (FaultPoint("write log", ERROR_DISK_FULL) != ERROR_SUCCESS)
        return false;
    {
        UniqueFile out(::CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!out)
            return false;
        ok = write(out.get()) && ::FlushFileBuffers(out.get());
    }
    if (ok) {
        // A read-only file cannot be replaced; it gets its attributes back
        // when the replacement fails.
        const DWORD previous = ::GetFileAttributesW(file.c_str());
        if (previous != INVALID_FILE_ATTRIBUTES)
            ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        ok = ::MoveFileExW(fresh.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
        if (!ok && previous != INVALID_FILE_ATTRIBUTES)
            ::SetFileAttributesW(file.c_str(), previous);
    }
    if (!ok) {
        ::DeleteFileW(fresh.c_str());
        return false;
    }
    ::SetFileAttributesW(file.c_str(), attributes);
    return true;
}

}  // namespace va
