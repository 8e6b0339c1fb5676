#pragma once
// A fresh folder of the test's own under the temporary folder, removed with
// its content afterwards, and small file helpers.

#include <windows.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "tests/common/file_bytes.h"
#include "tests/common/remove_tree.h"

namespace va::test {

// The file's bytes; "<missing>" when it cannot be opened.
inline std::string ReadBytes(const std::wstring& path)
{
    return ReadFileBytes(path).value_or("<missing>");
}

inline bool Exists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline DWORD Attributes(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str());
}

inline bool IsFolder(const std::wstring& path)
{
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

class ScratchFolder {
public:
    // A folder of its own for each object of the process.
    ScratchFolder()
        : ScratchFolder(L"journal_" + std::to_wstring(::GetCurrentProcessId()) + L"_" + std::to_wstring(++Counter()))
    {
    }
    // A folder of that name, emptied first.
    explicit ScratchFolder(std::wstring_view name)
    {
        wchar_t temp[MAX_PATH + 1] = {};
        ::GetTempPathW(MAX_PATH + 1, temp);
        path_ = std::wstring(temp) + std::wstring(name);
        RemoveTree(path_);
        std::error_code error;
        std::filesystem::create_directories(path_, error);
    }
    // Read-only files (logs, as their writer leaves them) go too.
    ~ScratchFolder() { RemoveTree(path_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& Path() const { return path_; }
    std::filesystem::path path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

    // `relative` made as a folder; its full path with backslashes.
    std::wstring Folder(const std::wstring& relative) const
    {
        const std::filesystem::path folder = path() / relative;
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        return folder.wstring();
    }
    // `relative` made as a file (and its folder); its full path.
    std::wstring File(const std::wstring& relative, std::string_view content = "x") const
    {
        const std::filesystem::path file = path() / relative;
        std::error_code error;
        std::filesystem::create_directories(file.parent_path(), error);
        WriteBytes(file.wstring(), content);
        return file.wstring();
    }

private:
    static int& Counter()
    {
        static int counter = 0;
        return counter;
    }

    std::wstring path_;
};

}  // namespace va::test
