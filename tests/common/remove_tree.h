#pragma once
// Removes a folder with everything below it, read-only files too; a link to
// a folder goes as a link, never with what it points to.

#include <windows.h>

#include <string>

#include "support/handles.h"

namespace va::test {

inline void RemoveTree(const std::wstring& path)
{
    WIN32_FIND_DATAW found;
    UniqueFind find(::FindFirstFileW((path + L"\\*").c_str(), &found));
    if (find) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring child = path + L"\\" + name;
            ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            const bool folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            const bool link = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
            if (folder && !link)
                RemoveTree(child);
            else if (folder)
                ::RemoveDirectoryW(child.c_str());
            else
                ::DeleteFileW(child.c_str());
        } while (::FindNextFileW(find.get(), &found));
    }
    find.reset();
    ::RemoveDirectoryW(path.c_str());
}

}  // namespace va::test
