#include "support/log_file_open.h"

#include <vector>

namespace va {

UniqueFile OpenLogFileWithoutLinks(const std::wstring& path, bool append, DWORD& error)
{
    // Never CREATE_ALWAYS: the file is emptied only once it is known to be
    // the log's own.
    const DWORD access = (append ? FILE_APPEND_DATA : GENERIC_WRITE) | FILE_READ_ATTRIBUTES;
    UniqueFile file(::CreateFileW(path.c_str(), access, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file) {
        error = ::GetLastError();
        return {};
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file.get(), &info)) {
        error = ::GetLastError();
        return {};
    }
    if (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) {
        error = ERROR_CANT_ACCESS_FILE;
        return {};
    }
    if (info.nNumberOfLinks > 1) {
        error = ERROR_TOO_MANY_LINKS;
        return {};
    }
    if (!append && !::SetEndOfFile(file.get())) {
        error = ::GetLastError();
        return {};
    }
    error = ERROR_SUCCESS;
    return file;
}

std::wstring AbsoluteLogPath(const std::wstring& path)
{
    if (path.empty())
        return path;
    const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return path;
    std::vector<wchar_t> buffer(needed + 1);
    const DWORD length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (length == 0 || length >= buffer.size())
        return path;
    return std::wstring(buffer.data(), length);
}

}  // namespace va
