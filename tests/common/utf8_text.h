#pragma once
// Wide text as UTF-8, the encoding of the run log and of test messages.

#include <windows.h>

#include <string>

namespace va::test {

inline std::string Utf8(const std::wstring& text)
{
    const int size = static_cast<int>(text.size());
    const int needed = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(needed > 0 ? needed : 0), '\0');
    if (needed > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, bytes.data(), needed, nullptr, nullptr);
    return bytes;
}

}  // namespace va::test
