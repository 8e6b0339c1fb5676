#pragma once
// Removes a folder with everything below it, read-only files too.

#include <windows.h>

#include <string>

namespace va::test {

inline void RemoveTree(const std::wstring& path)
{
    WIN32_FIND_DATAW found;
    HANDLE find = ::FindFirstFileW((path + L"\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring child = path + L"\\" + name;
            ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                ::DeleteFileW(child.c_str());
        } while (::FindNextFileW(find, &found));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(path.c_str());
}

}  // namespace va::test
