#pragma once
// Log files as bytes, for the log's tests and fuzz targets (no system call).

#include <string>
#include <string_view>

#include "engine/journal/core/log_format.h"

namespace va::test {

// Stands in for the thread's code page: Latin-1.
inline std::wstring Latin1(std::string_view bytes)
{
    std::wstring text;
    for (char c : bytes)
        text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return text;
}

// A log's bytes as the writer makes them: byte-order mark, then UTF-16.
inline std::string Utf16File(const std::wstring& text)
{
    return std::string(kUtf16LeMark) + EncodeUtf16Le(text);
}

}  // namespace va::test
