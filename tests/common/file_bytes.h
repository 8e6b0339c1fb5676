#pragma once
// Whole files in and out, for tests and their helpers.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "support/handles.h"

namespace va::test {

// The file's bytes, read while others may hold it open; nothing when it
// cannot be opened.
inline std::optional<std::string> ReadFileBytes(const std::wstring& path)
{
    UniqueFile in(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
    if (!in)
        return std::nullopt;
    std::string bytes;
    char chunk[65536];
    DWORD got = 0;
    while (::ReadFile(in.get(), chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    return bytes;
}

// The file's bytes; empty when it cannot be opened.
inline std::string FileBytes(const std::wstring& path)
{
    return ReadFileBytes(path).value_or(std::string());
}

// The file made anew with exactly these bytes.
inline bool WriteBytes(const std::wstring& path, std::string_view bytes)
{
    UniqueFile out(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out)
        return false;
    DWORD written = 0;
    return ::WriteFile(out.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

}  // namespace va::test
