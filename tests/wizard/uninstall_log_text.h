#pragma once
// The text of an "Uninstall.ulog" (UTF-16 after its byte-order mark).

#include <fstream>
#include <iterator>
#include <string>

namespace va::test {

inline std::wstring UninstallLogText(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < 2)
        return {};
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / sizeof(wchar_t));
}

}  // namespace va::test
