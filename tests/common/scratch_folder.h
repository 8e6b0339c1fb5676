#pragma once
// A fresh folder of the test's own under the temporary folder, removed with
// its content afterwards, and small file helpers.

#include <windows.h>

#include <string>

#include "tests/common/remove_tree.h"

namespace va::test {

class ScratchFolder {
public:
    ScratchFolder()
    {
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        static int counter = 0;
        path_ = std::wstring(temp) + L"journal_" + std::to_wstring(::GetCurrentProcessId()) + L"_" +
                std::to_wstring(++counter);
        RemoveTree(path_);
        ::CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~ScratchFolder() { RemoveTree(path_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

inline bool WriteBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    return ok && written == bytes.size();
}

// The file's bytes; "<missing>" when it cannot be read.
inline std::string ReadBytes(const std::wstring& path)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string bytes;
    char chunk[4096];
    DWORD got = 0;
    while (::ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    ::CloseHandle(file);
    return bytes;
}

inline bool Exists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline DWORD Attributes(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str());
}

}  // namespace va::test
