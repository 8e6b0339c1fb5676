#pragma once
// The text of an "Uninstall.ulog" (UTF-16 after its byte-order mark).

#include <string>

#include "tests/common/file_bytes.h"

namespace va::test {

inline std::wstring UninstallLogText(const std::wstring& path)
{
    const std::string bytes = FileBytes(path);
    if (bytes.size() < 2)
        return {};
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / sizeof(wchar_t));
}

}  // namespace va::test
